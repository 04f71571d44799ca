#include "hub/watched_folder.h"

#include "release/file_access.h"
#include "release/release_error.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>

namespace zan::hub {
namespace {

using release::errorText;
using release::Fd;
using release::ReleaseError;

QString randomHex() {
  return QString::number(QRandomGenerator::global()->generate(), 16);
}

QByteArray encoded(const QString& name) {
  return QFile::encodeName(name);
}

// Moves `name` of `from` to a hidden name of the watched folder `to` and removes it there.
bool takeAway(int from, const QString& name, int to, const QString& job) {
  const QString gone = QStringLiteral(".withdrawn-%1-%2").arg(job, randomHex());
  if (::renameat(from, encoded(name).constData(), to, encoded(gone).constData()) != 0) return false;
  release::removeBeneath(to, gone);
  return true;
}

}  // namespace

bool isJobName(const QString& name) {
  if (name.isEmpty() || name.startsWith(QLatin1Char('.')) || name.contains(QLatin1Char('/')) ||
      encoded(name).size() > 200)
    return false;
  for (const QChar c : name)
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) return false;
  return true;
}

WatchedFolder::WatchedFolder(const QString& path) : path_(QDir::cleanPath(path)) {}

void WatchedFolder::submit(
    JobTicket ticket,
    const std::function<QStringList(int folder, const QString& path)>& writePages) const {
  const Fd folder = release::openFolder(path_);
  if (!folder)
    throw ReleaseError(
        QStringLiteral("cannot open the watched folder %1: %2").arg(path_, errorText(errno)));
  const QString name = QStringLiteral(".incoming-") + ticket.job;
  const QString staging = QDir(path_).filePath(name);
  if (::mkdirat(folder.get(), encoded(name).constData(), 0777) != 0)
    throw ReleaseError(QStringLiteral("cannot create %1: %2").arg(staging, errorText(errno)));
  try {
    const Fd job = release::openBeneath(folder.get(), name, O_RDONLY | O_DIRECTORY);
    struct stat watched {
    }, own{};
    if (!job || ::fstat(folder.get(), &watched) != 0 || ::fstat(job.get(), &own) != 0)
      throw ReleaseError(QStringLiteral("cannot open %1: %2").arg(staging, errorText(errno)));
    // A service of the folder's group moves the job into its own folder and empties it later:
    // both need the right to write the job's folder.
    if ((watched.st_mode & S_IWGRP) && ::fchmod(job.get(), (own.st_mode & 07777) | S_IRWXG) != 0)
      throw ReleaseError(
          QStringLiteral("cannot let the group write %1: %2").arg(staging, errorText(errno)));
    ticket.pages = writePages(job.get(), staging);
    release::writeFileAt(job.get(), kTicket, ticketJson(ticket), release::Existing::Keep,
                         QDir(staging).filePath(kTicket));
    const QString waiting = ticket.job + kJobSuffix;
    if (!release::moveWithoutReplacing(folder.get(), name, folder.get(), waiting))
      throw ReleaseError(QStringLiteral("cannot rename %1 to %2: %3")
                             .arg(staging, QDir(path_).filePath(waiting), errorText(errno)));
  } catch (...) {
    release::removeBeneath(folder.get(), name);
    throw;
  }
}

std::optional<JobStatus> WatchedFolder::status(const QString& job) const {
  const QString file = QDir(path_).filePath(kStateFolder + QStringLiteral("/status/") + job +
                                            QStringLiteral(".json"));
  const Fd fd(::open(encoded(file).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd && errno == ENOENT) return std::nullopt;
  try {
    if (!fd) throw ReleaseError(QStringLiteral("cannot read it: %1").arg(errorText(errno)));
    return parseStatus(release::readRegular(fd.get(), {kLongestTicket}));
  } catch (const ReleaseError& e) {
    JobStatus broken;
    broken.job = job;
    broken.reason = QStringLiteral("its status %1 cannot be used: %2").arg(file, e.message());
    return broken;
  }
}

void WatchedFolder::removeStatus(const QString& job) const {
  const QString file = QDir(path_).filePath(kStateFolder + QStringLiteral("/status/") + job +
                                            QStringLiteral(".json"));
  ::unlink(encoded(file).constData());  // a services' folder of another user keeps it
}

bool WatchedFolder::withdraw(const QString& job) const {
  const Fd folder = release::openFolder(path_);
  if (!folder) return false;
  if (takeAway(folder.get(), job + kJobSuffix, folder.get(), job)) return true;
  const Fd services = release::openBeneath(folder.get(), kStateFolder + QStringLiteral("/services"),
                                           O_RDONLY | O_DIRECTORY);
  DIR* dir = services
                 ? ::fdopendir(::openat(services.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))
                 : nullptr;
  if (!dir) return false;
  QStringList names;
  while (const dirent* e = ::readdir(dir))
    if (e->d_name[0] != '.') names << QFile::decodeName(e->d_name);
  ::closedir(dir);
  for (const QString& service : names) {
    const Fd claimed = release::openBeneath(services.get(), service, O_RDONLY | O_DIRECTORY);
    if (claimed && takeAway(claimed.get(), job + kJobSuffix, folder.get(), job)) return true;
  }
  return false;
}

}  // namespace zan::hub
