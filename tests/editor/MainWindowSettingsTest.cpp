// The settings file through the main window: what a start reads into the
// window and the engine, what the close writes, and files that are broken
// or cannot be written.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "audio/DirectWavEngine.h"
#include "dialogs/ql_filelist.h"
#include "classlib/FilePaths.h"
#include "classlib/Screen.h"
#include "classlib/StringList.h"
#include "classlib/TextUtils.h"
#include "support/TestSeams.h"

#include <utility>
#include <vector>

using namespace testing_support;

namespace {

// Everything a start restores, set away from its default.
const char* const kCraftedSettings =
    "[FORM]\r\nBARFIX=0\r\nFORM_LEFT=100\r\nFORM_TOP=120\r\nFORM_WIDTH=700\r\n"
    "FORM_HEIGHT=600\r\nCOLUMN0_WIDTH=150\r\nMASTERPANEL_HEIGHT=180\r\nEXPPANEL_WIDTH=250\r\n"
    "SUBWINDOW_NUM=3\r\nFILELIST_LEFT=11\r\nFILELIST_TOP=12\r\nFILELIST_WIDTH=300\r\n"
    "FILELIST_HEIGHT=310\r\nFILELIST_NAME=170\r\nFILELIST_VIEW=1\r\n"
    "[AUDIO]\r\nOUTDEVICE=Null Out B\r\nBUFSIZE=8192\r\nBUFCOUNT=6\r\nMASTERVOL=12\r\nLOOP=1\r\n"
    "ZEROLEVEL=300\r\n"
    "[VIEW]\r\nDISPSIZE=3\r\nMARKSIZE=4\r\n"
    "[SHORTCUT]\r\nactFileSave_SHIFT=4\r\nactFileSave_KEY=83\r\n"
    "actRegionSwap_SHIFT=2\r\nactRegionSwap_KEY=87\r\nactAudioPlay_KEY=0\r\n"
    "[RECENT]\r\nCOUNT=3\r\n0=C:\\a.wav\r\n1=C:\\b.rgl\r\n2=C:\\c.wav\r\n"
    "[RENAME]\r\nACTIVEPAGE=2\r\nADD_CHECK=3\r\nADD_SP1=5\r\nADD_SP2=3\r\nADD_EDIT1=Track\r\n"
    "ADD_CB1=0\r\nDEL_CHECK=2\r\nDEL_EDIT2=x\r\nDEL_CB2=2\r\nDEL_SP3=4\r\nDEL_SP4=2\r\n"
    "CHANGE_CHECK=2\r\nCHANGE_EDIT3=a\r\nCHANGE_EDIT4=b\r\nMANUAL_EDIT5=name\r\n"
    "MANUAL_CHK=1\r\nMANUAL_EDIT6=suffix\r\nMANUAL_CB3=1\r\n"
    "[LOADLIST]\r\nTYPE=3\r\n";

} // namespace

