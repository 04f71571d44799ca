#include "common/controls/text_box.h"

#include "controls_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

using namespace zan;
using namespace zan::controls;
using zan::controls::testing::failure;
using zan::controls::testing::Surface;

namespace {

struct TextBoxTest : ::testing::Test {
  Surface s;
  TextBox* box = s.form.add<TextBox>(QStringLiteral("txtValue"), &s.window);
  QLineEdit* edit = s.window.findChild<QLineEdit*>(QStringLiteral("txtValue"));
  int changes = 0;
  QStringList seen;

  void SetUp() override {
    ASSERT_NE(edit, nullptr);
    box->onChange = [this] {
      ++changes;
      seen << box->text();
    };
  }
};

// Catches a change handler that runs twice per edit, runs on a set to the same text, or is
// skipped on one of the two paths.
TEST_F(TextBoxTest, ChangeRunsOncePerRealChangeOnBothPaths) {
  box->setText(QStringLiteral("12"));
  EXPECT_EQ(changes, 1);
  box->setText(QStringLiteral("12"));
  EXPECT_EQ(changes, 1);

  s.show();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_3);
  EXPECT_EQ(changes, 2);
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(seen, QStringList({"12", "123", "12"}));
  EXPECT_EQ(box->selStart(), 2);  // the caret ends behind a code-set text
}

// Catches nesting that loses a level, reads a stale signal argument or reenters Qt badly:
// each change handler sets the text again, 20 levels deep, on both paths.
TEST_F(TextBoxTest, ChangeHandlersNestTwentyLevels) {
  const auto nest = [this] {
    ++changes;
    const QString t = box->text();
    if (t.size() < 20) box->setText(t + QLatin1Char('x'));
  };
  box->onChange = nest;
  box->setText(QStringLiteral("a"));
  EXPECT_EQ(box->text(), QStringLiteral("axxxxxxxxxxxxxxxxxxx"));
  EXPECT_EQ(changes, 20);

  box->onChange = nullptr;
  box->setText(QString());
  box->onChange = nest;
  changes = 0;
  s.show();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_B);
  EXPECT_EQ(box->text(), QStringLiteral("bxxxxxxxxxxxxxxxxxxx"));
  EXPECT_EQ(edit->text(), box->text());
  EXPECT_EQ(changes, 20);
}

// Catches Qt undoing a handler's work after a typed character: the change handler rejects
// "105", restores the accepted text and puts the caret on the rejected character.
TEST_F(TextBoxTest, HandlerRestoringTextAndCaretWhileTypingSticks) {
  QString accepted;
  box->onChange = [&] {
    ++changes;
    if (box->text().toInt() <= 100) {
      accepted = box->text();
      return;
    }
    const int caret = box->selStart() - 1;
    box->setText(accepted);
    box->setSelStart(std::max(caret, 0));
  };
  box->setText(QStringLiteral("10"));
  changes = 0;
  s.show();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_5);
  EXPECT_EQ(edit->text(), QStringLiteral("10"));
  EXPECT_EQ(edit->cursorPosition(), 2);
  EXPECT_EQ(changes, 2);  // the rejected text, then the restored one
  QTest::keyClick(edit, Qt::Key_0);
  EXPECT_EQ(edit->text(), QStringLiteral("100"));
}

// Catches a failure on the code path that is swallowed, or that leaves the widget showing a
// text other than the one the control reports.
TEST_F(TextBoxTest, CodePathFailureReachesCaller) {
  box->onChange = [] { raiseError(failure(13, QStringLiteral("Type mismatch"))); };
  try {
    box->setText(QStringLiteral("42"));
    ADD_FAILURE() << "no failure";
  } catch (const AutomationException& e) {
    EXPECT_EQ(e.error().number, 13);
  }
  EXPECT_EQ(edit->text(), QStringLiteral("42"));
  EXPECT_EQ(box->text(), QStringLiteral("42"));
  EXPECT_TRUE(s.reported.empty());
  box->onChange = [this] { ++changes; };
  box->setText(QStringLiteral("43"));
  EXPECT_EQ(changes, 1);
}

// Catches a user-path failure thrown into Qt (crash or lost later signals) instead of being
// handed to the failure policy.
TEST_F(TextBoxTest, UserPathFailureGoesToPolicyAndLaterEditsStillReport) {
  box->onChange = [this] {
    ++changes;
    if (changes == 1) raiseError(failure(13, QStringLiteral("Type mismatch")));
  };
  s.show();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_1);
  ASSERT_EQ(s.reported.size(), 1u);
  EXPECT_EQ(s.reported[0].description, QStringLiteral("Type mismatch"));
  QTest::keyClick(edit, Qt::Key_2);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(edit->text(), QStringLiteral("12"));
}

