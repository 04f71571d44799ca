// What zan-release refuses before it reads or decodes (endless batch files, FIFOs, pages that
// declare more pixels than the budget), the folder of an earlier release, the libraries' own
// messages (one line per failure, whatever libpng or libtiff say), tiny pages, and the temporary
// files a killed release left. These releases make image-only PDFs unless a case says otherwise.
#include "release_support.h"

#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace zan::testing;

namespace {

const QVariantMap kImageOnly{{QStringLiteral("OutputFormatType"), 2}};

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

QByteArray digestOf(const QString& folder) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
    QFile f(QDir(folder).filePath(name));
    f.open(QIODevice::ReadOnly);
    hash.addData(name.toUtf8() + f.readAll());
  }
  return hash.result();
}

// A folder with the setup, a sound page, and a batch of `documents`.
struct Release {
  QTemporaryDir dir;
  QDir d{dir.path()};
  Release(const QVariantMap& partTwo = kImageOnly) {
    savePage(renderTextPage(sampleLines(0).mid(0, 2)).image, d.filePath("page.png"));
    writeOcrSetup(d.filePath("setup.json"), {}, partTwo);
  }
  QString out() const { return d.filePath("out"); }
  ProgramRun run(const QStringList& extra = {}, int ms = 60000) const {
    return runProgram(zanReleaseBinary(),
                      QStringList{"--setup", d.filePath("setup.json"), "--batch",
                                  d.filePath("batch.json"), "--out", out(), "--quiet"} +
                          extra,
                      {}, ms);
  }
};

}  // namespace

// A batch file that never ends (/dev/zero), a FIFO or a huge file, and pages that declare more
// pixels than a page may have (PNG, PNM, BMP, TIFF of 60000 × 60000) or than --pixel-budget
// allows, and a page that is a FIFO: each is refused at once with one line naming the limit,
// before anything is decoded.
TEST(Limits, EndlessInputsAndPixelBombsAreRefusedBeforeReading) {
  const struct {
    const char* fault;
    std::function<void(Release&, QStringList&)> prepare;
    int exitCode;
    const char* says;
  } cases[] = {
      {"a batch from /dev/zero read until memory ran out",
       [](Release& r, QStringList& a) {
         a << "--batch"
           << "/dev/zero";
         (void)r;
       },
       2, "batch '/dev/zero': not a regular file"},
      {"a FIFO batch waited on",
       [](Release& r, QStringList& a) {
         ::mkfifo(QFile::encodeName(r.d.filePath("fifo.json")).constData(), 0600);
         a << "--batch" << r.d.filePath("fifo.json");
       },
       2, "fifo.json': not a regular file"},
      {"a 17 MB batch read",
       [](Release& r, QStringList&) {
         writeFile(r.d.filePath("batch.json"), QByteArray(17 * 1024 * 1024, ' ') + "{}");
       },
       2, "larger than 16 MB"},
      {"a FIFO page waited on",
       [](Release& r, QStringList&) {
         ::mkfifo(QFile::encodeName(r.d.filePath("fifo.png")).constData(), 0600);
         writeDocuments(r.d.path(), {{"fifo.png"}});
       },
       1, "page 1 (fifo.png): not a regular file"},
      {"a PNG bomb decoded",
       [](Release& r, QStringList&) {
         writeFile(r.d.filePath("bomb.png"), pngDeclaring(60000, 60000));
         writeDocuments(r.d.path(), {{"bomb.png"}});
       },
       1,
       "page 1 (bomb.png): the image declares 60000 × 60000 pixels (3600 megapixels); a page may "
       "have at most 100 megapixels"},
      {"a PNM bomb decoded",
       [](Release& r, QStringList&) {
         writeFile(r.d.filePath("bomb.pgm"), pnmDeclaring(60000, 60000));
         writeDocuments(r.d.path(), {{"bomb.pgm"}});
       },
       1, "the image declares 60000 × 60000 pixels"},
      {"a BMP bomb decoded",
       [](Release& r, QStringList&) {
         writeFile(r.d.filePath("bomb.bmp"), bmpDeclaring(60000, 60000));
         writeDocuments(r.d.path(), {{"bomb.bmp"}});
       },
       1, "the image declares 60000 × 60000 pixels"},
      {"a TIFF bomb decoded",
       [](Release& r, QStringList&) {
         writeFile(r.d.filePath("bomb.tif"), tiffDeclaring(60000, 60000));
         writeDocuments(r.d.path(), {{"bomb.tif"}});
       },
       1, "the image declares 60000 × 60000 pixels"},
      {"a page over --pixel-budget decoded",
       [](Release& r, QStringList& a) {
         writeDocuments(r.d.path(), {{"page.png"}});
         a << "--pixel-budget"
           << "1";
       },
       1, "a page may have at most 1 megapixels"},
  };
  for (const auto& c : cases) {
    Release r;
    writeDocuments(r.d.path(), {{"page.png"}});
    QStringList extra;
    c.prepare(r, extra);
    QElapsedTimer clock;
    clock.start();
    QStringList arguments{"--setup", r.d.filePath("setup.json"), "--out", r.out(), "--quiet"};
    if (!extra.contains("--batch")) arguments << "--batch" << r.d.filePath("batch.json");
    const ProgramRun run = runProgram(zanReleaseBinary(), arguments + extra, {}, 30000);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.fault << "\n" << qPrintable(run.err);
    const QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 1) << c.fault << "\n" << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.says))) << c.fault << "\n"
                                                             << qPrintable(run.err);
  }
}

