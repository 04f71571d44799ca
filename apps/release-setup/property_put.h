#pragma once
// Property puts by name, made the way a host that binds late makes them: the scripted mode's
// --set NAME=VALUE goes through the panel's late-bound surface (name lookup without regard to
// case, the text converted to the property's type as automation converts).

#include <QString>
#include <QStringList>

class QWidget;

namespace zan::host {

// Puts `text` into the property `name` of `panel` (one of the library's panels). Returns an
// empty string on success, or a one-line reason when the name or the value is unusable (no
// such property, read-only, not convertible). A failure of the put itself (the panel's own
// error) is thrown as zan::AutomationException.
QString putProperty(QWidget& panel, const QString& name, const QString& text);

// The properties of the panel class `className` ("ZANPdf3", "ZANPdf") that can be put, in the
// order of its interface.
QStringList puttableProperties(const QString& className);
// Whether the panel class has a member (method or property) named `name`, without regard to
// case.
bool hasMember(const QString& className, const QString& name);

}  // namespace zan::host
