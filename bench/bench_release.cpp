// The release step against its floor, on generated 300-dpi A5 pages, each run a fresh process
// timed by the wall clock:
//  - one page with zan-release --jobs 1 against `tesseract PAGE out pdf` (target: at most
//    1.15 times the floor). Like with like: zan-release makes an image with hidden text
//    (OutputFormatType 3) in English at Accuracy "Normal" (the page as scanned at 300 dpi,
//    automatic page layout, as Tesseract's default) with no orientation to detect (Rotate0
//    only); both run with OMP_THREAD_LIMIT=1, one thread each;
//  - 20 pages with --jobs 2 against --jobs 1 (target: at least 1.7 times faster);
//  - "Fastest" against "Most Accurate" on four pages, one of them turned, all four
//    orientations allowed.
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

#include <map>
#include <string>

namespace {

using namespace zan::bench;

// A setup file for the OCR engine with the given image/text settings.
QString writeSetup(const QString& name, int accuracy, bool allOrientations) {
  const QJsonObject setup{
      {"format", "zan-release-setup"},
      {"version", 1},
      {"SetupPartOne", QJsonObject{{"PdfEngine", "2"}, {"ConfidenceThreshold", 80}}},
      {"SetupPartTwo", QJsonObject{{"OutputFormatType", 3},
                                   {"OcrLanguage", 1},
                                   {"Accuracy", accuracy},
                                   {"Rotate0", true},
                                   {"Rotate90", allOrientations},
                                   {"Rotate180", allOrientations},
                                   {"Rotate270", allOrientations}}}};
  writeJson(at(name), setup);
  return at(name);
}

QString writeBatch(const QString& name, const QStringList& pages, int perDocument) {
  QJsonArray documents;
  for (int i = 0; i < pages.size(); i += perDocument)
    documents.append(QJsonObject{{"pages", QJsonArray::fromStringList(pages.mid(i, perDocument))}});
  writeJson(at(name), {{"documents", documents}});
  return at(name);
}

void prepare() {
  for (int i = 0; i < 20; ++i) {
    const QImage page = zan::testing::renderTextPage(zan::testing::sampleLines(i)).image;
    zan::testing::savePage(i == 3 ? zan::testing::turnedClockwise(page, 90) : page,
                           at(QStringLiteral("page-%1.png").arg(i + 1)));
  }
  writeSetup("normal.json", 4, false);
  writeSetup("fastest.json", 1, true);
  writeSetup("most-accurate.json", 16, true);
  QStringList twenty;
  for (int i = 1; i <= 20; ++i) twenty << QStringLiteral("page-%1.png").arg(i);
  writeBatch("one.json", {"page-1.png"}, 1);
  writeBatch("twenty.json", twenty, 4);
  writeBatch("four.json", twenty.mid(0, 4), 4);
}

void zanRelease(benchmark::State& state, const char* setup, const char* batch, int jobs) {
  runEachIteration(state, QStringLiteral(ZAN_RELEASE_BINARY),
                   {"--setup", at(setup), "--batch", at(batch), "--out", at("out"), "--replace",
                    "--quiet", "--jobs", QString::number(jobs)});
}

void BM_OnePage_ZanRelease(benchmark::State& state) {
  zanRelease(state, "normal.json", "one.json", 1);
}
void BM_OnePage_TesseractPdf(benchmark::State& state) {
  runEachIteration(state, QStringLiteral("tesseract"),
                   {at("page-1.png"), at("tesseract-out"), "pdf"});
}
void BM_TwentyPages_Jobs1(benchmark::State& state) {
  zanRelease(state, "normal.json", "twenty.json", 1);
}
void BM_TwentyPages_Jobs2(benchmark::State& state) {
  zanRelease(state, "normal.json", "twenty.json", 2);
}
void BM_FourPages_Fastest(benchmark::State& state) {
  zanRelease(state, "fastest.json", "four.json", 1);
}
void BM_FourPages_MostAccurate(benchmark::State& state) {
  zanRelease(state, "most-accurate.json", "four.json", 1);
}

}  // namespace

BENCHMARK(BM_OnePage_ZanRelease)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OnePage_TesseractPdf)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwentyPages_Jobs1)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwentyPages_Jobs2)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FourPages_Fastest)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FourPages_MostAccurate)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QTemporaryDir dir;
  workspace = &dir;
  return runComparingBenchmarks(argc, argv, prepare, [](const ComparingReporter& r) {
    r.compare("one page, --jobs 1", "BM_OnePage_ZanRelease", "zan-release",
              "BM_OnePage_TesseractPdf", "tesseract PAGE out pdf", "target <= 1.15");
    r.compare("20 pages", "BM_TwentyPages_Jobs1", "--jobs 1", "BM_TwentyPages_Jobs2", "--jobs 2",
              "speed-up, target >= 1.7");
    r.compare("4 pages, one turned, --jobs 1", "BM_FourPages_MostAccurate", "Most Accurate",
              "BM_FourPages_Fastest", "Fastest", "Fastest is faster: > 1");
  });
}
