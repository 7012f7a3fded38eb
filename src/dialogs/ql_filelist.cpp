#include "ql_filelist.h"

#include "FileListStore.h"

#include "controls/DropTarget.h"

#include "editor/RegionList.h"
#include "editor/ostrel.h"

#include "audio/DirectWavEngine.h"
#include "classlib/BackgroundWork.h"
#include "classlib/FilePaths.h"
#include "classlib/ImageList.h"
#include "classlib/Seams.h"
#include "classlib/ShortCut.h"
#include "classlib/TextUtils.h"

#include <unordered_map>

namespace {

constexpr int kButtonPanelHeight = 34;
// "ファイルを開く" (84 px in the system font) with the button's margins, and
// the three short ones narrower, so that all four fit the window's first
// size (280 pixels).
constexpr int kButtonWidth = 52;
constexpr int kOpenButtonWidth = 96;
constexpr int kButtonHeight = 25;
constexpr int kMargin = 4;
constexpr TColor kStripeColor = 0xE1FFFF;
constexpr char kOpenMark = '*';
// An entry's image before the list first shows it: the shell's icon is
// slow to fetch, and a hidden list needs none.
constexpr int kIconNotFetched = -2;

// The sub-items of an entry.
constexpr int kRegionCountItem = 0;
constexpr int kPathItem = 1;
constexpr int kWavPathItem = 2;

constexpr const char* kOpenFilter = "読み込み可能なファイル|*.wav;*.rgl|wavファイル(*.wav) "
                                    "|*.wav|リージョンファイル(*.rgl)|*.rgl|全てのファイル|*.*";

TAction* MakeFileListAction(TForm10* owner, TActionList* list, const char* name,
                            const char* caption, TShortCut key)
{
    auto* action = new TAction(owner);
    action->SetName(name);
    action->SetCaption(caption);
    action->SetShortCut(key);
    action->SetActionList(list);
    return action;
}

TMenuItem* AddPopupItem(TForm10* owner, TPopupMenu* popup, const AnsiString& caption, TShortCut key)
{
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->SetShortCut(key);
    popup->Items()->Add(item);
    return item;
}

TMenuItem* AddPopupItem(TForm10* owner, TPopupMenu* popup, TAction* action)
{
    auto* item = new TMenuItem(owner);
    item->SetAction(action);
    popup->Items()->Add(item);
    return item;
}

bool IsMarked(const TListItem* item)
{
    return item->Caption().find(kOpenMark) != AnsiString::npos;
}

} // namespace

TForm10::TForm10(TFormVusk* mainWindow, const AnsiString& listFile, bool saveList)
    : TForm(mainWindow), FMainWindow(mainWindow), FListFile(listFile), FSaveList(saveList)
{
    SetName("Form10");
    SetCaption("ファイルリスト");
    SetBounds(40, 40, 280, 200);
    CreateActions();
    CreateList();
    CreateButtons();
    CreatePopup();
    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog1->SetFilter(kOpenFilter);
    OpenDialog1->SetOptions(OpenDialog1->Options() | ofAllowMultiSelect);
    DropFileTarget1 = new TDropFileTarget(this);
    DropFileTarget1->SetName("DropFileTarget1");
    DropFileTarget1->OnDrop = TDropTargetEvent(this, &TForm10::DropFileTarget1Drop);
    OnClose = TCloseEvent(this, &TForm10::FormClose);
    OnShortCut = TShortCutEvent(this, &TForm10::FormShortCut);
    FinishLoading();
    if (FSaveList)
        ReadListFile();
}

void TForm10::CreateHandle()
{
    TakeReadEntries();
    UseShellImages();
    TForm::CreateHandle();
    RegisterDropTarget();
}

void TForm10::RegisterDropTarget()
{
    try {
        DropFileTarget1->Register(FileList);
    } catch (const std::exception&) {
        // Without a drop target the list still takes files every other way.
    }
}

void TForm10::UseShellImages()
{
    if (FShellImages)
        return;
    FShellImages = NewShellSmallImages(this);
    FileList->SetSmallImages(FShellImages);
}

