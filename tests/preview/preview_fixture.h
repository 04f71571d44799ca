#pragma once
// What the preview tests share: a setup's two parts with every setting at its default and
// changes on top, generated pages, and waiting for the pane.

#include "settings/pdf_settings.h"
#include "settings/setup_data.h"
#include "test_pages.h"

#include <ZANPreview/preview_pane.h>

#include <QSignalSpy>
#include <QTest>
#include <QVariantMap>

namespace zan::testing {

struct SetupParts {
  QVariantMap one, two;
};

// Every setting of `engine` ("2", "3") at its default, then `one` and `two` on top.
inline SetupParts setupParts(const QString& engine, const QVariantMap& one = {},
                             const QVariantMap& two = {}) {
  MemorySetupPart a, b;
  PdfSettings defaults;
  defaults.setPdfEngine(engine);
  defaults.Save(a, b);
  SetupParts parts{a.toMap(), b.toMap()};
  for (auto it = one.begin(); it != one.end(); ++it) parts.one.insert(it.key(), it.value());
  for (auto it = two.begin(); it != two.end(); ++it) parts.two.insert(it.key(), it.value());
  return parts;
}

inline const QString kGarbled = QStringLiteral("Xqwzvbtk");

// Sample prose with the garbled word in its third line.
inline QStringList garbledLines(int n = 3) {
  QStringList lines = sampleLines(n);
  lines[2] = QStringLiteral("Check the reference %1 first.").arg(kGarbled);
  return lines;
}

// Waits until the pane shows a page after recognition; false after `ms`.
inline bool waitShown(preview::PreviewPane& pane, int ms = 180000) {
  QSignalSpy shown(&pane, &preview::PreviewPane::previewShown);
  QSignalSpy busy(&pane, &preview::PreviewPane::busyChanged);
  return shown.wait(ms);
}

}  // namespace zan::testing
