#include "external/links_control.h"

#include "common/automation_error.h"
#include "common/controls/control.h"
#include "external/setup_data.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zan {
namespace {

constexpr int kCaptionColumn = 0;
constexpr int kValueColumn = 1;
const QString kSource = QStringLiteral("ZANLinks");

// The value editor: a source choice ("Text constant" or one of the link sources) and, for a
// text constant, its text. Tab and Shift+Tab move between the two parts; Tab from the last part
// or Shift+Tab from the first, and the focus leaving the editor, finish the edit (`finished`).
class LinkEditor final : public QWidget {
  Q_OBJECT
 public:
  explicit LinkEditor(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    source_ = new QComboBox(this);
    source_->setObjectName(QStringLiteral("linkSource"));
    source_->setAccessibleName(ZANLinks::tr("Link source"));
    source_->setToolTip(ZANLinks::tr(
        "Where the value comes from: a text constant, an index field or a batch field"));
    source_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("linkText"));
    text_->setAccessibleName(ZANLinks::tr("Text constant"));
    layout->addWidget(source_);
    layout->addWidget(text_, 1);
    for (QWidget* part : {static_cast<QWidget*>(source_), static_cast<QWidget*>(text_)})
      part->installEventFilter(this);
    connect(source_, &QComboBox::currentIndexChanged, this, [this] { showSource(); });
    showSource();
  }

  void setSources(const QStringList& indexFields, const QStringList& batchFields) {
    source_->clear();
    source_->addItem(ZANLinks::tr("Text constant"), QVariantList{kFieldTextConstant, QString()});
    for (const QString& f : indexFields)
      source_->addItem(ZANLinks::displayText(linkTo(kFieldIndexField, f)),
                       QVariantList{kFieldIndexField, f});
    for (const QString& f : batchFields)
      source_->addItem(ZANLinks::displayText(linkTo(kFieldBatchField, f)),
                       QVariantList{kFieldBatchField, f});
  }

  void setValue(const DocInfoField& value, int maxLength) {
    int index = 0;
    for (int i = 1; i < source_->count(); ++i) {
      const QVariantList d = source_->itemData(i).toList();
      if (d.value(0).toInt() == value.FieldType() && d.value(1).toString() == value.FieldName())
        index = i;
    }
    source_->setCurrentIndex(index);
    showSource();
    const QString text = value.FieldType() == kFieldTextConstant ? value.FieldText() : QString();
    // A longer text set by code stays editable (shortening only); new input obeys the limit.
    text_->setMaxLength(std::max(maxLength, static_cast<int>(text.size())));
    text_->setText(text);
  }

  DocInfoField value() const {
    const QVariantList d = source_->currentData().toList();
    const int type = d.value(0).toInt();
    if (type == kFieldTextConstant) {
      DocInfoField f;
      f.setFieldText(text_->text());
      return f;
    }
    return linkTo(type, d.value(1).toString());
  }

  // Tall enough for the source chooser, whatever the row height.
  QSize sizeHint() const override {
    return {source_->sizeHint().width() + 80,
            std::max(source_->sizeHint().height(), text_->sizeHint().height())};
  }

 signals:
  void finished();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      const bool ctrlOrAlt = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
      const bool back = key->key() == Qt::Key_Backtab ||
                        (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
      if (!ctrlOrAlt && (back || key->key() == Qt::Key_Tab)) {
        if (!back && watched == source_ && text_->isEnabled())
          text_->setFocus(Qt::TabFocusReason);
        else if (back && watched == text_)
          source_->setFocus(Qt::BacktabFocusReason);
        else
          finish();
        return true;
      }
    } else if (event->type() == QEvent::FocusOut) {
      // The edit ends when the focus leaves both parts (a drop-down list is still the editor).
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
        QMetaObject::invokeMethod(
            this,
            [this] {
              QWidget* now = QApplication::focusWidget();
              if (!now || (now != this && !isAncestorOf(now))) finish();
            },
            Qt::QueuedConnection);
      }
    }
    return QWidget::eventFilter(watched, event);
  }

 private:
  void finish() {
    if (finished_) return;
    finished_ = true;
    emit finished();
  }
  void showSource() {
    const bool constant = source_->currentIndex() <= 0;
    text_->setEnabled(constant);
    setFocusProxy(constant ? static_cast<QWidget*>(text_) : source_);
  }
  static DocInfoField linkTo(int type, const QString& name) {
    DocInfoField f;
    f.setFieldType(type);
    f.setFieldName(name);
    return f;
  }
  QComboBox* source_;
  QLineEdit* text_;
  bool finished_ = false;
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

  // At least as tall as the editor needs, kept inside the grid's viewport.
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex&) const override {
    QRect r = option.rect;
    const QWidget* viewport = editor->parentWidget();
    r.setHeight(std::max(r.height(), editor->sizeHint().height()));
    if (viewport && r.bottom() > viewport->height() - 1)
      r.moveBottom(std::max(viewport->height() - 1, r.height() - 1));
    r.moveTop(std::max(0, r.top()));
    editor->setGeometry(r);
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
  grid_ = new QTableWidget(0, 2, this);
  grid_->setObjectName(QStringLiteral("linksGrid"));
  // Tab and Shift+Tab leave the grid; the arrow keys move between its rows.
  grid_->setTabKeyNavigation(false);
  grid_->setItemDelegate(new LinkDelegate(this));
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
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

#include "links_control.moc"
