#pragma once
// The structure tree of a tagged PDF, built while the pages are drawn: a Document element
// holding one element per paragraph (or picture) in reading order, each tied to a marked-content
// sequence of its page's content stream.

#include <QString>

#include <string>
#include <vector>

namespace PoDoFo {
class PdfMemDocument;
class PdfObject;
class PdfPage;
}  // namespace PoDoFo

namespace zan::release {

class StructureTree {
 public:
  explicit StructureTree(PoDoFo::PdfMemDocument& doc);

  // The page whose content is drawn next.
  void beginPage(PoDoFo::PdfPage* page);
  // Adds an element of type `role` ("P", "Figure") on the current page and returns the
  // operator that opens its marked-content sequence; close it with kEndMarked.
  std::string openElement(const char* role);
  // Writes the tree into the document: the structure tree root, the parent tree, the
  // catalog's mark information and, when given, the document's language ("en-US").
  void finish(const QString& language);

  static constexpr const char* kArtifact = "/Artifact BMC\n";  // page content outside the tree
  static constexpr const char* kEndMarked = "EMC\n";

 private:
  PoDoFo::PdfMemDocument& doc_;
  PoDoFo::PdfObject* root_;
  PoDoFo::PdfObject* document_;
  PoDoFo::PdfPage* page_ = nullptr;
  std::vector<PoDoFo::PdfObject*> elements_;             // in reading order
  std::vector<std::vector<PoDoFo::PdfObject*>> byPage_;  // per page, indexed by marked-content id
};

}  // namespace zan::release
