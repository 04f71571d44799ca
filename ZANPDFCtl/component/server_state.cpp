#include "component/server_state.h"

#include <ZANPdfCtl4/settings_panel.h>

#include <QApplication>
#include <QByteArray>

#include <atomic>

namespace zan::component {
namespace {

std::atomic<int> factories{0};
std::atomic<int> locks{0};

QByteArray& lastErrorText() {
  thread_local QByteArray text;
  return text;
}

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
  lastErrorText() = description.toUtf8();
}
const char* lastError() {
  return lastErrorText().constData();
}

}  // namespace zan::component
