#include "controls/combo_box.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QAccessibleWidget>
#include <QEvent>
#include <QMap>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTimer>

#include <algorithm>

#include <utility>

namespace zan::controls {

namespace {

// Draws a shown text too wide for the box elided ("..."), as item views do. A list box
// control's widget hands its control its events (a widget of its own costs less than an event
// filter) and tells it before its list opens.
class ElidingComboBox final : public LinkedWidget<QComboBox> {
 public:
  using LinkedWidget::LinkedWidget;
  ComboBox* control() const { return static_cast<ComboBox*>(linkedControl()); }

  void showPopup() override {
    if (control()) control()->beforeListOpens();
    QComboBox::showPopup();
  }

 protected:
  bool event(QEvent* event) override {
    if (control() && control()->relayEvent(event)) return true;
    return QComboBox::event(event);
  }

  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    option.currentText =
        fontMetrics().elidedText(option.currentText, Qt::ElideRight, field.width());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
  }
};

// What a screen reader hears of a list box: its name (its frame's caption, as the panel names
// it) and, as its value, the entry it shows. Qt's own interface speaks the shown entry as the
// name on Linux, so that the caption is never heard.
class ComboBoxAccessible final : public QAccessibleWidget {
 public:
  explicit ComboBoxAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return box()->currentText();
    if (t == QAccessible::Name && !box()->accessibleName().isEmpty())
      return box()->accessibleName();
    return QAccessibleWidget::text(t);
  }
  // The drop-down list is the one child, as with Qt's own interface.
  int childCount() const override { return 1; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child && child->object() == box()->view() ? 0 : -1;
  }
  QStringList actionNames() const override {
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& name) override {
    if (name == showMenuAction() || name == pressAction())
      box()->showPopup();
    else
      QAccessibleWidget::doAction(name);
  }

 private:
  QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* comboBoxAccessible(const QString&, QObject* object) {
  if (auto* box = dynamic_cast<ElidingComboBox*>(object)) return new ComboBoxAccessible(box);
  return nullptr;
}

// Installed with the first list box, removed when the library is unloaded.
struct AccessibleFactory {
  AccessibleFactory() { QAccessible::installFactory(comboBoxAccessible); }
  ~AccessibleFactory() { QAccessible::removeFactory(comboBoxAccessible); }
};

// From this many entries on, a list is kept in an EntryList.
constexpr int kLongList = 64;

// The entries of a combo box. Their texts are one list, which a box filled at once shares with
// the list it was given, so that a hub list of many thousand names is shown without an object
// or a copy per name; any other role (item data, stored value) is kept per entry once an entry
// is given one.
class EntryList final : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(texts_.size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!isEntry(index)) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) return texts_.at(index.row());
    return roles_.isEmpty() ? QVariant() : roles_.at(index.row()).value(role);
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (!isEntry(index)) return false;
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
      texts_[index.row()] = value.toString();
    } else {
      if (roles_.isEmpty()) roles_.resize(texts_.size());
      if (value.isValid()) {
        roles_[index.row()].insert(role, value);
      } else {
        roles_[index.row()].remove(role);
      }
    }
    emit dataChanged(index, index, {role});
    return true;
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return isEntry(index) ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren
                          : Qt::NoItemFlags;
  }

  bool insertRows(int row, int count, const QModelIndex& parent = {}) override {
    if (parent.isValid() || row < 0 || row > rowCount() || count < 1) return false;
    beginInsertRows({}, row, row + count - 1);
    texts_.insert(row, count, QString());
    if (!roles_.isEmpty()) roles_.insert(row, count, {});
    endInsertRows();
    return true;
  }

  bool removeRows(int row, int count, const QModelIndex& parent = {}) override {
    if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount()) return false;
    beginRemoveRows({}, row, row + count - 1);
    if (count == rowCount()) {  // a clear lets go of a shared list without copying it
      texts_ = {};
      roles_ = {};
    } else {
      texts_.remove(row, count);
      if (!roles_.isEmpty()) roles_.remove(row, count);
    }
    endRemoveRows();
    return true;
  }

  // Appends the entries in one insertion; an empty list takes `texts` itself.
  void append(const QStringList& texts) {
    if (texts.isEmpty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(texts.size()) - 1);
    if (texts_.isEmpty()) {
      texts_ = texts;
    } else {
      texts_ += texts;
    }
    if (!roles_.isEmpty()) roles_.resize(texts_.size());
    endInsertRows();
  }

 private:
  bool isEntry(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && !index.parent().isValid() &&
           index.column() == 0 && index.row() >= 0 && index.row() < texts_.size();
  }

  QStringList texts_;
  QList<QMap<int, QVariant>> roles_;  // empty until an entry is given another role
};

