#include "support/WavFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <windows.h>

namespace testing_support {

namespace {

std::atomic<unsigned> gFolderCounter{0};

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH + 1] = {};
    GetTempPathA(sizeof base, base);
    std::string root = base;
    if (!root.empty() && root.back() == '\\')
        root.pop_back();
    for (;;) {
        FPath = root + "\\zandrel-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(gFolderCounter++);
        if (CreateDirectoryA(FPath.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot create the temporary folder " << FPath;
            return;
        }
    }
}

TempFolder::~TempFolder()
{
    RemoveTree(FPath);
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << path;
    DWORD written = 0;
    BOOL ok = bytes.empty() ||
              WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    EXPECT_TRUE(ok && written == bytes.size()) << "cannot write " << path;
}

std::string WriteWav(const TempFolder& folder, const std::string& name, const WavBuilder& wav)
{
    return WriteWav(folder, name, wav.Bytes());
}

std::string WriteWav(const TempFolder& folder, const std::string& name, const Bytes& bytes)
{
    std::string path = folder.File(name);
    WriteBytes(path, bytes);
    return path;
}

} // namespace testing_support
