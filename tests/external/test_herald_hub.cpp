#include "settings/herald_hub.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

using namespace zan;

namespace {

// Makes `path` relative to `root`: a name ending in "/" is a folder, any other name a file.
void make(const QTemporaryDir& root, const QStringList& paths) {
  for (const QString& p : paths) {
    const QString full = root.filePath(p);
    QDir().mkpath(p.endsWith(u'/') ? full : QFileInfo(full).path());
    QFile f(full);
    EXPECT_TRUE(p.endsWith(u'/') || f.open(QIODevice::WriteOnly)) << qPrintable(p);
  }
}

std::int32_t openStatus(DiskHeraldHub& hub, const QString& path) {
  std::int32_t status = 0;
  hub.OpenHub(path, status);
  return status;
}

// The list GetWorkflows or GetDictionaries hands out, followed by "#" and the status.
QString listed(DiskHeraldHub& hub, bool workflows) {
  QString list = QStringLiteral("stale");
  std::int32_t status = 0;
  workflows ? hub.GetWorkflows(list, status) : hub.GetDictionaries(list, status);
  return list + QLatin1Char('#') + QString::number(status);
}

}  // namespace

// Catches wrong statuses for unreachable paths, folders that are no hub, and a real hub.
TEST(DiskHeraldHub, OpenStatuses) {
  QTemporaryDir root;
  make(root, {"hub/Workflows/", "hub/Dictionaries/", "half/Workflows/", "files/Workflows/",
              "files/Dictionaries", "plain.txt"});
  const QString hub = root.filePath(QStringLiteral("hub"));
  const std::pair<QString, std::int32_t> cases[] = {
      {hub, kHubOk},
      {hub + QLatin1Char('/'), kHubOk},
      {QString(), kHubUnreachable},
      {root.filePath(QStringLiteral("nowhere")), kHubUnreachable},
      {QLatin1Char(' ') + hub, kHubUnreachable},  // blanks around the path are not removed
      {root.filePath(QStringLiteral("half")), kHubNotAHub},
      {root.filePath(QStringLiteral("files")), kHubNotAHub},  // Dictionaries is a file
      {root.filePath(QStringLiteral("plain.txt")), kHubNotAHub},
      {root.path(), kHubNotAHub},
  };
  for (const auto& [path, status] : cases) {
    DiskHeraldHub h;
    EXPECT_EQ(openStatus(h, path), status) << path.toStdString();
  }
  // A folder the user may not enter is unreachable, not "no hub".
  if (geteuid() == 0) return;  // root reads every folder
  QFile::setPermissions(hub, QFile::WriteOwner);
  DiskHeraldHub h;
  const std::int32_t status = openStatus(h, hub);
  QFile::setPermissions(hub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(status, kHubUnreachable);
}

// Catches lists that are unsorted (case-insensitively, beyond ASCII and the basic plane too, ties
// by the exact text), lack the trailing "|", include subfolders, let a "|" in a file name split one
// name into two, give an empty folder as a lone "|", or are handed out without an open hub (before
// OpenHub, after a failed one, after CloseHub, hub vanished).
TEST(DiskHeraldHub, ListsAreSortedFilesWithTrailingBar) {
  QTemporaryDir root;
  make(root,
       {"hub/Workflows/b.wfl", "hub/Workflows/PDF Image Only.wfl", "hub/Workflows/a|b.wfl",
        "hub/Workflows/B.wfl", "hub/Workflows/A.wfl", "hub/Workflows/Sub folder/",
        "hub/Workflows/\u00C9bc.wfl", "hub/Workflows/\u00E9ab.wfl", "hub/Workflows/\U00010400b.wfl",
        "hub/Workflows/\U00010428a.wfl", "hub/Dictionaries/Medical.dic",
        "hub/Dictionaries/English.dic", "empty/Workflows/", "empty/Dictionaries/"});
  const QString hub = root.filePath(QStringLiteral("hub"));
  DiskHeraldHub h;
  EXPECT_EQ(listed(h, true), QStringLiteral("#7"));
  ASSERT_EQ(openStatus(h, hub), kHubOk);
  EXPECT_EQ(listed(h, true),
            QStringLiteral("A.wfl|B.wfl|b.wfl|PDF Image Only.wfl|"
                           "\u00E9ab.wfl|\u00C9bc.wfl|\U00010428a.wfl|\U00010400b.wfl|#1"));
  EXPECT_EQ(listed(h, false), QStringLiteral("English.dic|Medical.dic|#1"));
  std::int32_t status = 0;
  h.CloseHub(status);
  EXPECT_EQ(status, kHubOk);
  EXPECT_EQ(listed(h, true), QStringLiteral("#7"));

  openStatus(h, hub);
  openStatus(h, root.filePath(QStringLiteral("nowhere")));
  EXPECT_EQ(listed(h, false), QStringLiteral("#7"));
  openStatus(h, root.filePath(QStringLiteral("empty")));
  EXPECT_EQ(listed(h, false), QStringLiteral("#1"));
  openStatus(h, hub);
  ASSERT_TRUE(QDir(hub).removeRecursively());
  EXPECT_EQ(listed(h, true), QStringLiteral("#7"));

  // The shipped sample hub offers the names the sample setup relies on.
  ASSERT_EQ(openStatus(h, QStringLiteral(ZAN_EXAMPLES_DIR "/hub")), kHubOk);
  EXPECT_EQ(listed(h, true),
            QStringLiteral("Archive Scans.wfl|PDF Image Only.wfl|Searchable Office.wfl|#1"));
  EXPECT_EQ(listed(h, false), QStringLiteral("English.dic|Legal.dic|Medical.dic|#1"));
}

// Catches a hub that offers what lies outside it or is no plain file: a Workflows folder that is
// a symbolic link to another folder (such as /etc), links to files outside or inside the hub,
// or a named pipe.
TEST(DiskHeraldHub, OffersOnlyRegularFilesOfItsOwnFolders) {
  QTemporaryDir root;
  make(root, {"outside/secret.wfl", "hub/Workflows/Real.wfl", "hub/Dictionaries/English.dic",
              "linked/Dictionaries/"});
  const QString hub = root.filePath(QStringLiteral("hub"));
  ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("outside/secret.wfl")),
                          hub + QStringLiteral("/Workflows/Secret.wfl")));
  ASSERT_TRUE(
      QFile::link(QStringLiteral("Real.wfl"), hub + QStringLiteral("/Workflows/Alias.wfl")));
  ASSERT_EQ(
      ::mkfifo(QFile::encodeName(hub + QStringLiteral("/Workflows/Pipe.wfl")).constData(), 0600),
      0);
  ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("outside")),
                          root.filePath(QStringLiteral("linked/Workflows"))));
  DiskHeraldHub h;
  ASSERT_EQ(openStatus(h, hub), kHubOk);
  EXPECT_EQ(listed(h, true), QStringLiteral("Real.wfl|#1"));
  EXPECT_EQ(openStatus(h, root.filePath(QStringLiteral("linked"))), kHubNotAHub);
  EXPECT_EQ(listed(h, true), QStringLiteral("#7"));
}

