#include "RegionEditRules.h"

#include "editor/TimeText.h"

#include "classlib/AnsiText.h"
#include "classlib/TextUtils.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int64_t kLargestSample = 2147483647;
constexpr int kMaxMinutes = 99;
constexpr int kMaxSeconds = 59;
// Seconds alone, without a colon or a dot, have at most this many digits.
constexpr size_t kMaxBareSecondsDigits = 4;
// Typed numbers are held just above the largest sample: any larger one is
// out of range alike.
constexpr std::int64_t kTypedCeiling = kLargestSample + 1;
// Fraction digits beyond these are far below a sample at any rate: they are
// checked, but do not count.
constexpr size_t kFractionDigitsCounted = 9;

} // namespace

std::int64_t TimeStrToSample(const AnsiString& text, const TRegionEditFacts& facts)
{
    AnsiString t = Trim(text);
    if (t.empty())
        return 0;
    if (std::count(t.begin(), t.end(), ':') >= 2 || std::count(t.begin(), t.end(), '.') >= 2)
        return -1;
    if (t.front() == ':')
        t.erase(0, 1);
    if (!t.empty() && t.front() == '.')
        t.insert(0, "0");
    if (!t.empty() && t.back() == '.')
        t.pop_back();
    if (!t.empty() && t.back() == ':')
        t.pop_back();
    const size_t colon = t.find(':');
    const size_t dot = t.find('.');
    const bool hasColon = colon != AnsiString::npos;
    const bool hasDot = dot != AnsiString::npos;
    if (hasColon && hasDot && dot < colon + 2)
        return -1;
    if (!hasColon && !hasDot && t.size() > kMaxBareSecondsDigits)
        return -1;
    const size_t secondsFrom = hasColon ? colon + 1 : 0;
    const size_t secondsTo = hasDot ? dot : t.size();
    const std::optional<std::int64_t> minutes =
        hasColon ? DigitsValue(t.substr(0, colon), kTypedCeiling) : std::optional<std::int64_t>(0);
    const std::optional<std::int64_t> seconds =
        DigitsValue(t.substr(secondsFrom, secondsTo - secondsFrom), kTypedCeiling);
    const AnsiString typedFraction = hasDot ? t.substr(dot + 1) : AnsiString();
    const AnsiString fractionDigits = typedFraction.substr(0, kFractionDigitsCounted);
    const std::optional<std::int64_t> fraction =
        hasDot ? DigitsValue(fractionDigits, kTypedCeiling) : std::optional<std::int64_t>(0);
    if (!minutes || !seconds || !fraction || (hasDot && !DigitsValue(typedFraction, 1)) ||
        *minutes > kMaxMinutes || *seconds > kMaxSeconds || facts.BlockAlign == 0)
        return -1;
    const double fractionSeconds =
        static_cast<double>(*fraction) / std::pow(10.0, static_cast<double>(fractionDigits.size()));
    const double total = static_cast<double>(*minutes * 60 + *seconds) + fractionSeconds;
    return static_cast<std::int64_t>(
        std::nearbyint(static_cast<double>(facts.BytesPerSec) * total / facts.BlockAlign));
}

std::optional<std::int32_t> SampleStrToInt(const AnsiString& text)
{
    AnsiString t = Trim(text);
    if (t.empty())
        return 0;
    t.erase(std::remove_if(t.begin(), t.end(), [](char c) { return c == '.' || c == ','; }),
            t.end());
    const std::optional<std::int64_t> value = DigitsValue(t, kTypedCeiling);
    if (!value)
        return std::nullopt;
    return static_cast<std::int32_t>(std::min(*value, kLargestSample));
}

AnsiString SampleCountText(std::int64_t samples)
{
    return FormatFloat("###,###,###,##0", static_cast<double>(samples));
}

AnsiString SampleTimeText(std::int64_t samples, const TRegionEditFacts& facts)
{
    if (facts.BytesPerSec == 0)
        return FormatTime(0);
    return FormatTime(static_cast<double>(samples) * facts.BlockAlign / facts.BytesPerSec);
}

bool TimeKeyAccepted(char key)
{
    return key == VK_BACK || (key >= '0' && key <= '9') || key == '.' || key == ':';
}

bool SampleKeyAccepted(char key)
{
    return key == VK_BACK || (key >= '0' && key <= '9') || key == '.' || key == ',';
}

// --- The region window ---------------------------------------------------------------------

