#include "page_kinds.h"

#include "test_pages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace zan::bench {
namespace {

const QStringList kProse = {
    "Please return the signed copy of this agreement by Friday.",
    "The warehouse in Leeds received forty boxes of printer paper.",
    "Our accounts department will settle the invoice within thirty days.",
    "The new opening hours apply from the first of next month.",
    "Several customers asked whether the delivery charge could be waived.",
    "A copy of the original receipt must accompany every claim.",
    "The committee meets on the second Tuesday of each quarter.",
    "Heavy rain delayed the shipment by almost a full week.",
    "Visitors should sign the register at the main reception desk.",
    "The annual report describes growth in every northern region.",
    "Replacement parts are usually dispatched on the following day.",
    "Insurance documents are kept in the archive for ten years.",
    "The manager thanked the staff for their patience during the move.",
    "Payment by bank transfer is preferred for larger orders.",
    "This letter confirms the change of address for your account.",
    "Samples were tested at a constant temperature of twenty degrees.",
    "The library lends books, maps and old newspapers to members.",
    "Our office will be closed on the public holiday in May.",
    "Each page of the contract carries the initials of both parties.",
    "The engineer inspected the bridge and found no serious damage.",
    "Tickets may be exchanged up to two hours before departure.",
    "The kitchen was cleaned thoroughly after the evening service.",
    "Please quote the reference number in all future correspondence.",
    "The museum collection includes clocks from the seventeenth century.",
    "A short summary of the findings is attached to this message.",
    "Students must submit their essays before the end of term.",
    "The garden behind the town hall is open to the public.",
    "Faulty goods will be replaced or refunded without question.",
    "The harbour master reported calm weather throughout the night.",
    "Minutes of the last meeting were approved without amendment.",
};

// `n` lines of prose, starting at sentence `from`.
QStringList prose(int from, int n) {
  QStringList lines;
  for (int i = 0; i < n; ++i) lines << kProse.at((from + i) % kProse.size());
  return lines;
}

QImage blank(double widthInches, double heightInches, int dpi, QImage::Format format,
             QColor paper) {
  QImage image(qRound(widthInches * dpi), qRound(heightInches * dpi), format);
  image.fill(paper);
  const int perMetre = qRound(dpi / 0.0254);
  image.setDotsPerMeterX(perMetre);
  image.setDotsPerMeterY(perMetre);
  return image;
}

// Draws as many of `lines` as fit below `top` inches (DejaVu Serif, `points` large) and
// returns those drawn.
QStringList drawLines(QImage& image, const QStringList& lines, int dpi, double points,
                      double marginInches, double topInches, QColor ink) {
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setPixelSize(qRound(points * dpi / 72.0));
  const QFontMetricsF metrics(font);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(font);
  painter.setPen(ink);
  const double margin = marginInches * dpi;
  double baseline = topInches * dpi + metrics.ascent();
  QStringList drawn;
  for (const QString& line : lines) {
    if (baseline + metrics.descent() > image.height() - margin) break;
    painter.drawText(QPointF(margin, baseline), line);
    drawn << line;
    baseline += metrics.lineSpacing() * 1.4;
  }
  return drawn;
}

// A landscape in colour: sky, sun, hills and a lake.
void drawLandscape(QImage& image, const QRect& where) {
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(where.topLeft(), where.bottomLeft());
  sky.setColorAt(0, QColor(70, 120, 200));
  sky.setColorAt(1, QColor(250, 200, 150));
  painter.fillRect(where, sky);
  painter.setBrush(QColor(255, 230, 120));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(
      QPointF(where.left() + where.width() * 0.7, where.top() + where.height() * 0.3),
      where.width() * 0.08, where.width() * 0.08);
  for (int layer = 0; layer < 3; ++layer) {
    QPainterPath hills;
    const double base = where.top() + where.height() * (0.55 + 0.12 * layer);
    hills.moveTo(where.left(), where.bottom());
    for (int x = 0; x <= where.width(); x += 8)
      hills.lineTo(where.left() + x,
                   base - where.height() * 0.08 * std::sin(x * (0.004 + 0.002 * layer) + layer));
    hills.lineTo(where.right(), where.bottom());
    painter.setBrush(QColor(40 + 30 * layer, 110 - 20 * layer, 50 + 10 * layer));
    painter.drawPath(hills);
  }
  painter.end();  // drawPicture paints the image with a painter of its own
  testing::drawPicture(image,
                       QRect(where.left() + where.width() / 10, where.bottom() - where.height() / 8,
                             where.width() / 3, where.height() / 10));
}

// A photo of `page`: on a dark table, turned a little, lit unevenly, with sensor noise.
QImage photographed(const QImage& page) {
  QImage photo(page.width() + page.width() / 10, page.height() + page.height() / 14,
               QImage::Format_RGB32);
  photo.fill(QColor(60, 55, 50));
  photo.setDotsPerMeterX(page.dotsPerMeterX());
  photo.setDotsPerMeterY(page.dotsPerMeterY());
  {
    QPainter painter(&photo);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(photo.width() / 2.0, photo.height() / 2.0);
    painter.rotate(1.2);
    painter.drawImage(QPointF(-page.width() / 2.0, -page.height() / 2.0), page);
    painter.resetTransform();
    QRadialGradient light(photo.width() * 0.3, photo.height() * 0.25, photo.width() * 1.1);
    light.setColorAt(0, QColor(255, 255, 255));
    light.setColorAt(1, QColor(150, 140, 130));
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.fillRect(photo.rect(), light);
  }
  quint32 seed = 7;
  for (int y = 0; y < photo.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
    for (int x = 0; x < photo.width(); ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int noise = static_cast<int>(seed >> 29) - 4;
      row[x] =
          qRgb(std::clamp(qRed(row[x]) + noise, 0, 255), std::clamp(qGreen(row[x]) + noise, 0, 255),
               std::clamp(qBlue(row[x]) + noise, 0, 255));
    }
  }
  return photo;
}

// An old book's page: yellowed paper with stains, brown ink that took unevenly, grain.
QImage aged(const QImage& page) {
  QImage old = page.convertToFormat(QImage::Format_RGB32);
  {
    QPainter painter(&old);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    quint32 seed = 11;
    const auto next = [&seed] {
      seed = seed * 1664525u + 1013904223u;
      return (seed >> 8) / 16777216.0;
    };
    for (int i = 0; i < 40; ++i) {  // foxing: small brown stains
      const QPointF at(next() * old.width(), next() * old.height());
      const double r = (0.02 + 0.05 * next()) * old.width();
      QRadialGradient stain(at, r);
      stain.setColorAt(0, QColor(215, 180, 140));
      stain.setColorAt(1, QColor(255, 255, 255));
      painter.setBrush(stain);
      painter.setPen(Qt::NoPen);
      painter.drawEllipse(at, r, r);
    }
  }
  quint32 seed = 5;
  for (int y = 0; y < old.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(old.scanLine(y));
    for (int x = 0; x < old.width(); ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = static_cast<int>(seed >> 28) - 8;
      const int ink = 255 - qGray(row[x]);  // ink lighter here and there
      const int faded = (seed >> 20 & 7) == 0 ? ink / 3 : 0;
      const auto channel = [&](int c, int paper) {
        return std::clamp(paper * c / 255 + faded + grain, 0, 255);
      };
      row[x] = qRgb(channel(qRed(row[x]), 236), channel(qGreen(row[x]), 222),
                    channel(qBlue(row[x]), 190));
    }
  }
  return old;
}

}  // namespace

