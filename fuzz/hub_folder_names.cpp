// A workgroup hub's folders may hold files of any name: the hub lists exactly its regular
// files, in an order that does not depend on the file system, every listed name is one of them,
// and the names the panels show from the list are those of the files. Input: file names,
// separated by NUL bytes, created as workflows.
#include "fuzz_support.h"
#include "settings/herald_hub.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QTemporaryDir root;
  if (!root.isValid()) std::abort();
  QDir hub(root.path());
  if (!hub.mkpath(QStringLiteral("Workflows")) || !hub.mkpath(QStringLiteral("Dictionaries")))
    std::abort();
  QSet<QString> created;
  for (const QByteArray& raw : zan::fuzzing::parts(data, size, '\0')) {
    const QString name = QFile::decodeName(raw);
    if (raw.isEmpty() || raw.contains('/') || raw.size() > 200 || name.startsWith('.')) continue;
    QFile file(hub.filePath(QStringLiteral("Workflows/") + name));
    if (file.open(QIODevice::WriteOnly)) created << file.fileName().section(QLatin1Char('/'), -1);
  }
  zan::DiskHeraldHub lister;
  std::int32_t status = 0;
  lister.OpenHub(root.path(), status);
  if (status != zan::kHubOk) std::abort();
  QString list;
  lister.GetWorkflows(list, status);
  if (status != zan::kHubOk) std::abort();
  const QStringList listed = list.split(QLatin1Char('|'), Qt::SkipEmptyParts);
  QSet<QString> expected;
  for (const QString& name : created)
    if (!name.contains(QLatin1Char('|'))) expected << name;
  if (QSet<QString>(listed.begin(), listed.end()) != expected || listed.size() != expected.size())
    std::abort();
  if (!list.isEmpty() && !list.endsWith(QLatin1Char('|'))) std::abort();
  const QStringList shown = zan::hubListNames(list);
  if (shown.size() > listed.size()) std::abort();
  for (int i = 0; i < shown.size(); ++i)
    if (!listed[i].startsWith(shown[i])) std::abort();
  lister.CloseHub(status);
  return 0;
}
