#pragma once
// PDF files as page files, read with qpdf from their bytes (never from a path): their pages,
// each with its size, whether it carries text, and whether it is one image covering the page,
// which is then taken as stored (its JPEG data kept, its pixels decoded as they are). What
// qpdf says about a damaged file is folded into the one line that refuses it.

#include "release/pix.h"

#include <QtGlobal>

#include <QByteArray>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <memory>
#include <vector>

class QPDF;
class QPDFObjectHandle;

namespace zan::release {

// What a page of a PDF is, from its dictionary and its content.
struct PdfPageFacts {
  QSizeF size;     // points, as displayed: its crop box turned by /Rotate, times /UserUnit
  int rotate = 0;  // shown turned clockwise by 0, 90, 180 or 270 degrees: by /Rotate, and for
                   // a one-image page also by the matrix its image is drawn with
  bool carriesText = false;  // its content shows text, visible or not
  bool oneImage = false;     // its content draws one image covering the page (turned or not,
                             // never mirrored), and nothing else
  QSize imageSize;           // oneImage: the image's pixels
  // What keeps the page from being kept as it is in a PDF/A-2b file ("text in a font it does
  // not embed (Helvetica)", "device CMYK colour", "LZW compression"); empty when nothing does.
  QString archiveObstacle;
};

// The image of a one-image page as stored.
struct PdfStoredImage {
  PixPtr pix;       // its pixels; empty when its encoding cannot be taken as stored (JBIG2,
                    // JPEG 2000, a CMYK or separation colour, a mask): the page is rendered then
  QByteArray jpeg;  // its JPEG data, when it may be stored unchanged (grey or RGB)
};

class PdfFile {
 public:
  // Whether `bytes` start like a PDF ("%PDF-" within the first kilobyte).
  static bool looksLikePdf(const QByteArray& bytes);
  // Throws ReleaseError: "a damaged PDF (<qpdf's words>)", "an encrypted PDF",
  // "a PDF without pages".
  explicit PdfFile(QByteArray bytes);
  ~PdfFile();
  PdfFile(PdfFile&&) noexcept;

  int pageCount() const;
  // Throws ReleaseError when the page's content cannot be read.
  PdfPageFacts facts(int index) const;
  // The page's one image (facts().oneImage), within `pixelLimit`. Throws ReleaseError when it
  // cannot be decoded.
  PdfStoredImage storedImage(int index, qint64 pixelLimit) const;

 private:
  // The page's content walked; its one image when facts() says oneImage.
  QPDFObjectHandle oneImage(int index, PdfPageFacts* facts) const;

  QByteArray bytes_;
  std::unique_ptr<QPDF> qpdf_;
  int pages_ = 0;
};

}  // namespace zan::release
