#pragma once
// What the component server keeps between entry-point calls: the objects a host holds
// (unreleased class factories, server locks, living panels) and the last failure of each
// thread. Internal to the component folder.

#include <QString>

namespace zan::component {

void factoryHandedOut();
void factoryReleased();
void lockServer(bool lock);
// Whether a panel, an unreleased factory or a server lock keeps the library in use.
bool serverInUse();

void setLastError(const QString& description);
const char* lastError();

}  // namespace zan::component