// The folder of an earlier release is refused; with --replace the PDFs its report lists are
// removed first, so that a document that fails now leaves no PDF of the earlier run behind; a
// PDF no report lists is never removed.
TEST(Limits, AnEarlierReleaseIsReplacedOnlyWhenAskedAndExactly) {
  Release r;
  writeDocuments(r.d.path(), {{"page.png"}, {"page.png"}});
  ASSERT_EQ(r.run().exitCode, 0);
  const QByteArray before = digestOf(r.out());

  const ProgramRun refused = r.run();
  EXPECT_EQ(refused.exitCode, 2) << "an earlier release overwritten unasked";
  EXPECT_TRUE(refused.err.contains(QStringLiteral(
      "holds an earlier release (document-0001.pdf, document-0002.pdf, release-report.json): "
      "choose another folder, or --replace to replace that release")))
      << qPrintable(refused.err);
  EXPECT_EQ(digestOf(r.out()), before);

  writeDocuments(r.d.path(), {{"page.png"}, {"gone.png"}});
  const ProgramRun replaced = r.run({"--replace"});
  EXPECT_EQ(replaced.exitCode, 1) << qPrintable(replaced.err);
  EXPECT_EQ(QDir(r.out()).entryList({"*.pdf"}, QDir::Files), QStringList{"document-0001.pdf"})
      << "the earlier run's PDF of the failed document stayed";

  writeFile(r.out() + "/document-0009.pdf", "%PDF-1.4 mine\n");
  const ProgramRun unlisted = r.run({"--replace"});
  EXPECT_EQ(unlisted.exitCode, 2);
  EXPECT_TRUE(unlisted.err.contains("holds document-0009.pdf, which no release report there lists"))
      << qPrintable(unlisted.err);
  EXPECT_TRUE(QFileInfo::exists(r.out() + "/document-0009.pdf"));
}

