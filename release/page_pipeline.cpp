#include "release/page_pipeline.h"

#include "release/page_deskew.h"
#include "release/page_reading.h"
#include "release/pdf_page_file.h"
#include "release/reading_scale.h"
#include "release/recognizer.h"
#include "release/release_error.h"
#include "release/suspect_words.h"
#include "release/word_links.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cmath>

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
  p.fontConfidence = w.lowestCharConfidence;
  p.inDictionary = w.inDictionary;
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

// Tools that extract text tell two words on a line apart by the gap between them (Poppler's
// pdftotext joins words closer than about a tenth of the font size). Recognition finds the boxes of
// closely set words touching now and then (a stain or grain between them), so a word is drawn short
// enough to leave this share of its font size before the next word on its line.
constexpr double kLeastWordGap = 0.15;

// A PDF page that carries text, kept as it is: nothing of it is decoded or recognised.
PageResult keptPage(const PageFile& file, int index, const PdfPageFacts& facts,
                    const ReleaseOptions& options) {
  if (options.standard == PdfStandard::PdfA2b && !facts.archiveObstacle.isEmpty())
    throw ReleaseError(QStringLiteral("the page carries text, so it is kept as it is, and has %1, "
                                      "which PDF/A-2b does not allow: --pdf-text read reads it "
                                      "again from its image, --pdfa none keeps it as it is")
                           .arg(facts.archiveObstacle));
  PageResult result;
  result.resolution = {0, ResolutionSource::PdfPage, 0};
  result.kept = KeptPdfPage{file.bytes(), index};
  result.width = facts.size.width();
  result.height = facts.size.height();
  return result;
}

}  // namespace

void keepWordsApart(std::vector<PlacedWord>& words) {
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    PlacedWord& w = words[i];
    const PlacedWord& next = words[i + 1];
    if (w.angle != 0 || next.angle != 0 || next.origin.x() <= w.origin.x() ||
        std::abs(next.origin.y() - w.origin.y()) > 0.5 * w.fontSize)
      continue;
    const double room = next.origin.x() - w.origin.x() - kLeastWordGap * w.fontSize;
    if (room < w.length) w.length = std::max(room, 0.5 * w.length);
  }
}

void markSuspects(std::vector<PlacedWord>& words, const SuspectMarkers& markers) {
  RecognisedWord kept;
  for (PlacedWord& p : words) {
    kept.text = p.text;
    kept.confidence = p.confidence;
    kept.lowestCharConfidence = p.fontConfidence;
    kept.inDictionary = p.inDictionary;
    p.reasons = suspectReasons(kept, markers);
    p.note = p.reasons.isEmpty() ? QString() : suspectNote(kept, p.reasons, markers);
  }
}

PageResult processPage(const PageSource& page, const ReleaseOptions& options,
                       Recognizer& recognizer) {
  // The language's model loads while the page is read; detection's only when it is used (a
  // page with too few characters for it needs none). Loading detection's here as well was
  // measured: no gain on a page that detection looks at (the two loads and the page's reading
  // share two cores), a fifth more time on a picture page that it does not.
  recognizer.prepare(options.recognises(), false);
  const PageFile file = PageFile::read(page.path);
  if (const PdfFile* pdf = file.pdf()) {
    const PdfPageFacts facts = pdf->facts(page.index);
    if (facts.carriesText && !options.readPdfText)
      return keptPage(file, page.index, facts, options);
  }
  TakenPage taken = file.take(page.index, options.imageDpi);
  PixPtr scan = std::move(taken.pix);
  PageResult result;
  result.resolution = taken.resolution;
  const double dpi = result.resolution.dpi;
  if (options.deskew) {
    if (PixPtr level = straightened(scan.get(), &result.deskewed)) scan = std::move(level);
  }
  const bool findPictures = options.keepPictures || options.imageEncoding == ImageEncoding::Compact;
  PageScale scale{dpi, 0};
  if (options.recognises() || options.detectsOrientation())
    scale.characterHeight = characterHeight(scan.get());
  // A PDF page's image stored turned: orientation is decided on the page as it is shown.
  const PixPtr shown = taken.rotate ? turned(scan.get(), taken.rotate) : PixPtr();
  OrientationDecision decision =
      decideOrientation(shown ? shown.get() : scan.get(), scale, options, recognizer, findPictures);
  result.orientationDetected = decision.detected;
  result.orientation = decision.orientation;
  result.orientationConfidence = decision.confidence;
  result.orientationReason = decision.reason;
  result.rotation = (taken.rotate + decision.rotation) % 360;

  const PixPtr upright =
      result.rotation ? turned(scan.get(), result.rotation) : PixPtr(pixClone(scan.get()));
  const double k = kPointsPerInch / dpi;
  result.width = pixGetWidth(upright.get()) * k;
  result.height = pixGetHeight(upright.get()) * k;
  std::optional<Reading>& reading = decision.reading;
  if (options.recognises()) {
    if (reading)
      completeReading(*reading, upright.get(), scale, options.accuracy, recognizer, findPictures);
    else
      reading = readUpright(upright.get(), scale, options.accuracy, recognizer, findPictures);
    for (const RecognisedWord& w : reading->words) {
      PlacedWord p = place(w, result.height, k);
      if (options.links) p.link = linkTarget(w.text);
      result.words.push_back(std::move(p));
    }
    keepWordsApart(result.words);
    markSuspects(result.words, options.suspects);
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
      result.image = encodeCompact(scan.get(), qRound(dpi), options.compactDpi,
                                   options.imageQuality, mayBeBitonal);
    } else {
      result.image = encodeForPdf(scan.get(), result.deskewed == 0 ? taken.jpeg : QByteArray());
    }
  }
  if (options.thumbnailSize > 0)
    result.thumbnail = thumbnailOf(upright.get(), options.thumbnailSize);
  return result;
}

}  // namespace zan::release
