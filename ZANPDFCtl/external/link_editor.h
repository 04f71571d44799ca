#pragma once
// The editor of one row of the links control: the row's source ("Text constant" or one of the
// setup data's link sources) and, for a text constant, its text, side by side in the row's value
// cell and no taller than the row. The keyboard starts at the source; Tab and Shift+Tab move
// between the two parts; Tab from the last part or Shift+Tab from the first, and the focus
// leaving the editor (not into the source's drop-down list), finish the edit (`finished`).

#include "settings/doc_info_field.h"

#include <QStringList>
#include <QWidget>

class QComboBox;
class QLineEdit;

namespace zan {

// What a row's value shows: a text constant's text, "Index field: NAME" or "Batch field: NAME".
QString linkDisplayText(const DocInfoField& value);

class LinkEditor final : public QWidget {
  Q_OBJECT
 public:
  explicit LinkEditor(QWidget* parent);

  void setSources(const QStringList& indexFields, const QStringList& batchFields);
  // Shows `value`; a text constant longer than `maxLength` (set by code) may only be shortened.
  void setValue(const DocInfoField& value, int maxLength);
  DocInfoField value() const;
  // The view closed the editor by itself (the user went to another cell): finishing later
  // would store the row a second time.
  void markClosed() { finished_ = true; }

 signals:
  void finished();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void finish();
  // The focus is in one of the parts, or in a window they opened (the drop-down list).
  bool holdsFocus() const;
  void showSource();
  // The source as wide as its shown entry needs, at most two fifths of the editor while the
  // text is shown; the text takes the rest.
  void placeParts();

  QComboBox* source_;
  QLineEdit* text_;
  bool finished_ = false;
};

}  // namespace zan
