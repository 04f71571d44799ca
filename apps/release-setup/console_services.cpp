#include "console_services.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>

namespace zan::host {
namespace {

// Message texts end lines with CR (the classic way); one printed line reads better.
QString oneLine(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String(" "));
  text.replace(QLatin1Char('\r'), QLatin1Char(' '));
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return text;
}

class ConsolePlatform final : public Platform {
 public:
  MousePointer mousePointer() const override { return pointer_; }
  void setMousePointer(MousePointer pointer) override { pointer_ = pointer; }
  void processPendingMessages() override { QCoreApplication::processEvents(); }
  QString applicationTitle() const override {
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QCoreApplication::applicationName() : name;
  }
  void messageBox(const QString& title, const QString& text) override {
    printError(QStringLiteral("%1: %2").arg(title, oneLine(text)));
  }

 private:
  MousePointer pointer_ = MousePointer::Default;
};

class ConsolePrompts final : public HostPrompts {
 public:
  void warn(QWidget*, const QString& title, const QString& text) override {
    printError(QStringLiteral("%1: %2").arg(title, oneLine(text)));
  }
  UnsavedAnswer askUnsaved(QWidget*, const QString&, const QString&) override {
    return UnsavedAnswer::Discard;
  }
  // No button is pressed in the scripted mode; a press would have been asked for.
  bool confirmRestoreDefaults(QWidget*, const QString&, const QString&) override { return true; }
};

}  // namespace

void printError(const QString& line) {
  std::fprintf(stderr, "release-setup: %s\n", line.toLocal8Bit().constData());
  std::fflush(stderr);
}

void printOut(const QString& line) {
  std::fprintf(stdout, "%s\n", line.toLocal8Bit().constData());
  std::fflush(stdout);
}

std::shared_ptr<Platform> consolePlatform() {
  return std::make_shared<ConsolePlatform>();
}
std::shared_ptr<HostPrompts> consolePrompts() {
  return std::make_shared<ConsolePrompts>();
}

}  // namespace zan::host
