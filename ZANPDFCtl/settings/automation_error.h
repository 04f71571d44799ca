#pragma once
// Raising automation errors, and the formats in which a procedure raises a caught one again.
// The error value and its exception are public (ZANPdfCtl4/automation_error.h).

#include <ZANPdfCtl4/automation_error.h>

namespace zan {

[[noreturn]] void raiseError(const AutomationError& error);
[[noreturn]] void raiseError(std::int32_t number, const QString& source,
                             const QString& description);

// The classic run-time errors the library raises, with their texts.
struct ClassicError {
  std::int32_t number;
  const char* text;
};
namespace classic {
inline constexpr ClassicError kInvalidCall{5, "Invalid procedure call or argument"};
inline constexpr ClassicError kOverflow{6, "Overflow"};
inline constexpr ClassicError kOutOfMemory{7, "Out of memory"};
inline constexpr ClassicError kTypeMismatch{13, "Type mismatch"};
inline constexpr ClassicError kFileNotFound{53, "File not found"};
inline constexpr ClassicError kPathAccess{75, "Path/File access error"};
inline constexpr ClassicError kObjectNotSet{91, "Object variable or With block variable not set"};
inline constexpr ClassicError kBadFileFormat{321, "Invalid file format"};
inline constexpr ClassicError kResourceNotFound{326, "Resource with identifier not found"};
inline constexpr ClassicError kInvalidValue{380, "Invalid property value"};
inline constexpr ClassicError kInvalidIndex{381, "Invalid property array index"};
inline constexpr ClassicError kObjectRequired{424, "Object required"};
inline constexpr ClassicError kNoSuchMember{438, "Object doesn't support this property or method"};
}  // namespace classic

// Raises `error` with its own text, or with its text, ": " and `detail`.
[[noreturn]] void raiseClassic(const ClassicError& error, const QString& source);
[[noreturn]] void raiseClassic(const ClassicError& error, const QString& source,
                               const QString& detail);

// The arguments of a panel's Error event (and of TextError::LogTheError), which a handler may
// change.
struct ErrorEventArgs {
  std::int32_t ErrNum = 0;
  QString ErrMsg;
  QString SourceFile;
  std::int16_t LineNo = 0;
  bool ReRaise = false;
  bool Display = true;

  // The failure's number, description and source, line 0, no re-raise, displayed.
  static ErrorEventArgs of(const AutomationError& error) {
    return {error.number, error.description, error.source, 0, false, true};
  }
};

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
