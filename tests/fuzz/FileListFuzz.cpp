// Fuzz target: the file-list file and the entries its lines give, over
// arbitrary bytes. The input is read as the text of "filelist.ini", and the
// same text, taken as INI content, is what every region list on its lines
// holds (a list file and a region list in one input, so that either half is
// easy to reach). The files are made up from the paths: a path holding "!"
// cannot be played, one holding "?" is there even so, and a region list
// whose path holds "#" cannot be read. Besides crashes and undefined
// behaviour it stops when
// - a path read is empty or holds a line break, or is read twice;
// - the entries of the paths read differ from those that adding every line
//   in turn leaves;
// - the paths written back do not read back the same;
// - AddFile's answer does not match the list it leaves, or two entries
//   share a path;
// - an entry is not its path's: another name, a WAV entry that is no
//   playable file with count "0", a region-list entry whose count is not
//   the file's REGION_COUNT (or is -1) or whose WAV file cannot be played.
#include "classlib/FileNames.h"
#include "dialogs/FileListRules.h"
#include "editor/RegionFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

namespace {

bool FuzzHolds(const AnsiString& text, char c)
{
    return text.find(c) != AnsiString::npos;
}

void FuzzCheckEntry(const TFileListEntry& entry, const TIniContent& regionList,
                    const TFileListProbes& probes)
{
    if (entry.FileName != ExtractFileName(entry.Path) || entry.FileName.empty() ||
        entry.WavPath.empty() || !probes.Playable(entry.WavPath))
        __builtin_trap();
    const AnsiString extension = LowerCase(ExtractFileExt(entry.Path));
    if (extension == ".wav") {
        if (entry.RegionCount != "0" || entry.WavPath != entry.Path)
            __builtin_trap();
        return;
    }
    const int count = RegionListRegionCount(regionList);
    if (extension != ".rgl" || count == -1 || entry.RegionCount != std::to_string(count) ||
        FuzzHolds(entry.Path, '#'))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const AnsiString text(reinterpret_cast<const char*>(data), size);
    TIniContent regionList;
    regionList.ParseText(text);
    TFileListProbes probes;
    probes.Playable = [](const AnsiString& path) { return !FuzzHolds(path, '!'); };
    probes.FileExists = [](const AnsiString& path) {
        return !FuzzHolds(path, '!') || FuzzHolds(path, '?');
    };
    probes.ReadRegionList = [&](const AnsiString& path) -> std::optional<TIniContent> {
        if (FuzzHolds(path, '#'))
            return std::nullopt;
        return regionList;
    };

    const std::vector<AnsiString> paths = FileListPathsIn(text);
    for (const AnsiString& path : paths)
        if (path.empty() || path.find_first_of("\r\n") != AnsiString::npos)
            __builtin_trap();
    if (FileListPathsIn(FileListText(paths)) != paths)
        __builtin_trap();

    std::vector<TFileListEntry> entries;
    for (const AnsiString& path : paths) {
        const int added = AddFileListEntryTo(entries, path, probes);
        const bool present =
            std::any_of(entries.begin(), entries.end(),
                        [&](const TFileListEntry& entry) { return entry.Path == path; });
        if (added == -1
                ? present
                : added != static_cast<int>(entries.size()) - 1 || entries[added].Path != path)
            __builtin_trap();
    }
    std::vector<TFileListEntry> entriesOfLines;
    for (const AnsiString& line : SplitLines(text))
        if (!line.empty())
            AddFileListEntryTo(entriesOfLines, line, probes);
    if (entriesOfLines != entries || std::set(paths.begin(), paths.end()).size() != paths.size())
        __builtin_trap();
    std::set<AnsiString> seen;
    std::vector<AnsiString> written;
    for (const TFileListEntry& entry : entries) {
        FuzzCheckEntry(entry, regionList, probes);
        if (!seen.insert(entry.Path).second)
            __builtin_trap();
        written.push_back(entry.Path);
    }
    if (FileListPathsIn(FileListText(written)) != written)
        __builtin_trap();
    return 0;
}
