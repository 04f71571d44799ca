#include "common/automation_error.h"
#include "external/pdf_settings.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zan;

namespace {

const QString kMissing = QStringLiteral("<Workgroup hub missing or invalid>");

// Defaults plus what the Acrobat Capture rules need filled in.
void makeCaptureValid(PdfSettings& s) {
  s.setPdfEngine(QStringLiteral("3"));
  s.setWorkgroupHub(QStringLiteral("/srv/hub"));
  s.setWatchedFolder(QStringLiteral("/srv/watched"));
  s.setWorkflow(QStringLiteral("Archive Scans"));
}

// The number CheckSettings raises, 0 when it accepts; checks source and description too.
std::int32_t checkResult(PdfSettings& s) {
  try {
    s.CheckSettings();
  } catch (const AutomationException& e) {
    EXPECT_EQ(e.error().source, QStringLiteral("PdfSettings.CheckSettings"));
    EXPECT_GT(e.error().description.size(), 20) << "the user needs a real message";
    return e.error().number;
  }
  return 0;
}

struct Rule {
  const char* name;
  std::function<void(PdfSettings&)> breakIt;
  std::int32_t n;  // 0: accepted
};

void runRules(const char* engine, const std::function<void(PdfSettings&)>& baseline,
              const std::vector<Rule>& rules) {
  for (const Rule& r : rules) {
    SCOPED_TRACE(std::string(engine) + ": " + r.name);
    PdfSettings s;
    baseline(s);
    r.breakIt(s);
    EXPECT_EQ(checkResult(s), r.n == 0 ? 0 : kObjectErrorBase + r.n);
  }
}

DocInfoField field(const QString& text, std::int32_t type, const QString& name) {
  DocInfoField f;
  f.setFieldText(text);
  f.setFieldType(type);
  f.setFieldName(name);
  return f;
}

}  // namespace

// Catches a missing, misnumbered or too lax Acrobat Capture rule, and boundary values wrongly
// refused (0 and 100, 254 characters, "Image Only" with its own workflow, an empty dictionary).
TEST(PdfSettingsCheck, CaptureRulesAndNumbers) {
  const QString tooLong(255, QLatin1Char('a'));
  runRules(
      "3", makeCaptureValid,
      {
          {"defaults with hub, folder and workflow", [](PdfSettings&) {}, 0},
          {"page content unknown", [](PdfSettings& s) { s.setPageContent(QStringLiteral("Text")); },
           525},
          {"page content other case",
           [](PdfSettings& s) { s.setPageContent(QStringLiteral("image only")); }, 525},
          {"page content searchable exact",
           [](PdfSettings& s) { s.setPageContent(QStringLiteral("Searchable Image (Exact)")); }, 0},
          {"language unknown",
           [](PdfSettings& s) { s.setCaptureLanguage(QStringLiteral("Klingon")); }, 513},
          {"language empty", [](PdfSettings& s) { s.setCaptureLanguage(QString()); }, 513},
          {"language Swiss German",
           [](PdfSettings& s) { s.setCaptureLanguage(QStringLiteral("Swiss German")); }, 0},
          {"threshold -1", [](PdfSettings& s) { s.setConfidenceThreshold(-1); }, 515},
          {"threshold 101", [](PdfSettings& s) { s.setConfidenceThreshold(101); }, 515},
          {"threshold 0", [](PdfSettings& s) { s.setConfidenceThreshold(0); }, 0},
          {"threshold 100", [](PdfSettings& s) { s.setConfidenceThreshold(100); }, 0},
          {"title 255 characters", [&](PdfSettings& s) { s.TitleField().setFieldText(tooLong); },
           516},
          {"title 254 characters",
           [&](PdfSettings& s) { s.TitleField().setFieldText(tooLong.left(254)); }, 0},
          {"subject unknown type", [](PdfSettings& s) { s.SubjectField().setFieldType(3); }, 517},
          {"author index link without name",
           [](PdfSettings& s) {
             s.AuthorField() = field({}, kFieldIndexField, QStringLiteral("  "));
           },
           518},
          {"keywords batch link without name",
           [](PdfSettings& s) { s.KeywordsField() = field({}, kFieldBatchField, {}); }, 519},
          {"keywords batch link named",
           [](PdfSettings& s) {
             s.KeywordsField() = field({}, kFieldBatchField, QStringLiteral("Operator"));
           },
           0},
          {"hub empty", [](PdfSettings& s) { s.setWorkgroupHub(QString()); }, 536},
          {"hub blank", [](PdfSettings& s) { s.setWorkgroupHub(QStringLiteral(" \t ")); }, 536},
          {"watched folder empty", [](PdfSettings& s) { s.setWatchedFolder(QString()); }, 537},
          {"watched folder blank",
           [](PdfSettings& s) { s.setWatchedFolder(QStringLiteral("   ")); }, 537},
          {"dictionary is the missing-hub entry",
           [&](PdfSettings& s) { s.setDictionary(kMissing); }, 526},
          {"dictionary empty", [](PdfSettings& s) { s.setDictionary(QString()); }, 0},
          {"workflow empty", [](PdfSettings& s) { s.setWorkflow(QString()); }, 540},
          {"workflow is the missing-hub entry", [&](PdfSettings& s) { s.setWorkflow(kMissing); },
           541},
          {"image only with another workflow",
           [](PdfSettings& s) { s.setPageContent(QStringLiteral("Image Only")); }, 542},
          {"image only with its workflow",
           [](PdfSettings& s) {
             s.setPageContent(QStringLiteral("Image Only"));
             s.setWorkflow(QStringLiteral("PDF Image Only"));
           },
           0},
          // The documented order decides when several settings are wrong.
          {"hub before threshold",
           [](PdfSettings& s) {
             s.setConfidenceThreshold(200);
             s.setWorkgroupHub(QString());
           },
           536},
          {"page content before language",
           [](PdfSettings& s) {
             s.setCaptureLanguage(QString());
             s.setPageContent(QString());
           },
           525},
          {"title before keywords",
           [&](PdfSettings& s) {
             s.KeywordsField().setFieldType(9);
             s.TitleField().setFieldText(tooLong);
           },
           516},
      });
}

