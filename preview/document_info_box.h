#pragma once
// The document information a release would write for the page: Title, Subject, Author and
// Keywords, with their links to index and batch fields resolved from sample values that the
// user edits here.

#include "release/document_information.h"
#include "release/release_options.h"

#include <QGroupBox>
#include <QMap>

class QLabel;
class QLineEdit;
class QTableWidget;

namespace zan::preview {

class DocumentInfoBox final : public QGroupBox {
  Q_OBJECT
 public:
  explicit DocumentInfoBox(QWidget* parent = nullptr);

  // The fields of `options`; the sample table lists the index and batch fields they link to.
  void setFields(const release::ReleaseOptions& options);
  void setSampleValues(const QMap<QString, QString>& index, const QMap<QString, QString>& batch);

  const release::Batch& sampleBatch() const { return batch_; }
  const release::BatchDocument& sampleDocument() const { return document_; }
  const release::DocumentInformation& information() const { return information_; }

 signals:
  void informationChanged();

 private:
  void fillTable();
  void resolve();
  void onEdited(int row, int column);

  release::ReleaseOptions options_;
  release::Batch batch_;
  release::BatchDocument document_;
  release::DocumentInformation information_;
  QTableWidget* samples_ = nullptr;
  QLineEdit* values_[4] = {};
  QLabel* warnings_ = nullptr;
  bool filling_ = false;
};

}  // namespace zan::preview
