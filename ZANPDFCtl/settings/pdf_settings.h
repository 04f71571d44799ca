#pragma once
// PdfSettings: the PDF settings of one release script. Loads them from and saves them to the
// two property bags of the host's setup data, restores defaults and checks them.
//
// Every stored setting is a row of the settings table (settings/settings_table.h); a host or a
// test replaces the few virtual members to change or watch them all.
// CheckSettings (and nothing else) rejects an illegal setting by raising an AutomationError
// numbered kObjectErrorBase + n with a description meant for the user; the rules and their
// numbers, and the keys under which Load and Save keep each setting, are listed in
// docs/settings-rules.md.

#include "settings/automation_error.h"
#include "settings/doc_info_field.h"
#include "settings/hub_offer.h"
#include "settings/settings_table.h"

#include <QString>
#include <QVariant>

#include <array>
#include <cstdint>
#include <optional>

namespace zan {

class SetupPart;

// The page content whose documents hold no text, and the one workflow it goes with.
constexpr char kImageOnlyPageContent[] = "Image Only";
constexpr char kImageOnlyWorkflow[] = "PDF Image Only";

class PdfSettings {
 public:
  PdfSettings();
  virtual ~PdfSettings() = default;

  // Every stored setting by its row of the settings table; the typed accessors below read and
  // write through these two, so that a host or a test replaces them in one place.
  virtual QVariant value(Setting setting) const;
  virtual void setValue(Setting setting, const QVariant& value);
  // The four document-information fields; callers change them in place.
  virtual DocInfoField& field(DocField which);

  // What the workgroup hub offered when the panel last searched it. CheckSettings checks the
  // hub, the workflow and the dictionary against it; without one (a settings object no panel
  // drives) those three checks are not made. Not stored; kept by Load and RestoreDefaults.
  virtual std::optional<HubOffer> hubOffer() const { return hubOffer_; }
  virtual void setHubOffer(const std::optional<HubOffer>& offer) { hubOffer_ = offer; }

  // Reads every setting of this release script from the two parts (a key that is missing
  // keeps its default). `item` is unused and always empty.
  virtual void Load(SetupPart& partOne, SetupPart& partTwo, const QVariant& item = {});
  // Stores every setting into the two parts, all or none: when a part refuses a value, the keys
  // already written are put back as they were and the failure is raised.
  virtual void Save(SetupPart& partOne, SetupPart& partTwo);
  // Resets every setting to its default; PdfEngine and Enabled are kept.
  virtual void RestoreDefaults();
  // Rejects an illegal setting for the current engine with kObjectErrorBase + n.
  virtual QVariant CheckSettings();

  // The engine's stored text ("3" for the Acrobat Capture panel, "2" for the OCR panel); it
  // selects the rules CheckSettings applies. Not touched by Load or RestoreDefaults.
  QString PdfEngine() const { return text(Setting::PdfEngine); }
  void setPdfEngine(const QString& v) { setValue(Setting::PdfEngine, v); }
  std::optional<Engine> engine() const { return engineOfText(PdfEngine()); }
  void setEngine(Engine e) { setPdfEngine(engineText(e)); }

  // The thresholds CheckSettings accepts: a percentage, 0 to 100.
  static bool thresholdAccepted(int threshold) {
    const SettingRow& row = settingRow(Setting::ConfidenceThreshold);
    return threshold >= row.low && threshold <= row.high;
  }

  DocInfoField& AuthorField() { return field(DocField::Author); }
  DocInfoField& TitleField() { return field(DocField::Title); }
  DocInfoField& SubjectField() { return field(DocField::Subject); }
  DocInfoField& KeywordsField() { return field(DocField::Keywords); }

  std::int16_t ConfidenceThreshold() const {
    return static_cast<std::int16_t>(value(Setting::ConfidenceThreshold).toInt());
  }
  void setConfidenceThreshold(std::int16_t v) {
    setValue(Setting::ConfidenceThreshold, static_cast<int>(v));
  }

#define ZAN_SETTING_FLAG(Name)            \
  bool Name() const {                     \
    return value(Setting::Name).toBool(); \
  }                                       \
  void set##Name(bool v) {                \
    setValue(Setting::Name, v);           \
  }
#define ZAN_SETTING_TEXT(Name)       \
  QString Name() const {             \
    return text(Setting::Name);      \
  }                                  \
  void set##Name(const QString& v) { \
    setValue(Setting::Name, v);      \
  }
#define ZAN_SETTING_NUMBER(Name)                  \
  std::int32_t Name() const {                     \
    return value(Setting::Name).toInt();          \
  }                                               \
  void set##Name(std::int32_t v) {                \
    setValue(Setting::Name, static_cast<int>(v)); \
  }
  ZAN_SETTING_FLAG(Enabled)
  ZAN_SETTING_FLAG(LowOcrConfidence)
  ZAN_SETTING_FLAG(WordNotInDictionary)
  ZAN_SETTING_FLAG(LowFontConfidence)
  // OCR panel.
  ZAN_SETTING_NUMBER(OutputFormatType)
  ZAN_SETTING_NUMBER(OcrLanguage)
  ZAN_SETTING_NUMBER(Accuracy)
  ZAN_SETTING_FLAG(MixedCases)
  ZAN_SETTING_FLAG(Rotate0)
  ZAN_SETTING_FLAG(Rotate90)
  ZAN_SETTING_FLAG(Rotate180)
  ZAN_SETTING_FLAG(Rotate270)
  // Acrobat Capture panel.
  ZAN_SETTING_TEXT(PageContent)
  ZAN_SETTING_TEXT(CaptureLanguage)
  ZAN_SETTING_TEXT(Dictionary)
  ZAN_SETTING_TEXT(Workflow)
  ZAN_SETTING_FLAG(MixedAlphaNumeric)
  ZAN_SETTING_FLAG(NumericOnly)
  ZAN_SETTING_FLAG(CreateThumbnails)
  ZAN_SETTING_FLAG(EmbedFonts)
  ZAN_SETTING_FLAG(EnableLinks)
  ZAN_SETTING_FLAG(EnableStructure)
  ZAN_SETTING_FLAG(AutoPageRotation)
  ZAN_SETTING_TEXT(WorkgroupHub)
  ZAN_SETTING_TEXT(WatchedFolder)
  ZAN_SETTING_TEXT(PDFOutputFolder)
  ZAN_SETTING_TEXT(PDFOutputMachine)
  ZAN_SETTING_NUMBER(PDFInputImageType)
  ZAN_SETTING_FLAG(PDFWaitForStatus)
  ZAN_SETTING_FLAG(PDFDeleteHungDoc)
#undef ZAN_SETTING_FLAG
#undef ZAN_SETTING_TEXT
#undef ZAN_SETTING_NUMBER

 private:
  QString text(Setting s) const {
    return value(s).toString();
  }
  // The stored value of a row, read and written without the virtual surface.
  QVariant stored(const SettingRow& row) const;
  void store(const SettingRow& row, const QVariant& value);
  // Puts every setting RestoreDefaults resets to its default.
  void resetToDefaults();
  void checkCaptureSettings();
  void checkCaptureHub();
  void checkOcrSettings();

  // Each setting in a slot of its type (settingSlot()): as small as plain members.
  std::uint64_t flags_ = 0;
  std::array<std::int32_t, kNumberSlots> numbers_{};
  std::array<QString, kTextSlots> texts_;
  std::array<DocInfoField, kDocFieldCount> fields_;
  std::optional<HubOffer> hubOffer_;
};

}  // namespace zan
