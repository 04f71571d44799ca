#include "external/pdf_settings.h"

#include "common/automation_error.h"
#include "external/setup_data.h"

#include <QMetaType>

#include <cmath>
#include <limits>
#include <vector>

namespace zan {
namespace {

const QString kLoadSource = QStringLiteral("PdfSettings.Load");
constexpr std::int32_t kTypeMismatch = 13;
constexpr std::int32_t kOverflow = 6;

QString partName(int part) {
  return part == 1 ? QStringLiteral("SetupPartOne") : QStringLiteral("SetupPartTwo");
}

[[noreturn]] void wrongType(int part, const QString& key, const QVariant& value,
                            const char* expected) {
  raiseError(
      kTypeMismatch, kLoadSource,
      QStringLiteral("Type mismatch: setting \"%1\" in %2 holds a value of type %3 where %4 "
                     "is expected.")
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
    raiseError(kOverflow, kLoadSource,
               QStringLiteral("Overflow: setting \"%1\" in %2 holds %3, outside %4 to %5.")
                   .arg(key, partName(part), value.toString())
                   .arg(low)
                   .arg(high));
  }
  return n;
}

// Reads each stored setting that exists from its part into the member it names.
class Reader {
 public:
  Reader(SetupPart& one, SetupPart& two) : one_(one), two_(two) {}

  void text(int part, const QString& key, QString& member) {
    const QVariant v = find(part, key);
    if (!v.isValid()) return;
    if (v.metaType().id() != QMetaType::QString) wrongType(part, key, v, "a string");
    member = v.toString();
  }
  void boolean(int part, const QString& key, bool& member) {
    const QVariant v = find(part, key);
    if (!v.isValid()) return;
    if (v.metaType().id() != QMetaType::Bool) wrongType(part, key, v, "a Boolean");
    member = v.toBool();
  }
  void integer(int part, const QString& key, std::int32_t& member) {
    const QVariant v = find(part, key);
    if (!v.isValid()) return;
    member = static_cast<std::int32_t>(integerValue(part, key, v,
                                                    std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max()));
  }
  void integer(int part, const QString& key, std::int16_t& member) {
    const QVariant v = find(part, key);
    if (!v.isValid()) return;
    member = static_cast<std::int16_t>(integerValue(part, key, v,
                                                    std::numeric_limits<std::int16_t>::min(),
                                                    std::numeric_limits<std::int16_t>::max()));
  }

 private:
  QVariant find(int part, const QString& key) {
    SetupPart& p = part == 1 ? one_ : two_;
    return p.contains(key) ? p.value(key) : QVariant();
  }
  SetupPart& one_;
  SetupPart& two_;
};

// Gathers every stored setting with its part and key, for Save.
class Collector {
 public:
  struct Value {
    int part;
    QString key;
    QVariant value;
  };
  std::vector<Value> values;

