// A hub shared with a hostile submitter: the service runs as root (and as its own user), the
// submitter is nobody and may write the watched folder and the hub's records. Beside them lies a
// guard folder only root may read, holding a secret, an important PDF and a settings file; each
// test checks the real effect: the secret is in no output, the guard folder's digest is the
// same before and after, a FIFO fails its job at once, and the service still stops on SIGTERM.
#include "hub/job_ticket.h"
#include "hub_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>

#include <sys/stat.h>
#include <unistd.h>

using namespace zan::testing;

namespace {

const QByteArray kSecret = "TOPSECRET-7Q4Z";

// How the service runs.
enum class RunsAs { Root, OwnUser };

// The sandbox: a hub whose record folder anyone may write, a watched folder, a PDF folder (the
// service's output root), and the guard folder.
struct Sandbox {
  explicit Sandbox(RunsAs as = RunsAs::Root) : as(as) {
    ::chmod(QFile::encodeName(hub.dir.path()).constData(), 0755);
    guard = hub.dir.filePath("rootonly");
    writeFile(guard + "/secret.txt", kSecret + "\n");
    writeFile(guard + "/important.pdf", "%PDF-1.4 important\n");
    writeFile(guard + "/conf/settings.json", "{\"keep\": true}\n");
    savePage(renderTextPage({QString::fromLatin1(kSecret)}).image, guard + "/secret.png");
    for (const char* f : {"/secret.txt", "/important.pdf", "/conf/settings.json", "/secret.png"})
      ::chmod(QFile::encodeName(guard + f).constData(), 0600);
    ::chmod(QFile::encodeName(guard).constData(), 0700);
    QDir().mkpath(hub.hub + "/WatchedFolders");
    ::chmod(QFile::encodeName(hub.hub + "/WatchedFolders").constData(), 01777);
    // The watched folder belongs to the service; submitters may add to it, not take from it.
    const unsigned owner = as == RunsAs::Root ? 0 : kServiceUser;
    giveTo(hub.watched, owner, kServiceUser);
    ::chmod(QFile::encodeName(hub.watched).constData(), as == RunsAs::Root ? 01777 : 03770);
    giveTo(hub.pdfs, owner, kServiceUser);
    ::chmod(QFile::encodeName(hub.pdfs).constData(), 02775);
    savePage(renderTextPage(sampleLines(0).mid(0, 1)).image, hub.dir.filePath("page.png"));
    record(hub.watched);
    guardDigest = treeDigest(guard);
  }

  // Registers a watched folder in the hub, as a release does.
  void record(const QString& folder) const {
    writeFile(hub.hub + "/WatchedFolders/" + QString::number(qHash(folder), 16) + ".folder",
              folder.toUtf8() + "\n");
  }

  // A job of the submitter in `folder`: one page, an image-only ticket whose PDF goes to the
  // PDF folder.
  QString job(const QString& name, const QString& folder = QString()) const {
    const QString dir = (folder.isEmpty() ? hub.watched : folder) + "/" + name + ".job";
    QDir().mkpath(dir);
    QFile::copy(hub.dir.filePath("page.png"), dir + "/page-0001.png");
    zan::hub::JobTicket ticket;
    ticket.job = name;
    ticket.batch = "Hostile";
    ticket.document = 1;
    ticket.pdf = hub.pdfs + "/" + name + ".pdf";
    ticket.pages = QStringList{"page-0001.png"};
    ticket.settings.pageContent = "Image Only";
    ticket.settings.workflow = "PDF Image Only";
    ticket.settings.autoPageRotation = false;
    writeFile(dir + "/ticket.json", zan::hub::ticketJson(ticket));
    giveTo(dir, kSubmitter, kServiceUser);
    ::chmod(QFile::encodeName(dir).constData(), 02775);
    return dir;
  }

  QStringList serviceArguments(const QStringList& more = {}) const {
    return hub.serviceArguments(more);
  }
  QStringList wrapper() const { return as == RunsAs::Root ? QStringList() : asServiceUser(); }
  // zan-hub --once over what waits now; its log.
  QString runOnce(int* exitCode = nullptr, int ms = 60000) const {
    HubProcess once(serviceArguments({"--once", "--jobs", "2"}), {}, false, wrapper());
    const int code = once.wait(ms);
    if (exitCode) *exitCode = code;
    return once.log();
  }
  QString reason(const QString& job) const {
    return hub.status(job)[QStringLiteral("status")].toString() + QStringLiteral(": ") +
           hub.status(job)[QStringLiteral("reason")].toString();
  }
  // Fails the test unless `job` was done (`reason` nullptr) or failed saying `reason`.
  void expectOutcome(const char* fault, const char* job, const char* reason) const {
    const QString said = this->reason(QLatin1String(job));
    EXPECT_TRUE(reason ? said.startsWith("failed") && said.contains(QLatin1String(reason))
                       : said.startsWith("done"))
        << fault << ": " << qPrintable(said);
  }
  // Replaces the page of the job in `dir` by a FIFO.
  static void fifoPage(const QString& dir) {
    QFile::remove(dir + "/page-0001.png");
    ::mkfifo(QFile::encodeName(dir + "/page-0001.png").constData(), 0666);
  }
  bool guardUnchanged() const { return treeDigest(guard) == guardDigest; }
  // The text of every PDF made.
  QString pdfText() const {
    QString text;
    for (const QString& pdf : QDir(hub.pdfs).entryList({"*.pdf"}, QDir::Files))
      for (const PdfPage& page : pdfWords(hub.pdfs + "/" + pdf))
        for (const PdfWord& w : page.words) text += w.text + ' ';
    return text;
  }

