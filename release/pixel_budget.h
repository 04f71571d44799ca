#pragma once
// The pixel budget: how large the pages that a program decodes may be, so that its memory stays
// bounded whatever the pages declare. A page image's size is read from its file's header and
// checked before the page is decoded:
//
//  - per page: a page may declare at most kPagePixels pixels (100 megapixels: an A3 page at
//    700 dpi, A4 at 1000 dpi); a larger one is refused with one line that names
//    its size, before anything is allocated for it;
//  - per program: the pages being processed at once (zan-release's or zan-hub's --jobs workers)
//    may together hold at most the program's budget (--pixel-budget, kProgramPixels by
//    default); a worker whose page does not fit waits for the others' pages to finish.
//
// At its peak a page in the pipeline takes about 16 bytes per declared pixel in colour and 5 in
// grey (the decoded scan, the page turned upright, the copy recognition reads, Tesseract's own
// images, the encoded image). Measured with zan-release, image with hidden text, Normal
// accuracy: one 100-megapixel colour page 1.56 GB, two at once (--jobs 2) 3.08 GB, the same two
// with --pixel-budget 100 (one at a time) 1.75 GB; in grey 0.48, 0.87 and 0.55 GB. So the pages'
// memory stays below about 16 bytes times the program's budget, whatever --jobs is.
//
// A PDF page declares the pixels of its one image when it is one image (taken as stored), else
// the pixels it renders into at kPdfRenderDpi (its size in inches times that resolution); either
// is checked before anything is decoded or rendered.
//
// Recognition reads a page from at most readingPixels(accuracy) of those pixels: the page is
// scaled down to read its characters at the accuracy setting's height (reading_scale.h), and
// further when it would still be larger, but never below the height characters can be read at;
// it is never scaled up. So what recognition adds to a page's memory is bounded by the page's
// own pixels, and the program's memory by the pixels in progress, whatever --jobs is.

#include <QtGlobal>

#include <condition_variable>
#include <mutex>
#include <utility>

namespace zan::release {

inline constexpr qint64 kPagePixels = 100'000'000;
inline constexpr qint64 kProgramPixels = 200'000'000;
// A page image file is read whole before it is decoded: at most this many bytes (a page of
// kPagePixels pixels stored without compression, in colour, is 300 MB).
inline constexpr qint64 kPageFileBytes = 512LL * 1024 * 1024;

// PDF pages that are not one image are rendered at this resolution.
inline constexpr int kPdfRenderDpi = 300;

// The most pixels recognition reads a page from, by accuracy setting: Fastest 8, Fast 12,
// Normal 20, Accurate 30, Most Accurate 40 megapixels (A4 at 300 dpi is 8.7, A4 at 600 dpi 35).
inline constexpr qint64 readingPixels(int accuracyLevel) {
  switch (accuracyLevel) {
    case 1:
      return 8'000'000;
    case 2:
      return 12'000'000;
    case 4:
      return 20'000'000;
    case 8:
      return 30'000'000;
    default:
      return 40'000'000;
  }
}

// The pixels a program may hold in pages at once, handed out to its workers.
class PixelAllowance {
 public:
  explicit PixelAllowance(qint64 total) : total_(total) {}
  qint64 total() const { return total_; }
  // The most a single page may declare under this allowance.
  qint64 pageLimit() const { return total_ < kPagePixels ? total_ : kPagePixels; }

  // A share of the allowance, given back when it goes.
  class Share {
   public:
    Share() = default;
    Share(PixelAllowance* owner, qint64 pixels) : owner_(owner), pixels_(pixels) {}
    Share(Share&& o) noexcept : owner_(o.owner_), pixels_(o.pixels_) { o.owner_ = nullptr; }
    Share& operator=(Share&& o) noexcept {
      std::swap(owner_, o.owner_);
      std::swap(pixels_, o.pixels_);
      return *this;
    }
    ~Share() {
      if (owner_) owner_->giveBack(pixels_);
    }

   private:
    PixelAllowance* owner_ = nullptr;
    qint64 pixels_ = 0;
  };

  // Waits until `pixels` (at most pageLimit()) fit beside what the other pages hold, or until
  // `stopping` returns true (then the share is empty). `stopping` is asked again whenever
  // wake() is called.
  template <typename Stopping>
  Share take(qint64 pixels, Stopping stopping) {
    pixels = qBound<qint64>(0, pixels, pageLimit());
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return used_ + pixels <= total_ || stopping(); });
    if (used_ + pixels > total_) return Share();
    used_ += pixels;
    return Share(this, pixels);
  }
  void wake() {
    { const std::lock_guard<std::mutex> lock(mutex_); }  // a waiter is either waiting or sees it
    changed_.notify_all();
  }

 private:
  void giveBack(qint64 pixels) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      used_ -= pixels;
    }
    changed_.notify_all();
  }

  qint64 total_;
  qint64 used_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;
};

}  // namespace zan::release
