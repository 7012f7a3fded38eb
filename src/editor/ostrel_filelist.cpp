// The main window's side of the file-list window. The window itself comes
// with the other windows; until then its placement is only kept and what
// would go to it goes nowhere.
#include "ostrel.h"

void TFormVusk::CreateFileListWindow() {}
void TFormVusk::ShowFileListWindow() {}
bool TFormVusk::FileListWindowExists() const
{
    return false;
}
void TFormVusk::AddToFileList(const AnsiString& path) {}
void TFormVusk::SetFileListRegionCount(int count) {}
void TFormVusk::MarkDocumentInFileList() {}
void TFormVusk::UnmarkFileList() {}
void TFormVusk::AddDocumentToFileList(const AnsiString& path) {}
void TFormVusk::ReplaceMarkedEntryByRegionList(const AnsiString& regionListPath) {}
