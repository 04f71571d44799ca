#pragma once
// The one failure type of the release engine: a message meant for the operator, naming what
// went wrong and where (a file, a page, a setting).

#include <QString>

#include <stdexcept>

namespace zan::release {

class ReleaseError : public std::runtime_error {
 public:
  explicit ReleaseError(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& message() const noexcept { return message_; }

 private:
  QString message_;
};

// `text` with its control characters (a NUL, an escape, a line break in a file's name) shown as
// "\xNN", so that a message stays one line and draws nothing on a terminal.
inline QString printable(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (const QChar c : text) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7f || (c.unicode() >= 0x80 && c.unicode() < 0xa0))
      shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    else
      shown += c;
  }
  return shown;
}

}  // namespace zan::release
