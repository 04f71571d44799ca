#include "settings/setup_data.h"

#include "external_support.h"
#include "test_environment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

using namespace zan;
using zan::testing::failureOf;

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

std::unique_ptr<SetupFile> sampleSetup(const QString& path) {
  auto f = std::make_unique<SetupFile>(path);
  f->partOne().setValue(QStringLiteral("Empty"), QString());
  f->partOne().setValue(QStringLiteral("Negative"), -32768);
  f->partOne().setValue(QStringLiteral("Flag"), false);
  f->partTwo().setValue(QStringLiteral("Text"), QStringLiteral("Größe – 日本語 \"q\" | ../hub"));
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
  for (const auto& [key, type] : {std::pair{"Negative", QMetaType::Int},
                                  {"Flag", QMetaType::Bool},
                                  {"Empty", QMetaType::QString}})
    EXPECT_EQ(read->partOne().value(QString::fromLatin1(key)).metaType().id(), type) << key;
  EXPECT_EQ(read->indexFields(), written->indexFields());
  EXPECT_EQ(read->batchFields(), written->batchFields());
}

// Catches a loader that accepts a damaged, foreign or missing file (or a folder), reports it
// under the wrong number or without naming the file, or touches the file it refuses.
TEST(SetupFile, RefusesBadFilesAndKeepsThem) {
  QTemporaryDir dir;
  const QString good = dir.filePath(QStringLiteral("good.json"));
  sampleSetup(good)->save();
  const QByteArray valid = readAll(good);
  const QByteArray head = R"({"format": "zan-release-setup", "version": 1, "SetupPartOne": )";
  const struct {
    const char* name;
    QByteArray bytes;  // "<none>": no file, "<folder>": a folder
    int number;
  } cases[] = {
      {"empty", "", 321},
      {"corrupt", "this is no setup file {", 321},
      {"truncated", valid.left(valid.size() / 2), 321},
      {"array", "[1, 2, 3]", 321},
      {"foreign", R"({"format": "something-else", "version": 1})", 321},
      {"future version", QByteArray(head).replace("1,", "2,") + R"({}, "SetupPartTwo": {}})", 321},
      {"part missing", head + "{}}", 321},
      {"nested value", head + R"({"a": [1]}, "SetupPartTwo": {}})", 321},
      {"fraction", head + R"({"a": 1.5}, "SetupPartTwo": {}})", 321},
      {"field list of numbers", head + R"({}, "SetupPartTwo": {}, "indexFields": [1]})", 321},
      {"missing", "<none>", 53},
      {"folder", "<folder>", 75},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath(QString::fromLatin1(c.name));
    const bool file = !c.bytes.startsWith('<');
    if (c.bytes == "<folder>") QDir().mkpath(path);
    if (file) writeAll(path, c.bytes);
    const AutomationError e = failureOf([&] { SetupFile::load(path); });
    EXPECT_EQ(e.number, c.number);
    EXPECT_EQ(e.source, QStringLiteral("SetupFile"));
    EXPECT_TRUE(e.description.contains(path)) << e.description.toStdString();
    if (file) {
      EXPECT_EQ(readAll(path), c.bytes);
    }
    EXPECT_EQ(QFileInfo::exists(path), c.bytes != "<none>");
  }
}

