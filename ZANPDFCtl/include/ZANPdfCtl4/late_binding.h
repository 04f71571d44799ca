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
  Empty = 0,     ///< no value
  Null = 1,      ///< the null value
  Integer = 2,   ///< signed 16-bit
  Long = 3,      ///< signed 32-bit
  String = 8,    ///< text
  Object = 9,    ///< a QObject* (the setup data, a host element)
  Boolean = 11,  ///< 16-bit truth value: True = -1, False = 0
  Variant = 12,  ///< "any of the above" in a parameter description
};

/// The automation truth value True.
constexpr std::int16_t kTrue = -1;
/// The automation truth value False.
constexpr std::int16_t kFalse = 0;

/// A value passed to or returned from a late-bound member or event: one of the types of
/// VarType, built implicitly from the matching C++ value. An Object variant holds a guarded
/// pointer: it reads null once the object is destroyed.
class Variant {
 public:
  /// Empty.
  Variant() = default;
  /// Boolean: kTrue or kFalse.
  Variant(bool value) : type_(VarType::Boolean), number_(value ? kTrue : kFalse) {}
  /// Integer (16-bit).
  Variant(std::int16_t value) : type_(VarType::Integer), number_(value) {}
  /// Long (32-bit).
  Variant(std::int32_t value) : type_(VarType::Long), number_(value) {}
  /// String.
  Variant(const QString& value) : type_(VarType::String), text_(value) {}
  /// String, from UTF-8 text.
  Variant(const char* utf8) : type_(VarType::String), text_(QString::fromUtf8(utf8)) {}
  /// Object: the setup data, a host element.
  Variant(QObject* object) : type_(VarType::Object), object_(object) {}

  /// The Null variant.
  static Variant null() {
    Variant v;
    v.type_ = VarType::Null;
    return v;
  }

  /// The variant's type.
  VarType type() const { return type_; }
  /// Whether the variant is Empty.
  bool isEmpty() const { return type_ == VarType::Empty; }

  /// The raw values; each is meaningful only for the matching type.
  /// Boolean: kTrue or kFalse; Integer and Long: the number.
  std::int32_t number() const { return number_; }
  /// A Boolean's value: kTrue or kFalse.
  std::int16_t boolValue() const { return static_cast<std::int16_t>(number_); }
  /// Whether the variant is the Boolean True.
  bool isTrue() const { return type_ == VarType::Boolean && number_ != kFalse; }
  /// A String's text.
  const QString& text() const { return text_; }
  /// An Object's object; null when it was destroyed.
  QObject* object() const { return object_.data(); }

  /// Same type and same value.
  friend bool operator==(const Variant& a, const Variant& b) {
    return a.type_ == b.type_ && a.number_ == b.number_ && a.text_ == b.text_ &&
           a.object_.data() == b.object_.data();
  }
  /// Another type or another value.
  friend bool operator!=(const Variant& a, const Variant& b) { return !(a == b); }

 private:
  VarType type_ = VarType::Empty;
  std::int32_t number_ = 0;
  QString text_;
  QPointer<QObject> object_;
};

/// A dispatch identifier: the number of a member or event of an interface.
using DispId = std::int32_t;
/// The id GetIDsOfNames answers for a name it did not find.
constexpr DispId kDispIdUnknown = -1;
/// The standard dispatch id of the about box (ShowAboutBox on both panels).
constexpr DispId kDispIdAboutBox = -552;

/// How a member is invoked; the values are automation's invoke flags and may be combined in a
/// call (e.g. Method | PropertyGet).
enum InvokeFlag : std::uint16_t {
  Method = 1,       ///< a method call
  PropertyGet = 2,  ///< a property read
  PropertyPut = 4,  ///< a property write
};

/// Whether a parameter only passes a value in, or also hands one back to the caller.
enum class ParamDirection {
  In,     ///< passed in only
  InOut,  ///< passed in and written back into the caller's argument (by reference)
};

