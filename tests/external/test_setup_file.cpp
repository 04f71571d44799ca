#include "common/automation_error.h"
#include "external/pdf_settings.h"
#include "external/setup_data.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <unistd.h>

using namespace zan;

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// The failure `body` raises; number 0 when it raised none.
template <class F>
AutomationError failureOf(F body) {
  try {
    body();
  } catch (...) {
    return currentError();
  }
  return {};
}

std::unique_ptr<SetupFile> sampleSetup(const QString& path) {
  auto f = std::make_unique<SetupFile>(path);
  f->partOne().setValue(QStringLiteral("Empty"), QString());
  f->partOne().setValue(QStringLiteral("Negative"), -32768);
  f->partOne().setValue(QStringLiteral("Flag"), false);
  f->partTwo().setValue(QStringLiteral("Text"),
                        QStringLiteral("Größe – 日本語 \"quoted\" | ../hub"));
  f->partTwo().setValue(QStringLiteral("Big"), 2147483647);
  f->setIndexFields({QStringLiteral("Customer"), QStringLiteral("Datum")});
  f->setBatchFields({QStringLiteral("Batch Name")});
  return f;
}

}  // namespace

// Catches values whose type or text changes on the way through the file (ints becoming
// doubles or strings, lost non-ASCII text, dropped empty strings, lost link sources).
TEST(SetupFile, RoundTripKeepsValuesAndTypes) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("setup.json"));
  auto written = sampleSetup(path);
  written->save();
  auto read = SetupFile::load(path);
  EXPECT_EQ(read->path(), path);
  EXPECT_EQ(read->partOne().toMap(), written->partOne().toMap());
  EXPECT_EQ(read->partTwo().toMap(), written->partTwo().toMap());
  EXPECT_EQ(read->partOne().value(QStringLiteral("Negative")).metaType().id(), QMetaType::Int);
  EXPECT_EQ(read->partOne().value(QStringLiteral("Flag")).metaType().id(), QMetaType::Bool);
  EXPECT_EQ(read->partOne().value(QStringLiteral("Empty")).metaType().id(), QMetaType::QString);
  EXPECT_EQ(read->indexFields(), written->indexFields());
  EXPECT_EQ(read->batchFields(), written->batchFields());
}

// Catches a loader that accepts a damaged or foreign file, reports it without naming the file,
// or touches the file it refuses.
TEST(SetupFile, RefusesBadFilesAndKeepsThem) {
  QTemporaryDir dir;
  const QString good = dir.filePath(QStringLiteral("good.json"));
  sampleSetup(good)->save();
  const QByteArray valid = readAll(good);
  struct Case {
    const char* name;
    QByteArray bytes;
    int number;
  };
  const Case cases[] = {
      {"empty", QByteArray(), 321},
      {"corrupt", QByteArray("this is no setup file {"), 321},
      {"truncated", valid.left(valid.size() / 2), 321},
      {"array", QByteArray("[1, 2, 3]"), 321},
      {"foreign", QByteArray(R"({"format": "something-else", "version": 1})"), 321},
      {"future version",
       QByteArray(R"({"format": "zan-release-setup", "version": 2, "SetupPartOne": {},)"
                  R"( "SetupPartTwo": {}})"),
       321},
      {"part missing",
       QByteArray(R"({"format": "zan-release-setup", "version": 1, "SetupPartOne": {}})"), 321},
      {"nested value",
       QByteArray(R"({"format": "zan-release-setup", "version": 1, "SetupPartOne": {"a": [1]},)"
                  R"( "SetupPartTwo": {}})"),
       321},
      {"fraction",
       QByteArray(R"({"format": "zan-release-setup", "version": 1, "SetupPartOne": {"a": 1.5},)"
                  R"( "SetupPartTwo": {}})"),
       321},
      {"field list of numbers",
       QByteArray(R"({"format": "zan-release-setup", "version": 1, "SetupPartOne": {},)"
                  R"( "SetupPartTwo": {}, "indexFields": [1]})"),
       321},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".json"));
    writeAll(path, c.bytes);
    const AutomationError e = failureOf([&] { SetupFile::load(path); });
    EXPECT_EQ(e.number, c.number);
    EXPECT_EQ(e.source, QStringLiteral("SetupFile"));
    EXPECT_TRUE(e.description.contains(path)) << e.description.toStdString();
    EXPECT_EQ(readAll(path), c.bytes);
  }
}

