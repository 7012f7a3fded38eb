#include "classlib/Exceptions.h"
#include "classlib/IniFile.h"
#include "classlib/StringList.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <vector>
#include <windows.h>

using testing_support::FileNamesIn;
using testing_support::TempFolder;

namespace {

using Lines = std::vector<AnsiString>;

Lines Items(const TStrings& list)
{
    Lines items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.Strings(i));
    return items;
}

const char* const kSettings = "; written by hand\r\n"
                              "junk before any section\r\n"
                              "\r\n"
                              "[Known]\r\n"
                              "  Key = value with \"quotes\" and 'more'  \r\n"
                              "表=ソ\\\r\n"
                              "path=C:\\予定表\\能.wav\r\n"
                              ";comment in a section\r\n"
                              "not a pair\r\n"
                              "\r\n"
                              "[Unknown Section]\n"
                              "x=1\n"
                              "X=2\r"
                              "[ゾ\r"
                              "[known]\r\n"
                              "dup=second\r\n";

TEST(IniFileTest, RoundTripKeepsUnknownContentAndRawBytes)
{
    TempFolder tmp;
    tmp.WriteFile("zandrel.ini", kSettings);
    {
        TIniFile ini(tmp / "zandrel.ini");
        EXPECT_EQ(ini.ReadString("KNOWN", "key", "?"), "value with \"quotes\" and 'more'");
        EXPECT_EQ(ini.ReadString("Known", "表", "?"), "ソ\\");
        EXPECT_EQ(ini.ReadString("Known", "PATH", "?"), "C:\\予定表\\能.wav");
        EXPECT_EQ(ini.ReadString("unknown section", "x", "?"), "1"); // the first key wins
        EXPECT_EQ(ini.ReadString("Known", "dup", "?"), "?");         // the first section wins
        TStringList sections;
        ini.ReadSections(&sections); // "[ゾ" ends in the byte 0x5D but is no section
        EXPECT_EQ(Items(sections), (Lines{"Known", "Unknown Section"}));
        ini.WriteString("Known", "New", "n");
        ini.WriteString("Known", "KEY", "changed");
        ini.WriteString("Added", "a", "能\\");
        ini.UpdateFile();
    }
    const char* expected = "; written by hand\r\n"
                           "junk before any section\r\n"
                           "\r\n"
                           "[Known]\r\n"
                           "Key=changed\r\n"
                           "表=ソ\\\r\n"
                           "path=C:\\予定表\\能.wav\r\n"
                           ";comment in a section\r\n"
                           "not a pair\r\n"
                           "New=n\r\n"
                           "\r\n"
                           "[Unknown Section]\r\n"
                           "x=1\r\n"
                           "X=2\r\n"
                           "[ゾ\r\n"
                           "\r\n"
                           "[known]\r\n"
                           "dup=second\r\n"
                           "\r\n"
                           "[Added]\r\n"
                           "a=能\\\r\n";
    EXPECT_EQ(tmp.ReadFile("zandrel.ini"), expected);
    TIniFile again(tmp / "zandrel.ini");
    EXPECT_EQ(again.FileText(), expected);
    EXPECT_EQ(again.ReadString("added", "A", "?"), "能\\");
}

TEST(IniFileTest, NothingIsWrittenBeforeUpdateFile)
{
    TempFolder tmp;
    AnsiString path = tmp / "new.ini";
    TIniFile ini(path); // missing: empty
    EXPECT_EQ(ini.ReadString("A", "b", "default"), "default");
    EXPECT_FALSE(ini.SectionExists("A"));
    ini.WriteInteger("A", "b", 5);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    ini.UpdateFile();
    EXPECT_EQ(tmp.ReadFile("new.ini"), "[A]\r\nb=5\r\n");
    EXPECT_EQ(FileNamesIn(tmp.Path()), Lines{"new.ini"}); // no temporary file left behind
}

