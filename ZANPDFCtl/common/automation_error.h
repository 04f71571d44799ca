#pragma once
// Automation errors: the one error value that crosses the library's frames and reaches a host.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <exception>

namespace zan {

// Base of object-defined error numbers (a rejected setting is kObjectErrorBase + n).
constexpr std::int32_t kObjectErrorBase = static_cast<std::int32_t>(0x80040000u);

struct AutomationError {
  std::int32_t number = 0;
  QString source;
  QString description;
  QString helpFile;
  std::int32_t helpContext = 0;

  friend bool operator==(const AutomationError& a, const AutomationError& b) {
    return a.number == b.number && a.source == b.source && a.description == b.description &&
           a.helpFile == b.helpFile && a.helpContext == b.helpContext;
  }
};

// Carries an AutomationError through the library's own frames. Never let it cross Qt code:
// the control layer catches it at every slot (see controls::Form::dispatch).
class AutomationException : public std::exception {
 public:
  explicit AutomationException(AutomationError error);
  const AutomationError& error() const noexcept { return error_; }
  const char* what() const noexcept override { return what_.constData(); }

 private:
  AutomationError error_;
  QByteArray what_;
};

[[noreturn]] void raiseError(const AutomationError& error);
[[noreturn]] void raiseError(std::int32_t number, const QString& source, const QString& description);

// Inside a catch block: the failure being handled as an AutomationError. A foreign C++
// exception becomes number 0x80004005 (unspecified failure) with its what() text, so that no
// failure is ever lost on its way to the host.
AutomationError currentError();

// The rewrite formats of errors raised again towards a caller.
// "Line# N Desc: desc", number and source kept.
AutomationError stepPrefixed(const AutomationError& caught, int step);
// "Line #: N; desc", the procedure's own source, number kept.
AutomationError linePrefixed(const AutomationError& caught, int line, const QString& source);
// "desc line: N", number, source, help file and help context kept.
AutomationError lineSuffixed(const AutomationError& caught, int line);

// Records the label of the last labelled step a procedure reached (0 before the first label),
// so that a failure can report it without bookkeeping on every line:
//
//   StepLabel at;
//   try { at = 10; first(); at = 20; second(); }
//   catch (...) { raiseError(lineSuffixed(currentError(), at)); }
class StepLabel {
 public:
  StepLabel& operator=(int label) {
    label_ = label;
    return *this;
  }
  operator int() const { return label_; }

 private:
  int label_ = 0;
};

}  // namespace zan
