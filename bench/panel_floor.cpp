#include "panel_floor.h"

#include <ZANPdfCtl4/setup_data.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

namespace zan::bench {
namespace {

using Kind = WidgetBlueprint::Kind;

void copyInto(const QWidget& w, int parent, PanelBlueprint& print) {
  WidgetBlueprint b;
  b.parent = parent;
  b.name = w.objectName();
  b.toolTip = w.toolTip();
  b.accessibleName = w.accessibleName();
  b.accessibleDescription = w.accessibleDescription();
  b.geometry = w.geometry();
  b.hidden = w.isHidden();
  bool descend = false;
  if (auto* box = qobject_cast<const QGroupBox*>(&w)) {
    b.kind = Kind::Frame;
    b.text = box->title();
    descend = true;
  } else if (auto* label = qobject_cast<const QLabel*>(&w)) {
    b.kind = Kind::Label;
    b.text = label->text();
    b.pixmap = label->pixmap();
  } else if (auto* edit = qobject_cast<const QLineEdit*>(&w)) {
    b.kind = Kind::LineEdit;
    b.maxLength = edit->maxLength();
    b.shown = edit->text();
  } else if (auto* check = qobject_cast<const QCheckBox*>(&w)) {
    b.kind = Kind::CheckBox;
    b.text = check->text();
    b.shown = check->isChecked();
  } else if (auto* button = qobject_cast<const QPushButton*>(&w)) {
    b.kind = Kind::PushButton;
    b.text = button->text();
  } else if (auto* tool = qobject_cast<const QToolButton*>(&w)) {
    b.kind = Kind::ToolButton;
    b.arrow = tool->arrowType();
  } else if (auto* combo = qobject_cast<const QComboBox*>(&w)) {
    b.kind = Kind::ComboBox;
    const bool hubList = w.objectName() == QLatin1String("cmbDictionary") ||
                         w.objectName() == QLatin1String("cmbWorkflow");
    for (int i = 0; i < combo->count(); ++i)
      (hubList ? b.loadedEntries : b.entries) << combo->itemText(i);
    b.shown = combo->currentText();
  } else if (auto* grid = qobject_cast<const QTableWidget*>(&w)) {
    b.kind = Kind::Grid;
    b.columns = grid->columnCount();
    for (int c = 0; c < grid->columnCount(); ++c) b.columnWidths.push_back(grid->columnWidth(c));
    for (int r = 0; r < grid->rowCount(); ++r)
      for (int c = 0; c < grid->columnCount(); ++c)
        b.cells << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
  } else {
    b.kind = Kind::Container;
    descend = true;
  }
  const int self = static_cast<int>(print.widgets.size());
  print.widgets.push_back(b);
  if (!descend) return;
  for (QObject* child : w.children())
    if (auto* c = qobject_cast<QWidget*>(child)) copyInto(*c, self, print);
}

}  // namespace

PanelBlueprint blueprintOf(const QWidget& panel) {
  PanelBlueprint print;
  print.size = panel.size();
  for (QObject* child : panel.children())
    if (auto* c = qobject_cast<QWidget*>(child)) copyInto(*c, -1, print);
  return print;
}

BareTree::BareTree(const PanelBlueprint& blueprint)
    : blueprint_(blueprint), root_(std::make_unique<QWidget>()) {
  root_->resize(blueprint.size);
  widgets_.reserve(blueprint.widgets.size());
  for (const WidgetBlueprint& b : blueprint.widgets) {
    QWidget* parent = b.parent < 0 ? root_.get() : widgets_[static_cast<std::size_t>(b.parent)];
    QWidget* w = nullptr;
    switch (b.kind) {
      case Kind::Container:
        w = new QWidget(parent);
        break;
      case Kind::Frame:
        w = new QGroupBox(b.text, parent);
        break;
      case Kind::Label: {
        auto* label = new QLabel(b.text, parent);
        if (!b.pixmap.isNull()) label->setPixmap(b.pixmap);
        w = label;
        break;
      }
      case Kind::LineEdit: {
        auto* edit = new QLineEdit(parent);
        edit->setMaxLength(b.maxLength);
        w = edit;
        break;
      }
      case Kind::PushButton:
        w = new QPushButton(b.text, parent);
        break;
      case Kind::ToolButton: {
        auto* tool = new QToolButton(parent);
        tool->setArrowType(static_cast<Qt::ArrowType>(b.arrow));
        w = tool;
        break;
      }
      case Kind::CheckBox:
        w = new QCheckBox(b.text, parent);
        break;
      case Kind::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->addItems(b.entries);
        w = combo;
        break;
      }
      case Kind::Grid: {
        const int rows = b.columns ? static_cast<int>(b.cells.size()) / b.columns : 0;
        auto* grid = new QTableWidget(rows, b.columns, parent);
        grid->horizontalHeader()->setVisible(false);
        grid->verticalHeader()->setVisible(false);
        for (int c = 0; c < b.columns; ++c) grid->setColumnWidth(c, b.columnWidths[c]);
        for (int r = 0; r < rows; ++r)
          grid->setItem(r, 0, new QTableWidgetItem(b.cells[r * b.columns]));
        w = grid;
        break;
      }
    }
    w->setObjectName(b.name);
    w->setGeometry(b.geometry);
    if (!b.toolTip.isEmpty()) w->setToolTip(b.toolTip);
    if (!b.accessibleName.isEmpty()) w->setAccessibleName(b.accessibleName);
    if (!b.accessibleDescription.isEmpty()) w->setAccessibleDescription(b.accessibleDescription);
    if (b.hidden) w->setHidden(true);
    widgets_.push_back(w);
  }
}

