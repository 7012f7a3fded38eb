// The settings record in an INI object, and the pure rules the main window
// applies from it: volume steps, info panel sizes, buffers.
#include "classlib/IniFile.h"
#include "editor/Settings.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

using testing_support::TempFolder;

namespace {

TOption Changed()
{
    TOption o;
    o.WaveColor = 1;
    o.BackColor = 2;
    o.RegWaveColor = 3;
    o.RegBackColor = 4;
    o.PreBackColor = 5;
    o.CenterColor = -6; // negative colours keep their sign
    o.ZeroColor = 7;
    o.PosBarColor = 8;
    o.CutBarColor = 9;
    o.RangeColor = 10;
    o.OutDevice = "スピーカー (Null)";
    o.BufSize = 8192;
    o.BufCount = 12;
    o.InDevice = "ライン入力";
    o.InRate = 22050;
    o.InChannel = 1;
    o.Limit = true;
    o.LimitTime = 30;
    o.SaveData = false;
    o.SaveForm = false;
    o.SaveFileList = false;
    o.NoCaution = true;
    o.CutToAdd = false;
    o.DispSize = 3;
    o.MarkSize = 9;
    o.Stripe = true;
    o.PrefPage = 2;
    o.TrimLevel = 12;
    o.TrimPreTime = 100;
    o.TrimPostTime = 200;
    o.AutoMode = 2;
    o.AutoLevel = 50;
    o.AutoPreTime = 30;
    o.AutoPostTime = 40;
    o.AutoMinLength = 500;
    o.AutoMinInterval = 700;
    o.AutoCutOnly = true;
    o.ProcessClose = true;
    o.AddRipFile = false;
    o.ZeroLevel = 300;
    o.LoadListType = 3;
    return o;
}

} // namespace

TEST(OptionFile, MissingFileGivesEveryDefault)
{
    TempFolder folder;
    TIniFile ini(folder / "none.ini");
    TOption o = ReadOption(ini.Content());
    EXPECT_EQ(o, TOption{});
    // The documented defaults, spelled out as stored numbers.
    EXPECT_EQ(o.WaveColor, 32768);
    EXPECT_EQ(o.BackColor, 16777215);
    EXPECT_EQ(o.RegWaveColor, 65535);
    EXPECT_EQ(o.RegBackColor, 8421376);
    EXPECT_EQ(o.PreBackColor, 39423);
    EXPECT_EQ(o.CenterColor, 255);
    EXPECT_EQ(o.ZeroColor, 8421504);
    EXPECT_EQ(o.PosBarColor, 20985);
    EXPECT_EQ(o.CutBarColor, 16711680);
    EXPECT_EQ(o.RangeColor, 128);
    EXPECT_EQ(o.OutDevice, "WAVE_MAPPER");
    EXPECT_EQ(o.BufSize, 4096);
    EXPECT_EQ(o.BufCount, 4);
    EXPECT_EQ(o.InDevice, "");
    EXPECT_EQ(o.InRate, 44100);
    EXPECT_EQ(o.InChannel, 2);
    EXPECT_FALSE(o.Limit);
    EXPECT_EQ(o.LimitTime, 5);
    EXPECT_TRUE(o.SaveData);
    EXPECT_TRUE(o.SaveForm);
    EXPECT_TRUE(o.SaveFileList);
    EXPECT_FALSE(o.NoCaution);
    EXPECT_TRUE(o.CutToAdd);
    EXPECT_EQ(o.DispSize, 1);
    EXPECT_EQ(o.MarkSize, 1);
    EXPECT_FALSE(o.Stripe);
    EXPECT_EQ(o.PrefPage, 0);
    EXPECT_EQ(o.TrimLevel, 0);
    EXPECT_EQ(o.AutoLevel, 127);
    EXPECT_EQ(o.AutoMinLength, 1000);
    EXPECT_EQ(o.AutoMinInterval, 1000);
    EXPECT_FALSE(o.AutoCutOnly);
    EXPECT_FALSE(o.ProcessClose);
    EXPECT_TRUE(o.AddRipFile);
    EXPECT_EQ(o.ZeroLevel, 256);
    EXPECT_EQ(o.LoadListType, 1);
}

TEST(OptionFile, WrittenValuesReadBackThroughTheFile)
{
    TempFolder folder;
    const TOption written = Changed();
    {
        TIniFile ini(folder / "zandrel.ini");
        ASSERT_TRUE(WriteOption(ini.Content(), written, {}));
        ASSERT_TRUE(WriteLoadListType(ini.Content(), written));
        ini.UpdateFile();
    }
    TIniFile ini(folder / "zandrel.ini");
    EXPECT_EQ(ReadOption(ini.Content()), written);
    EXPECT_EQ(ini.ReadString("COLOR", "CENTER", ""), "-6");
    EXPECT_EQ(ini.ReadString("SAVE", "DATA", ""), "0");
    EXPECT_EQ(ini.ReadString("AUTO", "CUTONLY", ""), "1");
}

