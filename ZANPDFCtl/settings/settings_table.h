#pragma once
// The settings vocabulary: every stored setting once, with its key, the part of the setup data
// it is kept in, its type and default, the values it may take (with the text a panel shows for
// each and what the engines make of it), its range, the rules that check it and the texts the
// panels show for it. Loading, saving, defaults, CheckSettings and the panels' lists read it.

#include "settings/string_table.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <optional>

namespace zan {

// The two engines. Stored as the text engineText() gives ("2", "3").
enum class Engine { Ocr, Capture };
QString engineText(Engine engine);
// The engine a stored text names; none for any other text.
std::optional<Engine> engineOfText(const QString& text);

// The settings rules. CheckSettings rejects a setting by raising kObjectErrorBase + its rule's
// number, and each panel focuses the control its table names for that number. Rules marked
// "panel only" are named by the panels' tables but never raised by CheckSettings.
enum SettingsRule : std::int32_t {
  kNoRule = 0,
  // Acrobat Capture engine.
  kRuleCaptureLanguage = 513,
  kRuleCaptureThreshold = 515,
  kRuleCaptureTitle = 516,
  kRuleCaptureSubject = 517,
  kRuleCaptureAuthor = 518,
  kRuleCaptureKeywords = 519,
  kRuleCaptureWordNotInDictionary = 521,  // panel only
  kRulePageContent = 525,
  kRuleDictionary = 526,
  kRuleCaptureLowOcrConfidence = 527,  // panel only, 527 to 535
  kRuleCaptureLowFontConfidence = 528,
  kRuleMixedAlphaNumeric = 529,
  kRuleNumericOnly = 530,
  kRuleCreateThumbnails = 531,
  kRuleEmbedFonts = 532,
  kRuleEnableLinks = 533,
  kRuleEnableStructure = 534,
  kRuleAutoPageRotation = 535,
  kRuleWorkgroupHub = 536,
  kRuleWatchedFolder = 537,
  kRulePageContentOption = 538,  // panel only
  kRuleWorkflow = 540,
  kRuleWorkflowsUnavailable = 541,
  kRuleImageOnlyWorkflow = 542,
  // OCR engine.
  kRuleOutputFormatType = 0x200,
  kRuleOcrLanguage = 0x201,
  kRuleAccuracy = 0x202,
  kRuleOcrThreshold = 0x203,
  kRuleOcrTitle = 0x204,
  kRuleOcrSubject = 0x205,
  kRuleOcrAuthor = 0x206,
  kRuleOcrKeywords = 0x207,
  kRuleOcrLinks = 0x208,  // panel only, 0x208 to 0x20B
  kRuleOcrWordNotInDictionary = 0x209,
  kRuleMixedCases = 0x20A,
  kRuleOcrLowFontConfidence = 0x20B,
  kRuleOrientation = 0x20C,
};

// What the engines make of a page, by page content or output format.
enum class PageMode {
  Text,               // the recognised text drawn visibly, pictures kept
  HiddenTextCompact,  // the page image, compactly encoded, with invisible text over the words
  HiddenTextExact,    // the page image as scanned with invisible text over the words
  Image,              // the page image only; nothing is recognised
};

// One value a list setting may take, in the order its panel lists it.
struct Choice {
  std::int32_t code;  // the panel list's item data; the stored value of a numbered setting
  StringId shown;     // the text shown; its US English text is the stored value of a text setting
  const char* tesseract = nullptr;  // a language's Tesseract model (Debian tesseract-ocr-<model>)
  const char* tag = nullptr;        // a language's BCP 47 tag
  PageMode mode = PageMode::Text;   // a page content's or output format's meaning
};

struct Choices {
  const Choice* first = nullptr;
  int count = 0;
  const Choice* begin() const { return first; }
  const Choice* end() const { return first + count; }
  // The choice with this item data, or null.
  const Choice* byCode(std::int32_t code) const;
  // The choice whose US English text is `stored`, or null.
  const Choice* byStored(const QString& stored) const;
  // The US English texts, in list order.
  QStringList storedTexts() const;
};

// Every stored setting, in the order Save writes them.
enum class Setting : int {
  PdfEngine,  // written by Save for information; not read by Load nor reset
  Enabled,
  ConfidenceThreshold,
  LowOcrConfidence,
  WordNotInDictionary,
  LowFontConfidence,
  TitleFieldText,
  TitleFieldType,
  TitleFieldName,
  SubjectFieldText,
  SubjectFieldType,
  SubjectFieldName,
  AuthorFieldText,
  AuthorFieldType,
  AuthorFieldName,
  KeywordsFieldText,
  KeywordsFieldType,
  KeywordsFieldName,
  OutputFormatType,
  OcrLanguage,
  Accuracy,
  MixedCases,
  Rotate0,
  Rotate90,
  Rotate180,
  Rotate270,
  PageContent,
  CaptureLanguage,
  Dictionary,
  Workflow,
  MixedAlphaNumeric,
  NumericOnly,
  CreateThumbnails,
  EmbedFonts,
  EnableLinks,
  EnableStructure,
  AutoPageRotation,
  WorkgroupHub,
  WatchedFolder,
  PDFOutputFolder,
  PDFOutputMachine,
  PDFInputImageType,
  PDFWaitForStatus,
  PDFDeleteHungDoc,
};
constexpr int kSettingCount = static_cast<int>(Setting::PDFDeleteHungDoc) + 1;

// The four document-information fields, each stored as three settings.
enum class DocField : int { Title, Subject, Author, Keywords };
constexpr int kDocFieldCount = 4;

enum class SettingType { Boolean, Text, Long, Integer /* 16 bits */ };

struct SettingRow {
  Setting id;
  const char* key;  // its key in its part of the setup data
  int part;         // 1: SetupPartOne, 2: SetupPartTwo
  SettingType type;
  std::int32_t numberDefault;         // a Boolean's or number's default
  StringId textDefault;               // a text's default: the US English text of this id; 0: empty
  Choices choices;                    // the values a list setting may take
  std::int32_t low, high;             // a number's range that CheckSettings accepts
  SettingsRule captureRule, ocrRule;  // the rule that checks it for each engine
  StringId caption, tip;              // what the panels show for it; 0: none of its own
  bool resets = true;                 // RestoreDefaults gives it its default
  bool loads = true;                  // Load reads it

  QString keyText() const { return QString::fromLatin1(key); }
  QVariant defaultValue() const;
  // The document-information field it belongs to, if any, and its part of it (0 text,
  // 1 type, 2 name).
  std::optional<DocField> docField() const;
};

const SettingRow& settingRow(Setting id);
// A setting's place among the settings of its kind (Booleans, numbers, texts), so that a
// settings object keeps each in a slot of its own type; the document-information fields have
// none.
int settingSlot(Setting id);
constexpr int kNumberSlots = 8;
constexpr int kTextSlots = 12;
// Every row, in Save order.
const SettingRow* settingRowsBegin();
const SettingRow* settingRowsEnd();
struct SettingRows {
  const SettingRow* begin() const { return settingRowsBegin(); }
  const SettingRow* end() const { return settingRowsEnd(); }
};
inline SettingRows settingRows() {
  return {};
}
// The name of a document-information field ("TitleField", ...).
QString docFieldName(DocField field);

// The lists, for the panels and the engines.
Choices outputFormats();
Choices ocrLanguages();
Choices accuracies();
Choices pageContents();
Choices captureLanguages();

}  // namespace zan
