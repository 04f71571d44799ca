// Refresh: shows what the settings object holds. Every control update runs the control's own
// handlers, as a user edit would.

#include "acrobat_capture_panel/zanpdf3.h"

#include "common/automation_error.h"
#include "common/controls/check_box.h"
#include "common/controls/combo_box.h"
#include "common/controls/text_box.h"
#include "common/text_error.h"
#include "external/herald_hub.h"
#include "external/links_control.h"
#include "external/pdf_settings.h"

namespace {

const QString kRefreshSource = QStringLiteral("ZANPDF3.Refresh");
const QString kHubLogSource = QStringLiteral("ZANPDF.Refresh");
constexpr int kEnglishUsIndex = 3;

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

int checkValue(bool setting) {
  return setting ? 1 : 0;
}

}  // namespace

void ZANPdf3::Refresh() {
  zan::StepLabel at;
  bool hubAsked = false, hubOpened = false;
  try {
    at = kStepLists;
    m_SubstitutedSettings.clear();
    selectStored(cmbPageContent, settings()->PageContent(), "PageContent", 5740);
    const QString language = settings()->CaptureLanguage();
    if (language.isEmpty()) {
      SelectComboText(cmbLanguage, language);
      cmbLanguage->setListIndex(kEnglishUsIndex);
    } else {
      selectStored(cmbLanguage, language, "CaptureLanguage", 5741);
    }

    at = kStepThreshold;
    txtConfidenceThreshold->setText(QString::number(settings()->ConfidenceThreshold()));

    at = kStepCheckBoxes;
    chkLowOcrConfidence->setValue(checkValue(settings()->LowOcrConfidence()));
    chkLowFontConfidence->setValue(checkValue(settings()->LowFontConfidence()));
    chkMixedAlphaNumeric->setValue(checkValue(settings()->MixedAlphaNumeric()));
    chkWordNotInDictionary->setValue(checkValue(settings()->WordNotInDictionary()));
    chkNumericOnly->setValue(checkValue(settings()->NumericOnly()));
    chkCreateThumbnails->setValue(checkValue(settings()->CreateThumbnails()));
    chkEmbedFonts->setValue(checkValue(settings()->EmbedFonts()));
    chkEnableLinks->setValue(checkValue(settings()->EnableLinks()));
    chkEnableStructure->setValue(checkValue(settings()->EnableStructure()));
    chkAutoPageRotation->setValue(checkValue(settings()->AutoPageRotation()));

    at = kStepLocations;
    txtWorkgroupHub->setText(settings()->WorkgroupHub());
    txtWatchedFolder->setText(settings()->WatchedFolder());

    at = kStepMembers;
    m_PDFInputImageType = settings()->PDFInputImageType();
    m_PDFDeleteHungDoc = settings()->PDFDeleteHungDoc();
    m_PDFWaitForStatus = settings()->PDFWaitForStatus();
    m_PDFOutputFolder = settings()->PDFOutputFolder();
    m_PDFOutputMachine = settings()->PDFOutputMachine();

    at = kStepHub;
    hubAsked = true;
    hubOpened = refreshHubLists();

    at = kStepDocumentRows;
    refreshDocumentRows();

    at = kStepRedraw;
    PDFHeaderLinks->Redraw();

    at = kStepCloseHub;
    hubAsked = false;
    hubOpen_ = false;
    herald().CloseHub(m_HubStatus);
    if (hubOpened && m_HubStatus != zan::kHubOk)
      logHubProblem(m_HubStatus, 5739, settings()->WorkgroupHub(), true, kHubLogSource);
  } catch (...) {
    const zan::AutomationError caught = zan::currentError();
    // A hub asked before the failure is not left open.
    if (hubAsked) {
      hubOpen_ = false;
      try {
        herald().CloseHub(m_HubStatus);
      } catch (...) {
      }
    }
    zan::raiseError(zan::linePrefixed(caught, at, kRefreshSource));
  }
}

