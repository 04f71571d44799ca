#include "component/registration.h"

#include "automation/type_library.h"
#include "component/panel_factory.h"
#include "settings/automation_error.h"
#include "settings/version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace zan::component {
namespace {

using automation::TypeDesc;
using automation::TypeKind;

const QString kFormat = QStringLiteral("zan-component-registration");
const QString kSource = QStringLiteral("ZANPdfCtl4.DllRegisterServer");

QJsonArray flagNames(std::uint32_t flags) {
  QJsonArray names;
  const std::pair<std::uint32_t, const char*> known[] = {
      {automation::CanCreate, "canCreate"},
      {automation::Hidden, "hidden"},
      {automation::Control, "control"},
      {automation::Dual, "dual"},
      {automation::Dispatchable, "dispatchable"}};
  for (const auto& [flag, name] : known)
    if (flags & flag) names.append(QString::fromLatin1(name));
  return names;
}

[[noreturn]] void fail(const QString& description) {
  raiseError(static_cast<std::int32_t>(0x80040201u), kSource, description);
}

QString directoryOf(const QString& dir) {
  if (dir.isEmpty()) fail(QStringLiteral("No registration directory given"));
  const QFileInfo info(dir);
  if (!info.isDir()) fail(QStringLiteral("The registration directory %1 does not exist").arg(dir));
  return info.absoluteFilePath();
}

}  // namespace

QString manifestFileName() {
  return QStringLiteral("ZANPdfCtl4.component.json");
}

QJsonObject registrationManifest(const QString& libraryPath) {
  const automation::TypeLibraryDesc& lib = automation::zanPdfCtl4Library();
  QJsonArray types, classes, interfaces;
  for (const TypeDesc& t : lib.types) {
    const bool coClass = t.kind == TypeKind::CoClass;
    types.append(QJsonObject{{"name", t.name},
                             {"kind", coClass ? "coclass" : "dispinterface"},
                             {"uuid", t.uuid},
                             {"flags", flagNames(t.flags)}});
    if (coClass) {
      classes.append(QJsonObject{{"name", t.name},
                                 {"progId", progIdOf(t.name)},
                                 {"clsid", t.uuid},
                                 {"control", (t.flags & automation::Control) != 0},
                                 {"defaultInterface", lib.find(t.defaultInterface)->uuid},
                                 {"eventSource", lib.find(t.eventSource)->uuid},
                                 {"entryPoint", "ZANDllGetClassObject"}});
    } else {
      interfaces.append(QJsonObject{{"name", t.name},
                                    {"iid", t.uuid},
                                    {"typeLibrary", lib.uuid},
                                    {"dual", (t.flags & automation::Dual) != 0},
                                    {"events", !(t.flags & automation::Dual)}});
    }
  }
  return QJsonObject{
      {"format", kFormat},
      {"formatVersion", 1},
      {"library", QJsonObject{{"path", libraryPath},
                              {"file", QFileInfo(libraryPath).fileName()},
                              {"version", QString::fromLatin1(kVersionText)},
                              {"selfRegistering", true}}},
      {"typeLibrary",
       QJsonObject{{"name", lib.name},
                   {"uuid", lib.uuid},
                   {"version", QStringLiteral("%1.%2").arg(lib.majorVersion).arg(lib.minorVersion)},
                   {"lcid", static_cast<int>(lib.lcid)},
                   {"helpString", lib.helpString},
                   {"types", types}}},
      {"classes", classes},
      {"interfaces", interfaces},
  };
}

void writeRegistration(const QString& dir, const QString& libraryPath) {
  QSaveFile file(QDir(directoryOf(dir)).filePath(manifestFileName()));
  if (!file.open(QIODevice::WriteOnly))
    fail(QStringLiteral("Cannot write %1: %2").arg(file.fileName(), file.errorString()));
  file.write(QJsonDocument(registrationManifest(libraryPath)).toJson());
  if (!file.commit())
    fail(QStringLiteral("Cannot write %1: %2").arg(file.fileName(), file.errorString()));
}

void removeRegistration(const QString& dir) {
  QFile file(QDir(directoryOf(dir)).filePath(manifestFileName()));
  if (!file.exists()) return;
  if (!file.open(QIODevice::ReadOnly))
    fail(QStringLiteral("Cannot read %1: %2").arg(file.fileName(), file.errorString()));
  const QJsonObject manifest = QJsonDocument::fromJson(file.readAll()).object();
  file.close();
  if (manifest.value(QStringLiteral("format")).toString() != kFormat ||
      manifest.value(QStringLiteral("typeLibrary")).toObject().value(QStringLiteral("uuid")) !=
          automation::zanPdfCtl4Library().uuid)
    fail(QStringLiteral("%1 is not this library's registration; it was left alone")
             .arg(file.fileName()));
  if (!file.remove())
    fail(QStringLiteral("Cannot remove %1: %2").arg(file.fileName(), file.errorString()));
}

}  // namespace zan::component
