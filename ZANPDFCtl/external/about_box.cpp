#include "external/about_box.h"

#include <QApplication>
#include <QMessageBox>

namespace zan {
namespace {

class QtAboutBox final : public AboutBoxService {
 public:
  void AboutBox(const QPixmap& picture, const QString& title, const QString& major,
                const QString& minor, const QString& revision, const QString& copyright) override {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QCoreApplication::translate("AboutBox", "About %1").arg(title));
    if (!picture.isNull()) box.setIconPixmap(picture);
    box.setText(QCoreApplication::translate("AboutBox", "%1\nVersion %2.%3.%4\n%5")
                    .arg(title, major, minor, revision, copyright));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
  }
};

}  // namespace

AboutBoxService& qtAboutBox() {
  // One object on the user-interface thread, the only one with widgets. Not thread_local: a
  // thread-local object with a destructor would keep the library from being unloaded.
  static QtAboutBox box;
  return box;
}

}  // namespace zan
