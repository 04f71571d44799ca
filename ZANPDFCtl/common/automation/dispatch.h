#pragma once
// Dispatch: the late-bound surface of a control. A host that knows only member names or
// dispatch ids looks ids up, invokes members with variant arguments and connects to events by
// event id. Abstract and header-only, so that a host that loads the library by file name can
// call it through the object it receives from the class factory without linking.
//
//   QVector<DispId> ids;
//   d->GetIDsOfNames({"Validate"}, ids);
//   QVector<Variant> none;
//   InvokeResult r = d->Invoke(ids[0], Method, none);   // r.value: Long
//
// Arguments are passed in declaration order (not automation's reversed order). In/out
// parameters are written back into the caller's argument vector after the call.

#include "common/automation/type_library.h"
#include "common/automation/variant.h"
#include "common/automation_error.h"

#include <QStringList>
#include <QVector>

#include <cstdint>
#include <functional>

namespace zan::automation {

// Status values of the late-bound calls (automation's HRESULTs).
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
  // When status is not kOk: what went wrong. For status::kException this is the member's own
  // failure (number, source, description, help file and context) exactly as it raised it.
  AutomationError error;
  int argumentError = -1;  // index of the argument that could not be converted
  bool ok() const { return status == status::kOk; }
};

// An event handler receives the event id and the event's arguments; it may change them, and
// the control sees the changed values once the handler returns.
using EventHandler = std::function<void(DispId event, QVector<Variant>& args)>;

class Dispatch {
 public:
  // The control itself (a QWidget for the panels).
  virtual QObject* object() const = 0;
  // The description of the control's class, default interface and event source.
  virtual const TypeDesc& coClass() const = 0;
  virtual const TypeDesc& defaultInterface() const = 0;
  virtual const TypeDesc& eventInterface() const = 0;

  // names[0] is a member of the default interface, looked up case-insensitively (an exact-case
  // match wins); names[1..] are parameter names of that member, answered by their position.
  // ids receives one entry per name, kDispIdUnknown for a name not found; the status is
  // kUnknownName if any name was not found.
  virtual std::int32_t GetIDsOfNames(const QStringList& names, QVector<DispId>& ids) const = 0;
  // The same for an event of the event source.
  virtual std::int32_t GetEventIDsOfNames(const QStringList& names, QVector<DispId>& ids) const = 0;

  // Invokes the member `id` with one of `flags` (Method is preferred over PropertyGet when both
  // are given). A property put takes the new value as its only argument.
  virtual InvokeResult Invoke(DispId id, std::uint16_t flags, QVector<Variant>& args) = 0;

  // Calls `handler` each time the control raises event `eventId`; *cookie identifies the
  // connection. The handler runs synchronously inside the control; a failure thrown by the
  // handler is caught and reported as a warning, never passed into the control.
  virtual std::int32_t ConnectEvent(DispId eventId, EventHandler handler,
                                    std::uint32_t* cookie) = 0;
  virtual std::int32_t DisconnectEvent(std::uint32_t cookie) = 0;

 protected:
  ~Dispatch() = default;  // owned by the control; never deleted through this interface
};

}  // namespace zan::automation
