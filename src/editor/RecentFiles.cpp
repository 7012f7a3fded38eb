#include "RecentFiles.h"

#include "classlib/FilePaths.h"
#include "classlib/TextUtils.h"

void PutRecentFile(TStringList& list, const AnsiString& path)
{
    for (int i = list.Count() - 1; i >= 0; --i)
        if (list.Strings(i) == path)
            list.Delete(i);
    if (list.Count() >= kRecentFileLimit)
        list.Delete(list.Count() - 1);
    list.Insert(0, path);
}

AnsiString RecentMenuCaption(int index, const AnsiString& path)
{
    return "&" + IntToStr(index) + " " +
           StringReplace(ExtractFileName(path), "&", "&&", rfReplaceAll);
}

int RecentIndexOfCaption(const AnsiString& caption)
{
    if (caption.size() < 2 || caption[0] != '&' || caption[1] < '0' || caption[1] > '9')
        return -1;
    return caption[1] - '0';
}
