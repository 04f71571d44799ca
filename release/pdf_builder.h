#pragma once
// The PDF of one document, built with PoDoFo from its processed pages: page images and kept
// pictures, the text (visible or invisible) in a real TrueType font, a highlight annotation
// over each suspect word, and the document information; as the options ask, link annotations,
// page thumbnails and a structure tree.

#include "release/document_information.h"
#include "release/page_pipeline.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace zan::release {

// Builds the PDF. Throws ReleaseError when the PDF library fails.
QByteArray buildPdf(const std::vector<const PageResult*>& pages, const ReleaseOptions& options,
                    const DocumentInformation& info);

// Silences PoDoFo's own messages on standard error.
void silencePdfLibraryMessages();

}  // namespace zan::release
