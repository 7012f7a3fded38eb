#include "FilePaths.h"

#include "DateTime.h"
#include "TextUtils.h"

namespace {

const char* const kPathSeparators = "\\:";

bool PathAttributes(const AnsiString& name, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    return !name.empty() && GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data);
}

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

AnsiString ExpandFileName(const AnsiString& FileName)
{
    if (FileName.empty())
        return AnsiString();
    DWORD size = GetFullPathNameA(FileName.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return FileName;
    AnsiString full(size, '\0');
    DWORD n = GetFullPathNameA(FileName.c_str(), size, full.data(), nullptr);
    full.resize(n < size ? n : 0);
    return full.empty() ? FileName : full;
}

bool FileExists(const AnsiString& FileName)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return PathAttributes(FileName, data) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const AnsiString& Directory)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return PathAttributes(Directory, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::int64_t FileSizeOf(const AnsiString& FileName)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!PathAttributes(FileName, data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool FileAge(const AnsiString& FileName, TDateTime& FileDateTime)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!PathAttributes(FileName, data))
        return false;
    FileDateTime = FileTimeToDateTime(data.ftLastWriteTime);
    return true;
}

bool CreateDir(const AnsiString& Dir)
{
    return !Dir.empty() && CreateDirectoryA(Dir.c_str(), nullptr);
}

bool ForceDirectories(const AnsiString& Dir)
{
    AnsiString dir = ExcludeTrailingBackslash(Dir);
    if (dir.empty())
        return false;
    if (DirectoryExists(dir))
        return true;
    AnsiString parent = ExtractFilePath(dir);
    // A drive or share root that does not exist cannot be made.
    if (parent.empty() || parent == dir ||
        ExcludeTrailingBackslash(parent) == ExtractFileDrive(dir))
        return CreateDir(dir) || DirectoryExists(dir);
    return ForceDirectories(parent) && (CreateDir(dir) || DirectoryExists(dir));
}

bool RemoveDir(const AnsiString& Dir)
{
    return !Dir.empty() && RemoveDirectoryA(Dir.c_str());
}

bool DeleteFile(const AnsiString& FileName)
{
    return !FileName.empty() && DeleteFileA(FileName.c_str());
}

bool RenameFile(const AnsiString& OldName, const AnsiString& NewName)
{
    return !OldName.empty() && !NewName.empty() && MoveFileA(OldName.c_str(), NewName.c_str());
}
