#pragma once
/// \file
/// The error a panel member reports: zan::AutomationError, thrown as zan::AutomationException.

#include <ZANPdfCtl4/zanpdfctl4_export.h>

#include <QString>

#include <cstdint>
#include <memory>
#include <stdexcept>

namespace zan {

/// Base of object-defined error numbers: a setting the panel rejects is reported as
/// kObjectErrorBase + n (0x80040000 + n).
constexpr std::int32_t kObjectErrorBase = static_cast<std::int32_t>(0x80040000u);

/// A failure as the panels report it: a number (signed 32-bit), the source (the procedure it
/// arose in, such as "QelPDFSetup.Apply"), a description meant for the user, and a help file
/// and help context (usually empty).
struct AutomationError {
  std::int32_t number = 0;       ///< the error number, such as -1 or kObjectErrorBase + n
  QString source;                ///< the procedure it arose in
  QString description;           ///< the message for the user
  QString helpFile;              ///< a help file that explains it; usually empty
  std::int32_t helpContext = 0;  ///< the topic in the help file; usually 0

  /// Equal when every field is equal.
  friend bool operator==(const AutomationError& a, const AutomationError& b) {
    return a.number == b.number && a.source == b.source && a.description == b.description &&
           a.helpFile == b.helpFile && a.helpContext == b.helpContext;
  }
};

/// What a failing panel member throws to a C++ caller. Callers on the meta-object system never
/// receive it (see zan::SettingsPanel). what() is "description (#number, source)" in UTF-8.
class ZANPDFCTL4_EXPORT AutomationException : public std::runtime_error {
 public:
  /// Carries `error`.
  explicit AutomationException(AutomationError error);
  ~AutomationException() override;
  /// The failure.
  const AutomationError& error() const noexcept;

 private:
  std::shared_ptr<const AutomationError> d;
};

}  // namespace zan
