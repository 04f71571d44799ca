#include "common/controls/simple_controls.h"

namespace zan::controls {

Frame::Frame(Form& form, const QString& name, QWidget* parent)
    : Control(form, name, new QGroupBox(parent)) {}

QGroupBox* Frame::groupBox() const {
  return static_cast<QGroupBox*>(widget());
}

QString Frame::caption() const {
  return groupBox() ? groupBox()->title() : QString();
}

void Frame::setCaption(const QString& caption) {
  if (groupBox()) groupBox()->setTitle(caption);
}

Label::Label(Form& form, const QString& name, QWidget* parent)
    : Control(form, name, new QLabel(parent)) {
  label()->setTextFormat(Qt::PlainText);
}

QLabel* Label::label() const {
  return static_cast<QLabel*>(widget());
}

QString Label::caption() const {
  return label() ? label()->text() : QString();
}

void Label::setCaption(const QString& caption) {
  if (label()) label()->setText(caption);
}

PictureBox::PictureBox(Form& form, const QString& name, QWidget* parent)
    : Control(form, name, new QLabel(parent)) {}

QPixmap PictureBox::picture() const {
  auto* label = static_cast<QLabel*>(widget());
  return label ? label->pixmap() : QPixmap();
}

void PictureBox::setPicture(const QPixmap& picture) {
  if (auto* label = static_cast<QLabel*>(widget())) label->setPixmap(picture);
}

CommandButton::CommandButton(Form& form, const QString& name, QWidget* parent)
    : Control(form, name, new QPushButton(parent)) {
  button()->setAutoDefault(false);
  connect(button(), &QPushButton::clicked, this, [this] {
    auto handler = onClick;
    this->form().dispatch(handler);
  });
}

QPushButton* CommandButton::button() const {
  return static_cast<QPushButton*>(widget());
}

QString CommandButton::caption() const {
  return button() ? button()->text() : QString();
}

void CommandButton::setCaption(const QString& caption) {
  if (button()) button()->setText(caption);
}

void CommandButton::click() {
  if (onClick) {
    auto handler = onClick;
    handler();
  }
}

}  // namespace zan::controls