std::vector<PageKind> writePageKinds(const QString& folder) {
  const QDir dir(folder);
  std::vector<PageKind> kinds;
  // The text beside each page (kind.txt), to compare other runs with by hand.
  const auto keepText = [&](const QString& page, const QStringList& text) {
    QFile file(QFileInfo(page).path() + QLatin1Char('/') + QFileInfo(page).completeBaseName() +
               QStringLiteral(".txt"));
    if (file.open(QIODevice::WriteOnly)) file.write(text.join(QLatin1Char('\n')).toUtf8());
  };
  const auto add = [&](const char* name, const char* key, const char* file, const QImage& image,
                       const QStringList& text, int quality = -1) {
    const QString path = dir.filePath(QLatin1String(file));
    image.save(path, nullptr, quality);
    keepText(path, text);
    kinds.push_back({QLatin1String(name), QLatin1String(key), path, text});
  };
  {  // an A4 letter at 300 dpi, grey
    QImage page = blank(8.27, 11.69, 300, QImage::Format_Grayscale8, Qt::white);
    const QStringList text = drawLines(page, prose(0, 60), 300, 11, 1.0, 1.0, Qt::black);
    add("text page", "TextPage", "text-page.png", page, text);
  }
  {  // an A5 page fed in turned by 90 degrees
    QImage page = blank(5.83, 8.27, 300, QImage::Format_Grayscale8, Qt::white);
    const QStringList text = drawLines(page, prose(7, 24), 300, 11, 0.6, 0.7, Qt::black);
    add("turned page", "TurnedPage", "turned-page.png", testing::turnedClockwise(page, 90), text);
  }
  {  // an A4 page scanned at one bit a pixel, CCITT G4 in a TIFF
    QImage page = blank(8.27, 11.69, 300, QImage::Format_Grayscale8, Qt::white);
    const QStringList text = drawLines(page, prose(13, 60), 300, 10, 1.0, 1.0, Qt::black);
    const QString path = dir.filePath(QStringLiteral("bilevel-scan.tif"));
    testing::saveMultiPageTiff({page}, path, true);
    keepText(path, text);
    kinds.push_back({QStringLiteral("bilevel scan"), QStringLiteral("BilevelScan"), path, text});
  }
  {  // an A5 page photographed: colour JPEG
    QImage page = blank(5.83, 8.27, 300, QImage::Format_RGB32, QColor(246, 240, 226));
    const QStringList text = drawLines(page, prose(19, 26), 300, 11, 0.7, 0.8, QColor(30, 30, 60));
    add("photo of a document", "Photo", "photo.jpg", photographed(page), text, 85);
  }
  {  // a colour picture with a caption of a few words
    QImage page = blank(5.83, 8.27, 300, QImage::Format_RGB32, Qt::white);
    drawLandscape(page, QRect(150, 150, page.width() - 300, page.height() - 600));
    const QStringList caption{QStringLiteral("Harbour view at dawn, spring")};
    drawLines(page, caption, 300, 12, 0.5, 7.3, Qt::black);
    add("picture page with few words", "PicturePage", "picture-page.jpg", page, caption, 90);
  }
  {  // an old book's page: 9-point print on yellowed, stained paper, colour JPEG at 300 dpi
    QImage page = blank(5.0, 7.5, 300, QImage::Format_RGB32, Qt::white);
    const QStringList text = drawLines(page, prose(11, 40), 300, 9, 0.6, 0.7, QColor(45, 35, 25));
    add("old book page", "BookPage", "book-page.jpg", aged(page), text, 80);
  }
  {  // a label 1.67 by 1 inches scanned at 2400 dpi
    QImage page = blank(1.67, 1.0, 2400, QImage::Format_Grayscale8, Qt::white);
    const QStringList text =
        drawLines(page,
                  {QStringLiteral("Sample 4711 received"), QStringLiteral("Stored in room twelve"),
                   QStringLiteral("Keep dry and cool")},
                  2400, 8, 0.1, 0.15, Qt::black);
    add("tiny high-dpi page", "TinyPage", "tiny-page.png", page, text);
  }
  {  // a roll 8.5 by 30 inches at 150 dpi
    QImage page = blank(8.5, 30.0, 150, QImage::Format_Grayscale8, Qt::white);
    const QStringList text = drawLines(page, prose(3, 200), 150, 10, 0.8, 0.8, Qt::black);
    add("long page", "LongPage", "long-page.png", page, text);
  }
  return kinds;
}

QStringList comparableWords(const QString& text) {
  static const QRegularExpression space(QStringLiteral("\\s+"));
  static const QRegularExpression edges(QStringLiteral("^\\W+|\\W+$"));
  QStringList words;
  for (QString w : text.split(space, Qt::SkipEmptyParts)) {
    w = w.remove(edges).toLower();
    if (!w.isEmpty()) words << w;
  }
  return words;
}

double wordF1(const QStringList& expected, const QStringList& found) {
  if (expected.isEmpty() || found.isEmpty()) return 0;
  QHash<QString, int> left;
  for (const QString& w : expected) ++left[w];
  int common = 0;
  for (const QString& w : found) {
    auto it = left.find(w);
    if (it != left.end() && *it > 0) {
      --*it;
      ++common;
    }
  }
  const double precision = static_cast<double>(common) / found.size();
  const double recall = static_cast<double>(common) / expected.size();
  return common == 0 ? 0 : 2 * precision * recall / (precision + recall);
}

}  // namespace zan::bench
