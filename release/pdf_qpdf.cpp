#include "release/pdf_qpdf.h"

#include "release/release_error.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>

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

QString qpdfWords(const std::exception& e) {
  QString words = QString::fromLocal8Bit(e.what()).simplified();
  if (const auto* q = dynamic_cast<const QPDFExc*>(&e))
    words = QString::fromStdString(q->getMessageDetail()).simplified();
  if (words.size() > kLongestWords) words = words.left(kLongestWords - 3) + QStringLiteral("...");
  return words;
}

}  // namespace zan::release
