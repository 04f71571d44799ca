// Creation, captions and lists, Enabled, show, about box and RestoreDefaults of ZANPdf.

#include "ocr_panel_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace zan;
using namespace zan::testing;

namespace {

struct ListCase {
  const char* name;
  std::vector<std::pair<int, std::int32_t>> entries;  // string id, item data
};

const ListCase kLists[] = {
    {"cmbOutputFormatType", {{2721, 1}, {2722, 2}, {2723, 3}}},
    {"cmbLanguage",
     {{2724, 1}, {2725, 2}, {2726, 3}, {2727, 4}, {2728, 5}, {2729, 6}, {2730, 7}, {2731, 8}}},
    {"cmbAccuracy", {{2732, 1}, {2733, 2}, {2734, 4}, {2735, 8}, {2736, 16}}},
};

const std::pair<const char*, int> kCaptions[] = {{"fraPDFSettings", 2700},
                                                 {"fraOutputFormatType", 2701},
                                                 {"fraLanguage", 2702},
                                                 {"fraAccuracy", 2703},
                                                 {"fraConfidenceThreshold", 2704},
                                                 {"fraPDFHeaderlinks", 2706},
                                                 {"lblConfidenceThresholdUnit", 2705},
                                                 {"fraSuspectRegions", 2711},
                                                 {"chkLowOcrConfidence", 2712},
                                                 {"chkWordNotInDictionary", 2713},
                                                 {"chkMixedCases", 2714},
                                                 {"chkLowFontConfidence", 2715},
                                                 {"fraOrientation", 2716},
                                                 {"chkRotate0", 2717},
                                                 {"chkRotate90", 2718},
                                                 {"chkRotate180", 2719},
                                                 {"chkRotate270", 2720},
                                                 {"cmdRestoreDefaults", 2737}};

QString captionOf(QWidget* w) {
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  return {};
}

}  // namespace

// Catches a caption or list text written into the code instead of taken from the string table,
// and item data that follow the texts or the positions instead of the fixed numbers.
TEST(OcrPanelCreation, EveryTextComesFromTheStringTableAndItemDataAreFixed) {
  QHash<int, QString> replaced;
  for (int id = 2700; id <= 2737; ++id) replaced.insert(id, QStringLiteral("T%1").arg(id));
  TestWorld world;
  PanelEnvironment env = world.environment();
  env.strings = std::make_shared<StringTable>(replaced, StringTable::usEnglish());
  ZANPdf panel(env);

  for (const auto& [name, id] : kCaptions) {
    SCOPED_TRACE(name);
    EXPECT_EQ(captionOf(panel.findChild<QWidget*>(QString::fromLatin1(name))),
              QStringLiteral("T%1").arg(id));
  }
  for (const ListCase& list : kLists) {
    SCOPED_TRACE(list.name);
    auto* combo = panel.findChild<QComboBox*>(QString::fromLatin1(list.name));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), int(list.entries.size()));
    for (int i = 0; i < combo->count(); ++i) {
      EXPECT_EQ(combo->itemText(i), QStringLiteral("T%1").arg(list.entries[i].first));
      EXPECT_EQ(combo->itemData(i).toInt(), list.entries[i].second);
    }
  }
}

// Catches Qt's automatic selection of the first added entry surviving creation, a Change or a
// settings write during creation, and a design-time "#" caption left on show.
TEST_F(OcrPanelTest, CreationLeavesListsUnselectedAndTellsTheEngine) {
  for (const ListCase& list : kLists) {
    EXPECT_EQ(combo(list.name)->currentIndex(), -1) << list.name;
  }
  EXPECT_EQ(settings().PdfEngine(), QStringLiteral("2"));
  EXPECT_EQ(combo("cmbAccuracy")->itemText(3), QStringLiteral("Accurate"));
  EXPECT_EQ(captionOf(child("fraOutputFormatType")), QStringLiteral("O&utput Format Type"));
  for (QWidget* w : panel->findChildren<QWidget*>()) {
    EXPECT_FALSE(captionOf(w).startsWith(u'#')) << w->objectName().toStdString();
  }
  EXPECT_EQ(threshold()->text(), QStringLiteral("95"));
  EXPECT_EQ(changes, 0);
}

class OcrPanelEnabled : public OcrPanelTest, public ::testing::WithParamInterface<bool> {};

