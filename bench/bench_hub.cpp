// The hub service against its floor, on the same 20 generated 300-dpi A5 pages (20 one-page
// documents), each release a fresh zan-release process timed by the wall clock from its start to
// the last document's status:
//  - zan-release --engine capture through one running zan-hub --jobs 1, against
//    zan-release --engine ocr --jobs 1 (the floor; target: at most 1.1 times). Like with like:
//    the page image with hidden text ("Searchable Image (Exact)" and OutputFormatType 3), English,
//    "Normal" accuracy (the workflow Searchable Office), no orientation detection, no thumbnails,
//    links or structure, PNG pages handed to the hub;
//  - the same through two running services (--jobs 1 each) against one (target: at least 1.7
//    times faster).
// The services are started before the timed releases and stopped after them.
#include "comparing_reporter.h"
#include "program_bench.h"
#include "test_pages.h"

#include <benchmark/benchmark.h>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {

using namespace zan::bench;

void copyFolder(const QString& from, const QString& to) {
  QDir().mkpath(to);
  for (const QString& name : QDir(from).entryList(QDir::Files))
    QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name));
}

void prepare() {
  QJsonArray documents;
  for (int i = 0; i < 20; ++i) {
    const QString page = at(QStringLiteral("page-%1.png").arg(i + 1));
    zan::testing::savePage(zan::testing::renderTextPage(zan::testing::sampleLines(i)).image, page);
    documents.append(QJsonObject{{"pages", QJsonArray{page}}});
  }
  writeJson(at("twenty.json"), {{"name", "Twenty"}, {"documents", documents}});
  writeJson(
      at("ocr.json"),
      {{"format", "zan-release-setup"},
       {"version", 1},
       {"SetupPartOne", QJsonObject{{"PdfEngine", "2"}, {"ConfidenceThreshold", 80}}},
       {"SetupPartTwo",
        QJsonObject{
            {"OutputFormatType", 3}, {"OcrLanguage", 1}, {"Accuracy", 4}, {"Rotate0", true}}}});
  writeJson(at("capture.json"),
            {{"format", "zan-release-setup"},
             {"version", 1},
             {"SetupPartOne", QJsonObject{{"PdfEngine", "3"}, {"ConfidenceThreshold", 80}}},
             {"SetupPartTwo", QJsonObject{{"PageContent", "Searchable Image (Exact)"},
                                          {"CaptureLanguage", "English (US)"},
                                          {"Workflow", "Searchable Office"},
                                          {"Dictionary", ""},
                                          {"CreateThumbnails", false},
                                          {"EnableLinks", false},
                                          {"EnableStructure", false},
                                          {"AutoPageRotation", false},
                                          {"WorkgroupHub", at("hub")},
                                          {"WatchedFolder", at("watched")},
                                          {"PDFOutputFolder", at("pdfs")},
                                          {"PDFInputImageType", 1},
                                          {"PDFWaitForStatus", true}}}});
  QDir().mkpath(at("watched"));  // the services' roots
  QDir().mkpath(at("pdfs"));
  copyFolder(QStringLiteral(ZAN_EXAMPLES_DIR "/hub/Workflows"), at("hub/Workflows"));
  copyFolder(QStringLiteral(ZAN_EXAMPLES_DIR "/hub/Dictionaries"), at("hub/Dictionaries"));
}

void release(benchmark::State& state, const QString& engine) {
  runEachIteration(
      state, QStringLiteral(ZAN_RELEASE_BINARY),
      {"--setup", at(engine + ".json"), "--batch", at("twenty.json"), "--out", at("out-" + engine),
       "--replace", "--quiet", "--jobs", "1", "--engine", engine});
}

// Releases through `count` services of one worker each, running for the whole benchmark.
void throughServices(benchmark::State& state, int count) {
  std::vector<std::unique_ptr<QProcess>> services;
  for (int i = 0; i < count; ++i) {
    auto s = std::make_unique<QProcess>();
    s->setProcessEnvironment(oneThread());
    s->setStandardErrorFile(QProcess::nullDevice());
    s->start(QStringLiteral(ZAN_HUB_BINARY), {"--hub", at("hub"), "--watched-root", at("watched"),
                                              "--output-root", at("pdfs"), "--jobs", "1"});
    s->waitForStarted();
    services.push_back(std::move(s));
  }
  release(state, QStringLiteral("capture"));
  for (auto& s : services) {
    s->terminate();
    s->waitForFinished(60000);
  }
}

void BM_Twenty_ZanReleaseOcr(benchmark::State& state) {
  release(state, QStringLiteral("ocr"));
}
void BM_Twenty_OneService(benchmark::State& state) {
  throughServices(state, 1);
}
void BM_Twenty_TwoServices(benchmark::State& state) {
  throughServices(state, 2);
}

}  // namespace

BENCHMARK(BM_Twenty_ZanReleaseOcr)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Twenty_OneService)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Twenty_TwoServices)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QTemporaryDir dir;
  workspace = &dir;
  return runComparingBenchmarks(argc, argv, prepare, [](const ComparingReporter& r) {
    r.compare("20 pages, one worker each", "BM_Twenty_OneService", "one zan-hub",
              "BM_Twenty_ZanReleaseOcr", "zan-release --engine ocr", "target <= 1.1");
    r.compare("20 pages through the hub", "BM_Twenty_OneService", "one service",
              "BM_Twenty_TwoServices", "two services", "speed-up, target >= 1.7");
  });
}
