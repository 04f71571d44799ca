#pragma once
// The automation error a call raises, for tests that compare its number, source or text.

#include "settings/automation_error.h"

#include <functional>

namespace zan::testing {

// Runs `body` and returns the failure it raised (a foreign exception as currentError() gives
// it); a default error, number 0, when it raised none.
inline AutomationError failureOf(const std::function<void()>& body) {
  try {
    body();
  } catch (...) {
    return currentError();
  }
  return {};
}

}  // namespace zan::testing
