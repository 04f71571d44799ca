// The confidence threshold box's handlers, on a bare text box and spin control.

#include "common/confidence_threshold_entry.h"

#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

using namespace zan;
using zan::controls::Form;
using zan::controls::SpinControl;
using zan::controls::TextBox;

namespace {

using ErrorArgs = std::tuple<std::int32_t, QString, QString, std::int16_t, bool, bool>;

// A surface with the box and its spin control, as a panel lays them out.
struct EntryBench {
  explicit EntryBench(const QString& designText, const QString& designTag, bool arrowKeys) {
    surface.resize(200, 60);
    text = form.add<TextBox>(QStringLiteral("txtConfidenceThreshold"), &surface);
    text->setText(designText);
    text->setTag(designTag);
    text->setMaxLength(3);
    spin = form.add<SpinControl>(QStringLiteral("spnConfidenceThreshold"), &surface);
    spin->setRange(0, 100);
    spin->setBuddy(text);
    entry = std::make_unique<ConfidenceThresholdEntry>(
        *text, *spin, ConfidenceThresholdEntry::Options{arrowKeys},
        [this] {
          ++changes;
          if (failNotify) raiseError(13, QStringLiteral("host"), QStringLiteral("Type mismatch"));
        },
        [this](std::int32_t& n, QString& m, QString& s, std::int16_t& l, bool& r, bool& d) {
          errors.emplace_back(n, m, s, l, r, d);
          r = true;  // ignored by the entry
        });
  }
  QLineEdit* edit() const { return text->lineEdit(); }

  QWidget surface;
  Form form{&surface};
  TextBox* text = nullptr;
  SpinControl* spin = nullptr;
  std::unique_ptr<ConfidenceThresholdEntry> entry;
  int changes = 0;
  bool failNotify = false;
  std::vector<ErrorArgs> errors;
};

}  // namespace

class KeyFilter : public ::testing::TestWithParam<std::pair<int, int>> {};

// Catches a non-digit typed character let through, or a control character (Backspace, Ctrl+V)
// discarded.
TEST_P(KeyFilter, OnlyDigitsAndControlCharactersPass) {
  EntryBench bench(QStringLiteral("95"), {}, false);
  int key = GetParam().first;
  bench.entry->keyPress(key);
  EXPECT_EQ(key, GetParam().second);
}
INSTANTIATE_TEST_SUITE_P(Codes, KeyFilter,
                         ::testing::Values(std::pair{'a', 0}, std::pair{' ', 0}, std::pair{'-', 0},
                                           std::pair{'+', 0}, std::pair{'.', 0},
                                           std::pair{'0', '0'}, std::pair{'9', '9'},
                                           std::pair{8, 8}, std::pair{22, 22}, std::pair{3, 3}));

// Catches a rejected value kept, the caret not put on the rejected character, Change counted
// for the rejected text, and 100 itself rejected.
TEST(ConfidenceEntry, RejectsAboveHundredAndRestoresTheCaret) {
  EntryBench bench(QStringLiteral("95"), {}, false);
  bench.text->setText(QStringLiteral("10"));
  bench.changes = 0;
  bench.edit()->end(false);
  QTest::keyClick(bench.edit(), Qt::Key_5);
  EXPECT_EQ(bench.text->text(), QStringLiteral("10"));
  EXPECT_EQ(bench.text->selStart(), 2);
  EXPECT_EQ(bench.changes, 1);
  EXPECT_EQ(bench.text->tag(), QStringLiteral("10"));
  QTest::keyClick(bench.edit(), Qt::Key_0);
  EXPECT_EQ(bench.text->text(), QStringLiteral("100"));
  EXPECT_EQ(bench.text->tag(), QStringLiteral("100"));
  EXPECT_EQ(bench.changes, 2);
}

