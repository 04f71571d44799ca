// The C entry points that drive a panel without C++: setup data, members called by name with
// C variants, and events delivered to a C callback. Each one converts between the C values and
// the late-bound surface (zan::automation::Dispatch) and never lets a failure cross into C.

#include <ZANPdfCtl4/late_binding.h>
#include <ZANPdfCtl4/setup_data.h>
#include <ZANPdfCtl4/zanpdfctl4.h>
#include "component/panel_factory.h"
#include "component/server_state.h"
#include "settings/automation_error.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using zan::automation::Dispatch;
using zan::automation::DispId;
using zan::automation::InvokeResult;
using zan::automation::Variant;
using zan::automation::VarType;
using namespace zan::component;

constexpr int32_t kInvalidArg = zan::automation::status::kInvalidArg;

int32_t fail(int32_t status, const QString& description) {
  setLastError(description);
  return status;
}

template <typename Body>
int32_t guarded(Body body) {
  try {
    const int32_t status = body();
    if (status == 0) setLastError({});
    return status;
  } catch (...) {
    const zan::AutomationError e = zan::currentError();
    return fail(status::kFail, e.description);
  }
}

char* copyText(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  char* copy = static_cast<char*>(std::malloc(static_cast<std::size_t>(utf8.size()) + 1));
  if (!copy) throw std::bad_alloc();
  std::memcpy(copy, utf8.constData(), static_cast<std::size_t>(utf8.size()) + 1);
  return copy;
}

// A C value as a late-bound one; false for a type no member takes.
bool toVariant(const ZANVariant& in, Variant& out) {
  switch (in.type) {
    case ZAN_VT_EMPTY:
      out = Variant();
      return true;
    case ZAN_VT_NULL:
      out = Variant::null();
      return true;
    case ZAN_VT_INTEGER:
      out = Variant(static_cast<std::int16_t>(in.number));
      return true;
    case ZAN_VT_LONG:
      out = Variant(static_cast<std::int32_t>(in.number));
      return true;
    case ZAN_VT_STRING:
      out = Variant(QString::fromUtf8(in.text ? in.text : ""));
      return true;
    case ZAN_VT_OBJECT:
      out = Variant(static_cast<QObject*>(in.object));
      return true;
    case ZAN_VT_BOOLEAN:
      out = Variant(in.number != 0);
      return true;
    default:
      return false;
  }
}

// A late-bound value as a C one. A string points into `text` when given (an event's argument,
// valid while the callback runs), otherwise it is a copy the host releases.
ZANVariant toC(const Variant& in, QByteArray* text) {
  ZANVariant out{static_cast<uint16_t>(in.type()), in.number(), nullptr, nullptr};
  if (in.type() == VarType::String) {
    if (text) {
      *text = in.text().toUtf8();
      out.text = text->constData();
    } else {
      out.text = copyText(in.text());
    }
  } else if (in.type() == VarType::Object) {
    out.object = in.object();
  }
  return out;
}

// The panel behind a handle, or null (with the last error set) for anything that is not a
// living panel of this library.
Dispatch* dispatchOfHandle(ZANPanel* handle) {
  auto* widget = reinterpret_cast<QWidget*>(handle);
  if (!widget || !QApplication::allWidgets().contains(widget)) {
    setLastError(QStringLiteral("Not a living panel"));
    return nullptr;
  }
  Dispatch* d = dispatchOf(widget);
  if (!d) setLastError(QStringLiteral("Not a panel of this library"));
  return d;
}

zan::SetupPart* partOf(ZANSetupData* data, int32_t part) {
  auto* setup = reinterpret_cast<zan::SetupData*>(data);
  if (!setup || (part != 1 && part != 2)) return nullptr;
  return part == 1 ? &setup->SetupPartOne() : &setup->SetupPartTwo();
}

}  // namespace

