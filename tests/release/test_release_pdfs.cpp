// Releases of generated pages with each output format, read back with Poppler. Each
// configuration is released once per test binary and shared by the tests that look at it.
#include "release_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>
#include <memory>

using namespace zan::testing;

namespace {

const QString kGarbledWord = "Xqwzvbtk";

// The pages every configuration draws from, made once.
struct Pages {
  QTemporaryDir dir;
  TestPage upright, turned90, turned180, turned270, garbled, german, smallPrint, twoLines;

  Pages() {
    upright = make("upright.png", sampleLines(0), 0);
    turned90 = make("turned90.png", sampleLines(1), 90);
    turned180 = make("turned180.png", sampleLines(2), 180);
    turned270 = make("turned270.png", sampleLines(5), 270);
    QStringList lines = sampleLines(3);
    lines[2] = QStringLiteral("Check the reference %1 first.").arg(kGarbledWord);
    garbled = make("garbled.png", lines, 0);
    german = make("german.png",
                  {"Sehr geehrte Damen und Herren,", "vielen Dank für Ihre Bestellung.",
                   "Die Lieferung erfolgt nächste Woche.", "Bitte prüfen Sie die Rechnung.",
                   "Mit freundlichen Grüßen aus Köln", "Ihr Kundendienst im Büro",
                   "Öffnungszeiten: Montag bis Freitag", "Über Ihre Antwort freuen wir uns."},
                  0);
    QStringList fine;
    for (int i = 6; i < 9; ++i) fine << sampleLines(i);
    smallPrint = make("small-print.png", fine, 0, 7);
    // Too little text for orientation detection to be sure of the turn.
    twoLines = make("two-lines-turned180.png", sampleLines(7).mid(0, 2), 180);
    QFile notes(path("notes.png"));
    notes.open(QIODevice::WriteOnly);
    notes.write("these are notes, not a scan");
  }
  QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