BareTree::~BareTree() = default;

void BareTree::load(SetupData& rd, const QString& hubList) {
  QVariantList stored;
  for (SetupPart* part : {&rd.SetupPartOne(), &rd.SetupPartTwo()})
    for (const QString& key : part->keys()) stored << part->value(key);
  const QStringList hub = hubList.split(QLatin1Char('|'), Qt::SkipEmptyParts);
  for (std::size_t i = 0; i < widgets_.size(); ++i) {
    const WidgetBlueprint& b = blueprint_.widgets[i];
    switch (b.kind) {
      case Kind::LineEdit:
        static_cast<QLineEdit*>(widgets_[i])->setText(b.shown.toString());
        break;
      case Kind::CheckBox:
        static_cast<QCheckBox*>(widgets_[i])->setChecked(b.shown.toBool());
        break;
      case Kind::ComboBox: {
        auto* combo = static_cast<QComboBox*>(widgets_[i]);
        if (!b.loadedEntries.isEmpty()) combo->addItems(hub);
        combo->setCurrentIndex(combo->findText(b.shown.toString()));
        break;
      }
      case Kind::Grid: {
        auto* grid = static_cast<QTableWidget*>(widgets_[i]);
        for (int r = 0; r < grid->rowCount(); ++r)
          grid->setItem(r, 1, new QTableWidgetItem(b.cells[r * b.columns + 1]));
        break;
      }
      default:
        break;
    }
  }
}

void BareTree::store(SetupData& rd) {
  QVariantList shown;
  for (std::size_t i = 0; i < widgets_.size(); ++i) {
    switch (blueprint_.widgets[i].kind) {
      case Kind::LineEdit:
        shown << static_cast<QLineEdit*>(widgets_[i])->text();
        break;
      case Kind::CheckBox:
        shown << static_cast<QCheckBox*>(widgets_[i])->isChecked();
        break;
      case Kind::ComboBox:
        shown << static_cast<QComboBox*>(widgets_[i])->currentText();
        break;
      case Kind::Grid: {
        auto* grid = static_cast<QTableWidget*>(widgets_[i]);
        for (int r = 0; r < grid->rowCount(); ++r)
          if (grid->item(r, 1)) shown << grid->item(r, 1)->text();
        break;
      }
      default:
        break;
    }
  }
  // Every stored key written back (with its present value: the floor has no settings object).
  for (SetupPart* part : {&rd.SetupPartOne(), &rd.SetupPartTwo()})
    for (const QString& key : part->keys()) part->setValue(key, part->value(key));
}

}  // namespace zan::bench
