// The document of the main window: one open WAV file with its draw data,
// regions, cut bars, region-list file, region clipboard, what the level
// detection found, and the view, selection and play cursor over it; whether
// it changed since it was loaded or saved, and whether a long job runs on it.
// Here are the state and the rules that change it; the main window shows it
// and asks the user (ostrel_*.cpp). Nothing here knows a window.
//
//   TWavRefusal, WavRefusalFor   why a WAV file cannot be opened
//   TCloseState, CloseNeedsQuestion  whether closing must ask first
//   TOpenSettings, TOpenStep     how an open or a reload goes, step by step
//   TDrawBuildView               what the window shows while draw data are built
//   TEditorDocument              the state and its rules
//   TBusyScope                   the busy flag while a job runs
//
// The open file itself is the playback engine's: the document loads it into
// the engine it is given, reads its facts from there and lets go of it when
// it closes. Samples are frames of the open file.
#pragma once

#include "CutBarList.h"
#include "DrawData.h"
#include "LevelData.h"
#include "LevelDetect.h"
#include "RegionCommands.h"
#include "RegionList.h"
#include "ViewGeometry.h"

#include "audio/WavHeader.h"
#include "classlib/StringList.h"

#include <cstdint>
#include <optional>
#include <vector>

class TDirectWavEngine;

// Why a WAV file cannot be opened, in the order the open checks.
enum class TWavRefusal
{
    None,
    NotPlayable,   // the header fails a check, or the file cannot be read
    TooLarge,      // more than 1 GiB of sample data
    Not16Bit,      // another sample width
    BadBlockAlign, // bytes per frame other than 2 per channel
    Truncated      // the file ends before its sample data does
};
TWavRefusal WavRefusalFor(const TWavInfo& info, std::int64_t fileSize);

// Whether closing must ask before a changed region list is discarded: not
// when unchanged, not with SAVE NOCAUTION, and not when nothing can be lost
// (no regions, no cut bars, and no region-list file at the document's path).
struct TCloseState
{
    bool Modified;
    bool NoCaution;
    int RegionCount;
    int CutBarCount;
    bool RegionListFileExists; // a file stands at FRglPath
};
bool CloseNeedsQuestion(const TCloseState& state);

// What an open or a reload takes from the window.
struct TOpenSettings
{
    std::int32_t ZeroLevel = 0; // the draw-data threshold (VIEW ZEROLEVEL)
    bool SaveCache = true;      // a build writes the draw cache (SAVE DATA)
    int WaveWidth = 1;          // the waveform's width: the zoom shows the whole file in it
};

// Where an open or a reload stands after each of the document's steps.
enum class TOpenAnswer
{
    Refused,    // the file cannot be opened (Refusal says why); nothing changed
    NeedsBuild, // the file is open and its draw data are to be built: BuildDrawData
    Ready,      // the file is open with its draw data
    Failed,     // the draw data could not be made
    Cancelled   // the user stopped the build, or the program is quitting
};

struct TOpenStep
{
    TOpenAnswer Answer = TOpenAnswer::Refused;
    // Why a file was refused; NotPlayable too when the engine could not load it.
    TWavRefusal Refusal = TWavRefusal::None;
    bool CacheNotWritten = false; // ready after a build whose draw cache could not be written
};

// What the window shows while the document builds draw data: its
// processing window, shown before BuildDrawData is called.
class TDrawBuildView
{
public:
    virtual ~TDrawBuildView() = default;
    // After every chunk but the last; false stops the build.
    virtual bool Progress(const TDrawProgress& progress) = 0;
    // The build came to step (Ready, Failed or Cancelled); returns once the
    // user may go on, false when the view did not close (the program is
    // quitting: a finished build then counts as cancelled).
    virtual bool Ended(const TOpenStep& step) = 0;
};

