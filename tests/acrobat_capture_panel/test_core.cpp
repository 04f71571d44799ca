// The ZANPdf3 panel object: layout, captions and lists, enabling and the backward tab entry
// (the about box is checked for both panels with the late-bound surface).

#include "panel_fixture.h"

#include <QGroupBox>
#include <QLabel>

using namespace zan::testing;

namespace {

class CoreTest : public PanelTest {};

// Catches a caption left at its "#" placeholder or taken from the wrong string id, a missed
// control, or the narrow button's caption not wrapped.
TEST_F(CoreTest, CaptionsComeFromTheStringTable) {
  create();
  for (QWidget* w : panel->findChildren<QWidget*>()) {
    QString caption;
    if (auto* g = qobject_cast<QGroupBox*>(w)) caption = g->title();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) caption = b->text();
    EXPECT_FALSE(caption.startsWith('#')) << w->objectName().toStdString();
  }
  EXPECT_EQ(child<QGroupBox>("fraLocationOfWorkgroupHub")->title(), "Workgroup H&ub");
  EXPECT_EQ(child<QCheckBox>("chkAutoPageRotation")->text(), "Automatic pa&ge rotation");
  EXPECT_EQ(child<QPushButton>("cmdRestoreDefaults")->text(), "&Restore Defaults");
  EXPECT_EQ(child<QLabel>("lblConfidenceThresholdUnit")->text(), "%");
}

// Catches a re-sorted language list, swapped codes, or a wrong initial selection.
TEST_F(CoreTest, FixedListsHoldTextsCodesAndInitialSelections) {
  create();
  EXPECT_EQ(entries("cmbPageContent"),
            QStringList({"Formatted Text & Graphics", "Searchable Image (Compact)",
                         "Searchable Image (Exact)", "Image Only"}));
  EXPECT_EQ(
      entries("cmbLanguage"),
      QStringList({"Brazilian Portuguese", "Catalan", "Danish", "English (US)", "English (UK)",
                   "Dutch", "French", "German", "Italian", "Spanish", "Swedish", "Finnish",
                   "Norwegian", "Nynorsk", "Portuguese", "Swiss German"}));
  const std::pair<const char*, QList<int>> codes[] = {
      {"cmbPageContent", {1, 3, 2, 4}},
      {"cmbLanguage", {1, 2, 3, 5, 6, 4, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}}};
  for (const auto& [name, expected] : codes) {
    QList<int> data;
    for (int i = 0; i < combo(name)->count(); ++i) data << combo(name)->itemData(i).toInt();
    EXPECT_EQ(data, expected) << name;
  }
  const std::pair<const char*, int> selected[] = {
      {"cmbPageContent", 0}, {"cmbLanguage", 3}, {"cmbDictionary", -1}, {"cmbWorkflow", -1}};
  for (const auto& [name, index] : selected) EXPECT_EQ(combo(name)->currentIndex(), index) << name;
}

// Catches twips not converted, a control in the wrong frame, or a broken tab chain.
TEST_F(CoreTest, LayoutGeometryAndTabOrder) {
  create();
  EXPECT_EQ(panel->size(), QSize(493, 299));
  EXPECT_EQ(child("txtConfidenceThreshold")->parentWidget()->objectName(), "fraSuspectRegions");
  EXPECT_EQ(child("txtConfidenceThreshold")->geometry(), QRect(159, 12, 26, 19));
  const QStringList expected = {
      "txtWorkgroupHub",        "cmdBrowseHub",         "txtWatchedFolder",
      "cmdBrowseWatch",         "cmbPageContent",       "cmbLanguage",
      "cmbDictionary",          "cmbWorkflow",          "chkLowOcrConfidence",
      "txtConfidenceThreshold", "chkLowFontConfidence", "chkWordNotInDictionary",
      "chkMixedAlphaNumeric",   "chkNumericOnly",       "chkCreateThumbnails",
      "chkEmbedFonts",          "chkEnableLinks",       "chkEnableStructure",
      "chkAutoPageRotation",    "cmdRestoreDefaults"};
  QStringList visited;
  QWidget* w = child("txtWorkgroupHub");
  for (int i = 0; i < 200 && visited.size() < expected.size(); ++i, w = w->nextInFocusChain()) {
    if (expected.contains(w->objectName()) && !visited.contains(w->objectName()))
      visited << w->objectName();
  }
  EXPECT_EQ(visited, expected);
}

// Catches the "Image Only" rule applied to untagged controls or missing tagged ones, this
// panel's engine not written, or a show that does not re-apply the stored state. (Hidden
// controls and the stored flag: OcrPanelEnabled.PutChangesVisibleControlsOnly, shared code.)
TEST_F(CoreTest, EnabledPutFollowsImageOnlyTags) {
  store("PageContent", "Image Only");
  create();
  init();
  const char* const tagged[] = {
      "fraLanguage",        "cmbLanguage",         "PDFHeaderLinks",         "fraDictionaries",
      "cmbDictionary",      "chkLowOcrConfidence", "spnConfidenceThreshold", "fraAdvanced",
      "chkAutoPageRotation"};
  const char* const untagged[] = {"fraPDFSettings", "txtWorkgroupHub", "cmdBrowseWatch",
                                  "cmbPageContent", "cmbWorkflow",     "cmdRestoreDefaults"};
  panel->putEnabled(true);
  EXPECT_TRUE(panel->Enabled());
  EXPECT_EQ(world.settings->PdfEngine(), "3");
  for (const char* name : tagged) EXPECT_FALSE(ownEnabled(name)) << name;
  for (const char* name : untagged) EXPECT_TRUE(ownEnabled(name)) << name;

  panel->putEnabled(false);
  for (const char* name : untagged) EXPECT_FALSE(ownEnabled(name)) << name;

  world.settings->setEnabled(true);
  panel->show();
  EXPECT_TRUE(ownEnabled("cmbPageContent"));
  EXPECT_FALSE(ownEnabled("chkEmbedFonts"));
}

// Catches a Shift+Tab entry not redirected to chkAutoPageRotation, or a Tab entry redirected.
TEST_F(CoreTest, BackwardEntryLandsOnAutoPageRotation) {
  QWidget host;
  auto* before = new QLineEdit(&host);
  create();
  panel->setParent(&host);
  auto* after = new QLineEdit(&host);
  host.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
  after->setFocus();
  QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), child("chkAutoPageRotation"));
  before->setFocus();
  QTest::keyClick(before, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), child("txtWorkgroupHub"));
  panel->setParent(nullptr);
}

}  // namespace
