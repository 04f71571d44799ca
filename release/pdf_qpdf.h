#pragma once
// qpdf as the release step uses it on PDFs it did not make: opened from bytes, its warnings
// never printed (they would reach the terminal beside the program's line), its errors' words
// kept for the one line that reports them.

#include <QByteArray>
#include <QString>

#include <exception>
#include <memory>

class QPDF;

namespace zan::release {

// `bytes` opened with qpdf (which repairs what it can). The bytes must outlive the result.
// Throws ReleaseError: "an encrypted PDF (a password is needed)", "a damaged PDF (<qpdf's
// words>)".
std::unique_ptr<QPDF> openQpdf(const QByteArray& bytes);

// What qpdf said in `e`, without the file's name it starts with.
QString qpdfWords(const std::exception& e);

}  // namespace zan::release
