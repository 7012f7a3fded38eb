#include "DrawBuild.h"

#include "audio/DirectWavEngine.h"

TDrawSampleReader EngineSampleReader(TDirectWavEngine& engine)
{
    return [&engine](std::size_t count, std::uint32_t bytePosition) -> const std::int16_t* {
        if (count == 0 || count > 0x7FFFFFFF || bytePosition > 0x7FFFFFFF)
            return nullptr;
        return engine.ViewSamples(static_cast<int>(count), static_cast<int>(bytePosition));
    };
}

namespace {

// Keeps the engine's file mapped for the reads of one build.
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
    // A file cut short under its mapping fails the build instead of the program.
    params.ScanGuard = [&engine](void (*scan)(void*), void* context) {
        return engine.ReadSamplesGuarded(scan, context);
    };
    const TDrawSampleReader reader = EngineSampleReader(engine);
    TDrawReadSession session(engine);
    if (engine.Channel() == 2) {
        mono.Clear();
        return BuildDrawDataStereo(reader, params, progress, stereo);
    }
    stereo.Clear();
    return BuildDrawDataMono(reader, params, progress, mono);
}
