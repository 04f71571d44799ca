#include "common/controls/check_box.h"
#include "common/controls/combo_box.h"

#include "controls_fixture.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>

using namespace zan;
using namespace zan::controls;
using zan::controls::testing::failure;
using zan::controls::testing::Surface;

namespace {

struct CheckBoxTest : ::testing::Test {
  Surface s;
  CheckBox* box = s.form.add<CheckBox>(QStringLiteral("chkOption"), &s.window);
  QCheckBox* widget = s.window.findChild<QCheckBox*>(QStringLiteral("chkOption"));
  std::vector<int> clicks;  // value seen by each click
  void SetUp() override {
    ASSERT_NE(widget, nullptr);
    box->onClick = [this] { clicks.push_back(box->value()); };
  }
};

// Catches Qt's numbering (PartiallyChecked 1, Checked 2) leaking out, and clicks on a set
// to the current value.
TEST_F(CheckBoxTest, ClassicValuesFromCode) {
  const std::vector<std::pair<int, Qt::CheckState>> cases = {
      {1, Qt::Checked}, {2, Qt::PartiallyChecked}, {0, Qt::Unchecked}, {0, Qt::Unchecked}};
  for (const auto& [value, state] : cases) {
    box->setValue(value);
    EXPECT_EQ(widget->checkState(), state) << value;
    EXPECT_EQ(box->value(), value);
  }
  EXPECT_EQ(clicks, (std::vector<int>{1, 2, 0}));
  EXPECT_THROW(box->setValue(3), AutomationException);
  EXPECT_THROW(box->setValue(-1), AutomationException);
}

// Catches a user click that cycles through grayed (Qt's tristate) or is not reported.
TEST_F(CheckBoxTest, UserClickTogglesOnlySetAndClearedAlsoFromGrayed) {
  s.show();
  box->setValue(CheckBox::Grayed);
  clicks.clear();
  QTest::mouseClick(widget, Qt::LeftButton);
  QTest::mouseClick(widget, Qt::LeftButton);
  QTest::mouseClick(widget, Qt::LeftButton);
  EXPECT_EQ(clicks, (std::vector<int>{1, 0, 1}));
}

// Catches a click handler failure thrown into Qt, after which Qt stops emitting for the box.
TEST_F(CheckBoxTest, UserClickFailureGoesToPolicyAndLaterClicksArrive) {
  box->onClick = [this] {
    clicks.push_back(box->value());
    if (clicks.size() == 1) raiseError(failure(5, QStringLiteral("first")));
  };
  s.show();
  QTest::mouseClick(widget, Qt::LeftButton);
  QTest::mouseClick(widget, Qt::LeftButton);
  EXPECT_EQ(clicks, (std::vector<int>{1, 0}));
  ASSERT_EQ(s.reported.size(), 1u);
  EXPECT_EQ(s.reported[0].description, QStringLiteral("first"));
}

struct ComboBoxTest : ::testing::Test {
  Surface s;
  ComboBox* combo = s.form.add<ComboBox>(QStringLiteral("cmbKind"), &s.window);
  QComboBox* widget = s.window.findChild<QComboBox*>(QStringLiteral("cmbKind"));
  std::vector<int> clicks;  // list index seen by each click
  void SetUp() override {
    ASSERT_NE(widget, nullptr);
    combo->onClick = [this] { clicks.push_back(combo->listIndex()); };
  }
  void fill() {
    for (int i = 0; i < 3; ++i) {
      combo->addItem(QStringLiteral("&Entry %1").arg(i));
      combo->setItemData(i, 100 + i);
    }
  }
};

// Catches Qt's auto-selection of the first entry and the click it would emit while filling.
TEST_F(ComboBoxTest, FillingSelectsNothingAndDoesNotClick) {
  fill();
  EXPECT_EQ(combo->listIndex(), -1);
  EXPECT_EQ(widget->currentIndex(), -1);
  EXPECT_EQ(combo->text(), QString());
  EXPECT_EQ(combo->list(0), QStringLiteral("&Entry 0"));
  EXPECT_FALSE(widget->isEditable());
  EXPECT_TRUE(clicks.empty());
}

// Catches adds, removes and clears that change or report the selection, and item data that
// does not follow its entry.
TEST_F(ComboBoxTest, ListEditsKeepSelectionWithoutClicks) {
  fill();
  combo->setListIndex(2);
  combo->addItem(QStringLiteral("Entry 3"));
  EXPECT_EQ(combo->listIndex(), 2);
  combo->removeItem(0);
  EXPECT_EQ(combo->listIndex(), 1);
  EXPECT_EQ(combo->itemData(1), 102);
  EXPECT_EQ(combo->findItemData(102), 1);
  EXPECT_EQ(combo->findItemData(100), -1);
  combo->removeItem(1);
  EXPECT_EQ(combo->listIndex(), -1);
  combo->clear();
  EXPECT_EQ(combo->listCount(), 0);
  EXPECT_EQ(combo->listIndex(), -1);
  EXPECT_EQ(clicks, (std::vector<int>{2}));
}

// Catches out-of-range indexes being accepted (or raising the wrong classic error number).
TEST_F(ComboBoxTest, RangeErrors) {
  fill();
  const auto number = [](const std::function<void()>& f) {
    try {
      f();
    } catch (const AutomationException& e) {
      return e.error().number;
    }
    return 0;
  };
  EXPECT_EQ(number([&] { combo->setListIndex(3); }), 380);
  EXPECT_EQ(number([&] { combo->setListIndex(-2); }), 380);
  EXPECT_EQ(number([&] { combo->list(3); }), 381);
  EXPECT_EQ(number([&] { combo->itemData(-1); }), 381);
  EXPECT_EQ(number([&] { combo->removeItem(3); }), 5);
  EXPECT_EQ(number([&] { combo->setListIndex(-1); }), 0);
}

// Catches a click handler that runs twice, on an unchanged selection, or only on one path.
TEST_F(ComboBoxTest, SelectionClicksOncePerRealChangeOnBothPaths) {
  fill();
  combo->setListIndex(1);
  combo->setListIndex(1);
  combo->setListIndex(-1);
  combo->setListIndex(-1);
  EXPECT_EQ(clicks, (std::vector<int>{1, -1}));

  s.show();
  widget->setFocus();
  QTest::keyClick(widget, Qt::Key_Down);  // the user selects an entry
  ASSERT_EQ(clicks.size(), 3u);
  EXPECT_EQ(clicks.back(), combo->listIndex());
  EXPECT_GE(combo->listIndex(), 0);
  EXPECT_EQ(combo->text(), combo->list(combo->listIndex()));
}

// Catches a code-path failure in the click handler being swallowed or leaving the widget out
// of step with the reported index.
TEST_F(ComboBoxTest, CodePathFailureReachesCallerWithWidgetConsistent) {
  fill();
  combo->onClick = [] { raiseError(failure(91, QStringLiteral("Object not set"))); };
  EXPECT_THROW(combo->setListIndex(2), AutomationException);
  EXPECT_EQ(widget->currentIndex(), 2);
  EXPECT_EQ(combo->listIndex(), 2);
  EXPECT_TRUE(s.reported.empty());
}

}  // namespace
