#pragma once
// zan-release: releases one batch with the settings of a release-setup file.
//
//   zan-release --setup FILE --batch BATCH.json --out DIR [--engine ocr|capture] [--jobs N]
//               [--status-timeout SECONDS] [--quiet]
//
// Exit codes: 0 every document released, 1 some failed (each named on standard error),
// 2 nothing could start (bad arguments, an unreadable setup or batch, missing language data,
// an output folder that cannot be written).

#include <QString>
#include <QStringList>

int runZanRelease(const QStringList& arguments);

constexpr int kAllReleased = 0;
constexpr int kSomeFailed = 1;
constexpr int kCannotStart = 2;

