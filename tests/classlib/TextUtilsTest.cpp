#include "classlib/Exceptions.h"
#include "classlib/TextUtils.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <windows.h>

namespace {

// "," and "." of an expected text in the locale's separators.
AnsiString Localized(const AnsiString& text)
{
    AnsiString out;
    for (char c : text)
        out += c == ',' ? ThousandSeparator() : c == '.' ? DecimalSeparator() : AnsiString(1, c);
    return out;
}

TEST(TextUtilsTest, LeadBytesAreThoseOfCodePage932)
{
    for (int c = 0; c < 256; ++c) {
        bool expected = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        EXPECT_EQ(IsLeadByte(static_cast<char>(c)), expected) << std::hex << c;
    }
}

TEST(TextUtilsTest, ByteTypesWalkByCharacter)
{
    const AnsiString s = "aソ\\表"; // 61 83 5C 5C 95 5C
    const TMbcsByteType expected[] = {mbSingleByte, mbLeadByte, mbTrailByte,
                                      mbSingleByte, mbLeadByte, mbTrailByte};
    ASSERT_EQ(s.size(), 6u);
    for (size_t i = 0; i < s.size(); ++i)
        EXPECT_EQ(ByteType(s, i), expected[i]) << i;
    // A lead byte cut off at the end is a character of its own.
    EXPECT_EQ(ByteType("a\x83", 1), mbSingleByte);
    EXPECT_EQ(CharLength("a\x83", 1), 1u);

    EXPECT_EQ(LastDelimiter("\\", "C:\\ソ"), 2u);
    EXPECT_EQ(LastDelimiter("\\:", "表"), AnsiString::npos);
    EXPECT_EQ(LastDelimiter("]", "[ゾ"), AnsiString::npos); // ゾ is 83 5D
    EXPECT_TRUE(IsDelimiter("\\", "ソ\\", 2));
    EXPECT_FALSE(IsDelimiter("\\", "ソ\\", 1));
}

TEST(TextUtilsTest, CasingTouchesAsciiLettersOnly)
{
    struct Case
    {
        AnsiString in, lower, upper;
    };
    const Case cases[] = {
        {"AbC.WAV", "abc.wav", "ABC.WAV"},
        {"ア", "ア", "ア"},       // 83 41: the trail byte is "A"
        {"ヂ", "ヂ", "ヂ"},       // 83 61: the trail byte is "a"
        {"セホ", "セホ", "セホ"}, // trail bytes "Z" and "z"
        {"Ｘ表Ab", "Ｘ表ab", "Ｘ表AB"},
        {"", "", ""},
        {"a\x83", "a\x83", "A\x83"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LowerCase(c.in), c.lower) << c.in;
        EXPECT_EQ(UpperCase(c.in), c.upper) << c.in;
    }
}

TEST(TextUtilsTest, TrimRemovesBlanksAndControlsOnly)
{
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  x  "), "x  ");
    EXPECT_EQ(TrimRight("  x  "), "  x");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim("　全角　"), "　全角　"); // the wide blank is a character, not a blank
    EXPECT_EQ(Trim(" ソ "), "ソ");
}

