#pragma once
/// \file
/// The library's C entry points: the four of an in-process component server (a host either
/// links against the library, or loads libZANPdfCtl4.so.5 at run time and looks them up by their
/// unmangled names with dlsym), the version and the last failure.
///
/// \code
///   void* f = nullptr;
///   if (ZANDllGetClassObject("ZANPdfCtl4.ZANPdf3", &f) == 0) {
///     auto* factory = static_cast<zan::component::ClassFactory*>(f);
///     zan::automation::Dispatch* control = nullptr;
///     factory->CreateInstance(hostDialog, nullptr, &control);
///     factory->Release();
///   }
/// \endcode
///
/// Status values are automation's: 0 success, 1 "false" (ZANDllCanUnloadNow), negative a
/// failure; ZANDllGetLastError describes the last failure of the calling thread. Everything
/// runs on the host's user-interface thread, with a QApplication alive.

#include <ZANPdfCtl4/zanpdfctl4_export.h>

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/// Hands out the class factory of "ZANPdf" or "ZANPdf3": by class name, by program id
/// ("ZANPdfCtl4.ZANPdf3") or by class identifier ("{021D4818-...}", braces optional), all
/// case-insensitive. *factory receives a zan::component::ClassFactory* to Release() when done.
/// An unknown class fails with 0x80040111 (class not available) and *factory set to null.
ZANPDFCTL4_EXPORT int32_t ZANDllGetClassObject(const char* clsidOrName, void** factory);

/// 0 when no object of the library is alive (no panel, no unreleased factory, no server lock),
/// so that the host may unload it; 1 otherwise.
ZANPDFCTL4_EXPORT int32_t ZANDllCanUnloadNow(void);

/// Records both classes, their interfaces and the type library in the registration directory
/// `dir` (which must exist): one manifest file, ZANPdfCtl4.component.json. Registering again
/// replaces it.
ZANPDFCTL4_EXPORT int32_t ZANDllRegisterServer(const char* dir);
/// Removes what ZANDllRegisterServer wrote into `dir`. Nothing registered is no failure; a file
/// of that name that is not this library's manifest is left alone and reported.
ZANPDFCTL4_EXPORT int32_t ZANDllUnregisterServer(const char* dir);

/// The file and product version, "5.00.0003"; the numbers go to the non-null pointers.
ZANPDFCTL4_EXPORT const char* ZANDllGetVersion(int32_t* major, int32_t* minor, int32_t* revision);

/// The description (UTF-8, at most 2047 bytes) of the last failure of an entry point or class
/// factory on the calling thread; empty after a success.
ZANPDFCTL4_EXPORT const char* ZANDllGetLastError(void);

/// The entry points' types, for dlsym.
typedef int32_t (*ZANDllGetClassObjectFn)(const char*, void**);
typedef int32_t (*ZANDllCanUnloadNowFn)(void);
typedef int32_t (*ZANDllRegisterServerFn)(const char*);
typedef int32_t (*ZANDllUnregisterServerFn)(const char*);
typedef const char* (*ZANDllGetVersionFn)(int32_t*, int32_t*, int32_t*);
typedef const char* (*ZANDllGetLastErrorFn)(void);

#ifdef __cplusplus
}  // extern "C"
#endif
