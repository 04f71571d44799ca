#pragma once
// Reading an upright page image with the effort of an accuracy profile: scaled as
// reading_scale.h says, recognised with a global threshold and, when the profile asks for it,
// again with an adaptive one, keeping the better reading; the words in the image's own pixels.

#include "release/reading_scale.h"
#include "release/recognizer.h"
#include "release/release_options.h"

#include <QRect>

#include <vector>

struct Pix;

namespace zan::release {

struct Reading {
  std::vector<RecognisedWord> words;
  std::vector<QRect> pictures;  // regions layout analysis found to be pictures
  bool complete = false;        // the profile's second pass, if any, has been made
};

// Reads `upright` (of `scale`). `firstPassOnly` leaves out the adaptive second pass, for
// comparing orientations cheaply; completeReading() adds it later.
Reading readUpright(Pix* upright, const PageScale& scale, const AccuracyProfile& accuracy,
                    Recognizer& recognizer, bool findPictures, bool firstPassOnly = false);

// Makes the profile's second pass on a reading made with `firstPassOnly`, keeping the better.
void completeReading(Reading& reading, Pix* upright, const PageScale& scale,
                     const AccuracyProfile& accuracy, Recognizer& recognizer, bool findPictures);

}  // namespace zan::release
