#include "hub/service_claims.h"

#include "hub/watched_folder.h"
#include "release/release_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

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

const QString kHeartbeat = QStringLiteral("heartbeat");

QByteArray encoded(const QString& name) {
  return QFile::encodeName(name);
}

QString randomHex(int digits) {
  return QString::number(QRandomGenerator::global()->generate64(), 16).right(digits);
}

// One step of a job: false when `from` is gone (another party moved it first) or `to` exists.
bool moved(int fromFolder, const QString& from, int toFolder, const QString& to) {
  return release::moveWithoutReplacing(fromFolder, from, toFolder, to);
}

QStringList entries(int folder) {
  QStringList names;
  DIR* dir = ::fdopendir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir) return names;
  while (const dirent* e = ::readdir(dir)) {
    const QString name = QFile::decodeName(e->d_name);
    if (name != QLatin1String(".") && name != QLatin1String("..")) names << name;
  }
  ::closedir(dir);
  names.sort();
  return names;
}

void checkOwner(const struct stat& st, const QString& shown) {
  if (st.st_uid != ::geteuid())
    throw ReleaseError(QStringLiteral("%1 is owned by user %2, not by this service's user %3")
                           .arg(shown)
                           .arg(st.st_uid)
                           .arg(::geteuid()));
}

// Whether part `name` of the state folder exists; throws when it exists but is not a folder of
// this service's user.
bool checkedPart(int parent, const QString& name, const QString& shown) {
  struct stat st {};
  if (::fstatat(parent, encoded(name).constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return false;
    throw ReleaseError(QStringLiteral("%1 cannot be examined: %2").arg(shown, errorText(errno)));
  }
  if (S_ISLNK(st.st_mode))
    throw ReleaseError(
        QStringLiteral("%1 is a symbolic link, not the services' folder").arg(shown));
  if (!S_ISDIR(st.st_mode)) throw ReleaseError(QStringLiteral("%1 is not a folder").arg(shown));
  checkOwner(st, shown);
  return true;
}

// Opens part `name` of the state folder, creating it when missing, and checks it again once
// open (it may have been swapped meanwhile).
Fd ownedPart(int parent, const QString& name, const QString& shown) {
  if (::mkdirat(parent, encoded(name).constData(), 0777) != 0 && errno != EEXIST)
    throw ReleaseError(QStringLiteral("cannot create %1: %2").arg(shown, errorText(errno)));
  Fd fd = release::openBeneath(parent, name, O_RDONLY | O_DIRECTORY);
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0)
    throw ReleaseError(QStringLiteral("cannot open %1: %2").arg(shown, errorText(errno)));
  checkOwner(st, shown);
  return fd;
}

