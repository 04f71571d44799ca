// The preview pane driven as a user drives it (on an X display when the suite has one):
// recognition in the background, marks that follow the threshold at once, the output types, the
// page chooser, the mouse and the keyboard, the export of the page's words.
#include "preview_fixture.h"

#include "page_view.h"
#include "release/page_file.h"
#include "release/recognizer.h"
#include "release/release_error.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <atomic>

using namespace zan;
using namespace zan::testing;
using zan::preview::PreviewPane;
using zan::preview::PreviewWord;

namespace {

class PreviewPaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    page = dir.filePath(QStringLiteral("page.png"));
    ASSERT_TRUE(savePage(renderTextPage(garbledLines()).image, page));
    pane.resize(1000, 760);
    pane.show();
  }
  int wordIndex(const QString& text) const {
    const QList<PreviewWord> words = pane.words();
    for (int i = 0; i < words.size(); ++i)
      if (words[i].text == text) return i;
    return -1;
  }
  QString label(const char* name) const {
    auto* l = pane.findChild<QLabel*>(QLatin1String(name));
    return l ? l->text() : QString();
  }
  QTemporaryDir dir;
  QString page;
  PreviewPane pane;
};

}  // namespace

// A pane's recognizer (its language models, tens of MB) must end with the pane, whether the page
// was shown or still being read: one that a worker thread held past the pane's end was charged as
// a leak when the process ended right after its preview.
TEST(PreviewPaneLifetime, RecognizerEndsWithThePane) {
  QTemporaryDir dir;
  const QString page = dir.filePath(QStringLiteral("page.png"));
  ASSERT_TRUE(savePage(renderTextPage(sampleLines(2)).image, page));
  const SetupParts parts = setupParts(QStringLiteral("2"));
  const int before = release::Recognizer::living();
  for (const bool waitForThePage : {true, false}) {
    {
      PreviewPane pane;
      pane.setSettings(parts.one, parts.two);
      pane.setPage(page);
      if (waitForThePage) {
        ASSERT_TRUE(waitShown(pane));
        EXPECT_EQ(release::Recognizer::living(), before + 1);
      } else {
        ASSERT_TRUE(pane.isBusy());
      }
    }
    EXPECT_EQ(release::Recognizer::living(), before)
        << (waitForThePage ? "after a page was shown" : "while a page was being read");
  }
}

// The garbled word must be marked with its reason, listed and counted; a threshold change
// must mark again at once, without recognising the page again (a preview that freezes the
// dialog or lags a frame behind the setting).
TEST_F(PreviewPaneTest, MarksFollowTheThresholdWithoutRecognisingAgain) {
  SetupParts parts = setupParts(QStringLiteral("2"), {{QStringLiteral("ConfidenceThreshold"), 60}});
  pane.setSettings(parts.one, parts.two);
  pane.setPage(page);
  EXPECT_TRUE(pane.isBusy()) << "recognition does not run in the background";
  ASSERT_TRUE(waitShown(pane)) << qPrintable(label("previewMessage"));
  const int garbled = wordIndex(kGarbled);
  ASSERT_GE(garbled, 0);
  EXPECT_TRUE(pane.words()[garbled].reasons.contains(QStringLiteral("WordNotInDictionary")));
  auto* list = pane.findChild<QListWidget*>(QStringLiteral("suspectList"));
  ASSERT_TRUE(list);
  int marked = 0;
  for (const PreviewWord& w : pane.words()) marked += w.reasons.isEmpty() ? 0 : 1;
  EXPECT_EQ(list->count(), marked);
  EXPECT_TRUE(label("suspectCount").startsWith(QString::number(marked)));

  // Every word below 100 %: all of them marked, at once.
  parts.one.insert(QStringLiteral("ConfidenceThreshold"), 100);
  QSignalSpy shown(&pane, &PreviewPane::previewShown);
  pane.setSettings(parts.one, parts.two);
  EXPECT_EQ(shown.count(), 1) << "marks were not redrawn at once";
  EXPECT_FALSE(pane.isBusy()) << "a threshold change recognised the page again";
  for (const PreviewWord& w : pane.words())
    EXPECT_TRUE(w.reasons.contains(QStringLiteral("LowOcrConfidence"))) << qPrintable(w.text);
  EXPECT_EQ(list->count(), pane.words().size());

  // Unticking the dictionary marker takes the garbled word's reason away.
  parts.one.insert(QStringLiteral("WordNotInDictionary"), false);
  parts.one.insert(QStringLiteral("ConfidenceThreshold"), 10);
  pane.setSettings(parts.one, parts.two);
  EXPECT_FALSE(pane.isBusy());
  EXPECT_TRUE(pane.words()[garbled].reasons.isEmpty());

  // The language is recognised again, after a pause.
  parts.two.insert(QStringLiteral("OcrLanguage"), 5);
  pane.setSettings(parts.one, parts.two);
  EXPECT_FALSE(pane.isBusy()) << "no pause before recognising again";
  EXPECT_TRUE(QTest::qWaitFor([&] { return pane.isBusy(); }, 3000)) << "not recognised again";
  ASSERT_TRUE(waitShown(pane));
}

