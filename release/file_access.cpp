#include "release/file_access.h"

#include "release/release_error.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace zan::release {
namespace {

constexpr int kAttempts = 100;

QByteArray encoded(const QString& name) {
  return QFile::encodeName(name);
}

// The components of a relative path, or nothing when one is empty, "." or "..".
std::vector<QByteArray> components(const QString& relative) {
  std::vector<QByteArray> parts;
  for (const QString& part : relative.split(QLatin1Char('/'))) {
    if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")) return {};
    parts.push_back(encoded(part));
  }
  return parts;
}

QString sizeText(qint64 bytes) {
  if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0)
    return QStringLiteral("%1 MB").arg(bytes / (1024 * 1024));
  return QStringLiteral("%1 bytes").arg(bytes);
}

// Writes all of `data`; 0 or the errno of the failure.
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

QByteArray temporaryName(const QByteArray& name) {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QByteArray t = '.' + name + '.';
  for (int i = 0; i < 6; ++i) t += kLetters[QRandomGenerator::global()->bounded(62)];
  return t;
}

// Renames `from` to `to` in `folder` without replacing an existing `to`.
int renameKeeping(int folder, const char* from, const char* to) {
  if (::renameat2(folder, from, folder, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without RENAME_NOREPLACE (NFS, some FUSE): a hard link fails as well when
  // the name exists.
  if (::linkat(folder, from, folder, to, 0) != 0) return errno;
  ::unlinkat(folder, from, 0);
  return 0;
}

bool removeContents(int folder) {
  DIR* dir = ::fdopendir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir) return false;
  std::vector<QByteArray> names;
  while (const dirent* e = ::readdir(dir)) {
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
      names.emplace_back(e->d_name);
  }
  ::closedir(dir);
  bool all = true;
  for (const QByteArray& name : names) {
    if (::unlinkat(folder, name.constData(), 0) == 0 || errno == ENOENT) continue;
    if (errno != EISDIR && errno != EPERM) {
      all = false;
      continue;
    }
    const int sub = ::openat(folder, name.constData(),
                             O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (sub < 0) {
      all = false;
      continue;
    }
    removeContents(sub);
    ::close(sub);
    if (::unlinkat(folder, name.constData(), AT_REMOVEDIR) != 0 && errno != ENOENT) all = false;
  }
  return all;
}

}  // namespace

Fd::~Fd() {
  if (fd_ >= 0) ::close(fd_);
}

Fd& Fd::operator=(Fd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

QString errorText(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

Fd openFolder(const QString& path) {
  if (path.contains(QChar(0))) {
    errno = ENOENT;
    return Fd();
  }
  return Fd(::open(encoded(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

Fd openBeneath(int folder, const QString& relative, int flags, mode_t mode) {
  const std::vector<QByteArray> parts = components(relative);
  if (parts.empty() || relative.contains(QChar(0))) {
    errno = EINVAL;
    return Fd();
  }
  const QByteArray path = encoded(relative);
  open_how how{};
  how.flags = static_cast<quint64>(flags | O_CLOEXEC);
  how.mode = (flags & (O_CREAT | O_TMPFILE)) ? mode : 0;
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const long fd = ::syscall(SYS_openat2, folder, path.constData(), &how, sizeof how);
    if (fd >= 0) return Fd(static_cast<int>(fd));
    if (errno == EAGAIN) continue;  // a rename raced the lookup
    if (errno != ENOSYS && errno != EPERM) return Fd();
    break;  // no openat2 (an older kernel, or a system call filter)
  }
  Fd current(::dup(folder));
  for (std::size_t i = 0; current && i + 1 < parts.size(); ++i)
    current = Fd(::openat(current.get(), parts[i].constData(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!current) return Fd();
  return Fd(
      ::openat(current.get(), parts.back().constData(), flags | O_NOFOLLOW | O_CLOEXEC, mode));
}

QByteArray readRegular(int fd, const FileRules& rules) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) throw ReleaseError(errorText(errno));
  if (S_ISDIR(st.st_mode)) throw ReleaseError(QStringLiteral("a folder, not a file"));
  if (!S_ISREG(st.st_mode)) throw ReleaseError(QStringLiteral("not a regular file"));
  if (rules.singleName && st.st_nlink > 1)
    throw ReleaseError(QStringLiteral("a file with further names (hard links)"));
  if (rules.owner != static_cast<uid_t>(-1) && st.st_uid != rules.owner)
    throw ReleaseError(QStringLiteral("owned by another user"));
  if (st.st_size > rules.limit)
    throw ReleaseError(QStringLiteral("larger than %1").arg(sizeText(rules.limit)));
  QByteArray data;
  data.resize(static_cast<qsizetype>(st.st_size) + 1);
  qsizetype have = 0;
  for (;;) {
    if (have == data.size()) {
      if (have > rules.limit)
        throw ReleaseError(QStringLiteral("larger than %1").arg(sizeText(rules.limit)));
      data.resize(have + 65536);
    }
    const ssize_t n = ::read(fd, data.data() + have, static_cast<size_t>(data.size() - have));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw ReleaseError(errorText(errno));
    if (n == 0) break;
    have += n;
  }
  if (have > rules.limit)
    throw ReleaseError(QStringLiteral("larger than %1").arg(sizeText(rules.limit)));
  data.truncate(have);
  return data;
}

QByteArray readBeneath(int folder, const QString& relative, const FileRules& rules) {
  const Fd fd = openBeneath(folder, relative, O_RDONLY | O_NONBLOCK | O_NOCTTY);
  if (!fd) {
    if (errno == ELOOP) throw ReleaseError(QStringLiteral("a symbolic link, not a file"));
    if (errno == EXDEV) throw ReleaseError(QStringLiteral("outside its folder"));
    throw ReleaseError(errorText(errno));
  }
  return readRegular(fd.get(), rules);
}

QByteArray readFile(const QString& path, const FileRules& rules) {
  // A name cannot hold a NUL: cut there, it would name another file.
  if (path.contains(QChar(0))) throw ReleaseError(QStringLiteral("no such file"));
  const Fd fd(::open(encoded(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd) {
    if (errno == ENOENT) throw ReleaseError(QStringLiteral("no such file"));
    throw ReleaseError(errorText(errno));
  }
  return readRegular(fd.get(), rules);
}

void writeFileAt(int folder, const QString& name, const QByteArray& data, Existing existing,
                 const QString& shown, bool flush) {
  const QByteArray final = encoded(name);
  QByteArray temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < kAttempts; ++attempt) {
    temporary = temporaryName(final);
    fd = ::openat(folder, temporary.constData(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0)
    throw ReleaseError(QStringLiteral("cannot write %1: %2").arg(shown, errorText(errno)));
  int error = writeAll(fd, data);
  if (!error && flush && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && !error) error = errno;
  if (!error) {
    if (existing == Existing::Replace)
      error = ::renameat(folder, temporary.constData(), folder, final.constData()) == 0 ? 0 : errno;
    else
      error = renameKeeping(folder, temporary.constData(), final.constData());
  }
  if (error) {
    ::unlinkat(folder, temporary.constData(), 0);
    throw ReleaseError(QStringLiteral("cannot write %1: %2").arg(shown, errorText(error)));
  }
  if (flush) ::fsync(folder);  // the rename itself on the disk
}

bool moveWithoutReplacing(int fromFolder, const QString& from, int toFolder, const QString& to) {
  const QByteArray a = encoded(from), b = encoded(to);
  if (::renameat2(fromFolder, a.constData(), toFolder, b.constData(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  struct stat st {};
  if (::fstatat(toFolder, b.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::renameat(fromFolder, a.constData(), toFolder, b.constData()) == 0;
}

Fd makeFoldersBeneath(int folder, const QString& relative) {
  const std::vector<QByteArray> parts = components(relative);
  if (parts.empty()) {
    errno = EINVAL;
    return Fd();
  }
  Fd current(::dup(folder));
  for (const QByteArray& part : parts) {
    if (::mkdirat(current.get(), part.constData(), 0777) != 0 && errno != EEXIST) return Fd();
    Fd next(
        ::openat(current.get(), part.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!next) {
      // A link answers "not a folder" to O_NOFOLLOW: say it is a link.
      const int error = errno;
      struct stat st {};
      const bool link = ::fstatat(current.get(), part.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                        S_ISLNK(st.st_mode);
      errno = link ? ELOOP : error;
      return Fd();
    }
    current = std::move(next);
  }
  return current;
}

bool removeBeneath(int folder, const QString& name) {
  const QByteArray n = encoded(name);
  if (::unlinkat(folder, n.constData(), 0) == 0 || errno == ENOENT) return true;
  if (errno != EISDIR && errno != EPERM) return false;
  const Fd sub(::openat(folder, n.constData(),
                        O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  if (!sub) return errno == ENOENT;
  removeContents(sub.get());
  return ::unlinkat(folder, n.constData(), AT_REMOVEDIR) == 0 || errno == ENOENT;
}

int sweepTemporaryFiles(int folder, const QString& prefix, int olderThanSeconds) {
  DIR* dir = ::fdopendir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir) return 0;
  const QByteArray start = '.' + encoded(prefix);
  std::vector<QByteArray> old;
  const std::time_t now = std::time(nullptr);
  while (const dirent* e = ::readdir(dir)) {
    const QByteArray name(e->d_name);
    // ".<name>.XXXXXX": six letters after the last dot.
    if (!name.startsWith(start) || name.size() < start.size() + 7 ||
        name.at(name.size() - 7) != '.')
      continue;
    struct stat st {};
    if (::fstatat(folder, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        now - st.st_mtime > olderThanSeconds)
      old.push_back(name);
  }
  ::closedir(dir);
  int removed = 0;
  for (const QByteArray& name : old)
    if (::unlinkat(folder, name.constData(), 0) == 0) ++removed;
  return removed;
}

}  // namespace zan::release
