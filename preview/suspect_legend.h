#pragma once
// The suspect words of the page: a legend of the reasons being marked, each in its colour with
// how many words it marks, the count of suspect words, and the words in an accessible list (a
// screen reader's way to the marks drawn on the page).

#include "release/page_pipeline.h"

#include <QGroupBox>

#include <memory>

class QLabel;
class QListWidget;
class QVBoxLayout;

namespace zan::preview {

class SuspectLegend final : public QGroupBox {
  Q_OBJECT
 public:
  explicit SuspectLegend(QWidget* parent = nullptr);
  // Lists the words of `page` marked for `markers`.
  void show(const std::shared_ptr<const release::PageResult>& page,
            const release::SuspectMarkers& markers);

 signals:
  // The user chose the word with this index in the list.
  void wordChosen(int index);

 private:
  QVBoxLayout* rows_ = nullptr;
  QLabel* count_ = nullptr;
  QListWidget* list_ = nullptr;
};

}  // namespace zan::preview
