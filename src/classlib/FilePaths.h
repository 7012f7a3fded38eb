// File names and the file system.
//
//   names     those of FileNames.h (included here), and ExpandFileName
//   queries   FileExists, DirectoryExists, FileSizeOf, FileAge, ForEachFound
//   changes   CreateDir, ForceDirectories, RemoveDir, DeleteFile, RenameFile,
//             WriteFileReplacing
//
// Names are ANSI text in code page 932. "\" and ":" separate only where they
// are characters of their own: in "表.wav" or "ソ" the byte 0x5C is the
// second half of a character, not a separator.
//
// The changes return false on failure (the system's last error says why);
// they never raise.
#pragma once

#include "FileNames.h"
#include "Types.h"

#include <cstdint>
#include <functional>
#include <windows.h>

// The system's DeleteFile macro would rename ours; the system call stays
// reachable as DeleteFileA.
#ifdef DeleteFile
#undef DeleteFile
#endif

// The full path of FileName taken from the current folder; "." and ".."
// resolved.
AnsiString ExpandFileName(const AnsiString& FileName);

// A file (not a folder) exists at FileName.
bool FileExists(const AnsiString& FileName);
bool DirectoryExists(const AnsiString& Directory);
// The size in bytes, or -1 when there is no such file.
std::int64_t FileSizeOf(const AnsiString& FileName);
// The last-write time as local date and time; false when there is no such
// file or folder.
bool FileAge(const AnsiString& FileName, TDateTime& FileDateTime);

// Calls visit with each entry that the search pattern ("folder\*.wav")
// finds, in the system's order ("." and ".." included); none when the
// folder is missing or nothing matches.
void ForEachFound(const AnsiString& Pattern,
                  const std::function<void(const WIN32_FIND_DATAA&)>& visit);

bool CreateDir(const AnsiString& Dir);
// Creates Dir and every missing folder above it; true when it exists after.
bool ForceDirectories(const AnsiString& Dir);
bool RemoveDir(const AnsiString& Dir);
bool DeleteFile(const AnsiString& FileName);
// Renames or moves; fails when NewName exists.
bool RenameFile(const AnsiString& OldName, const AnsiString& NewName);
// Makes Bytes the whole content of FileName: writes them into a temporary
// file beside it, flushes that to the disk and puts it in FileName's place.
// On failure FileName is left as it was and no temporary file remains. A
// read-only FileName is not replaced (ERROR_ACCESS_DENIED), the same
// everywhere, although not every emulation of the system refuses it.
bool WriteFileReplacing(const AnsiString& FileName, const AnsiString& Bytes);
