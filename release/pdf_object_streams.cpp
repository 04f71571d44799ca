#include "release/pdf_object_streams.h"

#include "release/pdf_qpdf.h"
#include "release/release_error.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <memory>

namespace zan::release {
namespace {

// Font descriptors of the kept page without /CIDSet, which PDF/A-2 allows only complete and
// which nothing here can check: it is optional, so it goes. Forms within forms as deep as the
// page walk follows them.
void dropCidSets(QPDFObjectHandle resources, int depth) {
  if (!resources.isDictionary() || depth > 8) return;
  QPDFObjectHandle fonts = resources.getKey("/Font");
  if (fonts.isDictionary()) {
    for (const std::string& key : fonts.getKeys()) {
      QPDFObjectHandle font = fonts.getKey(key);
      if (!font.isDictionary()) continue;
      QPDFObjectHandle descendants = font.getKey("/DescendantFonts");
      if (descendants.isArray() && descendants.getArrayNItems() > 0)
        font = descendants.getArrayItem(0);
      QPDFObjectHandle descriptor = font.getKey("/FontDescriptor");
      if (descriptor.isDictionary()) descriptor.removeKey("/CIDSet");
    }
  }
  QPDFObjectHandle xobjects = resources.getKey("/XObject");
  if (xobjects.isDictionary())
    for (const std::string& key : xobjects.getKeys()) {
      QPDFObjectHandle x = xobjects.getKey(key);
      if (x.isFormXObject()) dropCidSets(x.getDict().getKey("/Resources"), depth + 1);
    }
}

// Draws page `kept.index` of its file on `page`, which has its size: the kept page becomes a
// form XObject (turned and scaled as it is shown) copied into `document`. `sources` keeps the
// files open until the document is written (qpdf copies their streams then).
void place(QPDF& document, QPDFPageObjectHelper page, const KeptPdfPage& kept,
           std::vector<std::unique_ptr<QPDF>>& sources) {
  sources.push_back(openQpdf(kept.pdf));
  std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(*sources.back()).getAllPages();
  if (kept.index < 0 || static_cast<std::size_t>(kept.index) >= pages.size())
    throw ReleaseError(QStringLiteral("the kept PDF page is gone"));
  QPDFObjectHandle form = document.copyForeignObject(pages[kept.index].getFormXObjectForPage());
  dropCidSets(form.getDict().getKey("/Resources"), 0);
  QPDFObjectHandle resources = page.getAttribute("/Resources", true);
  if (!resources.isDictionary()) {
    resources = QPDFObjectHandle::newDictionary();
    page.getObjectHandle().replaceKey("/Resources", resources);
  }
  if (!resources.getKey("/XObject").isDictionary())
    resources.replaceKey("/XObject", QPDFObjectHandle::newDictionary());
  int suffix = 0;
  const std::string name = resources.getUniqueResourceName("/Kept", suffix);
  resources.getKey("/XObject").replaceKey(name, form);
  const std::string draw =
      page.placeFormXObject(form, name, page.getMediaBox().getArrayAsRectangle(), true, true, true);
  page.addPageContents(QPDFObjectHandle::newStream(&document, "q\n" + draw + "\nQ\n"), false);
}

}  // namespace

QByteArray withObjectStreams(const QByteArray& pdf, const std::vector<KeptPlacement>& kept) {
  try {
    QPDF document;
    document.setSuppressWarnings(true);
    document.processMemoryFile("document", pdf.constData(), static_cast<size_t>(pdf.size()));
    std::vector<std::unique_ptr<QPDF>> sources;
    if (!kept.empty()) {
      std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(document).getAllPages();
      for (const KeptPlacement& k : kept) place(document, pages.at(k.page), *k.kept, sources);
    }
    QPDFWriter writer(document);
    writer.setOutputMemory();
    writer.setObjectStreamMode(qpdf_o_generate);
    writer.setStreamDataMode(qpdf_s_preserve);
    writer.setNewlineBeforeEndstream(true);  // as PDF/A asks
    return writtenPdf(writer);
  } catch (const ReleaseError&) {
    throw;
  } catch (const std::exception& e) {
    if (!kept.empty())
      throw ReleaseError(
          QStringLiteral("the kept PDF pages cannot be placed (%1)").arg(qpdfWords(e)));
    return pdf;
  }
}

}  // namespace zan::release
