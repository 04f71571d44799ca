#include "panel/about_icon.h"

#include <QImage>
#include <QPainter>
#include <QPixmapCache>

namespace zan {

QPixmap aboutBoxIcon() {
  // Drawn once per application: every panel holds the same picture.
  static const QString key = QStringLiteral("zanpdfctl4-about-box-icon");
  QPixmap cached;
  if (QPixmapCache::find(key, &cached)) return cached;
  // A small page with a folded corner and a red "PDF" band, drawn so that no image file ships.
  QImage image(18, 15, QImage::Format_RGB888);
  image.fill(QColor(192, 192, 192));
  QPainter p(&image);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  const QPoint page[] = {{3, 0}, {12, 0}, {15, 3}, {15, 14}, {3, 14}};
  p.drawPolygon(page, 5);
  p.drawLine(12, 0, 12, 3);
  p.drawLine(12, 3, 15, 3);
  p.fillRect(4, 6, 11, 4, QColor(178, 34, 34));
  p.setPen(QColor(128, 128, 128));
  for (int y : {2, 11, 12}) p.drawLine(5, y, y == 2 ? 10 : 13, y);
  p.end();
  cached = QPixmap::fromImage(image);
  QPixmapCache::insert(key, cached);
  return cached;
}

}  // namespace zan
