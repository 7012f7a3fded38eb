// The file commands on the running window: open through the dialog, save
// and save as with their questions, the region-list file written from the
// lists and read back into them, and the load's refusals.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FilePaths.h"
#include "classlib/Seams.h"
#include "classlib/Utf8.h"
#include "classlib/WideText.h"
#include "editor/RegionFileDisk.h"

#include "support/ShellDrag.h"
#include "support/TestSeams.h"
#include "support/WavFile.h"

#include <functional>

using namespace testing_support;

namespace {

class RegionFileCommandTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        wavPath = WriteHalfSilentWav(folder, "song.wav", 16000, 8000);
    }
    void OpenSong()
    {
        Start();
        ASSERT_TRUE(form->OpenWavFile(wavPath));
    }
    // Regions "a" 0..1000 (volume 0.5, left only), "b" 2000..3000 and a cut
    // bar at 5000.
    void AddWork()
    {
        form->AddRegion(0, 1000);
        form->AddRegion(2000, 3000);
        TRegionData* first = form->RegionAt(0);
        first->Name = "a";
        first->Volume = 0.5;
        first->OutMode = TOutputMode::MonoLeft;
        form->RegionAt(1)->Name = "b";
        form->AddCutBar(5000);
        PumpMessages(); // the loop idles after the edits: the commands follow them
    }
    // Clicks alternate between the button's two ends, so that two clicks
    // in a row are never taken for a double click.
    void ClickToolButton(TAction* action)
    {
        const TRect button = ToolButtonRect(form->FileBar, action);
        ASSERT_GT(button.Width(), 0) << "no toolbar button";
        clickAtRight = !clickAtRight;
        const int x = clickAtRight ? button.right - 3 : button.left + 3;
        RealClick({x, (button.top + button.bottom) / 2});
    }
    // The menu item, the toolbar button (when the command has one) and the
    // shortcut of a command.
    std::vector<std::function<void()>> WaysToRun(TAction* action, WORD key, TShiftState shift,
                                                 bool onToolbar)
    {
        std::vector<std::function<void()>> ways{[=, this] { MenuItemOf(form->FileMenu, action)->Click(); },
                                                [=, this] { PressOnWave(key, shift); }};
        if (onToolbar)
            ways.push_back([=, this] { ClickToolButton(action); });
        return ways;
    }

    std::string wavPath;
    bool clickAtRight = false;
};

} // namespace

TEST_F(RegionFileCommandTest, OpenFromMenuToolbarAndShortcutTakesWavAndRegionListFiles)
{
    Start();
    ASSERT_TRUE(form->OpenWavFile(wavPath));
    AddWork();
    const AnsiString saved = folder / "kept.rgl";
    ASSERT_TRUE(form->SaveRegionList(saved));
    form->actFileCloseExecute(nullptr);

    for (const auto& open : WaysToRun(form->actFileOpen, 'O', ssCtrl, true)) {
        AnswerFileDialogs({saved});
        open();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_FALSE(asked[0].Save);
        EXPECT_EQ(asked[0].Title, "WAVファイルを選択してください");
        EXPECT_EQ(asked[0].Filter, "読み込み可能なファイル|*.wav;*.rgl|wavファイル(*.wav) "
                                   "|*.wav|リージョンファイル(*.rgl)|*.rgl|全てのファイル|*.*");
        EXPECT_EQ(RegionNames(), (std::vector<AnsiString>{"a", "b"}));
        EXPECT_EQ(form->Document().RglPath(), saved);
        asked.clear();

        AnswerFileDialogs({wavPath});
        open();
        EXPECT_EQ(form->Engine()->Path(), wavPath);
        EXPECT_TRUE(RegionNames().empty());
        EXPECT_TRUE(form->Document().RglPath().empty());
        asked.clear();
    }
}

