#include "release/page_image.h"

#include "release/release_error.h"

#include <QFile>
#include <QFileInfo>

#include <leptonica/allheaders.h>

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

PdfImageData encodeForPdf(Pix* pix, const QString& sourcePath) {
  L_COMP_DATA* raw = nullptr;
  if (!sourcePath.isEmpty() && pixGetInputFormat(pix) == IFF_JFIF_JPEG) {
    raw = l_generateJpegData(localPath(sourcePath).constData(), 0);
    if (raw && raw->spp == 4) l_CIDataDestroy(&raw);  // CMYK JPEGs often store inverted ink
  }
  if (!raw) {
    const l_int32 type =
        pixGetDepth(pix) == 1 && !pixGetColormap(pix) ? L_G4_ENCODE : L_FLATE_ENCODE;
    pixGenerateCIData(pix, type, 0, 0, &raw);
  }
  CompDataPtr cid(raw);
  if (!cid) throw ReleaseError(QStringLiteral("the page image cannot be encoded"));
  PdfImageData d = fromCompData(*cid);
  if (cid->type == L_G4_ENCODE) d.invert = cid->minisblack;
  return d;
}

}  // namespace zan::release
