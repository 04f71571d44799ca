#pragma once
// The library's entry points as an in-process component server. A host either links against
// the library, or loads it at run time by file name (dlopen("libZANPdfCtl4.so.5")) and looks
// the entry points up by their unmangled names (dlsym(handle, "ZANDllGetClassObject")); the
// ClassFactory and automation::Dispatch interfaces it then receives are abstract, so calling
// them needs these headers only.
//
//   void* f = nullptr;
//   if (ZANDllGetClassObject("ZANPdfCtl4.ZANPdf3", &f) == 0) {
//     auto* factory = static_cast<zan::component::ClassFactory*>(f);
//     zan::automation::Dispatch* control = nullptr;
//     factory->CreateInstance(hostDialog, nullptr, &control);
//     factory->Release();
//   }
//
// Status values are automation's: 0 success, 1 "false" (ZANDllCanUnloadNow), negative a
// failure; ZANDllGetLastError describes the last failure of the calling thread.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Hands out the class factory of "ZANPdf" or "ZANPdf3": by class name, by program id
// ("ZANPdfCtl4.ZANPdf3") or by class identifier ("{021D4818-...}", braces optional), all
// case-insensitive. *factory receives a zan::component::ClassFactory* to Release() when done.
// An unknown class fails with 0x80040111 (class not available) and *factory set to null.
int32_t ZANDllGetClassObject(const char* clsidOrName, void** factory);

// 0 when no object of the library is alive (no panel, no unreleased factory, no server lock),
// so that the host may unload it; 1 otherwise.
int32_t ZANDllCanUnloadNow(void);

// Records both classes, their interfaces and the type library in the registration directory
// `dir` (which must exist): one manifest file, ZANPdfCtl4.component.json. Registering again
// replaces it.
int32_t ZANDllRegisterServer(const char* dir);
// Removes what ZANDllRegisterServer wrote into `dir`. Nothing registered is no failure; a file
// of that name that is not this library's manifest is left alone and reported.
int32_t ZANDllUnregisterServer(const char* dir);

// The file and product version, "5.00.0003"; the numbers go to the non-null pointers.
const char* ZANDllGetVersion(int32_t* major, int32_t* minor, int32_t* revision);

// The description (UTF-8) of the last failure of an entry point or class factory on the
// calling thread; empty after a success.
const char* ZANDllGetLastError(void);

// The entry points' types, for dlsym.
typedef int32_t (*ZANDllGetClassObjectFn)(const char*, void**);
typedef int32_t (*ZANDllCanUnloadNowFn)(void);
typedef int32_t (*ZANDllRegisterServerFn)(const char*);
typedef int32_t (*ZANDllUnregisterServerFn)(const char*);
typedef const char* (*ZANDllGetVersionFn)(int32_t*, int32_t*, int32_t*);
typedef const char* (*ZANDllGetLastErrorFn)(void);

#ifdef __cplusplus
}  // extern "C"

#include "common/automation/dispatch.h"

class QWidget;
namespace zan {
struct PanelEnvironment;
}

namespace zan::component {

namespace status {
constexpr std::int32_t kFalse = 1;
constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005u);
constexpr std::int32_t kPointer = static_cast<std::int32_t>(0x80004003u);
constexpr std::int32_t kClassNotAvailable = static_cast<std::int32_t>(0x80040111u);
constexpr std::int32_t kRegistrationFailed = static_cast<std::int32_t>(0x80040201u);
}  // namespace status

// The class factory of one control class.
class ClassFactory {
 public:
  // Creates a new control as a child of `parent` (nullptr: a top-level widget the host
  // deletes). `env` replaces the control's outside world (nullptr: the real one). On success
  // *control is the control's late-bound surface, owned by the control and destroyed with it;
  // (*control)->object() is the control's QWidget. A control that cannot be created fails with
  // the status of its error (see ZANDllGetLastError) and *control set to null.
  virtual std::int32_t CreateInstance(QWidget* parent, const zan::PanelEnvironment* env,
                                      automation::Dispatch** control) = 0;
  // Keeps the library from being reported unloadable while locked; locks are counted.
  virtual std::int32_t LockServer(bool lock) = 0;
  virtual const char* className() const = 0;  // "ZANPdf3"
  virtual const char* classId() const = 0;    // "{021D4818-281A-4BF7-ACD3-B1F7F45960B9}"
  // The host is done with this factory.
  virtual void Release() = 0;

 protected:
  ~ClassFactory() = default;
};

// The late-bound surface of a panel the host created itself (early-bound), attached on first
// use and owned by the panel; nullptr for anything that is not one of the library's panels.
automation::Dispatch* dispatchOf(QWidget* panel);

}  // namespace zan::component
#endif
