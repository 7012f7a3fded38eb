#include "DrawBuild.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FilePaths.h"

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

// Whether the file at the engine's path still holds all its samples. Bytes
// taken away behind the scan, or the whole file removed, leave the build
// whole under the mapping (a host program under Wine can do both), yet the
// document would stand on bytes that are gone.
bool DrawFileHoldsItsSamples(const TDirectWavEngine& engine)
{
    const TWavInfo& wav = engine.WavInfo();
    return FileSizeOf(wav.Path) >= static_cast<std::int64_t>(wav.SampleStart) + wav.DataSize;
}

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
    TDrawBuildOutcome outcome;
    if (engine.Channel() == 2) {
        mono.Clear();
        outcome = BuildDrawDataStereo(reader, params, progress, stereo);
    } else {
        stereo.Clear();
        outcome = BuildDrawDataMono(reader, params, progress, mono);
    }
    if (outcome.Result == TDrawBuildResult::Done && !DrawFileHoldsItsSamples(engine)) {
        stereo.Clear();
        mono.Clear();
        outcome = {TDrawBuildResult::Failed, "The file lost its samples during the build."};
    }
    return outcome;
}
