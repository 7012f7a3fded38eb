#include "TestDocument.h"

#include "ProcessWindowWatch.h"

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
    ASSERT_TRUE(form.OpenWavFile(path));
}

namespace {

// Zooms all the way in, then out until samplesPerPixel or until the zoom
// out is refused.
void ZoomByCommands(TFormVusk& form, std::int32_t samplesPerPixel)
{
    const TWaveViewState& view = form.Document().View();
    while (view.Zoom > 1)
        form.actViewZoomInExecute(form.actViewZoomIn);
    while (view.SamplesPerPixel < samplesPerPixel) {
        const std::int32_t before = view.Zoom;
        form.actViewZoomOutExecute(form.actViewZoomOut);
        if (view.Zoom == before)
            return;
    }
}

// Zooms to a drag from the file's start as wide as the image shows at
// samplesPerPixel frames a column: the zoom to the selection fits it.
void ZoomToDragFromStart(TFormVusk& form, std::int32_t samplesPerPixel)
{
    form.actViewZoomAllExecute(form.actViewZoomAll);
    const std::int64_t frames = std::int64_t{samplesPerPixel} * form.WaveImage->Width();
    const std::int32_t column = form.Document().View().SamplesPerPixel;
    DragOnWave(form, 0, static_cast<int>((frames + 1) / column) - 1);
    form.actViewZoomRegionExecute(form.actViewZoomRegion);
    form.ClearSelection();
}

} // namespace

void ZoomTo(TFormVusk& form, std::int32_t samplesPerPixel)
{
    const bool powerOfTwo = samplesPerPixel > 0 && (samplesPerPixel & (samplesPerPixel - 1)) == 0;
    if (powerOfTwo)
        ZoomByCommands(form, samplesPerPixel);
    else
        ZoomToDragFromStart(form, samplesPerPixel);
    form.DrawWave(0);
    ASSERT_EQ(form.Document().View().SamplesPerPixel, samplesPerPixel);
}

void RunWhileLoading(TFormVusk& form, const TempFolder& folder, const std::function<void()>& during)
{
    // Three chunks of the build's reads.
    constexpr int kFrames = 2200000;
    const std::string path =
        WriteWav(folder, "loading.wav", WavBuilder().Pcm16(2, 44100, SilenceSamples(kFrames, 2)));
    bool ran = false;
    {
        ProcessWindowWatch watch([&](TForm4& window) {
            if (!window.FRunning || ran)
                return;
            ran = true;
            EXPECT_TRUE(form.Document().Busy());
            during();
        });
        ASSERT_TRUE(form.OpenWavFile(path));
    }
    EXPECT_TRUE(ran);
}

void DragOnWave(TFormVusk& form, int fromX, int toX)
{
    ASSERT_EQ(form.Tool(), TTool::Region);
    const int y = form.MarkHeight() + 20;
    form.WaveImageMouseDown(form.WaveImage, TMouseButton::mbLeft, ssLeft, fromX, y);
    form.WaveImageMouseMove(form.WaveImage, ssLeft, toX, y);
    form.WaveImageMouseUp(form.WaveImage, TMouseButton::mbLeft, {}, toX, y);
}

} // namespace testing_support
