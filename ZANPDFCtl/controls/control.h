#pragma once
// The classic control layer: controls that panels speak to in classic terms (list index, item
// data, check value 0/1/2, text, caret, tag, enabled, visible, caption) and whose handlers run
// synchronously whether the user or code changed the value.
//
// Two paths reach a handler:
//  - code path: a setter (setValue, setListIndex, setText, ...) changes the Qt widget under a
//    signal blocker and, only if the value really changed, calls the handler directly. A
//    failure thrown by the handler reaches the code that called the setter.
//  - user path: a Qt signal or event (typing, clicking, the spin arrows, paste) calls the same
//    handler inside Form::dispatch(), which catches every failure and hands it to the form's
//    failure policy. Nothing is ever thrown into Qt frames.
// Handlers nest to any depth (a change handler may set the text again).

#include "settings/automation_error.h"

#include <QFont>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

namespace zan::controls {

class Control;
class Form;

// What a widget made by this layer keeps of its control: the widget tells the control when it
// goes, so that the control holds it by a plain pointer (a guarded pointer costs every widget a
// block of its own). A widget class of this layer derives from LinkedWidget<QtClass>.
class WidgetLink {
 public:
  Control* linkedControl() const { return control_; }

 protected:
  WidgetLink() = default;
  ~WidgetLink();
  WidgetLink(const WidgetLink&) = delete;
  WidgetLink& operator=(const WidgetLink&) = delete;

 private:
  friend class Control;
  Control* control_ = nullptr;
};

template <class QtWidget>
class LinkedWidget : public QtWidget, public WidgetLink {
 public:
  using QtWidget::QtWidget;
};

// Base of every control. The control owns no widget: its Qt widget lives in the panel's widget
// tree (objectName = the control's design name) and the control object, owned by the Form,
// refers to it. The control is no QObject (a panel has some forty of them): its connections
// (listen()) run their handler only while the Form holds its controls, and the Form's one
// event relay hands it its widget's events.
class Control {
 public:
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  QWidget* widget() const { return widget_; }
  QString name() const;
  Form& form() const { return *form_; }

  // The control's own Enabled flag (a control inside a disabled frame keeps its own flag).
  bool enabled() const;
  void setEnabled(bool enabled);
  // The control's own Visible flag (true before the form is first shown, unless hidden).
  bool visible() const;
  void setVisible(bool visible);

  QString tag() const;
  void setTag(const QString& tag);

  // Controls that have a caption (frame, label, check box, command button) return true; the
  // others ignore setCaption and return an empty caption.
  virtual bool hasCaption() const { return false; }
  virtual QString caption() const { return {}; }
  virtual void setCaption(const QString&) {}

  // Moves the keyboard focus here. Fails with error 5 "Invalid procedure call or argument"
  // when the control, or a frame around it, is disabled or hidden, or its window is not shown.
  void setFocus();

  // Position and size in twips relative to the parent (1 pixel = 15 twips with the 8-point
  // font the layout was designed for; the form scales it with its surface's font).
  void setGeometryTwips(int left, int top, int width, int height);
  // Places the widget again at the form's present scale and stretch.
  void applyGeometry();
  // Controls of a set width (buttons, labels, spin controls) keep it when the form is
  // stretched: they move with the right edge of their place instead of growing.
  virtual bool keepsWidth() const { return false; }

  // Focus loss (not raised when the whole window merely loses activation). Only a control
  // that is given a handler watches its widget's events for it.
  void setOnLostFocus(std::function<void()> handler);

  // Connects `signal` of `sender` to `handler`, which runs only while the Form holds its
  // controls (never once they are released). `handler` takes the signal's arguments or none.
  template <class Sender, class Signal, class Handler>
  void listen(Sender* sender, Signal signal, Handler handler) const;

  // The widget's event, handed over by the widget itself (a widget class of this layer) or by
  // the form's event relay; true swallows it.
  bool relayEvent(QEvent* event);

 protected:
  // The widget's objectName becomes `name` (the control's name()); the other form keeps the
  // widget's present objectName. A widget of this layer (a LinkedWidget) tells the control when
  // it goes; any other widget is watched for its destruction.
  // A control whose filterEvent() is to see the widget's events says so with `watchEvents`;
  // the others cost the widget no event filter.
  template <class QtWidget>
  Control(Form& form, const QString& name, LinkedWidget<QtWidget>* widget, bool watchEvents = false)
      : Control(form, name, widget, static_cast<WidgetLink*>(widget), watchEvents) {}
  Control(Form& form, const QString& name, QWidget* widget, bool watchEvents = false)
      : Control(form, name, widget, nullptr, watchEvents) {}
  Control(Form& form, QWidget* widget);
  // Subclasses see the widget's events first; return true to swallow the event.
  virtual bool filterEvent(QEvent* event);
  // Raises `error` with this control's name as the source.
  [[noreturn]] void fail(const ClassicError& error) const;
  // Has the Form's event relay hand this control its widget's events (once).
  void watch();
  // The widget hands this control its events itself (see relayEvent()): no event relay needed.
  void takeEventsFromWidget() { watching_ = forwarded_ = true; }

 private:
  friend class Form;

  friend class WidgetLink;

  Form* form_;
  // The widget went before the control: its name stays with the form.
  void widgetGone(const QString& name);

  QWidget* widget_;  // null once the widget is gone; its objectName is the control's name
  // `link` is the widget's when it is a LinkedWidget; any other widget is watched for its end.
  Control(Form& form, const QString& name, QWidget* widget, WidgetLink* link, bool watchEvents);