/// A type defined by another library (the host's setup data, the capture library's enumeration).
struct ForeignType {
  QString library;  ///< the type library, such as "VelmarRelease"; empty for none
  QString file;     ///< the library's file, such as "VelRel.dll"
  QString name;     ///< the type's name, such as "SetupData"
  /// The same type of the same library.
  bool operator==(const ForeignType& o) const {
    return library == o.library && file == o.file && name == o.name;
  }
};

/// One parameter of a member or event, as the type library describes it.
struct ParamDesc {
  QString name;                                   ///< the parameter's name, such as "rd"
  VarType type = VarType::Empty;                  ///< the type its argument is converted to
  ParamDirection direction = ParamDirection::In;  ///< in, or in/out
  ForeignType foreign;  ///< set when the automation type stands for another library's type
};

/// One member of an interface (a method, a property read or a property write) or one event.
struct MemberDesc {
  DispId id = 0;                    ///< its dispatch identifier
  QString name;                     ///< its name, such as "Validate"
  InvokeFlag kind = Method;         ///< exactly one flag
  QVector<ParamDesc> params;        ///< its parameters, in declaration order
  VarType result = VarType::Empty;  ///< the result's type; Empty: no result
  ForeignType resultForeign;        ///< set when the result is another library's type
  QString helpString;               ///< what the member does, in a line
};

/// What a type of the type library is.
enum class TypeKind {
  DispatchInterface,  ///< an interface of members or events
  CoClass,            ///< a component class: a control with its interfaces
};

/// Type flags, valued as automation's TYPEFLAGS.
enum TypeFlag : std::uint32_t {
  CanCreate = 0x2,        ///< a class a host may create
  Hidden = 0x10,          ///< not shown to users of a type browser
  Control = 0x20,         ///< a class that is a control
  Dual = 0x40,            ///< an interface reachable early and late bound
  Dispatchable = 0x1000,  ///< an interface reachable late bound
};

/// One type of the type library: a dispatch interface or a component class.
struct TypeDesc {
  QString name;                                 ///< such as "_ZANPdf3" or "ZANPdf3"
  TypeKind kind = TypeKind::DispatchInterface;  ///< interface or class
  std::uint32_t flags = 0;                      ///< TypeFlag values
  QString uuid;                                 ///< "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
  QString helpString;                           ///< what the type is, in a line
  QVector<MemberDesc> members;  ///< dispatch interfaces: the members, in interface order
  /// Component classes: the name of the default interface.
  QString defaultInterface;
  /// Component classes: the name of the event source interface.
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

/// The outcome of Dispatch::Invoke.
struct InvokeResult {
  std::int32_t status = status::kOk;  ///< status::kOk, or the status of the failure
  Variant value;                      ///< the member's result (Empty for none)
  /// When status is not kOk: what went wrong. For status::kException this is the member's own
  /// failure (number, source, description, help file and context) exactly as it raised it.
  AutomationError error;
  int argumentError = -1;  ///< the index of the argument that could not be converted, or -1
  /// Whether the call succeeded.
  bool ok() const { return status == status::kOk; }
};

/// An event handler receives the event id and the event's arguments; it may change them, and
/// the control sees the changed values once the handler returns.
using EventHandler = std::function<void(DispId event, QVector<Variant>& args)>;

/// The late-bound surface of a control: its type description, member and event lookup by
/// name, calls by dispatch id with variant arguments, and event connections. Owned by the
/// control (see ClassFactory::CreateInstance); it never throws.
class Dispatch {
 public:
  /// The control itself (a QWidget for the panels).
  virtual QObject* object() const = 0;
  /// The description of the control's class, default interface and event source.
  virtual const TypeDesc& coClass() const = 0;
  /// The description of the default interface: the members a host calls.
  virtual const TypeDesc& defaultInterface() const = 0;
  /// The description of the event source: the events a host connects to.
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
  /// Ends the connection `cookie` of ConnectEvent; status::kNoConnection for an unknown one.
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