TEST_F(MainWindowTest, CraftedSettingsReachTheWindowAndTheEngine)
{
    StartWithSettings(kCraftedSettings);
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 120, 700, 600));
    EXPECT_EQ(form->EditList->Columns()->Items(0)->Width(), 150);
    EXPECT_EQ(form->MasterPanel->Height(), 180);
    EXPECT_EQ(form->ExpPanel->Width(), 250);
    EXPECT_TRUE(form->actViewCutbarlist->Checked());
    EXPECT_TRUE(form->ExpPanel->Visible());
    EXPECT_TRUE(form->CutManageList->Visible());
    EXPECT_TRUE(form->actViewFilelist->Checked());
    EXPECT_EQ(form->FileListPlacement().Width, 300);
    EXPECT_FALSE(form->SkinDock2->AllowDrag());
    EXPECT_TRUE(form->ExtItem88->Checked()); // locked
    EXPECT_EQ(form->Engine()->DeviceID(), 1u);
    EXPECT_EQ(form->Engine()->BufSize(), 8192u);
    EXPECT_EQ(form->Engine()->BufCount(), 6);
    EXPECT_TRUE(form->vol12->Checked());
    EXPECT_DOUBLE_EQ(form->Engine()->Volume(), 0.25);
    EXPECT_TRUE(form->Engine()->Loop());
    EXPECT_TRUE(form->actAudioLoop->Checked());
    EXPECT_EQ(form->actAudioLoop->ImageIndex(), 22);
    EXPECT_EQ(form->FOption.ZeroLevel, 300);
    EXPECT_EQ(form->InfoPanel->Height(), 28);
    EXPECT_EQ(form->InfoTimeLabel->Font()->Size(), 17);
    EXPECT_GT(form->Label5->Left(), form->InfoTimeLabel->Left());
    EXPECT_GT(form->Label3->Left(), form->InfoRegionLabel->Left());
    EXPECT_EQ(form->MarkHeight(), 20);
    EXPECT_EQ(form->MarkHalf(), 10);
    EXPECT_EQ(form->actFileSave->ShortCut(), scShift | scCtrl | 'S');
    EXPECT_EQ(form->actRegionSwap->ShortCut(), scCtrl | 'W');
    EXPECT_EQ(form->actAudioPlay->ShortCut(), scNone);
    EXPECT_EQ(form->ShortCuts().ShortCuts[CommandIndexOf("actRegionSwap")], scCtrl | 'W');
    ASSERT_EQ(form->RecentFiles().Count(), 3);
    EXPECT_EQ(form->RecentFiles().Strings(0), "C:\\a.wav");
    EXPECT_EQ(form->RecentFiles().Strings(2), "C:\\c.wav");
    EXPECT_EQ(form->RenamePage->ActiveTabIndex(), 2);
    EXPECT_TRUE(form->rnAdd3->Checked());
    EXPECT_DOUBLE_EQ(form->rSp1->Value(), 5);
    EXPECT_EQ(form->rEd1->Text(), "Track");
    EXPECT_EQ(form->rCb1->ItemIndex(), 0);
    EXPECT_TRUE(form->rnDel2->Checked());
    EXPECT_EQ(form->rCb2->ItemIndex(), 2);
    EXPECT_TRUE(form->rSp3->Enabled());
    EXPECT_TRUE(form->rLb7->Enabled());
    EXPECT_TRUE(form->rnChange2->Checked());
    EXPECT_EQ(form->rEd5->Text(), "name");
    EXPECT_TRUE(form->rCk1->Checked());
    EXPECT_EQ(form->rCb3->ItemIndex(), 1);
    EXPECT_EQ(form->FOption.LoadListType, 3);
}

TEST_F(MainWindowTest, SettingsWrittenAtCloseReadBackIdentically)
{
    StartWithSettings(kCraftedSettings);
    CloseAndFree();
    AnsiString firstWrite = folder.ReadFile("zandrel.ini");
    Start();
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 120, 700, 600));
    EXPECT_TRUE(form->actViewCutbarlist->Checked());
    EXPECT_TRUE(form->vol12->Checked());
    EXPECT_TRUE(form->Engine()->Loop());
    EXPECT_FALSE(form->SkinDock2->AllowDrag());
    EXPECT_EQ(form->actRegionSwap->ShortCut(), scCtrl | 'W');
    EXPECT_EQ(form->RecentFiles().Strings(1), "C:\\b.rgl");
    EXPECT_EQ(form->rEd6->Text(), "suffix");
    CloseAndFree();
    EXPECT_EQ(folder.ReadFile("zandrel.ini"), firstWrite);
}

TEST_F(MainWindowTest, RenameNumbersOutsideTheirLimitsAreBroughtInside)
{
    StartWithSettings("[RENAME]\r\nADD_SP1=-20000\r\nADD_SP2=25\r\nDEL_SP3=-2\r\nDEL_SP4=3\r\n");
    EXPECT_EQ(form->rSp1->AsInteger(), -9999);
    EXPECT_EQ(form->rSp2->AsInteger(), 10);
    EXPECT_EQ(form->rSp3->AsInteger(), 0);
    EXPECT_EQ(form->rSp4->AsInteger(), 3);
    form->rSp1->SetValue(-5);
    EXPECT_EQ(form->rSp1->AsInteger(), -5);
}

