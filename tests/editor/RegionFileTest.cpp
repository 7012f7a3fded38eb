#include "editor/RegionFile.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using Texts = std::vector<AnsiString>;

TRegionFileRead ReadText(const AnsiString& text)
{
    TIniContent ini;
    ini.ParseText(text);
    return ReadRegionList(ini);
}

AnsiString WrittenText(const TRegionListFile& list)
{
    TIniContent ini;
    EXPECT_TRUE(WriteRegionList(ini, list));
    return ini.Text();
}

const char* const kRegion0 = "[REGION_0]\r\nREGION_NAME=a\r\nREGION_START=0\r\nREGION_END=10\r\n"
                             "REGION_VOL=1\r\nREGION_OUT=NoTouch\r\n";

TEST(RegionFileTest, WritesTheFileAsTheProgramAlwaysHas)
{
    TRegionListFile list;
    list.WavPath = "C:\\録音\\表.wav";
    list.Regions = {{"表_01", 0, 44100, 0.5, TOutputMode::Swap}};
    list.CutBars = {"000000000005"};
    EXPECT_EQ(WrittenText(list),
              "[FILE_INFO]\r\nWAV_FILE_PATH=C:\\録音\\表.wav\r\nREGION_COUNT=1\r\n"
              "CUTPOINT_COUNT=1\r\n\r\n"
              "[REGION_0]\r\nREGION_NAME=表_01\r\nREGION_START=0\r\n"
              "REGION_END=44100\r\nREGION_VOL=0.5\r\nREGION_OUT=Swap\r\n\r\n"
              "[CUTPOINT]\r\nPOINT_0=000000000005\r\n");
    list.CutBars.clear(); // no CUTPOINT section without cut bars
    EXPECT_EQ(WrittenText(list).find("CUTPOINT]"), AnsiString::npos);
}

TEST(RegionFileTest, RegionsAndCutBarsComeBackAsSaved)
{
    TRegionListFile list;
    list.WavPath = "D:\\ソ\\能.wav";
    list.Regions = {
        {"ソ\\能", 100, 200, 0.5, TOutputMode::MonoMix},  // trail bytes 0x5C
        {"Intro", 0, 50, 1.0, TOutputMode::NoTouch},      // not in start order
        {"表 と 予", 7, 7, 1.005, TOutputMode::MonoLeft}, // empty range
        {"NULL", 500, 100, 0.0, TOutputMode::MonoRight},  // a name, not a gap
        {"", 1, 2, 2.75, TOutputMode::Swap},
    };
    list.CutBars = {"000000000000", "000000000099", "000000000099", "002147483647"};
    const TRegionFileRead read = ReadText(WrittenText(list));
    EXPECT_EQ(read.Verdict, TRegionFileVerdict::Loaded);
    EXPECT_EQ(read.Regions, list.Regions);
    EXPECT_EQ(read.CutBars, list.CutBars);

    TIniContent ini;
    ini.ParseText(WrittenText(list));
    EXPECT_EQ(RegionListWavPath(ini), list.WavPath);
    EXPECT_EQ(RegionListRegionCount(ini), 5);
}

TEST(RegionFileTest, OutputModesMatchByCaseAndRecordsAreTakenAsTheyStand)
{
    struct Case
    {
        const char* out;
        TOutputMode mode;
    };
    const Case modes[] = {
        {"Swap", TOutputMode::Swap},
        {"swap", TOutputMode::NoTouch},
        {"MONOMIX", TOutputMode::NoTouch},
        {"3", TOutputMode::NoTouch},
    };
    for (const Case& c : modes) {
        const TRegionFileRead read =
            ReadText("[FILE_INFO]\r\nREGION_COUNT=1\r\n[region_0]\r\nregion_name=x\r\n"
                     "REGION_START=5\r\nREGION_END=1\r\nREGION_VOL=-0.5\r\nREGION_OUT=" +
                     AnsiString(c.out) + "\r\n");
        ASSERT_EQ(read.Verdict, TRegionFileVerdict::Loaded) << c.out;
        EXPECT_EQ(read.Regions.at(0), (TRegionRecord{"x", 5, 1, -0.5, c.mode})) << c.out;
    }
}

