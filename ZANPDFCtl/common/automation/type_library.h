#pragma once
// The type-library description of the controls: what a late-bound host can learn about the
// library, its classes, their interfaces, members, parameters and events. Plain data; the
// late-binding engine (object_dispatch.h) reads it to map names and dispatch ids onto the
// Qt members of a control.

#include "common/automation/variant.h"

#include <QString>
#include <QVector>

#include <cstdint>

namespace zan::automation {

using DispId = std::int32_t;
constexpr DispId kDispIdUnknown = -1;     // a name that GetIDsOfNames did not find
constexpr DispId kDispIdAboutBox = -552;  // the standard about-box dispatch id

// How a member is invoked; the values are automation's invoke flags and may be combined in a
// call (e.g. Method | PropertyGet).
enum InvokeFlag : std::uint16_t {
  Method = 1,
  PropertyGet = 2,
  PropertyPut = 4,
};

enum class ParamDirection { In, InOut };

// A type defined by another library (the host's setup data, the capture library's enumeration).
struct ForeignType {
  QString library;  // e.g. "VelmarRelease"
  QString file;     // e.g. "VelRel.dll"
  QString name;     // e.g. "SetupData"
  bool operator==(const ForeignType& o) const {
    return library == o.library && file == o.file && name == o.name;
  }
};

struct ParamDesc {
  QString name;
  VarType type = VarType::Empty;
  ParamDirection direction = ParamDirection::In;
  ForeignType foreign;  // set when the automation type stands for another library's type
};

struct MemberDesc {
  DispId id = 0;
  QString name;
  InvokeFlag kind = Method;  // exactly one flag
  QVector<ParamDesc> params;
  VarType result = VarType::Empty;  // Empty: no result
  ForeignType resultForeign;
  QString helpString;
};

enum class TypeKind { DispatchInterface, CoClass };

// Type flags, valued as automation's TYPEFLAGS.
enum TypeFlag : std::uint32_t {
  CanCreate = 0x2,
  Hidden = 0x10,
  Control = 0x20,
  Dual = 0x40,
  Dispatchable = 0x1000,
};

struct TypeDesc {
  QString name;
  TypeKind kind = TypeKind::DispatchInterface;
  std::uint32_t flags = 0;
  QString uuid;  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
  QString helpString;
  QVector<MemberDesc> members;  // dispatch interfaces: in interface order
  // Component classes: the names of the default interface and of the event source.
  QString defaultInterface;
  QString eventSource;
};

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

// The description of this library: ZANPdfCtl4 1.1, locale 0x409, six types.
const TypeLibraryDesc& zanPdfCtl4Library();

}  // namespace zan::automation
