#pragma once
// Classic key codes and character codes of Qt key events (used by the text box's key events).

#include <QKeyEvent>

namespace zan::controls {

// Classic key code of the key that went down (Left 37, Up 38, Right 39, Down 40, Backspace 8,
// Tab 9, Enter 13, Esc 27, Delete 46, letters as upper-case ASCII, digits 48-57, ...), or 0
// for a key without one.
int classicKeyCode(const QKeyEvent& event);

// Classic shift state: 1 Shift, 2 Ctrl, 4 Alt, added together.
int classicShiftState(Qt::KeyboardModifiers modifiers);

// Classic character code the key types: Ctrl+letter 1..26, Backspace 8, Enter 13, Esc 27, or
// the typed character; -1 when the key types nothing. Ctrl+letter is derived from the key and
// the modifiers, since the event's text may hold the plain letter.
int classicKeyAscii(const QKeyEvent& event);

}  // namespace zan::controls
