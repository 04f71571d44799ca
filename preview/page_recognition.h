#pragma once
// One page through the release engine's page pipeline, off the window's thread: what the pane
// shows is exactly what the release's page processing produced, plus the page image to draw.

#include "release/page_pipeline.h"
#include "release/release_options.h"

#include <QImage>
#include <QString>

#include <atomic>
#include <memory>

namespace zan::preview {

struct PageRequest {
  release::PageSource page;
  release::ReleaseOptions options;
  // Set from another thread to stop the page's recognition early; null: never stopped.
  std::shared_ptr<const std::atomic<bool>> cancelled;
};

struct RecognisedPage {
  std::shared_ptr<release::PageResult> result;  // null when the page failed
  QImage image;       // the upright page as the PDF shows it, at most kViewDpi, RGB32
  int pageCount = 0;  // pages the file holds
  QString failure;    // why the page could not be processed; release::kRecognitionCancelled
                      // when stopped through the request's flag
};

// The resolution the page image is prepared at for the view (100 % needs 96 dpi; zooming in
// to 300 % stays sharp).
inline constexpr double kViewDpi = 200;

// Processes the page with a Recognizer that the calling thread keeps for its next page of the
// same language and words. Never throws.
RecognisedPage recognisePage(const PageRequest& request);

}  // namespace zan::preview
