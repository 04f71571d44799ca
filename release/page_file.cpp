#include "release/page_file.h"

#include "release/file_access.h"
#include "release/library_messages.h"
#include "release/pdf_page_file.h"
#include "release/pdf_render.h"
#include "release/release_error.h"

#include <leptonica/allheaders.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace zan::release {
namespace {

// A PDF file's format, beside Leptonica's.
constexpr int kPdfFormat = -1;

constexpr int kAssumedDpi = 300;
constexpr int kLeastPlausibleDpi = 50;
constexpr int kMostPlausibleDpi = 9600;
// Below this resolution (a screen's), a page larger than 17 x 24 inches is implausible.
constexpr int kScreenDpi = 150;
constexpr double kLargestPageShortSide = 17, kLargestPageLongSide = 24;
// A PDF page's image is taken as stored when its resolution across and down differ by at most
// this share (else it is rendered: the page has one resolution).
constexpr double kSquarePixels = 0.01;

// How a PDF page becomes pixels: its one image as stored at `dpi`, or rendered.
struct PdfPlan {
  bool stored = false;
  QSize pixels;
  double dpi = kPdfRenderDpi;
};

PdfPlan planOf(const PdfPageFacts& f) {
  PdfPlan p;
  if (f.oneImage) {
    const QSizeF unturned = f.rotate % 180 ? f.size.transposed() : f.size;
    const double across = f.imageSize.width() * 72.0 / unturned.width();
    const double down = f.imageSize.height() * 72.0 / unturned.height();
    if (std::abs(across - down) <= kSquarePixels * across) {
      p.stored = true;
      p.pixels = f.imageSize;
      p.dpi = across;
      return p;
    }
  }
  p.pixels = QSize(static_cast<int>(std::ceil(f.size.width() * kPdfRenderDpi / 72)),
                   static_cast<int>(std::ceil(f.size.height() * kPdfRenderDpi / 72)));
  return p;
}

const l_uint8* data(const QByteArray& bytes) {
  return reinterpret_cast<const l_uint8*>(bytes.constData());
}

// The file's Leptonica format; IFF_UNKNOWN for anything that is not a page image we take.
int formatOf(const QByteArray& bytes) {
  if (bytes.size() < 16) return IFF_UNKNOWN;  // the format test reads the first 12 bytes
  l_int32 format = IFF_UNKNOWN;
  if (findFileFormatBuffer(data(bytes), &format) != 0) return IFF_UNKNOWN;
  if (format == IFF_PNG || format == IFF_JFIF_JPEG || format == IFF_PNM || format == IFF_BMP ||
      L_FORMAT_IS_TIFF(format))
    return format;
  return IFF_UNKNOWN;
}

quint32 littleEndian(const QByteArray& b, int at, int bytes) {
  quint32 v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<quint8>(b.at(at + i));
  return v;
}

// A BMP's width and height from its header (Leptonica has no header reader for BMP).
QSize bmpSize(const QByteArray& b) {
  if (b.size() < 26) return {};
  if (littleEndian(b, 14, 4) == 12)  // the old OS/2 header: 16-bit sizes
    return QSize(static_cast<int>(littleEndian(b, 18, 2)),
                 static_cast<int>(littleEndian(b, 20, 2)));
  if (b.size() < 30) return {};
  const auto w = static_cast<qint32>(littleEndian(b, 18, 4));
  const auto h = static_cast<qint32>(littleEndian(b, 22, 4));  // negative: stored top-down
  if (w <= 0 || h == INT32_MIN) return {};
  return QSize(w, h < 0 ? -h : h);
}

QString megapixels(qint64 pixels) {
  const double m = static_cast<double>(pixels) / 1e6;
  return m >= 10 ? QString::number(qRound64(m)) : QString::number(m, 'g', 3);
}

}  // namespace

void PixDeleter::operator()(Pix* pix) const {
  pixDestroy(&pix);
}

