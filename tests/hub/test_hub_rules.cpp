// The hub's rules without recognising a page: workflow files, how capture settings become
// release options, tickets, which machine a job is for, the moves of jobs through a watched
// folder, and which pages the compact encoding may reduce to one bit.
#include "hub/capture_settings.h"
#include "hub/hub_folder.h"
#include "hub/job_runner.h"
#include "hub/job_ticket.h"
#include "hub/service_claims.h"
#include "hub/watched_folder.h"
#include "hub/workflow.h"
#include "hub_support.h"
#include "release/page_image.h"
#include "release/release_error.h"
#include "settings/pdf_settings.h"
#include "test_pages.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QThread>

#include <sys/stat.h>
#include <sys/time.h>
#include <functional>
#include <memory>

using namespace zan::hub;
using zan::release::ReleaseError;
using zan::testing::writeFile;

namespace {

QString failureOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ReleaseError& e) {
    return e.message();
  }
  return {};
}

}  // namespace

TEST(Workflows, SampleHubWorkflowsAndBrokenFiles) {
  const QDir samples(QStringLiteral(ZAN_EXAMPLES_DIR "/hub/Workflows"));
  const auto sample = [&](const char* name) {
    QFile f(samples.filePath(QLatin1String(name) + QStringLiteral(".wfl")));
    f.open(QIODevice::ReadOnly);
    return parseWorkflow(QLatin1String(name), f.readAll());
  };
  const Workflow imageOnly = sample("PDF Image Only");
  EXPECT_FALSE(imageOnly.recognition) << "PDF Image Only reads its pages";
  const Workflow archive = sample("Archive Scans");
  EXPECT_TRUE(archive.recognition);
  EXPECT_EQ(archive.accuracy, 8);
  EXPECT_EQ(archive.imageQuality, 75);
  const Workflow office = sample("Searchable Office");
  EXPECT_EQ(office.accuracy, 4);

  const struct {
    const char* fault;
    QByteArray text;
    const char* problem;
  } broken[] = {
      {"an unknown key ignored", "# note\nResolution: 300\n", "line 2: unknown key \"Resolution\""},
      {"a line without a key read", "Description: x\njust words\n",
       "line 2: \"just words\" is not"},
      {"a quality above 100 accepted", "ImageQuality: 101", "ImageQuality must be a JPEG quality"},
      {"an accuracy level invented", "Accuracy: Perfect", "Accuracy must be Fastest, Fast"},
      {"a yes/no value guessed", "Recognition: maybe", "Recognition must be yes or no"},
      {"bytes that are no UTF-8 read", "Description: \xff\xfe", "not UTF-8"},
  };
  for (const auto& c : broken)
    EXPECT_TRUE(failureOf([&] { parseWorkflow("W", c.text); }).contains(QLatin1String(c.problem)))
        << c.fault << ": " << qPrintable(failureOf([&] { parseWorkflow("W", c.text); }));
  // Keys are matched without regard to case; values may carry blanks around them.
  EXPECT_EQ(parseWorkflow("W", "accuracy:  most accurate \n").accuracy, 16);
}