// Catches a failure policy that throws and thereby lets an exception escape into Qt.
TEST_F(TextBoxTest, ThrowingPolicyIsContained) {
  s.form.setFailurePolicy([](const AutomationError& e) { raiseError(e); });
  box->onChange = [] { throw std::runtime_error("boom"); };
  s.show();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_7);
  EXPECT_EQ(edit->text(), QStringLiteral("7"));
}

// Catches a limit that truncates code-set text, blocks Backspace on a long text, lets the user
// type past it, or lets a too-long paste in partly.
TEST_F(TextBoxTest, MaxLengthLimitsOnlyTheUser) {
  box->setMaxLength(3);
  s.show();
  edit->setFocus();
  QTest::keyClicks(edit, QStringLiteral("1234"));
  EXPECT_EQ(box->text(), QStringLiteral("123"));
  EXPECT_EQ(changes, 3);

  box->setText(QStringLiteral("123456"));
  EXPECT_EQ(box->text(), QStringLiteral("123456"));
  QTest::keyClick(edit, Qt::Key_9);  // a code set must not leave Qt's input marked invalid
  EXPECT_EQ(box->text(), QStringLiteral("123456"));
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(box->text(), QStringLiteral("12345"));
  QTest::keyClick(edit, Qt::Key_9);
  EXPECT_EQ(box->text(), QStringLiteral("12345"));

  box->setText(QStringLiteral("1"));
  QApplication::clipboard()->setText(QStringLiteral("234"));
  const int before = changes;
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box->text(), QStringLiteral("1"));  // rejected whole, not "123"
  EXPECT_EQ(changes, before);
  QApplication::clipboard()->setText(QStringLiteral("23"));
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box->text(), QStringLiteral("123"));

  box->typeText(QStringLiteral("4567"));  // typed text obeys the limit too
  EXPECT_EQ(box->text(), QStringLiteral("123"));
  box->typeText(QStringLiteral("45"));
  EXPECT_EQ(box->text(), QStringLiteral("45"));
}

// Catches wrong classic character codes (Ctrl+V arriving as 'v'), a discard that still types,
// and a replacement that is ignored.
TEST_F(TextBoxTest, KeyPressCodesDiscardAndReplace) {
  std::vector<int> codes;
  box->onKeyPress = [&](int& code) {
    codes.push_back(code);
    if (code == 'x') code = 0;
    if (code == 'a') code = 'b';
  };
  QApplication::clipboard()->setText(QStringLiteral("9"));
  s.show();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_5);
  QTest::keyClick(edit, Qt::Key_X);
  QTest::keyClick(edit, Qt::Key_A);
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_Left);  // types nothing: no key press
  EXPECT_EQ(codes, (std::vector<int>{'5', 'x', 'a', 22, 8}));
  EXPECT_EQ(box->text(), QStringLiteral("5b"));
  EXPECT_EQ(changes, 4);  // 5, b, paste, backspace

  box->onKeyPress = [](int& code) {
    if (code == 22) code = 0;  // discarding Ctrl+V stops the paste
  };
  QTest::keyClick(edit, Qt::Key_End);
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box->text(), QStringLiteral("5b"));
}

// Catches Qt key numbers leaking out instead of the classic key codes and shift states.
TEST_F(TextBoxTest, KeyDownReportsClassicCodes) {
  QStringList downs;
  box->onKeyDown = [&](int& code, int shift) {
    downs << QStringLiteral("%1/%2").arg(code).arg(shift);
  };
  s.show();
  edit->setFocus();
  const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys = {
      {Qt::Key_Up, {}},     {Qt::Key_Down, Qt::ShiftModifier},
      {Qt::Key_Left, {}},   {Qt::Key_Right, Qt::ControlModifier},
      {Qt::Key_Delete, {}}, {Qt::Key_A, Qt::AltModifier},
      {Qt::Key_7, {}},      {Qt::Key_Escape, {}},
      {Qt::Key_Return, {}}};
  for (const auto& [key, modifiers] : keys) QTest::keyClick(edit, key, modifiers);
  // The modifier keys go down first, as classically (Shift 16, Ctrl 17, Alt 18).
  EXPECT_EQ(downs.join(' '),
            QStringLiteral("38/0 16/1 40/1 37/0 17/2 39/2 46/0 18/4 65/4 55/0 27/0 13/0"));
}

// Catches a focus-loss handler that is missing, or that runs when only the window loses
// activation.
TEST_F(TextBoxTest, LostFocusOnlyForFocusMovingAway) {
  auto* other = s.form.add<TextBox>(QStringLiteral("txtOther"), &s.window);
  other->widget()->move(0, 40);
  int losses = 0;
  box->onLostFocus = [&] { ++losses; };
  s.show();
  box->setFocus();
  QFocusEvent deactivate(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(edit, &deactivate);
  EXPECT_EQ(losses, 0);
  other->setFocus();
  EXPECT_EQ(losses, 1);
}

}  // namespace
