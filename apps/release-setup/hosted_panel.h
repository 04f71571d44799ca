#pragma once
// One settings panel as the release-setup dialog sees it: the host's calls of the panel
// contract, the same for ZANPdf3 and ZANPdf, so that the dialog drives either one alike.

#include "common/automation_error.h"
#include "external/panel_environment.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>

class QObject;
class QWidget;

namespace zan {
class SetupData;
}

namespace zan::host {

enum class PanelKind { Capture, Ocr };

// "capture" or "ocr", the command-line names; false when the name is unknown.
bool panelKindFromName(const QString& name, PanelKind& kind);
QString panelKindName(PanelKind kind);
// The panel's class name: "ZANPdf3" or "ZANPdf".
QString panelClassName(PanelKind kind);

// The arguments of the panel's Error event, all by reference.
struct PanelErrorEvent {
  std::int32_t& ErrNum;
  QString& ErrMsg;
  QString& SourceFile;
  std::int16_t& LineNo;
  bool& ReRaise;
  bool& Display;
};

// Every member that calls the panel may throw zan::AutomationException; callers on a Qt slot
// catch it (nothing may cross Qt frames).
class HostedPanel {
 public:
  virtual ~HostedPanel() = default;

  virtual PanelKind kind() const = 0;
  // The panel widget (owned by its Qt parent).
  virtual QWidget* widget() const = 0;

  // Change and Error go to these callbacks; call once, right after creation.
  virtual void listen(std::function<void()> onChange,
                      std::function<void(PanelErrorEvent&)> onError) = 0;

  // Whether the panel offers DisableElementDuringHubSearch (ZANPdf3 only).
  virtual bool takesHubSearchElements() const = 0;
  virtual void DisableElementDuringHubSearch(QVariant& element) = 0;
  virtual void Init(SetupData*& rd) = 0;
  virtual std::int32_t Validate() = 0;
  virtual QString ValidateError() const = 0;
  virtual void SetValidateFocus() = 0;
  virtual void Apply(SetupData*& rd) = 0;
  virtual void RestoreDefaults() = 0;
  virtual void ShowAboutBox() = 0;
  // The settings the panel shows differently from what is stored (see SubstitutedSettings).
  virtual QStringList SubstitutedSettings() const = 0;
};

// Creates the panel of `kind` as a child of `parent`, with `env` as its outside world.
std::unique_ptr<HostedPanel> createHostedPanel(PanelKind kind, PanelEnvironment env,
                                               QWidget* parent);

}  // namespace zan::host
