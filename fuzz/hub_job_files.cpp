// What a watched folder or a hub hands the service may be anything: a ticket, a workflow and a
// status are each refused with a ReleaseError or read into values that keep their promises (a
// ticket's pages are file names in its folder, its PDF an absolute .pdf path, and it reads
// back unchanged; a workflow's numbers lie in their ranges). Input: ticket, workflow and status
// texts, separated by NUL bytes.
#include "fuzz_support.h"
#include "hub/job_ticket.h"
#include "hub/workflow.h"
#include "release/release_error.h"

#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zan::hub;
  const QList<QByteArray> texts = zan::fuzzing::parts(data, size, '\0');
  try {
    const JobTicket t = parseTicket(texts.value(0));
    if (t.pages.isEmpty() || !QFileInfo(t.pdf).isAbsolute() ||
        !t.pdf.endsWith(".pdf", Qt::CaseInsensitive))
      std::abort();
    for (const QString& page : t.pages)
      if (page.isEmpty() || page.contains('/') || page == ".." || page == ".") std::abort();
    if (ticketJson(parseTicket(ticketJson(t))) != ticketJson(t)) std::abort();
  } catch (const zan::release::ReleaseError&) {
  }
  try {
    const Workflow w = parseWorkflow(QStringLiteral("W"), texts.value(1));
    if (w.imageQuality < 1 || w.imageQuality > 100 || w.imageResolution < 50 ||
        w.imageResolution > 1200 || w.thumbnailSize < 16 || w.thumbnailSize > 512 ||
        (w.accuracy != 1 && w.accuracy != 2 && w.accuracy != 4 && w.accuracy != 8 &&
         w.accuracy != 16))
      std::abort();
  } catch (const zan::release::ReleaseError&) {
  }
  try {
    const JobStatus s = parseStatus(texts.value(2));
    if (parseStatus(statusJson(s)).done != s.done) std::abort();
  } catch (const zan::release::ReleaseError&) {
  }
  return 0;
}
