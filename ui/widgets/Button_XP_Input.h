#pragma once

#include <QtCore/qnamespace.h>

// The button's events report mouse buttons, shift state and keys in the
// classic PC codes its hosts were written against; these translate Qt's.
namespace buttonxp {

// Mouse button codes; several held buttons add up.
constexpr short LeftButton = 1;
constexpr short RightButton = 2;
constexpr short MiddleButton = 4;

// Shift-state codes; several held keys add up.
constexpr short ShiftKey = 1;
constexpr short ControlKey = 2;
constexpr short AltKey = 4;

// The key code of the space bar, the one key the button reacts to itself.
constexpr short SpaceKey = 32;

short buttonCode(Qt::MouseButtons buttons);
short shiftCode(Qt::KeyboardModifiers modifiers);

// Virtual-key numbering: letters and digits are their upper-case character
// codes, F1 to F24 are 112 to 135; keys without a code give 0.
short keyCode(int key);

}  // namespace buttonxp
