#include "settings/herald_hub.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <utility>
#include <vector>

namespace zan {
namespace {

const QString kWorkflows = QStringLiteral("Workflows");
const QString kDictionaries = QStringLiteral("Dictionaries");

// A folder of the hub itself: no symbolic link that could lead out of it.
bool isHubFolder(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && info.isDir() && !info.isSymLink();
}

// `text` with each character case-folded on its own, as QString::toCaseFolded() folds it:
// comparing two keys orders as QString::compare(a, b, Qt::CaseInsensitive) does. The usual name
// (characters of the basic plane that fold to one of the basic plane) is written in place, ASCII
// folded inline, several times faster than the general fold that any other name takes.
QString foldedKey(const QString& text) {
  QString key(text.size(), Qt::Uninitialized);
  QChar* out = key.data();
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < 0x80) {
      out[i] = QChar(static_cast<char16_t>(c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c));
      continue;
    }
    if (QChar::isSurrogate(c)) return text.toCaseFolded();
    const char32_t folded = QChar::toCaseFolded(static_cast<char32_t>(c));
    if (QChar::requiresSurrogates(folded)) return text.toCaseFolded();
    out[i] = QChar(static_cast<char16_t>(folded));
  }
  return key;
}

// The names of the regular files in `folder` joined as "A|B|", or a failure when the folder
// cannot be listed.
bool listNames(const QString& folder, QString& list) {
  if (!isHubFolder(folder) || !QFileInfo(folder).isReadable()) return false;
  // Listed unsorted: the one sort below is the order the lists promise.
  QStringList names = QDir(folder).entryList(QDir::Files | QDir::NoSymLinks, QDir::Unsorted);
  names.removeIf([](const QString& n) { return n.contains(QLatin1Char('|')); });
  // Case-insensitive order, ties broken by the exact text so that the order never depends on
  // the file system. Each name is folded once, not at every comparison.
  std::vector<std::pair<QString, QString>> keyed;
  keyed.reserve(static_cast<std::size_t>(names.size()));
  qsizetype length = 0;
  for (QString& n : names) {
    length += n.size() + 1;
    keyed.emplace_back(foldedKey(n), std::move(n));
  }
  std::sort(keyed.begin(), keyed.end());
  list.clear();
  list.reserve(length);
  for (const auto& entry : keyed) {
    list += entry.second;
    list += QLatin1Char('|');
  }
  return true;
}

}  // namespace

QStringList hubListNames(const QString& list) {
  QStringList names;
  names.reserve(list.count(QLatin1Char('|')) + 1);
  for (const QStringView piece : QStringView(list).tokenize(QLatin1Char('|'))) {
    if (piece.isEmpty()) break;
    const qsizetype dot = piece.indexOf(QLatin1Char('.'));
    names << (dot >= 1 ? piece.left(dot) : piece).toString();
  }
  return names;
}

void DiskHeraldHub::OpenHub(const QString& path, std::int32_t& status) {
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

void DiskHeraldHub::GetDictionaries(QString& list, std::int32_t& status) {
  list.clear();
  status = isOpen_ && listFolder(kDictionaries, lastDictionaries_, list) ? kHubOk : kHubFailure;
}

void DiskHeraldHub::GetWorkflows(QString& list, std::int32_t& status) {
  list.clear();
  status = isOpen_ && listFolder(kWorkflows, lastWorkflows_, list) ? kHubOk : kHubFailure;
}

// A folder whose path, modification time and change time are those of the last listing holds
// the same names: adding, removing or renaming an entry changes the folder's modification
// time, and replacing the folder changes its change time. A listing made within two seconds of
// the folder's last modification is not used again, as a file system with coarse times could
// give a change right after it the same time.
bool DiskHeraldHub::listFolder(const QString& name, Listing& last, QString& list) {
  const QString folder = QDir(open_).filePath(name);
  const QFileInfo info(folder);
  const QDateTime modified = info.lastModified(), changed = info.metadataChangeTime();
  if (last.settled && last.folder == folder && last.modified == modified &&
      last.changed == changed && isHubFolder(folder) && info.isReadable()) {
    list = last.list;
    return true;
  }
  last.settled = false;
  list.clear();
  const QDateTime listedAt = QDateTime::currentDateTimeUtc();
  if (!listNames(folder, list)) return false;
  constexpr qint64 kTimeResolutionMs = 2000;
  const bool settled = modified.isValid() && modified.msecsTo(listedAt) > kTimeResolutionMs;
  last = {settled, folder, modified, changed, list};
  return true;
}

void DiskHeraldHub::CloseHub(std::int32_t& status) {
  // Closing is idempotent: the panels close after every hub search, also when opening failed.
  isOpen_ = false;
  open_.clear();
  status = kHubOk;
}

}  // namespace zan
