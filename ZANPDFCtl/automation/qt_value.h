#pragma once
// The bridge between variants and the values of Qt meta calls: which Qt parameter, property
// and result types stand for which automation type, storage for one argument of a meta call,
// and reading and writing a variant through the argument pointer a meta call (or a signal)
// hands over. Internal to the late-binding engine.

#include <ZANPdfCtl4/late_binding.h>

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>

namespace zan::automation {

// How a Qt value is held.
enum class QtKind { None, Bool, Int16, Int32, String, Any, Object };

struct QtType {
  QtKind kind = QtKind::None;
  bool byReference = false;  // a non-const reference parameter ("bool&")
  QByteArray className;      // Object: the class the pointer points to ("zan::SetupData")

  // The Qt type named `typeName` as moc and QMetaProperty spell it ("bool", "qint32&",
  // "QString", "QVariant&", "zan::SetupData*&", "void"). kind None: not supported.
  static QtType fromName(const QByteArray& typeName);
  // Whether a value of this Qt type carries automation type `type`.
  bool carries(VarType type) const;
};

// Reads the value `data` points to (of Qt type `t`) as a variant.
Variant readQtValue(const QtType& t, const void* data);
// Stores `value` (already converted to the automation type the Qt type carries) where `data`
// points. Returns status::kOk, or status::kTypeMismatch when an object is not of the class
// the Qt type names.
std::int32_t writeQtValue(const QtType& t, void* data, const Variant& value);

// Variant and QVariant (parameters declared as QVariant).
Variant fromQVariant(const QVariant& value);
QVariant toQVariant(const Variant& value);

// Storage for one argument or result of a meta call.
class QtArgument {
 public:
  explicit QtArgument(const QtType& type = {}) : type_(type) {}
  QtArgument(const QtArgument&) = delete;
  QtArgument& operator=(const QtArgument&) = delete;

  const QtType& type() const { return type_; }
  void* data();

 private:
  QtType type_;
  bool b_ = false;
  std::int16_t i16_ = 0;
  std::int32_t i32_ = 0;
  QString s_;
  QVariant v_;
  QObject* o_ = nullptr;
};

}  // namespace zan::automation