TEST_F(RegionFileCommandTest, ALoadedListShowsItsRegionsInOrderWithTheirTextsAndCutBars)
{
    OpenSong();
    AddWork();
    form->AddRegion(100, 200);
    ASSERT_EQ(form->SortColumn(), 0);
    // Sorted by start, the third region sits second: the file keeps that.
    form->EditListColumnClick(form->EditList, form->EditList->Columns()->Items(2));
    ASSERT_EQ(RegionNames()[1], "song_01");
    const AnsiString path = folder / "song.rgl";
    ASSERT_TRUE(form->SaveRegionList(path));
    EXPECT_FALSE(form->Document().Modified());
    EXPECT_EQ(StatusText(form), "リージョンリストを保存しました");
    EXPECT_EQ(StatusColor(form), clBlue);

    form->actFileCloseExecute(nullptr);
    form->LoadRegionList(path);
    EXPECT_EQ(RegionNames(), (std::vector<AnsiString>{"a", "song_01", "b"}));
    EXPECT_EQ(form->RegionText(0, TRegionColumn::Volume), "50%");
    EXPECT_EQ(form->RegionText(0, TRegionColumn::OutMode), "左チャンネルのみ");
    EXPECT_EQ(form->RegionText(0, TRegionColumn::End), "0:00.13");
    EXPECT_EQ(form->RegionText(2, TRegionColumn::Volume), "-");
    ASSERT_EQ(form->Document().CutBarCount(), 1);
    EXPECT_EQ(form->Document().CutBars().Strings(0), "000000005000");
    EXPECT_EQ(form->CutManageList->Items()->Count(), 1);
    EXPECT_EQ(form->RecentFiles().Strings(0), path);
    EXPECT_EQ(form->Document().RglPath(), path);
    EXPECT_FALSE(form->Document().Modified());
}

// The command line's list is read while the window is made; a list opened
// afterwards is read from its own file.
TEST_F(RegionFileCommandTest, TheCommandLinesListLoadsAndALaterOpenReadsItsOwnFile)
{
    const AnsiString first = folder / "first.rgl", second = folder / "second.rgl";
    ASSERT_TRUE(SaveRegionListFile(first, {wavPath, {{"one", 0, 1000}, {"two", 2000, 3000}}, {}}));
    ASSERT_TRUE(SaveRegionListFile(second, {wavPath, {{"three", 4000, 5000}}, {}}));
    Start({first});
    EXPECT_EQ(RegionNames(), (std::vector<AnsiString>{"one", "two"}));
    EXPECT_EQ(form->Document().RglPath(), first);
    AnswerFileDialogs({second});
    form->actFileOpen->Execute();
    EXPECT_EQ(RegionNames(), (std::vector<AnsiString>{"three"}));
    EXPECT_EQ(form->Document().RglPath(), second);
}

TEST_F(RegionFileCommandTest, LoadRefusalsLeaveWhatTheyShould)
{
    struct TCase
    {
        const char* Name;
        AnsiString Text;
        const char* Message;
        bool WavOpen;
        int Regions;
        int CutBars;
    };
    const AnsiString header = "[FILE_INFO]\r\nWAV_FILE_PATH=" + AnsiString(wavPath) + "\r\n";
    const AnsiString region = "[REGION_0]\r\nREGION_NAME=x\r\nREGION_START=0\r\nREGION_END=9\r\n"
                              "REGION_VOL=1\r\nREGION_OUT=NoTouch\r\n";
    const TCase cases[] = {
        {"no wav", "[FILE_INFO]\r\nWAV_FILE_PATH=" + (folder / "gone.wav") + "\r\n",
         "Wavファイルが見つかりませんでした", false, 0, 0},
        {"no counts", header, "リージョンリストファイルの読み込みに失敗しました", true, 0, 0},
        {"broken cut point",
         header + "REGION_COUNT=1\r\nCUTPOINT_COUNT=3\r\n" + region +
             "[CUTPOINT]\r\nPOINT_0=700\r\nPOINT_1=30\r\nPOINT_2=x\r\n",
         "リージョンリストファイルの読み込みに失敗しました", true, 1, 2},
    };
    Start();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        folder.WriteFile("case.rgl", c.Text);
        form->LoadRegionList(folder / "case.rgl");
        EXPECT_EQ(StatusText(form), c.Message);
        EXPECT_EQ(StatusColor(form), clRed);
        EXPECT_EQ(form->FileLoaded(), c.WavOpen);
        EXPECT_EQ(form->RegionCount(), c.Regions);
        // The cut bars read before the broken one stay sorted and shown.
        EXPECT_EQ(form->Document().CutBarCount(), c.CutBars);
        EXPECT_EQ(form->CutManageList->Items()->Count(), c.CutBars);
        if (c.CutBars) {
            EXPECT_EQ(form->Document().CutBars().Strings(0), "000000000030");
        }
        EXPECT_TRUE(form->Document().RglPath().empty());
        form->actFileCloseExecute(nullptr);
    }
}

