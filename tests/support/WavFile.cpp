#include "support/WavFile.h"

#include <gtest/gtest.h>

#include "support/TestWait.h"

#include <windows.h>

namespace testing_support {

namespace {

// Wine's own path conversions, present only under Wine; results are freed
// with HeapFree.
using WineUnixFileName = char*(CDECL*)(const WCHAR* dosName);
using WineDosFileName = WCHAR*(CDECL*)(const char* unixName);

std::int64_t SizeOfFile(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring WideOf(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

} // namespace

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

bool CutFileFromHost(const std::string& path, std::int64_t size)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto unixName =
        reinterpret_cast<WineUnixFileName>(GetProcAddress(kernel, "wine_get_unix_file_name"));
    auto dosName =
        reinterpret_cast<WineDosFileName>(GetProcAddress(kernel, "wine_get_dos_file_name"));
    if (!unixName || !dosName)
        return false;
    char* file = unixName(WideOf(path).c_str());
    WCHAR* program = dosName("/usr/bin/truncate");
    std::wstring command;
    if (file && program)
        command = L"\"" + std::wstring(program) + L"\" -s " + std::to_wstring(size) + L" \"" +
                  WideOf(file) + L"\"";
    HeapFree(GetProcessHeap(), 0, file);
    HeapFree(GetProcessHeap(), 0, program);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (command.empty() || !CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                           nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // The handle of a host program may be signalled before it has run: wait
    // for the cut itself, handling no messages meanwhile.
    const DWORD start = GetTickCount();
    while (SizeOfFile(path) != size) {
        if (GetTickCount() - start >= kGenerousWaitMs)
            return false;
        Sleep(5);
    }
    return true;
}

} // namespace testing_support
