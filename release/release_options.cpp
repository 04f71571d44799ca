#include "release/release_options.h"

#include "release/pixel_budget.h"
#include "release/release_error.h"
#include "settings/automation_error.h"
#include "settings/pdf_settings.h"
#include "settings/settings_table.h"

namespace zan::release {
namespace {

// CheckSettings' rule "at least one orientation": the release step accepts none.
constexpr std::int32_t kNoOrientationChosen = kObjectErrorBase + kRuleOrientation;

Language ocrLanguage(std::int32_t code) {
  if (const Choice* c = ocrLanguages().byCode(code))
    return {QLatin1String(c->tesseract), StringTable::usEnglish()->text(c->shown),
            QLatin1String(c->tag)};
  throw ReleaseError(QStringLiteral("the language %1 is unknown").arg(code));
}

PageContent ocrContent(std::int32_t outputFormatType) {
  const Choice* format = outputFormats().byCode(outputFormatType);
  if (!format)
    throw ReleaseError(
        QStringLiteral("the output format type %1 is unknown").arg(outputFormatType));
  if (format->mode == PageMode::Text) return PageContent::Text;
  if (format->mode == PageMode::Image) return PageContent::Image;
  return PageContent::ImageWithHiddenText;
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

void checkSettingsAs(const PdfSettings& settings, Engine engine) {
  PdfSettings checked;
  for (const SettingRow& row : settingRows()) checked.setValue(row.id, settings.value(row.id));
  checked.setHubOffer(settings.hubOffer());
  checked.setEngine(engine);
  checked.CheckSettings();
}

DocInfoField documentField(const PdfSettings& settings, DocField which) {
  const auto row = static_cast<int>(Setting::TitleFieldText) + 3 * static_cast<int>(which);
  DocInfoField f;
  f.setFieldText(settings.value(static_cast<Setting>(row)).toString());
  f.setFieldType(settings.value(static_cast<Setting>(row + 1)).toInt());
  f.setFieldName(settings.value(static_cast<Setting>(row + 2)).toString());
  return f;
}

ReleaseOptions optionsFromOcrSettings(const PdfSettings& settings) {
  try {
    checkSettingsAs(settings, Engine::Ocr);
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
  o.title = documentField(settings, DocField::Title);
  o.subject = documentField(settings, DocField::Subject);
  o.author = documentField(settings, DocField::Author);
  o.keywords = documentField(settings, DocField::Keywords);
  return o;
}

}  // namespace zan::release
