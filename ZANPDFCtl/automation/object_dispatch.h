#pragma once
// ObjectDispatch: the late-binding engine. Gives any QObject the late-bound surface that a
// component-class description promises: member names and dispatch ids are taken from the
// description, and each member is bound to the Qt member of the same name (a Q_INVOKABLE
// method, a Q_PROPERTY for property get and put, a signal for an event).
//
// Qt types that carry the automation types: bool (Boolean), short/qint16 (Integer),
// int/qint32 (Long), QString (String), QVariant (Variant), a pointer to a QObject subclass
// (Object); an in/out parameter is a non-const reference ("qint32&", "zan::SetupData*&").
//
// Members are called through the object's own moc-generated qt_metacall, so a member's
// failure (an AutomationException or any other C++ exception) reaches this engine without
// crossing Qt library frames, and the caller receives it as an InvokeResult.

#include <ZANPdfCtl4/late_binding.h>
#include "automation/qt_value.h"
#include "automation/type_library.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <vector>

namespace zan::automation {

class EventSink;

class ObjectDispatch final : public QObject, public Dispatch {
  Q_OBJECT
 public:
  // Attaches the surface described by `coClass` (a component class of `library`, which must
  // outlive the surface) to `control`. The surface is a child of the control and is destroyed
  // with it.
  ObjectDispatch(QObject* control, const TypeLibraryDesc& library, const TypeDesc& coClass);
  ~ObjectDispatch() override;

  // The surface attached to `control`, or nullptr.
  static ObjectDispatch* of(const QObject* control);

  // Members and events of the description that the control lacks, or whose Qt signature does
  // not carry the described types; empty when the control implements its class completely.
  QStringList bindingProblems() const { return problems_; }

  QObject* object() const override { return control_.data(); }
  const TypeDesc& coClass() const override { return coClass_; }
  const TypeDesc& defaultInterface() const override { return *interface_; }
  const TypeDesc& eventInterface() const override { return *events_; }

  std::int32_t GetIDsOfNames(const QStringList& names, QVector<DispId>& ids) const override;
  std::int32_t GetEventIDsOfNames(const QStringList& names, QVector<DispId>& ids) const override;
  InvokeResult Invoke(DispId id, std::uint16_t flags, QVector<Variant>& args) override;
  std::int32_t ConnectEvent(DispId eventId, EventHandler handler, std::uint32_t* cookie) override;
  std::int32_t DisconnectEvent(std::uint32_t cookie) override;

 private:
  struct Binding {
    const MemberDesc* member = nullptr;
    int qtIndex = -1;  // method, property or signal index; -1: not bound
    std::vector<QtType> params;
    QtType result;
  };

  void bindMembers();
  void bindEvents();
  const Binding* findBinding(DispId id, std::uint16_t flags) const;
  InvokeResult failure(std::int32_t status, int argument = -1) const;

  QPointer<QObject> control_;
  const TypeDesc& coClass_;
  const TypeDesc* interface_;
  const TypeDesc* events_;
  std::vector<Binding> members_;
  std::vector<Binding> eventBindings_;
  QStringList problems_;
  std::map<std::uint32_t, EventSink*> sinks_;
  std::uint32_t nextCookie_ = 1;
};

}  // namespace zan::automation
