#pragma once
/// \file
/// The host's setup data: the stored settings of one release script, which a panel reads in
/// Init and writes in Apply (zan::SetupData), kept in memory (zan::MemorySetupData) or in a
/// setup file (zan::SetupFile).

#include <ZANPdfCtl4/zanpdfctl4_export.h>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <memory>

namespace zan {

/// A property bag of the setup data. Values are strings, integers or Booleans.
class ZANPDFCTL4_EXPORT SetupPart {
 public:
  virtual ~SetupPart();
  /// Whether the bag holds `key`.
  virtual bool contains(const QString& key) const = 0;
  /// The value of `key`; an invalid QVariant when it is missing.
  virtual QVariant value(const QString& key) const = 0;
  /// Stores `value` under `key`. May throw zan::AutomationException when the bag refuses it.
  virtual void setValue(const QString& key, const QVariant& value) = 0;
  /// Removes `key`; a missing key is no failure.
  virtual void removeValue(const QString& key) = 0;
  /// Every key, sorted.
  virtual QStringList keys() const = 0;
};

/// A property bag kept in memory.
class ZANPDFCTL4_EXPORT MemorySetupPart final : public SetupPart {
 public:
  /// An empty bag.
  MemorySetupPart();
  /// A copy of `other`'s values.
  MemorySetupPart(const MemorySetupPart& other);
  /// Takes `other`'s values.
  MemorySetupPart& operator=(const MemorySetupPart& other);
  ~MemorySetupPart() override;

  bool contains(const QString& key) const override;
  QVariant value(const QString& key) const override;
  void setValue(const QString& key, const QVariant& value) override;
  void removeValue(const QString& key) override;
  QStringList keys() const override;
  /// Every value by key.
  QVariantMap toMap() const;
  /// Replaces every value by `values`.
  void assign(const QVariantMap& values);

 private:
  class Private;
  std::unique_ptr<Private> d;
};

/// The setup data a host hands to a panel's Init and Apply: two property bags, SetupPartOne
/// and SetupPartTwo, which the panel's settings object reads and writes, and the link sources
/// (index fields and batch fields) that the document-information rows offer besides text
/// constants. Hosts with their own storage derive from it.
class ZANPDFCTL4_EXPORT SetupData : public QObject {
  Q_OBJECT
 public:
  /// Setup data owned by `parent`, if any.
  explicit SetupData(QObject* parent = nullptr);
  ~SetupData() override;
  /// The settings both panels share (threshold, suspect regions, document information).
  virtual SetupPart& SetupPartOne() = 0;
  /// The settings of one panel's engine.
  virtual SetupPart& SetupPartTwo() = 0;
  /// Index fields a document-information row may link to.
  virtual QStringList indexFields() const = 0;
  /// Batch fields a document-information row may link to.
  virtual QStringList batchFields() const = 0;
};

/// Setup data kept in memory (tests, hosts that persist elsewhere).
class ZANPDFCTL4_EXPORT MemorySetupData : public SetupData {
  Q_OBJECT
 public:
  /// Empty setup data owned by `parent`, if any.
  explicit MemorySetupData(QObject* parent = nullptr);
  ~MemorySetupData() override;
  SetupPart& SetupPartOne() override;
  SetupPart& SetupPartTwo() override;
  QStringList indexFields() const override;
  QStringList batchFields() const override;
  /// Sets the index fields offered as link sources.
  void setIndexFields(const QStringList& fields);
  /// Sets the batch fields offered as link sources.
  void setBatchFields(const QStringList& fields);
  /// SetupPartOne as the bag it is.
  MemorySetupPart& partOne();
  /// SetupPartTwo as the bag it is.
  MemorySetupPart& partTwo();
  /// SetupPartOne, read-only.
  const MemorySetupPart& partOne() const;
  /// SetupPartTwo, read-only.
  const MemorySetupPart& partTwo() const;

 private:
  class Private;
  std::unique_ptr<Private> d;
};

/// Setup data stored in a JSON file:
/// \code{.json}
/// {"format": "zan-release-setup", "version": 1, "SetupPartOne": {...}, "SetupPartTwo": {...},
///  "indexFields": [...], "batchFields": [...]}
/// \endcode
/// Part values are JSON strings, integral numbers or Booleans and are kept exactly as stored (a
/// relative path is left for the host to resolve). Other top-level members (a "comment",
/// another program's data) are written back exactly as the file held them. Failures are thrown
/// as zan::AutomationException with source "SetupFile" and number 53 (file not found), 75 (the
/// file cannot be read or written) or 321 (not a setup file of this format); the description
/// names the file and the problem.
class ZANPDFCTL4_EXPORT SetupFile final : public MemorySetupData {
  Q_OBJECT
 public:
  /// Reads `path`. A missing, unreadable, corrupt, truncated or foreign file throws.
  static std::unique_ptr<SetupFile> load(const QString& path);
  /// Empty setup data that save() writes to `path`.
  explicit SetupFile(const QString& path, QObject* parent = nullptr);
  ~SetupFile() override;

  /// The file this setup data is saved to.
  QString path() const;
  /// Replaces the file atomically: a write, flush or rename that fails throws and leaves the
  /// old file untouched; the file's owner, group and mode are kept, and a symbolic link is
  /// written through to its target. A file with further hard links gets a new identity under
  /// this name; the other names keep the old contents.
  void save() const;
  /// The file's contents as save() writes them.
  QByteArray toJson() const;

 private:
  friend class SetupFileAccess;
  class Private;
  std::unique_ptr<Private> d;
};

}  // namespace zan
