// The release-setup command line and its --set values come from a user or a script: parsing
// must accept or refuse with an error, and every --set it accepts must reach the panel as a put
// that succeeds, is refused with a message, or fails with an automation error; nothing may
// crash. Input: the arguments, separated by NUL bytes.
#include "command_line.h"
#include "fuzz_support.h"
#include "panel_kind.h"
#include "property_put.h"
#include "test_environment.h"

#include "settings/automation_error.h"
#include "settings/setup_data.h"

#include <ZANPdfCtl4/settings_panel.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zan::fuzzing::ensureApplication();
  QStringList arguments{QStringLiteral("release-setup")};
  for (const QByteArray& part : zan::fuzzing::parts(data, size, '\0'))
    arguments << QString::fromUtf8(part);
  zan::host::Options options;
  QString error;
  if (!zan::host::parseCommandLine(arguments, options, error)) {
    if (error.isEmpty()) std::abort();
    return 0;
  }
  if (options.sets.isEmpty()) return 0;
  zan::testing::TestWorld world;
  const std::unique_ptr<zan::SettingsPanel> panel(
      zan::host::createPanel(options.panel, world.environment(), nullptr));
  zan::MemorySetupData rd;
  zan::SetupData* handle = &rd;
  try {
    panel->Init(handle);
  } catch (const zan::AutomationException&) {
    std::abort();  // an empty setup data object always loads
  }
  for (const auto& [name, value] : options.sets) {
    try {
      (void)zan::host::putProperty(*panel, name, value);
    } catch (const zan::AutomationException& e) {
      if (e.error().description.isEmpty()) std::abort();
    }
  }
  try {
    panel->Validate();
  } catch (const zan::AutomationException&) {
  }
  return 0;
}
