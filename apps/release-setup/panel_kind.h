#pragma once
// The two settings panels as the release-setup command line names them, and creating one.

#include "external/panel_environment.h"

#include <QString>

class QWidget;

namespace zan {
class SettingsPanel;
}

namespace zan::host {

enum class PanelKind { Capture, Ocr };

// "capture" or "ocr", the command-line names; false when the name is unknown.
bool panelKindFromName(const QString& name, PanelKind& kind);
QString panelKindName(PanelKind kind);
// The panel's class name: "ZANPdf3" or "ZANPdf".
QString panelClassName(PanelKind kind);

// Creates the panel of `kind` as a child of `parent`, with `env` as its outside world.
SettingsPanel* createPanel(PanelKind kind, PanelEnvironment env, QWidget* parent);

}  // namespace zan::host
