// The hub for real: zan-release --engine capture submits the documents of a batch into a
// temporary hub's watched folder, zan-hub turns them into PDFs, and Poppler reads them back.
// Each configuration is released once per test binary, through one long-running service that
// the last of these tests stops with SIGTERM.
#include "hub_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>
#include <QRegularExpression>
#include <QThread>

#include <sys/stat.h>
#include <chrono>

#include <map>
#include <memory>

using namespace zan::testing;

namespace {

// The pages every configuration draws from, made once.
struct Pages {
  QTemporaryDir dir;
  TestPage links, picture, turned;
  QRect pictureBox{300, 700, 900, 700};
  QByteArray jpeg;  // links as a JPEG, the image of both pages of searchable.pdf

  Pages() {
    links = renderTextPage(
        {"Visit www.example.com for the forms.", "Or write to info@example.org today.",
         "The code " + kCodeWord + " is on file.", "Order AB12 costs 4711 pounds."});
    savePage(links.image, path("links.png"));
    picture = renderTextPage(sampleLines(4).mid(0, 2));
    drawPicture(picture.image, pictureBox);
    savePage(picture.image, path("picture.png"));
    turned = renderTextPage(sampleLines(1));
    savePage(turnedClockwise(turned.image, 90), path("turned.png"));
    QImage small(400, 300, QImage::Format_Grayscale8);
    small.fill(Qt::white);
    QPainter(&small).fillRect(40, 40, 200, 30, Qt::black);
    savePage(small, path("small.png"));
    links.image.save(path("links.jpg"), "JPEG", 85);
    QFile file(path("links.jpg"));
    if (file.open(QIODevice::ReadOnly)) jpeg = file.readAll();
    writeFile(path("searchable.pdf"), searchablePdf());
  }
  // Two pages of the JPEG: the first the image alone, the second with invisible text over it
  // ("Already searchable"), as a scanner that recognises text makes it.
  QByteArray searchablePdf() const {
    const QByteArray w = QByteArray::number(links.image.width()),
                     h = QByteArray::number(links.image.height());
    const QByteArray box = "0 0 " + QByteArray::number(links.image.width() * 72.0 / 300) + " " +
                           QByteArray::number(links.image.height() * 72.0 / 300);
    const QByteArray draw = "q " + box.mid(4).replace(' ', " 0 0 ") + " 0 0 cm /Im0 Do Q";
    const QByteArray text = draw + " BT 3 Tr /F1 12 Tf 72 500 Td (Already searchable) Tj ET";
    const auto page = [&](const char* contents, const char* font) {
      return "<< /Type /Page /Parent 2 0 R /MediaBox [" + box + "] /Contents " + contents +
             " /Resources << /XObject << /Im0 7 0 R >> " + font + " >> >>";
    };
    const auto stream = [](const QByteArray& dict, const QByteArray& data) {
      return "<< " + dict + " /Length " + QByteArray::number(data.size()) + " >>\nstream\n" + data +
             "\nendstream";
    };
    return handWrittenPdf(
        {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
         page("5 0 R", ""), page("6 0 R", "/Font << /F1 8 0 R >>"), stream("", draw),
         stream("", text),
         stream("/Type /XObject /Subtype /Image /Width " + w + " /Height " + h +
                    " /ColorSpace /DeviceGray /BitsPerComponent 8 /Filter /DCTDecode",
                jpeg),
         "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"});
  }
  QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
};

const Pages& pages() {
  static const Pages p;
  return p;
}

QJsonObject batchOf(const std::vector<QStringList>& documents, const QString& name = "Batch 9") {
  QJsonArray docs;
  for (const QStringList& d : documents) {
    QStringList paths;
    for (const QString& page : d) paths << pages().path(page.toUtf8().constData());
    docs.append(QJsonObject{
        {QStringLiteral("pages"), QJsonArray::fromStringList(paths)},
        {QStringLiteral("indexFields"), QJsonObject{{QStringLiteral("Document Title"), name}}}});
  }
  return {{QStringLiteral("name"), name}, {QStringLiteral("documents"), docs}};
}

// The one service the releases below go through.
struct Serving {
  TempHub hub;
  std::unique_ptr<HubProcess> service;
  Serving() {
    service = std::make_unique<HubProcess>(hub.serviceArguments({"--jobs", "2", "--rescan", "1"}));
  }
};

Serving& serving() {
  static Serving s;
  return s;
}

struct Released {
  ProgramRun run;
  QJsonObject report;
  QJsonObject document(int n) const {
    return report[QStringLiteral("documents")].toArray().at(n - 1).toObject();
  }
  QString pdf(int n) const { return document(n)[QStringLiteral("pdf")].toString(); }
  QStringList suspects(int n) const {
    QStringList s;
    for (const QJsonValue& w : document(n)[QStringLiteral("suspectWords")].toArray())
      s << w[QStringLiteral("text")].toString() + QLatin1Char(':') +
               w[QStringLiteral("reasons")].toVariant().toStringList().join(QLatin1Char(','));
    return s;
  }
};

const QVariantMap kEverything{
    {QStringLiteral("CreateThumbnails"), true}, {QStringLiteral("EmbedFonts"), true},
    {QStringLiteral("EnableLinks"), true},      {QStringLiteral("EnableStructure"), true},
    {QStringLiteral("AutoPageRotation"), true}, {QStringLiteral("MixedAlphaNumeric"), true},
    {QStringLiteral("NumericOnly"), true}};

QVariantMap with(QVariantMap settings, const QVariantMap& more) {
  for (auto it = more.begin(); it != more.end(); ++it) settings.insert(it.key(), it.value());
  return settings;
}

const QVariantMap kImageOnly{{QStringLiteral("PageContent"), QStringLiteral("Image Only")},
                             {QStringLiteral("Workflow"), QStringLiteral("PDF Image Only")}};

// Releases `batch` into `hub` with `settings` without waiting for the statuses: its jobs wait in
// the watched folder, its report in "r".
void submit(const TempHub& hub, const QVariantMap& settings, const QJsonObject& batch) {
  const QString setup =
      hub.writeSetup("submit.json", with(settings, {{"PDFWaitForStatus", false}}));
  const QString file = writeBatchFile(hub.dir.filePath("batch.json"), batch);
  const ProgramRun run =
      runZanRelease({"--setup", setup, "--batch", file, "--out", hub.dir.filePath("r"), "--quiet"});
  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
}

const Released& released(const std::string& name) {
  static std::map<std::string, std::unique_ptr<Released>> cache;
  auto& r = cache[name];
  if (r) return *r;
  r = std::make_unique<Released>();
  QVariantMap settings;
  QJsonObject batch;
  if (name == "exact") {
    settings = with(kEverything, {{"PageContent", "Searchable Image (Exact)"}});
    batch = batchOf({{"links.png", "picture.png"}, {"turned.png"}});
  } else if (name == "compact") {
    settings = with(kEverything, {{"PageContent", "Searchable Image (Compact)"}});
    batch = batchOf({{"links.png", "picture.png"}});
  } else if (name == "formatted") {
    settings = with(kEverything, {{"PageContent", "Formatted Text & Graphics"}});
    batch = batchOf({{"picture.png"}});
  } else if (name == "plain") {  // every advanced option off, no dictionary, plain PDF
    settings = {{"PageContent", "Formatted Text & Graphics"},
                {"CreateThumbnails", false},
                {"EmbedFonts", false},
                {"EnableLinks", false},
                {"EnableStructure", false},
                {"AutoPageRotation", false},
                {"Dictionary", ""}};
    batch = batchOf({{"links.png"}, {"turned.png"}});
  } else if (name == "pdf" || name == "pdf read") {
    settings = {{"PageContent", "Searchable Image (Exact)"}};
    batch = batchOf({{"searchable.pdf"}});
  } else if (name == "image only") {
    settings = with(kEverything, kImageOnly);
    batch = batchOf({{"links.png"}});
  }
  const TempHub& hub = serving().hub;
  const QString label = QString::fromStdString(name).replace(' ', '-');
  const QString setup = hub.writeSetup(label + ".json", settings,
                                       {{"LowOcrConfidence", false},
                                        {"TitleField.FieldType", 1},
                                        {"TitleField.FieldName", "Document Title"}});
  const QString batchFile =
      writeBatchFile(QDir(hub.dir.path()).filePath(label + "-batch.json"), batch);
  const QString out = QDir(hub.dir.path()).filePath(label + "-report");
  // The plain configuration also asks for plain PDF: PDF/A would embed the font regardless.
  const QStringList plainPdf{"--pdfa", "none"};
  r->run = runZanRelease(QStringList{"--setup", setup, "--batch", batchFile, "--out", out,
                                     "--quiet", "--status-timeout", "120"} +
                         (name == "plain"      ? plainPdf
                          : name == "pdf read" ? QStringList{"--pdf-text", "read"}
                                               : QStringList()));
  r->report = readJson(out + "/release-report.json");
  return *r;
}

const DrawnWord& drawn(const TestPage& page, const QString& text) {
  return *std::find_if(page.words.begin(), page.words.end(),
                       [&](const DrawnWord& w) { return w.text.startsWith(text); });
}

}  // namespace

