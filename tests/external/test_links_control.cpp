#include "external/links_control.h"
#include "settings/setup_data.h"

#include "external_support.h"

#include <gtest/gtest.h>

#include <QAbstractItemDelegate>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>

using namespace zan;
using zan::testing::failureOf;
using zan::testing::field;

namespace {

void addFourRows(ZANLinks& links) {
  links.ClearLinks();
  links.AddLink({}, kFieldTextConstant, QStringLiteral("Annual report"), QStringLiteral("Title"));
  links.AddLink(QStringLiteral("Subject Index"), kFieldIndexField, {}, QStringLiteral("Subject"));
  links.AddLink(QStringLiteral("Operator"), kFieldBatchField, {}, QStringLiteral("Author"));
  links.AddLink({}, kFieldTextConstant, {}, QStringLiteral("Keywords"));
}

}  // namespace

// Catches rows read back from the wrong position, a ClearLinks that keeps old rows, a grid that
// does not show what the rows hold, and a row index outside the rows answered instead of 381.
TEST(ZANLinks, RowsAddClearAndReadBack) {
  ZANLinks links;
  links.AddLink(QStringLiteral("old"), kFieldIndexField, QString(), QStringLiteral("Old"));
  addFourRows(links);
  ASSERT_EQ(links.rowCount(), 4);
  EXPECT_EQ(links.Link(0), field(QStringLiteral("Annual report"), kFieldTextConstant, {}));
  EXPECT_EQ(links.Link(1), field({}, kFieldIndexField, QStringLiteral("Subject Index")));
  EXPECT_EQ(links.Link(2), field({}, kFieldBatchField, QStringLiteral("Operator")));
  EXPECT_EQ(links.Link(3), DocInfoField());
  EXPECT_EQ(links.rowCaption(2), QStringLiteral("Author"));
  EXPECT_EQ(links.grid()->item(0, 1)->text(), QStringLiteral("Annual report"));
  EXPECT_EQ(links.grid()->item(2, 1)->text(), QStringLiteral("Batch field: Operator"));
  EXPECT_EQ(links.grid()->item(3, 0)->text(), QStringLiteral("Keywords"));
  for (int row : {-1, 4, 32767}) {
    EXPECT_EQ(failureOf([&] { links.Link(static_cast<std::int16_t>(row)); }).number, 381) << row;
    EXPECT_EQ(failureOf([&] { links.editRow(row, DocInfoField()); }).number, 381) << row;
    EXPECT_EQ(failureOf([&] { links.rowCaption(row); }).number, 381) << row;
  }
  links.ClearLinks();
  EXPECT_EQ(links.rowCount(), 0);
  EXPECT_EQ(links.grid()->rowCount(), 4) << "filltomaxrows keeps maxlinks rows on screen";
}

// Catches a rowEdited that is missing for an edit, raised while events are suspended, raised
// for code calls or when nothing changed, and a text constant over textconstantmaxlength let in
// through an edit (a longer text set by code stays untouched).
TEST(ZANLinks, RowEditedOnlyForRealUnsuspendedEdits) {
  ZANLinks links;
  links.textconstantmaxlength = 10;
  QSignalSpy spy(&links, &ZANLinks::rowEdited);
  addFourRows(links);
  links.Redraw();
  EXPECT_EQ(spy.count(), 0);

  links.editRow(2, field(QStringLiteral("Ann"), kFieldTextConstant, {}));
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toInt(), 2);
  EXPECT_TRUE(links.modified());
  EXPECT_EQ(links.Link(2).FieldText(), QStringLiteral("Ann"));
  links.editRow(2, field(QStringLiteral("Ann"), kFieldTextConstant, {}));
  EXPECT_EQ(spy.count(), 1);

  links.setInitializing(true);
  links.editRow(0, field({}, kFieldBatchField, QStringLiteral("Batch Name")));
  EXPECT_EQ(spy.count(), 1);
  EXPECT_EQ(links.Link(0).FieldName(), QStringLiteral("Batch Name"));
  links.setInitializing(false);

  const auto constant = [](int length) {
    return field(QString(length, u'x'), kFieldTextConstant, {});
  };
  EXPECT_EQ(failureOf([&] { links.editRow(3, constant(11)); }).number, 380);
  EXPECT_EQ(links.Link(3), DocInfoField());
  links.editRow(3, constant(10));
  EXPECT_EQ(spy.count(), 2);
  links.AddLink({}, kFieldTextConstant, QString(20, u'y'), QStringLiteral("Code"));
  EXPECT_EQ(links.Link(4).FieldText().size(), 20);
}

