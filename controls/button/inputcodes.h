#pragma once

#include <Qt>

class QKeyEvent;

namespace Lumisong {

// Qt's input values as the button's notifications and events carry them.
namespace InputCodes {

// 1 left, 2 right, 4 middle; 0 for any other button.
int mouseButton(Qt::MouseButton button);
// 1 Shift, 2 Ctrl, 4 Alt, combined.
int shiftState(Qt::KeyboardModifiers modifiers);
// The platform's key code (13 Enter, 27 Esc, 32 Space, 37..40 arrows, 48..57
// digits, 65..90 letters, 96..111 keypad, 112.. function keys ...); 0 for a
// key it has none for.
int keyCode(const QKeyEvent &event);
// The character a key press types, as KeyPress carries it; 0 when none.
int typedCharacter(const QKeyEvent &event);

} // namespace InputCodes

} // namespace Lumisong