// "Searchable Image (Exact)": the scan itself, unaltered, with the words invisible over it.
TEST(PageContent, ExactKeepsTheScanUnderTheWords) {
  const Released& r = released("exact");
  ASSERT_EQ(r.run.exitCode, 0) << qPrintable(r.run.err);
  const std::vector<PdfPage> found = pdfWords(r.pdf(1));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(wordsFoundInPlace(pages().links, found[0]), allWords(pages().links));
  EXPECT_TRUE(samePixels(pdfImage(r.pdf(1), 1), pages().links.image)) << "the scan was altered";
  EXPECT_TRUE(samePixels(pdfImage(r.pdf(1), 2), pages().picture.image)) << "the scan was altered";
  EXPECT_EQ(r.document(1)[QStringLiteral("status")].toString(), QStringLiteral("released"));
  EXPECT_EQ(pdfInfo(r.pdf(1), QStringLiteral("Title")), QStringLiteral("Batch 9"));
}

// "Searchable Image (Compact)": a much smaller PDF; the text page stays one bit a pixel at full
// resolution (sharp), the page with a photograph becomes a smaller JPEG; the words still lie in
// place.
TEST(PageContent, CompactIsMuchSmallerAndKeepsTextPagesSharp) {
  const Released& compact = released("compact");
  const Released& exact = released("exact");
  ASSERT_EQ(compact.run.exitCode, 0) << qPrintable(compact.run.err);
  const qint64 compactSize = QFileInfo(compact.pdf(1)).size();
  const qint64 exactSize = QFileInfo(exact.pdf(1)).size();
  std::printf("same two pages: Exact %lld bytes, Compact %lld bytes\n",
              static_cast<long long>(exactSize), static_cast<long long>(compactSize));
  EXPECT_LT(compactSize * 3, exactSize);
  const std::vector<PdfImageEntry> images = pdfImageList(compact.pdf(1));
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0].encoding, QStringLiteral("ccitt"));
  EXPECT_EQ(images[0].width, pages().links.image.width()) << "the text page lost resolution";
  EXPECT_EQ(images[1].encoding, QStringLiteral("jpeg"));
  EXPECT_LT(images[1].width, pages().picture.image.width());
  const std::vector<PdfPage> found = pdfWords(compact.pdf(1));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(wordsFoundInPlace(pages().links, found[0]), allWords(pages().links));
  EXPECT_EQ(wordsFoundInPlace(pages().picture, found[1]), allWords(pages().picture));
}

