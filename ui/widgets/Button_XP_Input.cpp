#include "ui/widgets/Button_XP_Input.h"

#include <QHash>

namespace buttonxp {

short buttonCode(Qt::MouseButtons buttons) {
    short code = 0;
    if (buttons & Qt::LeftButton) {
        code |= LeftButton;
    }
    if (buttons & Qt::RightButton) {
        code |= RightButton;
    }
    if (buttons & Qt::MiddleButton) {
        code |= MiddleButton;
    }
    return code;
}

short shiftCode(Qt::KeyboardModifiers modifiers) {
    short code = 0;
    if (modifiers & Qt::ShiftModifier) {
        code |= ShiftKey;
    }
    if (modifiers & Qt::ControlModifier) {
        code |= ControlKey;
    }
    if (modifiers & Qt::AltModifier) {
        code |= AltKey;
    }
    return code;
}

short keyCode(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Space) {
        return static_cast<short>(key);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return static_cast<short>(112 + (key - Qt::Key_F1));
    }
    static const QHash<int, short> codes = {
        {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},       {Qt::Key_Backtab, 9},  {Qt::Key_Return, 13},
        {Qt::Key_Enter, 13},    {Qt::Key_Shift, 16},    {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},
        {Qt::Key_Pause, 19},    {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},  {Qt::Key_PageUp, 33},
        {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},      {Qt::Key_Home, 36},    {Qt::Key_Left, 37},
        {Qt::Key_Up, 38},       {Qt::Key_Right, 39},    {Qt::Key_Down, 40},    {Qt::Key_Insert, 45},
        {Qt::Key_Delete, 46},
    };
    return codes.value(key, 0);
}

}  // namespace buttonxp
