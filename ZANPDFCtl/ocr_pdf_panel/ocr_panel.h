#pragma once
// OcrPanel: the implementation behind ZANPdf, the settings panel for OCR-based PDF output.

#include "panel/panel_core.h"

#include <ZANPdfCtl4/zanpdf.h>

#include <cstdint>

namespace zan {

class OcrPanel final : public PanelCore {
 public:
  OcrPanel(ZANPdf& panel, PanelEnvironment env);
  ~OcrPanel() override;

 private:
  // Layout and captions.
  void createControls();
  void attachHandlers();
  void localizeControls();

  // PanelCore.
  void refresh() override;
  void storeShownValues() override;
  controls::Control* controlForRule(std::int32_t number) const override;

  // Selects the entry holding `setting`; without one logs the failure, selects the first entry
  // and records `name` as substituted.
  void fillCombo(controls::ComboBox* list, std::int32_t setting, Setting which);
  // The item data of the list's current entry; the list must have one.
  static std::int32_t shownCode(const controls::ComboBox* list);
  void onListClick(controls::ComboBox* list, std::int32_t stored);

  controls::Frame* fraOutputFormatType = nullptr;
  controls::ComboBox* cmbOutputFormatType = nullptr;
  controls::Frame* fraLanguage = nullptr;
  controls::ComboBox* cmbLanguage = nullptr;
  controls::Frame* fraAccuracy = nullptr;
  controls::ComboBox* cmbAccuracy = nullptr;
  controls::Frame* fraConfidenceThreshold = nullptr;
  controls::CheckBox* chkMixedCases = nullptr;
  controls::Frame* fraOrientation = nullptr;
  controls::CheckBox* chkRotate0 = nullptr;
  controls::CheckBox* chkRotate90 = nullptr;
  controls::CheckBox* chkRotate180 = nullptr;
  controls::CheckBox* chkRotate270 = nullptr;
};

}  // namespace zan
