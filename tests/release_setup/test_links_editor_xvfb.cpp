// The document-information grid's row editor in the release-setup dialog on a real X display
// (run under xvfb-run, with or without a window manager), driven with the keyboard and with the
// mouse as a user does: open a row's editor from either column, open the source list, choose a
// source, type a text that stays visible, and leave the editor storing the row.

#include "display_support.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QTest>

namespace zan::host::testing {
namespace {

// A key press, given a little more time for the display than typing needs.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  testing::press(key, modifiers, 20);
}

QComboBox* sourceList(QWidget& dialog) {
  return dialog.findChild<QComboBox*>(QStringLiteral("linkSource"));
}

QLineEdit* textPart(QWidget& dialog) {
  return dialog.findChild<QLineEdit*>(QStringLiteral("linkText"));
}

// A double click as the display delivers it: press, release, press, double click, release.
void doubleClick(QWidget* widget, QPoint at) {
  QTest::mousePress(widget, Qt::LeftButton, {}, at);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
  QTest::mousePress(widget, Qt::LeftButton, {}, at);
  QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
  QTest::qWait(50);
}

// Clicks the drop-down arrow of the source list, as a user aims at it.
void clickArrow(QComboBox* list) {
  QStyleOptionComboBox option;
  option.initFrom(list);
  option.frame = list->hasFrame();
  const QRect arrow =
      list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, list);
  QTest::mouseClick(list, Qt::LeftButton, {}, arrow.center());
  // A release right after the list opened would be taken as a choice; a user is slower.
  QTest::qWait(QApplication::doubleClickInterval() + 100);
}

// Clicks the entry showing `text` in the opened source list.
void clickEntry(QComboBox* list, const QString& text) {
  QAbstractItemView* view = list->view();
  const int row = list->findText(text);
  ASSERT_GE(row, 0) << text.toStdString();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                    view->visualRect(view->model()->index(row, 0)).center());
  QTest::qWait(50);
}

// The screen around the dialog and the open list, for the README.
void saveScreenshot(const ReleaseSetupDialog& dialog, const QComboBox* list, const char* name) {
  const QString folder = qEnvironmentVariable("ZAN_LINKS_EDITOR_SCREENSHOTS");
  if (folder.isEmpty()) return;
  // The picture shows the path the README uses, not this checkout's (shown only, no handler
  // runs, and put back afterwards).
  auto* hub = dialog.findChild<QLineEdit*>(QStringLiteral("txtWorkgroupHub"));
  const QString path = hub ? hub->text() : QString();
  if (hub) {
    const QSignalBlocker quiet(hub);
    hub->setText(QStringLiteral("/srv/velmar/hub"));
  }
  QTest::qWait(200);  // the window manager has placed and drawn both windows
  const QRect area = dialog.frameGeometry().united(list->view()->window()->frameGeometry());
  dialog.screen()
      ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
      .save(QDir(folder).filePath(QLatin1String(name)));
  if (hub) {
    const QSignalBlocker quiet(hub);
    hub->setText(path);
  }
}

// The editor's parts lie inside the edited row, and the text part shows `text` whole.
void expectFitsRowAndShows(QTableWidget* grid, int row, QLineEdit* text, const QString& shown) {
  QWidget* editor = text->parentWidget();
  const QRect cell = grid->visualRect(grid->model()->index(row, 1));
  const QRect placed(editor->mapTo(grid->viewport(), QPoint(0, 0)), editor->size());
  EXPECT_LE(placed.top(), cell.top()) << "the editor starts above its row";
  EXPECT_LE(placed.bottom(), cell.bottom()) << "the editor covers the next row";
  const int needed = text->fontMetrics().horizontalAdvance(shown) +
                     text->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) * 2 + 4;
  EXPECT_GE(text->width(), needed) << "\"" << shown.toStdString() << "\" does not fit";
  EXPECT_EQ(text->text(), shown);
}

