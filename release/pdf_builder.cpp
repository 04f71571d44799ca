#include "release/pdf_builder.h"

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

void drawWord(PdfPainter& painter, PdfFont* font, const PlacedWord& w, bool spaceAfter);

const QString kFontFile = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
constexpr double kPi = 3.14159265358979323846;

PdfString utf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return PdfString(reinterpret_cast<const pdf_utf8*>(bytes.constData()), bytes.size());
}

// An image XObject of already encoded data; the document owns its object.
std::unique_ptr<PdfImage> pdfImage(PdfMemDocument& doc, const PdfImageData& data) {
  auto image = std::make_unique<PdfImage>(&doc);
  PdfDictionary& dict = image->GetObject()->GetDictionary();
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
  dict.AddKey("Filter", PdfName(data.filter.constData()));
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
  PdfMemoryInputStream stream(data.data.constData(), data.data.size());
  image->SetImageDataRaw(data.width, data.height, data.bitsPerComponent, &stream);
  return image;
}

void drawImage(PdfMemDocument& doc, PdfPainter& painter, const PdfImageData& data,
               const QRectF& box) {
  const auto image = pdfImage(doc, data);
  painter.DrawImage(box.x(), box.y(), image.get(), box.width() / data.width,
                    box.height() / data.height);
}

// Draws each word along its baseline, scaled horizontally so that it spans its box. In a tagged
// PDF each paragraph is one marked-content sequence.
void drawWords(PdfPainter& painter, PdfFont* font, const PageResult& page, bool visible,
               StructureTree* tree) {
  painter.SetTextRenderingMode(visible ? ePdfTextRenderingMode_Fill
                                       : ePdfTextRenderingMode_Invisible);
  for (std::size_t i = 0; i < page.words.size(); ++i) {
    const PlacedWord& w = page.words[i];
    const bool lastOfParagraph =
        i + 1 == page.words.size() || page.words[i + 1].paragraph != w.paragraph;
    if (tree && (i == 0 || page.words[i - 1].paragraph != w.paragraph))
      painter.GetCanvas()->Append(tree->openElement("P"));
    // A tagged paragraph's text is read from its content as it stands: its words need spaces.
    drawWord(painter, font, w, tree && !lastOfParagraph);
    if (tree && lastOfParagraph) painter.GetCanvas()->Append(StructureTree::kEndMarked);
  }
}

// Draws the word scaled so that it spans its box; a space after it, when asked for, goes beyond.
void drawWord(PdfPainter& painter, PdfFont* font, const PlacedWord& w, bool spaceAfter) {
  if (w.fontSize <= 0 || w.length <= 0) return;
  font->SetFontSize(static_cast<float>(w.fontSize));
  font->SetFontScale(100.0f);
  const double natural = font->GetFontMetrics()->StringWidth(utf8(w.text));
  if (natural <= 0) return;
  const PdfString text = utf8(spaceAfter ? w.text + QLatin1Char(' ') : w.text);
  font->SetFontScale(static_cast<float>(100.0 * w.length / natural));
  const double a = w.angle * kPi / 180.0;
  const double c = std::round(std::cos(a)), s = std::round(std::sin(a));
  painter.Save();
  painter.SetTransformationMatrix(c, s, -s, c, w.origin.x(), w.origin.y());
  painter.SetFont(font);
  painter.DrawText(0, 0, text);
  painter.Restore();
}

PdfRect rectOf(const QRectF& b) {
  return PdfRect(b.x(), b.y(), b.width(), b.height());
}

void addLinks(PdfMemDocument& doc, PdfPage* pdfPage, const PageResult& page) {
  for (const PlacedWord& w : page.words) {
    if (w.link.isEmpty()) continue;
    PdfAnnotation* link = pdfPage->CreateAnnotation(ePdfAnnotation_Link, rectOf(w.box));
    PdfAction action(ePdfAction_URI, &doc);
    action.SetURI(PdfString(w.link.toUtf8().constData()));
    link->SetAction(action);
    link->SetBorderStyle(0, 0, 0);
    link->SetFlags(ePdfAnnotationFlags_Print);
  }
}

void markSuspects(PdfPage* pdfPage, const PageResult& page) {
  for (const PlacedWord& w : page.words) {
    if (w.reasons.isEmpty()) continue;
    const QRectF& b = w.box;
    PdfAnnotation* note = pdfPage->CreateAnnotation(ePdfAnnotation_Highlight, rectOf(b));
    PdfArray quad;
    for (double v :
         {b.left(), b.bottom(), b.right(), b.bottom(), b.left(), b.top(), b.right(), b.top()})
      quad.push_back(v);  // QRectF's bottom() is the larger y: the word's top on the page
    note->SetQuadPoints(quad);
    note->SetColor(1.0, 0.85, 0.0);
    note->SetTitle(PdfString("zan-release"));
    note->SetContents(utf8(w.note));
    note->SetFlags(ePdfAnnotationFlags_Print);
  }
}

// The font of the text layer: an embedded subset with a Unicode map, or, for visible text that
// the options keep unembedded, the same font referenced by name with the Windows encoding (which
// a viewer can show with a font of its own).
PdfFont* textFont(PdfMemDocument& doc, const ReleaseOptions& options) {
  const QByteArray fontFile = QFile::encodeName(textFontFile());
  PdfFont* font = nullptr;
  if (options.content == PageContent::Text && !options.embedFonts)
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

void setInformation(PdfInfo* info, const DocumentInformation& d, const QString& creator) {
  if (!d.title.isEmpty()) info->SetTitle(utf8(d.title));
  if (!d.subject.isEmpty()) info->SetSubject(utf8(d.subject));
  if (!d.author.isEmpty()) info->SetAuthor(utf8(d.author));
  if (!d.keywords.isEmpty()) info->SetKeywords(utf8(d.keywords));
  info->SetCreator(utf8(creator + QStringLiteral(" " ZAN_RELEASE_VERSION)));
  info->SetProducer(PdfString("zan-release " ZAN_RELEASE_VERSION
                              " (Tesseract " TESSERACT_VERSION_STR ", PoDoFo)"));
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
    for (const PageResult* page : pages) {
      PdfPage* pdfPage = doc.CreatePage(PdfRect(0, 0, page->width, page->height));
      if (tree) tree->beginPage(pdfPage);
      PdfPainter painter;
      painter.SetPage(pdfPage);
      if (page->image) {
        // The scan is the page's background; its text is tagged through the text layer.
        if (tree) painter.GetCanvas()->Append(StructureTree::kArtifact);
        drawImage(doc, painter, *page->image, QRectF(0, 0, page->width, page->height));
        if (tree) painter.GetCanvas()->Append(StructureTree::kEndMarked);
      }
      for (const PlacedPicture& picture : page->pictures) {
        if (tree) painter.GetCanvas()->Append(tree->openElement("Figure"));
        drawImage(doc, painter, picture.image, picture.box);
        if (tree) painter.GetCanvas()->Append(StructureTree::kEndMarked);
      }
      if (font)
        drawWords(painter, font, *page, options.content == PageContent::Text,
                  tree ? &*tree : nullptr);
      painter.FinishPage();
      markSuspects(pdfPage, *page);
      addLinks(doc, pdfPage, *page);
      if (page->thumbnail) {
        const auto thumbnail = pdfImage(doc, *page->thumbnail);
        pdfPage->GetObject()->GetDictionary().AddKey("Thumb", thumbnail->GetObject()->Reference());
      }
    }
    if (tree) tree->finish(options.language.tag);
    setInformation(doc.GetInfo(), info, options.creator);
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
