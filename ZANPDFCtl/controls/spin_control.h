#pragma once
// Spin (up-down) control bound to a text box: its arrows step its value between minimum and
// maximum and write the value into the buddy's text as decimal digits, exactly like typing.

#include "controls/control.h"

namespace zan::controls {

class TextBox;

class SpinControl final : public Control {
 public:
  SpinControl(Form& form, const QString& name, QWidget* parent);
  bool keepsWidth() const override { return true; }

  void setBuddy(TextBox* buddy);
  TextBox* buddy() const { return buddy_; }

  int min() const { return min_; }
  int max() const { return max_; }
  int value() const { return value_; }
  void setRange(int min, int max);   // min > max makes the up arrow count down
  void setIncrement(int increment);  // error 380 unless positive
  void setValue(int value);          // clamped to the range; does not touch the buddy

  // What a press of the up or down arrow does (also used by the widget's own buttons): take
  // the buddy's number when it holds one, step within the range, and type the result into the
  // buddy on the user path.
  void stepUp();
  void stepDown();

  QWidget* upButton() const;
  QWidget* downButton() const;

 private:
  void step(int direction);
  TextBox* buddy_ = nullptr;
  int min_ = 0, max_ = 100, increment_ = 1, value_ = 0;
};

}  // namespace zan::controls
