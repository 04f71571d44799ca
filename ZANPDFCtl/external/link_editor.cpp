#include "external/link_editor.h"

#include "controls/combo_box.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>

namespace zan {

QString linkDisplayText(const DocInfoField& value) {
  switch (value.FieldType()) {
    case kFieldIndexField:
      return QCoreApplication::translate("zan::ZANLinks", "Index field: %1").arg(value.FieldName());
    case kFieldBatchField:
      return QCoreApplication::translate("zan::ZANLinks", "Batch field: %1").arg(value.FieldName());
    default:
      return value.FieldText();
  }
}
namespace {

DocInfoField linkTo(int type, const QString& name) {
  DocInfoField f;
  f.setFieldType(type);
  f.setFieldName(name);
  return f;
}

}  // namespace

LinkEditor::LinkEditor(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  source_ = controls::newElidingComboBox(this);
  source_->setObjectName(QStringLiteral("linkSource"));
  source_->setAccessibleName(QCoreApplication::translate("zan::ZANLinks", "Link source"));
  source_->setToolTip(QCoreApplication::translate(
      "zan::ZANLinks",
      "Where the value comes from: a text constant, an index field or a batch field"));
  // Both parts fit the row's height.
  source_->setFrame(false);
  text_ = new QLineEdit(this);
  text_->setObjectName(QStringLiteral("linkText"));
  text_->setAccessibleName(QCoreApplication::translate("zan::ZANLinks", "Text constant"));
  text_->setFrame(false);
  for (QWidget* part : {static_cast<QWidget*>(source_), static_cast<QWidget*>(text_)})
    part->installEventFilter(this);
  setFocusProxy(source_);
  connect(source_, &QComboBox::currentIndexChanged, this, [this] { showSource(); });
  showSource();
}

void LinkEditor::setSources(const QStringList& indexFields, const QStringList& batchFields) {
  source_->clear();
  source_->addItem(QCoreApplication::translate("zan::ZANLinks", "Text constant"),
                   QVariantList{kFieldTextConstant, QString()});
  for (const QString& f : indexFields)
    source_->addItem(linkDisplayText(linkTo(kFieldIndexField, f)),
                     QVariantList{kFieldIndexField, f});
  for (const QString& f : batchFields)
    source_->addItem(linkDisplayText(linkTo(kFieldBatchField, f)),
                     QVariantList{kFieldBatchField, f});
  // The drop-down list shows every entry whole, however narrow the box.
  QAbstractItemView* list = source_->view();
  list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                        style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void LinkEditor::setValue(const DocInfoField& value, int maxLength) {
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

DocInfoField LinkEditor::value() const {
  const QVariantList d = source_->currentData().toList();
  const int type = d.value(0).toInt();
  if (type == kFieldTextConstant) {
    DocInfoField f;
    f.setFieldText(text_->text());
    return f;
  }
  return linkTo(type, d.value(1).toString());
}

bool LinkEditor::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool ctrlOrAlt = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    const bool back = key->key() == Qt::Key_Backtab ||
                      (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
    if (!ctrlOrAlt && (back || key->key() == Qt::Key_Tab)) {
      if (!back && watched == source_ && !text_->isHidden())
        text_->setFocus(Qt::TabFocusReason);
      else if (back && watched == text_)
        source_->setFocus(Qt::BacktabFocusReason);
      else
        finish();
      return true;
    }
  } else if (event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
      // Where the focus went is known once the change is complete.
      QMetaObject::invokeMethod(
          this,
          [this] {
            if (!holdsFocus()) finish();
          },
          Qt::QueuedConnection);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void LinkEditor::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  placeParts();
}

void LinkEditor::finish() {
  if (finished_) return;
  finished_ = true;
  emit finished();
}

bool LinkEditor::holdsFocus() const {
  if (QApplication::activePopupWidget()) return true;
  // Parents across windows: the drop-down list is a window of the source's own.
  for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
    if (w == this) return true;
  return false;
}

void LinkEditor::showSource() {
  // Only a text constant has a text; a link's row shows the source alone, at full width.
  text_->setHidden(source_->currentIndex() > 0);
  placeParts();
}

void LinkEditor::placeParts() {
  if (text_->isHidden()) {
    source_->setGeometry(rect());
    return;
  }
  QStyleOptionComboBox option;
  option.initFrom(source_);
  option.frame = false;
  const int needed =
      style()
          ->sizeFromContents(
              QStyle::CT_ComboBox, &option,
              {source_->fontMetrics().horizontalAdvance(source_->currentText()), height()}, source_)
          .width();
  const int sourceWidth = std::min(needed, width() * 2 / 5);
  source_->setGeometry(0, 0, sourceWidth, height());
  text_->setGeometry(sourceWidth + 1, 0, std::max(0, width() - sourceWidth - 1), height());
}

}  // namespace zan
