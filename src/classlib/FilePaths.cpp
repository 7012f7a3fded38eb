#include "FilePaths.h"

#include "DateTime.h"
#include "TextUtils.h"

#include <algorithm>

namespace {

bool PathAttributes(const AnsiString& name, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    return !name.empty() && GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data);
}

// Writes bytes over the file at name and flushes them to the disk.
bool PathWriteWhole(const char* name, const AnsiString& bytes)
{
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20)), put = 0;
        ok = WriteFile(file, bytes.data() + done, chunk, &put, nullptr) && put == chunk;
        done += put;
    }
    ok = ok && FlushFileBuffers(file);
    DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return ok;
}

} // namespace

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

void ForEachFound(const AnsiString& Pattern,
                  const std::function<void(const WIN32_FIND_DATAA&)>& visit)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
        visit(found);
    while (FindNextFileA(search, &found));
    FindClose(search);
}

bool DeleteFile(const AnsiString& FileName)
{
    return !FileName.empty() && DeleteFileA(FileName.c_str());
}

bool RenameFile(const AnsiString& OldName, const AnsiString& NewName)
{
    return !OldName.empty() && !NewName.empty() && MoveFileA(OldName.c_str(), NewName.c_str());
}

bool WriteFileReplacing(const AnsiString& FileName, const AnsiString& Bytes)
{
    const AnsiString target = ExpandFileName(FileName);
    DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    char temporary[MAX_PATH + 1] = {};
    if (target.empty() || !GetTempFileNameA(ExtractFilePath(target).c_str(), "new", 0, temporary))
        return false;
    bool written = PathWriteWhole(temporary, Bytes) &&
                   MoveFileExA(temporary, target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!written) {
        DWORD error = GetLastError();
        DeleteFileA(temporary);
        SetLastError(error);
    }
    return written;
}
