#pragma once
// Page image files (PNG, TIFF with any number of pages, JPEG, PNM, BMP): read whole before
// anything else (a regular file of at most kPageFileBytes, opened without blocking, so that a
// FIFO or a device is refused and never waited on), their pages counted and their sizes taken
// from the headers, and a page decoded through Leptonica only once its declared size is within
// the pixel budget (pixel_budget.h). What the image libraries say while a page is decoded is
// folded into the failure's one line.

#include "release/pixel_budget.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

struct Pix;

namespace zan::release {

struct PixDeleter {
  void operator()(Pix* pix) const;
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

// The file formats a page can be handed on in.
enum class PageFileFormat { Tiff, Png, Jpeg };

class PageFile {
 public:
  // The file `path` names (links followed: an operator's file, or the program's own copy).
  // Throws ReleaseError with the reason alone: "no such file", "not a regular file", "larger
  // than 512 MB", "not an image (PNG, TIFF, JPEG, PNM or BMP)", "a TIFF file without pages".
  static PageFile read(const QString& path);
  // A page image file's bytes, already read. Throws ReleaseError as read() does.
  explicit PageFile(QByteArray bytes);

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
  // Page `index` decoded, with any alpha channel blended onto white, once its declared size is
  // within `pixelLimit`. Throws ReleaseError with the libraries' own words in parentheses.
  PixPtr decode(int index, qint64 pixelLimit = kPagePixels) const;

 private:
  QByteArray bytes_;
  int format_ = 0;
  int pages_ = 0;
};

// How many pages the file holds (the pages of a TIFF; 1 for the other formats). Throws
// ReleaseError as PageFile::read() does.
int countPages(const QString& path);

// Page `index` (0-based) of the file, decoded as PageFile::decode() does.
PixPtr readPage(const QString& path, int index);

}  // namespace zan::release
