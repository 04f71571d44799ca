#pragma once
// Leptonica's page images owned by a unique_ptr.

#include <memory>

struct Pix;

namespace zan::release {

struct PixDeleter {
  void operator()(Pix* pix) const;
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

}  // namespace zan::release
