#include "release_setup_dialog.h"

#include "help_window.h"
#include "settings_preview.h"

#include "settings/automation_error.h"

#include <ZANPdfCtl4/zanpdf3.h>
#include <ZANPreview/preview_pane.h>

#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVariant>
#include <QtDebug>

namespace zan::host {
namespace {

QString describe(const AutomationError& error) {
  QString text =
      error.description.isEmpty() ? ReleaseSetupDialog::tr("(no description)") : error.description;
  text += QStringLiteral("\n\n(") + ReleaseSetupDialog::tr("error %1").arg(error.number);
  if (!error.source.isEmpty()) text += QStringLiteral(", %1").arg(error.source);
  return text + QLatin1Char(')');
}

}  // namespace

QString dialogTitle(const QString& setupPath, bool unsaved) {
  return QStringLiteral("%1%2 - %3")
      .arg(unsaved ? QStringLiteral("*") : QString(), QFileInfo(setupPath).fileName(),
           kApplicationTitle);
}

ReleaseSetupDialog::ReleaseSetupDialog(PanelKind kind, std::unique_ptr<SetupDocument> setup,
                                       Services services, QWidget* parent)
    : QDialog(parent), setup_(std::move(setup)), services_(std::move(services)) {
  setObjectName(QStringLiteral("ReleaseSetupDialog"));
  if (!services_.prompts) services_.prompts = qtPrompts();
  rd_ = &setup_->file();

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QDialogButtonBox::Ok);
  cancel_ = buttons->addButton(QDialogButtonBox::Cancel);
  apply_ = buttons->addButton(QDialogButtonBox::Apply);
  // Access keys the panels leave free: Apply takes A; Help answers F1; About has no key.
  apply_->setText(tr("&Apply"));
  help_ = buttons->addButton(tr("Help"), QDialogButtonBox::HelpRole);
  help_->setShortcut(QKeySequence::HelpContents);
  help_->setToolTip(tr("How to use this dialog (F1)"));
  about_ = buttons->addButton(tr("About..."), QDialogButtonBox::HelpRole);
  about_->setToolTip(tr("About this program and the settings panels"));
  // Beside the panel, where the preview opens (the button row stays as wide as the panel).
  preview_ = new QPushButton(tr("Pre&view"), this);
  preview_->setCheckable(true);
  preview_->setToolTip(tr("Show the settings on a sample page, as the PDF will show them"));
  preview_->setObjectName(QStringLiteral("previewButton"));
  ok_->setObjectName(QStringLiteral("okButton"));
  cancel_->setObjectName(QStringLiteral("cancelButton"));
  apply_->setObjectName(QStringLiteral("applyButton"));
  help_->setObjectName(QStringLiteral("helpButton"));
  about_->setObjectName(QStringLiteral("aboutButton"));
  ok_->setDefault(true);
  apply_->setEnabled(false);

  // Restore Defaults blanks what the user set up (for ZANPdf3 the hub, the watched folder and
  // the lists): the button asks first.
  services_.environment.confirmRestoreDefaults = [this, kind](QWidget*) {
    return services_.prompts->confirmRestoreDefaults(
        this, kApplicationTitle,
        kind == PanelKind::Capture
            ? tr("Put every setting of this panel back to its default? The workgroup hub, the "
                 "watched folder, the dictionary and workflow lists and the document "
                 "information are cleared.")
            : tr("Put every setting of this panel back to its default? The document "
                 "information is cleared."));
  };

  // 1. Create the panel.
  panel_ = createPanel(kind, services_.environment, this);

  // The panel grows with the application font; the dialog follows it and can be made larger.
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetMinimumSize);
  row_ = new QHBoxLayout;
  row_->addWidget(panel_, 1, Qt::AlignTop);  // wider when the dialog is: its fields stretch
  row_->addWidget(preview_, 0, Qt::AlignTop);
  layout->addLayout(row_);
  layout->addStretch(1);
  layout->addWidget(buttons);

  connect(panel_, &SettingsPanel::Change, this, &ReleaseSetupDialog::onChange);
  connect(panel_, &SettingsPanel::Error, this,
          [this](qint32& number, QString& message, QString& source, qint16&, bool&, bool& display) {
            onPanelError({number, source, message, {}, 0}, display);
          });
  connect(ok_, &QPushButton::clicked, this, &ReleaseSetupDialog::onOk);
  connect(cancel_, &QPushButton::clicked, this, &ReleaseSetupDialog::reject);
  connect(apply_, &QPushButton::clicked, this, &ReleaseSetupDialog::onApply);
  connect(help_, &QPushButton::clicked, this, [this] { showHelp(this); });
  connect(about_, &QPushButton::clicked, this, &ReleaseSetupDialog::onAbout);
  connect(preview_, &QPushButton::toggled, this, [this](bool on) { showPreview(on); });
  ok_->installEventFilter(this);

  try {
    // 2. Buttons that must not be used while the panel searches a workgroup hub.
    if (auto* capture = qobject_cast<ZANPdf3*>(panel_)) {
      for (QPushButton* button : {ok_, cancel_, apply_})
        capture->DisableElementDuringHubSearch(button);
    }
    // 3. Hand the panel the setup data.
    panel_->Init(rd_);
  } catch (...) {
    // No destructor runs for a half-built dialog: release the panel while the setup data lives.
    delete panel_;
    throw;
  }
  // A stored choice the panel could not show was replaced (and the user told): what OK would
  // store differs from the file.
  setUnsaved(!panel_->SubstitutedSettings().isEmpty());
  settingsPreview_ = new SettingsPreview(*panel_, *rd_, this);
  focusFirstPanelControl();
}

