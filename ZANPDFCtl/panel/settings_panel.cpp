// The public shells of the panel contract: SettingsPanel runs each member in the panel's
// implementation (PanelCore); PanelSurface runs the same members for meta-object callers and
// keeps their failures from them.

#include "panel/panel_core.h"

#include <QShowEvent>

namespace zan {

SettingsPanel::SettingsPanel(QWidget* parent) : PanelSurface(parent) {}

// The implementation goes first, while the widgets are still there.
SettingsPanel::~SettingsPanel() = default;

void SettingsPanel::adopt(std::unique_ptr<PanelCore> core) {
  d = std::move(core);
}

PanelCore& SettingsPanel::core() const {
  return *d;
}

void SettingsPanel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  d->shown();
}

bool SettingsPanel::Enabled() const {
  return d->Enabled();
}
void SettingsPanel::putEnabled(bool bEnabled) {
  d->putEnabled(bEnabled);
}
void SettingsPanel::Init(SetupData*& rd) {
  d->Init(rd);
}
void SettingsPanel::Init(SetupData* const& rd) {
  SetupData* handle = rd;
  d->Init(handle);
}
qint32 SettingsPanel::Validate() {
  return d->Validate();
}
QString SettingsPanel::ValidateError() const {
  return d->ValidateError();
}
void SettingsPanel::SetValidateFocus() {
  d->SetValidateFocus();
}
void SettingsPanel::Apply(SetupData*& rd) {
  d->Apply(rd);
}
void SettingsPanel::Apply(SetupData* const& rd) {
  SetupData* handle = rd;
  d->Apply(handle);
}
void SettingsPanel::RestoreDefaults() {
  d->RestoreDefaults();
}
void SettingsPanel::ShowAboutBox() {
  d->ShowAboutBox();
}
QStringList SettingsPanel::SubstitutedSettings() const {
  return d->SubstitutedSettings();
}

// ---- PanelSurface

namespace {

SettingsPanel& panelOf(PanelSurface* surface) {
  return static_cast<SettingsPanel&>(*surface);
}

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

void PanelSurface::Init(SetupData*& rd) {
  SettingsPanel& p = panelOf(this);
  p.core().metaCall.put(this, [&] { p.Init(rd); });
}
void PanelSurface::Init(QObject* rd) {
  SettingsPanel& p = panelOf(this);
  p.core().metaCall.put(this, [&] { p.Init(setupDataOf(rd)); });
}
qint32 PanelSurface::Validate() {
  SettingsPanel& p = panelOf(this);
  qint32 result = 0;
  AutomationError failure;
  if (!p.core().metaCall.run(
          this, true, [&] { result = p.Validate(); }, failure))
    result = failure.number;
  return result;
}
void PanelSurface::SetValidateFocus() {
  SettingsPanel& p = panelOf(this);
  p.core().metaCall.put(this, [&] { p.SetValidateFocus(); });
}
void PanelSurface::Apply(SetupData*& rd) {
  SettingsPanel& p = panelOf(this);
  p.core().metaCall.put(this, [&] { p.Apply(rd); });
}
void PanelSurface::Apply(QObject* rd) {
  SettingsPanel& p = panelOf(this);
  p.core().metaCall.put(this, [&] { p.Apply(setupDataOf(rd)); });
}
void PanelSurface::RestoreDefaults() {
  SettingsPanel& p = panelOf(this);
  p.core().metaCall.put(this, [&] { p.RestoreDefaults(); });
}
void PanelSurface::ShowAboutBox() {
  SettingsPanel& p = panelOf(this);
  p.core().metaCall.put(this, [&] { p.ShowAboutBox(); });
}
QVariantMap PanelSurface::LastError() const {
  return static_cast<const SettingsPanel&>(*this).core().metaCall.lastError();
}
bool PanelSurface::metaEnabled() {
  SettingsPanel& p = panelOf(this);
  return p.core().metaCall.get<bool>(this, [&] { return p.Enabled(); });
}
void PanelSurface::metaPutEnabled(bool bEnabled) {
  SettingsPanel& p = panelOf(this);
  p.core().metaCall.put(this, [&] { p.putEnabled(bEnabled); });
}
QString PanelSurface::metaValidateError() {
  SettingsPanel& p = panelOf(this);
  return p.core().metaCall.get<QString>(this, [&] { return p.ValidateError(); });
}
QStringList PanelSurface::metaSubstitutedSettings() {
  SettingsPanel& p = panelOf(this);
  return p.core().metaCall.get<QStringList>(this, [&] { return p.SubstitutedSettings(); });
}

}  // namespace zan
