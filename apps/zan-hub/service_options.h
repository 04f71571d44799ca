#pragma once
// zan-hub's options: from the command line and from a configuration file (--config), which
// holds the same options, one a line, as "name = value" without the "--":
//
//   # /etc/zan-hub.conf
//   hub = /srv/capture/hub
//   watched-root = /srv/capture/watched
//   output-root = /srv/capture/pdf
//   jobs = 4
//
// An option given on the command line wins over the file's; the roots of both count.

#include "release/pixel_budget.h"

#include <QString>
#include <QStringList>

struct ServiceOptions {
  QString hub;
  QString machine;
  QStringList watchedRoots;  // the watched folders served lie at or below one of these
  QStringList outputRoots;   // the PDFs written lie below one of these
  int jobs = 1;
  qint64 pixelBudget = zan::release::kProgramPixels;
  bool once = false;
  double staleAfter = 120;  // seconds without a heartbeat after which a service counts as dead
  double rescan = 10;       // seconds between full scans
  double stopTimeout = 30;  // seconds the pages in progress may take to finish on SIGTERM
};

// Why the service cannot start: a bad option, an unreadable configuration file.
struct CannotStart {
  QString message;
};

// The options of `arguments` (the program's name first). Prints --help and --version itself and
// exits. Throws CannotStart.
ServiceOptions parseServiceOptions(const QStringList& arguments);
