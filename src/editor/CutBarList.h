// The cut bars as the window keeps them: a sorted string list of sample
// numbers written as 12-digit zero-padded decimal text, so that text order is
// sample order. These read it as samples, write a sample as an entry, find
// the neighbours of a position, give the texts of the cut-bar list view's
// rows, and say what the cut-bar commands make: the region a cut adds, the
// regions the bars turn into, and where a nudge puts a bar.
#pragma once

#include "RegionFile.h"
#include "RegionList.h"

#include "classlib/StringList.h"

#include <cstdint>
#include <optional>
#include <vector>

// The sample an entry names; text that is not a number reads as 0.
std::int32_t CutBarSample(const AnsiString& entry);
// A sample as an entry is CutBarEntryText (the region-list file's unit).

// Every entry as a sample, index for index; none for a missing list.
std::vector<std::int32_t> CutBarPositions(const TStringList* cutBars);

// The first cut bar after sample, in list order; none when there is no such
// bar.
std::optional<std::int32_t> NextCutBar(const std::vector<std::int32_t>& positions,
                                       std::int32_t sample);
// The last cut bar before sample, in list order, or 0 when there is none.
std::int32_t PreviousCutBar(const std::vector<std::int32_t>& positions, std::int32_t sample);

// The texts of an entry's row in the cut-bar list view.
struct TCutBarRow
{
    AnsiString Number;  // the 1-based place in the list
    AnsiString Time;    // the position as m:ss.cc
    AnsiString Samples; // the position as "###,###,###,##0", kept with the item
};
// index is the entry's place in the list; a rate of 0 reads as time 0.
TCutBarRow CutBarRowFor(int index, std::int32_t sample, int rate);

// The start of the region that a cut at sample adds beside its cut bar: the
// bar before it among the others, or 0 when it is the first. A bar already
// at sample gives sample itself, so the region [start, sample - 1] is empty.
std::int32_t CutRegionStart(const std::vector<std::int32_t>& positions, std::int32_t sample);

// The regions that sorted cut bars turn into, in order: from 0 up to each
// bar above 0 (less one), from there on to the next, and from the last to
// the length itself. Nothing without bars.
std::vector<TRegionRange> CutBarsToRegions(const std::vector<std::int32_t>& sortedPositions,
                                           std::int32_t length);

// Where a nudge of the bar at index (forward or back by a pixel's worth of
// samples) puts it: the new sample, and the index it takes among the sorted
// bars once it has passed every neighbour it crossed (equal neighbours are
// not passed). None when it cannot move: forward at the length, back at 0,
// or no bar at index.
struct TCutBarNudge
{
    std::int32_t Sample = 0;
    int Index = 0;
};
std::optional<TCutBarNudge> NudgedCutBar(const std::vector<std::int32_t>& sortedPositions,
                                         int index, bool forward, std::int32_t samplesPerPixel,
                                         std::int32_t length);
