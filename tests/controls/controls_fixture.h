#pragma once
// A window with a Form, for tests that drive the controls' widgets with QTest.

#include "controls/control.h"
#include "failure_of.h"

#include <gtest/gtest.h>
#include <QTest>
#include <QWidget>

#include <functional>
#include <vector>

namespace zan::controls::testing {

// The window outlives the Form (members are destroyed in reverse order), as in a panel.
struct Surface {
  QWidget window;
  Form form{&window};
  std::vector<AutomationError> reported;  // failures handed to the failure policy

  Surface() {
    window.resize(400, 300);
    form.setFailurePolicy([this](const AutomationError& e) { reported.push_back(e); });
  }
  void show() {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
};

using zan::testing::failureOf;

}  // namespace zan::controls::testing
