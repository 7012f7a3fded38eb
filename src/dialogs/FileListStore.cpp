#include "FileListStore.h"

#include "audio/DirectWavEngine.h"
#include "classlib/Exceptions.h"
#include "classlib/FilePaths.h"
#include "editor/RegionFileDisk.h"
#include "classlib/StringList.h"
#include "classlib/TextUtils.h"

#include <algorithm>
#include <windows.h>

namespace {

bool FileListPlayable(const AnsiString& wavPath)
{
    TWavInfo info;
    info.Path = wavPath;
    GetWavInfo(info);
    return info.IsPlayable;
}

const TFileListProbes& FileListDiskProbes()
{
    static const TFileListProbes probes{FileListPlayable, FileExists, ReadRegionListFile};
    return probes;
}

// The files directly inside folder, sorted by name.
std::vector<AnsiString> FileListFilesIn(const AnsiString& folder)
{
    std::vector<AnsiString> files;
    const AnsiString base = IncludeTrailingBackslash(folder);
    ForEachFound(base + "*", [&](const WIN32_FIND_DATAA& found) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(base + found.cFileName);
    });
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

std::optional<TFileListEntry> FileListEntryFor(const AnsiString& path)
{
    return FileListEntryOf(path, FileListDiskProbes());
}

int AddFileListEntry(std::vector<TFileListEntry>& entries, const AnsiString& path)
{
    return AddFileListEntryTo(entries, path, FileListDiskProbes());
}

std::vector<AnsiString> FileListCandidates(const std::vector<AnsiString>& names)
{
    std::vector<AnsiString> candidates;
    for (const AnsiString& name : names) {
        if (!DirectoryExists(name)) {
            candidates.push_back(name);
            continue;
        }
        std::vector<AnsiString> files = FileListFilesIn(name);
        candidates.insert(candidates.end(), files.begin(), files.end());
    }
    return candidates;
}

AnsiString FileListFilePath(const AnsiString& programPath)
{
    return ExtractFilePath(programPath) + "filelist.ini";
}

std::optional<std::vector<AnsiString>> ReadFileListFile(const AnsiString& fileName)
{
    if (!FileExists(fileName))
        return std::vector<AnsiString>();
    TStringList lines;
    try {
        lines.LoadFromFile(fileName);
    } catch (const Exception&) {
        return std::nullopt;
    }
    return FileListPathsIn(lines.Text());
}

bool WriteFileListFile(const AnsiString& fileName, const std::vector<AnsiString>& paths)
{
    return WriteFileReplacing(fileName, FileListText(paths));
}
