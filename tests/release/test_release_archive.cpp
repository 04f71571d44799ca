// PDF/A-2b on every output type of both engines, checked rule by rule (pdfa_rules.py, with
// pikepdf) and by qpdf --check; plain PDF on request; suspect highlights that cost little. The
// PDFs are built in this process the way the release step and the hub service build them: each
// page through the page pipeline, the document through the PDF builder, the capture settings
// through the hub's mapping.
#include "hub/capture_settings.h"
#include "release/document_information.h"
#include "release/page_pipeline.h"
#include "release/pdf_builder.h"
#include "release/recognizer.h"
#include "release/release_error.h"
#include "release_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>
#include <memory>

using namespace zan::testing;
using namespace zan::release;

namespace {

// The rules pdfa_rules.py checks; a rule missing from its answer is a fault of the check.
const QStringList kRules =
    QStringLiteral(
        "header|trailer|no encryption|metadata stream|pdfa identification|"
        "information mirrored in metadata|output intent|device colour spaces|"
        "fonts embedded|no .notdef glyph|annotations printable with appearances|"
        "no forbidden actions|no javascript|stream filters|images|transparency|"
        "no external streams|no embedded files")
        .split('|');

// Three scans that exercise every part of a PDF: a grey letter with a suspect word, a web
// address, an e-mail address, umlauts and a picture; a colour JPEG fed in turned; a bitonal TIFF.
struct Scans {
  QTemporaryDir dir;
  std::vector<PageSource> pages;
  Scans() {
    TestPage letter = renderTextPage(
        {"Dear Ms Jäger, the reference Xqwzvbtk is unknown.", "Visit www.example.com for forms",
         "or write to info@example.org today.", "Our team will review the invoice soon."});
    drawPicture(letter.image, QRect(200, 1200, 1300, 900));
    savePage(letter.image, path("letter.png"));
    QImage colour = renderTextPage(sampleLines(2)).image.convertToFormat(QImage::Format_RGB32);
    QPainter(&colour).fillRect(QRect(200, 1500, 700, 300), QColor(200, 40, 30));
    turnedClockwise(colour, 90).save(path("colour.jpg"), "JPEG", 85);
    saveMultiPageTiff({renderTextPage(sampleLines(5)).image}, path("bitonal.tif"), true);
    for (const char* name : {"letter.png", "colour.jpg", "bitonal.tif"})
      pages.push_back({path(name)});
  }
  QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
};

const Scans& scans() {
  static const Scans s;
  return s;
}

ReleaseOptions ocrOptions(PageContent content) {
  ReleaseOptions o;
  o.content = content;
  o.language = {"eng", "English", "en-US"};
  o.accuracy = accuracyProfile(2);
  o.orientations = {true, true, true, true};
  o.suspects.wordNotInDictionary = true;
  return o;
}

ReleaseOptions captureOptions(const char* pageContent, bool everything) {
  zan::hub::CaptureSettings s;
  s.pageContent = QLatin1String(pageContent);
  s.createThumbnails = s.enableLinks = s.enableStructure = everything;
  s.embedFonts = everything;  // unchecked: PDF/A embeds the font all the same
  zan::hub::Workflow workflow;
  workflow.accuracy = 2;
  workflow.recognition = QLatin1String(pageContent) != QLatin1String("Image Only");
  return zan::hub::captureOptions(s, workflow, {});
}

// Every output type of both engines, as the release step and the hub service make them.
const std::vector<std::pair<std::string, ReleaseOptions>>& outputTypes() {
  static const std::vector<std::pair<std::string, ReleaseOptions>> types{
      {"ocr Normal PDF", ocrOptions(PageContent::Text)},
      {"ocr Image Only PDF", ocrOptions(PageContent::Image)},
      {"ocr Image and Hidden Text PDF", ocrOptions(PageContent::ImageWithHiddenText)},
      {"capture Searchable Image (Exact), thumbnails, links, structure",
       captureOptions("Searchable Image (Exact)", true)},
      {"capture Searchable Image (Compact)", captureOptions("Searchable Image (Compact)", false)},
      {"capture Formatted Text & Graphics, fonts not to be embedded, structure",
       [] {
         ReleaseOptions o = captureOptions("Formatted Text & Graphics", false);
         o.tagged = true;
         return o;
       }()},
      {"capture Image Only", captureOptions("Image Only", false)}};
  return types;
}

struct Built {
  QString pdf;
  std::vector<PageResult> pages;
};

// The PDF of the three scans with `options` (cached per output type).
const Built& built(const std::string& name, const ReleaseOptions& options) {
  static std::map<std::string, std::unique_ptr<Built>> cache;
  static QTemporaryDir out;
  auto& b = cache[name];
  if (b) return *b;
  b = std::make_unique<Built>();
  Recognizer recognizer(options.language.model);
  for (const PageSource& page : scans().pages)
    b->pages.push_back(processPage(page, options, recognizer));
  std::vector<const PageResult*> pages;
  for (const PageResult& p : b->pages) pages.push_back(&p);
  DocumentInformation info;
  info.title = "Rechnung für Jäger";
  info.author = "Ada";
  info.subject = "Scanned correspondence";
  info.keywords = "C-17, archive";
  b->pdf = out.filePath(QString::number(cache.size()) + ".pdf");
  writeFile(b->pdf, buildPdf(pages, options, info));
  return *b;
}

// What pdfa_rules.py says of the PDF: each rule and its problems.
QJsonObject checkedRules(const QString& pdf) {
  QProcess check;
  check.start("/usr/bin/python3", {QStringLiteral(ZAN_PDFA_RULES), pdf});
  check.waitForFinished(120000);
  const QJsonObject rules = QJsonDocument::fromJson(check.readAllStandardOutput()).object();
  EXPECT_FALSE(rules.isEmpty()) << qPrintable(check.readAllStandardError());
  return rules;
}

ProgramRun qpdfCheck(const QString& pdf) {
  return runProgram("qpdf", {"--check", pdf});
}

}  // namespace

