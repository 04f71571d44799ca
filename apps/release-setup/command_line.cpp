#include "command_line.h"

#include "property_put.h"
#include "stored_setting.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QLocale>

namespace zan::host {

bool parseCommandLine(const QStringList& arguments, Options& options, QString& error) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption panel(QStringLiteral("panel"), {}, QStringLiteral("KIND"));
  const QCommandLineOption setup(QStringLiteral("setup"), {}, QStringLiteral("FILE"));
  const QCommandLineOption set(QStringLiteral("set"), {}, QStringLiteral("NAME=VALUE"));
  const QCommandLineOption validate(QStringLiteral("validate"));
  const QCommandLineOption apply(QStringLiteral("apply"));
  const QCommandLineOption screenshot(QStringLiteral("screenshot"), {}, QStringLiteral("FILE"));
  const QCommandLineOption closeAfter(QStringLiteral("close-after"), {}, QStringLiteral("MS"));
  const QCommandLineOption language(QStringLiteral("language"), {}, QStringLiteral("CODE"));
  const QCommandLineOption fontSize(QStringLiteral("font-size"), {}, QStringLiteral("POINTS"));
  const QCommandLineOption preview(QStringLiteral("preview"), {}, QStringLiteral("PAGE"));
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringLiteral("version"));
  parser.addOptions({panel, setup, set, validate, apply, screenshot, closeAfter, language, fontSize,
                     preview, help, version});

  if (!parser.parse(arguments)) {
    error = parser.errorText();
    return false;
  }
  if (!parser.positionalArguments().isEmpty()) {
    error = QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first());
    return false;
  }
  for (const auto* single :
       {&panel, &setup, &screenshot, &closeAfter, &language, &fontSize, &preview}) {
    if (parser.values(*single).size() > 1) {
      error = QStringLiteral("--%1 given more than once").arg(single->names().first());
      return false;
    }
  }

  Options parsed;
  parsed.help = parser.isSet(help);
  parsed.version = parser.isSet(version);
  if (parser.isSet(panel) && !panelKindFromName(parser.value(panel), parsed.panel)) {
    error = QStringLiteral("--panel '%1': use capture or ocr").arg(parser.value(panel));
    return false;
  }
  if (parser.isSet(setup)) {
    parsed.setupPath = parser.value(setup);
    if (parsed.setupPath.isEmpty()) {
      error = QStringLiteral("--setup needs a file name");
      return false;
    }
  }
  for (const QString& assignment : parser.values(set)) {
    const int eq = assignment.indexOf(QLatin1Char('='));
    if (eq <= 0) {
      error = QStringLiteral("--set '%1': use NAME=VALUE").arg(assignment);
      return false;
    }
    parsed.sets.append({assignment.left(eq), assignment.mid(eq + 1)});
  }
  if (parser.isSet(language)) {
    parsed.language = parser.value(language);
    // The languages the program speaks; any other would silently show English.
    const QLocale::Language chosen = QLocale(parsed.language).language();
    if (chosen != QLocale::English && chosen != QLocale::German) {
      error =
          QStringLiteral("--language '%1': use de (German) or en (English)").arg(parsed.language);
      return false;
    }
  }
  if (parser.isSet(fontSize)) {
    bool ok = false;
    parsed.fontSize = parser.value(fontSize).toDouble(&ok);
    if (!ok || parsed.fontSize < 4 || parsed.fontSize > 72) {
      error = QStringLiteral("--font-size '%1': use a number of points from 4 to 72")
                  .arg(parser.value(fontSize));
      return false;
    }
  }
  parsed.validate = parser.isSet(validate);
  parsed.apply = parser.isSet(apply);
  if (parser.isSet(preview)) {
    parsed.preview = true;
    parsed.previewPage = parser.value(preview);
    if (parsed.previewPage == QLatin1String("sample")) parsed.previewPage.clear();
  }
  if (parser.isSet(screenshot)) {
    parsed.screenshot = parser.value(screenshot);
    if (parsed.screenshot.isEmpty()) {
      error = QStringLiteral("--screenshot needs a file name");
      return false;
    }
  }
  if (parser.isSet(closeAfter)) {
    bool ok = false;
    parsed.closeAfterMs = parser.value(closeAfter).toInt(&ok);
    if (!ok || parsed.closeAfterMs < 0) {
      error = QStringLiteral("--close-after '%1': use a number of milliseconds")
                  .arg(parser.value(closeAfter));
      return false;
    }
  }
  options = parsed;
  return true;
}

