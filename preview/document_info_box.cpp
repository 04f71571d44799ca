#include "document_info_box.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zan::preview {
namespace {

const char* const kNames[] = {QT_TRANSLATE_NOOP("zan::preview::DocumentInfoBox", "Title"),
                              QT_TRANSLATE_NOOP("zan::preview::DocumentInfoBox", "Subject"),
                              QT_TRANSLATE_NOOP("zan::preview::DocumentInfoBox", "Author"),
                              QT_TRANSLATE_NOOP("zan::preview::DocumentInfoBox", "Keywords")};
const char* const kObjectNames[] = {"infoTitle", "infoSubject", "infoAuthor", "infoKeywords"};

}  // namespace

DocumentInfoBox::DocumentInfoBox(QWidget* parent) : QGroupBox(tr("Document information"), parent) {
  setObjectName(QStringLiteral("documentInformation"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  for (int i = 0; i < 4; ++i) {
    values_[i] = new QLineEdit(this);
    values_[i]->setObjectName(QLatin1String(kObjectNames[i]));
    values_[i]->setReadOnly(true);
    values_[i]->setAccessibleName(tr(kNames[i]));
    form->addRow(tr(kNames[i]) + QLatin1Char(':'), values_[i]);
  }
  layout->addLayout(form);
  auto* caption = new QLabel(tr("Sample values of the linked fields:"), this);
  samples_ = new QTableWidget(0, 2, this);
  samples_->setObjectName(QStringLiteral("sampleValues"));
  samples_->setAccessibleName(tr("Sample values of the linked fields"));
  samples_->setHorizontalHeaderLabels({tr("Field"), tr("Sample value")});
  samples_->horizontalHeader()->setStretchLastSection(true);
  samples_->verticalHeader()->hide();
  samples_->setMaximumHeight(110);
  samples_->setEditTriggers(QAbstractItemView::AllEditTriggers);
  caption->setBuddy(samples_);
  layout->addWidget(caption);
  layout->addWidget(samples_);
  warnings_ = new QLabel(this);
  warnings_->setObjectName(QStringLiteral("infoWarnings"));
  warnings_->setWordWrap(true);
  layout->addWidget(warnings_);
  connect(samples_, &QTableWidget::cellChanged, this, &DocumentInfoBox::onEdited);
  batch_.name = QStringLiteral("Preview");
}

void DocumentInfoBox::setFields(const release::ReleaseOptions& options) {
  options_ = options;
  fillTable();
  resolve();
}

void DocumentInfoBox::setSampleValues(const QMap<QString, QString>& index,
                                      const QMap<QString, QString>& batch) {
  document_.indexFields = index;
  batch_.batchFields = batch;
  fillTable();
  resolve();
}

void DocumentInfoBox::fillTable() {
  filling_ = true;
  samples_->setRowCount(0);
  const DocInfoField* fields[] = {&options_.title, &options_.subject, &options_.author,
                                  &options_.keywords};
  QStringList seen;
  for (const DocInfoField* f : fields) {
    const bool index = f->FieldType() == kFieldIndexField;
    if (!index && f->FieldType() != kFieldBatchField) continue;
    const QString name = f->FieldName().trimmed();
    const QString key = (index ? QStringLiteral("i:") : QStringLiteral("b:")) + name;
    if (name.isEmpty() || seen.contains(key)) continue;
    seen << key;
    const int row = samples_->rowCount();
    samples_->insertRow(row);
    auto* label = new QTableWidgetItem(index ? tr("Index field %1").arg(name)
                                             : tr("Batch field %1").arg(name));
    label->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    label->setData(Qt::UserRole, key);
    samples_->setItem(row, 0, label);
    const QString value =
        index ? document_.indexFields.value(name) : batch_.batchFields.value(name);
    samples_->setItem(row, 1, new QTableWidgetItem(value));
  }
  filling_ = false;
}

void DocumentInfoBox::onEdited(int row, int column) {
  if (filling_ || column != 1) return;
  const QString key = samples_->item(row, 0)->data(Qt::UserRole).toString();
  const QString value = samples_->item(row, 1)->text();
  if (key.startsWith(QLatin1String("i:")))
    document_.indexFields.insert(key.mid(2), value);
  else
    batch_.batchFields.insert(key.mid(2), value);
  resolve();
}

void DocumentInfoBox::resolve() {
  information_ = release::resolveDocumentInformation(options_, batch_, document_);
  const QString values[] = {information_.title, information_.subject, information_.author,
                            information_.keywords};
  for (int i = 0; i < 4; ++i) {
    values_[i]->setText(values[i]);
    values_[i]->setCursorPosition(0);
  }
  warnings_->setText(information_.warnings.join(QLatin1Char('\n')));
  warnings_->setVisible(!information_.warnings.isEmpty());
  emit informationChanged();
}

}  // namespace zan::preview
