// What the automatic-region window shows of a detection, without windows:
// the columns of its preview image that the regions or cut points fall on,
// the results it refuses to add, and the count text.
//
//   AutoRegionText          the window's fixed texts
//   KeepAutoDetection       a run's results become the result lists
//   DropInvalidRegions      regions that do not fit the file leave the list
//   TRegionPreviewColumns   the columns regions cover and where they start
//   RegionPreviewColumns, CutPointColumns
//   RemoveDuplicateCutPoints
//   DetectedCountText       "N 個"
//
// A preview image of width columns shows a file of sampleSize frames: frame
// f falls on column f x width / sampleSize, rounded half to even and kept
// inside the image.
#pragma once

#include "editor/LevelData.h"
#include "editor/LevelDetect.h"

#include "classlib/StringList.h"

#include <cstdint>
#include <vector>

namespace AutoRegionText {
inline constexpr const char* Caption = "オートリージョン";
inline constexpr const char* NoCount = "---";
inline constexpr const char* CountUnit = " 個";
inline constexpr const char* IntervalStrip = "リージョンの最小間隔";
inline constexpr const char* IntervalSearch = "空白と認識する時間";
inline constexpr const char* IntervalInitial = "リージョン間の最小間隔";
} // namespace AutoRegionText

// The result lists become what one run found: the regions, and the cut
// points as decimal text. Both are replaced, whichever detector ran.
void KeepAutoDetection(TAutoDetection found, TAutoRegionList& regions, TStrings& cutPoints);

// Removes the regions that start before frame 0 or end past sampleSize;
// true when any went.
bool DropInvalidRegions(TAutoRegionList& regions, std::int32_t sampleSize);

struct TRegionPreviewColumns
{
    std::vector<bool> Covered; // one per column of the image
    std::vector<int> Marks;    // the column of each region's start, in list order
};

// The columns each region covers, from its start's column to its end's.
TRegionPreviewColumns RegionPreviewColumns(const TAutoRegionList& regions, std::int32_t sampleSize,
                                           int width);

// The column of every cut point other than frame 0, in list order (text
// that is no number counts as 0).
std::vector<int> CutPointColumns(const TStrings& cutPoints, std::int32_t sampleSize, int width);

// Deletes every entry equal to an earlier one; the first of equals stays.
void RemoveDuplicateCutPoints(TStrings& cutPoints);

AnsiString DetectedCountText(int count);
