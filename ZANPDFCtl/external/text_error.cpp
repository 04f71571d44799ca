#include "external/text_error.h"

#include "external/platform.h"
#include "settings/automation_error.h"

namespace zan {
namespace {
const QChar kCR(u'\r');
const QChar kLF(u'\n');

QString numbered(const QString& msg, std::int32_t number) {
  return msg + kCR + QStringLiteral("(#") + QString::number(number) + QStringLiteral(")");
}
}  // namespace

TextError::TextError(std::shared_ptr<Platform> platform) : platform_(std::move(platform)) {}

void TextError::LogTheError(std::int32_t& ErrNum, QString& ErrMsg, QString& SourceFile,
                            std::int16_t& LineNo, bool& ReRaise, bool& Display) {
  // A failing step is reported in a box of its own; processing goes on with the next step.
  auto reportLoggingFailure = [&](const AutomationError& failure) {
    try {
      platform_->messageBox(TitleString, QStringLiteral("An error ") +
                                             QString::number(failure.number) +
                                             QStringLiteral(" - ") + failure.description +
                                             QStringLiteral(" happened logging this error.") + kCR +
                                             kLF + numbered(ErrMsg, ErrNum));
    } catch (...) {
      // Nothing is left to report a failure of the failure report with.
    }
  };

  if (DataObject) {
    try {
      std::int32_t number = ErrNum;
      DataObject->LogError(number, 0, 0, ErrMsg, SourceFile, LineNo);
      ErrNum = number;
    } catch (...) {
      reportLoggingFailure(currentError());
    }
  }
  if (Display || !DataObject) {
    try {
      platform_->messageBox(TitleString, numbered(ErrMsg, ErrNum));
    } catch (...) {
      reportLoggingFailure(currentError());
    }
  }
  if (ReRaise) raiseError(ErrNum, SourceFile, ErrMsg);
}

void TextError::LogTheError(ErrorEventArgs& a) {
  LogTheError(a.ErrNum, a.ErrMsg, a.SourceFile, a.LineNo, a.ReRaise, a.Display);
}

void TextError::log(const AutomationError& error, std::int16_t line, bool display) {
  ErrorEventArgs args = ErrorEventArgs::of(error);
  args.LineNo = line;
  args.Display = display;
  LogTheError(args);
}

}  // namespace zan
