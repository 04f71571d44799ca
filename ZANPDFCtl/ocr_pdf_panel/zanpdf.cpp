// The public ZANPdf: the panel contract of SettingsPanel, run by OcrPanel.

#include "ocr_pdf_panel/ocr_panel.h"

ZANPdf::ZANPdf(QWidget* parent) : ZANPdf(zan::PanelEnvironment::defaults(), parent) {}

ZANPdf::ZANPdf(zan::PanelEnvironment env, QWidget* parent) : SettingsPanel(parent) {
  adopt(std::make_unique<zan::OcrPanel>(*this, std::move(env)));
}

ZANPdf::~ZANPdf() = default;
