#include "controls/classic_keys.h"

namespace zan::controls {

int classicKeyCode(const QKeyEvent& event) {
  const int key = event.key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;  // Qt uses upper-case ASCII too
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return (event.modifiers() & Qt::KeypadModifier) ? 96 + (key - Qt::Key_0) : key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Pause:
      return 19;
    case Qt::Key_CapsLock:
      return 20;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    case Qt::Key_Asterisk:
      return 106;
    case Qt::Key_Plus:
      return (event.modifiers() & Qt::KeypadModifier) ? 107 : 187;
    case Qt::Key_Minus:
      return (event.modifiers() & Qt::KeypadModifier) ? 109 : 189;
    case Qt::Key_Period:
      return (event.modifiers() & Qt::KeypadModifier) ? 110 : 190;
    case Qt::Key_Slash:
      return (event.modifiers() & Qt::KeypadModifier) ? 111 : 191;
    case Qt::Key_Semicolon:
      return 186;
    case Qt::Key_Equal:
      return 187;
    case Qt::Key_Comma:
      return 188;
    case Qt::Key_QuoteLeft:
      return 192;
    case Qt::Key_BracketLeft:
      return 219;
    case Qt::Key_Backslash:
      return 220;
    case Qt::Key_BracketRight:
      return 221;
    case Qt::Key_Apostrophe:
      return 222;
    default:
      return 0;
  }
}

int classicShiftState(Qt::KeyboardModifiers modifiers) {
  return ((modifiers & Qt::ShiftModifier) ? 1 : 0) | ((modifiers & Qt::ControlModifier) ? 2 : 0) |
         ((modifiers & Qt::AltModifier) ? 4 : 0);
}

int classicKeyAscii(const QKeyEvent& event) {
  const int key = event.key();
  const auto modifiers = event.modifiers();
  if (modifiers & Qt::AltModifier) return -1;
  if (modifiers & Qt::ControlModifier)
    return (key >= Qt::Key_A && key <= Qt::Key_Z) ? key - Qt::Key_A + 1 : -1;
  switch (key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Escape:
      return 27;
    default:
      break;
  }
  const QString text = event.text();
  if (text.isEmpty()) return -1;
  const char16_t c = text.at(0).unicode();
  return (c < 32 || c == 127) ? -1 : int(c);
}

}  // namespace zan::controls
