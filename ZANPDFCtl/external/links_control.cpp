#include "external/links_control.h"

#include "common/automation_error.h"
#include "common/controls/control.h"
#include "external/link_editor.h"
#include "external/setup_data.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zan {
namespace {

constexpr int kCaptionColumn = 0;
constexpr int kValueColumn = 1;
const QString kSource = QStringLiteral("ZANLinks");

// The grid: an edit asked for on a row's caption (F2, a double click) edits the row's value.
class LinksGrid final : public QTableWidget {
 public:
  using QTableWidget::QTableWidget;

 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
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
};

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

[[noreturn]] void outOfRange() {
  raiseClassic(classic::kInvalidIndex, kSource);
}

}  // namespace

ZANLinks::ZANLinks(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  grid_ = new LinksGrid(0, 2, this);
  grid_->setObjectName(QStringLiteral("linksGrid"));
  // Tab and Shift+Tab leave the grid; the arrow keys move between its rows.
  grid_->setTabKeyNavigation(false);
  grid_->setItemDelegate(new LinkDelegate(this));
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::SelectedClicked);
  grid_->verticalHeader()->setVisible(false);
  layout->addWidget(grid_);
  setFocusProxy(grid_);
  applyDesign();
}

ZANLinks::~ZANLinks() = default;

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
  grid_->setHorizontalHeaderLabels({linkcaption, linktext});
  grid_->horizontalHeader()->setVisible(visibletitle);
  // Twips at the designed 8-point font; a larger font widens the columns alike.
  const double scale = controls::layoutScale(font(), logicalDpiY());
  grid_->setColumnWidth(kCaptionColumn, static_cast<int>(linkcaptionwidth * scale / 15));
  grid_->setColumnWidth(kValueColumn, static_cast<int>(linktextwidth * scale / 15));
  grid_->setColumnHidden(kCaptionColumn, !visiblecaptioncolumn);
  // The values take the room the grid has beyond the designed widths.
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->setSortingEnabled(false);
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
  rebuildGrid();
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

QString ZANLinks::displayText(const DocInfoField& value) {
  switch (value.FieldType()) {
    case kFieldIndexField:
      return tr("Index field: %1").arg(value.FieldName());
    case kFieldBatchField:
      return tr("Batch field: %1").arg(value.FieldName());
    default:
      return value.FieldText();
  }
}

void ZANLinks::rebuildGrid() {
  const QSignalBlocker blocker(grid_);
  const int shown = filltomaxrows ? std::max(rowCount(), maxlinks) : rowCount();
  grid_->setRowCount(shown);
  for (int r = 0; r < shown; ++r) {
    const bool real = r < rowCount();
    auto* caption = new QTableWidgetItem(real ? rows_[r].caption : QString());
    caption->setFlags(Qt::ItemIsEnabled);
    auto* value = new QTableWidgetItem(real ? displayText(rows_[r].value) : QString());
    value->setFlags(real ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                         : Qt::ItemIsEnabled);
    grid_->setItem(r, kCaptionColumn, caption);
    grid_->setItem(r, kValueColumn, value);
  }
}

}  // namespace zan
