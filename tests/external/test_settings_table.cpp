// The settings table against the stored example and the source tree: one place names each key.

#include "settings/pdf_settings.h"
#include "settings/settings_table.h"
#include "settings/setup_data.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

namespace {

using zan::Setting;
using zan::SettingRow;

// The keys of the example setup file's two parts, by part.
QMap<QString, int> exampleKeys() {
  QFile file(QStringLiteral(ZAN_EXAMPLES_DIR "/setup/release-setup.json"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  const QJsonObject setup = QJsonDocument::fromJson(file.readAll()).object();
  QMap<QString, int> keys;
  for (const QString& key : setup.value(QStringLiteral("SetupPartOne")).toObject().keys())
    keys.insert(key, 1);
  for (const QString& key : setup.value(QStringLiteral("SetupPartTwo")).toObject().keys())
    keys.insert(key, 2);
  return keys;
}

// A C++ source file: its text with the comments blanked out (lines kept), and its string
// literals.
struct Source {
  QString code;
  QSet<QString> literals;
};

Source readSource(const QString& text) {
  // Comments, raw strings, strings and character literals, each where it starts.
  static const QRegularExpression token(
      R"re(//[^\n]*|/\*.*?\*/|R"([^(\s]*)\((.*?)\)\1"|"((?:\\.|[^"\\\n])*)"|'(?:\\.|[^'\\\n])*')re",
      QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression notNewline(QStringLiteral("[^\n]"));
  Source source{text, {}};
  for (auto it = token.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    if (m.captured().startsWith(u'/'))  // blanked, lines kept
      source.code.replace(m.capturedStart(), m.capturedLength(),
                          m.captured().replace(notNewline, QStringLiteral(" ")));
    else if (m.hasCaptured(2) || m.hasCaptured(3))
      source.literals << m.captured(m.hasCaptured(2) ? 2 : 3);
  }
  return source;
}

// The production sources (the panels' library, the release engine, the hub and the programs),
// by their path in the source tree. The type library, which names the panels' properties as
// hosts bind to them, is left out.
QMap<QString, Source> productionSources() {
  const QDir root(QStringLiteral(ZAN_SOURCE_DIR));
  QMap<QString, Source> sources;
  for (const char* folder : {"ZANPDFCtl", "release", "hub", "apps"}) {
    QDirIterator it(root.filePath(QLatin1String(folder)),
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      if (path.endsWith(QLatin1String("/automation/type_library.cpp"))) continue;
      QFile file(path);
      EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
      sources.insert(root.relativeFilePath(path), readSource(QString::fromUtf8(file.readAll())));
    }
  }
  return sources;
}

const QString kTableFile = QStringLiteral("ZANPDFCtl/settings/settings_table.cpp");

// Catches a stored key written down a second time in production code (a panel, a list, a
// check, the hub's ticket, the release options or a program that names a key itself) instead
// of taken from the settings table, or one the table lacks.
TEST(SettingsTable, EveryStoredKeyIsALiteralOfExactlyOneSourceFile) {
  const QMap<QString, Source> sources = productionSources();
  ASSERT_GT(sources.size(), 150);
  ASSERT_TRUE(sources.contains(QStringLiteral("hub/capture_settings.cpp")));
  ASSERT_TRUE(sources.contains(QStringLiteral("apps/zan-release/release_command.cpp")));
  QMap<QString, int> keys = exampleKeys();
  ASSERT_EQ(keys.size(), 43);
  keys.insert(QStringLiteral("PdfEngine"), 1);
  for (const QString& key : keys.keys()) {
    QStringList files;
    for (auto f = sources.cbegin(); f != sources.cend(); ++f)
      if (f->literals.contains(key)) files << f.key();
    EXPECT_EQ(files.join(QStringLiteral(", ")).toStdString(), kTableFile.toStdString())
        << key.toStdString();
  }
}

// Catches the engine written as its stored text ("2", "3") outside the settings table instead
// of as Engine. The few "2" and "3" that are no engine are listed with what they are.
TEST(SettingsTable, NoEngineTextOutsideTheTable) {
  const QMap<QString, QString> notEngines = {
      {QStringLiteral("release/pdf_archive.cpp"), QStringLiteral("pdfaid:part")},
      {QStringLiteral("release/recognizer.cpp"), QStringLiteral("thresholding_method")}};
  const QRegularExpression engineText(QStringLiteral("\"[23]\""));
  QStringList found;
  const QMap<QString, Source> sources = productionSources();
  for (auto f = sources.cbegin(); f != sources.cend(); ++f) {
    if (f.key() == kTableFile) continue;
    const QStringList lines = f->code.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i)
      if (lines[i].contains(engineText) &&
          !(notEngines.contains(f.key()) && lines[i].contains(notEngines[f.key()])))
        found << QStringLiteral("%1:%2: %3").arg(f.key()).arg(i + 1).arg(lines[i].trimmed());
  }
  EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
  EXPECT_TRUE(sources[kTableFile].code.contains(engineText));
}

// Catches a row in the wrong part, a stored key without a row, and a row Save writes that the
// stored file does not hold (beyond the engine it is written for).
TEST(SettingsTable, RowsAreTheStoredKeysInTheirParts) {
  const QMap<QString, int> keys = exampleKeys();
  QMap<QString, int> rows;
  for (const SettingRow& row : zan::settingRows())
    if (row.id != Setting::PdfEngine) rows.insert(row.keyText(), row.part);
  EXPECT_EQ(rows, keys);

  zan::MemorySetupData data;
  zan::PdfSettings settings;
  settings.Save(data.SetupPartOne(), data.SetupPartTwo());
  QMap<QString, int> saved;
  for (const QString& key : data.SetupPartOne().keys()) saved.insert(key, 1);
  for (const QString& key : data.SetupPartTwo().keys()) saved.insert(key, 2);
  saved.remove(QStringLiteral("PdfEngine"));
  EXPECT_EQ(saved, keys);
}

// Catches a list whose stored texts, item data or Tesseract models drift apart: every entry has
// a code of its own, an English text of its own, and every language a model.
TEST(SettingsTable, ListsAreConsistent) {
  for (const zan::Choices list : {zan::outputFormats(), zan::ocrLanguages(), zan::accuracies(),
                                  zan::pageContents(), zan::captureLanguages()}) {
    QSet<int> codes;
    for (const zan::Choice& c : list) codes << c.code;
    EXPECT_EQ(codes.size(), list.count);
    const QStringList texts = list.storedTexts();
    EXPECT_EQ(QSet<QString>(texts.begin(), texts.end()).size(), list.count);
  }
  for (const zan::Choices list : {zan::ocrLanguages(), zan::captureLanguages()})
    for (const zan::Choice& c : list) {
      EXPECT_EQ(QString::fromLatin1(c.tesseract).size(), 3);
      EXPECT_TRUE(QString::fromLatin1(c.tag).contains(u'-'));
    }
  // Swiss German has no model of its own.
  EXPECT_EQ(zan::captureLanguages().byStored(QStringLiteral("Swiss German"))->tesseract,
            std::string("deu"));
}

}  // namespace
