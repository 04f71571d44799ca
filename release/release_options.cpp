#include "release/release_options.h"

#include "common/automation_error.h"
#include "external/pdf_settings.h"
#include "release/pixel_budget.h"
#include "release/release_error.h"

namespace zan::release {
namespace {

// CheckSettings' rule "at least one orientation": the release step accepts none.
constexpr std::int32_t kNoOrientationChosen = kObjectErrorBase + 0x20C;

Language ocrLanguage(std::int32_t code) {
  switch (code) {
    case 1:
      return {QStringLiteral("eng"), QStringLiteral("English - United States"),
              QStringLiteral("en-US")};
    case 2:
      return {QStringLiteral("eng"), QStringLiteral("English - United Kingdom"),
              QStringLiteral("en-GB")};
    case 3:
      return {QStringLiteral("nld"), QStringLiteral("Dutch"), QStringLiteral("nl-NL")};
    case 4:
      return {QStringLiteral("fra"), QStringLiteral("French"), QStringLiteral("fr-FR")};
    case 5:
      return {QStringLiteral("deu"), QStringLiteral("German"), QStringLiteral("de-DE")};
    case 6:
      return {QStringLiteral("ita"), QStringLiteral("Italian"), QStringLiteral("it-IT")};
    case 7:
      return {QStringLiteral("spa"), QStringLiteral("Spanish"), QStringLiteral("es-ES")};
    case 8:
      return {QStringLiteral("swe"), QStringLiteral("Swedish"), QStringLiteral("sv-SE")};
  }
  throw ReleaseError(QStringLiteral("the language %1 is unknown").arg(code));
}

PageContent ocrContent(std::int32_t outputFormatType) {
  switch (outputFormatType) {
    case 1:
      return PageContent::Text;
    case 2:
      return PageContent::Image;
    case 3:
      return PageContent::ImageWithHiddenText;
  }
  throw ReleaseError(QStringLiteral("the output format type %1 is unknown").arg(outputFormatType));
}

}  // namespace

AccuracyProfile accuracyProfile(int level) {
  AccuracyProfile p;
  p.level = level;
  p.readingPixels = readingPixels(level);
  switch (level) {
    case 1:  // Fastest
      p.characterHeight = 16;
      p.pictureDpi = 150;
      p.singleBlock = true;
      p.orientationConfidence = 1.0f;
      return p;
    case 2:  // Fast
      p.characterHeight = 20;
      p.pictureDpi = 200;
      p.orientationConfidence = 1.0f;
      return p;
    case 4:  // Normal
      return p;
    case 8:  // Accurate
      p.characterHeight = 32;
      p.pictureDpi = 400;
      p.tryOrientations = true;
      return p;
    case 16:  // Most Accurate
      p.characterHeight = 40;
      p.pictureDpi = 600;
      p.orientationConfidence = 5.0f;
      p.tryOrientations = true;
      p.adaptiveSecondPass = true;
      return p;
  }
  throw ReleaseError(QStringLiteral("the accuracy %1 is unknown").arg(level));
}

ReleaseOptions optionsFromOcrSettings(PdfSettings& settings) {
  settings.setPdfEngine(QStringLiteral("2"));
  try {
    settings.CheckSettings();
  } catch (const AutomationException& e) {
    if (e.error().number != kNoOrientationChosen) throw ReleaseError(e.error().description);
  }
  ReleaseOptions o;
  o.content = ocrContent(settings.OutputFormatType());
  o.language = ocrLanguage(settings.OcrLanguage());
  o.accuracy = accuracyProfile(settings.Accuracy());
  o.orientations = {settings.Rotate0(), settings.Rotate90(), settings.Rotate180(),
                    settings.Rotate270()};
  o.suspects.lowOcrConfidence = settings.LowOcrConfidence();
  o.suspects.wordNotInDictionary = settings.WordNotInDictionary();
  o.suspects.mixedCases = settings.MixedCases();
  o.suspects.lowFontConfidence = settings.LowFontConfidence();
  o.suspects.confidenceThreshold = settings.ConfidenceThreshold();
  o.title = settings.TitleField();
  o.subject = settings.SubjectField();
  o.author = settings.AuthorField();
  o.keywords = settings.KeywordsField();
  return o;
}

}  // namespace zan::release
