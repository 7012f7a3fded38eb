#include "classlib/Filer.h"
#include "classlib/Utf8.h"
#include "classlib/WideText.h"

#include "support/DescriptionStream.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ReadDescription;
using testing_support::WrittenDescription;

enum class TSampleMode
{
    smOff,
    smSlow,
    smFast
};

// A component with one published property of each kind, and a defined one.
class TStreamSample : public TComponent
{
    ZANDREL_PUBLISHED(TStreamSample)
public:
    using TComponent::TComponent;

    int Count = 0;
    bool Flag = true;
    TSampleMode Mode = TSampleMode::smOff;
    AnsiString Text;
    WideString Wide;
    wchar_t Letter = 0;
    int Hidden = 7;       // published but never stored
    AnsiString Extra;     // streamed as a defined property
    bool Writing = false; // csWriting was set while the writer read Extra
    int LoadedCalls = 0;

    void DefineProperties(TFiler& Filer) override
    {
        Filer.DefineProperty(
            "Extra", [this](TReader& r) { Extra = r.ReadString(); },
            [this](TWriter& w) {
                Writing = HasState(csWriting);
                w.WriteString(Extra);
            },
            !Extra.empty());
    }

protected:
    void Loaded() override
    {
        TComponent::Loaded();
        ++LoadedCalls;
    }
};

const char* const kModeNames[] = {"smOff", "smSlow", "smFast"};

const TClassInfo& TStreamSample::StaticClassInfo()
{
    using S = TStreamSample;
    static const TPropInfo props[] = {
        {.Name = "Count",
         .GetOrd = [](TPersistent* o) { return static_cast<S*>(o)->Count; },
         .SetOrd = [](TPersistent* o, int v) { static_cast<S*>(o)->Count = v; },
         .Default = 0},
        {.Name = "Flag",
         .Kind = TTypeKind::tkBool,
         .GetOrd = [](TPersistent* o) { return static_cast<int>(static_cast<S*>(o)->Flag); },
         .SetOrd = [](TPersistent* o, int v) { static_cast<S*>(o)->Flag = v != 0; },
         .Default = 1},
        {.Name = "Mode",
         .Kind = TTypeKind::tkEnumeration,
         .GetOrd = [](TPersistent* o) { return static_cast<int>(static_cast<S*>(o)->Mode); },
         .SetOrd = [](TPersistent* o, int v) { static_cast<S*>(o)->Mode = TSampleMode(v); },
         .Default = 0,
         .EnumNames = kModeNames},
        {.Name = "Text",
         .Kind = TTypeKind::tkString,
         .GetStr = [](TPersistent* o) { return static_cast<S*>(o)->Text; },
         .SetStr = [](TPersistent* o, const AnsiString& v) { static_cast<S*>(o)->Text = v; }},
        {.Name = "Wide",
         .Kind = TTypeKind::tkWString,
         .GetWStr = [](TPersistent* o) { return static_cast<S*>(o)->Wide; },
         .SetWStr = [](TPersistent* o, const WideString& v) { static_cast<S*>(o)->Wide = v; }},
        {.Name = "Letter",
         .Kind = TTypeKind::tkWChar,
         .GetOrd = [](TPersistent* o) { return static_cast<int>(static_cast<S*>(o)->Letter); },
         .SetOrd = [](TPersistent* o, int v) { static_cast<S*>(o)->Letter = wchar_t(v); },
         .Default = 0},
        {.Name = "Hidden",
         .GetOrd = [](TPersistent* o) { return static_cast<S*>(o)->Hidden; },
         .SetOrd = [](TPersistent* o, int v) { static_cast<S*>(o)->Hidden = v; },
         .Stored = [](TPersistent*) { return false; }},
    };
    static const TClassInfo info{.Name = "TStreamSample", .Props = props};
    return info;
}

// A description holding one property, its value's bytes as given.
AnsiString OneProperty(const AnsiString& name, const AnsiString& valueBytes)
{
    return AnsiString("ZPF1\x0DTStreamSample\x00", 19) + char(name.size()) + name + valueBytes +
           AnsiString(1, '\0');
}

