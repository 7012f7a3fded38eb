// The level meter: a pipeline converter that passes its input through
// unchanged and measures a 32-band spectrum of what passes.
//
//   TBandValues       the 32 values GetValues hands out
//   TSoundIndicator   the converter
//
// Each chunk is cut into blocks of 64 frames (the frames after the last whole
// block are not measured); a block's value per frame is the sample, or the
// mean of left and right, 8-bit samples taken as unsigned. The block is
// weighted by the first 64 entries of a 1024-point Hann window, transformed,
// and the log10 magnitudes of its first 32 bins are added to the band values.
// Each chunk then divides the band values by its own block count; only
// GetValues and OpenInput clear them. 8- and 16-bit mono and stereo are
// measured; other formats pass through unmeasured.
//
// ReadData runs on the output's worker thread and GetValues on the main
// thread; the measuring flag keeps them apart: GetValues waits for a
// measurement in progress, and a chunk that arrives while GetValues runs
// passes through unmeasured.
#pragma once

#include "PipeClasses.h"

#include <array>
#include <atomic>
#include <cstdint>

using TBandValues = std::array<double, 32>;

class TSoundIndicator : public TPipeConverter
{
public:
    static constexpr int kBands = 32;
    static constexpr int kBlockFrames = 64;
    static constexpr int kWindowPoints = 1024;

    explicit TSoundIndicator(TComponent* AOwner);
    ~TSoundIndicator() override;

    // Those of Input; without Input each raises "Input is not assigned.".
    int GetBitsPerSample() override;
    int GetChannels() override;
    int GetSampleRate() override;
    // Opens Input and clears the band values; raises "Input is not
    // assigned." without Input.
    void OpenInput() override;
    void CloseInput() override;
    // Reads from Input and measures what passes; raises "The Stream is not
    // opened" while closed.
    int ReadData(void* Buffer, int Count) override;
    void SetInput(TPipeInput* Value) override;

    // The band values times 20, and clears them (main thread).
    void GetValues(TBandValues& Values);

private:
    TPipeInput& AssignedInput() const;
    void RememberFormat();
    void Measure(const std::uint8_t* Bytes, int Count);
    void AddBlockSpectrum(const std::uint8_t* Bytes, int BytesPerSample, int Channels);
    void TakeMeasuringFlag();

    std::atomic<std::uint8_t> FMeasuring{0};     // spin flag: 1 while measuring or GetValues runs
    std::array<double, kWindowPoints> FWindow{}; // symmetric Hann window
    TBandValues FBands{};                        // accumulated log10 magnitudes per band
    // The format of what passes, taken from Input when opened or swapped.
    std::atomic<int> FBits{0};
    std::atomic<int> FChannels{0};
};
