#include "support/WavFile.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace testing_support {

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

void SetFileLength(const std::string& path, std::int64_t size)
{
    EXPECT_TRUE(TrySetFileLength(path, size)) << "cannot set the length of " << path;
}

bool TrySetFileLength(const std::string& path, std::int64_t size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER at;
    at.QuadPart = size;
    const bool ok = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

} // namespace testing_support
