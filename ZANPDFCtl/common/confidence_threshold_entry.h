#pragma once
// The confidence threshold box of both panels: a text box for a percentage with a spin control
// bound to it. Attaching the entry gives the text box its handlers:
//  - key press: only control characters (codes below 32) and the digits pass;
//  - key down (optional): Up and Down step the value by 1 between 1 and 100;
//  - change: a value of at most 100 is accepted (the panel's change notification runs and the
//    text is kept in the box's tag as the last accepted text); a larger value is rejected, the
//    box returns to the last accepted text and the caret to the rejected character's position;
//  - focus loss: a value below the spin control's minimum becomes "1", one above its maximum
//    becomes "100".
// A failure in the key press or change handler is reported through the panel's Error event and
// ends the handler; nothing is raised towards the code or the user action that ran it.

#include "common/automation_error.h"
#include "common/controls/spin_control.h"
#include "common/controls/text_box.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace zan {

class ConfidenceThresholdEntry final {
 public:
  // Raises the panel's Error event.
  using ErrorEvent = std::function<void(ErrorEventArgs& args)>;

  struct Options {
    // Up and Down arrow keys step the value (the Acrobat Capture panel has them, the OCR panel
    // does not).
    bool arrowKeys = false;
  };

  // Attaches the handlers to `text`, which must already show its design-time text and carry its
  // design-time tag. `notifyChange` is the panel's change notification; `raiseError` raises the
  // panel's Error event. Both controls must outlive the entry.
  ConfidenceThresholdEntry(controls::TextBox& text, controls::SpinControl& spin, Options options,
                           std::function<void()> notifyChange, ErrorEvent raiseError);
  ConfidenceThresholdEntry(const ConfidenceThresholdEntry&) = delete;
  ConfidenceThresholdEntry& operator=(const ConfidenceThresholdEntry&) = delete;

  // The handlers, as the text box calls them.
  void keyDown(int& keyCode, int shift);
  void keyPress(int& keyAscii);
  void change();
  void lostFocus();

  static constexpr int kUpperLimit = 100;

 private:
  void checkRange();
  // Inside a catch block: raises the Error event for the failure being handled.
  void reportFailure(const QString& sourceFile);
  // The text a rejected change returns to.
  QString restoreText() const;

  controls::TextBox& text_;
  controls::SpinControl& spin_;
  std::function<void()> notifyChange_;
  ErrorEvent raiseError_;
  // Until a text has been accepted the tag holds only its design-time value (empty, or a mark
  // such as "Image Only"), which is no threshold; a rejected change then returns to the text the
  // box showed when the entry was attached.
  QString designText_;
  bool accepted_ = false;
};

}  // namespace zan
