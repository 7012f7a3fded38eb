// The region-list file (".rgl"): the work on one WAV file as INI text, which
// file it is, its regions in display order and its cut bars.
//
//   [FILE_INFO]  WAV_FILE_PATH, REGION_COUNT, CUTPOINT_COUNT
//   [REGION_i]   REGION_NAME, REGION_START, REGION_END, REGION_VOL,
//                REGION_OUT (i from 0, in display order)
//   [CUTPOINT]   POINT_j = the cut bar's 12-digit text (j from 0, sorted;
//                the section only when there are cut bars)
//
//   TRegionRecord         one region as the file holds it
//   TRegionListFile       what one file holds
//   WriteRegionList       a list into an INI content, cleared first
//   ReadRegionList        a list out of one, with what was wrong with it
//   LocateRegionListWav   the WAV file, also when both files have moved
//   texts                 the output-mode names of the file, and the volume
//                         and output-mode texts of the region list view
//
// Reading never trusts the counts: regions and cut points are read one by
// one until the count is reached or one is missing, so a huge count in a
// small file costs nothing. A count that cannot be read breaks the file, so
// that a list the program does not understand is never taken for an empty
// one and saved over; so does a count that is missing or too small while
// the file holds regions or cut points beyond it. This unit includes nothing of the platform, so
// that it builds natively for fuzzing; the main window opens the WAV file,
// fills its lists and puts the INI text on disk.
#pragma once

#include "audio/OutputMode.h"
#include "classlib/IniContent.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace RegionFileText {
inline constexpr const char* Saved = "リージョンリストを保存しました";
inline constexpr const char* WavNotFound = "Wavファイルが見つかりませんでした";
inline constexpr const char* Broken = "リージョンリストファイルの読み込みに失敗しました";
// A save that could not write the file (the old file stays as it was).
inline constexpr const char* NotSaved = "リージョンリストファイルを保存できませんでした";
} // namespace RegionFileText

struct TRegionRecord
{
    AnsiString Name;
    std::int32_t Start = 0; // first sample frame
    std::int32_t End = 0;   // end sample frame
    double Volume = 1.0;    // factor; 1.0 leaves the samples alone
    TOutputMode OutMode = TOutputMode::NoTouch;

    bool operator==(const TRegionRecord&) const = default;
};

struct TRegionListFile
{
    AnsiString WavPath;                 // the WAV file's full path
    std::vector<TRegionRecord> Regions; // in the region list view's order
    std::vector<AnsiString> CutBars;    // as the cut-bar list holds them
};

// Clears ini and writes list into it. False when a text cannot be held by
// the file (a line break in a name or the path): ini is then half written
// and must not be put on disk.
[[nodiscard]] bool WriteRegionList(TIniContent& ini, const TRegionListFile& list);

enum class TRegionFileVerdict
{
    Loaded,
    BrokenCounts,   // neither REGION_COUNT nor CUTPOINT_COUNT, or one that is
                    // there but not a whole number from 0 up
    BrokenRegion,   // a region lacks a key, or holds -1 in REGION_START,
                    // REGION_END or REGION_VOL, or "NULL" in REGION_OUT; or
                    // [REGION_<REGION_COUNT>] is there (REGION_COUNT
                    // missing, read as 0, or too small)
    BrokenCutPoint, // a cut point lacks or is not a non-negative decimal
                    // integer within 32 bits; or POINT_<CUTPOINT_COUNT> is
                    // there (the count missing, read as 0, or too small)
};

struct TRegionFileRead
{
    TRegionFileVerdict Verdict = TRegionFileVerdict::Loaded;
    // Loaded or BrokenCutPoint: every region, taken as it stands (ranges are
    // not checked). Empty otherwise.
    std::vector<TRegionRecord> Regions;
    // Loaded: every cut bar; BrokenCutPoint: those before the broken one.
    // Each as 12-digit text, sorted.
    std::vector<AnsiString> CutBars;
};

// The WAV_FILE_PATH of the file; "" when it has none.
AnsiString RegionListWavPath(const TIniContent& ini);
// REGION_COUNT as the file holds it; -1 when it has none or one that is
// not a whole number from 0 up (a broken file).
int RegionListRegionCount(const TIniContent& ini);
// The regions and cut bars of the file. One missing count reads as 0 (in a
// file with no section or point of its kind); REGION_OUT other than the
// five names (compared case-sensitively) reads as NoTouch.
TRegionFileRead ReadRegionList(const TIniContent& ini);

// The WAV file a region list names: its stored path when a file is there,
// else the file of the same name in the region list's own folder when that
// is there, else "".
AnsiString LocateRegionListWav(const AnsiString& storedWavPath, const AnsiString& regionListPath,
                               const std::function<bool(const AnsiString&)>& fileExists);

// "NoTouch", "MonoMix", "MonoLeft", "MonoRight", "Swap": REGION_OUT's values.
const char* OutputModeName(TOutputMode mode);
// A sample as the cut-bar list holds it: 12 decimal digits with leading
// zeros, so that text order is sample order.
AnsiString CutBarEntryText(std::int32_t sample);

// The region list view's volume text after a load: "-" for exactly 1.0,
// else the volume in percent rounded half to even with "%" ("50%", and
// "100%" for 1.005).
AnsiString RegionVolumePercentText(double volume);
// The region list view's output-mode text: "-" for NoTouch, else the mode
// in words.
const char* OutputModeText(TOutputMode mode);
