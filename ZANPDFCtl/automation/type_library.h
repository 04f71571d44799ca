#pragma once
// The type-library description of the controls: what a late-bound host can learn about the
// library, its classes, their interfaces, members, parameters and events. Plain data; the
// late-binding engine (object_dispatch.h) reads it to map names and dispatch ids onto the
// Qt members of a control.

#include <ZANPdfCtl4/late_binding.h>

#include <QString>
#include <QVector>

#include <cstdint>

namespace zan::automation {

struct TypeLibraryDesc {
  QString name;
  QString uuid;
  std::uint16_t majorVersion = 0;
  std::uint16_t minorVersion = 0;
  std::uint32_t lcid = 0;
  QString helpString;
  QVector<TypeDesc> types;  // in library order

  // The type named `name` (exact), or nullptr.
  const TypeDesc* find(const QString& name) const;
  // The component class whose name or class identifier is `nameOrUuid` (case-insensitive; the
  // identifier with or without braces), or nullptr.
  const TypeDesc* findClass(const QString& nameOrUuid) const;
};

// The late-bound name of the property that enables a control, the panels' and a host's alike.
extern const char kEnabledMember[];

// The description of this library: ZANPdfCtl4 1.1, locale 0x409, six types.
const TypeLibraryDesc& zanPdfCtl4Library();

}  // namespace zan::automation
