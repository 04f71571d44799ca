#pragma once
// Shared by the fuzz targets that drive panels: one offscreen QApplication for the process, and
// the splitting of an input into parts.

#include <QApplication>
#include <QByteArray>
#include <QList>

#include <cstdint>
#include <cstdlib>

namespace zan::fuzzing {

// The process's QApplication, created offscreen on first use.
inline void ensureApplication() {
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  (void)app;
}

// The input split at every `separator` byte.
inline QList<QByteArray> parts(const std::uint8_t* data, std::size_t size, char separator) {
  return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split(separator);
}

}  // namespace zan::fuzzing
