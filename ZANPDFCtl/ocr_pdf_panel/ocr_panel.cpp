// ZANPdf's own members: creation, loading (Refresh), what Validate copies, the control each
// validation code names, and the handlers of the lists.

#include "ocr_pdf_panel/ocr_panel.h"

#include "controls/check_box.h"
#include "controls/combo_box.h"
#include "controls/text_box.h"
#include "external/links_control.h"

namespace zan {

OcrPanel::OcrPanel(ZANPdf& panel, PanelEnvironment env)
    : PanelCore(panel, std::move(env), "ZANPdf", Engine::Ocr) {
  createControls();
  attachHandlers();
  settings().setEngine(engine_);
  localizeControls();
}

OcrPanel::~OcrPanel() {
  form_.releaseControls();
}

// ---- Loading

void OcrPanel::refresh() {
  PdfSettings& s = settings();
  substitutedSettings_.clear();
  fillCombo(cmbOutputFormatType, s.OutputFormatType(), Setting::OutputFormatType);
  fillCombo(cmbLanguage, s.OcrLanguage(), Setting::OcrLanguage);
  fillCombo(cmbAccuracy, s.Accuracy(), Setting::Accuracy);
  showThreshold(QStringLiteral("QelPDFSetup.Refresh"), 0);
  showFlags({{chkLowOcrConfidence, &PdfSettings::LowOcrConfidence},
             {chkWordNotInDictionary, &PdfSettings::WordNotInDictionary},
             {chkMixedCases, &PdfSettings::MixedCases},
             {chkLowFontConfidence, &PdfSettings::LowFontConfidence},
             {chkRotate0, &PdfSettings::Rotate0},
             {chkRotate90, &PdfSettings::Rotate90},
             {chkRotate180, &PdfSettings::Rotate180},
             {chkRotate270, &PdfSettings::Rotate270}});
  showDocumentRows();
  PDFHeaderLinks->Redraw();
}

void OcrPanel::fillCombo(controls::ComboBox* list, std::int32_t setting, Setting which) {
  for (int i = 0; i < list->listCount(); ++i) {
    if (list->itemData(i) == setting) {
      list->setListIndex(i);
      return;
    }
  }
  substitutedSettings_ << settingRow(which).keyText();
  textError().log({-1, QStringLiteral("QelPDFSetup.FillCombo()"), text(kStrInternalError), {}, 0});
  if (list->listCount() > 0) list->setListIndex(0);
}

// ---- Validation

std::int32_t OcrPanel::shownCode(const controls::ComboBox* list) {
  return list->itemData(list->listIndex());
}

void OcrPanel::storeShownValues() {
  PdfSettings& s = settings();
  s.setOutputFormatType(shownCode(cmbOutputFormatType));
  s.setOcrLanguage(shownCode(cmbLanguage));
  s.setAccuracy(shownCode(cmbAccuracy));
  storeThreshold();
  storeFlags({{chkLowOcrConfidence, &PdfSettings::setLowOcrConfidence},
              {chkWordNotInDictionary, &PdfSettings::setWordNotInDictionary},
              {chkMixedCases, &PdfSettings::setMixedCases},
              {chkLowFontConfidence, &PdfSettings::setLowFontConfidence},
              {chkRotate0, &PdfSettings::setRotate0},
              {chkRotate90, &PdfSettings::setRotate90},
              {chkRotate180, &PdfSettings::setRotate180},
              {chkRotate270, &PdfSettings::setRotate270}});
}

controls::Control* OcrPanel::controlForRule(std::int32_t number) const {
  return ruleControl(number, {{kRuleOutputFormatType, cmbOutputFormatType},
                              {kRuleOcrLanguage, cmbLanguage},
                              {kRuleAccuracy, cmbAccuracy},
                              {kRuleOcrThreshold, txtConfidenceThreshold},
                              {kRuleOcrTitle, headerLinksControl_},
                              {kRuleOcrSubject, headerLinksControl_},
                              {kRuleOcrAuthor, headerLinksControl_},
                              {kRuleOcrKeywords, headerLinksControl_},
                              {kRuleOcrLinks, headerLinksControl_},
                              {kRuleOcrWordNotInDictionary, chkWordNotInDictionary},
                              {kRuleMixedCases, chkMixedCases},
                              {kRuleOcrLowFontConfidence, chkLowFontConfidence},
                              {kRuleOrientation, chkRotate0}});
}

// ---- Handlers

void OcrPanel::attachHandlers() {
  attachCommonHandlers({chkLowOcrConfidence, chkWordNotInDictionary, chkMixedCases,
                        chkLowFontConfidence, chkRotate0, chkRotate90, chkRotate180, chkRotate270},
                       /*thresholdArrowKeys=*/false);
  cmbOutputFormatType->onClick = [this] {
    onListClick(cmbOutputFormatType, settings().OutputFormatType());
  };
  cmbLanguage->onClick = [this] { onListClick(cmbLanguage, settings().OcrLanguage()); };
  cmbAccuracy->onClick = [this] { onListClick(cmbAccuracy, settings().Accuracy()); };
}

void OcrPanel::onListClick(controls::ComboBox* list, std::int32_t stored) {
  // Only a list that has never been loaded has no entry selected; there is nothing to compare.
  if (list->listIndex() < 0) return;
  if (shownCode(list) != stored) notifyChange();
}

}  // namespace zan
