#pragma once
/// \file
/// The late-bound surface of the panels for C++ hosts: what a host that knows only member names,
/// dispatch ids and variants uses (zan::automation::Dispatch), and the class factories that
/// create panels (zan::component::ClassFactory). Everything here is abstract or header-only, so a
/// host that loads the library by file name (dlopen) can use it without linking; the entry
/// points are in ZANPdfCtl4/zanpdfctl4.h. See docs/late-binding.md.
///
/// \code
///   QVector<DispId> ids;
///   d->GetIDsOfNames({"Validate"}, ids);
///   QVector<Variant> none;
///   InvokeResult r = d->Invoke(ids[0], Method, none);   // r.value: Long
/// \endcode
///
/// Arguments are passed in declaration order (not automation's reversed order). In/out
/// parameters are written back into the caller's argument vector after the call.

#include <ZANPdfCtl4/automation_error.h>
#include <ZANPdfCtl4/zanpdfctl4_export.h>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>
#include <functional>

class QWidget;

namespace zan {
struct PanelEnvironment;
}

namespace zan::automation {

/// The variant types that cross the controls' interfaces, numbered as in automation.
enum class VarType : std::uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,  // signed 16-bit
  Long = 3,     // signed 32-bit
  String = 8,
  Object = 9,
  Boolean = 11,  // 16-bit truth value: True = -1, False = 0
  Variant = 12,  // "any of the above" in a parameter description
};

/// The automation truth values.
constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

class Variant {
 public:
  Variant() = default;  // Empty
  Variant(bool value) : type_(VarType::Boolean), number_(value ? kTrue : kFalse) {}
  Variant(std::int16_t value) : type_(VarType::Integer), number_(value) {}
  Variant(std::int32_t value) : type_(VarType::Long), number_(value) {}
  Variant(const QString& value) : type_(VarType::String), text_(value) {}
  Variant(const char* utf8) : type_(VarType::String), text_(QString::fromUtf8(utf8)) {}
  Variant(QObject* object) : type_(VarType::Object), object_(object) {}

  static Variant null() {
    Variant v;
    v.type_ = VarType::Null;
    return v;
  }

  VarType type() const { return type_; }
  bool isEmpty() const { return type_ == VarType::Empty; }

  /// The raw values; each is meaningful only for the matching type.
  /// Boolean: kTrue or kFalse; Integer and Long: the number.
  std::int32_t number() const { return number_; }
  std::int16_t boolValue() const { return static_cast<std::int16_t>(number_); }
  bool isTrue() const { return type_ == VarType::Boolean && number_ != kFalse; }
  const QString& text() const { return text_; }
  QObject* object() const { return object_.data(); }

  friend bool operator==(const Variant& a, const Variant& b) {
    return a.type_ == b.type_ && a.number_ == b.number_ && a.text_ == b.text_ &&
           a.object_.data() == b.object_.data();
  }
  friend bool operator!=(const Variant& a, const Variant& b) { return !(a == b); }

 private:
  VarType type_ = VarType::Empty;
  std::int32_t number_ = 0;
  QString text_;
  QPointer<QObject> object_;
};

using DispId = std::int32_t;
constexpr DispId kDispIdUnknown = -1;     // a name that GetIDsOfNames did not find
constexpr DispId kDispIdAboutBox = -552;  // the standard about-box dispatch id

/// How a member is invoked; the values are automation's invoke flags and may be combined in a
/// call (e.g. Method | PropertyGet).
enum InvokeFlag : std::uint16_t {
  Method = 1,
  PropertyGet = 2,
  PropertyPut = 4,
};

enum class ParamDirection { In, InOut };

/// A type defined by another library (the host's setup data, the capture library's enumeration).
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

/// Type flags, valued as automation's TYPEFLAGS.
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
  /// Component classes: the names of the default interface and of the event source.
  QString defaultInterface;
  QString eventSource;
};

/// Status values of the late-bound calls (automation's HRESULTs).
namespace status {
constexpr std::int32_t kOk = 0;
constexpr std::int32_t kMemberNotFound = static_cast<std::int32_t>(0x80020003u);
constexpr std::int32_t kTypeMismatch = static_cast<std::int32_t>(0x80020005u);
constexpr std::int32_t kUnknownName = static_cast<std::int32_t>(0x80020006u);
constexpr std::int32_t kException = static_cast<std::int32_t>(0x80020009u);
constexpr std::int32_t kOverflow = static_cast<std::int32_t>(0x8002000Au);
constexpr std::int32_t kBadParamCount = static_cast<std::int32_t>(0x8002000Eu);
constexpr std::int32_t kInvalidArg = static_cast<std::int32_t>(0x80070057u);
constexpr std::int32_t kNoConnection = static_cast<std::int32_t>(0x80040200u);
}  // namespace status

