// The preview pane's controls and their layout: the page chooser and zoom buttons above the page,
// the legend, the marks and the document information beside it.
#include "preview_pane_private.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QSplitter>
#include <QVBoxLayout>

namespace zan::preview {

void PreviewPane::Private::build() {
  pool.setMaxThreadCount(1);
  pool.setExpiryTimeout(-1);  // the thread keeps its recognizer for the next page
  pause.setSingleShot(true);
  pause.setInterval(kRecognitionPauseMs);
  QObject::connect(&pause, &QTimer::timeout, q, [this] { startRecognition(); });

  auto* bar = new QHBoxLayout;
  auto* pageLabel = new QLabel(PreviewPane::tr("Page:"), q);
  pageChooser = new QComboBox(q);
  pageChooser->setObjectName(QStringLiteral("pageChooser"));
  pageChooser->setAccessibleName(PreviewPane::tr("Page of the file"));
  pageLabel->setBuddy(pageChooser);
  openButton = new QToolButton(q);
  openButton->setObjectName(QStringLiteral("openPageButton"));
  // The pane's access keys are the dialog's too: it takes only letters no panel uses, in either
  // language, and opens a page with the standard shortcut instead.
  openButton->setText(PreviewPane::tr("Open page..."));
  openButton->setShortcut(QKeySequence::Open);
  openButton->setToolTip(
      PreviewPane::tr("Preview another page image, TIFF or PDF (%1)")
          .arg(QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText)));
  fitButton = new QToolButton(q);
  fitButton->setObjectName(QStringLiteral("fitButton"));
  fitButton->setText(PreviewPane::tr("F&it"));
  fitButton->setToolTip(PreviewPane::tr("The whole page in the view"));
  actualButton = new QToolButton(q);
  actualButton->setObjectName(QStringLiteral("actualSizeButton"));
  actualButton->setText(PreviewPane::tr("100 %"));
  actualButton->setAccessibleName(PreviewPane::tr("Actual size"));
  actualButton->setToolTip(PreviewPane::tr("The page at its real size (Ctrl+wheel zooms)"));
  busyIndicator = new QProgressBar(q);
  busyIndicator->setObjectName(QStringLiteral("busyIndicator"));
  busyIndicator->setRange(0, 0);
  busyIndicator->setMaximumWidth(90);
  busyIndicator->setAccessibleName(PreviewPane::tr("Recognising the page"));
  busyIndicator->setVisible(false);
  stopButton = new QPushButton(PreviewPane::tr("Stop"), q);
  stopButton->setObjectName(QStringLiteral("stopButton"));
  stopButton->setToolTip(PreviewPane::tr("Stop recognising the page"));
  stopButton->setEnabled(false);
  bar->addWidget(pageLabel);
  bar->addWidget(pageChooser, 1);
  bar->addWidget(openButton);
  bar->addWidget(fitButton);
  bar->addWidget(actualButton);
  bar->addWidget(busyIndicator);
  bar->addWidget(stopButton);

  message = new QLabel(q);
  message->setObjectName(QStringLiteral("previewMessage"));
  message->setWordWrap(true);
  message->setTextInteractionFlags(Qt::TextSelectableByMouse);
  message->setVisible(false);
  orientation = new QLabel(q);
  orientation->setObjectName(QStringLiteral("orientationLabel"));
  orientation->setWordWrap(true);

  view = new PageView(q);
  view->setObjectName(QStringLiteral("pageView"));
  view->setAccessibleName(PreviewPane::tr("Page as the PDF shows it"));
  view->viewport()->setAccessibleName(view->accessibleName());
  view->setMinimumSize(260, 300);
  auto* side = new QWidget(q);
  auto* sideLayout = new QVBoxLayout(side);
  sideLayout->setContentsMargins(0, 0, 0, 0);
  legend = new SuspectLegend(side);
  info = new DocumentInfoBox(side);
  exportButton = new QPushButton(PreviewPane::tr("&Export words..."), side);
  exportButton->setObjectName(QStringLiteral("exportButton"));
  exportButton->setToolTip(
      PreviewPane::tr("Save the page's words as the release report has them (JSON)"));
  exportButton->setEnabled(false);
  sideLayout->addWidget(legend, 1);
  sideLayout->addWidget(info);
  sideLayout->addWidget(exportButton, 0, Qt::AlignLeft);
  auto* splitter = new QSplitter(q);
  splitter->addWidget(view);
  splitter->addWidget(side);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);

  auto* layout = new QVBoxLayout(q);
  layout->addLayout(bar);
  layout->addWidget(message);
  layout->addWidget(orientation);
  layout->addWidget(splitter, 1);

  QObject::connect(fitButton, &QToolButton::clicked, q, [this] { view->zoomToFit(); });
  QObject::connect(actualButton, &QToolButton::clicked, q, [this] { view->zoomToActualSize(); });
  QObject::connect(stopButton, &QPushButton::clicked, q, [this] { q->cancel(); });
  QObject::connect(openButton, &QToolButton::clicked, q, [this] { choosePage(); });
  QObject::connect(pageChooser, qOverload<int>(&QComboBox::activated), q,
                   [this](int i) { q->setPage(path, i); });
  QObject::connect(legend, &SuspectLegend::wordChosen, q, [this](int i) { view->revealWord(i); });
  QObject::connect(exportButton, &QPushButton::clicked, q, [this] {
    const QString file = QFileDialog::getSaveFileName(q, PreviewPane::tr("Export words"),
                                                      QStringLiteral("release-report-page.json"),
                                                      PreviewPane::tr("JSON (*.json)"));
    QString error;
    if (!file.isEmpty() && !q->exportReport(file, &error)) setMessage(error);
  });
  QWidget::setTabOrder(pageChooser, openButton);
  QWidget::setTabOrder(openButton, fitButton);
  QWidget::setTabOrder(fitButton, actualButton);
  QWidget::setTabOrder(actualButton, stopButton);
  QWidget::setTabOrder(stopButton, view);
}

}  // namespace zan::preview
