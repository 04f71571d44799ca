#include "external/platform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>

namespace zan {
namespace {

class QtPlatform final : public Platform {
 public:
  MousePointer mousePointer() const override {
    const QCursor* c = QGuiApplication::overrideCursor();
    return (c && c->shape() == Qt::WaitCursor) ? MousePointer::Hourglass : MousePointer::Default;
  }

  void setMousePointer(MousePointer pointer) override {
    // Qt keeps override cursors on a stack; the classic pointer is a single property.
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    if (pointer == MousePointer::Hourglass) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  }

  void processPendingMessages() override { QCoreApplication::processEvents(); }

  QString applicationTitle() const override {
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QCoreApplication::applicationName() : name;
  }

  void messageBox(const QString& title, const QString& text) override {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
  }
};

}  // namespace

std::shared_ptr<Platform> qtPlatform() {
  return std::make_shared<QtPlatform>();
}

}  // namespace zan