 private:
  TestPage make(const char* name, const QStringList& lines, int turn, int points = 12) {
    TestPage page = renderTextPage(lines, points);
    savePage(turn ? turnedClockwise(page.image, turn) : page.image, path(name));
    return page;  // the words' places are those of the upright page
  }
};

const Pages& pages() {
  static const Pages p;
  return p;
}

struct Released {
  QTemporaryDir dir;
  QString out;
  ProgramRun run;
  QJsonObject report;
  QString pdf(int document) const {
    return out + QStringLiteral("/document-%1.pdf").arg(document, 4, 10, QLatin1Char('0'));
  }
  QJsonObject document(int n) const {
    return report.value("documents").toArray().at(n - 1).toObject();
  }
};

struct Configuration {
  QVariantMap partOne, partTwo;
  QJsonObject batch;
  QStringList arguments;
};

QJsonObject doc(const QStringList& pageFiles, const QJsonObject& indexFields = {}) {
  return {{"pages", QJsonArray::fromStringList(pageFiles)}, {"indexFields", indexFields}};
}

const QVariantMap kDocumentInformation{
    {"TitleField.FieldType", 1},    {"TitleField.FieldName", "Document Title"},
    {"SubjectField.FieldType", 0},  {"SubjectField.FieldText", "Scanned correspondence"},
    {"AuthorField.FieldType", 2},   {"AuthorField.FieldName", "Operator"},
    {"KeywordsField.FieldType", 1}, {"KeywordsField.FieldName", "Customer Number"},
    {"ConfidenceThreshold", 80},    {"LowOcrConfidence", true},
    {"WordNotInDictionary", true}};

Configuration configuration(const std::string& name) {
  Configuration c;
  c.arguments = {"--jobs", "2"};
  if (name == "hidden" || name == "hidden, one job") {
    // Image and hidden text; 0, 90 and 180 degrees may be turned, 270 not.
    c.partOne = kDocumentInformation;
    c.partTwo = {
        {"OutputFormatType", 3}, {"Rotate90", true}, {"Rotate180", true}, {"MixedCases", true}};
    c.batch = {
        {"name", "Batch 17"},
        {"batchFields", QJsonObject{{"Operator", "Ada"}}},
        {"documents",
         QJsonArray{doc({"upright.png", "turned90.png"},
                        {{"Document Title", "Invoice 4711"}, {"Customer Number", "C-17"}}),
                    doc({"turned180.png", "garbled.png"}, {{"Document Title", "Delivery note"}}),
                    doc({"upright.png", "notes.png"}), doc({"turned270.png"})}}};
    if (name == "hidden, one job") c.arguments = {"--jobs", "1"};
  } else if (name == "text") {  // Normal PDF, German, pages turned by 90 degrees turned upright
    c.partTwo = {{"OutputFormatType", 1}, {"OcrLanguage", 5}, {"Rotate90", true}};
    c.batch = {{"documents", QJsonArray{doc({"german.png", "turned90.png"})}}};
  } else if (name == "image") {  // Image only, pages turned by 180 degrees turned upright
    c.partTwo = {{"OutputFormatType", 2}, {"Rotate180", true}};
    c.batch = {{"documents", QJsonArray{doc({"upright.png", "turned180.png"})}}};
  } else {  // "Fastest" or "Most Accurate" on fine print, the garbled page, two lines upside down
    c.partTwo = {{"OutputFormatType", 3},
                 {"Accuracy", name == "Fastest" ? 1 : 16},
                 {"Rotate90", true},
                 {"Rotate180", true},
                 {"Rotate270", true}};
    c.batch = {{"documents", QJsonArray{doc({"small-print.png", "garbled.png"}),
                                        doc({"two-lines-turned180.png"})}}};
  }
  return c;
}

const Released& released(const std::string& name) {
  static std::map<std::string, std::unique_ptr<Released>> cache;
  auto& r = cache[name];
  if (r) return *r;
  r = std::make_unique<Released>();
  const Configuration c = configuration(name);
  const QDir d(r->dir.path());
  const QString setup = d.filePath("setup.json");
  writeOcrSetup(setup, c.partOne, c.partTwo);
  const QString batch =
      writeBatchFile(pages().path("batch-") + QString::fromStdString(name) + ".json", c.batch);
  r->out = d.filePath("out");
  r->run = runZanRelease(
      QStringList{"--setup", setup, "--batch", batch, "--out", r->out, "--quiet"} + c.arguments);
  r->report = readJson(r->out + "/release-report.json");
  return *r;
}

// The share of pixels whose grey value differs by more than a quarter of the range.
double differingShare(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_Grayscale8);
  const QImage y = b.convertToFormat(QImage::Format_Grayscale8).scaled(x.size());
  qint64 differing = 0;
  for (int row = 0; row < x.height(); ++row)
    for (int col = 0; col < x.width(); ++col)
      if (std::abs(x.constScanLine(row)[col] - y.constScanLine(row)[col]) > 64) ++differing;
  return static_cast<double>(differing) / (static_cast<double>(x.width()) * x.height());
}

}  // namespace

// The recognised words lie invisibly exactly over the words of the page image.
TEST(ImageAndHiddenText, WordsFoundAtTheirPlacesAndInvisible) {
  const Released& r = released("hidden");
  ASSERT_EQ(r.run.exitCode, 1) << qPrintable(r.run.err);  // document 3 fails
  const std::vector<PdfPage> found = pdfWords(r.pdf(1));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(wordsFoundInPlace(pages().upright, found[0]), allWords(pages().upright));
  EXPECT_EQ(pdfImageCount(r.pdf(1), 1), 1);
  EXPECT_EQ(pdfImageCount(r.pdf(1), 2), 1);
  // Rendered, the page shows only its image: the text layer adds no visible pixel.
  EXPECT_LT(differingShare(renderedPage(r.pdf(1), 1), pages().upright.image), 0.001);
  // The invisible text needs no real font: Tesseract's glyph-less one, embedded (a few hundred
  // bytes instead of a subset of DejaVu Sans).
  EXPECT_TRUE(pdfFonts(r.pdf(1)).contains(
      QRegularExpression("GlyphLessFont +CID TrueType +Identity-H +yes no +yes")))
      << qPrintable(pdfFonts(r.pdf(1)));
}

