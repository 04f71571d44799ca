#include "release/output_file.h"

#include "release/release_error.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

namespace zan::release {

void writeFileAtomically(const QString& path, const QByteArray& data) {
  QSaveFile file(path);
  const auto refuse = [&] {
    const QString cause = file.errorString();
    file.cancelWriting();
    throw ReleaseError(QStringLiteral("cannot write %1: %2").arg(path, cause));
  };
  if (!file.open(QIODevice::WriteOnly)) refuse();
  if (file.write(data) != data.size()) refuse();
  if (!file.commit())
    throw ReleaseError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
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