double seconds(const timespec& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

ServiceClaims::ServiceClaims(Fd folder, const QString& path, const QString& service)
    : folder_(std::move(folder)), path_(path), service_(service) {
  const QString state = QDir(path).filePath(kStateFolder);
  // Every part that exists is checked before anything is created.
  if (checkedPart(folder_.get(), kStateFolder, state)) {
    const Fd existing = release::openBeneath(folder_.get(), kStateFolder, O_RDONLY | O_DIRECTORY);
    if (existing) {
      checkedPart(existing.get(), QStringLiteral("services"), state + QStringLiteral("/services"));
      checkedPart(existing.get(), QStringLiteral("status"), state + QStringLiteral("/status"));
    }
  }
  state_ = ownedPart(folder_.get(), kStateFolder, state);
  services_ =
      ownedPart(state_.get(), QStringLiteral("services"), state + QStringLiteral("/services"));
  status_ = ownedPart(state_.get(), QStringLiteral("status"), state + QStringLiteral("/status"));
  own_ = ownedPart(services_.get(), service_, state + QStringLiteral("/services/") + service_);
  struct stat st {};
  ::fstat(state_.get(), &st);
  stateDevice_ = st.st_dev;
  stateInode_ = st.st_ino;
  heartbeat_ = Fd(::openat(own_.get(), encoded(kHeartbeat).constData(),
                           O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666));
  if (!heartbeat_)
    throw ReleaseError(QStringLiteral("cannot create the heartbeat in %1: %2")
                           .arg(state + QStringLiteral("/services/") + service_, errorText(errno)));
}

bool ServiceClaims::beat(QString* problem) {
  struct stat st {};
  if (::fstatat(folder_.get(), encoded(kStateFolder).constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
      st.st_dev != stateDevice_ || st.st_ino != stateInode_) {
    if (problem)
      *problem = QStringLiteral("its state folder %1 was removed or replaced")
                     .arg(QDir(path_).filePath(kStateFolder));
    return false;
  }
  // Taken for dead by another service (a machine that stood still): start afresh.
  if (::fstat(heartbeat_.get(), &st) == 0 && st.st_nlink == 0) {
    ::mkdirat(services_.get(), encoded(service_).constData(), 0777);
    own_ = release::openBeneath(services_.get(), service_, O_RDONLY | O_DIRECTORY);
    if (own_)
      heartbeat_ = Fd(::openat(own_.get(), encoded(kHeartbeat).constData(),
                               O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666));
  }
  if (!own_ || !heartbeat_ || ::futimens(heartbeat_.get(), nullptr) != 0) {
    if (problem) *problem = QStringLiteral("cannot touch its heartbeat: %1").arg(errorText(errno));
    return false;
  }
  return true;
}

QStringList ServiceClaims::waitingJobs() const {
  QStringList jobs;
  for (const QString& name : entries(folder_.get())) {
    if (!name.endsWith(kJobSuffix)) continue;
    const QString job = name.chopped(kJobSuffix.size());
    struct stat st {};
    if (!isJobName(job) ||
        ::fstatat(folder_.get(), encoded(name).constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISDIR(st.st_mode))
      continue;
    if (release::openBeneath(folder_.get(), name + QLatin1Char('/') + kTicket, O_PATH)) jobs << job;
  }
  return jobs;
}

QByteArray ServiceClaims::waitingTicket(const QString& job) const {
  return release::readBeneath(folder_.get(), job + kJobSuffix + QLatin1Char('/') + kTicket,
                              {kLongestTicket});
}

bool ServiceClaims::claim(const QString& job) {
  return moved(folder_.get(), job + kJobSuffix, own_.get(), job + kJobSuffix);
}

Fd ServiceClaims::claimedFolder(const QString& job) const {
  return release::openBeneath(own_.get(), job + kJobSuffix, O_RDONLY | O_DIRECTORY);
}

bool ServiceClaims::isClaimed(const QString& job) const {
  struct stat st {};
  return ::fstatat(own_.get(), encoded(job + kJobSuffix).constData(), &st, AT_SYMLINK_NOFOLLOW) ==
         0;
}

bool ServiceClaims::startPublishing(const QString& job) {
  return moved(own_.get(), job + kJobSuffix, own_.get(), job + kPublishingSuffix);
}

Fd ServiceClaims::publishingFolder(const QString& job, const QString& suffix) const {
  return release::openBeneath(own_.get(), job + suffix, O_RDONLY | O_DIRECTORY);
}

bool ServiceClaims::markPublished(const QString& job) {
  return moved(own_.get(), job + kPublishingSuffix, own_.get(), job + kPublishedSuffix);
}

void ServiceClaims::finish(const QString& job, const QString& suffix) {
  // Out of the way under a name of its own first, so that nobody sees it half removed.
  const QString gone = QStringLiteral(".gone-%1-%2").arg(job, randomHex(8));
  release::removeBeneath(own_.get(),
                         moved(own_.get(), job + suffix, own_.get(), gone) ? gone : job + suffix);
}

bool ServiceClaims::putBack(const QString& job, const QString& suffix) {
  if (!suffix.isEmpty()) return moved(own_.get(), job + suffix, folder_.get(), job + kJobSuffix);
  return moved(own_.get(), job + kJobSuffix, folder_.get(), job + kJobSuffix) ||
         moved(own_.get(), job + kPublishingSuffix, folder_.get(), job + kJobSuffix);
}

void ServiceClaims::writeStatus(const JobStatus& status) const {
  const QString name = status.job + QStringLiteral(".json");
  release::writeFileAt(status_.get(), name, statusJson(status), release::Existing::Replace,
                       QDir(path_).filePath(kStateFolder + QStringLiteral("/status/") + name));
}

QStringList ServiceClaims::takeOverStale(double staleAfterSeconds, QStringList* published) {
  QStringList jobs;
  struct stat own {};
  if (::fstat(heartbeat_.get(), &own) != 0 || own.st_nlink == 0) return jobs;
  const double now = seconds(own.st_ctim);
  for (const QString& other : entries(services_.get())) {
    if (other == service_ || other.startsWith(QLatin1Char('.'))) continue;
    const Fd folder = release::openBeneath(services_.get(), other, O_RDONLY | O_DIRECTORY);
    struct stat beat {};
    if (!folder || (::fstatat(folder.get(), encoded(kHeartbeat).constData(), &beat,
                              AT_SYMLINK_NOFOLLOW) != 0 &&
                    ::fstat(folder.get(), &beat) != 0))
      continue;
    if (now - seconds(beat.st_ctim) <= staleAfterSeconds) continue;
    for (const QString& entry : entries(folder.get())) {
      for (const QString& suffix : {kJobSuffix, kPublishingSuffix}) {
        if (entry.endsWith(suffix) &&
            moved(folder.get(), entry, folder_.get(), entry.chopped(suffix.size()) + kJobSuffix))
          jobs << entry.chopped(suffix.size());
      }
      if (entry.endsWith(kPublishedSuffix) && moved(folder.get(), entry, own_.get(), entry) &&
          published)
        *published << entry.chopped(kPublishedSuffix.size());
    }
    ::unlinkat(folder.get(), encoded(kHeartbeat).constData(), 0);
    ::unlinkat(services_.get(), encoded(other).constData(), AT_REMOVEDIR);
  }
  return jobs;
}

void ServiceClaims::leave() {
  ::unlinkat(own_.get(), encoded(kHeartbeat).constData(), 0);
  ::unlinkat(services_.get(), encoded(service_).constData(), AT_REMOVEDIR);
}

QString newServiceName(const QString& machine) {
  QString name = machine;
  name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
  if (name.isEmpty() || name.startsWith(QLatin1Char('.'))) name.prepend(QStringLiteral("service"));
  return QStringLiteral("%1-%2-%3")
      .arg(name.left(64))
      .arg(QCoreApplication::applicationPid())
      .arg(randomHex(6));
}

}  // namespace zan::hub
