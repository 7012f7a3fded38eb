#include "RegionList.h"

#include "LevelDetect.h"
#include "TimeText.h"

#include "classlib/FilePaths.h"
#include "classlib/TextUtils.h"

#include <algorithm>
#include <cstdlib>

TRegionData& TRegionList::Add(TRegionData record)
{
    FRecords.push_back(std::move(record));
    return FRecords.back();
}

// --- Default names -------------------------------------------------------------------------

AnsiString RegionNameBase(const AnsiString& wavPath)
{
    return ChangeFileExt(ExtractFileName(wavPath), "");
}

std::int64_t NextRegionNumber(const TRegionList& regions, const AnsiString& base)
{
    const AnsiString separated = base + "_";
    int highest = -1;
    for (const TRegionData& region : regions) {
        if (region.Name.compare(0, base.size(), base) != 0)
            continue;
        const AnsiString rest = StringReplace(region.Name, separated, "", rfReplaceAll);
        highest = std::max(highest, StrToIntDef(rest, -1));
    }
    return highest == -1 ? 1 : std::int64_t(highest) + 1;
}

AnsiString DefaultRegionName(const AnsiString& base, std::int64_t number)
{
    const AnsiString digits = IntToStr(number);
    return base + "_" + (digits.size() < 2 ? "0" + digits : digits);
}

bool IsNewRegionRange(const TRegionRange& range, std::int32_t length)
{
    return range.Start >= 0 && range.End <= length && range.Start < range.End;
}

// --- Column texts --------------------------------------------------------------------------

AnsiString RegionTimeText(std::int64_t samples, std::uint32_t rate)
{
    return FormatTime(rate > 0 ? static_cast<double>(samples) / rate : 0.0);
}

std::vector<AnsiString> RegionTimeTexts(const TRegionData& region, std::uint32_t rate)
{
    return {RegionTimeText(std::int64_t(region.End) - region.Start, rate),
            RegionTimeText(region.Start, rate), RegionTimeText(region.End, rate)};
}

AnsiString DraggedVolumeText(double volume)
{
    if (volume == 1.0)
        return kUnchangedVolumeText;
    return LevelToDbText(volume, 1.0) + " dB";
}

std::vector<AnsiString> NewRegionTexts(const TRegionData& region, std::uint32_t rate)
{
    std::vector<AnsiString> texts = RegionTimeTexts(region, rate);
    texts.push_back(kUnchangedVolumeText);
    texts.push_back(OutputModeText(region.OutMode));
    return texts;
}

// --- Sorting -------------------------------------------------------------------------------

int SortKeyAfterClick(int key, int column)
{
    const int clicked = column + 1;
    return key == clicked ? -key : clicked;
}

namespace {

template <class T> int RegionOrder(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

AnsiString RegionSubItemText(const TStrings& subItems, int index)
{
    return index < subItems.Count() ? subItems.Strings(index) : AnsiString();
}

int CompareRegionRowsAscending(int key, const TRegionRow& a, const TRegionRow& b)
{
    switch (key) {
    case 0:
        return 0;
    case 1:
        return RegionOrder(AnsiCompareStr(a.Caption, b.Caption), 0);
    case 2:
        return RegionOrder(std::int64_t(a.Record.End) - a.Record.Start,
                           std::int64_t(b.Record.End) - b.Record.Start);
    case 3:
        return RegionOrder(a.Record.Start, b.Record.Start);
    case 4:
        return RegionOrder(a.Record.End, b.Record.End);
    case 5:
        return RegionOrder(a.Record.Volume, b.Record.Volume);
    default:
        return RegionOrder(AnsiCompareStr(RegionSubItemText(a.SubItems, key - 2),
                                          RegionSubItemText(b.SubItems, key - 2)),
                           0);
    }
}

} // namespace

int CompareRegionRows(int key, const TRegionRow& a, const TRegionRow& b)
{
    const int order = CompareRegionRowsAscending(std::abs(key), a, b);
    return key < 0 ? -order : order;
}

// --- Reordering ----------------------------------------------------------------------------

std::optional<std::vector<char>> MoveRowsKeys(const std::vector<bool>& selected, int target)
{
    const int count = static_cast<int>(selected.size());
    const int selectedCount = static_cast<int>(std::count(selected.begin(), selected.end(), true));
    if (count <= 1 || target < 0 || target >= count || selectedCount == count)
        return std::nullopt;
    if (selectedCount == 1 && selected[target])
        return std::nullopt;
    std::vector<char> keys(count);
    const bool toTheEnd = target == count - 1;
    for (int i = 0; i < count; ++i)
        keys[i] = selected[i] ? '1' : (toTheEnd || i < target ? '0' : '2');
    return keys;
}

std::optional<TRegionRange> RegionSpan(const std::vector<const TRegionData*>& regions)
{
    if (regions.empty())
        return std::nullopt;
    TRegionRange span{regions.front()->Start, regions.front()->End};
    for (const TRegionData* region : regions) {
        span.Start = std::min(span.Start, region->Start);
        span.End = std::max(span.End, region->End);
    }
    return span;
}

// --- Drag edits ----------------------------------------------------------------------------

bool DragEditBegins(std::int32_t pressY, std::int32_t mouseY)
{
    return std::abs(std::int64_t(mouseY) - pressY) >= kDragEditThreshold;
}

TEditListDragMode RegionPressMode(TRegionColumn column)
{
    switch (column) {
    case TRegionColumn::Name:
        return TEditListDragMode::MoveItems;
    case TRegionColumn::Volume:
        return TEditListDragMode::Volume;
    case TRegionColumn::Start:
        return TEditListDragMode::Start;
    case TRegionColumn::Length:
    case TRegionColumn::End:
        return TEditListDragMode::End;
    case TRegionColumn::OutMode:
    case TRegionColumn::RenamePreview:
        break;
    }
    return TEditListDragMode::None;
}

namespace {

// The place a move of dy pixels asks for, in 64 bits.
std::int64_t DraggedPlace(std::int32_t sample, std::int32_t dy, std::int32_t samplesPerPixel)
{
    return std::int64_t(sample) - std::int64_t(dy) * samplesPerPixel;
}

} // namespace

std::int32_t DraggedRegionStart(const TEditListSnapshot& region, std::int32_t dy,
                                std::int32_t samplesPerPixel)
{
    std::int64_t start = std::max<std::int64_t>(0, DraggedPlace(region.Start, dy, samplesPerPixel));
    if (start > region.End)
        start = std::max<std::int64_t>(0, std::int64_t(region.End) - samplesPerPixel);
    return static_cast<std::int32_t>(start);
}

std::int32_t DraggedRegionEnd(const TEditListSnapshot& region, std::int32_t dy,
                              std::int32_t samplesPerPixel, std::int32_t length)
{
    std::int64_t end =
        std::min<std::int64_t>(length, DraggedPlace(region.End, dy, samplesPerPixel));
    if (end < region.Start)
        end = std::min<std::int64_t>(length, std::int64_t(region.Start) + samplesPerPixel);
    return static_cast<std::int32_t>(end);
}

double DraggedRegionVolume(double volume, std::int32_t dy)
{
    return std::max(0.0, volume - dy * 0.01);
}

std::int32_t DraggedCutBar(std::int32_t sample, std::int32_t dy, std::int32_t samplesPerPixel,
                           std::int32_t length)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        DraggedPlace(sample, dy, samplesPerPixel), 0, std::max(0, length)));
}