TEST(CaptureOptions, SettingsWorkflowAndDictionaryBecomeOptions) {
  using zan::release::ImageEncoding;
  using zan::release::PageContent;
  struct Case {
    const char* fault;
    std::function<void(CaptureSettings&, Workflow&)> set;
    std::function<bool(const zan::release::ReleaseOptions&)> check;
  };
  const Case cases[] = {
      {"Exact altered the image",
       [](auto& s, auto&) { s.pageContent = "Searchable Image (Exact)"; },
       [](const auto& o) {
         return o.content == PageContent::ImageWithHiddenText &&
                o.imageEncoding == ImageEncoding::Lossless;
       }},
      {"Compact not compact", [](auto& s, auto&) { s.pageContent = "Searchable Image (Compact)"; },
       [](const auto& o) {
         return o.content == PageContent::ImageWithHiddenText &&
                o.imageEncoding == ImageEncoding::Compact && o.compactDpi == 150;
       }},
      {"Formatted text without its pictures",
       [](auto& s, auto&) { s.pageContent = "Formatted Text & Graphics"; },
       [](const auto& o) { return o.content == PageContent::Text && o.keepPictures; }},
      {"Image Only recognised", [](auto& s, auto&) { s.pageContent = "Image Only"; },
       [](const auto& o) { return !o.recognises(); }},
      {"a workflow without recognition recognised",
       [](auto& s, Workflow& w) {
         s.pageContent = "Searchable Image (Exact)";
         w.recognition = false;
       },
       [](const auto& o) { return o.content == PageContent::Image; }},
      {"the workflow's accuracy ignored", [](auto&, Workflow& w) { w.accuracy = 16; },
       [](const auto& o) { return o.accuracy.level == 16 && o.accuracy.adaptiveSecondPass; }},
      {"pages turned without automatic rotation",
       [](auto& s, auto&) { s.autoPageRotation = false; },
       [](const auto& o) { return !o.detectsOrientation(); }},
      {"automatic rotation limited", [](auto& s, auto&) { s.autoPageRotation = true; },
       [](const auto& o) {
         return o.orientations == std::array<bool, 4>{true, true, true, true};
       }},
      {"thumbnails without the setting", [](auto& s, auto&) { s.createThumbnails = false; },
       [](const auto& o) { return o.thumbnailSize == 0; }},
      {"the workflow's thumbnail size ignored",
       [](auto& s, Workflow& w) {
         s.createThumbnails = true;
         w.thumbnailSize = 64;
       },
       [](const auto& o) { return o.thumbnailSize == 64; }},
      {"the advanced settings lost",
       [](auto& s, auto&) {
         s.embedFonts = false;
         s.enableLinks = s.enableStructure = s.mixedAlphaNumeric = s.numericOnly = true;
       },
       [](const auto& o) {
         return !o.embedFonts && o.links && o.tagged && o.suspects.mixedAlphaNumeric &&
                o.suspects.numericOnly && !o.suspects.mixedCases;
       }},
      {"the dictionary's words not known, or not handed to recognition", [](auto&, auto&) {},
       [](const auto& o) {
         return o.suspects.knownWords.contains("zorblatt") && o.userWordsFile == "/w/codes.words";
       }},
  };
  for (const Case& c : cases) {
    CaptureSettings settings;
    Workflow workflow;
    c.set(settings, workflow);
    const auto options =
        captureOptions(settings, workflow, {{QStringLiteral("Zorblatt")}, "/w/codes.words"});
    EXPECT_TRUE(c.check(options)) << c.fault;
  }
  CaptureSettings unknown;
  unknown.pageContent = QStringLiteral("Searchable Image");
  EXPECT_FALSE(failureOf([&] { captureOptions(unknown, {}, {}); }).isEmpty());
}

TEST(CaptureOptions, LanguagesAndTheSettingsCheck) {
  // A model and a tag of their own (Nynorsk shares Norwegian's model, not its tag).
  EXPECT_EQ(captureLanguage(QStringLiteral("Nynorsk")).model, QStringLiteral("nor"));
  EXPECT_EQ(captureLanguage(QStringLiteral("Nynorsk")).tag, QStringLiteral("nn-NO"));
  EXPECT_TRUE(failureOf([] {
                captureLanguage(QStringLiteral("english (us)"));
              }).contains(QLatin1String("unknown")));
  zan::PdfSettings settings;
  settings.setPdfEngine(QStringLiteral("3"));
  settings.setCaptureLanguage(QStringLiteral("Nynorsk"));
  settings.setWorkgroupHub(QStringLiteral("/hub"));
  settings.setWatchedFolder(QStringLiteral("/watched"));
  settings.setWorkflow(QStringLiteral("Archive Scans"));
  EXPECT_EQ(captureSettingsOf(settings).language, QStringLiteral("Nynorsk"));
  // What the settings refuse, the release refuses with their message.
  settings.setPageContent(QStringLiteral("Image Only"));
  EXPECT_TRUE(failureOf([&] {
                captureSettingsOf(settings);
              }).startsWith(QLatin1String("The page content \"Image Only\" needs the workflow")));
  // The check runs on a copy: it keeps what the hub offered, and the settings keep their engine.
  settings.setWorkflow(QStringLiteral("PDF Image Only"));
  settings.setEngine(zan::Engine::Ocr);
  zan::HubOffer offer;
  offer.path = QStringLiteral("/hub");
  offer.openStatus = offer.workflowsStatus = offer.dictionariesStatus = zan::kHubOk;
  offer.workflows = QStringList{QStringLiteral("Archive Scans")};
  settings.setHubOffer(offer);
  EXPECT_TRUE(failureOf([&] {
                captureSettingsOf(settings);
              }).contains(QLatin1String("offers no workflow \"PDF Image Only\"")));
  EXPECT_EQ(settings.engine(), zan::Engine::Ocr);
}

