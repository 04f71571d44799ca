#include "release/pdf_builder.h"

#include "release/pdf_annotations.h"
#include "release/pdf_archive.h"
#include "release/pdf_object_streams.h"
#include "release/pdf_structure.h"
#include "release/pdf_text.h"
#include "release/release_error.h"

#include <QFile>

#include <podofo/podofo.h>
#include <tesseract/version.h>

#include <cmath>
#include <memory>
#include <optional>

namespace zan::release {
namespace {

using namespace PoDoFo;

// Flate saves less than this share of a JPEG: not worth it. (Inflating costs a reader far less
// than decoding the JPEG; a scan's JPEG with unoptimised coding saves 0.3 to 1 %, kilobytes
// a page.)
constexpr double kLeastFlateSaving = 0.002;
// How much of a JPEG is compressed to find out whether the rest is worth it.
constexpr qsizetype kFlateProbe = 64 * 1024;

// The data in zlib format when that is at least kLeastFlateSaving smaller, else empty.
QByteArray deflatedIfSmaller(const QByteArray& data) {
  const auto worth = [](const QByteArray& plain, const QByteArray& packed) {
    return packed.size() - 4 < (1.0 - kLeastFlateSaving) * plain.size();  // qCompress adds 4 bytes
  };
  if (data.size() > kFlateProbe &&
      !worth(data.left(kFlateProbe), qCompress(data.left(kFlateProbe), 1)))
    return {};
  const QByteArray packed = qCompress(data, 6);
  return worth(data, packed) ? packed.mid(4) : QByteArray();
}

// An image XObject of already encoded data; the document owns its object.
PdfObject* pdfImage(PdfMemDocument& doc, const PdfImageData& data) {
  PdfObject* image = doc.GetObjects().CreateObject("XObject");
  PdfDictionary& dict = image->GetDictionary();
  dict.AddKey("Subtype", PdfName("Image"));
  dict.AddKey("Width", static_cast<pdf_int64>(data.width));
  dict.AddKey("Height", static_cast<pdf_int64>(data.height));
  dict.AddKey("BitsPerComponent", static_cast<pdf_int64>(data.bitsPerComponent));
  if (data.colorSpace == "Indexed") {
    PdfArray indexed;
    indexed.push_back(PdfName("Indexed"));
    indexed.push_back(PdfName("DeviceRGB"));
    indexed.push_back(static_cast<pdf_int64>(data.palette.size() / 3 - 1));
    indexed.push_back(PdfString(data.palette.constData(), data.palette.size(), true));
    dict.AddKey("ColorSpace", indexed);
  } else {
    dict.AddKey("ColorSpace", PdfName(data.colorSpace.constData()));
  }
  if (data.filter == "CCITTFaxDecode") {
    PdfDictionary parms;
    parms.AddKey("K", static_cast<pdf_int64>(-1));
    parms.AddKey("Columns", static_cast<pdf_int64>(data.width));
    parms.AddKey("Rows", static_cast<pdf_int64>(data.height));
    dict.AddKey("DecodeParms", parms);
  } else if (data.pngPredictor) {
    PdfDictionary parms;
    parms.AddKey("Predictor", static_cast<pdf_int64>(14));
    parms.AddKey("Columns", static_cast<pdf_int64>(data.width));
    parms.AddKey("Colors", static_cast<pdf_int64>(data.components));
    parms.AddKey("BitsPerComponent", static_cast<pdf_int64>(data.bitsPerComponent));
    dict.AddKey("DecodeParms", parms);
  }
  if (data.invert) {
    PdfArray decode;
    decode.push_back(static_cast<pdf_int64>(1));
    decode.push_back(static_cast<pdf_int64>(0));
    dict.AddKey("Decode", decode);
  }
  // Already encoded: the data goes in as it is, under its own filter; a JPEG that Flate
  // compresses well (large plain areas, unoptimised coding) goes in Flate-compressed too, which
  // keeps it byte for byte.
  const QByteArray deflated =
      data.filter == "DCTDecode" ? deflatedIfSmaller(data.data) : QByteArray();
  const QByteArray& stored = deflated.isEmpty() ? data.data : deflated;
  PdfMemoryInputStream stream(stored.constData(), stored.size());
  image->GetStream()->SetRawData(&stream);
  if (deflated.isEmpty()) {
    dict.AddKey("Filter", PdfName(data.filter.constData()));
  } else {
    PdfArray filters;
    filters.push_back(PdfName("FlateDecode"));
    filters.push_back(PdfName(data.filter.constData()));
    dict.AddKey("Filter", filters);
  }
  return image;
}

// Draws the image into `box` turned clockwise by `turn` degrees: the image data stays as it
// was encoded, only the placing matrix turns it.
void drawImage(PdfMemDocument& doc, PdfPage* pdfPage, PdfStream* canvas, const PdfImageData& data,
               const QRectF& box, int turn, int& imageCount) {
  PdfObject* image = pdfImage(doc, data);
  const QByteArray name = "Im" + QByteArray::number(++imageCount);
  pdfPage->AddResource(PdfName(name.constData()), image->Reference(), PdfName("XObject"));
  const double w = box.width(), h = box.height(), x = box.x(), y = box.y();
  QByteArray cm;
  switch (turn) {
    case 90:
      cm = pdfMatrix(0, -h, w, 0, x, y + h);
      break;
    case 180:
      cm = pdfMatrix(-w, 0, 0, -h, x + w, y + h);
      break;
    case 270:
      cm = pdfMatrix(0, h, -w, 0, x + w, y);
      break;
    default:
      cm = pdfMatrix(w, 0, 0, h, x, y);
  }
  canvas->Append("q " + cm + " cm /" + name + " Do Q\n");
}

void drawPage(PdfMemDocument& doc, PdfPage* pdfPage, const PageResult& page, TextLayer* text,
              StructureTree* tree) {
  PdfStream* canvas = pdfPage->GetContentsForAppending()->GetStream();
  canvas->BeginAppend();
  int images = 0;
  if (page.image) {
    // The scan is the page's background; its text is tagged through the text layer.
    if (tree) canvas->Append(StructureTree::kArtifact);
    drawImage(doc, pdfPage, canvas, *page.image, QRectF(0, 0, page.width, page.height),
              page.rotation, images);
    if (tree) canvas->Append(StructureTree::kEndMarked);
  }
  for (const PlacedPicture& picture : page.pictures) {
    if (tree) canvas->Append(tree->openElement("Figure"));
    drawImage(doc, pdfPage, canvas, picture.image, picture.box, 0, images);
    if (tree) canvas->Append(StructureTree::kEndMarked);
  }
  if (text) text->draw(pdfPage, canvas, page, tree);
  canvas->EndAppend();
}

}  // namespace

void silencePdfLibraryMessages() {
  PdfError::EnableLogging(false);
  PdfError::EnableDebug(false);
}

QByteArray buildPdf(const std::vector<const PageResult*>& pages, const ReleaseOptions& options,
                    const DocumentInformation& info) {
  try {
    PdfMemDocument doc;
    std::optional<TextLayer> text;
    if (options.content != PageContent::Image) text.emplace(doc, options);
    std::optional<StructureTree> tree;
    if (options.tagged) tree.emplace(doc);
    PageAnnotations annotations(doc);
    std::vector<KeptPlacement> kept;
    for (const PageResult* page : pages) {
      PdfPage* pdfPage = doc.CreatePage(PdfRect(0, 0, page->width, page->height));
      if (page->kept) {  // its content is placed by the last pass
        kept.push_back({doc.GetPageCount() - 1, &*page->kept});
        continue;
      }
      if (tree) tree->beginPage(pdfPage);
      drawPage(doc, pdfPage, *page, text ? &*text : nullptr, tree ? &*tree : nullptr);
      annotations.annotate(pdfPage, *page);
      if (page->thumbnail) {
        const PdfObject* thumbnail = pdfImage(doc, *page->thumbnail);
        pdfPage->GetObject()->GetDictionary().AddKey("Thumb", thumbnail->Reference());
      }
    }
    if (text) text->finish();
    if (tree) tree->finish(options.language.tag);
    const DocumentOrigin origin{options.creator + QStringLiteral(" " ZAN_RELEASE_VERSION),
                                QStringLiteral("zan-release " ZAN_RELEASE_VERSION
                                               " (Tesseract " TESSERACT_VERSION_STR ", PoDoFo)"),
                                QDateTime::currentDateTime()};
    writeDocumentLevel(doc, info, origin, options.standard);
    finishFonts(doc, options.standard);
    PdfRefCountedBuffer buffer;
    PdfOutputDevice device(&buffer);
    doc.Write(&device);
    return withObjectStreams(
        QByteArray(buffer.GetBuffer(), static_cast<qsizetype>(device.GetLength())), kept);
  } catch (const PdfError& e) {
    const char* what = PdfError::ErrorMessage(e.GetError());
    throw ReleaseError(
        QStringLiteral("the PDF cannot be built: %1")
            .arg(QString::fromUtf8(what ? what : PdfError::ErrorName(e.GetError()))));
  }
}

}  // namespace zan::release
