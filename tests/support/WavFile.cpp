#include "support/WavFile.h"

#include "support/TestWait.h"

#include <gtest/gtest.h>

#include <functional>
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

std::wstring WideOf(const std::string& text, UINT codePage)
{
    std::wstring wide(text.size() + 1, L'\0');
    const int length = MultiByteToWideChar(codePage, 0, text.c_str(), -1, wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

// Starts the host's program (a Unix path) with options and the host's name
// of file, then waits until done() holds: the handle of a host program may
// be signalled before it has run. Handles no messages meanwhile. False when
// not under Wine, or when done() never held.
bool RunOnHost(const char* program, const std::wstring& options, const std::string& file,
               const std::function<bool()>& done)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto unixName =
        reinterpret_cast<WineUnixFileName>(GetProcAddress(kernel, "wine_get_unix_file_name"));
    auto dosName =
        reinterpret_cast<WineDosFileName>(GetProcAddress(kernel, "wine_get_dos_file_name"));
    if (!unixName || !dosName)
        return false;
    char* hostFile = unixName(WideOf(file, CP_ACP).c_str());
    WCHAR* hostProgram = dosName(program);
    std::wstring command;
    if (hostFile && hostProgram)
        command = L"\"" + std::wstring(hostProgram) + L"\" " + options + L" \"" +
                  WideOf(hostFile, CP_UTF8) + L"\"";
    HeapFree(GetProcessHeap(), 0, hostFile);
    HeapFree(GetProcessHeap(), 0, hostProgram);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (command.empty() || !CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                           nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= kGenerousWaitMs)
            return false;
        Sleep(5);
    }
    return true;
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

void ShiftLastWriteTime(const std::string& path, std::int64_t seconds)
{
    HANDLE file =
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    FILETIME written;
    ULARGE_INTEGER ticks; // 100 ns
    if (GetFileTime(file, nullptr, nullptr, &written)) {
        ticks.LowPart = written.dwLowDateTime;
        ticks.HighPart = written.dwHighDateTime;
        ticks.QuadPart += seconds * 10000000;
        written.dwLowDateTime = ticks.LowPart;
        written.dwHighDateTime = ticks.HighPart;
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written)) << path;
    }
    CloseHandle(file);
}

bool CutFileFromHost(const std::string& path, std::int64_t size)
{
    return RunOnHost("/usr/bin/truncate", L"-s " + std::to_wstring(size), path,
                     [&] { return SizeOfFile(path) == size; });
}

bool RemoveFileFromHost(const std::string& path)
{
    return RunOnHost("/bin/rm", L"-f", path, [&] { return SizeOfFile(path) < 0; });
}

} // namespace testing_support