// Each output type shows what its PDF holds: the image only carries no words and says so; the
// normal PDF draws its text without the image (a preview that shows one layout for all three).
TEST_F(PreviewPaneTest, OutputTypesShowWhatThePdfHolds) {
  const struct {
    int format;
    bool words;
    const char* note;
  } types[] = {{3, true, ""}, {1, true, "Normal PDF"}, {2, false, "Image only"}};
  for (const auto& t : types) {
    const SetupParts parts =
        setupParts(QStringLiteral("2"), {}, {{QStringLiteral("OutputFormatType"), t.format}});
    pane.setSettings(parts.one, parts.two);
    if (pane.pagePath().isEmpty()) pane.setPage(page);
    ASSERT_TRUE(waitShown(pane)) << t.format;
    EXPECT_EQ(!pane.words().isEmpty(), t.words) << t.format;
    EXPECT_TRUE(label("previewMessage").contains(QLatin1String(t.note))) << t.format;
  }
}

// A setting that does not validate shows its message instead of a preview, and nothing runs.
TEST_F(PreviewPaneTest, RefusedSettingsShowTheirMessage) {
  const SetupParts parts = setupParts(QStringLiteral("2"), {}, {{QStringLiteral("Accuracy"), 3}});
  pane.setSettings(parts.one, parts.two);
  pane.setPage(page);
  EXPECT_FALSE(pane.isBusy());
  EXPECT_TRUE(label("previewMessage").startsWith(QLatin1String("No preview:")))
      << qPrintable(label("previewMessage"));
  pane.setSettingsProblem(QStringLiteral("The confidence threshold must be 0 to 100."));
  EXPECT_TRUE(label("previewMessage").contains(QLatin1String("threshold must be")));
}

// The mouse outlines the word under it, selects words by dragging and Shift+click, Ctrl+C
// copies them, Ctrl+wheel zooms and the buttons fit the page or show it at 100 %.
TEST_F(PreviewPaneTest, MouseAndKeysOnThePage) {
  const SetupParts parts = setupParts(QStringLiteral("2"));
  pane.setSettings(parts.one, parts.two);
  pane.setPage(page);
  ASSERT_TRUE(waitShown(pane));
  auto* view = pane.findChild<preview::PageView*>(QStringLiteral("pageView"));
  ASSERT_TRUE(view);
  const int garbled = wordIndex(kGarbled);
  ASSERT_GE(garbled, 1);
  const QPoint at = view->mapFromScene(view->wordRect(garbled).center());
  QTest::mouseMove(view->viewport(), at);
  EXPECT_EQ(view->hoveredWord(), garbled);
  const QPoint before = view->mapFromScene(view->wordRect(garbled - 1).center());
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, before);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, at);
  EXPECT_EQ(view->selection(), std::make_pair(garbled - 1, garbled));
  view->setFocus();
  QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(QApplication::clipboard()->text().endsWith(kGarbled))
      << qPrintable(QApplication::clipboard()->text());

  pane.findChild<QAbstractButton*>(QStringLiteral("actualSizeButton"))->click();
  EXPECT_NEAR(pane.zoom(), 1.0, 1e-6);
  QWheelEvent wheel(QPointF(100, 100), view->viewport()->mapToGlobal(QPointF(100, 100)), QPoint(),
                    QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view->viewport(), &wheel);
  EXPECT_GT(pane.zoom(), 1.1) << "Ctrl+wheel does not zoom";
  pane.findChild<QAbstractButton*>(QStringLiteral("fitButton"))->click();
  EXPECT_LT(pane.zoom(), 1.0) << "a page larger than the view is not fitted";

  // The list of marks leads to the word on the page.
  auto* list = pane.findChild<QListWidget*>(QStringLiteral("suspectList"));
  ASSERT_GT(list->count(), 0);
  list->setCurrentRow(0);
  EXPECT_EQ(view->selection().first, list->item(0)->data(Qt::UserRole).toInt());
}

// Every control of the pane is reached with Tab and has a name a screen reader speaks.
TEST_F(PreviewPaneTest, EveryControlReachableAndNamed) {
  pane.findChild<QComboBox*>(QStringLiteral("pageChooser"))->setEnabled(true);
  QWidget* first = pane.findChild<QWidget*>(QStringLiteral("pageChooser"));
  first->setFocus();
  QStringList reached;
  QWidget* w = first;
  for (int i = 0; i < 40; ++i) {
    reached << w->objectName();
    const QString name =
        w->accessibleName().isEmpty() ? w->property("text").toString() : w->accessibleName();
    EXPECT_FALSE(name.isEmpty()) << qPrintable(w->objectName()) << " ("
                                 << w->metaObject()->className() << ") has no name";
    w = w->nextInFocusChain();
    while (w != first &&
           !(w->focusPolicy() & Qt::TabFocus && w->isVisibleTo(&pane) && pane.isAncestorOf(w)))
      w = w->nextInFocusChain();
    if (w == first) break;
  }
  for (const char* name : {"openPageButton", "fitButton", "actualSizeButton", "pageView",
                           "suspectList", "sampleValues"})
    EXPECT_TRUE(reached.contains(QLatin1String(name)))
        << name << " not reached: " << qPrintable(reached.join(' '));
}

