#include "CutBarList.h"

#include "TimeText.h"

#include "classlib/TextUtils.h"

#include <algorithm>
#include <cstdlib>

// The searches scan rather than bisect: lists read from a file are taken as
// they stand, and a scan still answers sensibly when one is out of order.

std::int32_t CutBarSample(const AnsiString& entry)
{
    return static_cast<std::int32_t>(std::strtol(entry.c_str(), nullptr, 10));
}

std::vector<std::int32_t> CutBarPositions(const TStringList* cutBars)
{
    std::vector<std::int32_t> positions;
    if (!cutBars)
        return positions;
    positions.reserve(cutBars->Count());
    for (int i = 0; i < cutBars->Count(); ++i)
        positions.push_back(CutBarSample(cutBars->Strings(i)));
    return positions;
}

std::optional<std::int32_t> NextCutBar(const std::vector<std::int32_t>& positions,
                                       std::int32_t sample)
{
    const auto next = std::find_if(positions.begin(), positions.end(),
                                   [=](std::int32_t bar) { return bar > sample; });
    if (next == positions.end())
        return std::nullopt;
    return *next;
}

std::int32_t PreviousCutBar(const std::vector<std::int32_t>& positions, std::int32_t sample)
{
    const auto previous = std::find_if(positions.rbegin(), positions.rend(),
                                       [=](std::int32_t bar) { return bar < sample; });
    return previous == positions.rend() ? 0 : *previous;
}

TCutBarRow CutBarRowFor(int index, std::int32_t sample, int rate)
{
    TCutBarRow row;
    row.Number = IntToStr(index + 1);
    row.Time = FormatTime(rate > 0 ? static_cast<double>(sample) / rate : 0.0);
    row.Samples = FormatFloat("###,###,###,##0", sample);
    return row;
}

std::int32_t CutRegionStart(const std::vector<std::int32_t>& positions, std::int32_t sample)
{
    std::int32_t start = 0;
    for (std::int32_t bar : positions)
        if (bar <= sample)
            start = std::max(start, bar);
    return start;
}

std::vector<TRegionRange> CutBarsToRegions(const std::vector<std::int32_t>& sortedPositions,
                                           std::int32_t length)
{
    std::vector<TRegionRange> regions;
    if (sortedPositions.empty())
        return regions;
    std::int32_t start = 0;
    for (std::int32_t bar : sortedPositions) {
        if (bar == 0)
            continue;
        regions.push_back({start, bar - 1});
        start = bar;
    }
    regions.push_back({start, length});
    return regions;
}

std::optional<TCutBarNudge> NudgedCutBar(const std::vector<std::int32_t>& sortedPositions,
                                         int index, bool forward, std::int32_t samplesPerPixel,
                                         std::int32_t length)
{
    if (index < 0 || index >= static_cast<int>(sortedPositions.size()))
        return std::nullopt;
    const std::int32_t bar = sortedPositions[index];
    TCutBarNudge nudge;
    if (forward) {
        if (bar >= length)
            return std::nullopt;
        nudge.Sample = length - bar < samplesPerPixel ? length : bar + samplesPerPixel;
    } else {
        if (bar <= 0)
            return std::nullopt;
        nudge.Sample = bar < samplesPerPixel ? 0 : bar - samplesPerPixel;
    }
    nudge.Index = index;
    const int last = static_cast<int>(sortedPositions.size()) - 1;
    while (nudge.Index < last && sortedPositions[nudge.Index + 1] < nudge.Sample)
        ++nudge.Index;
    while (nudge.Index > 0 && sortedPositions[nudge.Index - 1] > nudge.Sample)
        --nudge.Index;
    return nudge;
}
