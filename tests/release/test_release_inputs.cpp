// What zan-release takes in: every page image format, and every kind of bad input, which must
// end in exit code 2 (nothing could start) or 1 (a document failed) with one line naming the
// cause, never a partial PDF. These releases make image-only PDFs, so nothing is recognised
// except where a language pack is looked for.
#include "release_support.h"
#include "settings/setup_data.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace zan::testing;

namespace {

const QVariantMap kImageOnly{{QStringLiteral("OutputFormatType"), 2}};

// Every file in the output folder but the report: released PDFs, and anything left behind.
QStringList pdfsIn(const QString& folder) {
  QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  files.removeAll(QStringLiteral("release-report.json"));
  return files;
}

QImage blackAndWhite(const QImage& grey) {
  QImage bw = grey.convertToFormat(QImage::Format_Grayscale8);
  for (int y = 0; y < bw.height(); ++y) {
    uchar* row = bw.scanLine(y);
    for (int x = 0; x < bw.width(); ++x) row[x] = row[x] < 128 ? 0 : 255;
  }
  return bw;
}

QImage colourPage() {
  QImage page = renderTextPage(sampleLines(4)).image.convertToFormat(QImage::Format_RGB32);
  QPainter painter(&page);
  painter.fillRect(QRect(200, 1400, 600, 300), QColor(200, 40, 30));
  painter.fillRect(QRect(900, 1400, 600, 300), QColor(30, 90, 200));
  return page;
}

}  // namespace

// Every page format is read, each page of a multi-page TIFF becomes a page, the page image in
// the PDF is the scanned one pixel for pixel, JPEG files are embedded unchanged, and the page
// size follows the stated resolution.
TEST(PageFormats, EveryFormatBecomesItsPagesUnchanged) {
  QTemporaryDir dir;
  const QDir d(dir.path());
  const QImage grey = renderTextPage(sampleLines(0)).image;
  const QImage second = renderTextPage(sampleLines(1)).image;
  const QImage colour = colourPage();
  QImage coarse = grey.scaled(grey.width() / 2, grey.height() / 2);
  coarse.setDotsPerMeterX(5906);  // 150 dpi
  coarse.setDotsPerMeterY(5906);
  QImage palette = colour.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
  QImage translucent = colour.convertToFormat(QImage::Format_ARGB32);
  translucent.fill(QColor(0, 0, 0, 0));
  {
    QPainter painter(&translucent);
    painter.fillRect(QRect(300, 300, 500, 500), QColor(0, 0, 0, 255));
  }
  QImage overWhite(translucent.size(), QImage::Format_RGB32);
  overWhite.fill(Qt::white);
  QPainter(&overWhite).drawImage(0, 0, translucent);

  ASSERT_TRUE(savePage(grey, d.filePath(QStringLiteral("grey.png"))));
  ASSERT_TRUE(saveMultiPageTiff({grey, second}, d.filePath(QStringLiteral("bitonal.tif")), true));
  ASSERT_TRUE(colour.save(d.filePath(QStringLiteral("colour.jpg")), "JPEG", 85));
  ASSERT_TRUE(savePage(grey, d.filePath(QStringLiteral("grey.pgm"))));
  ASSERT_TRUE(savePage(colour, d.filePath(QStringLiteral("colour.ppm"))));
  ASSERT_TRUE(savePage(colour, d.filePath(QStringLiteral("colour.bmp"))));
  ASSERT_TRUE(savePage(palette, d.filePath(QStringLiteral("palette.png"))));
  ASSERT_TRUE(savePage(translucent, d.filePath(QStringLiteral("translucent.png"))));
  ASSERT_TRUE(savePage(coarse, d.filePath(QStringLiteral("coarse.png"))));
  const QString setup = d.filePath(QStringLiteral("setup.json"));
  writeOcrSetup(setup, {}, kImageOnly);
  const QString batch =
      writeDocuments(d.path(), {{"grey.png", "bitonal.tif", "colour.jpg", "grey.pgm", "colour.ppm",
                                 "colour.bmp", "palette.png", "translucent.png", "coarse.png"}});
  const QString out = d.filePath(QStringLiteral("out"));
  const ProgramRun run =
      runZanRelease({"--setup", setup, "--batch", batch, "--out", out, "--quiet"});
  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
  const QString pdf = out + QStringLiteral("/document-0001.pdf");

  const struct {
    const char* fault;
    QImage expected;
  } pages[] = {{"grey PNG altered", grey},
               {"first TIFF page altered", blackAndWhite(grey)},
               {"second TIFF page lost or altered", blackAndWhite(second)},
               {"JPEG not embedded", QImage()},
               {"PGM altered", grey},
               {"PPM altered", colour},
               {"BMP altered", colour},
               {"palette image altered", palette},
               {"transparency not laid on white", overWhite},
               {"150-dpi page altered", coarse}};
  const std::vector<PdfPage> sizes = pdfWords(pdf);
  ASSERT_EQ(sizes.size(), std::size(pages));
  for (std::size_t i = 0; i < std::size(pages); ++i) {
    const int page = static_cast<int>(i + 1);
    EXPECT_EQ(pdfImageCount(pdf, page), 1) << pages[i].fault;
    if (!pages[i].expected.isNull()) {
      EXPECT_TRUE(samePixels(pdfImage(pdf, page), pages[i].expected)) << pages[i].fault;
    }
    // Every page is A5: the stated resolution (300 dpi, or 150 for the coarse page) decides the
    // page size, not the pixel count.
    EXPECT_NEAR(sizes[i].size.width(), 419.5, 0.5) << "page " << page;
    EXPECT_NEAR(sizes[i].size.height(), 595.2, 0.5) << "page " << page;
  }
  QTemporaryDir extracted;
  QProcess::execute(QStringLiteral("pdfimages"),
                    {"-j", "-f", "4", "-l", "4", pdf, extracted.filePath(QStringLiteral("j"))});
  QFile original(d.filePath(QStringLiteral("colour.jpg"))),
      embedded(extracted.filePath("j-000.jpg"));
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  ASSERT_TRUE(embedded.open(QIODevice::ReadOnly)) << "the JPEG was not embedded as it is";
  EXPECT_EQ(original.readAll(), embedded.readAll()) << "the JPEG was re-encoded";
}

