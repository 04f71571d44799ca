#pragma once
// Services for runs without a visible dialog (scripted mode, offscreen screenshots): message
// boxes become lines on standard error, so that nothing waits for a click no one can make.

#include "external/platform.h"
#include "host_prompts.h"

#include <QString>

#include <memory>

namespace zan::host {

// Writes one line to standard error, prefixed with "release-setup: ".
void printError(const QString& line);
// Writes one line to standard output.
void printOut(const QString& line);

// The panel's platform without windows: the pointer is only remembered, a message box is a
// line on standard error.
std::shared_ptr<Platform> consolePlatform();
// Prompts as lines on standard error; unsaved changes are always discarded.
std::shared_ptr<HostPrompts> consolePrompts();

}  // namespace zan::host
