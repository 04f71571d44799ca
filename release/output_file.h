#pragma once
// Writing results so that nothing half-written ever stands under a final name.

#include <QByteArray>
#include <QString>

namespace zan::release {

// Writes `data` to a hidden temporary file beside `path`, flushes it to the disk and renames
// it to `path`. Throws ReleaseError naming the file and the cause (a full disk, no permission);
// `path` is then left as it was and no temporary file remains.
void writeFileAtomically(const QString& path, const QByteArray& data);

// Creates `folder` if needed and proves that files can be created in it. Throws ReleaseError.
void prepareOutputFolder(const QString& folder);

}  // namespace zan::release
