// The file-list window with the main window: the list kept in
// "filelist.ini", its entries and their "*", and the commands of both
// windows that add, open, mark, replace, sort and delete entries.
#include "editor/MainWindowFixture.h"

#include "dialogs/ql_filelist.h"
#include "editor/RecentFiles.h"
#include "editor/RegionFileDisk.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FilePaths.h"
#include "classlib/Seams.h"
#include "controls/DropTarget.h"

#include "support/ShellDrag.h"
#include "support/TestSeams.h"
#include "support/WavFile.h"
#include "support/WindowDriver.h"

using namespace testing_support;

namespace {

class FileListWindowTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        for (const char* name : {"a.wav", "song.wav", "z.wav"})
            paths.push_back(WriteWav(
                folder, name, WavBuilder().Pcm16(1, 8000, ToneSamples(8000, 1, 8000, 440, 8000))));
    }
    TForm10* Window() const { return form->FileListWindow(); }
    std::vector<AnsiString> Captions() const
    {
        std::vector<AnsiString> captions;
        TListItems* items = Window()->Entries();
        for (int i = 0; i < items->Count(); ++i)
            captions.push_back(items->Item(i)->Caption());
        return captions;
    }
    AnsiString CountOf(int index) const
    {
        return Window()->FileList->Items()->Item(index)->SubItems()->Strings(0);
    }
    // The three files in the list, the document song.wav with its "*".
    void OpenSongFromTheList()
    {
        Start();
        form->actViewFilelist->Execute();
        for (const AnsiString& path : paths)
            Window()->AddFile(path);
        Window()->FileList->SetSelected(Window()->FileList->Items()->Item(1));
        Window()->OpenBtn->Click();
        ASSERT_TRUE(form->FileLoaded());
    }

    std::vector<AnsiString> paths;
};

} // namespace

TEST_F(FileListWindowTest, TheListFileIsReadAndWrittenOnlyWithSaveFileList)
{
    struct TCase
    {
        const char* Settings;
        std::vector<AnsiString> Shown;
        bool Written;
    };
    // The list file's entries are read beside the start; one added at once
    // after it still comes after them.
    const TCase cases[] = {
        {"", {"a.wav", "z.wav", "song.wav"}, true},
        {"[SAVE]\r\nFILELIST=0\r\n", {"song.wav"}, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Settings);
        WriteSettings(c.Settings);
        folder.WriteFile("filelist.ini",
                         paths[0] + "\r\n" + (folder / "gone.wav") + "\r\n" + paths[2] + "\r\n");
        Start();
        Window()->AddFile(paths[1]);
        EXPECT_EQ(Captions(), c.Shown);
        CloseAndFree();
        const AnsiString expected =
            c.Written ? paths[0] + "\r\n" + paths[2] + "\r\n" + paths[1] + "\r\n"
                      : paths[0] + "\r\n" + (folder / "gone.wav") + "\r\n" + paths[2] + "\r\n";
        EXPECT_EQ(folder.ReadFile("filelist.ini"), expected);
    }
}

// The shell's icons cost the start dearly: the hidden list fetches none, and
// once shown (Ctrl+Shift+F) only those of the entries it shows.
TEST_F(FileListWindowTest, TheListFetchesTheIconsOfTheEntriesItShowsOnly)
{
    AnsiString list;
    for (int i = 0; i < 40; ++i)
        list += WriteWav(folder, "take" + std::to_string(i) + ".wav",
                         WavBuilder().Pcm16(1, 8000, std::vector<std::int16_t>(8, 0))) +
                "\r\n";
    folder.WriteFile("filelist.ini", list);
    Start();
    TListItems* items = Window()->Entries();
    ASSERT_EQ(items->Count(), 40);
    auto iconFetched = [items](int index) { return items->Item(index)->ImageIndex() >= 0; };
    for (int i = 0; i < items->Count(); ++i)
        EXPECT_FALSE(iconFetched(i)) << i;

    PressOnWave('F', ssCtrl | ssShift);
    ASSERT_TRUE(Window()->Visible());
    EXPECT_TRUE(PumpUntil([&] { return iconFetched(0); }));
    EXPECT_FALSE(iconFetched(39));

    ASSERT_TRUE(ActivateForm(Window()));
    Window()->FileList->SetFocus();
    PressKey(Window()->FileList->Handle(), VK_END);
    EXPECT_TRUE(PumpUntil([&] { return iconFetched(39); }));
}

