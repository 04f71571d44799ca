// The release step against its floor and against the tool users would pick instead, each run a
// fresh process timed by the wall clock, every program with OMP_THREAD_LIMIT=1:
//  - one generated A5 page with zan-release --jobs 1 against `tesseract PAGE out pdf` (target:
//    at most 1.15 times the floor). Like with like: zan-release makes an image with hidden text
//    (OutputFormatType 3) in English at Accuracy "Normal" with no orientation to detect;
//  - 20 pages with --jobs 2 against --jobs 1 (target: at least 1.7 times faster);
//  - "Fastest" against "Most Accurate" on four pages, one of them turned;
//  - per kind of page (page_kinds.h), "Most Accurate" with every orientation allowed, PDF/A-2b,
//    against OCRmyPDF (Debian's ocrmypdf --output-type pdfa --rotate-pages --jobs 1): time,
//    size and word accuracy side by side (goals: time <= 1.0x, size <= 1.0x, accuracy >=), and
//    against "Most Accurate" with only upright allowed (goal: <= 1.2x). Without ocrmypdf on the
//    PATH its column is left out, with a message (it is installed for the benchmark only:
//    `apt-get install ocrmypdf`).
#include "comparing_reporter.h"
#include "page_kinds.h"
#include "program_bench.h"
#include "test_pages.h"

#include <benchmark/benchmark.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <map>
#include <string>

