#include "settings/pdf_settings.h"

#include "external_support.h"

#include <gtest/gtest.h>

using namespace zan;
using zan::testing::field;

// Catches a missing, misnumbered or too lax rule of either engine, boundary values wrongly
// refused (0 and 100, 254 characters, "Image Only" with its own workflow, an empty dictionary,
// every allowed accuracy), the documented order not deciding between several faults, a message
// a user cannot read, and an unknown engine checked by one of the rule sets (or not at all).
TEST(PdfSettingsCheck, EveryRuleAndItsNumber) {
  using S = PdfSettings&;
  const QString kMissing = QStringLiteral("<Workgroup hub missing or invalid>");
  const QString tooLong(255, QLatin1Char('a'));
  const struct {
    const char* engine;  // "2": defaults, capture-only settings empty; others: hub, folder and
                         // workflow filled in
    const char* name;
    std::function<void(S)> breakIt;
    std::int32_t n;  // 0x80040000 + n; 0 accepted; -5 raises 5
  } rules[] = {
      {"3", "valid", [](S) {}, 0},
      {"3", "page content unknown", [](S s) { s.setPageContent("Text"); }, 525},
      {"3", "page content in other case", [](S s) { s.setPageContent("image only"); }, 525},
      {"3", "page content searchable", [](S s) { s.setPageContent("Searchable Image (Exact)"); },
       0},
      {"3", "language unknown", [](S s) { s.setCaptureLanguage("Klingon"); }, 513},
      {"3", "language Swiss German", [](S s) { s.setCaptureLanguage("Swiss German"); }, 0},
      {"3", "threshold -1", [](S s) { s.setConfidenceThreshold(-1); }, 515},
      {"3", "threshold 101", [](S s) { s.setConfidenceThreshold(101); }, 515},
      {"3", "threshold 0", [](S s) { s.setConfidenceThreshold(0); }, 0},
      {"3", "threshold 100", [](S s) { s.setConfidenceThreshold(100); }, 0},
      {"3", "title 255 characters", [&](S s) { s.TitleField().setFieldText(tooLong); }, 516},
      {"3", "title 254 characters", [&](S s) { s.TitleField().setFieldText(tooLong.left(254)); },
       0},
      {"3", "subject unknown type", [](S s) { s.SubjectField().setFieldType(3); }, 517},
      {"3", "author index link with a blank name",
       [](S s) { s.AuthorField() = field({}, kFieldIndexField, "  "); }, 518},
      {"3", "keywords batch link without name",
       [](S s) { s.KeywordsField() = field({}, kFieldBatchField, {}); }, 519},
      {"3", "keywords batch link named",
       [](S s) { s.KeywordsField() = field({}, kFieldBatchField, "Operator"); }, 0},
      {"3", "hub empty", [](S s) { s.setWorkgroupHub(QString()); }, 536},
      {"3", "hub blank", [](S s) { s.setWorkgroupHub(" \t "); }, 536},
      {"3", "watched folder empty", [](S s) { s.setWatchedFolder(QString()); }, 537},
      {"3", "watched folder blank", [](S s) { s.setWatchedFolder("   "); }, 537},
      {"3", "dictionary is the missing-hub entry", [&](S s) { s.setDictionary(kMissing); }, 526},
      {"3", "dictionary empty", [](S s) { s.setDictionary(QString()); }, 0},
      {"3", "workflow empty", [](S s) { s.setWorkflow(QString()); }, 540},
      {"3", "workflow is the missing-hub entry", [&](S s) { s.setWorkflow(kMissing); }, 541},
      {"3", "image only, other workflow", [](S s) { s.setPageContent("Image Only"); }, 542},
      {"3", "image only, its workflow",
       [](S s) { s.setPageContent("Image Only"), s.setWorkflow("PDF Image Only"); }, 0},
      {"3", "hub before threshold",
       [](S s) { s.setConfidenceThreshold(200), s.setWorkgroupHub({}); }, 536},
      {"3", "page content before language",
       [](S s) { s.setCaptureLanguage({}), s.setPageContent({}); }, 525},
      {"3", "title before keywords",
       [&](S s) { s.KeywordsField().setFieldType(9), s.TitleField().setFieldText(tooLong); }, 516},
      {"2", "valid", [](S) {}, 0},
      {"2", "format 0", [](S s) { s.setOutputFormatType(0); }, 0x200},
      {"2", "format 4", [](S s) { s.setOutputFormatType(4); }, 0x200},
      {"2", "format 1", [](S s) { s.setOutputFormatType(1); }, 0},
      {"2", "language 0", [](S s) { s.setOcrLanguage(0); }, 0x201},
      {"2", "language 9", [](S s) { s.setOcrLanguage(9); }, 0x201},
      {"2", "language 8", [](S s) { s.setOcrLanguage(8); }, 0},
      {"2", "accuracy 3", [](S s) { s.setAccuracy(3); }, 0x202},
      {"2", "accuracy 32", [](S s) { s.setAccuracy(32); }, 0x202},
      {"2", "accuracy 1", [](S s) { s.setAccuracy(1); }, 0},
      {"2", "accuracy 2", [](S s) { s.setAccuracy(2); }, 0},
      {"2", "accuracy 8", [](S s) { s.setAccuracy(8); }, 0},
      {"2", "accuracy 16", [](S s) { s.setAccuracy(16); }, 0},
      {"2", "threshold -1", [](S s) { s.setConfidenceThreshold(-1); }, 0x203},
      {"2", "threshold 101", [](S s) { s.setConfidenceThreshold(101); }, 0x203},
      {"2", "title too long", [&](S s) { s.TitleField().setFieldText(tooLong); }, 0x204},
      {"2", "subject unknown type", [](S s) { s.SubjectField().setFieldType(-1); }, 0x205},
      {"2", "author link without name", [](S s) { s.AuthorField().setFieldType(kFieldIndexField); },
       0x206},
      {"2", "keywords link without name",
       [](S s) { s.KeywordsField().setFieldType(kFieldBatchField); }, 0x207},
      {"2", "no orientation", [](S s) { s.setRotate0(false); }, 0x20C},
      {"2", "only 270", [](S s) { s.setRotate0(false), s.setRotate270(true); }, 0},
      {"2", "capture-only settings left empty", [](S s) { s.setPageContent(QString()); }, 0},
      {"", "no engine", [](S) {}, -5},
      {"1", "engine 1", [](S) {}, -5},
      {"4", "engine 4", [](S) {}, -5},
      {" 3", "engine with a blank", [](S) {}, -5},
  };
  for (const auto& r : rules) {
    SCOPED_TRACE(std::string(r.engine) + ": " + r.name);
    PdfSettings s;
    if (qstrcmp(r.engine, "2") != 0) {
      s.setWorkgroupHub(QStringLiteral("/srv/hub"));
      s.setWatchedFolder(QStringLiteral("/srv/watched"));
      s.setWorkflow(QStringLiteral("Archive Scans"));
    }
    s.setPdfEngine(QString::fromLatin1(r.engine));
    r.breakIt(s);
    const AutomationError e = zan::testing::failureOf([&] { s.CheckSettings(); });
    EXPECT_EQ(e.number, r.n == 0 ? 0 : r.n < 0 ? -r.n : kObjectErrorBase + r.n);
    if (r.n == 0) continue;
    EXPECT_EQ(e.source, QStringLiteral("PdfSettings.CheckSettings"));
    EXPECT_GT(e.description.size(), 20) << "the user needs a real message";
  }
}

