// The file-list window's rules without the window: which entry a file
// gives, what a dropped or chosen folder adds, and the file "filelist.ini"
// that keeps the list between runs.
//
//   TFileListEntry      the four columns of an entry
//   FileListEntryFor    the entry of a path, if it is one the list takes
//   AddFileListEntry    AddFile's rule over a list of entries
//   FileListCandidates  the files that a drop or a choice of names adds
//   filelist.ini        its place, reading and writing
//
// The window keeps its entries in its list view and applies these.
#pragma once

#include "classlib/Types.h"

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

// By the extension, ASCII letters without case: a ".wav" file that can be
// played; a ".rgl" file whose REGION_COUNT is there (not -1) and whose WAV
// file, found as loading it would find it (also beside a region list that
// moved with it), can be played. Anything else, or a file that cannot be
// read, gives none.
std::optional<TFileListEntry> FileListEntryFor(const AnsiString& path);

// AddFile: an entry with the same path (exact comparison) leaves entries
// first; then the path's entry, if any, goes to the end. Returns the index
// of the added entry, or -1 when none was added.
int AddFileListEntry(std::vector<TFileListEntry>& entries, const AnsiString& path);

// For each name in order: a folder gives the files directly inside it
// (sorted by name; never those of its subfolders), anything else itself.
std::vector<AnsiString> FileListCandidates(const std::vector<AnsiString>& names);

// "filelist.ini" in the folder of the program file.
AnsiString FileListFilePath(const AnsiString& programPath);
// The paths the file holds, one a line, empty lines left out; none at all
// when the file is missing. Nothing when it is there but cannot be read:
// the window then starts empty and must not write over it.
std::optional<std::vector<AnsiString>> ReadFileListFile(const AnsiString& fileName);
// Replaces the file by the paths, one a line (CR LF); false when it cannot
// be written, the old file then left whole.
bool WriteFileListFile(const AnsiString& fileName, const std::vector<AnsiString>& paths);
