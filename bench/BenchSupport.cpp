#include "BenchSupport.h"

#include "classlib/FilePaths.h"

#include <cstring>
#include <windows.h>

namespace {

std::int64_t BenchCounter()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// The canonical head of a PCM file.
std::vector<std::uint8_t> BenchWavHead(std::uint16_t channels, std::uint32_t rate,
                                       std::uint32_t dataSize)
{
    std::vector<std::uint8_t> head(44);
    auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&head[at], &v, 4); };
    auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(&head[at], &v, 2); };
    std::memcpy(&head[0], "RIFF", 4);
    put32(4, dataSize + 36);
    std::memcpy(&head[8], "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, channels);
    put32(24, rate);
    put32(28, rate * channels * 2);
    put16(32, static_cast<std::uint16_t>(channels * 2));
    put16(34, 16);
    std::memcpy(&head[36], "data", 4);
    put32(40, dataSize);
    return head;
}

bool BenchFileStartsWith(const AnsiString& path, const std::vector<std::uint8_t>& head)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::vector<std::uint8_t> found(head.size());
    DWORD got = 0;
    const bool read = ReadFile(file, found.data(), static_cast<DWORD>(found.size()), &got, nullptr);
    CloseHandle(file);
    return read && got == head.size() && found == head;
}

} // namespace

std::vector<TBenchEntry>& BenchRegistry()
{
    static std::vector<TBenchEntry> entries;
    return entries;
}

TBenchStopwatch::TBenchStopwatch()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    FFrequency = frequency.QuadPart;
    Restart();
}

void TBenchStopwatch::Restart()
{
    FStart = BenchCounter();
}

double TBenchStopwatch::Milliseconds() const
{
    return static_cast<double>(BenchCounter() - FStart) * 1000.0 / static_cast<double>(FFrequency);
}

bool BenchSparseWav(const AnsiString& path, std::uint16_t channels, std::uint32_t rate,
                    std::uint32_t dataSize)
{
    const std::vector<std::uint8_t> head = BenchWavHead(channels, rate, dataSize);
    if (FileSizeOf(path) == 44 + static_cast<std::int64_t>(dataSize) &&
        BenchFileStartsWith(path, head))
        return true;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    LARGE_INTEGER end;
    end.QuadPart = 44 + static_cast<std::int64_t>(dataSize);
    const bool made = WriteFile(file, head.data(), 44, &written, nullptr) && written == 44 &&
                      SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    if (!made)
        DeleteFile(path);
    return made;
}

double BenchMiBPerSecond(std::uint64_t bytes, double ms)
{
    return ms > 0 ? static_cast<double>(bytes) / 1048576.0 / (ms / 1000.0) : 0;
}
