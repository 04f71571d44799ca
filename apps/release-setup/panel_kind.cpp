#include "panel_kind.h"

#include <ZANPdfCtl4/zanpdf.h>
#include <ZANPdfCtl4/zanpdf3.h>

namespace zan::host {

bool panelKindFromName(const QString& name, PanelKind& kind) {
  if (name == QLatin1String("capture")) {
    kind = PanelKind::Capture;
    return true;
  }
  if (name == QLatin1String("ocr")) {
    kind = PanelKind::Ocr;
    return true;
  }
  return false;
}

QString panelKindName(PanelKind kind) {
  return kind == PanelKind::Capture ? QStringLiteral("capture") : QStringLiteral("ocr");
}

QString panelClassName(PanelKind kind) {
  return kind == PanelKind::Capture ? QStringLiteral("ZANPdf3") : QStringLiteral("ZANPdf");
}

SettingsPanel* createPanel(PanelKind kind, PanelEnvironment env, QWidget* parent) {
  if (kind == PanelKind::Capture) return new ZANPdf3(std::move(env), parent);
  return new ZANPdf(std::move(env), parent);
}

}  // namespace zan::host
