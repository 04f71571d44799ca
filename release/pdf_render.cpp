#include "release/pdf_render.h"

#include "release/library_messages.h"
#include "release/release_error.h"

#include <leptonica/allheaders.h>
#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-image.h>
#include <poppler/cpp/poppler-page-renderer.h>
#include <poppler/cpp/poppler-page.h>

#include <unistd.h>

#include <cmath>
#include <memory>
#include <mutex>

namespace zan::release {
namespace {

// A rendered page may be a pixel larger each way than its size says (Poppler rounds up).
constexpr int kRoundingPixels = 2;

void onPopplerMessage(const std::string& message, void*) {
  // Standard error: inside a LibraryMessages scope this becomes the failure's words, outside
  // it is dropped (once captureLibraryMessages() has moved standard error aside).
  const std::string line = "poppler: " + message + "\n";
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
}

// The rendered BGR image as a Pix: 8-bit grey when every pixel is grey, else RGB.
PixPtr toPix(const poppler::image& image) {
  const int w = image.width(), h = image.height();
  bool grey = true;
  for (int y = 0; y < h && grey; ++y) {
    const auto* row =
        reinterpret_cast<const uchar*>(image.const_data() + y * image.bytes_per_row());
    for (int x = 0; x < w && grey; ++x)
      grey = row[3 * x] == row[3 * x + 1] && row[3 * x + 1] == row[3 * x + 2];
  }
  PixPtr pix(pixCreate(w, h, grey ? 8 : 32));
  if (!pix) throw ReleaseError(QStringLiteral("the rendered page cannot be held"));
  for (int y = 0; y < h; ++y) {
    const auto* row =
        reinterpret_cast<const uchar*>(image.const_data() + y * image.bytes_per_row());
    l_uint32* line = pixGetData(pix.get()) + y * pixGetWpl(pix.get());
    for (int x = 0; x < w; ++x) {
      if (grey)
        SET_DATA_BYTE(line, x, row[3 * x]);
      else
        composeRGBPixel(row[3 * x + 2], row[3 * x + 1], row[3 * x], line + x);
    }
  }
  return pix;
}

}  // namespace

void routePdfRendererMessages() {
  static std::once_flag once;
  std::call_once(once, [] { poppler::set_debug_error_function(onPopplerMessage, nullptr); });
}

PixPtr renderPdfPage(const QByteArray& bytes, int index, const QSizeF& size, double dpi,
                     qint64 pixelLimit) {
  routePdfRendererMessages();
  const qint64 w = static_cast<qint64>(std::ceil(size.width() * dpi / 72));
  const qint64 h = static_cast<qint64>(std::ceil(size.height() * dpi / 72));
  if (w * h > pixelLimit)
    throw ReleaseError(QStringLiteral("the PDF page renders into %1 × %2 pixels; a page may have "
                                      "at most %3 megapixels")
                           .arg(w)
                           .arg(h)
                           .arg(pixelLimit / 1000000));
  LibraryMessages said;
  const std::unique_ptr<poppler::document> document(
      poppler::document::load_from_raw_data(bytes.constData(), static_cast<int>(bytes.size())));
  if (!document || document->is_locked())
    throw ReleaseError(QStringLiteral("the PDF cannot be rendered") + said.inParentheses());
  if (index >= document->pages())
    throw ReleaseError(QStringLiteral("the PDF's page %1 cannot be rendered (it shows %2 pages)")
                           .arg(index + 1)
                           .arg(document->pages()));
  const std::unique_ptr<poppler::page> page(document->create_page(index));
  if (!page)
    throw ReleaseError(QStringLiteral("the PDF page cannot be rendered") + said.inParentheses());
  // Poppler's own idea of the page's size, in case it read the file otherwise than qpdf did.
  const poppler::rectf box = page->page_rect(poppler::crop_box);
  if (std::ceil(box.width() * dpi / 72) * std::ceil(box.height() * dpi / 72) >
      static_cast<double>(w + kRoundingPixels) * static_cast<double>(h + kRoundingPixels) + 1)
    throw ReleaseError(QStringLiteral("the PDF page renders larger than its size says"));
  poppler::page_renderer renderer;
  renderer.set_render_hints(poppler::page_renderer::antialiasing |
                            poppler::page_renderer::text_antialiasing);
  renderer.set_image_format(poppler::image::format_bgr24);
  const poppler::image image = renderer.render_page(page.get(), dpi, dpi);
  if (!image.is_valid())
    throw ReleaseError(QStringLiteral("the PDF page cannot be rendered") + said.inParentheses());
  if (image.width() > w + kRoundingPixels || image.height() > h + kRoundingPixels)
    throw ReleaseError(QStringLiteral("the PDF page renders larger than its size says"));
  return toPix(image);
}

}  // namespace zan::release
