#include "PipeTestInput.h"

#include "support/WindowDriver.h"

#include "classlib/Application.h"

#include <cmath>

namespace pipe_test {

TMemoryPipeInput::TMemoryPipeInput(TComponent* AOwner, std::vector<std::uint8_t> Data, int Bits,
                                   int Channels, int Rate)
    : TPipeInput(AOwner), FData(std::move(Data)), FBits(Bits), FChannels(Channels), FRate(Rate)
{
    FPausedEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    FResumeEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

TMemoryPipeInput::~TMemoryPipeInput()
{
    SetEvent(FResumeEvent);
    ReleaseReaders();
    if (Busy())
        CloseInput();
    CloseHandle(FPausedEvent);
    CloseHandle(FResumeEvent);
}

void TMemoryPipeInput::OpenInput()
{
    if (!OpenFailure.empty())
        throw EPipeException(OpenFailure);
    ++Opens;
    FSize = AnnouncedSize == -2 ? static_cast<std::int32_t>(FData.size()) : AnnouncedSize;
    FPosition = 0;
    FBusy = true;
}

void TMemoryPipeInput::CloseInput()
{
    ++Closes;
    FSize = 0;
    FBusy = false;
}

int TMemoryPipeInput::ReadData(void* Buffer, int Count)
{
    int number = Reads++;
    ReadThread = GetCurrentThreadId();
    if (number == PauseAtRead) {
        SetEvent(FPausedEvent);
        WaitForSingleObject(FResumeEvent, 30000);
    }
    if (!Busy())
        throw EPipeException(PipeText::StreamNotOpened);
    int position = FPosition.load();
    if (FailReadAt >= 0 && position >= FailReadAt)
        throw EPipeException("read failure");
    int left = static_cast<int>(FData.size()) - position;
    int n = std::min(Count, left);
    if (ChunkLimit > 0)
        n = std::min(n, ChunkLimit);
    if (FailReadAt >= 0)
        n = std::min(n, FailReadAt - position);
    if (n <= 0)
        return 0;
    std::memcpy(Buffer, FData.data() + position, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

bool TMemoryPipeInput::WaitPaused(DWORD timeoutMs)
{
    return PumpUntil([this] { return WaitForSingleObject(FPausedEvent, 0) == WAIT_OBJECT_0; },
                     timeoutMs, FPausedEvent);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, HANDLE handle)
{
    DWORD start = GetTickCount();
    for (;;) {
        CheckSynchronize();
        if (Application)
            testing_support::PumpMessages();
        if (done())
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        HANDLE handles[2] = {SyncEvent(), handle};
        DWORD count = handle ? 2 : 1;
        // The short limit only bounds how long a predicate without a handle
        // goes unchecked; anything signalled ends the wait at once.
        MsgWaitForMultipleObjects(count, handles, FALSE, std::min<DWORD>(timeoutMs - elapsed, 20),
                                  QS_ALLINPUT);
    }
}

std::vector<std::uint8_t> SineBytes(int frames, int channels, int rate, double amplitude)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(frames * channels * 2));
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            double frequency = 440.0 * (c + 1);
            auto v = static_cast<std::int16_t>(
                std::lround(amplitude * std::sin(2 * pi * frequency * i / rate)));
            bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
        }
    }
    return bytes;
}

std::vector<std::uint8_t> CountingBytes(int count)
{
    std::vector<std::uint8_t> bytes(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<std::uint8_t>(i % 251);
    return bytes;
}

std::uint16_t U16At(const AnsiString& bytes, size_t offset)
{
    auto b = [&](size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes.at(i)));
    };
    return static_cast<std::uint16_t>(b(offset) | (b(offset + 1) << 8));
}

std::uint32_t U32At(const AnsiString& bytes, size_t offset)
{
    return U16At(bytes, offset) | (std::uint32_t{U16At(bytes, offset + 2)} << 16);
}

} // namespace pipe_test