extern "C" {

void ZANVariantClear(ZANVariant* value) {
  if (!value) return;
  if (value->type == ZAN_VT_STRING) std::free(const_cast<char*>(value->text));
  *value = ZANVariant{ZAN_VT_EMPTY, 0, nullptr, nullptr};
}

ZANSetupData* ZANSetupDataCreate(void) {
  setLastError({});
  return reinterpret_cast<ZANSetupData*>(static_cast<zan::SetupData*>(new zan::MemorySetupData));
}

ZANSetupData* ZANSetupDataLoad(const char* path) {
  zan::SetupData* loaded = nullptr;
  guarded([&] {
    loaded = zan::SetupFile::load(QString::fromUtf8(path ? path : "")).release();
    return 0;
  });
  return reinterpret_cast<ZANSetupData*>(loaded);
}

int32_t ZANSetupDataSave(ZANSetupData* data, const char* path) {
  auto* setup = reinterpret_cast<zan::SetupData*>(data);
  if (!setup || !path) return fail(kInvalidArg, QStringLiteral("No setup data or no path"));
  return guarded([&] {
    const QString target = QString::fromUtf8(path);
    auto* file = qobject_cast<zan::SetupFile*>(setup);
    if (file && file->path() == target) {
      file->save();
      return 0;
    }
    // Any other setup data is copied into a setup file of that name, whole.
    zan::SetupFile copy(target);
    for (const auto& [from, to] : {std::pair{&setup->SetupPartOne(), &copy.partOne()},
                                   std::pair{&setup->SetupPartTwo(), &copy.partTwo()}})
      for (const QString& key : from->keys()) to->setValue(key, from->value(key));
    copy.setIndexFields(setup->indexFields());
    copy.setBatchFields(setup->batchFields());
    copy.save();
    return 0;
  });
}

void ZANSetupDataFree(ZANSetupData* data) {
  delete reinterpret_cast<zan::SetupData*>(data);
}

int32_t ZANSetupDataSetValue(ZANSetupData* data, int32_t part, const char* key,
                             const ZANVariant* value) {
  zan::SetupPart* bag = partOf(data, part);
  if (!bag || !key || !value) return fail(kInvalidArg, QStringLiteral("No such setup part"));
  QVariant stored;
  switch (value->type) {
    case ZAN_VT_STRING:
      stored = QString::fromUtf8(value->text ? value->text : "");
      break;
    case ZAN_VT_INTEGER:
    case ZAN_VT_LONG:
      stored = value->number;
      break;
    case ZAN_VT_BOOLEAN:
      stored = value->number != 0;
      break;
    default:
      return fail(kInvalidArg, QStringLiteral("A setup value is a string, number or Boolean"));
  }
  return guarded([&] {
    bag->setValue(QString::fromUtf8(key), stored);
    return 0;
  });
}

int32_t ZANSetupDataGetValue(ZANSetupData* data, int32_t part, const char* key, ZANVariant* value) {
  zan::SetupPart* bag = partOf(data, part);
  if (!bag || !key || !value) return fail(kInvalidArg, QStringLiteral("No such setup part"));
  return guarded([&] {
    const QVariant stored = bag->value(QString::fromUtf8(key));
    Variant v;
    if (stored.typeId() == QMetaType::Bool)
      v = Variant(stored.toBool());
    else if (stored.typeId() == QMetaType::Int || stored.typeId() == QMetaType::LongLong)
      v = Variant(static_cast<std::int32_t>(stored.toInt()));
    else if (stored.isValid())
      v = Variant(stored.toString());
    *value = toC(v, nullptr);
    return 0;
  });
}

ZANPanel* ZANPanelCreate(const char* className, void* parent) {
  ClassFactory* factory = newClassFactory(className);
  if (!factory) {
    setLastError(QStringLiteral("Class not available: %1")
                     .arg(QString::fromUtf8(className ? className : "")));
    return nullptr;
  }
  Dispatch* control = nullptr;
  factory->CreateInstance(static_cast<QWidget*>(parent), nullptr, &control);
  factory->Release();
  return control ? reinterpret_cast<ZANPanel*>(qobject_cast<QWidget*>(control->object())) : nullptr;
}

void ZANPanelDestroy(ZANPanel* panel) {
  if (Dispatch* d = dispatchOfHandle(panel)) delete d->object();
}

int32_t ZANPanelInvoke(ZANPanel* panel, const char* name, uint16_t flags, ZANVariant* args,
                       int32_t count, ZANVariant* result) {
  Dispatch* d = dispatchOfHandle(panel);
  if (!d) return kInvalidArg;
  if (!name || count < 0 || (count > 0 && !args))
    return fail(kInvalidArg, QStringLiteral("No member name or no arguments"));
  QVector<DispId> ids;
  if (d->GetIDsOfNames({QString::fromUtf8(name)}, ids) != 0)
    return fail(zan::automation::status::kUnknownName,
                QStringLiteral("Unknown name: %1").arg(QString::fromUtf8(name)));
  QVector<Variant> in(count);
  for (int32_t i = 0; i < count; ++i)
    if (!toVariant(args[i], in[i]))
      return fail(zan::automation::status::kTypeMismatch,
                  QStringLiteral("Argument %1 has an unknown type").arg(i + 1));
  return guarded([&] {
    QVector<Variant> passed = in;
    const InvokeResult r = d->Invoke(ids[0], flags, passed);
    if (!r.ok())
      return fail(r.status, QStringLiteral("%1 (#%2, %3)")
                                .arg(r.error.description)
                                .arg(r.error.number)
                                .arg(r.error.source));
    for (int32_t i = 0; i < count; ++i)
      if (passed[i] != in[i]) args[i] = toC(passed[i], nullptr);
    if (result) *result = toC(r.value, nullptr);
    return 0;
  });
}

int32_t ZANPanelConnect(ZANPanel* panel, const char* event, ZANEventCallback callback,
                        void* context, uint32_t* cookie) {
  Dispatch* d = dispatchOfHandle(panel);
  if (!d) return kInvalidArg;
  if (!event || !callback || !cookie)
    return fail(kInvalidArg, QStringLiteral("No event, callback or cookie"));
  QVector<DispId> ids;
  if (d->GetEventIDsOfNames({QString::fromUtf8(event)}, ids) != 0)
    return fail(zan::automation::status::kUnknownName,
                QStringLiteral("Unknown event: %1").arg(QString::fromUtf8(event)));
  const QByteArray name(event);
  auto handler = [callback, context, name](DispId, QVector<Variant>& args) {
    std::vector<QByteArray> texts(static_cast<std::size_t>(args.size()));
    std::vector<ZANVariant> c(static_cast<std::size_t>(args.size()));
    for (qsizetype i = 0; i < args.size(); ++i) c[i] = toC(args[i], &texts[i]);
    callback(context, name.constData(), c.data(), static_cast<int32_t>(c.size()));
    // The handler may have changed any argument: the panel sees what it left.
    for (qsizetype i = 0; i < args.size(); ++i) toVariant(c[i], args[i]);
  };
  return guarded([&] { return d->ConnectEvent(ids[0], handler, cookie); });
}

int32_t ZANPanelDisconnect(ZANPanel* panel, uint32_t cookie) {
  Dispatch* d = dispatchOfHandle(panel);
  if (!d) return kInvalidArg;
  return guarded([&] { return d->DisconnectEvent(cookie); });
}

}  // extern "C"
