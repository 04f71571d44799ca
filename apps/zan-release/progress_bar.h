#pragma once
// The progress of a release on a terminal: one line, redrawn in place, never wider than the
// terminal (its width is read again after every resize, SIGWINCH), so that it never wraps into
// a new line. Without room for the bar, the counts alone are drawn.

#include <chrono>
#include <cstdio>
#include <string>

class ProgressBar {
 public:
  // Draws on `out` (descriptor `fd`, a terminal) only when `enabled` (a terminal, and --quiet
  // not given); counts `unit`.
  ProgressBar(std::FILE* out, int fd, bool enabled, const char* unit = "pages");
  ~ProgressBar();
  void update(int done, int total);
  // Clears the line so that what follows starts on a clean line.
  void finish();

  // The line drawn for `done` of `total` at `perSecond` in `columns` columns (at most
  // columns - 1 characters, so that the cursor never wraps).
  static std::string line(int done, int total, double perSecond, const char* unit, int columns);

 private:
  int columns();

  std::FILE* out_;
  int fd_;
  bool enabled_;
  const char* unit_;
  bool drawn_ = false;
  int columns_ = 0;
  std::chrono::steady_clock::time_point start_;
};
