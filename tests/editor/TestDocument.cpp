#include "TestDocument.h"

#include "editor/DrawBuild.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FilePaths.h"
#include "support/WavFile.h"

#include <gtest/gtest.h>

#include <vector>

namespace testing_support {

std::string WriteHalfSilentWav(const TempFolder& folder, const std::string& name, int frames,
                               int rate)
{
    std::vector<std::int16_t> samples(frames, 0);
    for (int i = frames / 2; i < frames; ++i)
        samples[i] = i % 2 ? 32000 : -32000;
    return WriteWav(folder, name, WavBuilder().Pcm16(1, rate, samples));
}

void LoadTestDocument(TFormVusk& form, const std::string& path)
{
    ASSERT_TRUE(form.Engine()->LoadFile(path));
    WaveBlockSize = WaveBlockSizeFor(form.Engine()->SampleSize());
    const TDrawBuildOutcome outcome =
        MakeDrawData(*form.Engine(), WaveBlockSize, 256, {}, form.Document().DrawStereo(),
                     form.Document().DrawMono());
    ASSERT_EQ(outcome.Result, TDrawBuildResult::Done);
    form.Document().View().Reset();
    const std::int32_t entries = form.Engine()->Channel() == 2
                                     ? form.Document().DrawStereo().Count()
                                     : form.Document().DrawMono().Count();
    form.Document().View().Zoom = ZoomAllFactor(entries, form.WaveImage->Width());
    form.DrawWave(0);
    form.DrawOverview();
    form.SetCaption(ExtractFileName(path) + " - " + kApplicationTitle);
}

} // namespace testing_support
