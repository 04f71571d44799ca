#include "settings/pdf_settings.h"
#include "settings/setup_data.h"

#include "external_support.h"

#include <gtest/gtest.h>

using namespace zan;

namespace {

void expectDefaults(PdfSettings& s) {
  EXPECT_EQ(s.ConfidenceThreshold(), 95);
  EXPECT_EQ(s.PageContent(), QStringLiteral("Formatted Text & Graphics"));
  EXPECT_EQ(s.CaptureLanguage(), QStringLiteral("English (US)"));
  EXPECT_EQ(QList<int>({s.OcrLanguage(), s.Accuracy(), s.OutputFormatType()}), QList({1, 4, 3}));
  for (bool b : {s.Rotate0(), s.LowOcrConfidence(), s.WordNotInDictionary(), s.EmbedFonts(),
                 s.AutoPageRotation(), s.PDFWaitForStatus()})
    EXPECT_TRUE(b);
  for (bool b : {s.LowFontConfidence(), s.MixedCases(), s.Rotate90(), s.Rotate180(), s.Rotate270(),
                 s.MixedAlphaNumeric(), s.NumericOnly(), s.CreateThumbnails(), s.EnableLinks(),
                 s.EnableStructure(), s.PDFDeleteHungDoc()})
    EXPECT_FALSE(b);
  for (const QString& t : {s.Dictionary(), s.Workflow(), s.WorkgroupHub(), s.WatchedFolder(),
                           s.PDFOutputFolder(), s.PDFOutputMachine()})
    EXPECT_TRUE(t.isEmpty());
  EXPECT_EQ(s.PDFInputImageType(), 0);
  for (DocInfoField* f : {&s.TitleField(), &s.SubjectField(), &s.AuthorField(), &s.KeywordsField()})
    EXPECT_EQ(*f, DocInfoField());
}

// Replaces every stored value by one unlike its default and unlike the other keys' values:
// Booleans negated, numbers `number` plus the key's position, texts `text` with the position
// after its first character (cut to 254 characters; an empty `text` stays empty).
void mutate(SetupPart& p, const QString& text, int number, int& position) {
  for (const QString& key : p.keys()) {
    const QVariant v = p.value(key);
    QVariant n(number + ++position);
    n.convert(v.metaType());
    const QString t = (text.left(1) + QString::number(position) + text.mid(1)).left(254);
    if (v.typeId() == QMetaType::Bool) n = !v.toBool();
    if (v.typeId() == QMetaType::QString) n = text.isEmpty() ? QString() : t;
    p.setValue(key, n);
  }
}

// Every value of `p` with its type, as one comparable text.
QString snapshot(const MemorySetupPart& p) {
  QString out;
  const QVariantMap m = p.toMap();
  for (auto it = m.begin(); it != m.end(); ++it)
    out += it.key() + '=' + it.value().typeName() + ':' + it.value().toString() + '\n';
  return out;
}

}  // namespace

// Catches a setting that Save forgets or Load reads from another key or part, a value altered
// on the way (empty, 254-character, non-ASCII or blank-edged texts, negative numbers, field
// links), a Load that takes the engine from the stored data, a default that is wrong, and a
// RestoreDefaults that leaves a setting changed or also resets the engine or Enabled.
TEST(PdfSettings, EverySettingRoundTripsAndRestoresToItsDefault) {
  PdfSettings fresh;
  expectDefaults(fresh);
  EXPECT_TRUE(fresh.PdfEngine().isEmpty());
  EXPECT_TRUE(fresh.Enabled());

  const struct {
    const char* name;
    QString text;
    int number;
  } cases[] = {{"empty texts", QString(), 0},
               {"negative numbers", QStringLiteral("x"), -5},
               {"non-ASCII", QStringLiteral("Größe – 日本語 émigré"), 42},
               {"254 characters", QString(254, QChar(u'é')), 100},
               {"blank edges, extreme number", QStringLiteral(" blank edges "), -32768}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemorySetupPart one, two;
    fresh.Save(one, two);
    int position = 0;
    mutate(one, c.text, c.number, position);
    mutate(two, c.text, c.number, position);
    PdfSettings loaded;
    loaded.setPdfEngine(QStringLiteral("engine"));
    loaded.Load(one, two);
    EXPECT_EQ(loaded.PdfEngine(), QStringLiteral("engine"));
    EXPECT_FALSE(loaded.Enabled());
    EXPECT_EQ(loaded.PageContent(), two.value(QStringLiteral("PageContent")).toString());
    EXPECT_EQ(loaded.ConfidenceThreshold(),
              one.value(QStringLiteral("ConfidenceThreshold")).toInt());
    EXPECT_EQ(loaded.AuthorField().FieldName(),
              one.value(QStringLiteral("AuthorField.FieldName")).toString());
    loaded.setPdfEngine(one.value(QStringLiteral("PdfEngine")).toString());
    MemorySetupPart again1, again2;
    loaded.Save(again1, again2);
    EXPECT_EQ(snapshot(again1), snapshot(one));
    EXPECT_EQ(snapshot(again2), snapshot(two));

    loaded.RestoreDefaults();
    expectDefaults(loaded);
    EXPECT_EQ(loaded.PdfEngine(), one.value(QStringLiteral("PdfEngine")).toString());
    EXPECT_FALSE(loaded.Enabled());
  }
}