TEST_F(MainWindowTest, EveryVolumeStepSurvivesARestart)
{
    const int stored[] = {0, 6, 12, 20, 30, 40};
    for (int step = 0; step < 6; ++step) {
        StartWithSettings("[AUDIO]\r\nMASTERVOL=" + std::to_string(stored[step]) + "\r\n");
        TBarCustomItem* items[] = {form->vol0,  form->vol6,  form->vol12,
                                   form->vol20, form->vol30, form->volmute};
        EXPECT_TRUE(items[step]->Checked()) << stored[step];
        EXPECT_DOUBLE_EQ(form->Engine()->Volume(), MasterVolumeStep(step).Factor);
        CloseAndFree();
        EXPECT_EQ(Settings().ReadInteger("AUDIO", "MASTERVOL", -1), stored[step]);
    }
    StartWithSettings("[AUDIO]\r\nMASTERVOL=5\r\n");
    EXPECT_TRUE(form->vol0->Checked());
    CloseAndFree();
    EXPECT_EQ(Settings().ReadInteger("AUDIO", "MASTERVOL", -1), 0);
}

TEST_F(MainWindowTest, UnknownSectionsAndKeysSurviveTheClose)
{
    WriteSettings("; kept\r\n[MYSTERY]\r\nX=1\r\n[FileBar]\r\nRev=2000\r\n"
                  "DockedTo=SkinDock2\r\nDockRow=1\r\n"
                  "[FORM]\r\nOTHER=7\r\n");
    Start();
    CloseAndFree();
    TIniFile ini = Settings();
    EXPECT_EQ(ini.ReadString("MYSTERY", "X", ""), "1");
    EXPECT_EQ(ini.ReadInteger("FileBar", "DockRow", 0), 1);
    EXPECT_EQ(ini.ReadInteger("FORM", "OTHER", 0), 7);
    EXPECT_NE(folder.ReadFile("zandrel.ini").find("; kept"), AnsiString::npos);
}

TEST_F(MainWindowTest, GarbageFallsBackAndTheProgramStarts)
{
    WriteSettings("[FORM]\r\nSUBWINDOW_NUM=7\r\nBARFIX=yes\r\nFORM_LEFT=left\r\n"
                  "[AUDIO]\r\nBUFSIZE=-5\r\nBUFCOUNT=x\r\nOUTDEVICE=No Such Device\r\n"
                  "MASTERVOL=abc\r\nLOOP=\r\n"
                  "[VIEW]\r\nDISPSIZE=9\r\nMARKSIZE=0\r\n[PREF]\r\nPAGE=-3\r\n"
                  "[RECENT]\r\nCOUNT=2000000000\r\n0=C:\\only.wav\r\n"
                  "[RENAME]\r\nACTIVEPAGE=9\r\nADD_CB1=7\r\nDEL_CB2=-1\r\nMANUAL_CB3=99\r\n"
                  "ADD_CHECK=42\r\n"
                  "[SHORTCUT]\r\nactFileOpen_KEY=4096\r\nactFileClose_SHIFT=-1\r\n"
                  "\x81\x40garbage line\r\n[\r\n");
    Start();
    EXPECT_EQ(form->BoundsRect(), Bounds(40, 40, 620, 550));
    EXPECT_FALSE(form->ExpPanel->Visible());
    EXPECT_TRUE(form->SkinDock2->AllowDrag());
    EXPECT_EQ(form->Engine()->DeviceID(), WAVE_MAPPER);
    EXPECT_EQ(form->Engine()->BufSize(), 256u);
    EXPECT_EQ(form->Engine()->BufCount(), 4);
    EXPECT_TRUE(form->vol0->Checked());
    EXPECT_FALSE(form->Engine()->Loop());
    EXPECT_EQ(form->InfoPanel->Height(), 20); // the designed size
    EXPECT_EQ(form->MarkHeight(), 14);
    ASSERT_EQ(form->RecentFiles().Count(), 1);
    EXPECT_EQ(form->RenamePage->ActiveTabIndex(), 0);
    EXPECT_EQ(form->rCb1->ItemIndex(), 1);
    EXPECT_EQ(form->rCb2->ItemIndex(), 0);
    EXPECT_EQ(form->rCb3->ItemIndex(), 0);
    EXPECT_TRUE(form->rnAdd3->Checked());
    EXPECT_EQ(form->actFileOpen->ShortCut(), scNone);
    EXPECT_EQ(form->actFileClose->ShortCut(), 'W');
    CloseAndFree();
    // Values no user could take are written back as they were read.
    TIniFile ini = Settings();
    EXPECT_EQ(ini.ReadInteger("VIEW", "MARKSIZE", -1), 0);
    EXPECT_EQ(ini.ReadInteger("VIEW", "DISPSIZE", -1), 9);
    EXPECT_EQ(ini.ReadInteger("PREF", "PAGE", 0), -3);
    EXPECT_EQ(ini.ReadInteger("AUDIO", "BUFSIZE", 0), -5);
    EXPECT_EQ(ini.ReadString("AUDIO", "OUTDEVICE", ""), "No Such Device");
}

