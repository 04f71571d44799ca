// What a hub record or a ticket names is anything a submitter writes: a PDF path that the
// service's output roots accept lies strictly below one of them, by its text, with no ".", ".."
// or empty part that could lead elsewhere; a watched folder a watched root accepts likewise; a
// name taken for a job has no control character, no "/" and does not start with "."; and a
// message shows no control character. Input: output root, watched root, a path, a job name,
// separated by NUL bytes.
#include "fuzz_support.h"
#include "hub/service_roots.h"
#include "hub/watched_folder.h"
#include "release/release_error.h"

#include <QDir>

namespace {

bool plainBelow(const QString& path, const QString& root, bool mayBeRoot) {
  if (mayBeRoot && path == root) return true;
  const QString prefix = root.endsWith('/') ? root : root + '/';
  if (!path.startsWith(prefix) || path.size() == prefix.size()) return false;
  for (const QString& part : path.mid(prefix.size()).split('/'))
    if (part.isEmpty() || part == "." || part == "..") return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QList<QByteArray> parts = zan::fuzzing::parts(data, size, '\0');
  const QString outputRoot = QDir::cleanPath("/" + QString::fromUtf8(parts.value(0)));
  const QString watchedRoot = QDir::cleanPath("/" + QString::fromUtf8(parts.value(1)));
  const QString path = QString::fromUtf8(parts.value(2));
  // Roots that do not exist: only the text is judged, nothing is opened.
  const zan::hub::ServiceRoots roots({watchedRoot}, {outputRoot});
  try {
    roots.checkPdf(path);
    if (!plainBelow(path, outputRoot, false)) std::abort();
  } catch (const zan::release::ReleaseError& e) {
    for (const QChar c : e.message())
      if (c.unicode() < 0x20) std::abort();
  }
  try {
    roots.openWatchedFolder(path);
  } catch (const zan::release::ReleaseError& e) {
    // Refused by its text, or because the root is not there: never opened outside the root.
    if (plainBelow(path, watchedRoot, true) &&
        e.message().startsWith(QLatin1String("it is under no watched root")))
      std::abort();
  }
  const QString job = QString::fromUtf8(parts.value(3));
  if (zan::hub::isJobName(job)) {
    if (job.startsWith('.') || job.contains('/') || job.isEmpty()) std::abort();
    for (const QChar c : job)
      if (c.unicode() < 0x20 || c.unicode() == 0x7f) std::abort();
  }
  for (const QChar c : zan::release::printable(job))
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) std::abort();
  return 0;
}
