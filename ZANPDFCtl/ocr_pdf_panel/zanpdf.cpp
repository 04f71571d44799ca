// The public ZANPdf: the SettingsPanel contract, run by OcrPanel.

#include "ocr_pdf_panel/ocr_panel.h"
#include "panel/settings_panel_p.h"

ZANPdf::ZANPdf(QWidget* parent) : ZANPdf(zan::PanelEnvironment::defaults(), parent) {}

ZANPdf::ZANPdf(zan::PanelEnvironment env, QWidget* parent) : SettingsPanel(parent) {
  d_ptr = std::make_unique<zan::SettingsPanelPrivate>(
      *this, std::make_unique<zan::OcrPanel>(*this, std::move(env)));
}

ZANPdf::~ZANPdf() = default;
