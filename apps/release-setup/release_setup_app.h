#pragma once
// The release-setup program: chooses the setup file (seeding the working copy on the first run)
// and runs one of three modes: the dialog, the scripted mode, or the offscreen screenshots of a
// run without a display.

#include "command_line.h"

#include <QString>

namespace zan::host {

// Why the plain run cannot show a window (no display, or a Qt platform without windows);
// empty when it can. Call before the QApplication exists for the environment check, and with
// the platform name once it does.
QString noDisplayReason(const QString& platformName = {});

// Runs with `options` inside an existing QApplication; returns the exit code. `noDisplay` is
// noDisplayReason() of this run.
int runReleaseSetup(const Options& options, const QString& noDisplay);

}  // namespace zan::host
