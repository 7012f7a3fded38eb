// File names and the file system.
//
//   names     ExtractFilePath, ExtractFileDir, ExtractFileName,
//             ExtractFileExt, ExtractFileDrive, ChangeFileExt,
//             Include/ExcludeTrailingBackslash, ExpandFileName
//   queries   FileExists, DirectoryExists, FileSizeOf, FileAge
//   changes   CreateDir, ForceDirectories, RemoveDir, DeleteFile, RenameFile
//
// Names are ANSI text in code page 932. "\" and ":" separate only where they
// are characters of their own: in "表.wav" or "ソ" the byte 0x5C is the
// second half of a character, not a separator.
//
// The changes return false on failure (the system's last error says why);
// they never raise.
#pragma once

#include "Types.h"

#include <cstdint>
#include <windows.h>

// The system's DeleteFile macro would rename ours; the system call stays
// reachable as DeleteFileA.
#ifdef DeleteFile
#undef DeleteFile
#endif

// Up to and including the last "\" or ":" ("C:\a\b.wav" gives "C:\a\").
AnsiString ExtractFilePath(const AnsiString& FileName);
// The same without the last "\", unless that is the root's ("C:\").
AnsiString ExtractFileDir(const AnsiString& FileName);
// After the last "\" or ":".
AnsiString ExtractFileName(const AnsiString& FileName);
// From the last "." of the name on ("b.wav" gives ".wav"); "" when none.
AnsiString ExtractFileExt(const AnsiString& FileName);
// "C:" or "\\server\share"; "" for a name without a drive.
AnsiString ExtractFileDrive(const AnsiString& FileName);
// Replaces the extension, or appends Extension when there is none.
AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension);
// Appends "\" unless S ends in one; "" gives "\" (the root), so join an
// empty folder to a name without it.
AnsiString IncludeTrailingBackslash(const AnsiString& S);
AnsiString ExcludeTrailingBackslash(const AnsiString& S);
inline AnsiString IncludeTrailingPathDelimiter(const AnsiString& S)
{
    return IncludeTrailingBackslash(S);
}
inline AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S)
{
    return ExcludeTrailingBackslash(S);
}
// The full path of FileName taken from the current folder; "." and ".."
// resolved.
AnsiString ExpandFileName(const AnsiString& FileName);
// Whether the byte at index is a separator "\" (a character of its own).
bool IsPathDelimiter(const AnsiString& S, size_t index);

// A file (not a folder) exists at FileName.
bool FileExists(const AnsiString& FileName);
bool DirectoryExists(const AnsiString& Directory);
// The size in bytes, or -1 when there is no such file.
std::int64_t FileSizeOf(const AnsiString& FileName);
// The last-write time as local date and time; false when there is no such
// file or folder.
bool FileAge(const AnsiString& FileName, TDateTime& FileDateTime);

bool CreateDir(const AnsiString& Dir);
// Creates Dir and every missing folder above it; true when it exists after.
bool ForceDirectories(const AnsiString& Dir);
bool RemoveDir(const AnsiString& Dir);
bool DeleteFile(const AnsiString& FileName);
// Renames or moves; fails when NewName exists.
bool RenameFile(const AnsiString& OldName, const AnsiString& NewName);
