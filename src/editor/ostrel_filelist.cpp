// The main window's side of the file-list window: making, showing and
// freeing it, its place in the settings, and the "*" of the entry the
// document was opened from, kept in step by the file commands.
#include "ostrel.h"

#include "RegionFileDisk.h"

#include "audio/DirectWavEngine.h"
#include "dialogs/FileListStore.h"
#include "dialogs/ql_filelist.h"

#include "classlib/FileNames.h"
#include "classlib/TextUtils.h"

void TFormVusk::WireFileListCommands()
{
    Wire(actViewFilelist->OnExecute, &TFormVusk::actViewFilelistExecute);
    Wire(actTab2->OnExecute, &TFormVusk::actTab2Execute);
    for (TCursolImage* image : {WaveImage, OverViewImage}) {
        Wire(image->OnDragOver, &TFormVusk::WaveImageDragOver);
        Wire(image->OnDragDrop, &TFormVusk::WaveImageDragDrop);
    }
}

AnsiString TFormVusk::DraggedPath(TObject* Source) const
{
    if (Source == ShellTreeView1)
        return ShellTreeView1->SelectedPath();
    if (FFileListWindow && Source == FFileListWindow->FileList)
        if (const TListItem* entry = FFileListWindow->FileList->Selected())
            return TForm10::WavPathOf(entry);
    return "";
}

void TFormVusk::WaveImageDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                                  bool& Accept)
{
    Accept = Source == ShellTreeView1 || (FFileListWindow && Source == FFileListWindow->FileList);
}

void TFormVusk::WaveImageDragDrop(TObject* Sender, TObject* Source, int X, int Y)
{
    const AnsiString path = DraggedPath(Source);
    if (!FDocument.Busy() && !path.empty())
        OpenFileByKind(path);
}

void TFormVusk::CreateFileListWindow()
{
    if (FFileListWindow)
        return;
    FFileListWindow = new TForm10(this, FileListFilePath(SettingsPath()), FOption.SaveFileList);
    SetFileListPlacement(FFileListPlacement);
}

void TFormVusk::FreeFileListWindow()
{
    if (!FFileListWindow)
        return;
    FFileListPlacement = FileListPlacement();
    FFileListWindow->SetSaveList(FOption.SaveFileList);
    TForm10* window = FFileListWindow;
    FFileListWindow = nullptr;
    delete window;
}

TFormVusk::TFileListPlacement TFormVusk::FileListPlacement() const
{
    if (!FFileListWindow)
        return FFileListPlacement;
    const TForm10& window = *FFileListWindow;
    return {window.Left(), window.Top(), window.Width(), window.Height(),
            window.FileList->Columns()->Items(0)->Width()};
}

void TFormVusk::SetFileListPlacement(const TFileListPlacement& value)
{
    FFileListPlacement = value;
    if (!FFileListWindow)
        return;
    FFileListWindow->SetBounds(value.Left, value.Top, value.Width, value.Height);
    FFileListWindow->FileList->Columns()->Items(0)->SetWidth(value.NameWidth);
}

void TFormVusk::ShowFileListWindow()
{
    CreateFileListWindow();
    FFileListWindow->Show();
    actViewFilelist->SetChecked(true);
}

void TFormVusk::actViewFilelistExecute(TObject* Sender)
{
    if (!actViewFilelist->Checked()) {
        ShowFileListWindow();
        return;
    }
    if (FFileListWindow)
        FFileListWindow->Hide();
    actViewFilelist->SetChecked(false);
}

void TFormVusk::actTab2Execute(TObject* Sender)
{
    if (!actViewFilelist->Checked() || !FFileListWindow)
        return;
    FFileListWindow->Show();
    FFileListWindow->SetFocus();
    if (FFileListWindow->FileList->CanFocus())
        FFileListWindow->FileList->SetFocus();
}

bool TFormVusk::FileListWindowExists() const
{
    return FFileListWindow != nullptr;
}

void TFormVusk::AddToFileList(const AnsiString& path)
{
    if (FFileListWindow)
        FFileListWindow->AddFile(path);
}

// --- The entry of the document -----------------------------------------------------------------

void TFormVusk::ShowDocumentInFileList()
{
    if (!FFileListWindow)
        return;
    if (TListItem* item =
            FileLoaded() ? FFileListWindow->ItemOfPath(FDocument.ListPath()) : nullptr)
        FFileListWindow->MarkOnly(item);
    else
        UnmarkFileList();
}

void TFormVusk::UnmarkFileList()
{
    if (!FFileListWindow)
        return;
    TListItem* item = FFileListWindow->MarkedItem();
    if (!item)
        return;
    FFileListWindow->Unmark(item);
    const AnsiString path = TForm10::PathOf(item);
    AnsiString count = "0";
    if (LowerCase(ExtractFileExt(path)) == ".rgl") {
        const std::optional<TIniContent> ini = ReadRegionListFile(path);
        count = IntToStr(ini ? RegionListRegionCount(*ini) : -1);
    }
    item->SubItems()->SetStrings(0, count);
    FFileListWindow->FileList->Invalidate();
}

void TFormVusk::AddDocumentToFileList(const AnsiString& path)
{
    if (!FFileListWindow)
        return;
    TListItem* item = FFileListWindow->AddFile(path);
    if (!item)
        return;
    FFileListWindow->MarkOnly(item);
    item->SubItems()->SetStrings(0, IntToStr(RegionCount()));
}

void TFormVusk::ReplaceMarkedEntryByRegionList(const AnsiString& regionListPath)
{
    if (!FFileListWindow)
        return;
    TListItem* marked = FFileListWindow->MarkedItem();
    if (!marked || LowerCase(ExtractFileExt(TForm10::PathOf(marked))) == ".rgl")
        return;
    TListItems* items = FFileListWindow->Entries();
    TListItemsUpdate update(items);
    TListItem* added = FFileListWindow->AddFile(regionListPath);
    if (added) {
        // The new entry takes the marked one's place: the entries before it
        // keep in front, those after it behind.
        std::vector<char> keys;
        const int markedIndex = marked->Index();
        for (int i = 0; i < items->Count(); ++i)
            keys.push_back(i < markedIndex                               ? '0'
                           : i == markedIndex || items->Item(i) == added ? '1'
                                                                         : '2');
        FFileListWindow->SortByKeys(keys);
        marked->Delete();
        FFileListWindow->MarkOnly(added);
    }
}

void TFormVusk::SetFileListRegionCount(int count)
{
    if (!FFileListWindow)
        return;
    if (TListItem* marked = FFileListWindow->MarkedItem()) {
        marked->SubItems()->SetStrings(0, IntToStr(count));
        FFileListWindow->FileList->Invalidate();
    }
}
