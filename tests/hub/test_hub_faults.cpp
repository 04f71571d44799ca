// The hub under faults of its file systems: a watched folder that fills up after a job was
// submitted (the status cannot be written) and one that is full when a job is submitted. Each
// runs in a private mount namespace on a 1 MB tmpfs.
#include "hub_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>

using namespace zan::testing;

namespace {

// Runs `script` with sh in a private mount namespace; its output lines of "name=value" become a
// map. Empty, with `why` set, when the namespace or the tmpfs cannot be made here.
QMap<QString, QString> inPrivateMounts(const QString& script, QString* why, QString* all) {
  QProcess shell;
  shell.setProcessChannelMode(QProcess::MergedChannels);
  shell.start(QStringLiteral("unshare"),
              {"--mount", "--propagation", "private", "sh", "-c", script});
  shell.waitForFinished(240000);
  const QString out = QString::fromUtf8(shell.readAll());
  if (all) *all = out;
  QMap<QString, QString> values;
  if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() == 99) {
    *why = QStringLiteral("cannot mount a private tmpfs here: ") + out;
    return values;
  }
  for (const QString& line : out.split(QLatin1Char('\n'))) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq > 0 && !line.contains(QLatin1Char(' '))) values.insert(line.left(eq), line.mid(eq + 1));
  }
  return values;
}

struct FullDiskHub {
  FullDiskHub() {
    savePage(renderTextPage(sampleLines(0).mid(0, 2)).image, hub.dir.filePath("page.png"));
    writeBatchFile(hub.dir.filePath("batch.json"),
                   {{"name", "Full"},
                    {"documents", QJsonArray{QJsonObject{{"pages", QJsonArray{"page.png"}}}}}});
  }
  // What a script said: its "name=value" lines, all its output, and the file `log`.
  struct Outcome {
    QMap<QString, QString> values;
    QString all, said, why;
  };
  Outcome run(const QString& script, const QString& log) const {
    Outcome o;
    o.values = inPrivateMounts(script, &o.why, &o.all);
    QFile logFile(log);
    if (logFile.open(QIODevice::ReadOnly)) o.said = QString::fromUtf8(logFile.readAll());
    return o;
  }
  // An image-only capture setup for the hub, waiting for the statuses or not.
  QString setup(bool wait) const {
    return hub.writeSetup("setup.json", {{"PageContent", "Image Only"},
                                         {"Workflow", "PDF Image Only"},
                                         {"PDFWaitForStatus", wait}});
  }
  // The shell command that runs zan-hub on the hub with `more`.
  QString service(const QStringList& more) const {
    return "'" + zanHubBinary() + "' '" + hub.serviceArguments(more).join("' '") + "'";
  }
  // The script's common start: the watched folder a 1 MB tmpfs.
  QString start() const {
    return QStringLiteral("set -u\nmount -t tmpfs -o size=1m tmpfs '%1' || exit 99\n")
        .arg(hub.watched);
  }
  TempHub hub;
};

}  // namespace

// The watched folder fills up after the job was submitted: the service makes the PDF, cannot
// write the status, says so as an error and keeps the job while it tries again; the waiting
// release calls the document released, not pending (a rerun would make it twice); once there is
// room the status is written, the job removed, and the PDF was made once.
TEST(FullWatchedFolder, AStatusThatCannotBeWrittenIsRetriedAndTheJobKept) {
  FullDiskHub f;
  const QString setup = f.setup(true);
  const QString log = f.hub.dir.filePath("hub.log");
  const QString script =
      f.start() +
      QStringLiteral(
          "'%1' --setup '%2' --batch '%3' --out '%4' --quiet --status-timeout 6 > '%4.out' 2>&1 &\n"
          "release=$!\n"
          "for i in $(seq 100); do ls '%5' | grep -q '[.]job$' && break; sleep 0.1; done\n"
          "dd if=/dev/zero of='%5/filler' bs=4k 2>/dev/null\n"
          "%6 > '%7' 2>&1 &\n"
          "hub=$!\n"
          "wait $release; echo \"release=$?\"\n"
          "echo \"held=$(ls '%5/.zan-hub/services/'*/ | grep -c publishing)\"\n"
          "rm '%5/filler'\n"
          "for i in $(seq 150); do ls '%5/.zan-hub/status' | grep -q json && break; sleep 0.1; "
          "done\n"
          "sleep 0.5\n"
          "echo \"statuses=$(ls '%5/.zan-hub/status' | grep -c json)\"\n"
          "echo \"left=$(ls -A '%5/.zan-hub/services/'*/ | grep -vc heartbeat)\"\n"
          "kill -TERM $hub; wait $hub; echo \"service=$?\"\n")
          .arg(zanReleaseBinary(), setup, f.hub.dir.filePath("batch.json"),
               f.hub.dir.filePath("report"), f.hub.watched,
               f.service({"--rescan", "0.3", "--jobs", "1"}), log);
  const auto [values, all, said, why] = f.run(script, log);
  if (!why.isEmpty()) GTEST_SKIP() << qPrintable(why);
  EXPECT_EQ(values.value("release"), "0") << qPrintable(all);
  const QJsonObject doc = readJson(f.hub.dir.filePath("report/release-report.json"))["documents"]
                              .toArray()
                              .at(0)
                              .toObject();
  EXPECT_EQ(doc["status"].toString(), QStringLiteral("released")) << "a made PDF called pending";
  EXPECT_EQ(values.value("held"), "1") << "the job was removed without its status\n"
                                       << qPrintable(said);
  EXPECT_TRUE(said.contains(QRegularExpression(
      "error: job [^ ]+: its status cannot be written \\(cannot write .*No space left on device")))
      << qPrintable(said);
  EXPECT_EQ(values.value("statuses"), "1") << "the status was not written once there was room";
  EXPECT_EQ(values.value("left"), "0") << "the job was not removed once its status was written";
  EXPECT_EQ(said.count(QRegularExpression(", done: ")), 1) << qPrintable(said);
  EXPECT_EQ(QDir(f.hub.pdfs).entryList({"*.pdf"}, QDir::Files).size(), 1);
  EXPECT_EQ(values.value("service"), "0");
}

