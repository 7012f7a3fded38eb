#include "classlib/IniContent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<AnsiString>;

TIniContent IniOf(const AnsiString& text)
{
    TIniContent ini;
    ini.ParseText(text);
    return ini;
}

TEST(IniContentTest, NamesFoldOnlyTheirOwnAsciiLetters)
{
    // "ア" is 83 41 and "ヂ" is 83 61: the same bytes but for the case of a
    // trail byte, which is no letter.
    TIniContent ini = IniOf("[ア]\r\nkey=1\r\nアa=2\r\n[ヂ]\r\nkey=3\r\n");
    struct Case
    {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"ア", "KEY", "1"},
        {"ヂ", "Key", "3"},
        {" ア ", "アA", "2"},
        {"ア", "ヂa", "?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "?"), c.value) << c.section << " " << c.key;
    EXPECT_EQ(ini.SectionNames(), (Names{"ア", "ヂ"}));
}

TEST(IniContentTest, LookupsFollowEveryChangeOfTheSections)
{
    TIniContent ini = IniOf("[A]\r\nk=a1\r\n[B]\r\nk=b\r\n[a]\r\nk=a2\r\n[C]\r\nk=c\r\n");
    ini.EraseSection("a"); // both sections named A go; B and C move up
    EXPECT_EQ(ini.SectionNames(), (Names{"B", "C"}));
    EXPECT_EQ(ini.ReadString("C", "k", "?"), "c");
    EXPECT_EQ(ini.ReadString("A", "k", "?"), "?");

    ASSERT_TRUE(ini.WriteString("A", "k", "new"));
    ASSERT_TRUE(ini.WriteString("c", "K", "changed"));
    EXPECT_EQ(ini.ReadString("a", "k", "?"), "new");
    EXPECT_EQ(ini.Text(), "[B]\r\nk=b\r\n\r\n[C]\r\nk=changed\r\n\r\n[A]\r\nk=new\r\n");

    ini.Clear();
    EXPECT_FALSE(ini.SectionExists("B"));
    ASSERT_TRUE(ini.WriteInteger("B", "n", 7));
    EXPECT_EQ(ini.Text(), "[B]\r\nn=7\r\n");
}

TEST(IniContentTest, LookupsFollowEveryChangeOfTheKeys)
{
    TIniContent ini = IniOf("[S]\r\nx=1\r\n; note\r\ny=2\r\nX=3\r\nz=4\r\n");
    EXPECT_EQ(ini.KeyNames("s"), (Names{"x", "y", "z"}));
    ini.DeleteKey("S", "X"); // both copies
    EXPECT_FALSE(ini.ValueExists("S", "x"));
    EXPECT_EQ(ini.ReadString("S", "z", "?"), "4"); // found after the lines moved
    ASSERT_TRUE(ini.WriteString("S", "x", "5"));
    EXPECT_EQ(ini.KeyNames("S"), (Names{"y", "z", "x"}));
    EXPECT_EQ(ini.Text(), "[S]\r\n; note\r\ny=2\r\nz=4\r\nx=5\r\n");
}

TEST(IniContentTest, RefusedWritesChangeNothing)
{
    TIniContent ini = IniOf("[S]\r\nk=v\r\n");
    EXPECT_FALSE(ini.WriteString("S", "k", "a\r\nb"));
    EXPECT_FALSE(ini.WriteString("New", "a=b", "v"));
    EXPECT_FALSE(ini.WriteInteger("Bad]\n", "k", 1));
    EXPECT_FALSE(ini.WriteString("S\n", "k", "x")); // though "S" is there
    EXPECT_FALSE(ini.WriteString("S", "[k", "v]"));
    EXPECT_EQ(ini.Text(), "[S]\r\nk=v\r\n");
}

TEST(IniContentTest, ASectionWhoseNameCouldNotBeWrittenBackIsNone)
{
    // Trimmed, the name would end in a lead byte (0x88) that takes the "]".
    TIniContent ini = IniOf("[A]\r\n[x\x88 ]\r\nk=1\r\n");
    EXPECT_EQ(ini.SectionNames(), Names{"A"});
    EXPECT_EQ(ini.ReadString("A", "k", "?"), "1");
    EXPECT_EQ(IniOf(ini.Text()).Text(), ini.Text());
}

// A source whose reads stop short, as a file cut while it is read.
class ShortSource : public TByteSource
{
public:
    std::uint64_t Size() const override { return 100; }
    std::size_t ReadAt(std::uint64_t, void*, std::size_t count) override { return count / 2; }
};

TEST(IniContentTest, ASourceThatCannotBeReadWholeGivesNoContent)
{
    TIniContent ini = IniOf("[Old]\r\nk=1\r\n");
    ShortSource source;
    EXPECT_FALSE(ini.Parse(source));
    EXPECT_EQ(ini.Text(), "");
}

} // namespace
