#include "automation/qt_value.h"

#include <ZANPdfCtl4/late_binding.h>

#include <QMetaObject>

namespace zan::automation {
namespace {

bool inheritsNamed(const QObject* object, const QByteArray& className) {
  const QByteArray tail = QByteArrayLiteral("::") + className;
  for (const QMetaObject* m = object->metaObject(); m; m = m->superClass()) {
    const QByteArray name(m->className());
    if (name == className || name.endsWith(tail)) return true;
  }
  return false;
}

}  // namespace

QtType QtType::fromName(const QByteArray& typeName) {
  QtType t;
  QByteArray name = typeName.trimmed();
  if (name.endsWith('&')) {
    t.byReference = true;
    name.chop(1);
  }
  if (name == "bool") {
    t.kind = QtKind::Bool;
  } else if (name == "short" || name == "qint16") {
    t.kind = QtKind::Int16;
  } else if (name == "int" || name == "qint32") {
    t.kind = QtKind::Int32;
  } else if (name == "QString") {
    t.kind = QtKind::String;
  } else if (name == "QVariant") {
    t.kind = QtKind::Any;
  } else if (name.endsWith('*') && !name.startsWith("const ")) {
    name.chop(1);
    t.kind = QtKind::Object;
    t.className = name.trimmed();
  }
  return t;
}

bool QtType::carries(VarType type) const {
  switch (kind) {
    case QtKind::None:
      return type == VarType::Empty;
    case QtKind::Bool:
      return type == VarType::Boolean;
    case QtKind::Int16:
      return type == VarType::Integer;
    case QtKind::Int32:
      return type == VarType::Long;
    case QtKind::String:
      return type == VarType::String;
    case QtKind::Any:
      return type == VarType::Variant;
    case QtKind::Object:
      return type == VarType::Object;
  }
  return false;
}

Variant readQtValue(const QtType& t, const void* data) {
  if (!data) return Variant();
  switch (t.kind) {
    case QtKind::None:
      return Variant();
    case QtKind::Bool:
      return Variant(*static_cast<const bool*>(data));
    case QtKind::Int16:
      return Variant(*static_cast<const std::int16_t*>(data));
    case QtKind::Int32:
      return Variant(*static_cast<const std::int32_t*>(data));
    case QtKind::String:
      return Variant(*static_cast<const QString*>(data));
    case QtKind::Any:
      return fromQVariant(*static_cast<const QVariant*>(data));
    case QtKind::Object:
      return Variant(*static_cast<QObject* const*>(data));
  }
  return Variant();
}

std::int32_t writeQtValue(const QtType& t, void* data, const Variant& value) {
  if (!data) return status::kOk;
  switch (t.kind) {
    case QtKind::None:
      break;
    case QtKind::Bool:
      *static_cast<bool*>(data) = value.number() != 0;
      break;
    case QtKind::Int16:
      *static_cast<std::int16_t*>(data) = static_cast<std::int16_t>(value.number());
      break;
    case QtKind::Int32:
      *static_cast<std::int32_t*>(data) = value.number();
      break;
    case QtKind::String:
      *static_cast<QString*>(data) = value.text();
      break;
    case QtKind::Any:
      *static_cast<QVariant*>(data) = toQVariant(value);
      break;
    case QtKind::Object: {
      QObject* object = value.object();
      if (object && !inheritsNamed(object, t.className)) return status::kTypeMismatch;
      // The meta call reads this slot as a pointer to the named class, which is a QObject
      // subclass with QObject as its first base: the addresses agree, as in Qt's own
      // QObject pointer conversions.
      *static_cast<QObject**>(data) = object;
      break;
    }
  }
  return status::kOk;
}

Variant fromQVariant(const QVariant& value) {
  if (!value.isValid()) return Variant();
  const QMetaType type = value.metaType();
  if (type.flags().testFlag(QMetaType::PointerToQObject)) return Variant(value.value<QObject*>());
  switch (type.id()) {
    case QMetaType::Bool:
      return Variant(value.toBool());
    case QMetaType::Short:
      return Variant(static_cast<std::int16_t>(value.value<short>()));
    case QMetaType::Int:
      return Variant(static_cast<std::int32_t>(value.toInt()));
    case QMetaType::QString:
      return Variant(value.toString());
    case QMetaType::Nullptr:
      return Variant::null();
    default:
      break;
  }
  bool ok = false;
  const qlonglong n = value.toLongLong(&ok);
  if (ok && n >= INT32_MIN && n <= INT32_MAX && type.id() != QMetaType::Double &&
      type.id() != QMetaType::Float)
    return Variant(static_cast<std::int32_t>(n));
  return Variant(value.toString());
}

QVariant toQVariant(const Variant& value) {
  switch (value.type()) {
    case VarType::Boolean:
      return QVariant(value.isTrue());
    case VarType::Integer:
      return QVariant::fromValue<short>(static_cast<short>(value.number()));
    case VarType::Long:
      return QVariant(static_cast<int>(value.number()));
    case VarType::String:
      return QVariant(value.text());
    case VarType::Object:
      return QVariant::fromValue<QObject*>(value.object());
    case VarType::Null:
      return QVariant::fromValue(nullptr);
    default:
      return QVariant();
  }
}

void* QtArgument::data() {
  switch (type_.kind) {
    case QtKind::None:
      return nullptr;
    case QtKind::Bool:
      return &b_;
    case QtKind::Int16:
      return &i16_;
    case QtKind::Int32:
      return &i32_;
    case QtKind::String:
      return &s_;
    case QtKind::Any:
      return &v_;
    case QtKind::Object:
      return &o_;
  }
  return nullptr;
}

}  // namespace zan::automation
