#include "release/release_report.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace zan::release {
namespace {

double rounded(double v) {
  return std::round(v * 100.0) / 100.0;
}

QJsonArray boxOf(const QRectF& box) {
  return {rounded(box.left()), rounded(box.top()), rounded(box.right()), rounded(box.bottom())};
}

QJsonObject pageJson(const PageReport& page, int number) {
  QJsonObject o{{QStringLiteral("page"), number},
                {QStringLiteral("source"), QFileInfo(page.source).fileName()},
                {QStringLiteral("sourcePage"), page.index + 1},
                {QStringLiteral("rotation"), page.rotation},
                {QStringLiteral("words"), page.words}};
  if (page.kept)
    o.insert(QStringLiteral("kept"), true);
  else
    o.insert(QStringLiteral("dpi"), rounded(page.resolution.dpi));
  o.insert(QStringLiteral("dpiSource"), resolutionSourceName(page.resolution.source));
  if (page.orientationDetected || page.rotation != 0) {
    o.insert(QStringLiteral("orientation"), page.orientation);
    o.insert(QStringLiteral("orientationConfidence"), rounded(page.orientationConfidence));
  }
  if (!page.orientationReason.isEmpty())
    o.insert(QStringLiteral("orientationReason"), page.orientationReason);
  return o;
}

}  // namespace

QJsonObject documentJson(const DocumentReport& d) {
  // A job's document says what the hub service reported of it, with the release's own words.
  QJsonObject o = d.serviceReport;
  o.insert(QStringLiteral("document"), d.number);
  o.insert(QStringLiteral("status"), statusName(d.status()));
  if (!d.job.isEmpty()) o.insert(QStringLiteral("job"), d.job);
  if (!d.failure.isEmpty()) {
    o.insert(QStringLiteral("reason"), d.failure);
  } else {
    o.insert(QStringLiteral("pdf"), d.pdf);
  }
  if (d.released() && d.job.isEmpty()) {  // made here: its pages and suspect words
    o.insert(QStringLiteral("pageCount"), static_cast<int>(d.pages.size()));
    QJsonArray pages;
    for (std::size_t i = 0; i < d.pages.size(); ++i)
      pages.append(pageJson(d.pages[i], static_cast<int>(i + 1)));
    o.insert(QStringLiteral("pages"), pages);
    QJsonArray suspects;
    for (const SuspectReport& s : d.suspects)
      suspects.append(
          QJsonObject{{QStringLiteral("page"), s.page},
                      {QStringLiteral("bbox"), boxOf(s.box)},
                      {QStringLiteral("text"), s.text},
                      {QStringLiteral("confidence"), rounded(s.confidence)},
                      {QStringLiteral("reasons"), QJsonArray::fromStringList(s.reasons)}});
    o.insert(QStringLiteral("suspectWords"), suspects);
  }
  const DocumentInformation& info = d.information;
  o.insert(QStringLiteral("documentInformation"),
           QJsonObject{{QStringLiteral("Title"), info.title},
                       {QStringLiteral("Subject"), info.subject},
                       {QStringLiteral("Author"), info.author},
                       {QStringLiteral("Keywords"), info.keywords}});
  o.insert(QStringLiteral("warnings"), QJsonArray::fromStringList(info.warnings));
  return o;
}

QByteArray reportJson(const ReleaseReport& report) {
  QJsonArray documents;
  int suspects = 0, warnings = 0;
  for (const DocumentReport& d : report.documents) {
    documents.append(documentJson(d));
    suspects +=
        static_cast<int>(d.suspects.size()) +
        static_cast<int>(d.serviceReport.value(QStringLiteral("suspectWords")).toArray().size());
    warnings += static_cast<int>(d.information.warnings.size());
  }
  QJsonObject totals{{QStringLiteral("documents"), static_cast<int>(report.documents.size())},
                     {QStringLiteral("released"), report.count(DocumentStatus::Released)},
                     {QStringLiteral("failed"), report.count(DocumentStatus::Failed)},
                     {QStringLiteral("pages"), report.pageCount},
                     {QStringLiteral("suspectWords"), suspects}};
  QJsonObject root{{QStringLiteral("batch"), report.batchName},
                   {QStringLiteral("engine"), report.engine},
                   {QStringLiteral("documents"), documents},
                   {QStringLiteral("seconds"), rounded(report.seconds)}};
  if (report.engine == QLatin1String("capture")) {
    // Through the hub: every status is counted, the jobs still with the service too.
    totals.insert(QStringLiteral("pending"), report.count(DocumentStatus::Pending));
    totals.insert(QStringLiteral("submitted"), report.count(DocumentStatus::Submitted));
  } else {
    // Made here: the warnings, the pace and the worker threads.
    totals.insert(QStringLiteral("warnings"), warnings);
    root.insert(QStringLiteral("pagesPerSecond"),
                rounded(report.seconds > 0 ? report.pageCount / report.seconds : 0));
    root.insert(QStringLiteral("jobs"), report.jobs);
  }
  root.insert(QStringLiteral("totals"), totals);
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace zan::release
