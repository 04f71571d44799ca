#pragma once
// The host's own string table: a header at the path the library once installed under its
// include root. The library's public headers must not reach it, nor it them.
#define HOST_STRING_TABLE_INCLUDED 1
namespace host {
inline const char* caption() {
  return "host captions";
}
}  // namespace host