// "Formatted Text & Graphics": the text drawn visibly in a real font at its place, the
// photograph kept as an image of its own size and place, and no image of the whole page.
TEST(PageContent, FormattedTextKeepsThePictureNotThePage) {
  const Released& r = released("formatted");
  ASSERT_EQ(r.run.exitCode, 0) << qPrintable(r.run.err);
  const std::vector<PdfImageEntry> images = pdfImageList(r.pdf(1));
  ASSERT_EQ(images.size(), 1u) << "a full-page image or no picture";
  EXPECT_NEAR(images[0].width, pages().pictureBox.width(), 20);
  EXPECT_NEAR(images[0].height, pages().pictureBox.height(), 20);
  const std::vector<PdfPage> found = pdfWords(r.pdf(1));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(wordsFoundInPlace(pages().picture, found[0]), allWords(pages().picture));
  const QImage page = renderedPage(r.pdf(1), 1);
  const QRect text(150, 150, 1200, 200), picture = pages().pictureBox.adjusted(20, 20, -20, -20);
  EXPECT_GT(inkShare(page, text), inkShare(pages().picture.image, text) / 2) << "text not drawn";
  EXPECT_NEAR(inkShare(page, picture), inkShare(pages().picture.image, picture), 0.05)
      << "picture not in its place";
}

// "Image Only" through the workflow "PDF Image Only": the scan, no text and no font at all.
TEST(PageContent, ImageOnlyHasNoText) {
  const Released& r = released("image only");
  ASSERT_EQ(r.run.exitCode, 0) << qPrintable(r.run.err);
  const std::vector<PdfPage> found = pdfWords(r.pdf(1));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_TRUE(found[0].words.empty());
  EXPECT_EQ(pdfImageCount(r.pdf(1), 1), 1);
  EXPECT_LE(pdfFonts(r.pdf(1)).count(QLatin1Char('\n')), 2) << "a font in an image-only PDF";
}

