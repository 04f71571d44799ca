#pragma once
// PdfSettings: the PDF settings of one release script. Loads them from and saves them to the
// two property bags of the host's setup data, restores defaults and checks them.
//
// Every member is virtual so that a host or a test can replace single behaviours.
// CheckSettings (and nothing else) rejects an illegal setting by raising an AutomationError
// numbered kObjectErrorBase + n with a description meant for the user; the rules and their
// numbers, and the keys under which Load and Save keep each setting, are listed in
// docs/settings-rules.md.

#include "common/automation_error.h"
#include "external/doc_info_field.h"
#include "external/hub_offer.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>

namespace zan {

class SetupPart;

// The page content whose documents hold no text, and the one workflow it goes with.
constexpr char kImageOnlyPageContent[] = "Image Only";
constexpr char kImageOnlyWorkflow[] = "PDF Image Only";

// The settings rules. CheckSettings rejects a setting by raising kObjectErrorBase + its rule's
// number, and each panel focuses the control its table names for that number. Rules marked
// "panel only" are named by the panels' tables but never raised by CheckSettings.
enum SettingsRule : std::int32_t {
  // Acrobat Capture engine ("3").
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
  // OCR engine ("2").
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

class PdfSettings {
 public:
  PdfSettings();
  virtual ~PdfSettings() = default;

  // "3" for the Acrobat Capture panel, "2" for the OCR panel; selects the rules CheckSettings
  // applies. Not touched by Load or RestoreDefaults' reset of the other settings.
  virtual QString PdfEngine() const { return pdfEngine_; }
  virtual void setPdfEngine(const QString& v) { pdfEngine_ = v; }
  virtual bool Enabled() const { return enabled_; }
  virtual void setEnabled(bool v) { enabled_ = v; }

  virtual std::int16_t ConfidenceThreshold() const { return confidenceThreshold_; }
  virtual void setConfidenceThreshold(std::int16_t v) { confidenceThreshold_ = v; }
  // The thresholds CheckSettings accepts: a percentage, 0 to 100.
  static constexpr bool thresholdAccepted(int threshold) {
    return threshold >= 0 && threshold <= 100;
  }

  // The four document-information fields; callers change them in place.
  virtual DocInfoField& AuthorField() { return author_; }
  virtual DocInfoField& TitleField() { return title_; }
  virtual DocInfoField& SubjectField() { return subject_; }
  virtual DocInfoField& KeywordsField() { return keywords_; }

  virtual bool LowOcrConfidence() const { return lowOcrConfidence_; }
  virtual void setLowOcrConfidence(bool v) { lowOcrConfidence_ = v; }
  virtual bool WordNotInDictionary() const { return wordNotInDictionary_; }
  virtual void setWordNotInDictionary(bool v) { wordNotInDictionary_ = v; }
  virtual bool LowFontConfidence() const { return lowFontConfidence_; }
  virtual void setLowFontConfidence(bool v) { lowFontConfidence_ = v; }

  // OCR panel.
  virtual std::int32_t OutputFormatType() const { return outputFormatType_; }
  virtual void setOutputFormatType(std::int32_t v) { outputFormatType_ = v; }
  virtual std::int32_t OcrLanguage() const { return ocrLanguage_; }
  virtual void setOcrLanguage(std::int32_t v) { ocrLanguage_ = v; }
  virtual std::int32_t Accuracy() const { return accuracy_; }
  virtual void setAccuracy(std::int32_t v) { accuracy_ = v; }
  virtual bool MixedCases() const { return mixedCases_; }
  virtual void setMixedCases(bool v) { mixedCases_ = v; }
  virtual bool Rotate0() const { return rotate0_; }
  virtual void setRotate0(bool v) { rotate0_ = v; }
  virtual bool Rotate90() const { return rotate90_; }
  virtual void setRotate90(bool v) { rotate90_ = v; }
  virtual bool Rotate180() const { return rotate180_; }
  virtual void setRotate180(bool v) { rotate180_ = v; }
  virtual bool Rotate270() const { return rotate270_; }
  virtual void setRotate270(bool v) { rotate270_ = v; }

