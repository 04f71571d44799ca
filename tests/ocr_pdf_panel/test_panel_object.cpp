// Creation, captions and lists, Enabled, show, RestoreDefaults and the change handlers of
// ZANPdf, with the wiring of its confidence threshold box.

#include "ocr_panel_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace zan;
using namespace zan::testing;

namespace {

QString captionOf(QWidget* w) {
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  return {};
}

}  // namespace

// Catches a caption or list text written into the code instead of taken from the string table
// (or left at its "#" placeholder), and item data that follow the texts or the positions
// instead of the fixed numbers.
TEST(OcrPanelCreation, EveryTextComesFromTheStringTableAndItemDataAreFixed) {
  QHash<int, QString> replaced;
  for (int id = 2700; id <= 2737; ++id) replaced.insert(id, QString("T%1").arg(id));
  TestWorld world;
  PanelEnvironment env = world.environment();
  env.strings = std::make_shared<StringTable>(replaced, StringTable::usEnglish());
  ZANPdf panel(env);
  int captions = 0;
  for (QWidget* w : panel.findChildren<QWidget*>()) {
    const QString caption = captionOf(w);
    if (caption.isEmpty() || w->objectName() == QLatin1String("picABoutBoxIcon")) continue;
    EXPECT_TRUE(caption.startsWith(QLatin1String("T27"))) << w->objectName().toStdString();
    ++captions;
  }
  EXPECT_EQ(captions, 18);
  const std::pair<const char*, QList<int>> lists[] = {{"cmbOutputFormatType", {1, 2, 3}},
                                                      {"cmbLanguage", {1, 2, 3, 4, 5, 6, 7, 8}},
                                                      {"cmbAccuracy", {1, 2, 4, 8, 16}}};
  for (const auto& [name, data] : lists) {
    auto* combo = panel.findChild<QComboBox*>(QString::fromLatin1(name));
    QList<int> found;
    for (int i = 0; i < combo->count(); ++i) {
      EXPECT_TRUE(combo->itemText(i).startsWith(QLatin1String("T27"))) << name;
      found << combo->itemData(i).toInt();
    }
    EXPECT_EQ(found, data) << name;
  }
}

// Catches Qt's automatic selection of the first added entry surviving creation, a Change
// during creation, or the engine not told.
TEST_F(OcrPanelTest, CreationLeavesListsUnselectedAndTellsTheEngine) {
  for (const char* name : {"cmbOutputFormatType", "cmbLanguage", "cmbAccuracy"})
    EXPECT_EQ(combo(name)->currentIndex(), -1) << name;
  EXPECT_EQ(settings().PdfEngine(), "2");
  EXPECT_EQ(threshold()->text(), "95");
  EXPECT_EQ(changes, 0);
}

class OcrPanelEnabled : public OcrPanelTest, public ::testing::WithParamInterface<bool> {};

// Catches Enabled touching hidden controls, writing the engine on False or not on True, and
// keeping the value anywhere but in the settings object.
TEST_P(OcrPanelEnabled, PutChangesVisibleControlsOnly) {
  const bool enabled = GetParam();
  child("chkRotate270")->hide();
  ASSERT_TRUE(child("picABoutBoxIcon")->isHidden());
  for (const char* hidden : {"chkRotate270", "picABoutBoxIcon"})
    child(hidden)->setEnabled(!enabled);
  settings().setPdfEngine("x");
  panel->putEnabled(enabled);
  for (const char* name : {"fraPDFSettings", "cmbAccuracy", "txtConfidenceThreshold",
                           "cmdRestoreDefaults", "PDFHeaderLinks", "chkRotate0"}) {
    EXPECT_EQ(ownEnabled(name), enabled) << name;
  }
  for (const char* hidden : {"chkRotate270", "picABoutBoxIcon"})
    EXPECT_EQ(ownEnabled(hidden), !enabled) << hidden;
  EXPECT_EQ(settings().PdfEngine(), enabled ? "2" : "x");
  EXPECT_EQ(settings().Enabled(), enabled);
  EXPECT_EQ(panel->property("Enabled").toBool(), enabled);
  EXPECT_TRUE(panel->isEnabled());  // the container's view of the panel is not changed
}
INSTANTIATE_TEST_SUITE_P(TrueAndFalse, OcrPanelEnabled, ::testing::Bool());

// Catches a show that does not re-apply the stored Enabled state.
TEST_F(OcrPanelTest, ShowAppliesStoredDisabledState) {
  settings().setEnabled(false);
  showPanel();
  EXPECT_FALSE(child("cmbLanguage")->isEnabled());
  EXPECT_FALSE(child("chkMixedCases")->isEnabled());
}

// Catches RestoreDefaults raising Change itself, a list click counting a reload as a change,
// and the Restore Defaults button doing anything other than the public member.
TEST_F(OcrPanelTest, RestoreChangesComeOnlyFromTheHandlers) {
  for (bool button : {false, true}) {
    settings().onLoad = loadExample;
    init();
    changes = 0;
    if (button) {
      QTest::mouseClick(child<QPushButton>("cmdRestoreDefaults"), Qt::LeftButton);
    } else {
      panel->RestoreDefaults();
    }
    // Defaults: format 3, accuracy 4, threshold 95; of the Booleans only LowOcrConfidence,
    // WordNotInDictionary and Rotate0 stay set. Five boxes and the threshold change.
    EXPECT_EQ(combo("cmbOutputFormatType")->currentText(), "Image and Hidden Text PDF");
    EXPECT_EQ(combo("cmbAccuracy")->currentText(), "Normal");
    EXPECT_EQ(threshold()->text(), "95");
    EXPECT_FALSE(check("chkRotate90")->isChecked());
    EXPECT_TRUE(check("chkRotate0")->isChecked());
    EXPECT_EQ(changes, 6) << button;
    EXPECT_EQ(world.links->rowCount(), 4);
  }
}

// Catches the threshold box without its entry (the tag not following the text), a typed digit
// taken back (955 shown as 95), Change raised for it before Init, or the arrow keys stepping in
// this panel. (A typed digit after Init: EditingTest.ThresholdBoxWiring, the same entry.)
TEST_F(OcrPanelTest, ThresholdBoxWiring) {
  threshold()->end(false);
  QTest::keyClick(threshold(), Qt::Key_5);  // 955
  EXPECT_EQ(threshold()->text(), "955");
  EXPECT_EQ(changes, 0);
  init();
  QTest::keyClick(threshold(), Qt::Key_Up);
  QTest::keyClick(threshold(), Qt::Key_Down);
  EXPECT_EQ(threshold()->text(), "95");
  EXPECT_EQ(changes, 0);  // stepping up and down would be two
}
