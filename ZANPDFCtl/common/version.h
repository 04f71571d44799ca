#pragma once
// The library's version: 5.00.0003, as a host sees it.

namespace zan {
constexpr int kVersionMajor = 5;
constexpr int kVersionMinor = 0;
constexpr int kVersionRevision = 3;
constexpr const char* kVersionText = "5.00.0003";
constexpr const char* kCopyrightLine = "Copyright (C) Velmar. All rights reserved.";
}  // namespace zan
