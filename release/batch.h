#pragma once
// One batch to release: its name, batch fields and documents, read from a batch file:
//
//   {"name": "Batch 17",
//    "batchFields": {"Operator": "Ada"},
//    "documents": [{"pages": ["p1.png", "p2.tif"], "indexFields": {"Document Title": "x"}}]}
//
// Page paths are relative to the batch file's folder (absolute paths stay as they are).

#include <QMap>
#include <QString>
#include <QStringList>

#include <vector>

namespace zan::release {

struct BatchDocument {
  QStringList pages;  // absolute paths, in page order; a multi-page TIFF gives several pages
  QMap<QString, QString> indexFields;
};

struct Batch {
  QString name;
  QMap<QString, QString> batchFields;
  std::vector<BatchDocument> documents;
};

// Reads a batch file. Throws ReleaseError naming the file and what is wrong with it: missing,
// unreadable, not a regular file (a FIFO or a device is never waited on), larger than 16 MB, not
// JSON, or not of the shape above (field values may be texts or numbers).
Batch loadBatch(const QString& path);

}  // namespace zan::release
