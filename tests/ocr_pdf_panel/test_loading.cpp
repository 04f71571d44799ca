// Init, loading the controls from the settings and selecting list entries by item data.

#include "ocr_panel_fixture.h"

using namespace zan;
using namespace zan::testing;

// Catches a wrong setting-to-control mapping or a Change raised while the first Init loads.
TEST_F(OcrPanelTest, InitShowsTheLoadedExample) {
  settings().onLoad = loadExample;
  init();
  EXPECT_EQ(combo("cmbOutputFormatType")->currentText(), QStringLiteral("Image Only PDF"));
  EXPECT_EQ(combo("cmbLanguage")->currentText(), QStringLiteral("German"));
  EXPECT_EQ(combo("cmbAccuracy")->currentText(), QStringLiteral("Accurate"));
  EXPECT_EQ(threshold()->text(), QStringLiteral("80"));
  for (const char* name : kCheckBoxes) EXPECT_TRUE(check(name)->isChecked()) << name;
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(world.platform->boxes.empty());
}

struct UnmatchedCase {
  const char* list;
  std::int32_t stored;
  const char* shown;
  int logged;
};

class OcrPanelFillCombo : public OcrPanelTest,
                          public ::testing::WithParamInterface<UnmatchedCase> {};

// Catches a stored value matching by position instead of item data, an unmatched value left
// unselected, raised, or logged other than once as "Internal Error.", and loading that stops
// after it.
TEST_P(OcrPanelFillCombo, SelectsByItemDataOrLogsAndTakesTheFirst) {
  const UnmatchedCase c = GetParam();
  settings().onLoad = [c](PdfSettings& s) {
    loadExample(s);
    if (QByteArray(c.list) == "cmbAccuracy") s.setAccuracy(c.stored);
    if (QByteArray(c.list) == "cmbLanguage") s.setOcrLanguage(c.stored);
    if (QByteArray(c.list) == "cmbOutputFormatType") s.setOutputFormatType(c.stored);
  };
  init();
  EXPECT_EQ(combo(c.list)->currentText(), QString::fromLatin1(c.shown));
  ASSERT_EQ(int(world.platform->boxes.size()), c.logged);
  if (c.logged) {
    EXPECT_EQ(world.platform->boxes[0].title, QStringLiteral("Text ERROR"));
    EXPECT_EQ(world.platform->boxes[0].text, QStringLiteral("Internal Error.\r(#-1)"));
  }
  EXPECT_EQ(threshold()->text(), QStringLiteral("80"));  // loading went on
  EXPECT_TRUE(check("chkRotate270")->isChecked());
}
INSTANTIATE_TEST_SUITE_P(
    Values, OcrPanelFillCombo,
    ::testing::Values(UnmatchedCase{"cmbAccuracy", 3, "Fastest", 1},
                      UnmatchedCase{"cmbAccuracy", 4, "Normal", 0},
                      UnmatchedCase{"cmbAccuracy", 16, "Most Accurate", 0},
                      UnmatchedCase{"cmbLanguage", 0, "English - United States", 1},
                      UnmatchedCase{"cmbLanguage", 9, "English - United States", 1},
                      UnmatchedCase{"cmbOutputFormatType", 3, "Image and Hidden Text PDF", 0}));

// Catches rows appended without emptying first, rows in the wrong order, and arguments of the
// row call in the wrong order.
TEST_F(OcrPanelTest, RefreshTwiceLeavesFourRowsInOrder) {
  settings().onLoad = [](PdfSettings& s) {
    s.TitleField().setFieldText(QStringLiteral("T"));
    s.AuthorField().setFieldType(kFieldIndexField);
    s.AuthorField().setFieldName(QStringLiteral("Clerk"));
  };
  init();
  panel->RestoreDefaults();
  init();  // a third run
  RecordingLinks& links = *world.links;
  ASSERT_EQ(links.rowCount(), 4);
  const QStringList captions = {QStringLiteral("Title"), QStringLiteral("Subject"),
                                QStringLiteral("Author"), QStringLiteral("Keywords")};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(links.rowCaption(i), captions[i]);
  EXPECT_TRUE(links.calls.contains(QStringLiteral("AddLink(,0,T,Title)")));
  EXPECT_TRUE(links.calls.contains(QStringLiteral("AddLink(Clerk,1,,Author)")));
  EXPECT_EQ(links.Link(2).FieldName(), QStringLiteral("Clerk"));
}

