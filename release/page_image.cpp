#include "release/page_image.h"

#include "release/release_error.h"

#include <QFile>
#include <QFileInfo>

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cstdio>

namespace zan::release {
namespace {

constexpr int kAssumedDpi = 300;
constexpr int kLeastPlausibleDpi = 70;
constexpr int kMostPlausibleDpi = 2400;

struct CompDataDeleter {
  void operator()(L_COMP_DATA* cid) const { l_CIDataDestroy(&cid); }
};
using CompDataPtr = std::unique_ptr<L_COMP_DATA, CompDataDeleter>;

QByteArray localPath(const QString& path) {
  return QFile::encodeName(path);
}

// The file's Leptonica format; IFF_UNKNOWN for anything that is not a page image we take.
int pageFormat(const QString& path) {
  l_int32 format = IFF_UNKNOWN;
  if (findFileFormat(localPath(path).constData(), &format) != 0) return IFF_UNKNOWN;
  if (format == IFF_PNG || format == IFF_JFIF_JPEG || format == IFF_PNM || format == IFF_BMP ||
      L_FORMAT_IS_TIFF(format))
    return format;
  return IFF_UNKNOWN;
}

int formatOf(const QString& path) {
  QFileInfo info(path);
  if (!info.exists()) throw ReleaseError(QStringLiteral("no such file"));
  if (info.isDir()) throw ReleaseError(QStringLiteral("a folder, not an image"));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw ReleaseError(file.errorString());
  const int format = pageFormat(path);
  if (format == IFF_UNKNOWN)
    throw ReleaseError(QStringLiteral("not an image (PNG, TIFF, JPEG, PNM or BMP)"));
  return format;
}

PdfImageData fromCompData(const L_COMP_DATA& cid) {
  PdfImageData d;
  d.data = QByteArray(reinterpret_cast<const char*>(cid.datacomp),
                      static_cast<qsizetype>(cid.nbytescomp));
  d.filter = cid.type == L_JPEG_ENCODE ? QByteArrayLiteral("DCTDecode")
             : cid.type == L_G4_ENCODE ? QByteArrayLiteral("CCITTFaxDecode")
                                       : QByteArrayLiteral("FlateDecode");
  d.width = cid.w;
  d.height = cid.h;
  d.bitsPerComponent = cid.bps;
  d.components = cid.spp;
  d.pngPredictor = cid.type == L_FLATE_ENCODE && cid.predictor;
  if (cid.ncolors > 0 && cid.cmapdatahex) {
    QByteArray hex(cid.cmapdatahex);
    hex = hex.mid(hex.indexOf('<') + 1);
    hex.truncate(hex.indexOf('>'));
    d.colorSpace = QByteArrayLiteral("Indexed");
    d.palette = QByteArray::fromHex(hex);
  } else {
    d.colorSpace = cid.spp == 1   ? QByteArrayLiteral("DeviceGray")
                   : cid.spp == 4 ? QByteArrayLiteral("DeviceCMYK")
                                  : QByteArrayLiteral("DeviceRGB");
  }
  return d;
}

// The image as 8-bit grey or 32-bit RGB, without a colour map.
PixPtr normalised(Pix* pix) {
  PixPtr result;
  if (pixGetColormap(pix))
    result.reset(pixRemoveColormap(pix, REMOVE_CMAP_BASED_ON_SRC));
  else if (pixGetDepth(pix) == 8 || pixGetDepth(pix) == 32)
    result.reset(pixClone(pix));
  else
    result.reset(pixConvertTo8(pix, 0));
  if (result && pixGetDepth(result.get()) != 8 && pixGetDepth(result.get()) != 32)
    result.reset(pixConvertTo8(result.get(), 0));
  if (!result) throw ReleaseError(QStringLiteral("the image cannot be converted"));
  return result;
}

PdfImageData encoded(Pix* pix, l_int32 type, int quality) {
  L_COMP_DATA* raw = nullptr;
  pixGenerateCIData(pix, type, quality, 0, &raw);
  CompDataPtr cid(raw);
  if (!cid) throw ReleaseError(QStringLiteral("the page image cannot be encoded"));
  PdfImageData d = fromCompData(*cid);
  if (cid->type == L_G4_ENCODE) d.invert = cid->minisblack;
  return d;
}

}  // namespace

void PixDeleter::operator()(Pix* pix) const {
  pixDestroy(&pix);
}

void silenceImageLibraryMessages() {
  setMsgSeverity(L_SEVERITY_NONE);
}

int countPages(const QString& path) {
  const int format = formatOf(path);
  if (!L_FORMAT_IS_TIFF(format)) return 1;
  FILE* file = std::fopen(localPath(path).constData(), "rb");
  if (!file) throw ReleaseError(QStringLiteral("cannot be opened"));
  l_int32 n = 0;
  const bool counted = tiffGetCount(file, &n) == 0;
  std::fclose(file);
  if (!counted || n < 1) throw ReleaseError(QStringLiteral("a TIFF file without pages"));
  return n;
}

PixPtr readPage(const QString& path, int index) {
  const int format = formatOf(path);
  PixPtr pix(L_FORMAT_IS_TIFF(format) ? pixReadTiff(localPath(path).constData(), index)
                                      : pixRead(localPath(path).constData()));
  if (!pix) throw ReleaseError(QStringLiteral("the image cannot be decoded"));
  if (pixGetSpp(pix.get()) == 4 && pixGetDepth(pix.get()) == 32) {
    PixPtr opaque(pixAlphaBlendUniform(pix.get(), 0xffffff00));
    if (!opaque) throw ReleaseError(QStringLiteral("the image cannot be decoded"));
    pixSetInputFormat(opaque.get(), pixGetInputFormat(pix.get()));
    pix = std::move(opaque);
  }
  return pix;
}

int pageResolution(const Pix* pix) {
  const int dpi = pixGetXRes(pix);
  return dpi >= kLeastPlausibleDpi && dpi <= kMostPlausibleDpi ? dpi : kAssumedDpi;
}

PixPtr scaled(Pix* pix, double factor) {
  if (factor > 0.999 && factor < 1.001) return PixPtr(pixClone(pix));
  PixPtr source;
  if (pixGetColormap(pix) || (pixGetDepth(pix) != 8 && pixGetDepth(pix) != 32))
    source.reset(pixConvertTo8(pix, 0));
  else
    source.reset(pixClone(pix));
  const auto f = static_cast<l_float32>(factor);
  PixPtr result(pixScale(source.get(), f, f));
  if (!result) throw ReleaseError(QStringLiteral("the image cannot be scaled"));
  return result;
}

PixPtr turned(Pix* pix, int degrees) {
  PixPtr result(pixRotateOrth(pix, (degrees / 90) % 4));
  if (!result) throw ReleaseError(QStringLiteral("the image cannot be turned"));
  return result;
}

PixPtr cropped(Pix* pix, const QRect& box) {
  BOX* b = boxCreate(box.x(), box.y(), box.width(), box.height());
  PixPtr result(pixClipRectangle(pix, b, nullptr));
  boxDestroy(&b);
  if (!result) throw ReleaseError(QStringLiteral("the picture region cannot be cut out"));
  return result;
}

bool looksBitonal(Pix* pix) {
  if (pixGetDepth(pix) == 1 && !pixGetColormap(pix)) return true;
  PixPtr image = normalised(pix);
  if (pixGetDepth(image.get()) == 32) {
    l_float32 notDarkOrLight = 0, coloured = 0;
    if (pixColorFraction(image.get(), 40, 220, 40, 2, &notDarkOrLight, &coloured) != 0 ||
        notDarkOrLight * coloured > 0.002f)
      return false;
    image.reset(pixConvertRGBToLuminance(image.get()));
    if (!image) return false;
  }
  NUMA* histogram = pixGetGrayHistogram(image.get(), 2);
  if (!histogram) return false;
  double total = 0, dark = 0, middle = 0;
  for (l_int32 v = 0; v < 256; ++v) {
    l_float32 n = 0;
    numaGetFValue(histogram, v, &n);
    total += n;
    if (v < 48)
      dark += n;
    else if (v < 208)
      middle += n;
  }
  numaDestroy(&histogram);
  // Anti-aliased or scanned ink has grey edges around its dark strokes; a photograph or a
  // shaded area has far more grey than dark.
  return total > 0 && middle < 0.02 * total && middle < 2.0 * dark + 0.001 * total;
}

bool isInFormat(const QString& path, PageFileFormat format) {
  const int f = pageFormat(path);
  switch (format) {
    case PageFileFormat::Tiff:
      return L_FORMAT_IS_TIFF(f);
    case PageFileFormat::Png:
      return f == IFF_PNG;
    case PageFileFormat::Jpeg:
      return f == IFF_JFIF_JPEG;
  }
  return false;
}

void writePage(Pix* pix, int dpi, const QString& path, PageFileFormat format) {
  PixPtr page;
  l_int32 written = 1;
  const QByteArray file = localPath(path);
  switch (format) {
    case PageFileFormat::Tiff:
      page.reset(pixClone(pix));
      pixSetResolution(page.get(), dpi, dpi);
      written = pixWriteTiff(file.constData(), page.get(),
                             pixGetDepth(pix) == 1 ? IFF_TIFF_G4 : IFF_TIFF_ZIP, "w");
      break;
    case PageFileFormat::Png:
      page.reset(pixClone(pix));
      pixSetResolution(page.get(), dpi, dpi);
      written = pixWrite(file.constData(), page.get(), IFF_PNG);
      break;
    case PageFileFormat::Jpeg:
      page = normalised(pix);
      pixSetResolution(page.get(), dpi, dpi);
      written = pixWriteJpeg(file.constData(), page.get(), 90, 0);
      break;
  }
  if (written != 0) throw ReleaseError(QStringLiteral("cannot write %1").arg(path));
}

PdfImageData encodeForPdf(Pix* pix, const QString& sourcePath) {
  if (!sourcePath.isEmpty() && pixGetInputFormat(pix) == IFF_JFIF_JPEG) {
    L_COMP_DATA* raw = l_generateJpegData(localPath(sourcePath).constData(), 0);
    if (raw && raw->spp == 4) l_CIDataDestroy(&raw);  // CMYK JPEGs often store inverted ink
    if (raw) return fromCompData(*CompDataPtr(raw));
  }
  return encoded(pix, pixGetDepth(pix) == 1 && !pixGetColormap(pix) ? L_G4_ENCODE : L_FLATE_ENCODE,
                 0);
}

PdfImageData encodeCompact(Pix* pix, int dpi, int maxDpi, int quality, bool mayBeBitonal) {
  if (pixGetDepth(pix) == 1 && !pixGetColormap(pix)) return encoded(pix, L_G4_ENCODE, 0);
  if (mayBeBitonal && looksBitonal(pix)) {
    const PixPtr grey = normalised(pix);
    const PixPtr bitonal(pixConvertTo1(grey.get(), 128));
    if (!bitonal) throw ReleaseError(QStringLiteral("the page image cannot be converted"));
    return encoded(bitonal.get(), L_G4_ENCODE, 0);
  }
  PixPtr image = normalised(pix);
  if (maxDpi > 0 && dpi > maxDpi) image = scaled(image.get(), static_cast<double>(maxDpi) / dpi);
  return encodeJpeg(image.get(), quality);
}

PdfImageData encodeJpeg(Pix* pix, int quality) {
  const PixPtr image = normalised(pix);
  return encoded(image.get(), L_JPEG_ENCODE, quality);
}

PdfImageData thumbnailOf(Pix* pix, int size) {
  const PixPtr image = normalised(pix);
  const int longest = std::max(pixGetWidth(image.get()), pixGetHeight(image.get()));
  const PixPtr small = scaled(image.get(), std::min(1.0, static_cast<double>(size) / longest));
  return encoded(small.get(), L_FLATE_ENCODE, 0);
}

}  // namespace zan::release
