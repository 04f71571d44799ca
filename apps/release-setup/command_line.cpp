#include "command_line.h"

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
    if (QLocale(parsed.language).language() == QLocale::C) {
      error = QStringLiteral("--language '%1': use a language code such as de or en")
                  .arg(parsed.language);
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

QString usageText() {
  return QStringLiteral(
      "Usage: release-setup [--panel capture|ocr] [--setup FILE] [--set NAME=VALUE]...\n"
      "                     [--validate] [--apply] [--screenshot FILE.png] [--close-after MS]\n"
      "                     [--preview PAGE]\n"
      "\n"
      "Opens the release-setup dialog with one settings panel: capture (ZANPdf3, the default)\n"
      "or ocr (ZANPdf). Without --setup it edits a working copy of the bundled example setup,\n"
      "created on the first run in $ZAN_RELEASE_SETUP_HOME or the user's configuration folder.\n"
      "\n"
      "Scripted mode (the dialog is not shown):\n"
      "  --set NAME=VALUE   put a panel property by name, e.g. --set WorkgroupHub=/srv/hub\n"
      "                     (Booleans: True/False; repeat for several properties, in order)\n"
      "  --validate         print the Validate result number and ValidateError\n"
      "  --apply            validate, store the settings and save the setup file\n"
      "  --screenshot FILE  render the dialog offscreen to a PNG file\n"
      "Other options:\n"
      "  --close-after MS   close the dialog by itself after MS milliseconds\n"
      "  --preview PAGE     open with the preview of the settings on PAGE (an image, TIFF or\n"
      "                     PDF; \"sample\": the bundled sample page)\n"
      "  --language CODE    the language of the dialog and the panels (de, en); the default\n"
      "                     follows the locale (LANG)\n"
      "  --font-size POINTS the application font's size; the panels scale with it\n"
      "  --version, --help\n"
      "Qt's standard options work too: -style NAME, -platform NAME, -reverse, -stylesheet FILE.\n"
      "\n"
      "With no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM unset) the dialog is\n"
      "rendered offscreen and screenshots of both panels are written instead.\n"
      "\n"
      "Exit codes: 0 done; 2 bad argument or unreadable/unwritable file; 3 a setting was\n"
      "rejected by validation; 4 the panel failed.\n");
}

}  // namespace zan::host
