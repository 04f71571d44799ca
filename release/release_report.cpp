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
  QJsonObject o{{QStringLiteral("document"), d.number},
                {QStringLiteral("status"),
                 d.released() ? QStringLiteral("released") : QStringLiteral("failed")}};
  if (d.released()) {
    o.insert(QStringLiteral("pdf"), d.pdf);
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
  } else {
    o.insert(QStringLiteral("reason"), d.failure);
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
    suspects += static_cast<int>(d.suspects.size());
    warnings += static_cast<int>(d.information.warnings.size());
  }
  QJsonObject totals{{QStringLiteral("documents"), static_cast<int>(report.documents.size())},
                     {QStringLiteral("released"), report.releasedCount()},
                     {QStringLiteral("failed"), report.failedCount()},
                     {QStringLiteral("pages"), report.pageCount},
                     {QStringLiteral("suspectWords"), suspects},
                     {QStringLiteral("warnings"), warnings}};
  QJsonObject root{{QStringLiteral("batch"), report.batchName},
                   {QStringLiteral("engine"), report.engine},
                   {QStringLiteral("documents"), documents},
                   {QStringLiteral("totals"), totals},
                   {QStringLiteral("seconds"), rounded(report.seconds)},
                   {QStringLiteral("pagesPerSecond"),
                    rounded(report.seconds > 0 ? report.pageCount / report.seconds : 0)},
                   {QStringLiteral("jobs"), report.jobs}};
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace zan::release
