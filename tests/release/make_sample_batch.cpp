// Writes the sample batch of examples/batch: four generated 300-dpi pages (one turned by 90
// degrees, one by 180, one with a garbled word), the text expected from each beside it, and
// the batch file. Usage: make-sample-batch DIR
#include "test_pages.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

bool writeText(const QString& path, const QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  file.write(text.toUtf8());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-sample-batch DIR\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(dir.path());
  QStringList garbled = zan::testing::sampleLines(3);
  garbled[2] = QStringLiteral("Check the reference Xqwzvbtk first.");
  const struct {
    QString name;
    QStringList lines;
    int turn;
  } pages[] = {{QStringLiteral("page-1.png"), zan::testing::sampleLines(0), 0},
               {QStringLiteral("page-2.png"), zan::testing::sampleLines(1), 90},
               {QStringLiteral("page-3.png"), zan::testing::sampleLines(2), 180},
               {QStringLiteral("page-4.png"), garbled, 0}};
  for (const auto& p : pages) {
    QImage image = zan::testing::renderTextPage(p.lines).image;
    if (p.turn) image = zan::testing::turnedClockwise(image, p.turn);
    QString expected = p.lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    if (!zan::testing::savePage(image, dir.filePath(p.name)) ||
        !writeText(
            dir.filePath(QString(p.name).replace(QStringLiteral(".png"), QStringLiteral(".txt"))),
            expected)) {
      std::fprintf(stderr, "make-sample-batch: cannot write into %s\n", argv[1]);
      return 1;
    }
  }
  const QString batch = QStringLiteral(R"({
    "name": "Sample batch",
    "batchFields": {"Operator": "Ada", "Scan Station": "S2"},
    "documents": [
        {"pages": ["page-1.png", "page-2.png"],
         "indexFields": {"Document Title": "Invoice 4711", "Customer Number": "C-17"}},
        {"pages": ["page-3.png", "page-4.png"],
         "indexFields": {"Document Title": "Delivery note 18", "Customer Number": "C-17"}}
    ]
}
)");
  if (!writeText(dir.filePath(QStringLiteral("batch.json")), batch)) return 1;
  return 0;
}
