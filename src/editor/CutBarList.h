// The cut bars as the window keeps them: a sorted string list of sample
// numbers written as 12-digit zero-padded decimal text, so that text order is
// sample order. These read it as samples, find the neighbours of a position
// and give the texts of the cut-bar list view's rows.
#pragma once

#include "classlib/StringList.h"

#include <cstdint>
#include <optional>
#include <vector>

// The sample an entry names; text that is not a number reads as 0.
std::int32_t CutBarSample(const AnsiString& entry);

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
