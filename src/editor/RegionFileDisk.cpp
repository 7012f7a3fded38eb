#include "RegionFileDisk.h"

#include "classlib/FileByteSource.h"
#include "classlib/FilePaths.h"

bool SaveRegionListFile(const AnsiString& path, const TRegionListFile& list)
{
    TIniContent ini;
    return WriteRegionList(ini, list) && WriteFileReplacing(path, ini.Text());
}

std::optional<TIniContent> ReadRegionListFile(const AnsiString& path)
{
    TIniContent ini;
    if (!FileExists(path))
        return ini;
    TFileByteSource source(path);
    if (!source.IsOpen() || !ini.Parse(source))
        return std::nullopt;
    return ini;
}
