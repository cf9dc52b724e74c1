// Qt keys to the virtual-key codes that bindings are written in.
#include "ui/toolkit/virtualkeys.h"

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

using ui::toolkit::virtualKeyFromQt;

struct KeyCase {
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    quint16 vk;
};

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kPad = Qt::KeypadModifier;
const Qt::KeyboardModifiers kCtrlPad = Qt::ControlModifier | Qt::KeypadModifier;

TEST(VirtualKeys, MapsQtKeysToWindowsCodes)
{
    const KeyCase cases[] = {
        // letters and digits of the main block, with or without modifiers
        {Qt::Key_A, kNone, 65},
        {Qt::Key_O, Qt::ControlModifier, 79},
        {Qt::Key_0, kNone, 48},
        {Qt::Key_9, Qt::ControlModifier, 57},
        // the keypad's digits and operators have their own codes
        {Qt::Key_0, kPad, 96},
        {Qt::Key_1, kCtrlPad, 97},
        {Qt::Key_Asterisk, kPad, 106},
        {Qt::Key_Plus, kPad, 107},
        {Qt::Key_Minus, kPad, 109},
        {Qt::Key_Period, kPad, 110},
        {Qt::Key_Slash, kPad, 111},
        // ... but its Enter and its NumLock-off keys are the main block's
        {Qt::Key_Enter, kPad, 13},
        {Qt::Key_End, kPad, 35},
        {Qt::Key_Delete, kPad, 46},
        // function keys, both ends
        {Qt::Key_F1, kNone, 112},
        {Qt::Key_F24, kNone, 135},
        // navigation and editing
        {Qt::Key_Left, Qt::ControlModifier, 37},
        {Qt::Key_Up, kNone, 38},
        {Qt::Key_Right, kNone, 39},
        {Qt::Key_Down, kNone, 40},
        {Qt::Key_PageUp, kNone, 33},
        {Qt::Key_PageDown, kNone, 34},
        {Qt::Key_Insert, Qt::ControlModifier, 45},
        {Qt::Key_Delete, kNone, 46},
        {Qt::Key_Return, kNone, 13},
        {Qt::Key_Tab, kNone, 9},
        {Qt::Key_Backtab, Qt::ShiftModifier, 9},
        // punctuation of the main block: the key, not the character typed
        {Qt::Key_Exclam, Qt::ShiftModifier, 49},
        {Qt::Key_Asterisk, Qt::ShiftModifier, 56},
        {Qt::Key_Plus, Qt::ShiftModifier, 187},
        {Qt::Key_Minus, kNone, 189},
        {Qt::Key_Slash, kNone, 191},
        {Qt::Key_BracketLeft, kNone, 219},
        // keys without a code
        {Qt::Key_unknown, kNone, 0},
        {Qt::Key_Adiaeresis, kNone, 0},
        {0, kNone, 0},
    };
    for (const KeyCase &c : cases) {
        EXPECT_EQ(virtualKeyFromQt(c.qtKey, c.modifiers), c.vk)
            << "Qt key 0x" << std::hex << c.qtKey << " modifiers 0x" << c.modifiers.toInt();
    }
}

} // namespace
} // namespace orvane::test
