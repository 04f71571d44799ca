#include "page_view.h"

#include "mark_style.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionGraphicsItem>
#include <QWheelEvent>

#include <algorithm>

namespace zan::preview {

// The words' marks, the outline under the pointer and the selection, in one item: marking 500
// words again is one repaint of the part shown.
class PageOverlay final : public QGraphicsItem {
 public:
  explicit PageOverlay(QRectF bounds) : bounds_(bounds) {}
  QRectF boundingRect() const override { return bounds_; }
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*) override;

  std::shared_ptr<const release::PageResult> page;
  std::vector<QRectF> rects;  // each word's, in scene units
  int hovered = -1;
  int from = -1, to = -1;

 private:
  QRectF bounds_;
};

// The visible text layer, drawn as the PDF draws it: DejaVu Sans on each word's baseline, turned
// to its reading direction and stretched to its length.
class TextLayer final : public QGraphicsItem {
 public:
  TextLayer(QRectF bounds, std::shared_ptr<const release::PageResult> page)
      : bounds_(bounds), page_(std::move(page)) {}
  QRectF boundingRect() const override { return bounds_; }
  void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(100);
    const QFontMetricsF metrics(font);
    painter->setFont(font);
    painter->setPen(Qt::black);
    for (const release::PlacedWord& w : page_->words) {
      const double advance = metrics.horizontalAdvance(w.text);
      if (w.fontSize <= 0 || w.length <= 0 || advance <= 0) continue;
      painter->save();
      painter->translate(w.origin.x(), page_->height - w.origin.y());
      painter->rotate(-w.angle);
      const double size = w.fontSize / 100.0;
      painter->scale(w.length / advance, size);
      painter->drawText(QPointF(0, 0), w.text);
      painter->restore();
    }
  }

 private:
  QRectF bounds_;
  std::shared_ptr<const release::PageResult> page_;
};

void PageOverlay::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*) {
  if (!page) return;
  const QRectF exposed = option->exposedRect;
  const double pixel = 1.0 / std::max(0.01, painter->worldTransform().m11());
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const QRectF& r = rects[i];
    if (!r.intersects(exposed)) continue;
    const QStringList& reasons = page->words[i].reasons;
    const bool selected = from >= 0 && int(i) >= from && int(i) <= to;
    if (!reasons.isEmpty()) {
      QColor fill = reasonColour(reasons.first());
      fill.setAlpha(90);
      painter->fillRect(r, fill);
      // Each further reason as a frame of its own colour, inside the one before.
      for (int k = 0; k < reasons.size(); ++k) {
        const double inset = k * 2 * pixel;
        painter->setPen(QPen(reasonColour(reasons[k]), 2 * pixel));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(r.adjusted(inset, inset, -inset, -inset));
      }
    }
    if (selected) painter->fillRect(r, QColor(51, 102, 204, 90));
    if (int(i) == hovered) {
      painter->setPen(QPen(QColor(51, 102, 204), 1.5 * pixel));
      painter->setBrush(Qt::NoBrush);
      painter->drawRect(r);
    }
  }
}

PageView::PageView(QWidget* parent) : QGraphicsView(parent) {
  setScene(new QGraphicsScene(this));
  setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                 QPainter::TextAntialiasing);
  setBackgroundBrush(palette().color(QPalette::Dark));
  setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
}

PageView::~PageView() = default;

void PageView::clearPage() {
  scene()->clear();
  overlay_ = nullptr;
  page_.reset();
  anchor_ = -1;
}

void PageView::showPage(std::shared_ptr<const release::PageResult> page, const QImage& image,
                        bool drawImage, bool drawText) {
  const int hovered = overlay_ ? overlay_->hovered : -1;
  scene()->clear();
  page_ = std::move(page);
  const QRectF bounds(0, 0, page_->width, page_->height);
  scene()->setSceneRect(bounds);
  scene()->addRect(bounds, Qt::NoPen, Qt::white);
  if (drawImage && !image.isNull()) {
    auto* picture = scene()->addPixmap(QPixmap::fromImage(image));
    picture->setTransformationMode(Qt::SmoothTransformation);
    picture->setScale(page_->width / image.width());
  }
  if (drawText) scene()->addItem(new TextLayer(bounds, page_));
  overlay_ = new PageOverlay(bounds);
  overlay_->page = page_;
  overlay_->rects.reserve(page_->words.size());
  for (const release::PlacedWord& w : page_->words)
    overlay_->rects.push_back(QRectF(w.box.x(), page_->height - w.box.y() - w.box.height(),
                                     w.box.width(), w.box.height()));
  overlay_->hovered = hovered < int(page_->words.size()) ? hovered : -1;
  scene()->addItem(overlay_);
  if (fit_) zoomToFit();
}

void PageView::updateMarks() {
  if (overlay_) overlay_->update();
}

double PageView::pointsToPixels() const {
  return logicalDpiX() / 72.0;
}

double PageView::zoom() const {
  return transform().m11() / pointsToPixels();
}