TEST(RegionFileTest, BrokenFilesAreToldApart)
{
    struct Case
    {
        const char* name;
        AnsiString text;
        TRegionFileVerdict verdict;
        size_t regions;
        Texts cutBars;
    };
    const AnsiString counts = "[FILE_INFO]\r\nREGION_COUNT=1\r\nCUTPOINT_COUNT=3\r\n";
    const AnsiString region0 = kRegion0;
    auto withRegionLine = [&](const AnsiString& from, const AnsiString& to) {
        AnsiString text = counts + region0;
        return text.replace(text.find(from), from.size(), to);
    };
    auto withPoints = [&](const AnsiString& points) {
        return counts + region0 + "[CUTPOINT]\r\n" + points;
    };
    using V = TRegionFileVerdict;
    const Case cases[] = {
        {"no counts", "[FILE_INFO]\r\nWAV_FILE_PATH=x.wav\r\n", V::BrokenCounts, 0, {}},
        {"counts not numbers",
         "[FILE_INFO]\r\nREGION_COUNT=a\r\nCUTPOINT_COUNT=\r\n",
         V::BrokenCounts,
         0,
         {}},
        // A count there but unreadable is no empty list, whatever the other.
        {"count in words",
         "[FILE_INFO]\r\nREGION_COUNT=3 regions\r\nCUTPOINT_COUNT=0\r\n" + region0,
         V::BrokenCounts,
         0,
         {}},
        {"count beyond 32 bits",
         "[FILE_INFO]\r\nREGION_COUNT=99999999999999\r\nCUTPOINT_COUNT=0\r\n" + region0,
         V::BrokenCounts,
         0,
         {}},
        {"count empty",
         "[FILE_INFO]\r\nREGION_COUNT=1\r\nCUTPOINT_COUNT=\r\n" + region0,
         V::BrokenCounts,
         0,
         {}},
        {"cut point count a fraction",
         "[FILE_INFO]\r\nREGION_COUNT=1\r\nCUTPOINT_COUNT=1.0\r\n" + region0,
         V::BrokenCounts,
         0,
         {}},
        {"zero counts", "[FILE_INFO]\r\nREGION_COUNT=0\r\nCUTPOINT_COUNT=0\r\n", V::Loaded, 0, {}},
        {"counts signed or hexadecimal",
         "[FILE_INFO]\r\nREGION_COUNT=+1\r\nCUTPOINT_COUNT=0x0\r\n" + region0,
         V::Loaded,
         1,
         {}},
        // A missing count reads as 0 while nothing of its kind is there;
        // a count short of what is there would lose the rest at a save.
        {"only cut points counted", "[FILE_INFO]\r\nCUTPOINT_COUNT=0\r\n", V::Loaded, 0, {}},
        {"only regions counted",
         "[FILE_INFO]\r\nREGION_COUNT=1\r\n" + region0 + "[CUTPOINT]\r\n",
         V::Loaded,
         1,
         {}},
        {"region count missing, a region there",
         "[FILE_INFO]\r\nCUTPOINT_COUNT=0\r\n" + region0,
         V::BrokenRegion,
         0,
         {}},
        {"region count 0, a region there",
         "[FILE_INFO]\r\nREGION_COUNT=0\r\nCUTPOINT_COUNT=0\r\n" + region0,
         V::BrokenRegion,
         0,
         {}},
        {"region count short of the sections",
         "[FILE_INFO]\r\nREGION_COUNT=1\r\nCUTPOINT_COUNT=1\r\n" + region0 + "[REGION_1]\r\n" +
             "[CUTPOINT]\r\nPOINT_0=4\r\n",
         V::BrokenRegion,
         0,
         {}},
        {"cut point count missing, a point there",
         "[FILE_INFO]\r\nREGION_COUNT=1\r\n" + region0 + "[CUTPOINT]\r\nPOINT_0=4\r\n",
         V::BrokenCutPoint,
         1,
         {}},
        {"negative counts",
         "[FILE_INFO]\r\nREGION_COUNT=-5\r\nCUTPOINT_COUNT=-1\r\n",
         V::BrokenCounts,
         0,
         {}},
        {"one count negative",
         "[FILE_INFO]\r\nREGION_COUNT=1\r\nCUTPOINT_COUNT=-1\r\n" + region0,
         V::BrokenCounts,
         0,
         {}},
        {"huge count, one region",
         "[FILE_INFO]\r\nREGION_COUNT=2000000000\r\n" + region0,
         V::BrokenRegion,
         0,
         {}},
        {"no name key", withRegionLine("REGION_NAME=a\r\n", ""), V::BrokenRegion, 0, {}},
        {"start -1", withRegionLine("START=0", "START=-1"), V::BrokenRegion, 0, {}},
        {"end not a number", withRegionLine("END=10", "END=1O"), V::BrokenRegion, 0, {}},
        {"volume -1", withRegionLine("VOL=1", "VOL=-1"), V::BrokenRegion, 0, {}},
        {"volume with a comma", withRegionLine("VOL=1", "VOL=0,5"), V::BrokenRegion, 0, {}},
        {"volume not finite", withRegionLine("VOL=1", "VOL=nan"), V::BrokenRegion, 0, {}},
        {"out NULL", withRegionLine("NoTouch", "NULL"), V::BrokenRegion, 0, {}},
        {"cut points whole",
         withPoints("POINT_0=9\r\nPOINT_1=000000000003\r\nPOINT_2= 7 \r\n"),
         V::Loaded,
         1,
         {"000000000003", "000000000007", "000000000009"}},
        {"cut point missing",
         withPoints("POINT_0=9\r\nPOINT_1=3\r\n"),
         V::BrokenCutPoint,
         1,
         {"000000000003", "000000000009"}},
        {"cut point count short of the points",
         withPoints("POINT_0=9\r\nPOINT_1=3\r\nPOINT_2=5\r\nPOINT_3=1\r\n"),
         V::BrokenCutPoint,
         1,
         {"000000000003", "000000000005", "000000000009"}},
        {"cut point not a number",
         withPoints("POINT_0=9\r\nPOINT_1=abc\r\nPOINT_2=1\r\n"),
         V::BrokenCutPoint,
         1,
         {"000000000009"}},
        {"cut point negative", withPoints("POINT_0=-5\r\n"), V::BrokenCutPoint, 1, {}},
        {"cut point signed", withPoints("POINT_0=+5\r\n"), V::BrokenCutPoint, 1, {}},
        {"cut point fraction", withPoints("POINT_0=5.5\r\n"), V::BrokenCutPoint, 1, {}},
        {"cut point hexadecimal", withPoints("POINT_0=$10\r\n"), V::BrokenCutPoint, 1, {}},
        {"cut point beyond 32 bits",
         withPoints("POINT_0=2147483648\r\n"),
         V::BrokenCutPoint,
         1,
         {}},
        {"cut point empty", withPoints("POINT_0=\r\n"), V::BrokenCutPoint, 1, {}},
    };
    for (const Case& c : cases) {
        const TRegionFileRead read = ReadText(c.text);
        EXPECT_EQ(read.Verdict, c.verdict) << c.name;
        EXPECT_EQ(read.Regions.size(), c.regions) << c.name;
        EXPECT_EQ(read.CutBars, c.cutBars) << c.name;
    }
}

