// Loads the library by file name, creates and deletes a panel through its factory, and
// checks that dlclose then really unloads it.
#include <ZANPdfCtl4/zanpdfctl4.h>
#include <ZANPdfCtl4/LateBinding>

#include <QApplication>

#include <dlfcn.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  QApplication app(argc, argv);
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!library) return std::printf("dlopen: %s\n", dlerror()), 1;
  auto getClassObject =
      reinterpret_cast<ZANDllGetClassObjectFn>(dlsym(library, "ZANDllGetClassObject"));
  auto canUnloadNow = reinterpret_cast<ZANDllCanUnloadNowFn>(dlsym(library, "ZANDllCanUnloadNow"));
  void* f = nullptr;
  if (!getClassObject || !canUnloadNow || getClassObject("ZANPdf3", &f) != 0) return 1;
  auto* factory = static_cast<zan::component::ClassFactory*>(f);
  zan::automation::Dispatch* panel = nullptr;
  factory->CreateInstance(nullptr, nullptr, &panel);
  factory->Release();
  if (!panel) return 1;
  delete panel->object();
  std::printf("can unload: %s\n", canUnloadNow() == 0 ? "yes" : "no");
  dlclose(library);
  const bool stillLoaded = dlopen(argv[1], RTLD_NOW | RTLD_NOLOAD) != nullptr;
  std::printf("after dlclose: %s\n", stillLoaded ? "still loaded" : "unloaded");
  return stillLoaded ? 1 : 0;
}