TEST_F(MainWindowTest, PlacesOffTheScreenAndPanesTooLargeAreBroughtBack)
{
    WriteSettings("[FORM]\r\nFORM_LEFT=50000\r\nFORM_TOP=-3000\r\nFORM_WIDTH=620\r\n"
                  "FORM_HEIGHT=550\r\nMASTERPANEL_HEIGHT=2147483647\r\nEXPPANEL_WIDTH=-50\r\n"
                  "SUBWINDOW_NUM=1\r\nFILELIST_LEFT=-3000\r\nFILELIST_TOP=50000\r\n"
                  "FILELIST_VIEW=1\r\n");
    Start();
    const TRect area = Screen->WorkAreaRect();
    const TRect main = form->BoundsRect();
    EXPECT_EQ(main, Bounds(area.right - 620, area.top, 620, 550));
    TForm10* fileList = form->FileListWindow();
    ASSERT_TRUE(fileList && fileList->Visible());
    EXPECT_EQ(fileList->BoundsRect(), Bounds(area.left, area.bottom - 200, 280, 200));
    // The waveform and the region list both show; so do the side pane and
    // the waveform beside it.
    EXPECT_GE(form->WaveImage->Height(), 1);
    const TRect list = form->EditList->BoundsRect();
    EXPECT_GE(list.Height(), 30);
    EXPECT_GE(form->ExpPanel->Width(), 30);
    EXPECT_GE(form->MasterPanel->Width(), 30);

    CloseAndFree();
    TIniFile ini = Settings();
    EXPECT_EQ(ini.ReadInteger("FORM", "FORM_LEFT", 0), area.right - 620);
    EXPECT_EQ(ini.ReadInteger("FORM", "FORM_TOP", 0), area.top);
    EXPECT_EQ(ini.ReadInteger("FORM", "FILELIST_TOP", 0), area.bottom - 200);
    EXPECT_LT(ini.ReadInteger("FORM", "MASTERPANEL_HEIGHT", 0), 550);
}

// A pixel of a window on the screen is not a window one can take: the main
// window comes back whole; the file list, wider than the screen, is made to
// fit and moved inside.
TEST_F(MainWindowTest, AWindowShowingTooLittleOrRunningPastTheScreenIsBroughtOnIt)
{
    const TRect area = Screen->WorkAreaRect();
    const int left = area.right - 1, top = area.top + 60, width = area.Width() + 900;
    WriteSettings("[FORM]\r\nFORM_LEFT=" + IntToStr(left) + "\r\nFORM_TOP=" + IntToStr(top) +
                  "\r\nFORM_WIDTH=620\r\nFORM_HEIGHT=550\r\nFILELIST_LEFT=200\r\n" +
                  "FILELIST_TOP=" + IntToStr(top + 40) + "\r\nFILELIST_WIDTH=" + IntToStr(width) +
                  "\r\nFILELIST_HEIGHT=300\r\nFILELIST_VIEW=1\r\n");
    Start();
    EXPECT_EQ(form->BoundsRect(), Bounds(area.right - 620, top, 620, 550));
    TForm10* fileList = form->FileListWindow();
    ASSERT_TRUE(fileList && fileList->Visible());
    EXPECT_EQ(fileList->BoundsRect(), Bounds(area.left, top + 40, area.Width(), 300));
}