TEST(Tickets, RoundTripAndRefusals) {
  JobTicket t;
  t.job = QStringLiteral("Batch-9-0001");
  t.batch = QStringLiteral("Batch 9");
  t.document = 3;
  t.machine = QStringLiteral("scan1");
  t.pdf = QStringLiteral("/out/Batch-9-0001.pdf");
  t.pages = QStringList{"page-0001.tif", "page-0002.tif"};
  t.settings.pageContent = QStringLiteral("Image Only");
  t.settings.enableLinks = true;
  t.settings.confidenceThreshold = 42;
  t.information.title = QStringLiteral("Invoice Ä");
  const JobTicket back = parseTicket(ticketJson(t));
  EXPECT_EQ(ticketJson(back), ticketJson(t)) << "a field lost on the way";

  // The sound ticket with one field changed.
  const auto with = [&](const char* key, const QJsonValue& value) {
    QJsonObject o = QJsonDocument::fromJson(ticketJson(t)).object();
    o[key] = value;
    return QJsonDocument(o).toJson();
  };
  QJsonObject wrongType = captureSettingsJson(t.settings);
  wrongType["EmbedFonts"] = "yes";
  const struct {
    const char* fault;
    QByteArray json;
    const char* problem;
  } cases[] = {
      {"half a ticket read", "{\"job\": ", "the ticket is not JSON"},
      {"a foreign file taken for a ticket", "{\"job\": \"x\"}", "not of format \"zan-hub-job\""},
      {"a page path that leaves the job's folder followed",
       with("pages", QJsonArray{"../../etc/passwd"}), "no file name"},
      {"a ticket that has the service overwrite any file accepted",
       with("pdf", "/home/hub/.profile"), "no absolute path of a .pdf file"},
      {"a ticket without pages accepted", with("pages", QJsonArray{}), "lists no pages"},
      {"a setting of the wrong type accepted", with("settings", wrongType),
       "the setting EmbedFonts is of the wrong type"},
  };
  for (const auto& c : cases) {
    const QString problem = failureOf([&] { parseTicket(c.json); });
    EXPECT_TRUE(problem.contains(QLatin1String(c.problem)))
        << c.fault << ": " << qPrintable(problem);
  }
}

TEST(Machines, JobsGoToTheirMachine) {
  const struct {
    const char* ticket;
    const char* service;
    bool mine;
  } cases[] = {{"", "scan1", true},
               {"scan1", "SCAN1", true},
               {"scan1", "scan1.example.org", true},
               {"scan1.example.org", "scan1", true},
               {"scan1.example.org", "scan1.other.org", false},
               {"scan2", "scan1", false},
               {"scan", "scan1", false}};
  for (const auto& c : cases)
    EXPECT_EQ(JobRunner::isFor(QLatin1String(c.ticket), QLatin1String(c.service)), c.mine)
        << c.ticket << " for " << c.service;
}

