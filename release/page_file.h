#pragma once
// Page files (PNG, TIFF with any number of pages, JPEG, PNM, BMP, and PDF with any number of
// pages): read whole before anything else (a regular file of at most kPageFileBytes, opened
// without blocking, so that a FIFO or a device is refused and never waited on), their pages
// counted and their sizes taken from the headers (a PDF page's from its one image, or from its
// size at the resolution it is rendered at), and a page decoded through Leptonica, or rendered
// through Poppler, only once its declared size is within the pixel budget (pixel_budget.h).
// What the libraries say while a page is decoded is folded into the failure's one line.

#include "release/pix.h"
#include "release/pixel_budget.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

namespace zan::release {

class PdfFile;

// The file formats a page can be handed on in.
enum class PageFileFormat { Tiff, Png, Jpeg };

// Where a page's resolution comes from.
enum class ResolutionSource {
  Stated,       // the image file states it
  NoneStated,   // the image states none: 300 dpi
  Implausible,  // the image states an implausible one: 300 dpi
  Given,        // --image-dpi
  PdfPage       // the page's size in its PDF
};
// "stated", "none stated", "implausible", "--image-dpi", "PDF page".
QString resolutionSourceName(ResolutionSource source);

struct PageResolution {
  double dpi = 300;  // pixels per inch
  ResolutionSource source = ResolutionSource::Stated;
  int stated = 0;  // what the image states
};

// The resolution of a page image of `width` x `height` pixels that states `stated` dpi (0 or
// 1: none), or `given` (> 0) for every page. A stated resolution is implausible below 50 dpi
// or above 9600, or below 150 dpi (a screen's 72 or 96 written by an image tool) when the page
// would then be larger than 17 x 24 inches (a scan of an A4 page at 300 dpi stating 72 would
// be 34 x 49 inches); none stated and implausible ones count as 300 dpi.
PageResolution imageResolution(int stated, int width, int height, int given);

// A page as the release step takes it from its file.
struct TakenPage {
  PixPtr pix;
  PageResolution resolution;
  QByteArray jpeg;  // the JPEG data `pix` was decoded from, which may be stored unchanged (a
                    // JPEG file's, a PDF page's one image); empty: none
  int rotate = 0;   // a PDF page whose image is taken as stored, shown turned clockwise by this
};

class PageFile {
 public:
  // The file `path` names (links followed: an operator's file, or the program's own copy).
  // Throws ReleaseError with the reason alone: "no such file", "not a regular file", "larger
  // than 512 MB", "not an image or PDF (PNG, TIFF, JPEG, PNM, BMP or PDF)", "a TIFF file
  // without pages", "a damaged PDF (...)".
  static PageFile read(const QString& path);
  // A page file's bytes, already read. Throws ReleaseError as read() does.
  explicit PageFile(QByteArray bytes);
  ~PageFile();
  PageFile(PageFile&&) noexcept;

  const QByteArray& bytes() const { return bytes_; }
  int pageCount() const { return pages_; }
  // The size page `index` (0-based) declares in its header; nothing is decoded. Throws
  // ReleaseError when the header cannot be read.
  QSize declaredSize(int index) const;
  // The declared pixels of each page. Throws ReleaseError, naming the size, when a page
  // declares more than `pixelLimit` pixels.
  std::vector<qint64> checkedPixels(qint64 pixelLimit) const;
  // Whether the file is in `format` (any TIFF for Tiff).
  bool isIn(PageFileFormat format) const;
  bool isJpeg() const;
  // The PDF, when the file is one; else null.
  const PdfFile* pdf() const { return pdf_.get(); }
  // Page `index` decoded, with any alpha channel blended onto white (a PDF page: its one image
  // as stored, else rendered at kPdfRenderDpi), once its declared size is within
  // `pixelLimit`; an image's resolution as it states it, or `imageDpi` when that is given.
  // Throws ReleaseError with the libraries' own words in parentheses.
  TakenPage take(int index, int imageDpi = 0, qint64 pixelLimit = kPagePixels) const;
  // take()'s pixels alone.
  PixPtr decode(int index, qint64 pixelLimit = kPagePixels) const;

 private:
  // The declared pixels of page `index`; throws ReleaseError, naming the size, beyond
  // `pixelLimit`.
  qint64 checkedSize(int index, qint64 pixelLimit) const;
  TakenPage takePdfPage(int index, qint64 pixelLimit) const;

  QByteArray bytes_;
  int format_ = 0;
  int pages_ = 0;
  std::unique_ptr<PdfFile> pdf_;
};

// How many pages the file holds (the pages of a TIFF or a PDF; 1 for the other formats). Throws
// ReleaseError as PageFile::read() does.
int countPages(const QString& path);

// Page `index` (0-based) of the file, decoded as PageFile::decode() does.
PixPtr readPage(const QString& path, int index);

}  // namespace zan::release