void PageView::applyZoom(double zoom) {
  zoom = std::clamp(zoom, 0.05, 8.0);
  const double k = zoom * pointsToPixels();
  setTransform(QTransform::fromScale(k, k));
}

void PageView::zoomToFit() {
  fit_ = true;
  if (sceneRect().isEmpty()) return;
  fitInView(sceneRect(), Qt::KeepAspectRatio);
}

void PageView::zoomToActualSize() {
  fit_ = false;
  applyZoom(1.0);
}

void PageView::zoomBy(double factor) {
  fit_ = false;
  applyZoom(zoom() * factor);
}

QRectF PageView::wordRect(int index) const {
  if (!overlay_ || index < 0 || index >= int(overlay_->rects.size())) return {};
  return overlay_->rects[std::size_t(index)];
}

int PageView::wordAt(const QPoint& viewPos) const {
  if (!overlay_) return -1;
  const QPointF p = mapToScene(viewPos);
  for (std::size_t i = 0; i < overlay_->rects.size(); ++i)
    if (overlay_->rects[i].contains(p)) return int(i);
  return -1;
}

int PageView::hoveredWord() const {
  return overlay_ ? overlay_->hovered : -1;
}

std::pair<int, int> PageView::selection() const {
  if (!overlay_) return {-1, -1};
  return {overlay_->from, overlay_->to};
}

void PageView::select(int from, int to) {
  if (!overlay_) return;
  overlay_->from = std::min(from, to);
  overlay_->to = std::max(from, to);
  overlay_->update();
  emit selectionChanged();
}

void PageView::revealWord(int index) {
  const QRectF r = wordRect(index);
  if (r.isNull()) return;
  anchor_ = index;
  select(index, index);
  ensureVisible(r, 40, 40);
}

QString PageView::selectedText() const {
  if (!overlay_ || overlay_->from < 0) return {};
  QString text;
  int paragraph = -1;
  for (int i = overlay_->from; i <= overlay_->to; ++i) {
    const release::PlacedWord& w = page_->words[std::size_t(i)];
    if (!text.isEmpty()) text += w.paragraph != paragraph ? QLatin1Char('\n') : QLatin1Char(' ');
    text += w.text;
    paragraph = w.paragraph;
  }
  return text;
}

void PageView::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() & Qt::ControlModifier) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0) zoomBy(std::pow(1.15, steps));
    event->accept();
    return;
  }
  QGraphicsView::wheelEvent(event);
}

void PageView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton || event->button() == Qt::RightButton) {
    panning_ = true;
    panFrom_ = event->pos();
    viewport()->setCursor(Qt::ClosedHandCursor);
    event->accept();
    return;
  }
  if (event->button() == Qt::LeftButton) {
    const int word = wordAt(event->pos());
    if (word < 0) {
      select(-1, -1);
      anchor_ = -1;
    } else {
      if (!(event->modifiers() & Qt::ShiftModifier) || anchor_ < 0) anchor_ = word;
      select(anchor_, word);
      selecting_ = true;
    }
    event->accept();
    return;
  }
  QGraphicsView::mousePressEvent(event);
}

void PageView::mouseMoveEvent(QMouseEvent* event) {
  if (panning_) {
    const QPoint delta = event->pos() - panFrom_;
    panFrom_ = event->pos();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - delta.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() - delta.y());
    return;
  }
  const int word = wordAt(event->pos());
  if (overlay_ && word != overlay_->hovered) {
    overlay_->hovered = word;
    overlay_->update();
    viewport()->setCursor(word >= 0 ? Qt::IBeamCursor : Qt::ArrowCursor);
    setToolTip(word >= 0 ? page_->words[std::size_t(word)].note : QString());
  }
  if (selecting_ && word >= 0) select(anchor_, word);
  QGraphicsView::mouseMoveEvent(event);
}

void PageView::mouseReleaseEvent(QMouseEvent* event) {
  if (panning_) {
    panning_ = false;
    viewport()->unsetCursor();
  }
  selecting_ = false;
  QGraphicsView::mouseReleaseEvent(event);
}

void PageView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    const QString text = selectedText();
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    if (page_ && !page_->words.empty()) select(0, int(page_->words.size()) - 1);
    return;
  }
  if (event->matches(QKeySequence::ZoomIn) ||
      (event->modifiers() & Qt::ControlModifier && event->key() == Qt::Key_Equal)) {
    zoomBy(1.25);
    return;
  }
  if (event->matches(QKeySequence::ZoomOut)) {
    zoomBy(1 / 1.25);
    return;
  }
  QGraphicsView::keyPressEvent(event);
}

void PageView::resizeEvent(QResizeEvent* event) {
  QGraphicsView::resizeEvent(event);
  if (fit_) zoomToFit();
}

void PageView::leaveEvent(QEvent* event) {
  if (overlay_ && overlay_->hovered >= 0) {
    overlay_->hovered = -1;
    overlay_->update();
  }
  QGraphicsView::leaveEvent(event);
}

}  // namespace zan::preview
