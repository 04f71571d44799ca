// The public SettingsPanel runs each member in the panel's implementation (PanelCore); its
// private part runs the same for meta-object callers and keeps their failures from them.

#include "panel/settings_panel_p.h"

#include <QShowEvent>

namespace zan {

SettingsPanel::SettingsPanel(QWidget* parent) : QWidget(parent) {}

// The implementation goes first, while the widgets are still there.
SettingsPanel::~SettingsPanel() = default;

void SettingsPanel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  d_func()->core().shown();
}

bool SettingsPanel::Enabled() const {
  return d_func()->core().enabled();
}
void SettingsPanel::putEnabled(bool bEnabled) {
  d_func()->core().setEnabled(bEnabled);
}
void SettingsPanel::Init(SetupData*& rd) {
  d_func()->core().init(rd);
}
void SettingsPanel::Init(SetupData* const& rd) {
  SetupData* handle = rd;
  d_func()->core().init(handle);
}
qint32 SettingsPanel::Validate() {
  return d_func()->core().validate();
}
QString SettingsPanel::ValidateError() const {
  return d_func()->core().validateError();
}
void SettingsPanel::SetValidateFocus() {
  d_func()->core().setValidateFocus();
}
void SettingsPanel::Apply(SetupData*& rd) {
  d_func()->core().apply(rd);
}
void SettingsPanel::Apply(SetupData* const& rd) {
  SetupData* handle = rd;
  d_func()->core().apply(handle);
}
void SettingsPanel::RestoreDefaults() {
  d_func()->core().restoreDefaults();
}
void SettingsPanel::ShowAboutBox() {
  d_func()->core().showAboutBox();
}
QStringList SettingsPanel::SubstitutedSettings() const {
  return d_func()->core().substitutedSettings();
}
QVariantMap SettingsPanel::LastError() const {
  return d_func()->lastError();
}

// ---- SettingsPanelPrivate

namespace {

// The setup data a meta-object caller passed as a plain object.
SetupData* setupDataOf(QObject* rd) {
  auto* setup = qobject_cast<SetupData*>(rd);
  if (rd && !setup) {
    raiseClassic(classic::kTypeMismatch, QStringLiteral("ZANPdfCtl4"),
                 QStringLiteral("the %1 given is no setup data.")
                     .arg(QString::fromLatin1(rd->metaObject()->className())));
  }
  return setup;
}

}  // namespace

SettingsPanelPrivate::SettingsPanelPrivate(SettingsPanel& panel, std::unique_ptr<PanelCore> core)
    : panel_(panel), core_(std::move(core)) {}

SettingsPanelPrivate::~SettingsPanelPrivate() = default;

bool SettingsPanelPrivate::Enabled() {
  return get<bool>([&] { return core_->enabled(); });
}
void SettingsPanelPrivate::putEnabled(bool bEnabled) {
  put([&] { core_->setEnabled(bEnabled); });
}
QString SettingsPanelPrivate::ValidateError() {
  return get<QString>([&] { return core_->validateError(); });
}
QStringList SettingsPanelPrivate::SubstitutedSettings() {
  return get<QStringList>([&] { return core_->substitutedSettings(); });
}
void SettingsPanelPrivate::Init(SetupData*& rd) {
  put([&] { core_->init(rd); });
}
void SettingsPanelPrivate::Init(QObject* rd) {
  put([&] {
    SetupData* handle = setupDataOf(rd);
    core_->init(handle);
  });
}
qint32 SettingsPanelPrivate::Validate() {
  qint32 result = 0;
  AutomationError failure;
  if (!metaCall_.run(
          &panel_, true, [&] { result = core_->validate(); }, failure))
    result = failure.number;
  return result;
}
void SettingsPanelPrivate::SetValidateFocus() {
  put([&] { core_->setValidateFocus(); });
}
void SettingsPanelPrivate::Apply(SetupData*& rd) {
  put([&] { core_->apply(rd); });
}
void SettingsPanelPrivate::Apply(QObject* rd) {
  put([&] {
    SetupData* handle = setupDataOf(rd);
    core_->apply(handle);
  });
}
void SettingsPanelPrivate::RestoreDefaults() {
  put([&] { core_->restoreDefaults(); });
}
void SettingsPanelPrivate::ShowAboutBox() {
  put([&] { core_->showAboutBox(); });
}

}  // namespace zan

// The meta-object code calls into the private part, which only this file sees whole.
#include "ZANPdfCtl4/moc_settings_panel.cpp"
