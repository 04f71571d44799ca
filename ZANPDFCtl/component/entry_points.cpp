// The four entry points of the component server, plus version and last-error queries, with
// C linkage so that a host can find them by name after loading the library by file name.

#include <ZANPdfCtl4/late_binding.h>
#include <ZANPdfCtl4/zanpdfctl4.h>
#include "component/panel_factory.h"
#include "component/registration.h"
#include "component/server_state.h"
#include "settings/automation_error.h"
#include "settings/version.h"

#include <QString>

#include <dlfcn.h>

namespace {

using namespace zan::component;

// The file this library was loaded from.
QString libraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ZANDllRegisterServer), &info) && info.dli_fname)
    return QString::fromLocal8Bit(info.dli_fname);
  return QString();
}

template <typename Body>
int32_t guarded(Body body) {
  try {
    body();
    setLastError({});
    return 0;
  } catch (...) {
    const zan::AutomationError e = zan::currentError();
    setLastError(e.description);
    return status::kRegistrationFailed;
  }
}

}  // namespace

extern "C" {

int32_t ZANDllGetClassObject(const char* clsidOrName, void** factory) {
  if (!factory) {
    setLastError(QStringLiteral("ZANDllGetClassObject: no place for the factory"));
    return status::kPointer;
  }
  *factory = newClassFactory(clsidOrName);
  if (!*factory) {
    setLastError(QStringLiteral("Class not available: %1")
                     .arg(QString::fromUtf8(clsidOrName ? clsidOrName : "")));
    return status::kClassNotAvailable;
  }
  setLastError({});
  return 0;
}

int32_t ZANDllCanUnloadNow(void) {
  return serverInUse() ? status::kFalse : 0;
}

int32_t ZANDllRegisterServer(const char* dir) {
  return guarded([&] { writeRegistration(QString::fromUtf8(dir ? dir : ""), libraryPath()); });
}

int32_t ZANDllUnregisterServer(const char* dir) {
  return guarded([&] { removeRegistration(QString::fromUtf8(dir ? dir : "")); });
}

const char* ZANDllGetVersion(int32_t* major, int32_t* minor, int32_t* revision) {
  if (major) *major = zan::kVersionMajor;
  if (minor) *minor = zan::kVersionMinor;
  if (revision) *revision = zan::kVersionRevision;
  return zan::kVersionText;
}

const char* ZANDllGetLastError(void) {
  return lastError();
}

}  // extern "C"
