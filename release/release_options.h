#pragma once
// What the release engine does with each page and each document. The stored settings of an
// engine map into one ReleaseOptions value; the page pipeline and the PDF builder read nothing
// else, so that every engine drives the same pipeline.

#include "settings/doc_info_field.h"
#include "settings/settings_table.h"

#include <QSet>
#include <QString>

#include <array>

namespace zan {
class PdfSettings;
}

namespace zan::release {

// How page images are stored in the PDF.
enum class ImageEncoding {
  Lossless,  // as scanned: JPEG files unchanged, bitonal pages CCITT G4, the others Flate
  Compact    // bitonal-looking pages CCITT G4 at full resolution, the others JPEG, downsampled
};

// The standard the PDFs claim and keep to.
enum class PdfStandard {
  Plain,  // PDF 1.7 without a conformance claim
  PdfA2b  // PDF/A-2b: XMP metadata, an sRGB output intent, embedded fonts, printable
          // annotations with appearances
};

// What a page of the PDF shows.
enum class PageContent {
  Text,                // the recognised text drawn visibly in a real font, no page image
  Image,               // the page image only; nothing is recognised
  ImageWithHiddenText  // the page image with an invisible text layer exactly over the words
};

// A recognition language: the Tesseract model (shipped by the Debian package
// tesseract-ocr-<model>) and its name.
struct Language {
  QString model;  // "eng", "deu", ...
  QString name;   // "German"
  QString tag;    // the PDF's language for a tagged PDF ("de-DE"); may be empty
};

// How much work recognition spends on a page; one row per Accuracy level
// (docs/zan-release.md explains the trade).
struct AccuracyProfile {
  int level = 4;
  // Recognition reads a page's characters at most this high (pixels; taller ones are scaled
  // down to it, smaller ones read as they are), within readingPixels (reading_scale.h).
  double characterHeight = 26;
  qint64 readingPixels = 20'000'000;   // the most pixels a page is read from (pixel_budget.h)
  int pictureDpi = 300;                // a page without characters to measure is read at most
                                       // at this resolution
  bool singleBlock = false;            // the page read as one block, without layout analysis
  float orientationConfidence = 2.0f;  // the least detection confidence that turns a page
  bool tryOrientations = false;        // when detection is less sure: recognise the page in
                                       // each allowed orientation and keep the best reading
  bool adaptiveSecondPass = false;     // when the first reading has doubtful words, also
                                       // recognise with adaptive thresholding; the more
                                       // confident reading wins
};

// The profile of a stored Accuracy value (1, 2, 4, 8 or 16); throws ReleaseError otherwise.
AccuracyProfile accuracyProfile(int level);

// Which recognised words are marked suspect.
struct SuspectMarkers {
  bool lowOcrConfidence = false;     // word confidence below the threshold
  bool wordNotInDictionary = false;  // neither the language's dictionary nor knownWords has it
  bool mixedCases = false;           // upper and lower case mixed, other than a leading capital
  bool lowFontConfidence = false;    // its least certain character below the threshold
  bool mixedAlphaNumeric = false;    // letters and digits in one word
  bool numericOnly = false;          // a number
  int confidenceThreshold = 95;      // percent
  QSet<QString> knownWords;          // count as dictionary words (compared in lower case)
};

// The resolutions --image-dpi takes.
inline constexpr int kLeastImageDpi = 20;
inline constexpr int kMostImageDpi = 9600;

struct ReleaseOptions {
  PageContent content = PageContent::ImageWithHiddenText;
  Language language;
  AccuracyProfile accuracy;
  // The orientations a page may be turned upright from, by how far its content is turned
  // clockwise as scanned: [0] upright, [1] 90 degrees, [2] 180, [3] 270.
  std::array<bool, 4> orientations{true, false, false, false};
  SuspectMarkers suspects;
  DocInfoField title, subject, author, keywords;

  // What only the capture settings choose; the defaults are what the OCR engine makes.
  bool keepPictures = false;  // Text pages: picture regions kept as images at their places
  ImageEncoding imageEncoding = ImageEncoding::Lossless;
  int compactDpi = 150;    // Compact: finer grey and colour page images are downsampled
  int imageQuality = 50;   // JPEG quality of Compact page images and kept pictures, 1-100
  int thumbnailSize = 0;   // the longest side of each page's thumbnail in pixels; 0: none
  bool embedFonts = true;  // the font of visible text embedded, else referenced by name
  bool links = false;      // web and e-mail addresses become link annotations
  bool tagged = false;     // a structure tree: the text blocks as paragraphs in order
  QString userWordsFile;   // words (one a line) that recognition prefers; empty: none
  QString creator = QStringLiteral("zan-release");  // the PDF's Creator, before the version
  PdfStandard standard = PdfStandard::PdfA2b;
  bool deskew = false;       // pages straightened before recognition (resamples the page image)
  int imageDpi = 0;          // the resolution of every page image file; 0: as each states
  bool readPdfText = false;  // PDF pages that carry text recognised again from their image;
                             // else kept as they are

  bool recognises() const { return content != PageContent::Image; }
  bool detectsOrientation() const { return orientations[1] || orientations[2] || orientations[3]; }
};

// Checks the settings as CheckSettings does for `engine`, on a copy (the settings themselves are
// left as they are): throws its AutomationException.
void checkSettingsAs(const PdfSettings& settings, Engine engine);
// A document-information field as the settings store it.
DocInfoField documentField(const PdfSettings& settings, DocField which);

// The options of the OCR engine. Refuses what PdfSettings::CheckSettings refuses, with its
// message, except that no checked orientation is accepted: pages then stay as scanned.
ReleaseOptions optionsFromOcrSettings(const PdfSettings& settings);

}  // namespace zan::release
