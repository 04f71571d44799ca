#include "external/links_control.h"

#include "controls/control.h"
#include "external/link_editor.h"
#include "settings/automation_error.h"
#include "settings/setup_data.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace zan {
namespace {

constexpr int kCaptionColumn = 0;
constexpr int kValueColumn = 1;
const QString kSource = QStringLiteral("ZANLinks");

class LinkDelegate final : public QStyledItemDelegate {
 public:
  explicit LinkDelegate(ZANLinks* links) : QStyledItemDelegate(links), links_(links) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    if (index.column() != kValueColumn || index.row() >= links_->rowCount()) return nullptr;
    auto* editor = new LinkEditor(parent);
    // Finishing by keyboard or by leaving the editor stores the value; the grid keeps the focus.
    connect(editor, &LinkEditor::finished, this, [this, editor] {
      emit const_cast<LinkDelegate*>(this)->commitData(editor);
      emit const_cast<LinkDelegate*>(this)->closeEditor(editor, QAbstractItemDelegate::NoHint);
    });
    const SetupData* rd = links_->setupData();
    editor->setSources(rd && links_->offerSetupLinks() ? rd->indexFields() : QStringList(),
                       rd && links_->offerSetupLinks() ? rd->batchFields() : QStringList());
    return editor;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    try {
      static_cast<LinkEditor*>(editor)->setValue(
          links_->ZANLinks::Link(static_cast<std::int16_t>(index.row())),
          links_->textconstantmaxlength);
    } catch (...) {
      // The row vanished while the editor opened; the editor stays empty.
    }
  }

  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    // Nothing may leave through Qt's frames: a refused value or a failing rowEdited receiver
    // just leaves the row as it was.
    try {
      links_->editRow(index.row(), static_cast<LinkEditor*>(editor)->value());
    } catch (...) {
    }
  }

  // The row's value cell, no more: the editor covers no other row.
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex&) const override {
    editor->setGeometry(option.rect);
  }

 private:
  ZANLinks* links_;
};

// The grid: an edit asked for on a row's caption (F2, a double click) edits the row's value.
// The row editor's delegate is installed with the first edit: installing one re-connects the
// view, which a grid that is never edited need not pay for.
class LinksGrid final : public QTableWidget {
 public:
  explicit LinksGrid(ZANLinks* links) : QTableWidget(0, 2, links), links_(links) {}

 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
    if (!delegate_) setItemDelegate(delegate_ = new LinkDelegate(links_));
    // NoEditTriggers only offers the delegate an event (a mouse press); it opens nothing.
    const bool opens = trigger == AllEditTriggers || (trigger & editTriggers());
    if (!opens || !index.isValid() || index.column() != kCaptionColumn)
      return QTableWidget::edit(index, trigger, event);
    const QModelIndex value = index.siblingAtColumn(kValueColumn);
    if (!(value.flags() & Qt::ItemIsEditable)) return false;
    setCurrentIndex(value);
    return QTableWidget::edit(value, trigger, event);
  }

  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override {
    // An editor the grid closes (the user clicked another cell) has nothing left to finish.
    if (auto* links = qobject_cast<LinkEditor*>(editor)) links->markClosed();
    // The keyboard stays in the grid whichever part of the editor had it (Qt looks only at the
    // editor's focus proxy).
    if (editor && editor->isAncestorOf(QApplication::focusWidget())) setFocus(Qt::OtherFocusReason);
    QTableWidget::closeEditor(editor, hint);
  }

 private:
  ZANLinks* links_;
  LinkDelegate* delegate_ = nullptr;
};

[[noreturn]] void outOfRange() {
  raiseClassic(classic::kInvalidIndex, kSource);
}

}  // namespace

ZANLinks::ZANLinks(QWidget* parent) : QWidget(parent) {
  grid_ = new LinksGrid(this);
  grid_->setObjectName(QStringLiteral("linksGrid"));
  // Tab and Shift+Tab leave the grid; the arrow keys move between its rows.
  grid_->setTabKeyNavigation(false);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::SelectedClicked);
  grid_->verticalHeader()->setVisible(false);
  setFocusProxy(grid_);
  applyDesign();
}

ZANLinks::~ZANLinks() = default;

// The grid fills the control (a layout of its own would cost more than this).
void ZANLinks::resizeEvent(QResizeEvent* event) {
  grid_->setGeometry(rect());
  QWidget::resizeEvent(event);
}

void ZANLinks::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) applyDesign();
  QWidget::changeEvent(event);
}

void ZANLinks::applyPanelDesign(int captionWidthTwips, int textWidthTwips) {
  maxlinks = 4;
  filltomaxrows = true;
  visibletitle = false;
  visiblecaptioncolumn = true;
  setEnabled(true);
  linkcaption = QStringLiteral("LinkCaption");
  linktext = QStringLiteral("LinkText");
  linkcaptionwidth = captionWidthTwips;
  linktextwidth = textWidthTwips;
  textconstantmaxlength = 254;
  applyDesign();
}

