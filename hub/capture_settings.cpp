#include "hub/capture_settings.h"

#include "release/release_error.h"
#include "settings/automation_error.h"
#include "settings/pdf_settings.h"

#include <QJsonValue>

#include <array>
#include <cmath>

namespace zan::hub {
namespace {

using release::Language;
using release::PageContent;
using release::ReleaseError;

// The settings' Boolean members under their stored names.
constexpr std::array<std::pair<Setting, bool CaptureSettings::*>, 10> kSwitches{{
    {Setting::LowOcrConfidence, &CaptureSettings::lowOcrConfidence},
    {Setting::WordNotInDictionary, &CaptureSettings::wordNotInDictionary},
    {Setting::LowFontConfidence, &CaptureSettings::lowFontConfidence},
    {Setting::MixedAlphaNumeric, &CaptureSettings::mixedAlphaNumeric},
    {Setting::NumericOnly, &CaptureSettings::numericOnly},
    {Setting::CreateThumbnails, &CaptureSettings::createThumbnails},
    {Setting::EmbedFonts, &CaptureSettings::embedFonts},
    {Setting::EnableLinks, &CaptureSettings::enableLinks},
    {Setting::EnableStructure, &CaptureSettings::enableStructure},
    {Setting::AutoPageRotation, &CaptureSettings::autoPageRotation},
}};

constexpr std::array<std::pair<Setting, QString CaptureSettings::*>, 4> kTexts{{
    {Setting::PageContent, &CaptureSettings::pageContent},
    {Setting::CaptureLanguage, &CaptureSettings::language},
    {Setting::Dictionary, &CaptureSettings::dictionary},
    {Setting::Workflow, &CaptureSettings::workflow},
}};

const char* keyOf(Setting setting) {
  return settingRow(setting).key;
}

QJsonValue required(const QJsonObject& json, const char* key, QJsonValue::Type type) {
  const QJsonValue v = json.value(QLatin1String(key));
  if (v.type() != type)
    throw ReleaseError(QStringLiteral("the setting %1 is %2")
                           .arg(QLatin1String(key), v.isUndefined()
                                                        ? QStringLiteral("missing")
                                                        : QStringLiteral("of the wrong type")));
  return v;
}

}  // namespace

CaptureSettings captureSettingsOf(const PdfSettings& settings) {
  try {
    release::checkSettingsAs(settings, Engine::Capture);
  } catch (const AutomationException& e) {
    throw ReleaseError(e.error().description);
  }
  CaptureSettings c;
  for (const auto& [setting, member] : kTexts) c.*member = settings.value(setting).toString();
  for (const auto& [setting, member] : kSwitches) c.*member = settings.value(setting).toBool();
  c.confidenceThreshold = settings.ConfidenceThreshold();
  return c;
}

QJsonObject captureSettingsJson(const CaptureSettings& settings) {
  QJsonObject json{
      {QLatin1String(keyOf(Setting::ConfidenceThreshold)), settings.confidenceThreshold}};
  for (const auto& [setting, member] : kTexts)
    json.insert(QLatin1String(keyOf(setting)), settings.*member);
  for (const auto& [setting, member] : kSwitches)
    json.insert(QLatin1String(keyOf(setting)), settings.*member);
  json.insert(QStringLiteral("PdfA"), settings.pdfA);
  json.insert(QStringLiteral("Deskew"), settings.deskew);
  if (settings.imageDpi > 0) json.insert(QStringLiteral("ImageDpi"), settings.imageDpi);
  if (settings.readPdfText) json.insert(QStringLiteral("PdfText"), QStringLiteral("read"));
  return json;
}

CaptureSettings captureSettingsFromJson(const QJsonObject& json) {
  CaptureSettings c;
  for (const auto& [setting, member] : kTexts)
    c.*member = required(json, keyOf(setting), QJsonValue::String).toString();
  for (const auto& [setting, member] : kSwitches)
    c.*member = required(json, keyOf(setting), QJsonValue::Bool).toBool();
  c.confidenceThreshold =
      required(json, keyOf(Setting::ConfidenceThreshold), QJsonValue::Double).toInt(-1);
  if (json.contains(QStringLiteral("PdfA")))
    c.pdfA = required(json, "PdfA", QJsonValue::Bool).toBool();
  if (json.contains(QStringLiteral("Deskew")))
    c.deskew = required(json, "Deskew", QJsonValue::Bool).toBool();
  if (json.contains(QStringLiteral("ImageDpi"))) {
    const double dpi = required(json, "ImageDpi", QJsonValue::Double).toDouble();
    if (dpi != std::floor(dpi) || dpi < release::kLeastImageDpi || dpi > release::kMostImageDpi)
      throw ReleaseError(QStringLiteral("the setting ImageDpi is not a whole number from %1 to %2")
                             .arg(release::kLeastImageDpi)
                             .arg(release::kMostImageDpi));
    c.imageDpi = static_cast<int>(dpi);
  }
  if (json.contains(QStringLiteral("PdfText"))) {
    const QString text = required(json, "PdfText", QJsonValue::String).toString();
    if (text != QLatin1String("keep") && text != QLatin1String("read"))
      throw ReleaseError(QStringLiteral("the setting PdfText is not \"keep\" or \"read\""));
    c.readPdfText = text == QLatin1String("read");
  }
  if (!PdfSettings::thresholdAccepted(c.confidenceThreshold))
    throw ReleaseError(QStringLiteral("the setting ConfidenceThreshold is not from 0 to 100"));
  return c;
}

Language captureLanguage(const QString& name) {
  if (const Choice* c = captureLanguages().byStored(name))
    return {QLatin1String(c->tesseract), name, QLatin1String(c->tag)};
  throw ReleaseError(QStringLiteral("the language \"%1\" is unknown").arg(name));
}

QStringList captureLanguageNames() {
  return captureLanguages().storedTexts();
}

release::ReleaseOptions captureOptions(const CaptureSettings& settings, const Workflow& workflow,
                                       const DictionaryWords& dictionary) {
  release::ReleaseOptions o;
  const Choice* content = pageContents().byStored(settings.pageContent);
  if (!content)
    throw ReleaseError(
        QStringLiteral("the page content \"%1\" is unknown").arg(settings.pageContent));
  switch (content->mode) {
    case PageMode::Text:
      o.content = PageContent::Text;
      o.keepPictures = true;
      break;
    case PageMode::HiddenTextCompact:
      o.content = PageContent::ImageWithHiddenText;
      o.imageEncoding = release::ImageEncoding::Compact;
      break;
    case PageMode::HiddenTextExact:
      o.content = PageContent::ImageWithHiddenText;
      break;
    case PageMode::Image:
      o.content = PageContent::Image;
      break;
  }
  if (!workflow.recognition) o.content = PageContent::Image;
  o.language = captureLanguage(settings.language);
  o.accuracy = release::accuracyProfile(workflow.accuracy);
  o.orientations = {true, settings.autoPageRotation, settings.autoPageRotation,
                    settings.autoPageRotation};
  o.suspects.lowOcrConfidence = settings.lowOcrConfidence;
  o.suspects.wordNotInDictionary = settings.wordNotInDictionary;
  o.suspects.lowFontConfidence = settings.lowFontConfidence;
  o.suspects.mixedAlphaNumeric = settings.mixedAlphaNumeric;
  o.suspects.numericOnly = settings.numericOnly;
  o.suspects.confidenceThreshold = settings.confidenceThreshold;
  for (const QString& w : dictionary.words) o.suspects.knownWords.insert(w.toLower());
  o.userWordsFile = dictionary.file;
  o.compactDpi = workflow.imageResolution;
  o.imageQuality = workflow.imageQuality;
  o.thumbnailSize = settings.createThumbnails ? workflow.thumbnailSize : 0;
  o.embedFonts = settings.embedFonts;
  o.links = settings.enableLinks;
  o.tagged = settings.enableStructure;
  o.creator = QStringLiteral("zan-hub");
  o.standard = settings.pdfA ? release::PdfStandard::PdfA2b : release::PdfStandard::Plain;
  o.deskew = settings.deskew;
  o.imageDpi = settings.imageDpi;
  o.readPdfText = settings.readPdfText;
  return o;
}

}  // namespace zan::hub