TEST_F(FileListWindowTest, AddingAPathAgainMovesItsEntryToTheEnd)
{
    Start();
    for (const AnsiString& path : {paths[0], paths[1], paths[0]})
        Window()->AddFile(path);
    folder.WriteFile("bad.wav", "not a wav");
    EXPECT_EQ(Window()->AddFile(folder / "bad.wav"), nullptr);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"song.wav", "a.wav"}));
    EXPECT_EQ(CountOf(0), "0");
    EXPECT_EQ(TForm10::WavPathOf(Window()->FileList->Items()->Item(0)), paths[1]);
}

TEST_F(FileListWindowTest, OpeningAnEntryMarksItAndClosingGivesItsNameAndCountBack)
{
    OpenSongFromTheList();
    EXPECT_EQ(form->Engine()->Path(), paths[1]);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a.wav", "song.wav*", "z.wav"}));

    // Enter on another entry moves the mark.
    ASSERT_TRUE(ActivateForm(Window()));
    Window()->FileList->SetFocus();
    Window()->FileList->ClearSelection();
    Window()->FileList->SetSelected(Window()->FileList->Items()->Item(2));
    PressKey(Window()->FileList->Handle(), VK_RETURN);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a.wav", "song.wav", "z.wav*"}));

    form->actFileCloseExecute(nullptr);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a.wav", "song.wav", "z.wav"}));
    EXPECT_EQ(CountOf(2), "0");
}

TEST_F(FileListWindowTest, EveryWayOfOpeningMarksTheEntryOfTheOpenFile)
{
    const AnsiString wav = paths[1];
    const AnsiString rgl = folder / "song.rgl";
    ASSERT_TRUE(SaveRegionListFile(rgl, TRegionListFile{wav, {}, {}}));
    folder.WriteFile("filelist.ini", paths[0] + "\r\n" + wav + "\r\n" + rgl + "\r\n" + paths[2]);
    const auto dropOnWindow = [this](const AnsiString& path) {
        ASSERT_TRUE(ActivateForm(form));
        DropFilesAt({path}, ScreenPointOf(form->WavePanel->Handle(), 40, 40));
        PumpUntil([this] { return form->FileLoaded(); });
    };
    const auto enterInExplorer = [this](const AnsiString& path) {
        ASSERT_TRUE(ActivateForm(form));
        if (!form->actViewExp->Checked()) // the pane shown at the last close comes back
            form->actViewExp->Execute();
        ASSERT_TRUE(form->ShellTreeView1->SelectPath(path));
        form->ShellTreeView1->SetFocus();
        PressKey(form->ShellTreeView1->Handle(), VK_RETURN);
    };
    const auto openCommand = [this](const AnsiString& path) {
        AnswerFileDialogs({path});
        PressOnWave('O', ssCtrl);
    };
    const auto recentFile = [this](const AnsiString& path) {
        for (int i = 0; i < form->FileMenu->Count(); ++i) {
            TBarCustomItem* item = form->FileMenu->Items(i);
            const int index = RecentIndexOfCaption(item->Caption());
            if (index >= 0 && index < form->RecentFiles().Count() &&
                form->RecentFiles().Strings(index) == path)
                return ClickMenuItem(form, item);
        }
        ADD_FAILURE() << "not among the recent files: " << path;
    };
    struct Way
    {
        const char* What;
        AnsiString Path;
        std::function<void(const AnsiString&)> Open; // none: given on the command line
    };
    const Way ways[] = {
        {"command line", wav, nullptr},
        {"command line", rgl, nullptr},
        {"drop on the window", wav, dropOnWindow},
        {"drop on the window", rgl, dropOnWindow},
        {"explorer pane", wav, enterInExplorer},
        {"explorer pane", rgl, enterInExplorer},
        {"open command", wav, openCommand},
        {"recent files", wav, recentFile},
        {"recent files", rgl, recentFile},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(std::string(way.What) + " " + ExtractFileName(way.Path));
        Start(way.Open ? std::vector<AnsiString>{} : std::vector<AnsiString>{way.Path});
        if (way.Open)
            way.Open(way.Path);
        ASSERT_TRUE(form->FileLoaded());
        EXPECT_EQ(Captions(), (std::vector<AnsiString>{
                                  "a.wav", way.Path == wav ? "song.wav*" : "song.wav",
                                  way.Path == rgl ? "song.rgl*" : "song.rgl", "z.wav"}));
        CloseAndFree();
    }
}

