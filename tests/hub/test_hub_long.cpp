// The hub over many jobs (label "long": scripts/long-tests.sh runs these, CI's long job; they
// take minutes):
//  - two machines: two services, each in its own mount and network namespace, sharing the hub
//    through a bind mount, the second under a clock ten minutes behind and then ten minutes
//    ahead (libfaketime): 200 jobs each time, each done exactly once, none taken from a live
//    service;
//  - a soak: 2,000 jobs through two services with 1 % hostile jobs mixed in (linked, FIFO and
//    oversized pages, broken tickets, PDFs outside the output root): every sound job done once,
//    every hostile one failed with its reason, and the services' memory flat after warm-up.
// Each prints its figures.
#include "hub_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSysInfo>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>

using namespace zan::testing;

namespace {

// A batch of `count` one-page documents of a small page, or of a page of text.
QString smallBatch(const TempHub& hub, const QString& name, int count, bool text = false) {
  const QString page = hub.dir.filePath(text ? "text.png" : "small.png");
  if (!QFileInfo::exists(page) && text) {
    savePage(renderTextPage(sampleLines(3).mid(0, 2)).image, page);
  } else if (!QFileInfo::exists(page)) {
    QImage small(300, 200, QImage::Format_Grayscale8);
    small.fill(Qt::white);
    savePage(small, page);
  }
  QJsonArray documents;
  for (int i = 0; i < count; ++i) documents.append(QJsonObject{{"pages", QJsonArray{page}}});
  return writeBatchFile(hub.dir.filePath(name + ".json"),
                        {{"name", name}, {"documents", documents}});
}

int countOf(const QString& text, const QString& pattern) {
  return static_cast<int>(text.count(QRegularExpression(pattern)));
}

qint64 residentKiB(qint64 pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLongLong();
  return -1;
}

}  // namespace

// Two machines sharing a hub, one clock ten minutes off (behind, then ahead: -600 and +600
// seconds): every job once, none taken from a live service.
TEST(TwoMachines, ASkewedClockTakesNoLiveJobAndEachJobIsMadeOnce) {
  const QString why = whyNoUsers();
  if (!why.isEmpty()) GTEST_SKIP() << qPrintable(why);
  // The multi-threaded libfaketime, preloaded straight into the service (the faketime wrapper
  // would stand between it and its SIGTERM).
  const QString faketime = QStringLiteral("/usr/lib/%1/faketime/libfaketimeMT.so.1")
                               .arg(QSysInfo::buildCpuArchitecture() == "x86_64"
                                        ? QStringLiteral("x86_64-linux-gnu")
                                        : QSysInfo::buildCpuArchitecture() + "-linux-gnu");
  if (!QFileInfo::exists(faketime))
    GTEST_SKIP() << "libfaketime (Debian's libfaketime) is not installed: " << qPrintable(faketime);
  for (const char* skew : {"-600", "+600"}) {
    // The share lies outside /tmp, which each machine has of its own.
    QTemporaryDir share(QDir::current().filePath("share-XXXXXX"));
    TempHub hub;
    const QString base = share.path();
    for (const char* folder : {"/hub", "/watched", "/pdfs"}) QDir().mkpath(base + folder);
    QProcess::execute("cp",
                      {"-r", hub.hub + "/Workflows", hub.hub + "/Dictionaries", base + "/hub"});
    const auto machine = [&](const QStringList& clock) {
      // Its own mounts (its own /tmp) and network; the share through a bind mount.
      const QString script = QStringLiteral(
                                 "mount -t tmpfs tmpfs /tmp && mount --bind '%1' '%1' && "
                                 "exec %2\"$0\" \"$@\"")
                                 .arg(base, clock.isEmpty() ? QString() : clock.join(' ') + ' ');
      return QStringList{"unshare", "--mount", "--net", "--propagation",
                         "private", "sh",      "-c",    script};
    };
    QStringList arguments{"--hub",         base + "/hub", "--jobs",   "1",
                          "--stale-after", "3",           "--rescan", "0.3"};
    if (qEnvironmentVariable("ZAN_TEST_NO_ROOTS") != QLatin1String("1"))
      arguments << "--watched-root" << base + "/watched"
                << "--output-root" << base + "/pdfs";
    HubProcess one(arguments, {}, false, machine({}));
    // A machine whose clock is wrong stamps its files' modification times with its own time;
    // the file system sets their change times (NO_FAKE_STAT: the times it reads are the file
    // system's, as on a real machine).
    HubProcess two(arguments, {}, false,
                   machine({"env", "LD_PRELOAD=" + faketime, QStringLiteral("FAKETIME=") + skew,
                            "NO_FAKE_STAT=1"}));
    TempHub releaser;  // the setup, pointing at the share
    QVariantMap settings{{"WorkgroupHub", base + "/hub"},     {"WatchedFolder", base + "/watched"},
                         {"PDFOutputFolder", base + "/pdfs"}, {"PageContent", "Image Only"},
                         {"Workflow", "PDF Image Only"},      {"Dictionary", ""}};
    const QString setup = releaser.writeSetup("setup.json", settings);
    const QString batch = smallBatch(releaser, "Skew", 200);
    QElapsedTimer clock;
    clock.start();
    const ProgramRun run =
        runZanRelease({"--setup", setup, "--batch", batch, "--out", releaser.dir.filePath("r"),
                       "--quiet", "--status-timeout", "600"});
    const double seconds = clock.elapsed() / 1000.0;
    EXPECT_EQ(run.exitCode, 0) << skew << qPrintable(run.err);
    EXPECT_EQ(one.terminate(), 0);
    EXPECT_EQ(two.terminate(), 0);
    const QString logs = one.log() + two.log();
    const QJsonArray documents =
        readJson(releaser.dir.filePath("r/release-report.json"))["documents"].toArray();
    ASSERT_EQ(documents.size(), 200);
    int once = 0;
    for (const QJsonValue& d : documents)
      once += countOf(logs, "job " + QRegularExpression::escape(d["job"].toString()) +
                                ": .*, done: ") == 1;
    const int taken = countOf(logs, "its service stopped beating");
    const int doneByOne = countOf(one.log(), ", done: "),
              doneByTwo = countOf(two.log(), ", done: ");
    std::printf(
        "clock %s: 200 jobs in %.1f s, %d done exactly once (%d by the machine on time, %d "
        "by the skewed one), %d taken from a live service, %d dropped\n",
        skew, seconds, once, doneByOne, doneByTwo, taken, countOf(logs, "dropped: "));
    EXPECT_EQ(once, 200) << skew;
    EXPECT_EQ(taken, 0) << skew << ": a live service's job taken\n" << qPrintable(logs);
    EXPECT_GT(doneByOne, 0) << skew;
    EXPECT_GT(doneByTwo, 0) << skew << ": the skewed machine did nothing";
    EXPECT_EQ(QDir(base + "/pdfs").entryList({"*.pdf"}, QDir::Files).size(), 200);
  }
}

