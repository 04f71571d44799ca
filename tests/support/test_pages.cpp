#include "test_pages.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRadialGradient>
#include <QTransform>

#include <leptonica/allheaders.h>

namespace zan::testing {
namespace {

constexpr int kDpi = 300;
constexpr int kWidth = 1748, kHeight = 2480;  // A5 at 300 dpi
constexpr int kDotsPerMetre = 11811;          // 300 dpi
constexpr double kMargin = 160;

const QStringList kProse = {
    "The quick brown fox jumps over the dog.",  "Please send the signed contract back.",
    "Every page becomes a searchable file.",    "The delivery arrived early this week.",
    "Our team will review the invoice soon.",   "Thank you for your order and support.",
    "The meeting starts at ten tomorrow.",      "All letters are stored for seven years.",
    "A short walk is a good start to the day.", "The library opens early on weekdays.",
    "We thank everyone who helped with this.",  "The train leaves the station at noon.",
};

}  // namespace

TestPage renderTextPage(const QStringList& lines, int pointSize) {
  TestPage page;
  page.image = QImage(kWidth, kHeight, QImage::Format_Grayscale8);
  page.image.fill(Qt::white);
  page.image.setDotsPerMeterX(kDotsPerMetre);
  page.image.setDotsPerMeterY(kDotsPerMetre);
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setPixelSize(pointSize * kDpi / 72);
  const QFontMetricsF metrics(font);
  QPainter painter(&page.image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  double baseline = kMargin + metrics.ascent();
  for (const QString& line : lines) {
    painter.drawText(QPointF(kMargin, baseline), line);
    qsizetype from = 0;
    for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      from = line.indexOf(word, from);
      const double x = kMargin + metrics.horizontalAdvance(line.left(from));
      page.words.push_back({word, QRectF(x, baseline - metrics.ascent(),
                                         metrics.horizontalAdvance(word), metrics.height())});
      from += word.size();
    }
    baseline += metrics.lineSpacing() * 1.5;
  }
  return page;
}

QStringList sampleLines(int n) {
  QStringList lines;
  for (int i = 0; i < 8; ++i) lines << kProse.at((n * 3 + i) % kProse.size());
  return lines;
}

void drawPicture(QImage& page, const QRect& where) {
  QPainter painter(&page);
  QRadialGradient shade(where.center(), where.width() / 1.5);
  shade.setColorAt(0, QColor(230, 230, 230));
  shade.setColorAt(0.6, QColor(120, 120, 120));
  shade.setColorAt(1, QColor(40, 40, 40));
  painter.fillRect(where, shade);
  // Grain, the same on every run.
  quint32 seed = 17;
  for (int y = where.top(); y <= where.bottom(); y += 2)
    for (int x = where.left(); x <= where.right(); x += 2) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = static_cast<int>(seed >> 28) - 8;
      const QColor c = page.pixelColor(x, y);
      page.setPixelColor(x, y,
                         QColor::fromRgb(qBound(0, c.red() + grain * 4, 255),
                                         qBound(0, c.green() + grain * 4, 255),
                                         qBound(0, c.blue() + grain * 4, 255)));
    }
}

QImage turnedClockwise(const QImage& image, int degrees) {
  QImage turned = image.transformed(QTransform().rotate(degrees));
  turned.setDotsPerMeterX(image.dotsPerMeterX());
  turned.setDotsPerMeterY(image.dotsPerMeterY());
  return turned;
}

bool savePage(const QImage& image, const QString& path) {
  return image.save(path);
}

bool saveMultiPageTiff(const std::vector<QImage>& images, const QString& path, bool bitonal) {
  QFile::remove(path);
  for (const QImage& image : images) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return false;
    Pix* pix = pixReadMem(reinterpret_cast<const l_uint8*>(png.constData()), png.size());
    if (!pix) return false;
    Pix* page = bitonal ? pixConvertTo1(pix, 128) : pixClone(pix);
    pixSetResolution(page, 300, 300);
    const bool written = pixWriteTiff(QFile::encodeName(path).constData(), page,
                                      bitonal ? IFF_TIFF_G4 : IFF_TIFF_ZIP, "a") == 0;
    pixDestroy(&page);
    pixDestroy(&pix);
    if (!written) return false;
  }
  return true;
}

}  // namespace zan::testing
