#pragma once
// What the tests on a real X display (under xvfb-run) share: key presses where the keyboard
// focus is, the name of the focused control, and a dialog shown and active on the display.

#include "host_fixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <memory>

namespace zan::host::testing {

// A key press where the keyboard focus is, as the keyboard delivers it; `settle` milliseconds
// let the display's focus changes arrive as events.
inline void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int settle = 1) {
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
  QTest::qWait(settle);
}

// The objectName of the control that has the keyboard focus.
inline QString focused() {
  return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// The dialog of `world` with the panel `kind`, shown and active on the display.
inline std::unique_ptr<ReleaseSetupDialog> shownOnDisplay(HostWorld& world, PanelKind kind) {
  auto dialog = world.open(kind);
  dialog->show();
  dialog->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  return dialog;
}

}  // namespace zan::host::testing