// Catches a missing file or a folder being reported as a format problem (or not at all).
TEST(SetupFile, MissingFileAndFolderAreAccessErrors) {
  QTemporaryDir dir;
  const QString missing = dir.filePath(QStringLiteral("missing.json"));
  AutomationError e = failureOf([&] { SetupFile::load(missing); });
  EXPECT_EQ(e.number, 53);
  EXPECT_TRUE(e.description.contains(missing));
  EXPECT_FALSE(QFileInfo::exists(missing));
  e = failureOf([&] { SetupFile::load(dir.path()); });
  EXPECT_EQ(e.number, 75);
  EXPECT_TRUE(e.description.contains(dir.path()));
}

// Catches a save that reports success when the target is a folder, or removes the folder.
TEST(SetupFile, SaveOntoAFolderFails) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("setup.json"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const AutomationError e = failureOf([&] { sampleSetup(folder)->save(); });
  EXPECT_EQ(e.number, 75);
  EXPECT_EQ(e.source, QStringLiteral("SetupFile"));
  EXPECT_TRUE(QFileInfo(folder).isDir());
}

// Catches a save that truncates or replaces the old file before the new one is complete.
TEST(SetupFile, FailedSaveLeavesOldFileIntact) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write into any folder";
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("setup.json"));
  writeAll(path, QByteArray("old contents\n"));
  ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
  const AutomationError e = failureOf([&] { sampleSetup(path)->save(); });
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(e.number, 75);
  EXPECT_EQ(readAll(path), QByteArray("old contents\n"));
}

// Catches a save that reports success when no temporary file can be made next to the target
// (a file system that refuses new files, which even root cannot write into).
TEST(SetupFile, SaveIntoAFolderThatRefusesNewFilesFails) {
  const QString path = QStringLiteral("/proc/version");
  if (!QFileInfo::exists(path)) GTEST_SKIP() << "no /proc here";
  const QByteArray before = readAll(path);
  const AutomationError e = failureOf([&] { sampleSetup(path)->save(); });
  EXPECT_EQ(e.number, 75);
  EXPECT_TRUE(e.description.contains(path));
  EXPECT_EQ(readAll(path), before);
}

// Catches a shipped sample that no longer loads, fails the checks of either panel, or whose
// relative hub path is resolved (or mangled) by the loader instead of being kept as stored.
TEST(SetupFile, ShippedSampleLoadsAndPasses) {
  const QString examples = QStringLiteral(ZAN_EXAMPLES_DIR);
  auto setup = SetupFile::load(examples + QStringLiteral("/setup/release-setup.json"));
  EXPECT_FALSE(setup->indexFields().isEmpty());
  EXPECT_FALSE(setup->batchFields().isEmpty());
  for (const char* engine : {"3", "2"}) {
    SCOPED_TRACE(engine);
    PdfSettings s;
    s.setPdfEngine(QString::fromLatin1(engine));
    s.Load(setup->SetupPartOne(), setup->SetupPartTwo());
    EXPECT_NO_THROW(s.CheckSettings());
    EXPECT_EQ(s.WorkgroupHub(), QStringLiteral("../hub"));
    EXPECT_EQ(s.Workflow(), QStringLiteral("Archive Scans"));
    EXPECT_EQ(s.OcrLanguage(), 5);
    EXPECT_EQ(s.Accuracy(), 8);
    EXPECT_EQ(s.ConfidenceThreshold(), 80);
  }
}
