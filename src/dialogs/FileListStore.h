// The file-list window's rules on the disk: which entry a file gives, what a
// dropped or chosen folder adds, and the file "filelist.ini" that keeps the
// list between runs (the rules themselves are FileListRules').
//
//   FileListEntryFor    the entry of a path, if it is one the list takes
//   AddFileListEntry    AddFile's rule over a list of entries
//   FileListCandidates  the files that a drop or a choice of names adds
//   filelist.ini        its place, reading and writing
//
// The window keeps its entries in its list view and applies these.
#pragma once

#include "FileListRules.h"

#include "classlib/Types.h"

#include <optional>
#include <vector>

// FileListEntryOf and AddFileListEntryTo asking the disk.
std::optional<TFileListEntry> FileListEntryFor(const AnsiString& path);
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