TEST(IniFileTest, IntegersBooleansAndFloatsReadWithDefaults)
{
    TempFolder tmp;
    tmp.WriteFile("v.ini", "[V]\r\n"
                           "dec=12\r\nneg=-5\r\nplus=+7\r\nhex=$FF\r\nhex2=0x10\r\nempty=\r\n"
                           "text=abc\r\nbig=2147483648\r\nsmall=-2147483649\r\nfrac=1.5\r\n"
                           "colour=-2147483633\r\nspaced=  42  \r\nmax=2147483647\r\n"
                           "f1=0.5\r\nf2=1e3\r\nf3=1,5\r\nf4=inf\r\nf5=nan\r\nf6=-2.25\r\n");
    TIniFile ini(tmp / "v.ini");
    struct IntCase
    {
        const char* key;
        int value;
    };
    const IntCase ints[] = {
        {"dec", 12},
        {"neg", -5},
        {"plus", 7},
        {"hex", 255},
        {"hex2", 16},
        {"empty", -99},
        {"text", -99},
        {"big", -99},
        {"small", -99},
        {"frac", -99},
        {"colour", -2147483633},
        {"spaced", 42},
        {"max", 2147483647},
        {"missing", -99},
    };
    for (const IntCase& c : ints)
        EXPECT_EQ(ini.ReadInteger("v", c.key, -99), c.value) << c.key;

    EXPECT_TRUE(ini.ReadBool("V", "dec", false));
    EXPECT_TRUE(ini.ReadBool("V", "neg", false));
    EXPECT_FALSE(ini.ReadBool("V", "text", false)); // garbage: the default
    EXPECT_TRUE(ini.ReadBool("V", "empty", true));
    ini.WriteBool("V", "on", true);
    ini.WriteBool("V", "off", false);
    EXPECT_EQ(ini.ReadString("V", "on", ""), "1");
    EXPECT_EQ(ini.ReadString("V", "off", ""), "0");
    EXPECT_FALSE(ini.ReadBool("V", "off", true));
    EXPECT_EQ(ini.ReadString("V", "empty", "default"), ""); // present but empty

    EXPECT_EQ(ini.ReadFloat("V", "f1", -1), 0.5);
    EXPECT_EQ(ini.ReadFloat("V", "f2", -1), 1000);
    EXPECT_EQ(ini.ReadFloat("V", "f3", -1), -1); // "." only
    EXPECT_EQ(ini.ReadFloat("V", "f4", -1), -1);
    EXPECT_EQ(ini.ReadFloat("V", "f5", -1), -1);
    EXPECT_EQ(ini.ReadFloat("V", "f6", -1), -2.25);
    for (double v : {1.0, 0.5, 1.005, 1.0 / 3, 0.1 + 0.2, -7e-12}) {
        ini.WriteFloat("F", "v", v);
        EXPECT_EQ(ini.ReadFloat("F", "v", -1), v) << ini.ReadString("F", "v", "");
    }
    ini.WriteFloat("F", "one", 1.0);
    ini.WriteFloat("F", "half", 0.5);
    EXPECT_EQ(ini.ReadString("F", "one", ""), "1");
    EXPECT_EQ(ini.ReadString("F", "half", ""), "0.5");
}

TEST(IniFileTest, SectionListsAndErasing)
{
    TempFolder tmp;
    tmp.WriteFile("s.ini", "[A]\r\nk1= one \r\nK1=dup\r\nk2=two\r\n[Empty]\r\n[B]\r\nz=1\r\n"
                           "[a]\r\nhidden=1\r\n");
    TIniFile ini(tmp / "s.ini");
    TStringList list;
    list.Add("stale");
    ini.ReadSections(&list);
    EXPECT_EQ(Items(list), (Lines{"A", "Empty", "B"}));
    ini.ReadSection("a", &list);
    EXPECT_EQ(Items(list), (Lines{"k1", "k2"}));
    ini.ReadSectionValues("A", &list);
    EXPECT_EQ(Items(list), (Lines{"k1=one", "k2=two"}));
    ini.ReadSection("none", &list);
    EXPECT_EQ(list.Count(), 0);

    EXPECT_TRUE(ini.SectionExists("empty"));
    EXPECT_TRUE(ini.ValueExists("A", "K2"));
    EXPECT_FALSE(ini.ValueExists("A", "hidden"));
    EXPECT_FALSE(ini.ValueExists("Empty", "k1"));

    ini.DeleteKey("A", "k1"); // every copy goes, so none shows through
    EXPECT_EQ(ini.ReadString("A", "k1", "gone"), "gone");
    ini.EraseSection("A"); // both sections named A
    EXPECT_FALSE(ini.SectionExists("a"));
    ini.ReadSections(&list);
    EXPECT_EQ(Items(list), (Lines{"Empty", "B"}));
    EXPECT_EQ(ini.FileText(), "[Empty]\r\n\r\n[B]\r\nz=1\r\n");

    ini.Clear(); // as a region-list save starts
    ini.WriteString("FILE_INFO", "REGION_COUNT", "0");
    ini.UpdateFile();
    EXPECT_EQ(tmp.ReadFile("s.ini"), "[FILE_INFO]\r\nREGION_COUNT=0\r\n");
}

