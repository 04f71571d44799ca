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

// Detection classifies every character it is shown, up to 250, each in four orientations
// (about a quarter of a second on a full page), and its confidence grows with the characters
// classified. The lines across the page that hold its middle kBandCharacters characters (two
// lines of ordinary print) leave it sure at "Most Accurate" on every kind of page measured
// (confidence 6.7 to 15 where 5 is sure) in a third of that time; the whole page is looked at
// only when they do not.
constexpr std::size_t kBandCharacters = 60;
// Connected components that detection takes for characters: at least this high, and at most
// twice as long one way as the other. With fewer than kLeastCharacters it finds nothing.
constexpr int kLeastCharacterHeight = 10;
constexpr std::size_t kLeastCharacters = 25;

// The vertical centres of the page's connected components that detection takes for characters,
// from top to bottom.
std::vector<int> characterCentres(Pix* page) {
  std::vector<int> centres;
  const PixPtr bitonal(pixConvertTo1(page, 128));
  BOXA* boxes = bitonal ? pixConnCompBB(bitonal.get(), 8) : nullptr;
  if (!boxes) return centres;
  for (l_int32 i = 0; i < boxaGetCount(boxes); ++i) {
    l_int32 x = 0, y = 0, w = 0, h = 0;
    boxaGetBoxGeometry(boxes, i, &x, &y, &w, &h);
    if (h >= kLeastCharacterHeight && w > 0 && h <= 2 * w && w <= 2 * h)
      centres.push_back(y + h / 2);
  }
  boxaDestroy(&boxes);
  std::sort(centres.begin(), centres.end());
  return centres;
}

// The scan scaled down by `factor` for detection, which needs no sharpening: grey from a bitonal
// scan, else grey or colour as it is. Detection's characters are about 16 pixels high, so a
// large reduction first samples the page down to four times that size (strokes stay several
// pixels wide there) and halves it twice by area mapping: on the tiny 2400-dpi page of the
// benchmark 48 million instructions instead of 122 million for one area mapping.
PixPtr reducedForDetection(Pix* scan, double factor) {
  if (factor > 0.999 || pixGetColormap(scan)) return scaled(scan, factor);
  if (pixGetDepth(scan) == 1) {
    PixPtr grey(pixScaleToGray(scan, static_cast<l_float32>(factor)));
    return grey ? std::move(grey) : scaled(scan, factor);
  }
  if (pixGetDepth(scan) < 8) return scaled(scan, factor);
  PixPtr reduced;
  Pix* source = scan;
  if (factor < 0.25) {
    const auto f = static_cast<l_float32>(4 * factor);
    if (PixPtr sampled{pixScaleBySampling(scan, f, f)}) {
      reduced = std::move(sampled);
      source = reduced.get();
      factor = 0.25;
    }
  }
  for (; factor < 0.35; factor *= 2) {
    PixPtr half(pixScaleAreaMap2(source));
    if (!half) break;
    reduced = std::move(half);
    source = reduced.get();
  }
  const auto f = static_cast<l_float32>(factor);
  PixPtr result(pixScaleGeneral(source, f, f, 0.0f, 0));
  return result ? std::move(result) : scaled(source, factor);
}

// What detection looks at: the page scaled down by detectionFactor(), and the vertical centres
// of the characters it will find there.
struct DetectionView {
  PixPtr small;
  int dpi = 0;
  std::vector<int> centres;
};

DetectionView viewForDetection(Pix* scan, const PageScale& scale, bool finer) {
  const double factor = detectionFactor(scale, finer);
  DetectionView view{reducedForDetection(scan, factor), readingDpi(scale, factor), {}};
  view.centres = characterCentres(view.small.get());
  return view;
}

// Detection on `view`. A page with twice kBandCharacters characters or more is first looked at
// in the band across it that holds the middle kBandCharacters of them, and whole only when the
// band leaves detection below `sure`; a page with fewer characters than detection needs is not
// looked at (it would find none).
OrientationGuess detect(const DetectionView& view, float sure, Recognizer& recognizer) {
  const std::vector<int>& centres = view.centres;
  Pix* small = view.small.get();
  if (centres.size() < kLeastCharacters) return {};
  if (centres.size() >= 2 * kBandCharacters) {
    const std::size_t middle = centres.size() / 2;
    const int top = std::max(0, centres[middle - kBandCharacters / 2] - 2 * kLeastCharacterHeight);
    const int bottom = std::min(static_cast<int>(pixGetHeight(small)),
                                centres[middle + kBandCharacters / 2] + 2 * kLeastCharacterHeight);
    const PixPtr band = cropped(small, QRect(0, top, pixGetWidth(small), bottom - top));
    const OrientationGuess guess = recognizer.detectOrientation(band.get(), view.dpi);
    if (guess.found && guess.confidence >= sure) return guess;
  }
  return recognizer.detectOrientation(small, view.dpi);
}

