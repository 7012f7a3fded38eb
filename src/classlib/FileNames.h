// File names taken apart and put together, without the file system:
//   ExtractFilePath, ExtractFileDir, ExtractFileName, ExtractFileExt,
//   ExtractFileDrive, ChangeFileExt, Include/ExcludeTrailingBackslash
//
// Names are ANSI text in code page 932. "\" and ":" separate only where they
// are characters of their own: in "表.wav" or "ソ" the byte 0x5C is the
// second half of a character, not a separator. This unit includes nothing of
// the platform (FilePaths.h, which includes it, reaches the file system).
#pragma once

#include "AnsiText.h"

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
// Whether the byte at index is a separator "\" (a character of its own).
bool IsPathDelimiter(const AnsiString& S, size_t index);
