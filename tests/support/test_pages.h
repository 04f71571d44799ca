#pragma once
// Scanned pages made on the spot: lines of text rendered with Qt into a 300-dpi A5 image
// (1748 x 2480 pixels), with the place of every word, so that tests and benchmarks never
// depend on downloaded scans.

#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

namespace zan::testing {

struct DrawnWord {
  QString text;
  QRectF box;  // in the upright page's pixels: ascent to descent, origin top left
};

struct TestPage {
  QImage image;  // 8-bit grey, 300 dpi, upright
  std::vector<DrawnWord> words;
};

// Renders `lines` in 12-point DejaVu Serif, one under the other.
TestPage renderTextPage(const QStringList& lines, int pointSize = 12);

// The text of sample page n (0, 1, ...): eight lines of ordinary English prose, different
// for each n, enough for orientation detection to be sure of a turned page.
QStringList sampleLines(int n);

// Paints a photograph-like picture (shaded, with fine grain) into `where` on the page, as a
// scanned page with a photo carries one.
void drawPicture(QImage& page, const QRect& where);

// The image turned clockwise by `degrees` (90, 180, 270), as a page fed in sideways.
QImage turnedClockwise(const QImage& image, int degrees);

// Writes `image` with its 300-dpi resolution; the format follows the file's suffix (PNG,
// JPEG, BMP, PGM/PPM).
bool savePage(const QImage& image, const QString& path);

// Writes the images as the pages of one TIFF: bitonal CCITT G4 or grey Deflate.
bool saveMultiPageTiff(const std::vector<QImage>& images, const QString& path, bool bitonal);

}  // namespace zan::testing