// Each advanced option changes the PDF when set and leaves it out when not.
TEST(AdvancedSettings, EachOptionOnlyWhenSet) {
  const Released& on = released("exact");
  const Released& formatted = released("formatted");
  const Released& off = released("plain");
  ASSERT_EQ(off.run.exitCode, 0) << qPrintable(off.run.err);

  // CreateThumbnails: a thumbnail no larger than the workflow's size (96 in Searchable Office).
  const QImage thumbnail = pdfThumbnail(on.pdf(1), 1);
  EXPECT_FALSE(thumbnail.isNull()) << "no thumbnail";
  EXPECT_EQ(std::max(thumbnail.width(), thumbnail.height()), 96);
  EXPECT_TRUE(pdfThumbnail(off.pdf(1), 1).isNull()) << "a thumbnail nobody asked for";

  // EmbedFonts: the visible text's font embedded, or only named.
  const QRegularExpression embedded(QStringLiteral("DejaVuSans +CID TrueType +Identity-H +yes"));
  EXPECT_TRUE(pdfFonts(formatted.pdf(1)).contains(embedded))
      << qPrintable(pdfFonts(formatted.pdf(1)));
  const QString named = pdfFonts(off.pdf(1));
  EXPECT_TRUE(
      named.contains(QRegularExpression(QStringLiteral("DejaVuSans +TrueType +WinAnsi +no"))))
      << qPrintable(named);
  const std::vector<PdfPage> offWords = pdfWords(off.pdf(1));
  ASSERT_FALSE(offWords.empty());
  EXPECT_EQ(wordsFoundInPlace(pages().links, offWords[0]), allWords(pages().links))
      << "text with a named font not found";

  // EnableLinks: a web link and a mail link over their words.
  const std::vector<PdfLink> links = pdfLinks(on.pdf(1), 1);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].url, QStringLiteral("https://www.example.com"));
  EXPECT_TRUE(links[0].box.contains(inPoints(drawn(pages().links, "www.").box).center()));
  EXPECT_EQ(links[1].url, QStringLiteral("mailto:info@example.org"));
  EXPECT_TRUE(links[1].box.contains(inPoints(drawn(pages().links, "info@").box).center()));
  EXPECT_TRUE(pdfLinks(off.pdf(1), 1).empty());

  // EnableStructure: a tagged PDF whose paragraphs hold the text in reading order.
  EXPECT_TRUE(pdfInfoText(on.pdf(1)).contains(QRegularExpression(QStringLiteral("Tagged: +yes"))));
  const QString tree = pdfInfoText(on.pdf(1), {QStringLiteral("-struct-text")});
  EXPECT_TRUE(tree.startsWith(QLatin1String("Document"))) << qPrintable(tree);
  const qsizetype first = tree.indexOf(QLatin1String("Visit www.example.com for the forms."));
  const qsizetype last = tree.indexOf(QLatin1String("Order AB12 costs 4711 pounds."));
  EXPECT_GE(first, 0) << qPrintable(tree);
  EXPECT_GT(last, first) << qPrintable(tree);
  EXPECT_TRUE(
      pdfInfoText(formatted.pdf(1), {QStringLiteral("-struct")}).contains(QLatin1String("Figure")))
      << "the picture is not in the structure";
  EXPECT_TRUE(pdfInfoText(off.pdf(1)).contains(QRegularExpression(QStringLiteral("Tagged: +no"))));

  // AutoPageRotation: the page fed in sideways stands upright, or stays as scanned.
  const QJsonObject turned = on.document(2)[QStringLiteral("pages")].toArray().at(0).toObject();
  EXPECT_EQ(turned[QStringLiteral("rotation")].toInt(), 270);
  const std::vector<PdfPage> upright = pdfWords(on.pdf(2));
  ASSERT_EQ(upright.size(), 1u);
  EXPECT_EQ(wordsFoundInPlace(pages().turned, upright[0]), allWords(pages().turned));
  EXPECT_EQ(
      off.document(2)[QStringLiteral("pages")].toArray().at(0)[QStringLiteral("rotation")].toInt(),
      0);
  const std::vector<PdfPage> sideways = pdfWords(off.pdf(2));
  ASSERT_EQ(sideways.size(), 1u);
  EXPECT_GT(sideways[0].size.width(), sideways[0].size.height());
}

// The hub dictionary's word counts as known; without the dictionary it is suspect. Letters mixed
// with digits and numbers are marked only when their markers are set.
TEST(SuspectWords, DictionaryAndMarkers) {
  const Released& with = released("exact");
  const Released& without = released("plain");
  const QStringList marked = with.suspects(1), plain = without.suspects(1);
  EXPECT_FALSE(marked.join(' ').contains(kCodeWord)) << qPrintable(marked.join(' '));
  EXPECT_TRUE(plain.contains(kCodeWord + ":WordNotInDictionary")) << qPrintable(plain.join(' '));
  EXPECT_TRUE(marked.contains("AB12:WordNotInDictionary,MixedAlphaNumeric"))
      << qPrintable(marked.join(' '));
  EXPECT_TRUE(marked.contains("4711:NumericOnly")) << qPrintable(marked.join(' '));
  EXPECT_TRUE(plain.contains("AB12:WordNotInDictionary")) << qPrintable(plain.join(' '));
  EXPECT_FALSE(plain.join(' ').contains("4711")) << qPrintable(plain.join(' '));
}

// The README's capture setup for the sample batch, through the hub: each page's expected text.
TEST(SampleBatch, ReleasesTheExpectedTextThroughTheHub) {
  const TempHub& hub = serving().hub;
  const QDir examples(QStringLiteral(ZAN_EXAMPLES_DIR "/batch"));
  QJsonObject setup = readJson(examples.filePath(QStringLiteral("capture-setup.json")));
  QJsonObject two = setup["SetupPartTwo"].toObject();
  two["WorkgroupHub"] = hub.hub;
  two["WatchedFolder"] = hub.watched;
  two["PDFOutputFolder"] = hub.pdfs;
  setup["SetupPartTwo"] = two;
  const QString setupFile = hub.dir.filePath("sample-setup.json");
  writeFile(setupFile, QJsonDocument(setup).toJson());
  const QString out = QDir(hub.dir.path()).filePath(QStringLiteral("sample-report"));
  const ProgramRun run = runZanRelease({"--setup", setupFile, "--batch",
                                        examples.filePath(QStringLiteral("batch.json")), "--out",
                                        out, "--quiet", "--status-timeout", "120"});
  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
  const QJsonArray documents = readJson(out + "/release-report.json")["documents"].toArray();
  ASSERT_EQ(documents.size(), 2);
  QStringList texts;
  for (const QJsonValue& d : documents) texts << pageTexts(d["pdf"].toString());
  const QStringList expected = expectedPageTexts(examples.path());
  ASSERT_EQ(expected.size(), 4);
  EXPECT_EQ(texts, expected);
}

