#pragma once
// Reading an upright page image with the effort of an accuracy profile: scaled into the
// profile's resolution, recognised with a global threshold and, when the profile asks for it,
// again with an adaptive one, keeping the better reading; the words in the image's own pixels.

#include "release/recognizer.h"
#include "release/release_options.h"

#include <QRect>

#include <vector>

struct Pix;

namespace zan::release {

// The factor that brings a `dpi` scan into [least, most] dpi (least 0: no lower bound).
double scaleInto(int dpi, int least, int most);

struct Reading {
  std::vector<RecognisedWord> words;
  std::vector<QRect> pictures;  // regions layout analysis found to be pictures
  bool complete = false;        // the profile's second pass, if any, has been made
};

// Reads `upright` (stating `dpi`). `firstPassOnly` leaves out the adaptive second pass, for
// comparing orientations cheaply; completeReading() adds it later.
Reading readUpright(Pix* upright, int dpi, const AccuracyProfile& accuracy, Recognizer& recognizer,
                    bool findPictures, bool firstPassOnly = false);

// Makes the profile's second pass on a reading made with `firstPassOnly`, keeping the better.
void completeReading(Reading& reading, Pix* upright, int dpi, const AccuracyProfile& accuracy,
                     Recognizer& recognizer, bool findPictures);

}  // namespace zan::release
