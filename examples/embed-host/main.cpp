// embed-host: a small host that places one settings panel on its own dialog and drives it
// only through the late-bound surface: class factory, member names, dispatch ids, variants
// and event ids, as a host written for the component contract would.
//
//   embed-host [--class ZANPdf3|ZANPdf] [--load <library file>] [--registry <dir>]
//
// --load     reaches the entry points through dlopen/dlsym instead of the linked symbols.
// --registry registers the library in <dir>, finds the class identifier in the manifest,
//            creates the panel by it, and unregisters again.
// Prints each step; exits 0 when every step succeeded.

#include <ZANPdfCtl4/zanpdfctl4.h>
#include <ZANPdfCtl4/LateBinding>
#include <ZANPdfCtl4/SetupData>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <dlfcn.h>

#include <cstdio>
#include <stdexcept>

using zan::automation::Dispatch;
using zan::automation::DispId;
using zan::automation::InvokeResult;
using zan::automation::Variant;

namespace {

struct EntryPoints {
  ZANDllGetClassObjectFn getClassObject = &ZANDllGetClassObject;
  ZANDllCanUnloadNowFn canUnloadNow = &ZANDllCanUnloadNow;
  ZANDllRegisterServerFn registerServer = &ZANDllRegisterServer;
  ZANDllUnregisterServerFn unregisterServer = &ZANDllUnregisterServer;
  ZANDllGetVersionFn version = &ZANDllGetVersion;
  ZANDllGetLastErrorFn lastError = &ZANDllGetLastError;
};

template <typename Fn>
Fn symbol(void* library, const char* name) {
  void* address = dlsym(library, name);
  if (!address) throw std::runtime_error(std::string("missing entry point ") + name);
  return reinterpret_cast<Fn>(address);
}

EntryPoints load(const QString& file) {
  void* library = dlopen(QFile::encodeName(file).constData(), RTLD_NOW | RTLD_GLOBAL);
  if (!library) throw std::runtime_error(dlerror());
  EntryPoints e;
  e.getClassObject = symbol<ZANDllGetClassObjectFn>(library, "ZANDllGetClassObject");
  e.canUnloadNow = symbol<ZANDllCanUnloadNowFn>(library, "ZANDllCanUnloadNow");
  e.registerServer = symbol<ZANDllRegisterServerFn>(library, "ZANDllRegisterServer");
  e.unregisterServer = symbol<ZANDllUnregisterServerFn>(library, "ZANDllUnregisterServer");
  e.version = symbol<ZANDllGetVersionFn>(library, "ZANDllGetVersion");
  e.lastError = symbol<ZANDllGetLastErrorFn>(library, "ZANDllGetLastError");
  std::printf("loaded %s\n", qPrintable(file));
  return e;
}

void check(std::int32_t status, const char* what, const EntryPoints& e) {
  if (status != 0) throw std::runtime_error(std::string(what) + " failed: " + e.lastError());
}

// Calls a member by name, the way a late-binding host does: name -> id -> Invoke.
Variant call(Dispatch& d, const QString& name, std::uint16_t flags, QVector<Variant> args = {},
             QVector<Variant>* back = nullptr) {
  QVector<DispId> ids;
  if (d.GetIDsOfNames({name}, ids) != 0)
    throw std::runtime_error("no member " + name.toStdString());
  const InvokeResult r = d.Invoke(ids[0], flags, args);
  if (!r.ok())
    throw std::runtime_error(QStringLiteral("%1: %2 (#%3, %4)")
                                 .arg(name, r.error.description)
                                 .arg(r.error.number)
                                 .arg(r.error.source)
                                 .toStdString());
  if (back) *back = args;
  return r.value;
}

// The class identifier the manifest in `dir` gives for `className`.
QString clsidFromRegistry(const QString& dir, const QString& className) {
  QFile file(QDir(dir).filePath(QStringLiteral("ZANPdfCtl4.component.json")));
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error("no registration in " + dir.toStdString());
  const QJsonObject manifest = QJsonDocument::fromJson(file.readAll()).object();
  std::printf("registered library %s version %s\n",
              qPrintable(manifest["library"].toObject()["path"].toString()),
              qPrintable(manifest["library"].toObject()["version"].toString()));
  for (const QJsonValue& c : manifest["classes"].toArray())
    if (c.toObject()["name"].toString() == className) return c.toObject()["clsid"].toString();
  throw std::runtime_error("class not registered: " + className.toStdString());
}

int run(const QStringList& arguments) {
  QString className = QStringLiteral("ZANPdf3"), libraryFile, registry;
  for (int i = 1; i + 1 < arguments.size(); i += 2) {
    if (arguments[i] == QLatin1String("--class"))
      className = arguments[i + 1];
    else if (arguments[i] == QLatin1String("--load"))
      libraryFile = arguments[i + 1];
    else if (arguments[i] == QLatin1String("--registry"))
      registry = arguments[i + 1];
  }
  const EntryPoints e = libraryFile.isEmpty() ? EntryPoints{} : load(libraryFile);
  std::int32_t major = 0, minor = 0, revision = 0;
  const char* version = e.version(&major, &minor, &revision);
  std::printf("library version %s (%d.%d.%d)\n", version, major, minor, revision);
  Dl_info where{};
  if (dladdr(reinterpret_cast<void*>(e.getClassObject), &where))
    std::printf("entry points from %s\n", where.dli_fname);

  QString classToAsk = QStringLiteral("ZANPdfCtl4.") + className;  // the program id
  if (!registry.isEmpty()) {
    check(e.registerServer(QFile::encodeName(registry).constData()), "register", e);
    classToAsk = clsidFromRegistry(registry, className);
  }
  void* f = nullptr;
  check(e.getClassObject(classToAsk.toUtf8().constData(), &f), "get class object", e);
  auto* factory = static_cast<zan::component::ClassFactory*>(f);
  std::printf("factory for %s %s\n", factory->className(), factory->classId());

  auto* dialog = new QDialog;
  auto* layout = new QVBoxLayout(dialog);
  auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
  Dispatch* panel = nullptr;
  check(factory->CreateInstance(dialog, nullptr, &panel), "create", e);
  factory->Release();
  layout->addWidget(qobject_cast<QWidget*>(panel->object()));
  layout->addWidget(ok);

  QVector<DispId> events;
  panel->GetEventIDsOfNames({QStringLiteral("Change")}, events);
  std::uint32_t cookie = 0;
  int changes = 0;
  panel->ConnectEvent(
      events[0], [&](DispId, QVector<Variant>&) { ++changes; }, &cookie);
  panel->GetEventIDsOfNames({QStringLiteral("Error")}, events);
  panel->ConnectEvent(
      events[0],
      [](DispId, QVector<Variant>& args) {
        std::printf("Error event %d: %s\n", args[0].number(), qPrintable(args[1].text()));
      },
      &cookie);

  if (className == QLatin1String("ZANPdf3"))
    call(*panel, QStringLiteral("DisableElementDuringHubSearch"), zan::automation::Method,
         {Variant(static_cast<QObject*>(ok))});
  // The stored settings of a release script: a workgroup hub on disk (a folder with Workflows
  // and Dictionaries folders) and a watched folder.
  QTemporaryDir hub;
  for (const char* file : {"Workflows/PDF Standard", "Dictionaries/English"}) {
    QDir(hub.path()).mkpath(QFileInfo(hub.filePath(file)).path());
    QFile(hub.filePath(file)).open(QIODevice::WriteOnly);
  }
  zan::MemorySetupData rd;
  rd.partTwo().setValue(QStringLiteral("WorkgroupHub"), hub.path());
  rd.partTwo().setValue(QStringLiteral("WatchedFolder"), hub.filePath(QStringLiteral("watched")));
  QVector<Variant> back;
  call(*panel, QStringLiteral("Init"), zan::automation::Method,
       {Variant(static_cast<QObject*>(&rd))}, &back);
  if (back.value(0).object() != &rd) std::printf("Init handed back another setup data object\n");
  call(*panel, QStringLiteral("enabled"), zan::automation::PropertyPut, {Variant(true)});
  if (className == QLatin1String("ZANPdf3")) {
    call(*panel, QStringLiteral("PDFOutputFolder"), zan::automation::PropertyPut,
         {Variant(hub.filePath(QStringLiteral("out")))});
    // Putting the watched folder runs the box's change handling, as a user edit does.
    call(*panel, QStringLiteral("WatchedFolder"), zan::automation::PropertyPut,
         {Variant(hub.filePath(QStringLiteral("watched-too")))});
  }
  std::printf("Enabled -> %d\n",
              call(*panel, QStringLiteral("Enabled"), zan::automation::PropertyGet).boolValue());
  dialog->show();
  QCoreApplication::processEvents();
  const Variant verdict = call(*panel, QStringLiteral("Validate"), zan::automation::Method);
  std::printf("Validate -> %d\n", verdict.number());
  if (verdict.number() != 0) {
    std::printf(
        "ValidateError -> %s\n",
        qPrintable(
            call(*panel, QStringLiteral("ValidateError"), zan::automation::PropertyGet).text()));
    return 1;
  }
  call(*panel, QStringLiteral("Apply"), zan::automation::Method,
       {Variant(static_cast<QObject*>(&rd))});
  std::printf("Apply stored %lld + %lld settings\n",
              static_cast<long long>(rd.partOne().keys().size()),
              static_cast<long long>(rd.partTwo().keys().size()));
  std::printf("Change events: %d\n", changes);
  std::printf("can unload while the panel lives: %s\n", e.canUnloadNow() == 0 ? "yes" : "no");
  delete dialog;
  std::printf("can unload after: %s\n", e.canUnloadNow() == 0 ? "yes" : "no");
  if (!registry.isEmpty())
    check(e.unregisterServer(QFile::encodeName(registry).constData()), "unregister", e);
  std::printf("embed-host: ok\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  QApplication app(argc, argv);
  try {
    return run(app.arguments());
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "embed-host: %s\n", failure.what());
    return 1;
  }
}
