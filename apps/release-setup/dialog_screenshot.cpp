#include "dialog_screenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageWriter>
#include <QPixmap>
#include <QSaveFile>
#include <QWidget>

namespace zan::host {

QImage renderOffscreen(QWidget& window) {
  const bool wasVisible = window.isVisible();
  const bool hadAttribute = window.testAttribute(Qt::WA_DontShowOnScreen);
  if (!wasVisible) {
    window.setAttribute(Qt::WA_DontShowOnScreen, true);
    window.show();
    QCoreApplication::processEvents();
  }
  const QImage image = window.grab().toImage();
  if (!wasVisible) {
    window.hide();
    window.setAttribute(Qt::WA_DontShowOnScreen, hadAttribute);
  }
  return image;
}

bool writePng(const QImage& image, const QString& path, QString& error) {
  const QString shown = QDir::toNativeSeparators(path);
  if (image.isNull()) {
    error = QStringLiteral("cannot write %1: nothing was rendered").arg(shown);
    return false;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    error = QStringLiteral("cannot write %1: %2").arg(shown, file.errorString());
    return false;
  }
  QImageWriter writer(&file, "png");
  if (!writer.write(image)) {
    error = QStringLiteral("cannot write %1: %2").arg(shown, writer.errorString());
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    error = QStringLiteral("cannot write %1: %2").arg(shown, file.errorString());
    return false;
  }
  return true;
}

}  // namespace zan::host