TEST_F(MainWindowTest, WithSaveFormOffTheGeometryIsWrittenButNotRestored)
{
    WriteSettings("[SAVE]\r\nFORM=0\r\n[FORM]\r\nFORM_LEFT=100\r\nFORM_TOP=120\r\n"
                  "FORM_WIDTH=700\r\nFORM_HEIGHT=600\r\nSUBWINDOW_NUM=1\r\nFILELIST_VIEW=1\r\n");
    Start();
    EXPECT_EQ(form->BoundsRect(), Bounds(40, 40, 620, 550));
    EXPECT_FALSE(form->ExpPanel->Visible());
    EXPECT_FALSE(form->actViewFilelist->Checked());
    form->SetBounds(60, 70, 640, 560);
    CloseAndFree();
    TIniFile ini = Settings();
    EXPECT_EQ(ini.ReadInteger("FORM", "FORM_LEFT", 0), 60);
    EXPECT_EQ(ini.ReadInteger("FORM", "FORM_WIDTH", 0), 640);
    EXPECT_EQ(ini.ReadInteger("FORM", "SUBWINDOW_NUM", -1), 0);
}

TEST_F(MainWindowTest, ToolbarLockAndShowAll)
{
    Start();
    ASSERT_TRUE(form->SkinDock2->AllowDrag());
    form->ExtItem88->Click();
    EXPECT_FALSE(form->SkinDock2->AllowDrag());
    EXPECT_TRUE(form->ExtItem88->Checked());
    EXPECT_TRUE(form->ToolbarPopupLock->Checked());
    form->ToolbarPopupLock->Click();
    EXPECT_TRUE(form->SkinDock2->AllowDrag());
    EXPECT_FALSE(form->ExtItem88->Checked());
    form->ExtItem88->Click();

    form->ZoomBar->SetVisible(false);
    form->Toolbar->SetVisible(false);
    form->ExtItem87->Click();
    EXPECT_TRUE(form->ZoomBar->Visible());
    EXPECT_TRUE(form->Toolbar->Visible());
    CloseAndFree();
    EXPECT_EQ(Settings().ReadInteger("FORM", "BARFIX", -1), 0);
}

TEST_F(MainWindowTest, AnUnwritableFolderShowsTheMessageWritesNothingAndStillCloses)
{
    iniPath = folder / "missing\\zandrel.ini";
    Start();
    ScriptedMessageBoxes boxes({IDOK});
    form->Close();
    PumpMessages();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text, "初期設定ファイルを書き込めません");
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(DirectoryExists(folder / "missing"));
    EXPECT_EQ(FileNamesIn(folder.Path()).size(), 0u);
}

TEST_F(MainWindowTest, AFailedWriteAfterTheProbeShowsTheMessageAndStillCloses)
{
    // The folder can be written, but a folder stands where the file goes.
    ASSERT_TRUE(CreateDir(iniPath));
    Start();
    ScriptedMessageBoxes boxes({IDOK});
    form->Close();
    PumpMessages();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text, "初期設定ファイルを書き込めません");
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(DirectoryExists(iniPath));
    // No probe folder or temporary file is left behind.
    EXPECT_EQ(FileNamesIn(folder.Path()), std::vector<AnsiString>{"zandrel.ini"});
    RemoveDir(iniPath);
}

TEST_F(MainWindowTest, AReadOnlySettingsFileIsKeptWholeAndTheWindowStillCloses)
{
    WriteSettings("[VIEW]\r\nMARKSIZE=3\r\n");
    ASSERT_TRUE(SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_READONLY));
    Start();
    ScriptedMessageBoxes boxes({IDOK});
    form->Close();
    PumpMessages();
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_FALSE(form->Visible());
    SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(folder.ReadFile("zandrel.ini"), "[VIEW]\r\nMARKSIZE=3\r\n");
    EXPECT_EQ(FileNamesIn(folder.Path()), std::vector<AnsiString>{"zandrel.ini"});
}

