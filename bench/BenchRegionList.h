// A region list over a file of sound, as the region-list and start
// benchmarks use it: count regions spread over the file, each a little
// shorter than the one before, in the list's order.
#pragma once

#include "classlib/Types.h"
#include "editor/RegionList.h"

#include <cstdint>
#include <vector>

// The regions of a list of count over frames.
std::vector<TRegionRange> BenchRegionRanges(std::int32_t frames, int count);

// Writes the region list of count regions on wav (frames long) into folder
// as "regions-COUNT.rgl"; its path. Throws when it cannot be written.
AnsiString BenchRegionListFile(const AnsiString& wav, std::int32_t frames, const AnsiString& folder,
                               int count);
