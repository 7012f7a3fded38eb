// Fuzz target: the INI content and the region-list reader over arbitrary
// bytes. Besides crashes and undefined behaviour it stops when
// - the INI text written back does not read back as the same text;
// - a list read without fault does not come back the same after it is
//   written and read again;
// - the cut bars read are not sorted 12-digit texts;
// - a broken list still carries regions, or a file without readable counts
//   anything;
// - a list read without fault leaves out a region section or a cut point
//   the file holds just past what was read (a save would lose it).
#include "editor/RegionFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

bool FuzzIsCutBarText(const AnsiString& text)
{
    return text.size() == 12 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryByteSource source(data, size);
    TIniContent ini;
    if (!ini.Parse(source))
        __builtin_trap();
    const AnsiString text = ini.Text();
    TIniContent again;
    again.ParseText(text);
    if (again.Text() != text)
        __builtin_trap();

    const TRegionFileRead read = ReadRegionList(ini);
    if (!std::is_sorted(read.CutBars.begin(), read.CutBars.end()) ||
        !std::all_of(read.CutBars.begin(), read.CutBars.end(), FuzzIsCutBarText))
        __builtin_trap();
    if (read.Verdict == TRegionFileVerdict::BrokenCounts &&
        (!read.Regions.empty() || !read.CutBars.empty()))
        __builtin_trap();
    if (read.Verdict == TRegionFileVerdict::BrokenRegion && !read.Regions.empty())
        __builtin_trap();
    if (read.Verdict != TRegionFileVerdict::Loaded)
        return 0;
    if (ini.SectionExists("REGION_" + std::to_string(read.Regions.size())) ||
        ini.ValueExists("CUTPOINT", "POINT_" + std::to_string(read.CutBars.size())))
        __builtin_trap();

    TRegionListFile list{RegionListWavPath(ini), read.Regions, read.CutBars};
    TIniContent written;
    if (!WriteRegionList(written, list))
        __builtin_trap();
    TIniContent reread;
    reread.ParseText(written.Text());
    const TRegionFileRead back = ReadRegionList(reread);
    if (back.Verdict != TRegionFileVerdict::Loaded || back.Regions != read.Regions ||
        back.CutBars != read.CutBars || RegionListWavPath(reread) != list.WavPath)
        __builtin_trap();

    LocateRegionListWav(list.WavPath, list.WavPath,
                        [](const AnsiString& path) { return path.size() % 2 == 0; });
    return 0;
}
