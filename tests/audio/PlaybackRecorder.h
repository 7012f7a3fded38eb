// Records what an engine does while it plays: its events in order with the
// thread each ran on, and every chunk handed to the device (through the
// engine's chunk hook). Tests wait on it for a condition, never for a time.
#pragma once

#include "audio/DirectWavEngine.h"
#include "support/TestWait.h"
#include "support/WavBytes.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct PlayedChunk
{
    std::int64_t Position;       // bytes from the start of the sample data
    testing_support::Bytes Data; // as handed to the device
    std::int64_t End() const { return Position + static_cast<std::int64_t>(Data.size()); }
};

class PlaybackRecorder
{
public:
    PlaybackRecorder();
    ~PlaybackRecorder();

    // Takes over the engine's four events and its chunk hook.
    void Attach(TDirectWavEngine& engine);

    // Forgets what was recorded so far.
    void Clear();

    int Starts() const { return FStarts.load(); }
    int Stops() const { return FStops.load(); }
    int Ends() const { return FEnds.load(); }
    int Clips() const { return FClips.load(); }
    // "start", "stop", "end" in the order they ran.
    std::vector<std::string> Events() const;
    std::vector<PlayedChunk> Chunks() const;
    std::size_t ChunkCount() const;
    DWORD StartThread() const { return FStartThread.load(); }
    DWORD StopThread() const { return FStopThread.load(); }
    DWORD EndThread() const { return FEndThread.load(); }

    // Waits (about 10 s at most) until condition holds; it is checked after
    // every event and chunk.
    bool WaitUntil(const std::function<bool()>& condition,
                   DWORD timeoutMs = testing_support::kGenerousWaitMs);
    // Set whenever something is recorded (auto-reset).
    HANDLE Changed() const { return FChanged; }
    bool WaitForEnd()
    {
        return WaitUntil([this] { return Ends() > 0; });
    }
    bool WaitForChunks(std::size_t count)
    {
        return WaitUntil([this, count] { return ChunkCount() >= count; });
    }

private:
    void Note(const char* event, std::atomic<int>& counter, std::atomic<DWORD>& thread);

    mutable std::mutex FLock; // guards FEvents and FChunks
    std::vector<std::string> FEvents;
    std::vector<PlayedChunk> FChunks;
    std::atomic<int> FStarts{0};
    std::atomic<int> FStops{0};
    std::atomic<int> FEnds{0};
    std::atomic<int> FClips{0};
    std::atomic<DWORD> FStartThread{0};
    std::atomic<DWORD> FStopThread{0};
    std::atomic<DWORD> FEndThread{0};
    HANDLE FChanged; // owned, auto-reset: something was recorded
};

// Chunks follow one another without gap or overlap from from to to (bytes).
void ExpectContiguous(const std::vector<PlayedChunk>& chunks, std::int64_t from, std::int64_t to);
// Each chunk holds the frame-index pattern of the frames at its position.
void ExpectFramePattern(const std::vector<PlayedChunk>& chunks, int channels);
