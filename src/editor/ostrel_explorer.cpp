// The explorer pane's tree: the entries it lists, Enter and a double click
// opening the selected file, and the Enter shortcuts withdrawn while the
// tree has the focus. Regions dropped on it are the bounce's.
#include "ostrel.h"

#include "classlib/FilePaths.h"

void TFormVusk::ShellTreeView1AddFolder(TObject* Sender, const TShellEntry& Entry, bool& CanAdd)
{
    CanAdd = Entry.IsFolder || CommandLineFileKind(Entry.Path) != TCommandLineFile::None;
}

void TFormVusk::OpenExplorerSelection()
{
    const AnsiString path = ShellTreeView1->SelectedPath();
    // A folder named like a sound file is still a folder: opening it would
    // only close the open file and fail.
    if (!FDocument.Busy() && !DirectoryExists(path))
        OpenFileByKind(path);
}

void TFormVusk::actReturnExecute(TObject* Sender)
{
    OpenExplorerSelection();
}

void TFormVusk::ShellTreeView1DblClick(TObject* Sender)
{
    OpenExplorerSelection();
}

void TFormVusk::ShellTreeView1Enter(TObject* Sender)
{
    WithdrawEnterShortCuts();
}

void TFormVusk::ShellTreeView1Exit(TObject* Sender)
{
    SuspendShortCuts(true);
}

void TFormVusk::WireExplorerEvents()
{
    Wire(ShellTreeView1->OnAddFolder, &TFormVusk::ShellTreeView1AddFolder);
    Wire(ShellTreeView1->OnDblClick, &TFormVusk::ShellTreeView1DblClick);
    Wire(ShellTreeView1->OnEnter, &TFormVusk::ShellTreeView1Enter);
    Wire(ShellTreeView1->OnExit, &TFormVusk::ShellTreeView1Exit);
    Wire(actReturn->OnExecute, &TFormVusk::actReturnExecute);
}
