#pragma once
// Straightening a skewed scan (an option, off by default: it resamples the page image, so that
// the page is no longer stored as scanned).

#include "release/page_image.h"

namespace zan::release {

// The scan turned by the small angle (at most 7 degrees either way) that makes its text lines
// level, found on lines running across or down the page; null when the scan is level (less
// than 0.1 degree off) or no lines are found with confidence. `degrees` receives the angle
// turned, counter-clockwise.
PixPtr straightened(Pix* scan, float* degrees);

}  // namespace zan::release
