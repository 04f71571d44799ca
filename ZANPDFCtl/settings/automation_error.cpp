#include "settings/automation_error.h"

#include <new>

namespace zan {

AutomationException::AutomationException(AutomationError error)
    : std::runtime_error((error.description + QStringLiteral(" (#") +
                          QString::number(error.number) + QStringLiteral(", ") + error.source +
                          QStringLiteral(")"))
                             .toStdString()),
      d(std::make_shared<const AutomationError>(std::move(error))) {}

AutomationException::~AutomationException() = default;

const AutomationError& AutomationException::error() const noexcept {
  return *d;
}

void raiseError(const AutomationError& error) {
  throw AutomationException(error);
}

void raiseError(std::int32_t number, const QString& source, const QString& description) {
  AutomationError e;
  e.number = number;
  e.source = source;
  e.description = description;
  throw AutomationException(e);
}

void raiseClassic(const ClassicError& error, const QString& source) {
  raiseError(error.number, source, QString::fromLatin1(error.text));
}

void raiseClassic(const ClassicError& error, const QString& source, const QString& detail) {
  raiseError(error.number, source, QString::fromLatin1(error.text) + QStringLiteral(": ") + detail);
}

AutomationError currentError() {
  try {
    throw;
  } catch (const AutomationException& e) {
    return e.error();
  } catch (const std::bad_alloc&) {
    return AutomationError{classic::kOutOfMemory.number,
                           QStringLiteral("ZANPdfCtl4"),
                           QString::fromLatin1(classic::kOutOfMemory.text),
                           {},
                           0};
  } catch (const std::exception& e) {
    return AutomationError{static_cast<std::int32_t>(0x80004005u),
                           QStringLiteral("ZANPdfCtl4"),
                           QString::fromUtf8(e.what()),
                           {},
                           0};
  } catch (...) {
    return AutomationError{static_cast<std::int32_t>(0x80004005u),
                           QStringLiteral("ZANPdfCtl4"),
                           QStringLiteral("Unspecified failure"),
                           {},
                           0};
  }
}

AutomationError stepPrefixed(const AutomationError& caught, int step) {
  AutomationError e;
  e.number = caught.number;
  e.source = caught.source;
  e.description = QStringLiteral("Line# ") + QString::number(step) + QStringLiteral(" Desc: ") +
                  caught.description;
  return e;
}

AutomationError linePrefixed(const AutomationError& caught, int line, const QString& source) {
  AutomationError e;
  e.number = caught.number;
  e.source = source;
  e.description = QStringLiteral("Line #: ") + QString::number(line) + QStringLiteral("; ") +
                  caught.description;
  return e;
}

AutomationError lineSuffixed(const AutomationError& caught, int line) {
  AutomationError e = caught;
  e.description = caught.description + QStringLiteral(" line: ") + QString::number(line);
  return e;
}

}  // namespace zan
