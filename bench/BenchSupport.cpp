#include "BenchSupport.h"

#include "classlib/FilePaths.h"
#include "classlib/Streams.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <windows.h>

namespace {

std::int64_t BenchCounter()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

std::int64_t BenchFrequency()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
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

// One cycle of a sine, 4096 steps, full scale.
struct TBenchSine
{
    std::int16_t Values[4096];
    TBenchSine()
    {
        for (int i = 0; i < 4096; ++i)
            Values[i] = static_cast<std::int16_t>(
                std::lround(32767.0 * std::sin(i * 3.14159265358979323846 / 2048)));
    }
};

// A fixed hash of a number: the noise of the generated sound.
std::uint32_t BenchHash(std::uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

// Fills values with the interleaved sound of count frames from frame first.
void BenchFillSound(std::int16_t* values, std::uint32_t first, std::uint32_t count,
                    std::uint16_t channels)
{
    for (std::uint32_t i = 0; i < count; ++i)
        for (unsigned c = 0; c < channels; ++c)
            values[i * channels + c] = BenchSoundValue(first + i, c);
}

constexpr std::uint32_t kBenchWriteFrames = 1u << 20; // frames generated and written at a time
constexpr std::uint32_t kBenchProbeFrames = 1u
                                            << 14; // frames compared where a kept file is checked

// Whether the file at path already holds what BenchSoundWav would write:
// its size, its head, and the sound at its start, middle and end.
bool BenchSoundWavIsThere(const AnsiString& path, const std::vector<std::uint8_t>& head,
                          std::uint16_t channels, std::uint32_t dataSize)
{
    if (FileSizeOf(path) != static_cast<std::int64_t>(head.size()) + dataSize)
        return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    auto readAt = [file](std::uint64_t offset, void* buffer, DWORD size) {
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        return ReadFile(file, buffer, size, &got, &at) && got == size;
    };
    std::vector<std::uint8_t> foundHead(head.size());
    bool same = readAt(0, foundHead.data(), static_cast<DWORD>(head.size())) && foundHead == head;
    const std::uint32_t frameBytes = channels * 2u;
    const std::uint32_t frames = dataSize / frameBytes;
    const std::uint32_t probe = std::min(kBenchProbeFrames, frames);
    std::vector<std::int16_t> expected(probe * channels), found(probe * channels);
    for (std::uint32_t first : {0u, frames / 2 - probe / 2, frames - probe}) {
        if (!same)
            break;
        BenchFillSound(expected.data(), first, probe, channels);
        same = readAt(head.size() + static_cast<std::uint64_t>(first) * frameBytes, found.data(),
                      probe * frameBytes) &&
               found == expected;
    }
    CloseHandle(file);
    return same;
}

} // namespace

std::vector<TBenchEntry>& BenchRegistry()
{
    static std::vector<TBenchEntry> entries;
    return entries;
}

TBenchStopwatch::TBenchStopwatch()
{
    Restart();
}

void TBenchStopwatch::Restart()
{
    FStart = BenchCounter();
}

double TBenchStopwatch::Milliseconds() const
{
    return static_cast<double>(BenchCounter() - FStart) * 1000.0 /
           static_cast<double>(BenchFrequency());
}

double TBenchStopwatch::NowMilliseconds()
{
    return static_cast<double>(BenchCounter()) * 1000.0 / static_cast<double>(BenchFrequency());
}

TBenchFigures BenchFiguresOf(std::vector<double> values)
{
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {values.front(), median, values.back()};
}

std::vector<double> BenchRatios(const std::vector<double>& a, const std::vector<double>& b)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        ratios.push_back(b[i] > 0 ? a[i] / b[i] : 0);
    return ratios;
}

