#pragma once
// Packing a written PDF's objects into object streams with a cross-reference stream (PDF 1.5,
// allowed by PDF/A-2), which PoDoFo 0.9.8 cannot write: its dictionaries (pages, fonts, one per
// annotation) are Flate-compressed together instead of standing as plain text. Done by qpdf,
// which leaves every stream's data as it is (images, the unfiltered XMP metadata).

#include <QByteArray>

namespace zan::release {

// The same document with object streams; the document as it is when qpdf cannot read it (it
// is valid either way).
QByteArray withObjectStreams(const QByteArray& pdf);

}  // namespace zan::release
