// The ZANPdf3 panel object: layout, captions and lists, properties, enabling and the about box.

#include "panel_fixture.h"

#include "common/controls/control.h"
#include "external/pdf_settings.h"

#include <QGroupBox>
#include <QLabel>
#include <QMetaObject>

using namespace zan::testing;

namespace {

class CoreTest : public PanelTest {};

const char* const kImageOnlyTagged[] = {"fraLanguage",
                                        "cmbLanguage",
                                        "fraPDFHeaderlinks",
                                        "PDFHeaderLinks",
                                        "fraDictionaries",
                                        "cmbDictionary",
                                        "fraSuspectRegions",
                                        "chkLowOcrConfidence",
                                        "txtConfidenceThreshold",
                                        "spnConfidenceThreshold",
                                        "chkLowFontConfidence",
                                        "chkWordNotInDictionary",
                                        "chkMixedAlphaNumeric",
                                        "chkNumericOnly",
                                        "fraAdvanced",
                                        "chkCreateThumbnails",
                                        "chkEmbedFonts",
                                        "chkEnableLinks",
                                        "chkEnableStructure",
                                        "chkAutoPageRotation"};
const char* const kNeverImageOnly[] = {"fraPDFSettings",    "fraLocationOfWorkgroupHub",
                                       "txtWorkgroupHub",   "cmdBrowseHub",
                                       "fraWatchedFolder",  "txtWatchedFolder",
                                       "cmdBrowseWatch",    "fraOutputFormatType",
                                       "cmbPageContent",    "fraWorkflows",
                                       "cmbWorkflow",       "lblConfidenceThresholdUnit",
                                       "cmdRestoreDefaults"};

// Catches a caption set from the wrong string id, a placeholder left visible, or a missed control.
TEST_F(CoreTest, CaptionsComeFromTheStringTable) {
  create();
  const std::pair<const char*, const char*> frames[] = {
      {"fraPDFSettings", "PDF Settings"},
      {"fraOutputFormatType", "&Page Content"},
      {"fraLanguage", "&Language"},
      {"fraDictionaries", "Di&ctionaries"},
      {"fraWorkflows", "Wor&kflows"},
      {"fraPDFHeaderlinks", "PDF &Document Information"},
      {"fraSuspectRegions", "Suspect Regions"},
      {"fraAdvanced", "Advanced Settings"},
      {"fraLocationOfWorkgroupHub", "Workgroup H&ub"},
      {"fraWatchedFolder", "Watched &Folder"}};
  for (const auto& [name, caption] : frames)
    EXPECT_EQ(child<QGroupBox>(name)->title(), caption) << name;
  const std::pair<const char*, const char*> boxes[] = {
      {"chkLowOcrConfidence", "&OCR confidence below"},
      {"chkLowFontConfidence", "&Suspect font"},
      {"chkWordNotInDictionary", "&Word not in dictionary"},
      {"chkMixedAlphaNumeric", "Mi&xed alphanumeric"},
      {"chkNumericOnly", "Numeric onl&y"},
      {"chkCreateThumbnails", "C&reate thumbnails"},
      {"chkEmbedFonts", "E&mbed fonts"},
      {"chkEnableLinks", "E&nable links"},
      {"chkEnableStructure", "Ena&ble structure"},
      {"chkAutoPageRotation", "Automatic pa&ge rotation"}};
  for (const auto& [name, caption] : boxes)
    EXPECT_EQ(child<QCheckBox>(name)->text(), caption) << name;
  // The narrow button shows its caption on two lines.
  EXPECT_EQ(child<QPushButton>("cmdRestoreDefaults")->text(), "&Restore\nDefaults");
  EXPECT_EQ(child<QPushButton>("cmdBrowseHub")->text(), "...");
  EXPECT_EQ(child<QLabel>("lblConfidenceThresholdUnit")->text(), "%");
  for (QWidget* w : panel->findChildren<QWidget*>()) {
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
      EXPECT_FALSE(g->title().startsWith('#')) << g->objectName().toStdString();
    }
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      EXPECT_FALSE(b->text().startsWith('#')) << b->objectName().toStdString();
    }
  }
}