class TEditorDocument
{
public:
    TEditorDocument() = default;
    TEditorDocument(const TEditorDocument&) = delete;
    TEditorDocument& operator=(const TEditorDocument&) = delete;

    // --- The open file
    // The engine that holds the open file (not owned; the window plays
    // through it). Without one no file is open.
    void UseEngine(TDirectWavEngine* engine) { FEngine = engine; }
    // The engine holds a playable file.
    bool FileLoaded() const;
    // The open file's length in sample frames; 0 without a file.
    std::int32_t Length() const;
    // The open file as the views see it.
    TViewDocument ViewDocument() const;
    // The open WAV file's path; empty without a file.
    AnsiString FilePath() const;
    // The file the document stands for in the file list: its region-list
    // file once it has one, else the WAV file.
    AnsiString ListPath() const;

    // --- Open and reload
    // Opens the WAV file at path, unless it is refused: the engine loads it,
    // the regions, cut bars and view of the last file go, and the draw data
    // come from the file's cache when it matches. NeedsBuild leaves the
    // document busy until BuildDrawData; a failure leaves no file open.
    TOpenStep Open(const AnsiString& path, const TOpenSettings& settings);
    // Whether the open file's length, channels, bits or rate are no longer
    // what its header says: a reload must open it afresh.
    bool FileChanged() const;
    // Loads the open file again for new draw settings, keeping the regions,
    // cut bars and region-list file; the draw data as Open gets them. A
    // failure leaves the document as it is, without draw data.
    TOpenStep Reload(const TOpenSettings& settings);
    // After NeedsBuild: builds the draw data while view shows the progress,
    // writes the cache when the settings say so, and ends the busy state.
    // A build of an open that fails or is cancelled closes the document.
    TOpenStep BuildDrawData(TDrawBuildView& view);

    // --- Flags
    // The region list or the cut bars changed since loaded or saved.
    bool Modified() const { return FModified; }
    // The regions and cut bars are as a region-list file holds them.
    void MarkSaved() { FModified = false; }
    // A load, bounce or recording runs; nearly every command waits for it.
    bool Busy() const { return FBusy; }
    void SetBusy(bool value) { FBusy = value; }
    // The region-list file the document was saved to or loaded from; empty
    // when never.
    const AnsiString& RglPath() const { return FRglPath; }
    void SetRglPath(const AnsiString& value) { FRglPath = value; }
    // A region-list file read in whole: the document stands for it, unchanged.
    void TakeRegionListFile(const AnsiString& path);

    // --- Draw data
    TDrawDataStereo& DrawStereo() { return FDrawStereo; }
    const TDrawDataStereo& DrawStereo() const { return FDrawStereo; }
    TDrawDataMono& DrawMono() { return FDrawMono; }
    const TDrawDataMono& DrawMono() const { return FDrawMono; }
    // The entries of the open file's draw data (stereo or mono).
    std::int32_t DrawEntryCount() const;
    // The draw-block size of the open file, in sample frames (one draw entry
    // is half a block); kInitialWaveBlockSize before any file is opened.
    int BlockSize() const { return FBlockSize; }
    std::uint32_t DrawGeneration() const { return FDrawGeneration; }

    // --- Levels and detection
    // The levels of the present draw data.
    TDrawLevels DrawLevels() const;
    // How the open file's draw entries map to time and frames.
    TLevelScale LevelScale() const;
    // The level envelope of the present draw data in FMaxData.
    void BuildEnvelope();
    TMaxData& MaxData() { return FMaxData; }
    TCompData& CompData() { return FCompData; }
    TAutoRegionList& AutoRegions() { return FAutoRegions; }
    TStringList& AutoCutPoints() { return FAutoCutPoints; }
    const TStringList& AutoCutPoints() const { return FAutoCutPoints; }