// A reload after a preference change: the "*" follows the document it
// leaves, opened afresh or closed.
TEST_F(FileListWindowTest, TheMarkFollowsTheDocumentThatAReloadReopensOrCloses)
{
    const std::string song = paths[1];
    const auto tone = [](int frames) {
        return WavBuilder().Pcm16(1, 8000, ToneSamples(frames, 1, 8000, 440, 8000));
    };
    struct Row
    {
        const char* What;
        std::function<void()> Change;
        std::vector<int> Answers; // to the close question
        const char* SongCaption;
    };
    const Row rows[] = {
        {"the file grew: opened afresh",
         [&] { WriteWav(folder, "song.wav", tone(9000)); },
         {},
         "song.wav*"},
        {"the file was cut short: the build fails and the list is dropped",
         [&] {
             form->AddRegion(0, 1000);
             SetFileLength(song, 44 + 4000 * 2);
         },
         {IDYES},
         "song.wav"},
    };
    int threshold = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        WriteWav(folder, "song.wav", tone(8000));
        OpenSongFromTheList();
        row.Change();
        ScriptedMessageBoxes boxes(row.Answers);
        ChangeSilenceThreshold(++threshold);
        EXPECT_EQ(boxes.Shown().size(), row.Answers.size());
        EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a.wav", row.SongCaption, "z.wav"}));
        CloseAndFree();
    }
}

TEST_F(FileListWindowTest, TheFirstSaveReplacesTheWavEntryByTheRegionListInPlace)
{
    OpenSongFromTheList();
    form->AddRegion(0, 1000);
    AnswerFileDialogs({folder / "song.rgl"});
    form->actFileSave->Execute();
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a.wav", "song.rgl*", "z.wav"}));
    EXPECT_EQ(CountOf(1), "1");
    EXPECT_EQ(TForm10::PathOf(Window()->FileList->Items()->Item(1)), folder / "song.rgl");
    EXPECT_EQ(TForm10::WavPathOf(Window()->FileList->Items()->Item(1)), paths[1]);

    // The region list is the entry now: a close reads its count back.
    form->AddRegion(2000, 3000);
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    form->actFileCloseExecute(nullptr);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a.wav", "song.rgl", "z.wav"}));
    EXPECT_EQ(CountOf(1), "1");

    // Opening the region-list entry brings its regions back and marks it.
    Window()->FileList->ClearSelection();
    Window()->FileList->SetSelected(Window()->FileList->Items()->Item(1));
    Window()->OpenBtn->Click();
    EXPECT_EQ(form->RegionCount(), 1);
    EXPECT_EQ(Captions()[1], "song.rgl*");
}

