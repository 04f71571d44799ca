#include "hub/job_ticket.h"

#include "release/release_error.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

namespace zan::hub {
namespace {

using release::ReleaseError;

const QString kTicketFormat = QStringLiteral("zan-hub-job");
const QString kStatusFormat = QStringLiteral("zan-hub-status");

QJsonObject parsed(const QByteArray& json, const QString& format, const char* what) {
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
  if (error.error != QJsonParseError::NoError)
    throw ReleaseError(QStringLiteral("the %1 is not JSON (%2 at byte %3)")
                           .arg(QLatin1String(what), error.errorString())
                           .arg(error.offset));
  const QJsonObject o = doc.object();
  if (o.value(QStringLiteral("format")).toString() != format ||
      o.value(QStringLiteral("version")).toInt() != 1)
    throw ReleaseError(QStringLiteral("the %1 is not of format \"%2\" version 1")
                           .arg(QLatin1String(what), format));
  return o;
}

QString text(const QJsonObject& o, const char* key, bool mayBeEmpty = true) {
  const QJsonValue v = o.value(QLatin1String(key));
  if (!v.isString() || (!mayBeEmpty && v.toString().isEmpty()))
    throw ReleaseError(
        QStringLiteral("the ticket's \"%1\" is missing or not a text").arg(QLatin1String(key)));
  return v.toString();
}

}  // namespace

QByteArray ticketJson(const JobTicket& t) {
  const release::DocumentInformation& i = t.information;
  const QJsonObject o{{QStringLiteral("format"), kTicketFormat},
                      {QStringLiteral("version"), 1},
                      {QStringLiteral("job"), t.job},
                      {QStringLiteral("batch"), t.batch},
                      {QStringLiteral("document"), t.document},
                      {QStringLiteral("machine"), t.machine},
                      {QStringLiteral("pdf"), t.pdf},
                      {QStringLiteral("pages"), QJsonArray::fromStringList(t.pages)},
                      {QStringLiteral("settings"), captureSettingsJson(t.settings)},
                      {QStringLiteral("documentInformation"),
                       QJsonObject{{QStringLiteral("Title"), i.title},
                                   {QStringLiteral("Subject"), i.subject},
                                   {QStringLiteral("Author"), i.author},
                                   {QStringLiteral("Keywords"), i.keywords}}},
                      {QStringLiteral("releasedBy"), t.releasedBy},
                      {QStringLiteral("releasedAt"), t.releasedAt}};
  return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

JobTicket parseTicket(const QByteArray& json) {
  const QJsonObject o = parsed(json, kTicketFormat, "ticket");
  JobTicket t;
  t.job = text(o, "job", false);
  t.batch = text(o, "batch");
  t.document = o.value(QStringLiteral("document")).toInt();
  t.machine = text(o, "machine");
  t.pdf = text(o, "pdf", false);
  // The service writes where the ticket says: only a PDF, named by its full path.
  if (!QFileInfo(t.pdf).isAbsolute() || !t.pdf.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
    throw ReleaseError(
        QStringLiteral("the ticket's PDF \"%1\" is no absolute path of a .pdf file").arg(t.pdf));
  const QJsonValue pages = o.value(QStringLiteral("pages"));
  for (const QJsonValue& p : pages.toArray()) {
    // Page files live in the job's own folder: a name, never a path that leads out of it.
    const QString name = p.toString();
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String("..") ||
        name == QLatin1String("."))
      throw ReleaseError(
          QStringLiteral("the ticket names a page \"%1\" that is no file name").arg(name));
    t.pages << name;
  }
  if (!pages.isArray() || t.pages.isEmpty())
    throw ReleaseError(QStringLiteral("the ticket lists no pages"));
  const QJsonValue settings = o.value(QStringLiteral("settings"));
  if (!settings.isObject()) throw ReleaseError(QStringLiteral("the ticket has no settings"));
  try {
    t.settings = captureSettingsFromJson(settings.toObject());
  } catch (const ReleaseError& e) {
    throw ReleaseError(QStringLiteral("the ticket's settings: %1").arg(e.message()));
  }
  const QJsonObject info = o.value(QStringLiteral("documentInformation")).toObject();
  t.information.title = info.value(QStringLiteral("Title")).toString();
  t.information.subject = info.value(QStringLiteral("Subject")).toString();
  t.information.author = info.value(QStringLiteral("Author")).toString();
  t.information.keywords = info.value(QStringLiteral("Keywords")).toString();
  t.releasedBy = o.value(QStringLiteral("releasedBy")).toString();
  t.releasedAt = o.value(QStringLiteral("releasedAt")).toString();
  return t;
}

QByteArray statusJson(const JobStatus& s) {
  QJsonObject o{
      {QStringLiteral("format"), kStatusFormat},
      {QStringLiteral("version"), 1},
      {QStringLiteral("job"), s.job},
      {QStringLiteral("status"), s.done ? QStringLiteral("done") : QStringLiteral("failed")},
      {QStringLiteral("service"), s.service},
      {QStringLiteral("seconds"), qRound(s.seconds * 100) / 100.0}};
  if (s.done)
    o.insert(QStringLiteral("pdf"), s.pdf);
  else
    o.insert(QStringLiteral("reason"), s.reason);
  if (!s.document.isEmpty()) o.insert(QStringLiteral("document"), s.document);
  return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

JobStatus parseStatus(const QByteArray& json) {
  const QJsonObject o = parsed(json, kStatusFormat, "status");
  JobStatus s;
  s.job = o.value(QStringLiteral("job")).toString();
  const QString status = o.value(QStringLiteral("status")).toString();
  if (status != QLatin1String("done") && status != QLatin1String("failed"))
    throw ReleaseError(QStringLiteral("the status \"%1\" is unknown").arg(status));
  s.done = status == QLatin1String("done");
  s.reason = o.value(QStringLiteral("reason")).toString();
  s.pdf = o.value(QStringLiteral("pdf")).toString();
  s.service = o.value(QStringLiteral("service")).toString();
  s.seconds = o.value(QStringLiteral("seconds")).toDouble();
  s.document = o.value(QStringLiteral("document")).toObject();
  return s;
}

}  // namespace zan::hub
