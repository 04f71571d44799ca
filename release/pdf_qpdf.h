#pragma once
// qpdf as the release step uses it on PDFs it did not make: opened from bytes, its warnings
// never printed (they would reach the terminal beside the program's line), its errors' words
// kept for the one line that reports them.

#include <QByteArray>
#include <QString>

#include <exception>
#include <memory>

class QPDF;
class QPDFWriter;

namespace zan::release {

// `bytes` opened with qpdf (which repairs what it can). The bytes must outlive the result.
// Throws ReleaseError: "an encrypted PDF (a password is needed)", "a damaged PDF (<qpdf's
// words>)".
std::unique_ptr<QPDF> openQpdf(const QByteArray& bytes);

// Page `index` (0-based) of the PDF `bytes` alone, as a PDF of one page: its content and
// resources copied, what it inherits from its page tree made its own. Throws ReleaseError as
// openQpdf() does, and when the page cannot be copied.
QByteArray pdfPageAlone(const QByteArray& bytes, int index);

// Writes with `writer` (set to write to memory) and returns what it wrote.
QByteArray writtenPdf(QPDFWriter& writer);

// What qpdf said in `e`, without the file's name it starts with.
QString qpdfWords(const std::exception& e);

}  // namespace zan::release
