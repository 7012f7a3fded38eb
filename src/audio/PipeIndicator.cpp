#include "PipeIndicator.h"

#include "PipeProcs.h"

namespace {

double SampleValue(const std::uint8_t* Bytes, int BytesPerSample)
{
    if (BytesPerSample == 1)
        return Bytes[0];
    return static_cast<std::int16_t>(Bytes[0] | (Bytes[1] << 8));
}

double FrameValue(const std::uint8_t* Bytes, int BytesPerSample, int Channels)
{
    double left = SampleValue(Bytes, BytesPerSample);
    if (Channels == 1)
        return left;
    return (left + SampleValue(Bytes + BytesPerSample, BytesPerSample)) / 2.0;
}

} // namespace

TSoundIndicator::TSoundIndicator(TComponent* AOwner) : TPipeConverter(AOwner)
{
    HannWindow(FWindow.data(), kWindowPoints, true);
}

TSoundIndicator::~TSoundIndicator()
{
    ReleaseReaders();
    if (Busy())
        CloseInput();
}

TPipeInput& TSoundIndicator::AssignedInput() const
{
    TPipeInput* input = Input();
    if (!input)
        throw EPipeException(PipeText::InputNotAssignedDot);
    return *input;
}

int TSoundIndicator::GetBitsPerSample()
{
    return AssignedInput().GetBitsPerSample();
}

int TSoundIndicator::GetChannels()
{
    return AssignedInput().GetChannels();
}

int TSoundIndicator::GetSampleRate()
{
    return AssignedInput().GetSampleRate();
}

void TSoundIndicator::RememberFormat()
{
    if (TPipeInput* input = Input()) {
        FBits = input->GetBitsPerSample();
        FChannels = input->GetChannels();
    }
}

void TSoundIndicator::OpenInput()
{
    TPipeInput& input = AssignedInput();
    input.OpenInput();
    FSize = input.Size();
    FBands.fill(0.0);
    FMeasuring = 0;
    FPosition = 0;
    RememberFormat();
    FBusy = true;
}

void TSoundIndicator::CloseInput()
{
    if (TPipeInput* input = Input())
        input->CloseInput();
    FSize = 0;
    FBusy = false;
    FMeasuring = 0;
}

void TSoundIndicator::SetInput(TPipeInput* Value)
{
    TPipeConverter::SetInput(Value);
    if (Busy())
        RememberFormat();
}

int TSoundIndicator::ReadData(void* Buffer, int Count)
{
    if (!Busy())
        throw EPipeException(PipeText::StreamNotOpened);
    int n = ReadInput(Buffer, Count);
    if (TPipeInput* input = Input())
        FPosition = input->Position();
    if (n <= 0)
        return 0;
    if (FMeasuring.exchange(1, std::memory_order_acquire) != 0)
        return n; // GetValues is reading: this chunk passes unmeasured
    Measure(static_cast<const std::uint8_t*>(Buffer), n);
    FMeasuring.store(0, std::memory_order_release);
    return n;
}

void TSoundIndicator::Measure(const std::uint8_t* Bytes, int Count)
{
    int bits = FBits.load();
    int channels = FChannels.load();
    if ((bits != 8 && bits != 16) || (channels != 1 && channels != 2))
        return;
    int bytesPerSample = bits / 8;
    int blockBytes = kBlockFrames * bytesPerSample * channels;
    int blocks = Count / blockBytes;
    for (int b = 0; b < blocks; ++b)
        AddBlockSpectrum(Bytes + b * blockBytes, bytesPerSample, channels);
    if (blocks > 0) {
        for (double& band : FBands)
            band /= blocks;
    }
}

void TSoundIndicator::AddBlockSpectrum(const std::uint8_t* Bytes, int BytesPerSample, int Channels)
{
    double values[kBlockFrames];
    int frameBytes = BytesPerSample * Channels;
    for (int i = 0; i < kBlockFrames; ++i)
        values[i] = FrameValue(Bytes + i * frameBytes, BytesPerSample, Channels);
    MultiplyArrays(FWindow.data(), values, kBlockFrames);
    double spectrum[2 * kBlockFrames];
    for (int i = 0; i < kBlockFrames; ++i) {
        spectrum[2 * i] = values[i];
        spectrum[2 * i + 1] = 0.0;
    }
    ComplexFFT(spectrum, kBlockFrames, kForwardFFT);
    double magnitudes[kBlockFrames];
    LogMagnitude(spectrum, magnitudes, kBlockFrames, 0.0);
    for (int k = 0; k < kBands; ++k)
        FBands[k] += magnitudes[k];
}

void TSoundIndicator::TakeMeasuringFlag()
{
    while (FMeasuring.exchange(1, std::memory_order_acquire) != 0)
        SwitchToThread();
}

void TSoundIndicator::GetValues(TBandValues& Values)
{
    TakeMeasuringFlag();
    for (int k = 0; k < kBands; ++k)
        Values[k] = FBands[k] * 20.0;
    FBands.fill(0.0);
    FMeasuring.store(0, std::memory_order_release);
}