TEST_F(FileListWindowTest, AddToFileListStarsOnlyTheEntryItAdded)
{
    OpenSongFromTheList();
    Window()->Hide();
    form->actViewFilelist->SetChecked(false);
    form->AddRegion(0, 1000);
    form->actFileAddFilelist->Execute();
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a.wav", "z.wav", "song.wav*"}));
    EXPECT_EQ(CountOf(2), "1");
    EXPECT_TRUE(Window()->Visible());
    EXPECT_TRUE(form->actViewFilelist->Checked());

    // A region-list path that the list does not take (no such file) leaves
    // the marks alone.
    form->AddDocumentToFileList(folder / "never-saved.rgl");
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a.wav", "z.wav", "song.wav*"}));
}

TEST_F(FileListWindowTest, TheViewCommandShowsAndHidesTheWindowFromMenuAndShortcut)
{
    Start();
    ASSERT_NE(Window(), nullptr);
    EXPECT_FALSE(Window()->Visible());
    PressOnWave('F', ssCtrl | ssShift);
    EXPECT_TRUE(Window()->Visible());
    EXPECT_TRUE(form->actViewFilelist->Checked());
    MenuItemOf(form->ViewMenu, form->actViewFilelist)->Click();
    EXPECT_FALSE(Window()->Visible());
    EXPECT_FALSE(form->actViewFilelist->Checked());

    form->actViewFilelist->Execute();
    Window()->CloseBtn->Click();
    PumpMessages();
    EXPECT_FALSE(Window()->Visible());
    EXPECT_FALSE(form->actViewFilelist->Checked());
}

TEST_F(FileListWindowTest, KeysSelectDeleteAndHeaderClicksSort)
{
    Start();
    for (const AnsiString& path : {paths[1], paths[0], paths[2]})
        Window()->AddFile(path);
    form->actViewFilelist->Execute();
    ASSERT_TRUE(ActivateForm(Window()));
    Window()->FileList->SetFocus();
    TListColumn* name = Window()->FileList->Columns()->Items(0);
    Window()->FileListColumnClick(Window()->FileList, name);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a.wav", "song.wav", "z.wav"}));
    Window()->FileListColumnClick(Window()->FileList, name);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"z.wav", "song.wav", "a.wav"}));
    EXPECT_EQ(Window()->FSortColumn, -1);

    Window()->FileList->SetSelected(Window()->FileList->Items()->Item(1));
    PressKey(Window()->FileList->Handle(), VK_DELETE);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"z.wav", "a.wav"}));
    PressKey(Window()->FileList->Handle(), 'A', ssCtrl);
    EXPECT_EQ(Window()->FileList->SelCount(), 2);
    PressKey(Window()->FileList->Handle(), VK_DELETE);
    EXPECT_TRUE(Captions().empty());
}

TEST_F(FileListWindowTest, DraggingSelectedEntriesMovesThemBeforeTheTarget)
{
    Start();
    for (const AnsiString& path : paths)
        Window()->AddFile(path);
    TListView* list = Window()->FileList;
    list->SetSelected(list->Items()->Item(2));
    const TRect target = list->Items()->Item(0)->DisplayRect(TDisplayCode::drBounds);
    Window()->FileListDragDrop(list, list, target.left + 2, target.top + 2);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"z.wav", "a.wav", "song.wav"}));
    EXPECT_EQ(Window()->FSortColumn, 1);
}

TEST_F(FileListWindowTest, ThePopupAddsFilesAndOpensTheEntrysFolder)
{
    Start();
    Seams().FileDialog = [this](TFileDialogRequest& request) {
        EXPECT_TRUE(request.Flags & OFN_ALLOWMULTISELECT);
        request.Files = {paths[2], paths[0]};
        request.FileName = paths[2];
        return true;
    };
    form->actViewFilelist->Execute();
    ASSERT_TRUE(ActivateForm(Window()));
    Window()->FileList->SetFocus();
    PressKey(Window()->FileList->Handle(), 'D', ssCtrl);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"z.wav", "a.wav"}));

    std::vector<TShellExecuteRequest> requests;
    Seams().ShellExecute = [&](const TShellExecuteRequest& request) -> intptr_t {
        requests.push_back(request);
        return 42;
    };
    Window()->FileList->SetItemFocused(Window()->FileList->Items()->Item(1));
    PressKey(Window()->FileList->Handle(), 'E', ssCtrl);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Operation, "OPEN");
    EXPECT_EQ(requests[0].File, "\"" + ExcludeTrailingBackslash(folder.Path()) + "\"");
}