TEST_F(MainWindowTest, AMinimisedWindowWritesItsRestoredBounds)
{
    WriteSettings(
        "[FORM]\r\nFORM_LEFT=100\r\nFORM_TOP=120\r\nFORM_WIDTH=700\r\nFORM_HEIGHT=600\r\n");
    Start();
    ShowWindow(form->Handle(), SW_MINIMIZE);
    PumpMessages();
    CloseAndFree();
    TIniFile ini = Settings();
    EXPECT_EQ(ini.ReadInteger("FORM", "FORM_LEFT", 0), 100);
    EXPECT_EQ(ini.ReadInteger("FORM", "FORM_TOP", 0), 120);
    EXPECT_EQ(ini.ReadInteger("FORM", "FORM_WIDTH", 0), 700);
    EXPECT_EQ(ini.ReadInteger("FORM", "FORM_HEIGHT", 0), 600);
}

namespace {

// The sections of the settings file and their keys, in the order a close
// writes them into a new file (the SHORTCUT keys follow the action list and
// are checked elsewhere).
const std::vector<std::pair<AnsiString, std::vector<AnsiString>>> kWrittenOrder = {
    {"AUDIO",
     {"ZEROLEVEL", "OUTDEVICE", "BUFSIZE", "BUFCOUNT", "MASTERVOL", "LOOP", "INDEVICE", "INRATE",
      "INCHANNEL", "LIMIT", "LIMITTIME"}},
    {"SAVE", {"DATA", "FORM", "FILELIST", "NOCAUTION"}},
    {"USE", {"CUTTOADD"}},
    {"VIEW", {"DISPSIZE", "MARKSIZE", "STRIPE"}},
    {"PREF", {"PAGE"}},
    {"TRIM", {"LEVEL", "PRETIME", "POSTTIME"}},
    {"AUTO", {"MODE", "LEVEL", "PRETIME", "POSTTIME", "MINLENGTH", "MININTERVAL", "CUTONLY"}},
    {"WINDOW", {"PROCESS"}},
    {"RIP", {"ADDRIPFILE"}},
    {"COLOR",
     {"WAVE", "BACK", "REGWAVE", "REGBACK", "PREBACK", "CENTER", "ZERO", "POSBAR", "CUTBAR",
      "RANGE"}},
    {"FORM",
     {"FORM_LEFT", "FORM_TOP", "FORM_WIDTH", "FORM_HEIGHT", "COLUMN0_WIDTH", "MASTERPANEL_HEIGHT",
      "EXPPANEL_WIDTH", "FILELIST_LEFT", "FILELIST_TOP", "FILELIST_WIDTH", "FILELIST_HEIGHT",
      "FILELIST_NAME", "FILELIST_VIEW", "SUBWINDOW_NUM", "BARFIX"}},
    {"SHORTCUT", {}},
    {"RECENT", {"COUNT"}},
    {"RENAME",
     {"ACTIVEPAGE", "ADD_CHECK", "ADD_SP1", "ADD_SP2", "ADD_EDIT1", "ADD_CB1", "DEL_CHECK",
      "DEL_EDIT2", "DEL_CB2", "DEL_SP3", "DEL_SP4", "CHANGE_CHECK", "CHANGE_EDIT3", "CHANGE_EDIT4",
      "MANUAL_EDIT5", "MANUAL_CHK", "MANUAL_EDIT6", "MANUAL_CB3"}},
    {"LOADLIST", {"TYPE"}},
};

std::vector<AnsiString> KeysOf(const TIniFile& ini, const AnsiString& section)
{
    TStringList keys;
    ini.ReadSection(section, &keys);
    std::vector<AnsiString> names;
    for (int i = 0; i < keys.Count(); ++i)
        names.push_back(keys.Strings(i));
    return names;
}

} // namespace

