#pragma once
/** \file
 * The library's C entry points: the four of an in-process component server (a host either
 * links against the library, or loads libZANPdfCtl4.so.5 at run time and looks them up by their
 * unmangled names with dlsym), the version and the last failure.
 *
 * \code
 *   void* f = nullptr;
 *   if (ZANDllGetClassObject("ZANPdfCtl4.ZANPdf3", &f) == 0) {
 *     auto* factory = static_cast<zan::component::ClassFactory*>(f);
 *     zan::automation::Dispatch* control = nullptr;
 *     factory->CreateInstance(hostDialog, nullptr, &control);
 *     factory->Release();
 *   }
 * \endcode
 *
 * Status values are automation's: 0 success, 1 "false" (ZANDllCanUnloadNow), negative a
 * failure; ZANDllGetLastError describes the last failure of the calling thread. Everything
 * runs on the host's user-interface thread, with a QApplication alive.
 */

#include <ZANPdfCtl4/zanpdfctl4_export.h>

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/** Hands out the class factory of "ZANPdf" or "ZANPdf3": by class name, by program id
 * ("ZANPdfCtl4.ZANPdf3") or by class identifier ("{021D4818-...}", braces optional), all
 * case-insensitive. *factory receives a zan::component::ClassFactory* to Release() when done.
 * An unknown class fails with 0x80040111 (class not available) and *factory set to null.
 */
ZANPDFCTL4_EXPORT int32_t ZANDllGetClassObject(const char* clsidOrName, void** factory);

/** 0 when no object of the library is alive (no panel, no unreleased factory, no server lock),
 * so that the host may unload it; 1 otherwise.
 */
ZANPDFCTL4_EXPORT int32_t ZANDllCanUnloadNow(void);

/** Records both classes, their interfaces and the type library in the registration directory
 * `dir` (which must exist): one manifest file, ZANPdfCtl4.component.json. Registering again
 * replaces it.
 */
ZANPDFCTL4_EXPORT int32_t ZANDllRegisterServer(const char* dir);
/** Removes what ZANDllRegisterServer wrote into `dir`. Nothing registered is no failure; a file
 * of that name that is not this library's manifest is left alone and reported.
 */
ZANPDFCTL4_EXPORT int32_t ZANDllUnregisterServer(const char* dir);

/** The file and product version, "5.00.0003"; the numbers go to the non-null pointers. */
ZANPDFCTL4_EXPORT const char* ZANDllGetVersion(int32_t* major, int32_t* minor, int32_t* revision);

/** The description (UTF-8, at most 2047 bytes) of the last failure of an entry point or class
 * factory on the calling thread; empty after a success.
 */
ZANPDFCTL4_EXPORT const char* ZANDllGetLastError(void);

/** \name Driving a panel from C
 * For hosts in any language with a C foreign-function interface (see examples/python-host).
 * Setup data and panels are handed out as pointers to their Qt objects (zan::SetupData and
 * the panel's QWidget), so that a host with Qt bindings can wrap them. Every call runs on
 * the host's user-interface thread with a QApplication alive; a failing call returns a
 * negative status (or null) and ZANDllGetLastError() says why.
 * @{
 */

/** Setup data: a zan::SetupData. */
typedef struct ZANSetupData ZANSetupData;
/** A panel: the panel's QWidget. */
typedef struct ZANPanel ZANPanel;

/** The types a ZANVariant holds, numbered as zan::automation::VarType. */
enum ZANVarType {
  ZAN_VT_EMPTY = 0,
  ZAN_VT_NULL = 1,
  ZAN_VT_INTEGER = 2, /**< number: signed 16-bit */
  ZAN_VT_LONG = 3,    /**< number: signed 32-bit */
  ZAN_VT_STRING = 8,  /**< text: UTF-8 */
  ZAN_VT_OBJECT = 9,  /**< object: a QObject*, such as a ZANSetupData* */
  ZAN_VT_BOOLEAN = 11 /**< number: -1 for true, 0 for false */
};

/** A value passed to and from a panel member or event. Text the library hands back (a
 * member's result, an in/out argument) is a copy the host releases with ZANVariantClear().
 */
typedef struct ZANVariant {
  uint16_t type;    /**< a ZANVarType */
  int32_t number;   /**< Integer, Long and Boolean: the value */
  const char* text; /**< String: UTF-8 text */
  void* object;     /**< Object: a QObject* (a ZANSetupData*) */
} ZANVariant;

/** Releases the text the library allocated for `value` and leaves it Empty. */
ZANPDFCTL4_EXPORT void ZANVariantClear(ZANVariant* value);