// Catches a folder that is not listed again after it changed: a name added, removed, or the
// whole folder replaced, each right after a listing of a folder left unchanged for an hour
// (which a second listing need not repeat).
TEST(DiskHeraldHub, ListsAgainAFolderThatChanged) {
  QTemporaryDir root;
  make(root, {"hub/Workflows/One.wfl", "hub/Dictionaries/"});
  const QString hub = root.filePath(QStringLiteral("hub"));
  const QString folder = hub + QStringLiteral("/Workflows");
  const auto settle = [&] {
    const timeval hourAgo{::time(nullptr) - 3600, 0};
    const timeval times[] = {hourAgo, hourAgo};
    ASSERT_EQ(::utimes(QFile::encodeName(folder).constData(), times), 0);
  };
  DiskHeraldHub h;
  ASSERT_EQ(openStatus(h, hub), kHubOk);
  const std::pair<std::function<void()>, QString> steps[] = {
      {[] {}, QStringLiteral("One.wfl|#1")},
      {[&] { make(root, {"hub/Workflows/Two.wfl"}); }, QStringLiteral("One.wfl|Two.wfl|#1")},
      {[&] { QFile::remove(folder + QStringLiteral("/One.wfl")); }, QStringLiteral("Two.wfl|#1")},
      {[&] {
         QDir().rename(folder, hub + QStringLiteral("/Old"));
         make(root, {"hub/Workflows/Three.wfl"});
       },
       QStringLiteral("Three.wfl|#1")},
  };
  QString before = QStringLiteral("One.wfl|#1");
  for (const auto& [change, expected] : steps) {
    settle();
    EXPECT_EQ(listed(h, true), before);
    EXPECT_EQ(listed(h, true), before);
    change();
    EXPECT_EQ(listed(h, true), expected);
    before = expected;
  }
}
