#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace testing_support {

namespace {

void TempDeleteTree(const AnsiString& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            AnsiString name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            AnsiString full = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                TempDeleteTree(full + "\\");
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static LONG counter = 0;
    for (;;) {
        FPath = AnsiString(base) + "zandrel-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(InterlockedIncrement(&counter)) + "\\";
        if (CreateDirectoryA(FPath.c_str(), nullptr))
            break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot create the temporary folder " << FPath;
            break;
        }
    }
}

TempFolder::~TempFolder()
{
    TempDeleteTree(FPath);
}

void TempFolder::WriteFile(const AnsiString& name, const AnsiString& bytes) const
{
    WriteWholeFile(FPath + name, bytes);
}

AnsiString TempFolder::ReadFile(const AnsiString& name) const
{
    return ReadWholeFile(FPath + name);
}

std::vector<AnsiString> FileNamesIn(const AnsiString& folder)
{
    std::vector<AnsiString> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        AnsiString name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void WriteWholeFile(const AnsiString& path, const AnsiString& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << path;
    DWORD done = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(file);
    EXPECT_EQ(done, bytes.size()) << "short write to " << path;
}

AnsiString ReadWholeFile(const AnsiString& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot open " << path;
        return "";
    }
    AnsiString bytes(GetFileSize(file, nullptr), '\0');
    DWORD done = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(file);
    bytes.resize(done);
    return bytes;
}

} // namespace testing_support