// Catches PDF pages refused by the capture engine or handed to the service as re-encoded
// images (its JPEG not stored as it was), a page that carries text read again by default, and
// --pdf-text read not reaching the service.
TEST(PdfPages, TakenAsStoredAndTextKeptThroughTheHub) {
  const Released& kept = released("pdf");
  ASSERT_EQ(kept.run.exitCode, 0) << qPrintable(kept.run.err);
  EXPECT_EQ(pdfJpeg(kept.pdf(1), 1), pages().jpeg) << "the JPEG was not stored as it was";
  QStringList texts = pageTexts(kept.pdf(1));
  ASSERT_EQ(texts.size(), 2);
  EXPECT_TRUE(texts[0].contains("Visit www.example.com")) << qPrintable(texts[0]);
  EXPECT_EQ(texts[1].toStdString(), "Already searchable");
  EXPECT_TRUE(kept.document(1)["pages"][1]["kept"].toBool());

  const Released& read = released("pdf read");
  ASSERT_EQ(read.run.exitCode, 0) << qPrintable(read.run.err);
  texts = pageTexts(read.pdf(1));
  ASSERT_EQ(texts.size(), 2);
  EXPECT_TRUE(texts[1].contains("Visit www.example.com")) << qPrintable(texts[1]);
  EXPECT_FALSE(texts[1].contains("Already")) << qPrintable(texts[1]);
}

// SIGTERM ends the service with exit code 0, leaving no claim and no heartbeat behind.
TEST(Service, StopsCleanlyOnSigterm) {
  Serving& s = serving();
  ASSERT_EQ(s.service->terminate(), 0) << qPrintable(s.service->log());
  EXPECT_TRUE(s.service->log().contains(QLatin1String("zan-hub: stopped")));
  EXPECT_TRUE(QDir(s.hub.watched + "/.zan-hub/services").isEmpty());
  EXPECT_TRUE(s.hub.waitingJobs().isEmpty());
}

// Two services on one hub share twenty jobs, released while both run: each job is done
// exactly once, by one of them.
TEST(Service, TwoServicesDoEachOfTwentyJobsOnce) {
  TempHub hub;
  HubProcess one(hub.serviceArguments({"--jobs", "1", "--rescan", "0.2"}));
  HubProcess two(hub.serviceArguments({"--jobs", "1", "--rescan", "0.2"}));
  std::vector<QStringList> documents(20, QStringList{"small.png"});
  const QString setup = hub.writeSetup("image-only.json", kImageOnly);
  const QString batch = writeBatchFile(hub.dir.filePath("batch.json"), batchOf(documents));
  const ProgramRun run =
      runZanRelease({"--setup", setup, "--batch", batch, "--out", hub.dir.filePath("report"),
                     "--quiet", "--status-timeout", "120"});
  EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
  ASSERT_EQ(one.terminate(), 0);
  ASSERT_EQ(two.terminate(), 0);
  const QJsonArray reported =
      readJson(hub.dir.filePath("report/release-report.json"))["documents"].toArray();
  ASSERT_EQ(reported.size(), 20);
  const QString logs = one.log() + two.log();
  for (const QJsonValue& d : reported) {
    const QString job = d["job"].toString();
    EXPECT_EQ(d["status"].toString(), QStringLiteral("released")) << qPrintable(job);
    EXPECT_EQ(logs.count(QRegularExpression("job " + QRegularExpression::escape(job) + ": .*done")),
              1)
        << qPrintable(job) << " done " << logs.count(job) << " times";
    EXPECT_TRUE(QFileInfo::exists(d["pdf"].toString()));
  }
  EXPECT_EQ(QDir(hub.pdfs).entryList(QDir::Files | QDir::Hidden).size(), 20) << "stray files";
}

