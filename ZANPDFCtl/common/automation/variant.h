#pragma once
// Variant: the value a late-bound host passes to and receives from a control member, modelled
// on the automation variant. Header-only, so that a host that loads the library at run time
// can build and read variants without linking against it.

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>

namespace zan::automation {

// The variant types that cross the controls' interfaces, numbered as in automation.
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

// The automation truth values.
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

  // The raw values; each is meaningful only for the matching type.
  // Boolean: kTrue or kFalse; Integer and Long: the number.
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

}  // namespace zan::automation