// Catches SetSetupData replacing the caller's reference, and an editor that does not offer the
// setup data's index and batch fields, does not store the chosen link, or lets a typed constant
// exceed 254 characters.
TEST(ZANLinks, EditorOffersTheSetupDataLinkSources) {
  MemorySetupData rd;
  rd.setIndexFields({QStringLiteral("Customer"), QStringLiteral("Date")});
  rd.setBatchFields({QStringLiteral("Batch Name")});
  ZANLinks links;
  SetupData* ref = &rd;
  links.SetSetupData(ref);
  links.setOfferSetupLinks(true);
  EXPECT_EQ(ref, &rd);
  EXPECT_EQ(links.setupData(), &rd);
  addFourRows(links);
  QSignalSpy spy(&links, &ZANLinks::rowEdited);

  QTableWidget* grid = links.grid();
  const QModelIndex cell = grid->model()->index(1, 1);
  grid->edit(cell);  // as F2 or a double click opens it
  auto* source = grid->findChild<QComboBox*>(QStringLiteral("linkSource"));
  auto* text = grid->findChild<QLineEdit*>(QStringLiteral("linkText"));
  ASSERT_TRUE(source && text) << "no row editor";
  QStringList offered;
  for (int i = 0; i < source->count(); ++i) offered << source->itemText(i);
  EXPECT_EQ(offered, QStringList({"Text constant", "Index field: Customer", "Index field: Date",
                                  "Batch field: Batch Name"}));
  EXPECT_EQ(source->currentIndex(), 0) << "\"Subject Index\" is not offered, so no source matches";
  EXPECT_EQ(text->maxLength(), 254);
  source->setCurrentIndex(3);
  grid->itemDelegate()->setModelData(source->parentWidget(), grid->model(), cell);
  EXPECT_EQ(links.Link(1), field({}, kFieldBatchField, QStringLiteral("Batch Name")));
  EXPECT_EQ(spy.count(), 1);
}

// Catches a keyboard trap in the grid (Tab cycling through its cells), a row's link source that
// the keyboard cannot reach or change, an edit lost when the editor is left by Tab, an editor
// that starts in the text instead of at the source, covers the next row, or leaves the text too
// little room to show what is typed, and F2 on a row's caption opening nothing.
TEST(ZANLinks, KeyboardLeavesTheGridAndEditsEveryPartOfARow) {
  MemorySetupData rd;
  rd.setIndexFields({QStringLiteral("Customer")});
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* before = new QLineEdit(&window);
  auto* links = new ZANLinks(&window);
  auto* after = new QLineEdit(&window);
  layout->addWidget(before);
  layout->addWidget(links);
  layout->addWidget(after);
  links->applyPanelDesign(1300, 2483);  // the capture panel's columns at 8 points
  SetupData* ref = &rd;
  links->SetSetupData(ref);
  links->setOfferSetupLinks(true);
  addFourRows(*links);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTableWidget* grid = links->grid();

  before->setFocus();
  QTest::keyClick(before, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), grid);
  QTest::keyClick(grid, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), after);
  QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), grid);
  QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), before);

  // Row 0, a text constant, from its caption: the source first, then the text.
  grid->setFocus();
  grid->setCurrentCell(0, 0);
  QTest::keyClick(grid, Qt::Key_F2);
  auto* source = grid->findChild<QComboBox*>(QStringLiteral("linkSource"));
  auto* text = grid->findChild<QLineEdit*>(QStringLiteral("linkText"));
  ASSERT_TRUE(source && text) << "F2 on the caption opened no editor";
  ASSERT_EQ(QApplication::focusWidget(), source);
  QWidget* editor = source->parentWidget();
  EXPECT_EQ(QRect(editor->pos(), editor->size()), grid->visualRect(grid->model()->index(0, 1)))
      << "the editor is not the row's value cell";
  QTest::keyClick(source, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), text);
  QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(text, QStringLiteral("Typed title"));
  EXPECT_GE(text->width(), text->fontMetrics().horizontalAdvance(text->text()) + 4);
  QTest::keyClick(text, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), source);
  QTest::keyClick(source, Qt::Key_Down);  // the index field instead
  EXPECT_TRUE(text->isHidden()) << "a link has no text of its own";
  QTest::keyClick(source, Qt::Key_Tab);
  EXPECT_EQ(links->Link(0), field({}, kFieldIndexField, QStringLiteral("Customer")));
  EXPECT_EQ(QApplication::focusWidget(), grid);

  // Back to a text constant, typed by keyboard alone.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the closed editor
  QTest::keyClick(grid, Qt::Key_F2);
  source = grid->findChild<QComboBox*>(QStringLiteral("linkSource"));
  EXPECT_EQ(QApplication::focusWidget(), source);
  QTest::keyClick(source, Qt::Key_Up);
  QTest::keyClick(source, Qt::Key_Tab);
  text = grid->findChild<QLineEdit*>(QStringLiteral("linkText"));
  EXPECT_EQ(QApplication::focusWidget(), text);
  QTest::keyClicks(text, QStringLiteral("Q3"));
  QTest::keyClick(text, Qt::Key_Tab);
  EXPECT_EQ(links->Link(0), field(QStringLiteral("Q3"), kFieldTextConstant, {}));
  EXPECT_EQ(QApplication::focusWidget(), grid);
}

// Catches design-time widths not converted from twips, a caption column that ignores
// visiblecaptioncolumn, or column titles not shown by visibletitle.
TEST(ZANLinks, ApplyDesign) {
  ZANLinks links;
  links.linkcaptionwidth = 1200;
  links.linktextwidth = 2823;
  links.linkcaption = QStringLiteral("Field");
  links.visibletitle = true;
  links.applyDesign();
  EXPECT_EQ(links.grid()->columnWidth(0), 80);
  EXPECT_EQ(links.grid()->columnWidth(1), 188);
  EXPECT_FALSE(links.grid()->horizontalHeader()->isHidden());
  EXPECT_EQ(links.grid()->horizontalHeaderItem(0)->text(), QStringLiteral("Field"));
  EXPECT_EQ(links.grid()->horizontalHeaderItem(1)->text(), QStringLiteral("LinkText"));
  EXPECT_FALSE(links.grid()->isColumnHidden(0));
  links.visiblecaptioncolumn = false;
  links.applyDesign();
  EXPECT_TRUE(links.grid()->isColumnHidden(0));
}