std::int16_t BenchSoundValue(std::uint32_t frame, unsigned channel)
{
    static const TBenchSine sine;
    // Two tones at 44.1 kHz (a fifth apart on the left, 660 and 990 Hz on
    // the right), as 32-bit phase steps per frame.
    static constexpr std::uint32_t kSteps[2][2] = {{42852281u, 64278422u}, {64278422u, 96417633u}};
    const int tone = (sine.Values[(frame * kSteps[channel][0]) >> 20] +
                      sine.Values[(frame * kSteps[channel][1]) >> 20]) /
                     2;
    // Loudness rises from silence and falls back over about six seconds;
    // the right channel a little later than the left.
    const std::uint32_t cycle = (frame + channel * 50000u) % 262144u;
    const int loudness = static_cast<int>(cycle < 131072u ? cycle : 262144u - cycle) >> 9; // 0..256
    const int noise = static_cast<int>(BenchHash(frame * 2 + channel) & 0x1FFF) - 0x1000;
    const int value = (tone * loudness >> 8) * 3 / 4 + (noise * loudness >> 8);
    return static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
}

bool BenchSoundWav(const AnsiString& path, std::uint16_t channels, std::uint32_t rate,
                   std::uint32_t dataSize)
{
    const std::vector<std::uint8_t> head = BenchWavHead(channels, rate, dataSize);
    if (BenchSoundWavIsThere(path, head, channels, dataSize))
        return true;
    std::printf("  making %s (%u MiB of sound)...\n", path.c_str(), dataSize >> 20);
    std::fflush(stdout);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    auto write = [file](const void* data, std::uint32_t size) {
        DWORD written = 0;
        return WriteFile(file, data, size, &written, nullptr) && written == size;
    };
    bool made = write(head.data(), static_cast<std::uint32_t>(head.size()));
    const std::uint32_t frameBytes = channels * 2u;
    const std::uint32_t frames = dataSize / frameBytes;
    std::unique_ptr<std::int16_t[]> buffer(new std::int16_t[kBenchWriteFrames * channels]);
    for (std::uint32_t first = 0; made && first < frames; first += kBenchWriteFrames) {
        const std::uint32_t count = std::min(kBenchWriteFrames, frames - first);
        BenchFillSound(buffer.get(), first, count, channels);
        made = write(buffer.get(), count * frameBytes);
    }
    // A data size that is not whole frames ends in zeros.
    const std::uint32_t rest = dataSize - frames * frameBytes;
    const std::uint8_t zeros[4] = {};
    made = made && write(zeros, rest) && FlushFileBuffers(file);
    CloseHandle(file);
    if (!made)
        DeleteFile(path);
    return made;
}

bool BenchCanEvict()
{
    const char* command = std::getenv("ZANDREL_BENCH_EVICT");
    return command && *command;
}

bool BenchEvictFromCache(const AnsiString& path)
{
    if (!BenchCanEvict())
        return false;
    std::string command = std::getenv("ZANDREL_BENCH_EVICT") + ExtractFileName(path);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::size_t BenchPlainFileRead(const AnsiString& path)
{
    TMemoryStream bytes;
    bytes.LoadFromFile(path);
    return static_cast<std::size_t>(bytes.Size());
}

unsigned BenchByteSum(const void* data, std::size_t count)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    unsigned sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return sum;
}

std::vector<TBenchFile> BenchFilesMatching(const AnsiString& pattern)
{
    std::vector<TBenchFile> files;
    ForEachFound(pattern, [&](const WIN32_FIND_DATAA& found) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back({found.cFileName, (std::int64_t(found.nFileSizeHigh) << 32) |
                                                  std::int64_t(found.nFileSizeLow)});
    });
    return files;
}

double BenchMiBPerSecond(std::uint64_t bytes, double ms)
{
    return ms > 0 ? static_cast<double>(bytes) / 1048576.0 / (ms / 1000.0) : 0;
}

void BenchPrintFigures(const char* label, const TBenchFigures& figures, const char* unit)
{
    std::printf("  %-28s %9.3f / %9.3f / %9.3f %s\n", label, figures.Min, figures.Median,
                figures.Max, unit);
}

void BenchPrintAgainstPlain(const char* label, const std::vector<double>& ms, const char* plainName,
                            const std::vector<double>& plainMs, double targetMs)
{
    const TBenchFigures figures = BenchFiguresOf(ms);
    BenchPrintFigures(label, figures, "ms");
    const AnsiString ratioLabel = AnsiString("  / ") + plainName;
    BenchPrintFigures(ratioLabel.c_str(), BenchFiguresOf(BenchRatios(ms, plainMs)), "");
    std::printf("  target: max < %.0f ms: %s\n", targetMs,
                figures.Max < targetMs ? "met" : "MISSED");
}
