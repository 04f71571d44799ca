#include "controls/check_box.h"

#include <QProxyStyle>

#include <algorithm>

namespace zan::controls {

namespace {

// A user click toggles only between set and cleared, also from the grayed state (Qt would
// otherwise cycle through the grayed state once it has been shown). A change the user makes,
// or code that goes past the control (setChecked), is reported through `changed`: overriding
// the box's own steps costs no connection (a box's first connection costs it a table of all its
// signals).
class ClassicCheckBox final : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;
  CheckBox* control = nullptr;  // told of every change; none once released
  // The state the last report (or a code-path set) left.
  Qt::CheckState reported = Qt::Unchecked;

 protected:
  void nextCheckState() override {
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    report();
  }
  void checkStateSet() override {
    QCheckBox::checkStateSet();
    report();
  }

 private:
  void report() {
    if (checkState() == reported) return;
    reported = checkState();
    if (control) control->reportUserChange();
  }
};

// The check mark's square never taller than the box (a designed 13-pixel box under a style
// whose square is 14 pixels would lose its bottom edge).
class FittingIndicatorStyle final : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    const int size = QProxyStyle::pixelMetric(metric, option, widget);
    if (widget && (metric == PM_IndicatorHeight || metric == PM_IndicatorWidth))
      return std::min(size, widget->height());
    return size;
  }
};

// Qt: Unchecked 0, PartiallyChecked 1, Checked 2; classic: cleared 0, set 1, grayed 2.
int toClassic(Qt::CheckState state) {
  switch (state) {
    case Qt::Checked:
      return CheckBox::Checked;
    case Qt::PartiallyChecked:
      return CheckBox::Grayed;
    default:
      return CheckBox::Unchecked;
  }
}

Qt::CheckState toQt(int value) {
  switch (value) {
    case CheckBox::Checked:
      return Qt::Checked;
    case CheckBox::Grayed:
      return Qt::PartiallyChecked;
    default:
      return Qt::Unchecked;
  }
}

}  // namespace

CheckBox::CheckBox(Form& form, const QString& name, QWidget* parent)
    : Control(form, name, new ClassicCheckBox(parent)) {
  checkBox()->setStyle(form.checkBoxStyle([] { return new FittingIndicatorStyle; }));
  static_cast<ClassicCheckBox*>(checkBox())->control = this;
}

// The box outlives its control: a released control hears no more clicks.
CheckBox::~CheckBox() {
  if (checkBox()) static_cast<ClassicCheckBox*>(checkBox())->control = nullptr;
}

void CheckBox::reportUserChange() {
  auto handler = onClick;
  form().dispatch(handler);
}

QCheckBox* CheckBox::checkBox() const {
  return static_cast<QCheckBox*>(widget());
}

QString CheckBox::caption() const {
  return checkBox() ? checkBox()->text() : QString();
}

void CheckBox::setCaption(const QString& caption) {
  // The same caption again (Enabled put re-assigns every caption) registers no new access key.
  if (checkBox() && checkBox()->text() != caption) checkBox()->setText(caption);
}

int CheckBox::value() const {
  return checkBox() ? toClassic(checkBox()->checkState()) : 0;
}

void CheckBox::setValue(int value) {
  if (value < Unchecked || value > Grayed) fail(classic::kInvalidValue);
  if (!checkBox() || value == this->value()) return;
  {
    QSignalBlocker blocker(checkBox());
    checkBox()->setCheckState(toQt(value));
    static_cast<ClassicCheckBox*>(checkBox())->reported = toQt(value);
  }
  if (onClick) {
    auto handler = onClick;
    handler();
  }
}

}  // namespace zan::controls