// A watched folder that is full when the release writes a job: the document fails with the
// cause ("No space left on device", not "Unknown error") and nothing is left behind.
TEST(FullWatchedFolder, SubmittingIntoAFullFolderSaysSo) {
  FullDiskHub f;
  const QString setup = f.setup(false);
  const QString script =
      f.start() + QStringLiteral(
                      "dd if=/dev/zero of='%1/filler' bs=4k 2>/dev/null\n"
                      "'%2' --setup '%3' --batch '%4' --out '%5' --quiet 2> '%5.err'\n"
                      "echo \"release=$?\"\n"
                      "rm '%1/filler'\n"
                      "echo \"left=$(ls -A '%1' | grep -v zan-hub | wc -l)\"\n")
                      .arg(f.hub.watched, zanReleaseBinary(), setup,
                           f.hub.dir.filePath("batch.json"), f.hub.dir.filePath("report"));
  const auto [values, all, err, why] = f.run(script, f.hub.dir.filePath("report.err"));
  if (!why.isEmpty()) GTEST_SKIP() << qPrintable(why);
  EXPECT_EQ(values.value("release"), "1") << qPrintable(all);
  const QStringList lines = err.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 1) << qPrintable(err);
  EXPECT_TRUE(lines[0].startsWith("zan-release: document 1 not released: page 1 (page.png): "
                                  "cannot write ") &&
              lines[0].endsWith(": No space left on device"))
      << qPrintable(lines[0]);
  EXPECT_EQ(values.value("left"), "0") << "a half-written job was left";
}

// A service stopped while the status still cannot be written marks the job published; once
// there is room, the next service writes its status from the PDF that is there, without making
// it again.
TEST(FullWatchedFolder, AServiceStoppedWithAStatusUnwrittenLeavesItToTheNext) {
  FullDiskHub f;
  const QString setup = f.setup(false);
  const QString log = f.hub.dir.filePath("hub.log");
  const QString service = f.service({"--rescan", "0.3", "--stale-after", "0.5"});
  const QString script =
      f.start() + QStringLiteral(
                      "'%1' --setup '%2' --batch '%3' --out '%4' --quiet\n"
                      "dd if=/dev/zero of='%5/filler' bs=4k 2>/dev/null\n"
                      "%6 > '%7' 2>&1 &\n"
                      "hub=$!\n"
                      "for i in $(seq 100); do grep -q 'status cannot be written' '%7' && break; "
                      "sleep 0.1; done\n"
                      "kill -TERM $hub; wait $hub; echo \"stopped=$?\"\n"
                      "echo \"marked=$(ls '%5/.zan-hub/services/'*/ | grep -c published)\"\n"
                      "rm '%5/filler'\n"
                      "sleep 1\n"
                      "%6 --once >> '%7' 2>&1; echo \"next=$?\"\n"
                      "echo \"statuses=$(ls '%5/.zan-hub/status' | grep -c json)\"\n")
                      .arg(zanReleaseBinary(), setup, f.hub.dir.filePath("batch.json"),
                           f.hub.dir.filePath("report"), f.hub.watched, service, log);
  const auto [values, all, said, why] = f.run(script, log);
  if (!why.isEmpty()) GTEST_SKIP() << qPrintable(why);
  EXPECT_EQ(values.value("stopped"), "0") << qPrintable(all);
  EXPECT_EQ(values.value("marked"), "1") << qPrintable(said);
  EXPECT_TRUE(said.contains("stopping with its status unwritten")) << qPrintable(said);
  EXPECT_EQ(values.value("next"), "0");
  EXPECT_EQ(values.value("statuses"), "1") << qPrintable(said);
  EXPECT_TRUE(said.contains("made by a service that stopped before writing its status"))
      << qPrintable(said);
  EXPECT_EQ(QDir(f.hub.pdfs).entryList({"*.pdf"}, QDir::Files).size(), 1);
}
