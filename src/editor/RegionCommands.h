// What the region commands make, without windows.
//
//   TKeepRegionData    the program's own region clipboard: ranges only
//   MergedRegionName   the name a merge gives its region
//   DuplicateNames     the names of duplicates, DuplicateSortKeys their places
//   TRegionAdjust      the six adjust commands on the selection or on regions
//   SharedOutputMode   the output mode every selected region has
//   ChildKeyAction     what the main window does with a key no command took
//
// The main window gathers the state, calls these and applies the answers
// (ostrel_regions.cpp).
#pragma once

#include "CommandRules.h"
#include "RegionList.h"

#include <cstdint>
#include <optional>
#include <vector>

// The region clipboard: the ranges copied, in order. The system clipboard
// never holds regions.
struct TKeepRegionData
{
    std::vector<TRegionRange> Ranges;

    int Count() const { return static_cast<int>(Ranges.size()); }
    bool Empty() const { return Ranges.empty(); }
};

// --- Names

// name + "_Merged", or name + "_Merged(n)" with the smallest n >= 1 when a
// caption of the list already holds the shorter form (or a smaller n).
AnsiString MergedRegionName(const AnsiString& name, const std::vector<AnsiString>& captions);

// The names of the duplicates of the selected items, in their order:
// source + "(n)" with the smallest n >= 1 that no name of the list holds
// and no earlier duplicate of this run took. names are the records' names
// of every item in list order; selected the items' indexes, ascending.
std::vector<AnsiString> DuplicateNames(const std::vector<AnsiString>& names,
                                       const std::vector<int>& selected);
// One sort key per item once the duplicates are appended (count items, then
// one per selected item): each item its index as eight digits, each
// duplicate the key of its source, so that a stable sort puts every
// duplicate right after its source.
std::vector<AnsiString> DuplicateSortKeys(int count, const std::vector<int>& selected);

// --- Adjusting edges and moving regions by a pixel's worth of samples

enum class TRegionAdjust
{
    StartWide,  // the start earlier
    StartShort, // the start later
    EndWide,    // the end later
    EndShort,   // the end earlier
    Rew,        // both edges earlier
    Fwd         // both edges later
};

// The selection an adjust command leaves (step samples, a file of length
// frames), or none when it does nothing. Widening without a selection starts
// one at the cursor (unless the cursor is at the file's start or end).
std::optional<TRegionRange> AdjustedSelection(TRegionAdjust adjust,
                                              const std::optional<TRegionRange>& selection,
                                              std::int32_t cursor, std::int32_t step,
                                              std::int32_t length);
// The range a selected region takes, or none when it stays: its start never
// reaches its end (an end never reaches its start), and nothing leaves the
// file.
std::optional<TRegionRange> AdjustedRegion(TRegionAdjust adjust, const TRegionRange& region,
                                           std::int32_t step, std::int32_t length);
// With the cut-bar list focused, the command nudges the selected bar: on
// for start-short, end-wide and move-later, back for the others.
bool NudgesForward(TRegionAdjust adjust);
// Whether the command moves the start only (while playing, only the loop
// range follows it).
bool MovesStartOnly(TRegionAdjust adjust);
// Whether the selection's end moves earlier, so that playback may already
// be past it.
bool MovesEndEarlier(TRegionAdjust adjust);

// --- Output modes

// The mode every region has; none for none or when they differ.
std::optional<TOutputMode> SharedOutputMode(const std::vector<const TRegionData*>& regions);

// --- Keys of the main window's controls

enum class TChildKeyAction
{
    PassOn,        // the control gets the key
    DeleteRegions, // the delete command runs instead
    Swallow        // nobody gets it
};
// For a key that no command took: Backspace deletes the selected regions of
// the focused region list; Left and Right go only to text edits and the
// explorer tree (the lists would scroll sideways); everything else passes.
TChildKeyAction ChildKeyAction(unsigned key, TActiveControl active, int selectedRegions);
