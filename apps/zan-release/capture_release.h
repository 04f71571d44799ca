#pragma once
// The capture engine ("3") of zan-release: each document of the batch becomes a job in the
// setup's watched folder, its pages in the format PDFInputImageType names, for the workgroup
// hub service to turn into a PDF in PDFOutputFolder. With PDFWaitForStatus the release waits
// for each job's status; with PDFDeleteHungDoc a job without one after the status timeout is
// withdrawn. docs/zan-hub.md describes it.

#include "release/pixel_budget.h"

#include <QString>

namespace zan {
class PdfSettings;
}

struct CaptureRelease {
  QString setupFile;  // the setup's folder resolves its relative paths
  QString batchFile;
  QString out;  // the report's folder; the PDFs' too when the setup names none
  bool quiet = false;
  bool replace = false;        // an earlier release's report in `out` may be replaced
  double statusTimeout = 600;  // seconds to wait for the statuses
  bool pdfA = true;            // --pdfa: the jobs' PDFs PDF/A-2b, else plain
  bool deskew = false;         // --deskew
  int imageDpi = 0;            // --image-dpi; 0: none
  bool readPdfText = false;    // --pdf-text read
  qint64 pixelBudget = zan::release::kProgramPixels;  // pixel_budget.h
};

// Returns the exit code: 0 every document released (or, without waiting, submitted), 1 some
// failed or are still pending, 2 nothing could start. Prints its failures.
int releaseThroughHub(const CaptureRelease& release, zan::PdfSettings& settings);