// A service stopped with SIGTERM mid-job puts the job back; a service killed mid-job leaves no
// PDF, and another service finishes the job once the killed one's heartbeat is stale, not before.
TEST(Service, UnfinishedJobsGoBackAndADeadServicesJobIsTakenOver) {
  TempHub hub;
  ASSERT_NO_FATAL_FAILURE(submit(hub, {{"PageContent", "Searchable Image (Exact)"}},
                                 batchOf({{"links.png", "picture.png", "links.png"}})));
  ASSERT_EQ(hub.waitingJobs().size(), 1);
  const QString job = hub.waitingJobs().first();
  const QString pdf =
      readJson(hub.dir.filePath("r/release-report.json"))["documents"][0]["pdf"].toString();
  const auto claimed = [&] {
    return !QDir(hub.watched + "/.zan-hub/services")
                .entryList({"*"}, QDir::Dirs | QDir::NoDotAndDotDot)
                .isEmpty() &&
           hub.waitingJobs().isEmpty();
  };
  const QStringList arguments =
      hub.serviceArguments({"--jobs", "1", "--stale-after", "2", "--rescan", "0.3"});

  HubProcess stopped(arguments);
  ASSERT_TRUE(waitFor(claimed, 30000));
  EXPECT_EQ(stopped.terminate(), 0);
  EXPECT_EQ(hub.waitingJobs(), QStringList{job}) << "the job was not put back";
  EXPECT_TRUE(stopped.log().contains(QLatin1String("not finished; back to waiting")));

  HubProcess killed(arguments);
  ASSERT_TRUE(waitFor(claimed, 30000));
  killed.kill();
  const auto killedAt = std::chrono::steady_clock::now();
  HubProcess heir(arguments);
  ASSERT_TRUE(waitFor([&] { return hub.finishedJobs().contains(job); }, 60000))
      << qPrintable(heir.log());
  const double after =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - killedAt).count();
  // The last heartbeat came at most a heartbeat interval (a quarter of 2 s) before the kill.
  EXPECT_GE(after, 1.4) << "taken over while the heartbeat was fresh";
  EXPECT_EQ(heir.terminate(), 0);
  EXPECT_EQ(hub.status(job)["status"].toString(), QStringLiteral("done"));
  EXPECT_TRUE(heir.log().contains(QLatin1String("its service stopped beating")));
  EXPECT_TRUE(pdfInfoText(pdf).contains(QRegularExpression(QStringLiteral("Pages: +3"))));
  EXPECT_EQ(QDir(hub.pdfs).entryList(QDir::Files | QDir::Hidden).filter(".pdf").size(), 1);
}

// With no service running: waiting for the status times out, and the job is withdrawn (failed)
// or left (pending) as PDFDeleteHungDoc says; without waiting the release just submits.
TEST(Release, WaitingAndWithdrawingWithoutAService) {
  const struct {
    const char* fault;
    bool wait, withdraw;
    int exitCode;
    const char* state;
    bool jobLeft;
  } cases[] = {
      {"a hung job kept or not reported failed", true, true, 1, "failed", false},
      {"a hung job withdrawn against the setting", true, false, 1, "pending", true},
      {"the release waited or withdrew although not asked to", false, true, 0, "submitted", true}};
  for (const auto& c : cases) {
    TempHub hub;
    const QString setup = hub.writeSetup(
        "setup.json",
        with(kImageOnly, {{"PDFWaitForStatus", c.wait}, {"PDFDeleteHungDoc", c.withdraw}}));
    const QString batch = writeBatchFile(hub.dir.filePath("batch.json"), batchOf({{"small.png"}}));
    const ProgramRun run =
        runZanRelease({"--setup", setup, "--batch", batch, "--out", hub.dir.filePath("r"),
                       "--quiet", "--status-timeout", "0.5"});
    EXPECT_EQ(run.exitCode, c.exitCode) << c.fault << qPrintable(run.err);
    const QJsonObject d =
        readJson(hub.dir.filePath("r/release-report.json"))["documents"][0].toObject();
    EXPECT_EQ(d["status"].toString(), QLatin1String(c.state)) << c.fault;
    EXPECT_EQ(hub.waitingJobs().size(), c.jobLeft ? 1 : 0) << c.fault;
    if (c.withdraw && c.wait) {
      EXPECT_TRUE(d["reason"].toString().contains(QLatin1String("withdrawn"))) << c.fault;
      EXPECT_TRUE(run.err.contains(QLatin1String("document 1 not released: no status after 0.5 s")))
          << qPrintable(run.err);
    }
  }
}

