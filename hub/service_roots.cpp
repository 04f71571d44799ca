#include "hub/service_roots.h"

#include "release/release_error.h"

#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <cerrno>

namespace zan::hub {
namespace {

using release::errorText;
using release::Fd;
using release::ReleaseError;

// Whether `path` is absolute and holds no "..", "." or empty part.
bool isPlainAbsolute(const QString& path) {
  if (!path.startsWith(QLatin1Char('/'))) return false;
  const QStringList parts = path.mid(1).split(QLatin1Char('/'));
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const QString& p = parts[i];
    if (p == QLatin1String(".") || p == QLatin1String("..")) return false;
    if (p.isEmpty() && !(i == parts.size() - 1 && parts.size() == 1)) return false;
  }
  return true;
}

QString rootList(const QStringList& roots, const char* option) {
  if (roots.isEmpty())
    return QStringLiteral("this service has no %1 configured").arg(QLatin1String(option));
  return QStringLiteral("its %1 %2 %3")
      .arg(QLatin1String(option), roots.size() == 1 ? QStringLiteral("is") : QStringLiteral("are"),
           roots.join(QStringLiteral(", ")));
}

}  // namespace

ServiceRoots::ServiceRoots(const QStringList& watchedRoots, const QStringList& outputRoots) {
  const auto add = [](const QStringList& paths, std::vector<Root>& roots, QStringList& shown) {
    for (const QString& given : paths) {
      const QString path = QDir::cleanPath(QFileInfo(given).absoluteFilePath());
      roots.push_back({path, Fd()});
      shown << path;
    }
  };
  add(watchedRoots, watched_, watchedPaths_);
  add(outputRoots, output_, outputPaths_);
}

Fd ServiceRoots::opened(const Root& root, const char* what) const {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!root.fd) root.fd = release::openFolder(root.path);
  if (!root.fd)
    throw ReleaseError(QStringLiteral("the %1 %2 cannot be opened: %3")
                           .arg(QLatin1String(what), root.path, errorText(errno)));
  return Fd(::fcntl(root.fd.get(), F_DUPFD_CLOEXEC, 0));
}

const ServiceRoots::Root* ServiceRoots::rootOf(const std::vector<Root>& roots, const QString& path,
                                               QString* rest) const {
  if (!isPlainAbsolute(path)) return nullptr;
  for (const Root& root : roots) {
    if (path == root.path) {
      *rest = QString();
      return &root;
    }
    const QString prefix = root.path.endsWith(QLatin1Char('/')) ? root.path : root.path + '/';
    if (path.startsWith(prefix)) {
      *rest = path.mid(prefix.size());
      return &root;
    }
  }
  return nullptr;
}

Fd ServiceRoots::openWatchedFolder(const QString& path) const {
  QString rest;
  const Root* root = rootOf(watched_, path, &rest);
  if (!root)
    throw ReleaseError(QStringLiteral("it is under no watched root of this service (%1)")
                           .arg(rootList(watchedPaths_, "--watched-root")));
  Fd top = opened(*root, "watched root");
  Fd fd = rest.isEmpty() ? std::move(top)
                         : release::openBeneath(top.get(), rest, O_RDONLY | O_DIRECTORY);
  if (!fd) {
    const int error = errno;
    if (error == ELOOP || error == EXDEV)
      throw ReleaseError(QStringLiteral("it is reached through a symbolic link below its root %1")
                             .arg(root->path));
    throw ReleaseError(errorText(error));
  }
  return fd;
}

void ServiceRoots::checkPdf(const QString& pdf) const {
  QString rest;
  if (!rootOf(output_, pdf, &rest) || rest.isEmpty())
    throw ReleaseError(QStringLiteral("the PDF %1 is under no output root of this service (%2)")
                           .arg(release::printable(pdf), rootList(outputPaths_, "--output-root")));
}

ServiceRoots::PdfPlace ServiceRoots::pdfPlace(const QString& pdf) const {
  checkPdf(pdf);
  QString rest;
  const Root* root = rootOf(output_, pdf, &rest);
  PdfPlace place;
  const qsizetype slash = rest.lastIndexOf(QLatin1Char('/'));
  place.name = rest.mid(slash + 1);
  Fd top = opened(*root, "output root");
  place.folder =
      slash < 0 ? std::move(top) : release::makeFoldersBeneath(top.get(), rest.left(slash));
  if (!place.folder) {
    const int error = errno;
    const QString folder = QFileInfo(pdf).path();
    if (error == ELOOP || error == EXDEV)
      throw ReleaseError(QStringLiteral("the output folder %1 is reached through a symbolic link "
                                        "below the output root %2")
                             .arg(folder, root->path));
    throw ReleaseError(
        QStringLiteral("the output folder %1 cannot be created: %2").arg(folder, errorText(error)));
  }
  return place;
}

}  // namespace zan::hub
