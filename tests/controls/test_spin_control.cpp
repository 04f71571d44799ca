#include "controls/spin_control.h"
#include "controls/text_box.h"

#include "controls_fixture.h"

using namespace zan;
using namespace zan::controls;
using zan::controls::testing::Surface;

namespace {

struct SpinTest : ::testing::Test {
  Surface s;
  TextBox* box = s.form.add<TextBox>(QStringLiteral("txtPercent"), &s.window);
  SpinControl* spin = s.form.add<SpinControl>(QStringLiteral("spnPercent"), &s.window);
  QStringList changes;
  void SetUp() override {
    spin->setBuddy(box);
    spin->setRange(0, 100);
    spin->setValue(95);
    box->onChange = [this] { changes << box->text(); };
    spin->setGeometryTwips(1500, 0, 240, 288);
    s.show();
  }
};

// Catches arrows that ignore the buddy's number, step past the bounds, write the buddy's text
// without running its change handler, or step from a non-whole text (5a read as 5, empty as a
// parse failure) instead of the spin control's own value.
TEST_F(SpinTest, ArrowsStepTheBuddysNumberWithinTheBounds) {
  const struct {
    const char* text;
    bool up;
    const char* expected;
  } cases[] = {{"50", true, "51"}, {"50", false, "49"}, {"100", true, "100"},
               {"0", false, "0"},  {"99", true, "100"}, {"250", false, "99"},
               {"-7", true, "1"},  {"5a", true, "41"},  {"", false, "39"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    box->setText(QString::fromLatin1(c.text));
    spin->setValue(40);
    changes.clear();
    QTest::mouseClick(c.up ? spin->upButton() : spin->downButton(), Qt::LeftButton);
    EXPECT_EQ(box->text(), QString::fromLatin1(c.expected));
    EXPECT_EQ(changes.join(','), qstrcmp(c.text, c.expected) ? c.expected : "");
    EXPECT_EQ(spin->value(), QString::fromLatin1(c.expected).toInt());
  }
}

// Catches the spin writing around the buddy's user limit, or throwing a change failure into
// the caller or Qt instead of the failure policy.
TEST_F(SpinTest, WritesLikeTypingUnderLimitAndPolicy) {
  box->setMaxLength(2);
  box->setText(QStringLiteral("99"));
  QTest::mouseClick(spin->upButton(), Qt::LeftButton);
  EXPECT_EQ(box->text(), QStringLiteral("99"));  // "100" does not fit what the user may type

  box->onChange = [] { raiseError(6, QStringLiteral("handler"), QStringLiteral("Overflow")); };
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

// Catches arrows that leave a gap or overlap, or miss the control's resizes: they share its
// height as a box layout would, the odd pixel going to the upper arrow.
TEST_F(SpinTest, ArrowsShareTheControlsHeight) {
  for (const int height : {19, 20, 33}) {
    SCOPED_TRACE(height);
    spin->widget()->resize(16, height);
    const QRect up = spin->upButton()->geometry(), down = spin->downButton()->geometry();
    EXPECT_EQ(up, QRect(0, 0, 16, height - height / 2));
    EXPECT_EQ(down, QRect(0, up.height(), 16, height / 2));
  }
}
