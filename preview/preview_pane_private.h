#pragma once
// The preview pane's insides, shared by its behaviour (preview_pane.cpp) and its layout
// (preview_pane_layout.cpp).

#include <ZANPreview/preview_pane.h>

#include "document_info_box.h"
#include "page_recognition.h"
#include "page_view.h"
#include "preview_settings.h"
#include "suspect_legend.h"

#include "release/release_run.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <QToolButton>

#include <atomic>
#include <memory>
#include <optional>

namespace zan::preview {

// How long settings must rest before the page is recognised again.
constexpr int kRecognitionPauseMs = 400;

class PreviewPane::Private {
 public:
  explicit Private(PreviewPane* q) : q(q) {}
  void build();
  void changeSettings(const QVariantMap& one, const QVariantMap& two);
  void startRecognition();
  // Tells the recognition under way, if any, to stop.
  void stopWorker();
  void finished(quint64 generation, const release::ReleaseOptions& options, RecognisedPage page);
  void show();
  void remark();
  void setBusy(bool busy);
  void setMessage(const QString& text);
  void choosePage();
  QString orientationText() const;

  PreviewPane* q;
  QThreadPool pool;                             // one thread, kept while the pane lives
  KeptRecognizer recognizer;                    // used and ended on the pool's thread only
  std::shared_ptr<std::atomic<bool>> stopFlag;  // the flag of the recognition under way
  QTemporaryDir wordsFolder;
  std::optional<PreviewOptions> settings;  // the latest valid settings
  QString problem;
  std::optional<release::ReleaseOptions> shownWith;  // what the page shown was processed with
  std::shared_ptr<release::PageResult> page;
  QImage image;
  QString path;
  int index = 0, count = 0;
  quint64 generation = 0;
  bool busy = false;
  QTimer pause;

  QComboBox* pageChooser = nullptr;
  QToolButton *openButton = nullptr, *fitButton = nullptr, *actualButton = nullptr;
  QProgressBar* busyIndicator = nullptr;
  QPushButton *stopButton = nullptr, *exportButton = nullptr;
  QLabel *message = nullptr, *orientation = nullptr;
  PageView* view = nullptr;
  SuspectLegend* legend = nullptr;
  DocumentInfoBox* info = nullptr;
};

}  // namespace zan::preview
