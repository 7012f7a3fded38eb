// The file-list window: the WAV and region-list files the user works on,
// kept between runs in "filelist.ini" while SAVE FILELIST is on. The entry
// open in the editor carries a "*" after its name.
//
//   TForm10  the window, modeless, made once with the main window
//
// Columns: the name, the region count, the entry's path and the WAV file's
// path (the last two hidden). What a path adds, a folder's files and the
// file "filelist.ini" are FileListStore's rules; the window keeps its
// entries in FileList and opens them through the main window.
#pragma once

#include "FileListRules.h"

#include "classlib/Actions.h"
#include "classlib/Dialogs.h"
#include "classlib/Form.h"
#include "classlib/ListView.h"
#include "classlib/Menu.h"
#include "classlib/ShortCut.h"
#include "classlib/StandardControls.h"
#include "controls/FlatButton.h"
#include "controls/SkinDkPanels.h"

#include <memory>
#include <optional>
#include <vector>

class TBackgroundWork;
class TDropFileTarget;
class TFormVusk;
class TImageList;

class TForm10 : public TForm
{
public:
    // mainWindow: the owner, which opens the entries. listFile:
    // "filelist.ini"; with saveList its paths are added now and the list is
    // written back there when the window is freed.
    TForm10(TFormVusk* mainWindow, const AnsiString& listFile, bool saveList);
    ~TForm10() override;

    // The SAVE FILELIST setting the window is freed under.
    void SetSaveList(bool value) { FSaveList = value; }

    // --- Entries
    // The entries in FileList. Those of the list file are read on a thread
    // of their own from the window's making, and come in at the first need
    // of the entries (this, and every call below but MarkedItem, which wait
    // for them when they are still being read), before any added since.
    TListItems* Entries();
    // Adds the entry of path by the file-list rules (an entry with the same
    // path goes first); the added entry, or null when none was added.
    TListItem* AddFile(const AnsiString& path);
    // Adds each name's files: a folder's files directly inside it, a file
    // itself.
    void AddFiles(const std::vector<AnsiString>& names);
    static AnsiString PathOf(const TListItem* item);
    static AnsiString WavPathOf(const TListItem* item);
    TListItem* ItemOfPath(const AnsiString& path);
    // The entry whose name carries the "*", or null. Only MarkOnly puts
    // the mark, after the list file's entries came in: while they are read
    // this needs no wait.
    TListItem* MarkedItem();
    // item becomes the only entry with the "*" and is scrolled into view.
    void MarkOnly(TListItem* item);
    // item shows its plain file name again.
    void Unmark(TListItem* item);
    // Puts the entries in order of one key character each, entries with the
    // same key by name (the order a sort by the name column with these
    // characters before each name gives).
    void SortByKeys(const std::vector<char>& keys);

    TListView* FileList;
    TSkinAlignmentPanel* ButtonPanel;
    TFlatButton* AddBtn;
    TFlatButton* DeleteBtn;
    TFlatButton* CloseBtn;
    TFlatButton* OpenBtn;
    TActionList* ActionList1;
    TAction* actDelete;      // Delete, with the list focused
    TAction* actSelectAll;   // Ctrl+A, with the list focused
    TAction* actOpen;        // Enter
    TAction* actClose;       // Ctrl+W
    TAction* actFocusChange; // Ctrl+Shift+Tab: the main window
    TPopupMenu* FileListPopup;
    TMenuItem* AddItem;        // Ctrl+D
    TMenuItem* OpenItem;       // Ctrl+O
    TMenuItem* OpenFolderItem; // Ctrl+E
    TOpenDialog* OpenDialog1;  // several files at once
    TDropFileTarget* DropFileTarget1;

    // 0 no order; the sorted column's index + 1, negative descending.
    int FSortColumn = 0;

    // --- Handlers
    void AddBtnClick(TObject* Sender);
    void DeleteBtnClick(TObject* Sender);
    void CloseBtnClick(TObject* Sender);
    void OpenBtnClick(TObject* Sender);
    void OpenFolderItemClick(TObject* Sender);
    void actDeleteExecute(TObject* Sender);
    void actSelectAllExecute(TObject* Sender);
    void actFocusChangeExecute(TObject* Sender);
    void FileListColumnClick(TObject* Sender, TListColumn* Column);
    void FileListCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data,
                         int& Compare);
    void FileListCustomDrawItem(TObject* Sender, TListItem* Item, TCustomDrawState State,
                                bool& DefaultDraw);
    void FileListDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                          bool& Accept);
    void FileListDragDrop(TObject* Sender, TObject* Source, int X, int Y);
    void DropFileTarget1Drop(TObject* Sender, TShiftState Shift, TPoint Point, int& Effect);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormShortCut(WORD Key, TShiftState Shift, bool& Handled);

protected:
    // The window is made at the first show (or need of a handle), not with
    // the form; the list takes shell drops from then on.
    void CreateHandle() override;

private:
    void CreateList();
    void CreateButtons();
    void CreateActions();
    void CreatePopup();
    void RegisterDropTarget();
    // The shell's image list and icons are slow to fetch: the list takes
    // the image list when it gets its window, and an entry's icon when the
    // window first shows the entry.
    void UseShellImages();
    void FileListGetImageIndex(TObject* Sender, TListItem* Item);
    // A new item at the end for entry.
    TListItem* AddEntry(const TFileListEntry& entry);
    void ReadListFile();
    void TakeReadEntries();
    void WriteListFile();
    bool ListFocused() const;
    // The selected entry opened in the editor; it takes the "*" when the
    // editor then holds its WAV file.
    void OpenSelected();
    // The reorder of selected entries dropped on the list itself.
    void MoveSelectedBefore(TListItem* target);

    TFormVusk* FMainWindow; // the owner
    AnsiString FListFile;
    bool FSaveList;
    bool FListFileReadable = true; // false: a file is there that could not be read
    // What the read of the list file's entries gave, in the file's order
    // (none for a path that gives no entry), and whether it read them all;
    // the read, until they come in (freed first: it writes the two).
    std::vector<std::optional<TFileListEntry>> FReadEntries;
    bool FReadEntriesWhole = false;
    std::unique_ptr<TBackgroundWork> FEntriesRead;
    TImageList* FShellImages = nullptr;
};
