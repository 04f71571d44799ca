#pragma once
// release-report.json: what a release did, per document and for the batch (format in
// docs/zan-release.md).

#include "release/release_run.h"

#include <QByteArray>
#include <QJsonObject>

namespace zan::release {

// The report as JSON. Only "seconds", "pagesPerSecond" and "jobs" differ between two releases
// of the same batch with the same options.
QByteArray reportJson(const ReleaseReport& report);

// What the report says of one document.
QJsonObject documentJson(const DocumentReport& document);

}  // namespace zan::release
