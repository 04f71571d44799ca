// The preview shows what the PDF holds: the same page released by zan-release with the same
// settings, for each output type and both engines (the capture engine through a running
// zan-hub), has the pane's words in the pane's places, the pane's rotation and the pane's marks.
#include "hub_support.h"
#include "preview_fixture.h"

#include "settings/setup_data.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

using namespace zan;
using namespace zan::testing;

namespace {

struct Case {
  const char* name;
  QString engine;
  QVariantMap two;
};

// A box of the pane (lower left origin) as pdftotext gives it (top left origin).
QPointF centreFromTop(const QRectF& box, double pageHeight) {
  return {box.center().x(), pageHeight - box.center().y()};
}

}  // namespace

// A preview that differs from the PDF: other words, other places, another rotation, other marks.
TEST(PreviewEqualsPdf, EachOutputTypeAndBothEngines) {
  TempHub hub;
  HubProcess service(hub.serviceArguments({"--jobs", "1", "--rescan", "0.2"}));
  const QDir dir(hub.dir.path());
  const QString page = dir.filePath(QStringLiteral("page.png"));
  ASSERT_TRUE(savePage(turnedClockwise(renderTextPage(garbledLines()).image, 90), page));
  const QString batch = writeDocuments(dir.path(), {{QStringLiteral("page.png")}});
  const Case cases[] = {
      {"ocr image with hidden text",
       QStringLiteral("2"),
       {{QStringLiteral("OutputFormatType"), 3}}},
      {"ocr normal pdf", QStringLiteral("2"), {{QStringLiteral("OutputFormatType"), 1}}},
      {"ocr image only", QStringLiteral("2"), {{QStringLiteral("OutputFormatType"), 2}}},
      {"capture searchable office",
       QStringLiteral("3"),
       {{QStringLiteral("Workflow"), QStringLiteral("Searchable Office")}}},
      {"capture archive scans",
       QStringLiteral("3"),
       {{QStringLiteral("Workflow"), QStringLiteral("Archive Scans")}}},
      {"capture image only",
       QStringLiteral("3"),
       {{QStringLiteral("Workflow"), QStringLiteral("PDF Image Only")}}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString name = QStringLiteral("setup-%1.json").arg(++n);
    const QVariantMap one{{QStringLiteral("ConfidenceThreshold"), 90}};
    QVariantMap two = c.two;
    two.insert(QStringLiteral("Rotate90"), true);
    QString setup;
    if (c.engine == QLatin1String("3")) {
      setup = hub.writeSetup(name, two, one);
    } else {
      setup = dir.filePath(name);
      writeOcrSetup(setup, one, two);
    }
    const auto file = SetupFile::load(setup);
    preview::PreviewPane pane;
    pane.setSettings(file->partOne().toMap(), file->partTwo().toMap());
    pane.setPage(page);
    ASSERT_TRUE(waitShown(pane));

    const QString out = dir.filePath(QStringLiteral("out-%1").arg(n));
    const ProgramRun run =
        runZanRelease({"--setup", setup, "--batch", batch, "--out", out, "--quiet"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    QString pdf = QDir(out).filePath(QStringLiteral("document-0001.pdf"));
    if (c.engine == QLatin1String("3")) {
      const QStringList pdfs =
          QDir(hub.pdfs).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
      ASSERT_FALSE(pdfs.isEmpty());
      pdf = QDir(hub.pdfs).filePath(pdfs.first());
    }
    const std::vector<PdfPage> pages = pdfWords(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& found = pages.front();
    // Turned upright: the PDF page stands as the pane shows it.
    EXPECT_EQ(pane.rotation(), 270);
    EXPECT_LT(found.size.width(), found.size.height());

    const QList<preview::PreviewWord> words = pane.words();
    ASSERT_EQ(words.size(), int(found.words.size()));
    QStringList marked;
    for (int i = 0; i < words.size(); ++i) {
      EXPECT_EQ(words[i].text, found.words[std::size_t(i)].text);
      const QPointF centre = centreFromTop(words[i].box, found.size.height());
      EXPECT_NEAR(centre.x(), found.words[std::size_t(i)].box.center().x(), 2.0)
          << qPrintable(words[i].text);
      EXPECT_NEAR(centre.y(), found.words[std::size_t(i)].box.center().y(), 4.0)
          << qPrintable(words[i].text);
      if (!words[i].reasons.isEmpty()) marked << words[i].text;
    }
    const std::vector<PdfNote> notes = pdfHighlights(pdf, 1);
    ASSERT_EQ(int(notes.size()), marked.size());
    for (std::size_t i = 0; i < notes.size(); ++i)
      EXPECT_TRUE(notes[i].contents.contains(QLatin1Char('"') + marked[int(i)] + QLatin1Char('"')))
          << qPrintable(notes[i].contents);
    // The service holds its PDF folder open: empty it, never replace it.
    for (const QString& f : QDir(hub.pdfs).entryList(QDir::Files))
      QFile::remove(QDir(hub.pdfs).filePath(f));
  }
}
