#pragma once
// Check box with the classic values 0 cleared, 1 set, 2 grayed.

#include "controls/control.h"

#include <QCheckBox>

namespace zan::controls {

class CheckBox final : public Control {
 public:
  enum Value { Unchecked = 0, Checked = 1, Grayed = 2 };

  CheckBox(Form& form, const QString& name, QWidget* parent);
  QCheckBox* checkBox() const;

  bool hasCaption() const override { return true; }
  QString caption() const override;
  void setCaption(const QString& caption) override;

  int value() const;
  // Sets 0, 1 or 2 from code; runs onClick when the value changed. Any other value fails
  // with error 380 "Invalid property value".
  void setValue(int value);

  // The value changed (user click toggles only between set and cleared, or code).
  std::function<void()> onClick;

  // Called by the box's widget when the user (or code going past the control) changed it.
  void reportUserChange();
};

}  // namespace zan::controls
