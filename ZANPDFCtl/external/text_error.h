#pragma once
// TextError: the library's error logger. Shows a logged error in a message box and, when a
// log object is set, hands it to that object as well.

#include "settings/automation_error.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace zan {

class Platform;

// A host's log object. LogError receives, in this order: the number (by reference), 0, 0,
// the message, the source and the line (the last three by reference).
class ErrorLogObject {
 public:
  virtual ~ErrorLogObject() = default;
  virtual void LogError(std::int32_t& errNum, std::int16_t reserved1, std::int16_t reserved2,
                        QString& errMsg, QString& sourceFile, std::int16_t& lineNo) = 0;
};

class TextError {
 public:
  explicit TextError(std::shared_ptr<Platform> platform);

  // Log object; none by default (the panels never set one), so every error is shown.
  ErrorLogObject* DataObject = nullptr;
  // Title of the message boxes this logger shows.
  QString TitleString = QStringLiteral("Text ERROR");

  // Hands the error to DataObject (when set), shows it when Display is true or no DataObject
  // is set, reports a failure of either step in a message box of its own, and finally raises
  // the error towards the caller when ReRaise is true. Nothing else ever leaves it.
  void LogTheError(std::int32_t& ErrNum, QString& ErrMsg, QString& SourceFile, std::int16_t& LineNo,
                   bool& ReRaise, bool& Display);
  void LogTheError(ErrorEventArgs& args);
  // Logs `error` at line `line`, shown or not, and never raises it again: how the library
  // itself reports a failure it has no caller for.
  void log(const AutomationError& error, std::int16_t line = 0, bool display = true);

 private:
  std::shared_ptr<Platform> platform_;
};

}  // namespace zan