  WidgetLink* link_;  // meaningful while the widget lives
  QRect twips_;
  std::uint16_t tag_ = 0;  // 1 + the index of the tag in the form's tags; 0 for none
  bool placed_ = false;
  bool watching_ = false;             // the control sees its widget's events
  bool forwarded_ = false;            // from the widget itself rather than the form's event relay
  bool hasLostFocusHandler_ = false;  // kept by the form (few controls have one)
};

// Owns a panel's controls in creation order (the panel's control order) and holds the
// dispatch-boundary policy for failures on the user path.
class Form {
 public:
  using FailurePolicy = std::function<void(const AutomationError&)>;

  explicit Form(QWidget* surface);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates a control of kind C named `name` whose widget is a child of `parent`.
  template <class C, class... Args>
  C* add(const QString& name, QWidget* parent, Args&&... args) {
    auto control = std::unique_ptr<C>(new C(*this, name, parent, std::forward<Args>(args)...));
    C* raw = control.get();
    controls_.push_back(std::move(control));
    return raw;
  }

  QWidget* surface() const { return surface_; }
  // Every control in creation order.
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
  Control* find(const QString& name) const;

  // Runs a user-path handler: any failure goes to the failure policy, never into Qt. The handler
  // may destroy the surface; the form then touches nothing of itself any more.
  void dispatch(const std::function<void()>& handler) const;

  // The default policy writes the failure to the Qt log (qWarning); a panel installs one that
  // shows it to the user. A policy that itself throws is caught and logged.
  void setFailurePolicy(FailurePolicy policy) { policy_ = std::move(policy); }

  // The layout's scale: the surface font's size over the 8 points the twips were laid out for.
  // At 8 points the layout is exactly as designed; a larger font scales the whole layout.
  double scale() const;
  // Twips to pixels at the present scale.
  int pixels(int twips) const;
  // The surface's own size in twips, scaled like the controls: its height is fixed, its width
  // the least it takes. A host that makes it wider stretches the layout (see stretch()).
  void setSurfaceSizeTwips(int width, int height);
  // How much wider than designed the surface is (1 as designed): every control's horizontal
  // edges are moved by this factor, so that fields and frames grow with the surface.
  double stretch() const;

  // Calls `handler(backward)` whenever the keyboard focus enters the surface from outside;
  // `backward` is true for a Shift+Tab entry. Runs on the user path.
  void setFocusEntryHandler(std::function<void(bool backward)> handler);

  // Releases every control (their handlers stop running); the widgets stay with Qt. Pointers
  // to the controls are invalid afterwards. The destructor does this too. Called while a
  // handler runs on the user path (the surface is being destroyed by it), it also moves the
  // surface's widgets out of the surface into Qt's deferred deletion.
  void releaseControls();

  // `handler` wrapped to run only while the Form holds its controls.
  template <class Handler>
  auto whileHeld(Handler handler) const {
    return [live = liveness_, handler = std::move(handler)](auto... args) {
      if (live->released) return;
      if constexpr (std::is_invocable_v<const Handler&, decltype(args)...>) {
        handler(args...);
      } else {
        handler();
      }
    };
  }

 private:
  friend class Control;
  class FocusWatcher;
  class EventRelay;
  // Places the surface and every control again after the surface's font changed.
  void relayout();
  // Places every control again after the surface's width changed.
  void restretch();
  struct Liveness {
    int dispatching = 0;
    bool released = false;
  };
  void report(const AutomationError& error) const;
  // The event relay hands `widget`'s events to `control` (made for the first that watches).
  void relayEventsOf(QWidget* widget, Control* control);
  void stopRelaying(QWidget* widget, const Control* control);
  std::shared_ptr<Liveness> liveness_ = std::make_shared<Liveness>();
  QWidget* surface_;
  std::vector<std::unique_ptr<Control>> controls_;
  FailurePolicy policy_;
  std::unique_ptr<FocusWatcher> focusWatcher_;
  // The surface's and the watching controls' event filter (made with the form for a surface).
  std::unique_ptr<EventRelay> eventRelay_;
  QSize surfaceTwips_;
  QHash<const Control*, QString> goneWidgetNames_;  // of controls whose widget went first
  std::vector<std::pair<const Control*, std::function<void()>>> lostFocusHandlers_;
  // The controls' tags, each text once: a panel tags many controls alike, and most not at all.
  QStringList tags_;
  int placedWidth_ = -1;       // the surface width the controls were last placed for
  int designedWidth_ = -1;     // the designed surface width at the present scale
  mutable double scale_ = -1;  // scale(); -1 until measured for the present font and screen
};

template <class Sender, class Signal, class Handler>
void Control::listen(Sender* sender, Signal signal, Handler handler) const {
  // The sender is the connection's context: no receiving object is needed.
  QObject::connect(sender, signal, sender, form_->whileHeld(std::move(handler)));
}

// Focus changes caused by the whole window losing activation or by a popup are not classic
// focus changes.
bool isControlFocusChange(Qt::FocusReason reason);

// Twips to device-independent pixels at the designed 8-point font.
constexpr int twipsToPixels(int twips) {
  return (twips + 7) / 15;
}

// The layout scale a font asks for on a screen of `logicalDpi`: its size in pixels over that of
// 8 points at 96 dots per inch.
double layoutScale(const QFont& font, int logicalDpi);

}  // namespace zan::controls