// Catches Enabled touching hidden controls, writing the engine on False or not on True, and
// keeping the value anywhere but in the settings object.
TEST_P(OcrPanelEnabled, PutChangesVisibleControlsOnly) {
  const bool enabled = GetParam();
  QWidget* hidden = child("chkRotate270");
  hidden->hide();
  hidden->setEnabled(!enabled);
  QWidget* icon = child("picABoutBoxIcon");
  ASSERT_TRUE(icon->isHidden());
  icon->setEnabled(!enabled);
  settings().setPdfEngine(QStringLiteral("x"));

  panel->putEnabled(enabled);

  for (const char* name : {"fraPDFSettings", "cmbAccuracy", "txtConfidenceThreshold",
                           "cmdRestoreDefaults", "PDFHeaderLinks", "chkRotate0"}) {
    EXPECT_EQ(!child(name)->testAttribute(Qt::WA_ForceDisabled), enabled) << name;
  }
  EXPECT_EQ(!hidden->testAttribute(Qt::WA_ForceDisabled), !enabled);
  EXPECT_EQ(!icon->testAttribute(Qt::WA_ForceDisabled), !enabled);
  EXPECT_EQ(settings().PdfEngine(), enabled ? QStringLiteral("2") : QStringLiteral("x"));
  EXPECT_EQ(settings().Enabled(), enabled);
  EXPECT_EQ(panel->Enabled(), enabled);
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
  EXPECT_TRUE(world.platform->boxes.empty());
}

// Catches the version passed as one dotted text, or a missing picture or copyright.
TEST_F(OcrPanelTest, AboutBoxGetsVersionAsThreeTexts) {
  panel->ShowAboutBox();
  ASSERT_EQ(world.aboutBox.calls.size(), 1u);
  const auto& call = world.aboutBox.calls[0];
  EXPECT_EQ(call.major, QStringLiteral("5"));
  EXPECT_EQ(call.minor, QStringLiteral("0"));
  EXPECT_EQ(call.revision, QStringLiteral("3"));
  EXPECT_EQ(call.picture.size(), QSize(18, 15));
  EXPECT_EQ(call.title, world.platform->title);
  EXPECT_FALSE(call.copyright.isEmpty());
}

class OcrPanelRestore : public OcrPanelTest, public ::testing::WithParamInterface<bool> {};

// Catches RestoreDefaults raising Change itself, a list click counting a reload as a change,
// and the Restore Defaults button doing anything other than the public member.
TEST_P(OcrPanelRestore, ChangesComeOnlyFromTheHandlers) {
  settings().onLoad = loadExample;
  init();
  ASSERT_EQ(changes, 0);

  if (GetParam()) {
    QTest::mouseClick(child<QPushButton>("cmdRestoreDefaults"), Qt::LeftButton);
  } else {
    panel->RestoreDefaults();
  }

  // Defaults: format 3, language 1, accuracy 4, threshold 95; of the Booleans only
  // LowOcrConfidence, WordNotInDictionary and Rotate0 stay set. The lists compare with the
  // restored settings (no Change); five boxes and the threshold change.
  EXPECT_EQ(combo("cmbOutputFormatType")->currentText(),
            QStringLiteral("Image and Hidden Text PDF"));
  EXPECT_EQ(combo("cmbAccuracy")->currentText(), QStringLiteral("Normal"));
  EXPECT_EQ(threshold()->text(), QStringLiteral("95"));
  EXPECT_FALSE(check("chkRotate90")->isChecked());
  EXPECT_TRUE(check("chkRotate0")->isChecked());
  EXPECT_EQ(changes, 6);
  EXPECT_EQ(world.links->rowCount(), 4);
}
INSTANTIATE_TEST_SUITE_P(HostAndButton, OcrPanelRestore, ::testing::Bool());

// Catches the members and events not being reachable by name through the meta-object system.
TEST_F(OcrPanelTest, MembersReachableByName) {
  const QMetaObject* mo = panel->metaObject();
  EXPECT_STREQ(mo->className(), "ZANPdf");
  for (const char* sig : {"Init(zan::SetupData*&)", "Validate()", "SetValidateFocus()",
                          "Apply(zan::SetupData*&)", "RestoreDefaults()", "ShowAboutBox()",
                          "Change()", "Error(qint32&,QString&,QString&,qint16&,bool&,bool&)"}) {
    EXPECT_GE(mo->indexOfMethod(QMetaObject::normalizedSignature(sig)), 0) << sig;
  }
  EXPECT_GE(mo->indexOfProperty("Enabled"), 0);
  EXPECT_GE(mo->indexOfProperty("ValidateError"), 0);
}
