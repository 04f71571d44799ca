#pragma once
// SIGINT and SIGTERM ask a release to stop: it starts no further page, finishes the pages in
// progress, writes the report of what was released and exits with code 1. A second signal of
// the same kind ends the program at once (the next run sweeps the temporary files it leaves).

#include <QString>

void installStopRequest();
// Empty while no stop was asked for; else the signal that asked ("SIGINT", "SIGTERM").
QString stopRequested();
