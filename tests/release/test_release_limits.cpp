// The folder of an earlier release, the libraries' own messages (one line per failure, whatever
// libpng or libtiff say), tiny pages, and the temporary files a killed release left. These
// releases make image-only PDFs unless a case says otherwise.
#include "release_support.h"

#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace zan::testing;

namespace {

QByteArray digestOf(const QString& folder) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
    QFile f(QDir(folder).filePath(name));
    f.open(QIODevice::ReadOnly);
    hash.addData(name.toUtf8() + f.readAll());
  }
  return hash.result();
}

}  // namespace

// The folder of an earlier release is refused; with --replace the PDFs its report lists are
// removed first, so that a document that fails now leaves no PDF of the earlier run behind; a
// PDF no report lists is never removed.
TEST(Limits, AnEarlierReleaseIsReplacedOnlyWhenAskedAndExactly) {
  ReleaseFolder r;
  writeDocuments(r.dir.path(), {{"page.png"}, {"page.png"}});
  ASSERT_EQ(r.run().exitCode, 0);
  const QByteArray before = digestOf(r.out());

  const ProgramRun refused = r.run();
  EXPECT_EQ(refused.exitCode, 2) << "an earlier release overwritten unasked";
  EXPECT_TRUE(refused.err.contains(QStringLiteral(
      "holds an earlier release (document-0001.pdf, document-0002.pdf, release-report.json): "
      "choose another folder, or --replace to replace that release")))
      << qPrintable(refused.err);
  EXPECT_EQ(digestOf(r.out()), before);

  writeDocuments(r.dir.path(), {{"page.png"}, {"gone.png"}});
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
  ReleaseFolder r;
  QFile png(r.path("page.png"));
  ASSERT_TRUE(png.open(QIODevice::ReadOnly));
  const QByteArray sound = png.readAll();
  QByteArray crc = sound;
  crc[sound.size() / 2] = static_cast<char>(crc[sound.size() / 2] ^ 0x55);
  QImage colour(600, 400, QImage::Format_RGB32);
  colour.fill(Qt::darkCyan);
  colour.save(r.path("sound.jpg"), "JPEG", 80);
  QFile jpg(r.path("sound.jpg"));
  jpg.open(QIODevice::ReadOnly);
  savePage(renderTextPage(sampleLines(1).mid(0, 1)).image, r.path("sound.tif"));
  QFile tif(r.path("sound.tif"));
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
      {"esc\x1b[31mred.png", QByteArray(40, 'x')},
  };
  std::vector<QStringList> documents;
  for (const auto& [name, data] : files) {
    writeFile(r.path(name), data);
    documents.push_back({name});
  }
  QDir().mkpath(r.path("folder.png"));
  ::mkfifo(QFile::encodeName(r.path("fifo.png")).constData(), 0600);
  for (const QString& name : {QStringLiteral("folder.png"), QStringLiteral("fifo.png"),
                              QStringLiteral("missing.png"), QStringLiteral("nul\0name.png")})
    documents.push_back({name});
  documents.push_back({"page.png"});  // sound
  writeDocuments(r.dir.path(), documents);
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
    ReleaseFolder r(QVariantMap{{"OutputFormatType", format}});
    std::vector<QStringList> documents;
    for (const QSize size : {QSize(1, 1), QSize(1, 60), QSize(60, 1), QSize(3, 3)}) {
      QImage tiny(size, QImage::Format_Grayscale8);
      tiny.fill(Qt::black);
      tiny.setDotsPerMeterX(23622);  // 600 dpi
      tiny.setDotsPerMeterY(23622);
      const QString name = QStringLiteral("tiny-%1x%2.png").arg(size.width()).arg(size.height());
      ASSERT_TRUE(tiny.save(r.path(name)));
      documents.push_back({name});
    }
    writeDocuments(r.dir.path(), documents);
    const ProgramRun run = r.run();
    EXPECT_EQ(run.exitCode, 0) << "OutputFormatType " << format << "\n" << qPrintable(run.err);
    EXPECT_EQ(QDir(r.out()).entryList({"*.pdf"}, QDir::Files).size(), 4u);
  }
}

// Hidden temporary files that a killed release left (an hour old) are removed by the next
// release into the folder; one that is being written (new) is not.
TEST(LeftOvers, TemporaryFilesOfAKilledReleaseAreSweptByTheNext) {
  ReleaseFolder r;
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
