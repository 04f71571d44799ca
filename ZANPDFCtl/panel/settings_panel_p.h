#pragma once
// SettingsPanelPrivate: the private part of zan::SettingsPanel. It owns the panel's
// implementation (a PanelCore) and answers the meta-object system's calls under the contract's
// names; each runs the implementation through MetaCall, which keeps the failure from the caller.

#include "panel/panel_core.h"  // and MetaCall

#include <functional>
#include <memory>

namespace zan {

class SettingsPanelPrivate {
 public:
  SettingsPanelPrivate(SettingsPanel& panel, std::unique_ptr<PanelCore> core);
  virtual ~SettingsPanelPrivate();
  SettingsPanelPrivate(const SettingsPanelPrivate&) = delete;
  SettingsPanelPrivate& operator=(const SettingsPanelPrivate&) = delete;

  PanelCore& core() const { return *core_; }
  QVariantMap lastError() const { return metaCall_.lastError(); }

  // The contract's members and properties as meta-object callers reach them.
  bool Enabled();
  void putEnabled(bool bEnabled);
  QString ValidateError();
  QStringList SubstitutedSettings();
  void Init(SetupData*& rd);
  void Init(QObject* rd);
  qint32 Validate();
  void SetValidateFocus();
  void Apply(SetupData*& rd);
  void Apply(QObject* rd);
  void RestoreDefaults();
  void ShowAboutBox();

 protected:
  // A method or property put, and a property get, called through the meta-object system.
  void put(const std::function<void()>& body) { metaCall_.put(&panel_, body); }
  template <class T>
  T get(const std::function<T()>& getter) {
    return metaCall_.get<T>(&panel_, getter);
  }

 private:
  SettingsPanel& panel_;
  MetaCall metaCall_;
  std::unique_ptr<PanelCore> core_;
};

}  // namespace zan
