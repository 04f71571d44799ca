#pragma once
// What the release tests share: writing setup and batch files, running the real zan-release,
// and reading the PDFs it writes back with Poppler (pdftotext -bbox, pdfimages, and
// libpoppler-qt6 for document information and annotations).

#include "test_pages.h"

#include <QByteArray>
#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QProcessEnvironment>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

#include <vector>

namespace zan::testing {

// Writes a release-setup file for `engine` ("2" OCR, "3" capture): every setting at its
// default, then `partOne` and `partTwo` on top.
void writeSetup(const QString& path, const QString& engine, const QVariantMap& partOne,
                const QVariantMap& partTwo);
inline void writeOcrSetup(const QString& path, const QVariantMap& partOne,
                          const QVariantMap& partTwo) {
  writeSetup(path, QStringLiteral("2"), partOne, partTwo);
}

struct ProgramRun {
  int exitCode = -1;
  QString out, err;
};
// Runs `program` with `arguments` (and `environment` added to the test's own) to its end.
// A program that has not ended after `ms` is killed (exit code -1).
ProgramRun runProgram(const QString& program, const QStringList& arguments,
                      const QStringList& environment = {}, int ms = 300000);
// The zan-release program under test.
QString zanReleaseBinary();
// Runs zan-release with `arguments` (and `environment` added to the test's own).
inline ProgramRun runZanRelease(const QStringList& arguments, const QStringList& environment = {}) {
  return runProgram(zanReleaseBinary(), arguments, environment);
}
// The environment with `environment` ("NAME=value") added.
QProcessEnvironment environmentWith(const QStringList& environment);

struct PdfWord {
  QString text;
  QRectF box;  // points, origin at the top left as pdftotext gives it
};
struct PdfPage {
  QSizeF size;  // points
  std::vector<PdfWord> words;
};
// The words of every page, as pdftotext -bbox finds them.
std::vector<PdfPage> pdfWords(const QString& pdf);
// The texts of the words of `page`, in order.
QStringList allWords(const PdfPage& page);
// The text of each page of `pdf`, its words parted by one space.
QStringList pageTexts(const QString& pdf);
// The texts written beside a sample batch's pages (page-1.txt, page-2.txt, ... in `folder`),
// spaces simplified.
QStringList expectedPageTexts(const QString& folder);
// The number of images on page `page` (1-based), as pdfimages -list counts them.
int pdfImageCount(const QString& pdf, int page);
// The first image of page `page` (1-based), as pdfimages extracts it.
QImage pdfImage(const QString& pdf, int page);
// The JPEG data of the first image of page `page` (1-based), as pdfimages -j gives it; empty
// when that image is no JPEG.
QByteArray pdfJpeg(const QString& pdf, int page);
// "Title", "Subject", "Author", "Keywords" ... of the document information.
QString pdfInfo(const QString& pdf, const QString& key);
struct PdfNote {
  QString contents;
  QRectF box;  // points, origin at the top left
};
// The highlight annotations of page `page` (1-based).
std::vector<PdfNote> pdfHighlights(const QString& pdf, int page);
// The output of pdffonts.
QString pdfFonts(const QString& pdf);

// A drawn word's box on a 300-dpi page, in points.
QRectF inPoints(const QRectF& pixels);
// The drawn words of `page` that pdftotext finds with their text, their centre within
// `tolerance` points of where they were drawn.
QStringList wordsFoundInPlace(const TestPage& page, const PdfPage& found, double tolerance = 4.0);
// The texts of the words drawn on `page`.
QStringList allWords(const TestPage& page);

// Page `page` (1-based) rendered by Poppler (pdftocairo) at `dpi`, in grey or in colour.
QImage renderedPage(const QString& pdf, int page, int dpi = 300, bool grey = true);
// The share of dark pixels in `image`, or in its part `box` (pixels).
double inkShare(const QImage& image, const QRect& box = QRect());

// Two images with the same size and the same grey value in every pixel.
bool samePixels(const QImage& a, const QImage& b);

QJsonObject readJson(const QString& path);

// A folder to release in: setup.json (image only unless `partTwo` says otherwise), page.png (two
// sample lines) and batch.json (one document of page.png).
struct ReleaseFolder {
  QTemporaryDir dir;
  explicit ReleaseFolder(const QVariantMap& partTwo = {{QStringLiteral("OutputFormatType"), 2}});
  QString path(const QString& name) const { return dir.filePath(name); }
  QString out() const { return path(QStringLiteral("out")); }
  // --setup, --batch, --out and --quiet of this folder.
  QStringList arguments() const;
  ProgramRun run(const QStringList& extra = {}, const QStringList& environment = {}) const {
    return runProgram(zanReleaseBinary(), arguments() + extra, environment, 60000);
  }
};

// A PDF written by hand: `objects` (without "N 0 obj") numbered from 1, the first the catalog.
QByteArray handWrittenPdf(const QList<QByteArray>& objects);

// Writes `data` into `path`, creating its folder.
void writeFile(const QString& path, const QByteArray& data);

// Writes `batch` (JSON) beside the pages and returns its path.
QString writeBatchFile(const QString& path, const QJsonObject& batch);
// Writes `dir`/batch.json: the batch "Test" of `documents`, each a list of page file names
// relative to `dir`. Returns its path.
QString writeDocuments(const QString& dir, const std::vector<QStringList>& documents);

// Sets a file's modification time `seconds` into the past (a file left long ago, or stamped by
// a machine whose clock is that far behind).
void setModifiedAgo(const QString& path, int seconds);

}  // namespace zan::testing
