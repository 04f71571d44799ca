#include "common/controls/spin_control.h"
#include "common/controls/text_box.h"

#include "controls_fixture.h"

#include <QLineEdit>
#include <QToolButton>

using namespace zan;
using namespace zan::controls;
using zan::controls::testing::failure;
using zan::controls::testing::Surface;

namespace {

struct SpinTest : ::testing::Test {
  Surface s;
  TextBox* box = s.form.add<TextBox>(QStringLiteral("txtPercent"), &s.window);
  SpinControl* spin = s.form.add<SpinControl>(QStringLiteral("spnPercent"), &s.window);
  QToolButton* up = s.window.findChild<QToolButton*>(QStringLiteral("spnPercentUp"));
  QToolButton* down = s.window.findChild<QToolButton*>(QStringLiteral("spnPercentDown"));
  QStringList changes;

  void SetUp() override {
    ASSERT_NE(up, nullptr);
    ASSERT_NE(down, nullptr);
    spin->setBuddy(box);
    spin->setRange(0, 100);
    spin->setIncrement(1);
    spin->setValue(95);
    box->onChange = [this] { changes << box->text(); };
    spin->setGeometryTwips(1500, 0, 240, 288);
    s.show();
  }
};

// Catches arrows that ignore the buddy's number, step past the bounds, or write the buddy's
// text without running its change handler.
TEST_F(SpinTest, ArrowsStepTheBuddysNumberWithinTheBounds) {
  struct Case {
    QString text;
    QToolButton* button;
    QString expected;
  };
  const std::vector<Case> cases = {
      {"50", up, "51"},  {"50", down, "49"},  {"100", up, "100"}, {"0", down, "0"},
      {"99", up, "100"}, {"250", down, "99"}, {"-7", up, "1"},
  };
  for (const auto& c : cases) {
    box->setText(c.text);
    changes.clear();
    QTest::mouseClick(c.button, Qt::LeftButton);
    EXPECT_EQ(box->text(), c.expected) << c.text.toStdString();
    EXPECT_EQ(changes, c.expected == c.text ? QStringList() : QStringList{c.expected})
        << c.text.toStdString();
    EXPECT_EQ(spin->value(), c.expected.toInt());
  }
}

// Catches stepping from a text that is not a whole number (which would read 5a as 5 or empty
// as a parse failure) instead of the spin control's own value.
TEST_F(SpinTest, NonWholeTextStepsFromOwnValue) {
  box->setText(QStringLiteral("5a"));
  spin->setValue(40);
  spin->stepUp();
  EXPECT_EQ(box->text(), QStringLiteral("41"));
  box->setText(QString());
  spin->stepDown();
  EXPECT_EQ(box->text(), QStringLiteral("40"));
}

// Catches the spin writing around the buddy's user limit or throwing a change failure into
// the caller or Qt instead of the failure policy.
TEST_F(SpinTest, WritesLikeTypingUnderLimitAndPolicy) {
  box->setMaxLength(2);
  box->setText(QStringLiteral("99"));
  QTest::mouseClick(up, Qt::LeftButton);
  EXPECT_EQ(box->text(), QStringLiteral("99"));  // "100" does not fit what the user may type

  box->onChange = [] { raiseError(failure(6, QStringLiteral("Overflow"))); };
  EXPECT_NO_THROW(spin->stepDown());
  EXPECT_EQ(box->text(), QStringLiteral("98"));
  ASSERT_EQ(s.reported.size(), 1u);
  EXPECT_EQ(s.reported[0].number, 6);
}

// Catches geometry that truncates instead of rounding twips, or a spin widget sized wrongly.
TEST_F(SpinTest, GeometryInTwips) {
  EXPECT_EQ(spin->widget()->geometry(), QRect(100, 0, 16, 19));
  EXPECT_EQ(twipsToPixels(7), 0);
  EXPECT_EQ(twipsToPixels(8), 1);
  EXPECT_EQ(twipsToPixels(2776), 185);
}

}  // namespace
