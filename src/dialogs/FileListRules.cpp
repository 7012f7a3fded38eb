#include "FileListRules.h"

#include "classlib/FileNames.h"
#include "editor/RegionFile.h"

#include <algorithm>
#include <string>
#include <unordered_set>

namespace {

std::optional<TFileListEntry> FileListRegionListEntry(const AnsiString& path,
                                                      const TFileListProbes& probes)
{
    const std::optional<TIniContent> ini = probes.ReadRegionList(path);
    if (!ini)
        return std::nullopt;
    const int regionCount = RegionListRegionCount(*ini);
    const AnsiString wavPath =
        LocateRegionListWav(RegionListWavPath(*ini), path, probes.FileExists);
    if (regionCount == -1 || wavPath.empty() || !probes.Playable(wavPath))
        return std::nullopt;
    return TFileListEntry{ExtractFileName(path), std::to_string(regionCount), path, wavPath};
}

} // namespace

std::optional<TFileListEntry> FileListEntryOf(const AnsiString& path, const TFileListProbes& probes)
{
    const AnsiString extension = LowerCase(ExtractFileExt(path));
    if (extension == ".wav")
        return probes.Playable(path)
                   ? std::optional(TFileListEntry{ExtractFileName(path), "0", path, path})
                   : std::nullopt;
    if (extension == ".rgl")
        return FileListRegionListEntry(path, probes);
    return std::nullopt;
}

int AddFileListEntryTo(std::vector<TFileListEntry>& entries, const AnsiString& path,
                       const TFileListProbes& probes)
{
    std::erase_if(entries, [&](const TFileListEntry& entry) { return entry.Path == path; });
    std::optional<TFileListEntry> entry = FileListEntryOf(path, probes);
    if (!entry)
        return -1;
    entries.push_back(std::move(*entry));
    return static_cast<int>(entries.size()) - 1;
}

std::vector<AnsiString> FileListPathsIn(const AnsiString& text)
{
    std::vector<AnsiString> lines = SplitLines(text);
    std::vector<AnsiString> paths;
    std::unordered_set<AnsiString> taken;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        if (!line->empty() && taken.insert(*line).second)
            paths.push_back(std::move(*line));
    std::reverse(paths.begin(), paths.end());
    return paths;
}

AnsiString FileListText(const std::vector<AnsiString>& paths)
{
    AnsiString text;
    for (const AnsiString& path : paths)
        text += path + "\r\n";
    return text;
}
