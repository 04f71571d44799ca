// The settings table against the stored example and the source tree: one place names each key.

#include "external/pdf_settings.h"
#include "external/setup_data.h"
#include "settings/settings_table.h"

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

// The string literals of C++ source text, comments left out.
QSet<QString> stringLiterals(const QString& code) {
  QSet<QString> literals;
  QString current;
  enum { Code, Line, Block, String, Char } state = Code;
  for (qsizetype i = 0; i < code.size(); ++i) {
    const QChar c = code[i];
    const QChar next = i + 1 < code.size() ? code[i + 1] : QChar();
    switch (state) {
      case Code:
        if (c == u'/' && next == u'/')
          state = Line;
        else if (c == u'/' && next == u'*')
          state = Block, ++i;
        else if (c == u'"')
          state = String, current.clear();
        else if (c == u'\'')
          state = Char;
        break;
      case Line:
        if (c == u'\n') state = Code;
        break;
      case Block:
        if (c == u'*' && next == u'/') state = Code, ++i;
        break;
      case String:
        if (c == u'\\')
          current += c, current += next, ++i;
        else if (c == u'"')
          state = Code, literals << current;
        else
          current += c;
        break;
      case Char:
        if (c == u'\\')
          ++i;
        else if (c == u'\'')
          state = Code;
        break;
    }
  }
  return literals;
}

// Catches a stored key written down a second time in the library's code (a panel, a list, a
// check that names a key itself) instead of taken from the settings table, or one the table
// lacks. The type library names the panels' properties and is left out.
TEST(SettingsTable, EveryStoredKeyIsALiteralOfExactlyOneSourceFile) {
  const QString root = QStringLiteral(ZAN_SOURCE_DIR "/ZANPDFCtl");
  QMap<QString, QSet<QString>> literalsByFile;
  QDirIterator it(root, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    if (path.endsWith(QLatin1String("/automation/type_library.cpp"))) continue;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    literalsByFile.insert(QDir(root).relativeFilePath(path),
                          stringLiterals(QString::fromUtf8(file.readAll())));
  }
  ASSERT_GT(literalsByFile.size(), 50);
  const QMap<QString, int> keys = exampleKeys();
  ASSERT_EQ(keys.size(), 43);
  for (const QString& key : keys.keys()) {
    QStringList files;
    for (auto f = literalsByFile.cbegin(); f != literalsByFile.cend(); ++f)
      if (f->contains(key)) files << f.key();
    EXPECT_EQ(files, QStringList{QStringLiteral("settings/settings_table.cpp")})
        << key.toStdString();
  }
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
  EXPECT_EQ(zan::captureLanguages().count, 16);
  EXPECT_EQ(zan::captureLanguages().byStored(QStringLiteral("Swiss German"))->tesseract,
            std::string("deu"));
  EXPECT_EQ(zan::pageContents().byStored(QStringLiteral("Image Only"))->mode, zan::PageMode::Image);
  EXPECT_EQ(zan::engineOfText(zan::engineText(zan::Engine::Capture)), zan::Engine::Capture);
  EXPECT_EQ(zan::engineOfText(zan::engineText(zan::Engine::Ocr)), zan::Engine::Ocr);
  EXPECT_FALSE(zan::engineOfText(QStringLiteral("x")));
}

}  // namespace
