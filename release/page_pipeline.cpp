#include "release/page_pipeline.h"

#include "release/recognizer.h"
#include "release/suspect_words.h"
#include "release/word_links.h"

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

// What recognition found on an upright page, in the page's own pixels.
struct Reading {
  std::vector<RecognisedWord> words;
  std::vector<QRect> pictures;
};

QRect unscaled(const QRect& r, double factor) {
  return QRect(qRound(r.x() / factor), qRound(r.y() / factor), qRound(r.width() / factor),
               qRound(r.height() / factor));
}

Reading readUpright(Pix* upright, int dpi, const AccuracyProfile& accuracy, Recognizer& recognizer,
                    bool findPictures) {
  const double factor = scaleInto(dpi, accuracy.recognitionDpiMin, accuracy.recognitionDpiMax);
  const PixPtr image = scaled(upright, factor);
  const int recognitionDpi = qRound(dpi * factor);
  Reading r;
  r.words = recognizer.recognise(image.get(), recognitionDpi, accuracy.singleBlock, false,
                                 findPictures ? &r.pictures : nullptr);
  if (accuracy.adaptiveSecondPass) {
    Reading adaptive;
    adaptive.words = recognizer.recognise(image.get(), recognitionDpi, accuracy.singleBlock, true,
                                          findPictures ? &adaptive.pictures : nullptr);
    if (readingScore(adaptive.words) > readingScore(r.words)) r = std::move(adaptive);
  }
  if (factor != 1.0) {
    for (RecognisedWord& w : r.words) {
      w.box = unscaled(w.box, factor);
      w.baseline /= factor;
      w.fontSize /= factor;
    }
    for (QRect& p : r.pictures) p = unscaled(p, factor);
  }
  return r;
}

QRectF inPoints(const QRect& r, double pageHeight, double k) {
  return QRectF(r.x() * k, pageHeight - (r.y() + r.height()) * k, r.width() * k, r.height() * k);
}

PlacedWord place(const RecognisedWord& w, double pageHeight, double k) {
  PlacedWord p;
  p.text = w.text;
  p.box = inPoints(w.box, pageHeight, k);
  p.paragraph = w.paragraph;
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
  std::optional<Reading> readAlready;
  const bool findPictures = options.keepPictures || options.imageEncoding == ImageEncoding::Compact;

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
      readAlready = readUpright(scan.get(), dpi, accuracy, recognizer, findPictures);
      double best = readingScore(readAlready->words);
      for (int q = 1; q < 4; ++q) {
        if (!options.orientations[q]) continue;
        const PixPtr candidate = turned(scan.get(), uprightTurn(q * 90));
        Reading reading = readUpright(candidate.get(), dpi, accuracy, recognizer, findPictures);
        if (readingScore(reading.words) > best) {
          best = readingScore(reading.words);
          readAlready = std::move(reading);
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
    if (!readAlready)
      readAlready = readUpright(upright.get(), dpi, accuracy, recognizer, findPictures);
    for (const RecognisedWord& w : readAlready->words) {
      PlacedWord p = place(w, result.height, k);
      p.reasons = suspectReasons(w, options.suspects);
      if (!p.reasons.isEmpty()) p.note = suspectNote(w, p.reasons, options.suspects);
      if (options.links) p.link = linkTarget(w.text);
      result.words.push_back(std::move(p));
    }
    if (options.keepPictures && options.content == PageContent::Text) {
      for (const QRect& box : readAlready->pictures) {
        const PixPtr picture = cropped(upright.get(), box);
        result.pictures.push_back(
            {inPoints(box, result.height, k), encodeJpeg(picture.get(), options.imageQuality)});
      }
    }
  }
  if (options.content != PageContent::Text) {
    if (options.imageEncoding == ImageEncoding::Compact) {
      // A page with pictures keeps their shades: it is never reduced to one bit a pixel.
      const bool mayBeBitonal = !readAlready || readAlready->pictures.empty();
      result.image =
          encodeCompact(upright.get(), dpi, options.compactDpi, options.imageQuality, mayBeBitonal);
    } else {
      const bool unchanged = result.rotation == 0 && page.pageCount == 1;
      result.image = encodeForPdf(upright.get(), unchanged ? page.path : QString());
    }
  }
  if (options.thumbnailSize > 0)
    result.thumbnail = thumbnailOf(upright.get(), options.thumbnailSize);
  return result;
}

}  // namespace zan::release
