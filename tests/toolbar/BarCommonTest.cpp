// The shared routines without windows: caption text on code page 932, the
// registry's menu delay rule, rounding, ellipses, and the wheel arithmetic.
#include "toolbar/BarAnim.h"
#include "toolbar/BarCommon.h"
#include "toolbar/BarItem.h"

#include <gtest/gtest.h>

namespace {

// "ア" is 0x83 0x41: its trail byte is the letter A. "表" is 0x95 0x5C.
TEST(BarText, AcceleratorMarksStepOverDoubleByteCharacters)
{
    struct Case
    {
        const char* caption;
        const char* removed;
        const char* doubled;
        char accelerator;
    } cases[] = {
        {"&File", "File", "&&File", 'F'},
        {"Save && Exit", "Save & Exit", "Save &&&& Exit", 0},
        {"&&&x", "&x", "&&&&&&x", 'x'},
        {"a&b&c", "abc", "a&&b&&c", 'c'}, // the last single mark counts
        {"&a&&", "a&", "&&a&&&&", 'a'},
        {"end&", "end", "end&&", 0}, // a mark at the very end names nothing
        {"&ア", "ア", "&&ア", 0},    // a double-byte character is never an accelerator
        {"ア&B", "アB", "ア&&B", 'B'},
        {"x&Bア&表", "xBア表", "x&&Bア&&表", 0},
        {"表&&示", "表&示", "表&&&&示", 0},
        {"アイ", "アイ", "アイ", 0}, // trail bytes that are letters are not characters
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RemoveAccelMarks(c.caption), c.removed) << c.caption;
        EXPECT_EQ(DoubleAmpersands(c.caption), c.doubled) << c.caption;
        EXPECT_EQ(ExtractAccelChar(c.caption), c.accelerator) << c.caption;
    }
}

TEST(BarText, TrailingPunctuationGoesOnce)
{
    struct Case
    {
        const char* text;
        const char* stripped;
    } cases[] = {
        {"Open...", "Open"},
        {"Name:", "Name"},
        {"Wait...:", "Wait..."},
        {"More....", "More."},
        {"保存...", "保存"},
        {"表:", "表"},
        {":", ""},
        {"..", ".."},
        {"Plain", "Plain"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StripTrailingPunctuation(c.text), c.stripped) << c.text;
}

TEST(BarText, EllipsesCutWholeCharacters)
{
    auto bytesTimesFive = [](const AnsiString& t) { return static_cast<int>(t.size()) * 5; };
    struct Case
    {
        const char* text;
        int room;
        const char* kept;
    } cases[] = {
        {"abcdef", 25, "ab..."},
        {"アイウ", 40, "アイ..."}, // 9 bytes would be 45
        {"アイウ", 5, "ア..."},    // one character always stays
    };
    for (const Case& c : cases)
        EXPECT_EQ(EllipsizedText(c.text, c.room, bytesTimesFive), c.kept) << c.text << c.room;
}

TEST(BarSettings, RegistryMenuDelayRule)
{
    struct Case
    {
        bool present;
        bool isString;
        const char* text;
        int delay;
    } cases[] = {
        {false, false, "", 400}, {true, true, "250", 250}, {true, true, " 0 ", 0},
        {true, true, "fast", 0}, {true, false, "", 0},     {true, true, "", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MenuShowDelayFromRegistry(c.present, c.isString, c.text), c.delay) << c.text;
}

TEST(BarSettings, SubmenuDelayFallsBackAndNeverGoesNegative)
{
    BarSeams().MenuShowDelay = [](int& delay) {
        delay = -5;
        return true;
    };
    EXPECT_EQ(SubmenuDelay(), 0);
    BarSeams().MenuShowDelay = [](int&) { return false; };
    EXPECT_EQ(SubmenuDelay(), RegistrySubmenuDelay());
    BarSeams().KeyboardCues = [](bool&) { return false; };
    EXPECT_TRUE(KeyboardCuesShown());
}

TEST(BarArithmetic, DivisionRoundsAwayFromZero)
{
    int cases[][3] = {{7, 3, 3}, {6, 3, 2}, {-7, 3, -3}, {7, -3, -3}, {0, 5, 0}, {1, 3, 1}};
    for (auto& c : cases)
        EXPECT_EQ(DivideRoundingOut(c[0], c[1]), c[2]) << c[0] << "/" << c[1];
}

TEST(BarArithmetic, WheelStepsDrainTheAccumulatorForEveryLineSetting)
{
    struct Case
    {
        UINT systemLines;
        int accumulator;
        int steps;
        int left;
    } cases[] = {
        {3, 120, 3, 0},
        {3, 40, 1, 0},
        {3, 39, 0, 39},
        {3, -240, -6, 0},
        {1, 130, 1, 10},
        {0, 500, 0, 500},              // no wheel scrolling
        {WHEEL_PAGESCROLL, 120, 3, 0}, // a page counts as three lines
        {1000, 120, 120, 0},
        {1000, 1, 1, 0}, // more than 120 lines: 120
    };
    for (const Case& c : cases) {
        int accumulator = c.accumulator;
        EXPECT_EQ(TakeWheelSteps(accumulator, EffectiveWheelLines(c.systemLines)), c.steps)
            << c.systemLines << " " << c.accumulator;
        EXPECT_EQ(accumulator, c.left) << c.systemLines << " " << c.accumulator;
    }
}

TEST(BarArithmetic, RollOffsetsComeFromTheOpeningSide)
{
    SIZE size = {100, 50};
    struct Case
    {
        BYTE direction;
        int step;
        TPoint offset;
    } cases[] = {
        {badRightward | badDownward, 0, TPoint(-100, -50)},
        {badRightward | badDownward, 255, TPoint(0, 0)},
        {badLeftward, 0, TPoint(100, 0)},
        {badUpward, 51, TPoint(0, 40)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BarRollOffset(c.direction, size, c.step), c.offset)
            << int(c.direction) << " " << c.step;
    EXPECT_EQ(BarRevealStepAt(0, kBarFadeDurationMs, kBarFadeFirstStep), kBarFadeFirstStep);
    EXPECT_EQ(BarRevealStepAt(kBarRollDurationMs / 2, kBarRollDurationMs, 0), 127);
}

} // namespace
