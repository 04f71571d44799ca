#include "setup_document.h"

#include "settings/automation_error.h"
#include "settings/settings_table.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zan::host {
namespace {

constexpr const char* kSetupFileName = "release-setup.json";

MemorySetupPart& part(SetupFile& file, int number) {
  return number == 1 ? file.partOne() : file.partTwo();
}

QString keyOf(int partNumber, const QString& key) {
  return QStringLiteral("%1/%2").arg(partNumber).arg(key);
}

}  // namespace

const QStringList& locationKeys() {
  static const QStringList keys{settingRow(Setting::WorkgroupHub).keyText(),
                                settingRow(Setting::WatchedFolder).keyText()};
  return keys;
}

std::unique_ptr<SetupDocument> SetupDocument::open(const QString& path) {
  return std::unique_ptr<SetupDocument>(new SetupDocument(SetupFile::load(path)));
}

SetupDocument::SetupDocument(std::unique_ptr<SetupFile> file) : file_(std::move(file)) {
  const QDir base = QFileInfo(file_->path()).absoluteDir();
  for (int number : {1, 2}) {
    MemorySetupPart& bag = part(*file_, number);
    for (const QString& key : locationKeys()) {
      const QVariant value = bag.value(key);
      if (value.typeId() != QMetaType::QString) continue;
      const QString stored = value.toString();
      if (stored.trimmed().isEmpty() || QDir::isAbsolutePath(stored)) continue;
      const QString absolute = QDir::cleanPath(base.absoluteFilePath(stored));
      bag.setValue(key, absolute);
      resolved_.insert(keyOf(number, key), {stored, absolute});
    }
  }
}

void SetupDocument::save() {
  // Put back the stored form of every location the panel left as it was, save, then show the
  // absolute form again.
  QHash<QString, QString> restored;
  for (int number : {1, 2}) {
    MemorySetupPart& bag = part(*file_, number);
    for (const QString& key : locationKeys()) {
      const auto it = resolved_.constFind(keyOf(number, key));
      if (it == resolved_.constEnd() || bag.value(key).toString() != it->absolute) continue;
      bag.setValue(key, it->stored);
      restored.insert(keyOf(number, key), it->absolute);
    }
  }
  auto showAbsolute = [&] {
    for (auto it = restored.constBegin(); it != restored.constEnd(); ++it) {
      const int number = it.key().section(QLatin1Char('/'), 0, 0).toInt();
      part(*file_, number).setValue(it.key().section(QLatin1Char('/'), 1), it.value());
    }
  };
  try {
    file_->save();
  } catch (...) {
    showAbsolute();
    throw;
  }
  showAbsolute();
}

QString examplesDir() {
  // An installed program uses its installed examples; one run from a build tree finds none
  // there and uses the source tree's.
  QStringList candidates;
#ifdef ZAN_INSTALL_EXAMPLES_DIR
  candidates << QDir(QCoreApplication::applicationDirPath())
                    .absoluteFilePath(QStringLiteral("../" ZAN_INSTALL_EXAMPLES_DIR));
#endif
#ifdef ZAN_SOURCE_EXAMPLES_DIR
  candidates << QStringLiteral(ZAN_SOURCE_EXAMPLES_DIR);
#endif
  for (const QString& dir : candidates) {
    if (QFileInfo::exists(QDir(dir).absoluteFilePath(
            QStringLiteral("setup/%1").arg(QLatin1String(kSetupFileName)))))
      return QDir::cleanPath(dir);
  }
  return {};
}

QString bundledSetupPath() {
  const QString dir = examplesDir();
  if (dir.isEmpty()) return {};
  return QDir(dir).absoluteFilePath(QStringLiteral("setup/%1").arg(QLatin1String(kSetupFileName)));
}

QString workingHome() {
  const QString home = qEnvironmentVariable("ZAN_RELEASE_SETUP_HOME");
  if (!home.isEmpty()) return QDir(home).absolutePath();
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString workingSetupPath() {
  return QDir(workingHome()).absoluteFilePath(QLatin1String(kSetupFileName));
}

QString seedWorkingSetup(const QString& example, const QString& target) {
  if (QFileInfo::exists(target)) return target;
  auto source = SetupDocument::open(example);  // absolute locations from here on

  const QString folder = QFileInfo(target).absolutePath();
  if (!QDir().mkpath(folder))
    raiseClassic(classic::kPathAccess, QStringLiteral("release-setup"),
                 QStringLiteral("cannot create the folder %1 for the working setup file.")
                     .arg(QDir::toNativeSeparators(folder)));
  SetupFile copy(target);
  copy.partOne().assign(source->file().partOne().toMap());
  copy.partTwo().assign(source->file().partTwo().toMap());
  copy.setIndexFields(source->file().indexFields());
  copy.setBatchFields(source->file().batchFields());
  copy.save();
  return target;
}

}  // namespace zan::host