  RunsAs as;
  TempHub hub;
  QString guard;
  QByteArray guardDigest;
};

class Holes : public ::testing::TestWithParam<RunsAs> {
 protected:
  void SetUp() override {
    const QString why = whyNoUsers();
    if (!why.isEmpty()) GTEST_SKIP() << qPrintable(why);
  }
};

}  // namespace

// Pages that are links (to a secret, or to nothing: the same answer), a FIFO, a ticket that is a
// FIFO, a hard link to root's file and a page of another user fail their jobs at once with a
// reason that tells nothing of the outside; the secret is in no PDF, status or log. Tickets that
// name PDFs outside the output root (a folder only root may write, a new folder there, a path
// that climbs out with "..", root's own important.pdf), below it through a link the submitter
// planted, or over a file that is there fail with their reason, and the guard folder stays as it
// was. Sound jobs beside them are done.
TEST_P(Holes, JobsReadOnlyTheirOwnPagesAndWriteOnlyBelowTheOutputRoots) {
  Sandbox s(GetParam());
  const QString pub = s.hub.pdfs + "/pub";
  QDir().mkpath(pub);
  ::chmod(QFile::encodeName(pub).constData(), 01777);
  ASSERT_EQ(asSubmitter(QStringLiteral("ln -s '%1' '%2/link'").arg(s.guard, pub)), 0);
  writeFile(pub + "/taken.pdf", "%PDF-1.4 someone's\n");
  giveTo(pub + "/taken.pdf", kSubmitter, kSubmitter);
  const QByteArray pubDigest = treeDigest(pub);
  // Edits the ticket in a job's folder.
  const auto edit = [](const QString& d, const std::function<void(QJsonObject&)>& change) {
    QJsonObject t = readJson(d + "/ticket.json");
    change(t);
    writeFile(d + "/ticket.json", QJsonDocument(t).toJson());
  };
  const auto pdfAt = [&](const QString& pdf) {
    return [&, pdf](const QString& d) { edit(d, [&](QJsonObject& t) { t["pdf"] = pdf; }); };
  };
  const struct {
    const char* fault;
    const char* job;
    std::function<void(const QString& dir)> spoil;
    const char* reason;  // nullptr: done
  } cases[] = {
      {"a linked page followed to a secret", "LinkToSecret",
       [&](const QString& d) {
         QFile::remove(d + "/page-0001.png");
         QFile::link(s.guard + "/secret.png", d + "/page-0001.png");
         // Recognised, the secret would be the PDF's text.
         edit(d, [](QJsonObject& t) {
           QJsonObject settings = t["settings"].toObject();
           settings["PageContent"] = "Searchable Image (Exact)";
           settings["Workflow"] = "Searchable Office";
           t["settings"] = settings;
         });
       },
       "failed: page 1 (page-0001.png): a symbolic link, not a file"},
      {"a linked page to nothing answered otherwise (an oracle)", "LinkToNothing",
       [&](const QString& d) {
         QFile::remove(d + "/page-0001.png");
         QFile::link(s.guard + "/no-such.png", d + "/page-0001.png");
       },
       "failed: page 1 (page-0001.png): a symbolic link, not a file"},
      {"a FIFO page waited on", "FifoPage", Sandbox::fifoPage,
       "failed: page 1 (page-0001.png): not a regular file"},
      {"a FIFO ticket waited on", "FifoTicket",
       [](const QString& d) {
         QFile::remove(d + "/ticket.json");
         ::mkfifo(QFile::encodeName(d + "/ticket.json").constData(), 0666);
       },
       "failed: the ticket cannot be read: not a regular file"},
      {"a hard link to root's secret read", "HardLink",
       [&](const QString& d) {
         QFile::remove(d + "/page-0001.png");
         ::link(QFile::encodeName(s.guard + "/secret.png").constData(),
                QFile::encodeName(d + "/page-0001.png").constData());
       },
       "failed: page 1 (page-0001.png): "},
      {"another user's page read", "OthersPage",
       [](const QString& d) {
         ::lchown(QFile::encodeName(d + "/page-0001.png").constData(), 0, 0);
       },
       "failed: page 1 (page-0001.png): owned by another user"},
      {"a sound job beside them not done", "Sound", [](const QString&) {}, nullptr},
      {"a PDF planted in root's folder", "Planted", pdfAt(s.guard + "/planted.pdf"),
       "under no output root"},
      {"folders created in root's folder", "Deeper", pdfAt(s.guard + "/new/deeper/x.pdf"),
       "under no output root"},
      {"a path climbing out with ..", "Dots", pdfAt(pub + "/../../rootonly/dots.PDF"),
       "under no output root"},
      {"root's important.pdf replaced", "Important", pdfAt(s.guard + "/important.pdf"),
       "under no output root"},
      {"a link below the root followed", "Linked", pdfAt(pub + "/link/linked.pdf"),
       "reached through a symbolic link"},
      {"a file that is there replaced", "Taken", pdfAt(pub + "/taken.pdf"), "exists already"},
      {"a sound job below the root not done", "Below", pdfAt(pub + "/new/Below.pdf"), nullptr},
  };
  for (const auto& c : cases) c.spoil(s.job(QLatin1String(c.job)));
  int exitCode = -1;
  QElapsedTimer clock;
  clock.start();
  const QString log = s.runOnce(&exitCode);
  EXPECT_EQ(exitCode, 0) << "the service hung or failed\n" << qPrintable(log);
  EXPECT_LT(clock.elapsed(), 30000) << "a job waited on its page";
  for (const auto& c : cases) s.expectOutcome(c.fault, c.job, c.reason);
  EXPECT_FALSE(s.pdfText().contains(QLatin1String(kSecret))) << "the secret is in a PDF";
  EXPECT_EQ(QDir(s.hub.pdfs).entryList({"*.pdf"}, QDir::Files), QStringList{"Sound.pdf"});
  const QByteArray out = allBytes(s.hub.pdfs) + allBytes(s.hub.watched) + log.toUtf8();
  EXPECT_FALSE(out.contains(kSecret)) << "the secret leaked";
  EXPECT_TRUE(s.guardUnchanged()) << "a file outside the output root changed";
  EXPECT_TRUE(QFileInfo::exists(pub + "/new/Below.pdf"));
  QFile::remove(pub + "/new/Below.pdf");
  QDir(pub).rmdir("new");
  EXPECT_EQ(treeDigest(pub), pubDigest) << "a file below the root replaced";
}

