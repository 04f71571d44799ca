#pragma once
// The host's setup data: the stored settings of one release script, in two property bags,
// plus the link sources (index fields and batch fields) that the links control offers.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include "external/file_system.h"

#include <memory>

namespace zan {

// A property bag of the setup data. Values are strings, integers or Booleans.
class SetupPart {
 public:
  virtual ~SetupPart() = default;
  virtual bool contains(const QString& key) const = 0;
  virtual QVariant value(const QString& key) const = 0;  // invalid when missing
  virtual void setValue(const QString& key, const QVariant& value) = 0;
  virtual void removeValue(const QString& key) = 0;
  virtual QStringList keys() const = 0;
};

// In-memory property bag.
class MemorySetupPart final : public SetupPart {
 public:
  bool contains(const QString& key) const override { return values_.contains(key); }
  QVariant value(const QString& key) const override { return values_.value(key); }
  void setValue(const QString& key, const QVariant& value) override { values_.insert(key, value); }
  void removeValue(const QString& key) override { values_.remove(key); }
  QStringList keys() const override { return values_.keys(); }
  QVariantMap toMap() const { return values_; }
  void assign(const QVariantMap& values) { values_ = values; }

 private:
  QVariantMap values_;
};

class SetupData : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  virtual SetupPart& SetupPartOne() = 0;
  virtual SetupPart& SetupPartTwo() = 0;
  // Link sources the links control offers besides text constants.
  virtual QStringList indexFields() const = 0;
  virtual QStringList batchFields() const = 0;
};

// Setup data kept in memory (tests, hosts that persist elsewhere).
class MemorySetupData : public SetupData {
  Q_OBJECT
 public:
  using SetupData::SetupData;
  SetupPart& SetupPartOne() override { return one_; }
  SetupPart& SetupPartTwo() override { return two_; }
  QStringList indexFields() const override { return indexFields_; }
  QStringList batchFields() const override { return batchFields_; }
  void setIndexFields(const QStringList& fields) { indexFields_ = fields; }
  void setBatchFields(const QStringList& fields) { batchFields_ = fields; }
  MemorySetupPart& partOne() { return one_; }
  MemorySetupPart& partTwo() { return two_; }
  const MemorySetupPart& partOne() const { return one_; }
  const MemorySetupPart& partTwo() const { return two_; }

 private:
  MemorySetupPart one_, two_;
  QStringList indexFields_, batchFields_;
};

// The setup data a host handed over; a missing object (nullptr) fails with error 91
// "Object variable or With block variable not set", as using a classic Nothing does.
SetupData& requireSetupData(SetupData* rd);

// A panel member that needs the stored settings, called before a successful Init, fails with
// number -1, source "QelPDFSetup." + `member` and "... call Init first.".
void requireInitDone(bool initDone, const char* member);

// Setup data stored in a JSON file:
//   {"format": "zan-release-setup", "version": 1, "SetupPartOne": {...}, "SetupPartTwo": {...},
//    "indexFields": [...], "batchFields": [...]}
// Part values are JSON strings, integral numbers or Booleans. Values are kept exactly as
// stored: a relative path (for example a workgroup hub "../hub") is left for the host to
// resolve. Other top-level members (a "comment", another program's data) are written back
// unchanged, as the file held them. Failures carry source "SetupFile" and number 53 (file not
// found), 75 (the file cannot be read or written) or 321 (not a setup file of this format).
class SetupFile final : public MemorySetupData {
  Q_OBJECT
 public:
  // Reads `path`. A missing, unreadable, corrupt, truncated or foreign file fails with an
  // AutomationError whose description names the file and the problem. `fs` is the file layer
  // save() writes through.
  static std::unique_ptr<SetupFile> load(const QString& path,
                                         std::shared_ptr<FileSystem> fs = FileSystem::posix());
  explicit SetupFile(const QString& path, QObject* parent = nullptr);

  QString path() const { return path_; }
  void setFileSystem(std::shared_ptr<FileSystem> fs) { fs_ = std::move(fs); }
  // Replaces the file atomically (see replaceFile): a write, sync or rename that fails leaves
  // the old file untouched, its owner, group and mode are kept, and a symbolic link is written
  // through to its target. A file with further hard links gets a new identity under this name;
  // the other names keep the old contents.
  void save() const;
  QByteArray toJson() const;

 private:
  QString path_;
  std::shared_ptr<FileSystem> fs_ = FileSystem::posix();
  // Top-level members this program does not own: raw key and value texts, in file order.
  QList<QPair<QByteArray, QByteArray>> foreign_;
};

}  // namespace zan
