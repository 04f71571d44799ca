#include "release/reading_scale.h"

#include "release/page_image.h"

#include <leptonica/allheaders.h>

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zan::release {
namespace {

// The page is measured on a copy of at most this many pixels (halved as often as needed): the
// measure takes a few hundredths of a second whatever the page's size.
constexpr qint64 kMeasuredPixels = 6'000'000;
// Connected components counted as characters: at least this high in the page's pixels (smaller
// ones are dust and dots), at most eight times as high as wide ("l", "1") and three times as
// wide as high (two letters touching), and lower than a tenth of the page (rules, frames).
constexpr int kLeastHeight = 4;
// Fewer characters than this tell nothing (a picture, an empty page).
constexpr std::size_t kLeastCharacters = 25;
// Orientation detection looks at characters this high (pixels), and again at the finer height
// when it finds too few (small print).
constexpr double kDetectionHeight = 16;
constexpr double kFinerDetectionHeight = 32;
// Resolutions for a page without characters to measure.
constexpr int kDetectionDpi = 150;
constexpr int kFinerDetectionDpi = 300;

}  // namespace

double characterHeight(Pix* page) {
  if (!page) return 0;
  PixPtr bitonal(pixGetDepth(page) == 1 ? pixClone(page) : pixConvertTo1(page, 128));
  if (!bitonal) return 0;
  int reduction = 1;
  while (static_cast<qint64>(pixGetWidth(bitonal.get())) * pixGetHeight(bitonal.get()) >
         kMeasuredPixels) {
    // Rank 1: a reduced pixel is black when any of its four is, so thin strokes stay.
    PixPtr half(pixReduceRankBinary2(bitonal.get(), 1, nullptr));
    if (!half) break;
    bitonal = std::move(half);
    reduction *= 2;
  }
  BOXA* boxes = pixConnCompBB(bitonal.get(), 8);
  if (!boxes) return 0;
  const int pageHeight = pixGetHeight(bitonal.get());
  const int leastHeight = std::max(2, (kLeastHeight + reduction - 1) / reduction);
  std::vector<int> heights;
  for (l_int32 i = 0; i < boxaGetCount(boxes); ++i) {
    l_int32 x = 0, y = 0, w = 0, h = 0;
    boxaGetBoxGeometry(boxes, i, &x, &y, &w, &h);
    if (h >= leastHeight && w >= 1 && h <= 8 * w && w <= 3 * h && h * 10 < pageHeight)
      heights.push_back(h);
  }
  boxaDestroy(&boxes);
  if (heights.size() < kLeastCharacters) return 0;
  const auto middle = heights.begin() + static_cast<std::ptrdiff_t>(heights.size() / 2);
  std::nth_element(heights.begin(), middle, heights.end());
  return static_cast<double>(*middle) * reduction;
}

double readingFactor(const PageScale& page, int width, int height,
                     const AccuracyProfile& accuracy) {
  const double h = page.characterHeight;
  double factor = h > 0 ? std::min(1.0, accuracy.characterHeight / h)
                        : std::min(1.0, accuracy.pictureDpi / page.dpi);
  const double pixels = static_cast<double>(width) * height;
  if (pixels * factor * factor > static_cast<double>(accuracy.readingPixels)) {
    factor = std::sqrt(static_cast<double>(accuracy.readingPixels) / pixels);
    if (h > 0) factor = std::max(factor, std::min(1.0, kLegibleHeight / h));
  }
  return factor;
}

double detectionFactor(const PageScale& page, bool finer) {
  if (page.characterHeight > 0)
    return std::min(1.0, (finer ? kFinerDetectionHeight : kDetectionHeight) / page.characterHeight);
  return std::min(1.0, static_cast<double>(finer ? kFinerDetectionDpi : kDetectionDpi) / page.dpi);
}

int readingDpi(const PageScale& page, double factor) {
  return std::max(1, qRound(page.dpi * factor));
}

}  // namespace zan::release
