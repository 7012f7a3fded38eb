// Level detection: finds the pieces of a recording by its sound level, on the
// draw data. One level (0 to 128) per draw entry makes the envelope; three
// detectors run over it: strip silence and search silence give regions, cut
// points gives the frames where the sound rises sharply.
//
//   LevelToDbText, DbToLevel      a level against a maximum, and back, in dB
//   DbTextToLevel                 the level a typed threshold text asks for
//   TDrawLevels                   the level of each entry, read from the draw data
//   BuildLevelEnvelope            one level per entry, tagged with its draw data
//   AverageEnvelope               chunk means of the envelope, reused while the
//                                 chunk and the draw data are the same
//   TLevelScale                   draw entries per second and frames per entry
//   TAutoSettings, TAutoMode      what a detection runs with
//   StripSilence, SearchSilence   regions between stretches of silence
//   FindCutPoints                 frames where the sound rises sharply
//   DetectLevels                  the detector of a mode; both result lists anew
//   CutPointRegions               the regions the cut points make
//
// Times are milliseconds; regions and cut points are sample frames, the same
// for mono and stereo files of one rate and length. Nothing here knows a
// window or a file, and nothing reads outside the envelope whatever the
// settings (a settings file is read unchecked); it builds natively for
// fuzzing.
#pragma once

#include "DrawData.h"
#include "LevelData.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// 20 log10(value / maximum) as "0.0" text, rounded half away from zero: "-∞"
// for a value of 0 (or below), "+" in front above the maximum, never "-0.0".
// Code-page bytes, as the rest of the program's text (the infinity sign is a
// double-byte character).
std::string LevelToDbText(double value, double maximum);

// The level that db decibels make of maximum: 10^(db / 20) x maximum, rounded
// half to even (and kept within the 32-bit range).
int DbToLevel(double db, double maximum);

// The level a threshold typed in dB asks for against maximum: 0 for an empty
// text, maximum for 0 dB or more, DbToLevel below. None (the level stays) for
// a text that is no number: a "-" anywhere but first, more than one "." or
// "-", no digit, or any other character.
std::optional<int> DbTextToLevel(const std::string& text, double maximum);

// The level of every draw entry: the largest of the peaks' sizes over the
// channels (a min byte of -128 gives 128). A view: the draw data must outlive
// it and stay unchanged.
class TDrawLevels
{
public:
    explicit TDrawLevels(const TDrawDataStereo& stereo) : FStereo(&stereo) {}
    explicit TDrawLevels(const TDrawDataMono& mono) : FMono(&mono) {}

    std::int32_t Count() const { return FStereo ? FStereo->Count() : FMono->Count(); }
    // Entry k's level, 0 to 128; k must lie within 0 .. Count() - 1.
    int Level(std::int32_t k) const;

private:
    const TDrawDataStereo* FStereo = nullptr; // not owned; set for a stereo file
    const TDrawDataMono* FMono = nullptr;     // not owned; set for a mono file
};

// Fills envelope with the level of every entry. drawGeneration names the draw
// data it was built from: the owner counts up whenever its draw data are
// built, loaded or emptied, so an averaged table of older data is never
// taken for this one.
void BuildLevelEnvelope(const TDrawLevels& levels, std::uint32_t drawGeneration,
                        TMaxData& envelope);

// Makes averages the chunk means of envelope: chunk below 1 counts as 1; for
// 1 a copy, else one value per whole chunk (the mean rounded half to even;
// entries after the last whole chunk make none). Does nothing, and returns
// false, when averages were already built with this chunk from the same draw
// data.
bool AverageEnvelope(const TMaxData& envelope, std::int32_t chunk, TCompData& averages);

// How draw entries map to time and to sample frames: a file of rate frames a
// second drawn in blocks of waveBlockSize frames has 2 x rate / waveBlockSize
// entries a second, and entry k starts at frame k x (waveBlockSize div 2).
struct TLevelScale
{
    double EntriesPerSecond = 0;
    std::int32_t FramesPerEntry = 1;

    static TLevelScale For(int rate, int waveBlockSize);
    // The first frame of entry k (kept within the 32-bit range).
    std::int32_t FrameOf(std::int64_t k) const;
};

// The AUTO settings that a detection runs with (times in milliseconds).
struct TAutoSettings
{
    int Level = 127;        // threshold, 0 to 127 (a rise, for cut points)
    int PreTime = 0;        // margin before each region
    int PostTime = 0;       // margin after each region
    int MinLength = 1000;   // shortest region kept
    int MinInterval = 1000; // shortest silence that ends a region
};

// The stored AUTO MODE numbers.
enum class TAutoMode
{
    StripSilence = 0,
    CutPoints = 1,
    SearchSilence = 2,
};
// The mode of a stored number: anything but 0 and 1 is search silence.
TAutoMode AutoModeOf(int stored);

// Regions from the first loud entry (at or above the level) to the last loud
// entry before a silence of MinInterval; a region is kept once it holds
// MinLength of loud entries, and gets the margins. A region still open at the
// last entry ends there. Regions of a single entry without margins are
// dropped.
TAutoRegionList StripSilence(const TMaxData& envelope, const TLevelScale& scale,
                             const TAutoSettings& settings);

// Regions from the first loud entry (above the level) to the first entry of
// a silence of MinInterval, kept when at least MinLength long, with the
// margins. A region still open at the last entry ends there, unmeasured and
// without the post margin. A MinInterval of 0 (or below) finds nothing.
TAutoRegionList SearchSilence(const TMaxData& envelope, const TLevelScale& scale,
                              const TAutoSettings& settings);

// The entries of a chunk of the envelope's averages, and how many quiet
// entries mark the silence a cut point is pulled back to.
constexpr std::int32_t kCutPointChunk = 1000;
constexpr std::int32_t kCutPointQuietRun = 20;
constexpr int kCutPointQuietLevel = 4; // quiet: below this level

// Where the chunk average rises by more than level over the one before: the
// loudest entry of the two chunks, pulled back to the end of a silence just
// before it when there is one. In order; the same frame may come twice.
// Averages the envelope (averages is reused or rebuilt).
std::vector<std::int32_t> FindCutPoints(const TMaxData& envelope, TCompData& averages,
                                        const TLevelScale& scale, int level);

// What one detection found. Every run replaces both lists, so the results of
// an earlier run of another detector are never added.
struct TAutoDetection
{
    TAutoRegionList Regions;             // strip silence, search silence
    std::vector<std::int32_t> CutPoints; // cut points

    bool Found() const { return Regions.Count() > 0 || !CutPoints.empty(); }
};

TAutoDetection DetectLevels(TAutoMode mode, const TMaxData& envelope, TCompData& averages,
                            const TLevelScale& scale, const TAutoSettings& settings);

// The regions that cut points make of a file of sampleSize frames: from 0 to
// the first point - 1, from each point to the next - 1, and from the last to
// sampleSize. Pairs that would not make a region (start not below end) are
// left out.
std::vector<std::pair<std::int32_t, std::int32_t>>
CutPointRegions(const std::vector<std::int32_t>& cutPoints, std::int32_t sampleSize);
