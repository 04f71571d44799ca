#include "automation/object_dispatch.h"

#include "automation/meta_call.h"
#include "automation/qt_value.h"
#include "automation/variant_coercion.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <QtGlobal>

#include <deque>

namespace zan::automation {
namespace {

const QString kSource = QStringLiteral("ZANPdfCtl4");

const TypeDesc& emptyType() {
  static const TypeDesc none;
  return none;
}

const TypeDesc& typeOrEmpty(const TypeLibraryDesc& library, const QString& name) {
  const TypeDesc* t = library.find(name);
  return t ? *t : emptyType();
}

QString statusText(std::int32_t s) {
  switch (s) {
    case status::kMemberNotFound:
      return QStringLiteral("Member not found.");
    case status::kTypeMismatch:
      return QStringLiteral("Type mismatch.");
    case status::kUnknownName:
      return QStringLiteral("Unknown name.");
    case status::kOverflow:
      return QStringLiteral("Out of present range.");
    case status::kBadParamCount:
      return QStringLiteral("Invalid number of parameters.");
    case status::kNoConnection:
      return QStringLiteral("Connection not found.");
    default:
      return QStringLiteral("The parameter is incorrect.");
  }
}

// Index of the member of `members` named `name`: an exact-case match wins over a
// case-insensitive one, as a host written with the declared spelling expects.
const MemberDesc* findByName(const QVector<MemberDesc>& members, const QString& name) {
  const MemberDesc* folded = nullptr;
  for (const MemberDesc& m : members) {
    if (m.name == name) return &m;
    if (!folded && m.name.compare(name, Qt::CaseInsensitive) == 0) folded = &m;
  }
  return folded;
}

std::int32_t idsOfNames(const QVector<MemberDesc>& members, const QStringList& names,
                        QVector<DispId>& ids) {
  ids.clear();
  if (names.isEmpty()) return status::kInvalidArg;
  std::int32_t result = status::kOk;
  const MemberDesc* member = findByName(members, names.first());
  ids.append(member ? member->id : kDispIdUnknown);
  if (!member) result = status::kUnknownName;
  for (int i = 1; i < names.size(); ++i) {
    DispId position = kDispIdUnknown;
    // The parameter names of every member of that id (a property's put carries the names).
    for (const MemberDesc& m : members) {
      if (!member || m.id != member->id) continue;
      for (int p = 0; p < m.params.size() && position == kDispIdUnknown; ++p)
        if (m.params[p].name.compare(names[i], Qt::CaseInsensitive) == 0) position = p;
    }
    ids.append(position);
    if (position == kDispIdUnknown) result = status::kUnknownName;
  }
  return result;
}

// The most derived Qt method of `type` named `name` with the parameters of `params`: one whose
// parameter types carry the described ones, else any with as many parameters; -1 for none.
int findMethod(const QMetaObject* meta, const QString& name, const QVector<ParamDesc>& params,
               QMetaMethod::MethodType type) {
  const QByteArray wanted = name.toUtf8();
  int anyFound = -1;
  for (int i = meta->methodCount() - 1; i >= 0; --i) {
    const QMetaMethod m = meta->method(i);
    if (m.name() != wanted || m.parameterCount() != params.size() || m.methodType() != type)
      continue;
    if (anyFound < 0) anyFound = i;
    bool fits = true;
    for (int p = 0; p < params.size() && fits; ++p) {
      const QtType t = QtType::fromName(m.parameterTypes()[p]);
      fits = t.carries(params[p].type) &&
             t.byReference == (params[p].direction == ParamDirection::InOut);
    }
    if (fits) return i;
  }
  return anyFound;
}

}  // namespace

// Receives one signal of the control through a slot index it handles itself, converts the
// signal's arguments into variants for the host's handler and writes the handler's changes
// back through the signal's argument pointers, where the control reads them.
class EventSink final : public QObject {
 public:
  EventSink(const MemberDesc& event, std::vector<QtType> params, EventHandler handler,
            QObject* parent)
      : QObject(parent), event_(event), params_(std::move(params)), handler_(std::move(handler)) {}