    // --- Regions
    TRegionList& Regions() { return FRegions; }
    const TRegionList& Regions() const { return FRegions; }
    // The ranges a new region may take (within the open file, start below
    // end); nothing without a file.
    std::vector<TRegionRange> NewRegionRanges(const std::vector<TRegionRange>& ranges) const;
    // The detected regions whose start lies below their end; nothing
    // without a file.
    std::vector<TRegionRange> DetectedRegionRanges(const TAutoRegionList& regions) const;
    // A record for each range, named by default (base_NN, one look at the
    // names for all), volume 1.0 and output mode 0, in order; sets FModified
    // unless ranges is empty.
    std::vector<TRegionData*> AddRegions(const std::vector<TRegionRange>& ranges);
    // A region read from a region-list file, as it was stored.
    TRegionData& AddLoadedRegion(const TRegionRecord& region) { return FRegions.Add(region); }
    // The regions the document has: every record not removed.
    int RegionCount() const { return FRegions.Listed(); }
    // The regions leave the document, a change; once none is left every
    // record goes.
    void RemoveRegions(const std::vector<const TRegionData*>& regions);
    // Every region and record goes; a cleared list counts as unchanged, so
    // that closing does not ask about it.
    void ClearRegions();
    // A region's edits, each a change.
    void MoveRegion(TRegionData& region, const TRegionRange& range);
    void RenameRegion(TRegionData& region, const AnsiString& name);
    void SetRegionVolume(TRegionData& region, double volume);
    void SetRegionOutMode(TRegionData& region, TOutputMode mode);

    // --- Cut bars (a sorted string list of 12-digit sample numbers)
    const TStringList& CutBars() const { return FCutBars; }
    int CutBarCount() const { return FCutBars.Count(); }
    // Every bar as a sample, in list order.
    std::vector<std::int32_t> CutBarSamples() const;
    // The bar at index; none outside the list.
    std::optional<std::int32_t> CutBarAt(int index) const;
    // The index of the bar at sample, or -1.
    int CutBarIndexOf(std::int32_t sample) const;
    // Bars at samples, the list sorted once; sets FModified.
    void AddCutBars(const std::vector<std::int32_t>& samples);
    // Entries read from a region-list file, as they stand.
    void AddLoadedCutBars(const std::vector<AnsiString>& entries);
    // The bar nearest to sample leaves the list; sets FModified. False when
    // there is none.
    bool RemoveCutBarNearest(std::int32_t sample);
    // The bars from .. to (inclusive) leave the list; sets FModified when
    // any did. False when none lay there.
    bool RemoveCutBarsWithin(std::int32_t from, std::int32_t to);
    // The bar at index leaves the list; the changed flag stays as it is (the
    // delete command does not count as a change).
    bool DeleteCutBar(int index);
    // The bar at index moves to sample, the list sorted again; sets
    // FModified.
    bool MoveCutBar(int index, std::int32_t sample);
    // The bar at index moved by a pixel's worth of samples of the view, and
    // where it now stands; sets FModified. None when it cannot move.
    std::optional<TCutBarNudge> NudgeCutBar(int index, bool forward);
    // While a bar is dragged in its list: its entry takes sample where it
    // stands; SortCutBars puts the list in order once the drag ends.
    void PlaceCutBar(int index, std::int32_t sample);
    void SortCutBars() { FCutBars.Sort(); }
    // Every bar leaves (the clear command; the changed flag stays).
    void ClearCutBars() { FCutBars.Clear(); }

    // --- The region clipboard; emptied when the document closes
    TKeepRegionData& RegionClip() { return FRegionClip; }
    const TKeepRegionData& RegionClip() const { return FRegionClip; }

