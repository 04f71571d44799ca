// zan-release on a terminal (a pseudo-terminal here): the progress bar stays on one line of the
// terminal's width and follows its resizes; SIGINT and SIGTERM stop the release with a report of
// what was released and exit code 1.
#include "release_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <functional>

using namespace zan::testing;

namespace {

// A release of `documents` one-page documents that recognises its pages (a few seconds).
struct SlowRelease {
  QTemporaryDir dir;
  QDir d{dir.path()};
  explicit SlowRelease(int documents) {
    writeOcrSetup(d.filePath("setup.json"), {}, {{"OutputFormatType", 3}});
    QJsonArray docs;
    for (int i = 0; i < documents; ++i) {
      const QString page = QStringLiteral("page-%1.png").arg(i);
      savePage(renderTextPage(sampleLines(i).mid(0, 3)).image, d.filePath(page));
      docs.append(QJsonObject{{"pages", QJsonArray{page}}});
    }
    writeBatchFile(d.filePath("batch.json"), {{"name", "Slow"}, {"documents", docs}});
  }
  QString out() const { return d.filePath("out"); }
  QStringList arguments() const {
    return {zanReleaseBinary(),
            "--setup",
            d.filePath("setup.json"),
            "--batch",
            d.filePath("batch.json"),
            "--out",
            out(),
            "--jobs",
            "1"};
  }
};

struct TerminalRun {
  QByteArray output;
  int exitCode = -1;  // -1: killed by a signal, or still running after the time allowed
};

// Runs `arguments` on a pseudo-terminal of `columns` columns; `watch` sees the output so far
// after every read and may act on the child (its pid) and the terminal (its master side).
TerminalRun onTerminal(const QStringList& arguments, int columns,
                       const std::function<void(const QByteArray&, pid_t, int)>& watch) {
  winsize size{};
  size.ws_row = 24;
  size.ws_col = static_cast<unsigned short>(columns);
  int master = -1;
  std::vector<QByteArray> args;
  for (const QString& a : arguments) args.push_back(QFile::encodeName(a));
  std::vector<char*> argv;
  for (QByteArray& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = ::forkpty(&master, nullptr, nullptr, &size);
  if (pid == 0) {
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  TerminalRun run;
  if (pid < 0) return run;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  int status = 0;
  bool exited = false;
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{master, POLLIN, 0};
    if (::poll(&p, 1, 100) > 0) {
      char buffer[4096];
      const ssize_t n = ::read(master, buffer, sizeof buffer);
      if (n > 0) run.output.append(buffer, n);
      if (n <= 0 && exited) break;
    } else if (exited) {
      break;
    }
    if (!exited && ::waitpid(pid, &status, WNOHANG) == pid) exited = true;
    if (!exited) watch(run.output, pid, master);
  }
  if (!exited) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
  } else if (WIFEXITED(status)) {
    run.exitCode = WEXITSTATUS(status);
  }
  ::close(master);
  return run;
}

// The bar's redraws: what lies between carriage returns before the output's last clearing of
// the line, without the "clear the rest of the line" sequence.
QList<QByteArray> redraws(const QByteArray& output, qsizetype from, qsizetype to) {
  QList<QByteArray> lines;
  for (QByteArray part : output.mid(from, to - from).split('\r')) {
    part.replace("\033[K", "");
    if (!part.isEmpty()) lines << part;
  }
  return lines;
}

}  // namespace

// A 40-column terminal, narrowed to 30 while the release runs: every redraw fits the width of
// its moment (never wrapping into a new line), and nothing but the bar is drawn until the
// summary.
TEST(Terminal, ProgressFitsTheTerminalAndFollowsItsResizes) {
  SlowRelease release(10);
  qsizetype resizedAt = -1;
  const TerminalRun run =
      onTerminal(release.arguments(), 40, [&](const QByteArray& output, pid_t, int master) {
        if (resizedAt < 0 && output.count('\r') >= 3) {
          winsize size{};
          size.ws_row = 24;
          size.ws_col = 30;
          ::ioctl(master, TIOCSWINSZ, &size);  // the terminal tells the program: SIGWINCH
          resizedAt = output.size();
        }
      });
  ASSERT_EQ(run.exitCode, 0) << run.output.constData();
  const qsizetype summary = run.output.indexOf("Released ");
  ASSERT_GT(summary, 0) << run.output.constData();
  const qsizetype lastClear = run.output.lastIndexOf("\r\033[K", summary);
  ASSERT_GE(resizedAt, 0) << "the bar was never drawn: " << run.output.constData();
  EXPECT_FALSE(run.output.left(lastClear).contains('\n')) << "a new line while the bar runs";
  for (const QByteArray& line : redraws(run.output, 0, resizedAt))
    EXPECT_LE(line.size(), 39) << "wider than 40 columns: " << line.constData();
  const QList<QByteArray> narrow = redraws(run.output, resizedAt, lastClear);
  ASSERT_GE(narrow.size(), 3) << "too few redraws after the resize to tell";
  for (const QByteArray& line : narrow.mid(1))  // the first may have been drawn before it
    EXPECT_LE(line.size(), 29) << "wider than 30 columns after the resize: " << line.constData();
}

// SIGINT (Ctrl-C on the terminal) and SIGTERM once the first PDF is written: no further page is
// started, the bar is cleared, the report lists what was released and why the rest was not, no
// temporary file is left, and the exit code is 1.
TEST(Terminal, AStopSignalWritesTheReportOfWhatWasReleased) {
  for (const int signal : {SIGINT, SIGTERM}) {
    const char* name = signal == SIGINT ? "SIGINT" : "SIGTERM";
    SlowRelease release(6);
    bool sent = false;
    const TerminalRun run =
        onTerminal(release.arguments(), 80, [&](const QByteArray&, pid_t pid, int) {
          if (!sent && QFileInfo::exists(release.out() + "/document-0001.pdf")) {
            ::kill(pid, signal);
            sent = true;
          }
        });
    ASSERT_TRUE(sent) << name;
    EXPECT_EQ(run.exitCode, 1) << name << ": " << run.output.constData();
    const QJsonArray documents =
        readJson(release.out() + "/release-report.json")["documents"].toArray();
    ASSERT_EQ(documents.size(), 6) << name << ": no report of what was released";
    EXPECT_EQ(documents[0]["status"].toString(), "released") << name;
    EXPECT_EQ(documents[5]["status"].toString(), "failed") << name;
    EXPECT_TRUE(
        documents[5]["reason"].toString().contains(QStringLiteral("stopped (%1)").arg(name)))
        << name << ": " << qPrintable(documents[5]["reason"].toString());
    int released = 0;
    for (const QJsonValue& d : documents) released += d["status"].toString() == "released";
    EXPECT_EQ(QDir(release.out()).entryList({"document-*.pdf"}, QDir::Files).size(), released);
    EXPECT_TRUE(QDir(release.out()).entryList({".*"}, QDir::Files | QDir::Hidden).isEmpty())
        << name << ": a temporary file was left";
    const qsizetype stopped = run.output.indexOf(QByteArray("Stopped (") + name + "). Released ");
    EXPECT_GT(stopped, 0) << run.output.constData();
    if (run.output.contains("\033[K")) {
      EXPECT_LT(run.output.lastIndexOf("\r\033[K"), stopped) << name << ": half a bar left";
    }
  }
}
