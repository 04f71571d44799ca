#include "release/pdf_text.h"

#include "release/pdf_structure.h"
#include "release/recognizer.h"
#include "release/release_error.h"

#include <QFile>
#include <QFileInfo>

#include <podofo/podofo.h>

#include <bitset>
#include <cmath>
#include <optional>

namespace zan::release {
namespace {

using namespace PoDoFo;

constexpr double kPi = 3.14159265358979323846;
// The glyph-less font's one glyph is half an em wide (1024 of 2048 units).
constexpr double kGlyphLessWidth = 0.5;
const char* const kGlyphLessName = "GlyphLessFont";

PdfString utf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return PdfString(reinterpret_cast<const pdf_utf8*>(bytes.constData()), bytes.size());
}

PdfObject* streamObject(PdfMemDocument& doc, const QByteArray& data) {
  PdfObject* object = doc.GetObjects().CreateObject();
  object->GetStream()->Set(data.constData(), data.size());  // Flate-compressed
  return object;
}

// A Unicode map from each 2-byte code to the UTF-16 unit of the same value, for the codes whose
// high byte is in `used` (one range of 256 codes each), in blocks of at most 100 ranges as
// CMaps require.
QByteArray identityToUnicode(const std::bitset<256>& used) {
  QByteArray body, ranges;
  int inBlock = 0;
  const auto flush = [&] {
    if (inBlock == 0) return;
    body += QByteArray::number(inBlock) + " beginbfrange\n" + ranges + "endbfrange\n";
    ranges.clear();
    inBlock = 0;
  };
  for (int high = 0; high < 256; ++high) {
    if (!used[high]) continue;
    const QByteArray h = QByteArray::number(high, 16).rightJustified(2, '0').toUpper();
    ranges += '<' + h + "00> <" + h + "FF> <" + h + "00>\n";
    if (++inBlock == 100) flush();
  }
  flush();
  return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
         "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
         "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
         "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n" +
         body + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

// A literal string of the bytes: (, ) and \\ escaped, and the line ends, which a reader would
// otherwise normalise.
QByteArray literal(const QByteArray& bytes) {
  QByteArray out = "(";
  for (char b : bytes) {
    if (b == '(' || b == ')' || b == '\\') {
      out += '\\';
      out += b;
    } else if (b == '\r') {
      out += "\\r";
    } else if (b == '\n') {
      out += "\\n";
    } else {
      out += b;
    }
  }
  return out + ')';
}

}  // namespace

QByteArray pdfNumber(double v) {
  QByteArray s = QByteArray::number(v, 'f', 2);
  while (s.endsWith('0')) s.chop(1);
  if (s.endsWith('.')) s.chop(1);
  return s == "-0" ? QByteArrayLiteral("0") : s;
}

QByteArray pdfMatrix(double a, double b, double c, double d, double e, double f) {
  return pdfNumber(a) + ' ' + pdfNumber(b) + ' ' + pdfNumber(c) + ' ' + pdfNumber(d) + ' ' +
         pdfNumber(e) + ' ' + pdfNumber(f);
}

QString textFontFile() {
  return QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
}

QString glyphLessFontFile() {
  for (const QString& folder :
       {tessdataFolder(), QStringLiteral("/usr/share/tesseract-ocr/5/tessdata")}) {
    const QString path = folder + QStringLiteral("/pdf.ttf");
    if (QFileInfo(path).isReadable()) return path;
  }
  return {};
}

TextLayer::TextLayer(PdfMemDocument& doc, const ReleaseOptions& options)
    : visible_(options.content == PageContent::Text) {
  if (!visible_) {
    QFile program(glyphLessFontFile());
    if (!program.fileName().isEmpty() && program.open(QIODevice::ReadOnly)) {
      makeGlyphLessFont(doc, program.readAll());
      return;
    }
  }
  const QByteArray fontFile = QFile::encodeName(textFontFile());
  if (visible_ && !options.embedFonts && options.standard == PdfStandard::Plain)
    font_ = doc.CreateFont("DejaVu Sans", false, false, false,
                           PdfEncodingFactory::GlobalWinAnsiEncodingInstance(),
                           PdfFontCache::eFontCreationFlags_None, false, fontFile.constData());
  else
    font_ = doc.CreateFontSubset("DejaVu Sans", false, false, false,
                                 PdfEncodingFactory::GlobalIdentityEncodingInstance(),
                                 fontFile.constData());
  if (!font_) throw ReleaseError(QStringLiteral("the font %1 cannot be used").arg(textFontFile()));
  resource_ = QByteArray(font_->GetIdentifier().GetName().c_str());
}

void TextLayer::makeGlyphLessFont(PdfMemDocument& doc, const QByteArray& program) {
  PdfObject* file = streamObject(doc, program);
  file->GetDictionary().AddKey("Length1", static_cast<pdf_int64>(program.size()));
  PdfObject* descriptor = doc.GetObjects().CreateObject("FontDescriptor");
  PdfDictionary& fd = descriptor->GetDictionary();
  fd.AddKey("FontName", PdfName(kGlyphLessName));
  fd.AddKey("Flags", static_cast<pdf_int64>(5));  // fixed pitch, symbolic
  PdfArray box;
  for (pdf_int64 v : {0, 0, 500, 1000}) box.push_back(v);
  fd.AddKey("FontBBox", box);
  fd.AddKey("ItalicAngle", PdfObject(static_cast<pdf_int64>(0)));
  fd.AddKey("Ascent", static_cast<pdf_int64>(1000));
  fd.AddKey("Descent", PdfObject(static_cast<pdf_int64>(0)));
  fd.AddKey("CapHeight", static_cast<pdf_int64>(1000));
  fd.AddKey("StemV", static_cast<pdf_int64>(80));
  fd.AddKey("FontFile2", file->Reference());

  // Every code draws the one glyph (glyph 1).
  QByteArray toGlyph(2 * 65536, '\0');
  for (int i = 1; i < toGlyph.size(); i += 2) toGlyph[i] = 1;
  PdfObject* cidFont = doc.GetObjects().CreateObject("Font");
  PdfDictionary& cf = cidFont->GetDictionary();
  cf.AddKey("Subtype", PdfName("CIDFontType2"));
  cf.AddKey("BaseFont", PdfName(kGlyphLessName));
  PdfDictionary system;
  system.AddKey("Registry", PdfString("Adobe"));
  system.AddKey("Ordering", PdfString("Identity"));
  system.AddKey("Supplement", PdfObject(static_cast<pdf_int64>(0)));
  cf.AddKey("CIDSystemInfo", system);
  cf.AddKey("FontDescriptor", descriptor->Reference());
  cf.AddKey("DW", static_cast<pdf_int64>(1000 * kGlyphLessWidth));
  cf.AddKey("CIDToGIDMap", streamObject(doc, toGlyph)->Reference());

  glyphLess_ = doc.GetObjects().CreateObject("Font");
  PdfDictionary& t0 = glyphLess_->GetDictionary();
  t0.AddKey("Subtype", PdfName("Type0"));
  t0.AddKey("BaseFont", PdfName(kGlyphLessName));
  t0.AddKey("Encoding", PdfName("Identity-H"));
  PdfArray descendants;
  descendants.push_back(cidFont->Reference());
  t0.AddKey("DescendantFonts", descendants);
  toUnicode_ = doc.GetObjects().CreateObject();  // written by finish()
  t0.AddKey("ToUnicode", toUnicode_->Reference());
  resource_ = "FGL";
}

QByteArray TextLayer::shown(const QString& text, double* width) {
  QString drawable;
  if (glyphLess_) {
    // Each character its UTF-16 unit, the code the Unicode map gives back.
    QByteArray codes;
    for (QChar c : text) {
      if (c.isSurrogate() || c.unicode() == 0) continue;
      codes += static_cast<char>(c.unicode() >> 8);
      codes += static_cast<char>(c.unicode() & 0xFF);
      usedHighBytes_.set(c.unicode() >> 8);
    }
    *width = kGlyphLessWidth * static_cast<double>(codes.size() / 2);
    return codes.isEmpty() ? QByteArray() : literal(codes);
  }
  // Characters the font has no glyph for are left out: PDF/A forbids drawing the missing
  // glyph, and no viewer could show it.
  const PdfFontMetrics* metrics = font_->GetFontMetrics();
  for (QChar c : text)
    if (!c.isSurrogate() && metrics->GetGlyphId(c.unicode()) != 0) drawable += c;
  if (drawable.isEmpty()) return {};
  font_->SetFontSize(1.0f);
  font_->SetFontScale(100.0f);
  *width = metrics->StringWidth(utf8(drawable));
  const PdfString string = utf8(drawable);
  if (font_->IsSubsetting()) font_->AddUsedSubsettingGlyphs(string, string.GetCharacterLength());
  const PdfRefCountedBuffer codes = font_->GetEncoding()->ConvertToEncoding(string, font_);
  return '<' +
         QByteArray(codes.GetBuffer(), static_cast<qsizetype>(codes.GetSize())).toHex().toUpper() +
         '>';
}

void TextLayer::draw(PdfPage* pdfPage, PdfStream* canvas, const PageResult& page,
                     StructureTree* tree) {
  pdfPage->AddResource(PdfName(resource_.constData()),
                       glyphLess_ ? glyphLess_->Reference() : font_->GetObject()->Reference(),
                       PdfName("Font"));
  double size = -1;
  std::optional<QPointF> lineStart;  // the origin of the upright word drawn last
  for (std::size_t i = 0; i < page.words.size(); ++i) {
    const PlacedWord& w = page.words[i];
    const bool first = i == 0 || page.words[i - 1].paragraph != w.paragraph;
    const bool last = i + 1 == page.words.size() || page.words[i + 1].paragraph != w.paragraph;
    if (first) {
      if (tree) canvas->Append(tree->openElement("P"));
      canvas->Append(visible_ ? "BT\n" : "BT 3 Tr\n");
      size = -1;
      lineStart.reset();
    }
    double withSpace = 0;
    // A space after each word but a paragraph's last, beyond the word's box: tools that extract
    // text (and readers that follow the structure tree) find the words apart even where
    // recognition found their boxes touching.
    const QByteArray text = shown(last ? w.text : w.text + QLatin1Char(' '), &withSpace);
    double word = 0;  // the width of the word itself, without the space after it
    shown(w.text, &word);
    if (w.fontSize > 0 && w.length > 0 && !text.isEmpty() && word > 0) {
      if (w.fontSize != size)
        canvas->Append('/' + resource_ + ' ' + pdfNumber(w.fontSize) + " Tf ");
      size = w.fontSize;
      QByteArray place;
      if (w.angle == 0 && lineStart) {  // upright after upright: moved from the word before
        place = pdfNumber(w.origin.x() - lineStart->x()) + ' ' +
                pdfNumber(w.origin.y() - lineStart->y()) + " Td ";
      } else {
        const double a = w.angle * kPi / 180.0;
        const double c = std::round(std::cos(a)), s = std::round(std::sin(a));
        place = pdfMatrix(c, s, -s, c, w.origin.x(), w.origin.y()) + " Tm ";
      }
      lineStart = w.angle == 0 ? std::optional<QPointF>(w.origin) : std::nullopt;
      // (The text may hold zero bytes: appended with its length.)
      const QByteArray shownWord =
          pdfNumber(100.0 * w.length / (word * w.fontSize)) + " Tz " + place + text + " Tj\n";
      canvas->Append(shownWord.constData(), static_cast<size_t>(shownWord.size()));
    }
    if (last) {
      canvas->Append("ET\n");
      if (tree) canvas->Append(StructureTree::kEndMarked);
    }
  }
}

}  // namespace zan::release

namespace zan::release {

void TextLayer::finish() {
  if (toUnicode_) {
    const QByteArray map = identityToUnicode(usedHighBytes_);
    toUnicode_->GetStream()->Set(map.constData(), map.size());
  }
}

}  // namespace zan::release
