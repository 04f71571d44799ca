// The setup files of release-setup: seeding the working copy from the bundled example, and
// locations stored relative to the setup file.

#include "host_fixture.h"

#include <gtest/gtest.h>
#include <QFileInfo>

namespace zan::host::testing {
namespace {

// Catches: the working copy pointing at a hub relative to the wrong folder (or left relative),
// the example in the repository being modified, or a second run overwriting the user's copy.
TEST(ReleaseSetupFiles, SeedingCopiesTheExampleWithAnAbsoluteHubOnce) {
  QTemporaryDir dir;
  const QString example = bundledSetupPath();
  ASSERT_FALSE(example.isEmpty());
  const QByteArray exampleBefore = fileBytes(example);
  const QString target = dir.filePath(QStringLiteral("home/release-setup.json"));

  EXPECT_EQ(seedWorkingSetup(example, target), target);
  auto seeded = SetupFile::load(target);
  const QString hub = seeded->SetupPartTwo().value(QStringLiteral("WorkgroupHub")).toString();
  EXPECT_EQ(hub, QDir::cleanPath(examplesDir() + QStringLiteral("/hub")));
  EXPECT_TRUE(QFileInfo(hub + QStringLiteral("/Workflows")).isDir());
  EXPECT_EQ(seeded->indexFields(), SetupFile::load(example)->indexFields());
  EXPECT_EQ(fileBytes(example), exampleBefore);

  QFile edited(target);
  ASSERT_TRUE(edited.open(QIODevice::Append));
  edited.write("\n");
  edited.close();
  const QByteArray userCopy = fileBytes(target);
  seedWorkingSetup(example, target);
  EXPECT_EQ(fileBytes(target), userCopy);
}

// Catches: a relative hub or watched folder opened against the current directory instead of
// the setup file's folder, or saved back as an absolute path (the file stops being portable);
// a location the user changed must be saved as changed.
TEST(ReleaseSetupFiles, RelativeLocationsResolveAgainstTheFileAndSaveAsStored) {
  QTemporaryDir dir;
  QDir(dir.path()).mkpath(QStringLiteral("setups"));
  const QString path = dir.filePath(QStringLiteral("setups/mine.json"));
  {
    SetupFile file(path);
    file.partTwo().setValue(QStringLiteral("WorkgroupHub"), QStringLiteral("../hub"));
    file.partTwo().setValue(QStringLiteral("WatchedFolder"), QStringLiteral("in"));
    file.partTwo().setValue(QStringLiteral("PDFOutputFolder"), QStringLiteral("out"));
    file.save();
  }
  auto document = SetupDocument::open(path);
  SetupPart& two = document->file().SetupPartTwo();
  EXPECT_EQ(two.value(QStringLiteral("WorkgroupHub")).toString(),
            dir.filePath(QStringLiteral("hub")));
  EXPECT_EQ(two.value(QStringLiteral("WatchedFolder")).toString(),
            dir.filePath(QStringLiteral("setups/in")));
  EXPECT_EQ(two.value(QStringLiteral("PDFOutputFolder")).toString(), QStringLiteral("out"));

  document->save();
  auto reread = SetupFile::load(path);
  EXPECT_EQ(reread->SetupPartTwo().value(QStringLiteral("WorkgroupHub")).toString(),
            QStringLiteral("../hub"));
  EXPECT_EQ(reread->SetupPartTwo().value(QStringLiteral("WatchedFolder")).toString(),
            QStringLiteral("in"));
  // The open document keeps showing absolute paths after the save.
  EXPECT_EQ(two.value(QStringLiteral("WorkgroupHub")).toString(),
            dir.filePath(QStringLiteral("hub")));

  two.setValue(QStringLiteral("WorkgroupHub"), QStringLiteral("/srv/other-hub"));
  document->save();
  EXPECT_EQ(SetupFile::load(path)->SetupPartTwo().value(QStringLiteral("WorkgroupHub")).toString(),
            QStringLiteral("/srv/other-hub"));
}

}  // namespace
}  // namespace zan::host::testing
