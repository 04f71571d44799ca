#include "common/automation_error.h"
#include "external/pdf_settings.h"
#include "external/setup_data.h"

#include <gtest/gtest.h>

using namespace zan;

namespace {

DocInfoField field(const QString& text, std::int32_t type, const QString& name) {
  DocInfoField f;
  f.setFieldText(text);
  f.setFieldType(type);
  f.setFieldName(name);
  return f;
}

void expectDefaults(PdfSettings& s) {
  EXPECT_EQ(s.ConfidenceThreshold(), 95);
  EXPECT_EQ(s.PageContent(), QStringLiteral("Formatted Text & Graphics"));
  EXPECT_EQ(s.CaptureLanguage(), QStringLiteral("English (US)"));
  EXPECT_EQ(s.OcrLanguage(), 1);
  EXPECT_EQ(s.Accuracy(), 4);
  EXPECT_EQ(s.OutputFormatType(), 3);
  const bool trueOnes[] = {s.Rotate0(),    s.LowOcrConfidence(), s.WordNotInDictionary(),
                           s.EmbedFonts(), s.AutoPageRotation(), s.PDFWaitForStatus()};
  for (bool b : trueOnes) EXPECT_TRUE(b);
  const bool falseOnes[] = {s.LowFontConfidence(), s.MixedCases(),       s.Rotate90(),
                            s.Rotate180(),         s.Rotate270(),        s.MixedAlphaNumeric(),
                            s.NumericOnly(),       s.CreateThumbnails(), s.EnableLinks(),
                            s.EnableStructure(),   s.PDFDeleteHungDoc()};
  for (bool b : falseOnes) EXPECT_FALSE(b);
  for (const QString& t : {s.Dictionary(), s.Workflow(), s.WorkgroupHub(), s.WatchedFolder(),
                           s.PDFOutputFolder(), s.PDFOutputMachine()})
    EXPECT_TRUE(t.isEmpty());
  EXPECT_EQ(s.PDFInputImageType(), 0);
  for (DocInfoField* f : {&s.TitleField(), &s.SubjectField(), &s.AuthorField(), &s.KeywordsField()})
    EXPECT_EQ(*f, DocInfoField());
}

// Sets every stored setting to a value unlike its default, built from `text` and `number`.
void setAll(PdfSettings& s, const QString& text, std::int32_t number, bool flag) {
  s.setEnabled(flag);
  s.setConfidenceThreshold(static_cast<std::int16_t>(number));
  s.TitleField() = field(text, kFieldTextConstant, QString());
  s.SubjectField() = field(QString(), kFieldIndexField, text);
  s.AuthorField() = field(text, kFieldBatchField, text + QStringLiteral("!"));
  s.KeywordsField() = field(QStringLiteral("k"), number, QString());
  s.setLowOcrConfidence(flag);
  s.setWordNotInDictionary(flag);
  s.setLowFontConfidence(!flag);
  s.setOutputFormatType(number);
  s.setOcrLanguage(number - 1);
  s.setAccuracy(number + 1);
  s.setMixedCases(!flag);
  s.setRotate0(flag);
  s.setRotate90(!flag);
  s.setRotate180(!flag);
  s.setRotate270(!flag);
  s.setPageContent(text);
  s.setCaptureLanguage(text + QStringLiteral("L"));
  s.setDictionary(text + QStringLiteral("D"));
  s.setWorkflow(text + QStringLiteral("W"));
  s.setMixedAlphaNumeric(!flag);
  s.setNumericOnly(!flag);
  s.setCreateThumbnails(!flag);
  s.setEmbedFonts(flag);
  s.setEnableLinks(!flag);
  s.setEnableStructure(!flag);
  s.setAutoPageRotation(flag);
  s.setWorkgroupHub(text + QStringLiteral("H"));
  s.setWatchedFolder(text + QStringLiteral("F"));
  s.setPDFOutputFolder(text);
  s.setPDFOutputMachine(text + QStringLiteral("M"));
  s.setPDFInputImageType(number * 2);
  s.setPDFWaitForStatus(flag);
  s.setPDFDeleteHungDoc(!flag);
}

// Every stored setting of `s` with its type, as one comparable text.
QString snapshot(PdfSettings& s) {
  MemorySetupPart one, two;
  s.Save(one, two);
  QString out;
  for (MemorySetupPart* p : {&one, &two}) {
    const QVariantMap m = p->toMap();
    for (auto it = m.begin(); it != m.end(); ++it)
      out += it.key() + QLatin1Char('=') + QString::fromLatin1(it.value().typeName()) +
             QLatin1Char(':') + it.value().toString() + QLatin1Char('\n');
  }
  return out;
}

struct RoundTrip {
  const char* name;
  QString text;
  std::int32_t number;
  bool flag;
};

}  // namespace

// Catches settings that a new object or RestoreDefaults leaves at the wrong default, and a
// RestoreDefaults that also resets the engine or the enabled state.
TEST(PdfSettings, DefaultsAfterConstructionAndRestore) {
  PdfSettings fresh;
  expectDefaults(fresh);
  EXPECT_TRUE(fresh.PdfEngine().isEmpty());
  EXPECT_TRUE(fresh.Enabled());

  PdfSettings s;
  setAll(s, QStringLiteral("changed"), 7, false);
  s.setPdfEngine(QStringLiteral("2"));
  s.RestoreDefaults();
  expectDefaults(s);
  EXPECT_EQ(s.PdfEngine(), QStringLiteral("2"));
  EXPECT_FALSE(s.Enabled());
}

