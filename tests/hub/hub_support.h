#pragma once
// What the hub tests share: a workgroup hub in a temporary folder, capture setups for it, and
// zan-hub processes that are started, stopped with SIGTERM and killed as systemd or a crash
// would.

#include "release_support.h"

#include <QImage>
#include <QJsonObject>
#include <QProcess>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

#include <functional>
#include <vector>

namespace zan::testing {

QString zanHubBinary();

// The sample hub's workflows and dictionaries, plus the dictionary "Codes" that holds the made-up
// word kCodeWord, in a temporary folder, with a watched folder and a PDF folder beside it.
struct TempHub {
  TempHub();
  QTemporaryDir dir;
  QString hub, watched, pdfs;

  // zan-hub's arguments for this hub: its watched folder and PDF folder as the service's roots,
  // then `more`.
  QStringList serviceArguments(const QStringList& more = {}) const;

  // Writes a capture setup for this hub (waiting for the statuses, the dictionary "Codes") with
  // `partTwo` and `partOne` on top, and returns its path.
  QString writeSetup(const QString& name, const QVariantMap& partTwo,
                     const QVariantMap& partOne = {}) const;
  // The jobs waiting in the watched folder, and those with a status.
  QStringList waitingJobs() const;
  QStringList finishedJobs() const;
  QJsonObject status(const QString& job) const;
};

inline const QString kCodeWord = QStringLiteral("Zorblatt");

// A zan-hub running in the background; killed when it is destroyed.
class HubProcess {
 public:
  // `journal`: its standard error is what JOURNAL_STREAM names, as under systemd.
  explicit HubProcess(const QStringList& arguments, const QStringList& environment = {},
                      bool journal = false);
  ~HubProcess();
  // Waits for the exit; the exit code, or -1 when it crashed or did not end within `ms`.
  int wait(int ms = 120000);
  // Sends SIGTERM and waits for the exit.
  int terminate();
  void kill();
  // What it has logged so far.
  QString log() const;

 private:
  QTemporaryDir logDir_;
  QProcess process_;
};

// A link annotation's target and its box (points, origin at the top left).
struct PdfLink {
  QString url;
  QRectF box;
};
std::vector<PdfLink> pdfLinks(const QString& pdf, int page);
// The thumbnail stored for page `page` (1-based); null when there is none.
QImage pdfThumbnail(const QString& pdf, int page);
// One image of pdfimages -list: its page, size, bits per component and encoding.
struct PdfImageEntry {
  int page = 0, width = 0, height = 0, bitsPerComponent = 0;
  QString encoding;  // "image", "jpeg", "ccitt", ...
};
std::vector<PdfImageEntry> pdfImageList(const QString& pdf);
// pdfinfo's output, with `options` ("-struct-text").
QString pdfInfoText(const QString& pdf, const QStringList& options = {});

// Waits until `condition` holds, looking every 20 ms; false when it still fails after `ms`.
bool waitFor(const std::function<bool()>& condition, int ms);

}  // namespace zan::testing
