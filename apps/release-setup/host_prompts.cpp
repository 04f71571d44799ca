#include "host_prompts.h"

#include <QMessageBox>

namespace zan::host {
namespace {

class QtPrompts final : public HostPrompts {
 public:
  void warn(QWidget* parent, const QString& title, const QString& text) override {
    QMessageBox::warning(parent, title, text);
  }
  bool confirmDiscard(QWidget* parent, const QString& title, const QString& text) override {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Discard | QMessageBox::Cancel,
                    parent);
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Discard;
  }
};

}  // namespace

std::shared_ptr<HostPrompts> qtPrompts() {
  return std::make_shared<QtPrompts>();
}

}  // namespace zan::host
