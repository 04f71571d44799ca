#include "release/pdf_builder.h"

#include "release/pdf_annotations.h"
#include "release/pdf_archive.h"
#include "release/pdf_structure.h"
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

const QString kFontFile = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
constexpr double kPi = 3.14159265358979323846;

PdfString utf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return PdfString(reinterpret_cast<const pdf_utf8*>(bytes.constData()), bytes.size());
}

// A number of a content stream: two decimals at most (1/7200 inch), no trailing zeros.
QByteArray num(double v) {
  QByteArray s = QByteArray::number(v, 'f', 2);
  while (s.endsWith('0')) s.chop(1);
  if (s.endsWith('.')) s.chop(1);
  return s == "-0" ? QByteArrayLiteral("0") : s;
}

QByteArray matrix(double a, double b, double c, double d, double e, double f) {
  return num(a) + ' ' + num(b) + ' ' + num(c) + ' ' + num(d) + ' ' + num(e) + ' ' + num(f);
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
  // Already encoded: the data goes in as it is, under its own filter.
  PdfMemoryInputStream stream(data.data.constData(), data.data.size());
  image->GetStream()->SetRawData(&stream);
  dict.AddKey("Filter", PdfName(data.filter.constData()));
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
      cm = matrix(0, -h, w, 0, x, y + h);
      break;
    case 180:
      cm = matrix(-w, 0, 0, -h, x + w, y + h);
      break;
    case 270:
      cm = matrix(0, h, -w, 0, x + w, y);
      break;
    default:
      cm = matrix(w, 0, 0, h, x, y);
  }
  canvas->Append("q " + cm + " cm /" + name + " Do Q\n");
}

// The word's text without the characters the font has no glyph for (which PDF/A forbids to
// draw, and which no viewer could show).
QString drawable(const QString& text, const PdfFontMetrics* metrics) {
  QString result;
  for (QChar c : text)
    if (!c.isSurrogate() && metrics->GetGlyphId(c.unicode()) != 0) result += c;
  return result;
}

// Draws each word on its baseline, scaled horizontally so that it spans its box: one text
// object per paragraph, which a tagged PDF marks as a P element. A tagged paragraph's text is
// read from its content as it stands, so its words carry a space after them.
void drawWords(PdfPage* pdfPage, PdfStream* canvas, PdfFont* font, const PageResult& page,
               bool visible, StructureTree* tree) {
  pdfPage->AddResource(font->GetIdentifier(), font->GetObject()->Reference(), PdfName("Font"));
  const QByteArray fontName = '/' + QByteArray(font->GetIdentifier().GetName().c_str());
  const PdfFontMetrics* metrics = font->GetFontMetrics();
  double size = -1;
  for (std::size_t i = 0; i < page.words.size(); ++i) {
    const PlacedWord& w = page.words[i];
    const bool first = i == 0 || page.words[i - 1].paragraph != w.paragraph;
    const bool last = i + 1 == page.words.size() || page.words[i + 1].paragraph != w.paragraph;
    if (first) {
      if (tree) canvas->Append(tree->openElement("P"));
      canvas->Append(visible ? "BT\n" : "BT 3 Tr\n");
      size = -1;
    }
    const QString text = drawable(w.text, metrics);
    if (w.fontSize > 0 && w.length > 0 && !text.isEmpty()) {
      font->SetFontSize(static_cast<float>(w.fontSize));
      font->SetFontScale(100.0f);
      const double natural = metrics->StringWidth(utf8(text));
      if (natural > 0) {
        if (w.fontSize != size) canvas->Append(fontName + ' ' + num(w.fontSize) + " Tf ");
        size = w.fontSize;
        const double a = w.angle * kPi / 180.0;
        const double c = std::round(std::cos(a)), s = std::round(std::sin(a));
        canvas->Append(num(100.0 * w.length / natural) + " Tz " +
                       matrix(c, s, -s, c, w.origin.x(), w.origin.y()) + " Tm ");
        const PdfString shown = utf8(tree && !last ? text + QLatin1Char(' ') : text);
        if (font->IsSubsetting()) font->AddUsedSubsettingGlyphs(shown, shown.GetCharacterLength());
        font->WriteStringToStream(shown, canvas);
        canvas->Append(" Tj\n");
      }
    }
    if (last) {
      canvas->Append("ET\n");
      if (tree) canvas->Append(StructureTree::kEndMarked);
    }
  }
}

// The font of the text layer: an embedded subset with a Unicode map, or, for visible text of a
// plain PDF that the options keep unembedded, the same font referenced by name with the Windows
// encoding (which a viewer can show with a font of its own). PDF/A embeds every font.
PdfFont* textFont(PdfMemDocument& doc, const ReleaseOptions& options) {
  const QByteArray fontFile = QFile::encodeName(textFontFile());
  PdfFont* font = nullptr;
  if (options.content == PageContent::Text && !options.embedFonts &&
      options.standard == PdfStandard::Plain)
    font = doc.CreateFont("DejaVu Sans", false, false, false,
                          PdfEncodingFactory::GlobalWinAnsiEncodingInstance(),
                          PdfFontCache::eFontCreationFlags_None, false, fontFile.constData());
  else
    font = doc.CreateFontSubset("DejaVu Sans", false, false, false,
                                PdfEncodingFactory::GlobalIdentityEncodingInstance(),
                                fontFile.constData());
  if (!font) throw ReleaseError(QStringLiteral("the font %1 cannot be used").arg(textFontFile()));
  return font;
}

void drawPage(PdfMemDocument& doc, PdfPage* pdfPage, const PageResult& page, PdfFont* font,
              const ReleaseOptions& options, StructureTree* tree) {
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
  if (font) drawWords(pdfPage, canvas, font, page, options.content == PageContent::Text, tree);
  canvas->EndAppend();
}

}  // namespace

QString textFontFile() {
  return kFontFile;
}

void silencePdfLibraryMessages() {
  PdfError::EnableLogging(false);
  PdfError::EnableDebug(false);
}

QByteArray buildPdf(const std::vector<const PageResult*>& pages, const ReleaseOptions& options,
                    const DocumentInformation& info) {
  try {
    PdfMemDocument doc;
    PdfFont* font = options.content != PageContent::Image ? textFont(doc, options) : nullptr;
    std::optional<StructureTree> tree;
    if (options.tagged) tree.emplace(doc);
    PageAnnotations annotations(doc);
    for (const PageResult* page : pages) {
      PdfPage* pdfPage = doc.CreatePage(PdfRect(0, 0, page->width, page->height));
      if (tree) tree->beginPage(pdfPage);
      drawPage(doc, pdfPage, *page, font, options, tree ? &*tree : nullptr);
      annotations.annotate(pdfPage, *page);
      if (page->thumbnail) {
        const PdfObject* thumbnail = pdfImage(doc, *page->thumbnail);
        pdfPage->GetObject()->GetDictionary().AddKey("Thumb", thumbnail->Reference());
      }
    }
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
    return QByteArray(buffer.GetBuffer(), static_cast<qsizetype>(device.GetLength()));
  } catch (const PdfError& e) {
    const char* what = PdfError::ErrorMessage(e.GetError());
    throw ReleaseError(
        QStringLiteral("the PDF cannot be built: %1")
            .arg(QString::fromUtf8(what ? what : PdfError::ErrorName(e.GetError()))));
  }
}

}  // namespace zan::release