OrientationGuess detect(Pix* scan, const PageScale& scale, bool finer, float sure,
                        Recognizer& recognizer) {
  return detect(viewForDetection(scan, scale, finer), sure, recognizer);
}

// The clockwise turn that stands a page upright whose content is turned by `orientation`.
int uprightTurn(int orientation) {
  return (360 - orientation) % 360;
}

double letters(const std::vector<RecognisedWord>& words) {
  double n = 0;
  for (const RecognisedWord& w : words) n += w.text.size();
  return n;
}

// Most of what the reading found are confidently known upright words.
bool mostlyUpright(const Reading& r) {
  return readingScore(r.words) >= kUprightShare * letters(r.words);
}

bool showsUprightText(const Reading& r) {
  return readingScore(r.words) >= kUprightScore && mostlyUpright(r);
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

// Records what detection found in `d`.
void noteGuess(const OrientationGuess& guess, OrientationDecision& d) {
  d.detected = guess.found;
  d.orientation = guess.degrees;
  d.confidence = guess.confidence;
}

// Names the detection's orientation when it is sure: the page stands as detected when that is
// allowed, else as scanned.
bool takeSureGuess(const OrientationGuess& guess, const ReleaseOptions& options,
                   OrientationDecision& d) {
  noteGuess(guess, d);
  if (!guess.found || guess.confidence < options.accuracy.orientationConfidence) return false;
  const bool allowed = options.orientations[guess.degrees / 90];
  d.reason = allowed ? OrientationReason::Detected : OrientationReason::NotAllowed;
  if (allowed) d.rotation = uprightTurn(guess.degrees);
  return true;
}

OrientationDecision decideOrientation(Pix* scan, const PageScale& scale,
                                      const ReleaseOptions& options, Recognizer& recognizer,
                                      bool findPictures) {
  OrientationDecision d;
  if (!options.detectsOrientation()) return d;
  const AccuracyProfile& accuracy = options.accuracy;
  const float sure = accuracy.orientationConfidence;
  const bool readsWhenUnsure = accuracy.tryOrientations && options.recognises();
  const DetectionView view = viewForDetection(scan, scale, false);
  // With fewer characters than kBandCharacters detection is more often unsure than not at "Most
  // Accurate", and reading the page costs little: a profile that reads the page when unsure
  // reads it as scanned first, and detection looks only when that reading shows no upright text.
  const bool readFirst = readsWhenUnsure && view.centres.size() < kBandCharacters;
  OrientationGuess guess;
  // Too few characters (small print) at detection's scale: a profile that reads the page when
  // unsure finds out by reading; the others look again more finely.
  const bool finerLook = detectionFactor(scale, true) > detectionFactor(scale, false);
  if (!readFirst) {
    guess = detect(view, sure, recognizer);
    if (!guess.found && !accuracy.tryOrientations && finerLook)
      guess = detect(scan, scale, true, sure, recognizer);
    if (takeSureGuess(guess, options, d)) return d;
  }
  d.reason = OrientationReason::WeakEvidence;
  if (!readsWhenUnsure) return d;

  // The reading as scanned is needed anyway when the page stays so; when it shows upright
  // text, no other orientation is read.
  Reading scanned = readUpright(scan, scale, accuracy, recognizer, findPictures, true);
  d.tried.push_back(0);
  if (showsUprightText(scanned)) {
    d.reason = OrientationReason::Tried;
    d.orientation = 0;
    d.reading = std::move(scanned);
    return d;
  }
  // Too little text, but what there is reads upright: another orientation finds the same few
  // characters and cannot read twice as much known text from them. Weak evidence.
  if (mostlyUpright(scanned)) {
    d.reading = std::move(scanned);
    return d;
  }
  if (readFirst) {
    guess = detect(view, sure, recognizer);
    if (takeSureGuess(guess, options, d)) {
      if (d.rotation == 0) d.reading = std::move(scanned);
      return d;
    }
  }
  // Small print, too small for detection at its first scale: a finer look names the
  // orientation to read first.
  if (!guess.found && finerLook) {
    guess = detect(scan, scale, true, sure, recognizer);
    noteGuess(guess, d);
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
    Reading reading = readUpright(candidate.get(), scale, accuracy, recognizer, findPictures, true);
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
