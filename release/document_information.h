#pragma once
// The PDF document information of one document, taken from the four document-information
// fields of the options: a text constant, one of the document's index fields or a batch field.

#include "release/batch.h"
#include "release/release_options.h"

#include <QString>
#include <QStringList>

namespace zan::release {

struct DocumentInformation {
  QString title, subject, author, keywords;
  QStringList warnings;  // one per field that names a field the batch lacks (left empty)
};

DocumentInformation resolveDocumentInformation(const ReleaseOptions& options, const Batch& batch,
                                               const BatchDocument& document);

}  // namespace zan::release
