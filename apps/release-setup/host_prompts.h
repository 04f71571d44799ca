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
  // Asked when Cancel would discard unsaved changes; true means discard them.
  virtual bool confirmDiscard(QWidget* parent, const QString& title, const QString& text) = 0;
};

// Modal QMessageBox prompts.
std::shared_ptr<HostPrompts> qtPrompts();

}  // namespace zan::host