  void text(int part, const QString& key, const QString& member) {
    values.push_back({part, key, member});
  }
  void boolean(int part, const QString& key, bool member) { values.push_back({part, key, member}); }
  void integer(int part, const QString& key, std::int32_t member) {
    values.push_back({part, key, static_cast<int>(member)});
  }
  void integer(int part, const QString& key, std::int16_t member) {
    values.push_back({part, key, static_cast<int>(member)});
  }
};

}  // namespace

template <class Visitor>
void PdfSettings::visitStored(Visitor& v) {
  // Part one: what both engines share.
  v.boolean(1, QStringLiteral("Enabled"), enabled_);
  v.integer(1, QStringLiteral("ConfidenceThreshold"), confidenceThreshold_);
  v.boolean(1, QStringLiteral("LowOcrConfidence"), lowOcrConfidence_);
  v.boolean(1, QStringLiteral("WordNotInDictionary"), wordNotInDictionary_);
  v.boolean(1, QStringLiteral("LowFontConfidence"), lowFontConfidence_);
  const std::pair<const char*, DocInfoField*> fields[] = {{"TitleField", &title_},
                                                          {"SubjectField", &subject_},
                                                          {"AuthorField", &author_},
                                                          {"KeywordsField", &keywords_}};
  for (const auto& [name, field] : fields) {
    const QString prefix = QString::fromLatin1(name) + QLatin1Char('.');
    QString text = field->FieldText(), fieldName = field->FieldName();
    std::int32_t type = field->FieldType();
    v.text(1, prefix + QStringLiteral("FieldText"), text);
    v.integer(1, prefix + QStringLiteral("FieldType"), type);
    v.text(1, prefix + QStringLiteral("FieldName"), fieldName);
    field->setFieldText(text);
    field->setFieldType(type);
    field->setFieldName(fieldName);
  }
  // Part two: the OCR engine's settings, then the Acrobat Capture engine's.
  v.integer(2, QStringLiteral("OutputFormatType"), outputFormatType_);
  v.integer(2, QStringLiteral("OcrLanguage"), ocrLanguage_);
  v.integer(2, QStringLiteral("Accuracy"), accuracy_);
  v.boolean(2, QStringLiteral("MixedCases"), mixedCases_);
  v.boolean(2, QStringLiteral("Rotate0"), rotate0_);
  v.boolean(2, QStringLiteral("Rotate90"), rotate90_);
  v.boolean(2, QStringLiteral("Rotate180"), rotate180_);
  v.boolean(2, QStringLiteral("Rotate270"), rotate270_);
  v.text(2, QStringLiteral("PageContent"), pageContent_);
  v.text(2, QStringLiteral("CaptureLanguage"), captureLanguage_);
  v.text(2, QStringLiteral("Dictionary"), dictionary_);
  v.text(2, QStringLiteral("Workflow"), workflow_);
  v.boolean(2, QStringLiteral("MixedAlphaNumeric"), mixedAlphaNumeric_);
  v.boolean(2, QStringLiteral("NumericOnly"), numericOnly_);
  v.boolean(2, QStringLiteral("CreateThumbnails"), createThumbnails_);
  v.boolean(2, QStringLiteral("EmbedFonts"), embedFonts_);
  v.boolean(2, QStringLiteral("EnableLinks"), enableLinks_);
  v.boolean(2, QStringLiteral("EnableStructure"), enableStructure_);
  v.boolean(2, QStringLiteral("AutoPageRotation"), autoPageRotation_);
  v.text(2, QStringLiteral("WorkgroupHub"), workgroupHub_);
  v.text(2, QStringLiteral("WatchedFolder"), watchedFolder_);
  v.text(2, QStringLiteral("PDFOutputFolder"), pdfOutputFolder_);
  v.text(2, QStringLiteral("PDFOutputMachine"), pdfOutputMachine_);
  v.integer(2, QStringLiteral("PDFInputImageType"), pdfInputImageType_);
  v.boolean(2, QStringLiteral("PDFWaitForStatus"), pdfWaitForStatus_);
  v.boolean(2, QStringLiteral("PDFDeleteHungDoc"), pdfDeleteHungDoc_);
}

PdfSettings::PdfSettings() {
  resetToDefaults();
}

void PdfSettings::resetToDefaults() {
  confidenceThreshold_ = 95;
  author_ = title_ = subject_ = keywords_ = DocInfoField();
  lowOcrConfidence_ = true;
  wordNotInDictionary_ = true;
  lowFontConfidence_ = false;
  outputFormatType_ = 3;
  ocrLanguage_ = 1;
  accuracy_ = 4;
  mixedCases_ = false;
  rotate0_ = true;
  rotate90_ = rotate180_ = rotate270_ = false;
  pageContent_ = QStringLiteral("Formatted Text & Graphics");
  captureLanguage_ = QStringLiteral("English (US)");
  dictionary_.clear();
  workflow_.clear();
  mixedAlphaNumeric_ = numericOnly_ = createThumbnails_ = false;
  embedFonts_ = true;
  enableLinks_ = enableStructure_ = false;
  autoPageRotation_ = true;
  workgroupHub_.clear();
  watchedFolder_.clear();
  pdfOutputFolder_.clear();
  pdfOutputMachine_.clear();
  pdfInputImageType_ = 0;
  pdfWaitForStatus_ = true;
  pdfDeleteHungDoc_ = false;
}

void PdfSettings::Load(SetupPart& partOne, SetupPart& partTwo, const QVariant& /*item*/) {
  // Read into a copy first so that a refused value leaves every setting as it was.
  PdfSettings staged(*this);
  Reader reader(partOne, partTwo);
  staged.visitStored(reader);
  *this = staged;
}

void PdfSettings::Save(SetupPart& partOne, SetupPart& partTwo) {
  Collector collector;
  collector.text(1, QStringLiteral("PdfEngine"), pdfEngine_);
  visitStored(collector);
  struct Previous {
    SetupPart* part;
    QString key;
    bool existed;
    QVariant value;
  };
  std::vector<Previous> written;
  try {
    for (const Collector::Value& v : collector.values) {
      SetupPart& part = v.part == 1 ? partOne : partTwo;
      const bool existed = part.contains(v.key);
      written.push_back({&part, v.key, existed, existed ? part.value(v.key) : QVariant()});
      part.setValue(v.key, v.value);
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
