#pragma once
// The hub service's log on standard error, one line per event. Started by systemd (standard
// error connected to the journal, as JOURNAL_STREAM tells), each line carries its priority as
// "<N>"; otherwise it starts with the time and the program's name.

#include <QString>

#include <cstdio>
#include <mutex>

class ServiceLog {
 public:
  enum Priority { Error = 3, Warning = 4, Info = 6 };
  explicit ServiceLog(std::FILE* out);
  // Thread-safe: the workers log their jobs themselves.
  void write(Priority priority, const QString& line);

 private:
  std::FILE* out_;
  bool journal_ = false;
  std::mutex mutex_;
};
