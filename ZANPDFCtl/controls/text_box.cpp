#include "controls/text_box.h"

#include "controls/classic_keys.h"

#include <QKeyEvent>
#include <QValidator>

namespace zan::controls {

// Holds the user-only length limit and the last text a change was reported for. Texts set by
// code pass unchecked; a user edit passes when it fits the limit or does not lengthen the
// text (so Backspace works on a long text set by code); a paste that does not fit is rejected
// whole by QLineEdit.
class TextBox::Validator final : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& text, int&) const override {
    return (codeSet || limit == 0 || text.size() <= limit || text.size() <= lastText.size())
               ? Acceptable
               : Invalid;
  }

  int limit = 0;
  bool codeSet = false;
  QString lastText;
};

TextBox::TextBox(Form& form, const QString& name, QWidget* parent)
    : Control(form, name, new QLineEdit(parent), /*watchEvents=*/true), validator_(new Validator) {
  lineEdit()->setValidator(validator_);
  // textChanged also covers typing, paste, undo and insert(); code-path sets are blocked.
  listen(lineEdit(), &QLineEdit::textChanged, [this] {
    // Read text(): a nested set inside an earlier slot makes the signal's argument stale.
    const QString now = lineEdit()->text();
    if (now == validator_->lastText) return;
    validator_->lastText = now;
    auto handler = onChange;
    this->form().dispatch(handler);
  });
}

TextBox::~TextBox() {
  if (lineEdit()) lineEdit()->setValidator(nullptr);
  delete validator_;
}

QLineEdit* TextBox::lineEdit() const {
  return static_cast<QLineEdit*>(widget());
}

QString TextBox::text() const {
  return lineEdit() ? lineEdit()->text() : QString();
}

void TextBox::setText(const QString& text) {
  if (!lineEdit() || lineEdit()->text() == text) return;
  {
    QSignalBlocker blocker(lineEdit());
    validator_->codeSet = true;
    lineEdit()->setText(text);
    validator_->codeSet = false;
  }
  validator_->lastText = lineEdit()->text();
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
  return validator_->limit;
}

void TextBox::setMaxLength(int length) {
  if (length < 0) fail(classic::kInvalidValue);
  validator_->limit = length;
}

void TextBox::typeText(const QString& text) {
  if (!lineEdit() || lineEdit()->text() == text) return;
  QString candidate = text;
  int caret = int(text.size());
  validator_->lastText = lineEdit()->text();
  if (validator_->validate(candidate, caret) != QValidator::Acceptable) return;
  {
    QSignalBlocker blocker(lineEdit());
    validator_->codeSet = true;
    lineEdit()->setText(text);
    validator_->codeSet = false;
  }
  validator_->lastText = lineEdit()->text();
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
