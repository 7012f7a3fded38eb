#include "RegionFile.h"

#include "classlib/AnsiText.h"
#include "classlib/FileNames.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace {

const char* const kFileInfo = "FILE_INFO";
const char* const kWavPath = "WAV_FILE_PATH";
const char* const kRegionCount = "REGION_COUNT";
const char* const kCutPointCount = "CUTPOINT_COUNT";
const char* const kName = "REGION_NAME";
const char* const kStart = "REGION_START";
const char* const kEnd = "REGION_END";
const char* const kVolume = "REGION_VOL";
const char* const kOut = "REGION_OUT";
const char* const kCutPoint = "CUTPOINT";
// What a missing key reads as.
const char* const kMissingText = "NULL";
constexpr int kMissingInteger = -1;
constexpr double kMissingVolume = -1.0;

const TOutputMode kOutputModes[] = {TOutputMode::NoTouch, TOutputMode::MonoMix,
                                    TOutputMode::MonoLeft, TOutputMode::MonoRight,
                                    TOutputMode::Swap};

AnsiString RegionSection(size_t i)
{
    return "REGION_" + std::to_string(i);
}

AnsiString CutPointKey(size_t j)
{
    return "POINT_" + std::to_string(j);
}

bool WriteRegion(TIniContent& ini, size_t i, const TRegionRecord& region)
{
    const AnsiString section = RegionSection(i);
    return ini.WriteString(section, kName, region.Name) &&
           ini.WriteInteger(section, kStart, region.Start) &&
           ini.WriteInteger(section, kEnd, region.End) &&
           ini.WriteFloat(section, kVolume, region.Volume) &&
           ini.WriteString(section, kOut, OutputModeName(region.OutMode));
}

// REGION_OUT's value as a mode; NoTouch for any other text.
TOutputMode OutputModeNamed(const AnsiString& name)
{
    for (TOutputMode mode : kOutputModes)
        if (name == OutputModeName(mode))
            return mode;
    return TOutputMode::NoTouch;
}

// The region of section i, or none when the file is broken there. The name
// is missing only when its key is: "NULL" is a name a user may give.
std::optional<TRegionRecord> ReadRegion(const TIniContent& ini, size_t i)
{
    const AnsiString section = RegionSection(i);
    TRegionRecord region;
    region.Start = ini.ReadInteger(section, kStart, kMissingInteger);
    region.End = ini.ReadInteger(section, kEnd, kMissingInteger);
    region.Volume = ini.ReadFloat(section, kVolume, kMissingVolume);
    const AnsiString out = ini.ReadString(section, kOut, kMissingText);
    if (!ini.ValueExists(section, kName) || out == kMissingText ||
        region.Start == kMissingInteger || region.End == kMissingInteger ||
        region.Volume == kMissingVolume)
        return std::nullopt;
    region.Name = ini.ReadString(section, kName, AnsiString());
    region.OutMode = OutputModeNamed(out);
    return region;
}

// A cut point as a sample: decimal digits only, within 32 bits.
std::optional<std::int32_t> CutPointSample(const AnsiString& text)
{
    constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
    const std::optional<std::int64_t> value = DigitsValue(text, kLargest + 1);
    if (!value || *value > kLargest)
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

// A count of FILE_INFO: missing, a whole number from 0 up, or broken (there
// but not such a number).
struct TStoredCount
{
    bool Present = false;
    bool Whole = false;
    size_t Value = 0; // 0 unless Whole
};

TStoredCount ReadCount(const TIniContent& ini, const char* key)
{
    TStoredCount count;
    count.Present = ini.ValueExists(kFileInfo, key);
    int value = 0;
    if (count.Present && TryStrToInt(ini.ReadString(kFileInfo, key, AnsiString()), value) &&
        value >= 0) {
        count.Whole = true;
        count.Value = static_cast<size_t>(value);
    }
    return count;
}

} // namespace

bool WriteRegionList(TIniContent& ini, const TRegionListFile& list)
{
    ini.Clear();
    bool ok = ini.WriteString(kFileInfo, kWavPath, list.WavPath) &&
              ini.WriteInteger(kFileInfo, kRegionCount, static_cast<int>(list.Regions.size())) &&
              ini.WriteInteger(kFileInfo, kCutPointCount, static_cast<int>(list.CutBars.size()));
    for (size_t i = 0; ok && i < list.Regions.size(); ++i)
        ok = WriteRegion(ini, i, list.Regions[i]);
    for (size_t j = 0; ok && j < list.CutBars.size(); ++j)
        ok = ini.WriteString(kCutPoint, CutPointKey(j), list.CutBars[j]);
    return ok;
}

