#pragma once
// The page as the PDF shows it: the page image and/or the text layer drawn as the PDF draws it,
// the suspect words marked in their reasons' colours, words outlined under the pointer and
// selectable (drag, Shift+click, Ctrl+A; Ctrl+C copies). Zoom: fit, 100 %, Ctrl+wheel,
// Ctrl+plus and Ctrl+minus; pan: the scroll bars, the arrow keys, or dragging with the middle or
// right button. Scene units are PDF points, y downwards.

#include "release/page_pipeline.h"

#include <QGraphicsView>
#include <QImage>

#include <memory>

namespace zan::preview {

class PageOverlay;

class PageView final : public QGraphicsView {
  Q_OBJECT
 public:
  explicit PageView(QWidget* parent = nullptr);
  ~PageView() override;

  // Shows `page` (kept by the caller while shown): `image` under the words when `drawImage`, the
  // words drawn in a visible font when `drawText`.
  void showPage(std::shared_ptr<const release::PageResult> page, const QImage& image,
                bool drawImage, bool drawText);
  void clearPage();
  // The words' reasons changed: draws the marks again.
  void updateMarks();

  void zoomToFit();
  void zoomToActualSize();
  void zoomBy(double factor);
  double zoom() const;  // 1: 100 %

  // Selects word `index`, and scrolls it into view.
  void revealWord(int index);
  int hoveredWord() const;
  // The selected words, first and last (reading order); -1, -1: none.
  std::pair<int, int> selection() const;
  QString selectedText() const;
  // The word's box in scene units.
  QRectF wordRect(int index) const;

 signals:
  void selectionChanged();

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  int wordAt(const QPoint& viewPos) const;
  void select(int from, int to);
  void applyZoom(double zoom);
  double pointsToPixels() const;

  std::shared_ptr<const release::PageResult> page_;
  PageOverlay* overlay_ = nullptr;
  bool fit_ = true;
  int anchor_ = -1;
  bool selecting_ = false;
  QPoint panFrom_;
  bool panning_ = false;
};

}  // namespace zan::preview
