// The file-system tree over a real temporary folder tree: what a folder
// lists and in which order, the path a node stands for (double-byte names
// whose second byte is "\" included), finding a path, the filter, reading
// a folder when it opens and again on refresh.
#include "classlib/FilePaths.h"
#include "classlib/ShellTreeView.h"
#include "support/FormFixture.h"
#include "support/TempFolder.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <vector>
#include <commctrl.h>

using namespace testing_support;

namespace {

using Names = std::vector<AnsiString>;

// "表" and "ソ" end in the byte 0x5C.
const AnsiString kTable = "\x95\x5C";
const AnsiString kSo = "\x83\x5C";

class ShellTreeViewTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetBounds(40, 40, 400, 500);
        for (const AnsiString& name : {AnsiString("b_dir"), AnsiString("A_dir"), kTable})
            ASSERT_TRUE(CreateDir(folder / name));
        for (const char* name : {"z.txt", "M.wav", "b_dir\\inner.rgl", ".hidden.wav"})
            folder.WriteFile(name, "x");
        folder.WriteFile(kTable + "\\" + kSo + ".wav", "x");
        SetFileAttributesA((folder / ".hidden.wav").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    void MakeTree()
    {
        tree = new TShellTreeView(form);
        tree->SetParent(form);
        tree->SetBounds(0, 0, 380, 460);
        form->Show();
    }
    // The node of folder (the temporary one), opened.
    TTreeNode* FolderNode()
    {
        if (!tree->SelectPath(folder.Path()))
            return nullptr;
        tree->Selected()->Expand(false);
        return tree->Selected();
    }
    static Names ChildNames(const TTreeNode* node)
    {
        Names names;
        for (int i = 0; i < node->Count(); ++i)
            names.push_back(node->Item(i)->Text());
        return names;
    }

    TempFolder folder;
    TShellTreeView* tree = nullptr;
};

TEST_F(ShellTreeViewTest, AFolderListsItsFoldersThenItsFilesByNameWithoutHiddenOnes)
{
    MakeTree();
    TTreeNode* node = FolderNode();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(ChildNames(node), (Names{"A_dir", "b_dir", kTable, "M.wav", "z.txt"}));
    // Folders show a button before they are read; files never.
    EXPECT_TRUE(node->Item(0)->HasChildren());
    EXPECT_FALSE(node->Item(3)->HasChildren());
    EXPECT_EQ(node->Item(0)->Count(), 0);
}

TEST_F(ShellTreeViewTest, APathSelectsItsNodeAndTheNodeGivesThePathBack)
{
    MakeTree();
    const AnsiString base = folder.Path();
    struct Case
    {
        AnsiString Asked;
        AnsiString Expected; // the selected node's path; "" when not found
    };
    const Case cases[] = {
        {base + "b_dir\\inner.rgl", base + "b_dir\\inner.rgl"},
        {base + "B_DIR\\", base + "b_dir"}, // any case, a trailing "\"
        {base + kTable + "\\" + kSo + ".wav", base + kTable + "\\" + kSo + ".wav"},
        {base + kTable, base + kTable},
        {base + "missing\\x.wav", ""},
        {base + ".hidden.wav", ""},
        {"relative\\path", ""},
    };
    for (const Case& c : cases) {
        tree->SetSelected(nullptr);
        EXPECT_EQ(tree->SelectPath(c.Asked), !c.Expected.empty()) << c.Asked;
        EXPECT_EQ(tree->SelectedPath(), c.Expected) << c.Asked;
    }
    EXPECT_EQ(tree->Path(nullptr), "");
}

TEST_F(ShellTreeViewTest, TheFilterSeesEachEntryOnceAndLeavesOutWhatItRefuses)
{
    MakeTree();
    std::vector<TShellEntry> seen;
    tree->OnAddFolder = [&](TObject*, const TShellEntry& entry, bool& canAdd) {
        if (ExtractFilePath(entry.Path) == folder.Path())
            seen.push_back(entry);
        canAdd = entry.IsFolder || ExtractFileExt(entry.Path) == ".wav";
    };
    TTreeNode* node = FolderNode();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(ChildNames(node), (Names{"A_dir", "b_dir", kTable, "M.wav"}));
    ASSERT_EQ(seen.size(), 5u);
    for (const TShellEntry& entry : seen)
        EXPECT_EQ(entry.IsFolder, DirectoryExists(entry.Path)) << entry.Path;
}

TEST_F(ShellTreeViewTest, RefreshAddsNewEntriesInPlaceDropsGoneOnesAndKeepsTheRest)
{
    MakeTree();
    TTreeNode* node = FolderNode();
    ASSERT_NE(node, nullptr);
    TTreeNode* bDir = node->Item(1);
    bDir->Expand(false);
    TTreeNode* aDir = node->Item(0);
    aDir->Expand(false); // read when it opens, and empty: no button now
    EXPECT_EQ(ChildNames(bDir), Names{"inner.rgl"});
    EXPECT_FALSE(aDir->HasChildren());

    ASSERT_TRUE(CreateDir(folder / "C_dir"));
    folder.WriteFile("a.wav", "x");
    ASSERT_TRUE(DeleteFile(folder / "z.txt"));
    folder.WriteFile("A_dir\\new.wav", "x");
    tree->Refresh(node);
    tree->Refresh(aDir);

    EXPECT_EQ(ChildNames(node), (Names{"A_dir", "b_dir", "C_dir", kTable, "a.wav", "M.wav"}));
    EXPECT_EQ(node->Item(1), bDir); // kept, still open with its children
    EXPECT_TRUE(bDir->Expanded());
    EXPECT_EQ(ChildNames(bDir), Names{"inner.rgl"});
    EXPECT_EQ(ChildNames(aDir), Names{"new.wav"});

    // A folder never opened stays unread; a file refreshes nothing.
    TTreeNode* cDir = node->Item(2);
    folder.WriteFile("C_dir\\later.wav", "x");
    tree->Refresh(cDir);
    EXPECT_EQ(cDir->Count(), 0);
    EXPECT_TRUE(cDir->HasChildren());
    tree->Refresh(node->Item(4));
    EXPECT_EQ(node->Item(4)->Count(), 0);
    cDir->Expand(false);
    EXPECT_EQ(ChildNames(cDir), Names{"later.wav"});
}

// The drives are read at the first need, once: a path looked up before the
// tree ever showed, the tree's window, or ReadRoots.
TEST_F(ShellTreeViewTest, TheDrivesAreReadOnceAtTheFirstNeed)
{
    tree = new TShellTreeView(form);
    tree->SetParent(form);
    tree->SetBounds(0, 0, 380, 460);
    tree->SetVisible(false);
    form->Show();
    EXPECT_EQ(tree->Items()->RootCount(), 0);
    ASSERT_TRUE(tree->SelectPath(folder.Path() + "M.wav"));
    EXPECT_EQ(tree->SelectedPath(), folder.Path() + "M.wav");
    const int drives = tree->Items()->RootCount();
    EXPECT_GT(drives, 0);
    EXPECT_EQ(tree->Path(tree->Items()->Root(0)).back(), '\\');
    tree->SetVisible(true);
    tree->ReadRoots();
    EXPECT_EQ(tree->Items()->RootCount(), drives);
    EXPECT_EQ(tree->SelectedPath(), folder.Path() + "M.wav");
    EXPECT_NE(tree->Items()->Root(0)->ImageIndex(), -1);
}

// Read on a thread of their own, the drives come to a window made meanwhile
// (empty until then), listed once; a path looked up meanwhile waits for them.
TEST_F(ShellTreeViewTest, DrivesReadInTheBackgroundComeOnceToAWindowMadeMeanwhile)
{
    tree = new TShellTreeView(form);
    tree->SetParent(form);
    tree->SetBounds(0, 0, 380, 460);
    int listed = 0;
    tree->OnRootsListed = [&](TObject*) { ++listed; };
    tree->ReadRootsInBackground();
    form->Show();
    ASSERT_TRUE(tree->HandleAllocated());
    EXPECT_EQ(TreeView_GetCount(tree->Handle()), 0u);
    ASSERT_TRUE(PumpUntil([&] { return !tree->RootsPending(); }));
    const int drives = tree->Items()->RootCount();
    EXPECT_GT(drives, 0);
    EXPECT_EQ(static_cast<int>(TreeView_GetCount(tree->Handle())), drives);
    EXPECT_NE(tree->Items()->Root(0)->ImageIndex(), -1);
    tree->ReadRoots();
    EXPECT_EQ(listed, 1);

    auto* hidden = new TShellTreeView(form);
    hidden->ReadRootsInBackground();
    ASSERT_TRUE(hidden->SelectPath(folder.Path() + "M.wav"));
    PumpMessages();
    EXPECT_EQ(hidden->Items()->RootCount(), drives);
}

} // namespace
