#pragma once
// The library's string table: every text a panel shows, looked up by numeric identifier.
// US English is built in; a host may hand a panel a replacement table to localise it.

#include <QHash>
#include <QString>

#include <memory>

namespace zan {

class StringTable {
 public:
  // The built-in US English table.
  static std::shared_ptr<const StringTable> usEnglish();

  // A table read from a JSON object file {"2700": "PDF Settings", ...}. Identifiers the file
  // lacks fall back to `fallback` (usually usEnglish()); pass nullptr for no fallback.
  // A missing or malformed file fails with an AutomationError naming the file.
  static std::shared_ptr<const StringTable> fromJsonFile(
      const QString& path, std::shared_ptr<const StringTable> fallback);

  explicit StringTable(QHash<int, QString> texts,
                       std::shared_ptr<const StringTable> fallback = nullptr);
  virtual ~StringTable() = default;

  // The text of `id`; fails with error 326 "Resource with identifier 'id' not found". Virtual
  // so that a host may look texts up elsewhere, or a test make one lookup fail.
  virtual QString text(int id) const;
  virtual bool contains(int id) const;

 private:
  QHash<int, QString> texts_;
  std::shared_ptr<const StringTable> fallback_;
};

}  // namespace zan