namespace {

using namespace zan::bench;

// A setup file for the OCR engine: image with hidden text in English.
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

std::vector<PageKind> kinds;
bool haveOcrMyPdf = false;

void prepare() {
  for (int i = 0; i < 20; ++i) {
    const QImage page = zan::testing::renderTextPage(zan::testing::sampleLines(i)).image;
    zan::testing::savePage(i == 3 ? zan::testing::turnedClockwise(page, 90) : page,
                           at(QStringLiteral("page-%1.png").arg(i + 1)));
  }
  writeSetup("normal.json", 4, false);
  writeSetup("fastest.json", 1, true);
  writeSetup("most-accurate.json", 16, true);
  writeSetup("most-accurate-upright.json", 16, false);
  QStringList twenty;
  for (int i = 1; i <= 20; ++i) twenty << QStringLiteral("page-%1.png").arg(i);
  writeBatch("one.json", {"page-1.png"}, 1);
  writeBatch("twenty.json", twenty, 4);
  writeBatch("four.json", twenty.mid(0, 4), 4);
  QDir().mkpath(at("kinds"));
  kinds = writePageKinds(at("kinds"));
  for (const PageKind& k : kinds) writeBatch(k.key + ".json", {k.file}, 1);
  haveOcrMyPdf = !QStandardPaths::findExecutable(QStringLiteral("ocrmypdf")).isEmpty();
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

// What a kind's run made: the PDF's size and the word accuracy of its text.
struct Outcome {
  qint64 bytes = 0;
  double f1 = 0;
};
std::map<std::string, Outcome> outcomes;  // by benchmark name

Outcome outcomeOf(const QString& pdf, const PageKind& kind) {
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {"-enc", "UTF-8", pdf, "-"});
  text.waitForFinished(60000);
  return {QFileInfo(pdf).size(),
          wordF1(comparableWords(kind.text.join(QLatin1Char('\n'))),
                 comparableWords(QString::fromUtf8(text.readAllStandardOutput())))};
}

std::string benchName(const PageKind& kind, const char* side) {
  return "BM_" + kind.key.toStdString() + "_" + side;
}

void registerKinds() {
  for (const PageKind& kind : kinds) {
    for (const char* setup : {"most-accurate.json", "most-accurate-upright.json"}) {
      const bool all = QLatin1String(setup) == QLatin1String("most-accurate.json");
      const std::string name = benchName(kind, all ? "ZanRelease" : "ZanReleaseUpright");
      const QString out = at(QStringLiteral("out-") + kind.key + (all ? "" : "-upright"));
      benchmark::RegisterBenchmark(
          name.c_str(),
          [kind, setup, out, name](benchmark::State& s) {
            runEachIteration(s, QStringLiteral(ZAN_RELEASE_BINARY),
                             {"--setup", at(setup), "--batch", at(kind.key + ".json"), "--out", out,
                              "--replace", "--quiet", "--jobs", "1"});
            outcomes[name] = outcomeOf(out + QStringLiteral("/document-0001.pdf"), kind);
          })
          ->Iterations(1)
          ->Repetitions(3)
          ->DisplayAggregatesOnly(true)
          ->UseRealTime()
          ->Unit(benchmark::kMillisecond);
    }
    if (!haveOcrMyPdf) continue;
    const std::string name = benchName(kind, "OcrMyPdf");
    const QString pdf = at(QStringLiteral("ocrmypdf-") + kind.key + ".pdf");
    benchmark::RegisterBenchmark(name.c_str(),
                                 [kind, pdf, name](benchmark::State& s) {
                                   runEachIteration(
                                       s, QStringLiteral("ocrmypdf"),
                                       {"--quiet", "--jobs", "1", "--output-type", "pdfa", "-l",
                                        "eng", "--rotate-pages", kind.file, pdf});
                                   outcomes[name] = outcomeOf(pdf, kind);
                                 })
        ->Iterations(1)
        ->Repetitions(3)
        ->DisplayAggregatesOnly(true)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }
}

// The table per kind: ours, OCRmyPDF's and their ratio for time, size and accuracy, and the
// time with every orientation allowed against upright only.
void printKinds(const ComparingReporter& r) {
  std::printf("\nPer kind of page, \"Most Accurate\", PDF/A-2b (ours) against OCRmyPDF %s:\n",
              haveOcrMyPdf ? "--output-type pdfa --rotate-pages"
                           : "(not installed: apt-get install ocrmypdf; its columns are left out)");
  std::printf("%-28s %9s %9s %6s %9s %9s %6s %6s %6s %11s\n", "kind", "time", "OCRmyPDF", "ratio",
              "size kB", "OCRmyPDF", "ratio", "F1 %", "theirs", "4 vs 1 or.");
  for (const PageKind& kind : kinds) {
    const std::string ours = benchName(kind, "ZanRelease"),
                      upright = benchName(kind, "ZanReleaseUpright"),
                      theirs = benchName(kind, "OcrMyPdf");
    const auto time = [&](const std::string& n) {
      const auto it = r.seconds.find(n);
      return it == r.seconds.end() ? 0.0 : it->second;
    };
    const Outcome o = outcomes[ours], t = outcomes[theirs];
    const double tOurs = time(ours), tTheirs = time(theirs), tUpright = time(upright);
    if (tOurs <= 0) continue;  // not run (--benchmark_filter)
    // A figure, or "-" where its benchmark did not run.
    const auto cell = [](double v, const char* format) {
      char text[32] = "-";
      if (v > 0) std::snprintf(text, sizeof text, format, v);
      return std::string(text);
    };
    std::printf("%-28s %9s %9s %6s %9s %9s %6s %6.1f %6s %11s\n", kind.name.toUtf8().constData(),
                cell(tOurs, "%.2fs").c_str(), cell(tTheirs, "%.2fs").c_str(),
                cell(tTheirs > 0 ? tOurs / tTheirs : 0, "%.2f").c_str(),
                cell(o.bytes / 1024.0, "%.1f").c_str(), cell(t.bytes / 1024.0, "%.1f").c_str(),
                cell(t.bytes > 0 ? double(o.bytes) / t.bytes : 0, "%.2f").c_str(), o.f1 * 100,
                cell(tTheirs > 0 ? t.f1 * 100 : 0, "%.1f").c_str(),
                cell(tUpright > 0 ? tOurs / tUpright : 0, "%.2fx").c_str());
  }
  std::printf(
      "goals per kind: time ratio <= 1.0, size ratio <= 1.0, F1 >= OCRmyPDF's; every "
      "orientation allowed <= 1.2x upright only\n");
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
  if (qEnvironmentVariableIsSet("ZAN_BENCH_KEEP")) {  // to look at the pages and PDFs afterwards
    dir.setAutoRemove(false);
    std::printf("workspace: %s\n", qPrintable(dir.path()));
  }
  return runComparingBenchmarks(
      argc, argv,
      [] {
        prepare();
        registerKinds();
      },
      [](const ComparingReporter& r) {
        r.compare("one page, --jobs 1", "BM_OnePage_ZanRelease", "zan-release",
                  "BM_OnePage_TesseractPdf", "tesseract PAGE out pdf", "target <= 1.15");
        r.compare("20 pages", "BM_TwentyPages_Jobs1", "--jobs 1", "BM_TwentyPages_Jobs2",
                  "--jobs 2", "speed-up, target >= 1.7");
        r.compare("4 pages, one turned, --jobs 1", "BM_FourPages_MostAccurate", "Most Accurate",
                  "BM_FourPages_Fastest", "Fastest", "Fastest is faster: > 1");
        if (!kinds.empty()) printKinds(r);
      });
}