ElidingComboBox* newElidingBox(QWidget* parent) {
  static const AccessibleFactory accessible;
  return new ElidingComboBox(parent);
}

}  // namespace

QComboBox* newElidingComboBox(QWidget* parent) {
  return newElidingBox(parent);
}

ComboBox::ComboBox(Form& form, const QString& name, QWidget* parent)
    : Control(form, name, newElidingBox(parent)) {
  takeEventsFromWidget();
  // Model changes run under blockers, so this fires for a selection the user made; the
  // comparison keeps a repeated -1 or a re-emitted entry from counting as a click.
  listen(comboBox(), &QComboBox::currentIndexChanged, [this] {
    const int now = comboBox()->currentIndex();
    if (now == lastIndex_) return;
    lastIndex_ = now;
    // The user's choice that made this change is followed by `activated`: not a second click.
    changedByChoice_ = true;
    QTimer::singleShot(0, comboBox(), this->form().whileHeld([this] { changedByChoice_ = false; }));
    showCutText();
    auto handler = onClick;
    this->form().dispatch(handler);
  });
  // The user choosing the entry already selected is a click too; Qt reports it only here.
  listen(comboBox(), &QComboBox::activated, [this](int index) {
    if (std::exchange(changedByChoice_, false) || index != comboBox()->currentIndex()) return;
    auto handler = onClick;
    this->form().dispatch(handler);
  });
}

// The list's width is measured when it opens: filling a list of many thousand entries
// measures none of them.
void ComboBox::beforeListOpens() {
  fitList();
}

ComboBox::~ComboBox() = default;

QComboBox* ComboBox::comboBox() const {
  return static_cast<QComboBox*>(widget());
}

int ComboBox::listCount() const {
  return comboBox() ? comboBox()->count() : 0;
}

int ComboBox::listIndex() const {
  return comboBox() ? comboBox()->currentIndex() : -1;
}

void ComboBox::setListIndex(int index) {
  if (index < -1 || index >= listCount()) fail(classic::kInvalidValue);
  if (index == listIndex()) return;
  {
    QSignalBlocker blocker(comboBox());
    comboBox()->setCurrentIndex(index);
  }
  lastIndex_ = comboBox()->currentIndex();
  showCutText();
  if (onClick) {
    auto handler = onClick;
    handler();
  }
}

QString ComboBox::text() const {
  return listIndex() < 0 ? QString() : comboBox()->currentText();
}

QString ComboBox::list(int index) const {
  if (index < 0 || index >= listCount()) fail(classic::kInvalidIndex);
  return comboBox()->itemText(index);
}

int ComboBox::addItem(const QString& text) {
  addItems({text});
  return comboBox()->count() - 1;
}

void ComboBox::addItems(const QStringList& texts) {
  if (!comboBox()) fail(classic::kInvalidCall);
  QSignalBlocker blocker(comboBox());
  const int before = comboBox()->currentIndex();
  // A long list (a hub's) goes into an entry list that shares it; a short one stays in Qt's own
  // model, which costs the box nothing to replace. A host may have given the box a model too.
  auto* entries = dynamic_cast<EntryList*>(comboBox()->model());
  if (!entries && comboBox()->count() == 0 && texts.size() >= kLongList &&
      qobject_cast<QStandardItemModel*>(comboBox()->model())) {
    entries = new EntryList(comboBox());
    comboBox()->setModel(entries);
  }
  if (entries && comboBox()->count() + texts.size() <= comboBox()->maxCount()) {
    entries->append(texts);
  } else {
    comboBox()->addItems(texts);
  }
  // The first entry of an empty combo box is selected by Qt; classically nothing is.
  if (comboBox()->currentIndex() != before) comboBox()->setCurrentIndex(before);
  lastIndex_ = comboBox()->currentIndex();
  longestEntry_ = 0;
}