// Pages that no library can read, whatever libpng, libjpeg, libtiff or Leptonica say about
// them, and names with control characters: exactly one line per failed document, each starting
// with "zan-release: ", with no raw control character.
TEST(Messages, OneLinePerFailureWhateverTheLibrariesSay) {
  Release r;
  QFile png(r.d.filePath("page.png"));
  ASSERT_TRUE(png.open(QIODevice::ReadOnly));
  const QByteArray sound = png.readAll();
  QByteArray crc = sound;
  crc[sound.size() / 2] = static_cast<char>(crc[sound.size() / 2] ^ 0x55);
  QImage colour(600, 400, QImage::Format_RGB32);
  colour.fill(Qt::darkCyan);
  colour.save(r.d.filePath("sound.jpg"), "JPEG", 80);
  QFile jpg(r.d.filePath("sound.jpg"));
  jpg.open(QIODevice::ReadOnly);
  savePage(renderTextPage(sampleLines(1).mid(0, 1)).image, r.d.filePath("sound.tif"));
  QFile tif(r.d.filePath("sound.tif"));
  tif.open(QIODevice::ReadOnly);
  const QByteArray tiff = tif.readAll();
  const std::vector<std::pair<QString, QByteArray>> files{
      {"empty.png", {}},
      {"junk.png", QByteArray(100, '\x17')},
      {"cut.png", sound.left(120)},
      {"crc.png", crc},
      {"cut.jpg", jpg.readAll().left(300)},
      {"bad.tif", "II*" + QByteArray(1, '\0') + QByteArray(60, '\xff')},
      {"cut.tif", tiff.left(400)},
      {"bad.bmp", "BM" + QByteArray(60, '\x01')},
      {"bad.pgm", "P5\n10 10\n255\nxy"},
      {QStringLiteral("esc\x1b[31mred.png"), QByteArray(40, 'x')},
  };
  std::vector<QStringList> documents;
  for (const auto& [name, data] : files) {
    writeFile(r.d.filePath(name), data);
    documents.push_back({name});
  }
  QDir().mkpath(r.d.filePath("folder.png"));
  ::mkfifo(QFile::encodeName(r.d.filePath("fifo.png")).constData(), 0600);
  for (const QString& name : {QStringLiteral("folder.png"), QStringLiteral("fifo.png"),
                              QStringLiteral("missing.png"), QStringLiteral("nul\0name.png")})
    documents.push_back({name});
  documents.push_back({"page.png"});  // sound
  writeDocuments(r.d.path(), documents);
  const ProgramRun run = r.run();
  EXPECT_EQ(run.exitCode, 1) << qPrintable(run.err);
  const QJsonArray reported = readJson(r.out() + "/release-report.json")["documents"].toArray();
  int failed = 0;
  for (const QJsonValue& d : reported) failed += d["status"].toString() == "failed";
  const QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
  EXPECT_EQ(lines.size(), failed) << qPrintable(run.err);
  EXPECT_GE(failed, 12) << qPrintable(run.err);
  for (const QString& line : lines) {
    EXPECT_TRUE(line.startsWith("zan-release: document ")) << qPrintable(line);
    for (const QChar c : line) EXPECT_GE(c.unicode(), 0x20u) << "a raw control character";
  }
  EXPECT_TRUE(run.err.contains("(nul\\x00name.png): no such file")) << qPrintable(run.err);
  EXPECT_TRUE(run.err.contains("(esc\\x1b[31mred.png): not an image")) << qPrintable(run.err);
}

// Pages of one pixel, one row or one column, scanned at 600 dpi (so that recognition scales them
// down to 300), are released in every page content.
TEST(TinyPages, AreReleased) {
  for (const int format : {1, 2, 3}) {
    Release r({{"OutputFormatType", format}});
    std::vector<QStringList> documents;
    for (const QSize size : {QSize(1, 1), QSize(1, 60), QSize(60, 1), QSize(3, 3)}) {
      QImage tiny(size, QImage::Format_Grayscale8);
      tiny.fill(Qt::black);
      tiny.setDotsPerMeterX(23622);  // 600 dpi
      tiny.setDotsPerMeterY(23622);
      const QString name = QStringLiteral("tiny-%1x%2.png").arg(size.width()).arg(size.height());
      ASSERT_TRUE(tiny.save(r.d.filePath(name)));
      documents.push_back({name});
    }
    writeDocuments(r.d.path(), documents);
    const ProgramRun run = r.run();
    EXPECT_EQ(run.exitCode, 0) << "OutputFormatType " << format << "\n" << qPrintable(run.err);
    EXPECT_EQ(QDir(r.out()).entryList({"*.pdf"}, QDir::Files).size(), 4u);
  }
}

// Hidden temporary files that a killed release left (an hour old) are removed by the next
// release into the folder; one that is being written (new) is not.
TEST(LeftOvers, TemporaryFilesOfAKilledReleaseAreSweptByTheNext) {
  Release r;
  writeDocuments(r.d.path(), {{"page.png"}});
  const QString old1 = r.out() + "/.document-0001.pdf.AbCdEf";
  const QString old2 = r.out() + "/.release-report.json.Gh1234";
  const QString fresh = r.out() + "/.document-0002.pdf.QwErTy";
  for (const QString& f : {old1, old2, fresh}) writeFile(f, "half");
  setModifiedAgo(old1, 3600);
  setModifiedAgo(old2, 3600);
  EXPECT_EQ(r.run().exitCode, 0);
  EXPECT_FALSE(QFileInfo::exists(old1)) << "a killed release's PDF left";
  EXPECT_FALSE(QFileInfo::exists(old2)) << "a killed release's report left";
  EXPECT_TRUE(QFileInfo::exists(fresh)) << "a file being written removed";
}
