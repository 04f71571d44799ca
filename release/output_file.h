#pragma once
// Writing results so that nothing half-written ever stands under a final name, and the folder a
// release writes into.

#include "release/file_access.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zan::release {

// Writes `data` to `path` as writeFileAt() does (a hidden temporary file beside it, flushed,
// renamed; the umask decides its mode). Throws ReleaseError naming the file and the cause (a
// full disk, no permission); `path` is then left as it was and no temporary file remains.
void writeFileAtomically(const QString& path, const QByteArray& data,
                         Existing existing = Existing::Replace);

// Creates `folder` if needed and proves that files can be created in it. Throws ReleaseError.
void prepareOutputFolder(const QString& folder);

// The output folder of a release, made ready: created when missing and proved writable, the
// hidden temporary files that a killed release left there (unchanged for ten minutes) removed,
// and the files of an earlier release (its release-report.json and the document-NNNN.pdf files)
// refused, or, with `replace`, removed: exactly the PDFs its report lists, then the report. A
// PDF there that no report lists is never removed (the folder is refused). Throws ReleaseError
// naming what is there; nothing is removed then.
void prepareReleaseFolder(const QString& folder, bool replace);

}  // namespace zan::release
