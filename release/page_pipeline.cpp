#include "release/page_pipeline.h"

#include "release/page_deskew.h"
#include "release/page_reading.h"
#include "release/recognizer.h"
#include "release/suspect_words.h"
#include "release/word_links.h"

#include <leptonica/allheaders.h>

namespace zan::release {
namespace {

constexpr double kPointsPerInch = 72.0;

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

}  // namespace

PageResult processPage(const PageSource& page, const ReleaseOptions& options,
                       Recognizer& recognizer) {
  // The language's model loads while the page is read; detection's only when it is used (a
  // page with too few characters for it needs none).
  recognizer.prepare(options.recognises(), false);
  PixPtr scan = readPage(page.path, page.index);
  const int dpi = pageResolution(scan.get());
  PageResult result;
  if (options.deskew) {
    if (PixPtr level = straightened(scan.get(), &result.deskewed)) scan = std::move(level);
  }
  const bool findPictures = options.keepPictures || options.imageEncoding == ImageEncoding::Compact;
  OrientationDecision decision =
      decideOrientation(scan.get(), dpi, options, recognizer, findPictures);
  result.orientationDetected = decision.detected;
  result.orientation = decision.orientation;
  result.orientationConfidence = decision.confidence;
  result.orientationReason = decision.reason;
  result.rotation = decision.rotation;

  const PixPtr upright =
      result.rotation ? turned(scan.get(), result.rotation) : PixPtr(pixClone(scan.get()));
  const double k = kPointsPerInch / dpi;
  result.width = pixGetWidth(upright.get()) * k;
  result.height = pixGetHeight(upright.get()) * k;
  std::optional<Reading>& reading = decision.reading;
  if (options.recognises()) {
    if (reading)
      completeReading(*reading, upright.get(), dpi, options.accuracy, recognizer, findPictures);
    else
      reading = readUpright(upright.get(), dpi, options.accuracy, recognizer, findPictures);
    for (const RecognisedWord& w : reading->words) {
      PlacedWord p = place(w, result.height, k);
      p.reasons = suspectReasons(w, options.suspects);
      if (!p.reasons.isEmpty()) p.note = suspectNote(w, p.reasons, options.suspects);
      if (options.links) p.link = linkTarget(w.text);
      result.words.push_back(std::move(p));
    }
    if (options.keepPictures && options.content == PageContent::Text) {
      for (const QRect& box : reading->pictures) {
        const PixPtr picture = cropped(upright.get(), box);
        result.pictures.push_back(
            {inPoints(box, result.height, k), encodeJpeg(picture.get(), options.imageQuality)});
      }
    }
  }
  if (options.content != PageContent::Text) {
    // The image as scanned: the PDF turns it upright by its placing matrix.
    if (options.imageEncoding == ImageEncoding::Compact) {
      // A page with pictures keeps their shades: it is never reduced to one bit a pixel.
      const bool mayBeBitonal = !reading || reading->pictures.empty();
      result.image =
          encodeCompact(scan.get(), dpi, options.compactDpi, options.imageQuality, mayBeBitonal);
    } else {
      const bool asStored = page.pageCount == 1 && result.deskewed == 0;
      result.image = encodeForPdf(scan.get(), asStored ? page.path : QString());
    }
  }
  if (options.thumbnailSize > 0)
    result.thumbnail = thumbnailOf(upright.get(), options.thumbnailSize);
  return result;
}

}  // namespace zan::release
