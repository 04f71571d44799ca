#pragma once
// The text layer of a page, drawn word by word on its baseline and stretched to the word's
// width: visible text in DejaVu Sans, embedded as a subset with a Unicode map (or, for a plain
// PDF that asks for it, only named); invisible text over a page image in Tesseract's glyph-less
// font (every character one empty glyph, a few hundred bytes), which keeps search and copy exact
// without carrying a real font.

#include "release/page_pipeline.h"
#include "release/release_options.h"

#include <QByteArray>
#include <QString>

#include <bitset>

namespace PoDoFo {
class PdfFont;
class PdfMemDocument;
class PdfObject;
class PdfPage;
class PdfStream;
}  // namespace PoDoFo

namespace zan::release {

class StructureTree;

// A number of a content stream: two decimals at most (1/7200 inch), no trailing zeros.
QByteArray pdfNumber(double v);
// "a b c d e f" of a transformation matrix.
QByteArray pdfMatrix(double a, double b, double c, double d, double e, double f);

// The TrueType font the text is drawn in (DejaVu Sans from fonts-dejavu-core).
QString textFontFile();

// The glyph-less font Tesseract ships (libtesseract5); empty when it is not installed, and the
// invisible text then uses DejaVu Sans.
QString glyphLessFontFile();

class TextLayer {
 public:
  // Throws ReleaseError when the font cannot be used.
  TextLayer(PoDoFo::PdfMemDocument& doc, const ReleaseOptions& options);

  // Draws the page's words: one text object per paragraph, which a tagged PDF marks as a P
  // element; each word but a paragraph's last carries a space after it.
  void draw(PoDoFo::PdfPage* pdfPage, PoDoFo::PdfStream* canvas, const PageResult& page,
            StructureTree* tree);
  // Completes the fonts once every page is drawn.
  void finish();

 private:
  void makeGlyphLessFont(PoDoFo::PdfMemDocument& doc, const QByteArray& program);
  // The word as the font draws it, and its width at 1 point without stretching; an empty
  // text for a word the font cannot show at all.
  QByteArray shown(const QString& text, double* width);

  bool visible_ = false;
  PoDoFo::PdfFont* font_ = nullptr;         // DejaVu Sans, or null for the glyph-less font
  PoDoFo::PdfObject* glyphLess_ = nullptr;  // the glyph-less font's Type 0 dictionary
  PoDoFo::PdfObject* toUnicode_ = nullptr;  // the glyph-less font's Unicode map
  std::bitset<256> usedHighBytes_;          // of the characters drawn in the glyph-less font
  QByteArray resource_;                     // the font's resource name on every page
};

}  // namespace zan::release
