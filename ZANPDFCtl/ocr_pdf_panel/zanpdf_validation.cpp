// Copying the shown values into the settings object, and turning its verdict into a result, a
// message and a control to focus.

#include "common/numeric_text.h"
#include "ocr_pdf_panel/zanpdf.h"

namespace {

constexpr std::int32_t kFirstCode = zan::kObjectErrorBase + 0x200;
constexpr std::int32_t kLastCode = zan::kObjectErrorBase + 0x20C;

void copyRow(const zan::DocInfoField& row, zan::DocInfoField& field) {
  field.setFieldType(row.FieldType());
  field.setFieldName(row.FieldName());
  field.setFieldText(row.FieldText());
}

}  // namespace

zan::controls::Control* ZANPdf::focusControlFor(std::int32_t number) const {
  if (number < kFirstCode || number > kLastCode) return nullptr;
  zan::controls::Control* const byCode[] = {cmbOutputFormatType,
                                            cmbLanguage,
                                            cmbAccuracy,
                                            txtConfidenceThreshold,
                                            PDFHeaderLinksControl,
                                            PDFHeaderLinksControl,
                                            PDFHeaderLinksControl,
                                            PDFHeaderLinksControl,
                                            PDFHeaderLinksControl,
                                            chkWordNotInDictionary,
                                            chkMixedCases,
                                            chkLowFontConfidence,
                                            chkRotate0};
  return byCode[number - kFirstCode];
}

qint32 ZANPdf::Validate() {
  zan::requireInitDone(!m_Loading, "Validate");
  try {
    zan::PdfSettings* s = settings();
    s->setOutputFormatType(cmbOutputFormatType->itemData(cmbOutputFormatType->listIndex()));
    s->setOcrLanguage(cmbLanguage->itemData(cmbLanguage->listIndex()));
    s->setAccuracy(cmbAccuracy->itemData(cmbAccuracy->listIndex()));
    s->setConfidenceThreshold(zan::toInteger16(txtConfidenceThreshold->text()));
    // A grayed box (value 2) counts as checked.
    s->setLowOcrConfidence(chkLowOcrConfidence->value() != 0);
    s->setWordNotInDictionary(chkWordNotInDictionary->value() != 0);
    s->setMixedCases(chkMixedCases->value() != 0);
    s->setLowFontConfidence(chkLowFontConfidence->value() != 0);
    s->setRotate0(chkRotate0->value() != 0);
    s->setRotate90(chkRotate90->value() != 0);
    s->setRotate180(chkRotate180->value() != 0);
    s->setRotate270(chkRotate270->value() != 0);
    copyRow(PDFHeaderLinks->Link(2), s->AuthorField());
    copyRow(PDFHeaderLinks->Link(0), s->TitleField());
    copyRow(PDFHeaderLinks->Link(1), s->SubjectField());
    copyRow(PDFHeaderLinks->Link(3), s->KeywordsField());
    s->CheckSettings();
    m_FocusControl = nullptr;
    m_ValidateError.clear();
    return 0;
  } catch (...) {
    const zan::AutomationError error = zan::currentError();
    m_ValidateError = error.description;
    m_FocusControl = focusControlFor(error.number);
    if (m_FocusControl) return error.number;
  }
  zan::raiseError(-1, QStringLiteral("QelPDFSetup.Validate"), text(9708));
}

QString ZANPdf::ValidateError() const {
  return m_ValidateError;
}

void ZANPdf::SetValidateFocus() {
  if (!m_FocusControl) {
    zan::raiseError(-1, QStringLiteral("QelPDFSetup.SetValidateFocus"), text(9707));
  }
  m_FocusControl->setFocus();
}
