// Typed threshold texts: reading must never crash, and the 16-bit conversion either fails with
// the overflow error or returns the rounded leading number.
#include "controls/numeric_text.h"
#include "settings/automation_error.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  const double value = zan::leadingNumber(text);
  try {
    const std::int16_t n = zan::toInteger16(text);
    if (std::fabs(double(n) - value) > 0.5) std::abort();
  } catch (const zan::AutomationException& e) {
    if (e.error().number != 6) std::abort();
    if (std::fabs(value) < 32767.0) std::abort();
  }
  (void)zan::isWholeNumber(text);
  return 0;
}
