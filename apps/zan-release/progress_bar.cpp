#include "progress_bar.h"

#include <string>

namespace {
constexpr int kBarWidth = 30;
}

ProgressBar::ProgressBar(std::FILE* out, bool enabled, const char* unit)
    : out_(out), enabled_(enabled), unit_(unit), start_(std::chrono::steady_clock::now()) {}

void ProgressBar::update(int done, int total) {
  if (!enabled_ || total <= 0) return;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const int filled = done * kBarWidth / total;
  const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '-');
  std::fprintf(out_, "\r[%s] %d/%d %s  %.1f %s/s ", bar.c_str(), done, total, unit_,
               seconds > 0 ? done / seconds : 0.0, unit_);
  std::fflush(out_);
  drawn_ = true;
}

void ProgressBar::finish() {
  if (!drawn_) return;
  std::fprintf(out_, "\r\033[K");
  std::fflush(out_);
  drawn_ = false;
}
