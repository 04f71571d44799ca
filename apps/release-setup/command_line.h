#pragma once
// The command line of release-setup and its exit codes.

#include "panel_kind.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace zan::host {

// Exit codes (also listed by --help and in the README).
enum ExitCode : int {
  kExitOk = 0,           // done (also when the dialog was cancelled)
  kExitUsage = 2,        // bad argument, or a file that cannot be read or written
  kExitRejected = 3,     // the panel rejected a setting (Validate returned non-zero)
  kExitPanelFailed = 4,  // the panel failed (an error raised by one of its members)
};

struct Options {
  PanelKind panel = PanelKind::Capture;
  QString setupPath;                    // empty: the working copy of the bundled example
  QList<QPair<QString, QString>> sets;  // --set NAME=VALUE, in the given order
  bool validate = false;
  bool apply = false;
  QString screenshot;
  int closeAfterMs = -1;  // --close-after MS; -1: stay open
  QString language;       // --language CODE; empty: the locale's
  double fontSize = 0;    // --font-size POINTS; 0: the desktop's
  bool preview = false;   // --preview PAGE: the dialog opens with the preview
  QString previewPage;    // empty: the bundled sample page
  bool help = false;
  bool version = false;

  // Any option that asks for work without the user: the dialog is never shown.
  bool scripted() const { return !sets.isEmpty() || validate || apply || !screenshot.isEmpty(); }
};

// Parses `arguments` (the program name first). Returns false with a one-line `error` that names
// the offending argument. Needs no QCoreApplication.
bool parseCommandLine(const QStringList& arguments, Options& options, QString& error);

// `arguments` without the options QApplication takes for itself (-style S, -platform P,
// -reverse, -stylesheet F, ..., also spelled with "--" or "=VALUE").
QStringList withoutQtOptions(const QStringList& arguments);

// The --help text.
QString usageText();

}  // namespace zan::host
