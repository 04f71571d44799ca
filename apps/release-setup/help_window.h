#pragma once
// The dialog's help (F1): the user's part of the README (running the dialog, its keys, fonts
// and languages, the scripted mode), built into the program and shown as a page of its own.

class QDialog;
class QWidget;

namespace zan::host {

// Shows the help window of `parent`, creating it on the first call; later calls raise it.
// The window is not modal: the user reads and edits at once.
QDialog* showHelp(QWidget* parent);

}  // namespace zan::host
