#pragma once
// Application-wide services a panel uses: the mouse pointer, pending window messages, the
// application title and the modal message box. The Qt-backed implementation is the default;
// tests hand a panel their own (see external/panel_environment.h).

#include <QString>

#include <memory>

namespace zan {

enum class MousePointer { Default = 0, Hourglass = 11 };

class Platform {
 public:
  virtual ~Platform() = default;

  // The screen's mouse pointer, a property (not a stack): setting Hourglass twice and Default
  // once leaves the default pointer.
  virtual MousePointer mousePointer() const = 0;
  virtual void setMousePointer(MousePointer pointer) = 0;

  // Lets pending window messages be processed once; may re-enter the caller's handlers.
  virtual void processPendingMessages() = 0;

  // The host application's title (the application name, or the top window's title).
  virtual QString applicationTitle() const = 0;

  // A modal message box with the exclamation icon and an OK button.
  virtual void messageBox(const QString& title, const QString& text) = 0;
};

// The real one: QGuiApplication override cursor, QCoreApplication::processEvents, QMessageBox.
std::shared_ptr<Platform> qtPlatform();

}  // namespace zan