bool ZANPdf3::refreshHubLists() {
  zan::HubOffer offer;
  openHub(settings()->WorkgroupHub(), offer);
  switch (m_HubStatus) {
    case zan::kHubOk:
      break;
    case zan::kHubUnreachable:
      logHubProblem(m_HubStatus, 5736, offer.path, true, kHubLogSource);
      return false;
    case zan::kHubNotAHub:
      logHubProblem(m_HubStatus, 5737, offer.path, true, kHubLogSource);
      return false;
    default:
      logHubProblem(m_HubStatus, 9708, offer.path, false, kHubLogSource);
      return false;
  }
  QString list;
  if (readHubList(offer, false, list)) {
    FillComboFromList(cmbDictionary, list);
    selectStored(cmbDictionary, settings()->Dictionary(), "Dictionary", 5742);
  }
  if (readHubList(offer, true, list)) {
    FillComboFromList(cmbWorkflow, list);
    selectStored(cmbWorkflow, settings()->Workflow(), "Workflow", 5743);
  }
  return true;
}

// What the hub offers reaches the settings object before the lists run their handlers.
bool ZANPdf3::openHub(const QString& path, zan::HubOffer& offer) {
  offer = {};
  offer.path = path;
  herald().OpenHub(path, m_HubStatus);
  hubOpen_ = m_HubStatus == zan::kHubOk;
  offer.openStatus = m_HubStatus;
  settings()->setHubOffer(offer);
  return hubOpen_;
}

bool ZANPdf3::readHubList(zan::HubOffer& offer, bool workflows, QString& list) {
  list.clear();
  if (workflows) {
    herald().GetWorkflows(list, m_HubStatus);
  } else {
    herald().GetDictionaries(list, m_HubStatus);
  }
  const bool delivered = m_HubStatus == zan::kHubOk;
  (workflows ? offer.workflowsStatus : offer.dictionariesStatus) = m_HubStatus;
  if (delivered) (workflows ? offer.workflows : offer.dictionaries) = zan::hubListNames(list);
  settings()->setHubOffer(offer);
  return delivered;
}

void ZANPdf3::selectStored(zan::controls::ComboBox* combo, const QString& stored,
                           const char* setting, int messageId) {
  SelectComboText(combo, stored);
  if (combo->text() == stored) return;
  m_SubstitutedSettings << QString::fromLatin1(setting);
  if (stored.isEmpty()) return;  // nothing was chosen yet: the first entry is no substitute
  std::int32_t number = -1;
  QString message = text(messageId).arg(stored, combo->text());
  QString source = kRefreshSource;
  std::int16_t line = kStepLists;
  bool reRaise = false, display = true;
  textError().LogTheError(number, message, source, line, reRaise, display);
}

void ZANPdf3::logHubProblem(std::int32_t& status, int messageId, const QString& hub, bool display,
                            const QString& where) {
  QString message = messageId == 5739 ? text(messageId).arg(hub, QString::number(status))
                                      : text(messageId) + QLatin1Char(' ') + text(5738).arg(hub);
  QString source = where;
  std::int16_t line = 10;
  bool reRaise = false;
  textError().LogTheError(status, message, source, line, reRaise, display);
}

void ZANPdf3::refreshDocumentRows() {
  PDFHeaderLinks->ClearLinks();
  using Field = zan::DocInfoField& (zan::PdfSettings::*)();
  const std::pair<Field, int> rows[] = {
      {&zan::PdfSettings::TitleField, 2708},
      {&zan::PdfSettings::SubjectField, 2709},
      {&zan::PdfSettings::AuthorField, 2707},
      {&zan::PdfSettings::KeywordsField, 2710},
  };
  for (const auto& [field, captionId] : rows) {
    const QString name = (settings()->*field)().FieldName();
    const std::int32_t type = (settings()->*field)().FieldType();
    const QString fieldText = (settings()->*field)().FieldText();
    PDFHeaderLinks->AddLink(name, type, fieldText, text(captionId));
  }
}
