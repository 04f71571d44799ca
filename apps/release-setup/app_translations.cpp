#include "app_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace zan::host {

AppTranslations::AppTranslations(const QLocale& locale) {
  // Qt's own texts come from Debian's qt6-translations-l10n, the program's are embedded.
  if (qtTexts_.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qtTexts_);
  if (ownTexts_.load(locale, QStringLiteral("release-setup"), QStringLiteral("_"),
                     QStringLiteral(":/i18n")))
    QCoreApplication::installTranslator(&ownTexts_);
  if (previewTexts_.load(locale, QStringLiteral("zan-preview"), QStringLiteral("_"),
                         QStringLiteral(":/i18n")))
    QCoreApplication::installTranslator(&previewTexts_);
}

AppTranslations::~AppTranslations() {
  QCoreApplication::removeTranslator(&previewTexts_);
  QCoreApplication::removeTranslator(&ownTexts_);
  QCoreApplication::removeTranslator(&qtTexts_);
}

}  // namespace zan::host
