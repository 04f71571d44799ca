#pragma once
// Which way up a page stands, decided on evidence among the allowed orientations: Tesseract's
// orientation detection first (one pass); only when it is unsure is the page read, first as
// scanned and then, when that reading shows no upright text, in the other allowed
// orientations; a page whose readings show too little text stays as scanned. A page with too
// few characters for detection to be sure is read as scanned before detection looks at it.

#include "release/page_reading.h"
#include "release/release_options.h"

#include <QString>

#include <optional>
#include <vector>

struct Pix;

namespace zan::release {

class Recognizer;

// Why a page stands as it does.
enum class OrientationReason {
  NotChecked,   // no orientation but upright is allowed: nothing was detected
  Detected,     // detection was sure; the page stands as it found
  NotAllowed,   // detection was sure of an orientation that is not allowed: kept as scanned
  Tried,        // detection was unsure; reading the page decided
  WeakEvidence  // detection was unsure and the readings showed too little text: kept as scanned
};

// "not checked", "detected", "not allowed", "tried", "weak evidence".
QString orientationReasonName(OrientationReason reason);

struct OrientationDecision {
  OrientationReason reason = OrientationReason::NotChecked;
  bool detected = false;           // detection ran and named an orientation
  int orientation = 0;             // how far the content was found turned clockwise as scanned
  float confidence = 0;            // the detection's confidence
  int rotation = 0;                // the clockwise turn that stands the page upright
  std::vector<int> tried;          // the orientations the page was read in, when it was
  std::optional<Reading> reading;  // the reading of the page as it will stand, when one was made
};

// Decides for `scan` (of `scale`). Reads the page only when the options recognise text and
// their profile tries orientations, and then only when detection is unsure or the page has too
// few characters for it to be sure.
OrientationDecision decideOrientation(Pix* scan, const PageScale& scale,
                                      const ReleaseOptions& options, Recognizer& recognizer,
                                      bool findPictures);

}  // namespace zan::release
