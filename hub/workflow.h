#pragma once
// A workflow of the workgroup hub: what the service does with the jobs that name it. A workflow
// file (Workflows/<name>.wfl) holds "Key: value" lines; "#" starts a comment line. The keys
// and their defaults are listed in docs/zan-hub.md.

#include <QByteArray>
#include <QString>

namespace zan::hub {

struct Workflow {
  QString name;
  QString description;
  bool recognition = true;    // false: every page becomes an image-only page, nothing is read
  int accuracy = 4;           // the recognition effort, as the OCR settings' Accuracy levels
  int imageResolution = 150;  // Compact page images: the finest resolution kept, in dpi
  int imageQuality = 50;      // JPEG quality of Compact page images and kept pictures, 1-100
  int thumbnailSize = 128;    // the longest side of a page thumbnail, in pixels
};

// Reads the workflow `name` from the text of its file. Throws ReleaseError naming the line and
// what is wrong with it: not UTF-8, no "Key: value", an unknown key, a value out of range.
Workflow parseWorkflow(const QString& name, const QByteArray& text);

}  // namespace zan::hub
