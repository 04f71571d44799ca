#pragma once
// Single-line text box with the classic change, key-down, key-press and focus-loss events.

#include "controls/control.h"

#include <QLineEdit>

namespace zan::controls {

class TextBox final : public Control {
 public:
  TextBox(Form& form, const QString& name, QWidget* parent);
  ~TextBox() override;
  QLineEdit* lineEdit() const;

  QString text() const;
  // Sets the text from code, ignoring maxLength; runs onChange when the text changed. The
  // caret ends up behind the text.
  void setText(const QString& text);

  // Caret position in characters from 0.
  int selStart() const;
  void setSelStart(int position);

  // Limits only what the user types or pastes (0 = no limit); code may set longer texts.
  int maxLength() const;
  void setMaxLength(int length);

  // Writes `text` as if the user had typed it: maxLength applies and onChange runs on the
  // user path. The spin control uses this for its arrows.
  void typeText(const QString& text);

  // The text changed (typing, paste, code).
  std::function<void()> onChange;
  // A key went down: classic key code (Up 38, Down 40, Left 37, Right 39, letters as upper-case
  // ASCII, ...) and shift state (1 Shift, 2 Ctrl, 4 Alt).
  std::function<void(int& keyCode, int shift)> onKeyDown;
  // A character is about to be typed: its classic code (Ctrl+letter gives 1..26, Backspace 8).
  // Setting it to 0 discards the character; another value types that character instead.
  std::function<void(int& keyAscii)> onKeyPress;

 protected:
  bool filterEvent(QEvent* event) override;

 private:
  class Validator;
  void setTextUnchecked(const QString& text);
  Validator* validator_ = nullptr;  // made by the first length limit
  QString lastText_;                // the text the last change was reported for
};

}  // namespace zan::controls