TEST(TextUtilsTest, ComparisonsFoldAsciiButNeverTrailBytes)
{
    EXPECT_TRUE(SameText("Key", "KEY"));
    EXPECT_FALSE(SameText("ア", "ヂ"));
    EXPECT_FALSE(SameText("セ", "ホ"));
    EXPECT_TRUE(SameText("ア", "ア"));
    EXPECT_FALSE(SameText("a", "ab"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("a", "ab"), 0);
    EXPECT_NE(CompareText("ア", "ヂ"), 0);
    EXPECT_EQ(CompareText("表a", "表A"), 0);
    EXPECT_LT(CompareStr("A", "a"), 0);
    EXPECT_EQ(CompareStr("ア", "ア"), 0);

    EXPECT_LT(AnsiCompareStr("a", "b"), 0);
    EXPECT_NE(AnsiCompareStr("a", "A"), 0);
    EXPECT_EQ(AnsiCompareText("abc", "ABC"), 0);
    EXPECT_GT(AnsiCompareText("b", "A"), 0);
}

TEST(TextUtilsTest, SearchStartsOnCharactersOnly)
{
    EXPECT_EQ(AnsiFind("ソ\\x", "\\"), 2u);
    EXPECT_EQ(AnsiFind("亜あ", "\x9F\x82"), AnsiString::npos); // spans two characters
    EXPECT_EQ(AnsiFind("abcabc", "bc", 2), 4u);
    EXPECT_EQ(AnsiFind("表表", "表", 1), 2u); // from a trail byte: the next character
    EXPECT_EQ(AnsiFind("abc", ""), AnsiString::npos);
    EXPECT_EQ(AnsiFind("xソ", "x\x83"), AnsiString::npos); // would end inside ソ
    EXPECT_EQ(AnsiFind("x\x83", "x\x83"), 0u);             // a cut character at the end
    EXPECT_EQ(StringReplace("xソ", "x\x83", "", rfReplaceAll), "xソ");

    EXPECT_EQ(StringReplace("ソ\\ソ", "\\", "/", rfReplaceAll), "ソ/ソ");
    EXPECT_EQ(StringReplace("aAア", "a", "b", rfReplaceAll | rfIgnoreCase), "bbア");
    EXPECT_EQ(StringReplace("aaa", "a", "b", 0), "baa");
    EXPECT_EQ(StringReplace("aaa", "aa", "a", rfReplaceAll), "aa");
    EXPECT_EQ(StringReplace("x", "", "y", rfReplaceAll), "x");
}

TEST(TextUtilsTest, ReplacingSingleByteCharactersLeavesDoubleByteOnesWhole)
{
    struct Case
    {
        const char* text;
        const char* chars;
        const char* with;
        const char* expected;
    } cases[] = {
        {"a\\b|c", "\\|", "_", "a_b_c"},
        {"ソ\\表|ポ怖", "\\|", "_", "ソ_表_ポ怖"}, // trail bytes 0x5C and 0x7C stay
        {"ア\tヂa", "\ta", "", "アヂ"},            // trail bytes 0x41 and 0x61 stay
        {"", "x", "_", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceSingleByteChars(c.text, c.chars, c.with), c.expected) << c.text;
}

TEST(TextUtilsTest, IntegersParseInDecimalAndHexadecimal)
{
    struct Case
    {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"-2147483648", true, INT_MIN},
        {"2147483647", true, INT_MAX},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"+12", true, 12},
        {" 12\t", true, 12},
        {"$7FFFFFFF", true, INT_MAX},
        {"$FFFFFFFF", true, -1},
        {"$100000000", false, 0},
        {"0x1f", true, 31},
        {"0X1F", true, 31},
        {"-$10", true, -16},
        {"-$80000000", true, INT_MIN},
        {"-$80000001", false, 0},
        {"+$80000000", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"12a", false, 0},
        {"1 2", false, 0},
        {"1.0", false, 0},
        {"１", false, 0}, // a wide digit
        {"$G", false, 0},
    };
    for (const Case& c : cases) {
        int value = 12345;
        EXPECT_EQ(TryStrToInt(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
        EXPECT_EQ(StrToIntDef(c.text, -7), c.ok ? c.value : -7) << c.text;
    }
    std::int64_t wide = 0;
    EXPECT_TRUE(TryStrToInt64("9223372036854775807", wide));
    EXPECT_EQ(wide, INT64_MAX);
    EXPECT_TRUE(TryStrToInt64("-9223372036854775808", wide));
    EXPECT_EQ(wide, INT64_MIN);
    EXPECT_FALSE(TryStrToInt64("9223372036854775808", wide));
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
    EXPECT_EQ(StrToInt64Def("x", 3), 3);

    try {
        StrToInt("12x");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12x' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt64(""), EConvertError);
}

TEST(TextUtilsTest, DigitsAloneMakeANumberHeldAtTheCeiling)
{
    EXPECT_EQ(DigitsValue("007", 100), 7);
    EXPECT_EQ(DigitsValue("100", 100), 100);
    EXPECT_EQ(DigitsValue("101", 100), 100);
    EXPECT_EQ(DigitsValue("99999999999999999999", 100), 100);
    for (const char* notDigits : {"", "+1", "-1", " 1", "1a", "１"})
        EXPECT_EQ(DigitsValue(notDigits, 100), std::nullopt) << notDigits;
}

TEST(TextUtilsTest, IntegersFormat)
{
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(std::int64_t(1) << 40), "1099511627776");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(std::int64_t(-1), 1), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(0x1234ABCD, 2), "1234ABCD");
}

TEST(TextUtilsTest, SeparatorsAreTheLocales)
{
    char buffer[8];
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
    EXPECT_EQ(DecimalSeparator(), buffer);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, sizeof buffer);
    EXPECT_EQ(ThousandSeparator(), buffer);
}

