#pragma once
// Drop-down list combo box: entries with 32-bit item data, ListIndex -1 for no selection.

#include "controls/control.h"

#include <QComboBox>

#include <cstdint>

namespace zan::controls {

// A plain drop-down list that draws a shown text too wide for it elided ("..."), as the combo
// boxes of the panels do.
QComboBox* newElidingComboBox(QWidget* parent);

class ComboBox final : public Control {
 public:
  ComboBox(Form& form, const QString& name, QWidget* parent);
  ~ComboBox() override;
  QComboBox* comboBox() const;

  int listCount() const;
  // The selected entry, -1 for none.
  int listIndex() const;
  // Selects entry `index` (-1 for none) from code; runs onClick when the selection changed.
  // An index outside -1..listCount()-1 fails with error 380 "Invalid property value".
  void setListIndex(int index);

  // The shown text: the selected entry's text, empty when nothing is selected.
  QString text() const;
  QString list(int index) const;  // error 381 outside the list

  // Appends an entry (the selection does not change) and returns its index.
  int addItem(const QString& text);
  // Appends the entries at once, as addItem() one by one would.
  void addItems(const QStringList& texts);
  // Removes an entry without running onClick; removing the selected entry selects none.
  void removeItem(int index);  // error 5 outside the list
  // Removes every entry; the selection becomes -1 without running onClick.
  void clear();

  std::int32_t itemData(int index) const;  // error 381 outside the list
  void setItemData(int index, std::int32_t data);

  // An entry's stored value: the language-independent text that settings hold for it (the
  // shown text may be a translation). An entry given no value stores its shown text.
  QString itemValue(int index) const;  // error 381 outside the list
  void setItemValue(int index, const QString& value);
  // The selected entry's stored value, empty when nothing is selected.
  QString value() const;

  // The selected entry changed, by the user or by code, or the user chose the selected entry
  // again.
  std::function<void()> onClick;

  // Called by the box's widget before its drop-down list opens.
  void beforeListOpens();

 protected:
  bool filterEvent(QEvent* event) override;

 private:
  // The drop-down list opens as wide as its longest entry; a shown text cut off by the box is
  // repeated in the tooltip, before the box's description.
  void fitList();
  void showCutText();

  int lastIndex_ = -1;  // the selection the last click (or code change) reported
  bool changedByChoice_ = false;
  int longestEntry_ = 0;         // pixels; 0 until measured again
  bool cutTextPending_ = false;  // the tooltip waits for the box to be shown
};

}  // namespace zan::controls
