#pragma once
// PDF pages rendered with Poppler (its C++ interface), from the file's bytes: pages that are not
// one image, at 300 dpi. Poppler's own messages go to the failure they belong to, never to the
// terminal by themselves.

#include "release/pix.h"

#include <QByteArray>
#include <QSizeF>

namespace zan::release {

// Page `index` of the PDF `bytes`, whose size (points, as displayed) the caller measured as
// `size`, rendered at `dpi` on white: RGB, or 8-bit grey when it shows no colour. The pixels
// are checked against `pixelLimit` before rendering. Throws ReleaseError with Poppler's words.
PixPtr renderPdfPage(const QByteArray& bytes, int index, const QSizeF& size, double dpi,
                     qint64 pixelLimit);

// Sends Poppler's messages where the other libraries' go (library_messages.h); once is enough.
void routePdfRendererMessages();

}  // namespace zan::release