void ComboBox::removeItem(int index) {
  if (index < 0 || index >= listCount()) fail(classic::kInvalidCall);
  QSignalBlocker blocker(comboBox());
  const int before = comboBox()->currentIndex();
  comboBox()->removeItem(index);
  // Removing the selected entry leaves nothing selected (Qt would select a neighbour).
  if (index == before) comboBox()->setCurrentIndex(-1);
  lastIndex_ = comboBox()->currentIndex();
  longestEntry_ = 0;
  showCutText();
}

void ComboBox::clear() {
  if (!comboBox()) return;
  QSignalBlocker blocker(comboBox());
  comboBox()->clear();
  lastIndex_ = -1;
  longestEntry_ = 0;
  showCutText();
}

bool ComboBox::filterEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) longestEntry_ = 0;
  if (event->type() == QEvent::FontChange || event->type() == QEvent::Resize ||
      (event->type() == QEvent::Show && cutTextPending_))
    showCutText();
  return Control::filterEvent(event);
}

void ComboBox::fitList() {
  QComboBox* box = comboBox();
  if (!box) return;
  if (longestEntry_ == 0) {
    const QFontMetrics metrics = box->fontMetrics();
    for (int i = 0; i < box->count(); ++i)
      longestEntry_ = std::max(longestEntry_, metrics.horizontalAdvance(box->itemText(i)));
  }
  // Room for the entry's margins and a scroll bar besides the text.
  const int extra = 4 * box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) +
                    box->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
  box->view()->setMinimumWidth(longestEntry_ > 0 ? longestEntry_ + extra : 0);
}

void ComboBox::showCutText() {
  QComboBox* box = comboBox();
  if (!box) return;
  // A hidden box is measured when it is shown: loading, which steps through the entries of a
  // list of many thousand names before the panel is shown, measures none of them.
  cutTextPending_ = !box->isVisible();
  if (cutTextPending_) return;
  QStyleOptionComboBox option;
  option.initFrom(box);
  const QRect field =
      box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
  const QString shown = text();
  const QString description = box->accessibleDescription();
  const bool cut = box->fontMetrics().horizontalAdvance(shown) > field.width();
  QString tip = description;
  if (cut) tip = description.isEmpty() ? shown : shown + QLatin1Char('\n') + description;
  if (box->toolTip() != tip) box->setToolTip(tip);
}

std::int32_t ComboBox::itemData(int index) const {
  if (index < 0 || index >= listCount()) fail(classic::kInvalidIndex);
  return comboBox()->itemData(index, Qt::UserRole).toInt();
}

void ComboBox::setItemData(int index, std::int32_t data) {
  if (index < 0 || index >= listCount()) fail(classic::kInvalidIndex);
  comboBox()->setItemData(index, QVariant::fromValue<qint32>(data), Qt::UserRole);
}

namespace {
constexpr int kValueRole = Qt::UserRole + 1;
}

QString ComboBox::itemValue(int index) const {
  if (index < 0 || index >= listCount()) fail(classic::kInvalidIndex);
  const QVariant value = comboBox()->itemData(index, kValueRole);
  return value.isValid() ? value.toString() : comboBox()->itemText(index);
}

void ComboBox::setItemValue(int index, const QString& value) {
  if (index < 0 || index >= listCount()) fail(classic::kInvalidIndex);
  comboBox()->setItemData(index, value, kValueRole);
}

QString ComboBox::value() const {
  return listIndex() < 0 ? QString() : itemValue(listIndex());
}

}  // namespace zan::controls