// A page is turned upright when its orientation is checked, and stays as scanned when not;
// it is turned by the matrix that places its image, which stays stored as scanned.
TEST(ImageAndHiddenText, TurnedPagesUprightOnlyWhenTheirOrientationIsChecked) {
  const Released& r = released("hidden");
  const struct {
    const char* fault;
    int document, page;
    const TestPage& original;
    int turn;      // as scanned
    int rotation;  // expected in the report
  } cases[] = {{"a page turned by 90 degrees left as scanned", 1, 2, pages().turned90, 90, 270},
               {"a page turned by 180 degrees left as scanned", 2, 1, pages().turned180, 180, 180},
               {"a page turned by 270 degrees turned although 270 is unchecked", 4, 1,
                pages().turned270, 270, 0}};
  for (const auto& c : cases) {
    const bool upright = c.rotation != 0;
    const QImage scanned = turnedClockwise(c.original.image, c.turn);
    EXPECT_TRUE(samePixels(pdfImage(r.pdf(c.document), c.page), scanned))
        << c.fault << ": the image was re-encoded turned";
    // (A page read sideways has suspect words, whose highlights a renderer draws.)
    if (upright) {
      EXPECT_TRUE(samePixels(renderedPage(r.pdf(c.document), c.page), c.original.image)) << c.fault;
    }
    const std::vector<PdfPage> found = pdfWords(r.pdf(c.document));
    ASSERT_GE(found.size(), static_cast<std::size_t>(c.page)) << c.fault;
    const PdfPage& page = found[c.page - 1];
    EXPECT_EQ(page.size.width() < page.size.height(), upright || c.turn == 180) << c.fault;
    if (upright) {
      EXPECT_EQ(wordsFoundInPlace(c.original, page), allWords(c.original)) << c.fault;
    }
    const QJsonObject reported =
        r.document(c.document)["pages"].toArray().at(c.page - 1).toObject();
    EXPECT_EQ(reported["orientation"].toInt(), c.turn) << c.fault;
    EXPECT_EQ(reported["rotation"].toInt(), c.rotation) << c.fault;
    EXPECT_EQ(reported["orientationReason"].toString(), upright ? "detected" : "not allowed")
        << c.fault;
  }
}

// The garbled word is highlighted with its reason for a reviewer and listed in the report;
// the clean pages have no suspect word.
TEST(ImageAndHiddenText, GarbledWordAnnotatedAndReported) {
  const Released& r = released("hidden");
  const auto drawn = std::find_if(pages().garbled.words.begin(), pages().garbled.words.end(),
                                  [](const DrawnWord& w) { return w.text == kGarbledWord; });
  ASSERT_NE(drawn, pages().garbled.words.end());
  const QPointF place = inPoints(drawn->box).center();
  const std::vector<PdfNote> notes = pdfHighlights(r.pdf(2), 2);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_TRUE(notes[0].box.contains(place));
  EXPECT_TRUE(notes[0].contents.contains(QLatin1String("not in the dictionary")))
      << qPrintable(notes[0].contents);

  const QJsonArray suspects = r.document(2)["suspectWords"].toArray();
  ASSERT_EQ(suspects.size(), 1);
  const QJsonObject s = suspects[0].toObject();
  EXPECT_EQ(s["page"].toInt(), 2);
  EXPECT_TRUE(s["reasons"].toArray().contains("WordNotInDictionary"));
  EXPECT_GT(s["confidence"].toDouble(), 0);
  const QJsonArray b = s["bbox"].toArray();  // PDF points, from the bottom left
  const double pageHeight = pdfWords(r.pdf(2)).at(1).size.height();
  EXPECT_TRUE(QRectF(QPointF(b[0].toDouble(), pageHeight - b[3].toDouble()),
                     QPointF(b[2].toDouble(), pageHeight - b[1].toDouble()))
                  .contains(place));
  EXPECT_TRUE(r.document(1)["suspectWords"].toArray().isEmpty());
  EXPECT_TRUE(pdfHighlights(r.pdf(1), 1).empty());
}

