#pragma once
// The library's about box, one object shared by both panels.

#include <QPixmap>
#include <QString>

namespace zan {

class AboutBoxService {
 public:
  virtual ~AboutBoxService() = default;
  // picture, application title, major, minor and revision as decimal strings, copyright line.
  virtual void AboutBox(const QPixmap& picture, const QString& title, const QString& major,
                        const QString& minor, const QString& revision,
                        const QString& copyright) = 0;
};

// The real one, shared by both panels: a message box on the active window.
AboutBoxService& qtAboutBox();

}  // namespace zan
