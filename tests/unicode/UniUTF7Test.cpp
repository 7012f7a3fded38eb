#include "unicode/UniSysUtils.h"
#include "unicode/UniUTF7.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(UniUTF7Test, EncodesAsTheExamplesShow)
{
    struct Case
    {
        std::u16string text;
        std::string utf7;
    };
    const Case cases[] = {
        {u"", ""},
        {u"A+B", "A+-B"},
        {u"A\u00A3", "A+AKM"},        // no "-" at the end
        {u"\u00A3x", "+AKM-x"},       // a letter would be read as base64
        {u"\u00A31", "+AKM-1"},       // so would a digit
        {u"\u00A3/", "+AKM-/"},       // and "/"
        {u"\u00A3-", "+AKM--"},       // "-" would be taken as the run's end
        {u"\u00A3.", "+AKM."},        // "." cannot be base64: no "-"
        {u"\u00A3 x", "+AKM x"},      // white space is written directly
        {u"!#;[]{}", "!#;[]{}"},      // optional direct characters
        {u"\u00A3+", "+AKMAKw"},      // "+" inside a run stays in it
        {u"a\\b~", "a+AFw-b+AH4"},    // "\" and "~" are not direct
        {u"\u3042\u6F22", "+MEJvIg"}, // あ漢
    };
    for (const Case& c : cases) {
        std::string out = "junk";
        EXPECT_EQ(Utf7Encode(c.text, out), TUtf7Result::Ok);
        EXPECT_EQ(out, c.utf7);
        std::u16string back;
        EXPECT_EQ(Utf7Decode(out, back), TUtf7Result::Ok) << c.utf7;
        EXPECT_EQ(back, c.text) << c.utf7;
    }
}

TEST(UniUTF7Test, DecodesAndRejectsMalformedRuns)
{
    struct Case
    {
        std::string utf7;
        TUtf7Result result;
        std::u16string text; // what was decoded, also when invalid
    };
    const Case cases[] = {
        {"+AKM-x", TUtf7Result::Ok, u"\u00A3x"},
        {"+-", TUtf7Result::Ok, u"+"},
        {"a+-+-b", TUtf7Result::Ok, u"a++b"},
        {"+AKM", TUtf7Result::Ok, u"\u00A3"},
        {"+AKM!", TUtf7Result::Ok, u"\u00A3!"}, // a non-base64 byte ends the run
        {"+A-", TUtf7Result::Invalid, u""},     // no character from the run
        {"+", TUtf7Result::Invalid, u""},
        {"+!", TUtf7Result::Invalid, u"!"},
        {"+AKN-", TUtf7Result::Invalid, u"\u00A3"},      // bits left over that are not 0
        {"caf\xE9", TUtf7Result::Invalid, u"caf\u00E9"}, // a byte above 127
    };
    for (const Case& c : cases) {
        std::u16string out;
        EXPECT_EQ(Utf7Decode(c.utf7, out), c.result) << c.utf7;
        EXPECT_EQ(out, c.text) << c.utf7;
    }
}

TEST(UniUTF7Test, RandomWideTextSurvivesTheRoundTrip)
{
    std::mt19937 random(26);
    // Mostly ASCII (where the run rules matter), some of everything else,
    // lone surrogates included.
    std::uniform_int_distribution<int> pick(0, 9);
    std::uniform_int_distribution<int> ascii(0, 127);
    std::uniform_int_distribution<int> any(0, 0xFFFF);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 2000; ++round) {
        std::u16string text;
        for (int n = length(random); n > 0; --n)
            text += static_cast<char16_t>(pick(random) < 6 ? ascii(random) : any(random));
        std::string utf7;
        ASSERT_EQ(Utf7Encode(text, utf7), TUtf7Result::Ok);
        for (char c : utf7)
            ASSERT_LT(static_cast<unsigned char>(c), 128);
        std::u16string back;
        ASSERT_EQ(Utf7Decode(utf7, back), TUtf7Result::Ok) << utf7;
        ASSERT_EQ(back, text) << utf7;
    }
}

TEST(UniUTF7Test, TheWideFormsRaiseTheirMessages)
{
    // Inside code page 932 (あ, 漢, ｱ) and outside it (€, U+301C, U+AC00).
    for (const WideString& text :
         {WideString(L"\u3042\u6F22\uFF71"), WideString(L"\u20AC\u301C\uAC00")})
        EXPECT_EQ(DecodeUTF7(EncodeUTF7(text)), text);
    try {
        DecodeUTF7("+A-");
        FAIL() << "no exception";
    } catch (const EUniGeneralError& e) {
        EXPECT_EQ(e.Message(), "Invalid UTF7");
    }
}

} // namespace
