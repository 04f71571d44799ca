// Init, loading the controls from the settings and selecting list entries by item data.

#include "ocr_panel_fixture.h"

using namespace zan;
using namespace zan::testing;

// Catches a wrong setting-to-control mapping or a Change raised while the first Init loads.
TEST_F(OcrPanelTest, InitShowsTheLoadedExample) {
  settings().onLoad = loadExample;
  init();
  EXPECT_EQ(combo("cmbOutputFormatType")->currentText(), "Image Only PDF");
  EXPECT_EQ(combo("cmbLanguage")->currentText(), "German");
  EXPECT_EQ(combo("cmbAccuracy")->currentText(), "Accurate");
  EXPECT_EQ(threshold()->text(), "80");
  for (const char* name : kCheckBoxes) EXPECT_TRUE(check(name)->isChecked()) << name;
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(world.platform->boxes.empty());
}

// Catches a stored value matching by position instead of item data, an unmatched value left
// unselected, raised, or logged other than once as "Internal Error.", and loading that stops
// after it.
TEST_F(OcrPanelTest, FillComboSelectsByItemDataOrLogsAndTakesTheFirst) {
  using Set = void (PdfSettings::*)(std::int32_t);
  const std::tuple<const char*, Set, std::int32_t, const char*, size_t> cases[] = {
      {"cmbAccuracy", &PdfSettings::setAccuracy, 3, "Fastest", 1},
      {"cmbAccuracy", &PdfSettings::setAccuracy, 16, "Most Accurate", 0},
      {"cmbLanguage", &PdfSettings::setOcrLanguage, 0, "English - United States", 1},
      {"cmbLanguage", &PdfSettings::setOcrLanguage, 9, "English - United States", 1},
      {"cmbOutputFormatType", &PdfSettings::setOutputFormatType, 3, "Image and Hidden Text PDF",
       0}};
  for (const auto& [list, set, stored, shown, logged] : cases) {
    SCOPED_TRACE(stored);
    settings().onLoad = [&, set = set, stored = stored](PdfSettings& s) {
      loadExample(s);
      (s.*set)(stored);
    };
    world.platform->boxes.clear();
    check("chkRotate270")->setChecked(false);
    init();
    EXPECT_EQ(combo(list)->currentText(), shown);
    ASSERT_EQ(world.platform->boxes.size(), logged);
    if (logged) {
      EXPECT_EQ(world.platform->boxes[0].title, "Text ERROR");
      EXPECT_EQ(world.platform->boxes[0].text, "Internal Error.\r(#-1)");
    }
    EXPECT_TRUE(check("chkRotate270")->isChecked());  // loading went on
  }
}

// Catches a failing Init whose error is rewritten (help file and context lost), that goes on
// with later steps, that leaves the panel raising Change, or a missing setup data object
// crashing the panel instead of failing Init.
TEST_F(OcrPanelTest, FailedLoadReachesHostUnchangedAndKeepsLoading) {
  SetupData* none = nullptr;
  EXPECT_EQ(failureOf([&] { panel->Init(none); }).number, 91);
  const AutomationError failure{13, "PdfSettings.Load", "Type mismatch", "set.chm", 42};
  settings().loadFailure = failure;
  world.links->calls.clear();
  EXPECT_EQ(failureOf([&] { init(); }), failure);
  EXPECT_EQ(world.links->calls, QStringList{"setOfferSetupLinks(1)"});
  EXPECT_EQ(combo("cmbLanguage")->currentIndex(), -1);
  check("chkMixedCases")->setChecked(true);
  EXPECT_EQ(changes, 0);
  settings().loadFailure.reset();
  init();
  check("chkMixedCases")->toggle();
  EXPECT_EQ(changes, 1);
}

// Catches a second Init not reporting a check box it changed (the panel stays silent only
// until the first Init has succeeded), reporting unchanged lists and texts, or leaving a
// grayed box grayed when the setting is False.
TEST_F(OcrPanelTest, SecondInitReportsChangedCheckBox) {
  settings().onLoad = loadExample;
  init();
  ASSERT_EQ(changes, 0);
  check("chkLowFontConfidence")->setCheckState(Qt::PartiallyChecked);
  changes = 0;
  settings().onLoad = [](PdfSettings& s) {
    loadExample(s);
    s.setMixedCases(false);
    s.setLowFontConfidence(false);
  };
  init();
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(check("chkMixedCases")->isChecked());
  EXPECT_EQ(check("chkLowFontConfidence")->checkState(), Qt::Unchecked);
}
