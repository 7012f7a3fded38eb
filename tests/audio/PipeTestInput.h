// Test helpers for the sound pipeline: an input that serves bytes from memory
// (with a known or open-ended size, failing or pausing on demand) and waits
// that keep serving the main thread's queued calls.
#pragma once

#include "audio/PipeClasses.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>
#include <windows.h>

namespace pipe_test {

class TMemoryPipeInput : public TPipeInput
{
public:
    TMemoryPipeInput(TComponent* AOwner, std::vector<std::uint8_t> Data, int Bits, int Channels,
                     int Rate);
    ~TMemoryPipeInput() override;

    int GetBitsPerSample() override { return FBits; }
    int GetChannels() override { return FChannels; }
    int GetSampleRate() override { return FRate; }
    int ReadData(void* Buffer, int Count) override;
    void OpenInput() override;
    void CloseInput() override;

    // Waits (serving the main thread) until the read numbered PauseAtRead has
    // begun; that read then waits for Resume.
    bool WaitPaused(DWORD timeoutMs = 10000);
    void Resume() { SetEvent(FResumeEvent); }

    // Settings, made before a run.
    std::int32_t AnnouncedSize = -2; // -2: the data's size; -1: open-ended; else announced as is
    int ChunkLimit = 0;              // most bytes per ReadData; 0: no limit
    AnsiString OpenFailure;          // non-empty: OpenInput raises EPipeException with it
    int FailReadAt = -1;             // ReadData raises once Position reaches this
    int PauseAtRead = -1;            // 0-based number of the read that pauses

    // What happened.
    std::atomic<int> Opens{0};
    std::atomic<int> Closes{0};
    std::atomic<int> Reads{0};
    std::atomic<DWORD> ReadThread{0};

private:
    std::vector<std::uint8_t> FData; // what the input delivers
    int FBits, FChannels, FRate;
    HANDLE FPausedEvent; // owned; set when the pausing read begins
    HANDLE FResumeEvent; // owned; lets the pausing read go on
};

// Waits for the handle or the predicate (checked whenever anything happened),
// serving Synchronize and the message queue; false after timeoutMs.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000, HANDLE handle = nullptr);

// Bytes of a 16-bit sine (each channel a different frequency), little-endian.
std::vector<std::uint8_t> SineBytes(int frames, int channels, int rate, double amplitude);
// Bytes 0, 1, 2... (mod 251, so that chunk seams show).
std::vector<std::uint8_t> CountingBytes(int count);

std::uint32_t U32At(const AnsiString& bytes, size_t offset);
std::uint16_t U16At(const AnsiString& bytes, size_t offset);

} // namespace pipe_test