// Catches a missing, misnumbered or too lax OCR rule, and allowed values wrongly refused.
TEST(PdfSettingsCheck, OcrRulesAndNumbers) {
  auto baseline = [](PdfSettings& s) { s.setPdfEngine(QStringLiteral("2")); };
  std::vector<Rule> rules = {
      {"defaults", [](PdfSettings&) {}, 0},
      {"format 0", [](PdfSettings& s) { s.setOutputFormatType(0); }, 0x200},
      {"format 4", [](PdfSettings& s) { s.setOutputFormatType(4); }, 0x200},
      {"format 1", [](PdfSettings& s) { s.setOutputFormatType(1); }, 0},
      {"language 0", [](PdfSettings& s) { s.setOcrLanguage(0); }, 0x201},
      {"language 9", [](PdfSettings& s) { s.setOcrLanguage(9); }, 0x201},
      {"language 8", [](PdfSettings& s) { s.setOcrLanguage(8); }, 0},
      {"accuracy 3", [](PdfSettings& s) { s.setAccuracy(3); }, 0x202},
      {"accuracy 32", [](PdfSettings& s) { s.setAccuracy(32); }, 0x202},
      {"threshold -1", [](PdfSettings& s) { s.setConfidenceThreshold(-1); }, 0x203},
      {"threshold 101", [](PdfSettings& s) { s.setConfidenceThreshold(101); }, 0x203},
      {"title too long", [](PdfSettings& s) { s.TitleField().setFieldText(QString(300, u'x')); },
       0x204},
      {"subject unknown type", [](PdfSettings& s) { s.SubjectField().setFieldType(-1); }, 0x205},
      {"author link without name",
       [](PdfSettings& s) { s.AuthorField().setFieldType(kFieldIndexField); }, 0x206},
      {"keywords link without name",
       [](PdfSettings& s) { s.KeywordsField().setFieldType(kFieldBatchField); }, 0x207},
      {"no orientation", [](PdfSettings& s) { s.setRotate0(false); }, 0x20C},
      {"only 270",
       [](PdfSettings& s) {
         s.setRotate0(false);
         s.setRotate270(true);
       },
       0},
      // Capture-only settings are not the OCR engine's business.
      {"capture settings left empty", [](PdfSettings& s) { s.setPageContent(QString()); }, 0},
  };
  for (std::int32_t a : {1, 2, 4, 8, 16})
    rules.push_back({"accuracy allowed", [a](PdfSettings& s) { s.setAccuracy(a); }, 0});
  runRules("2", baseline, rules);
}

// Catches an unknown engine being checked by one of the rule sets (or not at all).
TEST(PdfSettingsCheck, UnknownEngineFails) {
  for (const char* engine : {"", "1", "4", " 3"}) {
    SCOPED_TRACE(engine);
    PdfSettings s;
    makeCaptureValid(s);
    s.setPdfEngine(QString::fromLatin1(engine));
    EXPECT_EQ(checkResult(s), 5);
  }
}
