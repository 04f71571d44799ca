#pragma once
// A shown window with a Form, for tests that drive the controls' widgets with QTest.

#include "common/controls/control.h"

#include <gtest/gtest.h>
#include <QTest>
#include <QWidget>

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

inline AutomationError failure(int number, const QString& description) {
  AutomationError e;
  e.number = number;
  e.source = QStringLiteral("handler");
  e.description = description;
  return e;
}

}  // namespace zan::controls::testing
