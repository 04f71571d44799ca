#pragma once
// The stored settings a preview shows, turned into the release engine's options exactly as the
// release does: the OCR engine's mapping, or the hub's capture mapping with the hub's workflow
// and dictionary.

#include "release/release_options.h"

#include <QString>
#include <QVariantMap>

namespace zan::preview {

struct PreviewOptions {
  release::ReleaseOptions options;
  QString engine;  // "2" (OCR) or "3" (capture)
};

// The options of the settings in `partOne` and `partTwo` (a setup's two parts). The capture
// engine's dictionary words are written into `wordsFolder`. Throws release::ReleaseError with the
// message of a setting the release would refuse, or of a hub that cannot be read.
PreviewOptions previewOptions(const QVariantMap& partOne, const QVariantMap& partTwo,
                              const QString& wordsFolder);

// Whether a page processed with `before` must be processed again to show `after`: a change of
// language, accuracy, orientations, page content, dictionary or anything else that changes the
// words or the image. A change of the suspect markers, the threshold or the document
// information needs no new recognition.
bool needsRecognition(const release::ReleaseOptions& before, const release::ReleaseOptions& after);

}  // namespace zan::preview
