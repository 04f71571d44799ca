// Editing ZANPdf3: Change from check boxes, lists, page content, document rows and Restore
// Defaults; the confidence threshold box driven with real key events.

#include "panel_fixture.h"

#include "external/links_control.h"
#include "external/pdf_settings.h"

#include <QClipboard>

using namespace zan::testing;

namespace {

const char* const kCheckBoxes[] = {
    "chkLowOcrConfidence", "chkLowFontConfidence", "chkWordNotInDictionary", "chkMixedAlphaNumeric",
    "chkNumericOnly",      "chkCreateThumbnails",  "chkEmbedFonts",          "chkEnableLinks",
    "chkEnableStructure",  "chkAutoPageRotation"};

class EditingTest : public PanelTest {
 protected:
  void show() {
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
  }
  void clickBox(const char* name) {
    QCheckBox* box = child<QCheckBox>(name);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  }
  // Replaces the threshold text as a user would: select all, then type.
  void typeThreshold(const QString& text) {
    QLineEdit* e = edit("txtConfidenceThreshold");
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
  }
};

// Catches Change raised while loading, or not exactly once per check-box click.
TEST_F(EditingTest, CheckBoxClicksRaiseOneChangeEachAfterInit) {
  create();
  show();
  clickBox("chkEmbedFonts");
  EXPECT_EQ(changes, 0);
  init();
  EXPECT_EQ(changes, 0);
  for (const char* name : kCheckBoxes) {
    SCOPED_TRACE(name);
    const int before = changes;
    clickBox(name);
    clickBox(name);
    EXPECT_EQ(changes, before + 2);
  }
  // A real edit of a document-information row, after Init has set the links control up.
  zan::DocInfoField edited;
  edited.setFieldText(QStringLiteral("Quarterly report"));
  world.links->editRow(1, edited);
  EXPECT_EQ(changes, 21);
}

// Catches list clicks compared with the previous selection instead of the stored value.
TEST_F(EditingTest, ListClicksCompareWithTheStoredValue) {
  store("Dictionary", "D2");
  create();
  hub().dictionaries = "D1|D2|";
  init();
  QComboBox* language = combo("cmbLanguage");
  language->setCurrentIndex(language->findText("Dutch"));
  language->setCurrentIndex(language->findText("French"));
  language->setCurrentIndex(language->findText("English (US)"));
  EXPECT_EQ(changes, 2);
  combo("cmbDictionary")->setCurrentIndex(0);
  combo("cmbDictionary")->setCurrentIndex(1);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(world.settings->CaptureLanguage(), "English (US)");  // nothing stored by a click
}

// Catches "Image Only" not stored, the wrong controls disabled, the workflow not forced, or
// controls left disabled after leaving "Image Only".
TEST_F(EditingTest, ImageOnlyPageContent) {
  struct Case {
    QString workflows;
    QString selected;  // workflow shown afterwards
    int changes;       // page content, then each workflow visited that differs from "B"
  };
  const Case cases[] = {
      {"A|PDF Image Only|B|", "PDF Image Only", 3}, {"A|B|", "A", 3}, {"|", "", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.workflows.toStdString());
    store("Workflow", "B");
    create();
    hub().workflows = c.workflows;
    init();
    changes = 0;
    panel->putEnabled(false);  // a page content edit enables the panel again
    combo("cmbPageContent")->setCurrentIndex(3);
    EXPECT_EQ(world.settings->PageContent(), "Image Only");
    EXPECT_EQ(combo("cmbWorkflow")->currentText(), c.selected);
    EXPECT_EQ(changes, c.changes);
    EXPECT_TRUE(ownEnabled("cmbPageContent"));
    EXPECT_TRUE(ownEnabled("cmbWorkflow"));
    EXPECT_FALSE(ownEnabled("cmbLanguage"));
    EXPECT_FALSE(ownEnabled("spnConfidenceThreshold"));
    EXPECT_FALSE(ownEnabled("txtConfidenceThreshold"));  // still marked: nothing accepted yet

    combo("cmbPageContent")->setCurrentIndex(1);
    EXPECT_EQ(world.settings->PageContent(), "Searchable Image (Compact)");
    EXPECT_TRUE(ownEnabled("cmbLanguage"));
    EXPECT_TRUE(ownEnabled("spnConfidenceThreshold"));
  }
}

// Catches the threshold box still disabled by "Image Only" after a value was accepted.
TEST_F(EditingTest, AcceptedThresholdNoLongerCarriesTheMark) {
  create();
  init();
  show();
  typeThreshold("42");
  combo("cmbPageContent")->setCurrentIndex(3);
  EXPECT_TRUE(ownEnabled("txtConfidenceThreshold"));
  EXPECT_FALSE(ownEnabled("spnConfidenceThreshold"));
}

// Catches a later Init or Restore Defaults silent on a live panel, or the button doing
// something other than RestoreDefaults.
TEST_F(EditingTest, ReloadingALivePanelRaisesChange) {
  store("NumericOnly", true);
  create();
  init();
  show();
  EXPECT_EQ(changes, 0);
  clickBox("chkEmbedFonts");
  changes = 0;
  init();
  EXPECT_EQ(child<QCheckBox>("chkEmbedFonts")->checkState(), Qt::Checked);
  EXPECT_GT(changes, 0);
  changes = 0;
  QTest::mouseClick(child<QPushButton>("cmdRestoreDefaults"), Qt::LeftButton);
  EXPECT_EQ(child<QCheckBox>("chkNumericOnly")->checkState(), Qt::Unchecked);
  EXPECT_GE(changes, 1);
}

// Catches characters other than digits reaching the box, a rejected text not restored with
// its caret, and wrong arrow-key limits.
TEST_F(EditingTest, ThresholdTypingAndArrowKeys) {
  create();
  init();
  show();
  QLineEdit* e = edit("txtConfidenceThreshold");
  typeThreshold("10");
  QTest::keyClicks(e, "a -+.");
  EXPECT_EQ(e->text(), "10");
  changes = 0;
  QTest::keyClick(e, Qt::Key_5);
  EXPECT_EQ(e->text(), "10");
  EXPECT_EQ(e->cursorPosition(), 2);
  EXPECT_EQ(changes, 1);
  QTest::keyClick(e, Qt::Key_0);
  EXPECT_EQ(e->text(), "100");

  const std::tuple<const char*, Qt::Key, const char*> steps[] = {{"100", Qt::Key_Up, "100"},
                                                                 {"99", Qt::Key_Up, "100"},
                                                                 {"1", Qt::Key_Down, "1"},
                                                                 {"2", Qt::Key_Down, "1"}};
  for (const auto& [from, key, to] : steps) {
    SCOPED_TRACE(from);
    typeThreshold(from);
    QTest::keyClick(e, key);
    EXPECT_EQ(e->text(), to);
  }
}

// Catches a pasted negative number kept after focus loss, an empty box filled, and a rejected
// first text turning into "Image Only".
TEST_F(EditingTest, ThresholdPasteAndFocusLoss) {
  create();
  show();
  QLineEdit* e = edit("txtConfidenceThreshold");
  e->setFocus();
  e->selectAll();
  QApplication::clipboard()->setText("500");
  QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(e->text(), "95");

  e->selectAll();
  QApplication::clipboard()->setText("-5");
  QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(e->text(), "-5");
  child<QWidget>("chkEmbedFonts")->setFocus();
  EXPECT_EQ(e->text(), "1");

  typeThreshold("");
  QTest::keyClick(e, Qt::Key_Backspace);
  child<QWidget>("chkEmbedFonts")->setFocus();
  EXPECT_EQ(e->text(), "");
}

// Catches Error raised with wrong arguments, or a failure escaping the threshold handler.
TEST_F(EditingTest, ThresholdFailureRaisesErrorEvent) {
  create();
  init();
  show();
  QStringList seen;
  QObject::connect(
      panel.get(), &ZANPdf3::Error,
      [&](qint32& n, QString& msg, QString& src, qint16& line, bool& reRaise, bool& display) {
        seen << QString::number(n) << msg << src << QString::number(line)
             << QString::number(reRaise) << QString::number(display);
      });
  auto throwing = QObject::connect(panel.get(), &ZANPdf3::Change,
                                   [] { zan::raiseError(17, "host", "Host refused"); });
  typeThreshold("7");
  QObject::disconnect(throwing);
  EXPECT_EQ(seen, QStringList({"17", "Internal error: Host refused",
                               "QelPDFSetup.txtConfidenceThreshold_Change()", "0", "0", "1"}));
  EXPECT_TRUE(world.platform->boxes.empty());
}

}  // namespace
