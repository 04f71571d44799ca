// preview-host SETUP.json PAGE: shows PAGE with the settings of a release-setup file in the
// preview pane. The file is only read.
#include <ZANPreview/PreviewPane>

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: preview-host SETUP.json PAGE\n");
    return 2;
  }
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "preview-host: cannot read %s\n", argv[1]);
    return 2;
  }
  const QJsonObject setup = QJsonDocument::fromJson(file.readAll()).object();
  zan::preview::PreviewPane pane;
  pane.setWindowTitle(QStringLiteral("Preview"));
  pane.resize(1000, 760);
  pane.setSettings(setup.value(QStringLiteral("SetupPartOne")).toObject().toVariantMap(),
                   setup.value(QStringLiteral("SetupPartTwo")).toObject().toVariantMap());
  pane.setPage(QString::fromLocal8Bit(argv[2]));
  pane.show();
  return app.exec();
}
