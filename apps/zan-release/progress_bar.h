#pragma once
// The progress of a release on a terminal: one line, redrawn in place.

#include <chrono>
#include <cstdio>

class ProgressBar {
 public:
  // Draws on `out` only when `enabled` (a terminal, and --quiet not given); counts `unit`.
  ProgressBar(std::FILE* out, bool enabled, const char* unit = "pages");
  void update(int done, int total);
  // Clears the line so that what follows starts on a clean line.
  void finish();

 private:
  std::FILE* out_;
  bool enabled_;
  const char* unit_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_;
};
