// TShellTreeView: a tree view of the file system. The drives are its
// roots; beneath a folder stand its folders, then its files, each group by
// name, with the shell's small icons. The drives and the shell's icons are
// read at the first need (the tree's window, a path looked up, or
// ReadRoots), not when the tree is made, or on a thread of their own
// (ReadRootsInBackground). A folder is read when it first opens and again on
// Refresh. OnAddFolder may leave entries out; hidden
// entries are never listed, as in the shell's own views.
//
// A node's text is its name (a drive's root path for a root), so a node's
// path is its text under its parent's path.
#pragma once

#include "TreeView.h"

#include <memory>
#include <vector>

class TBackgroundWork;

struct TShellEntry
{
    AnsiString Path; // full path
    bool IsFolder = false;
};

// Sender, the entry, CanAdd (true on entry).
using TAddFolderEvent = TEvent<TObject*, const TShellEntry&, bool&>;

class TShellTreeView : public TTreeView
{
public:
    explicit TShellTreeView(TComponent* AOwner);
    ~TShellTreeView() override;

    // Reads the drives (once), with the shell's image list for the icons;
    // waits for a read in the background to end instead.
    void ReadRoots();
    // Reads the drives and their icons on a thread of their own, unless they
    // were read, and lists them once read. A window the tree gets meanwhile
    // shows none until then.
    void ReadRootsInBackground();
    // The read in the background has not listed the drives yet.
    bool RootsPending() const;
    // The path node stands for; empty for no node.
    AnsiString Path(const TTreeNode* node) const;
    // The selected node's path; empty when nothing is selected.
    AnsiString SelectedPath() const { return Path(Selected()); }
    // Opens the folders down to path and selects its node. False, and
    // nothing selected anew, when the tree does not list path.
    bool SelectPath(const AnsiString& path);
    // Reads node's folder again if it was read: new entries are added in
    // their places, gone ones removed, the others keep their state. A file
    // node refreshes nothing.
    void Refresh(TTreeNode* node);

    TAddFolderEvent OnAddFolder;
    // Once the drives are listed, read here or in the background.
    TNotifyEvent OnRootsListed;

protected:
    bool CanExpand(TTreeNode* node) override;
    void CreateWnd() override;

private:
    struct TRoots; // the drives with their icons, and the shell's image list

    // Any thread may read them.
    static TRoots ReadShellRoots();
    void ListRoots(const TRoots& roots);
    std::vector<TShellEntry> ReadFolder(const AnsiString& folder);
    void Fill(TTreeNode* node);
    TTreeNode* AddEntry(TTreeNode* parent, TTreeNode* before, const TShellEntry& entry, int icon);
    TTreeNode* ChildNamed(const TTreeNode* parent, const AnsiString& name) const;

    bool FRootsRead = false;
    std::unique_ptr<TBackgroundWork> FRootsReading; // the read in the background, once asked for
};
