// Handlers of the controls: every edit that changes a setting reaches the host as Change.

#include "ocr_pdf_panel/zanpdf.h"

void ZANPdf::attachHandlers() {
  for (zan::controls::CheckBox* box :
       {chkLowOcrConfidence, chkWordNotInDictionary, chkMixedCases, chkLowFontConfidence,
        chkRotate0, chkRotate90, chkRotate180, chkRotate270}) {
    box->onClick = [this] { NotifyChange(); };
  }

  cmbOutputFormatType->onClick = [this] {
    onListClick(cmbOutputFormatType, settings()->OutputFormatType());
  };
  cmbLanguage->onClick = [this] { onListClick(cmbLanguage, settings()->OcrLanguage()); };
  cmbAccuracy->onClick = [this] { onListClick(cmbAccuracy, settings()->Accuracy()); };

  // The hosted control is the connection's context, so no edit is reported once the controls
  // are released.
  connect(PDFHeaderLinks, &zan::ZANLinks::rowEdited, PDFHeaderLinksControl,
          [this](int) { m_form.dispatch([this] { NotifyChange(); }); });

  cmdRestoreDefaults->onClick = [this] { RestoreDefaults(); };

  m_confidenceEntry = std::make_unique<zan::ConfidenceThresholdEntry>(
      *txtConfidenceThreshold, *spnConfidenceThreshold,
      zan::ConfidenceThresholdEntry::Options{/*arrowKeys=*/false}, [this] { NotifyChange(); },
      [this](std::int32_t& ErrNum, QString& ErrMsg, QString& SourceFile, std::int16_t& LineNo,
             bool& ReRaise,
             bool& Display) { emit Error(ErrNum, ErrMsg, SourceFile, LineNo, ReRaise, Display); });
}

void ZANPdf::onListClick(zan::controls::ComboBox* list, std::int32_t stored) {
  // Only a list that has never been loaded has no entry selected; there is nothing to compare.
  if (list->listIndex() < 0) return;
  if (list->itemData(list->listIndex()) != stored) NotifyChange();
}