// Catches a setting that Save forgets, Load reads from another key, or whose value is altered
// on the way (empty or long texts, non-ASCII text, negative numbers, field links).
TEST(PdfSettings, SaveThenLoadRoundTripsEverySetting) {
  const RoundTrip cases[] = {
      {"empty texts", QString(), 0, false},
      {"negative numbers", QStringLiteral("x"), -5, true},
      {"non-ASCII", QStringLiteral("Größe – 日本語 émigré"), 42, false},
      {"254 characters", QString(254, QChar(u'é')), 100, true},
      {"extreme numbers", QStringLiteral(" blank edges "), -32768, false},
  };
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.name);
    PdfSettings source;
    setAll(source, c.text, c.number, c.flag);
    MemorySetupPart one, two;
    source.Save(one, two);

    PdfSettings loaded;
    loaded.Load(one, two);
    EXPECT_EQ(snapshot(loaded), snapshot(source));
    EXPECT_EQ(loaded.PageContent(), c.text);
    EXPECT_EQ(loaded.ConfidenceThreshold(), static_cast<std::int16_t>(c.number));
    EXPECT_EQ(loaded.AuthorField(), source.AuthorField());
    EXPECT_EQ(loaded.KeywordsField().FieldType(), c.number);
    EXPECT_EQ(loaded.Enabled(), c.flag);
  }
}

// Catches keys that drift from the documented part (hosts and the sample file rely on them).
TEST(PdfSettings, KeysLandInTheDocumentedParts) {
  PdfSettings s;
  s.setPdfEngine(QStringLiteral("3"));
  MemorySetupPart one, two;
  s.Save(one, two);
  for (const char* key :
       {"PdfEngine", "Enabled", "ConfidenceThreshold", "LowOcrConfidence", "TitleField.FieldText",
        "KeywordsField.FieldType", "AuthorField.FieldName"})
    EXPECT_TRUE(one.contains(QString::fromLatin1(key))) << key;
  for (const char* key : {"OutputFormatType", "Rotate270", "PageContent", "WorkgroupHub",
                          "PDFInputImageType", "PDFDeleteHungDoc"})
    EXPECT_TRUE(two.contains(QString::fromLatin1(key))) << key;
  EXPECT_EQ(one.keys().size() + two.keys().size(), 44);
}

// Catches a Load that resets settings whose key is missing instead of keeping them, or that
// takes the engine from the stored data.
TEST(PdfSettings, MissingKeysKeepCurrentValues) {
  PdfSettings s;
  s.setPdfEngine(QStringLiteral("3"));
  s.setWorkflow(QStringLiteral("kept"));
  MemorySetupPart one, two;
  one.setValue(QStringLiteral("PdfEngine"), QStringLiteral("2"));
  two.setValue(QStringLiteral("Dictionary"), QStringLiteral("Legal"));
  s.Load(one, two);
  EXPECT_EQ(s.Dictionary(), QStringLiteral("Legal"));
  EXPECT_EQ(s.Workflow(), QStringLiteral("kept"));
  EXPECT_EQ(s.ConfidenceThreshold(), 95);
  EXPECT_EQ(s.PdfEngine(), QStringLiteral("3"));
}

// Catches a Load that silently converts a value of the wrong type, or that leaves the settings
// half loaded when it refuses one.
TEST(PdfSettings, LoadRefusesWrongTypes) {
  struct Case {
    int part;
    const char* key;
    QVariant value;
    int number;
  };
  const Case cases[] = {
      {2, "Rotate0", QVariant(QStringLiteral("True")), 13},
      {2, "EmbedFonts", QVariant(1), 13},
      {1, "ConfidenceThreshold", QVariant(true), 13},
      {1, "ConfidenceThreshold", QVariant(QStringLiteral("80")), 13},
      {1, "ConfidenceThreshold", QVariant(80.5), 13},
      {1, "ConfidenceThreshold", QVariant(40000), 6},
      {2, "Accuracy", QVariant(qint64(1) << 40), 6},
      {2, "PageContent", QVariant(3), 13},
      {1, "TitleField.FieldName", QVariant(false), 13},
      {1, "SubjectField.FieldType", QVariant(QStringLiteral("1")), 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    PdfSettings s;
    MemorySetupPart one, two;
    one.setValue(QStringLiteral("Enabled"), false);  // read before every key below
    (c.part == 1 ? one : two).setValue(QString::fromLatin1(c.key), c.value);
    try {
      s.Load(one, two);
      ADD_FAILURE() << "Load accepted the value";
    } catch (const AutomationException& e) {
      EXPECT_EQ(e.error().number, c.number);
      EXPECT_EQ(e.error().source, QStringLiteral("PdfSettings.Load"));
      EXPECT_TRUE(e.error().description.contains(QString::fromLatin1(c.key)));
    }
    expectDefaults(s);
    EXPECT_TRUE(s.Enabled());
  }
}

// Catches a Load that refuses the integral numbers a JSON file delivers as floating values.
TEST(PdfSettings, LoadAcceptsIntegralFloatingNumbers) {
  PdfSettings s;
  MemorySetupPart one, two;
  one.setValue(QStringLiteral("ConfidenceThreshold"), 80.0);
  two.setValue(QStringLiteral("Accuracy"), qint64(16));
  s.Load(one, two);
  EXPECT_EQ(s.ConfidenceThreshold(), 80);
  EXPECT_EQ(s.Accuracy(), 16);
}
