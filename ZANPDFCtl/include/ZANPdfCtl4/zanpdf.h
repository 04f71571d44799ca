#pragma once
/// \file
/// ZANPdf: the settings panel for OCR-based PDF output.

#include <ZANPdfCtl4/settings_panel.h>

namespace zan {
struct PanelEnvironment;
}  // namespace zan

/// The settings panel for OCR-based PDF output: output format, language, accuracy, confidence
/// threshold, the page orientations to try, suspect-region markers and the four PDF
/// document-information fields. It offers exactly the zan::SettingsPanel contract.
class ZANPDFCTL4_EXPORT ZANPdf final : public zan::SettingsPanel {
  Q_OBJECT

 public:
  /// A panel with the real outside world: Qt message boxes and the library's about box.
  explicit ZANPdf(QWidget* parent = nullptr);
  /// A panel with the outside world of `env`: the library's own tests and tools.
  ZANPDFCTL4_NO_EXPORT explicit ZANPdf(zan::PanelEnvironment env, QWidget* parent = nullptr);
  ~ZANPdf() override;
};
