#include "release/page_pipeline.h"

#include "release/recognizer.h"
#include "release/suspect_words.h"

#include <leptonica/allheaders.h>

#include <algorithm>

namespace zan::release {
namespace {

constexpr double kPointsPerInch = 72.0;

// The factor that brings a `dpi` scan into [least, most] dpi (least 0: no lower bound).
double scaleInto(int dpi, int least, int most) {
  const int target = std::clamp(dpi, least > 0 ? least : 1, std::max(most, least));
  return static_cast<double>(target) / dpi;
}

// The words of an upright page, in the page's own pixels.
std::vector<RecognisedWord> readUpright(Pix* upright, int dpi, const AccuracyProfile& accuracy,
                                        Recognizer& recognizer) {
  const double factor = scaleInto(dpi, accuracy.recognitionDpiMin, accuracy.recognitionDpiMax);
  const PixPtr image = scaled(upright, factor);
  const int recognitionDpi = qRound(dpi * factor);
  std::vector<RecognisedWord> words =
      recognizer.recognise(image.get(), recognitionDpi, accuracy.singleBlock, false);
  if (accuracy.adaptiveSecondPass) {
    std::vector<RecognisedWord> adaptive =
        recognizer.recognise(image.get(), recognitionDpi, accuracy.singleBlock, true);
    if (readingScore(adaptive) > readingScore(words)) words = std::move(adaptive);
  }
  if (factor != 1.0) {
    for (RecognisedWord& w : words) {
      w.box = QRect(qRound(w.box.x() / factor), qRound(w.box.y() / factor),
                    qRound(w.box.width() / factor), qRound(w.box.height() / factor));
      w.baseline /= factor;
      w.fontSize /= factor;
    }
  }
  return words;
}

PlacedWord place(const RecognisedWord& w, double pageHeight, double k) {
  PlacedWord p;
  p.text = w.text;
  p.box = QRectF(w.box.x() * k, pageHeight - (w.box.y() + w.box.height()) * k, w.box.width() * k,
                 w.box.height() * k);
  p.fontSize = w.fontSize * k;
  p.confidence = w.confidence;
  switch (w.up) {
    case TextUp::North:
      p.origin = QPointF(p.box.left(), pageHeight - w.baseline * k);
      p.length = p.box.width();
      break;
    case TextUp::South:
      p.origin = QPointF(p.box.right(), pageHeight - w.baseline * k);
      p.angle = 180;
      p.length = p.box.width();
      break;
    case TextUp::East:
      p.origin = QPointF(w.baseline * k, p.box.bottom());
      p.angle = 270;
      p.length = p.box.height();
      break;
    case TextUp::West:
      p.origin = QPointF(w.baseline * k, p.box.top());
      p.angle = 90;
      p.length = p.box.height();
      break;
  }
  return p;
}

// The clockwise turn that stands a page upright whose content is turned by `orientation`.
int uprightTurn(int orientation) {
  return (360 - orientation) % 360;
}

}  // namespace

PageResult processPage(const PageSource& page, const ReleaseOptions& options,
                       Recognizer& recognizer) {
  const PixPtr scan = readPage(page.path, page.index);
  const int dpi = pageResolution(scan.get());
  const AccuracyProfile& accuracy = options.accuracy;
  PageResult result;
  std::optional<std::vector<RecognisedWord>> readAlready;

  if (options.detectsOrientation()) {
    const double factor = scaleInto(dpi, 0, accuracy.orientationDpi);
    const PixPtr small = scaled(scan.get(), factor);
    const OrientationGuess guess = recognizer.detectOrientation(small.get(), qRound(dpi * factor));
    result.orientationDetected = guess.found;
    result.orientation = guess.degrees;
    result.orientationConfidence = guess.confidence;
    if (guess.found && guess.confidence >= accuracy.orientationConfidence) {
      if (options.orientations[guess.degrees / 90]) result.rotation = uprightTurn(guess.degrees);
    } else if (accuracy.tryOrientations && options.recognises()) {
      // Detection is unsure: read the page in each allowed orientation and keep the reading
      // with the most confident known words.
      readAlready = readUpright(scan.get(), dpi, accuracy, recognizer);
      double best = readingScore(*readAlready);
      for (int q = 1; q < 4; ++q) {
        if (!options.orientations[q]) continue;
        const PixPtr candidate = turned(scan.get(), uprightTurn(q * 90));
        std::vector<RecognisedWord> words = readUpright(candidate.get(), dpi, accuracy, recognizer);
        if (readingScore(words) > best) {
          best = readingScore(words);
          readAlready = std::move(words);
          result.orientation = q * 90;
          result.rotation = uprightTurn(q * 90);
        }
      }
    }
  }

  const PixPtr upright = turned(scan.get(), result.rotation);
  const double k = kPointsPerInch / dpi;
  result.width = pixGetWidth(upright.get()) * k;
  result.height = pixGetHeight(upright.get()) * k;
  if (options.recognises()) {
    if (!readAlready) readAlready = readUpright(upright.get(), dpi, accuracy, recognizer);
    for (const RecognisedWord& w : *readAlready) {
      PlacedWord p = place(w, result.height, k);
      p.reasons = suspectReasons(w, options.suspects);
      if (!p.reasons.isEmpty()) p.note = suspectNote(w, p.reasons, options.suspects);
      result.words.push_back(std::move(p));
    }
  }
  if (options.content != PageContent::Text) {
    const bool unchanged = result.rotation == 0 && page.pageCount == 1;
    result.image = encodeForPdf(upright.get(), unchanged ? page.path : QString());
  }
  return result;
}

}  // namespace zan::release