namespace {

using F = TRegionEditField;

// One row of the sync: the edits it writes on success, from the new value.
struct TSyncOutcome
{
    std::optional<std::int64_t> Value; // none: kNoValueText in every target
    std::vector<std::pair<F, std::int64_t>> Writes;
};

AnsiString TextOf(F field, std::int64_t samples, const TRegionEditFacts& facts)
{
    switch (field) {
    case F::LengthTime:
    case F::StartTime:
    case F::EndTime:
        return SampleTimeText(samples, facts);
    case F::LengthSamples:
    case F::StartSamples:
    case F::EndSamples:
        break;
    }
    return SampleCountText(samples);
}

const AnsiString& Text(const TRegionEditTexts& texts, F field)
{
    return texts[static_cast<int>(field)];
}

// An edit's sample count, or none (kNoValueText, or no number).
std::optional<std::int64_t> SamplesIn(const TRegionEditTexts& texts, F field)
{
    const std::optional<std::int32_t> value = SampleStrToInt(Text(texts, field));
    return value ? std::optional<std::int64_t>(*value) : std::nullopt;
}

// The time in an edit as samples, or none for malformed text.
std::optional<std::int64_t> TimeIn(const TRegionEditTexts& texts, F field,
                                   const TRegionEditFacts& facts)
{
    const std::int64_t t = TimeStrToSample(Text(texts, field), facts);
    return t == -1 ? std::nullopt : std::optional<std::int64_t>(t);
}

} // namespace

TRegionEditSync SyncRegionEdits(TRegionEditField changed, const TRegionEditTexts& texts,
                                const TRegionEditFacts& facts)
{
    const std::optional<std::int64_t> s = SamplesIn(texts, F::StartSamples);
    const std::optional<std::int64_t> e = SamplesIn(texts, F::EndSamples);
    const std::int64_t max = facts.MaxSamples;
    const bool isTime =
        changed == F::LengthTime || changed == F::StartTime || changed == F::EndTime;
    const std::optional<std::int64_t> v =
        isTime ? TimeIn(texts, changed, facts) : SamplesIn(texts, changed);

    std::vector<F> targets;
    std::vector<std::pair<F, std::int64_t>> values;
    bool valid = false;
    switch (changed) {
    case F::LengthTime:
    case F::LengthSamples:
        targets = {changed == F::LengthTime ? F::LengthSamples : F::LengthTime, F::EndTime,
                   F::EndSamples};
        valid = v && s && (changed == F::LengthTime ? *v > 0 : *v >= 0) && *s + *v <= max;
        if (valid)
            values = {{targets[0], *v}, {F::EndTime, *s + *v}, {F::EndSamples, *s + *v}};
        break;
    case F::StartTime:
    case F::StartSamples: {
        const F other = changed == F::StartTime ? F::StartSamples : F::StartTime;
        targets = {F::LengthTime, F::LengthSamples, other};
        valid = v && e && *v >= 0 && *v < *e;
        if (valid)
            values = {{F::LengthTime, *e - *v}, {F::LengthSamples, *e - *v}, {other, *v}};
        break;
    }
    case F::EndTime:
    case F::EndSamples: {
        const F other = changed == F::EndTime ? F::EndSamples : F::EndTime;
        targets = {F::LengthTime, F::LengthSamples, other};
        valid = v && s && *v > *s && *v <= max;
        if (valid)
            values = {{F::LengthTime, *v - *s}, {F::LengthSamples, *v - *s}, {other, *v}};
        break;
    }
    }
    TRegionEditSync sync;
    sync.Valid = valid;
    if (valid) {
        for (const auto& [field, samples] : values)
            sync.Writes.push_back({field, TextOf(field, samples, facts)});
    } else {
        for (F field : targets)
            sync.Writes.push_back({field, kNoValueText});
    }
    return sync;
}

bool RegionEditRangeValid(const AnsiString& startSamples, const AnsiString& endSamples,
                          const TRegionEditFacts& facts)
{
    const std::optional<std::int32_t> start = SampleStrToInt(startSamples);
    const std::optional<std::int32_t> end = SampleStrToInt(endSamples);
    return start && end && *start <= *end && *end <= facts.MaxSamples;
}

// --- The cut-bar window --------------------------------------------------------------------

TCutBarEditSync SyncCutBarEdits(bool time, const AnsiString& text, const TRegionEditFacts& facts)
{
    std::optional<std::int64_t> position;
    if (time) {
        const std::int64_t t = TimeStrToSample(text, facts);
        if (t >= 0)
            position = t;
    } else if (const std::optional<std::int32_t> n = SampleStrToInt(text)) {
        position = *n;
    }
    if (Trim(text).empty() || !position || *position > facts.MaxSamples)
        return {false, kNoValueText};
    return {true, time ? SampleCountText(*position) : SampleTimeText(*position, facts)};
}
