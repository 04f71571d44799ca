// The preview beside the release-setup dialog on a real X display (run under xvfb-run): opened
// with its access key, reached with Tab, zoomed with the mouse, and following what is typed into
// the panel without recognising the page again.

#include "display_support.h"

#include <ZANPreview/preview_pane.h>

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>

namespace zan::host::testing {
namespace {

using preview::PreviewPane;

void clickButton(PreviewPane& pane, const char* name) {
  auto* button = pane.findChild<QAbstractButton*>(QLatin1String(name));
  ASSERT_NE(button, nullptr) << name;
  QTest::mouseClick(button, Qt::LeftButton);
}

// Catches a preview the keyboard cannot open, enter or close, buttons the mouse cannot work on
// a real display, and a threshold typed into the panel that leaves the marks as they were (or
// recognises the page again to change them).
TEST(PreviewOnDisplay, OpenedAndDrivenByKeysAndMouse) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run under xvfb-run";
  HostWorld world;
  auto dialog = shownOnDisplay(world, PanelKind::Ocr);
  ASSERT_EQ(focused(), "cmbOutputFormatType");
  ASSERT_NO_FATAL_FAILURE(press(Qt::Key_End));  // the example's image only -> image and text
  // A button's access key clicks it after its pressed look has shown (a tenth of a second).
  ASSERT_NO_FATAL_FAILURE(press(Qt::Key_V, Qt::AltModifier));
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->previewPane() != nullptr; }, 2000))
      << "Alt+V does not open the preview";
  PreviewPane* pane = dialog->previewPane();
  ASSERT_TRUE(pane->isVisible());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !pane->isBusy() && !pane->words().isEmpty(); }, 180000))
      << "the sample page was not recognised: "
      << qPrintable(pane->findChild<QLabel*>(QStringLiteral("previewMessage"))->text());

  // Tab goes on from the dialog's controls into the pane's.
  QStringList reached;
  for (int i = 0; i < 80; ++i) {
    if (pane->isAncestorOf(QApplication::focusWidget())) reached << focused();
    ASSERT_NO_FATAL_FAILURE(press(Qt::Key_Tab));
  }
  for (const char* name : {"openPageButton", "fitButton", "actualSizeButton", "pageView",
                           "suspectList", "sampleValues"})
    EXPECT_TRUE(reached.contains(QLatin1String(name)))
        << name << " not reached: " << qPrintable(reached.join(' '));

  ASSERT_NO_FATAL_FAILURE(clickButton(*pane, "actualSizeButton"));
  EXPECT_NEAR(pane->zoom(), 1.0, 1e-6);
  ASSERT_NO_FATAL_FAILURE(clickButton(*pane, "fitButton"));
  EXPECT_LT(pane->zoom(), 1.0) << "the sample page is not fitted to the pane";

  // A threshold of 100 with the low-confidence marker on marks every word, at once.
  auto* list = pane->findChild<QListWidget*>(QStringLiteral("suspectList"));
  ASSERT_NE(list, nullptr);
  dialog->panel().findChild<QWidget*>(QStringLiteral("cmbOutputFormatType"))->setFocus();
  QTest::qWait(10);
  auto* marker = dialog->panel().findChild<QAbstractButton*>(QStringLiteral("chkLowOcrConfidence"));
  ASSERT_NE(marker, nullptr);
  if (!marker->isChecked()) QTest::mouseClick(marker, Qt::LeftButton, {}, QPoint(8, 8));
  ASSERT_TRUE(marker->isChecked());
  for (int i = 0; i < 3; ++i) ASSERT_NO_FATAL_FAILURE(press(Qt::Key_Tab));
  ASSERT_EQ(focused(), "txtConfidenceThreshold");
  ASSERT_NO_FATAL_FAILURE(press(Qt::Key_A, Qt::ControlModifier));
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("100"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return list->count() == pane->words().size(); }, 2000))
      << list->count() << " of " << pane->words().size() << " words marked";
  EXPECT_FALSE(pane->isBusy()) << "a threshold change recognised the page again";

  ASSERT_NO_FATAL_FAILURE(press(Qt::Key_V, Qt::AltModifier));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !pane->isVisible(); }, 2000))
      << "Alt+V does not close the preview";
}

}  // namespace
}  // namespace zan::host::testing
