// Change handlers and the confidence threshold box of ZANPdf, driven as a user would.

#include "ocr_panel_fixture.h"

using namespace zan;
using namespace zan::testing;

class OcrPanelCheckBoxes : public OcrPanelTest,
                           public ::testing::WithParamInterface<const char*> {};

// Catches a check box without a handler, a handler that fires twice, or Change raised while
// the panel is still loading.
TEST_P(OcrPanelCheckBoxes, OneChangePerClickAfterInitOnly) {
  showPanel();
  QCheckBox* box = check(GetParam());
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(changes, 0);
  init();
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(changes, 1);
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(changes, 2);
}
INSTANTIATE_TEST_SUITE_P(AllEight, OcrPanelCheckBoxes, ::testing::ValuesIn(kCheckBoxes));

struct ListClickCase {
  const char* list;
  int storedIndex;  // the entry whose item data the settings hold after Init
  int otherIndex;
};

class OcrPanelListClicks : public OcrPanelTest,
                           public ::testing::WithParamInterface<ListClickCase> {};

// Catches a list click compared with the previous selection or the entry's position instead of
// the stored number.
TEST_P(OcrPanelListClicks, ChangeOnlyWhenItemDataDiffersFromStored) {
  settings().onLoad = loadExample;
  init();
  QComboBox* list = combo(GetParam().list);
  list->setCurrentIndex(GetParam().otherIndex);
  EXPECT_EQ(changes, 1);
  list->setCurrentIndex(GetParam().storedIndex);
  EXPECT_EQ(changes, 1);
}
INSTANTIATE_TEST_SUITE_P(AllThree, OcrPanelListClicks,
                         ::testing::Values(ListClickCase{"cmbOutputFormatType", 1, 2},
                                           ListClickCase{"cmbLanguage", 4, 3},
                                           ListClickCase{"cmbAccuracy", 3, 2}));

// Catches a user's edit of a document-information row not reaching the host as Change (for
// example because Init left the links control silenced), or reaching it while still loading.
TEST_F(OcrPanelTest, LinksRowEditRaisesChange) {
  zan::DocInfoField edited;
  edited.setFieldText(QStringLiteral("Quarterly report"));
  emit world.links->rowEdited(1);
  EXPECT_EQ(changes, 0);
  init();
  world.links->editRow(1, edited);
  EXPECT_EQ(changes, 1);
}

// Catches letters or signs reaching the box, and the arrow keys stepping in this panel (only
// the Acrobat Capture panel steps).
TEST_F(OcrPanelTest, ThresholdKeysFilteredAndArrowsDoNotStep) {
  init();
  threshold()->end(false);
  QTest::keyClicks(threshold(), QStringLiteral("a -+."));
  EXPECT_EQ(threshold()->text(), QStringLiteral("95"));
  QTest::keyClick(threshold(), Qt::Key_Up);
  QTest::keyClick(threshold(), Qt::Key_Down);
  EXPECT_EQ(threshold()->text(), QStringLiteral("95"));
  QTest::keyClick(threshold(), Qt::Key_Backspace);
  EXPECT_EQ(threshold()->text(), QStringLiteral("9"));
}

struct FocusLossCase {
  const char* text;
  const char* after;
};

class OcrPanelThresholdFocusLoss : public OcrPanelTest,
                                   public ::testing::WithParamInterface<FocusLossCase> {};

// Catches a value below the spin minimum kept on leaving the box, and an empty box being
// filled although the minimum is 0.
TEST_P(OcrPanelThresholdFocusLoss, CorrectedAgainstSpinBounds) {
  showPanel();
  init();
  threshold()->setFocus();
  threshold()->setText(QString::fromLatin1(GetParam().text));
  combo("cmbLanguage")->setFocus();
  EXPECT_EQ(threshold()->text(), QString::fromLatin1(GetParam().after));
}
INSTANTIATE_TEST_SUITE_P(Texts, OcrPanelThresholdFocusLoss,
                         ::testing::Values(FocusLossCase{"-5", "1"}, FocusLossCase{"", ""}));

// Catches a rejected text before Init emptying the box (the tag starts empty) instead of
// returning to the text it showed, and the range check not wired to the box.
TEST_F(OcrPanelTest, RejectionBeforeInitKeepsTheShownText) {
  threshold()->end(false);
  QTest::keyClick(threshold(), Qt::Key_5);  // 955
  EXPECT_EQ(threshold()->text(), QStringLiteral("95"));
  EXPECT_EQ(threshold()->cursorPosition(), 2);
  EXPECT_EQ(changes, 0);
  init();
  threshold()->setText(QStringLiteral("10"));
  threshold()->end(false);
  QTest::keyClick(threshold(), Qt::Key_5);  // 105
  EXPECT_EQ(threshold()->text(), QStringLiteral("10"));
  EXPECT_EQ(changes, 2);  // the accepted 10, then the restored 10
}

// Catches a failure in the threshold's change handling escaping to the host instead of being
// reported once through Error with the fixed arguments.
TEST_F(OcrPanelTest, ThresholdFailureRaisesError) {
  init();
  QObject::connect(panel.get(), &ZANPdf::Change,
                   [] { raiseError(13, QStringLiteral("host"), QStringLiteral("Type mismatch")); });
  std::vector<std::tuple<qint32, QString, QString, qint16, bool, bool>> errors;
  QObject::connect(panel.get(), &ZANPdf::Error,
                   [&](qint32& n, QString& m, QString& s, qint16& l, bool& r, bool& d) {
                     errors.emplace_back(n, m, s, l, r, d);
                   });
  threshold()->setText(QStringLiteral("12"));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0],
            std::make_tuple(qint32(13), QStringLiteral("Internal error: Type mismatch"),
                            QStringLiteral("QelPDFSetup.txtConfidenceThreshold_Change()"),
                            qint16(0), false, true));
  EXPECT_TRUE(world.platform->boxes.empty());
}