TEST(HubFolders, NamesAsThePanelListsThemAndWatchedFolderRecords) {
  QTemporaryDir dir;
  const QDir d(dir.path());
  EXPECT_TRUE(
      failureOf([&] { HubFolder h(dir.path()); }).contains(QLatin1String("is no workgroup hub")));
  writeFile(d.filePath("Workflows/Night.Shift.wfl"), "Accuracy: Fast\n");
  writeFile(d.filePath("Workflows/Zeta.wfl"), "Accuracy: Broken\n");
  writeFile(d.filePath("Dictionaries/Codes.dic"), "# codes\n  Zorblatt \nAB12 CD34\n\n");
  writeFile(d.filePath("Dictionaries/Latin1.dic"), "caf\xe9\n");
  const HubFolder hub(dir.path());
  EXPECT_EQ(hub.workflow(QStringLiteral("Night")).accuracy, 2)
      << "the panel shows Night.Shift as Night";
  EXPECT_TRUE(failureOf([&] {
                hub.workflow(QStringLiteral("Night.Shift"));
              }).contains(QLatin1String("has no workflow \"Night.Shift\"")));
  EXPECT_TRUE(failureOf([&] {
                hub.workflow(QStringLiteral("Zeta"));
              }).contains(QLatin1String("Zeta.wfl: workflow line 1")));
  EXPECT_EQ(hub.dictionaryWords(QStringLiteral("Codes")),
            QStringList({"Zorblatt", "AB12", "CD34"}));
  EXPECT_TRUE(failureOf([&] {
                hub.dictionaryWords(QStringLiteral("Latin1"));
              }).contains(QLatin1String("not UTF-8")));

  EXPECT_TRUE(hub.watchedFolders().isEmpty());
  hub.registerWatchedFolder(QStringLiteral("/srv/watched/ä"));
  hub.registerWatchedFolder(QStringLiteral("/srv/watched/ä"));
  hub.registerWatchedFolder(QStringLiteral("/srv/other"));
  QStringList folders = hub.watchedFolders();
  folders.sort();
  EXPECT_EQ(folders, QStringList({"/srv/other", "/srv/watched/ä"}));
}

