#include "controls/spin_control.h"

#include "controls/numeric_text.h"
#include "controls/text_box.h"

#include <QToolButton>

#include <algorithm>
#include <limits>

namespace zan::controls {

namespace {

// An arrow button that steps its spin control on every click, repeats while held included:
// the click reported from the check-state step costs the button no connection.
class StepButton final : public QToolButton {
 public:
  StepButton(int direction, QWidget* parent) : QToolButton(parent), direction_(direction) {}

 protected:
  void nextCheckState() override {
    QToolButton::nextCheckState();
    auto* arrows = dynamic_cast<WidgetLink*>(parentWidget());
    auto* spin = arrows ? static_cast<SpinControl*>(arrows->linkedControl()) : nullptr;
    if (!spin) return;  // released
    const int direction = direction_;
    spin->form().dispatch([spin, direction] { direction > 0 ? spin->stepUp() : spin->stepDown(); });
  }

 private:
  int direction_;
};

// Two arrow buttons stacked; they take no focus, so the buddy keeps the caret while stepping.
class UpDownWidget final : public LinkedWidget<QWidget> {
 public:
  UpDownWidget(const QString& name, QWidget* parent) : LinkedWidget(parent) {
    up = makeButton(Qt::UpArrow, +1, name + QStringLiteral("Up"));
    down = makeButton(Qt::DownArrow, -1, name + QStringLiteral("Down"));
  }
  QToolButton* up;
  QToolButton* down;

 protected:
  // Placed as a box layout without margins or spacing would place them (the odd pixel goes to
  // the upper arrow), without the cost of a layout object.
  void resizeEvent(QResizeEvent* event) override {
    const int upHeight = height() - height() / 2;
    up->setGeometry(0, 0, width(), upHeight);
    down->setGeometry(0, upHeight, width(), height() - upHeight);
    QWidget::resizeEvent(event);
  }

 private:
  QToolButton* makeButton(Qt::ArrowType arrow, int direction, const QString& name) {
    auto* button = new StepButton(direction, this);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return button;
  }
};

}  // namespace

SpinControl::SpinControl(Form& form, const QString& name, QWidget* parent)
    : Control(form, name, new UpDownWidget(name, parent)) {}

void SpinControl::setBuddy(TextBox* buddy) {
  buddy_ = buddy;
}

void SpinControl::setRange(int min, int max) {
  min_ = min;
  max_ = max;
  setValue(value_);
}

void SpinControl::setIncrement(int increment) {
  if (increment <= 0) fail(classic::kInvalidValue);
  increment_ = increment;
}

void SpinControl::setValue(int value) {
  value_ = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
}

void SpinControl::stepUp() {
  step(+1);
}

void SpinControl::stepDown() {
  step(-1);
}

void SpinControl::step(int direction) {
  const long long low = std::min(min_, max_);
  const long long high = std::max(min_, max_);
  long long current = value_;
  if (buddy_ && isWholeNumber(buddy_->text())) {
    bool ok = false;
    current = buddy_->text().toLongLong(&ok);
    if (!ok)  // too many digits: beyond either bound
      current = buddy_->text().startsWith(u'-') ? std::numeric_limits<long long>::min()
                                                : std::numeric_limits<long long>::max();
    current = std::clamp(current, low, high);
  }
  // A range given as max < min steps the other way, as classically.
  const long long delta = (min_ <= max_ ? direction : -direction) * (long long)increment_;
  value_ = int(std::clamp(current + delta, low, high));
  if (buddy_) buddy_->typeText(QString::number(value_));
}

QWidget* SpinControl::upButton() const {
  return widget() ? static_cast<UpDownWidget*>(widget())->up : nullptr;
}

QWidget* SpinControl::downButton() const {
  return widget() ? static_cast<UpDownWidget*>(widget())->down : nullptr;
}

}  // namespace zan::controls
