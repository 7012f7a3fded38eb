// Trim and expand: fit a range of sample frames (the selection, or a region)
// to the sound it holds, on the draw data. Trim pulls its start and end
// inward to the first and last loud draw entry; expand pushes them outward up
// to the nearest stretch of silence. Both then add the margins.
//
//   TTrimSettings            the TRIM settings (level, margins in ms)
//   TTrimParams              what a fit needs: level, margins and entry size
//                            in frames, the file's length
//   TrimRange, ExpandRange   fit one range in place; true when it changed
//
// The new start is the first frame of the first kept entry less the pre
// margin, the new end the first frame of the last kept entry plus the post
// margin, within 0 and the file's length. A range is clamped to the file
// before the draw data are read, so a region loaded from a list that does not
// fit the file reads nothing outside them. No windows here.
#pragma once

#include "LevelDetect.h"

#include <cstdint>

struct TTrimSettings
{
    int Level = 0;    // an entry is loud above it
    int PreTime = 0;  // ms before the sound
    int PostTime = 0; // ms after it
};

struct TTrimParams
{
    int Level = 0;                   // an entry is loud above it
    std::int32_t PreFrames = 0;      // margin before, never below 0
    std::int32_t PostFrames = 0;     // margin after, never below 0
    std::int32_t FramesPerEntry = 1; // frames of one draw entry (waveBlockSize div 2)
    std::int32_t SampleSize = 0;     // the file's length in frames

    // Margins of time x framesPerSecond (the file's bytes per second over
    // its block size), rounded half to even.
    static TTrimParams For(const TTrimSettings& settings, double framesPerSecond, int waveBlockSize,
                           std::int32_t sampleSize);
};

// Entries that are not loud, in a row, that stop expanding.
constexpr std::int32_t kExpandQuietRun = 20;

// Pulls start and end inward to the first and last loud entry of the range.
// Leaves the range alone when it holds no loud entry, when its loud part is
// a single entry, when both ends already lie in loud entries, and when it is
// empty once clamped to the file or lies past the draw data.
bool TrimRange(const TDrawLevels& levels, const TTrimParams& params, std::int32_t& start,
               std::int32_t& end);

// Pushes start back to just after the nearest kExpandQuietRun quiet entries
// before it, and end forward to just before the nearest such run after it;
// an end with no such run beside it stays. Left alone as trim leaves it.
bool ExpandRange(const TDrawLevels& levels, const TTrimParams& params, std::int32_t& start,
                 std::int32_t& end);