void ZANLinks::applyDesign() {
  // The column titles are made only to be shown.
  const QTableWidgetItem* header = grid_->horizontalHeaderItem(kCaptionColumn);
  if (visibletitle && (!header || header->text() != linkcaption ||
                       grid_->horizontalHeaderItem(kValueColumn)->text() != linktext))
    grid_->setHorizontalHeaderLabels({linkcaption, linktext});
  grid_->horizontalHeader()->setVisible(visibletitle);
  // Twips at the designed 8-point font; a larger font widens the columns alike.
  const double scale = controls::layoutScale(font(), logicalDpiY());
  grid_->setColumnWidth(kCaptionColumn, static_cast<int>(linkcaptionwidth * scale / 15));
  grid_->setColumnWidth(kValueColumn, static_cast<int>(linktextwidth * scale / 15));
  grid_->setColumnHidden(kCaptionColumn, !visiblecaptioncolumn);
  // The values take the room the grid has beyond the designed widths.
  grid_->horizontalHeader()->setStretchLastSection(true);
  if (grid_->isSortingEnabled()) grid_->setSortingEnabled(false);  // re-connects the header
  // Compact rows, so that maxlinks rows fit the height the panels give the control.
  grid_->verticalHeader()->setMinimumSectionSize(1);
  grid_->verticalHeader()->setDefaultSectionSize(
      std::max(fontMetrics().height(), grid_->fontMetrics().height()) + 2);
  rebuildGrid();
}

void ZANLinks::setOfferSetupLinks(bool offer) {
  offerSetupLinks_ = offer;
}

void ZANLinks::SetSetupData(SetupData*& rd) {
  setupData_ = rd;
}

void ZANLinks::setInitializing(bool initializing) {
  initializing_ = initializing;
}

void ZANLinks::setModified(bool modified) {
  modified_ = modified;
}

void ZANLinks::Redraw() {
  rebuildGrid();
}

void ZANLinks::ClearLinks() {
  rows_.clear();
  rebuildGrid();
}

void ZANLinks::AddLink(const QString& fieldName, std::int32_t fieldType, const QString& fieldText,
                       const QString& caption) {
  Row row;
  row.caption = caption;
  row.value.setFieldName(fieldName);
  row.value.setFieldType(fieldType);
  row.value.setFieldText(fieldText);
  rows_.push_back(row);
  // A row within the rows already shown is given its texts; more rows lay the grid out anew.
  if (rowCount() <= grid_->rowCount()) {
    const QSignalBlocker blocker(grid_);
    showRow(rowCount() - 1);
  } else {
    rebuildGrid();
  }
}

DocInfoField ZANLinks::Link(std::int16_t index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= rows_.size()) outOfRange();
  return rows_[static_cast<std::size_t>(index)].value;
}

int ZANLinks::rowCount() const {
  return static_cast<int>(rows_.size());
}

QString ZANLinks::rowCaption(int index) const {
  if (index < 0 || index >= rowCount()) outOfRange();
  return rows_[static_cast<std::size_t>(index)].caption;
}

void ZANLinks::editRow(int index, const DocInfoField& value) {
  if (index < 0 || index >= rowCount()) outOfRange();
  Row& row = rows_[static_cast<std::size_t>(index)];
  const std::int32_t type = value.FieldType();
  if (type != kFieldTextConstant && type != kFieldIndexField && type != kFieldBatchField)
    raiseClassic(classic::kInvalidValue, kSource,
                 QStringLiteral("link type %1 is unknown").arg(type));
  if (type == kFieldTextConstant && value.FieldText().size() > textconstantmaxlength &&
      value != row.value)
    raiseClassic(
        classic::kInvalidValue, kSource,
        QStringLiteral("a text constant holds at most %1 characters").arg(textconstantmaxlength));
  if (value == row.value) return;
  row.value = value;
  modified_ = true;
  rebuildGrid();
  if (!initializing_) emit rowEdited(index);
}

void ZANLinks::rebuildGrid() {
  const QSignalBlocker blocker(grid_);
  const int shown = filltomaxrows ? std::max(rowCount(), maxlinks) : rowCount();
  grid_->setRowCount(shown);
  for (int r = 0; r < shown; ++r) showRow(r);
}

// The cells are kept and given their texts: loading redraws the rows several times.
void ZANLinks::showRow(int r) {
  const auto show = [this](int row, int column, const QString& text, Qt::ItemFlags flags) {
    QTableWidgetItem* cell = grid_->item(row, column);
    if (!cell) {
      cell = new QTableWidgetItem(text);
      cell->setFlags(flags);
      grid_->setItem(row, column, cell);
      return;
    }
    if (cell->text() != text) cell->setText(text);
    if (cell->flags() != flags) cell->setFlags(flags);
  };
  const bool real = r < rowCount();
  show(r, kCaptionColumn, real ? rows_[r].caption : QString(), Qt::ItemIsEnabled);
  show(r, kValueColumn, real ? linkDisplayText(rows_[r].value) : QString(),
       real ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable : Qt::ItemIsEnabled);
}

}  // namespace zan
