#include "external/herald_hub.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace zan {
namespace {

const QString kWorkflows = QStringLiteral("Workflows");
const QString kDictionaries = QStringLiteral("Dictionaries");

// A folder of the hub itself: no symbolic link that could lead out of it.
bool isHubFolder(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && info.isDir() && !info.isSymLink();
}

// The names of the regular files in `folder` joined as "A|B|", or a failure when the folder
// cannot be listed.
bool listNames(const QString& folder, QString& list) {
  QDir dir(folder);
  if (!isHubFolder(folder) || !QFileInfo(folder).isReadable()) return false;
  QStringList names;
  for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::NoSort)) {
    if (entry.isFile() && !entry.isSymLink() && !entry.fileName().contains(QLatin1Char('|')))
      names << entry.fileName();
  }
  // Case-insensitive order, ties broken by the exact text so that the order never depends on
  // the file system.
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  list.clear();
  for (const QString& n : names) list += n + QLatin1Char('|');
  return true;
}

}  // namespace

QStringList hubListNames(const QString& list) {
  QStringList names;
  for (const QString& piece : list.split(QLatin1Char('|'))) {
    if (piece.isEmpty()) break;
    const qsizetype dot = piece.indexOf(QLatin1Char('.'));
    names << (dot >= 1 ? piece.left(dot) : piece);
  }
  return names;
}

void FolderHub::OpenHub(const QString& path, std::int32_t& status) {
  isOpen_ = false;
  open_.clear();
  const QFileInfo info(path);
  if (path.isEmpty() || !info.exists()) {
    status = kHubUnreachable;
    return;
  }
  if (info.isDir() && (!info.isReadable() || !info.isExecutable())) {
    status = kHubUnreachable;
    return;
  }
  const QDir dir(path);
  if (!info.isDir() || !isHubFolder(dir.filePath(kWorkflows)) ||
      !isHubFolder(dir.filePath(kDictionaries))) {
    status = kHubNotAHub;
    return;
  }
  open_ = path;
  isOpen_ = true;
  status = kHubOk;
}

void FolderHub::GetDictionaries(QString& list, std::int32_t& status) {
  list.clear();
  status = isOpen_ && listNames(QDir(open_).filePath(kDictionaries), list) ? kHubOk : kHubFailure;
}

void FolderHub::GetWorkflows(QString& list, std::int32_t& status) {
  list.clear();
  status = isOpen_ && listNames(QDir(open_).filePath(kWorkflows), list) ? kHubOk : kHubFailure;
}

void FolderHub::CloseHub(std::int32_t& status) {
  // Closing is idempotent: the panels close after every hub search, also when opening failed.
  isOpen_ = false;
  open_.clear();
  status = kHubOk;
}

void MemoryHub::OpenHub(const QString& path, std::int32_t& status) {
  calls << QStringLiteral("OpenHub:") + path;
  openPaths << path;
  status = openStatus;
}

void MemoryHub::GetDictionaries(QString& list, std::int32_t& status) {
  calls << QStringLiteral("GetDictionaries");
  list = dictionaries;
  status = dictionariesStatus;
}

void MemoryHub::GetWorkflows(QString& list, std::int32_t& status) {
  calls << QStringLiteral("GetWorkflows");
  list = workflows;
  status = workflowsStatus;
}

void MemoryHub::CloseHub(std::int32_t& status) {
  calls << QStringLiteral("CloseHub");
  status = closeStatus;
}

}  // namespace zan
