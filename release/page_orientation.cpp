#include "release/page_orientation.h"

#include "release/page_image.h"
#include "release/recognizer.h"

#include <leptonica/allheaders.h>

#include <algorithm>

namespace zan::release {
namespace {

// A reading shows upright text when its confidently known upright words hold at least this
// many letters (a short line of text) and most of the letters read.
constexpr double kUprightScore = 30;
constexpr double kUprightShare = 0.5;
// A page is turned by reading only when the turned reading finds at least this much and twice
// what the page as scanned shows; less is weak evidence (a picture with a few words, a page
// of noise), and the page stays as scanned.
constexpr double kLeastEvidence = 20;

// The clockwise turn that stands a page upright whose content is turned by `orientation`.
int uprightTurn(int orientation) {
  return (360 - orientation) % 360;
}

double letters(const std::vector<RecognisedWord>& words) {
  double n = 0;
  for (const RecognisedWord& w : words) n += w.text.size();
  return n;
}

bool showsUprightText(const Reading& r) {
  const double score = readingScore(r.words);
  return score >= kUprightScore && score >= kUprightShare * letters(r.words);
}

}  // namespace

QString orientationReasonName(OrientationReason reason) {
  switch (reason) {
    case OrientationReason::NotChecked:
      return QStringLiteral("not checked");
    case OrientationReason::Detected:
      return QStringLiteral("detected");
    case OrientationReason::NotAllowed:
      return QStringLiteral("not allowed");
    case OrientationReason::Tried:
      return QStringLiteral("tried");
    case OrientationReason::WeakEvidence:
      return QStringLiteral("weak evidence");
  }
  return {};
}

OrientationDecision decideOrientation(Pix* scan, int dpi, const ReleaseOptions& options,
                                      Recognizer& recognizer, bool findPictures) {
  OrientationDecision d;
  if (!options.detectsOrientation()) return d;
  const AccuracyProfile& accuracy = options.accuracy;
  const double factor = scaleInto(dpi, 0, accuracy.orientationDpi);
  const PixPtr small = scaled(scan, factor);
  const OrientationGuess guess = recognizer.detectOrientation(small.get(), qRound(dpi * factor));
  d.detected = guess.found;
  d.orientation = guess.degrees;
  d.confidence = guess.confidence;
  if (guess.found && guess.confidence >= accuracy.orientationConfidence) {
    const bool allowed = options.orientations[guess.degrees / 90];
    d.reason = allowed ? OrientationReason::Detected : OrientationReason::NotAllowed;
    if (allowed) d.rotation = uprightTurn(guess.degrees);
    return d;
  }
  d.reason = OrientationReason::WeakEvidence;
  if (!accuracy.tryOrientations || !options.recognises()) return d;

  // The reading as scanned is needed anyway when the page stays so; when it shows upright
  // text, no other orientation is read.
  Reading scanned = readUpright(scan, dpi, accuracy, recognizer, findPictures, true);
  d.tried.push_back(0);
  if (showsUprightText(scanned)) {
    d.reason = OrientationReason::Tried;
    d.orientation = 0;
    d.reading = std::move(scanned);
    return d;
  }
  // The other allowed orientations, the detector's guess first, each read once (first pass).
  std::vector<int> candidates;
  if (guess.found && guess.degrees != 0) candidates.push_back(guess.degrees);
  for (int q = 90; q < 360; q += 90)
    if (q != guess.degrees || !guess.found) candidates.push_back(q);
  const double scannedScore = readingScore(scanned.words);
  double best = std::max(kLeastEvidence, 2 * scannedScore);
  std::optional<Reading> winner;
  int winnerOrientation = 0;
  for (int q : candidates) {
    if (!options.orientations[q / 90]) continue;
    const PixPtr candidate = turned(scan, uprightTurn(q));
    Reading reading = readUpright(candidate.get(), dpi, accuracy, recognizer, findPictures, true);
    d.tried.push_back(q);
    const double score = readingScore(reading.words);
    if (score < best) continue;
    best = score;
    winnerOrientation = q;
    const bool clear = showsUprightText(reading);
    winner = std::move(reading);
    if (clear) break;
  }
  if (!winner) {
    d.reading = std::move(scanned);  // weak evidence: the page stays as scanned
    return d;
  }
  d.reason = OrientationReason::Tried;
  d.orientation = winnerOrientation;
  d.rotation = uprightTurn(winnerOrientation);
  d.reading = std::move(winner);
  return d;
}

}  // namespace zan::release
