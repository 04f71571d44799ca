#include "release/output_file.h"

#include "release/release_error.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zan::release {
namespace {

[[noreturn]] void cannotWrite(const QString& path, int error) {
  throw ReleaseError(QStringLiteral("cannot write %1: %2")
                         .arg(path, QString::fromLocal8Bit(std::strerror(error))));
}

// Writes all of `data`; returns 0 or the errno of the failure.
int writeAll(int fd, const QByteArray& data) {
  const char* next = data.constData();
  qsizetype left = data.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, next, static_cast<size_t>(left));
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    if (written == 0) return ENOSPC;
    next += written;
    left -= written;
  }
  return 0;
}

}  // namespace

void writeFileAtomically(const QString& path, const QByteArray& data) {
  // POSIX calls rather than QSaveFile: a failed write must name its cause (QSaveFile reports a
  // full disk as "Unknown error"), and the data must be on the disk before the rename.
  const QFileInfo info(path);
  QByteArray temporary = QFile::encodeName(
      info.dir().filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".XXXXXX")));
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) cannotWrite(path, errno);
  int error = writeAll(fd, data);
  if (!error && (::fchmod(fd, 0644) != 0 || ::fsync(fd) != 0)) error = errno;
  if (::close(fd) != 0 && !error) error = errno;
  if (!error && ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0)
    error = errno;
  if (error) {
    ::unlink(temporary.constData());
    cannotWrite(path, error);
  }
}

void prepareOutputFolder(const QString& folder) {
  const QFileInfo info(folder);
  if (info.exists() && !info.isDir())
    throw ReleaseError(QStringLiteral("the output folder %1 is a file").arg(folder));
  if (!QDir().mkpath(folder))
    throw ReleaseError(QStringLiteral("cannot create the output folder %1").arg(folder));
  QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".zan-release-XXXXXX")));
  if (!probe.open())
    throw ReleaseError(QStringLiteral("cannot write into the output folder %1: %2")
                           .arg(folder, probe.errorString()));
}

}  // namespace zan::release