// Every output type of both engines keeps each PDF/A-2b rule, and qpdf finds the file sound.
TEST(PdfA, EveryRuleOnEveryOutputType) {
  for (const auto& [name, options] : outputTypes()) {
    const Built& b = built(name, options);
    const QJsonObject rules = checkedRules(b.pdf);
    for (const QString& rule : kRules) {
      ASSERT_TRUE(rules.contains(rule)) << "the check lost the rule " << qPrintable(rule);
      EXPECT_TRUE(rules[rule].toArray().isEmpty())
          << name << ": " << qPrintable(rule) << ": "
          << QJsonDocument(rules[rule].toArray()).toJson(QJsonDocument::Compact).constData();
    }
    const ProgramRun check = qpdfCheck(b.pdf);
    EXPECT_EQ(check.exitCode, 0) << name << ": " << qPrintable(check.out);
  }
}

// The PDFs hold what the rules were checked on: a turned page, suspect highlights, links,
// pictures, thumbnails, a structure tree and an umlaut in the information (a check of an empty
// PDF would prove nothing).
TEST(PdfA, CheckedPdfsHoldEveryPart) {
  const Built& exact = built(outputTypes()[3].first, outputTypes()[3].second);
  ASSERT_EQ(exact.pages.size(), 3u);
  EXPECT_EQ(exact.pages[1].rotation, 270) << "the colour page was not turned";
  EXPECT_FALSE(pdfHighlights(exact.pdf, 1).empty()) << "no suspect highlight";
  EXPECT_TRUE(pdfInfo(exact.pdf, "Title").contains("Jäger"));
  const QString meta = runProgram("pdfinfo", {"-meta", exact.pdf}).out;
  EXPECT_TRUE(meta.contains("Rechnung für Jäger")) << qPrintable(meta);
  bool links = false, thumbnails = false;
  for (const PageResult& p : exact.pages) {
    thumbnails = thumbnails || p.thumbnail.has_value();
    for (const PlacedWord& w : p.words) links = links || !w.link.isEmpty();
  }
  EXPECT_TRUE(links && thumbnails);
  const Built& formatted = built(outputTypes()[5].first, outputTypes()[5].second);
  EXPECT_FALSE(formatted.pages[0].pictures.empty()) << "no picture kept";
  EXPECT_TRUE(pdfFonts(formatted.pdf).contains(QRegularExpression("DejaVuSans.* yes")))
      << "PDF/A embeds the font the settings leave unembedded";
}

// --pdfa none makes a plain PDF that claims nothing, which the check tells from PDF/A.
TEST(PdfA, PlainPdfClaimsNothing) {
  ReleaseOptions options = ocrOptions(PageContent::ImageWithHiddenText);
  options.standard = PdfStandard::Plain;
  const Built& plain = built("plain", options);
  const QJsonObject rules = checkedRules(plain.pdf);
  for (const char* rule : {"metadata stream", "pdfa identification", "output intent"})
    EXPECT_FALSE(rules[QLatin1String(rule)].toArray().isEmpty()) << rule;
  EXPECT_FALSE(runProgram("pdfinfo", {"-meta", plain.pdf}).out.contains("pdfaid"));
  EXPECT_EQ(qpdfCheck(plain.pdf).exitCode, 0);
  // The same through zan-release (an unknown --pdfa is refused among the bad inputs).
  for (const QString standard : {"none", "2b"}) {
    const ReleaseFolder r;
    const ProgramRun run = r.run({"--pdfa", standard});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(runProgram("pdfinfo", {"-meta", r.out() + "/document-0001.pdf"})
                  .out.contains(QLatin1String("pdfaid:part")),
              standard == QLatin1String("2b"));
  }
}

