#pragma once
// The registration of the library: a JSON manifest, ZANPdfCtl4.component.json, in a
// directory the host names. It records the library file and version, the type library, both
// classes (name, program id, class identifier, default interface, event source, the entry
// point to ask) and their interfaces. Internal to the component folder; the format is
// described in docs/late-binding.md.

#include <QJsonObject>
#include <QString>

namespace zan::component {

QString manifestFileName();
// The manifest of the library at `libraryPath`.
QJsonObject registrationManifest(const QString& libraryPath);

// Write and remove the manifest in `dir`; a failure raises an AutomationError whose
// description names the directory or file and the problem. Writing is atomic.
void writeRegistration(const QString& dir, const QString& libraryPath);
void removeRegistration(const QString& dir);

}  // namespace zan::component