  // The slot index this sink answers to.
  static int slotIndex() { return QObject::staticMetaObject.methodCount(); }

  int qt_metacall(QMetaObject::Call call, int id, void** argv) override {
    id = QObject::qt_metacall(call, id, argv);
    if (id < 0 || call != QMetaObject::InvokeMetaMethod) return id;
    if (id == 0) {
      ++busy_;
      deliver(argv);
      if (--busy_ == 0 && released_) delete this;
    }
    return id - 1;
  }

  void setConnection(QMetaObject::Connection c) { connection_ = c; }

  // Ends the connection at once. A handler may disconnect itself: the sink (and the handler
  // running in it) then goes when its delivery returns.
  void release() {
    QObject::disconnect(connection_);
    if (busy_ > 0) {
      released_ = true;
    } else {
      delete this;
    }
  }

 private:
  // Runs inside the control's signal emission: nothing may be thrown from here.
  void deliver(void** argv) {
    try {
      QVector<Variant> args;
      args.reserve(static_cast<int>(params_.size()));
      for (std::size_t i = 0; i < params_.size(); ++i)
        args.append(readQtValue(params_[i], argv[i + 1]));
      handler_(event_.id, args);
      for (std::size_t i = 0; i < params_.size(); ++i) {
        const ParamDesc& p = event_.params[static_cast<int>(i)];
        if (p.direction != ParamDirection::InOut || static_cast<int>(i) >= args.size()) continue;
        Variant converted;
        if (coerce(args[static_cast<int>(i)], p.type, converted) != status::kOk ||
            writeQtValue(params_[i], argv[i + 1], converted) != status::kOk)
          qWarning(
              "%s: the handler of event %s left argument %s with a value of the wrong type; "
              "the control keeps its own value",
              qPrintable(kSource), qPrintable(event_.name), qPrintable(p.name));
      }
    } catch (...) {
      const AutomationError e = currentError();
      qWarning("%s: the handler of event %s failed: %s (#%d, %s)", qPrintable(kSource),
               qPrintable(event_.name), qPrintable(e.description), e.number, qPrintable(e.source));
    }
  }