// Catches the links control receiving the setup data before its rows, a missing or reordered
// step, and a replacement of rd not reaching the host.
TEST_F(OcrPanelTest, InitTalksToTheLinksControlInOrder) {
  MemorySetupData replacement;
  world.links->replacement = &replacement;
  SetupData* p = &rd;
  panel->Init(p);
  const QStringList expected = {QStringLiteral("setOfferSetupLinks(1)"),
                                QStringLiteral("ClearLinks"),
                                QStringLiteral("AddLink(,0,,Title)"),
                                QStringLiteral("AddLink(,0,,Subject)"),
                                QStringLiteral("AddLink(,0,,Author)"),
                                QStringLiteral("AddLink(,0,,Keywords)"),
                                QStringLiteral("Redraw"),
                                QStringLiteral("SetSetupData"),
                                QStringLiteral("setInitializing(0)"),
                                QStringLiteral("setModified(0)"),
                                QStringLiteral("Redraw")};
  EXPECT_EQ(world.links->calls, expected);
  EXPECT_EQ(p, &replacement);
}

// Catches a failing Init whose error is rewritten (help file and context lost), that goes on
// with later steps, or that leaves the panel raising Change.
TEST_F(OcrPanelTest, FailedLoadReachesHostUnchangedAndKeepsLoading) {
  const AutomationError failure{13, QStringLiteral("PdfSettings.Load"),
                                QStringLiteral("Type mismatch"), QStringLiteral("set.chm"), 42};
  settings().loadFailure = failure;
  check("chkMixedCases")->setChecked(true);  // before Init: no Change

  EXPECT_EQ(thrownBy([&] { init(); }), failure);
  EXPECT_EQ(world.links->calls, QStringList{QStringLiteral("setOfferSetupLinks(1)")});
  EXPECT_EQ(combo("cmbLanguage")->currentIndex(), -1);
  EXPECT_EQ(threshold()->text(), QStringLiteral("95"));
  check("chkMixedCases")->setChecked(false);
  EXPECT_EQ(changes, 0);

  settings().loadFailure.reset();
  init();
  check("chkMixedCases")->setChecked(true);
  EXPECT_EQ(changes, 1);
}

// Catches a missing setup data object crashing the panel instead of failing Init.
TEST_F(OcrPanelTest, InitWithoutSetupDataFails) {
  SetupData* none = nullptr;
  EXPECT_EQ(thrownBy([&] { panel->Init(none); }).number, 91);
}

// Catches a second Init not reporting a check box it changed (the panel stays silent only
// until the first Init has succeeded), or reporting unchanged lists and texts.
TEST_F(OcrPanelTest, SecondInitReportsChangedCheckBox) {
  settings().onLoad = loadExample;
  init();
  ASSERT_EQ(changes, 0);
  settings().onLoad = [](PdfSettings& s) {
    loadExample(s);
    s.setMixedCases(false);
  };
  init();
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(check("chkMixedCases")->isChecked());
}

// Catches loading that leaves a grayed box grayed when the setting is False.
TEST_F(OcrPanelTest, FalseSettingsClearGrayedBoxes) {
  check("chkLowFontConfidence")->setCheckState(Qt::PartiallyChecked);
  settings().onLoad = [](PdfSettings& s) {
    for (auto set :
         {&PdfSettings::setLowOcrConfidence, &PdfSettings::setWordNotInDictionary,
          &PdfSettings::setMixedCases, &PdfSettings::setLowFontConfidence, &PdfSettings::setRotate0,
          &PdfSettings::setRotate90, &PdfSettings::setRotate180, &PdfSettings::setRotate270}) {
      (s.*set)(false);
    }
  };
  init();
  for (const char* name : kCheckBoxes) {
    EXPECT_EQ(check(name)->checkState(), Qt::Unchecked) << name;
  }
}
