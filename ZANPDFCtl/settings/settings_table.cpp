#include "settings/settings_table.h"

#include <array>

namespace zan {
namespace {

constexpr Choice kOutputFormats[] = {
    {1, kStrNormalPdf, nullptr, nullptr, PageMode::Text},
    {2, kStrImageOnlyPdf, nullptr, nullptr, PageMode::Image},
    {3, kStrImageAndHiddenTextPdf, nullptr, nullptr, PageMode::HiddenTextExact}};

constexpr Choice kOcrLanguages[] = {
    {1, kStrOcrEnglishUs, "eng", "en-US"}, {2, kStrOcrEnglishUk, "eng", "en-GB"},
    {3, kStrOcrDutch, "nld", "nl-NL"},     {4, kStrOcrFrench, "fra", "fr-FR"},
    {5, kStrOcrGerman, "deu", "de-DE"},    {6, kStrOcrItalian, "ita", "it-IT"},
    {7, kStrOcrSpanish, "spa", "es-ES"},   {8, kStrOcrSwedish, "swe", "sv-SE"}};

// Powers of two, not consecutive numbers.
constexpr Choice kAccuracies[] = {
    {1, kStrFastest}, {2, kStrFast}, {4, kStrNormal}, {8, kStrAccurate}, {16, kStrMostAccurate}};

constexpr Choice kPageContents[] = {
    {1, kStrFormattedTextAndGraphics, nullptr, nullptr, PageMode::Text},
    {3, kStrSearchableImageCompact, nullptr, nullptr, PageMode::HiddenTextCompact},
    {2, kStrSearchableImageExact, nullptr, nullptr, PageMode::HiddenTextExact},
    {4, kStrImageOnly, nullptr, nullptr, PageMode::Image}};

// Not alphabetical: Dutch follows the two English entries. Nynorsk and Swiss German have no
// Tesseract model of their own and are read with the nearest: Norwegian (Bokmål) and German.
constexpr Choice kCaptureLanguages[] = {{1, kStrBrazilianPortuguese, "por", "pt-BR"},
                                        {2, kStrCatalan, "cat", "ca-ES"},
                                        {3, kStrDanish, "dan", "da-DK"},
                                        {5, kStrEnglishUs, "eng", "en-US"},
                                        {6, kStrEnglishUk, "eng", "en-GB"},
                                        {4, kStrDutch, "nld", "nl-NL"},
                                        {7, kStrFrench, "fra", "fr-FR"},
                                        {8, kStrGerman, "deu", "de-DE"},
                                        {9, kStrItalian, "ita", "it-IT"},
                                        {10, kStrSpanish, "spa", "es-ES"},
                                        {11, kStrSwedish, "swe", "sv-SE"},
                                        {12, kStrFinnish, "fin", "fi-FI"},
                                        {13, kStrNorwegian, "nor", "nb-NO"},
                                        {14, kStrNynorsk, "nor", "nn-NO"},
                                        {15, kStrPortuguese, "por", "pt-PT"},
                                        {16, kStrSwissGerman, "deu", "de-CH"}};

template <std::size_t N>
constexpr Choices listOf(const Choice (&choices)[N]) {
  return {choices, static_cast<int>(N)};
}

constexpr std::int32_t kInt16Low = -32768, kInt16High = 32767;
constexpr std::int32_t kLongLow = INT32_MIN, kLongHigh = INT32_MAX;
constexpr StringId kNone = static_cast<StringId>(0);

using T = SettingType;
using S = Setting;

// clang-format off
const SettingRow kRows[] = {
  // id, key, part, type, number default, text default, choices, low, high,
  // capture rule, OCR rule, caption, tip, reset, loaded.
  {S::PdfEngine, "PdfEngine", 1, T::Text, 0, kNone, {}, 0, 0, kNoRule, kNoRule, kNone, kNone,
   false, false},
  {S::Enabled, "Enabled", 1, T::Boolean, 1, kNone, {}, 0, 1, kNoRule, kNoRule, kNone, kNone,
   false},
  {S::ConfidenceThreshold, "ConfidenceThreshold", 1, T::Integer, 95, kNone, {}, 0, 100,
   kRuleCaptureThreshold, kRuleOcrThreshold, kStrConfidenceThresholdCaption,
   kStrTipConfidenceThreshold},
  {S::LowOcrConfidence, "LowOcrConfidence", 1, T::Boolean, 1, kNone, {}, 0, 1,
   kRuleCaptureLowOcrConfidence, kNoRule, kStrLowOcrConfidence, kStrTipLowOcrConfidence},
  {S::WordNotInDictionary, "WordNotInDictionary", 1, T::Boolean, 1, kNone, {}, 0, 1,
   kRuleCaptureWordNotInDictionary, kRuleOcrWordNotInDictionary, kStrWordNotInDictionary,
   kStrTipWordNotInDictionary},
  {S::LowFontConfidence, "LowFontConfidence", 1, T::Boolean, 0, kNone, {}, 0, 1,
   kRuleCaptureLowFontConfidence, kRuleOcrLowFontConfidence, kStrLowFontConfidence,
   kStrTipLowFontConfidence},
  {S::TitleFieldText, "TitleField.FieldText", 1, T::Text, 0, kNone, {}, 0, 254,
   kRuleCaptureTitle, kRuleOcrTitle, kStrTitle, kStrTipDocumentInformation},
  {S::TitleFieldType, "TitleField.FieldType", 1, T::Long, 0, kNone, {}, 0, 2,
   kRuleCaptureTitle, kRuleOcrTitle, kStrTitle, kStrTipDocumentInformation},
  {S::TitleFieldName, "TitleField.FieldName", 1, T::Text, 0, kNone, {}, 0, 0,
   kRuleCaptureTitle, kRuleOcrTitle, kStrTitle, kStrTipDocumentInformation},
  {S::SubjectFieldText, "SubjectField.FieldText", 1, T::Text, 0, kNone, {}, 0, 254,
   kRuleCaptureSubject, kRuleOcrSubject, kStrSubject, kStrTipDocumentInformation},
  {S::SubjectFieldType, "SubjectField.FieldType", 1, T::Long, 0, kNone, {}, 0, 2,
   kRuleCaptureSubject, kRuleOcrSubject, kStrSubject, kStrTipDocumentInformation},
  {S::SubjectFieldName, "SubjectField.FieldName", 1, T::Text, 0, kNone, {}, 0, 0,
   kRuleCaptureSubject, kRuleOcrSubject, kStrSubject, kStrTipDocumentInformation},
  {S::AuthorFieldText, "AuthorField.FieldText", 1, T::Text, 0, kNone, {}, 0, 254,
   kRuleCaptureAuthor, kRuleOcrAuthor, kStrAuthor, kStrTipDocumentInformation},
  {S::AuthorFieldType, "AuthorField.FieldType", 1, T::Long, 0, kNone, {}, 0, 2,
   kRuleCaptureAuthor, kRuleOcrAuthor, kStrAuthor, kStrTipDocumentInformation},
  {S::AuthorFieldName, "AuthorField.FieldName", 1, T::Text, 0, kNone, {}, 0, 0,
   kRuleCaptureAuthor, kRuleOcrAuthor, kStrAuthor, kStrTipDocumentInformation},
  {S::KeywordsFieldText, "KeywordsField.FieldText", 1, T::Text, 0, kNone, {}, 0, 254,
   kRuleCaptureKeywords, kRuleOcrKeywords, kStrKeywords, kStrTipDocumentInformation},
  {S::KeywordsFieldType, "KeywordsField.FieldType", 1, T::Long, 0, kNone, {}, 0, 2,
   kRuleCaptureKeywords, kRuleOcrKeywords, kStrKeywords, kStrTipDocumentInformation},
  {S::KeywordsFieldName, "KeywordsField.FieldName", 1, T::Text, 0, kNone, {}, 0, 0,
   kRuleCaptureKeywords, kRuleOcrKeywords, kStrKeywords, kStrTipDocumentInformation},
  {S::OutputFormatType, "OutputFormatType", 2, T::Long, 3, kNone, listOf(kOutputFormats), 1, 3,
   kNoRule, kRuleOutputFormatType, kStrOutputFormatTypeCaption, kStrTipOutputFormatType},
  {S::OcrLanguage, "OcrLanguage", 2, T::Long, 1, kNone, listOf(kOcrLanguages), 1, 8,
   kNoRule, kRuleOcrLanguage, kStrLanguageCaption, kStrTipLanguage},
  {S::Accuracy, "Accuracy", 2, T::Long, 4, kNone, listOf(kAccuracies), 1, 16,
   kNoRule, kRuleAccuracy, kStrAccuracyCaption, kStrTipAccuracy},
  {S::MixedCases, "MixedCases", 2, T::Boolean, 0, kNone, {}, 0, 1,
   kNoRule, kRuleMixedCases, kStrMixedCase, kStrTipMixedCase},
  {S::Rotate0, "Rotate0", 2, T::Boolean, 1, kNone, {}, 0, 1,
   kNoRule, kRuleOrientation, kStrRotate0, kStrTipRotate},
  {S::Rotate90, "Rotate90", 2, T::Boolean, 0, kNone, {}, 0, 1,
   kNoRule, kRuleOrientation, kStrRotate90, kStrTipRotate},
  {S::Rotate180, "Rotate180", 2, T::Boolean, 0, kNone, {}, 0, 1,
   kNoRule, kRuleOrientation, kStrRotate180, kStrTipRotate},
  {S::Rotate270, "Rotate270", 2, T::Boolean, 0, kNone, {}, 0, 1,
   kNoRule, kRuleOrientation, kStrRotate270, kStrTipRotate},
  {S::PageContent, "PageContent", 2, T::Text, 0, kStrFormattedTextAndGraphics,
   listOf(kPageContents), 0, 0, kRulePageContent, kNoRule, kStrPageContentCaption,
   kStrTipPageContent},
  {S::CaptureLanguage, "CaptureLanguage", 2, T::Text, 0, kStrEnglishUs, listOf(kCaptureLanguages),
   0, 0, kRuleCaptureLanguage, kNoRule, kStrLanguageCaption, kStrTipLanguage},
  {S::Dictionary, "Dictionary", 2, T::Text, 0, kNone, {}, 0, 0, kRuleDictionary, kNoRule,
   kStrDictionariesCaption, kStrTipDictionary},
  {S::Workflow, "Workflow", 2, T::Text, 0, kNone, {}, 0, 0, kRuleWorkflow, kNoRule,
   kStrWorkflowsCaption, kStrTipWorkflow},
  {S::MixedAlphaNumeric, "MixedAlphaNumeric", 2, T::Boolean, 0, kNone, {}, 0, 1,
   kRuleMixedAlphaNumeric, kNoRule, kStrMixedAlphanumeric, kStrTipMixedAlphanumeric},
  {S::NumericOnly, "NumericOnly", 2, T::Boolean, 0, kNone, {}, 0, 1, kRuleNumericOnly, kNoRule,
   kStrNumericOnly, kStrTipNumericOnly},
  {S::CreateThumbnails, "CreateThumbnails", 2, T::Boolean, 0, kNone, {}, 0, 1,
   kRuleCreateThumbnails, kNoRule, kStrCreateThumbnails, kStrTipCreateThumbnails},
  {S::EmbedFonts, "EmbedFonts", 2, T::Boolean, 1, kNone, {}, 0, 1, kRuleEmbedFonts, kNoRule,
   kStrEmbedFonts, kStrTipEmbedFonts},
  {S::EnableLinks, "EnableLinks", 2, T::Boolean, 0, kNone, {}, 0, 1, kRuleEnableLinks, kNoRule,
   kStrEnableLinks, kStrTipEnableLinks},
  {S::EnableStructure, "EnableStructure", 2, T::Boolean, 0, kNone, {}, 0, 1,
   kRuleEnableStructure, kNoRule, kStrEnableStructure, kStrTipEnableStructure},
  {S::AutoPageRotation, "AutoPageRotation", 2, T::Boolean, 1, kNone, {}, 0, 1,
   kRuleAutoPageRotation, kNoRule, kStrAutomaticPageRotation, kStrTipAutoPageRotation},
  {S::WorkgroupHub, "WorkgroupHub", 2, T::Text, 0, kNone, {}, 0, 0, kRuleWorkgroupHub, kNoRule,
   kStrWorkgroupHubCaption, kStrTipWorkgroupHub},
  {S::WatchedFolder, "WatchedFolder", 2, T::Text, 0, kNone, {}, 0, 0, kRuleWatchedFolder,
   kNoRule, kStrWatchedFolderCaption, kStrTipWatchedFolder},
  // Kept for the hosts; no panel shows them.
  {S::PDFOutputFolder, "PDFOutputFolder", 2, T::Text, 0, kNone, {}, 0, 0, kNoRule, kNoRule,
   kNone, kNone},
  {S::PDFOutputMachine, "PDFOutputMachine", 2, T::Text, 0, kNone, {}, 0, 0, kNoRule, kNoRule,
   kNone, kNone},
  {S::PDFInputImageType, "PDFInputImageType", 2, T::Long, 0, kNone, {}, kLongLow, kLongHigh,
   kNoRule, kNoRule, kNone, kNone},
  {S::PDFWaitForStatus, "PDFWaitForStatus", 2, T::Boolean, 1, kNone, {}, 0, 1, kNoRule, kNoRule,
   kNone, kNone},
  {S::PDFDeleteHungDoc, "PDFDeleteHungDoc", 2, T::Boolean, 0, kNone, {}, 0, 1, kNoRule, kNoRule,
   kNone, kNone},
};
// clang-format on

static_assert(std::size(kRows) == kSettingCount, "one row per setting");

const char* const kDocFieldNames[kDocFieldCount] = {"TitleField", "SubjectField", "AuthorField",
                                                    "KeywordsField"};

}  // namespace

QString engineText(Engine engine) {
  return engine == Engine::Capture ? QStringLiteral("3") : QStringLiteral("2");
}

std::optional<Engine> engineOfText(const QString& text) {
  if (text == engineText(Engine::Capture)) return Engine::Capture;
  if (text == engineText(Engine::Ocr)) return Engine::Ocr;
  return std::nullopt;
}

const Choice* Choices::byCode(std::int32_t code) const {
  for (const Choice& c : *this)
    if (c.code == code) return &c;
  return nullptr;
}

const Choice* Choices::byStored(const QString& stored) const {
  const auto english = StringTable::usEnglish();
  for (const Choice& c : *this)
    if (english->text(c.shown) == stored) return &c;
  return nullptr;
}

QStringList Choices::storedTexts() const {
  const auto english = StringTable::usEnglish();
  QStringList texts;
  for (const Choice& c : *this) texts << english->text(c.shown);
  return texts;
}

QVariant SettingRow::defaultValue() const {
  switch (type) {
    case SettingType::Boolean:
      return numberDefault != 0;
    case SettingType::Text:
      return textDefault == kNone ? QString() : StringTable::usEnglish()->text(textDefault);
    case SettingType::Long:
    case SettingType::Integer:
      return static_cast<int>(numberDefault);
  }
  return {};
}

std::optional<DocField> SettingRow::docField() const {
  const int i = static_cast<int>(id) - static_cast<int>(Setting::TitleFieldText);
  if (i < 0 || i >= 3 * kDocFieldCount) return std::nullopt;
  return static_cast<DocField>(i / 3);
}

const SettingRow& settingRow(Setting id) {
  return kRows[static_cast<int>(id)];
}

int settingSlot(Setting id) {
  static const std::array<int, kSettingCount> places = [] {
    std::array<int, kSettingCount> s{};
    int flags = 0, numbers = 0, texts = 0;
    for (const SettingRow& row : kRows) {
      const auto i = static_cast<std::size_t>(row.id);
      if (row.docField())
        s[i] = -1;
      else if (row.type == SettingType::Boolean)
        s[i] = flags++;
      else if (row.type == SettingType::Text)
        s[i] = texts++;
      else
        s[i] = numbers++;
    }
    Q_ASSERT(flags <= 64 && numbers <= kNumberSlots && texts <= kTextSlots);
    return s;
  }();
  return places[static_cast<std::size_t>(id)];
}

const SettingRow* settingRowsBegin() {
  return std::begin(kRows);
}

const SettingRow* settingRowsEnd() {
  return std::end(kRows);
}

QString docFieldName(DocField field) {
  return QString::fromLatin1(kDocFieldNames[static_cast<int>(field)]);
}

Choices outputFormats() {
  return listOf(kOutputFormats);
}
Choices ocrLanguages() {
  return listOf(kOcrLanguages);
}
Choices accuracies() {
  return listOf(kAccuracies);
}
Choices pageContents() {
  return listOf(kPageContents);
}
Choices captureLanguages() {
  return listOf(kCaptureLanguages);
}

}  // namespace zan