// Counts the program cannot read, or that leave out regions or cut points
// the file holds: opened with Ctrl+O, the list is not the document's, so
// Ctrl+S asks for a name instead of writing over what it could not show.
TEST_F(RegionFileCommandTest, AListWhoseCountsLoseWhatItHoldsIsNeverSavedOver)
{
    struct TCase
    {
        const char* Name;
        const char* Counts;
        const char* Points;
        int Regions; // loaded
    };
    const TCase cases[] = {
        {"region count unreadable", "REGION_COUNT=3 regions\r\nCUTPOINT_COUNT=0\r\n", "", 0},
        {"region count missing", "CUTPOINT_COUNT=0\r\n", "", 0},
        {"cut point count missing", "REGION_COUNT=3\r\n", "POINT_0=40\r\n", 3},
    };
    Start();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        AnsiString text = "[FILE_INFO]\r\nWAV_FILE_PATH=" + AnsiString(wavPath) + "\r\n" + c.Counts;
        for (int i = 0; i < 3; ++i)
            text += "[REGION_" + std::to_string(i) + "]\r\nREGION_NAME=r" + std::to_string(i) +
                    "\r\nREGION_START=0\r\nREGION_END=9\r\nREGION_VOL=1\r\nREGION_OUT=NoTouch\r\n";
        if (*c.Points)
            text += AnsiString("[CUTPOINT]\r\n") + c.Points;
        folder.WriteFile("three.rgl", text);
        AnswerFileDialogs({folder / "three.rgl"});
        PressOnWave('O', ssCtrl);
        EXPECT_EQ(StatusText(form), "リージョンリストファイルの読み込みに失敗しました");
        EXPECT_EQ(StatusColor(form), clRed);
        EXPECT_TRUE(form->FileLoaded());
        EXPECT_EQ(form->RegionCount(), c.Regions);
        EXPECT_TRUE(form->Document().RglPath().empty());

        // The next save asks for a name; cancelled, the list file is untouched.
        form->AddRegion(0, 1000);
        AnswerFileDialogs({""});
        asked.clear();
        PressOnWave('S', ssCtrl);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_TRUE(asked[0].Save);
        EXPECT_EQ(folder.ReadFile("three.rgl"), text);
        ScriptedMessageBoxes discard({IDYES});
        form->actFileCloseExecute(nullptr);
    }
}

