#pragma once
// The library's version as the about box, the entry points and the registration show it; the
// numbers come from the project version (ZANPdfCtl4/zanpdfctl4_version.h).

#include <ZANPdfCtl4/zanpdfctl4_version.h>

namespace zan {
constexpr int kVersionMajor = ZANPDFCTL4_VERSION_MAJOR;
constexpr int kVersionMinor = ZANPDFCTL4_VERSION_MINOR;
constexpr int kVersionRevision = ZANPDFCTL4_VERSION_PATCH;
constexpr const char* kVersionText = ZANPDFCTL4_VERSION_TEXT;
// The version as people read it, in --version and the about box alike: "5.0.3".
#define ZAN_VERSION_STRINGIFY2(x) #x
#define ZAN_VERSION_STRINGIFY(x) ZAN_VERSION_STRINGIFY2(x)
constexpr const char* kVersionShown =
    ZAN_VERSION_STRINGIFY(ZANPDFCTL4_VERSION_MAJOR) "." ZAN_VERSION_STRINGIFY(
        ZANPDFCTL4_VERSION_MINOR) "." ZAN_VERSION_STRINGIFY(ZANPDFCTL4_VERSION_PATCH);
#undef ZAN_VERSION_STRINGIFY
#undef ZAN_VERSION_STRINGIFY2
constexpr const char* kCopyrightLine = "Copyright (C) Velmar. All rights reserved.";
}  // namespace zan
