#pragma once
// The last pass over a built PDF, with qpdf: the PDF pages kept as they are placed on the pages
// made for them (each drawn as a form XObject made of the page, its annotations left out), and
// the objects packed into object streams with a cross-reference stream (PDF 1.5, allowed by
// PDF/A-2), which PoDoFo 0.9.8 cannot write: its dictionaries (pages, fonts, one per
// annotation) are Flate-compressed together instead of standing as plain text. qpdf leaves
// every stream's data as it is (images, the unfiltered XMP metadata).

#include "release/page_pipeline.h"

#include <QByteArray>

#include <vector>

namespace zan::release {

// A kept PDF page and the 0-based page of the built PDF that shows it.
struct KeptPlacement {
  int page = 0;
  const KeptPdfPage* kept = nullptr;
};

// The same document with the kept pages placed and object streams. Without kept pages, the
// document as it is when qpdf cannot read it (it is valid either way); with them, throws
// ReleaseError when they cannot be placed.
QByteArray withObjectStreams(const QByteArray& pdf, const std::vector<KeptPlacement>& kept = {});

}  // namespace zan::release