  // Acrobat Capture panel.
  virtual QString PageContent() const { return pageContent_; }
  virtual void setPageContent(const QString& v) { pageContent_ = v; }
  virtual QString CaptureLanguage() const { return captureLanguage_; }
  virtual void setCaptureLanguage(const QString& v) { captureLanguage_ = v; }
  virtual QString Dictionary() const { return dictionary_; }
  virtual void setDictionary(const QString& v) { dictionary_ = v; }
  virtual QString Workflow() const { return workflow_; }
  virtual void setWorkflow(const QString& v) { workflow_ = v; }
  virtual bool MixedAlphaNumeric() const { return mixedAlphaNumeric_; }
  virtual void setMixedAlphaNumeric(bool v) { mixedAlphaNumeric_ = v; }
  virtual bool NumericOnly() const { return numericOnly_; }
  virtual void setNumericOnly(bool v) { numericOnly_ = v; }
  virtual bool CreateThumbnails() const { return createThumbnails_; }
  virtual void setCreateThumbnails(bool v) { createThumbnails_ = v; }
  virtual bool EmbedFonts() const { return embedFonts_; }
  virtual void setEmbedFonts(bool v) { embedFonts_ = v; }
  virtual bool EnableLinks() const { return enableLinks_; }
  virtual void setEnableLinks(bool v) { enableLinks_ = v; }
  virtual bool EnableStructure() const { return enableStructure_; }
  virtual void setEnableStructure(bool v) { enableStructure_ = v; }
  virtual bool AutoPageRotation() const { return autoPageRotation_; }
  virtual void setAutoPageRotation(bool v) { autoPageRotation_ = v; }
  virtual QString WorkgroupHub() const { return workgroupHub_; }
  virtual void setWorkgroupHub(const QString& v) { workgroupHub_ = v; }
  virtual QString WatchedFolder() const { return watchedFolder_; }
  virtual void setWatchedFolder(const QString& v) { watchedFolder_ = v; }
  virtual QString PDFOutputFolder() const { return pdfOutputFolder_; }
  virtual void setPDFOutputFolder(const QString& v) { pdfOutputFolder_ = v; }
  virtual QString PDFOutputMachine() const { return pdfOutputMachine_; }
  virtual void setPDFOutputMachine(const QString& v) { pdfOutputMachine_ = v; }
  virtual std::int32_t PDFInputImageType() const { return pdfInputImageType_; }
  virtual void setPDFInputImageType(std::int32_t v) { pdfInputImageType_ = v; }
  virtual bool PDFWaitForStatus() const { return pdfWaitForStatus_; }
  virtual void setPDFWaitForStatus(bool v) { pdfWaitForStatus_ = v; }
  virtual bool PDFDeleteHungDoc() const { return pdfDeleteHungDoc_; }
  virtual void setPDFDeleteHungDoc(bool v) { pdfDeleteHungDoc_ = v; }

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
  // Rejects an illegal setting for the current PdfEngine with kObjectErrorBase + n.
  virtual QVariant CheckSettings();

 private:
  // Puts every setting except PdfEngine and Enabled to its default.
  void resetToDefaults();
  // Calls the visitor once per stored setting with its part (1 or 2), key and member; the one
  // list that Load and Save share.
  template <class Visitor>
  void visitStored(Visitor& visitor);
  void checkCaptureSettings();
  void checkCaptureHub();
  void checkOcrSettings();

  QString pdfEngine_;
  bool enabled_ = true;
  // The settings resetToDefaults() gives their defaults.
  std::int16_t confidenceThreshold_;
  DocInfoField author_, title_, subject_, keywords_;
  bool lowOcrConfidence_, wordNotInDictionary_, lowFontConfidence_;
  std::int32_t outputFormatType_, ocrLanguage_, accuracy_;
  bool mixedCases_, rotate0_, rotate90_, rotate180_, rotate270_;
  QString pageContent_, captureLanguage_, dictionary_, workflow_;
  bool mixedAlphaNumeric_, numericOnly_, createThumbnails_, embedFonts_, enableLinks_,
      enableStructure_, autoPageRotation_;
  QString workgroupHub_, watchedFolder_, pdfOutputFolder_, pdfOutputMachine_;
  std::int32_t pdfInputImageType_;
  bool pdfWaitForStatus_, pdfDeleteHungDoc_;
  std::optional<HubOffer> hubOffer_;
};

}  // namespace zan
