#include "controls/check_box.h"
#include "controls/combo_box.h"

#include "controls_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionButton>

#include <functional>
#include <memory>
#include <tuple>

using namespace zan;
using namespace zan::controls;
using zan::controls::testing::Surface;
using zan::testing::failureOf;

namespace {

// Catches Qt's numbering (PartiallyChecked 1, Checked 2) leaking out, values outside 0-2
// accepted, and a user click that cycles through grayed (Qt's tristate).
TEST(CheckBoxValues, ClassicValuesAndUserToggle) {
  Surface s;
  auto* box = s.form.add<CheckBox>(QStringLiteral("chkOption"), &s.window);
  std::vector<int> clicks;  // value seen by each click
  box->onClick = [&] { clicks.push_back(box->value()); };
  const std::pair<int, Qt::CheckState> cases[] = {
      {1, Qt::Checked}, {2, Qt::PartiallyChecked}, {0, Qt::Unchecked}};
  for (const auto& [value, state] : cases) {
    box->setValue(value);
    EXPECT_EQ(box->checkBox()->checkState(), state) << value;
    EXPECT_EQ(box->value(), value);
  }
  EXPECT_EQ(clicks, (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(failureOf([&] { box->setValue(3); }).number, 380);
  EXPECT_EQ(failureOf([&] { box->setValue(-1); }).number, 380);

  s.show();
  box->setValue(CheckBox::Grayed);
  clicks.clear();
  for (int i = 0; i < 3; ++i) QTest::mouseClick(box->checkBox(), Qt::LeftButton);
  EXPECT_EQ(clicks, (std::vector<int>{1, 0, 1}));
}

// Catches a check mark style owned by one panel (its boxes would lose it, or keep a dangling
// one, when that panel goes) or made anew for each panel, and a mark taller than its box.
TEST(CheckBoxValues, PanelsShareOneIndicatorStyleThatOutlivesEach) {
  auto first = std::make_unique<Surface>();
  Surface second;
  auto* gone = first->form.add<CheckBox>(QStringLiteral("chkFirst"), &first->window);
  auto* kept = second.form.add<CheckBox>(QStringLiteral("chkSecond"), &second.window);
  QStyle* style = kept->checkBox()->style();
  EXPECT_EQ(gone->checkBox()->style(), style);
  EXPECT_NE(style, QApplication::style());
  first.reset();
  ASSERT_EQ(kept->checkBox()->style(), style);
  kept->checkBox()->resize(120, 9);
  QStyleOptionButton option;
  option.initFrom(kept->checkBox());
  EXPECT_LE(style->pixelMetric(QStyle::PM_IndicatorHeight, &option, kept->checkBox()), 9);
  second.show();
  QTest::mouseClick(kept->checkBox(), Qt::LeftButton, {}, QPoint(4, 4));
  EXPECT_EQ(kept->value(), CheckBox::Checked);
}

// Catches Qt's auto-selection of the first entry (and the click it would emit) while filling, an
// editable list, adds, removes and clears that change or report the selection, item data that
// does not follow its entry, and out-of-range indexes accepted or failing with another number.
TEST(ComboBoxList, FillEditAndRangeErrors) {
  Surface s;
  auto* combo = s.form.add<ComboBox>(QStringLiteral("cmbKind"), &s.window);
  std::vector<int> clicks;  // list index seen by each click
  combo->onClick = [&] { clicks.push_back(combo->listIndex()); };
  for (int i = 0; i < 3; ++i)
    combo->setItemData(combo->addItem(QStringLiteral("&E%1").arg(i)), 100 + i);
  EXPECT_EQ(combo->listIndex(), -1);
  EXPECT_EQ(combo->comboBox()->currentIndex(), -1);
  EXPECT_EQ(combo->text(), QString());
  EXPECT_EQ(combo->list(0), QStringLiteral("&E0"));
  EXPECT_FALSE(combo->comboBox()->isEditable());
  EXPECT_TRUE(clicks.empty());

  const std::pair<std::function<void()>, int> errors[] = {
      {[&] { combo->setListIndex(3); }, 380}, {[&] { combo->setListIndex(-2); }, 380},
      {[&] { combo->list(3); }, 381},         {[&] { combo->itemData(-1); }, 381},
      {[&] { combo->removeItem(3); }, 5},     {[&] { combo->setListIndex(-1); }, 0}};
  for (const auto& [call, number] : errors) EXPECT_EQ(failureOf(call).number, number);

  combo->setListIndex(2);
  combo->addItem(QStringLiteral("E3"));
  EXPECT_EQ(combo->listIndex(), 2);
  combo->removeItem(0);
  EXPECT_EQ(combo->listIndex(), 1);
  EXPECT_EQ(combo->itemData(1), 102);
  combo->removeItem(1);
  EXPECT_EQ(combo->listIndex(), -1);
  combo->clear();
  EXPECT_EQ(combo->listCount(), 0);
  EXPECT_EQ(clicks, (std::vector<int>{2}));
}

// Catches entries filled at once that lose or misalign the item data and stored values of the
// entries before them, a list that keyboard search, finding and editing through Qt cannot see,
// and a box whose model a host replaced that can no longer be filled.
TEST(ComboBoxList, BatchFillKeepsValuesAndQtAccess) {
  Surface s;
  auto* combo = s.form.add<ComboBox>(QStringLiteral("cmbKind"), &s.window);
  std::vector<QString> clicks;  // text seen by each click
  combo->onClick = [&] { clicks.push_back(combo->text()); };
  combo->addItem(QStringLiteral("Alpha"));
  combo->setItemValue(0, QStringLiteral("alpha value"));
  combo->setItemData(0, 7);
  combo->addItems({QStringLiteral("Beta"), QStringLiteral("Gamma"), QStringLiteral("Delta")});
  ASSERT_EQ(combo->listCount(), 4);
  EXPECT_EQ(combo->listIndex(), -1);
  EXPECT_EQ(combo->itemValue(0), QStringLiteral("alpha value"));
  EXPECT_EQ(combo->itemData(0), 7);
  EXPECT_EQ(combo->itemValue(3), QStringLiteral("Delta"));
  EXPECT_EQ(combo->itemData(3), 0);

  QComboBox* box = combo->comboBox();
  EXPECT_EQ(box->findText(QStringLiteral("Gamma")), 2);
  box->setItemText(1, QStringLiteral("Bravo"));
  combo->removeItem(0);
  EXPECT_EQ(combo->list(0), QStringLiteral("Bravo"));
  EXPECT_EQ(combo->itemValue(0), QStringLiteral("Bravo"));
  EXPECT_EQ(combo->itemData(0), 0);

  s.show();
  box->setFocus();
  QTest::keyClick(box, Qt::Key_G);
  EXPECT_EQ(combo->text(), QStringLiteral("Gamma"));
  EXPECT_EQ(clicks, (std::vector<QString>{QStringLiteral("Gamma")}));

  box->setModel(new QStandardItemModel(box));
  combo->addItems({QStringLiteral("One"), QStringLiteral("Two")});
  EXPECT_EQ(combo->listCount(), 2);
  EXPECT_EQ(combo->listIndex(), -1);
  EXPECT_EQ(combo->list(1), QStringLiteral("Two"));
}

// Catches a tooltip that does not repeat a selected text cut off by the box, when the text was
// selected before the box was first shown or while it is shown, or that keeps it after a short
// text replaced it.
TEST(ComboBoxList, CutTextRepeatedInTooltip) {
  Surface s;
  auto* combo = s.form.add<ComboBox>(QStringLiteral("cmbKind"), &s.window);
  combo->comboBox()->setFixedWidth(60);
  const QString longText = QStringLiteral("A workflow name far too long for the box");
  combo->addItems({QStringLiteral("Short"), longText, QStringLiteral("Ab")});
  combo->setListIndex(1);
  s.show();
  EXPECT_TRUE(combo->comboBox()->toolTip().contains(longText));
  combo->setListIndex(2);
  EXPECT_FALSE(combo->comboBox()->toolTip().contains(longText));
  combo->setListIndex(1);
  EXPECT_TRUE(combo->comboBox()->toolTip().contains(longText));
}

// Catches a user's choice of the entry already selected (from the list) that is not a click,
// and a change the user makes (from the list, by letter or by arrow) that counts as two clicks
// or none.
TEST(ComboBoxList, EveryUserChoiceIsOneClick) {
  using Choose = std::function<void(QComboBox*)>;
  const auto fromList = [](int down) {
    return [down](QComboBox* box) {
      box->showPopup();
      for (int i = 0; i < down; ++i) QTest::keyClick(box->view(), Qt::Key_Down);
      QTest::keyClick(box->view(), Qt::Key_Return);
    };
  };
  const std::tuple<const char*, Choose, int> cases[] = {
      {"the selected entry from the list", fromList(0), 1},
      {"another entry from the list", fromList(1), 2},
      {"another entry by its letter", [](QComboBox* b) { QTest::keyClick(b, Qt::Key_G); }, 2},
      {"the next entry by arrow", [](QComboBox* b) { QTest::keyClick(b, Qt::Key_Down); }, 2},
  };
  for (const auto& [what, choose, index] : cases) {
    SCOPED_TRACE(what);
    Surface s;
    auto* combo = s.form.add<ComboBox>(QStringLiteral("cmbKind"), &s.window);
    combo->addItems({QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")});
    combo->setListIndex(1);
    std::vector<int> clicks;  // list index seen by each click
    combo->onClick = [&] { clicks.push_back(combo->listIndex()); };
    s.show();
    combo->comboBox()->setFocus();
    choose(combo->comboBox());
    QTest::qWait(10);  // the click that follows a change is over once the event loop ran
    EXPECT_EQ(clicks, (std::vector<int>{index}));
  }
}

}  // namespace
