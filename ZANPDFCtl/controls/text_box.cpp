#include "controls/text_box.h"

#include "controls/classic_keys.h"

#include <QKeyEvent>
#include <QValidator>

namespace zan::controls {

// The user-only length limit, made for a box that is given one. Texts set by code pass
// unchecked; a user edit passes when it fits the limit or does not lengthen the text (so
// Backspace works on a long text set by code); a paste that does not fit is rejected whole by
// QLineEdit.
class TextBox::Validator final : public QValidator {
 public:
  Validator(const TextBox& box, QObject* parent) : QValidator(parent), box_(box) {}

  State validate(QString& text, int&) const override {
    return (codeSet || limit == 0 || text.size() <= limit || text.size() <= box_.lastText_.size())
               ? Acceptable
               : Invalid;
  }

  int limit = 0;
  bool codeSet = false;

 private:
  const TextBox& box_;
};

namespace {

// A text box's widget hands its control its events (a widget of its own costs less than an
// event filter).
class ClassicLineEdit final : public LinkedWidget<QLineEdit> {
 public:
  using LinkedWidget::LinkedWidget;

 protected:
  bool event(QEvent* event) override {
    if (linkedControl() && linkedControl()->relayEvent(event)) return true;
    return QLineEdit::event(event);
  }
};

}  // namespace

TextBox::TextBox(Form& form, const QString& name, QWidget* parent)
    : Control(form, name, new ClassicLineEdit(parent)) {
  takeEventsFromWidget();
  // textChanged also covers typing, paste, undo and insert(); code-path sets are blocked.
  listen(lineEdit(), &QLineEdit::textChanged, [this] {
    // Read text(): a nested set inside an earlier slot makes the signal's argument stale.
    const QString now = lineEdit()->text();
    if (now == lastText_) return;
    lastText_ = now;
    auto handler = onChange;
    this->form().dispatch(handler);
  });
}

TextBox::~TextBox() {
  if (!lineEdit()) return;
  // The validator reads this control: it goes with it.
  if (validator_) {
    lineEdit()->setValidator(nullptr);
    delete validator_;
  }
}

// A text set by code passes the length limit unchecked.
void TextBox::setTextUnchecked(const QString& text) {
  QSignalBlocker blocker(lineEdit());
  if (validator_) validator_->codeSet = true;
  lineEdit()->setText(text);
  if (validator_) validator_->codeSet = false;
}

QLineEdit* TextBox::lineEdit() const {
  return static_cast<QLineEdit*>(widget());
}

QString TextBox::text() const {
  return lineEdit() ? lineEdit()->text() : QString();
}

void TextBox::setText(const QString& text) {
  if (!lineEdit() || lineEdit()->text() == text) return;
  setTextUnchecked(text);
  lastText_ = lineEdit()->text();
  if (onChange) {
    auto handler = onChange;
    handler();
  }
}

int TextBox::selStart() const {
  return lineEdit() ? lineEdit()->cursorPosition() : 0;
}

void TextBox::setSelStart(int position) {
  if (position < 0) fail(classic::kInvalidValue);
  if (lineEdit()) lineEdit()->setCursorPosition(std::min(position, int(lineEdit()->text().size())));
}

int TextBox::maxLength() const {
  return validator_ ? validator_->limit : 0;
}

void TextBox::setMaxLength(int length) {
  if (length < 0) fail(classic::kInvalidValue);
  if (!validator_ && length > 0 && lineEdit()) {
    validator_ = new Validator(*this, nullptr);
    lineEdit()->setValidator(validator_);
  }
  if (validator_) validator_->limit = length;
}

void TextBox::typeText(const QString& text) {
  if (!lineEdit() || lineEdit()->text() == text) return;
  QString candidate = text;
  int caret = int(text.size());
  lastText_ = lineEdit()->text();
  if (validator_ && validator_->validate(candidate, caret) != QValidator::Acceptable) return;
  setTextUnchecked(text);
  lastText_ = lineEdit()->text();
  auto handler = onChange;
  form().dispatch(handler);
}

bool TextBox::filterEvent(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);

  if (onKeyDown) {
    const int code = classicKeyCode(*key);
    if (code != 0) {
      int keyCode = code;
      const int shift = classicShiftState(key->modifiers());
      auto handler = onKeyDown;
      form().dispatch([&] { handler(keyCode, shift); });
    }
  }

  const int ascii = classicKeyAscii(*key);
  if (ascii <= 0 || !onKeyPress) return false;
  int keyAscii = ascii;
  auto handler = onKeyPress;
  form().dispatch([&] { handler(keyAscii); });
  if (keyAscii == ascii || !lineEdit()) return false;
  // Replaced: type the new character instead (through the validator, like typing).
  if (keyAscii == 8) {
    lineEdit()->backspace();
  } else if (keyAscii >= 32 && keyAscii <= 0xFFFF) {
    lineEdit()->insert(QString(QChar(static_cast<char16_t>(keyAscii))));
  }
  return true;
}

}  // namespace zan::controls
