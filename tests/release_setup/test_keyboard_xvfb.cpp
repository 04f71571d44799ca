// The release-setup dialog on a real X display (run under xvfb-run), driven by key presses
// alone: every control of both panels is reached with Tab, one control of each kind is changed
// from the keyboard, and Enter saves.

#include "display_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QTest>

namespace zan::host::testing {
namespace {

void type(const QString& text) {
  QTest::keyClicks(QApplication::focusWidget(), text);
}

// Tabs from the first control once round the dialog; the names of the panel's stops in order.
QStringList tabRound(ReleaseSetupDialog& dialog) {
  QStringList stops;
  const QString first = focused();
  for (int i = 0; i < 60; ++i) {
    if (dialog.panel().isAncestorOf(QApplication::focusWidget())) stops << focused();
    press(Qt::Key_Tab);
    if (focused() == first) break;
  }
  return stops;
}

// Tabs forward to the control named `name`.
void tabTo(const char* name) {
  for (int i = 0; i < 60 && focused() != QLatin1String(name); ++i) press(Qt::Key_Tab);
  ASSERT_EQ(focused(), QLatin1String(name));
}

// The links grid's first row: its source chosen (a text constant), then its text typed.
void retypeFirstDocumentRow(const QString& text) {
  press(Qt::Key_Home, Qt::ControlModifier);  // row 0, Title
  press(Qt::Key_Right);                      // its value
  press(Qt::Key_F2);
  if (focused() == QLatin1String("linkText")) press(Qt::Key_Backtab, Qt::ShiftModifier);
  ASSERT_EQ(focused(), "linkSource");
  press(Qt::Key_Home);  // "Text constant"
  press(Qt::Key_Tab);
  ASSERT_EQ(focused(), "linkText");
  press(Qt::Key_A, Qt::ControlModifier);
  type(text);
  press(Qt::Key_Tab);  // ends the edit, back on the grid
  ASSERT_EQ(focused(), "linksGrid");
}

// Catches a control the keyboard cannot reach or change on a real display (a trap, a missing
// tab stop, an editor that loses its value), or Enter not saving what was typed.
TEST(KeyboardOnly, BothPanelsEditedAndSavedByKeyPresses) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run under xvfb-run";
  HostWorld world;

  auto capture = shownOnDisplay(world, PanelKind::Capture);
  EXPECT_EQ(focused(), "txtWorkgroupHub");
  EXPECT_EQ(tabRound(*capture).join(' ').toStdString(),
            "txtWorkgroupHub cmdBrowseHub txtWatchedFolder cmdBrowseWatch cmbPageContent "
            "cmbLanguage linksGrid cmbDictionary cmbWorkflow chkLowOcrConfidence "
            "txtConfidenceThreshold chkLowFontConfidence chkWordNotInDictionary "
            "chkMixedAlphaNumeric chkNumericOnly chkCreateThumbnails chkEmbedFonts "
            "chkEnableLinks chkEnableStructure chkAutoPageRotation cmdRestoreDefaults");
  ASSERT_NO_FATAL_FAILURE(tabTo("txtWatchedFolder"));
  press(Qt::Key_A, Qt::ControlModifier);
  type("/tmp/keyboard-watched");
  ASSERT_NO_FATAL_FAILURE(tabTo("cmbLanguage"));
  press(Qt::Key_Down);  // English (US) -> English (UK)
  ASSERT_NO_FATAL_FAILURE(tabTo("linksGrid"));
  ASSERT_NO_FATAL_FAILURE(retypeFirstDocumentRow("Typed title"));
  ASSERT_NO_FATAL_FAILURE(tabTo("txtConfidenceThreshold"));
  press(Qt::Key_Up);  // the spin control's step: 80 -> 81
  ASSERT_NO_FATAL_FAILURE(tabTo("chkEmbedFonts"));
  press(Qt::Key_Space);
  press(Qt::Key_Return);  // OK
  EXPECT_FALSE(capture->isVisible());
  EXPECT_TRUE(world.prompts->warnings.isEmpty())
      << world.prompts->warnings.join('\n').toStdString();
  EXPECT_EQ(storedTwo(world.setupPath, "WatchedFolder"), "/tmp/keyboard-watched");
  EXPECT_EQ(storedTwo(world.setupPath, "CaptureLanguage"), "English (UK)");
  EXPECT_EQ(storedTwo(world.setupPath, "EmbedFonts"), false);
  EXPECT_EQ(storedOne(world.setupPath, "ConfidenceThreshold"), 81);
  EXPECT_EQ(storedOne(world.setupPath, "TitleField.FieldType"), 0);
  EXPECT_EQ(storedOne(world.setupPath, "TitleField.FieldText"), "Typed title");

  auto ocr = shownOnDisplay(world, PanelKind::Ocr);
  EXPECT_EQ(focused(), "cmbOutputFormatType");
  EXPECT_EQ(tabRound(*ocr).join(' ').toStdString(),
            "cmbOutputFormatType cmbLanguage cmbAccuracy txtConfidenceThreshold "
            "cmdRestoreDefaults linksGrid chkLowOcrConfidence chkWordNotInDictionary "
            "chkMixedCases chkLowFontConfidence chkRotate0 chkRotate90 chkRotate180 chkRotate270");
  ASSERT_NO_FATAL_FAILURE(tabTo("cmbAccuracy"));
  press(Qt::Key_Up);  // Accurate (8) -> Normal (4)
  ASSERT_NO_FATAL_FAILURE(tabTo("txtConfidenceThreshold"));
  press(Qt::Key_A, Qt::ControlModifier);
  type("70");
  ASSERT_NO_FATAL_FAILURE(tabTo("linksGrid"));
  ASSERT_NO_FATAL_FAILURE(retypeFirstDocumentRow("OCR title"));
  ASSERT_NO_FATAL_FAILURE(tabTo("chkRotate90"));
  press(Qt::Key_Space);
  press(Qt::Key_Return);
  EXPECT_FALSE(ocr->isVisible());
  EXPECT_TRUE(world.prompts->warnings.isEmpty())
      << world.prompts->warnings.join('\n').toStdString();
  EXPECT_EQ(storedTwo(world.setupPath, "Accuracy"), 4);
  EXPECT_EQ(storedTwo(world.setupPath, "Rotate90"), false);
  EXPECT_EQ(storedOne(world.setupPath, "ConfidenceThreshold"), 70);
  EXPECT_EQ(storedOne(world.setupPath, "TitleField.FieldText"), "OCR title");
}

}  // namespace
}  // namespace zan::host::testing
