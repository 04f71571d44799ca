#include "service_log.h"

#include "release/release_error.h"

#include <QByteArray>
#include <QDateTime>

#include <sys/stat.h>

namespace {

// Whether `out` is the stream systemd connected to the journal: JOURNAL_STREAM holds its
// device and inode ("8:12345").
bool isJournalStream(std::FILE* out) {
  const QByteArray stream = qgetenv("JOURNAL_STREAM");
  const qsizetype colon = stream.indexOf(':');
  struct stat st {};
  if (colon < 0 || ::fstat(fileno(out), &st) != 0) return false;
  bool okDevice = false, okInode = false;
  const qulonglong device = stream.left(colon).toULongLong(&okDevice);
  const qulonglong inode = stream.mid(colon + 1).toULongLong(&okInode);
  return okDevice && okInode && device == st.st_dev && inode == st.st_ino;
}

}  // namespace

ServiceLog::ServiceLog(std::FILE* out) : out_(out), journal_(isJournalStream(out)) {}

void ServiceLog::write(Priority priority, const QString& line) {
  QByteArray text;
  if (journal_) {
    text = '<' + QByteArray::number(priority) + '>' + line.toUtf8();
  } else {
    const char* level = priority == Error ? "error: " : priority == Warning ? "warning: " : "";
    text = QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + " zan-hub: " + level +
           line.toUtf8();
  }
  text = zan::release::printable(QString::fromUtf8(text)).toUtf8();
  text += '\n';
  const std::lock_guard<std::mutex> lock(mutex_);
  std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), out_);
  std::fflush(out_);
}
