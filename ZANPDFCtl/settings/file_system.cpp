#include "settings/file_system.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zan {
namespace {

QString systemReason(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray native(const QString& path) {
  return QFile::encodeName(path);
}

class PosixFileSystem final : public FileSystem {
 public:
  bool status(const QString& path, FileStatus& result, QString& error) override {
    struct stat s {};
    result = {};
    if (::stat(native(path).constData(), &s) != 0) {
      if (errno == ENOENT) return true;
      error = systemReason(errno);
      return false;
    }
    result.exists = true;
    result.isDirectory = S_ISDIR(s.st_mode);
    result.owner = s.st_uid;
    result.group = s.st_gid;
    result.mode = s.st_mode & 07777;
    return true;
  }

  bool resolveLinks(const QString& path, QString& target, QString& error) override {
    QString current = path;
    for (int hops = 0; hops < 40; ++hops) {
      struct stat s {};
      if (::lstat(native(current).constData(), &s) != 0) {
        if (errno != ENOENT) {
          error = systemReason(errno);
          return false;
        }
        target = current;
        return true;
      }
      if (!S_ISLNK(s.st_mode)) {
        target = current;
        return true;
      }
      std::vector<char> buffer(PATH_MAX);
      const ssize_t n = ::readlink(native(current).constData(), buffer.data(), buffer.size());
      if (n < 0 || static_cast<std::size_t>(n) >= buffer.size()) {
        error = n < 0 ? systemReason(errno) : systemReason(ENAMETOOLONG);
        return false;
      }
      const QString next = QFile::decodeName(QByteArray(buffer.data(), int(n)));
      current = next.startsWith(QLatin1Char('/'))
                    ? next
                    : QFileInfo(current).path() + QLatin1Char('/') + next;
    }
    error = systemReason(ELOOP);
    return false;
  }

  bool createTemporary(const QString& target, unsigned mode, QString& temporary, int& handle,
                       QString& error) override {
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
      temporary = QStringLiteral("%1/.%2.%3.tmp")
                      .arg(info.path(), info.fileName())
                      .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
      handle = ::open(native(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                      static_cast<mode_t>(mode));
      if (handle >= 0) return true;
      if (errno != EEXIST) break;
    }
    error = systemReason(errno);
    return false;
  }

  bool write(int handle, const QByteArray& bytes, QString& error) override {
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
      const ssize_t n = ::write(handle, data, static_cast<std::size_t>(left));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error = systemReason(n < 0 ? errno : EIO);
        return false;
      }
      data += n;
      left -= n;
    }
    return true;
  }

  bool setOwner(int handle, unsigned owner, unsigned group, QString& error) override {
    return check(::fchown(handle, owner, group), error);
  }
  bool setMode(int handle, unsigned mode, QString& error) override {
    return check(::fchmod(handle, static_cast<mode_t>(mode)), error);
  }
  bool sync(int handle, QString& error) override { return check(::fsync(handle), error); }
  bool close(int handle, QString& error) override { return check(::close(handle), error); }
  bool rename(const QString& from, const QString& to, QString& error) override {
    return check(::rename(native(from).constData(), native(to).constData()), error);
  }
  void remove(const QString& path) override { ::unlink(native(path).constData()); }
  void syncFolder(const QString& folder) override {
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
  }

 private:
  static bool check(int result, QString& error) {
    if (result == 0) return true;
    error = systemReason(errno);
    return false;
  }
};

}  // namespace

std::shared_ptr<FileSystem> FileSystem::posix() {
  static const auto instance = std::make_shared<PosixFileSystem>();
  return instance;
}

bool replaceFile(FileSystem& fs, const QString& path, const QByteArray& bytes, QString& problem) {
  QString error;
  const auto failed = [&](const QString& step) {
    problem = QStringLiteral("%1 (%2)").arg(step, error);
    return false;
  };
  QString target;
  if (!fs.resolveLinks(path, target, error))
    return failed(QStringLiteral("its symbolic link cannot be followed"));
  FileStatus old;
  if (!fs.status(target, old, error)) return failed(QStringLiteral("it cannot be examined"));
  if (old.isDirectory) {
    problem = QStringLiteral("it is a folder, not a file");
    return false;
  }
  // A replacement of an existing file is private until it has the old file's owner and mode.
  QString temporary;
  int handle = -1;
  if (!fs.createTemporary(target, old.exists ? 0600 : 0666, temporary, handle, error))
    return failed(QStringLiteral("a new file cannot be created beside it"));

  QString step;
  if (!fs.write(handle, bytes, error)) {
    step = QStringLiteral("writing failed");
  } else if (old.exists && !fs.setOwner(handle, old.owner, old.group, error)) {
    step = QStringLiteral("its owner %1 and group %2 cannot be kept").arg(old.owner).arg(old.group);
  } else if (old.exists && !fs.setMode(handle, old.mode, error)) {
    step =
        QStringLiteral("its permissions %1 cannot be kept").arg(old.mode, 4, 8, QLatin1Char('0'));
  } else if (!fs.sync(handle, error)) {
    step = QStringLiteral("writing to the storage device failed");
  }
  QString closeError;
  if (!fs.close(handle, closeError) && step.isEmpty()) {
    error = closeError;
    step = QStringLiteral("writing failed");
  }
  if (step.isEmpty() && !fs.rename(temporary, target, error))
    step = QStringLiteral("it cannot be replaced");
  if (!step.isEmpty()) {
    fs.remove(temporary);
    return failed(step);
  }
  fs.syncFolder(QFileInfo(target).path());
  return true;
}

}  // namespace zan
