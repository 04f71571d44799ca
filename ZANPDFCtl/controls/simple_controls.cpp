#include "controls/simple_controls.h"

#include <QEvent>
#include <QGroupBox>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace zan::controls {

namespace {

// The caption's access key moves to the frame's first control in the tab order, however the
// focus last left the frame (Qt's own choice returns to the control that last had it).
class ClassicGroupBox final : public LinkedWidget<QGroupBox> {
 public:
  using LinkedWidget::LinkedWidget;

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::Shortcut && focusFirstControl()) return true;
    return QGroupBox::event(event);
  }

 private:
  bool focusFirstControl() {
    QWidget* top = window();
    for (QWidget* w = top->nextInFocusChain(); w && w != top; w = w->nextInFocusChain()) {
      if (isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
          w->isVisibleTo(top)) {
        w->setFocus(Qt::ShortcutFocusReason);
        return true;
      }
    }
    return false;  // nothing to reach: as Qt would
  }
};

}  // namespace

Frame::Frame(Form& form, const QString& name, QWidget* parent)
    : Control(form, name, new ClassicGroupBox(parent)) {}

QGroupBox* Frame::groupBox() const {
  return static_cast<QGroupBox*>(widget());
}

QString Frame::caption() const {
  return groupBox() ? groupBox()->title() : QString();
}

void Frame::setCaption(const QString& caption) {
  // The same caption again (Enabled put re-assigns every caption) registers no new access key.
  if (groupBox() && groupBox()->title() != caption) groupBox()->setTitle(caption);
}

Label::Label(Form& form, const QString& name, QWidget* parent)
    : Control(form, name, new LinkedWidget<QLabel>(parent)) {
  label()->setTextFormat(Qt::PlainText);
}

QLabel* Label::label() const {
  return static_cast<QLabel*>(widget());
}

QString Label::caption() const {
  return label() ? label()->text() : QString();
}

void Label::setCaption(const QString& caption) {
  if (label() && label()->text() != caption) label()->setText(caption);
}

PictureBox::PictureBox(Form& form, const QString& name, QWidget* parent)
    : Control(form, name, new LinkedWidget<QLabel>(parent)) {}

QPixmap PictureBox::picture() const {
  auto* label = static_cast<QLabel*>(widget());
  return label ? label->pixmap() : QPixmap();
}

void PictureBox::setPicture(const QPixmap& picture) {
  if (auto* label = static_cast<QLabel*>(widget())) label->setPixmap(picture);
}

namespace {

// A push button whose caption wraps at blanks when the button is narrower than its text, as
// classic command buttons draw it; the caption itself stays one line.
class WrappingPushButton final : public LinkedWidget<QPushButton> {
 public:
  using LinkedWidget::LinkedWidget;

 protected:
  // Every click (mouse, Space, access key, or click() from code going past the control) steps
  // the check state first: reporting it here costs the button no connection.
  void nextCheckState() override {
    QPushButton::nextCheckState();
    repaint();  // drawn released before the handler runs (it may open a dialog)
    // Told of every click; none once the control is released.
    if (auto* control = static_cast<CommandButton*>(linkedControl())) control->reportClick();
  }

  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect room = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
      flags |= Qt::TextHideMnemonic;
    style()->drawItemText(&painter, room, flags, option.palette, isEnabled(), caption,
                          QPalette::ButtonText);
  }
};

}  // namespace

CommandButton::CommandButton(Form& form, const QString& name, QWidget* parent)
    : Control(form, name, new WrappingPushButton(parent)) {
  button()->setAutoDefault(false);
}

void CommandButton::reportClick() {
  auto handler = onClick;
  form().dispatch(handler);
}

QPushButton* CommandButton::button() const {
  return static_cast<QPushButton*>(widget());
}

QString CommandButton::caption() const {
  return button() ? button()->text() : QString();
}

void CommandButton::setCaption(const QString& caption) {
  if (button() && button()->text() != caption) button()->setText(caption);
}

void CommandButton::click() {
  if (onClick) {
    auto handler = onClick;
    handler();
  }
}

}  // namespace zan::controls
