#pragma once
// The Acrobat Capture settings (engine "3") that travel with a job, and how they, the hub's
// workflow and its dictionary turn into the release engine's options.

#include "hub/workflow.h"
#include "release/release_options.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace zan {
class PdfSettings;
}

namespace zan::hub {

// The settings a job needs, named as the settings store them. The places (hub, watched folder,
// output folder and machine) stay with the release step.
struct CaptureSettings {
  QString pageContent = QStringLiteral("Formatted Text & Graphics");
  QString language = QStringLiteral("English (US)");
  QString dictionary, workflow;
  int confidenceThreshold = 95;
  bool lowOcrConfidence = true, wordNotInDictionary = true, lowFontConfidence = false;
  bool mixedAlphaNumeric = false, numericOnly = false;
  bool createThumbnails = false, embedFonts = true, enableLinks = false, enableStructure = false;
  bool autoPageRotation = true;
  // What zan-release's options choose (--pdfa, --deskew, --image-dpi, --pdf-text); a ticket
  // without them asks for PDF/A-2b, no deskewing, each page image's own resolution and PDF
  // pages that carry text kept as they are.
  bool pdfA = true;
  bool deskew = false;
  int imageDpi = 0;  // 0: as each page image states; else kLeastImageDpi to kMostImageDpi
  bool readPdfText = false;
};

// The stored capture settings. Refuses what PdfSettings::CheckSettings refuses for engine "3"
// (ReleaseError with its message).
CaptureSettings captureSettingsOf(PdfSettings& settings);

// As a job ticket carries them: {"PageContent": ..., "CaptureLanguage": ..., ...}.
QJsonObject captureSettingsJson(const CaptureSettings& settings);
// Throws ReleaseError naming a key that is missing or holds a value of the wrong type.
CaptureSettings captureSettingsFromJson(const QJsonObject& json);

// The recognition language of a capture language ("Nynorsk" -> nor). Throws ReleaseError for a
// name that is not one of captureLanguageNames().
release::Language captureLanguage(const QString& name);
QStringList captureLanguageNames();

// The words of a hub dictionary, and the file that hands them to recognition (empty: none).
struct DictionaryWords {
  QStringList words;
  QString file;
};

// The options of a job. Throws ReleaseError for a page content or language it does not know.
release::ReleaseOptions captureOptions(const CaptureSettings& settings, const Workflow& workflow,
                                       const DictionaryWords& dictionary);

}  // namespace zan::hub
