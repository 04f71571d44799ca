#include "common/controls/check_box.h"
#include "common/controls/simple_controls.h"
#include "common/controls/text_box.h"

#include "controls_fixture.h"

#include <QApplication>
#include <QLineEdit>

using namespace zan;
using namespace zan::controls;
using zan::controls::testing::failure;
using zan::controls::testing::Surface;

namespace {

struct FormTest : ::testing::Test {
  Surface s;
  Frame* frame = s.form.add<Frame>(QStringLiteral("fraPage"), &s.window);
  TextBox* inner = s.form.add<TextBox>(QStringLiteral("txtInner"), frame->widget());
  CheckBox* check = s.form.add<CheckBox>(QStringLiteral("chkInner"), frame->widget());
  TextBox* outer = s.form.add<TextBox>(QStringLiteral("txtOuter"), &s.window);
  void SetUp() override {
    frame->setGeometryTwips(0, 0, 3000, 1500);
    inner->setGeometryTwips(150, 300, 1500, 300);
    check->setGeometryTwips(150, 750, 1500, 300);
    outer->setGeometryTwips(0, 1800, 1500, 300);
  }
};

int errorNumber(const std::function<void()>& f, QString* source = nullptr) {
  try {
    f();
  } catch (const AutomationException& e) {
    if (source) *source = e.error().source;
    return e.error().number;
  }
  return 0;
}

// Catches lookups by a name other than the objectName, and a control order other than
// creation order.
TEST_F(FormTest, ControlsInCreationOrderAndFoundByName) {
  QStringList names;
  for (const auto& c : s.form.controls()) names << c->name();
  EXPECT_EQ(names, QStringList({"fraPage", "txtInner", "chkInner", "txtOuter"}));
  EXPECT_EQ(s.form.find(QStringLiteral("chkInner")), check);
  EXPECT_EQ(s.form.find(QStringLiteral("chkinner")), nullptr);
  EXPECT_EQ(s.window.findChild<QLineEdit*>(QStringLiteral("txtOuter")), outer->widget());
  frame->setCaption(frame->caption());
  check->setCaption(QStringLiteral("&Rotate"));
  check->setCaption(check->caption());
  EXPECT_EQ(check->checkBox()->text(), QStringLiteral("&Rotate"));
}

// Measures which attribute is a widget's own Enabled flag: WA_Disabled is inherited from a
// disabled frame, WA_ForceDisabled is not. Catches reading the inherited flag.
TEST_F(FormTest, OwnEnabledInsideDisabledFrame) {
  frame->setEnabled(false);
  EXPECT_FALSE(inner->widget()->isEnabled());
  EXPECT_TRUE(inner->widget()->testAttribute(Qt::WA_Disabled));
  EXPECT_FALSE(inner->widget()->testAttribute(Qt::WA_ForceDisabled));
  EXPECT_TRUE(inner->enabled());
  EXPECT_FALSE(frame->enabled());
  inner->setEnabled(false);
  frame->setEnabled(true);
  EXPECT_FALSE(inner->enabled());
  EXPECT_FALSE(inner->widget()->isEnabled());
  EXPECT_TRUE(check->enabled());
}

// Catches Visible read as isVisible(), which is false for every control before the window
// is first shown, and a hidden frame changing its children's own flag.
TEST_F(FormTest, OwnVisibleBeforeShownAndInsideHiddenFrame) {
  EXPECT_TRUE(inner->visible());
  inner->setVisible(false);
  EXPECT_FALSE(inner->visible());
  s.show();
  EXPECT_FALSE(inner->visible());
  inner->setVisible(true);
  frame->setVisible(false);
  EXPECT_TRUE(inner->visible());
  EXPECT_FALSE(frame->visible());
}

// Catches setFocus silently doing nothing (or stealing focus later) on a control that cannot
// take it, instead of failing with error 5 from the control.
TEST_F(FormTest, SetFocusFailsOnDisabledOrHidden) {
  s.show();
  const std::vector<std::pair<const char*, std::function<void(bool)>>> blockers = {
      {"control disabled", [&](bool on) { inner->setEnabled(!on); }},
      {"frame disabled", [&](bool on) { frame->setEnabled(!on); }},
      {"control hidden", [&](bool on) { inner->setVisible(!on); }},
      {"frame hidden", [&](bool on) { frame->setVisible(!on); }},
  };
  for (const auto& [what, block] : blockers) {
    outer->setFocus();
    block(true);
    QString source;
    EXPECT_EQ(errorNumber([&] { inner->setFocus(); }, &source), 5) << what;
    EXPECT_EQ(source, QStringLiteral("txtInner")) << what;
    block(false);
    EXPECT_EQ(s.window.focusWidget(), outer->widget()) << what;  // nothing stolen on show
    inner->setFocus();
    EXPECT_EQ(s.window.focusWidget(), inner->widget()) << what;
  }
  try {
    inner->setEnabled(false);
    inner->setFocus();
  } catch (const AutomationException& e) {
    EXPECT_EQ(e.error().description, QStringLiteral("Invalid procedure call or argument"));
  }
}

// Catches a frame access key that does not reach the frame's first focusable child.
TEST_F(FormTest, FrameAccessKeyFocusesFirstChild) {
  frame->setCaption(QStringLiteral("&Page Content"));
  s.show();
  outer->setFocus();
  QTest::keyClick(&s.window, Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(s.window.focusWidget(), inner->widget());
}

// Catches a button whose code-path click swallows failures, or whose user click is lost.
TEST_F(FormTest, CommandButtonClickPaths) {
  auto* button = s.form.add<CommandButton>(QStringLiteral("cmdGo"), &s.window);
  int clicks = 0;
  button->onClick = [&] {
    if (++clicks == 1) raiseError(failure(70, QStringLiteral("Permission denied")));
  };
  EXPECT_EQ(errorNumber([&] { button->click(); }), 70);
  s.show();
  QTest::mouseClick(button->button(), Qt::LeftButton);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(button->hWnd(), s.window.findChild<QWidget*>(QStringLiteral("cmdGo")));
}

// Catches a caption cut off on a narrow button (classic buttons wrap at blanks), and the wrapped
// form leaking into the caption a panel reads back or re-assigns.
TEST_F(FormTest, CommandButtonCaptionWrapsWhenNarrow) {
  auto* button = s.form.add<CommandButton>(QStringLiteral("cmdRestore"), &s.window);
  button->setGeometryTwips(0, 0, 855, 615);
  button->setCaption(QStringLiteral("&Restore Defaults"));
  EXPECT_EQ(button->button()->text(), QStringLiteral("&Restore\nDefaults"));
  EXPECT_EQ(button->caption(), QStringLiteral("&Restore Defaults"));
  button->setCaption(button->caption());
  EXPECT_EQ(button->button()->text(), QStringLiteral("&Restore\nDefaults"));
  button->setGeometryTwips(0, 0, 3000, 615);
  s.show();  // a hidden widget gets its resize event when shown
  EXPECT_EQ(button->button()->text(), QStringLiteral("&Restore Defaults"));
}

// Catches handlers still running on released controls, as when a panel's Form is destroyed
// before its widgets.
TEST_F(FormTest, ReleasedControlsRunNoHandlers) {
  int changes = 0;
  inner->onChange = [&] { ++changes; };
  auto* edit = static_cast<QLineEdit*>(inner->widget());
  s.show();
  s.form.releaseControls();
  EXPECT_TRUE(s.form.controls().empty());
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_1);
  EXPECT_EQ(edit->text(), QStringLiteral("1"));
  EXPECT_EQ(changes, 0);
}

// Catches a focus entry handler that misses Shift+Tab entries, fires for moves inside the
// surface, or fires for window activation.
TEST(FocusEntry, DetectsBackwardKeyboardEntry) {
  QWidget window;
  QLineEdit before(&window);
  QWidget panel(&window);
  QLineEdit after(&window);
  before.setObjectName("before");
  after.setObjectName("after");
  panel.move(0, 40);
  after.move(0, 200);
  std::vector<bool> entries;
  {
    Form form(&panel);
    auto* first = form.add<TextBox>(QStringLiteral("txtFirst"), &panel);
    auto* last = form.add<CheckBox>(QStringLiteral("chkLast"), &panel);
    last->widget()->move(0, 40);
    form.setFocusEntryHandler([&](bool backward) {
      entries.push_back(backward);
      if (backward) first->setFocus();  // a handler may move the focus itself
    });
    // Tab order: before, first, last, after.
    QWidget::setTabOrder(&before, first->widget());
    QWidget::setTabOrder(first->widget(), last->widget());
    QWidget::setTabOrder(last->widget(), &after);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    before.setFocus();

    QTest::keyClick(&before, Qt::Key_Tab);  // forward entry
    EXPECT_EQ(window.focusWidget(), first->widget());
    QTest::keyClick(first->widget(), Qt::Key_Tab);  // inside: no entry
    QTest::keyClick(last->widget(), Qt::Key_Tab);   // leaves
    EXPECT_EQ(window.focusWidget(), &after);
    QTest::keyClick(&after, Qt::Key_Backtab, Qt::ShiftModifier);  // backward entry
    EXPECT_EQ(window.focusWidget(), first->widget());
    EXPECT_EQ(entries, (std::vector<bool>{false, true}));

    // A panel added to later keeps being watched.
    auto* late = form.add<TextBox>(QStringLiteral("txtLate"), &panel);
    late->widget()->show();
    after.setFocus();
    late->setFocus();
    EXPECT_EQ(entries.size(), 3u);
  }
  before.setFocus();  // the Form is gone: no handler may run
  panel.findChild<QLineEdit*>("txtFirst")->setFocus();
  EXPECT_EQ(entries.size(), 3u);
}

}  // namespace