void TForm10::FileListGetImageIndex(TObject* Sender, TListItem* Item)
{
    if (Item->ImageIndex() == kIconNotFetched)
        Item->SetImageIndex(ShellSmallIconIndex(PathOf(Item)));
}

TForm10::~TForm10()
{
    try {
        DropFileTarget1->Unregister();
    } catch (const std::exception&) {
        // The list goes with the window; nothing is left to unregister.
    }
    if (FSaveList)
        WriteListFile();
}

void TForm10::CreateList()
{
    FileList = MakeChildControl<TListView>(this, this, "FileList");
    FileList->SetAlign(TAlign::alClient);
    FileList->SetViewStyle(TViewStyle::vsReport);
    FileList->SetMultiSelect(true);
    FileList->SetRowSelect(true);
    FileList->SetReadOnly(true);
    FileList->SetHideSelection(false);
    FileList->SetDragMode(TDragMode::dmAutomatic);
    struct TColumnEntry
    {
        const char* Caption;
        int Width;
        TAlignment Alignment;
    };
    const TColumnEntry columns[] = {{"ファイル名", 160, TAlignment::taLeftJustify},
                                    {"リージョン数", 80, TAlignment::taRightJustify},
                                    {"パス", 0, TAlignment::taLeftJustify},
                                    {"wavパス", 0, TAlignment::taLeftJustify}};
    for (const TColumnEntry& entry : columns) {
        TListColumn* column = FileList->Columns()->Add();
        column->SetCaption(entry.Caption);
        column->SetWidth(entry.Width);
        column->SetAlignment(entry.Alignment);
    }
    FileList->OnDblClick = TNotifyEvent(this, &TForm10::OpenBtnClick);
    FileList->OnColumnClick = TLVColumnClickEvent(this, &TForm10::FileListColumnClick);
    FileList->OnCompare = TLVCompareEvent(this, &TForm10::FileListCompare);
    FileList->OnCustomDrawItem = TLVCustomDrawItemEvent(this, &TForm10::FileListCustomDrawItem);
    FileList->OnGetImageIndex = TLVNotifyEvent(this, &TForm10::FileListGetImageIndex);
    FileList->OnDragOver = TDragOverEvent(this, &TForm10::FileListDragOver);
    FileList->OnDragDrop = TDragDropEvent(this, &TForm10::FileListDragDrop);
}

void TForm10::CreateButtons()
{
    ButtonPanel = MakeChildControl<TSkinAlignmentPanel>(this, this, "ButtonPanel");
    ButtonPanel->SetAlign(TAlign::alBottom);
    ButtonPanel->SetHeight(kButtonPanelHeight);
    struct TButtonEntry
    {
        TFlatButton* TForm10::*Field;
        const char* Name;
        const char* Caption;
        int Width;
        void (TForm10::*Click)(TObject*);
    };
    const TButtonEntry buttons[] = {
        {&TForm10::AddBtn, "AddBtn", "追加", kButtonWidth, &TForm10::AddBtnClick},
        {&TForm10::DeleteBtn, "DeleteBtn", "削除", kButtonWidth, &TForm10::DeleteBtnClick},
        {&TForm10::CloseBtn, "CloseBtn", "閉じる", kButtonWidth, &TForm10::CloseBtnClick},
        {&TForm10::OpenBtn, "OpenBtn", "ファイルを開く", kOpenButtonWidth, &TForm10::OpenBtnClick},
    };
    int left = kMargin;
    for (const TButtonEntry& entry : buttons) {
        TFlatButton* button = MakeChildControl<TFlatButton>(this, ButtonPanel, entry.Name);
        button->SetCaption(entry.Caption);
        button->SetBounds(left, kMargin, entry.Width, kButtonHeight);
        button->OnClick = TNotifyEvent(this, entry.Click);
        this->*entry.Field = button;
        left += entry.Width + kMargin;
    }
}