// A list a text editor saved as UTF-8 with its mark: Ctrl+O finds its WAV
// file and shows its regions; Ctrl+S writes it back in the code page.
TEST_F(RegionFileCommandTest, AListSavedAsUtf8WithItsMarkLoadsAndSavesInTheCodePage)
{
    auto utf8 = [](const AnsiString& text) {
        std::string bytes;
        EXPECT_TRUE(Utf16ToUtf8(Utf16FromWide(AnsiToWide(text)), bytes));
        return bytes;
    };
    const std::string song = WriteHalfSilentWav(folder, "曲.wav", 16000, 8000);
    const AnsiString regions = "REGION_COUNT=1\r\nCUTPOINT_COUNT=0\r\n[REGION_0]\r\n";
    folder.WriteFile("曲.rgl", "\xEF\xBB\xBF[FILE_INFO]\r\nWAV_FILE_PATH=" + utf8(song) + "\r\n" +
                                   regions + "REGION_NAME=" + utf8("サビ") +
                                   "\r\nREGION_START=0\r\nREGION_END=900\r\nREGION_VOL=1\r\n" +
                                   "REGION_OUT=NoTouch\r\n");
    Start();
    AnswerFileDialogs({folder / "曲.rgl"});
    PressOnWave('O', ssCtrl);
    ASSERT_EQ(form->Document().FilePath(), song);
    EXPECT_EQ(RegionNames(), std::vector<AnsiString>{"サビ"});
    EXPECT_EQ(form->Document().RglPath(), folder / "曲.rgl");

    form->AddRegion(1000, 2000);
    PressOnWave('S', ssCtrl);
    const AnsiString saved = folder.ReadFile("曲.rgl");
    EXPECT_EQ(saved.rfind("[FILE_INFO]\r\n", 0), 0u); // no mark
    EXPECT_NE(saved.find("WAV_FILE_PATH=" + song + "\r\n"), AnsiString::npos);
    EXPECT_NE(saved.find("REGION_NAME=サビ\r\n"), AnsiString::npos);
}

TEST_F(RegionFileCommandTest, ALoadTheUserRefusesToCloseForKeepsTheRegionsOfTheOpenFile)
{
    OpenSong();
    AddWork();
    const AnsiString path = folder / "other.rgl";
    ASSERT_TRUE(form->SaveRegionList(path));
    form->AddRegion(4000, 4500); // unsaved, on the same WAV file
    ScriptedMessageBoxes boxes({IDNO});
    form->LoadRegionList(path);
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(form->RegionCount(), 3);
    EXPECT_TRUE(form->Document().Modified());
}

TEST_F(RegionFileCommandTest, FirstSaveProposesTheWavsNameAndNoToAnExistingFileSavesNothing)
{
    OpenSong();
    AddWork();
    const AnsiString rgl = folder / "song.rgl";
    folder.WriteFile("song.rgl", "old");
    for (const auto& save : WaysToRun(form->actFileSave, 'S', ssCtrl, true)) {
        // A name typed with another extension is asked about as ".rgl".
        AnswerFileDialogs({folder / "song.txt"});
        ScriptedMessageBoxes boxes({IDNO});
        save();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_TRUE(asked[0].Save);
        EXPECT_EQ(asked[0].Title, "リージョンリストの保存先を選択して下さい");
        EXPECT_EQ(asked[0].InitialDir, folder.Path());
        EXPECT_EQ(asked[0].FileName, "song.rgl");
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].Text,
                  "同じ名前のリージョンリストが存在します\r上書きしてもよろしいですか？");
        EXPECT_EQ(boxes.Shown()[0].Caption, "警告");
        EXPECT_EQ(folder.ReadFile("song.rgl"), "old");
        EXPECT_FALSE(FileExists(folder / "song.txt"));
        EXPECT_TRUE(form->Document().RglPath().empty());
        EXPECT_TRUE(form->Document().Modified());
        asked.clear();
    }

    AnswerFileDialogs({folder / "song.txt"});
    ScriptedMessageBoxes yes({IDYES});
    form->actFileSave->Execute();
    EXPECT_EQ(form->Document().RglPath(), rgl);
    EXPECT_EQ(form->RecentFiles().Strings(0), rgl);
    EXPECT_FALSE(form->Document().Modified());
    EXPECT_NE(folder.ReadFile("song.rgl").find("REGION_COUNT=2"), std::string::npos);

    // From now on a save writes there without asking.
    form->AddRegion(6000, 7000);
    form->actFileSave->Execute();
    EXPECT_NE(folder.ReadFile("song.rgl").find("REGION_COUNT=3"), std::string::npos);
    EXPECT_EQ(asked.size(), 1u);
}

