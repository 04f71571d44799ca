#pragma once
// The confidence threshold box of both panels: a text box for a percentage with a spin control
// bound to it. Attaching the entry gives the text box its handlers:
//  - key press: only control characters (codes below 32) and the digits pass;
//  - key down (optional): Up and Down step the value by 1 between 1 and 100;
//  - change: the panel's change notification runs and the text is kept in the box's tag as the
//    last accepted text.
// What the user typed is never changed behind the user's back: a value outside 0 to 100 stays
// as typed, and the settings' check refuses it when the panel is validated (naming the rule and
// putting the focus here).
// A failure in the key press or change handler is reported through the panel's Error event and
// ends the handler; nothing is raised towards the code or the user action that ran it.

#include "controls/text_box.h"
#include "settings/automation_error.h"

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

  // Attaches the handlers to `text`, which carries its design-time tag until the first change.
  // `notifyChange` is the panel's change notification; `raiseError` raises the panel's Error event.
  // Both controls must outlive the entry.
  ConfidenceThresholdEntry(controls::TextBox& text, Options options,
                           std::function<void()> notifyChange, ErrorEvent raiseError);
  ConfidenceThresholdEntry(const ConfidenceThresholdEntry&) = delete;
  ConfidenceThresholdEntry& operator=(const ConfidenceThresholdEntry&) = delete;

  // The handlers, as the text box calls them.
  void keyDown(int& keyCode, int shift);
  void keyPress(int& keyAscii);
  void change();

  static constexpr int kUpperLimit = 100;

 private:
  // Inside a catch block: raises the Error event for the failure being handled.
  void reportFailure(const QString& sourceFile);

  controls::TextBox& text_;
  std::function<void()> notifyChange_;
  ErrorEvent raiseError_;
};

}  // namespace zan
