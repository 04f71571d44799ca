#include "hub/hub_folder.h"

#include "release/file_access.h"
#include "release/output_file.h"
#include "release/release_error.h"
#include "settings/herald_hub.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <fcntl.h>

namespace zan::hub {
namespace {

using release::ReleaseError;

const QString kRegistry = QStringLiteral("WatchedFolders");
// Workflows and dictionaries are the administrator's; still, a FIFO or a huge file there must not
// stop the service.
constexpr qint64 kLongestHubFile = 64LL * 1024 * 1024;
constexpr qint64 kLongestRecord = 4096;

QByteArray readAll(const QString& path) {
  try {
    return release::readFile(path, {kLongestHubFile});
  } catch (const ReleaseError& e) {
    throw ReleaseError(QStringLiteral("cannot read %1: %2").arg(path, e.message()));
  }
}

QString hashName(const QByteArray& data) {
  return QString::fromLatin1(
      QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex().left(16));
}

}  // namespace

HubFolder::HubFolder(const QString& path)
    : path_(QDir::cleanPath(QFileInfo(path).absoluteFilePath())) {
  DiskHeraldHub hub;
  std::int32_t status = 0;
  hub.OpenHub(path_, status);
  if (status == kHubUnreachable)
    throw ReleaseError(QStringLiteral("the workgroup hub %1 cannot be reached").arg(path_));
  if (status != kHubOk)
    throw ReleaseError(QStringLiteral("%1 is no workgroup hub: it needs the folders Workflows and "
                                      "Dictionaries")
                           .arg(path_));
}

QString HubFolder::listedFile(const QString& folder, const QString& name, const char* what) const {
  // The same listing as the settings panel's, so that a name chosen there is found here.
  DiskHeraldHub hub;
  std::int32_t status = 0;
  QString list;
  hub.OpenHub(path_, status);
  if (status == kHubOk) {
    if (folder == QLatin1String("Workflows"))
      hub.GetWorkflows(list, status);
    else
      hub.GetDictionaries(list, status);
  }
  if (status == kHubOk) {
    const QStringList files = list.split(QLatin1Char('|'));
    const QStringList shown = hubListNames(list);  // in the order of `files`
    for (qsizetype i = 0; i < shown.size(); ++i)
      if (shown[i] == name) return QDir(path_).filePath(folder + QLatin1Char('/') + files[i]);
  }
  throw ReleaseError(QStringLiteral("the workgroup hub %1 has no %2 \"%3\"")
                         .arg(path_, QLatin1String(what), name));
}

QString HubFolder::workflowFile(const QString& name) const {
  return listedFile(QStringLiteral("Workflows"), name, "workflow");
}

QString HubFolder::dictionaryFile(const QString& name) const {
  return listedFile(QStringLiteral("Dictionaries"), name, "dictionary");
}

Workflow HubFolder::workflow(const QString& name) const {
  const QString file = workflowFile(name);
  try {
    return parseWorkflow(name, readAll(file));
  } catch (const ReleaseError& e) {
    throw ReleaseError(QStringLiteral("%1: %2").arg(file, e.message()));
  }
}

QStringList HubFolder::dictionaryWords(const QString& name) const {
  const QString file = dictionaryFile(name);
  auto decode = QStringDecoder(QStringDecoder::Utf8);
  const QString text = decode(readAll(file));
  if (decode.hasError()) throw ReleaseError(QStringLiteral("%1 is not UTF-8 text").arg(file));
  QStringList words;
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    if (line.trimmed().startsWith(QLatin1Char('#'))) continue;
    words << line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
  }
  return words;
}

QString HubFolder::registryFolder() const {
  return QDir(path_).filePath(kRegistry);
}

void HubFolder::registerWatchedFolder(const QString& watchedFolder) const {
  const QByteArray path = watchedFolder.toUtf8();
  const QString record =
      QDir(registryFolder()).filePath(hashName(path) + QStringLiteral(".folder"));
  if (QFileInfo::exists(record)) return;
  if (!QDir().mkpath(registryFolder()))
    throw ReleaseError(QStringLiteral("cannot create %1").arg(registryFolder()));
  release::writeFileAtomically(record, path + '\n');
}

QStringList HubFolder::watchedFolders() const {
  // The records are written by whoever releases: each is read beneath the hub, never through a
  // link, and only when it is a small regular file.
  QStringList folders;
  const release::Fd hub = release::openFolder(path_);
  const release::Fd registry =
      hub ? release::openBeneath(hub.get(), kRegistry, O_RDONLY | O_DIRECTORY) : release::Fd();
  if (!registry) return folders;
  for (const QString& name :
       QDir(registryFolder())
           .entryList({QStringLiteral("*.folder")}, QDir::Files | QDir::System, QDir::Name)) {
    try {
      const QString folder =
          QString::fromUtf8(release::readBeneath(registry.get(), name, {kLongestRecord})).trimmed();
      if (!folder.isEmpty() && !folders.contains(folder)) folders << folder;
    } catch (const ReleaseError&) {  // a link, a FIFO, a folder: no record
    }
  }
  return folders;
}

QString userWordsFile(const QStringList& words, const QString& folder) {
  const QByteArray text = words.join(QLatin1Char('\n')).toUtf8() + '\n';
  const QString path = QDir(folder).filePath(hashName(text) + QStringLiteral(".words"));
  if (!QFileInfo::exists(path)) release::writeFileAtomically(path, text);
  return path;
}

release::ReleaseOptions captureJobOptions(const HubFolder& hub, const CaptureSettings& settings,
                                          const QString& wordsFolder) {
  DictionaryWords dictionary;
  if (!settings.dictionary.isEmpty()) {
    dictionary.words = hub.dictionaryWords(settings.dictionary);
    if (!dictionary.words.isEmpty()) dictionary.file = userWordsFile(dictionary.words, wordsFolder);
  }
  return captureOptions(settings, hub.workflow(settings.workflow), dictionary);
}

}  // namespace zan::hub
