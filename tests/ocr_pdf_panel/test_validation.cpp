// Validate, ValidateError and SetValidateFocus of ZANPdf. (Apply is code both panels share:
// LoadingTest.ApplyStoresOnlyLegalSettings.)

#include "ocr_panel_fixture.h"

#include <QApplication>

using namespace zan;
using namespace zan::testing;

namespace {

AutomationError rejection(std::uint32_t number) {
  return {static_cast<std::int32_t>(number), "PdfSettings.CheckSettings", "Bad value", {}, 0};
}

}  // namespace

// Catches the threshold stored truncated instead of rounded halves to even, a trailing letter
// or an empty box making validation fail, and the box not being written at all.
TEST_F(OcrPanelTest, ThresholdTextIsReadTheClassicWay) {
  init();
  for (const auto& [text, stored] : {std::pair{"95", 95}, std::pair{"7a", 7}, std::pair{"1.5", 2},
                                     std::pair{"2.5", 2}, std::pair{"", 0}}) {
    settings().setConfidenceThreshold(-7);
    threshold()->setText(QString::fromLatin1(text));  // as a paste would
    ASSERT_EQ(threshold()->text(), QString::fromLatin1(text));
    EXPECT_EQ(panel->Validate(), 0) << text;
    EXPECT_EQ(settings().ConfidenceThreshold(), stored) << text;
  }
}

// Catches wrong values copied into the settings: a grayed box stored as False, lists stored by
// position, rows read in another order or into the wrong field.
TEST_F(OcrPanelTest, ValidateCopiesEveryControl) {
  init();
  combo("cmbAccuracy")->setCurrentIndex(4);
  combo("cmbLanguage")->setCurrentIndex(2);
  check("chkRotate180")->setCheckState(Qt::PartiallyChecked);
  DocInfoField author;
  author.setFieldType(kFieldBatchField);
  author.setFieldName("Batch");
  author.setFieldText("x");
  world.links->editRow(2, author);
  world.links->calls.clear();
  EXPECT_EQ(panel->Validate(), 0);
  EXPECT_EQ(settings().Accuracy(), 16);
  EXPECT_EQ(settings().OcrLanguage(), 3);
  EXPECT_EQ(settings().OutputFormatType(), 3);
  EXPECT_TRUE(settings().Rotate180());
  EXPECT_FALSE(settings().Rotate90());
  EXPECT_EQ(settings().AuthorField(), author);
  EXPECT_EQ(settings().TitleField(), DocInfoField());
  EXPECT_EQ(world.links->calls, QStringList({"Link(2)", "Link(0)", "Link(1)", "Link(3)"}));
}

// Catches a validation code mapped to the wrong control, returned as an error instead of a
// result or losing its message, or a number next to the code range taken as a code (what
// Validate and SetValidateFocus do with a number either way is shared with the capture panel:
// LoadingTest.ValidateMapsFailuresToControls).
TEST_F(OcrPanelTest, CodesNameTheirControlOthersAreInternalErrors) {
  showPanel();
  init();
  const QStringList targets =
      QString(
          "cmbOutputFormatType cmbLanguage cmbAccuracy txtConfidenceThreshold PDFHeaderLinks "
          "PDFHeaderLinks PDFHeaderLinks PDFHeaderLinks PDFHeaderLinks chkWordNotInDictionary "
          "chkMixedCases chkLowFontConfidence chkRotate0")
          .split(' ');
  for (std::uint32_t i = 0; i < std::uint32_t(targets.size()); ++i) {
    const QByteArray name = targets[i].toLatin1();
    SCOPED_TRACE(name.constData());
    settings().checkFailure = rejection(0x80040200u + i);
    EXPECT_EQ(panel->Validate(), static_cast<std::int32_t>(0x80040200u + i));
    EXPECT_EQ(panel->ValidateError(), "Bad value");
    panel->SetValidateFocus();
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == child(name) || child(name)->isAncestorOf(focus));
  }
  for (std::uint32_t number : {0x8004020Du, 0x800401FFu, 5u}) {
    SCOPED_TRACE(number);
    settings().checkFailure = rejection(number);
    EXPECT_EQ(failureOf([&] { panel->Validate(); }).description, "Internal Error.");
  }
}