// Suspect highlights share one appearance stream and cost little: a page of 36 suspect words
// grows by well under the 440 bytes each highlight with its own appearance used to cost.
TEST(Size, SuspectHighlightsShareOneAppearance) {
  QTemporaryDir dir;
  QStringList lines;
  for (int i = 0; i < 6; ++i) lines << "Xqwzvbtk Brqzlmv Qwpzrt Vkzqwm Zxqprv Plqzwk";
  savePage(renderTextPage(lines).image, dir.filePath("suspect.png"));
  ReleaseOptions marked = ocrOptions(PageContent::ImageWithHiddenText);
  marked.orientations = {true, false, false, false};
  ReleaseOptions unmarked = marked;
  unmarked.suspects.wordNotInDictionary = false;
  Recognizer recognizer(marked.language.model);
  const PageResult withMarks = processPage({dir.filePath("suspect.png")}, marked, recognizer);
  const PageResult without = processPage({dir.filePath("suspect.png")}, unmarked, recognizer);
  qsizetype suspects = 0;
  for (const PlacedWord& w : withMarks.words) suspects += w.reasons.isEmpty() ? 0 : 1;
  ASSERT_GE(suspects, 30);
  const QByteArray a = buildPdf({&withMarks}, marked, {}), b = buildPdf({&without}, unmarked, {});
  const double perHighlight = static_cast<double>(a.size() - b.size()) / suspects;
  std::printf("%lld highlights, %.0f bytes each\n", static_cast<long long>(suspects), perHighlight);
  EXPECT_LT(perHighlight, 150);
  const QString pdf = dir.filePath("marked.pdf");
  writeFile(pdf, a);
  EXPECT_EQ(static_cast<qsizetype>(pdfHighlights(pdf, 1).size()), suspects);
  // Rendered, the highlights are drawn from the one appearance: yellow over the marked word.
  const QImage page = renderedPage(pdf, 1, 72, false);
  const QPointF centre = pdfHighlights(pdf, 1).front().box.center();
  const QColor c = page.pixelColor(qRound(centre.x()), qRound(centre.y()));
  EXPECT_LT(c.blue() + 40, c.red()) << "no yellow highlight drawn";
}

// Words whose recognised boxes touch (a stain or grain between them on an old page) are still
// two words to a tool that extracts text, visible or invisible; words set apart stay in place.
TEST(TextLayer, WordsWhoseBoxesTouchAreExtractedApart) {
  PageResult page;
  page.width = 400;
  page.height = 100;
  const auto word = [](const char* text, double x, double length) {
    PlacedWord w;
    w.text = QLatin1String(text);
    w.box = QRectF(x, 50, length, 12);
    w.origin = QPointF(x, 53);
    w.length = length;
    w.fontSize = 12;
    w.confidence = 95;
    w.inDictionary = true;
    return w;
  };
  // "the" ends where "change" begins; "of" and "address" are set a space apart.
  page.words = {word("the", 40, 18), word("change", 58, 40), word("of", 102, 12),
                word("address", 118, 44)};
  keepWordsApart(page.words);
  for (const PageContent content : {PageContent::Text, PageContent::ImageWithHiddenText}) {
    const ReleaseOptions options = ocrOptions(content);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("words.pdf");
    writeFile(pdf, buildPdf({&page}, options, {}));
    const ProgramRun text = runProgram("pdftotext", {pdf, "-"});
    EXPECT_EQ(text.out.simplified().toStdString(), "the change of address")
        << (content == PageContent::Text ? "visible" : "invisible") << " text";
    const std::vector<PdfPage> found = pdfWords(pdf);
    ASSERT_EQ(found.size(), 1u);
    ASSERT_EQ(found[0].words.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)  // each begins where recognition found it
      EXPECT_NEAR(found[0].words[i].box.left(), page.words[i].box.left(), 0.5) << i;
    EXPECT_NEAR(found[0].words[3].box.right(), page.words[3].box.right(), 0.5);
  }
}

// The job ticket carries --pdfa and --deskew to the hub service; a ticket written before them
// asks for PDF/A-2b and no deskewing, and a value of the wrong type fails the job.
TEST(PdfA, TicketCarriesTheStandardToTheService) {
  zan::hub::CaptureSettings plain;
  plain.pdfA = false;
  plain.deskew = true;
  QJsonObject json = zan::hub::captureSettingsJson(plain);
  const zan::hub::CaptureSettings back = zan::hub::captureSettingsFromJson(json);
  EXPECT_FALSE(back.pdfA);
  EXPECT_TRUE(back.deskew);
  const ReleaseOptions options = zan::hub::captureOptions(back, {}, {});
  EXPECT_EQ(options.standard, PdfStandard::Plain);
  EXPECT_TRUE(options.deskew);
  json.remove("PdfA");
  json.remove("Deskew");
  const zan::hub::CaptureSettings older = zan::hub::captureSettingsFromJson(json);
  EXPECT_TRUE(older.pdfA);
  EXPECT_FALSE(older.deskew);
  EXPECT_EQ(zan::hub::captureOptions(older, {}, {}).standard, PdfStandard::PdfA2b);
  json.insert("PdfA", "none");
  EXPECT_THROW(zan::hub::captureSettingsFromJson(json), ReleaseError);
}
