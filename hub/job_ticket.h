#pragma once
// The two files through which the release step and the hub service speak about a job: the
// ticket (ticket.json in the job's folder, written by the release step) and the status (written
// by the service when the job is done or failed). Formats in docs/zan-hub.md.

#include "hub/capture_settings.h"
#include "release/document_information.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace zan::hub {

struct JobTicket {
  QString job;    // the job's name, unique in its watched folder
  QString batch;  // the batch it was released from, and its document number there
  int document = 0;
  QString machine;    // the machine whose service must make it; empty: any
  QString pdf;        // the PDF to write, an absolute path
  QStringList pages;  // the page files in the job's folder, in page order
  CaptureSettings settings;
  release::DocumentInformation information;  // resolved by the release step
  QString releasedBy;                        // the machine that released it
  QString releasedAt;                        // when, ISO 8601 in UTC
};

QByteArray ticketJson(const JobTicket& ticket);
// Throws ReleaseError: not JSON, not a ticket of this format, or a field missing or wrong.
JobTicket parseTicket(const QByteArray& json);

struct JobStatus {
  QString job;
  bool done = false;  // "done"; otherwise "failed" with the reason
  QString reason;
  QString pdf;
  QString service;  // the service that made it
  double seconds = 0;
  QJsonObject document;  // what the release report says of the document (pages, suspect words)
};

QByteArray statusJson(const JobStatus& status);
// Throws ReleaseError when `json` is no status of this format.
JobStatus parseStatus(const QByteArray& json);

}  // namespace zan::hub
