#include "host_prompts.h"

#include <QMessageBox>

namespace zan::host {
namespace {

class QtPrompts final : public HostPrompts {
 public:
  void warn(QWidget* parent, const QString& title, const QString& text) override {
    QMessageBox::warning(parent, title, text);
  }
  UnsavedAnswer askUnsaved(QWidget* parent, const QString& title, const QString& text) override {
    QMessageBox box(QMessageBox::Question, title, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
      case QMessageBox::Save:
        return UnsavedAnswer::Save;
      case QMessageBox::Discard:
        return UnsavedAnswer::Discard;
      default:
        return UnsavedAnswer::Cancel;
    }
  }
  bool confirmRestoreDefaults(QWidget* parent, const QString& title, const QString& text) override {
    QMessageBox box(QMessageBox::Question, title, text,
                    QMessageBox::RestoreDefaults | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::RestoreDefaults;
  }
};

}  // namespace

std::shared_ptr<HostPrompts> qtPrompts() {
  return std::make_shared<QtPrompts>();
}

}  // namespace zan::host
