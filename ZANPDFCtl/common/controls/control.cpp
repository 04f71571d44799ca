#include "common/controls/control.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFont>
#include <QtDebug>

namespace zan::controls {

namespace {

// Focus changes caused by the whole window losing activation or by a popup are not classic
// focus changes.
bool isControlFocusChange(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool isInside(const QWidget* outer, const QWidget* w) {
  return outer && w && (w == outer || outer->isAncestorOf(w));
}

void logFailure(const char* what, const AutomationError& e) {
  qWarning().noquote() << what << QStringLiteral("#%1").arg(e.number) << e.source << e.description;
}

}  // namespace

// ---- Control

Control::Control(Form& form, const QString& name, QWidget* widget) : form_(&form), widget_(widget) {
  setObjectName(name);
  widget->setObjectName(name);
  widget->installEventFilter(this);
}

Control::Control(Form& form, QWidget* widget) : Control(form, widget->objectName(), widget) {}

Control::~Control() {
  if (widget_) widget_->removeEventFilter(this);
}

QString Control::name() const {
  return objectName();
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
  if (!widget_ || !widget_->isEnabled() || !widget_->isVisible())
    fail(5, QStringLiteral("Invalid procedure call or argument"));
  widget_->setFocus(Qt::OtherFocusReason);
}

void Control::setGeometryTwips(int left, int top, int width, int height) {
  if (widget_)
    widget_->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                         twipsToPixels(height));
}

bool Control::eventFilter(QObject* watched, QEvent* event) {
  if (watched != widget_.data()) return false;
  if (filterEvent(event)) return true;
  if (event->type() == QEvent::FocusOut && onLostFocus &&
      isControlFocusChange(static_cast<QFocusEvent*>(event)->reason())) {
    auto handler = onLostFocus;
    form_->dispatch(handler);
  }
  return false;
}

bool Control::filterEvent(QEvent*) {
  return false;
}

void Control::fail(std::int32_t number, const QString& description) const {
  raiseError(number, name(), description);
}

// ---- Form::FocusWatcher

// Watches the surface and every widget below it (also those added later) for a FocusIn that
// comes from a widget outside the surface. The entry handler runs from focusChanged, which Qt
// emits after the FocusIn has been delivered, so the handler may move the focus itself.
class Form::FocusWatcher final : public QObject {
 public:
  FocusWatcher(const Form& form, QWidget* surface, std::function<void(bool)> handler)
      : form_(form), surface_(surface), handler_(std::move(handler)) {
    lastFocus_ = QApplication::focusWidget();
    watch(surface);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
      lastFocus_ = now;
      if (!pending_) return;
      pending_ = false;
      const bool backward = backward_;
      auto handler = handler_;
      form_.dispatch([&] { handler(backward); });
    });
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ChildAdded) {
      QObject* child = static_cast<QChildEvent*>(event)->child();
      if (child->isWidgetType()) watch(static_cast<QWidget*>(child));
    } else if (event->type() == QEvent::FocusIn && watched->isWidgetType()) {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (isControlFocusChange(reason) && !isInside(surface_, lastFocus_)) {
        pending_ = true;
        backward_ = reason == Qt::BacktabFocusReason;
      }
      // A nested focus change made before focusChanged arrives is not a second entry.
      lastFocus_ = static_cast<QWidget*>(watched);
    }
    return false;
  }

 private:
  void watch(QWidget* w) {
    w->installEventFilter(this);
    for (QWidget* child : w->findChildren<QWidget*>()) child->installEventFilter(this);
  }

  const Form& form_;
  QPointer<QWidget> surface_;
  QPointer<QWidget> lastFocus_;
  std::function<void(bool)> handler_;
  bool pending_ = false;
  bool backward_ = false;
};

// ---- Form

Form::Form(QWidget* surface) : surface_(surface) {
  // The panels' twips layout was designed for an 8-point dialog font.
  if (surface_) {
    QFont font = surface_->font();
    font.setPointSize(8);
    surface_->setFont(font);
  }
}

Form::~Form() {
  releaseControls();
}

Control* Form::find(const QString& name) const {
  for (const auto& control : controls_)
    if (control->name() == name) return control.get();
  return nullptr;
}

void Form::dispatch(const std::function<void()>& handler) const {
  if (!handler) return;
  // The handler may destroy the form's surface (and the form with it): only these two shared
  // counters are touched once it has run.
  const std::shared_ptr<Liveness> liveness = liveness_;
  ++liveness->dispatching;
  AutomationError failure;
  bool failed = false;
  try {
    handler();
  } catch (...) {
    failure = currentError();
    failed = true;
  }
  --liveness->dispatching;
  if (!failed) return;
  if (liveness->released) {
    logFailure("A failure after the panel was destroyed:", failure);
    return;
  }
  report(failure);
}

void Form::report(const AutomationError& error) const {
  if (!policy_) {
    logFailure("Unhandled failure in an event handler:", error);
    return;
  }
  try {
    auto policy = policy_;
    policy(error);
  } catch (...) {
    logFailure("The failure policy failed:", currentError());
    logFailure("  while reporting:", error);
  }
}

void Form::setFocusEntryHandler(std::function<void(bool backward)> handler) {
  focusWatcher_.reset();
  if (handler && surface_) focusWatcher_ = std::make_unique<FocusWatcher>(*this, surface_, handler);
}

void Form::releaseControls() {
  liveness_->released = true;
  focusWatcher_.reset();
  // Destroying the control objects disconnects every connection they are the context of.
  auto released = std::move(controls_);
  controls_.clear();
  released.clear();
  // Destroyed by a handler that runs on the user path: Qt's code that called the handler goes on
  // with its widget once the handler returns, so the widgets leave the surface for Qt's deferred
  // deletion instead of dying with it.
  if (liveness_->dispatching > 0 && surface_) {
    for (QWidget* child : surface_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      child->hide();
      child->setParent(nullptr);
      child->deleteLater();
    }
  }
}

}  // namespace zan::controls
