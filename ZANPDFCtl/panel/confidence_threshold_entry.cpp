#include "panel/confidence_threshold_entry.h"

#include "controls/numeric_text.h"
#include "settings/automation_error.h"

#include <cmath>

namespace zan {
namespace {

const QString kChangeSource = QStringLiteral("QelPDFSetup.txtConfidenceThreshold_Change()");
const QString kKeyPressSource = QStringLiteral("QelPDFSetup.txtConfidenceThreshold_KeyPress()");
constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;

}  // namespace

ConfidenceThresholdEntry::ConfidenceThresholdEntry(controls::TextBox& text, Options options,
                                                   std::function<void()> notifyChange,
                                                   ErrorEvent raiseError)
    : text_(text), notifyChange_(std::move(notifyChange)), raiseError_(std::move(raiseError)) {
  if (options.arrowKeys) {
    text_.onKeyDown = [this](int& keyCode, int shift) { keyDown(keyCode, shift); };
  }
  text_.onKeyPress = [this](int& keyAscii) { keyPress(keyAscii); };
  text_.onChange = [this] { change(); };
}

void ConfidenceThresholdEntry::keyDown(int& keyCode, int /*shift*/) {
  const double value = leadingNumber(text_.text());
  // The stepping starts from the value rounded to a whole number, so that a text such as "5a"
  // or an empty box steps like 5 or 0.
  if (keyCode == kKeyDown && value > 1) {
    text_.setText(QString::number(static_cast<long long>(std::nearbyint(value)) - 1));
  } else if (keyCode == kKeyUp && value < kUpperLimit) {
    text_.setText(QString::number(static_cast<long long>(std::nearbyint(value)) + 1));
  }
}

void ConfidenceThresholdEntry::keyPress(int& keyAscii) {
  try {
    if (keyAscii < 32) return;
    if (keyAscii >= '0' && keyAscii <= '9') return;
    keyAscii = 0;
  } catch (...) {
    reportFailure(kKeyPressSource);
  }
}

void ConfidenceThresholdEntry::change() {
  try {
    notifyChange_();
    text_.setTag(text_.text());
  } catch (...) {
    reportFailure(kChangeSource);
  }
}

void ConfidenceThresholdEntry::reportFailure(const QString& sourceFile) {
  ErrorEventArgs args = ErrorEventArgs::of(currentError());
  args.ErrMsg = QStringLiteral("Internal error: ") + args.ErrMsg;
  args.SourceFile = sourceFile;
  // What the host writes back into the arguments is not looked at.
  raiseError_(args);
}

}  // namespace zan
