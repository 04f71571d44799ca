#pragma once
// How the pane shows each suspect reason: its colour and its name in the user's language.

#include <QColor>
#include <QString>
#include <QStringList>

namespace zan::preview {

// Every reason, in the order the release names them.
const QStringList& suspectReasonKeys();
// The colour marks of `reason` are drawn in; grey for one the pane does not know.
QColor reasonColour(const QString& reason);
// "low confidence", "not in the dictionary", ... (translated).
QString reasonName(const QString& reason);

}  // namespace zan::preview
