#include "FileListStore.h"

#include "audio/DirectWavEngine.h"
#include "classlib/Exceptions.h"
#include "classlib/FilePaths.h"
#include "classlib/IniFile.h"
#include "classlib/StringList.h"
#include "classlib/TextUtils.h"
#include "editor/RegionFile.h"

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

std::optional<TFileListEntry> FileListRegionListEntry(const AnsiString& path)
{
    try {
        TIniFile ini(path);
        const int regionCount = RegionListRegionCount(ini.Content());
        const AnsiString wavPath =
            LocateRegionListWav(RegionListWavPath(ini.Content()), path, FileExists);
        if (regionCount == -1 || wavPath.empty() || !FileListPlayable(wavPath))
            return std::nullopt;
        return TFileListEntry{ExtractFileName(path), IntToStr(regionCount), path, wavPath};
    } catch (const EIniFileException&) {
        return std::nullopt; // a file that cannot be read is no entry
    }
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
    const AnsiString extension = LowerCase(ExtractFileExt(path));
    if (extension == ".wav")
        return FileListPlayable(path)
                   ? std::optional(TFileListEntry{ExtractFileName(path), "0", path, path})
                   : std::nullopt;
    if (extension == ".rgl")
        return FileListRegionListEntry(path);
    return std::nullopt;
}

int AddFileListEntry(std::vector<TFileListEntry>& entries, const AnsiString& path)
{
    std::erase_if(entries, [&](const TFileListEntry& entry) { return entry.Path == path; });
    std::optional<TFileListEntry> entry = FileListEntryFor(path);
    if (!entry)
        return -1;
    entries.push_back(std::move(*entry));
    return static_cast<int>(entries.size()) - 1;
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
    std::vector<AnsiString> paths;
    if (!FileExists(fileName))
        return paths;
    TStringList lines;
    try {
        lines.LoadFromFile(fileName);
    } catch (const Exception&) {
        return std::nullopt;
    }
    for (int i = 0; i < lines.Count(); ++i)
        if (!lines.Strings(i).empty())
            paths.push_back(lines.Strings(i));
    return paths;
}

bool WriteFileListFile(const AnsiString& fileName, const std::vector<AnsiString>& paths)
{
    TStringList lines;
    for (const AnsiString& path : paths)
        lines.Add(path);
    return WriteFileReplacing(fileName, lines.Text());
}
