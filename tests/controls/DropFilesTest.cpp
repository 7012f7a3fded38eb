#include "controls/DropFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<AnsiString>;
using WideNames = std::vector<std::u16string>;

// Code page 932 as far as these tests need it: ASCII, and U+4E00 ("一").
// (U+00E9 and U+00E8, which it lacks, are written as escapes: the test
// macros quote their arguments in code page 932.)
std::optional<AnsiString> TestToAnsi(const std::u16string& wide)
{
    AnsiString ansi;
    for (char16_t c : wide) {
        if (c < 0x80)
            ansi += static_cast<char>(c);
        else if (c == u'一')
            ansi += "\x88\xEA";
        else
            return std::nullopt;
    }
    return ansi;
}

void Put32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

Bytes AnsiList(const Names& names, bool finalEmpty = true)
{
    Bytes bytes;
    for (const AnsiString& name : names) {
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.push_back(0);
    }
    if (finalEmpty)
        bytes.push_back(0);
    return bytes;
}

Bytes WideList(const WideNames& names, bool finalEmpty = true)
{
    Bytes bytes;
    auto unit = [&](char16_t c) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    };
    for (const std::u16string& name : names) {
        for (char16_t c : name)
            unit(c);
        unit(0);
    }
    if (finalEmpty)
        unit(0);
    return bytes;
}

// A DROPFILES block: the header, gap bytes of padding, then the list.
Bytes Block(const Bytes& list, bool wide, std::size_t gap = 0)
{
    Bytes bytes(kDropFilesHeaderBytes + gap, 0xCC);
    Put32(bytes, 0, static_cast<std::uint32_t>(bytes.size()));
    for (std::size_t i = 4; i < kDropFilesHeaderBytes; ++i)
        bytes[i] = 0;
    Put32(bytes, 16, wide ? 1 : 0);
    bytes.insert(bytes.end(), list.begin(), list.end());
    return bytes;
}

TDropNames ReadBlock(const Bytes& bytes)
{
    TMemoryByteSource source(bytes.data(), bytes.size());
    return ReadDropFileBlock(source, TestToAnsi);
}

TEST(DropFilesTest, WellFormedBlocksGiveTheirNames)
{
    const Names ansi = {"C:\\a.wav", "C:\\表\\ソ.rgl"};
    EXPECT_EQ(ReadBlock(Block(AnsiList(ansi), false)).Names, ansi);

    // The second name begins with a unit whose low byte is zero; the list
    // starts at an odd offset.
    const TDropNames wide = ReadBlock(Block(WideList({u"C:\\A.wav", u"一.wav"}), true, 1));
    EXPECT_EQ(wide.Names, (Names{"C:\\A.wav", "\x88\xEA.wav"}));
    EXPECT_TRUE(wide.Lost.empty());

    EXPECT_EQ(ReadBlock(Block(AnsiList({}), false)).Count(), 0u);
}

TEST(DropFilesTest, WideNamesTheCodePageCannotHoldAreKeptApart)
{
    const TDropNames names = ReadBlock(Block(WideList({u"A.wav", u"\u00e9.wav", u"一.wav"}), true));
    EXPECT_EQ(names.Names, (Names{"A.wav", "\x88\xEA.wav"}));
    EXPECT_EQ(names.Lost, (WideNames{u"\u00e9.wav"}));
    EXPECT_EQ(names.Count(), 3u);
}

TEST(DropFilesTest, BlocksThatDoNotHoldAWholeListGiveNoNames)
{
    Bytes strayOffset = Block(AnsiList({"a.wav"}), false);
    Put32(strayOffset, 0, 0x7FFFFFF0);
    Bytes offsetInHeader = Block(AnsiList({"a.wav"}), false);
    Put32(offsetInHeader, 0, 4);
    Bytes offsetAtEnd = Block(AnsiList({"a.wav"}), false);
    Put32(offsetAtEnd, 0, static_cast<std::uint32_t>(offsetAtEnd.size()));
    Bytes oddWideEnd = Block(WideList({u"a.wav"}, false), true);
    oddWideEnd.push_back(0); // half of the empty name
    struct Case
    {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"shorter than the header", Bytes(19, 0)},
        {"offset beyond the block", strayOffset},
        {"offset inside the header", offsetInHeader},
        {"offset at the end", offsetAtEnd},
        {"no final empty name", Block(AnsiList({"a.wav", "b.wav"}, false), false)},
        {"name cut off", Block(Bytes{'a', '.', 'w'}, false)},
        {"no final empty wide name", Block(WideList({u"a.wav"}, false), true)},
        {"wide list ending in half a unit", oddWideEnd},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadBlock(c.bytes).Count(), 0u) << c.name;
}

TEST(DropFilesTest, NameMapsAreListsWithoutAHeader)
{
    const Bytes wide = WideList({u"x.wav", u"\u00e9.wav"});
    TMemoryByteSource wideSource(wide.data(), wide.size());
    const TDropNames map = ReadDropNameMap(wideSource, true, TestToAnsi);
    EXPECT_EQ(map.Names, (Names{"x.wav"}));
    EXPECT_EQ(map.Count(), 2u);

    const Bytes ansi = AnsiList({"y.wav"}, false);
    TMemoryByteSource ansiSource(ansi.data(), ansi.size());
    EXPECT_EQ(ReadDropNameMap(ansiSource, false, TestToAnsi).Count(), 0u);
}

TEST(DropFilesTest, TheReportNamesAtMostTenFiles)
{
    const std::u16string sentence =
        u"次のファイルは、名前に Shift-JIS で表せない文字が含まれているため読み込めません。";
    EXPECT_EQ(LostDropNamesReport({u"\u00e9.wav"}), sentence + u"\r\n\u00e9.wav");
    WideNames twelve;
    for (char16_t c = u'a'; c < u'a' + 12; ++c)
        twelve.push_back(std::u16string(1, c) + u"\u00e9");
    const std::u16string report = LostDropNamesReport(twelve);
    EXPECT_NE(report.find(u"\r\nj\u00e9"), std::u16string::npos);
    EXPECT_EQ(report.find(u"k\u00e8"), std::u16string::npos);
    EXPECT_EQ(report.substr(report.size() - 8), u"\r\nほか 2 件");
}

} // namespace