TEST(RegionFileTest, AWavFileIsFoundWhereItIsOrBesideTheList)
{
    const std::set<AnsiString> existing = {"C:\\rec\\song.wav", "E:\\moved\\ソ.wav",
                                           "E:\\moved\\song.wav"};
    auto exists = [&](const AnsiString& path) { return existing.count(path) > 0; };
    struct Case
    {
        const char* stored;
        const char* list;
        const char* found;
    };
    const Case cases[] = {
        {"C:\\rec\\song.wav", "E:\\moved\\song.rgl", "C:\\rec\\song.wav"},
        {"C:\\gone\\song.wav", "E:\\moved\\song.rgl", "E:\\moved\\song.wav"},
        {"C:\\表\\ソ.wav", "E:\\moved\\x.rgl", "E:\\moved\\ソ.wav"}, // 0x5C trail bytes
        {"C:\\gone\\other.wav", "E:\\moved\\song.rgl", ""},
        {"", "E:\\moved\\song.rgl", ""},
        {"C:\\gone\\", "E:\\moved\\song.rgl", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LocateRegionListWav(c.stored, c.list, exists), c.found) << c.stored;
}

TEST(RegionFileTest, VolumesInPercentRoundHalfToEven)
{
    struct Case
    {
        double volume;
        const char* text;
    };
    const Case cases[] = {
        {1.0, "-"},     {0.5, "50%"},   {1.005, "100%"}, {0.125, "12%"},
        {0.375, "38%"}, {-0.001, "0%"}, {2.5, "250%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RegionVolumePercentText(c.volume), c.text) << c.volume;
}

} // namespace
