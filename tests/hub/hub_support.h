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

// The zan-hub under test; ZAN_TEST_HUB_BINARY names another build's (and ZAN_TEST_NO_ROOTS=1
// leaves out the roots that build does not know), to see a test fail without its fix.
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
  // `journal`: its standard error is what JOURNAL_STREAM names, as under systemd. `wrapper`
  // runs it (["setpriv", "--reuid=4242", ..., "--"], ["sh", "-c", "umask 077; exec \"$0\"
  // \"$@\""]).
  explicit HubProcess(const QStringList& arguments, const QStringList& environment = {},
                      bool journal = false, const QStringList& wrapper = {});
  ~HubProcess();
  // Waits for the exit; the exit code, or -1 when it crashed or did not end within `ms`.
  int wait(int ms = 120000);
  // Sends SIGTERM and waits for the exit.
  int terminate();
  void kill();
  // What it has logged so far.
  QString log() const;
  qint64 pid() const { return process_.processId(); }

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

// -- A hub shared with hostile submitters: the service runs as root (or as its own user), the
// submitter as the unprivileged user nobody.
inline constexpr unsigned kSubmitter = 65534;   // nobody
inline constexpr unsigned kServiceUser = 4242;  // a service's own user, with no name

// Why these tests cannot run here (not root, or setpriv refused); empty when they can.
QString whyNoUsers();
// Runs `script` with sh as the submitter (nobody, also in the service user's group), in
// `folder`. Returns its exit code; `output` receives what it printed.
int asSubmitter(const QString& script, QString* output = nullptr);
// setpriv's arguments that run a program as the service's own user.
QStringList asServiceUser();
// A digest of everything below `folder` (names, types, modes, owners, contents, link targets),
// reached without following links: equal digests, unchanged folder.
QByteArray treeDigest(const QString& folder);
// Every byte below `folder` (files only, links not followed), for looking for a secret.
QByteArray allBytes(const QString& folder);
// chown -R, without following links.
void giveTo(const QString& path, unsigned user, unsigned group);

}  // namespace zan::testing
