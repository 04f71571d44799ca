// The library as a component server: class factories, the unload check, registration in a
// directory, loading by file name and the version a host sees.

#include "acrobat_capture_panel/zanpdf3.h"
#include "common/automation/type_library.h"
#include "component/zan_component.h"
#include "ocr_pdf_panel/zanpdf.h"
#include "test_environment.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <dlfcn.h>

#include <memory>

using zan::component::ClassFactory;
namespace cs = zan::component::status;

namespace {

ClassFactory* factoryFor(const char* name) {
  void* f = nullptr;
  EXPECT_EQ(ZANDllGetClassObject(name, &f), 0) << name << ": " << ZANDllGetLastError();
  return static_cast<ClassFactory*>(f);
}

// Catches a class not found under one of its names, found under a wrong one, a factory making
// the other panel, or an unknown class handed a factory.
TEST(ClassFactory, CreatesBothClassesAndRefusesOthers) {
  const std::pair<const char*, const char*> known[] = {
      {"ZANPdf", "ZANPdf"},
      {"zanpdf3", "ZANPdf3"},
      {"ZANPdfCtl4.ZANPdf3", "ZANPdf3"},
      {"zanpdfctl4.zanpdf", "ZANPdf"},
      {"{021D4818-281A-4BF7-ACD3-B1F7F45960B9}", "ZANPdf3"},
      {"23f3c677-42e2-432d-a213-139441553729", "ZANPdf"}};
  zan::testing::TestWorld world;
  const zan::PanelEnvironment env = world.environment();
  for (const auto& [name, cls] : known) {
    SCOPED_TRACE(name);
    ClassFactory* factory = factoryFor(name);
    ASSERT_NE(factory, nullptr);
    EXPECT_STREQ(factory->className(), cls);
    EXPECT_EQ(QString(factory->classId()), zan::automation::zanPdfCtl4Library().find(cls)->uuid);
    QWidget parent;
    zan::automation::Dispatch* control = nullptr;
    ASSERT_EQ(factory->CreateInstance(&parent, &env, &control), 0);
    factory->Release();
    QObject* panel = control->object();
    EXPECT_EQ(panel->metaObject()->className(), QByteArray(cls));
    EXPECT_EQ(panel->parent(), &parent);
    EXPECT_EQ(control->coClass().name, cls);
    EXPECT_EQ(zan::component::dispatchOf(static_cast<QWidget*>(panel)), control);
  }
  // The real outside world when the host passes none.
  ClassFactory* real = factoryFor("ZANPdf3");
  zan::automation::Dispatch* control = nullptr;
  ASSERT_EQ(real->CreateInstance(nullptr, nullptr, &control), 0);
  EXPECT_EQ(real->CreateInstance(nullptr, nullptr, nullptr), cs::kPointer);
  real->Release();
  delete control->object();

  for (const char* unknown : {"ZANPdf4", "", "ZANPdfCtl4.", "TextError", "_ZANPdf3",
                              "{00000000-0000-0000-0000-000000000000}"}) {
    SCOPED_TRACE(unknown);
    void* f = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(ZANDllGetClassObject(unknown, &f), cs::kClassNotAvailable);
    EXPECT_EQ(f, nullptr);
    EXPECT_NE(QString(ZANDllGetLastError()), "");
  }
  void* f = nullptr;
  EXPECT_EQ(ZANDllGetClassObject(nullptr, &f), cs::kClassNotAvailable);
  EXPECT_EQ(ZANDllGetClassObject("ZANPdf", nullptr), cs::kPointer);
  QWidget notAPanel;
  EXPECT_EQ(zan::component::dispatchOf(&notAPanel), nullptr);
}

// Catches the library reported unloadable while a host still holds a panel (made by the
// factory or early-bound), a factory or a lock, or never unloadable afterwards.
TEST(ClassFactory, CanUnloadOnlyWhenNothingIsAlive) {
  ASSERT_EQ(ZANDllCanUnloadNow(), 0);
  ClassFactory* factory = factoryFor("ZANPdf");
  EXPECT_EQ(ZANDllCanUnloadNow(), cs::kFalse);
  zan::testing::TestWorld world;
  const zan::PanelEnvironment env = world.environment();
  zan::automation::Dispatch* control = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, &env, &control), 0);
  factory->LockServer(true);
  factory->Release();
  EXPECT_EQ(ZANDllCanUnloadNow(), cs::kFalse);  // panel and lock
  factory = factoryFor("ZANPdf");
  factory->LockServer(false);
  factory->Release();
  EXPECT_EQ(ZANDllCanUnloadNow(), cs::kFalse);  // the panel
  delete control->object();
  EXPECT_EQ(ZANDllCanUnloadNow(), 0);
  {
    ZANPdf3 early(world.environment());
    EXPECT_EQ(ZANDllCanUnloadNow(), cs::kFalse);
  }
  EXPECT_EQ(ZANDllCanUnloadNow(), 0);
}