void TForm10::CreateActions()
{
    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    actDelete =
        MakeFileListAction(this, ActionList1, "actDelete", "削除(&D)", ShortCut(VK_DELETE, 0));
    actDelete->OnExecute = TNotifyEvent(this, &TForm10::actDeleteExecute);
    actSelectAll = MakeFileListAction(this, ActionList1, "actSelectAll", "全て選択(&S)",
                                      ShortCut('A', ssCtrl));
    actSelectAll->OnExecute = TNotifyEvent(this, &TForm10::actSelectAllExecute);
    actOpen = MakeFileListAction(this, ActionList1, "actOpen", "ファイルを開く(&O)",
                                 ShortCut(VK_RETURN, 0));
    actOpen->OnExecute = TNotifyEvent(this, &TForm10::OpenBtnClick);
    actClose = MakeFileListAction(this, ActionList1, "actClose", "", ShortCut('W', ssCtrl));
    actClose->OnExecute = TNotifyEvent(this, &TForm10::CloseBtnClick);
    actFocusChange = MakeFileListAction(this, ActionList1, "actFocusChange", "",
                                        ShortCut(VK_TAB, ssCtrl | ssShift));
    actFocusChange->OnExecute = TNotifyEvent(this, &TForm10::actFocusChangeExecute);
}

void TForm10::CreatePopup()
{
    FileListPopup = new TPopupMenu(this);
    FileListPopup->SetName("FileListPopup");
    AddItem = AddPopupItem(this, FileListPopup, "追加(&A)", ShortCut('D', ssCtrl));
    AddItem->OnClick = TNotifyEvent(this, &TForm10::AddBtnClick);
    AddPopupItem(this, FileListPopup, actDelete);
    AddPopupItem(this, FileListPopup, actSelectAll);
    AddPopupItem(this, FileListPopup, "-", 0);
    OpenItem = AddPopupItem(this, FileListPopup, "ファイルを開く(&O)", ShortCut('O', ssCtrl));
    OpenItem->OnClick = TNotifyEvent(this, &TForm10::OpenBtnClick);
    AddPopupItem(this, FileListPopup, "-", 0);
    OpenFolderItem = AddPopupItem(this, FileListPopup, "このファイルのあるフォルダを開く(&E)",
                                  ShortCut('E', ssCtrl));
    OpenFolderItem->OnClick = TNotifyEvent(this, &TForm10::OpenFolderItemClick);
    FileList->SetPopupMenu(FileListPopup);
}

// --- Entries ---------------------------------------------------------------------------------

AnsiString TForm10::PathOf(const TListItem* item)
{
    return item->SubItems()->Strings(kPathItem);
}

AnsiString TForm10::WavPathOf(const TListItem* item)
{
    return item->SubItems()->Strings(kWavPathItem);
}

TListItem* TForm10::ItemOfPath(const AnsiString& path)
{
    TListItems* items = Entries();
    for (int i = 0; i < items->Count(); ++i)
        if (PathOf(items->Item(i)) == path)
            return items->Item(i);
    return nullptr;
}

TListItem* TForm10::AddFile(const AnsiString& path)
{
    if (TListItem* same = ItemOfPath(path))
        same->Delete();
    const std::optional<TFileListEntry> entry = FileListEntryFor(path);
    return entry ? AddEntry(*entry) : nullptr;
}

TListItem* TForm10::AddEntry(const TFileListEntry& entry)
{
    TListItem* item = FileList->Items()->Add();
    item->SetCaption(entry.FileName);
    TStrings* texts = item->SubItems();
    texts->Add(entry.RegionCount);
    texts->Add(entry.Path);
    texts->Add(entry.WavPath);
    item->SetImageIndex(kIconNotFetched);
    return item;
}

void TForm10::AddFiles(const std::vector<AnsiString>& names)
{
    TListItemsUpdate update(Entries());
    for (const AnsiString& path : FileListCandidates(names))
        AddFile(path);
}

TListItem* TForm10::MarkedItem()
{
    TListItems* items = FileList->Items();
    for (int i = 0; i < items->Count(); ++i)
        if (IsMarked(items->Item(i)))
            return items->Item(i);
    return nullptr;
}

