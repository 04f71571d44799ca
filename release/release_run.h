#pragma once
// Releasing a batch: every page through the page pipeline on a pool of worker threads (one
// Recognizer each), then, in batch order, one PDF per document written atomically into the
// output folder. A document whose page fails is reported with the reason; the others go on.

#include "release/batch.h"
#include "release/document_information.h"
#include "release/page_pipeline.h"
#include "release/pixel_budget.h"
#include "release/release_options.h"

#include <QJsonObject>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace zan::release {

struct PageReport {
  QString source;  // the image file
  int index = 0;   // its 0-based page within that file
  bool orientationDetected = false;
  int orientation = 0;
  float orientationConfidence = 0;
  QString orientationReason;  // why the page stands as it does (orientationReasonName())
  int rotation = 0;
  int words = 0;
  PageResolution resolution;
  bool kept = false;  // a PDF page kept as it is
};

struct SuspectReport {
  int page = 0;  // 1-based page of the document
  QRectF box;    // PDF points; x, y the lower left corner
  QString text;
  float confidence = 0;
  QStringList reasons;
};

// Where a document stands. The OCR engine releases a document or fails it; a document handed
// to the hub service as a job may also be pending (no status in time) or submitted (the release
// did not wait).
enum class DocumentStatus { Released, Failed, Pending, Submitted };

// As the report names it: "released", "failed", "pending", "submitted".
QString statusName(DocumentStatus status);

struct DocumentReport {
  int number = 0;   // 1-based, in batch order
  QString pdf;      // the file name in the output folder (a job's: its path), once released
  QString failure;  // why the document was not released (failed or pending); empty otherwise
  std::vector<PageReport> pages;
  std::vector<SuspectReport> suspects;
  DocumentInformation information;
  // A document handed to the hub service: its job, whether the job is still with the service
  // (pending or submitted), and what the service reported of it (its pages and suspect words).
  QString job;
  bool withService = false;
  QJsonObject serviceReport;
  DocumentStatus status() const;
  bool released() const { return status() == DocumentStatus::Released; }
};

struct ReleaseReport {
  QString batchName;
  QString engine;  // "ocr", "capture"
  std::vector<DocumentReport> documents;
  int pageCount = 0;
  int jobs = 1;
  double seconds = 0;
  int count(DocumentStatus status) const;
};

struct ReleaseControl {
  int jobs = 1;  // worker threads
  // The pixels the pages being processed at once may hold together (pixel_budget.h).
  qint64 pixelBudget = kProgramPixels;
  // Called on the releasing thread whenever pages are done, and at least every 200 ms.
  std::function<void(int pagesDone, int pagesTotal)> progress;
  // Asked by the workers and the releasing thread: empty while the release goes on, else why it
  // stops ("SIGINT"). Once stopping, no page is started; the pages in progress are finished, the
  // documents whose pages are all done are written, and the others fail with that reason.
  std::function<QString()> stopped;
};

// What must be in place before anything starts: the language packs and the font the options
// need, and an output folder that can be written. Throws ReleaseError naming what is missing
// (a missing language pack by its Debian package).
void checkReadyToRelease(const ReleaseOptions& options, const QString& outputFolder);
// The same without an output folder: the language packs and the font.
void checkRecognitionReady(const ReleaseOptions& options);

// Releases the batch into `outputFolder` as document-0001.pdf, document-0002.pdf, ... (never
// replacing a file of that name: prepareReleaseFolder() makes the folder ready first).
ReleaseReport releaseBatch(const Batch& batch, const ReleaseOptions& options,
                           const QString& outputFolder, const ReleaseControl& control);

// The name of the n-th document's PDF (1-based).
QString documentFileName(int number);

// Why a document was not released when page `page` (1-based) failed: "page 2 (scan.tif, page 1
// of 3): <message>". Control characters in the file's name are shown escaped.
QString pageFailure(std::size_t page, const PageSource& source, const QString& message);

// `report` with the pages and suspect words of a released document.
DocumentReport reportDocument(DocumentReport report, const std::vector<const PageResult*>& pages,
                              const std::vector<PageSource>& sources);

// Quietens the libraries' own notes on standard error (library_messages.h catches the rest);
// call once before releasing.
void silenceLibraryMessages();

// Why a document was not released when the release stopped before it was done.
QString stoppedFailure(const QString& why);

}  // namespace zan::release
