#pragma once
// The dialog's own message boxes, behind one replaceable service: the real one shows modal
// Qt boxes; tests and the scripted mode pass one that records or prints instead of blocking.

#include <QString>

#include <memory>

class QWidget;

namespace zan::host {

class HostPrompts {
 public:
  virtual ~HostPrompts() = default;
  // A warning with an OK button: a rejected setting, a panel failure, the panel's Error event.
  virtual void warn(QWidget* parent, const QString& title, const QString& text) = 0;
  // Asked when Cancel would close with unsaved changes: save them, discard them, or go on
  // editing.
  enum class UnsavedAnswer { Save, Discard, Cancel };
  virtual UnsavedAnswer askUnsaved(QWidget* parent, const QString& title, const QString& text) = 0;
  // Asked before the panel's Restore Defaults button resets the settings: true to go on.
  virtual bool confirmRestoreDefaults(QWidget* parent, const QString& title,
                                      const QString& text) = 0;
};

// Modal QMessageBox prompts.
std::shared_ptr<HostPrompts> qtPrompts();

}  // namespace zan::host