AnsiString RegionListWavPath(const TIniContent& ini)
{
    return ini.ReadString(kFileInfo, kWavPath, AnsiString());
}

int RegionListRegionCount(const TIniContent& ini)
{
    const TStoredCount count = ReadCount(ini, kRegionCount);
    return count.Whole ? static_cast<int>(count.Value) : kMissingInteger;
}

TRegionFileRead ReadRegionList(const TIniContent& ini)
{
    TRegionFileRead read;
    const TStoredCount regionCount = ReadCount(ini, kRegionCount);
    const TStoredCount cutPointCount = ReadCount(ini, kCutPointCount);
    const bool neitherCount = !regionCount.Present && !cutPointCount.Present;
    const bool unreadableCount = (regionCount.Present && !regionCount.Whole) ||
                                 (cutPointCount.Present && !cutPointCount.Whole);
    if (neitherCount || unreadableCount) {
        read.Verdict = TRegionFileVerdict::BrokenCounts;
        return read;
    }
    for (size_t i = 0; i < regionCount.Value; ++i) {
        std::optional<TRegionRecord> region = ReadRegion(ini, i);
        if (!region)
            break;
        read.Regions.push_back(std::move(*region));
    }
    // A count that is missing, or smaller than the sections or points the
    // file holds, would lose the rest at the next save: the file is broken
    // there, as where a key is missing.
    if (read.Regions.size() < regionCount.Value ||
        ini.SectionExists(RegionSection(regionCount.Value))) {
        read.Regions.clear();
        read.Verdict = TRegionFileVerdict::BrokenRegion;
        return read;
    }
    for (size_t j = 0; j < cutPointCount.Value; ++j) {
        std::optional<std::int32_t> sample =
            CutPointSample(ini.ReadString(kCutPoint, CutPointKey(j), AnsiString()));
        if (!sample)
            break;
        read.CutBars.push_back(CutBarEntryText(*sample));
    }
    if (read.CutBars.size() < cutPointCount.Value ||
        ini.ValueExists(kCutPoint, CutPointKey(cutPointCount.Value)))
        read.Verdict = TRegionFileVerdict::BrokenCutPoint;
    std::sort(read.CutBars.begin(), read.CutBars.end());
    return read;
}

AnsiString LocateRegionListWav(const AnsiString& storedWavPath, const AnsiString& regionListPath,
                               const std::function<bool(const AnsiString&)>& fileExists)
{
    if (storedWavPath.empty())
        return AnsiString();
    if (fileExists(storedWavPath))
        return storedWavPath;
    const AnsiString name = ExtractFileName(storedWavPath);
    const AnsiString beside = ExtractFilePath(regionListPath) + name;
    return !name.empty() && fileExists(beside) ? beside : AnsiString();
}

const char* OutputModeName(TOutputMode mode)
{
    switch (mode) {
    case TOutputMode::MonoMix:
        return "MonoMix";
    case TOutputMode::MonoLeft:
        return "MonoLeft";
    case TOutputMode::MonoRight:
        return "MonoRight";
    case TOutputMode::Swap:
        return "Swap";
    default:
        return "NoTouch";
    }
}

AnsiString CutBarEntryText(std::int32_t sample)
{
    char text[16];
    std::snprintf(text, sizeof text, "%012d", static_cast<int>(sample));
    return text;
}

AnsiString RegionVolumePercentText(double volume)
{
    if (volume == 1.0)
        return "-";
    char text[400];
    // + 0.0 shows a percentage that rounds to nothing as "0%", never "-0%".
    std::snprintf(text, sizeof text, "%.0f%%", std::nearbyint(volume * 100) + 0.0);
    return text;
}

const char* OutputModeText(TOutputMode mode)
{
    switch (mode) {
    case TOutputMode::MonoMix:
        return "モノラルミックス";
    case TOutputMode::MonoLeft:
        return "左チャンネルのみ";
    case TOutputMode::MonoRight:
        return "右チャンネルのみ";
    case TOutputMode::Swap:
        return "左右チャンネル入れ替え";
    default:
        return "-";
    }
}
