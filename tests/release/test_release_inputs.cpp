// Bad input of every kind, which must end in exit code 2 (nothing could start) or 1 (a document
// failed) with one line naming the cause, never a partial PDF. These releases make image-only
// PDFs, so nothing is recognised except where a language pack is looked for.
#include "release_support.h"
#include "settings/setup_data.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QRandomGenerator>

#include <sys/stat.h>

using namespace zan::testing;

namespace {

// Every file in the output folder but the report: released PDFs, and anything left behind.
QStringList pdfsIn(const QString& folder) {
  QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  files.removeAll("release-report.json");
  return files;
}

QByteArray bigEndian(quint32 v) {
  QByteArray b;
  for (int i = 3; i >= 0; --i) b += static_cast<char>(v >> (8 * i));
  return b;
}
QByteArray littleEndian(quint32 v, int bytes) {
  QByteArray b;
  for (int i = 0; i < bytes; ++i) b += static_cast<char>(v >> (8 * i));
  return b;
}

quint32 crc32(const QByteArray& data) {
  quint32 crc = 0xffffffffu;
  for (const char c : data) {
    crc ^= static_cast<quint8>(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// Files whose headers declare `w` × `h` pixels, with (almost) nothing after them.
QByteArray pngDeclaring(quint32 w, quint32 h) {
  const QByteArray ihdr =
      "IHDR" + bigEndian(w) + bigEndian(h) + QByteArray("\x01\x00\x00\x00\x00", 5);
  return QByteArray("\x89PNG\r\n\x1a\n", 8) + bigEndian(13) + ihdr + bigEndian(crc32(ihdr)) +
         bigEndian(0) + "IEND" + bigEndian(crc32("IEND"));
}
QByteArray pnmDeclaring(quint32 w, quint32 h) {
  return QStringLiteral("P5\n%1 %2\n255\n").arg(w).arg(h).toLatin1() + QByteArray(64, '\0');
}
QByteArray bmpDeclaring(quint32 w, quint32 h) {
  return "BM" + littleEndian(1000, 4) + littleEndian(0, 4) + littleEndian(54, 4) +
         littleEndian(40, 4) + littleEndian(w, 4) + littleEndian(h, 4) + littleEndian(1, 2) +
         littleEndian(24, 2) + QByteArray(24, '\0') + QByteArray(64, '\0');
}
QByteArray tiffDeclaring(quint32 w, quint32 h) {
  // One IFD of nine entries: width, length, 8 bits, no compression, grey, strip offset, one
  // sample, rows per strip, strip byte count.
  const quint32 entries[][3] = {{256, 4, w},   {257, 4, h}, {258, 3, 8}, {259, 3, 1}, {262, 3, 1},
                                {273, 4, 200}, {277, 3, 1}, {278, 4, h}, {279, 4, 64}};
  QByteArray t = "II*" + QByteArray(1, '\0') + littleEndian(8, 4) + littleEndian(9, 2);
  for (const auto& e : entries)
    t += littleEndian(e[0], 2) + littleEndian(e[1], 2) + littleEndian(1, 4) + littleEndian(e[2], 4);
  t += littleEndian(0, 4);
  return t + QByteArray(200 - t.size() + 64, '\0');
}

const QByteArray kFifo = QByteArrayLiteral("(a FIFO)");

}  // namespace

// Bad input of every kind (options, setup, batch, output folder, language data, pages), batch
// files that never end (/dev/zero), FIFOs, a huge batch, and pages that declare more pixels than
// a page may have (PNG, PNM, BMP, TIFF of 60000 × 60000) or than --pixel-budget allows: each is
// refused at once, before anything is decoded, with exit code 2 (nothing could start) or 1 (a
// document failed), one line naming the cause, no partial PDF, and the failed document reported.
TEST(BadInput, RefusedWithOneLineAndNoPartialPdf) {
  const struct {
    const char* fault;
    int exitCode;
    const char* says;      // the line on standard error contains this
    QString options = {};  // "OPTION VALUE ...", replacing the folder's or added (%1: the folder)
    const char* file = nullptr;  // written into the folder with `data` (kFifo: made a FIFO)
    QByteArray data = {};
    QString batch = {};  // documents ("|" between them) of pages (" " between them); "": page.png
    QString pdfs = {};   // what the output folder holds afterwards (" " between them)
    std::function<QStringList(const ReleaseFolder&)> prepare = nullptr;  // returns environment
  } cases[] = {
      {"an unknown engine used", 2, "unknown engine 'fast': choose ocr or capture",
       "--engine fast"},
      {"a setup without an engine guessed", 2, "names no engine (PdfEngine)", "", nullptr, "", "",
       "",
       [](const ReleaseFolder& r) {
         zan::SetupFile file(r.path("setup.json"));
         file.SetupPartTwo().setValue("OutputFormatType", 2);
         file.save();
         return QStringList();
       }},
      {"a capture release started without a workgroup hub", 2, "The workgroup hub is missing",
       "--engine capture"},
      {"a setup file that is missing", 2, "setup file", "--setup %1/none.json"},
      {"a batch that is not JSON", 2, "not JSON", "", "batch.json", "{\"documents\": ["},
      {"a batch from /dev/zero read until memory ran out", 2,
       "batch '/dev/zero': not a regular file", "--batch /dev/zero"},
      {"a FIFO batch waited on", 2, "fifo.json': not a regular file", "--batch %1/fifo.json",
       "fifo.json", kFifo},
      {"a 17 MB batch read", 2, "larger than 16 MB", "", "batch.json",
       QByteArray(17 * 1024 * 1024, ' ') + "{}"},
      {"an output folder that is a file", 2, "is a file", "--out %1/taken", "taken", "x"},
      {"an output folder that cannot be created", 2, "cannot create the output folder",
       "--out %1/taken/out", "taken", "x"},
      {"an empty output folder name (Qt warns about it)", 2, "cannot create the output folder",
       "--out "},
      {"a job count of zero", 2, "--jobs must be a number from 1 to 256", "--jobs 0"},
      {"an unknown PDF standard", 2, "--pdfa must be 2b or none", "--pdfa 1b"},
      {"no resolution taken for one", 2, "--image-dpi must be", "--image-dpi 0"},
      {"a resolution too high taken", 2, "--image-dpi must be", "--image-dpi 10000"},
      {"a resolution that is no number taken", 2, "--image-dpi must be", "--image-dpi x"},
      {"a missing language pack not named", 2, "the language data for German is missing from", "",
       nullptr, "", "", "",
       [](const ReleaseFolder& r) {
         // A language folder that holds English and orientation data, but not German.
         QDir(r.dir.path()).mkpath("tessdata");
         for (const char* model : {"eng", "osd"})
           QFile::link(
               QStringLiteral("/usr/share/tesseract-ocr/5/tessdata/%1.traineddata").arg(model),
               r.path(QStringLiteral("tessdata/%1.traineddata").arg(model)));
         writeOcrSetup(r.path("setup.json"), {}, {{"OcrLanguage", 5}});
         return QStringList{"TESSDATA_PREFIX=" + r.path("tessdata")};
       }},
      {"a page that is not an image", 1,
       "document 2 not released: page 1 (notes.png): not an image or PDF (PNG, TIFF, JPEG, PNM, "
       "BMP or PDF)",
       "", "notes.png", "these are notes, not a scan", "page.png|notes.png page.png|page.png",
       "document-0001.pdf document-0003.pdf"},
      {"a missing page", 1, "document 1 not released: page 2 (gone.png): no such file", "", nullptr,
       "", "page.png gone.png|page.png", "document-0002.pdf"},
      {"a FIFO page waited on", 1, "page 1 (fifo.png): not a regular file", "", "fifo.png", kFifo,
       "fifo.png"},
      {"a PNG bomb decoded", 1,
       "page 1 (bomb.png): the image declares 60000 × 60000 pixels (3600 megapixels); a page may "
       "have at most 100 megapixels",
       "", "bomb.png", pngDeclaring(60000, 60000), "bomb.png"},
      {"a PNM bomb decoded", 1, "the image declares 60000 × 60000 pixels", "", "bomb.pgm",
       pnmDeclaring(60000, 60000), "bomb.pgm"},
      {"a BMP bomb decoded", 1, "the image declares 60000 × 60000 pixels", "", "bomb.bmp",
       bmpDeclaring(60000, 60000), "bomb.bmp"},
      {"a TIFF bomb decoded", 1, "the image declares 60000 × 60000 pixels", "", "bomb.tif",
       tiffDeclaring(60000, 60000), "bomb.tif"},
      {"a page over --pixel-budget decoded", 1, "a page may have at most 1 megapixels",
       "--pixel-budget 1"},
  };
  for (const auto& c : cases) {
    ReleaseFolder r;
    if (!c.batch.isEmpty()) {
      std::vector<QStringList> documents;
      for (const QString& pages : c.batch.split('|')) documents.push_back(pages.split(' '));
      writeDocuments(r.dir.path(), documents);
    }
    if (c.file && c.data == kFifo)
      ASSERT_EQ(::mkfifo(QFile::encodeName(r.path(c.file)).constData(), 0600), 0) << c.fault;
    else if (c.file)
      writeFile(r.path(c.file), c.data);
    QStringList a = r.arguments();
    const QStringList options = QString(c.options).replace("%1", r.dir.path()).split(' ');
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
      const qsizetype at = a.indexOf(options[i]);
      if (at >= 0)
        a[at + 1] = options[i + 1];
      else
        a << options[i] << options[i + 1];
    }
    const ProgramRun run =
        runProgram(zanReleaseBinary(), a, c.prepare ? c.prepare(r) : QStringList(), 60000);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.fault << "\n" << qPrintable(run.err);
    const QStringList lines = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 1) << c.fault << "\n" << qPrintable(run.err);
    if (lines.isEmpty()) continue;  // the other cases still run
    EXPECT_TRUE(lines[0].startsWith(QLatin1String("zan-release: "))) << c.fault;
    EXPECT_TRUE(lines[0].contains(QString::fromUtf8(c.says))) << c.fault << "\n"
                                                              << qPrintable(lines[0]);
    EXPECT_EQ(pdfsIn(r.out()), c.pdfs.split(' ', Qt::SkipEmptyParts)) << c.fault;
    if (c.exitCode == 1) {  // the report names the failed document and why
      QStringList reasons;
      for (const QJsonValue& doc :
           readJson(r.out() + "/release-report.json")["documents"].toArray())
        if (doc["status"] == "failed") reasons << doc["reason"].toString();
      EXPECT_EQ(reasons.size(), 1) << c.fault;
      EXPECT_TRUE(lines[0].endsWith(": " + reasons.value(0, "(none)")))
          << c.fault << "\n"
          << qPrintable(reasons.join('\n'));
    }
  }
}

// A full disk mid-release fails the document that does not fit, with the cause, and leaves
// neither a partial PDF nor a temporary file; the documents that fit are released. Runs on a
// 1 MB tmpfs in a private mount namespace.
TEST(BadInput, FullDiskLeavesNoPartialPdf) {
  ReleaseFolder r;
  QImage noise(1200, 1200, QImage::Format_RGB32);  // does not compress: about 4 MB in the PDF
  QRandomGenerator random(17);
  for (int y = 0; y < noise.height(); ++y)
    for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, random.generate() | 0xff000000u);
  ASSERT_TRUE(savePage(noise, r.path("noise.png")));
  writeDocuments(r.dir.path(), {{"page.png"}, {"noise.png"}});
  const QString disk = r.path("disk");
  QDir(r.dir.path()).mkpath("disk");
  const QString script =
      QStringLiteral(
          "mount -t tmpfs -o size=1m tmpfs '%1' || exit 99\n"
          "'%2' --setup '%3' --batch '%4' --out '%1/out' --quiet\n"
          "echo \"exit=$?\"\n"
          "ls -A '%1/out'\n")
          .arg(disk, zanReleaseBinary(), r.path("setup.json"), r.path("batch.json"));
  QProcess shell;
  shell.start("unshare", {"--user", "--map-root-user", "--mount", "sh", "-c", script});
  ASSERT_TRUE(shell.waitForFinished(120000));
  if (shell.exitCode() == 99 || shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
    GTEST_SKIP() << "cannot mount a private tmpfs here (unshare/mount refused): "
                 << shell.readAllStandardError().toStdString();
  const QStringList out =
      QString::fromUtf8(shell.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  const QString err = QString::fromUtf8(shell.readAllStandardError());
  EXPECT_EQ(out.value(0), "exit=1") << qPrintable(err);
  EXPECT_EQ(out.mid(1), QStringList({"document-0001.pdf", "release-report.json"}))
      << "a partial PDF or temporary file was left";
  EXPECT_TRUE(err.contains(QLatin1String("document 2 not released: cannot write")) &&
              err.contains(QLatin1String("document-0002.pdf: No space left on device")))
      << qPrintable(err);
}
