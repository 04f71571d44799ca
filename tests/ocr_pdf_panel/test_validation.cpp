// Validate, ValidateError, SetValidateFocus and Apply of ZANPdf.

#include "ocr_panel_fixture.h"

#include <QApplication>

using namespace zan;
using namespace zan::testing;

namespace {

AutomationError rejection(std::int32_t number) {
  return {number, QStringLiteral("PdfSettings.CheckSettings"), QStringLiteral("Bad value"), {}, 0};
}

}  // namespace

struct ThresholdCase {
  const char* text;
  std::int16_t stored;
};

class OcrPanelThreshold : public OcrPanelTest,
                          public ::testing::WithParamInterface<ThresholdCase> {};

// Catches the threshold stored truncated instead of rounded halves to even, a trailing letter
// or an empty box making validation fail, and the box not being written at all.
TEST_P(OcrPanelThreshold, TextIsReadTheClassicWay) {
  init();
  settings().setConfidenceThreshold(-7);
  threshold()->setText(QString::fromLatin1(GetParam().text));  // as a paste would
  ASSERT_EQ(threshold()->text(), QString::fromLatin1(GetParam().text));
  EXPECT_EQ(panel->Validate(), 0);
  EXPECT_EQ(settings().ConfidenceThreshold(), GetParam().stored);
}
INSTANTIATE_TEST_SUITE_P(Texts, OcrPanelThreshold,
                         ::testing::Values(ThresholdCase{"95", 95}, ThresholdCase{"7a", 7},
                                           ThresholdCase{"1.5", 2}, ThresholdCase{"2.5", 2},
                                           ThresholdCase{"", 0}));

// Catches wrong values copied into the settings: a grayed box stored as False, lists stored by
// position, rows read in another order or into the wrong field.
TEST_F(OcrPanelTest, ValidateCopiesEveryControl) {
  init();
  combo("cmbAccuracy")->setCurrentIndex(4);
  combo("cmbLanguage")->setCurrentIndex(2);
  check("chkRotate180")->setCheckState(Qt::PartiallyChecked);
  DocInfoField author;
  author.setFieldType(kFieldBatchField);
  author.setFieldName(QStringLiteral("Batch"));
  author.setFieldText(QStringLiteral("x"));
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
  EXPECT_EQ(world.links->calls,
            (QStringList{QStringLiteral("Link(2)"), QStringLiteral("Link(0)"),
                         QStringLiteral("Link(1)"), QStringLiteral("Link(3)")}));
}

struct CodeCase {
  std::uint32_t code;
  const char* focused;
};

class OcrPanelCodes : public OcrPanelTest, public ::testing::WithParamInterface<CodeCase> {};

// Catches a validation code mapped to the wrong control, returned as an error instead of a
// result, or losing its message.
TEST_P(OcrPanelCodes, CodeNamesItsControl) {
  showPanel();
  init();
  const auto code = static_cast<std::int32_t>(GetParam().code);
  settings().checkFailure = rejection(code);
  EXPECT_EQ(panel->Validate(), code);
  EXPECT_EQ(panel->ValidateError(), QStringLiteral("Bad value"));
  panel->SetValidateFocus();
  QWidget* target = child(GetParam().focused);
  QWidget* focus = QApplication::focusWidget();
  EXPECT_TRUE(focus == target || target->isAncestorOf(focus))
      << (focus ? focus->objectName().toStdString() : "none");
}
INSTANTIATE_TEST_SUITE_P(
    AllThirteen, OcrPanelCodes,
    ::testing::Values(
        CodeCase{0x80040200, "cmbOutputFormatType"}, CodeCase{0x80040201, "cmbLanguage"},
        CodeCase{0x80040202, "cmbAccuracy"}, CodeCase{0x80040203, "txtConfidenceThreshold"},
        CodeCase{0x80040204, "PDFHeaderLinks"}, CodeCase{0x80040205, "PDFHeaderLinks"},
        CodeCase{0x80040206, "PDFHeaderLinks"}, CodeCase{0x80040207, "PDFHeaderLinks"},
        CodeCase{0x80040208, "PDFHeaderLinks"}, CodeCase{0x80040209, "chkWordNotInDictionary"},
        CodeCase{0x8004020A, "chkMixedCases"}, CodeCase{0x8004020B, "chkLowFontConfidence"},
        CodeCase{0x8004020C, "chkRotate0"}));

