#include "editor/RegionFileDisk.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

using testing_support::FileNamesIn;
using testing_support::TempFolder;

namespace {

const char* const kOldList = "[FILE_INFO]\r\nREGION_COUNT=3\r\nCUTPOINT_COUNT=1\r\nEXTRA=1\r\n"
                             "[REGION_0]\r\n[REGION_1]\r\n[REGION_2]\r\nREGION_NAME=old\r\n"
                             "[CUTPOINT]\r\nPOINT_0=000000000001\r\n[MINE]\r\nk=1\r\n";

TRegionListFile OneRegion(const AnsiString& name)
{
    return {"C:\\song.wav", {{name, 1, 2, 1.0, TOutputMode::NoTouch}}, {}};
}

TEST(RegionFileDiskTest, ASaveLeavesNothingOfALongerFile)
{
    TempFolder tmp;
    tmp.WriteFile("song.rgl", kOldList);
    ASSERT_TRUE(SaveRegionListFile(tmp / "song.rgl", OneRegion("new")));
    EXPECT_EQ(tmp.ReadFile("song.rgl"),
              "[FILE_INFO]\r\nWAV_FILE_PATH=C:\\song.wav\r\nREGION_COUNT=1\r\nCUTPOINT_COUNT=0\r\n"
              "\r\n[REGION_0]\r\nREGION_NAME=new\r\nREGION_START=1\r\nREGION_END=2\r\n"
              "REGION_VOL=1\r\nREGION_OUT=NoTouch\r\n");
    const std::optional<TIniContent> back = ReadRegionListFile(tmp / "song.rgl");
    ASSERT_TRUE(back);
    EXPECT_EQ(ReadRegionList(*back).Regions, OneRegion("new").Regions);
}

// A text editor's UTF-8 with its mark: read as UTF-8 into the code page;
// what the code page lacks becomes "_". Without the mark, bytes stay bytes.
TEST(RegionFileDiskTest, AListSavedAsUtf8WithItsMarkReadsInTheCodePage)
{
    struct TCase
    {
        const char* Name;
        AnsiString Head;       // the file's first bytes
        AnsiString RegionName; // in UTF-8, or as it stands
        AnsiString Read;
    };
    const TCase cases[] = {
        {"utf-8", "\xEF\xBB\xBF", "\xE8\xA1\xA8\xE9\x8C\xB2 1", "表録 1"},
        {"lacking characters", "\xEF\xBB\xBF", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC", "_t_ _"},
        {"a sequence cut short", "\xEF\xBB\xBF", "a\xE8\xA1", "a__"}, // each byte
        {"code page", "", "表録", "表録"},
    };
    TempFolder tmp;
    for (const TCase& c : cases) {
        tmp.WriteFile("song.rgl", c.Head + "[FILE_INFO]\r\nWAV_FILE_PATH=C:\\song.wav\r\n" +
                                      "REGION_COUNT=1\r\nCUTPOINT_COUNT=0\r\n[REGION_0]\r\n" +
                                      "REGION_NAME=" + c.RegionName + "\r\nREGION_START=1\r\n" +
                                      "REGION_END=2\r\nREGION_VOL=1\r\nREGION_OUT=NoTouch\r\n");
        const std::optional<TIniContent> read = ReadRegionListFile(tmp / "song.rgl");
        ASSERT_TRUE(read) << c.Name;
        EXPECT_EQ(RegionListWavPath(*read), "C:\\song.wav") << c.Name;
        EXPECT_EQ(ReadRegionList(*read).Regions, OneRegion(c.Read).Regions) << c.Name;
    }
}

TEST(RegionFileDiskTest, AFailedSaveLeavesTheOldFileWhole)
{
    TempFolder tmp;
    tmp.WriteFile("song.rgl", kOldList);
    const AnsiString path = tmp / "song.rgl";
    EXPECT_FALSE(SaveRegionListFile(path, OneRegion("two\r\nlines")));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(SaveRegionListFile(path, OneRegion("new")));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(tmp.ReadFile("song.rgl"), kOldList);
    EXPECT_FALSE(SaveRegionListFile(tmp / "missing\\song.rgl", OneRegion("new")));
    EXPECT_EQ(FileNamesIn(tmp.Path()).size(), 1u); // no temporary file left
}

TEST(RegionFileDiskTest, AMissingFileIsEmptyAndALockedOneUnread)
{
    TempFolder tmp;
    const std::optional<TIniContent> missing = ReadRegionListFile(tmp / "none.rgl");
    ASSERT_TRUE(missing);
    EXPECT_EQ(RegionListWavPath(*missing), "");

    tmp.WriteFile("locked.rgl", kOldList);
    const AnsiString path = tmp / "locked.rgl";
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ReadRegionListFile(path));
    CloseHandle(lock);
}

} // namespace
