#include "component/server_state.h"

#include <ZANPdfCtl4/settings_panel.h>

#include <QApplication>
#include <QByteArray>

#include <atomic>
#include <cstring>

namespace zan::component {
namespace {

std::atomic<int> factories{0};
std::atomic<int> locks{0};

// The last failure of the calling thread, as a C string. A plain array: a thread-local object
// with a destructor would keep the library loaded after dlclose until the thread ends.
constexpr std::size_t kLastErrorSize = 2048;
thread_local char lastErrorText[kLastErrorSize];

// Every panel counts, also one a host created early-bound: a widget is in allWidgets from
// its construction to its destruction.
bool anyPanelAlive() {
  if (!qApp) return false;
  const QWidgetList widgets = QApplication::allWidgets();
  for (QWidget* w : widgets)
    if (qobject_cast<SettingsPanel*>(w)) return true;
  return false;
}

}  // namespace

void factoryHandedOut() {
  ++factories;
}
void factoryReleased() {
  --factories;
}

void lockServer(bool lock) {
  if (lock) {
    ++locks;
  } else if (locks > 0) {
    --locks;
  }
}

bool serverInUse() {
  return factories > 0 || locks > 0 || anyPanelAlive();
}

void setLastError(const QString& description) {
  QByteArray text = description.toUtf8();
  if (static_cast<std::size_t>(text.size()) >= kLastErrorSize) {
    // Cut at a character boundary, so that what is kept is valid UTF-8.
    qsizetype end = kLastErrorSize - 1;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.truncate(end);
  }
  std::memcpy(lastErrorText, text.constData(), static_cast<std::size_t>(text.size()) + 1);
}
const char* lastError() {
  return lastErrorText;
}

}  // namespace zan::component