// A state folder the submitter made (as a link to root's folder, with its status folder a link,
// as a folder of the submitter's, as a file) makes the service refuse that watched folder,
// loudly, and touch nothing there or in the guard folder. Hub records that name a folder outside
// every watched root (root's own folder, holding a job) or one below the root through a link
// are not served either: both are said in the log, nothing is made in them. A job folder that
// is a link is no job: the folder it points to is neither taken nor emptied. Links inside a job
// are removed with it, never followed. The submitter cannot move the services' folders.
TEST_P(Holes, FoldersAreNeverFollowed) {
  Sandbox s(GetParam());
  const struct {
    const char* fault;
    const char* plant;  // run by the submitter in the watched folder
  } cases[] = {
      {"a state folder that is a link followed", "ln -s \"$GUARD\" .zan-hub"},
      {"a status folder that is a link followed",
       "mkdir -p .zan-hub/services && ln -s \"$GUARD/conf\" .zan-hub/status"},
      {"a state folder of the submitter's used", "mkdir -p .zan-hub/services .zan-hub/status"},
      {"a state folder that is a file used", "echo x > .zan-hub"},
  };
  // Each folder refused or not served, what the log says of it, and its digest.
  struct Refused {
    const char* fault;
    QString folder, says;
    QByteArray digest;
  };
  std::vector<Refused> refused;
  for (const auto& c : cases) {
    const QString folder = s.hub.watched + QStringLiteral("/w%1").arg(refused.size());
    QDir().mkpath(folder);
    giveTo(folder, kSubmitter, kServiceUser);
    ::chmod(QFile::encodeName(folder).constData(), 02777);
    ASSERT_EQ(asSubmitter(QStringLiteral("cd '%1' && GUARD='%2' && %3")
                              .arg(folder, s.guard, QLatin1String(c.plant))),
              0);
    s.job(QStringLiteral("Waiting"), folder);
    s.record(folder);
    refused.push_back({c.fault, folder, "is refused and left untouched", treeDigest(folder)});
  }
  const QString outside = s.hub.dir.filePath("outside"), link = s.hub.watched + "/link";
  QDir().mkpath(outside);
  ::chmod(QFile::encodeName(outside).constData(), 0777);
  s.job("Outside", outside);
  ASSERT_EQ(asSubmitter(QStringLiteral("ln -s '%1' '%2'").arg(outside, link)), 0);
  s.record(outside);
  s.record(link);
  refused.push_back({"a folder outside the roots served", outside,
                     "is not served: it is under no watched root", treeDigest(outside)});
  refused.push_back({"a folder reached through a link served", link,
                     "is not served: it is reached through a symbolic link", treeDigest(link)});
  // Another user's folder that happens to look like a job, linked into the watched folder.
  const QString target = s.job("Victim", s.hub.dir.filePath("elsewhere"))
                             .replace(QStringLiteral("/Victim.job"), QString());
  writeFile(target + "/Victim.job/keep.txt", "keep\n");
  giveTo(target, 0, 0);
  ::chmod(QFile::encodeName(target).constData(), 0755);
  const QByteArray victim = treeDigest(target);
  ASSERT_EQ(asSubmitter(
                QStringLiteral("ln -s '%1/Victim.job' '%2/Linked.job'").arg(target, s.hub.watched)),
            0);
  const QString inside = s.job("Inside");
  QFile::link(s.guard, inside + "/guard");
  QFile::link(target, inside + "/victim");
  giveTo(inside, kSubmitter, kServiceUser);
  const QString log = s.runOnce();
  for (const Refused& r : refused) {
    EXPECT_TRUE(log.contains("the watched folder " + r.folder + " " + r.says))
        << r.fault << "\n"
        << qPrintable(log);
    EXPECT_EQ(treeDigest(r.folder), r.digest) << r.fault << ": the folder was touched";
  }
  EXPECT_TRUE(s.guardUnchanged()) << "root's folder was written through a planted link";
  EXPECT_TRUE(s.reason("Inside").startsWith("done")) << qPrintable(s.reason("Inside"));
  EXPECT_TRUE(QFileInfo(s.hub.watched + "/Linked.job").isSymLink()) << "a linked job taken";
  EXPECT_EQ(treeDigest(target), victim) << "a linked folder emptied";
  EXPECT_NE(asSubmitter(QStringLiteral("cd '%1' && mv .zan-hub/services .zan-hub/gone && mkdir "
                                       ".zan-hub/services")
                            .arg(s.hub.watched)),
            0)
      << "the submitter moved the services' folder";
}

