// Validate copies every shown value into the settings object and lets it check them; a rejected
// value's number selects the control that SetValidateFocus focuses.

#include "acrobat_capture_panel/zanpdf3.h"

#include "common/automation_error.h"
#include "common/controls/check_box.h"
#include "common/controls/combo_box.h"
#include "common/controls/text_box.h"
#include "common/numeric_text.h"
#include "external/links_control.h"
#include "external/pdf_settings.h"

namespace {

const QString kValidateSource = QStringLiteral("QelPDFSetup.Validate");
const QString kSetValidateFocusSource = QStringLiteral("QelPDFSetup.SetValidateFocus");

bool isSet(const zan::controls::CheckBox* box) {
  return box->value() != 0;
}

}  // namespace

zan::controls::Control* ZANPdf3::controlForValidation(std::int32_t number) const {
  switch (static_cast<std::int64_t>(number) - zan::kObjectErrorBase) {
    case 513:
      return cmbLanguage;
    case 515:
      return txtConfidenceThreshold;
    case 516:
    case 517:
    case 518:
    case 519:
      return PDFHeaderLinksControl;
    case 521:
      return chkWordNotInDictionary;
    case 525:
      return cmbPageContent;
    case 526:
      return cmbDictionary;
    case 527:
      return chkLowOcrConfidence;
    case 528:
      return chkLowFontConfidence;
    case 529:
      return chkMixedAlphaNumeric;
    case 530:
      return chkNumericOnly;
    case 531:
      return chkCreateThumbnails;
    case 532:
      return chkEmbedFonts;
    case 533:
      return chkEnableLinks;
    case 534:
      return chkEnableStructure;
    case 535:
      return chkAutoPageRotation;
    case 536:
      return txtWorkgroupHub;
    case 537:
      return txtWatchedFolder;
    case 538:
      return cmbPageContent;
    case 540:
    case 541:
      return cmbWorkflow;
    case 542:
      return cmbPageContent;
    default:
      return nullptr;
  }
}

qint32 ZANPdf3::Validate() {
  zan::requireInitDone(!m_Loading, "Validate");
  try {
    zan::PdfSettings* s = settings();
    s->setPageContent(cmbPageContent->text());
    s->setCaptureLanguage(cmbLanguage->text());
    s->setDictionary(cmbDictionary->text());
    s->setWorkflow(cmbWorkflow->text());
    s->setConfidenceThreshold(zan::toInteger16(txtConfidenceThreshold->text()));
    s->setLowOcrConfidence(isSet(chkLowOcrConfidence));
    s->setWordNotInDictionary(isSet(chkWordNotInDictionary));
    s->setMixedAlphaNumeric(isSet(chkMixedAlphaNumeric));
    s->setLowFontConfidence(isSet(chkLowFontConfidence));
    s->setNumericOnly(isSet(chkNumericOnly));
    s->setCreateThumbnails(isSet(chkCreateThumbnails));
    s->setEmbedFonts(isSet(chkEmbedFonts));
    s->setEnableLinks(isSet(chkEnableLinks));
    s->setEnableStructure(isSet(chkEnableStructure));
    s->setAutoPageRotation(isSet(chkAutoPageRotation));
    s->setWorkgroupHub(txtWorkgroupHub->text());
    s->setWatchedFolder(txtWatchedFolder->text());
    s->setPDFOutputFolder(PDFOutputFolder());
    s->setPDFOutputMachine(PDFOutputMachine());
    s->setPDFWaitForStatus(PDFWaitForStatus());
    s->setPDFDeleteHungDoc(PDFDeleteHungDoc());
    s->setPDFInputImageType(PDFInputImageType());

    // Rows as loading adds them: Title 0, Subject 1, Author 2, Keywords 3. Each value is read
    // from a fresh row and written into a fresh field reference.
    using Field = zan::DocInfoField& (zan::PdfSettings::*)();
    const std::pair<Field, std::int16_t> fields[] = {
        {&zan::PdfSettings::AuthorField, 2},
        {&zan::PdfSettings::TitleField, 0},
        {&zan::PdfSettings::SubjectField, 1},
        {&zan::PdfSettings::KeywordsField, 3},
    };
    for (const auto& [field, row] : fields) {
      (settings()->*field)().setFieldType(PDFHeaderLinks->Link(row).FieldType());
      (settings()->*field)().setFieldName(PDFHeaderLinks->Link(row).FieldName());
      (settings()->*field)().setFieldText(PDFHeaderLinks->Link(row).FieldText());
    }

    settings()->CheckSettings();
  } catch (...) {
    const zan::AutomationError failure = zan::currentError();
    m_ValidateError = failure.description;
    m_FocusControl = controlForValidation(failure.number);
    if (m_FocusControl) return failure.number;
    zan::raiseError(-1, kValidateSource, text(9708));
  }
  m_FocusControl = nullptr;
  m_ValidateError.clear();
  return 0;
}

QString ZANPdf3::ValidateError() const {
  return m_ValidateError;
}

void ZANPdf3::SetValidateFocus() {
  if (!m_FocusControl) zan::raiseError(-1, kSetValidateFocusSource, text(9707));
  m_FocusControl->setFocus();
}
