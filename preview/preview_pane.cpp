#include "preview_pane_private.h"

#include "release/page_file.h"
#include "release/release_error.h"
#include "release/release_report.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QJsonDocument>
#include <QSaveFile>
#include <QtConcurrent/QtConcurrentRun>

namespace zan::preview {

void PreviewPane::Private::stopWorker() {
  if (stopFlag) *stopFlag = true;  // the worker stops at its next word; its result is dropped
  stopFlag.reset();
}

void PreviewPane::Private::setMessage(const QString& text) {
  message->setText(text);
  message->setVisible(!text.isEmpty());
}

void PreviewPane::Private::setBusy(bool now) {
  if (busy == now) return;
  busy = now;
  busyIndicator->setVisible(now);
  stopButton->setEnabled(now);
  emit q->busyChanged(now);
}

void PreviewPane::Private::changeSettings(const QVariantMap& one, const QVariantMap& two) {
  try {
    settings = previewOptions(one, two, wordsFolder.path());
  } catch (const release::ReleaseError& e) {
    q->setSettingsProblem(e.message());
    return;
  }
  const bool hadProblem = !problem.isEmpty();
  problem.clear();
  info->setFields(settings->options);
  if (hadProblem) setMessage(QString());
  if (!page || !shownWith || needsRecognition(*shownWith, settings->options)) {
    pause.start();
    return;
  }
  remark();
}

void PreviewPane::Private::remark() {
  shownWith->suspects = settings->options.suspects;
  release::markSuspects(page->words, settings->options.suspects);
  view->updateMarks();
  legend->show(page, settings->options.suspects);
  emit q->previewShown();
}

void PreviewPane::Private::startRecognition() {
  pause.stop();
  if (!settings || !problem.isEmpty() || path.isEmpty()) return;
  stopWorker();
  const quint64 mine = ++generation;
  stopFlag = std::make_shared<std::atomic<bool>>(false);
  PageRequest request{{path, index, 1}, settings->options, stopFlag};
  auto* watcher = new QFutureWatcher<RecognisedPage>(q);
  QObject::connect(watcher, &QFutureWatcher<RecognisedPage>::finished, q,
                   [this, watcher, mine, options = request.options] {
                     watcher->deleteLater();
                     finished(mine, options, watcher->result());
                   });
  watcher->setFuture(QtConcurrent::run(
      &pool, [request, kept = &recognizer] { return recognisePage(request, *kept); }));
  setBusy(true);
}

void PreviewPane::Private::finished(quint64 mine, const release::ReleaseOptions& options,
                                    RecognisedPage result) {
  if (mine != generation) return;  // stopped, or settings changed since
  setBusy(false);
  if (!result.result) {
    setMessage(PreviewPane::tr("The page cannot be previewed: %1").arg(result.failure));
    return;
  }
  if (result.pageCount != count) {
    count = result.pageCount;
    pageChooser->clear();
    for (int i = 0; i < count; ++i)
      pageChooser->addItem(PreviewPane::tr("%1 of %2").arg(i + 1).arg(count));
  }
  pageChooser->setCurrentIndex(index);
  pageChooser->setEnabled(count > 1);
  page = std::move(result.result);
  image = std::move(result.image);
  shownWith = options;
  if (settings && needsRecognition(options, settings->options)) {
    pause.start();  // the settings changed while the page was being read
  }
  show();
}

void PreviewPane::Private::show() {
  const release::PageContent content = shownWith->content;
  setMessage(QString());
  if (page->kept)
    setMessage(PreviewPane::tr("This PDF page carries text: the release keeps it as it is."));
  else if (content == release::PageContent::Image)
    setMessage(
        PreviewPane::tr("Image only: the PDF holds the page image and no text; nothing "
                        "is recognised or marked."));
  else if (content == release::PageContent::Text)
    setMessage(
        PreviewPane::tr("Normal PDF: the PDF draws the recognised text, without the page "
                        "image."));
  orientation->setText(orientationText());
  view->showPage(page, image, content != release::PageContent::Text,
                 content == release::PageContent::Text);
  exportButton->setEnabled(true);
  if (settings) release::markSuspects(page->words, settings->options.suspects);
  shownWith->suspects = settings ? settings->options.suspects : shownWith->suspects;
  legend->show(page, shownWith->suspects);
  emit q->previewShown();
}

QString PreviewPane::Private::orientationText() const {
  const QString reason = release::orientationReasonName(page->orientationReason);
  const QString why = reason == QLatin1String("detected") ? PreviewPane::tr("detected")
                      : reason == QLatin1String("tried")  ? PreviewPane::tr("found by reading it")
                      : reason == QLatin1String("not allowed")
                          ? PreviewPane::tr("that orientation is not to be tried")
                      : reason == QLatin1String("weak evidence")
                          ? PreviewPane::tr("too little text to decide")
                          : PreviewPane::tr("no other orientation is to be tried");
  if (page->rotation == 0) return PreviewPane::tr("The page stays as scanned (%1).").arg(why);
  return PreviewPane::tr("The page is turned %1° clockwise to stand upright (%2).")
      .arg(page->rotation)
      .arg(why);
}

void PreviewPane::Private::choosePage() {
  const QString file = QFileDialog::getOpenFileName(
      q, PreviewPane::tr("Open page"), QFileInfo(path).absolutePath(),
      PreviewPane::tr("Pages (*.png *.tif *.tiff *.jpg *.jpeg *.pnm *.pgm *.ppm *.pbm *.bmp "
                      "*.pdf);;All files (*)"));
  if (!file.isEmpty()) q->setPage(file, 0);
}

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent), d(std::make_unique<Private>(this)) {
  setObjectName(QStringLiteral("previewPane"));
  setAccessibleName(tr("Preview"));
  d->build();
}

