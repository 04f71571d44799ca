#include "controls/control.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFont>
#include <QtDebug>

#include <algorithm>

namespace zan::controls {

namespace {

bool isInside(const QWidget* outer, const QWidget* w) {
  return outer && w && (w == outer || outer->isAncestorOf(w));
}

void logFailure(const char* what, const AutomationError& e) {
  qWarning().noquote() << what << QStringLiteral("#%1").arg(e.number) << e.source << e.description;
}

}  // namespace

bool isControlFocusChange(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// ---- Form::EventRelay

// The one event filter of a form's controls: it hands each watched widget's events to its
// control (one filter object per form rather than one per control).
class Form::EventRelay final : public QObject {
 public:
  explicit EventRelay(Form& form) : form_(form) {}
  // Lays the form out again when the surface's font changes (the application font, a style
  // sheet, or the host setting a font) or its width does.
  void watchSurface(QWidget* surface) {
    surface_ = surface;
    surface->installEventFilter(this);
  }
  void stopWatchingSurface() { surface_ = nullptr; }
  void add(QWidget* widget, Control* control) {
    watched_.emplace_back(widget, control);
    widget->installEventFilter(this);
  }
  void remove(QWidget* widget, const Control* control) {
    watched_.erase(std::remove_if(watched_.begin(), watched_.end(),
                                  [&](const auto& w) { return w.second == control; }),
                   watched_.end());
    if (widget) widget->removeEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == surface_ && surface_) {
      if (event->type() == QEvent::FontChange || event->type() == QEvent::ScreenChangeInternal) {
        form_.scale_ = -1;
        form_.relayout();
      }
      if (event->type() == QEvent::Resize) form_.restretch();
      return false;
    }
    for (const auto& [widget, control] : watched_)
      if (widget == watched) return control->relayEvent(event);
    return false;
  }

 private:
  Form& form_;
  QObject* surface_ = nullptr;
  std::vector<std::pair<QObject*, Control*>> watched_;
};

// ---- Form::FocusWatcher

// Watches the surface and every widget below it (also those added later) for a FocusIn that
// comes from a widget outside the surface. The entry handler runs from focusChanged, which Qt
// emits after the FocusIn has been delivered, so the handler may move the focus itself. No
// widget takes the focus before the surface is shown: the widgets below it are watched from
// then on (and the application's focus changes heard), so that creating a panel that is never
// shown watches nothing.
class Form::FocusWatcher final : public QObject {
 public:
  FocusWatcher(const Form& form, QWidget* surface, std::function<void(bool)> handler)
      : form_(form), surface_(surface), handler_(std::move(handler)) {
    surface->installEventFilter(this);
    if (surface->isVisible()) watch(surface);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched == surface_ && !watching_) {
      watch(surface_);
    } else if (event->type() == QEvent::ChildAdded) {
      QObject* child = static_cast<QChildEvent*>(event)->child();
      if (watching_ && child->isWidgetType()) watch(static_cast<QWidget*>(child));
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
    if (!watching_) {
      watching_ = true;
      lastFocus_ = QApplication::focusWidget();
      connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        lastFocus_ = now;
        if (!pending_) return;
        pending_ = false;
        const bool backward = backward_;
        auto handler = handler_;
        form_.dispatch([&] { handler(backward); });
      });
    }
    w->installEventFilter(this);
    for (QWidget* child : w->findChildren<QWidget*>()) child->installEventFilter(this);
  }

  const Form& form_;
  QPointer<QWidget> surface_;
  QPointer<QWidget> lastFocus_;
  std::function<void(bool)> handler_;
  bool pending_ = false;
  bool backward_ = false;
  bool watching_ = false;  // the widgets below the surface are watched (it has been shown)
};

// ---- Form

double layoutScale(const QFont& font, int logicalDpi) {
  constexpr double kDesignPoints = 8.0, kDesignDpi = 96.0;
  const double dpi = logicalDpi > 0 ? logicalDpi : kDesignDpi;
  double points = font.pointSizeF();
  if (points <= 0 && font.pixelSize() > 0) points = font.pixelSize() * 72.0 / dpi;
  // A font of more pixels (larger, or on a screen of more dots per inch) scales the layout.
  return points > 0 ? points / kDesignPoints * dpi / kDesignDpi : 1.0;
}

Form::Form(QWidget* surface) : surface_(surface) {
  if (!surface_) return;
  eventRelay_ = std::make_unique<EventRelay>(*this);
  eventRelay_->watchSurface(surface_);
}

double Form::scale() const {
  // Asked for every edge of every control: measured once per font and screen.
  if (scale_ < 0) scale_ = surface_ ? layoutScale(surface_->font(), surface_->logicalDpiY()) : 1.0;
  return scale_;
}

int Form::pixels(int twips) const {
  // At scale 1 this is exactly twipsToPixels().
  return static_cast<int>(std::floor((twips * scale() + 7.0) / 15.0));
}

void Form::setSurfaceSizeTwips(int width, int height) {
  surfaceTwips_ = QSize(width, height);
  if (!surface_) return;
  const QSize designed(pixels(width), pixels(height));
  // A surface nobody made wider keeps the designed width; a stretched one keeps its width.
  const bool stretched = designedWidth_ >= 0 && surface_->width() > designedWidth_;
  designedWidth_ = designed.width();
  surface_->setMinimumSize(designed);
  surface_->setMaximumHeight(designed.height());
  surface_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  surface_->resize(stretched ? std::max(surface_->width(), designed.width()) : designed.width(),
                   designed.height());
}

double Form::stretch() const {
  if (!surface_ || !surfaceTwips_.isValid()) return 1.0;
  const int designed = pixels(surfaceTwips_.width());
  return surface_->width() > designed ? static_cast<double>(surface_->width()) / designed : 1.0;
}

void Form::relayout() {
  if (surfaceTwips_.isValid()) setSurfaceSizeTwips(surfaceTwips_.width(), surfaceTwips_.height());
  placedWidth_ = surface_ ? surface_->width() : -1;
  for (const auto& control : controls_) control->applyGeometry();
}

void Form::restretch() {
  if (!surface_ || surface_->width() == placedWidth_) return;
  placedWidth_ = surface_->width();
  for (const auto& control : controls_) control->applyGeometry();
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

void Form::relayEventsOf(QWidget* widget, Control* control) {
  if (!eventRelay_) eventRelay_ = std::make_unique<EventRelay>(*this);
  eventRelay_->add(widget, control);
}

void Form::stopRelaying(QWidget* widget, const Control* control) {
  if (eventRelay_) eventRelay_->remove(widget, control);
}

void Form::setFocusEntryHandler(std::function<void(bool backward)> handler) {
  focusWatcher_.reset();
  if (handler && surface_) focusWatcher_ = std::make_unique<FocusWatcher>(*this, surface_, handler);
}

void Form::releaseControls() {
  liveness_->released = true;
  focusWatcher_.reset();
  if (eventRelay_) eventRelay_->stopWatchingSurface();
  // Their connections see the form released and run nothing more.
  auto released = std::move(controls_);
  controls_.clear();
  released.clear();
  eventRelay_.reset();
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