TEST(IniFileTest, WritesThatCouldNotReadBackAreRefused)
{
    TIniFile ini("");
    ini.WriteString("S", "k", "v");
    const AnsiString before = ini.FileText();
    struct Case
    {
        const char* section;
        const char* ident;
        const char* value;
    };
    const Case refused[] = {
        {"S", "k", "two\r\nlines"}, {"S", "k", "[x]\n"}, {"S\n", "k", "v"}, {"S", "a=b", "v"},
        {"S", ";k", "v"},           {"S", "[k", "v]"},   {"S", "k\r", "v"},
    };
    for (const Case& c : refused)
        EXPECT_THROW(ini.WriteString(c.section, c.ident, c.value), EIniFileException)
            << c.ident << " " << c.value;
    EXPECT_EQ(ini.FileText(), before);

    // Odd but faithful texts are kept as they are.
    ini.WriteString("S", "q", "\"quoted\" ;not a comment");
    ini.WriteString("ゾ", "ゾ", "ゾ]");
    ini.WriteString("S", "", "empty key");
    EXPECT_EQ(ini.ReadString("S", "q", ""), "\"quoted\" ;not a comment");
    EXPECT_EQ(ini.ReadString("ゾ", "ゾ", ""), "ゾ]");
    EXPECT_EQ(ini.ReadString("S", "", ""), "empty key");
    EXPECT_THROW(ini.UpdateFile(), EIniFileException); // no file name
}

TEST(IniFileTest, FailedWritesRaiseAndLeaveTheOldFile)
{
    TempFolder tmp;
    // A folder where the file should be.
    ASSERT_TRUE(CreateDirectoryA((tmp / "dir.ini").c_str(), nullptr));
    {
        TIniFile ini(tmp / "dir.ini");
        ini.WriteString("A", "b", "c");
        EXPECT_THROW(ini.UpdateFile(), EIniFileException);
    }
    EXPECT_EQ(FileNamesIn(tmp.Path()), Lines{"dir.ini"});

    // A folder that does not exist.
    {
        TIniFile ini(tmp / "missing\\x.ini");
        ini.WriteString("A", "b", "c");
        try {
            ini.UpdateFile();
            FAIL();
        } catch (const EIniFileException& e) {
            EXPECT_NE(e.Message().find("missing\\x.ini"), AnsiString::npos) << e.Message();
        }
    }

    // A file that is read-only keeps its old content.
    tmp.WriteFile("ro.ini", "[Old]\r\nk=1\r\n");
    AnsiString readOnly = tmp / "ro.ini";
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        TIniFile ini(readOnly);
        ini.WriteString("New", "k", "2");
        EXPECT_THROW(ini.UpdateFile(), EIniFileException);
    }
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(tmp.ReadFile("ro.ini"), "[Old]\r\nk=1\r\n");
    EXPECT_EQ(FileNamesIn(tmp.Path()).size(), 2u);
}

TEST(IniFileTest, AFileThatCannotBeReadIsNotTakenForEmpty)
{
    TempFolder tmp;
    tmp.WriteFile("locked.ini", "[Keep]\r\nk=1\r\n");
    AnsiString path = tmp / "locked.ini";
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_THROW(TIniFile ini(path), EIniFileException);
    CloseHandle(lock);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("keep", "K", 0), 1);
}

} // namespace
