// The file-list window's rules that need neither windows nor the file
// system: which entry a path gives, AddFile over a list of entries, and the
// text of "filelist.ini". What an entry must know of the files (can it be
// played, is it there, what does a region list hold) is asked through the
// probes given, so that these rules also build natively for fuzzing;
// FileListStore binds them to the disk.
//
//   TFileListEntry      the four columns of an entry
//   TFileListProbes     what the rules ask of the files
//   FileListEntryOf     the entry of a path, if it is one the list takes
//   AddFileListEntryTo  AddFile's rule over a list of entries
//   FileListPathsIn     the paths a "filelist.ini" text holds
//   FileListText        the text that holds the paths
#pragma once

#include "classlib/IniContent.h"

#include <functional>
#include <optional>
#include <vector>

struct TFileListEntry
{
    AnsiString FileName;    // the name without its folder (the window adds "*")
    AnsiString RegionCount; // "0" for a WAV file, a region list's REGION_COUNT
    AnsiString Path;        // the entry's own full path
    AnsiString WavPath;     // the WAV file's full path

    bool operator==(const TFileListEntry&) const = default;
};

struct TFileListProbes
{
    // Whether the WAV file at a path can be played.
    std::function<bool(const AnsiString& path)> Playable;
    // Whether a file is there.
    std::function<bool(const AnsiString& path)> FileExists;
    // The INI content of a region list; none when it cannot be read.
    std::function<std::optional<TIniContent>(const AnsiString& path)> ReadRegionList;
};

// By the extension, ASCII letters without case: a ".wav" file that can be
// played; a ".rgl" file whose REGION_COUNT is there (not -1) and whose WAV
// file, found as loading it would find it (also beside a region list that
// moved with it), can be played. Anything else, or a region list that
// cannot be read, gives none.
std::optional<TFileListEntry> FileListEntryOf(const AnsiString& path,
                                              const TFileListProbes& probes);

// AddFile: an entry with the same path (exact comparison) leaves entries
// first; then the path's entry, if any, goes to the end. Returns the index
// of the added entry, or -1 when none was added.
int AddFileListEntryTo(std::vector<TFileListEntry>& entries, const AnsiString& path,
                       const TFileListProbes& probes);

// The paths of a "filelist.ini" text: one a line (CR LF, CR or LF), empty
// lines left out, and each path once, at its last line (where adding the
// lines in turn leaves its entry).
std::vector<AnsiString> FileListPathsIn(const AnsiString& text);
// The text that holds the paths, one a line (CR LF).
AnsiString FileListText(const std::vector<AnsiString>& paths);
