// Showing the values of the settings object in the controls and the document-information rows.

#include "ocr_pdf_panel/zanpdf.h"

#include <utility>

void ZANPdf::Refresh() {
  zan::PdfSettings* s = settings();
  m_SubstitutedSettings.clear();
  FillCombo(cmbOutputFormatType, s->OutputFormatType(), "OutputFormatType");
  FillCombo(cmbLanguage, s->OcrLanguage(), "OcrLanguage");
  FillCombo(cmbAccuracy, s->Accuracy(), "Accuracy");
  txtConfidenceThreshold->setText(QString::number(s->ConfidenceThreshold()));
  chkLowOcrConfidence->setValue(s->LowOcrConfidence() ? 1 : 0);
  chkWordNotInDictionary->setValue(s->WordNotInDictionary() ? 1 : 0);
  chkMixedCases->setValue(s->MixedCases() ? 1 : 0);
  chkLowFontConfidence->setValue(s->LowFontConfidence() ? 1 : 0);
  chkRotate0->setValue(s->Rotate0() ? 1 : 0);
  chkRotate90->setValue(s->Rotate90() ? 1 : 0);
  chkRotate180->setValue(s->Rotate180() ? 1 : 0);
  chkRotate270->setValue(s->Rotate270() ? 1 : 0);

  // Rows 0 to 3 are read back by position when validating.
  PDFHeaderLinks->ClearLinks();
  using Field = zan::DocInfoField& (zan::PdfSettings::*)();
  const std::pair<Field, int> rows[] = {{&zan::PdfSettings::TitleField, 2708},
                                        {&zan::PdfSettings::SubjectField, 2709},
                                        {&zan::PdfSettings::AuthorField, 2707},
                                        {&zan::PdfSettings::KeywordsField, 2710}};
  for (const auto& [field, captionId] : rows) {
    const zan::DocInfoField& row = (s->*field)();
    PDFHeaderLinks->AddLink(row.FieldName(), row.FieldType(), row.FieldText(), text(captionId));
  }
  PDFHeaderLinks->Redraw();
}
