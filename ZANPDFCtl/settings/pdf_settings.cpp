#include "settings/pdf_settings.h"

#include "settings/automation_error.h"
#include "settings/setup_data.h"

#include <QMetaType>

#include <cmath>
#include <limits>
#include <vector>

namespace zan {
namespace {

const QString kLoadSource = QStringLiteral("PdfSettings.Load");

QString partName(int part) {
  return part == 1 ? QStringLiteral("SetupPartOne") : QStringLiteral("SetupPartTwo");
}

[[noreturn]] void wrongType(int part, const QString& key, const QVariant& value,
                            const char* expected) {
  raiseClassic(
      classic::kTypeMismatch, kLoadSource,
      QStringLiteral("setting \"%1\" in %2 holds a value of type %3 where %4 is expected.")
          .arg(key, partName(part),
               QString::fromLatin1(value.metaType().name() ? value.metaType().name() : "unknown"),
               QString::fromLatin1(expected)));
}

// An integer value of any integral type, or a floating value without fraction (as JSON numbers
// arrive), within [low, high].
qint64 integerValue(int part, const QString& key, const QVariant& value, qint64 low, qint64 high) {
  qint64 n = 0;
  switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
      n = value.toLongLong();
      break;
    case QMetaType::ULong:
    case QMetaType::ULongLong:
      if (value.toULongLong() > static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
        n = std::numeric_limits<qint64>::max();
      else
        n = value.toLongLong();
      break;
    case QMetaType::Double:
    case QMetaType::Float: {
      const double d = value.toDouble();
      if (!std::isfinite(d) || std::floor(d) != d) wrongType(part, key, value, "an integer");
      if (d < static_cast<double>(low) || d > static_cast<double>(high)) {
        n = d < 0 ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
      } else {
        n = static_cast<qint64>(d);
      }
      break;
    }
    default:
      wrongType(part, key, value, "an integer");
  }
  if (n < low || n > high) {
    raiseClassic(classic::kOverflow, kLoadSource,
                 QStringLiteral("setting \"%1\" in %2 holds %3, outside %4 to %5.")
                     .arg(key, partName(part), value.toString())
                     .arg(low)
                     .arg(high));
  }
  return n;
}

// A stored value converted to its row's type, or the failure raised.
QVariant readValue(const SettingRow& row, const QVariant& v) {
  switch (row.type) {
    case SettingType::Text:
      if (v.metaType().id() != QMetaType::QString)
        wrongType(row.part, row.keyText(), v, "a string");
      return v.toString();
    case SettingType::Boolean:
      if (v.metaType().id() != QMetaType::Bool) wrongType(row.part, row.keyText(), v, "a Boolean");
      return v.toBool();
    case SettingType::Long:
      return static_cast<int>(integerValue(row.part, row.keyText(), v,
                                           std::numeric_limits<std::int32_t>::min(),
                                           std::numeric_limits<std::int32_t>::max()));
    case SettingType::Integer:
      return static_cast<int>(integerValue(row.part, row.keyText(), v,
                                           std::numeric_limits<std::int16_t>::min(),
                                           std::numeric_limits<std::int16_t>::max()));
  }
  return {};
}

}  // namespace

QVariant PdfSettings::stored(const SettingRow& row) const {
  if (const std::optional<DocField> f = row.docField()) {
    const DocInfoField& field = fields_[static_cast<std::size_t>(*f)];
    switch ((static_cast<int>(row.id) - static_cast<int>(Setting::TitleFieldText)) % 3) {
      case 0:
        return field.FieldText();
      case 1:
        return static_cast<int>(field.FieldType());
      default:
        return field.FieldName();
    }
  }
  const auto slot = static_cast<std::size_t>(settingSlot(row.id));
  switch (row.type) {
    case SettingType::Boolean:
      return (flags_ >> slot & 1U) != 0;
    case SettingType::Text:
      return texts_[slot];
    case SettingType::Long:
    case SettingType::Integer:
      break;
  }
  return static_cast<int>(numbers_[slot]);
}

void PdfSettings::store(const SettingRow& row, const QVariant& value) {
  if (const std::optional<DocField> f = row.docField()) {
    DocInfoField& field = fields_[static_cast<std::size_t>(*f)];
    switch ((static_cast<int>(row.id) - static_cast<int>(Setting::TitleFieldText)) % 3) {
      case 0:
        field.setFieldText(value.toString());
        break;
      case 1:
        field.setFieldType(value.toInt());
        break;
      default:
        field.setFieldName(value.toString());
    }
    return;
  }
  const auto slot = static_cast<std::size_t>(settingSlot(row.id));
  switch (row.type) {
    case SettingType::Boolean:
      if (value.toBool())
        flags_ |= std::uint64_t{1} << slot;
      else
        flags_ &= ~(std::uint64_t{1} << slot);
      return;
    case SettingType::Text:
      texts_[slot] = value.toString();
      return;
    case SettingType::Long:
    case SettingType::Integer:
      break;
  }
  numbers_[slot] = value.toInt();
}

PdfSettings::PdfSettings() {
  for (const SettingRow& row : settingRows()) store(row, row.defaultValue());
}

QVariant PdfSettings::value(Setting setting) const {
  return stored(settingRow(setting));
}

void PdfSettings::setValue(Setting setting, const QVariant& value) {
  store(settingRow(setting), value);
}

DocInfoField& PdfSettings::field(DocField which) {
  return fields_[static_cast<std::size_t>(which)];
}

void PdfSettings::resetToDefaults() {
  for (const SettingRow& row : settingRows())
    if (row.resets) store(row, row.defaultValue());
}

void PdfSettings::Load(SetupPart& partOne, SetupPart& partTwo, const QVariant& /*item*/) {
  // Read into a copy first so that a refused value leaves every setting as it was.
  PdfSettings staged(*this);
  for (const SettingRow& row : settingRows()) {
    if (!row.loads) continue;
    SetupPart& part = row.part == 1 ? partOne : partTwo;
    const QString key = row.keyText();
    if (part.contains(key)) staged.store(row, readValue(row, part.value(key)));
  }
  *this = staged;
}

void PdfSettings::Save(SetupPart& partOne, SetupPart& partTwo) {
  struct Previous {
    SetupPart* part;
    QString key;
    bool existed;
    QVariant value;
  };
  std::vector<Previous> written;
  try {
    for (const SettingRow& row : settingRows()) {
      SetupPart& part = row.part == 1 ? partOne : partTwo;
      const QString key = row.keyText();
      const bool existed = part.contains(key);
      written.push_back({&part, key, existed, existed ? part.value(key) : QVariant()});
      part.setValue(key, stored(row));
    }
  } catch (...) {
    const AutomationError failure = currentError();
    for (auto it = written.rbegin(); it != written.rend(); ++it) {
      try {
        if (it->existed)
          it->part->setValue(it->key, it->value);
        else
          it->part->removeValue(it->key);
      } catch (...) {
        // The part refuses to be put back too; the original failure is what the caller needs.
      }
    }
    raiseError(failure);
  }
}

void PdfSettings::RestoreDefaults() {
  resetToDefaults();
}

}  // namespace zan