/** New empty setup data kept in memory; the host frees it with ZANSetupDataFree(). */
ZANPDFCTL4_EXPORT ZANSetupData* ZANSetupDataCreate(void);
/** Setup data read from the setup file `path` (UTF-8); null when the file is missing,
 * unreadable or not a setup file.
 */
ZANPDFCTL4_EXPORT ZANSetupData* ZANSetupDataLoad(const char* path);
/** Writes `data` to the setup file `path` atomically: 0, or a negative status with the old
 * file left as it was.
 */
ZANPDFCTL4_EXPORT int32_t ZANSetupDataSave(ZANSetupData* data, const char* path);
/** Frees setup data from ZANSetupDataCreate() or ZANSetupDataLoad(); null is ignored. */
ZANPDFCTL4_EXPORT void ZANSetupDataFree(ZANSetupData* data);
/** Stores `value` (a string, number or Boolean) under `key` in SetupPartOne (`part` = 1) or
 * SetupPartTwo (`part` = 2).
 */
ZANPDFCTL4_EXPORT int32_t ZANSetupDataSetValue(ZANSetupData* data, int32_t part, const char* key,
                                               const ZANVariant* value);
/** The value of `key` in SetupPartOne or SetupPartTwo (`part` = 1 or 2) into *value (Empty when
 * missing); release its text with ZANVariantClear().
 */
ZANPDFCTL4_EXPORT int32_t ZANSetupDataGetValue(ZANSetupData* data, int32_t part, const char* key,
                                               ZANVariant* value);

/** Creates the panel `className` ("ZANPdf3", "ZANPdf", a program id or a class identifier) as
 * a child of `parent` (a QWidget*, or null for a top-level widget the host deletes with
 * ZANPanelDestroy()). Null on failure, with ZANDllGetLastError() saying why: an unknown class,
 * no QApplication in the process, or a call from another thread than the QApplication's.
 */
ZANPDFCTL4_EXPORT ZANPanel* ZANPanelCreate(const char* className, void* parent);
/** Deletes the panel; null is ignored. */
ZANPDFCTL4_EXPORT void ZANPanelDestroy(ZANPanel* panel);
/** Calls the member `name` (looked up as GetIDsOfNames does) with `flags` (1 method, 2 property
 * get, 4 property put) and the `count` arguments in declaration order. In/out arguments are
 * written back into `args`; the member's result goes to *result when it is not null. Returns
 * 0, or the late-bound status (such as 0x80020009 for the member's own failure, whose
 * description ZANDllGetLastError() gives as "description (#number, source)").
 */
ZANPDFCTL4_EXPORT int32_t ZANPanelInvoke(ZANPanel* panel, const char* name, uint16_t flags,
                                         ZANVariant* args, int32_t count, ZANVariant* result);

/** Receives the panel event `event` ("Change", "Error"): its arguments in declaration order,
 * which the handler may change (text it sets must stay valid until it returns).
 */
typedef void (*ZANEventCallback)(void* context, const char* event, ZANVariant* args, int32_t count);
/** Calls `callback` with `context` each time the panel raises `event`; *cookie identifies the
 * connection for ZANPanelDisconnect().
 */
ZANPDFCTL4_EXPORT int32_t ZANPanelConnect(ZANPanel* panel, const char* event,
                                          ZANEventCallback callback, void* context,
                                          uint32_t* cookie);
/** Ends the connection `cookie`. */
ZANPDFCTL4_EXPORT int32_t ZANPanelDisconnect(ZANPanel* panel, uint32_t cookie);
/** @} */

/** The type of ZANDllGetClassObject(), for dlsym. */
typedef int32_t (*ZANDllGetClassObjectFn)(const char*, void**);
/** The type of ZANDllCanUnloadNow(), for dlsym. */
typedef int32_t (*ZANDllCanUnloadNowFn)(void);
/** The type of ZANDllRegisterServer(), for dlsym. */
typedef int32_t (*ZANDllRegisterServerFn)(const char*);
/** The type of ZANDllUnregisterServer(), for dlsym. */
typedef int32_t (*ZANDllUnregisterServerFn)(const char*);
/** The type of ZANDllGetVersion(), for dlsym. */
typedef const char* (*ZANDllGetVersionFn)(int32_t*, int32_t*, int32_t*);
/** The type of ZANDllGetLastError(), for dlsym. */
typedef const char* (*ZANDllGetLastErrorFn)(void);

#ifdef __cplusplus
} /* extern "C" */
#endif
