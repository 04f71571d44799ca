#include "controls/control.h"

#include <QFocusEvent>
#include <QSizePolicy>

#include <algorithm>
#include <cmath>

namespace zan::controls {

// ---- Control

Control::Control(Form& form, const QString& name, QWidget* widget, WidgetLink* link,
                 bool watchEvents)
    : form_(&form), widget_(widget), link_(link) {
  // Only the widget carries the name as its objectName: a named QObject costs an extra block,
  // and a panel has some forty controls.
  widget->setObjectName(name);
  if (link) {
    link->control_ = this;
  } else {
    listen(widget, &QObject::destroyed, [this](QObject* gone) { widgetGone(gone->objectName()); });
  }
  if (watchEvents) watch();
}

WidgetLink::~WidgetLink() {
  if (control_) control_->widgetGone(control_->widget_->objectName());
}

void Control::widgetGone(const QString& name) {
  form_->goneWidgetNames_.insert(this, name);
  widget_ = nullptr;
}

void Control::watch() {
  if (watching_ || !widget_) return;
  watching_ = true;
  form_->relayEventsOf(widget_, this);
}

void Control::setOnLostFocus(std::function<void()> handler) {
  auto& handlers = form_->lostFocusHandlers_;
  handlers.erase(std::remove_if(handlers.begin(), handlers.end(),
                                [this](const auto& h) { return h.first == this; }),
                 handlers.end());
  hasLostFocusHandler_ = static_cast<bool>(handler);
  if (!handler) return;
  handlers.emplace_back(this, std::move(handler));
  watch();
}

Control::Control(Form& form, QWidget* widget) : Control(form, widget->objectName(), widget) {}

Control::~Control() {
  if (watching_ && !forwarded_) form_->stopRelaying(widget_, this);
  if (widget_ && link_) link_->control_ = nullptr;
  if (!widget_) form_->goneWidgetNames_.remove(this);
  if (hasLostFocusHandler_) setOnLostFocus({});
}

QString Control::name() const {
  return widget_ ? widget_->objectName() : form_->goneWidgetNames_.value(this);
}

QString Control::tag() const {
  return tag_ ? form_->tags_.at(tag_ - 1) : QString();
}

void Control::setTag(const QString& tag) {
  if (tag.isEmpty()) {
    tag_ = 0;
    return;
  }
  QStringList& tags = form_->tags_;
  const qsizetype found = tags.indexOf(tag);
  if (found >= 0) {
    tag_ = static_cast<std::uint16_t>(found + 1);
    return;
  }
  // A tag that this control alone had gives way to the new one, so that a tag changed again
  // and again (a text box's last text) keeps one entry; the list has at most one per control.
  const auto shared = [&] {
    for (const auto& control : form_->controls_)
      if (control.get() != this && control->tag_ == tag_) return true;
    return false;
  };
  if (tag_ && !shared()) {
    tags[tag_ - 1] = tag;
  } else {
    tags.append(tag);
    tag_ = static_cast<std::uint16_t>(tags.size());
  }
}

// WA_ForceDisabled is the widget's own flag; WA_Disabled is also set by a disabled ancestor.
bool Control::enabled() const {
  return widget_ && !widget_->testAttribute(Qt::WA_ForceDisabled);
}

void Control::setEnabled(bool enabled) {
  if (widget_) widget_->setEnabled(enabled);
}

bool Control::visible() const {
  return widget_ && !widget_->isHidden();
}

void Control::setVisible(bool visible) {
  if (widget_) widget_->setVisible(visible);
}

void Control::setFocus() {
  // QWidget::setFocus on a hidden widget would steal the focus once it is shown; on a disabled
  // one it silently does nothing. Both fail classically.
  if (!widget_ || !widget_->isEnabled() || !widget_->isVisible()) fail(classic::kInvalidCall);
  widget_->setFocus(Qt::OtherFocusReason);
}

void Control::setGeometryTwips(int left, int top, int width, int height) {
  twips_ = QRect(left, top, width, height);
  placed_ = true;
  applyGeometry();
}

void Control::applyGeometry() {
  if (!widget_ || !placed_) return;
  const Form& f = *form_;
  const int left = f.pixels(twips_.x()), top = f.pixels(twips_.y());
  QRect r;
  if (f.scale() == 1.0) {  // the designed geometry, pixel for pixel
    r = QRect(left, top, f.pixels(twips_.width()), f.pixels(twips_.height()));
  } else {
    // Scaled, the edges are rounded rather than the sizes, so that controls apart in twips do
    // not come to overlap by a rounding.
    r = QRect(left, top, f.pixels(twips_.x() + twips_.width()) - left,
              f.pixels(twips_.y() + twips_.height()) - top);
  }
  // Stretched, the edges move by the same factor in every frame (the frames grow by it too);
  // a control of a set width stays at the right end of its place.
  if (const double k = f.stretch(); k != 1.0) {
    const int right = static_cast<int>(std::lround((r.x() + r.width()) * k));
    const int left = keepsWidth() ? right - r.width() : static_cast<int>(std::lround(r.x() * k));
    r = QRect(left, r.y(), right - left, r.height());
  }
  // A control reaching past its frame would lose its edge (and scroll bar) there: it ends at
  // the frame's edge instead.
  if (const QWidget* parent = widget_->parentWidget(); parent && parent != form_->surface())
    r = r.intersected(QRect(QPoint(), parent->size()));
  widget_->setGeometry(r);
}

bool Control::relayEvent(QEvent* event) {
  if (filterEvent(event)) return true;
  if (event->type() == QEvent::FocusOut && hasLostFocusHandler_ &&
      isControlFocusChange(static_cast<QFocusEvent*>(event)->reason())) {
    for (const auto& [control, handler] : form_->lostFocusHandlers_) {
      if (control != this) continue;
      auto copy = handler;
      form_->dispatch(copy);
      break;
    }
  }
  return false;
}

bool Control::filterEvent(QEvent*) {
  return false;
}

void Control::fail(const ClassicError& error) const {
  raiseClassic(error, name());
}

}  // namespace zan::controls
