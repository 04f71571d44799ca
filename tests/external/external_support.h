#pragma once
// Small helpers shared by the outside components' tests.

#include "failure_of.h"
#include "settings/automation_error.h"
#include "settings/doc_info_field.h"

namespace zan::testing {

inline DocInfoField field(const QString& text, std::int32_t type, const QString& name) {
  DocInfoField f;
  f.setFieldText(text);
  f.setFieldType(type);
  f.setFieldName(name);
  return f;
}

}  // namespace zan::testing
