#include "DrawBuild.h"

#include "audio/DirectWavEngine.h"

TDrawSampleReader EngineSampleReader(TDirectWavEngine& engine)
{
    return [&engine](std::int16_t* buffer, std::size_t count,
                     std::uint32_t bytePosition) -> std::size_t {
        // ReadSamples leaves the buffer alone for a request it refuses.
        if (count == 0 || !engine.IsPlayable() || engine.Bit() != 16 ||
            bytePosition >= engine.DataSize())
            return 0;
        // ReadSamples fills zeros past the end of the file: a file cut short
        // since it was opened must not pass for silence, so only what came
        // from the file counts.
        const int got =
            engine.ReadSamples(buffer, static_cast<int>(count - 1), static_cast<int>(bytePosition));
        return got <= 0 ? 0 : static_cast<std::size_t>(got) / 2;
    };
}

namespace {

// Holds the engine's file open for the reads of one build.
class TDrawReadSession
{
public:
    explicit TDrawReadSession(TDirectWavEngine& engine) : FEngine(engine)
    {
        FEngine.BeginSampleReads();
    }
    ~TDrawReadSession() { FEngine.EndSampleReads(); }
    TDrawReadSession(const TDrawReadSession&) = delete;
    TDrawReadSession& operator=(const TDrawReadSession&) = delete;

private:
    TDirectWavEngine& FEngine; // not owned
};

} // namespace

TDrawBuildOutcome MakeDrawData(TDirectWavEngine& engine, int blockSize, int zeroLevel,
                               const TDrawProgressHandler& progress, TDrawDataStereo& stereo,
                               TDrawDataMono& mono)
{
    TDrawBuildParams params;
    params.DataSize = engine.DataSize();
    params.BlockSize = blockSize;
    params.ZeroLevel = zeroLevel;
    const TDrawSampleReader reader = EngineSampleReader(engine);
    TDrawReadSession session(engine);
    if (engine.Channel() == 2) {
        mono.Clear();
        return BuildDrawDataStereo(reader, params, progress, stereo);
    }
    stereo.Clear();
    return BuildDrawDataMono(reader, params, progress, mono);
}
