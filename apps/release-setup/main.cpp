// release-setup: the release-setup dialog hosting one ZANPdfCtl4 settings panel.

#include "app_translations.h"
#include "command_line.h"
#include "console_services.h"
#include "release_setup_app.h"
#include "release_setup_dialog.h"

#include "settings/version.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLocale>

namespace {

QtMessageHandler qtDefaultHandler = nullptr;

// Rendering offscreen makes Qt log two harmless notices that would only puzzle a user.
void quietOffscreenNotices(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
  if (msg.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
      msg == QLatin1String("This plugin does not support propagateSizeHints()"))
    return;
  qtDefaultHandler(type, context, msg);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zan::host;
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  // Qt's own options (-style, -platform, -reverse, -stylesheet, ...) are QApplication's.
  arguments = withoutQtOptions(arguments);

  Options options;
  QString error;
  if (!parseCommandLine(arguments, options, error)) {
    printError(QStringLiteral("%1 (see --help)").arg(error));
    return kExitUsage;
  }

  // Only the plain run shows a window; everything else, and a run without a display, renders
  // offscreen rather than failing to connect to a display.
  QString noDisplay = noDisplayReason();
  const bool showsWindow = !options.scripted() && !options.help && !options.version;
  if ((!showsWindow || !noDisplay.isEmpty()) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");

  qtDefaultHandler = qInstallMessageHandler(quietOffscreenNotices);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("release-setup"));
  QApplication::setApplicationDisplayName(kApplicationTitle);
  QApplication::setApplicationVersion(QString::fromLatin1(zan::kVersionShown));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/release-setup.png")));
  QGuiApplication::setDesktopFileName(QStringLiteral("release-setup"));

  if (options.fontSize > 0) {
    QFont font = QApplication::font();
    font.setPointSizeF(options.fontSize);
    QApplication::setFont(font);
  }
  // The language: --language, else the locale. Qt's own texts (standard buttons) and the
  // program's come from translators; the panels' string table follows the default locale.
  if (!options.language.isEmpty()) QLocale::setDefault(QLocale(options.language));
  const AppTranslations translations{QLocale()};

  if (options.help) {
    printOut(usageText().trimmed());
    return kExitOk;
  }
  if (options.version) {
    printOut(QStringLiteral("release-setup %1").arg(QLatin1String(zan::kVersionShown)));
    return kExitOk;
  }
  if (noDisplay.isEmpty()) noDisplay = noDisplayReason(QGuiApplication::platformName());
  return runReleaseSetup(options, noDisplay);
}