// Jobs that cannot be made fail with their reason in their status, one by one; the others are
// done, a job for another machine is left alone, and the run ends normally. Logged in the
// journal's format, as under systemd.
TEST(Service, BadJobsFailWithTheirReasonAndTheOthersComplete) {
  TempHub hub;
  ASSERT_NO_FATAL_FAILURE(
      submit(hub, kImageOnly, batchOf(std::vector<QStringList>(8, {"small.png"}))));
  QStringList jobs = hub.waitingJobs();
  ASSERT_EQ(jobs.size(), 8);
  const QString aFile = hub.pdfs + "/a-file";
  writeFile(aFile, "not a folder");
  const auto ticketOf = [&](const QString& job) {
    return hub.watched + "/" + job + ".job/ticket.json";
  };
  const auto edit = [&](const QString& job, const std::function<void(QJsonObject&)>& change) {
    QJsonObject t = readJson(ticketOf(job));
    change(t);
    writeFile(ticketOf(job), QJsonDocument(t).toJson());
  };
  const auto setting = [&](const QString& job, const char* key, const QString& value) {
    edit(job, [&](QJsonObject& t) {
      QJsonObject s = t["settings"].toObject();
      s[key] = value;
      t["settings"] = s;
    });
  };
  const struct {
    const char* fault;
    std::function<void(const QString& job)> spoil;
    const char* reason;  // empty: done; nullptr: left waiting
  } cases[] = {
      {"a ticket that is not JSON made",
       [&](const QString& job) { writeFile(ticketOf(job), "{\"format\": \"zan-hub-job\", "); },
       "the ticket is not JSON"},
      {"a workflow the hub lacks used",
       [&](const QString& job) { setting(job, "Workflow", "Night Shift"); },
       "has no workflow \"Night Shift\""},
      {"a dictionary the hub lacks used",
       [&](const QString& job) { setting(job, "Dictionary", "Klingon"); },
       "has no dictionary \"Klingon\""},
      {"an output folder that cannot be created",
       [&](const QString& job) {
         edit(job, [&](QJsonObject& t) { t["pdf"] = aFile + "/out.pdf"; });
       },
       "/a-file cannot be created: Not a directory"},
      {"a page that is not an image",
       [&](const QString& job) { writeFile(hub.watched + "/" + job + ".job/page-0001.tif", "no"); },
       "page 1 (page-0001.tif): not an image"},
      {"a missing language pack not named",
       [&](const QString& job) {
         setting(job, "PageContent", "Searchable Image (Exact)");
         setting(job, "Workflow", "Searchable Office");
         setting(job, "CaptureLanguage", "French");
       },
       "install the Debian package tesseract-ocr-fra"},
      {"a job for another machine taken",
       [&](const QString& job) { edit(job, [](QJsonObject& t) { t["machine"] = "elsewhere"; }); },
       nullptr},
      {"a sound job not done", [](const QString&) {}, ""},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) cases[i].spoil(jobs[static_cast<int>(i)]);

  // Language data with English and orientation only.
  const QString tessdata = hub.dir.filePath("tessdata");
  QDir().mkpath(tessdata);
  for (const char* model : {"eng", "osd"})
    QFile::link(QStringLiteral("/usr/share/tesseract-ocr/5/tessdata/%1.traineddata").arg(model),
                QStringLiteral("%1/%2.traineddata").arg(tessdata, model));
  HubProcess once(hub.serviceArguments({"--once", "--machine", "here"}),
                  {"TESSDATA_PREFIX=" + tessdata}, true);
  EXPECT_EQ(once.wait(), 0) << qPrintable(once.log());
  const QString log = once.log();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const QString job = jobs[static_cast<int>(i)];
    const QJsonObject status = hub.status(job);
    if (!cases[i].reason) {
      EXPECT_TRUE(status.isEmpty()) << cases[i].fault;
      EXPECT_TRUE(hub.waitingJobs().contains(job)) << cases[i].fault;
    } else if (!*cases[i].reason) {
      EXPECT_EQ(status["status"].toString(), QStringLiteral("done")) << cases[i].fault;
      EXPECT_TRUE(log.contains(QRegularExpression("^<6>job " + job + ": 1 page, [0-9.]+ s, done",
                                                  QRegularExpression::MultilineOption)))
          << qPrintable(log);
    } else {
      EXPECT_EQ(status["status"].toString(), QStringLiteral("failed")) << cases[i].fault;
      EXPECT_TRUE(status["reason"].toString().contains(QLatin1String(cases[i].reason)))
          << cases[i].fault << ": " << qPrintable(status["reason"].toString());
      EXPECT_TRUE(log.contains(QRegularExpression("^<3>job " + job + ": .*failed: ",
                                                  QRegularExpression::MultilineOption)))
          << cases[i].fault << qPrintable(log);
    }
  }
}

// The options may come from a configuration file, the command line's winning; a file with an
// unknown name, a missing file and a FIFO are refused at once with exit code 2.
TEST(Service, OptionsFromAConfigurationFile) {
  TempHub hub;
  const QString config = hub.dir.filePath("zan-hub.conf");
  writeFile(config, QStringLiteral("# the service's options\n"
                                   "hub = %1\n"
                                   "watched-root = %2\n"
                                   "output-root = %3\n"
                                   "jobs = 3\n")
                        .arg(hub.hub, hub.watched, hub.pdfs)
                        .toUtf8());
  HubProcess fromFile({"--config", config, "--jobs", "1", "--once"});
  EXPECT_EQ(fromFile.wait(60000), 0) << qPrintable(fromFile.log());
  EXPECT_TRUE(fromFile.log().contains(QStringLiteral("as ")) &&
              fromFile.log().contains(QStringLiteral(" with 1 worker")))
      << "the command line did not win\n"
      << qPrintable(fromFile.log());
  EXPECT_TRUE(fromFile.log().contains(
      QStringLiteral("watched roots: %1; output roots: %2").arg(hub.watched, hub.pdfs)))
      << qPrintable(fromFile.log());

  const QString fifo = hub.dir.filePath("fifo.conf");
  ::mkfifo(QFile::encodeName(fifo).constData(), 0600);
  writeFile(hub.dir.filePath("bad.conf"), "hub = /srv/hub\ncolour = blue\n");
  const struct {
    const char* fault;
    QString file;
    QString says;
  } cases[] = {
      {"an unknown name accepted", hub.dir.filePath("bad.conf"),
       QStringLiteral("bad.conf line 2: \"colour = blue\" is not \"name = value\"")},
      {"a missing file ignored", hub.dir.filePath("none.conf"),
       QStringLiteral("cannot read the configuration file %1: no such file")
           .arg(hub.dir.filePath("none.conf"))},
      {"a FIFO waited on", fifo, QStringLiteral("fifo.conf: not a regular file")},
  };
  for (const auto& c : cases) {
    HubProcess refused({"--config", c.file});
    EXPECT_EQ(refused.wait(10000), 2) << c.fault;
    EXPECT_TRUE(refused.log().contains(c.says)) << c.fault << ": " << qPrintable(refused.log());
  }
}