// 2,000 jobs through two services, 20 of them hostile; every other hundred recognised (a page
// of text, image with hidden text), so that recognition's memory is in the figures too.
TEST(Soak, TwoThousandJobsWithHostileOnesMixedIn) {
  TempHub hub;
  const QString guard = hub.dir.filePath("guard");
  savePage(renderTextPage({"SOAKSECRET"}).image, guard + "/secret.png");
  ::chmod(QFile::encodeName(guard + "/secret.png").constData(), 0600);
  const QStringList arguments = hub.serviceArguments({"--jobs", "1", "--rescan", "1"});
  HubProcess one(arguments), two(arguments);
  const QString setup = hub.writeSetup("setup.json", {{"PageContent", "Image Only"},
                                                      {"Workflow", "PDF Image Only"},
                                                      {"Dictionary", ""},
                                                      {"PDFWaitForStatus", false}});
  const QString recognised =
      hub.writeSetup("recognised.json", {{"PageContent", "Searchable Image (Exact)"},
                                         {"Workflow", "Searchable Office"},
                                         {"PDFWaitForStatus", false}});
  // The hostile jobs: a copy of a sound job's folder, spoilt.
  const struct {
    const char* kind;
    std::function<void(const QString& dir)> spoil;
    const char* reason;
  } hostile[] = {
      {"link",
       [&](const QString& d) {
         QFile::remove(d + "/page-0001.tif");
         QFile::link(guard + "/secret.png", d + "/page-0001.tif");
       },
       "a symbolic link, not a file"},
      {"fifo",
       [](const QString& d) {
         QFile::remove(d + "/page-0001.tif");
         ::mkfifo(QFile::encodeName(d + "/page-0001.tif").constData(), 0600);
       },
       "not a regular file"},
      {"bomb",
       [](const QString& d) {
         QFile f(d + "/page-0001.tif");
         f.open(QIODevice::WriteOnly);
         f.write("P5\n60000 60000\n255\n" + QByteArray(64, '\0'));
       },
       "the image declares 60000 × 60000 pixels"},
      {"garbage", [](const QString& d) { writeFile(d + "/ticket.json", "{\"format\": "); },
       "the ticket is not JSON"},
      {"outside",
       [&](const QString& d) {
         QJsonObject t = readJson(d + "/ticket.json");
         t["pdf"] = guard + "/planted.pdf";
         writeFile(d + "/ticket.json", QJsonDocument(t).toJson());
       },
       "under no output root"},
  };
  std::map<QString, QString> expected;         // hostile job -> reason
  std::vector<std::pair<int, qint64>> memory;  // jobs finished, RSS of both services in KiB
  // The hostile jobs are released into a folder no service serves, spoilt there, and moved in.
  TempHub staging;
  const QString stagingSetup = staging.writeSetup("setup.json", {{"PageContent", "Image Only"},
                                                                 {"Workflow", "PDF Image Only"},
                                                                 {"Dictionary", ""},
                                                                 {"PDFWaitForStatus", false}});
  const QString one1 = smallBatch(staging, "Hostile", 1);
  QElapsedTimer clock;
  clock.start();
  const int rounds = 20, perRound = 99;  // 1,980 sound jobs and 20 hostile ones
  for (int round = 0; round < rounds; ++round) {
    const QString name = QStringLiteral("Soak%1").arg(round, 2, 10, QLatin1Char('0'));
    const bool text = round % 2 == 1;
    const ProgramRun run = runZanRelease({"--setup", text ? recognised : setup, "--batch",
                                          smallBatch(hub, name, perRound, text), "--out",
                                          hub.dir.filePath("r" + name), "--quiet"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    ASSERT_EQ(runZanRelease({"--setup", stagingSetup, "--batch", one1, "--out",
                             staging.dir.filePath("r" + name), "--quiet"})
                  .exitCode,
              0);
    const QString job = staging.waitingJobs().value(0);
    const QString dir = staging.watched + "/" + job + ".job";
    QJsonObject t = readJson(dir + "/ticket.json");
    t["pdf"] = hub.pdfs + "/" + job + ".pdf";
    writeFile(dir + "/ticket.json", QJsonDocument(t).toJson());
    const auto& h = hostile[round % std::size(hostile)];
    h.spoil(dir);
    ASSERT_EQ(::rename(QFile::encodeName(dir).constData(),
                       QFile::encodeName(hub.watched + "/" + job + ".job").constData()),
              0);
    expected[job] = QString::fromUtf8(h.reason);
    memory.push_back({static_cast<int>(hub.finishedJobs().size()),
                      residentKiB(one.pid()) + residentKiB(two.pid())});
  }
  const int total = rounds * (perRound + 1);
  while (hub.finishedJobs().size() < total && clock.elapsed() < 1800000) {
    QThread::msleep(1000);
    memory.push_back({static_cast<int>(hub.finishedJobs().size()),
                      residentKiB(one.pid()) + residentKiB(two.pid())});
  }
  const double seconds = clock.elapsed() / 1000.0;
  EXPECT_EQ(one.terminate(), 0);
  EXPECT_EQ(two.terminate(), 0);
  const QString logs = one.log() + two.log();
  int sound = 0, soundOnce = 0, refused = 0;
  for (const QString& job : hub.finishedJobs()) {
    const QJsonObject status = hub.status(job);
    const auto h = expected.find(job);
    if (h == expected.end()) {
      ++sound;
      soundOnce += status["status"].toString() == "done" &&
                   countOf(logs, "job " + QRegularExpression::escape(job) + ": .*, done: ") == 1;
    } else {
      refused += status["status"].toString() == "failed" &&
                 status["reason"].toString().contains(h->second);
      EXPECT_TRUE(status["reason"].toString().contains(h->second))
          << qPrintable(job) << ": " << qPrintable(status["reason"].toString());
    }
  }
  // Memory: after warm-up (the first fifth of the jobs), against the first sample after it.
  qint64 baseline = -1, highest = 0, lowest = 0;
  for (const auto& [finished, kib] : memory) {
    if (finished < total / 5 || kib <= 0) continue;
    if (baseline < 0) baseline = lowest = kib;
    highest = std::max(highest, kib);
    lowest = std::min(lowest, kib);
  }
  std::printf(
      "soak: %d jobs (%d sound, %zu hostile) in %.0f s; %d sound jobs done exactly once, "
      "%d hostile ones refused with their reason; resident memory of both services after "
      "warm-up %lld KiB, then %lld to %lld KiB (%+.1f %%)\n",
      total, sound, expected.size(), seconds, soundOnce, refused, static_cast<long long>(baseline),
      static_cast<long long>(lowest), static_cast<long long>(highest),
      baseline > 0 ? 100.0 * (highest - baseline) / baseline : 0.0);
  EXPECT_EQ(hub.finishedJobs().size(), total);
  EXPECT_EQ(soundOnce, total - static_cast<int>(expected.size()));
  EXPECT_EQ(refused, static_cast<int>(expected.size()));
  ASSERT_GT(baseline, 0);
  EXPECT_LE(highest, baseline * 110 / 100) << "memory grew after warm-up";
  EXPECT_GE(lowest, baseline * 90 / 100);
  EXPECT_FALSE(allBytes(hub.pdfs).contains("SOAKSECRET"));
}
