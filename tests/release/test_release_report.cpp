// release-report.json as both engines write it: which fields each document's status carries,
// and what the totals count.
#include "release/release_report.h"

#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>

using namespace zan::release;

namespace {

QString keysOf(const QJsonObject& o) {
  return o.keys().join(QLatin1Char(','));
}

DocumentReport released() {
  DocumentReport d;
  d.number = 3;
  d.pdf = "document-0003.pdf";
  d.pages.resize(2);
  d.suspects.push_back({2, QRectF(1, 2, 3, 4), "Xqwz", 40, {}});
  d.information.title = "Invoice";
  d.information.warnings << "Keywords: left empty";
  return d;
}

// A job's document: submitted, then as the wait leaves it.
DocumentReport job(bool withService, const char* failure) {
  DocumentReport d = released();
  d.pages.clear();
  d.suspects.clear();
  d.job = "batch-20261208T021700-0a1b-0003";
  d.pdf = "/srv/pdf/" + d.job + ".pdf";
  d.withService = withService;
  d.failure = QString::fromUtf8(failure);
  return d;
}

struct DocumentCase {
  const char* fault;  // what a wrong report would mean
  DocumentReport document;
  const char* status;
  const char* keys;
};

class DocumentJson : public testing::TestWithParam<DocumentCase> {};

// Catches a document reported in the wrong status, a pending job shown with a PDF, a failed one
// without its reason, or a job's pages taken from the release instead of the hub service.
TEST_P(DocumentJson, StatusAndFields) {
  const QJsonObject o = documentJson(GetParam().document);
  EXPECT_EQ(o.value("status").toString().toStdString(), GetParam().status) << GetParam().fault;
  EXPECT_EQ(keysOf(o).toStdString(), GetParam().keys) << GetParam().fault;
  EXPECT_EQ(o.value("document").toInt(), 3) << GetParam().fault;
  EXPECT_EQ(o.value("documentInformation")["Title"].toString(), "Invoice") << GetParam().fault;
}

DocumentReport failed() {
  DocumentReport d = released();
  d.pages.clear();
  d.suspects.clear();
  d.failure = "page 1 (a.png): not an image";
  return d;
}

// Released by the hub service: its report of pages and suspect words, the release's own number,
// PDF path and document information over the service's.
DocumentReport fromService() {
  DocumentReport d = job(false, "");
  d.serviceReport = QJsonObject{{"document", 9},
                                {"status", "released"},
                                {"pdf", "elsewhere.pdf"},
                                {"pageCount", 1},
                                {"pages", QJsonArray{QJsonObject{{"page", 1}}}},
                                {"suspectWords", QJsonArray{QJsonObject{}, QJsonObject{}}},
                                {"warnings", QJsonArray{"the service's"}}};
  return d;
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, DocumentJson,
    testing::Values(
        DocumentCase{"a released document without its pages", released(), "released",
                     "document,documentInformation,pageCount,pages,pdf,status,suspectWords,"
                     "warnings"},
        DocumentCase{"a failed document without its reason", failed(), "failed",
                     "document,documentInformation,reason,status,warnings"},
        DocumentCase{"a job reported released before the service made it", job(true, ""),
                     "submitted", "document,documentInformation,job,pdf,status,warnings"},
        DocumentCase{"a job without a status reported failed or with a PDF",
                     job(true, "no status after 1 s; left in the watched folder"), "pending",
                     "document,documentInformation,job,reason,status,warnings"},
        DocumentCase{"a withdrawn job reported pending",
                     job(false, "no status after 1 s; withdrawn from the watched folder"), "failed",
                     "document,documentInformation,job,reason,status,warnings"},
        DocumentCase{"a job whose PDF the service made, without a status, given pages of its own",
                     job(false, ""), "released",
                     "document,documentInformation,job,pdf,status,warnings"},
        DocumentCase{"the service's report of a job lost", fromService(), "released",
                     "document,documentInformation,job,pageCount,pages,pdf,status,suspectWords,"
                     "warnings"}),
    [](const testing::TestParamInfo<DocumentCase>& info) { return std::to_string(info.index); });

// Catches the service's words put over the release's own (number, PDF, warnings).
TEST(DocumentJson, ReleaseOwnWordsOverTheServices) {
  const DocumentReport d = fromService();
  const QJsonObject o = documentJson(d);
  EXPECT_EQ(o.value("pdf").toString(), d.pdf);
  EXPECT_EQ(o.value("warnings").toArray(), QJsonArray{"Keywords: left empty"});
  EXPECT_EQ(o.value("pages").toArray().size(), 1);
}

QJsonObject reportOf(const char* engine) {
  ReleaseReport r;
  r.batchName = "Batch 17";
  r.engine = QString::fromLatin1(engine);
  r.documents = {released(),        failed(),           job(true, ""),
                 job(true, "late"), job(true, "later"), fromService()};
  r.pageCount = 6;
  r.seconds = 2;
  r.jobs = 2;
  return QJsonDocument::fromJson(reportJson(r)).object();
}

// Catches totals that miss a status (a pending job counted as failed), suspect words the hub
// service reported left out, or one engine's fields written for the other.
TEST(ReportJson, TotalsCountEveryStatusOfItsEngine) {
  const QJsonObject capture = reportOf("capture");
  EXPECT_EQ(keysOf(capture).toStdString(), "batch,documents,engine,seconds,totals");
  const QJsonDocument totals(capture["totals"].toObject());
  EXPECT_EQ(totals.toJson(QJsonDocument::Compact).toStdString(),
            R"({"documents":6,"failed":1,"pages":6,"pending":2,"released":2,"submitted":1,)"
            R"("suspectWords":3})");

  const QJsonObject ocr = reportOf("ocr");
  EXPECT_EQ(keysOf(ocr).toStdString(), "batch,documents,engine,jobs,pagesPerSecond,seconds,totals");
  EXPECT_EQ(keysOf(ocr["totals"].toObject()).toStdString(),
            "documents,failed,pages,released,suspectWords,warnings");
  EXPECT_EQ(ocr["totals"]["warnings"].toInt(), 6);
  EXPECT_EQ(ocr["pagesPerSecond"].toDouble(), 3.0);
}

}  // namespace