// Title, Subject, Author and Keywords hold the index field, the constant and the batch field;
// a field the document lacks is left empty and reported as a warning.
TEST(ImageAndHiddenText, DocumentInformationFromFieldsWithWarnings) {
  const Released& r = released("hidden");
  EXPECT_EQ(pdfInfo(r.pdf(1), "Title"), "Invoice 4711");
  EXPECT_EQ(pdfInfo(r.pdf(1), "Subject"), "Scanned correspondence");
  EXPECT_EQ(pdfInfo(r.pdf(1), "Author"), "Ada");
  EXPECT_EQ(pdfInfo(r.pdf(1), "Keywords"), "C-17");
  EXPECT_EQ(pdfInfo(r.pdf(2), "Title"), "Delivery note");
  EXPECT_EQ(pdfInfo(r.pdf(2), "Keywords"), QString());
  EXPECT_EQ(r.document(2)["warnings"].toArray(),
            QJsonArray{QStringLiteral(
                "Keywords: the document has no index field \"Customer Number\"; left empty")});
}

// An unreadable page fails its document with the reason; the others are released.
TEST(ImageAndHiddenText, UnreadablePageFailsOnlyItsDocument) {
  const Released& r = released("hidden");
  EXPECT_EQ(r.document(3)["status"].toString(), "failed");
  EXPECT_EQ(r.document(3)["reason"].toString(),
            "page 2 (notes.png): not an image or PDF (PNG, TIFF, JPEG, PNM, BMP or PDF)");
  EXPECT_FALSE(QFile::exists(r.pdf(3)));
  for (int d : {1, 2, 4}) EXPECT_TRUE(QFile::exists(r.pdf(d))) << d;
  const QJsonObject totals = r.report["totals"].toObject();
  EXPECT_EQ(totals["released"].toInt(), 3);
  EXPECT_EQ(totals["failed"].toInt(), 1);
  EXPECT_EQ(totals["pages"].toInt(), 5);
  EXPECT_TRUE(r.run.err.contains(
      QLatin1String("zan-release: document 3 not released: page 2 (notes.png)")));
}

// Pages processed in parallel give the same PDFs' text and the same report as one by one.
TEST(ImageAndHiddenText, TwoJobsGiveWhatOneJobGives) {
  const Released& two = released("hidden");
  const Released& one = released("hidden, one job");
  ASSERT_EQ(one.run.exitCode, two.run.exitCode);
  for (int d : {1, 2, 4}) {
    QStringList a, b;
    for (const PdfPage& p : pdfWords(two.pdf(d)))
      for (const PdfWord& w : p.words)
        a << QStringLiteral("%1 %2 %3").arg(w.text).arg(w.box.x()).arg(w.box.y());
    for (const PdfPage& p : pdfWords(one.pdf(d)))
      for (const PdfWord& w : p.words)
        b << QStringLiteral("%1 %2 %3").arg(w.text).arg(w.box.x()).arg(w.box.y());
    EXPECT_FALSE(a.isEmpty());
    EXPECT_EQ(a, b) << "document " << d;
  }
  QJsonObject reportTwo = two.report, reportOne = one.report;
  for (const char* timing : {"seconds", "pagesPerSecond", "jobs"}) {
    reportTwo.remove(QLatin1String(timing));
    reportOne.remove(QLatin1String(timing));
  }
  EXPECT_EQ(reportTwo, reportOne);
  EXPECT_EQ(two.report["jobs"].toInt(), 2);
}

