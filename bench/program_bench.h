#pragma once
// What the benchmarks of whole programs (zan-release, zan-hub, tesseract) share: a workspace
// folder for their files, and one timed run of a program per iteration.
#include <benchmark/benchmark.h>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace zan::bench {

// The folder the benchmark's files live in; main() sets it before the benchmarks run.
inline QTemporaryDir* workspace = nullptr;

inline QString at(const QString& name) {
  return workspace->filePath(name);
}

inline void writeJson(const QString& path, const QJsonObject& json) {
  QFile file(path);
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write(QJsonDocument(json).toJson());
}

// The environment the programs run in: one OpenMP thread each, so that Tesseract's own command
// line and ours compare like with like.
inline QProcessEnvironment oneThread() {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
  return env;
}

// Runs `program` once an iteration; a failed run ends the benchmark with its message.
inline void runEachIteration(benchmark::State& state, const QString& program,
                             const QStringList& arguments) {
  for (auto _ : state) {
    QProcess p;
    p.setProcessEnvironment(oneThread());
    p.start(program, arguments);
    if (!p.waitForFinished(900000) || p.exitCode() != 0) {
      state.SkipWithError((program + " failed: " + p.readAllStandardError()).toStdString().c_str());
      return;
    }
  }
}

}  // namespace zan::bench
