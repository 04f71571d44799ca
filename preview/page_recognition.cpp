#include "page_recognition.h"

#include "release/page_file.h"
#include "release/page_image.h"
#include "release/release_error.h"

#include <leptonica/allheaders.h>

#include <QTransform>

namespace zan::preview {
namespace {

// Leptonica's pixels as a QImage (RGB32), any depth or colour map.
QImage toImage(Pix* pix) {
  release::PixPtr rgb(pixConvertTo32(pix));
  if (!rgb) return {};
  const int w = pixGetWidth(rgb.get()), h = pixGetHeight(rgb.get());
  const int wpl = pixGetWpl(rgb.get());
  const l_uint32* data = pixGetData(rgb.get());
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    const l_uint32* line = data + static_cast<qsizetype>(y) * wpl;
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const l_uint32 v = line[x];
      out[x] = qRgb(static_cast<int>(v >> 24), static_cast<int>((v >> 16) & 0xff),
                    static_cast<int>((v >> 8) & 0xff));
    }
  }
  return image;
}

// The page image upright, as the PDF draws it, at no more than kViewDpi.
QImage uprightImage(const release::PageFile& file, const release::PageSource& page,
                    const release::PageResult& result, int imageDpi) {
  release::TakenPage taken = file.take(page.index, imageDpi);
  const double dpi = taken.resolution.dpi;
  release::PixPtr pix = std::move(taken.pix);
  if (dpi > kViewDpi) pix = release::scaled(pix.get(), kViewDpi / dpi);
  if (result.rotation) pix = release::turned(pix.get(), result.rotation);
  QImage image = toImage(pix.get());
  if (result.deskewed != 0)  // levelled as the release levels it, counter-clockwise
    image = image.transformed(QTransform().rotate(-result.deskewed), Qt::SmoothTransformation);
  return image;
}

}  // namespace

RecognisedPage recognisePage(const PageRequest& request, KeptRecognizer& kept) {
  RecognisedPage page;
  try {
    const release::ReleaseOptions& o = request.options;
    const QString key = o.language.model + QLatin1Char('\n') + o.userWordsFile;
    if (!kept.recognizer || key != kept.key) {
      kept.recognizer.reset();
      kept.recognizer = std::make_unique<release::Recognizer>(o.language.model, o.userWordsFile);
      kept.key = key;
    }
    release::Recognizer& recognizer = *kept.recognizer;
    const release::PageFile file = release::PageFile::read(request.page.path);
    page.pageCount = file.pageCount();
    release::PageSource source = request.page;
    source.pageCount = page.pageCount;
    if (source.index >= page.pageCount)
      throw release::ReleaseError(QStringLiteral("the file holds %1 pages").arg(page.pageCount));
    // The recognizer outlives the request: it must not keep reading the request's flag.
    struct CancelFlag {
      release::Recognizer& recognizer;
      ~CancelFlag() { recognizer.setCancelFlag(nullptr); }
    } flag{recognizer};
    recognizer.setCancelFlag(request.cancelled.get());
    auto result =
        std::make_shared<release::PageResult>(release::processPage(source, o, recognizer));
    if (request.cancelled && *request.cancelled)
      throw release::ReleaseError(release::kRecognitionCancelled);
    if (!result->kept) page.image = uprightImage(file, source, *result, o.imageDpi);
    page.result = std::move(result);
  } catch (const release::ReleaseError& e) {
    page.failure = e.message();
  } catch (const std::exception& e) {
    page.failure = QString::fromLocal8Bit(e.what());
  }
  return page;
}

}  // namespace zan::preview
