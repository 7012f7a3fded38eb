// The texts of the region and cut-bar edit windows, without windows: time
// and sample-count texts read and written, the characters their edits take,
// and what the other edits show after one of them changed.
//
//   TimeStrToSample     "m:ss.f" and its short forms as a sample position
//   SampleStrToInt      a sample count with grouping as a number
//   TRegionEditFacts    the open file as the windows see it
//   SyncRegionEdits     the region window's six edits kept in step
//   SyncCutBarEdits     the cut-bar window's two edits kept in step
//
// Text that is not a number never raises: it reads as invalid, and an edit
// that shows kNoValueText counts as invalid too.
#pragma once

#include "classlib/Types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// The text of an edit whose value cannot be computed.
constexpr const char* kNoValueText = "---";

// The file's facts the edits are computed with: sample = bytes per second x
// seconds / block align.
struct TRegionEditFacts
{
    std::uint32_t BytesPerSec = 0;
    std::uint16_t BlockAlign = 0;
    std::int32_t MaxSamples = 0; // the file's length in samples
};

// The sample position of a time text: "m:ss.f", ":ss", "ss.f", ".f", or up
// to four digits of seconds; minutes at most 99, seconds at most 59, the
// result rounded half to even. 0 for empty text, -1 for anything else that
// is not such a time (a stray character, a pasted sign, a second colon or
// dot, the dot before the colon).
std::int64_t TimeStrToSample(const AnsiString& text, const TRegionEditFacts& facts);

// A sample count: "." and "," are grouping and dropped; 0 for empty text;
// 2147483647 for larger numbers; none for anything but digits.
std::optional<std::int32_t> SampleStrToInt(const AnsiString& text);

// samples as "###,###,###,##0".
AnsiString SampleCountText(std::int64_t samples);
// samples as the time text m:ss.cc of the file.
AnsiString SampleTimeText(std::int64_t samples, const TRegionEditFacts& facts);

// The characters the edits take as typed (Backspace too; control keys
// are the windows' shortcuts).
bool TimeKeyAccepted(char key);
bool SampleKeyAccepted(char key);

// --- The region window's edits

enum class TRegionEditField
{
    LengthTime,
    StartTime,
    EndTime,
    LengthSamples,
    StartSamples,
    EndSamples
};
constexpr int kRegionEditFieldCount = 6;
using TRegionEditTexts = std::array<AnsiString, kRegionEditFieldCount>;

struct TRegionEditSync
{
    bool Valid = false; // the edits now hold a range that OK may apply
    std::vector<std::pair<TRegionEditField, AnsiString>> Writes;
};
// What the other edits show after changed took its text (texts are all six
// as they stand now): the dependent edits computed from it and the start or
// end in samples, or kNoValueText in them when it is out of range.
TRegionEditSync SyncRegionEdits(TRegionEditField changed, const TRegionEditTexts& texts,
                                const TRegionEditFacts& facts);
// Whether the sample edits hold a range the window may apply:
// 0 <= start <= end <= the file's length.
bool RegionEditRangeValid(const AnsiString& startSamples, const AnsiString& endSamples,
                          const TRegionEditFacts& facts);

// --- The cut-bar window's edits

struct TCutBarEditSync
{
    bool Valid = false;
    AnsiString Other; // the other edit's new text
};
// After the time edit (time true) or the sample edit changed to text: a
// position within the file, or kNoValueText.
TCutBarEditSync SyncCutBarEdits(bool time, const AnsiString& text, const TRegionEditFacts& facts);
