#pragma once
// ZANLinks: the document-information links control. A grid of link rows, each a caption and a
// linked value: a text constant (at most textconstantmaxlength characters) or one of the link
// sources of the setup data (its index fields and batch fields).
//
// The panels call it by these members; the dispatch identifier of each is given, as a host that
// binds late knows them. Every member is virtual so a test can record the calls.

#include "settings/doc_info_field.h"
#include "settings/setup_data.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <vector>

class QTableWidget;

namespace zan {

class ZANLinks : public QWidget {
  Q_OBJECT
 public:
  explicit ZANLinks(QWidget* parent = nullptr);
  ~ZANLinks() override;

  // Design-time properties. The grid has no buttons, title bar menu or sorting of its own;
  // visibletitle shows the column headers. maxlinks is the number of rows shown when
  // filltomaxrows is set.
  int maxlinks = 4;
  bool filltomaxrows = true;
  bool visibletitle = false;
  bool visiblecaptioncolumn = true;
  QString linkcaption = QStringLiteral("LinkCaption"), linktext = QStringLiteral("LinkText");
  int linkcaptionwidth = 1300;  // twips
  int linktextwidth = 2483;     // twips
  int textconstantmaxlength = 254;
  // Applies the design-time properties above to the grid (column widths, captions, rows).
  void applyDesign();
  // The design the settings panels give the control: four rows filling the grid, no buttons, no
  // title, the caption column shown, unsorted, text constants of at most 254 characters, and the
  // two column widths in twips; then applyDesign().
  void applyPanelDesign(int captionWidthTwips, int textWidthTwips);

  // 0x68030014 (put): when true, a row's editor offers the setup data's index and batch fields
  // as link sources besides text constants; when false, only text constants.
  virtual void setOfferSetupLinks(bool offer);
  // 0x6003003a: takes its link sources from `rd`; may hand back another reference in `rd`.
  virtual void SetSetupData(SetupData*& rd);
  // 0x68030015 (put): true while the host is still setting the control up; row edits are not
  // reported through rowEdited meanwhile.
  virtual void setInitializing(bool initializing);
  // 0x68030001 (put): the control's modified flag; the panels clear it after Init.
  virtual void setModified(bool modified);
  // 0x60030055: redraws the rows.
  virtual void Redraw();
  // 0x60030056: removes every row.
  virtual void ClearLinks();
  // 0x6003001c: appends a row (maxlinks only sets how many rows filltomaxrows shows).
  virtual void AddLink(const QString& fieldName, std::int32_t fieldType, const QString& fieldText,
                       const QString& caption);
  // 0x68030011 (get): row `index` (0-based) as a document-information field. Fails with error 381
  // outside the rows.
  virtual DocInfoField Link(std::int16_t index) const;

  int rowCount() const;
  // The caption of row `index`; fails with error 381 outside the rows.
  QString rowCaption(int index) const;
  bool offerSetupLinks() const { return offerSetupLinks_; }
  bool modified() const { return modified_; }
  SetupData* setupData() const { return setupData_; }

  // Lets a user or a test edit a row as the grid's editors do: sets the modified flag and raises
  // rowEdited when the value changed (unless initializing). Fails with error 381 outside the
  // rows and with error 380 for a text constant longer than textconstantmaxlength (an
  // unchanged longer text set by code is kept) or an unknown field type.
  void editRow(int index, const DocInfoField& value);
  // The grid, for tests and hosts that style it.
  QTableWidget* grid() const { return grid_; }

 signals:
  // The user changed a row.
  void rowEdited(int row);

 protected:
  // A new font re-applies the design: column widths and row heights follow it.
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Row {
    QString caption;
    DocInfoField value;
  };
  void rebuildGrid();
  // Shows row `r` of the grid (an empty row past the link rows).
  void showRow(int r);
  std::vector<Row> rows_;
  QTableWidget* grid_ = nullptr;
  QPointer<SetupData> setupData_;
  bool offerSetupLinks_ = false, initializing_ = false, modified_ = false;
};

}  // namespace zan
