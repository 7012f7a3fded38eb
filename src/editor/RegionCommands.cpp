#include "RegionCommands.h"

#include "classlib/TextUtils.h"

#include <algorithm>
#include <unordered_set>

// --- Names -----------------------------------------------------------------------------------

namespace {

bool Holds(const std::vector<AnsiString>& names, const AnsiString& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

AnsiString NumberedName(const AnsiString& base, int n)
{
    return base + "(" + IntToStr(n) + ")";
}

AnsiString ItemKey(int index)
{
    return FormatFloat("00000000", index);
}

} // namespace

AnsiString MergedRegionName(const AnsiString& name, const std::vector<AnsiString>& captions)
{
    const AnsiString merged = name + "_Merged";
    AnsiString candidate = merged;
    for (int n = 1; Holds(captions, candidate); ++n)
        candidate = NumberedName(merged, n);
    return candidate;
}

std::vector<AnsiString> DuplicateNames(const std::vector<AnsiString>& names,
                                       const std::vector<int>& selected)
{
    std::unordered_set<AnsiString> taken(names.begin(), names.end());
    std::vector<AnsiString> copies;
    for (int index : selected) {
        if (index < 0 || index >= static_cast<int>(names.size()))
            continue;
        AnsiString candidate;
        for (int n = 1; candidate.empty() || taken.count(candidate); ++n)
            candidate = NumberedName(names[index], n);
        taken.insert(candidate);
        copies.push_back(candidate);
    }
    return copies;
}

std::vector<AnsiString> DuplicateSortKeys(int count, const std::vector<int>& selected)
{
    std::vector<AnsiString> keys;
    keys.reserve(count + selected.size());
    for (int i = 0; i < count; ++i)
        keys.push_back(ItemKey(i));
    for (int index : selected)
        keys.push_back(ItemKey(index));
    return keys;
}

// --- Adjusting -------------------------------------------------------------------------------

namespace {

using R = TRegionAdjust;

std::int32_t Clamped(std::int64_t sample, std::int32_t length)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sample, 0, std::max(0, length)));
}

TRegionRange Shifted(const TRegionRange& range, std::int64_t by)
{
    return {static_cast<std::int32_t>(range.Start + by), static_cast<std::int32_t>(range.End + by)};
}

} // namespace

std::optional<TRegionRange> AdjustedSelection(TRegionAdjust adjust,
                                              const std::optional<TRegionRange>& selection,
                                              std::int32_t cursor, std::int32_t step,
                                              std::int32_t length)
{
    std::optional<TRegionRange> range = selection;
    if (!range) {
        const bool widensAtCursor = (adjust == R::StartWide && cursor > 0) ||
                                    (adjust == R::EndWide && cursor >= 0 && cursor < length);
        if (!widensAtCursor)
            return std::nullopt;
        range = TRegionRange{cursor, cursor};
    }
    TRegionRange r = *range;
    const std::int64_t s = step;
    switch (adjust) {
    case R::StartWide:
        if (r.Start <= 0)
            return std::nullopt;
        r.Start = Clamped(r.Start - s, length);
        return r;
    case R::StartShort:
        if (std::int64_t(r.End) <= r.Start + s)
            return std::nullopt;
        r.Start = static_cast<std::int32_t>(r.Start + s);
        return r;
    case R::EndWide:
        if (r.End >= length)
            return std::nullopt;
        r.End = Clamped(r.End + s, length);
        return r;
    case R::EndShort:
        if (r.End - s <= r.Start)
            return std::nullopt;
        r.End = static_cast<std::int32_t>(r.End - s);
        return r;
    case R::Rew:
        if (r.Start <= 0)
            return std::nullopt;
        return Shifted(r, -std::min<std::int64_t>(s, r.Start));
    case R::Fwd:
        if (r.End >= length)
            return std::nullopt;
        return Shifted(r, std::min<std::int64_t>(s, std::int64_t(length) - r.End));
    }
    return std::nullopt;
}

// A region's rules are the selection's: no edge reaches the other, and
// nothing leaves the file.
std::optional<TRegionRange> AdjustedRegion(TRegionAdjust adjust, const TRegionRange& region,
                                           std::int32_t step, std::int32_t length)
{
    return AdjustedSelection(adjust, region, 0, step, length);
}

bool NudgesForward(TRegionAdjust adjust)
{
    return adjust == R::StartShort || adjust == R::EndWide || adjust == R::Fwd;
}

bool MovesStartOnly(TRegionAdjust adjust)
{
    return adjust == R::StartWide || adjust == R::StartShort;
}

bool MovesEndEarlier(TRegionAdjust adjust)
{
    return adjust == R::EndShort || adjust == R::Rew;
}

// --- Output modes ----------------------------------------------------------------------------

std::optional<TOutputMode> SharedOutputMode(const std::vector<const TRegionData*>& regions)
{
    if (regions.empty())
        return std::nullopt;
    const TOutputMode mode = regions.front()->OutMode;
    for (const TRegionData* region : regions)
        if (region->OutMode != mode)
            return std::nullopt;
    return mode;
}

// --- Keys ------------------------------------------------------------------------------------

TChildKeyAction ChildKeyAction(unsigned key, TActiveControl active, int selectedRegions)
{
    switch (key) {
    case VK_BACK:
        return active == TActiveControl::RegionList && selectedRegions > 0
                   ? TChildKeyAction::DeleteRegions
                   : TChildKeyAction::PassOn;
    case VK_LEFT:
    case VK_RIGHT:
        return IsTextEdit(active) || active == TActiveControl::ExplorerTree ||
                       active == TActiveControl::None
                   ? TChildKeyAction::PassOn
                   : TChildKeyAction::Swallow;
    default:
        return TChildKeyAction::PassOn;
    }
}
