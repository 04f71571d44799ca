#pragma once
// The floor the panels are measured against: the same widget tree built with bare Qt widgets,
// with the same object names, geometry, texts, tooltips, accessible names and descriptions, list
// entries and grid cells, and none of the panels' own machinery (string table, settings object,
// control layer, handlers, late binding). The tree is copied once from a real panel into a
// blueprint; the floor then builds it from the blueprint as often as it is measured.

#include <QHash>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class QWidget;

namespace zan {
class SetupData;
}

namespace zan::bench {

struct WidgetBlueprint {
  enum class Kind {
    Container,
    Frame,
    Label,
    LineEdit,
    PushButton,
    ToolButton,
    CheckBox,
    ComboBox,
    Grid
  };
  Kind kind = Kind::Container;
  int parent = -1;  // index into the blueprint; -1 for the root
  QString name, text, toolTip, accessibleName, accessibleDescription;
  QRect geometry;
  bool hidden = false;
  int maxLength = 32767;
  int arrow = 0;        // tool buttons: Qt::ArrowType
  QPixmap pixmap;       // labels
  QStringList entries;  // combo boxes: the fixed entries
  int columns = 0;      // grids
  std::vector<int> columnWidths;
  QStringList cells;  // grids: row by row
  // The value the panel shows after Init: text, check state or the selected entry's text; and
  // for hub lists the entries the hub delivers.
  QVariant shown;
  QStringList loadedEntries;
};

struct PanelBlueprint {
  std::vector<WidgetBlueprint> widgets;
  QSize size;
};

// The blueprint of `panel`, a panel after its Init (its lists as the hub filled them).
PanelBlueprint blueprintOf(const QWidget& panel);

// The floor's widget tree of `blueprint`, with the fixed entries only and no values shown.
class BareTree {
 public:
  explicit BareTree(const PanelBlueprint& blueprint);
  ~BareTree();
  BareTree(const BareTree&) = delete;
  BareTree& operator=(const BareTree&) = delete;

  QWidget& root() const { return *root_; }
  // What a host's Init needs as its least: every stored value read from `rd`, the hub's lists
  // filled in (split from the hub's answer "A|B|"), and the values shown.
  void load(SetupData& rd, const QString& hubList);
  // What Validate and Apply need as their least: every shown value read back and every stored
  // value written into `rd`.
  void store(SetupData& rd);

 private:
  const PanelBlueprint& blueprint_;
  std::unique_ptr<QWidget> root_;
  std::vector<QWidget*> widgets_;
};

}  // namespace zan::bench
