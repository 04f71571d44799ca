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
  bool hubOpened = false;
  try {
    at = kStepLists;
    SelectComboText(cmbPageContent, settings()->PageContent());
    SelectComboText(cmbLanguage, settings()->CaptureLanguage());
    if (settings()->CaptureLanguage().isEmpty()) cmbLanguage->setListIndex(kEnglishUsIndex);

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
    hubOpened = true;
    refreshHubLists();

    at = kStepDocumentRows;
    refreshDocumentRows();

    at = kStepRedraw;
    PDFHeaderLinks->Redraw();

    at = kStepCloseHub;
    hubOpened = false;
    herald().CloseHub(m_HubStatus);
  } catch (...) {
    const zan::AutomationError caught = zan::currentError();
    // A hub opened before the failure is not left open.
    if (hubOpened) {
      try {
        herald().CloseHub(m_HubStatus);
      } catch (...) {
      }
    }
    zan::raiseError(zan::linePrefixed(caught, at, kRefreshSource));
  }
}

void ZANPdf3::refreshHubLists() {
  herald().OpenHub(settings()->WorkgroupHub(), m_HubStatus);
  int messageId = 0;
  bool display = true;
  switch (m_HubStatus) {
    case zan::kHubOk: {
      QString list;
      herald().GetDictionaries(list, m_HubStatus);
      if (m_HubStatus == zan::kHubOk) {
        FillComboFromList(cmbDictionary, list);
        SelectComboText(cmbDictionary, settings()->Dictionary());
      }
      list.clear();
      herald().GetWorkflows(list, m_HubStatus);
      if (m_HubStatus == zan::kHubOk) {
        FillComboFromList(cmbWorkflow, list);
        SelectComboText(cmbWorkflow, settings()->Workflow());
      }
      return;
    }
    case zan::kHubUnreachable:
      messageId = 5736;
      break;
    case zan::kHubNotAHub:
      messageId = 5737;
      break;
    default:
      messageId = 9708;
      display = false;
      break;
  }
  QString message = text(messageId);
  QString source = kHubLogSource;
  std::int16_t line = 10;
  bool reRaise = false;
  textError().LogTheError(m_HubStatus, message, source, line, reRaise, display);
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
