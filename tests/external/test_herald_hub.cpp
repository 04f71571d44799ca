#include "external/herald_hub.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

using namespace zan;

namespace {

void touch(const QString& path) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write("content\n");
}

// A hub folder with the given workflow and dictionary files.
QString makeHub(const QTemporaryDir& root, const QStringList& workflows,
                const QStringList& dictionaries) {
  const QString hub = root.filePath(QStringLiteral("hub"));
  QDir().mkpath(hub + QStringLiteral("/Workflows"));
  QDir().mkpath(hub + QStringLiteral("/Dictionaries"));
  for (const QString& w : workflows) touch(hub + QStringLiteral("/Workflows/") + w);
  for (const QString& d : dictionaries) touch(hub + QStringLiteral("/Dictionaries/") + d);
  return hub;
}

std::int32_t openStatus(const QString& path) {
  FolderHub hub;
  std::int32_t status = 0;
  hub.OpenHub(path, status);
  return status;
}

}  // namespace

// Catches wrong statuses for unreachable paths, folders that are no hub, and a real hub.
TEST(FolderHub, OpenStatuses) {
  QTemporaryDir root;
  const QString hub = makeHub(root, {}, {});
  QDir().mkpath(root.filePath(QStringLiteral("half/Workflows")));
  QDir().mkpath(root.filePath(QStringLiteral("files/Workflows")));
  touch(root.filePath(QStringLiteral("files/Dictionaries")));
  touch(root.filePath(QStringLiteral("plain.txt")));
  const struct {
    const char* name;
    QString path;
    std::int32_t status;
  } cases[] = {
      {"hub", hub, kHubOk},
      {"hub with trailing slash", hub + QLatin1Char('/'), kHubOk},
      {"empty path", QString(), kHubUnreachable},
      {"missing folder", root.filePath(QStringLiteral("nowhere")), kHubUnreachable},
      {"blanks around the path are not removed", QStringLiteral(" ") + hub, kHubUnreachable},
      {"folder without dictionaries", root.filePath(QStringLiteral("half")), kHubNotAHub},
      {"dictionaries is a file", root.filePath(QStringLiteral("files")), kHubNotAHub},
      {"a file", root.filePath(QStringLiteral("plain.txt")), kHubNotAHub},
      {"empty folder", root.path(), kHubNotAHub},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(openStatus(c.path), c.status);
  }
}

// Catches a folder the user may not enter being reported as "no hub" instead of unreachable.
TEST(FolderHub, UnreadableFolderIsUnreachable) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
  QTemporaryDir root;
  const QString hub = makeHub(root, {}, {});
  QFile::setPermissions(hub, QFile::WriteOwner);
  const std::int32_t status = openStatus(hub);
  QFile::setPermissions(hub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(status, kHubUnreachable);
}

// Catches lists that are unsorted, lack the trailing "|", include subfolders, let a "|" in a
// file name split one name into two, or give an empty folder as a lone "|".
TEST(FolderHub, ListsAreSortedFilesWithTrailingBar) {
  QTemporaryDir root;
  const QString hub = makeHub(root,
                              {QStringLiteral("b.wfl"), QStringLiteral("PDF Image Only.wfl"),
                               QStringLiteral("a|b.wfl"), QStringLiteral("A.wfl")},
                              {QStringLiteral("Medical.dic"), QStringLiteral("English.dic")});
  QDir().mkpath(hub + QStringLiteral("/Workflows/Sub folder"));
  FolderHub h;
  std::int32_t status = 0;
  h.OpenHub(hub, status);
  ASSERT_EQ(status, kHubOk);
  QString list = QStringLiteral("stale");
  h.GetWorkflows(list, status);
  EXPECT_EQ(status, kHubOk);
  EXPECT_EQ(list, QStringLiteral("A.wfl|b.wfl|PDF Image Only.wfl|"));
  h.GetDictionaries(list, status);
  EXPECT_EQ(status, kHubOk);
  EXPECT_EQ(list, QStringLiteral("English.dic|Medical.dic|"));
  h.CloseHub(status);
  EXPECT_EQ(status, kHubOk);

  // An empty folder gives an empty list, not a failure or a lone "|".
  QTemporaryDir other;
  h.OpenHub(makeHub(other, {}, {}), status);
  h.GetDictionaries(list, status);
  EXPECT_EQ(status, kHubOk);
  EXPECT_TRUE(list.isEmpty());
}

// Catches lists handed out without an open hub: before OpenHub, after a failed OpenHub,
// after CloseHub, and when the hub vanished after opening.
TEST(FolderHub, ListsNeedAnOpenHub) {
  QTemporaryDir root;
  const QString hub = makeHub(root, {QStringLiteral("W.wfl")}, {QStringLiteral("D.dic")});
  FolderHub h;
  std::int32_t status = 0;
  QString list = QStringLiteral("stale");
  h.GetWorkflows(list, status);
  EXPECT_EQ(status, kHubFailure);
  EXPECT_TRUE(list.isEmpty());

  h.OpenHub(hub, status);
  h.OpenHub(root.filePath(QStringLiteral("nowhere")), status);
  h.GetDictionaries(list, status);
  EXPECT_EQ(status, kHubFailure);

  h.OpenHub(hub, status);
  h.CloseHub(status);
  h.GetWorkflows(list, status);
  EXPECT_EQ(status, kHubFailure);

  h.OpenHub(hub, status);
  ASSERT_TRUE(QDir(hub).removeRecursively());
  h.GetWorkflows(list, status);
  EXPECT_EQ(status, kHubFailure);
}

// Catches a shipped sample hub that no longer offers the names the sample setup relies on.
TEST(FolderHub, ShippedSampleHub) {
  FolderHub h;
  std::int32_t status = 0;
  h.OpenHub(QStringLiteral(ZAN_EXAMPLES_DIR "/hub"), status);
  ASSERT_EQ(status, kHubOk);
  QString list;
  h.GetWorkflows(list, status);
  EXPECT_EQ(list, QStringLiteral("Archive Scans.wfl|PDF Image Only.wfl|Searchable Office.wfl|"));
  h.GetDictionaries(list, status);
  EXPECT_EQ(list, QStringLiteral("English.dic|Legal.dic|Medical.dic|"));
}
