#include "stored_setting.h"

#include "settings/automation_error.h"
#include "settings/pdf_settings.h"
#include "settings/setup_data.h"

namespace zan::host {
namespace {

// The text as a value of `type`; invalid when it is none.
QVariant converted(const QString& text, QMetaType::Type type) {
  switch (type) {
    case QMetaType::Bool:
      if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
      if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
      return {};
    case QMetaType::Int: {
      bool ok = false;
      const int value = text.trimmed().toInt(&ok);
      return ok ? QVariant(value) : QVariant();
    }
    default:
      return text;
  }
}

QString typeName(QMetaType::Type type) {
  switch (type) {
    case QMetaType::Bool:
      return QStringLiteral("a Boolean (True or False)");
    case QMetaType::Int:
      return QStringLiteral("an integer");
    default:
      return QStringLiteral("a text");
  }
}

}  // namespace

QVector<StoredSetting> storedSettings() {
  // What a settings object saves is the list of stored settings, with their types.
  MemorySetupData saved;
  PdfSettings().Save(saved.SetupPartOne(), saved.SetupPartTwo());
  QVector<StoredSetting> settings;
  for (int part : {1, 2}) {
    const MemorySetupPart& bag = part == 1 ? saved.partOne() : saved.partTwo();
    for (const QString& key : bag.keys()) {
      if (key == settingRow(Setting::PdfEngine).keyText()) continue;  // for information only
      const auto type = static_cast<QMetaType::Type>(bag.value(key).typeId());
      settings.push_back({key, part, type == QMetaType::QString ? QMetaType::QString : type});
    }
  }
  return settings;
}

std::optional<StoredSetting> findStoredSetting(const QString& name) {
  for (const StoredSetting& s : storedSettings())
    if (s.key.compare(name, Qt::CaseInsensitive) == 0) return s;
  return std::nullopt;
}

QString putStoredSetting(SetupData& rd, const StoredSetting& setting, const QString& text) {
  const QVariant value = converted(text, setting.type);
  if (!value.isValid())
    return QStringLiteral("%1=%2: not %3").arg(setting.key, text, typeName(setting.type));
  // The settings object loads the value as a panel would, from a copy.
  MemorySetupData trial;
  for (int part : {1, 2}) {
    SetupPart& from = part == 1 ? rd.SetupPartOne() : rd.SetupPartTwo();
    SetupPart& to = part == 1 ? trial.SetupPartOne() : trial.SetupPartTwo();
    for (const QString& key : from.keys()) to.setValue(key, from.value(key));
  }
  (setting.part == 1 ? trial.SetupPartOne() : trial.SetupPartTwo()).setValue(setting.key, value);
  try {
    PdfSettings().Load(trial.SetupPartOne(), trial.SetupPartTwo(), {});
  } catch (...) {
    return QStringLiteral("%1=%2: %3").arg(setting.key, text, currentError().description);
  }
  (setting.part == 1 ? rd.SetupPartOne() : rd.SetupPartTwo()).setValue(setting.key, value);
  return {};
}

}  // namespace zan::host