void TForm10::Unmark(TListItem* item)
{
    item->SetCaption(ExtractFileName(PathOf(item)));
}

void TForm10::MarkOnly(TListItem* item)
{
    TListItems* items = Entries();
    for (int i = 0; i < items->Count(); ++i)
        if (items->Item(i) != item && IsMarked(items->Item(i)))
            Unmark(items->Item(i));
    if (!IsMarked(item))
        item->SetCaption(item->Caption() + kOpenMark);
    item->MakeVisible(false);
    FileList->Invalidate();
}

void TForm10::SortByKeys(const std::vector<char>& keys)
{
    TListItems* items = Entries();
    if (static_cast<int>(keys.size()) != items->Count())
        return;
    std::unordered_map<const TListItem*, char> keyOf;
    for (int i = 0; i < items->Count(); ++i)
        keyOf[items->Item(i)] = keys[i];
    FSortColumn = 1;
    FileList->CustomSort([&keyOf](TListItem* a, TListItem* b) {
        if (keyOf[a] != keyOf[b])
            return keyOf[a] < keyOf[b] ? -1 : 1;
        return AnsiCompareStr(a->Caption(), b->Caption());
    });
}

// --- filelist.ini ------------------------------------------------------------------------------

void TForm10::ReadListFile()
{
    std::optional<std::vector<AnsiString>> paths = ReadFileListFile(FListFile);
    FListFileReadable = paths.has_value();
    if (!paths || paths->empty())
        return;
    // Every entry asks its file whether it can be opened: for a long list
    // that takes longer than the rest of the start, which goes on beside it.
    FEntriesRead = std::make_unique<TBackgroundWork>(
        [this, paths = std::move(*paths)] {
            for (const AnsiString& path : paths)
                FReadEntries.push_back(FileListEntryFor(path));
        },
        [this] { FReadEntriesWhole = true; });
}

void TForm10::TakeReadEntries()
{
    if (!FEntriesRead)
        return;
    // A read that failed (told when it raised) must not have the list file
    // replaced by the part it read.
    FListFileReadable = false;
    FEntriesRead->Await();
    FEntriesRead.reset();
    if (!FReadEntriesWhole)
        return;
    FListFileReadable = true;
    // Each path is there once: no entry of the same path to take out first.
    TListItemsUpdate update(FileList->Items());
    for (const std::optional<TFileListEntry>& entry : FReadEntries)
        if (entry)
            AddEntry(*entry);
    FReadEntries.clear();
}

TListItems* TForm10::Entries()
{
    TakeReadEntries();
    return FileList->Items();
}

void TForm10::WriteListFile()
{
    // A list file that was there but could not be read is never replaced
    // by what this run happened to hold: the entries are taken first, since
    // a read that failed beside the start tells so only then.
    TListItems* items = Entries();
    if (!FListFileReadable)
        return;
    std::vector<AnsiString> paths;
    for (int i = 0; i < items->Count(); ++i)
        paths.push_back(PathOf(items->Item(i)));
    WriteFileListFile(FListFile, paths);
}

// --- Commands ----------------------------------------------------------------------------------

bool TForm10::ListFocused() const
{
    return ActiveControl() == FileList;
}

void TForm10::AddBtnClick(TObject* Sender)
{
    if (OpenDialog1->Execute(Handle()))
        AddFiles(OpenDialog1->Files());
}

void TForm10::DeleteBtnClick(TObject* Sender)
{
    {
        TListItems* items = FileList->Items();
        TListItemsUpdate update(items);
        for (std::vector<int> selected = FileList->SelectedIndexes(); !selected.empty();
             selected.pop_back())
            items->Delete(selected.back());
    }
    if (TListItem* focused = FileList->ItemFocused()) {
        focused->SetSelected(true);
        focused->MakeVisible(false);
    }
}

void TForm10::actDeleteExecute(TObject* Sender)
{
    if (ListFocused())
        DeleteBtnClick(Sender);
}

