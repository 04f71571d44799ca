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

}  // namespace zan::release
