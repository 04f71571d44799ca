#include "hub/capture_settings.h"

#include "common/automation_error.h"
#include "external/pdf_settings.h"
#include "release/release_error.h"

#include <QJsonValue>

#include <array>
#include <cmath>

namespace zan::hub {
namespace {

using release::Language;
using release::PageContent;
using release::ReleaseError;

struct CaptureLanguage {
  const char* name;
  const char* model;
  const char* tag;
};

// The models are Debian's tesseract-ocr-<model> packs; Nynorsk and Swiss German have none of
// their own and are read with the nearest: Norwegian (Bokmål) and German.
constexpr std::array<CaptureLanguage, 16> kLanguages{{{"Brazilian Portuguese", "por", "pt-BR"},
                                                      {"Catalan", "cat", "ca-ES"},
                                                      {"Danish", "dan", "da-DK"},
                                                      {"English (US)", "eng", "en-US"},
                                                      {"English (UK)", "eng", "en-GB"},
                                                      {"Dutch", "nld", "nl-NL"},
                                                      {"French", "fra", "fr-FR"},
                                                      {"German", "deu", "de-DE"},
                                                      {"Italian", "ita", "it-IT"},
                                                      {"Spanish", "spa", "es-ES"},
                                                      {"Swedish", "swe", "sv-SE"},
                                                      {"Finnish", "fin", "fi-FI"},
                                                      {"Norwegian", "nor", "nb-NO"},
                                                      {"Nynorsk", "nor", "nn-NO"},
                                                      {"Portuguese", "por", "pt-PT"},
                                                      {"Swiss German", "deu", "de-CH"}}};

// The settings' Boolean members under their stored names.
constexpr std::array<std::pair<const char*, bool CaptureSettings::*>, 10> kSwitches{{
    {"LowOcrConfidence", &CaptureSettings::lowOcrConfidence},
    {"WordNotInDictionary", &CaptureSettings::wordNotInDictionary},
    {"LowFontConfidence", &CaptureSettings::lowFontConfidence},
    {"MixedAlphaNumeric", &CaptureSettings::mixedAlphaNumeric},
    {"NumericOnly", &CaptureSettings::numericOnly},
    {"CreateThumbnails", &CaptureSettings::createThumbnails},
    {"EmbedFonts", &CaptureSettings::embedFonts},
    {"EnableLinks", &CaptureSettings::enableLinks},
    {"EnableStructure", &CaptureSettings::enableStructure},
    {"AutoPageRotation", &CaptureSettings::autoPageRotation},
}};

constexpr std::array<std::pair<const char*, QString CaptureSettings::*>, 4> kTexts{{
    {"PageContent", &CaptureSettings::pageContent},
    {"CaptureLanguage", &CaptureSettings::language},
    {"Dictionary", &CaptureSettings::dictionary},
    {"Workflow", &CaptureSettings::workflow},
}};

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

CaptureSettings captureSettingsOf(PdfSettings& settings) {
  settings.setPdfEngine(QStringLiteral("3"));
  try {
    settings.CheckSettings();
  } catch (const AutomationException& e) {
    throw ReleaseError(e.error().description);
  }
  CaptureSettings c;
  c.pageContent = settings.PageContent();
  c.language = settings.CaptureLanguage();
  c.dictionary = settings.Dictionary();
  c.workflow = settings.Workflow();
  c.confidenceThreshold = settings.ConfidenceThreshold();
  c.lowOcrConfidence = settings.LowOcrConfidence();
  c.wordNotInDictionary = settings.WordNotInDictionary();
  c.lowFontConfidence = settings.LowFontConfidence();
  c.mixedAlphaNumeric = settings.MixedAlphaNumeric();
  c.numericOnly = settings.NumericOnly();
  c.createThumbnails = settings.CreateThumbnails();
  c.embedFonts = settings.EmbedFonts();
  c.enableLinks = settings.EnableLinks();
  c.enableStructure = settings.EnableStructure();
  c.autoPageRotation = settings.AutoPageRotation();
  return c;
}

QJsonObject captureSettingsJson(const CaptureSettings& settings) {
  QJsonObject json{{QStringLiteral("ConfidenceThreshold"), settings.confidenceThreshold}};
  for (const auto& [key, member] : kTexts) json.insert(QLatin1String(key), settings.*member);
  for (const auto& [key, member] : kSwitches) json.insert(QLatin1String(key), settings.*member);
  json.insert(QStringLiteral("PdfA"), settings.pdfA);
  json.insert(QStringLiteral("Deskew"), settings.deskew);
  if (settings.imageDpi > 0) json.insert(QStringLiteral("ImageDpi"), settings.imageDpi);
  if (settings.readPdfText) json.insert(QStringLiteral("PdfText"), QStringLiteral("read"));
  return json;
}

CaptureSettings captureSettingsFromJson(const QJsonObject& json) {
  CaptureSettings c;
  for (const auto& [key, member] : kTexts)
    c.*member = required(json, key, QJsonValue::String).toString();
  for (const auto& [key, member] : kSwitches)
    c.*member = required(json, key, QJsonValue::Bool).toBool();
  c.confidenceThreshold = required(json, "ConfidenceThreshold", QJsonValue::Double).toInt(-1);
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
  if (c.confidenceThreshold < 0 || c.confidenceThreshold > 100)
    throw ReleaseError(QStringLiteral("the setting ConfidenceThreshold is not from 0 to 100"));
  return c;
}

Language captureLanguage(const QString& name) {
  for (const CaptureLanguage& l : kLanguages)
    if (name == QLatin1String(l.name)) return {QLatin1String(l.model), name, QLatin1String(l.tag)};
  throw ReleaseError(QStringLiteral("the language \"%1\" is unknown").arg(name));
}

QStringList captureLanguageNames() {
  QStringList names;
  for (const CaptureLanguage& l : kLanguages) names << QLatin1String(l.name);
  return names;
}

release::ReleaseOptions captureOptions(const CaptureSettings& settings, const Workflow& workflow,
                                       const DictionaryWords& dictionary) {
  release::ReleaseOptions o;
  const QString& content = settings.pageContent;
  if (content == QLatin1String("Formatted Text & Graphics")) {
    o.content = PageContent::Text;
    o.keepPictures = true;
  } else if (content == QLatin1String("Searchable Image (Compact)")) {
    o.content = PageContent::ImageWithHiddenText;
    o.imageEncoding = release::ImageEncoding::Compact;
  } else if (content == QLatin1String("Searchable Image (Exact)")) {
    o.content = PageContent::ImageWithHiddenText;
  } else if (content == QLatin1String("Image Only")) {
    o.content = PageContent::Image;
  } else {
    throw ReleaseError(QStringLiteral("the page content \"%1\" is unknown").arg(content));
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
