#pragma once
// How finely a page is read. Recognition and orientation detection read a page's characters at
// the height they need, measured on the page itself, not at a resolution the file states (a
// label scanned at 2400 dpi has characters hundreds of pixels high; a roll scanned at 150 dpi
// has them 11 pixels high, and scaling it up adds time and memory, not detail):
//
//  - characters taller than the accuracy setting's height are scaled down to it (Fastest 16
//    pixels, Fast 20, Normal 26, Accurate 32, Most Accurate 40; an 11-point letter at 300 dpi
//    measures about 26), smaller ones are read as they are;
//  - a page larger than the setting's reading pixels (pixel_budget.h) is scaled down further,
//    but its characters never below kLegibleHeight;
//  - a page is never scaled up;
//  - a page without characters to measure (a picture) is read at most at the setting's
//    picture resolution.

#include "release/release_options.h"

struct Pix;

namespace zan::release {

// Characters are never scaled below this height (pixels) to fit a pixel budget: lower, Tesseract
// begins to misread them (measured: 99 % of the words at 8 pixels, 89 % at 7 on a noisy page).
inline constexpr double kLegibleHeight = 12;

// The height of the page's characters in its own pixels: the median height of the connected
// components that look like characters (between the height of an "x" and of an "h"); 0 when
// the page shows too few of them to tell (a picture, an empty page).
double characterHeight(Pix* page);

// What reading a page depends on besides its pixels.
struct PageScale {
  double dpi = 300;            // its resolution
  double characterHeight = 0;  // characterHeight() of the page as scanned
};

// The factor (at most 1) recognition reads a page of `width` x `height` pixels at.
double readingFactor(const PageScale& page, int width, int height, const AccuracyProfile& accuracy);

// The factor (at most 1) orientation detection looks at the page at; `finer`: a second look
// when the first found too few characters.
double detectionFactor(const PageScale& page, bool finer);

// The resolution Tesseract is told for the page read at `factor`.
int readingDpi(const PageScale& page, double factor);

}  // namespace zan::release