QString resolutionSourceName(ResolutionSource source) {
  switch (source) {
    case ResolutionSource::Stated:
      return QStringLiteral("stated");
    case ResolutionSource::NoneStated:
      return QStringLiteral("none stated");
    case ResolutionSource::Implausible:
      return QStringLiteral("implausible");
    case ResolutionSource::Given:
      return QStringLiteral("--image-dpi");
    case ResolutionSource::PdfPage:
      return QStringLiteral("PDF page");
  }
  return {};
}

PageResolution imageResolution(int stated, int width, int height, int given) {
  if (given > 0) return {static_cast<double>(given), ResolutionSource::Given, stated};
  if (stated <= 1) return {kAssumedDpi, ResolutionSource::NoneStated, 0};
  const double shortSide = static_cast<double>(std::min(width, height)) / stated;
  const double longSide = static_cast<double>(std::max(width, height)) / stated;
  const bool tooLarge =
      stated < kScreenDpi && shortSide > kLargestPageShortSide && longSide > kLargestPageLongSide;
  if (stated < kLeastPlausibleDpi || stated > kMostPlausibleDpi || tooLarge)
    return {kAssumedDpi, ResolutionSource::Implausible, stated};
  return {static_cast<double>(stated), ResolutionSource::Stated, stated};
}

PageFile PageFile::read(const QString& path) {
  return PageFile(readFile(path, {kPageFileBytes}));
}

PageFile::PageFile(QByteArray bytes) : bytes_(std::move(bytes)) {
  if (PdfFile::looksLikePdf(bytes_)) {
    format_ = kPdfFormat;
    pdf_ = std::make_unique<PdfFile>(bytes_);
    pages_ = pdf_->pageCount();
    return;
  }
  format_ = formatOf(bytes_);
  if (format_ == IFF_UNKNOWN)
    throw ReleaseError(QStringLiteral("not an image or PDF (PNG, TIFF, JPEG, PNM, BMP or PDF)"));
  pages_ = 1;
  if (L_FORMAT_IS_TIFF(format_)) {
    LibraryMessages said;
    FILE* file = fopenReadFromMemory(data(bytes_), static_cast<size_t>(bytes_.size()));
    l_int32 n = 0;
    const bool counted = file && tiffGetCount(file, &n) == 0;
    if (file) std::fclose(file);
    if (!counted || n < 1)
      throw ReleaseError(QStringLiteral("a TIFF file without pages") + said.inParentheses());
    pages_ = n;
  }
}

PageFile::~PageFile() = default;
PageFile::PageFile(PageFile&&) noexcept = default;

QSize PageFile::declaredSize(int index) const {
  if (pdf_) return planOf(pdf_->facts(index)).pixels;
  LibraryMessages said;
  l_int32 w = 0, h = 0, bps = 0, spp = 0, other = 0, cmap = 0, format = 0;
  const auto size = static_cast<size_t>(bytes_.size());
  bool ok = false;
  if (L_FORMAT_IS_TIFF(format_)) {
    ok = readHeaderMemTiff(data(bytes_), size, index, &w, &h, &bps, &spp, &other, &cmap, &format) ==
         0;
  } else if (format_ == IFF_PNG) {
    ok = readHeaderMemPng(data(bytes_), size, &w, &h, &bps, &spp, &cmap) == 0;
  } else if (format_ == IFF_JFIF_JPEG) {
    ok = readHeaderMemJpeg(data(bytes_), size, &w, &h, &spp, nullptr, nullptr) == 0;
  } else if (format_ == IFF_PNM) {
    ok = readHeaderMemPnm(data(bytes_), size, &w, &h, &other, &format, &bps, &spp) == 0;
  } else if (format_ == IFF_BMP) {
    const QSize s = bmpSize(bytes_);
    ok = s.isValid();
    w = s.width();
    h = s.height();
  }
  if (!ok || w <= 0 || h <= 0)
    throw ReleaseError(QStringLiteral("the image's header cannot be read") + said.inParentheses());
  return QSize(w, h);
}