TEST_F(RegionFileCommandTest, SaveAsWritesAnotherFileAndKeepsTheDocumentsOwn)
{
    OpenSong();
    AddWork();
    // Saved once to its own file, which is gone since.
    const AnsiString own = folder / "own.rgl";
    AnswerFileDialogs({own});
    form->actFileSave->Execute();
    ASSERT_EQ(form->Document().RglPath(), own);
    ASSERT_TRUE(DeleteFile(own));
    asked.clear();
    folder.WriteFile("copy.rgl", "old");
    for (const auto& saveAs : WaysToRun(form->actFileSaveAs, 'S', ssCtrl | ssShift, false)) {
        AnswerFileDialogs({folder / "copy.rgl"});
        ScriptedMessageBoxes boxes({IDYES});
        saveAs();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].InitialDir, folder.Path());
        EXPECT_EQ(asked[0].FileName, "own.rgl");
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].Text,
                  "同じ名前のファイルが存在します\rこのまま上書きしてもよろしいですか？");
        EXPECT_EQ(boxes.Shown()[0].Caption, "上書き確認");
        EXPECT_NE(folder.ReadFile("copy.rgl").find("REGION_COUNT=2"), std::string::npos);
        EXPECT_EQ(form->Document().RglPath(), own);
        EXPECT_EQ(form->RecentFiles().Strings(0), folder / "copy.rgl");
        EXPECT_FALSE(FileExists(own));
        asked.clear();
        folder.WriteFile("copy.rgl", "old");
    }
}

TEST_F(RegionFileCommandTest, AListThatCannotBeWrittenSaysSoAndStaysChanged)
{
    OpenSong();
    AddWork();
    folder.WriteFile("locked.rgl", "old");
    SetFileAttributesA((folder / "locked.rgl").c_str(), FILE_ATTRIBUTE_READONLY);
    AnswerFileDialogs({folder / "locked.rgl"});
    ScriptedMessageBoxes yes({IDYES});
    form->actFileSave->Execute();
    SetFileAttributesA((folder / "locked.rgl").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(StatusText(form), "リージョンリストファイルを保存できませんでした");
    EXPECT_EQ(folder.ReadFile("locked.rgl"), "old");
    EXPECT_TRUE(form->Document().RglPath().empty());
    EXPECT_TRUE(form->Document().Modified());
    EXPECT_EQ(form->RecentFiles().IndexOf(folder / "locked.rgl"), -1);
}

TEST_F(RegionFileCommandTest, NoFileCommandRunsWhileBusy)
{
    OpenSong();
    AnswerFileDialogs({});
    RunWhileLoading(*form, folder, [this] {
        for (TAction* action : {form->actFileOpen, form->actFileSave, form->actFileSaveAs})
            action->OnExecute(action);
    });
    EXPECT_TRUE(asked.empty());
}

TEST_F(RegionFileCommandTest, AShellDropOfThreeFilesOnTheWaveformOpensOnlyTheFirst)
{
    OpenSong();
    AddWork();
    const AnsiString rgl = folder / "song.rgl";
    ASSERT_TRUE(form->SaveRegionList(rgl));
    form->actFileCloseExecute(nullptr);
    const std::string other = WriteHalfSilentWav(folder, "other.wav", 8000, 8000);
    ASSERT_TRUE(ActivateForm(form));
    auto* data = new TTestDataObject;
    std::vector<std::u16string> names;
    for (const AnsiString& path : {rgl, AnsiString(other), AnsiString(wavPath)})
        names.push_back(std::u16string(path.begin(), path.end()));
    data->Offer(CF_HDROP, DropFilesBlock(names, true));
    const POINT middle = ScreenPointOf(form->WavePanel->Handle(), form->WavePanel->Width() / 2,
                                       form->WavePanel->Height() / 2);
    EXPECT_EQ(DragAndDropAt(data, middle), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(PumpUntil([this] { return form->FileLoaded(); }));
    EXPECT_EQ(form->Engine()->Path(), wavPath);
    EXPECT_EQ(RegionNames(), (std::vector<AnsiString>{"a", "b"}));
    EXPECT_EQ(form->Document().RglPath(), rgl);

    // While busy a drop opens nothing.
    {
        TBusyScope busy(form->Document());
        DragAndDropAt(data, middle);
        PumpMessages();
    }
    EXPECT_EQ(form->Engine()->Path(), wavPath);
    data->Release();
}