TEST(WatchedFolders, JobsMoveOnlyAsAWholeAndOnlyOnce) {
  QTemporaryDir dir;
  const WatchedFolder folder(dir.path());
  JobTicket ticket;
  ticket.job = QStringLiteral("B-0001");
  ticket.pdf = QStringLiteral("/out/B-0001.pdf");
  const auto onePage = [](int, const QString& staging) {
    writeFile(staging + "/page-0001.png", "x");
    return QStringList{"page-0001.png"};
  };
  const auto claims = [&](const char* service) {
    return std::make_unique<ServiceClaims>(zan::release::openFolder(dir.path()), dir.path(),
                                           QLatin1String(service));
  };

  // A release that fails halfway leaves nothing, not even a hidden folder.
  EXPECT_THROW(folder.submit(ticket,
                             [](int, const QString&) -> QStringList {
                               throw ReleaseError(QStringLiteral("disk full"));
                             }),
               ReleaseError);
  EXPECT_TRUE(
      QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
  auto a = claims("a");
  auto b = claims("b");
  // A job without its ticket is not yet a job.
  QDir().mkpath(dir.filePath("B-0000.job"));
  EXPECT_TRUE(a->waitingJobs().isEmpty());
  folder.submit(ticket, onePage);
  EXPECT_EQ(a->waitingJobs(), QStringList{"B-0001"});
  EXPECT_EQ(parseTicket(a->waitingTicket("B-0001")).pages, QStringList{"page-0001.png"});

  // Two services race for the job: one gets it.
  ASSERT_TRUE(a->beat() && b->beat());
  EXPECT_TRUE(a->claim("B-0001"));
  EXPECT_FALSE(b->claim("B-0001")) << "a job claimed twice";
  EXPECT_TRUE(a->waitingJobs().isEmpty());
  // A living service's job stays its own, also when its machine's clock is half an hour behind
  // and stamped its heartbeat with that time.
  zan::testing::setModifiedAgo(dir.filePath(".zan-hub/services/a/heartbeat"), 1800);
  ASSERT_TRUE(b->beat());
  EXPECT_TRUE(b->takeOverStale(60, nullptr).isEmpty()) << "a skewed clock's live job taken";
  // Withdrawn while claimed: the service can no longer publish it.
  EXPECT_TRUE(folder.withdraw("B-0001"));
  EXPECT_FALSE(a->startPublishing("B-0001")) << "a withdrawn job published";
  EXPECT_FALSE(folder.withdraw("B-0001"));

  // A service whose heartbeat has stopped loses its jobs, also one it was publishing; one it
  // marked published moves to the service that takes over.
  for (const char* job : {"B-0001", "B-0002", "B-0003"}) {
    ticket.job = QLatin1String(job);
    folder.submit(ticket, onePage);
  }
  ASSERT_TRUE(a->claim("B-0001") && a->claim("B-0002") && a->startPublishing("B-0002"));
  ASSERT_TRUE(a->claim("B-0003") && a->startPublishing("B-0003") && a->markPublished("B-0003"));
  QThread::msleep(1200);  // the heartbeats' change times, from the file system's clock
  ASSERT_TRUE(b->beat());
  EXPECT_TRUE(b->takeOverStale(60, nullptr).isEmpty()) << "taken over before the time";
  QStringList published;
  QStringList back = b->takeOverStale(1, &published);
  back.sort();
  EXPECT_EQ(back, QStringList({"B-0001", "B-0002"}));
  EXPECT_EQ(published, QStringList{"B-0003"});
  EXPECT_EQ(b->waitingJobs(), QStringList({"B-0001", "B-0002"}));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath(".zan-hub/services/a"))) << "the dead service left";
  EXPECT_FALSE(a->startPublishing("B-0001")) << "a job taken over published by its old service";

  // Put back and finished.
  ASSERT_TRUE(b->claim("B-0001"));
  EXPECT_TRUE(b->putBack("B-0001"));
  EXPECT_EQ(b->waitingJobs(), QStringList({"B-0001", "B-0002"}));
  ASSERT_TRUE(b->claim("B-0001") && b->startPublishing("B-0001"));
  EXPECT_FALSE(folder.withdraw("B-0001")) << "a job being published withdrawn";
  JobStatus status;
  status.job = QStringLiteral("B-0001");
  status.done = true;
  status.pdf = QStringLiteral("/out/B-0001.pdf");
  b->writeStatus(status);
  b->finish("B-0001", kPublishingSuffix);
  b->finish("B-0003", kPublishedSuffix);
  b->leave();
  EXPECT_TRUE(folder.status("B-0001")->done);
  EXPECT_FALSE(folder.status("B-0002").has_value());
  EXPECT_FALSE(QFileInfo::exists(dir.filePath(".zan-hub/services/b")));
  writeFile(dir.filePath(".zan-hub/status/B-0002.json"), "{");
  EXPECT_TRUE(folder.status("B-0002")->reason.contains(QLatin1String("cannot be used")));
}

TEST(CompactImages, OnlyInkOnPaperBecomesOneBit) {
  using namespace zan::testing;
  QTemporaryDir dir;
  const auto pixOf = [&](const QImage& image, const char* name) {
    const QString path = dir.filePath(QLatin1String(name));
    savePage(image, path);
    return zan::release::readPage(path, 0);
  };
  TestPage text = renderTextPage(sampleLines(0));
  TestPage photo = renderTextPage(sampleLines(1).mid(0, 2));
  drawPicture(photo.image, QRect(300, 700, 900, 700));
  QImage colour = text.image.convertToFormat(QImage::Format_RGB32);
  for (int y = 1000; y < 1400; ++y)
    for (int x = 200; x < 1400; ++x) colour.setPixel(x, y, qRgb(200, 40, 40));
  const struct {
    const char* fault;
    QImage image;
    bool bitonal;
  } cases[] = {{"grey scan of text kept in grey", text.image, true},
               {"photograph reduced to one bit", photo.image, false},
               {"colour reduced to one bit", colour, false},
               {"bitonal scan not bitonal", text.image.convertToFormat(QImage::Format_Mono), true}};
  for (const auto& c : cases)
    EXPECT_EQ(zan::release::looksBitonal(pixOf(c.image, "page.png").get()), c.bitonal) << c.fault;
}