// Catches a re-sorted language list, swapped codes, or a wrong initial selection.
TEST_F(CoreTest, FixedListsHoldTextsCodesAndInitialSelections) {
  create();
  QComboBox* page = combo("cmbPageContent");
  EXPECT_EQ(entries("cmbPageContent"),
            QStringList({"Formatted Text & Graphics", "Searchable Image (Compact)",
                         "Searchable Image (Exact)", "Image Only"}));
  const int pageCodes[] = {1, 3, 2, 4};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(page->itemData(i).toInt(), pageCodes[i]) << i;
  EXPECT_EQ(
      entries("cmbLanguage"),
      QStringList({"Brazilian Portuguese", "Catalan", "Danish", "English (US)", "English (UK)",
                   "Dutch", "French", "German", "Italian", "Spanish", "Swedish", "Finnish",
                   "Norwegian", "Nynorsk", "Portuguese", "Swiss German"}));
  const int languageCodes[] = {1, 2, 3, 5, 6, 4, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(combo("cmbLanguage")->itemData(i).toInt(), languageCodes[i]) << i;
  EXPECT_EQ(page->currentIndex(), 0);
  EXPECT_EQ(combo("cmbLanguage")->currentIndex(), 3);
  EXPECT_EQ(combo("cmbDictionary")->count(), 0);
  EXPECT_EQ(combo("cmbDictionary")->currentIndex(), -1);
  EXPECT_EQ(combo("cmbWorkflow")->currentIndex(), -1);
}

// Catches twips not converted, a control in the wrong frame, or a broken tab chain.
TEST_F(CoreTest, LayoutGeometryAndTabOrder) {
  create();
  EXPECT_EQ(panel->size(), QSize(493, 299));
  QWidget* restore = child<QWidget>("cmdRestoreDefaults");
  EXPECT_EQ(restore->parentWidget()->objectName(), "fraPDFSettings");
  EXPECT_EQ(restore->geometry(), QRect(424, 254, 57, 41));
  QWidget* threshold = child<QWidget>("txtConfidenceThreshold");
  EXPECT_EQ(threshold->parentWidget()->objectName(), "fraSuspectRegions");
  EXPECT_EQ(threshold->geometry(), QRect(159, 12, 26, 19));
  EXPECT_EQ(edit("txtConfidenceThreshold")->text(), "95");
  EXPECT_EQ(child<QWidget>("PDFHeaderLinks")->parentWidget()->objectName(), "fraPDFHeaderlinks");

  const QStringList expected = {
      "txtWorkgroupHub",        "cmdBrowseHub",         "txtWatchedFolder",
      "cmdBrowseWatch",         "cmbPageContent",       "cmbLanguage",
      "cmbDictionary",          "cmbWorkflow",          "chkLowOcrConfidence",
      "txtConfidenceThreshold", "chkLowFontConfidence", "chkWordNotInDictionary",
      "chkMixedAlphaNumeric",   "chkNumericOnly",       "chkCreateThumbnails",
      "chkEmbedFonts",          "chkEnableLinks",       "chkEnableStructure",
      "chkAutoPageRotation",    "cmdRestoreDefaults"};
  QStringList visited;
  QWidget* w = child<QWidget>("txtWorkgroupHub");
  for (int i = 0; i < 200 && visited.size() < expected.size(); ++i, w = w->nextInFocusChain()) {
    if (expected.contains(w->objectName()) && !visited.contains(w->objectName()))
      visited << w->objectName();
  }
  EXPECT_EQ(visited, expected);
}

// Catches the "Image Only" rule applied to untagged controls, or hidden controls being enabled.
TEST_F(CoreTest, EnabledPutFollowsImageOnlyTags) {
  store("PageContent", "Image Only");
  create();
  init();
  ASSERT_EQ(combo("cmbPageContent")->currentText(), "Image Only");
  panel->putEnabled(true);
  EXPECT_TRUE(panel->Enabled());
  EXPECT_EQ(world.settings->PdfEngine(), "3");
  for (const char* name : kImageOnlyTagged) {
    if (QLatin1String(name) == QLatin1String("txtConfidenceThreshold"))
      continue;  // tag may hold a text
    EXPECT_FALSE(ownEnabled(name)) << name;
  }
  for (const char* name : kNeverImageOnly) EXPECT_TRUE(ownEnabled(name)) << name;

  // Disabling reaches every visible control; the hidden icon keeps its state.
  const bool iconBefore = ownEnabled("picABoutBoxIcon");
  panel->putEnabled(false);
  EXPECT_FALSE(panel->Enabled());
  EXPECT_FALSE(world.settings->Enabled());
  for (const char* name : kNeverImageOnly) EXPECT_FALSE(ownEnabled(name)) << name;
  EXPECT_EQ(ownEnabled("picABoutBoxIcon"), iconBefore);

  // Showing the panel re-applies the stored state.
  world.settings->setEnabled(true);
  panel->show();
  EXPECT_TRUE(ownEnabled("cmbPageContent"));
  EXPECT_FALSE(ownEnabled("chkEmbedFonts"));
}

// Catches properties missing from the meta-object (a late-binding host finds them by name).
TEST_F(CoreTest, MembersReachableByName) {
  create();
  const QMetaObject* mo = panel->metaObject();
  for (const char* p :
       {"Enabled", "WorkgroupHub", "WatchedFolder", "PDFOutputFolder", "PDFOutputMachine",
        "PDFWaitForStatus", "PDFDeleteHungDoc", "PDFInputImageType", "ValidateError"}) {
    EXPECT_GE(mo->indexOfProperty(p), 0) << p;
  }
  for (const char* m :
       {"Init(zan::SetupData*&)", "DisableElementDuringHubSearch(QVariant&)", "Validate()",
        "SetValidateFocus()", "Apply(zan::SetupData*&)", "RestoreDefaults()", "ShowAboutBox()",
        "Change()", "Error(qint32&,QString&,QString&,qint16&,bool&,bool&)"}) {
    EXPECT_GE(mo->indexOfMethod(QMetaObject::normalizedSignature(m)), 0) << m;
  }
  // Any 32-bit value is kept as put, also one that is no input format.
  EXPECT_TRUE(panel->setProperty("PDFInputImageType", qint32(-2147483647 - 1)));
  EXPECT_EQ(panel->property("PDFInputImageType").toInt(), -2147483647 - 1);
  panel->setProperty("PDFOutputFolder", QString(" out "));
  EXPECT_EQ(panel->PDFOutputFolder(), " out ");
  EXPECT_EQ(panel->property("ValidateError").toString(), "");
}

// Catches the five unshown settings not loaded by Init or not stored by Validate.
TEST_F(CoreTest, UnshownSettingsRoundTrip) {
  store("PDFOutputFolder", "C:/out");
  store("PDFOutputMachine", "m1");
  store("PDFWaitForStatus", false);
  store("PDFDeleteHungDoc", true);
  store("PDFInputImageType", 12);
  create();
  init();
  EXPECT_EQ(panel->PDFOutputFolder(), "C:/out");
  EXPECT_EQ(panel->PDFOutputMachine(), "m1");
  EXPECT_FALSE(panel->PDFWaitForStatus());
  EXPECT_TRUE(panel->PDFDeleteHungDoc());
  EXPECT_EQ(panel->PDFInputImageType(), 12);
  panel->setPDFInputImageType(99);
  panel->setPDFOutputMachine("m2");
  panel->Validate();
  EXPECT_EQ(world.settings->PDFInputImageType(), 99);
  EXPECT_EQ(world.settings->PDFOutputMachine(), "m2");
}

// Catches wrong about-box arguments (order, version texts, picture).
TEST_F(CoreTest, AboutBoxGetsSixArguments) {
  create();
  panel->ShowAboutBox();
  ASSERT_EQ(world.aboutBox.calls.size(), 1u);
  const auto& call = world.aboutBox.calls[0];
  EXPECT_EQ(call.picture.size(), QSize(18, 15));
  EXPECT_EQ(call.title, world.platform->title);
  EXPECT_EQ(call.major, "5");
  EXPECT_EQ(call.minor, "0");
  EXPECT_EQ(call.revision, "3");
  EXPECT_FALSE(call.copyright.isEmpty());
}

// Catches a Shift+Tab entry not redirected to chkAutoPageRotation, or a Tab entry redirected.
TEST_F(CoreTest, BackwardEntryLandsOnAutoPageRotation) {
  QWidget host;
  auto* before = new QLineEdit(&host);
  create(world.environment());
  panel->setParent(&host);
  auto* after = new QLineEdit(&host);
  host.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
  after->setFocus();
  QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), child<QWidget>("chkAutoPageRotation"));
  before->setFocus();
  QTest::keyClick(before, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), child<QWidget>("txtWorkgroupHub"));
  panel->setParent(nullptr);
}

}  // namespace
