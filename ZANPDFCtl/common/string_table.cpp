#include "common/string_table.h"

#include "common/automation_error.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace zan {
namespace {

QHash<int, QString> usEnglishTexts() {
  return {
      // Shared by both panels; 2700-2737 are the OCR panel's own range.
      {2700, QStringLiteral("PDF Settings")},
      {2701, QStringLiteral("O&utput Format Type")},
      {2702, QStringLiteral("&Language")},
      {2703, QStringLiteral("Accurac&y")},
      {2704, QStringLiteral("&Confidence Threshold")},
      {2705, QStringLiteral("%")},
      {2706, QStringLiteral("&PDF Header Links")},
      {2707, QStringLiteral("Author")},
      {2708, QStringLiteral("Title")},
      {2709, QStringLiteral("Subject")},
      {2710, QStringLiteral("Keywords")},
      {2711, QStringLiteral("Suspect Regions")},
      {2712, QStringLiteral("Low &OCR confidence")},
      {2713, QStringLiteral("&Word not in dictionary")},
      {2714, QStringLiteral("&Mixed case")},
      {2715, QStringLiteral("Low fon&t confidence")},
      {2716, QStringLiteral("Orientation")},
      {2717, QStringLiteral("Rotate &0")},
      {2718, QStringLiteral("Rotate &90")},
      {2719, QStringLiteral("Rotate &180")},
      {2720, QStringLiteral("Rotate &270")},
      {2721, QStringLiteral("Normal PDF")},
      {2722, QStringLiteral("Image Only PDF")},
      {2723, QStringLiteral("Image and Hidden Text PDF")},
      {2724, QStringLiteral("English - United States")},
      {2725, QStringLiteral("English - United Kingdom")},
      {2726, QStringLiteral("Dutch")},
      {2727, QStringLiteral("French")},
      {2728, QStringLiteral("German")},
      {2729, QStringLiteral("Italian")},
      {2730, QStringLiteral("Spanish")},
      {2731, QStringLiteral("Swedish")},
      {2732, QStringLiteral("Fastest")},
      {2733, QStringLiteral("Fast")},
      {2734, QStringLiteral("Normal")},
      {2735, QStringLiteral("Accurate")},
      {2736, QStringLiteral("Most Accurate")},
      {2737, QStringLiteral("&Restore Defaults")},
      // Acrobat Capture panel: page content.
      {5601, QStringLiteral("Formatted Text & Graphics")},
      {5602, QStringLiteral("Searchable Image (Compact)")},
      {5603, QStringLiteral("Searchable Image (Exact)")},
      {5604, QStringLiteral("Image Only")},
      // Acrobat Capture panel: captions, dialog titles and messages.
      {5701, QStringLiteral("&Page Content")},
      {5703, QStringLiteral("Di&ctionaries")},
      {5705, QStringLiteral("PDF &Document Information")},
      {5707, QStringLiteral("&OCR confidence below")},
      {5709, QStringLiteral("&Suspect font")},
      {5711, QStringLiteral("Mi&xed alphanumeric")},
      {5713, QStringLiteral("Numeric onl&y")},
      {5715, QStringLiteral("Advanced Settings")},
      {5717, QStringLiteral("C&reate thumbnails")},
      {5719, QStringLiteral("E&mbed fonts")},
      {5721, QStringLiteral("E&nable links")},
      {5723, QStringLiteral("Ena&ble structure")},
      {5725, QStringLiteral("Automatic pa&ge rotation")},
      {5727, QStringLiteral("Workgroup H&ub")},
      {5729, QStringLiteral("Watched &Folder")},
      {5730, QStringLiteral("Wor&kflows")},
      {5732, QStringLiteral("Location of Adobe Acrobat Capture Workgroup Hub")},
      {5734, QStringLiteral("Location of Adobe Acrobat Capture Watched Folder")},
      {5735, QStringLiteral("<Workgroup hub missing or invalid>")},
      {5736, QStringLiteral("The hub path specified is unreachable.")},
      {5737, QStringLiteral(
                 "The hub path does not point to a valid hub or the directory path is incorrect.")},
      {5738, QStringLiteral("Workgroup hub: \"%1\"")},
      {5739, QStringLiteral("The workgroup hub \"%1\" could not be closed (status %2).")},
      {5740, QStringLiteral("The stored page content \"%1\" is not one of the choices; \"%2\" is "
                            "shown instead.")},
      {5741, QStringLiteral("The stored language \"%1\" is not one of the choices; \"%2\" is "
                            "shown instead.")},
      {5742, QStringLiteral("The workgroup hub does not offer the stored dictionary \"%1\"; \"%2\" "
                            "is shown instead.")},
      {5743, QStringLiteral("The workgroup hub does not offer the stored workflow \"%1\"; \"%2\" "
                            "is shown instead.")},
      // Acrobat Capture panel: capture languages.
      {5800, QStringLiteral("Brazilian Portuguese")},
      {5801, QStringLiteral("Catalan")},
      {5802, QStringLiteral("Danish")},
      {5803, QStringLiteral("English (US)")},
      {5804, QStringLiteral("English (UK)")},
      {5805, QStringLiteral("Dutch")},
      {5806, QStringLiteral("French")},
      {5807, QStringLiteral("German")},
      {5808, QStringLiteral("Italian")},
      {5809, QStringLiteral("Spanish")},
      {5810, QStringLiteral("Swedish")},
      {5811, QStringLiteral("Finnish")},
      {5812, QStringLiteral("Norwegian")},
      {5813, QStringLiteral("Nynorsk")},
      {5814, QStringLiteral("Portuguese")},
      {5815, QStringLiteral("Swiss German")},
      // Both panels.
      {9707, QStringLiteral("No validation failure.")},
      {9708, QStringLiteral("Internal Error.")},
  };
}

}  // namespace