PreviewPane::~PreviewPane() {
  ++d->generation;
  d->stopWorker();
  d->pool.waitForDone();
  // The recognizer ends now, on the thread that made it, not whenever that thread exits.
  if (d->recognizer.recognizer) {
    d->pool.start([kept = &d->recognizer] { kept->recognizer.reset(); });
    d->pool.waitForDone();
  }
}

void PreviewPane::setSettings(const QVariantMap& partOne, const QVariantMap& partTwo) {
  d->changeSettings(partOne, partTwo);
}

void PreviewPane::setSettingsProblem(const QString& message) {
  d->problem = message;
  d->pause.stop();
  if (d->busy) cancel();
  d->setMessage(tr("No preview: %1").arg(message));
}

void PreviewPane::setPage(const QString& path, int index) {
  if (path != d->path) d->count = 0;
  d->path = path;
  d->index = std::max(0, index);
  d->shownWith.reset();
  d->startRecognition();
}

QString PreviewPane::pagePath() const {
  return d->path;
}
int PreviewPane::pageIndex() const {
  return d->index;
}
int PreviewPane::pageCount() const {
  return d->count;
}

void PreviewPane::setSampleValues(const QVariantMap& indexFields, const QVariantMap& batchFields) {
  QMap<QString, QString> index, batch;
  for (auto it = indexFields.begin(); it != indexFields.end(); ++it)
    index.insert(it.key(), it.value().toString());
  for (auto it = batchFields.begin(); it != batchFields.end(); ++it)
    batch.insert(it.key(), it.value().toString());
  d->info->setSampleValues(index, batch);
}

bool PreviewPane::isBusy() const {
  return d->busy;
}

void PreviewPane::cancel() {
  if (!d->busy) return;
  ++d->generation;
  d->stopWorker();
  d->setBusy(false);
  d->setMessage(tr("Recognition stopped; the page shown is from earlier settings."));
}

QList<PreviewWord> PreviewPane::words() const {
  QList<PreviewWord> words;
  if (!d->page) return words;
  for (const release::PlacedWord& w : d->page->words)
    words.append({w.text, w.box, w.confidence, w.reasons});
  return words;
}

int PreviewPane::rotation() const {
  return d->page ? d->page->rotation : 0;
}

QString PreviewPane::rotationReason() const {
  return d->page ? release::orientationReasonName(d->page->orientationReason) : QString();
}

QVariantMap PreviewPane::documentInformation() const {
  const release::DocumentInformation& i = d->info->information();
  return {{QStringLiteral("Title"), i.title},
          {QStringLiteral("Subject"), i.subject},
          {QStringLiteral("Author"), i.author},
          {QStringLiteral("Keywords"), i.keywords}};
}

QByteArray PreviewPane::reportJson() const {
  if (!d->page) return {};
  release::DocumentReport document;
  document.number = 1;
  document.pdf = release::documentFileName(1);
  document.information = d->info->information();
  document =
      release::reportDocument(std::move(document), {d->page.get()},
                              {release::PageSource{d->path, d->index, std::max(1, d->count)}});
  return QJsonDocument(release::documentJson(document)).toJson(QJsonDocument::Indented);
}

bool PreviewPane::exportReport(const QString& path, QString* error) const {
  QSaveFile file(path);
  const QByteArray json = reportJson();
  if (json.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(json) != json.size() ||
      !file.commit()) {
    if (error)
      *error = json.isEmpty() ? tr("There is no page to export yet.")
                              : tr("%1 cannot be written: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

void PreviewPane::zoomToFit() {
  d->view->zoomToFit();
}
void PreviewPane::zoomToActualSize() {
  d->view->zoomToActualSize();
}
double PreviewPane::zoom() const {
  return d->view->zoom();
}

}  // namespace zan::preview
