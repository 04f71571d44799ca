// The image of a one-image PDF page taken as stored: JPEG data kept as it is and decoded with
// Leptonica; CCITT data wrapped in a TIFF header for Leptonica; Flate, LZW, run-length and ASCII
// data decoded by qpdf into the samples they hold (never more than the image's size), which
// then are exactly the page's pixels. What cannot be taken so (JBIG2, JPEG 2000, CMYK or
// separation colour, masks, unusual decode arrays) is left to rendering.
#include "release/library_messages.h"
#include "release/pdf_page_file.h"
#include "release/pdf_qpdf.h"
#include "release/release_error.h"

#include <leptonica/allheaders.h>
#include <qpdf/Pipeline.hh>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <vector>

namespace zan::release {
namespace {

// Collects what a pipeline delivers, refusing more than `limit` bytes: a stream that inflates
// beyond the image it holds is not decoded on.
class Collect : public Pipeline {
 public:
  explicit Collect(size_t limit) : Pipeline("collect", nullptr), limit_(limit) {}
  void write(unsigned char const* data, size_t len) override {
    if (static_cast<size_t>(data_.size()) + len > limit_)
      throw std::length_error("the image's data is longer than its size");
    data_.append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(len));
  }
  void finish() override {}
  QByteArray data_;

 private:
  size_t limit_;
};

std::vector<std::string> filtersOf(QPDFObjectHandle dict) {
  std::vector<std::string> filters;
  QPDFObjectHandle filter = dict.getKey("/Filter");
  if (filter.isName()) filters.push_back(filter.getName());
  if (filter.isArray())
    for (QPDFObjectHandle f : filter.getArrayAsVector())
      filters.push_back(f.isName() ? f.getName() : std::string());
  return filters;
}

// The decode parameters of the last filter.
QPDFObjectHandle lastParms(QPDFObjectHandle dict) {
  QPDFObjectHandle parms = dict.getKey("/DecodeParms");
  if (parms.isArray() && parms.getArrayNItems() > 0)
    parms = parms.getArrayItem(parms.getArrayNItems() - 1);
  return parms.isDictionary() ? parms : QPDFObjectHandle::newDictionary();
}

int integer(QPDFObjectHandle dict, const char* key, int otherwise) {
  QPDFObjectHandle v = dict.getKey(key);
  return v.isInteger() ? v.getIntValueAsInt() : otherwise;
}

bool flag(QPDFObjectHandle dict, const char* key) {
  QPDFObjectHandle v = dict.getKey(key);
  return v.isBool() && v.getBoolValue();
}

// A colour space the release step stores as it is: grey or RGB, or a palette of them.
struct Space {
  int components = 0;  // of the samples: 1 or 3; an Indexed space's samples are 1
  int colours = 0;     // of the pixels: 1 grey, 3 RGB
  QByteArray palette;  // Indexed: the colours of the indices, `colours` bytes each
};

std::optional<Space> spaceOf(QPDFObjectHandle space, bool inIndexed = false) {
  if (space.isName()) {
    const std::string n = space.getName();
    if (n == "/DeviceGray" || n == "/CalGray" || n == "/G") return Space{1, 1, {}};
    if (n == "/DeviceRGB" || n == "/CalRGB" || n == "/RGB") return Space{3, 3, {}};
    return std::nullopt;
  }
  if (!space.isArray() || space.getArrayNItems() < 2 || !space.getArrayItem(0).isName())
    return std::nullopt;
  const std::string family = space.getArrayItem(0).getName();
  if (family == "/CalGray") return Space{1, 1, {}};
  if (family == "/CalRGB") return Space{3, 3, {}};
  if (family == "/ICCBased") {
    QPDFObjectHandle profile = space.getArrayItem(1);
    const int n = profile.isStream() ? integer(profile.getDict(), "/N", 0) : 0;
    if (n == 1 || n == 3) return Space{n, n, {}};
    return std::nullopt;
  }
  if ((family == "/Indexed" || family == "/I") && !inIndexed && space.getArrayNItems() == 4) {
    const std::optional<Space> base = spaceOf(space.getArrayItem(1), true);
    QPDFObjectHandle high = space.getArrayItem(2), lookup = space.getArrayItem(3);
    if (!base || !high.isInteger()) return std::nullopt;
    const int entries = high.getIntValueAsInt() + 1;
    if (entries < 1 || entries > 256) return std::nullopt;
    QByteArray table;
    if (lookup.isString()) {
      const std::string s = lookup.getStringValue();
      table = QByteArray(s.data(), static_cast<qsizetype>(s.size()));
    } else if (lookup.isStream()) {
      Collect c(static_cast<size_t>(entries) * base->colours + 1024);
      if (!lookup.pipeStreamData(&c, nullptr, 0, qpdf_dl_specialized, true)) return std::nullopt;
      table = c.data_;
    }
    if (table.size() < entries * base->colours) return std::nullopt;
    table.truncate(entries * base->colours);
    return Space{1, base->colours, table};
  }
  return std::nullopt;
}

// Whether /Decode is absent or the default; `inverted` says it is [1 0] on one-bit grey.
bool plainDecode(QPDFObjectHandle dict, const Space& space, int bits, bool* inverted) {
  *inverted = false;
  QPDFObjectHandle decode = dict.getKey("/Decode");
  if (!decode.isArray()) return true;
  std::vector<double> v;
  for (QPDFObjectHandle x : decode.getArrayAsVector())
    v.push_back(x.isNumber() ? x.getNumericValue() : -1);
  const double top = space.palette.isEmpty() ? 1 : (1 << bits) - 1;
  bool plain = v.size() == static_cast<size_t>(2 * space.components);
  for (std::size_t i = 0; plain && i < v.size(); i += 2) plain = v[i] == 0 && v[i + 1] == top;
  if (plain) return true;
  *inverted = space.components == 1 && space.palette.isEmpty() && bits == 1 && v.size() == 2 &&
              v[0] == 1 && v[1] == 0;
  return *inverted;
}

PixPtr decoded(Pix* pix, const QSize& size) {
  PixPtr p(pix);
  if (p && (pixGetWidth(p.get()) != size.width() || pixGetHeight(p.get()) != size.height()))
    throw ReleaseError(QStringLiteral("the page's image is not of the size it declares"));
  return p;
}

// The samples as a PNM file (P4 one-bit with 1 black, P5 grey, P6 RGB) that Leptonica reads.
QByteArray asPnm(const QByteArray& samples, const QSize& size, const Space& space, int bits,
                 bool inverted) {
  const int w = size.width(), h = size.height();
  if (space.palette.isEmpty() && space.components == 1 && bits == 1) {
    const int row = (w + 7) / 8;
    QByteArray pnm = QByteArrayLiteral("P4\n") + QByteArray::number(w) + ' ' +
                     QByteArray::number(h) + '\n' + samples.left(qsizetype{row} * h);
    if (!inverted)  // a one-bit grey sample of 0 is black; in PBM 1 is
      for (qsizetype i = pnm.size() - qsizetype{row} * h; i < pnm.size(); ++i) pnm[i] = ~pnm[i];
    return pnm;
  }
  const int colours = space.colours;
  QByteArray pnm = (colours == 1 ? QByteArrayLiteral("P5\n") : QByteArrayLiteral("P6\n")) +
                   QByteArray::number(w) + ' ' + QByteArray::number(h) + "\n255\n";
  if (space.palette.isEmpty() && bits == 8) return pnm + samples.left(qsizetype{w} * h * colours);
  if (space.palette.isEmpty()) return {};
  const qsizetype row = (qsizetype{w} * bits + 7) / 8;
  const int entries = static_cast<int>(space.palette.size() / colours);
  QByteArray pixels(qsizetype{w} * h * colours, '\0');
  char* out = pixels.data();
  for (int y = 0; y < h; ++y) {
    const auto* in = reinterpret_cast<const uchar*>(samples.constData() + y * row);
    for (int x = 0; x < w; ++x) {
      const int bit = x * bits;
      const int index = (in[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
      const int i = std::min(index, entries - 1);
      for (int c = 0; c < colours; ++c) *out++ = space.palette[i * colours + c];
    }
  }
  return pnm + pixels;
}

// CCITT data in a TIFF that says what the PDF's parameters say.
QByteArray ccittTiff(const QByteArray& data, const QSize& size, int k) {
  struct Entry {
    quint16 tag, type;
    quint32 value;
  };
  const bool g4 = k < 0;
  const std::vector<Entry> entries = {{256, 4, static_cast<quint32>(size.width())},
                                      {257, 4, static_cast<quint32>(size.height())},
                                      {258, 3, 1},
                                      {259, 3, g4 ? 4u : 3u},
                                      {262, 3, 0 /* white is zero */},
                                      {273, 4, 0},
                                      {277, 3, 1},
                                      {278, 4, static_cast<quint32>(size.height())},
                                      {279, 4, static_cast<quint32>(data.size())},
                                      {g4 ? quint16(293) : quint16(292), 4, k > 0 ? 1u : 0u}};
  const quint32 dataAt = 8 + 2 + static_cast<quint32>(entries.size()) * 12 + 4;
  QByteArray tiff("II*\0\x08\0\0\0", 8);
  const auto put = [&tiff](quint32 v, int bytes) {
    for (int i = 0; i < bytes; ++i) tiff.append(static_cast<char>((v >> (8 * i)) & 0xff));
  };
  put(static_cast<quint32>(entries.size()), 2);
  for (const Entry& e : entries) {
    put(e.tag, 2);
    put(e.type, 2);
    put(1, 4);
    put(e.tag == 273 ? dataAt : e.value, e.type == 3 ? 2 : 4);
    if (e.type == 3) put(0, 2);
  }
  put(0, 4);
  return tiff + data;
}

}  // namespace

PdfStoredImage PdfFile::storedImage(int index, qint64 pixelLimit) const {
  PdfPageFacts facts;
  QPDFObjectHandle image = oneImage(index, &facts);
  if (!facts.oneImage) throw ReleaseError(QStringLiteral("the page is not one image"));
  const QSize size = facts.imageSize;
  if (qint64{size.width()} * size.height() > pixelLimit)
    throw ReleaseError(QStringLiteral("the page's image is larger than a page may be"));
  PdfStoredImage stored;
  try {
    QPDFObjectHandle dict = image.getDict();
    if (flag(dict, "/ImageMask") || dict.hasKey("/SMask") || dict.hasKey("/Mask")) return stored;
    const std::optional<Space> space = spaceOf(dict.getKey("/ColorSpace"));
    const int bits = integer(dict, "/BitsPerComponent", 8);
    bool inverted = false;
    if (!space || !plainDecode(dict, *space, bits, &inverted)) return stored;
    const std::vector<std::string> filters = filtersOf(dict);
    const std::string last = filters.empty() ? std::string() : filters.back();
    LibraryMessages said;
    if (last == "/DCTDecode" || last == "/DCT") {
      if (filters.size() > 2 || (filters.size() == 2 && filters[0] != "/FlateDecode"))
        return stored;
      const std::shared_ptr<Buffer> raw = image.getRawStreamData();
      Collect jpeg(static_cast<size_t>(bytes_.size()) * 4 + (1 << 20));
      if (filters.size() == 2) {
        Pl_Flate inflate("inflate", &jpeg, Pl_Flate::a_inflate);
        inflate.write(raw->getBuffer(), raw->getSize());
        inflate.finish();
      } else {
        jpeg.write(raw->getBuffer(), raw->getSize());
      }
      const auto* data = reinterpret_cast<const l_uint8*>(jpeg.data_.constData());
      const auto n = static_cast<size_t>(jpeg.data_.size());
      l_int32 w = 0, h = 0, spp = 0;
      if (readHeaderMemJpeg(data, n, &w, &h, &spp, nullptr, nullptr) != 0 || QSize(w, h) != size ||
          spp != space->colours || !space->palette.isEmpty())
        return stored;
      stored.pix = decoded(pixReadMemJpeg(data, n, 0, 1, nullptr, 0), size);
      if (stored.pix) stored.jpeg = jpeg.data_;
    } else if (last == "/CCITTFaxDecode" || last == "/CCF") {
      QPDFObjectHandle parms = lastParms(dict);
      if (filters.size() != 1 || flag(parms, "/EncodedByteAlign") || space->components != 1 ||
          integer(parms, "/Columns", 1728) != size.width())
        return stored;
      const std::shared_ptr<Buffer> raw = image.getRawStreamData();
      const QByteArray tiff = ccittTiff(QByteArray(reinterpret_cast<const char*>(raw->getBuffer()),
                                                   static_cast<qsizetype>(raw->getSize())),
                                        size, integer(parms, "/K", 0));
      stored.pix = decoded(pixReadMemTiff(reinterpret_cast<const l_uint8*>(tiff.constData()),
                                          static_cast<size_t>(tiff.size()), 0),
                           size);
      if (stored.pix && (flag(parms, "/BlackIs1") != inverted))
        pixInvert(stored.pix.get(), stored.pix.get());
    } else {
      static const std::vector<std::string> general = {
          "/FlateDecode",   "/Fl",  "/LZWDecode",       "/LZW", "/ASCIIHexDecode", "/AHx",
          "/ASCII85Decode", "/A85", "/RunLengthDecode", "/RL"};
      for (const std::string& f : filters)
        if (std::find(general.begin(), general.end(), f) == general.end()) return stored;
      if (bits != 1 && bits != 2 && bits != 4 && bits != 8) return stored;
      const qsizetype row = (qsizetype{size.width()} * space->components * bits + 7) / 8;
      Collect samples(static_cast<size_t>(row * size.height() + row));
      if (!image.pipeStreamData(&samples, nullptr, 0, qpdf_dl_specialized, true) ||
          samples.data_.size() < row * size.height())
        return stored;
      const QByteArray pnm = asPnm(samples.data_, size, *space, bits, inverted);
      if (pnm.isEmpty()) return stored;
      stored.pix = decoded(pixReadMemPnm(reinterpret_cast<const l_uint8*>(pnm.constData()),
                                         static_cast<size_t>(pnm.size())),
                           size);
    }
    if (!stored.pix)
      throw ReleaseError(QStringLiteral("the page's image cannot be decoded") +
                         said.inParentheses());
  } catch (const ReleaseError&) {
    throw;
  } catch (const std::exception& e) {
    throw ReleaseError(QStringLiteral("the page's image cannot be read (%1)").arg(qpdfWords(e)));
  }
  return stored;
}

}  // namespace zan::release