TEST(OptionFile, GarbageFallsBackKeyByKeyAndOutOfRangeValuesStayAsStored)
{
    TempFolder folder;
    folder.WriteFile("zandrel.ini", "[COLOR]\r\nWAVE=green\r\nBACK=$FF\r\n"
                                    "[AUDIO]\r\nBUFSIZE=99999999999\r\nBUFCOUNT=70000\r\n"
                                    "ZEROLEVEL=\r\nOUTDEVICE=  名前  \r\n"
                                    "[SAVE]\r\nDATA=yes\r\nNOCAUTION=2\r\n"
                                    "[VIEW]\r\nDISPSIZE=9\r\nMARKSIZE=-3\r\n"
                                    "[MYSTERY]\r\nX=1\r\n");
    TIniFile ini(folder / "zandrel.ini");
    TOption o = ReadOption(ini.Content());
    EXPECT_EQ(o.WaveColor, TOption{}.WaveColor);
    EXPECT_EQ(o.BackColor, 0xFF);
    EXPECT_EQ(o.BufSize, 4096);
    EXPECT_EQ(o.BufCount, 70000 & 0xFFFF); // cut to 16 bits
    EXPECT_EQ(o.ZeroLevel, 256);
    EXPECT_EQ(o.OutDevice, "名前");
    EXPECT_TRUE(o.SaveData);
    EXPECT_TRUE(o.NoCaution);
    EXPECT_EQ(o.DispSize, 9);
    EXPECT_EQ(o.MarkSize, -3);
}

TEST(OptionFile, WritingKeepsUnknownSectionsAndKeys)
{
    TempFolder folder;
    folder.WriteFile("zandrel.ini", "; note\r\n[MYSTERY]\r\nX=1\r\n[AUDIO]\r\nOTHER=abc\r\n");
    {
        TIniFile ini(folder / "zandrel.ini");
        ASSERT_TRUE(WriteOption(ini.Content(), TOption{}, {}));
        ini.UpdateFile();
    }
    TIniFile ini(folder / "zandrel.ini");
    EXPECT_EQ(ini.ReadString("MYSTERY", "X", ""), "1");
    EXPECT_EQ(ini.ReadString("AUDIO", "OTHER", ""), "abc");
    EXPECT_EQ(ini.ReadInteger("AUDIO", "BUFSIZE", 0), 4096);
}

TEST(MasterVolume, StepsMapBothWaysAndUnlistedValuesAreFullVolume)
{
    const struct
    {
        int Stored;
        double Factor;
        const char* Name;
    } expected[] = {{0, 1.0, "vol0"},   {6, 0.5, "vol6"},    {12, 0.25, "vol12"},
                    {20, 0.1, "vol20"}, {30, 0.03, "vol30"}, {40, 0.0, "volmute"}};
    for (int i = 0; i < kMasterVolumeStepCount; ++i) {
        const TMasterVolumeStep& step = MasterVolumeStep(i);
        EXPECT_EQ(step.Stored, expected[i].Stored);
        EXPECT_DOUBLE_EQ(step.Factor, expected[i].Factor);
        EXPECT_STREQ(step.Name, expected[i].Name);
        EXPECT_EQ(MasterVolumeStepOf(step.Stored), i);
    }
    for (int unlisted : {5, -6, 41, 100})
        EXPECT_EQ(MasterVolumeStepOf(unlisted), 0) << unlisted;
}

TEST(DisplaySizes, InfoPanelRowsAndTheDesignedFallback)
{
    const int rows[5][5] = {{8, 6, 9, 5, 20},
                            {8, 8, 12, 4, 24},
                            {8, 10, 17, 2, 28},
                            {8, 12, 20, 3, 32},
                            {8, 14, 22, 2, 34}};
    for (int size = 1; size <= 5; ++size) {
        TInfoPanelMetrics m = InfoPanelMetricsFor(size);
        EXPECT_TRUE(m.Known);
        EXPECT_EQ(m.CaptionFontSize, rows[size - 1][0]);
        EXPECT_EQ(m.CaptionTop, rows[size - 1][1]);
        EXPECT_EQ(m.ValueFontSize, rows[size - 1][2]);
        EXPECT_EQ(m.ValueTop, rows[size - 1][3]);
        EXPECT_EQ(m.PanelHeight, rows[size - 1][4]);
    }
    for (int other : {0, 6, 9, -1}) {
        TInfoPanelMetrics m = InfoPanelMetricsFor(other);
        EXPECT_FALSE(m.Known);
        EXPECT_EQ(m.ValueFontSize, 9);
        EXPECT_EQ(m.PanelHeight, 20);
    }
}

