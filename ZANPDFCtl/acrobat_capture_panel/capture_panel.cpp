// ZANPdf3's own members: creation, keyboard entry, the seven properties, loading (Refresh),
// what Validate copies, the control each settings rule names, and the handlers of the lists.

#include "acrobat_capture_panel/capture_panel.h"

#include "controls/check_box.h"
#include "controls/combo_box.h"
#include "controls/simple_controls.h"
#include "controls/text_box.h"
#include "external/folder_browser.h"
#include "external/links_control.h"

namespace zan {
namespace {

const QString kRefreshSource = QStringLiteral("ZANPDF3.Refresh");
const QString kHubLogSource = QStringLiteral("ZANPDF.Refresh");
constexpr int kEnglishUsIndex = 3;
constexpr int kPutStep = 10;

// Step labels reported in "Line #: N; ..." when Refresh fails.
enum RefreshStep {
  kStepLists = 10,
  kStepThreshold = 20,
  kStepCheckBoxes = 30,
  kStepLocations = 40,
  kStepMembers = 50,
  kStepHub = 60,
  kStepDocumentRows = 70,
  kStepRedraw = 80,
  kStepCloseHub = 90,
};

// Runs the body of a property put; a failure is raised again as "Line# 10 Desc: ...".
template <class Body>
void putProperty(Body&& body) {
  try {
    body();
  } catch (...) {
    raiseError(stepPrefixed(currentError(), kPutStep));
  }
}

}  // namespace

CapturePanel::CapturePanel(ZANPdf3& panel, PanelEnvironment env)
    : PanelCore(panel, std::move(env), "ZANPdf3", Engine::Capture),
      hubSearch_(env_.createHub(), env_.platform, settings()) {
  form_.setFocusEntryHandler([this](bool backward) { enterPanel(backward); });
  createControls();
  attachHandlers();
  settings().setEngine(engine_);
  localizeControls();
  setEnabled(true);
}

CapturePanel::~CapturePanel() {
  form_.releaseControls();
}

void CapturePanel::enterPanel(bool backward) {
  if (!backward) return;
  try {
    controls::Control* target = lastTabControl_ ? lastTabControl_ : chkAutoPageRotation;
    target->setFocus();
  } catch (...) {
    // A backward entry that cannot be redirected leaves the focus where the container put it.
  }
}

// The controls that do not apply to the page content "Image Only" carry it as their tag.
QString CapturePanel::keptDisabledTag() const {
  const QString imageOnly = QString::fromLatin1(kImageOnlyPageContent);
  return cmbPageContent->value() == imageOnly ? imageOnly : QString();
}

// ---- Properties

QString CapturePanel::workgroupHub() const {
  return txtWorkgroupHub->text();
}

void CapturePanel::setWorkgroupHub(const QString& strPath) {
  putProperty([&] { txtWorkgroupHub->setText(strPath); });
}

QString CapturePanel::watchedFolder() const {
  return txtWatchedFolder->text();
}

void CapturePanel::setWatchedFolder(const QString& strPath) {
  putProperty([&] { txtWatchedFolder->setText(strPath); });
}

void CapturePanel::setPdfOutputFolder(const QString& strPath) {
  putProperty([&] { pdfOutputFolder_ = strPath; });
}

void CapturePanel::setPdfOutputMachine(const QString& strPath) {
  putProperty([&] { pdfOutputMachine_ = strPath; });
}

void CapturePanel::setPdfWaitForStatus(bool blnChoice) {
  putProperty([&] { pdfWaitForStatus_ = blnChoice; });
}

void CapturePanel::setPdfDeleteHungDoc(bool blnChoice) {
  putProperty([&] { pdfDeleteHungDoc_ = blnChoice; });
}

void CapturePanel::setPdfInputImageType(qint32 ZANFormat) {
  putProperty([&] { pdfInputImageType_ = ZANFormat; });
}

// ---- Init and loading

void CapturePanel::beforeLoad() {
  settings().setEngine(engine_);
}

AutomationError CapturePanel::initFailure(const AutomationError& caught, int label) const {
  return lineSuffixed(caught, label);
}

void CapturePanel::refresh() {
  StepLabel at;
  bool hubAsked = false, hubOpened = false;
  try {
    at = kStepLists;
    substitutedSettings_.clear();
    selectStored(cmbPageContent, settings().PageContent(), Setting::PageContent,
                 kStrPageContentSubstituted);
    const QString language = settings().CaptureLanguage();
    if (language.isEmpty()) {
      selectComboText(cmbLanguage, language);
      cmbLanguage->setListIndex(kEnglishUsIndex);
    } else {
      selectStored(cmbLanguage, language, Setting::CaptureLanguage, kStrLanguageSubstituted);
    }

    at = kStepThreshold;
    showThreshold(kRefreshSource, kStepThreshold);

    at = kStepCheckBoxes;
    showFlags({{chkLowOcrConfidence, &PdfSettings::LowOcrConfidence},
               {chkLowFontConfidence, &PdfSettings::LowFontConfidence},
               {chkMixedAlphaNumeric, &PdfSettings::MixedAlphaNumeric},
               {chkWordNotInDictionary, &PdfSettings::WordNotInDictionary},
               {chkNumericOnly, &PdfSettings::NumericOnly},
               {chkCreateThumbnails, &PdfSettings::CreateThumbnails},
               {chkEmbedFonts, &PdfSettings::EmbedFonts},
               {chkEnableLinks, &PdfSettings::EnableLinks},
               {chkEnableStructure, &PdfSettings::EnableStructure},
               {chkAutoPageRotation, &PdfSettings::AutoPageRotation}});

    at = kStepLocations;
    txtWorkgroupHub->setText(settings().WorkgroupHub());
    txtWatchedFolder->setText(settings().WatchedFolder());

    at = kStepMembers;
    pdfInputImageType_ = settings().PDFInputImageType();
    pdfDeleteHungDoc_ = settings().PDFDeleteHungDoc();
    pdfWaitForStatus_ = settings().PDFWaitForStatus();
    pdfOutputFolder_ = settings().PDFOutputFolder();
    pdfOutputMachine_ = settings().PDFOutputMachine();

    at = kStepHub;
    hubAsked = true;
    hubOpened = refreshHubLists();

    at = kStepDocumentRows;
    showDocumentRows();

    at = kStepRedraw;
    PDFHeaderLinks->Redraw();

    at = kStepCloseHub;
    hubAsked = false;
    hubSearch_.close();
    if (hubOpened && hubSearch_.status() != kHubOk)
      logHubProblem(kStrHubNotClosed, settings().WorkgroupHub(), true, kHubLogSource);
  } catch (...) {
    const AutomationError caught = currentError();
    // A hub opened before the failure is not left open.
    if (hubAsked) hubSearch_.closeAfterFailure();
    raiseError(linePrefixed(caught, at, kRefreshSource));
  }
}

bool CapturePanel::refreshHubLists() {
  if (clearListsWithoutHub(settings().WorkgroupHub())) return false;
  HubOffer offer;
  hubSearch_.open(settings().WorkgroupHub(), offer);
  switch (hubSearch_.status()) {
    case kHubOk:
      break;
    case kHubUnreachable:
      logHubProblem(kStrHubUnreachable, offer.path, true, kHubLogSource);
      return false;
    case kHubNotAHub:
      logHubProblem(kStrHubNotAHub, offer.path, true, kHubLogSource);
      return false;
    default:
      logHubProblem(kStrInternalError, offer.path, false, kHubLogSource);
      return false;
  }
  QString list;
  if (hubSearch_.readList(false, list, offer)) {
    fillComboFromList(cmbDictionary, list, offer.dictionaries);
    selectStored(cmbDictionary, settings().Dictionary(), Setting::Dictionary,
                 kStrDictionarySubstituted);
  }
  if (hubSearch_.readList(true, list, offer)) {
    fillComboFromList(cmbWorkflow, list, offer.workflows);
    selectStored(cmbWorkflow, settings().Workflow(), Setting::Workflow, kStrWorkflowSubstituted);
  }
  return true;
}

void CapturePanel::selectStored(controls::ComboBox* combo, const QString& stored, Setting setting,
                                int messageId) {
  selectComboText(combo, stored);
  if (combo->value() == stored) return;
  substitutedSettings_ << settingRow(setting).keyText();
  if (stored.isEmpty()) return;  // nothing was chosen yet: the first entry is no substitute
  textError().log({-1, kRefreshSource, text(messageId).arg(stored, combo->text()), {}, 0},
                  kStepLists);
}

void CapturePanel::logHubProblem(int messageId, const QString& hub, bool display,
                                 const QString& where) {
  std::int32_t& status = hubSearch_.status();
  ErrorEventArgs args;
  args.ErrNum = status;
  args.ErrMsg = messageId == kStrHubNotClosed
                    ? text(messageId).arg(hub, QString::number(status))
                    : text(messageId) + QLatin1Char(' ') + text(kStrHubNamed).arg(hub);
  args.SourceFile = where;
  args.LineNo = 10;
  args.Display = display;
  textError().LogTheError(args);
  status = args.ErrNum;
}

// ---- Validation

void CapturePanel::storeShownValues() {
  PdfSettings& s = settings();
  s.setPageContent(cmbPageContent->value());
  s.setCaptureLanguage(cmbLanguage->value());
  s.setDictionary(cmbDictionary->value());
  s.setWorkflow(cmbWorkflow->value());
  storeThreshold();
  storeFlags({{chkLowOcrConfidence, &PdfSettings::setLowOcrConfidence},
              {chkWordNotInDictionary, &PdfSettings::setWordNotInDictionary},
              {chkMixedAlphaNumeric, &PdfSettings::setMixedAlphaNumeric},
              {chkLowFontConfidence, &PdfSettings::setLowFontConfidence},
              {chkNumericOnly, &PdfSettings::setNumericOnly},
              {chkCreateThumbnails, &PdfSettings::setCreateThumbnails},
              {chkEmbedFonts, &PdfSettings::setEmbedFonts},
              {chkEnableLinks, &PdfSettings::setEnableLinks},
              {chkEnableStructure, &PdfSettings::setEnableStructure},
              {chkAutoPageRotation, &PdfSettings::setAutoPageRotation}});
  s.setWorkgroupHub(txtWorkgroupHub->text());
  s.setWatchedFolder(txtWatchedFolder->text());
  s.setPDFOutputFolder(pdfOutputFolder_);
  s.setPDFOutputMachine(pdfOutputMachine_);
  s.setPDFWaitForStatus(pdfWaitForStatus_);
  s.setPDFDeleteHungDoc(pdfDeleteHungDoc_);
  s.setPDFInputImageType(pdfInputImageType_);
}

controls::Control* CapturePanel::controlForRule(std::int32_t number) const {
  return ruleControl(number, {{kRuleCaptureLanguage, cmbLanguage},
                              {kRuleCaptureThreshold, txtConfidenceThreshold},
                              {kRuleCaptureTitle, headerLinksControl_},
                              {kRuleCaptureSubject, headerLinksControl_},
                              {kRuleCaptureAuthor, headerLinksControl_},
                              {kRuleCaptureKeywords, headerLinksControl_},
                              {kRuleCaptureWordNotInDictionary, chkWordNotInDictionary},
                              {kRulePageContent, cmbPageContent},
                              {kRuleDictionary, cmbDictionary},
                              {kRuleCaptureLowOcrConfidence, chkLowOcrConfidence},
                              {kRuleCaptureLowFontConfidence, chkLowFontConfidence},
                              {kRuleMixedAlphaNumeric, chkMixedAlphaNumeric},
                              {kRuleNumericOnly, chkNumericOnly},
                              {kRuleCreateThumbnails, chkCreateThumbnails},
                              {kRuleEmbedFonts, chkEmbedFonts},
                              {kRuleEnableLinks, chkEnableLinks},
                              {kRuleEnableStructure, chkEnableStructure},
                              {kRuleAutoPageRotation, chkAutoPageRotation},
                              {kRuleWorkgroupHub, txtWorkgroupHub},
                              {kRuleWatchedFolder, txtWatchedFolder},
                              {kRulePageContentOption, cmbPageContent},
                              {kRuleWorkflow, cmbWorkflow},
                              {kRuleWorkflowsUnavailable, cmbWorkflow},
                              {kRuleImageOnlyWorkflow, cmbPageContent}});
}

// ---- Handlers

void CapturePanel::attachHandlers() {
  attachCommonHandlers({chkLowOcrConfidence, chkLowFontConfidence, chkWordNotInDictionary,
                        chkMixedAlphaNumeric, chkNumericOnly, chkCreateThumbnails, chkEmbedFonts,
                        chkEnableLinks, chkEnableStructure, chkAutoPageRotation},
                       /*thresholdArrowKeys=*/true);
  chkAutoPageRotation->setOnLostFocus([this] { lastTabControl_ = chkAutoPageRotation; });
  cmbPageContent->onClick = [this] { onPageContentClick(); };
  cmbLanguage->onClick = [this] { comboClick(cmbLanguage, settings().CaptureLanguage()); };
  cmbDictionary->onClick = [this] { comboClick(cmbDictionary, settings().Dictionary()); };
  cmbWorkflow->onClick = [this] { comboClick(cmbWorkflow, settings().Workflow()); };
  txtWorkgroupHub->onChange = [this] { onWorkgroupHubChange(); };
  txtWatchedFolder->onChange = [this] { onWatchedFolderChange(); };
  cmdBrowseHub->onClick = [this] { browse(txtWorkgroupHub, cmdBrowseHub, kStrHubBrowseTitle); };
  cmdBrowseWatch->onClick = [this] {
    browse(txtWatchedFolder, cmdBrowseWatch, kStrWatchedFolderBrowseTitle);
  };
}

void CapturePanel::comboClick(controls::ComboBox* combo, const QString& stored) {
  if (combo->value() != stored) notifyChange();
}

void CapturePanel::onPageContentClick() {
  if (cmbPageContent->value() != settings().PageContent()) {
    notifyChange();
    settings().setPageContent(cmbPageContent->value());
    setEnabled(true);
  }
  if (cmbPageContent->value() == QLatin1String(kImageOnlyPageContent))
    selectComboText(cmbWorkflow, QString::fromLatin1(kImageOnlyWorkflow));
}

}  // namespace zan