void ReleaseSetupDialog::showPreview(bool shown, const QString& page) {
  const QSignalBlocker quiet(preview_);
  preview_->setChecked(shown);
  if (!shown) {
    if (previewPane()) previewPane()->hide();
    return;
  }
  const bool first = !previewPane();
  preview::PreviewPane& pane = settingsPreview_->pane(this);
  if (first) {
    row_->addWidget(&pane, 1);
    pane.setMinimumSize(620, 480);
  }
  pane.show();
  settingsPreview_->refresh();
  if (!page.isEmpty() || first)
    pane.setPage(page.isEmpty() ? samplePagePath() : page, pane.pageIndex());
}

preview::PreviewPane* ReleaseSetupDialog::previewPane() const {
  return findChild<preview::PreviewPane*>(QString(), Qt::FindDirectChildrenOnly);
}

void ReleaseSetupDialog::focusFirstPanelControl() {
  for (QWidget* w = panel_->nextInFocusChain(); w && w != panel_; w = w->nextInFocusChain()) {
    if (!panel_->isAncestorOf(w)) break;
    if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(panel_)) {
      w->setFocus(Qt::OtherFocusReason);  // taken when the dialog is shown
      return;
    }
  }
}

ReleaseSetupDialog::~ReleaseSetupDialog() {
  // The panel (and its links control) refer to the setup data: let them go first.
  delete panel_;
}

void ReleaseSetupDialog::setUnsaved(bool unsaved) {
  unsaved_ = unsaved;
  setWindowTitle(dialogTitle(setup_->path(), unsaved));
  updateApplyButton();
}

void ReleaseSetupDialog::updateApplyButton() {
  apply_->setEnabled(unsaved_ && ok_->isEnabled());
}

bool ReleaseSetupDialog::eventFilter(QObject* watched, QEvent* event) {
  // A hub search disables the registered buttons and afterwards restores each one's earlier
  // state; a Change inside the search must not make Apply usable before the search is over.
  if (watched == ok_ && event->type() == QEvent::EnabledChange) updateApplyButton();
  return QDialog::eventFilter(watched, event);
}

void ReleaseSetupDialog::onChange() {
  setUnsaved(true);
  if (previewPane() && previewPane()->isVisible()) settingsPreview_->refresh();
}

void ReleaseSetupDialog::onPanelError(const AutomationError& error, bool display) {
  if (display) {
    services_.prompts->warn(this, kApplicationTitle, describe(error));
  } else {
    qWarning().noquote() << "release-setup: panel error" << error.number << error.source
                         << error.description;
  }
}

void ReleaseSetupDialog::showFailure(const QString& what, const AutomationError& error) {
  services_.prompts->warn(this, kApplicationTitle,
                          QStringLiteral("%1\n\n%2").arg(what, describe(error)));
}

void ReleaseSetupDialog::adoptHandedBackSetupData() {
  if (rd_ == &setup_->file()) return;
  auto* handedBack = qobject_cast<MemorySetupData*>(rd_);
  if (!handedBack) return;
  setup_->file().partOne().assign(handedBack->partOne().toMap());
  setup_->file().partTwo().assign(handedBack->partTwo().toMap());
}

ReleaseSetupDialog::StoreOutcome ReleaseSetupDialog::store() {
  std::int32_t result = 0;
  try {
    result = panel_->Validate();
  } catch (...) {
    showFailure(tr("The settings could not be checked."), currentError());
    return StoreOutcome::PanelFailed;
  }
  if (result != 0) {
    services_.prompts->warn(this, kApplicationTitle, panel_->ValidateError());
    if (isVisible()) {
      activateWindow();
      try {
        panel_->SetValidateFocus();
      } catch (...) {
        const AutomationError error = currentError();
        qWarning().noquote() << "release-setup: SetValidateFocus failed:" << error.description;
      }
    }
    return StoreOutcome::Rejected;
  }
  try {
    panel_->Apply(rd_);
    adoptHandedBackSetupData();
  } catch (...) {
    showFailure(tr("The settings could not be stored."), currentError());
    return StoreOutcome::PanelFailed;
  }
  try {
    setup_->save();
  } catch (...) {
    showFailure(tr("The setup file could not be saved."), currentError());
    return StoreOutcome::SaveFailed;
  }
  setUnsaved(false);
  return StoreOutcome::Saved;
}

void ReleaseSetupDialog::onOk() {
  // Nothing changed: the file already holds what the panel shows, and keeps its bytes and date.
  if (!unsaved_) {
    accept();
    return;
  }
  if (store() == StoreOutcome::Saved) accept();
}

void ReleaseSetupDialog::onApply() {
  store();
}

void ReleaseSetupDialog::onAbout() {
  try {
    panel_->ShowAboutBox();
  } catch (...) {
    showFailure(tr("The about box could not be shown."), currentError());
  }
}

void ReleaseSetupDialog::reject() {
  if (unsaved_) {
    switch (services_.prompts->askUnsaved(
        this, kApplicationTitle,
        tr("Save the changes to %1?").arg(QFileInfo(setup_->path()).fileName()))) {
      case HostPrompts::UnsavedAnswer::Save:
        if (store() == StoreOutcome::Saved) accept();
        return;
      case HostPrompts::UnsavedAnswer::Discard:
        break;
      case HostPrompts::UnsavedAnswer::Cancel:
        return;
    }
  }
  QDialog::reject();
}

}  // namespace zan::host
