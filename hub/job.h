#pragma once
// A job as the hub service's workers and publisher hold it (job_runner.h, job_publisher.h).

#include "hub/job_ticket.h"
#include "hub/service_claims.h"
#include "release/page_pipeline.h"
#include "release/release_options.h"

#include <QString>

#include <chrono>
#include <optional>
#include <vector>

namespace zan::hub {

// What the service logs of a job.
struct JobOutcome {
  QString job;
  int pages = 0;
  double seconds = 0;
  bool done = false;
  QString detail;        // done: the PDF; failed: the reason; dropped: why
  bool dropped = false;  // withdrawn or taken over meanwhile: neither done nor failed here
};

struct Job {
  ServiceClaims* claims = nullptr;  // of its watched folder; owned by the service
  QString name;
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
  JobTicket ticket;
  release::ReleaseOptions options;
  // The pages, read from the job's folder into the service's own copies (`copies`), and the
  // pixels each declares.
  QString copies;
  std::vector<release::PageSource> pages;
  std::vector<qint64> pixels;
  std::vector<std::optional<release::PageResult>> results;
  std::size_t next = 0, taken = 0, done = 0;
  QString failure;
  bool complete() const { return next == pages.size() && done == taken; }
  double seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  }
};

// Removes the service's own copies of a job's pages.
void removeCopies(const Job& job);

}  // namespace zan::hub