AnsiString ValueBytesOf(const AnsiString& description, const AnsiString& name)
{
    auto at = description.find(char(name.size()) + name);
    return at == AnsiString::npos ? AnsiString() : description.substr(at + 1 + name.size());
}

TEST(FilerTest, EveryValueTypeSurvivesTheRoundTrip)
{
    struct Case
    {
        const char* what;
        void (*set)(TStreamSample&);
        const char* property;
        TValueType type;
    };
    const Case cases[] = {
        {"int8", [](TStreamSample& s) { s.Count = -100; }, "Count", TValueType::vaInt8},
        {"int16", [](TStreamSample& s) { s.Count = 200; }, "Count", TValueType::vaInt16},
        {"int32", [](TStreamSample& s) { s.Count = -70000; }, "Count", TValueType::vaInt32},
        {"false", [](TStreamSample& s) { s.Flag = false; }, "Flag", TValueType::vaFalse},
        {"ident", [](TStreamSample& s) { s.Mode = TSampleMode::smFast; }, "Mode",
         TValueType::vaIdent},
        {"short", [](TStreamSample& s) { s.Text = "表示"; }, "Text", TValueType::vaString},
        {"long", [](TStreamSample& s) { s.Text = AnsiString(300, 'x'); }, "Text",
         TValueType::vaLString},
        {"utf8", [](TStreamSample& s) { s.Wide = L"caf\u00E9"; }, "Wide", TValueType::vaUTF8String},
        // Three bytes a character in UTF-8, two in UTF-16.
        {"utf16", [](TStreamSample& s) { s.Wide = L"\u3042\uAC00"; }, "Wide",
         TValueType::vaWString},
        // UTF-8 cannot carry a lone surrogate.
        {"lone", [](TStreamSample& s) { s.Wide = L"a\xD800z"; }, "Wide", TValueType::vaWString},
        {"wchar", [](TStreamSample& s) { s.Letter = L'\u20AC'; }, "Letter", TValueType::vaInt16},
    };
    for (const Case& c : cases) {
        TStreamSample source(nullptr), copy(nullptr);
        c.set(source);
        const AnsiString bytes = WrittenDescription(&source);
        const AnsiString value = ValueBytesOf(bytes, c.property);
        ASSERT_FALSE(value.empty()) << c.what;
        EXPECT_EQ(static_cast<TValueType>(value[0]), c.type) << c.what;
        ReadDescription(&copy, bytes);
        EXPECT_EQ(copy.Count, source.Count) << c.what;
        EXPECT_EQ(copy.Flag, source.Flag) << c.what;
        EXPECT_EQ(copy.Mode, source.Mode) << c.what;
        EXPECT_EQ(copy.Text, source.Text) << c.what;
        EXPECT_EQ(copy.Wide, source.Wide) << c.what;
        EXPECT_EQ(copy.Letter, source.Letter) << c.what;
        EXPECT_EQ(copy.LoadedCalls, 1) << c.what;
        EXPECT_FALSE(copy.HasState(csLoading) || copy.HasState(csReading)) << c.what;
    }
}

TEST(FilerTest, WritesOnlyWhatDiffersFromDefaultsAndAncestor)
{
    TStreamSample plain(nullptr);
    plain.Hidden = 99;
    const AnsiString bytes = WrittenDescription(&plain);
    for (const char* name : {"Count", "Flag", "Mode", "Text", "Wide", "Letter", "Hidden", "Extra"})
        EXPECT_EQ(bytes.find(name), AnsiString::npos) << name;

    TStreamSample ancestor(nullptr), derived(nullptr);
    ancestor.Count = derived.Count = 5;
    ancestor.Text = "same";
    derived.Text = "other";
    derived.Extra = "defined";
    const AnsiString delta = WrittenDescription(&derived, &ancestor);
    EXPECT_EQ(delta.find("Count"), AnsiString::npos);
    EXPECT_NE(delta.find("Text"), AnsiString::npos);
    EXPECT_NE(delta.find("Extra"), AnsiString::npos);
    EXPECT_TRUE(derived.Writing);

    TComponent stranger(nullptr);
    EXPECT_THROW(WrittenDescription(&derived, &stranger), EWriteError);
}

