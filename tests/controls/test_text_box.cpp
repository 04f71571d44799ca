#include "controls/text_box.h"

#include "controls_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

using namespace zan;
using namespace zan::controls;
using zan::controls::testing::Surface;

namespace {

struct TextBoxTest : ::testing::Test {
  Surface s;
  TextBox* box = s.form.add<TextBox>(QStringLiteral("txtValue"), &s.window);
  QLineEdit* edit = box->lineEdit();
  int changes = 0;
  void SetUp() override {
    box->onChange = [this] { ++changes; };
    s.show();
    edit->setFocus();
  }
};

// Catches nesting that loses a level, reads a stale signal argument or reenters Qt badly:
// each change handler sets the text again, 20 levels deep, on both paths.
TEST_F(TextBoxTest, ChangeHandlersNestTwentyLevels) {
  const auto nest = [this] {
    ++changes;
    if (box->text().size() < 20) box->setText(box->text() + QLatin1Char('x'));
  };
  box->onChange = nest;
  box->setText(QStringLiteral("a"));
  EXPECT_EQ(box->text(), QStringLiteral("a") + QString(19, u'x'));
  EXPECT_EQ(changes, 20);
  box->onChange = nullptr;
  box->setText(QString());
  box->onChange = nest;
  changes = 0;
  QTest::keyClick(edit, Qt::Key_B);
  EXPECT_EQ(box->text(), QStringLiteral("b") + QString(19, u'x'));
  EXPECT_EQ(edit->text(), box->text());
  EXPECT_EQ(changes, 20);
}

// Catches a limit that truncates code-set text, blocks Backspace on a long text, lets the user
// type or paste past it, or lets a too-long paste in partly.
TEST_F(TextBoxTest, MaxLengthLimitsOnlyTheUser) {
  box->setMaxLength(3);
  QTest::keyClicks(edit, QStringLiteral("1234"));
  EXPECT_EQ(box->text(), QStringLiteral("123"));
  EXPECT_EQ(changes, 3);

  box->setText(QStringLiteral("123456"));
  EXPECT_EQ(box->text(), QStringLiteral("123456"));
  QTest::keyClick(edit, Qt::Key_9);  // a code set must not leave Qt's input marked invalid
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_9);
  EXPECT_EQ(box->text(), QStringLiteral("12345"));

  box->setText(QStringLiteral("1"));
  const int before = changes;
  QApplication::clipboard()->setText(QStringLiteral("234"));
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box->text(), QStringLiteral("1"));  // rejected whole, not "123"
  EXPECT_EQ(changes, before);
  QApplication::clipboard()->setText(QStringLiteral("23"));
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box->text(), QStringLiteral("123"));
}

// Catches wrong classic character codes (Ctrl+V arriving as 'v'), a discard that still types
// or pastes, and a replacement that is ignored.
TEST_F(TextBoxTest, KeyPressCodesDiscardAndReplace) {
  std::vector<int> codes;
  box->onKeyPress = [&](int& code) {
    codes.push_back(code);
    if (code == 'x') code = 0;
    if (code == 'a') code = 'b';
  };
  QApplication::clipboard()->setText(QStringLiteral("9"));
  for (Qt::Key key : {Qt::Key_5, Qt::Key_X, Qt::Key_A}) QTest::keyClick(edit, key);
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_Left);  // types nothing: no key press
  EXPECT_EQ(codes, (std::vector<int>{'5', 'x', 'a', 22, 8}));
  EXPECT_EQ(box->text(), QStringLiteral("5b"));
  EXPECT_EQ(changes, 4);  // 5, b, paste, backspace

  box->onKeyPress = [](int& code) { code = code == 22 ? 0 : code; };
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
  const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
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
  other->widget()->show();
  int losses = 0;
  box->setOnLostFocus([&] { ++losses; });
  QFocusEvent deactivate(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(edit, &deactivate);
  EXPECT_EQ(losses, 0);
  other->setFocus();
  EXPECT_EQ(losses, 1);
}

}  // namespace
