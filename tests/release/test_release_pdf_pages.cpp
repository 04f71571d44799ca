// PDF pages in: a page that is one image is taken as stored (its pixels, a JPEG's bytes, its
// turn by /Rotate), any other page rendered at 300 dpi and read, a page that carries text kept
// as it is unless asked to read it again, every page of a multi-page PDF a page, and a broken
// or oversized PDF refused in one line before anything is rendered.
#include "release_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

using namespace zan::testing;

namespace {

const QStringList kLines = {"Please return the signed copy by Friday.",
                            "The warehouse received forty boxes of paper.",
                            "Payment by bank transfer is preferred."};

// One page of `mediaBox` drawing `content` with `resources`.
QByteArray onePagePdf(const QByteArray& mediaBox, const QByteArray& content,
                      const QByteArray& resources, const QList<QByteArray>& more = {}) {
  return handWrittenPdf(QList<QByteArray>{"<< /Type /Catalog /Pages 2 0 R >>",
                                          "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                          "<< /Type /Page /Parent 2 0 R /MediaBox [" + mediaBox +
                                              "] /Contents 4 0 R /Resources << " + resources +
                                              " >> >>",
                                          "<< /Length " + QByteArray::number(content.size()) +
                                              " >>\nstream\n" + content + "\nendstream"} +
                        more);
}

// An A5 page of kLines written by Qt: as text, or as the letters' outlines (no text at all).
void writeQtPdf(const QString& path, bool asText) {
  QPdfWriter writer(path);
  writer.setPageSize(QPageSize(QPageSize::A5));
  writer.setResolution(300);
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter(&writer);
  QFont font("DejaVu Serif");
  font.setPixelSize(50);  // 12 points at 300 dpi
  double y = 300;
  for (const QString& line : kLines) {
    if (asText) {
      painter.setFont(font);
      painter.drawText(QPointF(150, y), line);
    } else {
      QPainterPath outline;
      outline.addText(QPointF(150, y), font, line);
      painter.fillPath(outline, Qt::black);
    }
    y += 90;
  }
}

// The scans, the PDFs made of them, and one release of a PDF per document.
struct PdfRelease {
  QTemporaryDir dir;
  QImage grey, bitonal;
  QByteArray jpeg;
  ProgramRun run, made, first;
  QJsonObject report;

  PdfRelease() {
    const QDir d(dir.path());
    const TestPage page = renderTextPage(kLines);
    grey = page.image;
    savePage(grey, d.filePath("grey.png"));
    QImage colour = grey.convertToFormat(QImage::Format_RGB32);
    QPainter(&colour).fillRect(100, 1800, 600, 400, QColor(200, 80, 40));
    colour.save(d.filePath("colour.jpg"), "JPEG", 85);
    jpeg = readAll(d.filePath("colour.jpg"));
    saveMultiPageTiff({grey}, d.filePath("bitonal.tif"), true);
    bitonal = grey.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);  // as the TIFF
    // The scans as one PDF of three pages that are each one image (grey Flate, JPEG, CCITT G4).
    const QString imageOnly = d.filePath("image-only.json");
    writeOcrSetup(imageOnly, {}, {{"OutputFormatType", 2}});
    made = runZanRelease({"--setup", imageOnly, "--batch",
                          writeDocuments(dir.path(), {{"grey.png", "colour.jpg", "bitonal.tif"}}),
                          "--out", d.filePath("scans"), "--pdfa", "none", "--quiet"});
    QFile::copy(d.filePath("scans/document-0001.pdf"), d.filePath("scans.pdf"));
    // The same three pages shown turned by 90 degrees (/Rotate), as qpdf turns them.
    QProcess::execute("qpdf", {d.filePath("scans.pdf"), "--rotate=+90", d.filePath("turned.pdf")});
    writeQtPdf(d.filePath("outlines.pdf"), false);
    writeQtPdf(d.filePath("text.pdf"), true);
    writeFile(d.filePath("helvetica.pdf"),
              onePagePdf("0 0 420 595", "BT /F1 14 Tf 40 500 Td (A letter in Helvetica) Tj ET",
                         "/Font << /F1 5 0 R >>",
                         {"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"}));
    writeFile(d.filePath("broken.pdf"), "%PDF-1.4\n1 0 obj << /Type /Catalog >>\ngarbage\n");
    // A drawing whose cross-reference table points wrong: qpdf and Poppler repair it, saying so.
    QByteArray repaired = onePagePdf("0 0 420 595", "0 0 0 rg 50 500 300 20 re f", "");
    const qsizetype at = repaired.lastIndexOf("startxref\n") + 10;
    repaired.replace(at, repaired.indexOf('\n', at) - at, "17");
    writeFile(d.filePath("repaired.pdf"), repaired);
    // The colour JPEG drawn turned clockwise by its matrix (its top at the page's right edge).
    const QByteArray across = QByteArray::number(grey.height() * 72.0 / 300),
                     down = QByteArray::number(grey.width() * 72.0 / 300);
    writeFile(
        d.filePath("matrix.pdf"),
        onePagePdf("0 0 " + across + " " + down,
                   "q 0 -" + down + " " + across + " 0 0 " + down + " cm /Im0 Do Q",
                   "/XObject << /Im0 5 0 R >>",
                   {"<< /Type /XObject /Subtype /Image /Width " + QByteArray::number(grey.width()) +
                    " /Height " + QByteArray::number(grey.height()) +
                    " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /DCTDecode /Length " +
                    QByteArray::number(jpeg.size()) + " >>\nstream\n" + jpeg + "\nendstream"}));
    // 200 inches square: 60000 x 60000 pixels at 300 dpi.
    writeFile(d.filePath("huge.pdf"), onePagePdf("0 0 14400 14400", "0 0 100 100 re f", ""));
    report = release({});
    first = run;
  }

  // Releases one document per PDF as an image with hidden text into out-<name>.
  QJsonObject release(const QStringList& arguments, const QString& name = "out") {
    const QDir d(dir.path());
    const QString setup = d.filePath("setup.json");
    writeOcrSetup(setup, {}, {});
    std::vector<QStringList> documents;
    for (const char* pdf : {"scans.pdf", "turned.pdf", "outlines.pdf", "text.pdf", "helvetica.pdf",
                            "broken.pdf", "huge.pdf", "repaired.pdf", "matrix.pdf"})
      documents.push_back({pdf});
    run = runZanRelease(QStringList{"--setup", setup, "--batch",
                                    writeDocuments(dir.path(), documents), "--out",
                                    d.filePath(name)} +
                        arguments);
    return readJson(d.filePath(name + "/release-report.json"));
  }
  QString path(const char* name) const { return QDir(dir.path()).filePath(QLatin1String(name)); }
  QString pdf(int document, const QString& name = "out") const {
    return QDir(dir.path())
        .filePath(
            QStringLiteral("%1/document-%2.pdf").arg(name).arg(document, 4, 10, QLatin1Char('0')));
  }
  static QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

PdfRelease& released() {
  static PdfRelease r;
  return r;
}

QJsonObject document(const QJsonObject& report, int n) {
  return report["documents"].toArray().at(n - 1).toObject();
}

}  // namespace

// Catches a one-image page rendered instead of taken (its pixels resampled, its JPEG encoded
// again), a multi-page PDF read as one page, and a /Rotate lost or applied to the pixels.
TEST(PdfPages, OneImagePagesTakenAsStored) {
  PdfRelease& r = released();
  ASSERT_EQ(r.made.exitCode, 0) << qPrintable(r.made.err);
  ASSERT_EQ(r.first.exitCode, 1) << qPrintable(r.first.err);  // the broken and the huge fail
  for (int n : {1, 2}) {
    SCOPED_TRACE(n == 1 ? "as scanned" : "shown turned by /Rotate 90");
    const QJsonObject doc = document(r.report, n);
    ASSERT_EQ(doc["status"].toString(), "released") << qPrintable(doc["reason"].toString());
    const QJsonArray pages = doc["pages"].toArray();
    ASSERT_EQ(pages.size(), 3);
    for (int p = 0; p < 3; ++p) {
      EXPECT_EQ(pages[p]["sourcePage"].toInt(), p + 1);
      EXPECT_EQ(pages[p]["dpiSource"].toString(), "PDF page");
      EXPECT_NEAR(pages[p]["dpi"].toDouble(), 300, 0.5);
    }
    const QString pdf = r.pdf(n);
    EXPECT_TRUE(samePixels(pdfImage(pdf, 1), r.grey)) << "the grey page's pixels changed";
    EXPECT_EQ(pdfJpeg(pdf, 2), r.jpeg) << "the JPEG was not stored as it was";
    EXPECT_TRUE(samePixels(pdfImage(pdf, 3), r.bitonal)) << "the bitonal page's pixels changed";
    const std::vector<PdfPage> words = pdfWords(pdf);
    ASSERT_EQ(words.size(), 3u);
    const QSizeF a5(1748 * 72.0 / 300, 2480 * 72.0 / 300);
    EXPECT_NEAR(words[0].size.width(), n == 1 ? a5.width() : a5.height(), 1);
    const QString first = allWords(words[0]).join(' ');
    if (n == 1) {
      EXPECT_TRUE(first.contains("warehouse")) << qPrintable(first);
    }
  }
}

// Catches a one-image page whose image is drawn turned by its matrix rendered instead of
// taken as stored, or taken but shown the wrong way round (its text then unread).
TEST(PdfPages, ImageTurnedByItsMatrixTakenAsStored) {
  PdfRelease& r = released();
  const QJsonObject doc = document(r.report, 9);
  ASSERT_EQ(doc["status"].toString(), "released") << qPrintable(doc["reason"].toString());
  EXPECT_EQ(pdfJpeg(r.pdf(9), 1), r.jpeg) << "the JPEG was not stored as it was";
  EXPECT_EQ(doc["pages"][0]["rotation"].toInt(), 90);
  // Shown as the page showed it: the two rendered alike, pixel for pixel but for a few edges.
  const QImage shown = renderedPage(r.pdf(9), 1, 50),
               drawn = renderedPage(r.path("matrix.pdf"), 1, 50);
  ASSERT_EQ(shown.size(), drawn.size());
  EXPECT_GT(shown.width(), shown.height());
  int differing = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      differing += std::abs(qGray(shown.pixel(x, y)) - qGray(drawn.pixel(x, y))) > 64 ? 1 : 0;
  EXPECT_LT(differing, shown.width() * shown.height() / 100);
}

// Catches a page without an image to take (vector outlines of letters) refused, or read from
// too few pixels: it is rendered at 300 dpi and its words are found.
TEST(PdfPages, VectorPageRenderedAndRead) {
  PdfRelease& r = released();
  const QJsonObject doc = document(r.report, 3);
  ASSERT_EQ(doc["status"].toString(), "released") << qPrintable(doc["reason"].toString());
  EXPECT_EQ(doc["pages"][0]["dpi"].toDouble(), 300);
  const QString text = pageTexts(r.pdf(3)).join(' ');
  for (const char* word : {"signed", "warehouse", "transfer"})
    EXPECT_TRUE(text.contains(QLatin1String(word))) << qPrintable(text);
}

// Catches a page that carries text read again by default (its own text replaced by a reading),
// kept pages that break PDF/A, a kept page that PDF/A cannot hold released as PDF/A anyway,
// and --pdf-text read not reading it.
TEST(PdfPages, PagesWithTextKeptUnlessAsked) {
  PdfRelease& r = released();
  const QJsonObject kept = document(r.report, 4);
  ASSERT_EQ(kept["status"].toString(), "released") << qPrintable(kept["reason"].toString());
  EXPECT_TRUE(kept["pages"][0]["kept"].toBool());
  EXPECT_EQ(kept["pages"][0]["words"].toInt(), 0);
  EXPECT_EQ(pdfImageCount(r.pdf(4), 1), 0) << "the kept page was rendered into an image";
  const QString text = pageTexts(r.pdf(4)).join(' ');
  EXPECT_TRUE(text.contains("Please return the signed copy by Friday.")) << qPrintable(text);
  QProcess rules;
  rules.start("/usr/bin/python3", {QStringLiteral(ZAN_PDFA_RULES), r.pdf(4)});
  rules.waitForFinished(60000);
  const QJsonObject broken = QJsonDocument::fromJson(rules.readAllStandardOutput()).object();
  ASSERT_FALSE(broken.isEmpty());
  for (auto it = broken.begin(); it != broken.end(); ++it)
    EXPECT_TRUE(it->toArray().isEmpty()) << qPrintable(it.key());

  const QJsonObject helvetica = document(r.report, 5);
  EXPECT_EQ(helvetica["status"].toString(), "failed");
  EXPECT_TRUE(helvetica["reason"].toString().contains("a font it does not embed (Helvetica)"))
      << qPrintable(helvetica["reason"].toString());
  EXPECT_TRUE(r.first.err.contains("--pdf-text read")) << qPrintable(r.first.err);

  const QJsonObject read = r.release({"--pdf-text", "read", "--pdfa", "none"}, "read");
  for (int n : {4, 5}) {
    const QJsonObject doc = document(read, n);
    ASSERT_EQ(doc["status"].toString(), "released") << qPrintable(doc["reason"].toString());
    EXPECT_FALSE(doc["pages"][0]["kept"].toBool());
    EXPECT_GE(doc["pages"][0]["words"].toInt(), 3);
  }
  EXPECT_TRUE(pdfFonts(r.pdf(4, "read")).contains("GlyphLessFont"));
  EXPECT_FALSE(pdfFonts(r.pdf(4, "read")).contains("DejaVuSerif")) << "the old text stayed";
}

// Catches a broken PDF or a page too large to render taking the release down, qpdf's and
// Poppler's messages beside the program's lines (a repaired PDF released with them on the
// terminal), and a huge page rendered before it is refused.
TEST(PdfPages, BrokenAndOversizedPdfsRefusedInOneLine) {
  PdfRelease& r = released();
  EXPECT_EQ(document(r.report, 8)["status"].toString(), "released")
      << qPrintable(document(r.report, 8)["reason"].toString());
  const QString broken = document(r.report, 6)["reason"].toString();
  EXPECT_TRUE(broken.startsWith("page 1 (broken.pdf): a damaged PDF (")) << qPrintable(broken);
  const QString huge = document(r.report, 7)["reason"].toString();
  EXPECT_TRUE(huge.startsWith("page 1 (huge.pdf): the PDF page needs 60000 × 60000 pixels"))
      << qPrintable(huge);
  int failures = 0;
  for (const QString& line : r.first.err.split('\n', Qt::SkipEmptyParts)) {
    EXPECT_TRUE(line.startsWith("zan-release: ")) << "not the program's: " << qPrintable(line);
    failures += line.contains(" not released: ") ? 1 : 0;
  }
  EXPECT_EQ(failures, 3) << qPrintable(r.first.err);  // Helvetica, broken, huge
}
