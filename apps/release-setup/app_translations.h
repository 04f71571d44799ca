#pragma once
// The texts of Qt (standard buttons) and of the program (the dialog, the links editor, the about
// box, the settings messages) in the language of a locale, installed for as long as the object
// lives. The panels' string table follows the default locale by itself.

#include <QLocale>
#include <QTranslator>

namespace zan::host {

class AppTranslations final {
 public:
  explicit AppTranslations(const QLocale& locale);
  ~AppTranslations();
  AppTranslations(const AppTranslations&) = delete;
  AppTranslations& operator=(const AppTranslations&) = delete;

 private:
  QTranslator qtTexts_, ownTexts_, previewTexts_;
};

}  // namespace zan::host