// Catches a save reported as success though it failed, or one that removes, truncates or
// replaces the target before the new file is complete: onto a folder, into a folder that
// refuses new files, and into a file system that refuses new files even to root.
TEST(SetupFile, FailedSavesKeepTheTarget) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("folder.json"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString locked = dir.filePath(QStringLiteral("locked/setup.json"));
  QDir().mkpath(QFileInfo(locked).path());
  writeAll(locked, "old contents\n");
  const bool root = geteuid() == 0;  // root may write into any folder
  if (!root) QFile::setPermissions(QFileInfo(locked).path(), QFile::ReadOwner | QFile::ExeOwner);
  for (const QString& path : {folder, locked, QStringLiteral("/proc/version")}) {
    if ((path == locked && root) || !QFileInfo::exists(path)) continue;
    SCOPED_TRACE(path.toStdString());
    const QByteArray before = readAll(path);
    const AutomationError e = failureOf([&] { sampleSetup(path)->save(); });
    EXPECT_EQ(e.number, 75);
    EXPECT_EQ(e.source, QStringLiteral("SetupFile"));
    EXPECT_TRUE(e.description.contains(path));
    EXPECT_EQ(readAll(path), before);
  }
  EXPECT_TRUE(QFileInfo(folder).isDir());
  QFile::setPermissions(QFileInfo(locked).path(),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Catches a save that reports success though a step of writing the new file failed (a full
// disk surfaces only when the data is flushed), or that leaves the old file cut short or
// replaced, or the unfinished new file beside it: each step of the file layer fails in turn.
TEST(SetupFile, EveryFailedStepKeepsTheOldFile) {
  const char* const steps[] = {"file.resolveLinks", "file.status",   "file.createTemporary",
                               "file.write",        "file.setOwner", "file.setMode",
                               "file.sync",         "file.close",    "file.rename"};
  for (const char* step : steps) {
    SCOPED_TRACE(step);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("setup.json"));
    writeAll(path, "old contents\n");
    auto log = std::make_shared<zan::testing::CallLog>();
    log->failName = QString::fromLatin1(step);
    auto setup = sampleSetup(path);
    setFileSystem(*setup, std::make_shared<zan::testing::FaultyFileSystem>(
                              log, QStringLiteral("No space left on device")));
    const AutomationError e = failureOf([&] { setup->save(); });
    EXPECT_FALSE(log->failed.isEmpty());
    EXPECT_EQ(e.number, 75);
    EXPECT_TRUE(e.description.contains(path) && e.description.contains("No space left on device"))
        << e.description.toStdString();
    EXPECT_EQ(readAll(path), "old contents\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("setup.json")});
  }
}

// Catches a save that hands the file to the user who saved it or resets its permissions (0640
// owned by someone else, read-only 0444, 0000, set-group-id), or that replaces a symbolic link by
// a plain file instead of writing the file it points to.
TEST(SetupFile, SaveKeepsOwnerModeAndSymbolicLinks) {
  const bool root = geteuid() == 0;  // only root can give a file to another user
  for (const unsigned mode : {0640u, 0444u, 0000u, 02640u}) {
    SCOPED_TRACE(mode);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("setup.json"));
    const QByteArray native = QFile::encodeName(path);
    writeAll(path, "{}");
    if (root) {
      ASSERT_EQ(::chown(native.constData(), 4242, 4343), 0);
    }
    ASSERT_EQ(::chmod(native.constData(), mode), 0);
    struct stat before {};
    ASSERT_EQ(::stat(native.constData(), &before), 0);
    sampleSetup(path)->save();
    struct stat after {};
    ASSERT_EQ(::stat(native.constData(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, mode);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    if (root) {
      EXPECT_EQ(after.st_uid, 4242u);
    }
    EXPECT_NE(after.st_ino, before.st_ino);  // replaced, not rewritten in place
  }
  QTemporaryDir dir;
  QDir(dir.path()).mkpath(QStringLiteral("real"));
  const QString target = dir.filePath(QStringLiteral("real/setup.json"));
  const QString link = dir.filePath(QStringLiteral("link.json"));
  writeAll(target, "{}");
  ASSERT_TRUE(QFile::link(QStringLiteral("real/setup.json"), link));
  sampleSetup(link)->save();
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(SetupFile::load(target)->indexFields(), sampleSetup(target)->indexFields());
}

// Catches top-level members the program does not own (a comment, another program's data with a
// number beyond a double's precision, escaped texts) dropped or altered by a load and save, and
// unknown keys inside the parts lost.
TEST(SetupFile, MembersItDoesNotOwnSurviveASave) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("setup.json"));
  const QByteArray foreign = R"({"list": [1, 2.50, {"deep": null}], "id": 12345678901234567890})";
  writeAll(path, R"({"comment": "keep me", "format": "zan-release-setup", "version": 1,
    "SetupPartOne": {"Other.Tool": "x"}, "SetupPartTwo": {"Workflow": "Old"},
    "otherTool": )" + foreign +
                     R"(, "caf\u00e9": "\ud83d\ude00", "flag": false})");
  auto setup = SetupFile::load(path);
  setup->partTwo().setValue(QStringLiteral("Workflow"), QStringLiteral("New"));
  setup->save();
  const QByteArray saved = readAll(path);
  for (const QByteArray& kept :
       {QByteArray(R"("comment": "keep me")"), QByteArray(R"("otherTool": )") + foreign,
        QByteArray(R"("caf\u00e9": "\ud83d\ude00")"), QByteArray(R"("flag": false)")})
    EXPECT_TRUE(saved.contains(kept)) << kept.toStdString() << "\n" << saved.toStdString();
  auto again = SetupFile::load(path);
  EXPECT_EQ(again->partOne().value(QStringLiteral("Other.Tool")).toString(), QStringLiteral("x"));
  EXPECT_EQ(again->partTwo().value(QStringLiteral("Workflow")).toString(), QStringLiteral("New"));
  again->save();
  EXPECT_EQ(readAll(path), saved);
}