// Three FIFO jobs in a running service: each fails at once, a later job is done, and SIGTERM
// still ends the service.
TEST_P(Holes, FifoJobsNeitherFreezeNorKeepTheServiceFromStopping) {
  Sandbox s(GetParam());
  HubProcess service(s.serviceArguments({"--jobs", "2", "--rescan", "0.3"}), {}, false,
                     s.wrapper());
  for (const char* name : {"Fifo1", "Fifo2", "Fifo3"})
    Sandbox::fifoPage(s.job(QLatin1String(name)));
  EXPECT_TRUE(waitFor([&] { return s.hub.finishedJobs().size() == 3; }, 20000))
      << "the FIFO jobs got no status\n"
      << qPrintable(service.log());
  s.job("Later");
  EXPECT_TRUE(waitFor([&] { return s.reason("Later").startsWith("done"); }, 20000))
      << "a later job got no status";
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(service.terminate(), 0) << qPrintable(service.log());
  EXPECT_LT(clock.elapsed(), 35000) << "SIGTERM did not end the service in time";
}

// PDFs and statuses take the service's umask: under umask 077 nobody else may read them.
TEST_P(Holes, FilesFollowTheServicesUmask) {
  Sandbox s(GetParam());
  s.job("Private");
  QStringList wrapper = s.wrapper();
  wrapper << "sh"
          << "-c"
          << "umask 077; exec \"$0\" \"$@\"";
  HubProcess once(s.serviceArguments({"--once"}), {}, false, wrapper);
  ASSERT_EQ(once.wait(60000), 0) << qPrintable(once.log());
  ASSERT_TRUE(s.reason("Private").startsWith("done")) << qPrintable(s.reason("Private"));
  for (const QString& file :
       {s.hub.pdfs + "/Private.pdf", s.hub.watched + "/.zan-hub/status/Private.json"}) {
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0) << qPrintable(file);
    EXPECT_EQ(st.st_mode & 0077, 0u)
        << qPrintable(file) << " is mode " << std::oct << (st.st_mode & 0777);
  }
}

INSTANTIATE_TEST_SUITE_P(Service, Holes, ::testing::Values(RunsAs::Root, RunsAs::OwnUser),
                         [](const auto& info) {
                           return info.param == RunsAs::Root ? std::string("AsRoot")
                                                             : std::string("AsItsOwnUser");
                         });
