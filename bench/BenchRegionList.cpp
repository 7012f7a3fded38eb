#include "BenchRegionList.h"

#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "editor/RegionFileDisk.h"

#include <string>

std::vector<TRegionRange> BenchRegionRanges(std::int32_t frames, int count)
{
    const std::int32_t step = frames / count;
    std::vector<TRegionRange> ranges;
    for (int i = 0; i < count; ++i)
        ranges.push_back({i * step, i * step + step / 2 + i % 300});
    return ranges;
}

AnsiString BenchRegionListFile(const AnsiString& wav, std::int32_t frames, const AnsiString& folder,
                               int count)
{
    TRegionListFile list;
    list.WavPath = wav;
    const AnsiString stem = ChangeFileExt(ExtractFileName(wav), "");
    int number = 0;
    for (const TRegionRange& range : BenchRegionRanges(frames, count))
        list.Regions.push_back({stem + "_" + std::to_string(++number), range.Start, range.End});
    const AnsiString path = folder + "regions-" + std::to_string(count) + ".rgl";
    if (!SaveRegionListFile(path, list))
        throw Exception("cannot write " + path);
    return path;
}
