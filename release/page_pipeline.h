#pragma once
// One page through the release: read the image, turn it upright as the options allow,
// recognise its words and mark the suspect ones, encode the image; all in PDF terms. A PDF page
// that carries text is kept as it is unless the options ask to read it again.

#include "release/page_image.h"
#include "release/page_orientation.h"
#include "release/release_options.h"

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zan::release {

class Recognizer;

// A recognised word placed on the PDF page. Lengths are in points; the origin of the page is
// its lower left corner.
struct PlacedWord {
  QString text;
  QRectF box;         // x, y: the lower left corner
  QPointF origin;     // where the word's baseline starts
  int angle = 0;      // reading direction, degrees counter-clockwise: 0, 90, 180 or 270
  double length = 0;  // along the reading direction
  double fontSize = 0;
  float confidence = 0;
  float fontConfidence = 0;   // its least certain character's confidence, 0..100
  bool inDictionary = false;  // the language's dictionary (or the user words) has it
  QStringList reasons;        // the suspect markers that apply; empty for a sound word
  QString note;               // the annotation text of a suspect word
  int paragraph = 0;          // its paragraph, counted in reading order from 0
  QString link;               // the address it links to (ReleaseOptions::links); empty: none
};

// A picture region of a text page, kept as an image at its place.
struct PlacedPicture {
  QRectF box;  // points; x, y: the lower left corner
  PdfImageData image;
};

// One page of a page file.
struct PageSource {
  QString path;
  int index = 0;      // 0-based page of the file
  int pageCount = 1;  // pages the file holds
};

// A PDF page kept as it is: it goes into the PDF as its file has it.
struct KeptPdfPage {
  QByteArray pdf;  // the file's bytes
  int index = 0;   // 0-based page of the file
};

struct PageResult {
  PageResolution resolution;        // the page image's, which sets the page's size
  std::optional<KeptPdfPage> kept;  // a PDF page that carries text, kept as it is (no image,
                                    // no words)
  bool orientationDetected = false;
  int orientation = 0;  // how far the content was found turned clockwise as scanned
  float orientationConfidence = 0;
  OrientationReason orientationReason = OrientationReason::NotChecked;
  int rotation = 0;              // the clockwise turn applied to stand the page upright
  float deskewed = 0;            // degrees the scan was turned counter-clockwise to level its lines
  double width = 0, height = 0;  // of the upright page, in points
  // The page image as scanned (absent for text-only pages); the PDF turns it by `rotation`
  // when it draws it, so that turning a page never re-encodes its image.
  std::optional<PdfImageData> image;
  std::vector<PlacedWord> words;          // empty for image-only pages
  std::vector<PlacedPicture> pictures;    // text pages that keep their pictures
  std::optional<PdfImageData> thumbnail;  // when the options ask for thumbnails
};

// Shortens (by at most half) each upright word whose next word on its line begins too close
// after it for text extraction to tell the two apart. The PDF's text layer and the preview draw
// each word over its length.
void keepWordsApart(std::vector<PlacedWord>& words);

// Sets each word's suspect reasons and note from its kept confidences and dictionary verdict for
// `markers`: what processPage does after recognition, and what a preview does again when only
// the markers or the threshold change.
void markSuspects(std::vector<PlacedWord>& words, const SuspectMarkers& markers);

// Processes one page. Throws ReleaseError when the page cannot be read or processed.
PageResult processPage(const PageSource& page, const ReleaseOptions& options,
                       Recognizer& recognizer);

}  // namespace zan::release