namespace {

struct BadInput {
  const char* fault;
  int exitCode;
  const char* says;  // the line on standard error contains this
  std::function<QStringList(const QDir&, QStringList&)> prepare;  // returns extra environment
  QStringList pdfs = {};  // what the output folder holds afterwards
};

}  // namespace

TEST(BadInput, RefusedWithOneLineAndNoPartialPdf) {
  const auto args = [](QStringList& a, const QString& option, const QString& value) {
    const qsizetype i = a.indexOf(option);
    if (i >= 0) a[i + 1] = value;
  };
  const BadInput cases[] = {
      {"an unknown engine used", 2, "unknown engine 'fast': choose ocr or capture",
       [](const QDir&, QStringList& a) {
         a << "--engine"
           << "fast";
         return QStringList();
       }},
      {"a setup without an engine guessed", 2, "names no engine (PdfEngine)",
       [](const QDir& d, QStringList&) {
         zan::SetupFile file(d.filePath(QStringLiteral("setup.json")));
         file.SetupPartTwo().setValue(QStringLiteral("OutputFormatType"), 2);
         file.save();
         return QStringList();
       }},
      {"a capture release started without a workgroup hub", 2, "The workgroup hub is missing",
       [](const QDir&, QStringList& a) {
         a << "--engine"
           << "capture";
         return QStringList();
       }},
      {"a setup file that is missing", 2, "setup file",
       [&](const QDir& d, QStringList& a) {
         args(a, "--setup", d.filePath(QStringLiteral("none.json")));
         return QStringList();
       }},
      {"a batch that is not JSON", 2, "not JSON",
       [](const QDir& d, QStringList&) {
         writeFile(d.filePath(QStringLiteral("batch.json")), "{\"documents\": [");
         return QStringList();
       }},
      {"an output folder that is a file", 2, "is a file",
       [&](const QDir& d, QStringList& a) {
         writeFile(d.filePath(QStringLiteral("taken")), "x");
         args(a, "--out", d.filePath(QStringLiteral("taken")));
         return QStringList();
       }},
      {"an output folder that cannot be created", 2, "cannot create the output folder",
       [&](const QDir& d, QStringList& a) {
         writeFile(d.filePath(QStringLiteral("taken")), "x");
         args(a, "--out", d.filePath(QStringLiteral("taken/out")));
         return QStringList();
       }},
      {"an empty output folder name (Qt warns about it)", 2, "cannot create the output folder",
       [&](const QDir&, QStringList& a) {
         args(a, "--out", QString());
         return QStringList();
       }},
      {"a job count of zero", 2, "--jobs must be a number from 1 to 256",
       [](const QDir&, QStringList& a) {
         a << "--jobs"
           << "0";
         return QStringList();
       }},
      {"a missing language pack not named", 2, "the language data for German is missing from",
       [](const QDir& d, QStringList&) {
         // A language folder that holds English and orientation data, but not German.
         d.mkpath(QStringLiteral("tessdata"));
         for (const char* model : {"eng", "osd"})
           QFile::link(
               QStringLiteral("/usr/share/tesseract-ocr/5/tessdata/%1.traineddata").arg(model),
               d.filePath(QStringLiteral("tessdata/%1.traineddata").arg(model)));
         writeOcrSetup(d.filePath(QStringLiteral("setup.json")), {},
                       {{QStringLiteral("OcrLanguage"), 5}});
         return QStringList{QStringLiteral("TESSDATA_PREFIX=") +
                            d.filePath(QStringLiteral("tessdata"))};
       }},
      {"a page that is not an image",
       1,
       "document 2 not released: page 1 (notes.png): not an image or PDF (PNG, TIFF, JPEG, PNM, "
       "BMP or PDF)",
       [](const QDir& d, QStringList&) {
         writeFile(d.filePath(QStringLiteral("notes.png")), "these are notes, not a scan");
         writeDocuments(d.path(), {{"page.png"}, {"notes.png", "page.png"}, {"page.png"}});
         return QStringList();
       },
       {"document-0001.pdf", "document-0003.pdf"}},
      {"a missing page",
       1,
       "document 1 not released: page 2 (gone.png): no such file",
       [](const QDir& d, QStringList&) {
         writeDocuments(d.path(), {{"page.png", "gone.png"}, {"page.png"}});
         return QStringList();
       },
       {"document-0002.pdf"}},
  };
  const QImage page = renderTextPage(sampleLines(0)).image;
  for (const BadInput& c : cases) {
    QTemporaryDir dir;
    const QDir d(dir.path());
    ASSERT_TRUE(savePage(page, d.filePath(QStringLiteral("page.png"))));
    writeOcrSetup(d.filePath(QStringLiteral("setup.json")), {}, kImageOnly);
    writeDocuments(d.path(), {{"page.png"}});
    const QString out = d.filePath(QStringLiteral("out"));
    QStringList a{"--setup", d.filePath(QStringLiteral("setup.json")),
                  "--batch", d.filePath(QStringLiteral("batch.json")),
                  "--out",   out,
                  "--quiet"};
    const QStringList env = c.prepare(d, a);
    const ProgramRun run = runZanRelease(a, env);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.fault << "\n" << qPrintable(run.err);
    const QStringList lines = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << c.fault << "\n" << qPrintable(run.err);
    EXPECT_TRUE(lines[0].startsWith(QLatin1String("zan-release: "))) << c.fault;
    EXPECT_TRUE(lines[0].contains(QLatin1String(c.says))) << c.fault << "\n"
                                                          << qPrintable(lines[0]);
    EXPECT_EQ(pdfsIn(out), c.pdfs) << c.fault;
    if (c.exitCode == 1) {  // the report names the failed document and why
      const QJsonObject report = readJson(out + QStringLiteral("/release-report.json"));
      const QString says = QString::fromUtf8(c.says);
      bool reported = false;
      for (const QJsonValue& doc : report.value(QStringLiteral("documents")).toArray())
        if (doc[QStringLiteral("status")] == QStringLiteral("failed"))
          reported = says.endsWith(doc[QStringLiteral("reason")].toString());
      EXPECT_TRUE(reported) << c.fault;
    }
  }
}