class OcrPanelInternal : public OcrPanelTest,
                         public ::testing::WithParamInterface<std::uint32_t> {};

// Catches a number next to the code range taken as a validation code, and an internal error
// that leaves a control to focus or loses the original description.
TEST_P(OcrPanelInternal, OtherNumbersAreInternalErrors) {
  init();
  settings().checkFailure = rejection(static_cast<std::int32_t>(GetParam()));
  const AutomationError e = thrownBy([&] { panel->Validate(); });
  EXPECT_EQ(e.number, -1);
  EXPECT_EQ(e.source, QStringLiteral("QelPDFSetup.Validate"));
  EXPECT_EQ(e.description, QStringLiteral("Internal Error."));
  EXPECT_EQ(panel->ValidateError(), QStringLiteral("Bad value"));
  EXPECT_EQ(thrownBy([&] { panel->SetValidateFocus(); }).description,
            QStringLiteral("No validation failure."));
}
INSTANTIATE_TEST_SUITE_P(Numbers, OcrPanelInternal,
                         ::testing::Values(0x8004020Du, 0x800401FFu, 5u));

// Catches Validate before Init reading a list without a current entry as 0 instead of failing.
TEST_F(OcrPanelTest, ValidateBeforeInitFails) {
  const AutomationError e = thrownBy([&] { panel->Validate(); });
  EXPECT_EQ(e.number, -1);
  EXPECT_EQ(e.description, QStringLiteral("Internal Error."));
  EXPECT_FALSE(panel->ValidateError().isEmpty());
}

// Catches a successful Validate that keeps the previous failure's message or focus target.
TEST_F(OcrPanelTest, SuccessClearsThePreviousFailure) {
  init();
  EXPECT_TRUE(panel->ValidateError().isEmpty());
  settings().checkFailure = rejection(static_cast<std::int32_t>(0x80040203u));
  ASSERT_NE(panel->Validate(), 0);
  settings().checkFailure.reset();
  EXPECT_EQ(panel->Validate(), 0);
  EXPECT_TRUE(panel->ValidateError().isEmpty());
  const AutomationError e = thrownBy([&] { panel->SetValidateFocus(); });
  EXPECT_EQ(e.number, -1);
  EXPECT_EQ(e.source, QStringLiteral("QelPDFSetup.SetValidateFocus"));
  EXPECT_EQ(e.description, QStringLiteral("No validation failure."));
}

// Catches Apply storing illegal settings or reporting the failure under another number,
// source or message.
TEST_F(OcrPanelTest, ApplyWithIllegalSettingsStoresNothing) {
  init();
  settings().checkFailure = rejection(static_cast<std::int32_t>(0x80040202u));
  SetupData* p = &rd;
  const AutomationError e = thrownBy([&] { panel->Apply(p); });
  EXPECT_EQ(e.number, -2147220990);
  EXPECT_EQ(e.source, QStringLiteral("QelPDFSetup.Apply"));
  EXPECT_EQ(e.description, QStringLiteral("Bad value"));
  EXPECT_EQ(settings().saves, 0);
  settings().checkFailure.reset();
  panel->Apply(p);
  EXPECT_EQ(settings().saves, 1);
}

// Catches a round trip through the real settings object that loses an edited list, check box
// or document-information row.
TEST(OcrPanelRoundTrip, ApplyThenInitShowsTheEdits) {
  TestWorld world;
  MemorySetupData rd;
  SetupData* p = &rd;
  {
    ZANPdf panel(world.environment());
    panel.Init(p);
    panel.findChild<QComboBox*>(QStringLiteral("cmbAccuracy"))->setCurrentIndex(3);
    panel.findChild<QCheckBox*>(QStringLiteral("chkRotate90"))->setChecked(true);
    DocInfoField keywords;
    keywords.setFieldText(QStringLiteral("invoices"));
    world.links->editRow(3, keywords);
    panel.Apply(p);
  }
  ZANPdf again(world.environment());
  again.Init(p);
  EXPECT_EQ(again.findChild<QComboBox*>(QStringLiteral("cmbAccuracy"))->currentText(),
            QStringLiteral("Accurate"));
  EXPECT_TRUE(again.findChild<QCheckBox*>(QStringLiteral("chkRotate90"))->isChecked());
  EXPECT_EQ(world.links->Link(3).FieldText(), QStringLiteral("invoices"));
}
