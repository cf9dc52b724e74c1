#pragma once

#include <QtCore/qnamespace.h>
#include <QtGlobal>

namespace orvane::ui::toolkit {

// Windows virtual-key codes of the keys Orvane binds, kept because bindings
// and their window properties ("zxaccel279" for Ctrl+O) are written in them.
enum VirtualKey : quint16 {
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_NUMPAD0 = 96,
    VK_MULTIPLY = 106,
    VK_ADD = 107,
    VK_SEPARATOR = 108,
    VK_SUBTRACT = 109,
    VK_DECIMAL = 110,
    VK_DIVIDE = 111,
    VK_F1 = 112,
    VK_F24 = 135,
};

// The virtual-key code of a Qt key, 0 for a key without one. The keypad flag
// of the modifiers tells the keypad's digits and operators from the main
// block's. Shifted symbols of the main block give the code of their key on a
// US layout (Shift+1 arrives as '!' and is key '1'), as the key, not the
// character, is what a binding names.
quint16 virtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

} // namespace orvane::ui::toolkit