// Catches F2 doing nothing on a row's caption, Alt+Down closing the editor without opening the
// source list, a text part too narrow for what is typed or covering the next row, and the row
// not stored when the editor is left with Tab.
TEST(LinksEditorOnDisplay, KeyboardFromTheCaptionColumn) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run under xvfb-run";
  HostWorld world;
  auto dialog = shownOnDisplay(world, PanelKind::Capture);
  auto* grid = dialog->findChild<QTableWidget*>(QStringLiteral("linksGrid"));
  ASSERT_NE(grid, nullptr);

  press(Qt::Key_D, Qt::AltModifier);  // "PDF &Document Information"
  ASSERT_EQ(focused(), "linksGrid");
  press(Qt::Key_Down);
  // The grid starts at its first cell: Down lands on the caption of row 1, Subject.
  ASSERT_EQ(grid->currentColumn(), 0);
  ASSERT_EQ(grid->currentRow(), 1);
  const int row = 1;
  press(Qt::Key_F2);
  EXPECT_NE(sourceList(*dialog), nullptr) << "F2 on the caption column opened no editor";
  if (!sourceList(*dialog)) {  // go on from the value column, to see what follows
    press(Qt::Key_Right);
    press(Qt::Key_F2);
  }
  EXPECT_EQ(focused(), "linkSource") << "the editor starts elsewhere than at the source";
  if (focused() == QLatin1String("linkText")) press(Qt::Key_Backtab, Qt::ShiftModifier);
  ASSERT_EQ(focused(), "linkSource");
  QComboBox* list = sourceList(*dialog);
  press(Qt::Key_Down, Qt::AltModifier);
  QTest::qWait(100);
  ASSERT_NE(sourceList(*dialog), nullptr) << "Alt+Down closed the editor";
  EXPECT_TRUE(list->view()->isVisible()) << "Alt+Down opened no list";
  saveScreenshot(*dialog, list, "links-editor-capture.png");
  press(Qt::Key_Home);
  press(Qt::Key_Return);  // chooses "Text constant", the list closes
  QTest::qWait(50);
  ASSERT_FALSE(list->view()->isVisible());
  EXPECT_EQ(list->currentText(), "Text constant");
  EXPECT_EQ(focused(), "linkSource");
  press(Qt::Key_Tab);
  ASSERT_EQ(focused(), "linkText");
  press(Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Typed by keys"));
  expectFitsRowAndShows(grid, row, textPart(*dialog), QStringLiteral("Typed by keys"));
  press(Qt::Key_Tab);
  EXPECT_EQ(focused(), "linksGrid");
  EXPECT_EQ(grid->item(row, 1)->text(), "Typed by keys");

  press(Qt::Key_Return);  // OK
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(world.prompts->warnings.isEmpty())
      << world.prompts->warnings.join('\n').toStdString();
  EXPECT_EQ(storedOne(world.setupPath, "SubjectField.FieldType"), 0);
  EXPECT_EQ(storedOne(world.setupPath, "SubjectField.FieldText"), "Typed by keys");
}

// Catches a double click on a caption opening no editor, the focus starting in the text part of
// a text-constant row, a click on the source list's arrow closing the editor instead of opening
// the list, a chosen source lost, and a row not stored when the user clicks elsewhere.
TEST(LinksEditorOnDisplay, MouseChoosesASourceAndTypesAText) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run under xvfb-run";
  HostWorld world;
  auto dialog = shownOnDisplay(world, PanelKind::Ocr);
  auto* grid = dialog->findChild<QTableWidget*>(QStringLiteral("linksGrid"));
  ASSERT_NE(grid, nullptr);

  // Row 1, Subject, holds the text constant "Scanned correspondence".
  const QRect caption = grid->visualRect(grid->model()->index(1, 0));
  doubleClick(grid->viewport(), caption.center());
  EXPECT_NE(sourceList(*dialog), nullptr) << "a double click on the caption opened no editor";
  if (!sourceList(*dialog))  // go on from the value column, to see what follows
    doubleClick(grid->viewport(), grid->visualRect(grid->model()->index(1, 1)).center());
  QComboBox* list = sourceList(*dialog);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(focused(), "linkSource") << "the editor starts elsewhere than at the source";

  clickArrow(list);
  ASSERT_EQ(sourceList(*dialog), list) << "the click on the arrow closed the editor";
  ASSERT_TRUE(list->view()->isVisible()) << "the click on the arrow opened no list";
  saveScreenshot(*dialog, list, "links-editor-ocr.png");
  clickEntry(list, QStringLiteral("Index field: Customer Number"));
  EXPECT_FALSE(list->view()->isVisible());
  EXPECT_EQ(list->currentText(), "Index field: Customer Number");
  EXPECT_TRUE(textPart(*dialog)->isHidden()) << "a link has no text of its own";

  clickArrow(list);
  ASSERT_TRUE(list->view()->isVisible());
  clickEntry(list, QStringLiteral("Text constant"));
  QLineEdit* text = textPart(*dialog);
  ASSERT_FALSE(text->isHidden());
  QTest::mouseClick(text, Qt::LeftButton, {}, text->rect().center());
  EXPECT_EQ(focused(), "linkText");
  QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(text, QStringLiteral("Hello"));
  expectFitsRowAndShows(grid, 1, text, QStringLiteral("Hello"));

  // A click on another row ends the edit and stores this one.
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualRect(grid->model()->index(3, 1)).center());
  QTest::qWait(50);
  EXPECT_EQ(sourceList(*dialog), nullptr);
  EXPECT_EQ(grid->item(1, 1)->text(), "Hello");

  QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(world.prompts->warnings.isEmpty())
      << world.prompts->warnings.join('\n').toStdString();
  EXPECT_EQ(storedOne(world.setupPath, "SubjectField.FieldType"), 0);
  EXPECT_EQ(storedOne(world.setupPath, "SubjectField.FieldText"), "Hello");
}

}  // namespace
}  // namespace zan::host::testing
