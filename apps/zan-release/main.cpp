#include "release_command.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("zan-release"));
  QCoreApplication::setApplicationVersion(QStringLiteral(ZAN_RELEASE_VERSION));
  return runZanRelease(QCoreApplication::arguments());
}
