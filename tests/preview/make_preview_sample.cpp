// Writes the sample page release-setup previews its settings on (apps/release-setup/data/
// sample-page.png): a generated 300-dpi scan of ordinary prose with a garbled word, a word
// stamped sideways in the margin, and the grain and uneven paper of a real scan.
// Usage: make-preview-sample FILE.png
#include "test_pages.h"

#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-preview-sample FILE.png\n");
    return 2;
  }
  QStringList lines = zan::testing::sampleLines(0) + zan::testing::sampleLines(3);
  lines[4] = QStringLiteral("Please quote the reference Xqwzvbtk when you write.");
  QImage page = zan::testing::renderTextPage(lines).image;
  {
    QPainter painter(&page);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(70);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(60, 60, 60));
    painter.translate(page.width() - 110, page.height() - 420);
    painter.rotate(-90);
    painter.drawText(QPointF(0, 0), QStringLiteral("RECEIVED"));
  }
  // Paper that is not quite white, darker towards one edge, with grain.
  quint32 seed = 12345;
  for (int y = 0; y < page.height(); ++y) {
    uchar* row = page.scanLine(y);
    for (int x = 0; x < page.width(); ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = static_cast<int>(seed >> 28) - 8;
      const int shade = 236 - (x * 14) / page.width();
      row[x] = static_cast<uchar>(std::clamp(row[x] * shade / 255 + grain, 0, 255));
    }
  }
  if (!zan::testing::savePage(page, QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "make-preview-sample: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