qint64 PageFile::checkedSize(int index, qint64 pixelLimit) const {
  const QSize s = declaredSize(index);
  const qint64 n = static_cast<qint64>(s.width()) * s.height();
  if (n > pixelLimit)
    throw ReleaseError(
        QStringLiteral("%1 %2 × %3 pixels (%4 megapixels); a page may have at most "
                       "%5 megapixels")
            .arg(pdf_ ? QStringLiteral("the PDF page needs") : QStringLiteral("the image declares"))
            .arg(s.width())
            .arg(s.height())
            .arg(megapixels(n), megapixels(pixelLimit)));
  return n;
}

std::vector<qint64> PageFile::checkedPixels(qint64 pixelLimit) const {
  std::vector<qint64> pixels;
  for (int i = 0; i < pages_; ++i) pixels.push_back(checkedSize(i, pixelLimit));
  return pixels;
}

bool PageFile::isIn(PageFileFormat format) const {
  if (pdf_) return false;
  switch (format) {
    case PageFileFormat::Tiff:
      return L_FORMAT_IS_TIFF(format_);
    case PageFileFormat::Png:
      return format_ == IFF_PNG;
    case PageFileFormat::Jpeg:
      return format_ == IFF_JFIF_JPEG;
  }
  return false;
}

bool PageFile::isJpeg() const {
  return format_ == IFF_JFIF_JPEG;
}

TakenPage PageFile::take(int index, int imageDpi, qint64 pixelLimit) const {
  if (index < 0 || index >= pages_)
    throw ReleaseError(QStringLiteral("the file has no page %1").arg(index + 1));
  if (pdf_) return takePdfPage(index, pixelLimit);
  const QSize s = declaredSize(index);
  checkedSize(index, pixelLimit);
  LibraryMessages said;
  const auto size = static_cast<size_t>(bytes_.size());
  PixPtr pix(L_FORMAT_IS_TIFF(format_) ? pixReadMemTiff(data(bytes_), size, index)
                                       : pixReadMem(data(bytes_), size));
  if (!pix)
    throw ReleaseError(QStringLiteral("the image cannot be decoded") + said.inParentheses());
  if (pixGetWidth(pix.get()) != s.width() || pixGetHeight(pix.get()) != s.height())
    throw ReleaseError(QStringLiteral("the image is not of the size its header declares"));
  if (pixGetSpp(pix.get()) == 4 && pixGetDepth(pix.get()) == 32) {
    PixPtr opaque(pixAlphaBlendUniform(pix.get(), 0xffffff00));
    if (!opaque)
      throw ReleaseError(QStringLiteral("the image cannot be decoded") + said.inParentheses());
    pixSetInputFormat(opaque.get(), pixGetInputFormat(pix.get()));
    pix = std::move(opaque);
  }
  TakenPage taken;
  taken.resolution = imageResolution(pixGetXRes(pix.get()), s.width(), s.height(), imageDpi);
  taken.pix = std::move(pix);
  if (format_ == IFF_JFIF_JPEG) taken.jpeg = bytes_;
  return taken;
}

TakenPage PageFile::takePdfPage(int index, qint64 pixelLimit) const {
  const PdfPageFacts facts = pdf_->facts(index);
  const PdfPlan plan = planOf(facts);
  checkedSize(index, pixelLimit);
  TakenPage taken;
  taken.resolution = {plan.dpi, ResolutionSource::PdfPage, 0};
  if (plan.stored) {
    PdfStoredImage stored = pdf_->storedImage(index, pixelLimit);
    if (stored.pix) {
      taken.pix = std::move(stored.pix);
      taken.jpeg = std::move(stored.jpeg);
      taken.rotate = facts.rotate;
      return taken;
    }
  }
  // Not one image, or one that cannot be taken as stored: rendered, at the image's own
  // resolution when it is one image.
  taken.pix = renderPdfPage(bytes_, index, facts.size, plan.dpi, pixelLimit);
  return taken;
}

PixPtr PageFile::decode(int index, qint64 pixelLimit) const {
  return take(index, 0, pixelLimit).pix;
}

int countPages(const QString& path) {
  return PageFile::read(path).pageCount();
}

PixPtr readPage(const QString& path, int index) {
  return PageFile::read(path).decode(index);
}

}  // namespace zan::release
