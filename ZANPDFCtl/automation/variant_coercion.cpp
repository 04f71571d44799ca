#include "automation/variant_coercion.h"

#include <ZANPdfCtl4/late_binding.h>

#include <cmath>
#include <limits>

namespace zan::automation {
namespace {

// The number a variant stands for; false when it stands for none.
bool toNumber(const Variant& v, double& number, std::int32_t& failure) {
  failure = status::kTypeMismatch;
  switch (v.type()) {
    case VarType::Empty:
      number = 0;
      return true;
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
      number = v.number();
      return true;
    case VarType::String: {
      const QString t = v.text().trimmed();
      if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        number = kTrue;
        return true;
      }
      if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        number = kFalse;
        return true;
      }
      bool ok = false;
      number = t.toDouble(&ok);
      return ok && std::isfinite(number);
    }
    default:
      return false;
  }
}

std::int32_t toWhole(const Variant& v, double low, double high, double& whole) {
  double n = 0;
  std::int32_t failure = status::kOk;
  if (!toNumber(v, n, failure)) return failure;
  whole = std::nearbyint(n);  // default rounding: halves to even
  if (whole < low || whole > high) return status::kOverflow;
  return status::kOk;
}

}  // namespace

std::int32_t coerce(const Variant& value, VarType target, Variant& out) {
  switch (target) {
    case VarType::Variant:
      out = value;
      return status::kOk;
    case VarType::Empty:
      out = Variant();
      return status::kOk;
    case VarType::Null:
      return value.type() == VarType::Null ? (out = value, status::kOk) : status::kTypeMismatch;
    case VarType::Boolean: {
      if (value.type() == VarType::Boolean) {
        out = value;
        return status::kOk;
      }
      double n = 0;
      std::int32_t failure = status::kOk;
      if (!toNumber(value, n, failure)) return failure;
      out = Variant(n != 0);
      return status::kOk;
    }
    case VarType::Integer: {
      double w = 0;
      const std::int32_t s = toWhole(value, std::numeric_limits<std::int16_t>::min(),
                                     std::numeric_limits<std::int16_t>::max(), w);
      if (s == status::kOk) out = Variant(static_cast<std::int16_t>(w));
      return s;
    }
    case VarType::Long: {
      double w = 0;
      const std::int32_t s = toWhole(value, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max(), w);
      if (s == status::kOk) out = Variant(static_cast<std::int32_t>(w));
      return s;
    }
    case VarType::String:
      switch (value.type()) {
        case VarType::Empty:
          out = Variant(QString());
          return status::kOk;
        case VarType::String:
          out = value;
          return status::kOk;
        case VarType::Boolean:
          out = Variant(QString::fromLatin1(value.isTrue() ? "True" : "False"));
          return status::kOk;
        case VarType::Integer:
        case VarType::Long:
          out = Variant(QString::number(value.number()));
          return status::kOk;
        default:
          return status::kTypeMismatch;
      }
    case VarType::Object:
      if (value.type() == VarType::Object) {
        out = value;
        return status::kOk;
      }
      if (value.type() == VarType::Empty || value.type() == VarType::Null) {
        out = Variant(static_cast<QObject*>(nullptr));  // Nothing
        return status::kOk;
      }
      return status::kTypeMismatch;
  }
  return status::kTypeMismatch;
}

}  // namespace zan::automation
