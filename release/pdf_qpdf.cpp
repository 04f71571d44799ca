#include "release/pdf_qpdf.h"

#include "release/release_error.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

namespace zan::release {
namespace {

constexpr int kLongestWords = 200;

}  // namespace

std::unique_ptr<QPDF> openQpdf(const QByteArray& bytes) {
  auto pdf = std::make_unique<QPDF>();
  pdf->setSuppressWarnings(true);
  try {
    pdf->processMemoryFile("PDF", bytes.constData(), static_cast<size_t>(bytes.size()));
  } catch (const QPDFExc& e) {
    if (e.getErrorCode() == qpdf_e_password)
      throw ReleaseError(QStringLiteral("an encrypted PDF (a password is needed)"));
    throw ReleaseError(QStringLiteral("a damaged PDF (%1)").arg(qpdfWords(e)));
  } catch (const std::exception& e) {
    throw ReleaseError(QStringLiteral("a damaged PDF (%1)").arg(qpdfWords(e)));
  }
  return pdf;
}

QByteArray pdfPageAlone(const QByteArray& bytes, int index) {
  const std::unique_ptr<QPDF> source = openQpdf(bytes);
  try {
    source->pushInheritedAttributesToPage();
    const std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(*source).getAllPages();
    if (index < 0 || static_cast<std::size_t>(index) >= pages.size())
      throw ReleaseError(QStringLiteral("the PDF has no page %1").arg(index + 1));
    QPDF alone;
    alone.emptyPDF();
    alone.setSuppressWarnings(true);
    QPDFPageDocumentHelper(alone).addPage(pages[static_cast<std::size_t>(index)], false);
    QPDFWriter writer(alone);
    writer.setOutputMemory();
    return writtenPdf(writer);
  } catch (const ReleaseError&) {
    throw;
  } catch (const std::exception& e) {
    throw ReleaseError(QStringLiteral("the PDF page cannot be copied (%1)").arg(qpdfWords(e)));
  }
}

QByteArray writtenPdf(QPDFWriter& writer) {
  writer.write();
  const std::shared_ptr<Buffer> written = writer.getBufferSharedPointer();
  return QByteArray(reinterpret_cast<const char*>(written->getBuffer()),
                    static_cast<qsizetype>(written->getSize()));
}

QString qpdfWords(const std::exception& e) {
  QString words = QString::fromLocal8Bit(e.what()).simplified();
  if (const auto* q = dynamic_cast<const QPDFExc*>(&e))
    words = QString::fromStdString(q->getMessageDetail()).simplified();
  if (words.size() > kLongestWords) words = words.left(kLongestWords - 3) + QStringLiteral("...");
  return words;
}

}  // namespace zan::release
