#include "hub/watched_folder.h"

#include "release/output_file.h"
#include "release/release_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace zan::hub {
namespace {

using release::ReleaseError;

const QString kJobSuffix = QStringLiteral(".job");
const QString kPublishingSuffix = QStringLiteral(".publishing");
const QString kHeartbeat = QStringLiteral("heartbeat");

// One atomic step: false when `from` is gone (another party moved it first) or `to` exists.
bool moved(const QString& from, const QString& to) {
  return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

QString randomHex(int digits) {
  return QString::number(QRandomGenerator::global()->generate64(), 16).right(digits);
}

// Moves `folder` into `area` under a name of its own first, so that nobody sees it half
// removed under its name.
void removeFolder(const QString& folder, const QString& area, const QString& as) {
  const QString gone = QDir(area).filePath(QStringLiteral("%1-%2").arg(as, randomHex(8)));
  QDir(moved(folder, gone) ? gone : folder).removeRecursively();
}

qint64 modifiedMs(const QString& path) {
  const QFileInfo info(path);
  return info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1;
}

}  // namespace

WatchedFolder::WatchedFolder(const QString& path) : path_(QDir::cleanPath(path)) {}

QString WatchedFolder::waitingFolder(const QString& job) const {
  return QDir(path_).filePath(job + kJobSuffix);
}

QString WatchedFolder::hubArea() const {
  return QDir(path_).filePath(QStringLiteral(".zan-hub"));
}

QString WatchedFolder::serviceFolder(const QString& service) const {
  return QDir(hubArea()).filePath(QStringLiteral("services/") + service);
}

void WatchedFolder::submit(
    JobTicket ticket, const std::function<QStringList(const QString& folder)>& writePages) const {
  const QString staging = QDir(path_).filePath(QStringLiteral(".incoming-") + ticket.job);
  if (!QDir().mkpath(staging)) throw ReleaseError(QStringLiteral("cannot create %1").arg(staging));
  try {
    ticket.pages = writePages(staging);
    release::writeFileAtomically(QDir(staging).filePath(QStringLiteral("ticket.json")),
                                 ticketJson(ticket));
    if (!moved(staging, waitingFolder(ticket.job)))
      throw ReleaseError(QStringLiteral("cannot rename %1 to %2: %3")
                             .arg(staging, waitingFolder(ticket.job),
                                  QString::fromLocal8Bit(std::strerror(errno))));
  } catch (...) {
    QDir(staging).removeRecursively();
    throw;
  }
}

std::optional<JobStatus> WatchedFolder::status(const QString& job) const {
  QFile file(QDir(path_).filePath(QStringLiteral(".zan-hub/status/%1.json").arg(job)));
  if (!file.exists()) return std::nullopt;
  try {
    if (!file.open(QIODevice::ReadOnly))
      throw ReleaseError(QStringLiteral("cannot read it: %1").arg(file.errorString()));
    return parseStatus(file.readAll());
  } catch (const ReleaseError& e) {
    JobStatus broken;
    broken.job = job;
    broken.reason =
        QStringLiteral("its status %1 cannot be used: %2").arg(file.fileName(), e.message());
    return broken;
  }
}

void WatchedFolder::removeStatus(const QString& job) const {
  QFile::remove(QDir(path_).filePath(QStringLiteral(".zan-hub/status/%1.json").arg(job)));
}

void WatchedFolder::writeStatus(const JobStatus& status) const {
  const QString folder = QDir(path_).filePath(QStringLiteral(".zan-hub/status"));
  if (!QDir().mkpath(folder)) throw ReleaseError(QStringLiteral("cannot create %1").arg(folder));
  release::writeFileAtomically(QDir(folder).filePath(status.job + QStringLiteral(".json")),
                               statusJson(status));
}

bool WatchedFolder::withdraw(const QString& job) const {
  QStringList places{waitingFolder(job)};
  const QDir services(QDir(hubArea()).filePath(QStringLiteral("services")));
  for (const QString& s : services.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
    places << services.filePath(s + QLatin1Char('/') + job + kJobSuffix);
  QDir().mkpath(hubArea());
  for (const QString& place : places) {
    const QString gone =
        QDir(hubArea()).filePath(QStringLiteral("withdrawn-%1-%2").arg(job, randomHex(8)));
    if (moved(place, gone)) {
      QDir(gone).removeRecursively();
      return true;
    }
  }
  return false;
}

QStringList WatchedFolder::waitingJobs() const {
  QStringList jobs;
  const QDir dir(path_);
  for (const QString& name : dir.entryList({QLatin1Char('*') + kJobSuffix}, QDir::Dirs, QDir::Name))
    if (QFileInfo::exists(dir.filePath(name + QStringLiteral("/ticket.json"))))
      jobs << name.chopped(kJobSuffix.size());
  return jobs;
}

QStringList WatchedFolder::takeOverStale(const QString& service, double staleAfterSeconds) const {
  const qint64 now = modifiedMs(QDir(serviceFolder(service)).filePath(kHeartbeat));
  QStringList jobs;
  if (now < 0) return jobs;
  const QDir services(QFileInfo(serviceFolder(service)).path());
  for (const QString& other :
       services.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
    if (other == service) continue;
    const QDir folder(services.filePath(other));
    qint64 beat = modifiedMs(folder.filePath(kHeartbeat));
    if (beat < 0) beat = modifiedMs(folder.path());
    if (beat < 0 || now - beat <= static_cast<qint64>(staleAfterSeconds * 1000)) continue;
    for (const QString& entry : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
      QString job = entry;
      if (job.endsWith(kJobSuffix))
        job.chop(kJobSuffix.size());
      else if (job.endsWith(kPublishingSuffix))
        job.chop(kPublishingSuffix.size());
      else
        continue;
      if (moved(folder.filePath(entry), waitingFolder(job))) jobs << job;
    }
    QFile::remove(folder.filePath(kHeartbeat));
    services.rmdir(other);
  }
  return jobs;
}

ServiceClaims::ServiceClaims(const QString& watchedFolder, const QString& service)
    : folder_(watchedFolder), service_(service) {}

bool ServiceClaims::beat() {
  const QString folder = folder_.serviceFolder(service_);
  const QByteArray heartbeat = QFile::encodeName(QDir(folder).filePath(kHeartbeat));
  if (::utimensat(AT_FDCWD, heartbeat.constData(), nullptr, 0) == 0) return true;
  if (!QDir().mkpath(folder)) return false;
  const int fd = ::open(heartbeat.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  ::close(fd);
  return ::utimensat(AT_FDCWD, heartbeat.constData(), nullptr, 0) == 0;
}

bool ServiceClaims::claim(const QString& job) {
  return moved(folder_.waitingFolder(job), claimedFolder(job));
}

QString ServiceClaims::claimedFolder(const QString& job) const {
  return QDir(folder_.serviceFolder(service_)).filePath(job + kJobSuffix);
}

QString ServiceClaims::publishingFolder(const QString& job) const {
  return QDir(folder_.serviceFolder(service_)).filePath(job + kPublishingSuffix);
}

bool ServiceClaims::startPublishing(const QString& job) {
  return moved(claimedFolder(job), publishingFolder(job));
}

void ServiceClaims::finish(const QString& job) {
  removeFolder(publishingFolder(job), folder_.hubArea(), QStringLiteral("published-") + job);
}

bool ServiceClaims::putBack(const QString& job) {
  return moved(claimedFolder(job), folder_.waitingFolder(job)) ||
         moved(publishingFolder(job), folder_.waitingFolder(job));
}

void ServiceClaims::leave() {
  const QString folder = folder_.serviceFolder(service_);
  QFile::remove(QDir(folder).filePath(kHeartbeat));
  QDir().rmdir(folder);
}

QString newServiceName(const QString& machine) {
  QString name = machine;
  name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
  return QStringLiteral("%1-%2-%3")
      .arg(name)
      .arg(QCoreApplication::applicationPid())
      .arg(randomHex(6));
}

}  // namespace zan::hub