std::shared_ptr<const StringTable> StringTable::usEnglish() {
  static const std::shared_ptr<const StringTable> table =
      std::make_shared<const StringTable>(usEnglishTexts());
  return table;
}

std::shared_ptr<const StringTable> StringTable::fromJsonFile(
    const QString& path, std::shared_ptr<const StringTable> fallback) {
  const QString source = QStringLiteral("StringTable.fromJsonFile");
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    raiseError(
        53, source,
        QStringLiteral("Cannot read the string table \"%1\": %2").arg(path, file.errorString()));
  }
  QJsonParseError parseError;
  const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
  if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
    raiseError(321, source,
               QStringLiteral("The string table \"%1\" is not a JSON object of texts: %2")
                   .arg(path, parseError.errorString()));
  }
  QHash<int, QString> texts;
  const QJsonObject object = doc.object();
  for (auto it = object.begin(); it != object.end(); ++it) {
    bool ok = false;
    const int id = it.key().toInt(&ok);
    if (!ok || !it.value().isString()) {
      raiseError(321, source,
                 QStringLiteral("The string table \"%1\" has an invalid entry \"%2\"")
                     .arg(path, it.key()));
    }
    texts.insert(id, it.value().toString());
  }
  return std::make_shared<const StringTable>(std::move(texts), std::move(fallback));
}

StringTable::StringTable(QHash<int, QString> texts, std::shared_ptr<const StringTable> fallback)
    : texts_(std::move(texts)), fallback_(std::move(fallback)) {}

bool StringTable::contains(int id) const {
  return texts_.contains(id) || (fallback_ && fallback_->contains(id));
}

QString StringTable::text(int id) const {
  const auto it = texts_.constFind(id);
  if (it != texts_.constEnd()) return *it;
  if (fallback_) return fallback_->text(id);
  raiseError(326, QStringLiteral("ZANPdfCtl4"),
             QStringLiteral("Resource with identifier '%1' not found").arg(id));
}

}  // namespace zan
