#include "unicode/UniActnList.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSysUtils.h"

#include "classlib/WideText.h"

#include "support/DescriptionStream.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

using testing_support::ReadDescription;
using testing_support::WrittenDescription;

// A wide action that can be put in design state.
class TDesignedAction : public TUniAction
{
public:
    explicit TDesignedAction(bool designing) : TUniAction(nullptr)
    {
        if (designing)
            IncludeState(csDesigning);
    }
};

// A component with a wide char property (and a wide string one).
class TLetterSample : public TComponent
{
    ZANDREL_PUBLISHED(TLetterSample)
public:
    explicit TLetterSample(bool designing) : TComponent(nullptr)
    {
        if (designing)
            IncludeState(csDesigning);
    }
    wchar_t Letter = L'x';
    void DefineProperties(TFiler& Filer) override { DeclareWideStreamProps(Filer, this); }
};

const TClassInfo& TLetterSample::StaticClassInfo()
{
    static const TPropInfo props[] = {
        {.Name = "Letter",
         .Kind = TTypeKind::tkWChar,
         .GetOrd = [](TPersistent* o) { return int(static_cast<TLetterSample*>(o)->Letter); },
         .SetOrd = [](TPersistent* o,
                      int v) { static_cast<TLetterSample*>(o)->Letter = wchar_t(v); },
         .Default = L'x'},
    };
    static const TClassInfo info{.Name = "TLetterSample", .Props = props};
    return info;
}

AnsiString ShortString(const AnsiString& text)
{
    return char(text.size()) + text;
}

// A description of className with (name, value bytes) pairs.
AnsiString Description(const AnsiString& className,
                       const std::vector<std::pair<AnsiString, AnsiString>>& properties)
{
    AnsiString bytes = "ZPF1" + ShortString(className) + ShortString("");
    for (const auto& [name, value] : properties)
        bytes += ShortString(name) + value;
    return bytes + AnsiString(1, '\0');
}

AnsiString StringValue(const AnsiString& bytes)
{
    return "\x06" + ShortString(bytes);
}

TEST(UniClassesTest, OnlyTextBeyondAsciiWritesItsUtf7Form)
{
    struct Case
    {
        WideString caption;
        bool utf7;
    };
    const Case cases[] = {
        {L"Open file", false},
        {L"\u958B\u304F", true},        // 開く, inside code page 932
        {L"\uAC00 \u20AC\u301C", true}, // outside it
        {L"", false},
    };
    for (const Case& c : cases) {
        TDesignedAction source(false);
        source.SetCaption(c.caption);
        const AnsiString bytes = WrittenDescription(&source);
        const auto at = bytes.find(ShortString("Caption_UTF7"));
        EXPECT_EQ(at != AnsiString::npos, c.utf7);
        if (at != AnsiString::npos) {
            EXPECT_EQ(bytes.substr(at + 13, 1 + 1 + EncodeUTF7(c.caption).size()),
                      StringValue(EncodeUTF7(c.caption)));
        }
        for (bool designing : {false, true}) {
            TDesignedAction copy(designing);
            ReadDescription(&copy, bytes);
            EXPECT_EQ(copy.GetCaption(), c.caption) << designing;
        }
    }
}

TEST(UniClassesTest, WideValuesApplyOnlyWhileDesigning)
{
    // ANSI "Caption" as an older writer leaves it, with the wide value beside.
    const AnsiString utf7 = Description(
        "TUniAction", {{"Caption", StringValue("?")}, {"Caption_UTF7", StringValue("+rAA-")}});
    const AnsiString utf8 = Description(
        "TUniAction", {{"Caption", StringValue("?")}, {"CaptionW", StringValue("\xEA\xB0\x80")}});
    const AnsiString broken = Description(
        "TUniAction", {{"Caption", StringValue("?")}, {"Caption_UTF7", StringValue("+A-")}});
    for (const AnsiString& bytes : {utf7, utf8}) {
        TDesignedAction running(false), designed(true);
        ReadDescription(&running, bytes);
        ReadDescription(&designed, bytes);
        EXPECT_EQ(running.GetCaption(), L"?");
        EXPECT_EQ(designed.GetCaption(), L"\uAC00");
    }
    // Skipped undecoded at run time, so bad data does not stop the load.
    TDesignedAction running(false), designed(true);
    EXPECT_NO_THROW(ReadDescription(&running, broken));
    EXPECT_THROW(ReadDescription(&designed, broken), EUniGeneralError);
}

