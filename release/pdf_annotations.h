#pragma once
// The annotations of a page: a highlight over each suspect word with its note, and a link over
// each word that holds a web or e-mail address. Every annotation is printable (as PDF/A asks);
// the highlights share one appearance stream, which each one stretches over its word.

#include "release/page_pipeline.h"

namespace PoDoFo {
class PdfMemDocument;
class PdfPage;
class PdfObject;
}  // namespace PoDoFo

namespace zan::release {

class PageAnnotations {
 public:
  explicit PageAnnotations(PoDoFo::PdfMemDocument& doc) : doc_(doc) {}

  // Adds the page's highlights and links.
  void annotate(PoDoFo::PdfPage* pdfPage, const PageResult& page);

 private:
  PoDoFo::PdfObject* highlightAppearance();

  PoDoFo::PdfMemDocument& doc_;
  PoDoFo::PdfObject* appearance_ = nullptr;  // made with the document's first highlight
};

}  // namespace zan::release
