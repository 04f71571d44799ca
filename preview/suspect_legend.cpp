#include "suspect_legend.h"

#include "mark_style.h"

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QVBoxLayout>

namespace zan::preview {
namespace {

bool marks(const release::SuspectMarkers& m, const QString& reason) {
  if (reason == QLatin1String("LowOcrConfidence")) return m.lowOcrConfidence;
  if (reason == QLatin1String("WordNotInDictionary")) return m.wordNotInDictionary;
  if (reason == QLatin1String("MixedCases")) return m.mixedCases;
  if (reason == QLatin1String("LowFontConfidence")) return m.lowFontConfidence;
  if (reason == QLatin1String("MixedAlphaNumeric")) return m.mixedAlphaNumeric;
  return reason == QLatin1String("NumericOnly") && m.numericOnly;
}

QPixmap swatch(const QColor& colour, int size) {
  QPixmap p(size, size);
  p.fill(Qt::transparent);
  QPainter painter(&p);
  QColor fill = colour;
  fill.setAlpha(90);
  painter.fillRect(p.rect(), fill);
  painter.setPen(QPen(colour, 2));
  painter.drawRect(p.rect().adjusted(1, 1, -1, -1));
  return p;
}

}  // namespace

SuspectLegend::SuspectLegend(QWidget* parent) : QGroupBox(tr("Suspect words"), parent) {
  setObjectName(QStringLiteral("suspectLegend"));
  auto* layout = new QVBoxLayout(this);
  rows_ = new QVBoxLayout;
  rows_->setSpacing(2);
  layout->addLayout(rows_);
  count_ = new QLabel(this);
  count_->setObjectName(QStringLiteral("suspectCount"));
  layout->addWidget(count_);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("suspectList"));
  list_->setAccessibleName(tr("Suspect words"));
  list_->setAccessibleDescription(tr("The words the PDF marks, with their reasons"));
  layout->addWidget(list_, 1);
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) emit wordChosen(list_->item(row)->data(Qt::UserRole).toInt());
  });
}

void SuspectLegend::show(const std::shared_ptr<const release::PageResult>& page,
                         const release::SuspectMarkers& markers) {
  while (QLayoutItem* item = rows_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  const int side = fontMetrics().height() - 2;
  int suspects = 0;
  QHash<QString, int> perReason;
  const QSignalBlocker quiet(list_);
  list_->clear();
  for (std::size_t i = 0; page && i < page->words.size(); ++i) {
    const release::PlacedWord& w = page->words[i];
    if (w.reasons.isEmpty()) continue;
    ++suspects;
    QStringList names;
    for (const QString& r : w.reasons) {
      ++perReason[r];
      names << reasonName(r);
    }
    auto* item = new QListWidgetItem(swatch(reasonColour(w.reasons.first()), side),
                                     tr("\"%1\": %2 (%3 %)")
                                         .arg(w.text, names.join(QStringLiteral(", ")))
                                         .arg(qRound(w.confidence)),
                                     list_);
    item->setData(Qt::UserRole, int(i));
    item->setToolTip(w.note);
  }
  for (const QString& reason : suspectReasonKeys()) {
    if (!marks(markers, reason)) continue;
    QString text = reasonName(reason);
    if (reason == QLatin1String("LowOcrConfidence") || reason == QLatin1String("LowFontConfidence"))
      text = tr("%1 (below %2 %)").arg(text).arg(markers.confidenceThreshold);
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto* colour = new QLabel(row);
    colour->setPixmap(swatch(reasonColour(reason), side));
    auto* label = new QLabel(tr("%1: %2").arg(text).arg(perReason.value(reason)), row);
    label->setObjectName(QStringLiteral("legend") + reason);
    h->addWidget(colour);
    h->addWidget(label, 1);
    rows_->addWidget(row);
  }
  if (rows_->isEmpty()) rows_->addWidget(new QLabel(tr("No suspect markers are ticked."), this));
  count_->setText(tr("%n suspect word(s)", nullptr, suspects));
}

}  // namespace zan::preview