// A multi-page TIFF offers its pages; the second page shows the second page's words.
TEST_F(PreviewPaneTest, PageChooserOfAMultiPageTiff) {
  const QString tiff = dir.filePath(QStringLiteral("pages.tif"));
  ASSERT_TRUE(saveMultiPageTiff(
      {renderTextPage(sampleLines(0)).image, renderTextPage(garbledLines()).image}, tiff, false));
  const SetupParts parts = setupParts(QStringLiteral("2"));
  pane.setSettings(parts.one, parts.two);
  pane.setPage(tiff);
  ASSERT_TRUE(waitShown(pane));
  auto* chooser = pane.findChild<QComboBox*>(QStringLiteral("pageChooser"));
  EXPECT_EQ(chooser->count(), 2);
  EXPECT_EQ(pane.pageCount(), 2);
  EXPECT_LT(wordIndex(kGarbled), 0);
  chooser->setCurrentIndex(1);
  emit chooser->activated(1);
  ASSERT_TRUE(waitShown(pane));
  EXPECT_EQ(pane.pageIndex(), 1);
  EXPECT_GE(wordIndex(kGarbled), 0);
}

// Stopping drops the result: the page shown does not change behind the user's back.
TEST_F(PreviewPaneTest, StoppedRecognitionIsDropped) {
  const SetupParts parts = setupParts(QStringLiteral("2"));
  pane.setSettings(parts.one, parts.two);
  QSignalSpy shown(&pane, &PreviewPane::previewShown);
  pane.setPage(page);
  ASSERT_TRUE(pane.isBusy());
  pane.findChild<QAbstractButton*>(QStringLiteral("stopButton"))->click();
  EXPECT_FALSE(pane.isBusy());
  QTest::qWait(6000);
  EXPECT_EQ(shown.count(), 0);
  EXPECT_TRUE(pane.words().isEmpty());
}

// A raised stop flag makes Tesseract stop at its first word and recognise() say so; an
// unraised one changes nothing (a flag that only drops the result while Tesseract reads the page
// to its end, or one that stops every recognition).
TEST_F(PreviewPaneTest, StopFlagStopsTesseract) {
  const release::TakenPage taken = release::PageFile::read(page).take(0);
  release::Recognizer recognizer(QStringLiteral("eng"));
  for (const bool raised : {true, false}) {
    std::atomic<bool> stop(raised);
    recognizer.setCancelFlag(&stop);
    QString failure;
    std::size_t words = 0;
    try {
      words = recognizer.recognise(taken.pix.get(), 300, false, false).size();
    } catch (const release::ReleaseError& e) {
      failure = e.message();
    }
    EXPECT_EQ(failure, raised ? release::kRecognitionCancelled : QString()) << raised;
    EXPECT_EQ(words > 0, !raised) << raised;
  }
}

// The export is the release report's document entry, with the marks and the document
// information resolved from the sample values (an export in a format of its own).
TEST_F(PreviewPaneTest, ExportIsTheReportsJson) {
  const SetupParts parts = setupParts(
      QStringLiteral("2"), {{QStringLiteral("TitleField.FieldType"), 1},
                            {QStringLiteral("TitleField.FieldName"), QStringLiteral("Doc")}});
  pane.setSampleValues({{QStringLiteral("Doc"), QStringLiteral("Invoice 4711")}}, {});
  pane.setSettings(parts.one, parts.two);
  pane.setPage(page);
  ASSERT_TRUE(waitShown(pane));
  EXPECT_EQ(pane.documentInformation().value(QStringLiteral("Title")).toString(),
            QStringLiteral("Invoice 4711"));
  const QString file = dir.filePath(QStringLiteral("words.json"));
  ASSERT_TRUE(pane.exportReport(file));
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
  EXPECT_EQ(o.value(QStringLiteral("pages"))
                .toArray()
                .first()
                .toObject()
                .value(QStringLiteral("words"))
                .toInt(),
            pane.words().size());
  bool found = false;
  for (const auto& s : o.value(QStringLiteral("suspectWords")).toArray())
    found |= s.toObject().value(QStringLiteral("text")).toString() == kGarbled;
  EXPECT_TRUE(found);
  EXPECT_EQ(o.value(QStringLiteral("documentInformation"))
                .toObject()
                .value(QStringLiteral("Title"))
                .toString(),
            QStringLiteral("Invoice 4711"));
  QString error;
  EXPECT_FALSE(pane.exportReport(dir.filePath(QStringLiteral("no/such/folder/x.json")), &error));
  EXPECT_TRUE(error.contains(QLatin1String("cannot be written")));
}