TEST(UniClassesTest, WideCharsStreamAsOneCharacterStrings)
{
    TLetterSample source(false);
    source.Letter = L'\u20AC';
    const AnsiString bytes = WrittenDescription(&source);
    EXPECT_NE(bytes.find(ShortString("LetterW") + AnsiString("\x12\x01\0\0\0\xAC\x20", 7)),
              AnsiString::npos);
    TLetterSample copy(true);
    ReadDescription(&copy, bytes);
    EXPECT_EQ(copy.Letter, L'\u20AC');

    struct Case
    {
        const char* what;
        AnsiString name, value;
        wchar_t designed; // 0xFFFF: raises
    };
    const Case cases[] = {
        {"one DBCS character", "LetterW", StringValue("表"), L'\u8868'},
        {"empty", "LetterW", StringValue(""), L'\0'},
        {"two characters", "LetterW", StringValue("ab"), 0xFFFF},
        {"utf7", "Letter_UTF7", StringValue("+rAA-"), L'\uAC00'},
        {"utf7 of two", "Letter_UTF7", StringValue("ab"), L'a'},
    };
    for (const Case& c : cases) {
        const AnsiString description = Description("TLetterSample", {{c.name, c.value}});
        TLetterSample running(false), designed(true);
        ReadDescription(&running, description);
        EXPECT_EQ(running.Letter, L'x') << c.what;
        if (c.designed == 0xFFFF) {
            EXPECT_THROW(ReadDescription(&designed, description), EReadError) << c.what;
        } else {
            ReadDescription(&designed, description);
            EXPECT_EQ(designed.Letter, c.designed) << c.what;
        }
    }
}

TEST(UniClassesTest, TheAnsiValueWinsOnlyWhenItNoLongerMatches)
{
    struct Case
    {
        WideString wide;
        AnsiString ansi;
        WideString shadowed;
    };
    const Case cases[] = {
        {L"\uAC00", "?", L"\uAC00"}, // its conversion: trusted
        {L"\uAC00", "new", L"new"},  // ANSI-only code changed it
        {L"\u8868", "表", L"\u8868"}, {L"", "", L""}, {L"", "表", L"\u8868"},
    };
    for (const Case& c : cases) {
        WideString value = c.wide;
        EXPECT_EQ(ShadowedWideValue(value, c.ansi), c.shadowed);
        EXPECT_EQ(value, c.shadowed);
    }

    // Storing: (current wide, current ANSI, new wide) -> ANSI setter calls.
    struct StoreCase
    {
        WideString wide;
        AnsiString ansi;
        WideString next;
        std::vector<AnsiString> calls;
    };
    const StoreCase stores[] = {
        {L"a", "a", L"b", {"b"}},
        {L"a", "a", L"a", {}},
        // The same ANSI form: an empty text first, so the setter sees a change.
        {L"\uAC00", "?", L"\uAC01", {"", "?"}},
        {L"\u8868", "表", L"\uAC00", {"?"}},
    };
    for (const StoreCase& c : stores) {
        WideString value = c.wide;
        std::vector<AnsiString> calls;
        StoreShadowedWide(value, c.next, c.ansi, [&](const AnsiString& a) { calls.push_back(a); });
        EXPECT_EQ(value, c.calls.empty() ? c.wide : c.next);
        EXPECT_EQ(calls, c.calls);
    }
}

TEST(UniClassesTest, HelpersAreFoundAmongManyAndGoWithTheirComponent)
{
    const size_t before = WideComponentHelpers().size();
    std::vector<std::unique_ptr<TComponent>> components;
    for (int i = 0; i < 50; ++i)
        components.push_back(std::make_unique<TComponent>(nullptr));
    for (int i = 49; i >= 0; i -= 2)
        WideCaptionHelper(components[i].get())->Caption = WideString(1, wchar_t(L'A' + i));
    for (int i = 0; i < 50; ++i) {
        TWideCaptionHelper* helper = FindWideCaptionHelper(components[i].get());
        if (i % 2) {
            ASSERT_TRUE(helper) << i;
            EXPECT_EQ(helper->Caption, WideString(1, wchar_t(L'A' + i)));
            EXPECT_EQ(helper->Owner(), components[i].get());
        } else {
            EXPECT_FALSE(helper) << i;
        }
    }
    EXPECT_EQ(WideComponentHelpers().size(), before + 25);
    components.clear();
    EXPECT_EQ(WideComponentHelpers().size(), before);
}

} // namespace