    // --- View, selection and play cursor, changed through the operations
    // below
    const TWaveViewState& View() const { return FView; }
    // The renderers' record of what they draw: the view's span, the drawn
    // selection columns, the cursor line and the overview's frame and mark.
    // Nothing else writes through it.
    TWaveViewState& DrawnView() { return FView; }
    // The view of a file just opened: nothing selected or in view, the
    // cursor and the play start at its first sample.
    void ResetView();
    // Zoom: half or twice the draw entries per column; the whole file in
    // width columns (the vertical zoom back to 1 with ZoomAll); the
    // selection in width columns; the vertical zoom a step up or down
    // within 1 .. kMaxVZoom.
    void ZoomIn();
    void ZoomOut();
    void ZoomAll(int width);
    void FitZoom(int width);
    void ZoomToSelection(int width);
    void VZoomIn();
    void VZoomOut();
    // The selection becomes range, as every command that selects makes it
    // (the mouse tools, the region list, select all, the adjust commands).
    void Select(const TRegionRange& range);
    // A press of the region tool: the selection shrinks to sample, drawn
    // at column x, until the drag makes it a range.
    void SelectAt(std::int32_t sample, int x);
    // Whether the selection spans the selected regions.
    void SetRegionSelection(bool value);
    // The columns the selection is drawn in, -1 and -1 when not shown.
    void SetSelectionColumns(int x1, int x2);
    // The play cursor moves to sample.
    void MoveCursor(std::int32_t sample);
    // The cursor line is drawn at column x, or erased; or it stands outside
    // the view (no line, the blink where it is); HoldBlink lets the blink's
    // next tick erase it.
    void CursorDrawnAt(int x);
    void CursorErased();
    void CursorOutOfView();
    void HoldBlink();
    // The ruler's mark size as read (VIEW MARKSIZE), its height in rows and
    // its label size.
    void SetRuler(int markSize, int markHeight, int markHalf);
    // Where the last playback started.
    std::int32_t PlayStart() const { return FPlayStart; }
    void SetPlayStart(std::int32_t sample) { FPlayStart = sample; }

    // --- The whole document
    // Whether closing must ask first.
    bool CloseNeedsQuestion(bool noCaution) const;
    // No file from now on: the engine lets go of it; the regions, the cut
    // bars, the draw data, the region-list file and the clipboard go, and
    // the document is unchanged.
    void Close();

private:
    // The draw data of the file just loaded from its cache, or NeedsBuild.
    TOpenStep TakeDrawData();
    void ClearDrawData();

    TDirectWavEngine* FEngine = nullptr; // not owned: holds the open file
    bool FModified = false;              // changed since loaded or saved
    bool FBusy = false;                  // a load, bounce or recording runs
    AnsiString FRglPath;                 // the region-list file; empty when never saved or loaded
    TOpenSettings FOpening;              // what the open or reload under way was given
    bool FReloading = false;             // the open under way is a reload
    int FBlockSize = kInitialWaveBlockSize; // draw-block size of the open file, frames
    TDrawDataStereo FDrawStereo;            // draw data of a stereo file
    TDrawDataMono FDrawMono;                // draw data of a mono file
    // Counts up whenever the draw data are built, loaded or emptied, so
    // level averages of older draw data are never reused.
    std::uint32_t FDrawGeneration = 0;
    TMaxData FMaxData;            // level envelope
    TCompData FCompData;          // averaged envelope
    TAutoRegionList FAutoRegions; // detected regions
    TStringList FAutoCutPoints;   // detected cut points, as sample numbers
    TRegionList FRegions;         // every record, also of deleted items until the list empties
    TStringList FCutBars;         // cut bars as 12-digit sample numbers, sorted
    TKeepRegionData FRegionClip;  // the region clipboard
    TWaveViewState FView;         // view, selection, play cursor and overview geometry
    std::int32_t FPlayStart = 0;  // where the last playback started, sample frames
};

// Sets the document's busy flag for as long as it lives, on every way out
// of a scope (while a load or a bounce runs).
class TBusyScope
{
public:
    explicit TBusyScope(TEditorDocument& document) : FDocument(document)
    {
        FDocument.SetBusy(true);
    }
    ~TBusyScope() { FDocument.SetBusy(false); }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    TEditorDocument& FDocument; // not owned
};
