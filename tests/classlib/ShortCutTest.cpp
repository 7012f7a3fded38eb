#include "classlib/Seams.h"
#include "classlib/ShortCut.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

namespace {

struct ShortCutCase
{
    TShortCut ShortCut;
    const char* Text;
};

// Our own key names: the system's follow the keyboard driver (the X key map
// under Wine) and name the keypad keys differently.
const ShortCutCase kCases[] = {
    {'S' | scCtrl, "Ctrl+S"},
    {'S' | scShift | scCtrl, "Shift+Ctrl+S"},
    {'O' | scShift | scCtrl | scAlt, "Shift+Ctrl+Alt+O"},
    {VK_ADD, "Num +"},
    {VK_SUBTRACT | scShift, "Shift+Num -"},
    {VK_DIVIDE, "Num /"},
    {VK_MULTIPLY, "Num *"},
    {VK_DECIMAL, "Num ."},
    {VK_NUMPAD0, "Num 0"},
    {VK_NUMPAD9, "Num 9"},
    {VK_DELETE, "Delete"},
    {VK_RETURN, "Enter"},
    {VK_SPACE | scCtrl, "Ctrl+Space"},
    {VK_LEFT | scShift, "Shift+Left"},
    {VK_RIGHT | scCtrl, "Ctrl+Right"},
    {VK_F1, "F1"},
    {VK_F12, "F12"},
    {VK_TAB | scShift | scCtrl, "Shift+Ctrl+Tab"},
    {'7', "7"},
};

TEST(ShortCutTest, TextOfShortCutsAndBack)
{
    for (const ShortCutCase& c : kCases) {
        EXPECT_EQ(ShortCutToText(c.ShortCut), c.Text) << std::hex << c.ShortCut;
        EXPECT_EQ(TextToShortCut(c.Text), c.ShortCut) << c.Text;
    }
    EXPECT_EQ(TextToShortCut("ctrl+shift+s"), 'S' | scCtrl | scShift);
    EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
    EXPECT_EQ(TextToShortCut("Nonsense"), scNone);
    EXPECT_EQ(ShortCutToText(scNone), "");
    EXPECT_EQ(ShortCutToText(0xFF | scCtrl), "");
}

TEST(ShortCutTest, KeyAndModifiersSplitAndJoin)
{
    EXPECT_EQ(ShortCut('S', ssCtrl | ssShift), 0x6053);
    EXPECT_EQ(ShortCut('S', ssAlt), 0x8053);
    EXPECT_EQ(ShortCut('S', ssCtrl | ssLeft | ssDouble), 0x4053);
    EXPECT_EQ(ShortCut(0x1234, ssCtrl), scNone);
    WORD key = 0;
    TShiftState shift = 0;
    ShortCutToKey(0xE041, key, shift);
    EXPECT_EQ(key, 'A');
    EXPECT_EQ(shift, ssShift | ssCtrl | ssAlt);
}

TEST(ShortCutTest, AcceleratorsOfCaptions)
{
    EXPECT_TRUE(IsAccelerator('s', "&Save"));
    EXPECT_TRUE(IsAccelerator('C', "&cancel"));
    EXPECT_FALSE(IsAccelerator('R', "Rock && Roll"));
    EXPECT_TRUE(IsAccelerator('o', "Rock && R&oll"));
    EXPECT_FALSE(IsAccelerator('a', "Save"));
    // 0x83 0x5C is "ソ": its trail byte is no character of its own.
    EXPECT_TRUE(IsAccelerator('a', "ソ&A"));
}

TEST(ShortCutTest, ShiftStatesComeThroughTheKeyStateSeam)
{
    EXPECT_EQ(KeyDataToShiftState(0), 0u);
    EXPECT_EQ(KeyDataToShiftState(1 << 29), static_cast<TShiftState>(ssAlt));
    testing_support::ScopedKeyState held({VK_CONTROL, VK_LBUTTON});
    EXPECT_EQ(KeyDataToShiftState(0), static_cast<TShiftState>(ssCtrl));
    EXPECT_EQ(KeyboardShiftState(), ssCtrl | ssLeft);
    EXPECT_EQ(MouseShiftState(MK_SHIFT | MK_RBUTTON), ssShift | ssRight);
}

} // namespace