TEST(PlaybackBuffers, ScaledForTheFile)
{
    TPlaybackBuffers mono = PlaybackBufferFor(4096, 4, 1, 22050);
    EXPECT_EQ(mono.Size, 2048);
    EXPECT_EQ(mono.Count, 4);
    TPlaybackBuffers fast = PlaybackBufferFor(4096, 4, 2, 96000);
    EXPECT_EQ(fast.Size, 4096);
    EXPECT_EQ(fast.Count, 9);
    TPlaybackBuffers none = PlaybackBufferFor(4096, 4, 0, 0);
    EXPECT_EQ(none.Size, 4096);
    EXPECT_EQ(none.Count, 4);
    // Halves round to even: 4 x 55125 / 44100 = 5.
    EXPECT_EQ(PlaybackBufferFor(4096, 4, 2, 55125).Count, 5);
    EXPECT_EQ(PlaybackBufferFor(4097, 4, 1, 44100).Size, 2048);
}

TEST(PlaybackBuffers, TooSmallOrNegativeSizesGiveTheSmallestBuffer)
{
    EXPECT_EQ(PlaybackBufferFor(100, 4, 2, 44100).Size, 256);
    EXPECT_EQ(PlaybackBufferFor(-4096, 4, 2, 44100).Size, 256);
    EXPECT_EQ(PlaybackBufferFor(300, 4, 1, 44100).Size, 256);
}

TEST(RecentFilesToAdd, KeysFromTheLastCountedToTheFirstWithinTheLimit)
{
    struct Case
    {
        const char* section;
        std::vector<AnsiString> paths;
    } cases[] = {
        {"COUNT=3\n0=a\n1=b\n2=c\n3=d", {"c", "b", "a"}},
        {"COUNT=4\n0=a\n1=\n3=d", {"d", "a"}},
        {"COUNT=12\n0=a\n9=j\n11=l", {"j", "a"}},
        {"COUNT=-1\n0=a", {}},
        {"COUNT=-2147483648\n0=a", {}}, // was one below the smallest integer
        {"0=a", {}},
    };
    for (const Case& c : cases) {
        TIniContent ini;
        ini.ParseText(AnsiString("[RECENT]\n") + c.section);
        EXPECT_EQ(RecentFilesToAdd(ini, 10), c.paths) << c.section;
    }
}

TEST(SettingsPath, BesideTheProgram)
{
    EXPECT_EQ(SettingsPathFor("C:\\Program Files\\Zandrel\\zandrel.exe"),
              "C:\\Program Files\\Zandrel\\zandrel.ini");
    EXPECT_EQ(SettingsPathFor("C:\\a.b\\zandrel"), "C:\\a.b\\zandrel.ini");
}

TEST(InfoRow, DesignedPlacesWhileTheyFitThenTheTextsThenLessWhatTellsLeast)
{
    TInfoRowWidths w;
    w.TimeCaption = 36;
    w.RegionCaption = 72;
    w.SampleCaption = 72;
    w.TimeRoom = 285;
    w.RegionRoom = 480;
    w.Time = 255;
    w.Region = 0;
    w.Samples = 90;
    struct Case
    {
        int panelWidth;
        TInfoRowLefts lefts;
    };
    const Case cases[] = {
        {1100, {40, 339, 411, 905, 977}}, // designed
        {1067, {40, 339, 411, 905, 977}}, // designed, the count ending at the edge
        {1066, {40, 309, 381, 395, 467}}, // by the texts
        {557, {40, 309, 381, 395, 467}},
        {392, {40, 309, 381, 395, 467, false}}, // the count given up, nothing overlaps
        {345, {4, 273, 345, 359, 431, false, false}},   // the time's caption too
        {272, {4, 273, 273, 287, 359, false, false, false}}, // and the region's
        {50, {4, 273, 273, 287, 359, false, false, false}},  // no less than the values
    };
    for (const Case& c : cases) {
        const TInfoRowLefts l = InfoRowLefts(4, w, c.panelWidth);
        EXPECT_EQ((std::vector<int>{l.Time, l.RegionCaption, l.Region, l.SampleCaption, l.Samples}),
                  (std::vector<int>{c.lefts.Time, c.lefts.RegionCaption, c.lefts.Region,
                                    c.lefts.SampleCaption, c.lefts.Samples}))
            << c.panelWidth;
        EXPECT_EQ((std::vector<bool>{l.SamplesShown, l.TimeCaptionShown, l.RegionCaptionShown}),
                  (std::vector<bool>{c.lefts.SamplesShown, c.lefts.TimeCaptionShown,
                                     c.lefts.RegionCaptionShown}))
            << c.panelWidth;
    }
}
