#pragma once
// One page through the release engine's page pipeline, off the window's thread: what the pane
// shows is exactly what the release's page processing produced, plus the page image to draw.

#include "release/page_pipeline.h"
#include "release/recognizer.h"
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

// The Recognizer a worker keeps for its next page of the same language and words. Its owner makes
// it end on the worker's thread once no page is in hand (not in a thread-local: those end after
// the thread pool has let the thread go, while the process may already be ending).
struct KeptRecognizer {
  std::unique_ptr<release::Recognizer> recognizer;
  QString key;  // the language and words it was made for
};

// Processes the page with `kept`'s Recognizer, made anew when the request's language or words
// differ. One page at a time per KeptRecognizer, on the thread that keeps it. Never throws.
RecognisedPage recognisePage(const PageRequest& request, KeptRecognizer& kept);

}  // namespace zan::preview
