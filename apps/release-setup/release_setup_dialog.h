#pragma once
// The release-setup dialog: places one settings panel above OK, Cancel, Apply and About, and
// drives it in the order a host must follow:
//   create the panel; register OK, Cancel and Apply for hub searches (ZANPdf3); Init(rd)
//   (a stored choice the panel had to replace marks the title unsaved);
//   Change -> Apply available, title marked unsaved; Error -> the message is shown;
//   OK / Apply -> Validate; rejected: ValidateError shown, SetValidateFocus;
//                accepted: Apply(rd), then the setup file is saved atomically;
//   Cancel with unsaved changes offers Save, Discard or Cancel; Help (F1) -> the help page;
//   About -> ShowAboutBox.
// No panel failure ever leaves a button handler: it is shown through the prompts.

#include "host_prompts.h"
#include "panel_kind.h"
#include "setup_document.h"

#include "external/panel_environment.h"
#include "settings/automation_error.h"

#include <ZANPdfCtl4/settings_panel.h>

#include <QDialog>
#include <QPointer>

#include <memory>

class QHBoxLayout;
class QPushButton;

namespace zan::preview {
class PreviewPane;
}

namespace zan::host {

class SettingsPreview;

// The application's title, also its display name (the panels' about box shows it).
inline const QString kApplicationTitle = QStringLiteral("Release Setup");

class ReleaseSetupDialog final : public QDialog {
  Q_OBJECT
 public:
  struct Services {
    PanelEnvironment environment;          // the panel's outside world
    std::shared_ptr<HostPrompts> prompts;  // the dialog's own message boxes
  };

  enum class StoreOutcome {
    Saved,        // validated, applied and written
    Rejected,     // the panel rejected a setting; nothing written
    PanelFailed,  // Validate or Apply failed; nothing written
    SaveFailed,   // applied, but the file could not be written (the old file is untouched)
  };

  // Creates the panel and starts it (registration, Init). Throws zan::AutomationException when
  // the panel cannot be created or Init fails.
  ReleaseSetupDialog(PanelKind kind, std::unique_ptr<SetupDocument> setup, Services services,
                     QWidget* parent = nullptr);
  ~ReleaseSetupDialog() override;

  SettingsPanel& panel() const { return *panel_; }
  SetupDocument& setup() const { return *setup_; }
  bool hasUnsavedChanges() const { return unsaved_; }

  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  QPushButton* applyButton() const { return apply_; }
  QPushButton* helpButton() const { return help_; }
  QPushButton* aboutButton() const { return about_; }
  QPushButton* previewButton() const { return preview_; }

  // Opens the preview beside the panel on `page` (empty: the bundled sample page), or closes it.
  void showPreview(bool shown, const QString& page = QString());
  // The preview pane; null until it was first shown.
  preview::PreviewPane* previewPane() const;

  // What OK and Apply do before closing or staying: validate, apply, save. A rejected setting or
  // a failure is shown through the prompts; the focus moves to the offending control when the
  // dialog is shown. Never throws.
  StoreOutcome store();

  // Offers to save unsaved changes before closing (Cancel, Escape, the window's close button).
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void onChange();
  void onPanelError(const AutomationError& error, bool display);
  void onOk();
  void onApply();
  void onAbout();
  // Shows a failure of the panel or of the setup file.
  void showFailure(const QString& what, const AutomationError& error);
  void setUnsaved(bool unsaved);
  // The keyboard starts on the panel's first control.
  void focusFirstPanelControl();
  // Apply is available while there are unsaved changes and OK is (a hub search disables OK).
  void updateApplyButton();
  // Keeps the setup data the panel may have handed back in rd in the file that is saved.
  void adoptHandedBackSetupData();

  std::unique_ptr<SetupDocument> setup_;
  SetupData* rd_ = nullptr;
  Services services_;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* help_ = nullptr;
  QPushButton* about_ = nullptr;
  QPushButton* preview_ = nullptr;
  QPointer<SettingsPanel> panel_;
  SettingsPreview* settingsPreview_ = nullptr;
  QHBoxLayout* row_ = nullptr;
  bool unsaved_ = false;
};

// The title the dialog shows: "*" in front of the file name while there are unsaved changes.
QString dialogTitle(const QString& setupPath, bool unsaved);

}  // namespace zan::host
