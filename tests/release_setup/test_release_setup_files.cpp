// The setup files of release-setup: seeding the working copy from the bundled example, and
// locations stored relative to the setup file.

#include "host_fixture.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>

namespace zan::host::testing {
namespace {

// Catches: the working copy pointing at a hub relative to the wrong folder (or left relative),
// the example in the repository being modified, or a second run overwriting the user's copy.
TEST(ReleaseSetupFiles, SeedingCopiesTheExampleWithAnAbsoluteHubOnce) {
  QTemporaryDir dir;
  const QString example = bundledSetupPath(), target = dir.filePath("home/release-setup.json");
  const QByteArray exampleBefore = fileBytes(example);
  ASSERT_FALSE(exampleBefore.isEmpty());

  EXPECT_EQ(seedWorkingSetup(example, target), target);
  const QString hub = storedTwo(target, "WorkgroupHub").toString();
  EXPECT_EQ(hub, QDir::cleanPath(examplesDir() + "/hub"));
  EXPECT_TRUE(QFileInfo(hub + "/Workflows").isDir());
  EXPECT_EQ(SetupFile::load(target)->indexFields(), SetupFile::load(example)->indexFields());
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
  QDir(dir.path()).mkpath("setups");
  const QString path = dir.filePath("setups/mine.json");
  {
    SetupFile file(path);
    file.partTwo().setValue("WorkgroupHub", "../hub");
    file.partTwo().setValue("WatchedFolder", "in");
    file.partTwo().setValue("PDFOutputFolder", "out");
    file.save();
  }
  auto document = SetupDocument::open(path);
  SetupPart& two = document->file().SetupPartTwo();
  const auto shown = [&two] {
    return QStringList{two.value("WorkgroupHub").toString(), two.value("WatchedFolder").toString(),
                       two.value("PDFOutputFolder").toString()};
  };
  const QStringList absolute{dir.filePath("hub"), dir.filePath("setups/in"), "out"};
  EXPECT_EQ(shown(), absolute);
  document->save();
  EXPECT_EQ(storedTwo(path, "WorkgroupHub").toString(), "../hub");
  EXPECT_EQ(storedTwo(path, "WatchedFolder").toString(), "in");
  EXPECT_EQ(shown(), absolute);  // the open document keeps showing absolute paths

  two.setValue("WorkgroupHub", "/srv/other-hub");
  document->save();
  EXPECT_EQ(storedTwo(path, "WorkgroupHub").toString(), "/srv/other-hub");
}

}  // namespace
}  // namespace zan::host::testing
