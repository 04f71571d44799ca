#pragma once
// The library's version as the about box, the entry points and the registration show it; the
// numbers come from the project version (ZANPdfCtl4/zanpdfctl4_version.h).

#include <ZANPdfCtl4/zanpdfctl4_version.h>

namespace zan {
constexpr int kVersionMajor = ZANPDFCTL4_VERSION_MAJOR;
constexpr int kVersionMinor = ZANPDFCTL4_VERSION_MINOR;
constexpr int kVersionRevision = ZANPDFCTL4_VERSION_PATCH;
constexpr const char* kVersionText = ZANPDFCTL4_VERSION_TEXT;
constexpr const char* kCopyrightLine = "Copyright (C) Velmar. All rights reserved.";
}  // namespace zan