void TForm10::actSelectAllExecute(TObject* Sender)
{
    if (ListFocused())
        FileList->SelectAll();
}

void TForm10::CloseBtnClick(TObject* Sender)
{
    Close();
}

void TForm10::FormClose(TObject* Sender, TCloseAction& Action)
{
    FMainWindow->actViewFilelist->SetChecked(false);
}

void TForm10::actFocusChangeExecute(TObject* Sender)
{
    if (FMainWindow->Visible())
        FMainWindow->SetFocus();
}

void TForm10::FormShortCut(WORD Key, TShiftState Shift, bool& Handled)
{
    Handled = FileListPopup->IsShortCut(Key, Shift);
}

void TForm10::OpenBtnClick(TObject* Sender)
{
    OpenSelected();
}

void TForm10::OpenSelected()
{
    if (FMainWindow->Document().Busy() || !FileList->Selected())
        return;
    // The "*" follows the document the open leaves.
    FMainWindow->OpenFileByKind(PathOf(FileList->Selected()));
}

void TForm10::OpenFolderItemClick(TObject* Sender)
{
    TListItem* item = FileList->ItemFocused();
    if (!item)
        return;
    TShellExecuteRequest request;
    request.Owner = Handle();
    request.Operation = "OPEN";
    request.File = "\"" + ExtractFileDir(PathOf(item)) + "\"";
    Seams().ShellExecute(request);
}

// --- Sorting and drawing -----------------------------------------------------------------------

void TForm10::FileListColumnClick(TObject* Sender, TListColumn* Column)
{
    const int key = Column->Index() + 1;
    FSortColumn = FSortColumn == key ? -FSortColumn : key;
    FileList->AlphaSort();
}

void TForm10::FileListCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data,
                              int& Compare)
{
    const int column = FSortColumn < 0 ? -FSortColumn : FSortColumn;
    if (column == 0) {
        Compare = 0;
        return;
    }
    const AnsiString a = column == 1 ? Item1->Caption() : Item1->SubItems()->Strings(column - 2);
    const AnsiString b = column == 1 ? Item2->Caption() : Item2->SubItems()->Strings(column - 2);
    Compare = AnsiCompareStr(a, b);
    if (FSortColumn < 0)
        Compare = -Compare;
}

void TForm10::FileListCustomDrawItem(TObject* Sender, TListItem* Item, TCustomDrawState State,
                                     bool& DefaultDraw)
{
    TCanvas* canvas = FileList->Canvas();
    const bool stripe =
        FMainWindow->FOption.Stripe && !(State & cdsSelected) && Item->Index() % 2 == 1;
    canvas->Brush()->SetColor(stripe ? kStripeColor : clWindow);
    const bool marked = IsMarked(Item);
    canvas->Font()->SetColor(marked ? clRed : clBlack);
    canvas->Font()->SetStyle(marked ? TFontStyles(fsBold) : TFontStyles(0));
}

// --- Drops -------------------------------------------------------------------------------------

void TForm10::DropFileTarget1Drop(TObject* Sender, TShiftState Shift, TPoint Point, int& Effect)
{
    AddFiles(DropFileTarget1->Files());
}

void TForm10::FileListDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                               bool& Accept)
{
    Accept = true;
}

void TForm10::FileListDragDrop(TObject* Sender, TObject* Source, int X, int Y)
{
    if (Source == FileList)
        MoveSelectedBefore(FileList->GetItemAt(X, Y));
    else if (Source == FMainWindow->ShellTreeView1 && FMainWindow->ShellTreeView1->Selected())
        AddFiles({FMainWindow->ShellTreeView1->SelectedPath()});
}

void TForm10::MoveSelectedBefore(TListItem* target)
{
    TListItems* items = FileList->Items();
    std::vector<bool> selected;
    for (int i = 0; i < items->Count(); ++i)
        selected.push_back(items->Item(i)->Selected());
    const std::optional<std::vector<char>> keys =
        MoveRowsKeys(selected, target ? target->Index() : -1);
    if (keys)
        SortByKeys(*keys);
}
