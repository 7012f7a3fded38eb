#include "PlaybackRecorder.h"

#include <gtest/gtest.h>

using namespace testing_support;

PlaybackRecorder::PlaybackRecorder() : FChanged(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

PlaybackRecorder::~PlaybackRecorder()
{
    CloseHandle(FChanged);
}

void PlaybackRecorder::Attach(TDirectWavEngine& engine)
{
    engine.OnPlayStart = [this](TObject*) { Note("start", FStarts, FStartThread); };
    engine.OnPlayStop = [this](TObject*) { Note("stop", FStops, FStopThread); };
    engine.OnPlayEnd = [this](TObject*) { Note("end", FEnds, FEndThread); };
    engine.OnClip = [this](TObject*) { ++FClips; };
    engine.SetChunkHook(
        [this](std::int64_t position, const std::uint8_t* bytes, std::uint32_t length) {
            {
                std::lock_guard<std::mutex> guard(FLock);
                FChunks.push_back({position, Bytes(bytes, bytes + length)});
            }
            SetEvent(FChanged);
        });
}

void PlaybackRecorder::Clear()
{
    std::lock_guard<std::mutex> guard(FLock);
    FEvents.clear();
    FChunks.clear();
    FStarts = FStops = FEnds = FClips = 0;
}

void PlaybackRecorder::Note(const char* event, std::atomic<int>& counter,
                            std::atomic<DWORD>& thread)
{
    {
        std::lock_guard<std::mutex> guard(FLock);
        FEvents.push_back(event);
    }
    thread = GetCurrentThreadId();
    ++counter;
    SetEvent(FChanged);
}

std::vector<std::string> PlaybackRecorder::Events() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FEvents;
}

std::vector<PlayedChunk> PlaybackRecorder::Chunks() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FChunks;
}

std::size_t PlaybackRecorder::ChunkCount() const
{
    std::lock_guard<std::mutex> guard(FLock);
    return FChunks.size();
}

bool PlaybackRecorder::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    return testing_support::WaitUntil(condition, {FChanged}, timeoutMs);
}

void ExpectContiguous(const std::vector<PlayedChunk>& chunks, std::int64_t from, std::int64_t to)
{
    ASSERT_FALSE(chunks.empty());
    std::int64_t at = from;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        ASSERT_EQ(chunks[i].Position, at) << "chunk " << i;
        ASSERT_FALSE(chunks[i].Data.empty()) << "chunk " << i;
        at = chunks[i].End();
    }
    EXPECT_EQ(at, to);
}

void ExpectFramePattern(const std::vector<PlayedChunk>& chunks, int channels)
{
    const int frameBytes = 2 * channels;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        const PlayedChunk& c = chunks[i];
        ASSERT_EQ(c.Position % frameBytes, 0) << "chunk " << i;
        ASSERT_EQ(c.Data.size() % frameBytes, 0u) << "chunk " << i;
        int frames = static_cast<int>(c.Data.size() / frameBytes);
        auto expected =
            FrameIndexSamples(frames, channels, static_cast<int>(c.Position / frameBytes));
        ASSERT_EQ(SamplesOf(c.Data.data(), c.Data.size()), expected) << "chunk " << i;
    }
}
