#pragma once
// Conversion of a variant to the type a parameter or result needs, as automation converts:
// numbers and Booleans into each other (a non-zero number is True, True is -1), numeric text
// into numbers (rounded halves to even), anything simple into text, Empty into the zero value.

#include <ZANPdfCtl4/late_binding.h>

#include <cstdint>

namespace zan::automation {

// Converts `value` to `target` into `out`. Returns status::kOk, status::kTypeMismatch (no
// conversion exists, e.g. text that is no number, an object into a number) or
// status::kOverflow (the number does not fit). Target VarType::Variant takes any value as is.
std::int32_t coerce(const Variant& value, VarType target, Variant& out);

}  // namespace zan::automation
