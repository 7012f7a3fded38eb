// The regions of the open file as plain data: the records that the region
// list view's items point at, their default names, the texts of the view's
// columns, how a column sorts, the keys that reorder the view, and the drag
// edits of a region's start, end and volume (and of a cut bar's place) by
// moving the mouse up or down. The main window keeps the records and the
// view in step (ostrel_regionlist.cpp); nothing here knows a window.
//
//   TRegionData         one region
//   TRegionList         the records; a record never moves while it exists
//   default names       base_NN, one past the highest number any record holds
//   TRegionColumn       the view's columns by creation index, their sub-items
//   column texts        times, the volume after a drag, the output modes
//   sorting             the sort key after a header click, the row order
//   reordering          the keys that move dragged rows before a target row
//   drag edits          the drag state of both lists and what a move makes
//
// Samples are frames of the open file. A region covers Start up to End.
#pragma once

#include "RegionFile.h"

#include "audio/OutputMode.h"
#include "classlib/StringList.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

// One region: its name (also the bounce's output file name), Start and End
// (it is End - Start frames long), volume factor and output mode; the same
// record the region-list file reads and writes.
using TRegionData = TRegionRecord;

// A range of samples asked to become a region.
struct TRegionRange
{
    std::int32_t Start = 0;
    std::int32_t End = 0;

    bool operator==(const TRegionRange&) const = default;
};

// The records of the open file, in the order they were added. Each stays at
// its address until the list is emptied, so the view's items may point at
// them; records whose items were deleted stay too (they still count for the
// default names), but are no longer listed.
class TRegionList
{
public:
    // Every record, removed ones included.
    int Count() const { return static_cast<int>(FRecords.size()); }
    // The records not removed: the regions the document has.
    int Listed() const { return Count() - static_cast<int>(FRemoved.size()); }
    TRegionData& operator[](int index) { return FRecords[index]; }
    const TRegionData& operator[](int index) const { return FRecords[index]; }
    TRegionData& Add(TRegionData record);
    // The record is no longer listed; it stays where it is.
    void Remove(const TRegionData& record) { FRemoved.insert(&record); }
    void Clear()
    {
        FRecords.clear();
        FRemoved.clear();
    }

    auto begin() const { return FRecords.begin(); }
    auto end() const { return FRecords.end(); }

private:
    std::deque<TRegionData> FRecords; // a deque never moves what it holds when it grows
    std::unordered_set<const TRegionData*> FRemoved; // records no longer listed
};

// --- Default names

// The base of default names: the file's name without folder and without
// its last extension ("a.b" for C:\x\a.b.wav).
AnsiString RegionNameBase(const AnsiString& wavPath);
// The number of the next default name: one past the highest number that a
// record's name holds once every base + "_" is taken out of it (records
// whose name does not begin with base, or whose rest is no number, hold
// none), or 1 when none holds one of 0 or more.
std::int64_t NextRegionNumber(const TRegionList& regions, const AnsiString& base);
// base + "_" + the number with at least two digits: "take_05", "take_100".
AnsiString DefaultRegionName(const AnsiString& base, std::int64_t number);
// Whether AddRegion takes a range: 0 <= start < end <= length.
bool IsNewRegionRange(const TRegionRange& range, std::int32_t length);

// --- The view's columns

// The columns by creation index; the rename preview is added last but shown
// second.
enum class TRegionColumn : int
{
    Name = 0,
    Length = 1,
    Start = 2,
    End = 3,
    Volume = 4,
    OutMode = 5,
    RenamePreview = 6
};
constexpr int kRegionColumnCount = 6; // without the rename preview

// The sub-item that shows a column (the name is the caption).
constexpr int SubItemOf(TRegionColumn column)
{
    return static_cast<int>(column) - 1;
}

// --- Column texts

// samples / rate as m:ss.cc; a rate of 0 reads as time 0.
AnsiString RegionTimeText(std::int64_t samples, std::uint32_t rate);
// The length, start and end texts of a record, in sub-item order.
std::vector<AnsiString> RegionTimeTexts(const TRegionData& region, std::uint32_t rate);
// The volume text of a new region and of one whose volume was reset.
constexpr const char* kUnchangedVolumeText = "-";
// The volume text after a drag: "-" for exactly 1.0, else the level against
// full scale in dB ("-6.0 dB" for 0.5, "-∞ dB" for 0).
AnsiString DraggedVolumeText(double volume);
// The output-mode texts are OutputModeText (the region-list file's unit).
// Every sub-item text of a new record: length, start, end, "-", "-".
std::vector<AnsiString> NewRegionTexts(const TRegionData& region, std::uint32_t rate);

