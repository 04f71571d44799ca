#pragma once
// A widget made elsewhere (the links control comes from the panel environment) taking its place
// in the panel's control order, so that enabling, captions and focus treat it like any control.

#include "common/controls/control.h"

namespace zan::ocr {

class HostedControl final : public controls::Control {
 public:
  // `name` and `parent` are those of `widget`, which already exists.
  HostedControl(controls::Form& form, const QString& /*name*/, QWidget* /*parent*/, QWidget* widget)
      : Control(form, widget) {}
};

}  // namespace zan::ocr
