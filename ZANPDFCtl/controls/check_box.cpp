#include "controls/check_box.h"

#include <QApplication>
#include <QPointer>
#include <QProxyStyle>

#include <algorithm>

namespace zan::controls {

namespace {

// A user click toggles only between set and cleared, also from the grayed state (Qt would
// otherwise cycle through the grayed state once it has been shown). A change the user makes,
// or code that goes past the control (setChecked), is reported through `changed`: overriding
// the box's own steps costs no connection (a box's first connection costs it a table of all its
// signals).
class ClassicCheckBox final : public LinkedWidget<QCheckBox> {
 public:
  using LinkedWidget::LinkedWidget;
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
    // Told of every change; none once the control is released.
    if (auto* control = static_cast<CheckBox*>(linkedControl())) control->reportUserChange();
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

// The one indicator style of every box in the process (a style of its own per box or per panel
// would hold a whole base style each). It wraps the application's style of the time it was
// made: boxes made after the host changed the application's style get a new one.
class SharedIndicatorStyle {
 public:
  // The library is being unloaded: the style's code goes with it.
  ~SharedIndicatorStyle() { delete style_; }

  QStyle* get() {
    QStyle* application = QApplication::style();
    if (!style_ || madeFor_ != application) {
      style_ = new FittingIndicatorStyle;
      style_->setParent(qApp);
      madeFor_ = application;
    }
    return style_;
  }

 private:
  QPointer<QStyle> style_;
  QPointer<QStyle> madeFor_;
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
  static SharedIndicatorStyle indicatorStyle;
  checkBox()->setStyle(indicatorStyle.get());
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
