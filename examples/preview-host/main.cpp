// preview-host [--once] SETUP.json PAGE: shows PAGE with the settings of a release-setup file in
// the preview pane. The file is only read. With --once it prints what the pane shows of the page
// (words, marked words, rotation) once it is shown, and ends.
#include <ZANPreview/PreviewPane>

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QStringList args = QApplication::arguments().mid(1);
  const bool once = args.removeAll(QStringLiteral("--once")) > 0;
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: preview-host [--once] SETUP.json PAGE\n");
    return 2;
  }
  QFile file(args[0]);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "preview-host: cannot read %s\n", qPrintable(args[0]));
    return 2;
  }
  const QJsonObject setup = QJsonDocument::fromJson(file.readAll()).object();
  zan::preview::PreviewPane pane;
  pane.setWindowTitle(QStringLiteral("Preview"));
  pane.resize(1000, 760);
  if (once) {
    QObject::connect(&pane, &zan::preview::PreviewPane::previewShown, &app, [&pane] {
      int marked = 0;
      for (const zan::preview::PreviewWord& word : pane.words())
        marked += word.reasons.isEmpty() ? 0 : 1;
      std::printf("%lld words, %d marked, rotation %d\n",
                  static_cast<long long>(pane.words().size()), marked, pane.rotation());
      QApplication::quit();
    });
    // A page that is never shown (a setting refused, a page unreadable) ends the run too.
    QTimer::singleShot(300000, &app, [] {
      std::fprintf(stderr, "preview-host: the page was not shown within five minutes\n");
      QApplication::exit(1);
    });
  }
  pane.setSettings(setup.value(QStringLiteral("SetupPartOne")).toObject().toVariantMap(),
                   setup.value(QStringLiteral("SetupPartTwo")).toObject().toVariantMap());
  pane.setPage(args[1]);
  pane.show();
  return app.exec();
}
