#include "release/page_file.h"

#include "release/file_access.h"
#include "release/library_messages.h"
#include "release/release_error.h"

#include <leptonica/allheaders.h>

#include <cstdio>
#include <cstring>

namespace zan::release {
namespace {

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

PageFile PageFile::read(const QString& path) {
  return PageFile(readFile(path, {kPageFileBytes}));
}

PageFile::PageFile(QByteArray bytes) : bytes_(std::move(bytes)) {
  format_ = formatOf(bytes_);
  if (format_ == IFF_UNKNOWN)
    throw ReleaseError(QStringLiteral("not an image (PNG, TIFF, JPEG, PNM or BMP)"));
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

QSize PageFile::declaredSize(int index) const {
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

std::vector<qint64> PageFile::checkedPixels(qint64 pixelLimit) const {
  std::vector<qint64> pixels;
  for (int i = 0; i < pages_; ++i) {
    const QSize s = declaredSize(i);
    const qint64 n = static_cast<qint64>(s.width()) * s.height();
    if (n > pixelLimit)
      throw ReleaseError(QStringLiteral("the image declares %1 × %2 pixels (%3 megapixels); a "
                                        "page may have at most %4 megapixels")
                             .arg(s.width())
                             .arg(s.height())
                             .arg(megapixels(n), megapixels(pixelLimit)));
    pixels.push_back(n);
  }
  return pixels;
}

bool PageFile::isIn(PageFileFormat format) const {
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

PixPtr PageFile::decode(int index, qint64 pixelLimit) const {
  if (index < 0 || index >= pages_)
    throw ReleaseError(QStringLiteral("the file has no page %1").arg(index + 1));
  const QSize s = declaredSize(index);
  if (static_cast<qint64>(s.width()) * s.height() > pixelLimit) checkedPixels(pixelLimit);
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
  return pix;
}

int countPages(const QString& path) {
  return PageFile::read(path).pageCount();
}

PixPtr readPage(const QString& path, int index) {
  return PageFile::read(path).decode(index);
}

}  // namespace zan::release
