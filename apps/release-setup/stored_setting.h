#pragma once
// The settings a setup file stores, as --set reaches them when no panel property has the name
// (ConfidenceThreshold, the suspect-region options, the document-information fields, ...): the
// value is written into the setup data before the panel loads it, so the panel shows it and
// validates it like a stored value.

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace zan {
class SetupData;
}

namespace zan::host {

struct StoredSetting {
  QString key;           // as stored, for example "ConfidenceThreshold"
  int part;              // 1 SetupPartOne, 2 SetupPartTwo
  QMetaType::Type type;  // Bool, Int or QString
};

// Every stored setting: those of SetupPartOne, then those of SetupPartTwo, each sorted.
QVector<StoredSetting> storedSettings();
// The stored setting named `name` (without regard to case).
std::optional<StoredSetting> findStoredSetting(const QString& name);

// Stores `text` as `setting` in `rd`, converted to the setting's type (Booleans True or False).
// Returns an empty string, or a one-line reason when the text is no value of that type or the
// settings object would refuse to load it (an integer out of range); `rd` is then unchanged.
QString putStoredSetting(SetupData& rd, const StoredSetting& setting, const QString& text);

}  // namespace zan::host