QStringList entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Catches a registration a host cannot use (wrong classes, ids, library path or version),
// files left behind by unregistering, or a foreign file removed.
TEST(Registration, RegisterThenUnregisterLeavesNoTrace) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile(dir.filePath("host-owned.txt")).open(QIODevice::WriteOnly);
  const QStringList before = entries(dir.path());
  const QByteArray path = QFile::encodeName(dir.path());

  ASSERT_EQ(ZANDllRegisterServer(path.constData()), 0) << ZANDllGetLastError();
  ASSERT_EQ(ZANDllRegisterServer(path.constData()), 0);  // again: replaced, not doubled
  EXPECT_EQ(entries(dir.path()), QStringList(before) << "ZANPdfCtl4.component.json");
  QFile file(dir.filePath("ZANPdfCtl4.component.json"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QJsonObject m = QJsonDocument::fromJson(file.readAll()).object();
  file.close();
  const QString library = m["library"].toObject()["path"].toString();
  Dl_info self{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(&ZANDllRegisterServer), &self), 0);
  EXPECT_EQ(QFileInfo(library).canonicalFilePath(), QFileInfo(self.dli_fname).canonicalFilePath());
  EXPECT_EQ(m["library"].toObject()["version"].toString(), "5.00.0003");
  const QJsonObject lib = m["typeLibrary"].toObject();
  EXPECT_EQ(lib["name"].toString(), "ZANPdfCtl4");
  EXPECT_EQ(lib["version"].toString(), "1.1");
  EXPECT_EQ(lib["lcid"].toInt(), 0x409);
  EXPECT_EQ(lib["types"].toArray().size(), 6);
  const QJsonArray classes = m["classes"].toArray();
  ASSERT_EQ(classes.size(), 2);
  QStringList progIds;
  for (const QJsonValue& c : classes) {
    progIds << c["progId"].toString();
    EXPECT_TRUE(c["control"].toBool());
    // A host can create each class by the identifier the manifest gives.
    void* f = nullptr;
    EXPECT_EQ(ZANDllGetClassObject(c["clsid"].toString().toUtf8().constData(), &f), 0);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(QString(static_cast<ClassFactory*>(f)->className()), c["name"].toString());
    static_cast<ClassFactory*>(f)->Release();
  }
  EXPECT_EQ(progIds, (QStringList{"ZANPdfCtl4.ZANPdf", "ZANPdfCtl4.ZANPdf3"}));
  EXPECT_EQ(m["interfaces"].toArray().size(), 4);

  ASSERT_EQ(ZANDllUnregisterServer(path.constData()), 0) << ZANDllGetLastError();
  EXPECT_EQ(entries(dir.path()), before);
  EXPECT_EQ(ZANDllUnregisterServer(path.constData()), 0);  // nothing registered: no failure

  // A file of that name the library did not write stays.
  QFile foreign(dir.filePath("ZANPdfCtl4.component.json"));
  ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
  foreign.write("{\"format\": \"something else\"}");
  foreign.close();
  EXPECT_EQ(ZANDllUnregisterServer(path.constData()), cs::kRegistrationFailed);
  EXPECT_TRUE(QString(ZANDllGetLastError()).contains("left alone"));
  EXPECT_TRUE(foreign.exists());

  // A directory that does not exist is not created.
  const QByteArray missing = QFile::encodeName(dir.filePath("missing"));
  EXPECT_EQ(ZANDllRegisterServer(missing.constData()), cs::kRegistrationFailed);
  EXPECT_TRUE(QString(ZANDllGetLastError()).contains("does not exist"));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));
  EXPECT_EQ(ZANDllRegisterServer(nullptr), cs::kRegistrationFailed);
}

// Catches entry points not reachable by their unmangled names after loading the library by
// file name, or a version other than 5.00.0003.
TEST(Loading, ByFileNameReachesTheFactoryAndVersion) {
  Dl_info self{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(&ZANDllGetClassObject), &self), 0);
  const QString soname = QFileInfo(self.dli_fname).dir().filePath("libZANPdfCtl4.so.5");
  void* handle = dlopen(QFile::encodeName(soname).constData(), RTLD_NOW);
  ASSERT_NE(handle, nullptr) << dlerror();
  auto get = reinterpret_cast<ZANDllGetClassObjectFn>(dlsym(handle, "ZANDllGetClassObject"));
  auto version = reinterpret_cast<ZANDllGetVersionFn>(dlsym(handle, "ZANDllGetVersion"));
  for (const char* name : {"ZANDllCanUnloadNow", "ZANDllRegisterServer", "ZANDllUnregisterServer",
                           "ZANDllGetLastError"})
    EXPECT_NE(dlsym(handle, name), nullptr) << name;
  ASSERT_NE(get, nullptr);
  ASSERT_NE(version, nullptr);
  void* f = nullptr;
  ASSERT_EQ(get("ZANPdfCtl4.ZANPdf3", &f), 0);
  static_cast<ClassFactory*>(f)->Release();
  std::int32_t major = 0, minor = -1, revision = 0;
  EXPECT_STREQ(version(&major, &minor, &revision), "5.00.0003");
  EXPECT_EQ(major, 5);
  EXPECT_EQ(minor, 0);
  EXPECT_EQ(revision, 3);
  EXPECT_STREQ(version(nullptr, nullptr, nullptr), "5.00.0003");
  dlclose(handle);
}

}  // namespace
