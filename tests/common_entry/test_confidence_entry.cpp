// The confidence threshold box's handlers, on a bare text box and spin control.

#include "common/confidence_threshold_entry.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

using namespace zan;

namespace {

using ErrorArgs = std::tuple<std::int32_t, QString, QString, std::int16_t, bool, bool>;

// A text box limited to 3 typed characters and its 0..100 spin control, as a panel lays them
// out, with the entry attached; `failNotify` makes the change notification fail.
struct Bench {
  explicit Bench(const char* designText, bool arrowKeys = false, const char* designTag = "") {
    text = form.add<controls::TextBox>("txtConfidenceThreshold", &surface);
    text->setText(designText);
    text->setTag(designTag);
    text->setMaxLength(3);
    spin = form.add<controls::SpinControl>("spnConfidenceThreshold", &surface);
    spin->setRange(0, 100);
    entry = std::make_unique<ConfidenceThresholdEntry>(
        *text, *spin, ConfidenceThresholdEntry::Options{arrowKeys},
        [this] {
          ++changes;
          if (failNotify) raiseError(13, "host", "Type mismatch");
        },
        [this](ErrorEventArgs& a) {
          errors.emplace_back(a.ErrNum, a.ErrMsg, a.SourceFile, a.LineNo, a.ReRaise, a.Display);
        });
  }
  QLineEdit* edit() const { return text->lineEdit(); }

  QWidget surface;
  controls::Form form{&surface};
  controls::TextBox* text = nullptr;
  controls::SpinControl* spin = nullptr;
  std::unique_ptr<ConfidenceThresholdEntry> entry;
  int changes = 0;
  bool failNotify = false;
  std::vector<ErrorArgs> errors;
};

}  // namespace

// Catches a non-digit typed character let through, or a control character (Backspace, Ctrl+V)
// discarded.
TEST(ConfidenceEntry, KeyFilterPassesOnlyDigitsAndControlCharacters) {
  Bench bench("95");
  const std::pair<int, int> cases[] = {{'a', 0},   {' ', 0},   {'-', 0},     {'.', 0},
                                       {'0', '0'}, {'9', '9'}, {'\b', '\b'}, {'\x16', '\x16'}};
  for (const auto& [key, passed] : cases) {
    int code = key;
    bench.entry->keyPress(code);
    EXPECT_EQ(code, passed) << key;
  }
}

// Catches a rejected value kept, the caret not put on the rejected character, Change counted
// for the rejected text, 100 itself rejected, a rejection before any accepted text returning to
// the design-time tag (an "Image Only" mark) instead of the shown text, or endless recursion
// when the text to return to would itself be rejected.
TEST(ConfidenceEntry, RejectsAboveHundredAndReturnsToTheLastAcceptedText) {
  Bench bench("95", true, "Image Only");
  bench.edit()->end(false);
  QTest::keyClick(bench.edit(), Qt::Key_7);  // 957 before any accepted text
  EXPECT_EQ(bench.text->text(), "95");
  EXPECT_EQ(bench.text->tag(), "95");
  bench.text->setText("10");
  bench.changes = 0;
  bench.edit()->end(false);
  QTest::keyClick(bench.edit(), Qt::Key_5);
  EXPECT_EQ(bench.text->text(), "10");
  EXPECT_EQ(bench.text->selStart(), 2);
  EXPECT_EQ(bench.changes, 1);  // for the restored text
  QTest::keyClick(bench.edit(), Qt::Key_0);
  EXPECT_EQ(bench.text->text(), "100");
  bench.text->setText("50");
  bench.text->setTag("700");  // an outside write of the tag
  bench.edit()->end(false);
  QTest::keyClick(bench.edit(), Qt::Key_1);
  EXPECT_EQ(bench.text->text(), "");
}

// Catches stepping beyond 1 or 100, stepping the wrong way, a non-whole text breaking the
// stepping, or stepping when the panel asked for none.
TEST(ConfidenceEntry, ArrowKeysStepByOneWithinLimits) {
  const std::tuple<bool, const char*, Qt::Key, const char*> cases[] = {
      {true, "100", Qt::Key_Up, "100"}, {true, "99", Qt::Key_Up, "100"},
      {true, "1", Qt::Key_Down, "1"},   {true, "2", Qt::Key_Down, "1"},
      {true, "", Qt::Key_Up, "1"},      {true, "5a", Qt::Key_Up, "6"},
      {false, "50", Qt::Key_Up, "50"}};
  for (const auto& [arrowKeys, before, key, after] : cases) {
    Bench bench(before, arrowKeys);
    QTest::keyClick(bench.edit(), key);
    EXPECT_EQ(bench.text->text(), after) << before;
  }
}

// Catches the correction using the spin bounds as replacement texts, correcting a value inside
// the bounds or an empty box, or a pasted negative number (not filtered) kept.
TEST(ConfidenceEntry, FocusLossCorrectsAgainstTheSpinBounds) {
  const std::tuple<int, const char*, const char*> cases[] = {
      {0, "", ""}, {10, "5", "1"}, {0, "80", "100"}, {0, "50", "50"}};
  for (const auto& [minimum, before, after] : cases) {
    Bench bench("95");
    bench.spin->setRange(minimum, 50);
    bench.text->setText(before);
    bench.entry->lostFocus();
    EXPECT_EQ(bench.text->text(), after) << before;
  }
  Bench bench("95");
  bench.edit()->selectAll();
  QApplication::clipboard()->setText("-5");
  QTest::keyClick(bench.edit(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(bench.text->text(), "-5");
  bench.entry->lostFocus();
  EXPECT_EQ(bench.text->text(), "1");
}

// Catches a failure in the change handling escaping to the code that set the text, or reported
// with other arguments than the fixed ones.
TEST(ConfidenceEntry, FailureBecomesTheErrorEvent) {
  Bench bench("95");
  bench.failNotify = true;
  EXPECT_NO_THROW(bench.text->setText("12"));
  EXPECT_EQ(bench.errors,
            std::vector{ErrorArgs(13, "Internal error: Type mismatch",
                                  "QelPDFSetup.txtConfidenceThreshold_Change()", 0, false, true)});
}
