#include "classlib/DateTime.h"
#include "classlib/FilePaths.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using testing_support::FileNamesIn;
using testing_support::TempFolder;

namespace {

// "ソ", "表", "能" and "予" end in 0x5C: a byte-wise splitter cuts them.
struct NameCase
{
    const char* in;
    const char* out;
};

void ExpectEach(AnsiString (*f)(const AnsiString&), std::initializer_list<NameCase> cases,
                const char* what)
{
    for (const NameCase& c : cases)
        EXPECT_EQ(f(c.in), c.out) << what << "(" << c.in << ")";
}

TEST(FilePathsTest, NamesSplitOnlyAtRealSeparators)
{
    ExpectEach(ExtractFilePath,
               {{"C:\\表\\ソ.wav", "C:\\表\\"},
                {"C:\\ソ", "C:\\"},
                {"ソ", ""},
                {"予定表", ""},
                {"表\\能", "表\\"},
                {"C:ソ", "C:"},
                {"", ""},
                {"\\\\srv\\share\\f", "\\\\srv\\share\\"}},
               "ExtractFilePath");
    ExpectEach(ExtractFileName,
               {{"C:\\表\\ソ.wav", "ソ.wav"},
                {"C:\\ソ", "ソ"},
                {"表", "表"},
                {"C:予", "予"},
                {"C:\\dir\\", ""}},
               "ExtractFileName");
    ExpectEach(ExtractFileDir,
               {{"C:\\表\\ソ.wav", "C:\\表"},
                {"C:\\ソ", "C:\\"},
                {"C:\\", "C:\\"},
                {"\\ソ", "\\"},
                {"ソ", ""},
                {"a\\b\\", "a\\b"}},
               "ExtractFileDir");
    ExpectEach(ExtractFileExt,
               {{"表.wav", ".wav"},
                {"C:\\表\\ソ.WAV", ".WAV"},
                {"a.b\\表", ""},
                {"ソ", ""},
                {"x.tar.gz", ".gz"},
                {"C:\\a.dir\\ソ", ""},
                {"name.", "."}},
               "ExtractFileExt");
    ExpectEach(ExtractFileDrive,
               {{"C:\\x", "C:"},
                {"\\\\srv\\share\\x", "\\\\srv\\share"},
                {"\\\\srv\\ソ\\x", "\\\\srv\\ソ"},
                {"\\\\srv", "\\\\srv"},
                {"表\\x", ""},
                {"\\x", ""}},
               "ExtractFileDrive");
    ExpectEach(IncludeTrailingBackslash,
               {{"C:\\ソ", "C:\\ソ\\"}, {"C:\\表\\", "C:\\表\\"}, {"ソ\\", "ソ\\"}, {"", "\\"}},
               "IncludeTrailingBackslash");
    ExpectEach(ExcludeTrailingBackslash,
               {{"C:\\ソ", "C:\\ソ"}, {"C:\\ソ\\", "C:\\ソ"}, {"C:\\", "C:"}, {"", ""}},
               "ExcludeTrailingBackslash");
}

TEST(FilePathsTest, ChangeFileExtReplacesOrAppends)
{
    EXPECT_EQ(ChangeFileExt("C:\\表\\ソ.wav", ".dwd"), "C:\\表\\ソ.dwd");
    EXPECT_EQ(ChangeFileExt("C:\\ソ", ".ini"), "C:\\ソ.ini");
    EXPECT_EQ(ChangeFileExt("C:\\prog\\zandrel.exe", ".ini"), "C:\\prog\\zandrel.ini");
    EXPECT_EQ(ChangeFileExt("a.b\\c", ".x"), "a.b\\c.x");
    EXPECT_EQ(ChangeFileExt("take.1.wav", ""), "take.1");
}

TEST(FilePathsTest, ExpandFileNameResolvesAgainstTheCurrentFolder)
{
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(ExpandFileName("a\\..\\ソ.wav"), IncludeTrailingBackslash(current) + "ソ.wav");
    EXPECT_EQ(ExpandFileName("C:\\x\\.\\y"), "C:\\x\\y");
    EXPECT_EQ(ExpandFileName(""), "");
}

TEST(FilePathsTest, FoldersAreMadeAndRemovedThroughTrailByteNames)
{
    TempFolder tmp;
    AnsiString deep = tmp / "ソ\\能\\予";
    EXPECT_TRUE(ForceDirectories(deep + "\\"));
    EXPECT_TRUE(DirectoryExists(tmp / "ソ"));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_EQ(FileNamesIn(tmp.Path()), std::vector<AnsiString>{"ソ"}); // no stray folder "\x83"
    EXPECT_TRUE(ForceDirectories(deep));                               // already there
    EXPECT_FALSE(FileExists(deep));

    EXPECT_TRUE(CreateDir(tmp / "表"));
    EXPECT_FALSE(CreateDir(tmp / "表")); // exists
    EXPECT_FALSE(CreateDir(tmp / "no\\such"));
    EXPECT_FALSE(ForceDirectories(""));

    tmp.WriteFile("ソ\\file", "x");
    EXPECT_FALSE(RemoveDir(tmp / "ソ")); // not empty
    EXPECT_TRUE(RemoveDir(deep));
    EXPECT_FALSE(DirectoryExists(deep));

    // A file in the way stops ForceDirectories.
    EXPECT_FALSE(ForceDirectories(tmp / "ソ\\file\\sub"));
}

TEST(FilePathsTest, FilesAreFoundSizedDatedRenamedAndDeleted)
{
    TempFolder tmp;
    tmp.WriteFile("表.wav", "12345");
    AnsiString name = tmp / "表.wav";
    EXPECT_TRUE(FileExists(name));
    EXPECT_FALSE(DirectoryExists(name));
    EXPECT_FALSE(FileExists(tmp.Path()));
    EXPECT_FALSE(FileExists(""));
    EXPECT_EQ(FileSizeOf(name), 5);
    EXPECT_EQ(FileSizeOf(tmp / "missing"), -1);
    EXPECT_EQ(FileSizeOf(tmp.Path()), -1);

    TDateTime age = 0;
    ASSERT_TRUE(FileAge(name, age));
    EXPECT_LT(std::fabs(age - Now()) * SecsPerDay, 60.0);
    EXPECT_FALSE(FileAge(tmp / "missing", age));

    tmp.WriteFile("other", "");
    EXPECT_FALSE(RenameFile(name, tmp / "other")); // the target exists
    EXPECT_TRUE(RenameFile(name, tmp / "ソ.wav"));
    EXPECT_FALSE(FileExists(name));
    EXPECT_EQ(tmp.ReadFile("ソ.wav"), "12345");

    EXPECT_TRUE(DeleteFile(tmp / "ソ.wav"));
    EXPECT_FALSE(DeleteFile(tmp / "ソ.wav"));
    EXPECT_FALSE(FileExists(tmp / "ソ.wav"));
}

} // namespace
