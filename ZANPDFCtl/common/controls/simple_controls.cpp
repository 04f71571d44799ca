#include "common/controls/simple_controls.h"

#include <QEvent>
#include <QFontMetrics>
#include <QStringList>

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
  return caption_;
}

void CommandButton::setCaption(const QString& caption) {
  caption_ = caption;
  showCaption();
}

bool CommandButton::filterEvent(QEvent* event) {
  const auto type = event->type();
  if (type == QEvent::Resize || type == QEvent::FontChange || type == QEvent::Show) showCaption();
  return Control::filterEvent(event);
}

// QPushButton draws "\n" as a line break and keeps the access key of "&".
void CommandButton::showCaption() {
  QPushButton* b = button();
  if (!b) return;
  const QFontMetrics metrics(b->font());
  const int room = b->width() - 8;
  auto shownWidth = [&](const QString& s) { return metrics.horizontalAdvance(QString(s).remove(u'&')); };
  const QStringList words = caption_.split(u' ');
  if (words.size() < 2 || room <= 0 || shownWidth(caption_) <= room) {
    if (b->text() != caption_) b->setText(caption_);
    return;
  }
  QStringList lines;
  QString line;
  for (const QString& word : words) {
    const QString candidate = line.isEmpty() ? word : line + u' ' + word;
    if (!line.isEmpty() && shownWidth(candidate) > room) {
      lines << line;
      line = word;
    } else {
      line = candidate;
    }
  }
  lines << line;
  const QString shown = lines.join(u'\n');
  if (b->text() != shown) b->setText(shown);
}

void CommandButton::click() {
  if (onClick) {
    auto handler = onClick;
    handler();
  }
}

}  // namespace zan::controls
