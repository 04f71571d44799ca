#include "release/pdf_annotations.h"

#include <podofo/podofo.h>

#include <algorithm>

namespace zan::release {
namespace {

using namespace PoDoFo;

// A text string: PDFDocEncoding when the text is ASCII (half the size), else UTF-16.
PdfString textString(const QString& text) {
  const bool ascii =
      std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; });
  if (ascii) return PdfString(text.toLatin1().constData());
  const QByteArray bytes = text.toUtf8();
  return PdfString(reinterpret_cast<const pdf_utf8*>(bytes.constData()), bytes.size());
}

PdfRect rectOf(const QRectF& b) {
  return PdfRect(b.x(), b.y(), b.width(), b.height());
}

PdfArray numbers(std::initializer_list<double> values) {
  PdfArray a;
  for (double v : values) a.push_back(PdfVariant(v));
  return a;
}

}  // namespace

PdfObject* PageAnnotations::highlightAppearance() {
  if (appearance_) return appearance_;
  // A unit square of the highlight colour, multiplied onto the page so that the word stays
  // legible; a viewer stretches it over each annotation's rectangle.
  appearance_ = doc_.GetObjects().CreateObject("XObject");
  PdfDictionary& d = appearance_->GetDictionary();
  d.AddKey("Subtype", PdfName("Form"));
  d.AddKey("BBox", numbers({0, 0, 1, 1}));
  PdfDictionary multiply;
  multiply.AddKey("Type", PdfName("ExtGState"));
  multiply.AddKey("BM", PdfName("Multiply"));
  PdfDictionary states;
  states.AddKey("M", multiply);
  PdfDictionary resources;
  resources.AddKey("ExtGState", states);
  d.AddKey("Resources", resources);
  appearance_->GetStream()->Set("/M gs 1 0.85 0 rg 0 0 1 1 re f");
  return appearance_;
}

void PageAnnotations::annotate(PdfPage* pdfPage, const PageResult& page) {
  for (const PlacedWord& w : page.words) {
    if (w.reasons.isEmpty()) continue;
    const QRectF& b = w.box;
    PdfAnnotation* note = pdfPage->CreateAnnotation(ePdfAnnotation_Highlight, rectOf(b));
    // QRectF's bottom() is the larger y: the word's top on the page.
    note->SetQuadPoints(numbers(
        {b.left(), b.bottom(), b.right(), b.bottom(), b.left(), b.top(), b.right(), b.top()}));
    note->SetColor(1.0, 0.85, 0.0);
    note->SetTitle(PdfString("zan-release"));
    note->SetContents(textString(w.note));
    note->SetFlags(ePdfAnnotationFlags_Print);
    PdfDictionary appearance;
    appearance.AddKey("N", highlightAppearance()->Reference());
    note->GetObject()->GetDictionary().AddKey("AP", appearance);
  }
  for (const PlacedWord& w : page.words) {
    if (w.link.isEmpty()) continue;
    PdfAnnotation* link = pdfPage->CreateAnnotation(ePdfAnnotation_Link, rectOf(w.box));
    PdfAction action(ePdfAction_URI, &doc_);
    action.SetURI(PdfString(w.link.toUtf8().constData()));
    link->SetAction(action);
    link->SetBorderStyle(0, 0, 0);
    link->SetFlags(ePdfAnnotationFlags_Print);
  }
}

}  // namespace zan::release