// SIGTERM while a slow page is being recognised: the service waits --stop-timeout for it, then
// puts its job back and ends at once.
TEST(Service, SigtermEndsTheServiceWithinItsStopTimeoutMidPage) {
  TempHub hub;
  writeFile(hub.hub + "/Workflows/Slow.wfl", "Accuracy: Most Accurate\n");
  QStringList lines;
  for (int i = 0; i < 12; ++i) lines << sampleLines(i);
  QImage page = renderTextPage(lines).image;
  page = page.scaled(page.size() * 2);  // 600 dpi: recognised at 600
  page.setDotsPerMeterX(23622);
  page.setDotsPerMeterY(23622);
  savePage(page, hub.dir.filePath("slow.png"));
  ASSERT_NO_FATAL_FAILURE(
      submit(hub,
             {{"PageContent", "Searchable Image (Exact)"},
              {"Workflow", "Slow"},
              {"AutoPageRotation", true}},
             {{"documents",
               QJsonArray{QJsonObject{{"pages", QJsonArray{hub.dir.filePath("slow.png")}}}}}}));
  const QString job = hub.waitingJobs().value(0);
  HubProcess service(hub.serviceArguments({"--jobs", "1", "--stop-timeout", "1"}));
  ASSERT_TRUE(waitFor([&] { return hub.waitingJobs().isEmpty(); }, 30000)) << "never claimed";
  QThread::msleep(500);
  const auto stopped = std::chrono::steady_clock::now();
  ASSERT_EQ(service.terminate(), 0) << qPrintable(service.log());
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - stopped).count();
  if (service.log().contains("still being written")) {
    // The page was done but its PDF not yet written: the job stays marked published for the
    // next service, not lost.
    EXPECT_TRUE(QDirIterator(hub.watched + "/.zan-hub/services", {job + ".published"}, QDir::Files,
                             QDirIterator::Subdirectories)
                    .hasNext())
        << "the job being published was lost";
    return;
  }
  if (!service.log().contains("still in progress"))
    GTEST_SKIP() << "the page was done before SIGTERM (" << seconds << " s): nothing to abandon";
  EXPECT_LT(seconds, 10) << "the service waited for its page";
  EXPECT_EQ(hub.waitingJobs(), QStringList{job}) << "the abandoned page's job was not put back";
}

// A service that stopped with a job's PDF made but its status unwritten left the job marked
// published; the service that takes its jobs over writes the status from the PDF that is there
// and does not make it again. A job marked published whose PDF is not there goes back to
// waiting.
TEST(Service, AJobMarkedPublishedIsFinishedWithoutMakingItAgain) {
  TempHub hub;
  ASSERT_NO_FATAL_FAILURE(submit(hub, kImageOnly, batchOf({{"small.png"}, {"small.png"}})));
  const QStringList jobs = hub.waitingJobs();
  ASSERT_EQ(jobs.size(), 2);
  const QString dead = hub.watched + "/.zan-hub/services/dead-1-abcdef";
  QDir().mkpath(dead);
  writeFile(dead + "/heartbeat", "");
  for (const QString& job : jobs)
    ASSERT_TRUE(QDir().rename(hub.watched + "/" + job + ".job", dead + "/" + job + ".published"));
  const QString made = hub.pdfs + "/" + jobs[0] + ".pdf";
  writeFile(made, "%PDF-1.4 made before the stop\n");
  QThread::msleep(1200);  // the dead service's heartbeat grows stale
  HubProcess once(hub.serviceArguments({"--once", "--stale-after", "0.5"}));
  ASSERT_EQ(once.wait(), 0) << qPrintable(once.log());
  EXPECT_EQ(hub.status(jobs[0])["status"].toString(), QStringLiteral("done"))
      << qPrintable(once.log());
  EXPECT_TRUE(once.log().contains("made by a service that stopped before writing its status"));
  QFile pdf(made);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_EQ(pdf.readAll(), QByteArray("%PDF-1.4 made before the stop\n")) << "the PDF made again";
  EXPECT_TRUE(hub.status(jobs[1]).isEmpty());
  EXPECT_EQ(hub.waitingJobs(), QStringList{jobs[1]}) << "a job without its PDF not put back";
}