// Catches settings saved for a hub that could not be opened or whose lists could not be read,
// or with a workflow or dictionary the hub does not offer; a rule that names neither the hub
// nor the value; blanks around a typed hub path taken for another hub; and the hub rules
// applied when no panel told the settings object what the hub offers.
TEST(PdfSettingsCheck, HubRulesFollowWhatTheHubOffered) {
  using O = HubOffer&;
  const struct {
    const char* name;
    std::function<void(O)> change;
    std::int32_t n;         // 0x80040000 + n; 0 accepted
    const char* mentioned;  // a text the message contains
  } cases[] = {
      {"offered", [](O) {}, 0, ""},
      {"opened with the blanks removed", [](O o) { o.path = "/srv/hub"; }, 0, ""},
      {"another hub searched", [](O o) { o.path = "/srv/old-hub"; }, 536, " /srv/hub "},
      {"unreachable", [](O o) { o.openStatus = kHubUnreachable; }, 536, "cannot be reached"},
      {"no hub", [](O o) { o.openStatus = kHubNotAHub; }, 536, "no workgroup hub"},
      {"open status 9", [](O o) { o.openStatus = 9; }, 536, "status 9"},
      {"workflows unread", [](O o) { o.workflowsStatus = kHubFailure; }, 541, "status 7"},
      {"workflow not offered", [](O o) { o.workflows = {"Invoices"}; }, 540, "Archive Scans"},
      {"dictionaries unread", [](O o) { o.dictionariesStatus = kHubFailure; }, 526, "status 7"},
      {"dictionary not offered", [](O o) { o.dictionaries = {"Legal"}; }, 526, "English"},
      {"dictionary in other case", [](O o) { o.dictionaries = {"english"}; }, 526, "English"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PdfSettings s;
    s.setPdfEngine(QStringLiteral("3"));
    s.setWorkgroupHub(QStringLiteral(" /srv/hub "));
    s.setWatchedFolder(QStringLiteral("/srv/watched"));
    s.setWorkflow(QStringLiteral("Archive Scans"));
    s.setDictionary(QStringLiteral("English"));
    HubOffer offer{
        QStringLiteral(" /srv/hub "),     kHubOk, kHubOk, kHubOk, {QStringLiteral("English")},
        {QStringLiteral("Archive Scans")}};
    c.change(offer);
    s.setHubOffer(offer);
    const AutomationError e = zan::testing::failureOf([&] { s.CheckSettings(); });
    EXPECT_EQ(e.number, c.n == 0 ? 0 : kObjectErrorBase + c.n);
    EXPECT_TRUE(e.description.contains(QString::fromLatin1(c.mentioned)))
        << e.description.toStdString();
    if (c.n == 0) continue;
    s.setHubOffer(std::nullopt);  // a settings object no panel drives
    EXPECT_NO_THROW(s.CheckSettings());
  }
  PdfSettings empty;
  empty.setPdfEngine(QStringLiteral("3"));
  empty.setWorkgroupHub(QStringLiteral("/srv/hub"));
  empty.setWatchedFolder(QStringLiteral("/srv/watched"));
  empty.setWorkflow(QStringLiteral("W"));
  empty.setHubOffer(HubOffer{QStringLiteral("/srv/hub"), kHubOk, kHubOk, kHubOk, {}, {"W"}});
  EXPECT_NO_THROW(empty.CheckSettings()) << "no dictionary chosen is allowed";
}
