#pragma once
// The capture engine of zan-release: each document of the batch becomes a job in the setup's
// watched folder, its pages in the format PDFInputImageType names, for the workgroup hub service
// to turn into a PDF in PDFOutputFolder. The release goes in steps: submit() hands the jobs to
// the watched folder, wait() waits for the service's statuses (PDFWaitForStatus) and then
// withdraws (PDFDeleteHungDoc) or leaves pending what got none in time. Both fill the report the
// OCR engine's release returns. docs/zan-hub.md describes it.

#include "hub/capture_settings.h"
#include "hub/hub_folder.h"
#include "release/release_run.h"

#include <QElapsedTimer>
#include <QString>

#include <optional>

namespace zan {
class PdfSettings;
}

namespace zan::hub {

// What zan-release's arguments choose for a release through the hub.
struct CaptureRequest {
  QString setupFile;           // its folder resolves the setup's relative paths
  QString out;                 // the report's folder; the PDFs' too when the setup names none
  double statusTimeout = 600;  // seconds to wait for the statuses, from the release's start
  bool pdfA = true;            // --pdfa: the jobs' PDFs PDF/A-2b, else plain
  bool deskew = false;         // --deskew
  int imageDpi = 0;            // --image-dpi; 0: none
  bool readPdfText = false;    // --pdf-text read
};

class CaptureRelease {
 public:
  // Reads the capture settings, opens the hub with the workflow and dictionary they name, and
  // makes the watched folder ready, removing the page folders a killed release of this user
  // left there. Throws ReleaseError when the release cannot start.
  CaptureRelease(const PdfSettings& settings, const CaptureRequest& request);

  // Records the watched folder in the hub (throws ReleaseError when it cannot: nothing is
  // submitted), then submits each document as a job; a document whose page cannot be read or
  // whose job cannot be written fails with the cause, the others are submitted. Once
  // `control.stopped` says so no further document is submitted (the one being written is
  // taken back). Pages are checked against `control.pixelBudget`.
  release::ReleaseReport submit(const release::Batch& batch,
                                const release::ReleaseControl& control);
  // When the setup asks to wait: the statuses of the submitted jobs, up to the status timeout,
  // with `control.progress` counting documents, until `control.stopped` says so; then a job
  // still without a status is settled (released when its PDF is there, withdrawn, or pending).
  void wait(release::ReleaseReport& report, const release::ReleaseControl& control);

  bool waitsForStatus() const { return wait_; }
  QString hubPath() const { return hub_->path(); }
  // The folder the service writes the PDFs into.
  const QString& outputFolder() const { return outputFolder_; }

 private:
  void withdrawLate(release::ReleaseReport& report) const;

  QElapsedTimer clock_;
  CaptureRequest request_;
  CaptureSettings capture_;
  std::optional<HubFolder> hub_;
  QString watched_, outputFolder_, machine_;
  int inputType_ = 0;
  bool wait_ = false, withdrawHung_ = false;
  release::ReleaseOptions fields_;  // only its document-information fields are used
};

}  // namespace zan::hub