// Catches a rejection before any accepted text returning the box to its design-time tag (an
// "Image Only" mark or nothing) instead of the text it showed; the mark stays until a text is
// accepted.
TEST(ConfidenceEntry, RejectionBeforeAnyAcceptedTextKeepsTheShownText) {
  EntryBench bench(QStringLiteral("95"), QStringLiteral("Image Only"), true);
  EXPECT_FALSE(bench.entry->hasAcceptedText());
  EXPECT_EQ(bench.text->tag(), QStringLiteral("Image Only"));
  bench.edit()->end(false);
  QTest::keyClick(bench.edit(), Qt::Key_7);  // 957
  EXPECT_EQ(bench.text->text(), QStringLiteral("95"));
  EXPECT_EQ(bench.text->selStart(), 2);
  EXPECT_TRUE(bench.entry->hasAcceptedText());
  EXPECT_EQ(bench.text->tag(), QStringLiteral("95"));
}

// Catches endless recursion when the text to return to would itself be rejected.
TEST(ConfidenceEntry, UnacceptableRestoreTextEmptiesTheBox) {
  EntryBench bench(QStringLiteral("500"), {}, false);
  bench.edit()->end(false);
  QTest::keyClick(bench.edit(), Qt::Key_Backspace);  // 50 accepted
  bench.text->setTag(QStringLiteral("700"));         // an outside write of the tag
  bench.edit()->end(false);
  QTest::keyClick(bench.edit(), Qt::Key_1);  // 501 rejected
  EXPECT_EQ(bench.text->text(), QString());
}

struct StepCase {
  const char* before;
  Qt::Key key;
  const char* after;
};

class ArrowKeys : public ::testing::TestWithParam<StepCase> {};

// Catches stepping beyond 1 or 100, stepping the wrong way, and a non-whole text breaking the
// stepping.
TEST_P(ArrowKeys, StepByOneWithinLimits) {
  EntryBench bench(QString::fromLatin1(GetParam().before), {}, true);
  QTest::keyClick(bench.edit(), GetParam().key);
  EXPECT_EQ(bench.text->text(), QString::fromLatin1(GetParam().after));
}
INSTANTIATE_TEST_SUITE_P(
    Cases, ArrowKeys,
    ::testing::Values(StepCase{"100", Qt::Key_Up, "100"}, StepCase{"99", Qt::Key_Up, "100"},
                      StepCase{"1", Qt::Key_Down, "1"}, StepCase{"2", Qt::Key_Down, "1"},
                      StepCase{"", Qt::Key_Up, "1"}, StepCase{"5a", Qt::Key_Up, "6"}));

// Catches the arrow keys stepping when the panel asked for no stepping.
TEST(ConfidenceEntry, NoStepping) {
  EntryBench bench(QStringLiteral("50"), {}, false);
  QTest::keyClick(bench.edit(), Qt::Key_Up);
  EXPECT_EQ(bench.text->text(), QStringLiteral("50"));
}

class FocusLoss : public ::testing::TestWithParam<std::tuple<int, const char*, const char*>> {};

// Catches the correction using the spin bounds as replacement texts, or correcting a value
// inside the bounds.
TEST_P(FocusLoss, CorrectsAgainstTheSpinBounds) {
  const auto [minimum, before, after] = GetParam();
  EntryBench bench(QStringLiteral("95"), {}, false);
  bench.spin->setRange(minimum, 50);
  bench.text->setText(QString::fromLatin1(before));
  bench.entry->lostFocus();
  EXPECT_EQ(bench.text->text(), QString::fromLatin1(after));
}
INSTANTIATE_TEST_SUITE_P(Cases, FocusLoss,
                         ::testing::Values(std::make_tuple(0, "-3", "1"),
                                           std::make_tuple(0, "", ""),
                                           std::make_tuple(10, "5", "1"),
                                           std::make_tuple(0, "80", "100"),
                                           std::make_tuple(0, "50", "50")));

// Catches a failure in the change handling escaping to the code that set the text, or reported
// with other arguments than the fixed ones.
TEST(ConfidenceEntry, FailureBecomesTheErrorEvent) {
  EntryBench bench(QStringLiteral("95"), {}, false);
  bench.failNotify = true;
  EXPECT_NO_THROW(bench.text->setText(QStringLiteral("12")));
  ASSERT_EQ(bench.errors.size(), 1u);
  EXPECT_EQ(
      bench.errors[0],
      ErrorArgs(13, QStringLiteral("Internal error: Type mismatch"),
                QStringLiteral("QelPDFSetup.txtConfidenceThreshold_Change()"), 0, false, true));
}
