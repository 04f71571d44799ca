// The confidence threshold box's handlers, on a bare text box and spin control.

#include "panel/confidence_threshold_entry.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

using namespace zan;

namespace {

using ErrorArgs = std::tuple<std::int32_t, QString, QString, std::int16_t, bool, bool>;

// A text box limited to 3 typed characters, as a panel lays it out, with the entry attached;
// `failNotify` makes the change notification fail.
struct Bench {
  explicit Bench(const char* designText, bool arrowKeys = false, const char* designTag = "") {
    text = form.add<controls::TextBox>("txtConfidenceThreshold", &surface);
    text->setText(designText);
    text->setTag(designTag);
    text->setMaxLength(3);
    entry = std::make_unique<ConfidenceThresholdEntry>(
        *text, ConfidenceThresholdEntry::Options{arrowKeys},
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

// Catches a typed digit dropped or changed behind the user's back (150 shown as 15, a value
// above 100 returned to the last accepted text), a change not notified, or the design-time tag
// (an "Image Only" mark) kept after a text was shown.
TEST(ConfidenceEntry, TypedDigitsAreKeptWhateverTheirValue) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"", "150", "150"}, {"10", "5", "105"}, {"10", "0", "100"}, {"95", "7", "957"}};
  for (const auto& [before, typed, after] : cases) {
    Bench bench("", false, "Image Only");
    bench.text->setText(before);
    bench.changes = 0;
    bench.edit()->end(false);
    QTest::keyClicks(bench.edit(), typed);
    EXPECT_EQ(bench.text->text(), after) << before << " + " << typed;
    EXPECT_EQ(bench.text->tag(), after);
    EXPECT_EQ(bench.changes, static_cast<int>(strlen(typed)));
  }
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