TEST_F(FileListWindowTest, AShellDropAddsTheFilesOfAFolderButNotOfItsSubfolders)
{
    CreateDirectoryA((folder / "sub").c_str(), nullptr);
    WriteWav(folder, "sub\\deep.wav",
             WavBuilder().Pcm16(1, 8000, ToneSamples(800, 1, 8000, 440, 8000)));
    Start();
    form->actViewFilelist->Execute();
    ASSERT_TRUE(ActivateForm(Window()));
    DropFilesAt({ExcludeTrailingBackslash(folder.Path())},
                ScreenPointOf(Window()->FileList->Handle(), 20, 40));
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a.wav", "song.wav", "z.wav"}));
}

// The window is made with the settings but gets its window at its first
// show; the list takes shell drops from then on.
TEST_F(FileListWindowTest, TheWindowIsMadeAtItsFirstShowAndTakesShellDropsFromThen)
{
    Start();
    Window()->AddFile(paths[0]);
    EXPECT_FALSE(Window()->HandleAllocated());
    form->actViewFilelist->Execute();
    ASSERT_TRUE(Window()->FileList->HandleAllocated());
    EXPECT_EQ(RegisterDragDrop(Window()->FileList->WindowHandle(),
                               static_cast<IDropTarget*>(Window()->DropFileTarget1)),
              DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(Captions(), std::vector<AnsiString>{"a.wav"});
}

TEST_F(FileListWindowTest, AnEntryDraggedOntoTheWaveformOpensItsWavFile)
{
    Start();
    form->actViewFilelist->Execute();
    Window()->AddFile(paths[2]);
    TListView* list = Window()->FileList;
    bool accepted = false;
    form->WaveImageDragOver(form->WaveImage, form->EditList, 5, 5, TDragState::dsDragMove,
                            accepted);
    EXPECT_FALSE(accepted);
    form->WaveImageDragOver(form->OverViewImage, list, 5, 5, TDragState::dsDragMove, accepted);
    EXPECT_TRUE(accepted);
    list->SetSelected(list->Items()->Item(0));
    form->WaveImageDragDrop(form->OverViewImage, list, 5, 5);
    EXPECT_EQ(form->Engine()->Path(), paths[2]);
}

TEST_F(FileListWindowTest, CtrlShiftTabMovesTheFocusBetweenTheWindows)
{
    Start();
    PressOnWave(VK_TAB, ssCtrl | ssShift);
    EXPECT_EQ(FocusedWindow(), form->FocusBtn->Handle()); // the window is hidden
    form->actViewFilelist->Execute();
    PressOnWave(VK_TAB, ssCtrl | ssShift);
    EXPECT_EQ(FocusedWindow(), Window()->FileList->Handle());
    PressKey(Window()->FileList->Handle(), VK_TAB, ssCtrl | ssShift);
    EXPECT_EQ(GetActiveWindow(), form->Handle());
}

TEST_F(FileListWindowTest, TheExplorersSelectedPathDraggedOntoTheListOrTheWaveformArrives)
{
    Start();
    form->actViewExp->Execute();
    form->actViewFilelist->Execute();
    ASSERT_TRUE(form->ShellTreeView1->SelectPath(paths[0]));
    TObject* tree = form->ShellTreeView1;
    Window()->FileListDragDrop(Window()->FileList, tree, 5, 5);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"a.wav"}));
    bool accepted = false;
    form->WaveImageDragOver(form->WaveImage, tree, 5, 5, TDragState::dsDragMove, accepted);
    EXPECT_TRUE(accepted);
    form->WaveImageDragDrop(form->WaveImage, tree, 5, 5);
    EXPECT_EQ(form->Engine()->Path(), paths[0]);
}
