#include "FileNames.h"

namespace {

const char* const kPathSeparators = "\\:";

} // namespace

AnsiString ExtractFilePath(const AnsiString& FileName)
{
    size_t i = LastDelimiter(kPathSeparators, FileName);
    return i == AnsiString::npos ? AnsiString() : FileName.substr(0, i + 1);
}

AnsiString ExtractFileDir(const AnsiString& FileName)
{
    size_t i = LastDelimiter(kPathSeparators, FileName);
    if (i == AnsiString::npos)
        return AnsiString();
    // Keep the "\" of a root ("C:\", "\"): it is the folder's own name.
    if (i > 0 && FileName[i] == '\\' && !IsDelimiter(kPathSeparators, FileName, i - 1))
        return FileName.substr(0, i);
    return FileName.substr(0, i + 1);
}

AnsiString ExtractFileName(const AnsiString& FileName)
{
    size_t i = LastDelimiter(kPathSeparators, FileName);
    return i == AnsiString::npos ? FileName : FileName.substr(i + 1);
}

AnsiString ExtractFileExt(const AnsiString& FileName)
{
    size_t i = LastDelimiter(".\\:", FileName);
    return (i != AnsiString::npos && FileName[i] == '.') ? FileName.substr(i) : AnsiString();
}

AnsiString ExtractFileDrive(const AnsiString& FileName)
{
    if (FileName.size() >= 2 && FileName[1] == ':' && !IsLeadByte(FileName[0]))
        return FileName.substr(0, 2);
    if (FileName.compare(0, 2, "\\\\") != 0)
        return AnsiString();
    // "\\server\share": up to the separator after the share's name.
    int separators = 0;
    size_t i = 2;
    for (; i < FileName.size(); i += CharLength(FileName, i))
        if (IsPathDelimiter(FileName, i) && ++separators == 2)
            break;
    return FileName.substr(0, i);
}

AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension)
{
    size_t i = LastDelimiter(".\\:", FileName);
    if (i == AnsiString::npos || FileName[i] != '.')
        return FileName + Extension;
    return FileName.substr(0, i) + Extension;
}

bool IsPathDelimiter(const AnsiString& S, size_t index)
{
    return IsDelimiter("\\", S, index);
}

AnsiString IncludeTrailingBackslash(const AnsiString& S)
{
    if (!S.empty() && IsPathDelimiter(S, S.size() - 1))
        return S;
    return S + "\\";
}

AnsiString ExcludeTrailingBackslash(const AnsiString& S)
{
    if (!S.empty() && IsPathDelimiter(S, S.size() - 1))
        return S.substr(0, S.size() - 1);
    return S;
}
