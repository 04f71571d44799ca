#include "release/page_image.h"

#include "release/library_messages.h"
#include "release/pdf_page_file.h"
#include "release/pdf_qpdf.h"
#include "release/pdf_render.h"
#include "release/release_error.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace zan::release {
namespace {

struct CompDataDeleter {
  void operator()(L_COMP_DATA* cid) const { l_CIDataDestroy(&cid); }
};
using CompDataPtr = std::unique_ptr<L_COMP_DATA, CompDataDeleter>;

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

void silenceImageLibraryMessages() {
  setMsgSeverity(L_SEVERITY_ERROR);
}

PixPtr scaled(Pix* pix, double factor) {
  if (factor > 0.999 && factor < 1.001) return PixPtr(pixClone(pix));
  PixPtr source;
  if (pixGetColormap(pix) || (pixGetDepth(pix) != 8 && pixGetDepth(pix) != 32))
    source.reset(pixConvertTo8(pix, 0));
  else
    source.reset(pixClone(pix));
  // A tiny page scaled down keeps at least one pixel a side.
  const int w = std::max(1, qRound(pixGetWidth(source.get()) * factor));
  const int h = std::max(1, qRound(pixGetHeight(source.get()) * factor));
  PixPtr result(pixScaleToSize(source.get(), w, h));
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

QByteArray encodePageFile(Pix* pix, int dpi, PageFileFormat format) {
  LibraryMessages said;
  PixPtr page;
  l_uint8* bytes = nullptr;
  size_t size = 0;
  l_ok failed = 1;
  switch (format) {
    case PageFileFormat::Tiff:
      page.reset(pixClone(pix));
      pixSetResolution(page.get(), dpi, dpi);
      failed = pixWriteMemTiff(&bytes, &size, page.get(),
                               pixGetDepth(pix) == 1 ? IFF_TIFF_G4 : IFF_TIFF_ZIP);
      break;
    case PageFileFormat::Png:
      page.reset(pixClone(pix));
      pixSetResolution(page.get(), dpi, dpi);
      failed = pixWriteMemPng(&bytes, &size, page.get(), 0.0);
      break;
    case PageFileFormat::Jpeg:
      page = normalised(pix);
      pixSetResolution(page.get(), dpi, dpi);
      failed = pixWriteMemJpeg(&bytes, &size, page.get(), 90, 0);
      break;
  }
  QByteArray file;
  if (!failed && bytes)
    file = QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
  lept_free(bytes);
  if (file.isEmpty())
    throw ReleaseError(QStringLiteral("the page cannot be encoded") + said.inParentheses());
  return file;
}

QByteArray asPageFile(const PageFile& file, int index, PageFileFormat format, qint64 pixelLimit) {
  if (file.pageCount() == 1 && file.isIn(format)) return file.bytes();
  const TakenPage page = file.take(index, 0, pixelLimit);
  const PixPtr shown = page.rotate ? turned(page.pix.get(), page.rotate) : PixPtr();
  const int dpi = file.pdf() ? qRound(page.resolution.dpi) : pixGetXRes(page.pix.get());
  return encodePageFile(shown ? shown.get() : page.pix.get(), dpi, format);
}

JobPage asJobPage(const PageFile& file, int index, PageFileFormat format, qint64 pixelLimit) {
  if (!file.pdf()) return {asPageFile(file, index, format, pixelLimit), false};
  return {file.pageCount() == 1 ? file.bytes() : pdfPageAlone(file.bytes(), index), true};
}

PdfImageData encodeForPdf(Pix* pix, const QByteArray& jpeg) {
  if (!jpeg.isEmpty() && pixGetInputFormat(pix) == IFF_JFIF_JPEG) {
    // Leptonica takes the copy over and frees it.
    auto* copy = static_cast<l_uint8*>(std::malloc(static_cast<size_t>(jpeg.size())));
    if (copy) {
      std::memcpy(copy, jpeg.constData(), static_cast<size_t>(jpeg.size()));
      L_COMP_DATA* raw = l_generateJpegDataMem(copy, static_cast<size_t>(jpeg.size()), 0);
      if (raw && (raw->spp == 4 || raw->w != pixGetWidth(pix) || raw->h != pixGetHeight(pix)))
        l_CIDataDestroy(&raw);  // CMYK JPEGs often store inverted ink; or not this page
      if (raw) return fromCompData(*CompDataPtr(raw));
    }
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