struct InvokeResult {
  std::int32_t status = status::kOk;
  Variant value;  // the member's result (Empty for none)
  /// When status is not kOk: what went wrong. For status::kException this is the member's own
  /// failure (number, source, description, help file and context) exactly as it raised it.
  AutomationError error;
  int argumentError = -1;  // index of the argument that could not be converted
  bool ok() const { return status == status::kOk; }
};

/// An event handler receives the event id and the event's arguments; it may change them, and
/// the control sees the changed values once the handler returns.
using EventHandler = std::function<void(DispId event, QVector<Variant>& args)>;

class Dispatch {
 public:
  /// The control itself (a QWidget for the panels).
  virtual QObject* object() const = 0;
  /// The description of the control's class, default interface and event source.
  virtual const TypeDesc& coClass() const = 0;
  virtual const TypeDesc& defaultInterface() const = 0;
  virtual const TypeDesc& eventInterface() const = 0;

  /// names[0] is a member of the default interface, looked up case-insensitively (an exact-case
  /// match wins); names[1..] are parameter names of that member, answered by their position.
  /// ids receives one entry per name, kDispIdUnknown for a name not found; the status is
  /// kUnknownName if any name was not found.
  virtual std::int32_t GetIDsOfNames(const QStringList& names, QVector<DispId>& ids) const = 0;
  /// The same for an event of the event source.
  virtual std::int32_t GetEventIDsOfNames(const QStringList& names, QVector<DispId>& ids) const = 0;

  /// Invokes the member `id` with one of `flags` (Method is preferred over PropertyGet when both
  /// are given). A property put takes the new value as its only argument.
  virtual InvokeResult Invoke(DispId id, std::uint16_t flags, QVector<Variant>& args) = 0;

  /// Calls `handler` each time the control raises event `eventId`; *cookie identifies the
  /// connection. The handler runs synchronously inside the control; a failure thrown by the
  /// handler is caught and reported as a warning, never passed into the control.
  virtual std::int32_t ConnectEvent(DispId eventId, EventHandler handler,
                                    std::uint32_t* cookie) = 0;
  virtual std::int32_t DisconnectEvent(std::uint32_t cookie) = 0;

 protected:
  ~Dispatch() = default;  // owned by the control; never deleted through this interface
};

}  // namespace zan::automation

namespace zan::component {

/// Status values of the entry points and class factories (automation's HRESULTs).
namespace status {
constexpr std::int32_t kFalse = 1;
constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005u);
constexpr std::int32_t kPointer = static_cast<std::int32_t>(0x80004003u);
constexpr std::int32_t kClassNotAvailable = static_cast<std::int32_t>(0x80040111u);
constexpr std::int32_t kRegistrationFailed = static_cast<std::int32_t>(0x80040201u);
}  // namespace status

/// The class factory of one control class.
class ClassFactory {
 public:
  /// Creates a new control as a child of `parent` (nullptr: a top-level widget the host
  /// deletes). Hosts pass nullptr for `env`, the real outside world (the type is internal: the
  /// library's own programs and tests hand over their doubles). On success *control is the
  /// control's late-bound surface, owned by the control and destroyed with it;
  /// (*control)->object() is the control's QWidget. A control that cannot be created (also: no
  /// QApplication exists, or the call comes from another thread than the QApplication's) fails
  /// with a negative status, *control set to null and ZANDllGetLastError() saying why.
  virtual std::int32_t CreateInstance(QWidget* parent, const zan::PanelEnvironment* env,
                                      automation::Dispatch** control) = 0;
  /// Keeps the library from being reported unloadable while locked; locks are counted.
  virtual std::int32_t LockServer(bool lock) = 0;
  /// The class name, such as "ZANPdf3".
  virtual const char* className() const = 0;
  /// The class identifier, such as "{021D4818-281A-4BF7-ACD3-B1F7F45960B9}".
  virtual const char* classId() const = 0;
  /// The host is done with this factory.
  virtual void Release() = 0;

 protected:
  ~ClassFactory() = default;
};

/// The late-bound surface of a panel the host created itself (early-bound), attached on first
/// use and owned by the panel; nullptr for anything that is not one of the library's panels.
ZANPDFCTL4_EXPORT automation::Dispatch* dispatchOf(QWidget* panel);

}  // namespace zan::component
