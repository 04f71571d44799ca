#include "release/library_messages.h"

#include <QList>
#include <QtGlobal>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <cerrno>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace zan::release {
namespace {

constexpr int kLongestText = 240;

// Never destroyed: the draining thread may still run while the program exits.
std::mutex& ioLock() {
  static auto* m = new std::mutex;
  return *m;
}

int pipeEnd = -1;  // what the libraries write to standard error comes out here
int ownFd = STDERR_FILENO;
std::FILE* ownStream = nullptr;

// Reads what is waiting in the pipe; with the lock held.
QByteArray drain() {
  QByteArray data;
  if (pipeEnd < 0) return data;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(pipeEnd, buffer, sizeof buffer);
    if (n > 0) {
      if (data.size() < 65536) data.append(buffer, n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return data;
  }
}

// Qt's warnings (QDir's, for example) go where the libraries' go.
void onQtMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
  const QByteArray line = message.toLocal8Bit() + '\n';
  [[maybe_unused]] const ssize_t written =
      ::write(STDERR_FILENO, line.constData(), static_cast<size_t>(line.size()));
}

}  // namespace

std::FILE* captureLibraryMessages() {
  if (pipeEnd >= 0) return ownStream;
  int ends[2];
  const int original = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
  if (original < 0 || ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return ownMessages();
  // A library that says a lot never blocks: what does not fit is lost, not waited for.
  ::fcntl(ends[1], F_SETPIPE_SZ, 1 << 20);
  ::dup2(ends[1], STDERR_FILENO);
  ::close(ends[1]);
  pipeEnd = ends[0];
  ownFd = original;
  ownStream = ::fdopen(original, "w");
  std::setvbuf(ownStream, nullptr, _IONBF, 0);
#if defined(__SANITIZE_ADDRESS__)
  __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<intptr_t>(original)));
#endif
  qInstallMessageHandler(onQtMessage);
  std::thread([] {
    for (;;) {
      pollfd p{pipeEnd, POLLIN, 0};
      ::poll(&p, 1, 1000);
      const std::lock_guard<std::mutex> lock(ioLock());
      drain();  // said outside any scope: dropped
    }
  }).detach();
  return ownStream;
}

std::FILE* ownMessages() {
  return ownStream ? ownStream : stderr;
}

int ownMessagesFd() {
  return ownFd;
}

LibraryMessages::LibraryMessages() : lock_(ioLock()) {
  drain();  // said before this call: not its
}

LibraryMessages::~LibraryMessages() = default;

QString LibraryMessages::text() {
  said_ += drain();
  // The first thing said is the cause; what follows are the callers' echoes of it.
  QString text;
  for (const QByteArray& line : said_.split('\n')) {
    text = QString::fromLocal8Bit(line).simplified();
    if (!text.isEmpty()) break;
  }
  if (text.size() > kLongestText) text = text.left(kLongestText - 3) + QStringLiteral("...");
  return text;
}

QString LibraryMessages::inParentheses() {
  const QString t = text();
  return t.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(t);
}

}  // namespace zan::release
