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