// --- Sorting

// The sort key after a click on the header of the column of creation index
// column: that index + 1, negated when it is the key already (a second
// click sorts the other way).
int SortKeyAfterClick(int key, int column);

// One row of the view as the sort sees it.
struct TRegionRow
{
    const AnsiString& Caption;
    const TRegionData& Record;
    const TStrings& SubItems;
};
// Negative, zero or positive as a sorts before, with or after b under key:
// 1 the captions as text in the user's order (case counts), 2 the lengths,
// 3 the starts, 4 the ends, 5 the volumes, 6 and above the texts of
// sub-item |key| - 2; a negative key sorts the other way, key 0 keeps every
// row where it is.
int CompareRegionRows(int key, const TRegionRow& a, const TRegionRow& b);

// --- Reordering

// The keys, one per row, that move the selected rows in their order to just
// before the row target when the rows are sorted by key, ties keeping their
// order: '1' for selected rows, '0' for the others before target and '2' for
// those at or after it; with target the last row, '0' for every unselected
// row (the selection goes to the end). None when the drop is ignored: one
// row, every row selected, the only selected row is target, or no target.
std::optional<std::vector<char>> MoveRowsKeys(const std::vector<bool>& selected, int target);

// The smallest start and the largest end among the regions; none for none.
std::optional<TRegionRange> RegionSpan(const std::vector<const TRegionData*>& regions);

// --- Drag edits in the region list and the cut-bar list

// What a drag edit changes. The numbers are the mode's stored ones.
enum class TEditListDragMode : std::uint8_t
{
    None = 0,
    Start = 1,     // the regions' starts
    End = 2,       // the regions' ends
    Volume = 3,    // the regions' volumes
    MoveItems = 4, // the regions' order in the list
    CutBar = 5     // a cut bar's place
};

// One dragged item as it stood when the drag edit began. A cut bar keeps
// its sample in Start and its new sample in End.
struct TEditListSnapshot
{
    double Volume = 1.0;
    std::int32_t Start = 0;
    std::int32_t End = 0;
    std::int32_t ItemIndex = -1;
};

// The drag state of the region list and the cut-bar list.
struct TEditListStatus
{
    bool Active = false;      // a press in a list may become, or is, a drag edit
    std::int32_t StartY = -1; // screen y of the press
    TEditListDragMode Mode = TEditListDragMode::None;
    std::vector<TEditListSnapshot> Snapshots; // one per dragged item, taken when the drag begins
};

// Pixels the mouse moves up or down from the press before a drag edit
// begins.
constexpr int kDragEditThreshold = 4;
bool DragEditBegins(std::int32_t pressY, std::int32_t mouseY);

// What a left press on a column of the region list starts: the name moves
// the items, the volume drags volumes, the start drags starts, the length
// and the end drag ends; nothing on the others.
TEditListDragMode RegionPressMode(TRegionColumn column);

// dy is the mouse's screen y less the press's (moving up is negative);
// samplesPerPixel the view's. A move up by one pixel moves a place one
// pixel's worth of samples later, and a volume up by 1 %.
//
// The start: not below 0; past the end it stops a pixel's worth before the
// end (not below 0).
std::int32_t DraggedRegionStart(const TEditListSnapshot& region, std::int32_t dy,
                                std::int32_t samplesPerPixel);
// The end: not beyond length; below the start it stops a pixel's worth after
// the start (not beyond length).
std::int32_t DraggedRegionEnd(const TEditListSnapshot& region, std::int32_t dy,
                              std::int32_t samplesPerPixel, std::int32_t length);
// The volume: not below 0.
double DraggedRegionVolume(double volume, std::int32_t dy);
// A cut bar: within 0 .. length.
std::int32_t DraggedCutBar(std::int32_t sample, std::int32_t dy, std::int32_t samplesPerPixel,
                           std::int32_t length);
