// The number edits' rules without windows: filtering typed and pasted text,
// reading and writing numbers (no exponent ever), limits and spin steps.
#include "controls/NumEdit.h"

#include "classlib/TextUtils.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>

namespace {

// Text written with "." as separator, in the locale's separator.
AnsiString Localized(AnsiString text)
{
    for (char& c : text)
        if (c == '.')
            c = DecimalSeparator()[0];
    return text;
}

} // namespace

TEST(NumberFilter, KeepsDigitsOneSeparatorAndALeadingSign)
{
    struct Case
    {
        const char* text;
        char separator;
        bool allowFloat, allowSign;
        const char* expected;
    };
    const Case cases[] = {
        {"12a.3.4", '.', true, true, "12.34"},
        {"12a.3.4", '.', false, true, "1234"},
        {"-5", '.', true, true, "-5"},
        {"-5", '.', true, false, "5"},
        {"5-3", '.', true, true, "53"},
        {"+-3", '.', true, true, "+3"},
        {" -7", '.', true, true, "-7"}, // a blank before the sign is dropped first
        {"1,5.2", ',', true, true, "1,52"},
        {"1,5.2", '.', true, true, "15.2"},
        {"なし", '.', true, true, ""},
        {"１２", '.', true, true, ""}, // full-width digits are not digits
        {"12 秒", '.', true, true, "12"},
        {"", '.', true, true, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FilterNumberText(c.text, c.separator, c.allowFloat, c.allowSign), c.expected)
            << c.text;
}

TEST(NumberFilter, ValueOfFilteredTextIsZeroWithoutDigitsAndSaturatesOnOverflow)
{
    const AnsiString huge(400, '9');
    struct Case
    {
        AnsiString filtered;
        char separator;
        double expected;
    };
    const Case cases[] = {
        {"", '.', 0},         {"-", '.', 0},
        {"+", '.', 0},        {".", '.', 0},
        {"-.5", '.', -0.5},   {"12.", '.', 12},
        {",25", ',', 0.25},   {"007", '.', 7},
        {huge, '.', DBL_MAX}, {"-" + huge, '.', -DBL_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FilteredNumberValue(c.filtered, c.separator), c.expected) << c.filtered;
}

TEST(NumberLimits, AboveMaxThenBelowMin)
{
    struct Case
    {
        double value, min, max, expected;
    };
    const Case cases[] = {
        {25, 0, 10, 10},   {25, 0, 0, 25},      {1e300, 0, 0, 1e300},
        {-5, 0, 0, 0},     {-5, -9999, 0, -5},  {-20000, -9999, 10, -9999},
        {9.5, 0, 10, 9.5}, {4, 5, 3, 5}, // crossed limits: the lower one wins
        {NAN, 1, 10, 1},   {INFINITY, 0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LimitNumber(c.value, c.min, c.max), c.expected)
            << c.value << " in " << c.min << ".." << c.max;
}

TEST(NumberText, FixedNotationWithoutExponent)
{
    struct Case
    {
        double value;
        int decimals;
        const char* expected; // "." stands for the locale's separator
    };
    const Case cases[] = {
        {1.5, 2, "1.50"},
        {1e20, -1, "100000000000000000000"},
        {1e-5, -1, "0.00001"},
        {0.5, -1, "0.5"},
        {1.0 / 3, -1, "0.333333333333333"},
        {0.1 + 0.2, -1, "0.3"},
        {-1234.5, -1, "-1234.5"},
        {1e15, 0, "1000000000000000"},
        {2.5, 0, "3"}, // half away from zero, as a person rounds
        {-1.5, 0, "-2"},
        {-0.004, 2, "0.00"}, // no minus for a zero
        {0, -1, "0"},
        {INFINITY, -1, "0"},
    };
    for (const Case& c : cases) {
        AnsiString text = NumberText(c.value, c.decimals);
        EXPECT_EQ(text, Localized(c.expected)) << c.value;
        EXPECT_EQ(text.find_first_of("eE"), AnsiString::npos) << text;
    }
}

TEST(NumberText, RoundToIntClampsBeforeRounding)
{
    struct Case
    {
        double value;
        int expected;
    };
    const Case cases[] = {
        {2.6, 3}, {-2.6, -3},      {2.5, 2}, // half to even
        {3.5, 4}, {1e20, INT_MAX}, {-1e20, INT_MIN}, {2147483647.6, INT_MAX}, {NAN, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundToInt(c.value), c.expected) << c.value;
}

TEST(NumberTyping, AcceptsOnlyWhatKeepsANumber)
{
    constexpr TEditOptions all = eoAllowFloat | eoAllowSigns;
    struct Case
    {
        const char* text;
        int selStart, selLength;
        TEditOptions options;
        char key;
        bool accepted;
        char separator = '.';
    };
    const Case cases[] = {
        {"", 0, 0, all, 'a', false},
        {"12", 1, 0, all, '7', true},
        {"12", 2, 0, all, '\b', true},
        {"12", 0, 0, 0, 0x16, true}, // Ctrl+V, Ctrl+C, Ctrl+X and Tab always pass
        {"12", 0, 0, 0, 0x03, true},
        {"12", 0, 0, 0, 0x18, true},
        {"12", 0, 0, 0, '\t', true},
        {"12", 0, 0, 0, 0x1A, false}, // Ctrl+Z
        {"12", 1, 0, all, '.', true},
        {"12", 1, 0, eoAllowSigns, '.', false},
        {"1.2", 3, 0, all, '.', false}, // a second separator
        {"1.2", 0, 2, all, '.', true},  // over the existing one
        {"1.2", 2, 1, all, '.', false}, // the selection misses it
        {"12", 0, 0, all, '-', true},
        {"12", 1, 0, all, '-', false},  // a sign in the middle
        {"-12", 0, 0, all, '+', false}, // a second sign
        {"-12", 0, 1, all, '+', true},  // over the existing sign
        {"12", 0, 0, eoAllowFloat, '-', false},
        {"x", 0, 0, eoAllowAll, 'x', true},
        {"3", 1, 0, all, ',', true, ','}, // the locale's separator is the only one
        {"3", 1, 0, all, '.', false, ','},
    };
    for (const Case& c : cases) {
        TNumberTyping typing;
        typing.Text = c.text;
        typing.SelStart = c.selStart;
        typing.SelLength = c.selLength;
        typing.Options = c.options;
        typing.Separator = c.separator;
        EXPECT_EQ(NumberCharAccepted(typing, c.key), c.accepted)
            << c.text << " key " << static_cast<int>(c.key) << " at " << c.selStart;
    }
}

TEST(SpinStepping, RefusesAStepPastALimitWithoutClamping)
{
    struct Case
    {
        double value, increment, min, max;
        bool up, taken;
        double next;
    };
    const Case cases[] = {
        {5, 1, 0, 10, true, true, 6},
        {10, 1, 0, 10, true, false, 0},
        {9.5, 1, 0, 10, true, false, 0},
        {1e9, 1, 0, 0, true, true, 1e9 + 1},
        {1, 1, 0, 0, false, true, 0},
        {0.5, 1, 0, 0, false, false, 0},
        {-9998, 1, -9999, 0, false, true, -9999},
        {2, 0.25, 0, 0, false, true, 1.75},
    };
    for (const Case& c : cases) {
        double next = 0;
        EXPECT_EQ(SpinStep(c.value, c.increment, c.min, c.max, c.up, next), c.taken) << c.value;
        if (c.taken) {
            EXPECT_EQ(next, c.next) << c.value;
        }
    }
}