// Catches a Load that resets settings whose key is missing instead of keeping them, or refuses
// the integral numbers a JSON file delivers as floating values.
TEST(PdfSettings, LoadKeepsMissingKeysAndAcceptsIntegralFloats) {
  PdfSettings s;
  s.setWorkflow(QStringLiteral("kept"));
  MemorySetupPart one, two;
  one.setValue(QStringLiteral("ConfidenceThreshold"), 80.0);
  two.setValue(QStringLiteral("Accuracy"), qint64(16));
  two.setValue(QStringLiteral("Dictionary"), QStringLiteral("Legal"));
  s.Load(one, two);
  EXPECT_EQ(s.Dictionary(), QStringLiteral("Legal"));
  EXPECT_EQ(s.Workflow(), QStringLiteral("kept"));
  EXPECT_EQ(s.ConfidenceThreshold(), 80);
  EXPECT_EQ(s.Accuracy(), 16);
  EXPECT_EQ(s.OcrLanguage(), 1);
}

// Catches a Load that silently converts a value of the wrong type, or that leaves the settings
// half loaded when it refuses one.
TEST(PdfSettings, LoadRefusesWrongTypes) {
  const struct {
    int part;
    const char* key;
    QVariant value;
    int number;
  } cases[] = {
      {2, "Rotate0", QStringLiteral("True"), 13},
      {1, "ConfidenceThreshold", true, 13},
      {1, "ConfidenceThreshold", QStringLiteral("80"), 13},
      {1, "ConfidenceThreshold", 80.5, 13},
      {1, "ConfidenceThreshold", 40000, 6},
      {2, "Accuracy", qint64(1) << 40, 6},
      {2, "PageContent", 3, 13},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    PdfSettings s;
    MemorySetupPart one, two;
    one.setValue(QStringLiteral("Enabled"), false);  // read before every key below
    (c.part == 1 ? one : two).setValue(QString::fromLatin1(c.key), c.value);
    const AutomationError e = zan::testing::failureOf([&] { s.Load(one, two); });
    EXPECT_EQ(e.number, c.number);
    EXPECT_EQ(e.source, QStringLiteral("PdfSettings.Load"));
    EXPECT_TRUE(e.description.contains(QString::fromLatin1(c.key)));
    expectDefaults(s);
    EXPECT_TRUE(s.Enabled());
  }
}

namespace {

// A property bag that refuses the write numbered `refuseAt`, counting the writes of all bags
// that share `writes`.
class RefusingPart final : public SetupPart {
 public:
  RefusingPart(MemorySetupPart& part, int& writes, int refuseAt)
      : part_(part), writes_(writes), refuseAt_(refuseAt) {}
  bool contains(const QString& key) const override { return part_.contains(key); }
  QVariant value(const QString& key) const override { return part_.value(key); }
  void setValue(const QString& key, const QVariant& value) override {
    if (writes_++ == refuseAt_)
      raiseError(75, QStringLiteral("SetupPart"), QStringLiteral("The value was refused."));
    part_.setValue(key, value);
  }
  void removeValue(const QString& key) override { part_.removeValue(key); }
  QStringList keys() const override { return part_.keys(); }

 private:
  MemorySetupPart& part_;
  int& writes_;
  const int refuseAt_;
};

}  // namespace

// Catches a Save that leaves the setup data half updated when a part refuses a value: whichever
// write fails, the failure reaches the caller and both parts hold exactly what they held (keys
// Save added are gone again, keys it changed are restored, keys it does not own are untouched).
TEST(PdfSettings, SaveStoresAllOrNothing) {
  PdfSettings s;
  s.setWorkflow(QStringLiteral("New"));
  s.setConfidenceThreshold(50);
  MemorySetupPart one, two;
  one.setValue(QStringLiteral("ConfidenceThreshold"), 80);
  two.setValue(QStringLiteral("Workflow"), QStringLiteral("Old"));
  two.setValue(QStringLiteral("Other.Program"), 5);
  int total = 0;
  {
    MemorySetupPart o = one, t = two;
    RefusingPart a(o, total, -1), b(t, total, -1);
    s.Save(a, b);
    EXPECT_EQ(t.value(QStringLiteral("Workflow")).toString(), QStringLiteral("New"));
  }
  ASSERT_EQ(total, 44);  // every setting and the engine
  for (int n = 0; n < total; ++n) {
    SCOPED_TRACE(n);
    MemorySetupPart o = one, t = two;
    int writes = 0;
    RefusingPart a(o, writes, n), b(t, writes, n);
    EXPECT_EQ(zan::testing::failureOf([&] { s.Save(a, b); }).number, 75);
    EXPECT_EQ(snapshot(o), snapshot(one));
    EXPECT_EQ(snapshot(t), snapshot(two));
  }
}
