// The explorer pane's tree in the running window over a real folder: what
// it lists, Enter and a double click opening the selected file, and the
// Enter shortcuts withdrawn while the tree has the focus.
#include "MainWindowFixture.h"

#include "classlib/DragManager.h"
#include "classlib/FilePaths.h"
#include "support/WavFile.h"

#include <optional>
#include <vector>

using namespace testing_support;

namespace {

using Names = std::vector<AnsiString>;

constexpr const char* kOpenedCaption = "take.wav - Mono 16bit @ 8000 Hz";

class ExplorerTreeTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(CreateDir(folder / "songs"));
        for (const char* name : {"songs\\b.RGL", "songs\\c.txt", "songs\\d.wave", "songs\\e.wav"})
            folder.WriteFile(name, "x");
        WriteWav(folder, "songs\\take.wav", WavBuilder().Pcm16(1, 8000, Samples(800, 0)));
        Start();
        form->actViewExp->Execute();
        ASSERT_TRUE(form->ShellTreeView1->Visible());
        ASSERT_TRUE(ActivateForm(form));
    }
    TShellTreeView* Tree() const { return form->ShellTreeView1; }
    // Selects the songs folder's node and opens it.
    TTreeNode* SongsNode()
    {
        if (!Tree()->SelectPath(folder / "songs"))
            return nullptr;
        Tree()->Selected()->Expand(false);
        PumpMessages();
        return Tree()->Selected();
    }
    void FocusTree()
    {
        Tree()->SetFocus();
        PumpMessages();
        ASSERT_EQ(FocusedWindow(), Tree()->Handle());
    }
    void DoubleClick(const TTreeNode* node)
    {
        const TRect r = node->DisplayRect(true);
        RealDoubleClick(
            ScreenPointOf(Tree()->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }
    static std::vector<std::int16_t> Samples(int count, std::int16_t value)
    {
        return std::vector<std::int16_t>(count, value);
    }
};

TEST_F(ExplorerTreeTest, ListsFoldersAndOnlyWavAndRegionListFilesOfAnyCase)
{
    ASSERT_TRUE(CreateDir(folder / "songs\\inner.wav"));
    TTreeNode* songs = SongsNode();
    ASSERT_NE(songs, nullptr);
    Names names;
    for (int i = 0; i < songs->Count(); ++i)
        names.push_back(songs->Item(i)->Text());
    EXPECT_EQ(names, (Names{"inner.wav", "b.RGL", "e.wav", "take.wav"}));
}

TEST_F(ExplorerTreeTest, EnterOpensTheSelectedWavFileWhileTheTreeHasTheFocus)
{
    TTreeNode* songs = SongsNode();
    ASSERT_NE(songs, nullptr);
    ASSERT_TRUE(Tree()->SelectPath(folder / "songs\\take.wav"));
    int regionAdds = 0;
    form->actRegionAdd->OnExecute = [&](TObject*) { ++regionAdds; };

    FocusTree();
    EXPECT_EQ(form->actRegionAdd->ShortCut(), scNone);
    EXPECT_EQ(form->actFileSave->ShortCut(), scCtrl | 'S'); // only Enter is withdrawn
    PressKey(Tree()->Handle(), VK_RETURN);
    EXPECT_EQ(form->Caption(), kOpenedCaption);
    EXPECT_EQ(regionAdds, 0);

    // Leaving the tree gives Enter back to its command.
    form->FocusBtn->SetFocus();
    PumpMessages();
    EXPECT_EQ(form->actRegionAdd->ShortCut(), VK_RETURN);
}

TEST_F(ExplorerTreeTest, NothingOpensWhileBusyOrOnAFolderEvenOneNamedLikeASoundFile)
{
    ASSERT_TRUE(CreateDir(folder / "songs\\inner.wav"));
    // The file open stays open.
    ASSERT_TRUE(form->OpenWavFile(
        WriteWav(folder, "kept.wav", WavBuilder().Pcm16(2, 8000, Samples(800, 0)))));
    const AnsiString kept = form->Caption();
    TTreeNode* songs = SongsNode();
    ASSERT_NE(songs, nullptr);
    FocusTree();
    struct Case
    {
        const char* Selected; // under songs; "" for the folder itself
        bool Busy;
    };
    const Case cases[] = {{"take.wav", true}, {"", false}, {"inner.wav", false}};
    for (const Case& c : cases) {
        std::optional<TBusyScope> busy;
        if (c.Busy)
            busy.emplace(form->Document());
        ASSERT_TRUE(Tree()->SelectPath(folder / "songs\\" + c.Selected));
        PressKey(Tree()->Handle(), VK_RETURN);
        EXPECT_EQ(form->Caption(), kept) << c.Selected;
    }
}

TEST_F(ExplorerTreeTest, ADoubleClickOpensTheFileClicked)
{
    TTreeNode* songs = SongsNode();
    ASSERT_NE(songs, nullptr);
    TTreeNode* take = songs->Item(songs->Count() - 1);
    ASSERT_EQ(take->Text(), "take.wav");
    DoubleClick(take);
    EXPECT_EQ(form->Caption(), kOpenedCaption);
    EXPECT_EQ(Tree()->Selected(), take);
    EXPECT_EQ(DragManagerWindow(), nullptr); // the tree drags by itself, but no drag waits
}

TEST_F(ExplorerTreeTest, AFileDraggedByHandOntoTheWaveformOpens)
{
    TTreeNode* songs = SongsNode(); // selected
    ASSERT_NE(songs, nullptr);
    TTreeNode* take = songs->Item(songs->Count() - 1);
    const TRect r = take->DisplayRect(true);
    const POINT from =
        ScreenPointOf(Tree()->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const TRect wave = form->WaveImage->ClientRect();
    const TPoint onWave = form->WaveImage->ClientToScreen(TPoint(wave.right / 2, wave.bottom / 2));
    RealDrag(from, {{from.x + 30, from.y}, {onWave.x, onWave.y}});
    EXPECT_EQ(form->Caption(), kOpenedCaption); // the node dragged, not the one selected before
    EXPECT_EQ(DragManagerWindow(), nullptr);
}

} // namespace
