#pragma once
// Small helpers shared by the outside components' tests.

#include "common/automation_error.h"
#include "external/doc_info_field.h"

#include <functional>

namespace zan::testing {

inline DocInfoField field(const QString& text, std::int32_t type, const QString& name) {
  DocInfoField f;
  f.setFieldText(text);
  f.setFieldType(type);
  f.setFieldName(name);
  return f;
}

// The failure `body` raises; number 0 when it raised none.
inline AutomationError failureOf(const std::function<void()>& body) {
  try {
    body();
  } catch (...) {
    return currentError();
  }
  return {};
}

}  // namespace zan::testing