TEST(TextUtilsTest, FloatsInTheGeneralForm)
{
    struct Case
    {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1.0, "1"},
        {-1.5, "-1.5"},
        {0.1, "0.1"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {2.5e-10, "2.5E-10"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1.5e20, "1.5E20"},
        {45123.5, "45123.5"},
        {100.0, "100"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FloatToStr(c.value), Localized(c.text)) << c.text;
    EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
    EXPECT_EQ(FloatToStr(-HUGE_VAL), "-INF");
    EXPECT_EQ(FloatToText(0.5, ","), "0,5");
}

TEST(TextUtilsTest, FloatsParseStrictly)
{
    struct Case
    {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"1.5", true, 1.5},  {" -2.25 ", true, -2.25}, {"1e3", true, 1000}, {"1.5E-2", true, 0.015},
        {".5", true, 0.5},   {"5.", true, 5},          {"+7", true, 7},     {"abc", false, 0},
        {"1.2.3", false, 0}, {"1e", false, 0},         {"e5", false, 0},    {".", false, 0},
        {"inf", false, 0},   {"nan", false, 0},        {"1e999", false, 0}, {"0x10", false, 0},
        {"", false, 0},      {"1,5", false, 0},
    };
    for (const Case& c : cases) {
        double value = -99;
        EXPECT_EQ(TryTextToFloat(c.text, ".", value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(value, c.value) << c.text;
        }
    }
    EXPECT_DOUBLE_EQ(StrToFloat(Localized("2.5")), 2.5);
    EXPECT_DOUBLE_EQ(StrToFloatDef("x", 4.5), 4.5);
    try {
        StrToFloat("1..");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'1..' is not a valid floating point value");
    }
}

TEST(TextUtilsTest, RoundTripTextReadsBackExactly)
{
    EXPECT_EQ(FloatToRoundTripText(1.0, "."), "1");
    EXPECT_EQ(FloatToRoundTripText(0.5, "."), "0.5");
    EXPECT_EQ(FloatToRoundTripText(0.1 + 0.2, "."), "0.30000000000000004");
    for (double v : {0.1, 1.0 / 3, 1e-300, 123456.789, 5e-324, DBL_MAX, -2.0 / 7, 1.005}) {
        double back = 0;
        AnsiString text = FloatToRoundTripText(v, ".");
        ASSERT_TRUE(TryTextToFloat(text, ".", back)) << text;
        EXPECT_EQ(back, v) << text;
    }
}

TEST(TextUtilsTest, FormatFloatPictures)
{
    struct Case
    {
        const char* format;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {"#,##0.0", 1234.56, "1,234.6"},
        {"#,##0.0", 0, "0.0"},
        {"#,##0.0", -0.04, "0.0"}, // rounds to zero: no minus sign
        {"#,##0.0", -1234.56, "-1,234.6"},
        {"0.00", 0.125, "0.13"}, // halves away from zero, on the decimal text
        {"0.00", 1.005, "1.01"},
        {"0.00", 2.675, "2.68"},
        {"0.0", 0.05, "0.1"},
        {"0.0", -0.05, "-0.1"},
        {"0.00", 9.999, "10.00"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"###,###,###,##0", 0, "0"},
        {"###,###,###,##0", 1234567890, "1,234,567,890"},
        {"###,###,###,##0", 999.5, "1,000"},
        {"###,###,###,##0", 12, "12"},
        {"###,###,###,###", 0, ""},
        {"###,###,###,###", 1234, "1,234"},
        {"000000000000", 1234, "000000001234"},
        {"#,##0.0 MB", 1.5, "1.5 MB"},
        {"#,##0.00 GB", 2, "2.00 GB"},
        {"#,##0.0 Kbytes", 12345.67, "12,345.7 Kbytes"},
        {"#,###.0 Kbytes", 0.5, ".5 Kbytes"},
        {"0.##", 1, "1"},
        {"0.##", 1.5, "1.5"},
        {"0.##", 1.255, "1.26"},
        {"0;(0);zero", -5, "(5)"},
        {"0;(0);zero", 0, "zero"},
        {"0;(0);zero", 0.2, "zero"},
        {"0;;zero", -5, "-5"},
        {"\"#\"0", 5, "#5"},
        {"'a;b'0.0", 5, "a;b5.0"},
        {"0", 1e20, "100000000000000000000"},
        {"0.0", 1e-20, "0.0"},
        {"0.0", 123456789012345678.0, "123456789012346000.0"},
        {"0.0秒", 1.25, "1.3秒"},
        {"+0.0", 3, "+3.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFloat(c.format, c.value), Localized(c.text)) << c.format << " " << c.value;
    EXPECT_EQ(FormatFloat("0", std::nan("")), "NAN");
    EXPECT_EQ(FormatFloat("", 1.5), Localized("1.5"));
}

TEST(TextUtilsTest, FormatIsPrintf)
{
    EXPECT_EQ(Format("%d-%s-%.2f", 5, "x", 1.5), "5-x-1.50");
    EXPECT_EQ(Format("%lld", 1LL << 40), "1099511627776");
    EXPECT_EQ(Format("%s", AnsiString(2000, 'q').c_str()).size(), 2000u);
    EXPECT_EQ(Format("%s", ""), "");
}

} // namespace