TEST(FilerTest, DefinedPropertiesAreReadBeforePublishedOnes)
{
    TStreamSample sample(nullptr);
    ReadDescription(&sample, OneProperty("EXTRA", AnsiString("\x06\x03"
                                                             "abc",
                                                             5)));
    EXPECT_EQ(sample.Extra, "abc");
}

TEST(FilerTest, BothStringReadersTakeEveryStringType)
{
    // "表" in each string type: ANSI short and long, UTF-8, UTF-16.
    const AnsiString values[] = {
        AnsiString("\x06\x02", 2) + "表",
        AnsiString("\x0C\x02\0\0\0", 5) + "表",
        AnsiString("\x14\x03\0\0\0\xE8\xA1\xA8", 8),
        AnsiString("\x12\x01\0\0\0\x68\x88", 7),
    };
    for (const AnsiString& value : values) {
        TStreamSample sample(nullptr);
        ReadDescription(&sample, OneProperty("Text", value));
        EXPECT_EQ(sample.Text, "表");
        ReadDescription(&sample, OneProperty("Wide", value));
        EXPECT_EQ(sample.Wide, L"\u8868");
    }
}

TEST(FilerTest, BrokenDescriptionsRaiseReadErrors)
{
    struct Case
    {
        const char* what;
        AnsiString bytes;
        const char* message; // nullptr: any
    };
    const Case cases[] = {
        {"signature", "ZPF2", "Invalid stream format"},
        {"cut header", AnsiString("ZPF1\x0DTStream", 12), "Invalid stream format"},
        {"other class", AnsiString("ZPF1\x05Other\0\0", 12), nullptr},
        {"unknown type", OneProperty("Count", "\x05"), "Invalid property value"},
        {"wrong type", OneProperty("Count", "\x09"), "Invalid property value"},
        {"bad name", OneProperty("Mode", "\x07\x04smUp"), "Invalid property value"},
        {"no property", OneProperty("Colour", "\x02\x01"), nullptr},
        {"huge count", OneProperty("Text", AnsiString("\x0C\xFF\xFF\xFF\x7F", 5)),
         "Invalid property value"},
        {"wchar range", OneProperty("Letter", AnsiString("\x04\0\0\x01\0", 5)),
         "Invalid property value"},
        {"no end", AnsiString("ZPF1\x0DTStreamSample\x00", 19), "Invalid stream format"},
    };
    for (const Case& c : cases) {
        TStreamSample sample(nullptr);
        try {
            ReadDescription(&sample, c.bytes);
            ADD_FAILURE() << c.what << ": no exception";
        } catch (const EReadError& e) {
            if (c.message) {
                EXPECT_EQ(e.Message(), c.message) << c.what;
            }
        }
        EXPECT_FALSE(sample.HasState(csLoading) || sample.HasState(csReading)) << c.what;
    }
}

TEST(FilerTest, Utf8DecodingReplacesEachBadByte)
{
    struct Case
    {
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"a\xC3\xA9", u"a\u00E9"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\xC3", u"\uFFFD"},           // cut short
        {"\xC0\xAF", u"\uFFFD\uFFFD"}, // overlong
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // beyond U+10FFFF
        {"\xE3\x81x", u"\uFFFD\uFFFDx"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8ToUtf16(c.bytes), c.text) << c.bytes;
    std::string out = "kept";
    EXPECT_FALSE(Utf16ToUtf8(u"\xDC00", out));
    EXPECT_FALSE(Utf16ToUtf8(u"\xD800x", out));
    EXPECT_EQ(out, "kept");
    EXPECT_TRUE(Utf16ToUtf8(u"\U0001F600", out));
    EXPECT_EQ(out, "\xF0\x9F\x98\x80");
}

} // namespace
