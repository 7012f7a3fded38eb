#include "AutoRegionPreview.h"

#include "classlib/AnsiText.h"
#include "classlib/TextUtils.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

// The column frame falls on, inside 0 .. width - 1.
int PreviewColumnOf(std::int64_t frame, std::int32_t sampleSize, int width)
{
    const double x = std::nearbyint(static_cast<double>(frame) * width / sampleSize);
    return static_cast<int>(std::clamp(x, 0.0, static_cast<double>(width - 1)));
}

bool PreviewHasColumns(std::int32_t sampleSize, int width)
{
    return sampleSize > 0 && width > 0;
}

} // namespace

void KeepAutoDetection(TAutoDetection found, TAutoRegionList& regions, TStrings& cutPoints)
{
    regions = std::move(found.Regions);
    TStringsUpdate update(&cutPoints);
    cutPoints.Clear();
    for (std::int32_t point : found.CutPoints)
        cutPoints.Add(IntToStr(point));
}

bool DropInvalidRegions(TAutoRegionList& regions, std::int32_t sampleSize)
{
    auto& pairs = regions.Regions;
    const auto kept = std::remove_if(pairs.begin(), pairs.end(), [sampleSize](const auto& region) {
        return region.first < 0 || region.second > sampleSize;
    });
    const bool dropped = kept != pairs.end();
    pairs.erase(kept, pairs.end());
    return dropped;
}

TRegionPreviewColumns RegionPreviewColumns(const TAutoRegionList& regions, std::int32_t sampleSize,
                                           int width)
{
    TRegionPreviewColumns columns;
    if (!PreviewHasColumns(sampleSize, width))
        return columns;
    columns.Covered.assign(width, false);
    for (const auto& [start, end] : regions.Regions) {
        const int first = PreviewColumnOf(start, sampleSize, width);
        const int last = PreviewColumnOf(end, sampleSize, width);
        for (int x = first; x <= last; ++x)
            columns.Covered[x] = true;
        columns.Marks.push_back(first);
    }
    return columns;
}

std::vector<int> CutPointColumns(const TStrings& cutPoints, std::int32_t sampleSize, int width)
{
    std::vector<int> columns;
    if (!PreviewHasColumns(sampleSize, width))
        return columns;
    for (int i = 0; i < cutPoints.Count(); ++i) {
        const std::int64_t frame = StrToInt64Def(cutPoints.Strings(i), 0);
        if (frame != 0)
            columns.push_back(PreviewColumnOf(frame, sampleSize, width));
    }
    return columns;
}

void RemoveDuplicateCutPoints(TStrings& cutPoints)
{
    std::set<AnsiString> seen;
    TStringsUpdate update(&cutPoints);
    for (int i = 0; i < cutPoints.Count();) {
        if (seen.insert(cutPoints.Strings(i)).second)
            ++i;
        else
            cutPoints.Delete(i);
    }
}

AnsiString DetectedCountText(int count)
{
    return IntToStr(count) + AutoRegionText::CountUnit;
}