  const MemberDesc& event_;
  std::vector<QtType> params_;
  EventHandler handler_;
  QMetaObject::Connection connection_;
  int busy_ = 0;
  bool released_ = false;
};

ObjectDispatch::ObjectDispatch(QObject* control, const TypeLibraryDesc& library,
                               const TypeDesc& coClass)
    : QObject(control),
      control_(control),
      coClass_(coClass),
      interface_(&typeOrEmpty(library, coClass.defaultInterface)),
      events_(&typeOrEmpty(library, coClass.eventSource)) {
  setObjectName(QStringLiteral("zan.automation.Dispatch"));
  if (!control) {
    problems_ << QStringLiteral("no control");
    return;
  }
  if (interface_ == &emptyType())
    problems_ << QStringLiteral("default interface %1 not described").arg(coClass.defaultInterface);
  if (events_ == &emptyType())
    problems_ << QStringLiteral("event source %1 not described").arg(coClass.eventSource);
  bindMembers();
  bindEvents();
}

ObjectDispatch::~ObjectDispatch() = default;

ObjectDispatch* ObjectDispatch::of(const QObject* control) {
  return control ? control->findChild<ObjectDispatch*>(QString(), Qt::FindDirectChildrenOnly)
                 : nullptr;
}

void ObjectDispatch::bindMembers() {
  const QMetaObject* meta = control_->metaObject();
  for (const MemberDesc& m : interface_->members) {
    Binding b;
    b.member = &m;
    QString problem;
    if (m.kind == Method) {
      b.qtIndex = findMethod(meta, m.name, m.params, QMetaMethod::Method);
      if (b.qtIndex < 0) b.qtIndex = findMethod(meta, m.name, m.params, QMetaMethod::Slot);
      if (b.qtIndex < 0) {
        problem =
            QStringLiteral("method %1 with %2 parameters missing").arg(m.name).arg(m.params.size());
      } else {
        const QMetaMethod qm = meta->method(b.qtIndex);
        const QList<QByteArray> types = qm.parameterTypes();
        for (int i = 0; i < m.params.size(); ++i) {
          const QtType t = QtType::fromName(types[i]);
          const bool byRef = m.params[i].direction == ParamDirection::InOut;
          if (!t.carries(m.params[i].type) || t.byReference != byRef)
            problem = QStringLiteral("method %1: parameter %2 is %3")
                          .arg(m.name, m.params[i].name, QString::fromLatin1(types[i]));
          b.params.push_back(t);
        }
        b.result = QtType::fromName(qm.typeName());
        if (!b.result.carries(m.result) || b.result.byReference)
          problem = QStringLiteral("method %1 returns %2")
                        .arg(m.name, QString::fromLatin1(qm.typeName()));
      }
    } else {
      b.qtIndex = meta->indexOfProperty(m.name.toUtf8().constData());  // exact case
      const QMetaProperty p = meta->property(b.qtIndex);
      const QtType t = QtType::fromName(p.typeName());
      const bool put = m.kind == PropertyPut;
      const VarType valueType =
          put ? (m.params.isEmpty() ? VarType::Empty : m.params[0].type) : m.result;
      if (b.qtIndex < 0) {
        problem = QStringLiteral("property %1 missing").arg(m.name);
      } else if (put ? !p.isWritable() : !p.isReadable()) {
        problem = QStringLiteral("property %1 not %2")
                      .arg(m.name, put ? QStringLiteral("writable") : QStringLiteral("readable"));
      } else if (!t.carries(valueType) || (put && m.params.size() != 1)) {
        problem =
            QStringLiteral("property %1 is %2").arg(m.name, QString::fromLatin1(p.typeName()));
      }
      if (put)
        b.params.push_back(t);
      else
        b.result = t;
    }
    if (!problem.isEmpty()) {
      problems_ << problem;
      b.qtIndex = -1;
    }
    members_.push_back(std::move(b));
  }
}

void ObjectDispatch::bindEvents() {
  const QMetaObject* meta = control_->metaObject();
  for (const MemberDesc& e : events_->members) {
    Binding b;
    b.member = &e;
    b.qtIndex = findMethod(meta, e.name, e.params, QMetaMethod::Signal);
    if (b.qtIndex < 0) {
      problems_ << QStringLiteral("signal %1 with %2 parameters missing")
                       .arg(e.name)
                       .arg(e.params.size());
    } else {
      const QList<QByteArray> types = meta->method(b.qtIndex).parameterTypes();
      for (int i = 0; i < e.params.size(); ++i) {
        const QtType t = QtType::fromName(types[i]);
        const bool byRef = e.params[i].direction == ParamDirection::InOut;
        if (!t.carries(e.params[i].type) || t.byReference != byRef) {
          problems_ << QStringLiteral("signal %1: parameter %2 is %3")
                           .arg(e.name, e.params[i].name, QString::fromLatin1(types[i]));
          b.qtIndex = -1;
        }
        b.params.push_back(t);
      }
    }
    eventBindings_.push_back(std::move(b));
  }
}

std::int32_t ObjectDispatch::GetIDsOfNames(const QStringList& names, QVector<DispId>& ids) const {
  return idsOfNames(interface_->members, names, ids);
}

std::int32_t ObjectDispatch::GetEventIDsOfNames(const QStringList& names,
                                                QVector<DispId>& ids) const {
  return idsOfNames(events_->members, names, ids);
}

const ObjectDispatch::Binding* ObjectDispatch::findBinding(DispId id, std::uint16_t flags) const {
  for (const std::uint16_t kind :
       {std::uint16_t(Method), std::uint16_t(PropertyGet), std::uint16_t(PropertyPut)}) {
    if (!(flags & kind)) continue;
    for (const Binding& b : members_)
      if (b.member->id == id && b.member->kind == kind) return &b;
  }
  return nullptr;
}

InvokeResult ObjectDispatch::failure(std::int32_t s, int argument) const {
  InvokeResult r;
  r.status = s;
  r.argumentError = argument;
  r.error.number = s;
  r.error.source = coClass_.name.isEmpty() ? kSource : coClass_.name;
  r.error.description = statusText(s);
  return r;
}

InvokeResult ObjectDispatch::Invoke(DispId id, std::uint16_t flags, QVector<Variant>& args) {
  const Binding* b = findBinding(id, flags);
  if (!b || b->qtIndex < 0 || !control_) return failure(status::kMemberNotFound);
  const MemberDesc& m = *b->member;
  if (args.size() != m.params.size()) return failure(status::kBadParamCount);

  std::deque<QtArgument> values;  // stable addresses for the argument pointers
  std::vector<void*> argv(1 + b->params.size(), nullptr);
  for (int i = 0; i < m.params.size(); ++i) {
    Variant converted;
    std::int32_t s = coerce(args[i], m.params[i].type, converted);
    QtArgument& slot = values.emplace_back(b->params[static_cast<std::size_t>(i)]);
    if (s == status::kOk) s = writeQtValue(slot.type(), slot.data(), converted);
    if (s != status::kOk) return failure(s, i);
    argv[static_cast<std::size_t>(i) + 1] = slot.data();
  }
  QtArgument& result = values.emplace_back(b->result);
  int propertyStatus = -1;
  int propertyFlags = 0;
  QMetaObject::Call call = QMetaObject::InvokeMetaMethod;
  if (m.kind == Method) {
    argv[0] = result.data();
  } else if (m.kind == PropertyGet) {
    call = QMetaObject::ReadProperty;
    argv = {result.data(), nullptr, &propertyStatus, &propertyFlags};
  } else {
    call = QMetaObject::WriteProperty;
    argv = {argv[1], nullptr, &propertyStatus, &propertyFlags};
  }

  // The control's own qt_metacall: only moc-generated frames lie between here and the member,
  // which passes its failure on to this frame.
  try {
    const MetaCall::PassFailureOn passOn(control_);
    control_->qt_metacall(call, b->qtIndex, argv.data());
  } catch (...) {
    InvokeResult r;
    r.status = status::kException;
    r.error = currentError();
    return r;
  }

  for (int i = 0; i < m.params.size(); ++i) {
    if (m.params[i].direction != ParamDirection::InOut) continue;
    const QtArgument& slot = values[static_cast<std::size_t>(i)];
    args[i] = readQtValue(slot.type(), const_cast<QtArgument&>(slot).data());
  }
  InvokeResult r;
  if (m.result != VarType::Empty) r.value = readQtValue(result.type(), result.data());
  return r;
}

std::int32_t ObjectDispatch::ConnectEvent(DispId eventId, EventHandler handler,
                                          std::uint32_t* cookie) {
  if (!handler || !control_) return status::kInvalidArg;
  for (const Binding& b : eventBindings_) {
    if (b.member->id != eventId) continue;
    if (b.qtIndex < 0) return status::kMemberNotFound;
    auto* sink = new EventSink(*b.member, b.params, std::move(handler), this);
    QMetaObject::Connection connection =
        QMetaObject::connect(control_, b.qtIndex, sink, EventSink::slotIndex());
    if (!connection) {
      delete sink;
      return status::kMemberNotFound;
    }
    sink->setConnection(connection);
    const std::uint32_t id = nextCookie_++;
    sinks_[id] = sink;
    if (cookie) *cookie = id;
    return status::kOk;
  }
  return status::kMemberNotFound;
}

std::int32_t ObjectDispatch::DisconnectEvent(std::uint32_t cookie) {
  const auto it = sinks_.find(cookie);
  if (it == sinks_.end()) return status::kNoConnection;
  EventSink* sink = it->second;
  sinks_.erase(it);
  sink->release();
  return status::kOk;
}

}  // namespace zan::automation
