#include "progress_bar.h"

#include <sys/ioctl.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <csignal>

namespace {

constexpr int kLongestBar = 30;
constexpr int kShortestBar = 5;
constexpr int kAssumedColumns = 80;

std::atomic<bool> resized{true};

void onResize(int) {
  resized = true;
}

std::string printed(const char* format, int done, int total, const char* unit, double rate) {
  char text[160];
  std::snprintf(text, sizeof text, format, done, total, unit, rate, unit);
  return text;
}

}  // namespace

ProgressBar::ProgressBar(std::FILE* out, int fd, bool enabled, const char* unit)
    : out_(out), fd_(fd), enabled_(enabled), unit_(unit), start_(std::chrono::steady_clock::now()) {
  if (!enabled_) return;
  struct sigaction action {};
  action.sa_handler = onResize;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGWINCH, &action, nullptr);
  resized = true;
}

ProgressBar::~ProgressBar() {
  finish();
  if (enabled_) std::signal(SIGWINCH, SIG_DFL);
}

int ProgressBar::columns() {
  if (resized.exchange(false) || columns_ <= 0) {
    winsize size{};
    columns_ =
        ::ioctl(fd_, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : kAssumedColumns;
  }
  return columns_;
}

std::string ProgressBar::line(int done, int total, double perSecond, const char* unit,
                              int columns) {
  const auto room = static_cast<std::size_t>(std::max(columns - 1, 1));
  std::string counts = printed(" %d/%d %s  %.1f %s/s", done, total, unit, perSecond);
  if (counts.size() + 2 + kShortestBar > room) counts = printed(" %d/%d %s", done, total, unit, 0);
  if (counts.size() + 2 + kShortestBar > room) {
    counts = printed("%d/%d", done, total, unit, 0);
    return counts.substr(0, room);
  }
  const int width = std::min<int>(kLongestBar, static_cast<int>(room - counts.size() - 2));
  const int filled = total > 0 ? done * width / total : 0;
  return '[' + std::string(filled, '#') + std::string(width - filled, '-') + ']' + counts;
}

void ProgressBar::update(int done, int total) {
  if (!enabled_ || total <= 0) return;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const std::string text = line(done, total, seconds > 0 ? done / seconds : 0.0, unit_, columns());
  // Back to the line's start, the line, and the rest of the old one cleared.
  std::fprintf(out_, "\r%s\033[K", text.c_str());
  std::fflush(out_);
  drawn_ = true;
}

void ProgressBar::finish() {
  if (!drawn_) return;
  std::fprintf(out_, "\r\033[K");
  std::fflush(out_);
  drawn_ = false;
}
