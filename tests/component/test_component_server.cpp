// The library as a component server: class factories, the unload check and registration in a
// directory. (Loading by file name is shown by the package test's example host.)

#include <ZANPdfCtl4/late_binding.h>
#include <ZANPdfCtl4/zanpdf3.h>
#include <ZANPdfCtl4/zanpdfctl4.h>
#include "automation/type_library.h"
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

using zan::component::ClassFactory;
namespace cs = zan::component::status;

namespace {

ClassFactory* factoryFor(const QString& name) {
  void* f = nullptr;
  EXPECT_EQ(ZANDllGetClassObject(name.toUtf8().constData(), &f), 0) << ZANDllGetLastError();
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
    EXPECT_EQ(QString(factory->classId()), zan::automation::zanPdfCtl4Library().find(cls)->uuid);
    QWidget parent;
    zan::automation::Dispatch* control = nullptr;
    ASSERT_EQ(factory->CreateInstance(&parent, &env, &control), 0);
    EXPECT_EQ(factory->CreateInstance(nullptr, nullptr, nullptr), cs::kPointer);
    factory->Release();
    auto* panel = static_cast<QWidget*>(control->object());
    EXPECT_EQ(panel->metaObject()->className(), QByteArray(cls));
    EXPECT_EQ(panel->parent(), &parent);
    EXPECT_EQ(zan::component::dispatchOf(panel), control);
  }
  for (const char* unknown : {"ZANPdf4", "", "ZANPdfCtl4.", "TextError", "_ZANPdf3",
                              "{00000000-0000-0000-0000-000000000000}"}) {
    void* f = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(ZANDllGetClassObject(unknown, &f), cs::kClassNotAvailable) << unknown;
    EXPECT_EQ(f, nullptr);
    EXPECT_NE(QString(ZANDllGetLastError()), "");
  }
  void* f = nullptr;
  EXPECT_EQ(ZANDllGetClassObject(nullptr, &f), cs::kClassNotAvailable);
  EXPECT_EQ(ZANDllGetClassObject("ZANPdf", nullptr), cs::kPointer);
  EXPECT_STREQ(ZANDllGetVersion(nullptr, nullptr, nullptr), "5.00.0003");  // no out parameters
  QWidget notAPanel;
  EXPECT_EQ(zan::component::dispatchOf(&notAPanel), nullptr);
}

// Catches the library reported unloadable while a host still holds a panel (made by the
// factory, with the real outside world, or early-bound), a factory or a lock, or never
// unloadable afterwards.
TEST(ClassFactory, CanUnloadOnlyWhenNothingIsAlive) {
  ASSERT_EQ(ZANDllCanUnloadNow(), 0);
  ClassFactory* factory = factoryFor("ZANPdf3");
  EXPECT_EQ(ZANDllCanUnloadNow(), cs::kFalse);
  zan::automation::Dispatch* control = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, nullptr, &control), 0);
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
    zan::testing::TestWorld world;
    ZANPdf3 early(world.environment());
    EXPECT_EQ(ZANDllCanUnloadNow(), cs::kFalse);
  }
  EXPECT_EQ(ZANDllCanUnloadNow(), 0);
}

// Catches a registration a host cannot use (wrong classes, ids, library path or version),
// files left behind by unregistering, a foreign file removed or a missing directory created.
TEST(Registration, RegisterThenUnregisterLeavesNoTrace) {
  QTemporaryDir dir;
  const auto entries = [&dir] {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  };
  QFile(dir.filePath("host-owned.txt")).open(QIODevice::WriteOnly);
  const QStringList before = entries();
  const QByteArray path = QFile::encodeName(dir.path());

  ASSERT_EQ(ZANDllRegisterServer(path.constData()), 0) << ZANDllGetLastError();
  ASSERT_EQ(ZANDllRegisterServer(path.constData()), 0);  // again: replaced, not doubled
  EXPECT_EQ(entries(), QStringList(before) << "ZANPdfCtl4.component.json");
  QFile file(dir.filePath("ZANPdfCtl4.component.json"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QJsonObject m = QJsonDocument::fromJson(file.readAll()).object();
  file.close();
  const QJsonObject library = m["library"].toObject(), types = m["typeLibrary"].toObject();
  Dl_info self{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(&ZANDllRegisterServer), &self), 0);
  EXPECT_EQ(QFileInfo(library["path"].toString()).canonicalFilePath(),
            QFileInfo(self.dli_fname).canonicalFilePath());
  EXPECT_EQ(library["version"].toString(), "5.00.0003");
  EXPECT_EQ(types["name"].toString() + ' ' + types["version"].toString(), "ZANPdfCtl4 1.1");
  EXPECT_EQ(types["lcid"].toInt(), 0x409);
  QStringList progIds;
  for (const QJsonValue c : m["classes"].toArray()) {
    progIds << c["progId"].toString();
    EXPECT_TRUE(c["control"].toBool());
    ClassFactory* f = factoryFor(c["clsid"].toString());  // creatable by the manifest's id
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(QString(f->className()), c["name"].toString());
    f->Release();
  }
  EXPECT_EQ(progIds, (QStringList{"ZANPdfCtl4.ZANPdf", "ZANPdfCtl4.ZANPdf3"}));

  ASSERT_EQ(ZANDllUnregisterServer(path.constData()), 0) << ZANDllGetLastError();
  EXPECT_EQ(entries(), before);
  EXPECT_EQ(ZANDllUnregisterServer(path.constData()), 0);  // nothing registered: no failure

  QFile foreign(dir.filePath("ZANPdfCtl4.component.json"));  // not written by the library
  ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
  foreign.write("{\"format\": \"something else\"}");
  foreign.close();
  EXPECT_EQ(ZANDllUnregisterServer(path.constData()), cs::kRegistrationFailed);
  EXPECT_TRUE(QString(ZANDllGetLastError()).contains("left alone"));
  EXPECT_TRUE(foreign.exists());

  const QByteArray missing = QFile::encodeName(dir.filePath("missing"));
  EXPECT_EQ(ZANDllRegisterServer(missing.constData()), cs::kRegistrationFailed);
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));
  EXPECT_EQ(ZANDllRegisterServer(nullptr), cs::kRegistrationFailed);
}

}  // namespace