TEST_F(MainWindowTest, ANewSettingsFileHoldsItsSectionsAndKeysInOrder)
{
    Start();
    CloseAndFree();
    TIniFile ini = Settings();
    TStringList sections;
    ini.ReadSections(&sections);
    std::vector<AnsiString> written;
    for (int i = 0; i < sections.Count(); ++i)
        for (const auto& [section, keys] : kWrittenOrder)
            if (section == sections.Strings(i))
                written.push_back(section);
    std::vector<AnsiString> expected;
    for (const auto& [section, keys] : kWrittenOrder) {
        expected.push_back(section);
        if (!keys.empty()) {
            EXPECT_EQ(KeysOf(ini, section), keys) << section;
        }
    }
    EXPECT_EQ(written, expected);
}

TEST_F(MainWindowTest, ASmallerRecentListLeavesNoKeysBeyondItsCount)
{
    struct Case
    {
        const char* name;
        AnsiString recent; // the RECENT section read at the start
        std::vector<AnsiString> keys;
    };
    const Case cases[] = {
        {"a name twice",
         "COUNT=7\r\n0=C:\\a.wav\r\n1=C:\\b.wav\r\n2=C:\\c.wav\r\n3=C:\\d.wav\r\n4=C:\\e.wav\r\n"
         "5=C:\\f.wav\r\n6=C:\\a.wav\r\n",
         {"COUNT", "0", "1", "2", "3", "4", "5"}},
        {"more names than the list takes",
         "COUNT=12\r\n0=C:\\0.wav\r\n1=C:\\1.wav\r\n2=C:\\2.wav\r\n3=C:\\3.wav\r\n4=C:\\4.wav\r\n"
         "5=C:\\5.wav\r\n6=C:\\6.wav\r\n7=C:\\7.wav\r\n8=C:\\8.wav\r\n9=C:\\9.wav\r\n"
         "10=C:\\10.wav\r\n11=C:\\11.wav\r\n",
         {"COUNT", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}},
        {"keys past the count",
         "COUNT=1\r\n0=C:\\a.wav\r\n1=C:\\b.wav\r\n2=C:\\c.wav\r\n",
         {"COUNT", "0"}},
        {"an empty name", "COUNT=2\r\n0=\r\n1=C:\\b.wav\r\n", {"COUNT", "0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartWithSettings("[RECENT]\r\n" + c.recent);
        const int count = form->RecentFiles().Count();
        CloseAndFree();
        TIniFile ini = Settings();
        EXPECT_EQ(ini.ReadInteger("RECENT", "COUNT", -1), count);
        EXPECT_EQ(KeysOf(ini, "RECENT"), c.keys);
    }
}

// The widths that decide between the cases are those of the test
// environment's font at display size 5: about 1070 pixels of panel for the
// designed places, 560 for a file's time and sample count, 990 with a
// selection's times as well.
TEST_F(MainWindowTest, TheSampleCountStaysInsideTheInfoPanel)
{
    struct Case
    {
        const char* name;
        int formWidth;
        int pane;            // SUBWINDOW_NUM: 3 the cut-bar list, 0 none
        const char* region;  // the region label's text
        bool designedPlaces; // room left for the longest time
        bool inOrder;        // every label shown with text starts after the one before ends
        bool samplesShown;   // the sample count is shown
    };
    const Case cases[] = {
        {"room for the longest times", 1200, 0, "", true, true, true},
        {"room for the texts shown", 900, 3, "", false, true, true},
        {"room for the texts shown and a selection", 1250, 3, "0:00.10 [ 0:00.00 - 0:00.10 ]",
         false, true, true},
        {"no room", 620, 3, "0:00.10 [ 0:00.00 - 0:00.10 ]", false, true, false},
    };
    const std::string wav = WriteHalfSilentWav(folder, "info.wav", 44100, 44100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSettings("[VIEW]\r\nDISPSIZE=5\r\n[FORM]\r\nSUBWINDOW_NUM=" + std::to_string(c.pane) +
                      "\r\nFORM_WIDTH=" + std::to_string(c.formWidth) + "\r\n");
        Start();
        ASSERT_TRUE(form->OpenWavFile(wav));
        form->InfoRegionLabel->SetCaption(c.region);
        TLabel* row[] = {form->Label6,          form->InfoTimeLabel, form->Label5,
                         form->InfoRegionLabel, form->Label3,        form->InfoSampleLabel};
        EXPECT_FALSE(form->InfoSampleLabel->Caption().empty());
        EXPECT_EQ(form->InfoSampleLabel->Visible(), c.samplesShown);
        if (c.samplesShown) {
            EXPECT_LE(form->InfoSampleLabel->Left() + form->InfoSampleLabel->Width(),
                      form->InfoPanel->ClientWidth());
        }
        EXPECT_GE(form->Label3->Left(), form->Label6->Left());
        const int timeEnd = form->InfoTimeLabel->Left() + form->InfoTimeLabel->Width();
        EXPECT_EQ(form->Label5->Left() > timeEnd + 14, c.designedPlaces);
        bool inOrder = true;
        int shownEnd = 0; // where the last label with text ends
        for (TLabel* label : row) {
            if (label->Caption().empty() || !label->Visible())
                continue;
            inOrder = inOrder && label->Left() >= shownEnd;
            shownEnd = label->Left() + label->Width();
        }
        EXPECT_EQ(inOrder, c.inOrder);
        form->CloseDocument();
        CloseAndFree();
    }
}

// The focus a start places on the open rename tab lands on its checked rule,
// so a rule that is not the tab's first survives the restart.
// The rename pane's windows are made when it first shows, each tab's when
// the tab does: they show what the settings put into the controls at start.
TEST_F(MainWindowTest, TheRenameTabsShowTheStoredSettingsWhenFirstShownLater)
{
    WriteSettings(kCraftedSettings); // the cut-bar pane shows at start
    Start();
    ASSERT_FALSE(form->RenamePage->HandleAllocated());
    form->actViewRen->Execute();
    PumpMessages();
    auto shown = [](TWinControl* control) {
        char text[64] = {};
        GetWindowTextA(control->Handle(), text, sizeof text);
        return AnsiString(text);
    };
    auto choice = [](TComboBox* box) {
        return static_cast<int>(SendMessageA(box->Handle(), CB_GETCURSEL, 0, 0));
    };
    const struct
    {
        int Tab;
        std::vector<std::pair<TWinControl*, AnsiString>> Texts;
        std::vector<std::pair<TComboBox*, int>> Choices;
        std::vector<std::pair<TWinControl*, bool>> Enabled;
    } tabs[] = {
        {0,
         {{form->rEd1, "Track"}, {form->rSp1, "5"}, {form->rSp2, "3"}},
         {{form->rCb1, 0}},
         {{form->rSp1, false}, {form->rEd1, true}}},
        {1,
         {{form->rEd2, "x"}, {form->rSp3, "4"}, {form->rSp4, "2"}},
         {{form->rCb2, 2}},
         {{form->rEd2, false}, {form->rSp3, true}}},
        {2, {{form->rEd3, "a"}, {form->rEd4, "b"}}, {}, {{form->rEd3, false}}},
        {3,
         {{form->rEd5, "name"}, {form->rEd6, "suffix"}},
         {{form->rCb3, 1}},
         {{form->rEd6, true}}},
    };
    EXPECT_EQ(form->RenamePage->ActiveTabIndex(), 2);
    for (const auto& tab : tabs) {
        form->RenamePage->SetActiveTabIndex(tab.Tab);
        PumpMessages();
        for (const auto& [control, text] : tab.Texts)
            EXPECT_EQ(shown(control), text) << control->Name();
        for (const auto& [box, index] : tab.Choices)
            EXPECT_EQ(choice(box), index) << box->Name();
        for (const auto& [control, enabled] : tab.Enabled) {
            EXPECT_TRUE(IsWindowVisible(control->WindowHandle())) << control->Name();
            EXPECT_EQ(IsWindowEnabled(control->WindowHandle()) != FALSE, enabled)
                << control->Name();
        }
    }
}
