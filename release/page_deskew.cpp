#include "release/page_deskew.h"

#include <leptonica/allheaders.h>

#include <cmath>

namespace zan::release {
namespace {

// Leptonica's own defaults for finding skew (skew.c).
constexpr l_int32 kSweepReduction = 4;
constexpr l_int32 kSearchReduction = 2;
constexpr l_float32 kSweepRange = 7.0f;  // degrees either way
constexpr l_float32 kSweepDelta = 1.0f;
constexpr l_float32 kLeastSearchDelta = 0.01f;
constexpr l_float32 kLeastConfidence = 3.0f;
constexpr l_float32 kLeastAngle = 0.1f;
// How much more confident the level of lines across the page must be than of lines down it.
constexpr l_float32 kAcrossPreferred = 1.5f;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

}  // namespace

PixPtr straightened(Pix* scan, float* degrees) {
  *degrees = 0;
  const PixPtr bitonal(pixConvertTo1(scan, 130));
  if (!bitonal) return nullptr;
  l_float32 angle = 0, confidence = 0;
  if (pixFindSkewOrthogonalRange(bitonal.get(), &angle, &confidence, kSweepReduction,
                                 kSearchReduction, kSweepRange, kSweepDelta, kLeastSearchDelta,
                                 kAcrossPreferred) != 0)
    return nullptr;
  if (angle > 45) angle -= 90;  // lines running down the page: their skew from the vertical
  if (confidence < kLeastConfidence || std::fabs(angle) < kLeastAngle) return nullptr;
  PixPtr result(pixRotate(scan, static_cast<l_float32>(kRadiansPerDegree * angle),
                          L_ROTATE_AREA_MAP, L_BRING_IN_WHITE, 0, 0));
  if (!result) return nullptr;
  pixCopyResolution(result.get(), scan);
  *degrees = angle;
  return result;
}

}  // namespace zan::release