QStringList withoutQtOptions(const QStringList& arguments) {
  static const QStringList withValue = {"platform",
                                        "platformpluginpath",
                                        "platformtheme",
                                        "plugin",
                                        "qwindowgeometry",
                                        "qwindowicon",
                                        "qwindowtitle",
                                        "style",
                                        "stylesheet",
                                        "session",
                                        "display",
                                        "geometry",
                                        "title",
                                        "font",
                                        "name",
                                        "qmljsdebugger",
                                        "fn",
                                        "bg",
                                        "background",
                                        "fg",
                                        "foreground",
                                        "btn",
                                        "button",
                                        "im",
                                        "visual",
                                        "ncols",
                                        "cmap",
                                        "inputstyle"};
  static const QStringList flags = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
  QStringList kept;
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    if (i == 0 || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("--")) {
      kept << arg;
      continue;
    }
    QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
    const bool inlineValue = name.contains(QLatin1Char('='));
    name = name.section(QLatin1Char('='), 0, 0);
    if (flags.contains(name)) continue;
    if (withValue.contains(name)) {
      if (!inlineValue) ++i;  // its value follows
      continue;
    }
    kept << arg;
  }
  return kept;
}

namespace {

// `names` after `label`, wrapped at 78 columns with the continuation lines indented.
QString wrapped(const QString& label, const QStringList& names) {
  QString text, line = QStringLiteral("  %1").arg(label, -20);
  bool first = true;
  for (int i = 0; i < names.size(); ++i) {
    const QString item = names[i] + (i + 1 < names.size() ? QStringLiteral(",") : QString());
    if (!first && line.size() + 1 + item.size() > 78) {
      text += line + QLatin1Char('\n');
      line = QString(22, QLatin1Char(' '));
      first = true;
    }
    line += (first ? QString() : QStringLiteral(" ")) + item;
    first = false;
  }
  return text + line + QLatin1Char('\n');
}

}  // namespace

QString usageText() {
  QStringList stored;
  for (const StoredSetting& s : storedSettings()) stored << s.key;
  return QStringLiteral(
             "Usage: release-setup [--panel capture|ocr] [--setup FILE] [--language CODE] "
             "[--font-size POINTS] [--preview PAGE]\n"
             "  or:  release-setup [--panel capture|ocr] [--setup FILE] [--set NAME=VALUE]... "
             "[--screenshot FILE.png] [--validate] [--apply]\n"
             "\n"
             "Opens the release-setup dialog with one settings panel, capture (ZANPdf3) or ocr "
             "(ZANPdf), on a setup file;\n"
             "given --set, --screenshot, --validate or --apply it works without showing the "
             "dialog (scripted mode).\n"
             "\n"
             "Options:\n"
             "  --panel KIND        the panel: capture (ZANPdf3, the default) or ocr (ZANPdf)\n"
             "  --setup FILE        the setup file; without it, the working copy\n"
             "                      $ZAN_RELEASE_SETUP_HOME/release-setup.json (or else\n"
             "                      ~/.config/release-setup/release-setup.json), made from the\n"
             "                      bundled example on the first run\n"
             "  --language CODE     the language of the dialog and the panels: de or en; the\n"
             "                      default follows the locale (LANG)\n"
             "  --font-size POINTS  the application font's size; the panels scale with it\n"
             "  --close-after MS    close the dialog by itself after MS milliseconds\n"
             "  --preview PAGE      open with the preview of the settings on PAGE (an image,\n"
             "                      TIFF or PDF; \"sample\": the bundled sample page)\n"
             "  -h, --help          show this help and exit\n"
             "  --version           show the version and exit\n"
             "\n"
             "Scripted mode (the dialog is not shown; the options apply in this order):\n"
             "  --set NAME=VALUE    put the panel property NAME (Booleans True or False), or\n"
             "                      store the setting NAME before the panel loads the file;\n"
             "                      repeatable, applied in order, names without regard to case\n"
             "  --screenshot FILE   render the dialog offscreen into a PNG file\n"
             "  --validate          print the Validate result number and ValidateError\n"
             "  --apply             validate, store the settings and save the setup file\n"
             "\n"
             "Names --set accepts:\n") +
         wrapped(QStringLiteral("ZANPdf3 properties"),
                 puttableProperties(QStringLiteral("ZANPdf3"))) +
         wrapped(QStringLiteral("ZANPdf properties"),
                 puttableProperties(QStringLiteral("ZANPdf"))) +
         wrapped(QStringLiteral("stored settings"), stored) +
         QStringLiteral(
             "                      (a name the panel has as a property goes to the "
             "property)\n") +
         QStringLiteral(
             "\n"
             "Qt's standard options work too: -style NAME, -platform NAME, -reverse, "
             "-stylesheet FILE.\n"
             "With no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM unset) the dialog is "
             "rendered offscreen\n"
             "and screenshots of both panels are written instead.\n"
             "\n"
             "Exit codes: 0 done (also when the dialog was closed without saving); 2 a bad "
             "argument, or a file that\n"
             "cannot be read or written; 3 the panel rejected a setting (nothing was saved); 4 the "
             "panel failed.\n");
}

}  // namespace zan::host