// A Normal PDF shows the recognised text in an embedded real font, at the places of the
// words, with no page image; German words keep their umlauts.
TEST(NormalPdf, VisibleTextInPlaceWithoutImage) {
  const Released& r = released("text");
  ASSERT_EQ(r.run.exitCode, 0) << qPrintable(r.run.err);
  const std::vector<PdfPage> found = pdfWords(r.pdf(1));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(wordsFoundInPlace(pages().german, found[0]), allWords(pages().german));
  EXPECT_EQ(wordsFoundInPlace(pages().turned90, found[1]), allWords(pages().turned90));
  EXPECT_EQ(pdfImageCount(r.pdf(1), 1) + pdfImageCount(r.pdf(1), 2), 0);
  // Drawn visibly: the rendered page carries about as much ink as the scan.
  EXPECT_GT(inkShare(renderedPage(r.pdf(1), 1)), inkShare(pages().german.image) / 2);
  const QString fonts = pdfFonts(r.pdf(1));
  EXPECT_TRUE(
      fonts.contains(QRegularExpression("DejaVuSans +CID TrueType +Identity-H +yes +yes +yes")))
      << qPrintable(fonts);
}

// An image-only PDF holds the page images, turned upright, and no text at all.
TEST(ImageOnlyPdf, ImagesWithoutText) {
  const Released& r = released("image");
  ASSERT_EQ(r.run.exitCode, 0) << qPrintable(r.run.err);
  for (const PdfPage& p : pdfWords(r.pdf(1))) EXPECT_TRUE(p.words.empty());
  EXPECT_EQ(pdfImageCount(r.pdf(1), 1), 1);
  EXPECT_TRUE(samePixels(renderedPage(r.pdf(1), 2), pages().turned180.image));
  EXPECT_TRUE(pdfFonts(r.pdf(1)).count(QLatin1Char('\n')) <= 2) << "a font in an image-only PDF";
}

// "Most Accurate" recognises no fewer words correctly than "Fastest".
TEST(Accuracy, MostAccurateRecognisesNoFewerWordsThanFastest) {
  const Released& fastest = released("Fastest");
  const Released& most = released("Most Accurate");
  ASSERT_EQ(fastest.run.exitCode, 0) << qPrintable(fastest.run.err);
  ASSERT_EQ(most.run.exitCode, 0) << qPrintable(most.run.err);
  const auto correct = [](const Released& r) {
    const std::vector<PdfPage> found = pdfWords(r.pdf(1));
    return found.size() < 2 ? 0
                            : wordsFoundInPlace(pages().smallPrint, found[0]).size() +
                                  wordsFoundInPlace(pages().garbled, found[1]).size();
  };
  const auto words = pages().smallPrint.words.size() + pages().garbled.words.size();
  const qsizetype fast = correct(fastest), accurate = correct(most);
  std::printf("words recognised correctly of %zu: Fastest %lld, Most Accurate %lld\n", words,
              static_cast<long long>(fast), static_cast<long long>(accurate));
  EXPECT_GE(accurate, fast);
  EXPECT_GT(fast, 0);
}

// The sample batch the README releases gives the text written beside each of its pages.
TEST(SampleBatch, ReleasesTheExpectedText) {
  const QDir examples(QStringLiteral(ZAN_EXAMPLES_DIR "/batch"));
  QTemporaryDir out;
  const ProgramRun run =
      runZanRelease({"--setup", examples.filePath("release-setup.json"), "--batch",
                     examples.filePath("batch.json"), "--out", out.path(), "--quiet"});
  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
  const QStringList texts =
      pageTexts(out.filePath("document-0001.pdf")) + pageTexts(out.filePath("document-0002.pdf"));
  const QStringList expected = expectedPageTexts(examples.path());
  ASSERT_EQ(expected.size(), 4);
  EXPECT_EQ(texts, expected);
}

// When orientation detection is unsure, "Most Accurate" reads the page in each allowed
// orientation and keeps the upright reading (not a sideways one, which Tesseract reads as
// vertical text just as well).
TEST(Accuracy, MostAccurateTriesOrientationsWhenDetectionIsUnsure) {
  const Released& r = released("Most Accurate");
  const QJsonObject page = r.document(2)["pages"].toArray().at(0).toObject();
  EXPECT_LT(page["orientationConfidence"].toDouble(), 5.0) << "detection was sure";
  EXPECT_EQ(page["rotation"].toInt(), 180);
  const std::vector<PdfPage> found = pdfWords(r.pdf(2));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(wordsFoundInPlace(pages().twoLines, found[0]), allWords(pages().twoLines));
}