// A full disk mid-release fails the document that does not fit, with the cause, and leaves
// neither a partial PDF nor a temporary file; the documents that fit are released. Runs on a
// 1 MB tmpfs in a private mount namespace.
TEST(BadInput, FullDiskLeavesNoPartialPdf) {
  QTemporaryDir dir;
  const QDir d(dir.path());
  ASSERT_TRUE(
      savePage(renderTextPage(sampleLines(0)).image, d.filePath(QStringLiteral("small.png"))));
  QImage noise(1200, 1200, QImage::Format_RGB32);  // does not compress: about 4 MB in the PDF
  QRandomGenerator random(17);
  for (int y = 0; y < noise.height(); ++y)
    for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, random.generate() | 0xff000000u);
  ASSERT_TRUE(savePage(noise, d.filePath(QStringLiteral("noise.png"))));
  writeOcrSetup(d.filePath(QStringLiteral("setup.json")), {}, kImageOnly);
  writeDocuments(d.path(), {{"small.png"}, {"noise.png"}});
  const QString disk = d.filePath(QStringLiteral("disk"));
  d.mkpath(QStringLiteral("disk"));
  const QString script =
      QStringLiteral(
          "mount -t tmpfs -o size=1m tmpfs '%1' || exit 99\n"
          "'%2' --setup '%3' --batch '%4' --out '%1/out' --quiet\n"
          "echo \"exit=$?\"\n"
          "ls -A '%1/out'\n")
          .arg(disk, zanReleaseBinary(), d.filePath(QStringLiteral("setup.json")),
               d.filePath(QStringLiteral("batch.json")));
  QProcess shell;
  shell.start(QStringLiteral("unshare"),
              {"--user", "--map-root-user", "--mount", "sh", "-c", script});
  ASSERT_TRUE(shell.waitForFinished(120000));
  if (shell.exitCode() == 99 || shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
    GTEST_SKIP() << "cannot mount a private tmpfs here (unshare/mount refused): "
                 << shell.readAllStandardError().toStdString();
  const QStringList out =
      QString::fromUtf8(shell.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  const QString err = QString::fromUtf8(shell.readAllStandardError());
  EXPECT_EQ(out.value(0), QStringLiteral("exit=1")) << qPrintable(err);
  EXPECT_EQ(out.mid(1), QStringList({"document-0001.pdf", "release-report.json"}))
      << "a partial PDF or temporary file was left";
  EXPECT_TRUE(err.contains(QLatin1String("document 2 not released: cannot write")) &&
              err.contains(QLatin1String("document-0002.pdf: No space left on device")))
      << qPrintable(err);
}
