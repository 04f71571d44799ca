#pragma once
// The folders an administrator lets a hub service reach (--watched-root, --output-root): it
// serves a watched folder that a hub record names only at or below a watched root, and writes a
// PDF that a ticket names only below an output root. The roots themselves are trusted and
// opened once, when first needed (a root that does not exist yet, a share not yet mounted, is
// looked for again next time); a path below one is checked by its text (no "..", "." or empty
// part) and then opened beneath the root's descriptor, never through a symbolic link, so that no
// record or ticket alone decides where the service writes. Thread-safe.

#include "release/file_access.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <vector>

namespace zan::hub {

class ServiceRoots {
 public:
  // The roots, absolute paths.
  ServiceRoots(const QStringList& watchedRoots, const QStringList& outputRoots);
  const QStringList& watchedRoots() const { return watchedPaths_; }
  const QStringList& outputRoots() const { return outputPaths_; }

  // Opens the watched folder `path` beneath its root. Throws ReleaseError: under no watched
  // root, reached through a symbolic link, missing.
  release::Fd openWatchedFolder(const QString& path) const;

  // Checks that `pdf` lies below an output root. Throws ReleaseError naming the roots.
  void checkPdf(const QString& pdf) const;
  // The folder a PDF is written into, opened (and its missing folders created) beneath its
  // output root, and the PDF's file name in it. Throws ReleaseError.
  struct PdfPlace {
    release::Fd folder;
    QString name;
  };
  PdfPlace pdfPlace(const QString& pdf) const;

 private:
  struct Root {
    QString path;
    mutable release::Fd fd;
  };
  // The root `path` lies below and the rest of it; nullptr when none.
  const Root* rootOf(const std::vector<Root>& roots, const QString& path, QString* rest) const;
  // A new descriptor of the root, opening it first when needed. Throws ReleaseError.
  release::Fd opened(const Root& root, const char* what) const;

  mutable std::mutex mutex_;
  std::vector<Root> watched_, output_;
  QStringList watchedPaths_, outputPaths_;
};

}  // namespace zan::hub
