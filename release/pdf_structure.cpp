#include "release/pdf_structure.h"

#include <podofo/podofo.h>

namespace zan::release {

using namespace PoDoFo;

StructureTree::StructureTree(PdfMemDocument& doc)
    : doc_(doc),
      root_(doc.GetObjects().CreateObject("StructTreeRoot")),
      document_(doc.GetObjects().CreateObject("StructElem")) {
  document_->GetDictionary().AddKey("S", PdfName("Document"));
  document_->GetDictionary().AddKey("P", root_->Reference());
}

void StructureTree::beginPage(PdfPage* page) {
  page_ = page;
  page->GetObject()->GetDictionary().AddKey("StructParents",
                                            static_cast<pdf_int64>(byPage_.size()));
  byPage_.emplace_back();
}

std::string StructureTree::openElement(const char* role) {
  const auto id = static_cast<pdf_int64>(byPage_.back().size());
  PdfObject* element = doc_.GetObjects().CreateObject("StructElem");
  PdfDictionary& d = element->GetDictionary();
  d.AddKey("S", PdfName(role));
  d.AddKey("P", document_->Reference());
  d.AddKey("Pg", page_->GetObject()->Reference());
  d.AddKey("K", id);
  elements_.push_back(element);
  byPage_.back().push_back(element);
  return "/" + std::string(role) + " <</MCID " + std::to_string(id) + ">> BDC\n";
}

void StructureTree::finish(const QString& language) {
  PdfArray kids;
  for (PdfObject* e : elements_) kids.push_back(e->Reference());
  document_->GetDictionary().AddKey("K", kids);

  PdfArray nums;
  for (std::size_t page = 0; page < byPage_.size(); ++page) {
    PdfArray marked;
    for (PdfObject* e : byPage_[page]) marked.push_back(e->Reference());
    nums.push_back(static_cast<pdf_int64>(page));
    nums.push_back(marked);
  }
  PdfDictionary parentTree;
  parentTree.AddKey("Nums", nums);
  PdfDictionary& root = root_->GetDictionary();
  root.AddKey("K", document_->Reference());
  root.AddKey("ParentTree", doc_.GetObjects().CreateObject(parentTree)->Reference());
  root.AddKey("ParentTreeNextKey", static_cast<pdf_int64>(byPage_.size()));

  PdfDictionary& catalog = doc_.GetCatalog()->GetDictionary();
  catalog.AddKey("StructTreeRoot", root_->Reference());
  PdfDictionary markInfo;
  markInfo.AddKey("Marked", true);
  catalog.AddKey("MarkInfo", markInfo);
  if (!language.isEmpty()) catalog.AddKey("Lang", PdfString(language.toUtf8().constData()));
}

}  // namespace zan::release
