// The sample conversion of a bounced region: its volume factor, then its
// output mode, applied to 16-bit samples in place.
//
// The volume comes first (rounded half to even, clipped to the 16-bit
// range), then the channels: MonoMix keeps (L + R) / 2 truncated toward
// zero, MonoLeft keeps L, MonoRight keeps R (these three halve the samples),
// Swap exchanges L and R. A mono file only gets its volume, whatever the
// mode. Playback mixes first and rounds (DirectWavEngine), so a bounced
// MonoMix file can differ from what was heard by one step.
//
// Knows no window and no file; BounceWriter feeds it frame-aligned pieces.
#pragma once

#include "audio/DirectWavEngine.h"

#include <cstddef>
#include <cstdint>

// sample x volume, rounded half to even and clipped to -32768..32767. A
// volume that is not a number gives silence.
std::int16_t ScaleSample(std::int16_t sample, double volume);

// Whether a region needs ConvertBuffer at all: a mode other than NoTouch,
// or a volume other than 1.0. (For a mono file only the volume changes
// anything; the result is the same either way.)
bool BounceNeedsConversion(TOutputMode mode, double volume);

// The channels of a region's output: 1 for MonoMix, MonoLeft and MonoRight
// of a stereo file, else the file's own.
int BounceOutputChannels(int fileChannels, TOutputMode mode);

// Converts count interleaved samples of a channels-channel file in place
// (count a whole number of frames) and returns how many samples the output
// holds: count, or count / 2 when a stereo piece becomes mono (those are
// the first samples of the buffer).
std::size_t ConvertBuffer(std::int16_t* samples, std::size_t count, int channels, double volume,
                          TOutputMode mode);
