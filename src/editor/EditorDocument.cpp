#include "EditorDocument.h"

#include "DrawBuild.h"
#include "DrawCacheFile.h"
#include "MouseTools.h"

#include "audio/DirectWavEngine.h"
#include "classlib/Checks.h"
#include "classlib/FilePaths.h"

#include <exception>

namespace {

constexpr std::uint32_t kMaxDataSize = 0x40000000; // 1 GiB of sample data

TDrawBuildOutcome DocumentBuildFailure(const char* what)
{
    TDrawBuildOutcome outcome;
    outcome.Result = TDrawBuildResult::Failed;
    outcome.Error = what;
    return outcome;
}

} // namespace

TWavRefusal WavRefusalFor(const TWavInfo& info, std::int64_t fileSize)
{
    if (!info.IsPlayable)
        return TWavRefusal::NotPlayable;
    if (info.DataSize > kMaxDataSize)
        return TWavRefusal::TooLarge;
    if (info.Bit != 16)
        return TWavRefusal::Not16Bit;
    if (info.BlockSize != info.Channel * 2)
        return TWavRefusal::BadBlockAlign;
    if (fileSize < static_cast<std::int64_t>(info.SampleStart) + info.DataSize)
        return TWavRefusal::Truncated;
    return TWavRefusal::None;
}

bool CloseNeedsQuestion(const TCloseState& state)
{
    if (!state.Modified || state.NoCaution)
        return false;
    bool nothingToLose =
        state.RegionCount == 0 && state.CutBarCount == 0 && !state.RegionListFileExists;
    return !nothingToLose;
}

// --- The open file -------------------------------------------------------------------------

bool TEditorDocument::FileLoaded() const
{
    return FEngine && FEngine->IsPlayable();
}

std::int32_t TEditorDocument::Length() const
{
    return FileLoaded() ? FEngine->SampleSize() : 0;
}

TViewDocument TEditorDocument::ViewDocument() const
{
    TViewDocument doc;
    doc.Loaded = FileLoaded();
    doc.Stereo = doc.Loaded && FEngine->Channel() == 2;
    if (doc.Loaded) {
        doc.Length = FEngine->SampleSize();
        doc.Rate = FEngine->Rate();
    }
    doc.BlockSize = FBlockSize;
    doc.EntryCount = doc.Stereo ? FDrawStereo.Count() : FDrawMono.Count();
    return doc;
}

AnsiString TEditorDocument::FilePath() const
{
    return FileLoaded() ? FEngine->Path() : AnsiString();
}

AnsiString TEditorDocument::ListPath() const
{
    return FRglPath.empty() ? FilePath() : FRglPath;
}

void TEditorDocument::TakeRegionListFile(const AnsiString& path)
{
    FRglPath = path;
    FModified = false;
}

// --- Open and reload -----------------------------------------------------------------------

TOpenStep TEditorDocument::Open(const AnsiString& path, const TOpenSettings& settings)
{
    TWavInfo info;
    info.Path = path;
    GetWavInfo(info);
    const TWavRefusal refusal = WavRefusalFor(info, FileSizeOf(path));
    if (refusal != TWavRefusal::None)
        return {TOpenAnswer::Refused, refusal};
    if (!FEngine || !FEngine->LoadFile(path))
        return {TOpenAnswer::Refused, TWavRefusal::NotPlayable};
    FRegions.Clear();
    FCutBars.Clear();
    FModified = false;
    ResetView();
    FOpening = settings;
    FReloading = false;
    return TakeDrawData();
}

bool TEditorDocument::FileChanged() const
{
    if (!FileLoaded())
        return false;
    TWavInfo info;
    info.Path = FEngine->Path();
    GetWavInfo(info);
    return info.SampleSize != FEngine->SampleSize() || info.Channel != FEngine->Channel() ||
           info.Bit != FEngine->Bit() || info.Rate != FEngine->Rate();
}

TOpenStep TEditorDocument::Reload(const TOpenSettings& settings)
{
    if (!FileLoaded() || !FEngine->LoadFile(FEngine->Path()))
        return {TOpenAnswer::Refused, TWavRefusal::NotPlayable};
    FOpening = settings;
    FReloading = true;
    return TakeDrawData();
}

TOpenStep TEditorDocument::TakeDrawData()
{
    FBlockSize = WaveBlockSizeFor(FEngine->SampleSize());
    ++FDrawGeneration;
    try {
        if (LoadDrawCache(FEngine->Path(), FOpening.ZeroLevel, FBlockSize, FDrawStereo,
                          FDrawMono)) {
            FitZoom(FOpening.WaveWidth);
            return {TOpenAnswer::Ready};
        }
    } catch (const std::exception&) {
        // Whatever went wrong, the file could not be opened.
        ClearDrawData();
        if (!FReloading)
            Close();
        return {TOpenAnswer::Failed};
    }
    FBusy = true;
    return {TOpenAnswer::NeedsBuild};
}

TOpenStep TEditorDocument::BuildDrawData(TDrawBuildView& view)
{
    TOpenStep step{TOpenAnswer::Failed};
    try {
        TDrawBuildOutcome outcome;
        try {
            outcome = MakeDrawData(
                *FEngine, FBlockSize, FOpening.ZeroLevel,
                [&view](const TDrawProgress& progress) { return view.Progress(progress); },
                FDrawStereo, FDrawMono);
        } catch (const std::exception& error) {
            outcome = DocumentBuildFailure(error.what());
        } catch (...) {
            outcome = DocumentBuildFailure("unknown error");
        }
        switch (outcome.Result) {
        case TDrawBuildResult::Done:
            step.Answer = TOpenAnswer::Ready;
            FitZoom(FOpening.WaveWidth);
            step.CacheNotWritten =
                FOpening.SaveCache &&
                !SaveDrawCache(DrawCachePath(FEngine->Path()), FEngine->WavInfo(),
                               FOpening.ZeroLevel, FDrawStereo, FDrawMono);
            break;
        case TDrawBuildResult::Cancelled:
            step.Answer = TOpenAnswer::Cancelled;
            break;
        case TDrawBuildResult::Failed:
            ClearDrawData();
            break;
        }
        if (!view.Ended(step) && step.Answer == TOpenAnswer::Ready)
            step.Answer = TOpenAnswer::Cancelled;
    } catch (const std::exception&) {
        ClearDrawData();
        step = {TOpenAnswer::Failed};
    }
    FBusy = false;
    if (step.Answer != TOpenAnswer::Ready && !FReloading)
        Close();
    return step;
}

// --- Draw data -----------------------------------------------------------------------------

std::int32_t TEditorDocument::DrawEntryCount() const
{
    return FEngine && FEngine->Channel() == 2 ? FDrawStereo.Count() : FDrawMono.Count();
}

void TEditorDocument::ClearDrawData()
{
    FDrawStereo.Clear();
    FDrawMono.Clear();
}

// --- Levels --------------------------------------------------------------------------------

TDrawLevels TEditorDocument::DrawLevels() const
{
    return FEngine && FEngine->Channel() == 2 ? TDrawLevels(FDrawStereo) : TDrawLevels(FDrawMono);
}

TLevelScale TEditorDocument::LevelScale() const
{
    return TLevelScale::For(FEngine ? FEngine->Rate() : 0, FBlockSize);
}

void TEditorDocument::BuildEnvelope()
{
    BuildLevelEnvelope(DrawLevels(), FDrawGeneration, FMaxData);
}

// --- Regions -------------------------------------------------------------------------------

std::vector<TRegionRange>
TEditorDocument::NewRegionRanges(const std::vector<TRegionRange>& ranges) const
{
    std::vector<TRegionRange> taken;
    if (!FileLoaded())
        return taken;
    const std::int32_t length = Length();
    for (const TRegionRange& range : ranges)
        if (IsNewRegionRange(range, length))
            taken.push_back(range);
    return taken;
}

std::vector<TRegionRange>
TEditorDocument::DetectedRegionRanges(const TAutoRegionList& regions) const
{
    std::vector<TRegionRange> taken;
    if (!FileLoaded())
        return taken;
    for (const auto& [start, end] : regions.Regions)
        if (start < end)
            taken.push_back({start, end});
    return taken;
}

std::vector<TRegionData*> TEditorDocument::AddRegions(const std::vector<TRegionRange>& ranges)
{
    std::vector<TRegionData*> added;
    if (ranges.empty())
        return added;
    const AnsiString base = RegionNameBase(FEngine ? FEngine->Path() : AnsiString());
    std::int64_t number = NextRegionNumber(FRegions, base);
    added.reserve(ranges.size());
    for (const TRegionRange& range : ranges)
        added.push_back(&FRegions.Add({DefaultRegionName(base, number++), range.Start, range.End,
                                       1.0, TOutputMode::NoTouch}));
    FModified = true;
    return added;
}

void TEditorDocument::RemoveRegions(const std::vector<const TRegionData*>& regions)
{
    for (const TRegionData* region : regions)
        FRegions.Remove(*region);
    if (FRegions.Listed() == 0)
        FRegions.Clear();
    FModified = true;
}

void TEditorDocument::ClearRegions()
{
    FRegions.Clear();
    FModified = false;
}

void TEditorDocument::MoveRegion(TRegionData& region, const TRegionRange& range)
{
    region.Start = range.Start;
    region.End = range.End;
    FModified = true;
}

void TEditorDocument::RenameRegion(TRegionData& region, const AnsiString& name)
{
    region.Name = name;
    FModified = true;
}

void TEditorDocument::SetRegionVolume(TRegionData& region, double volume)
{
    region.Volume = volume;
    FModified = true;
}

void TEditorDocument::SetRegionOutMode(TRegionData& region, TOutputMode mode)
{
    region.OutMode = mode;
    FModified = true;
}

// --- Cut bars ------------------------------------------------------------------------------

std::vector<std::int32_t> TEditorDocument::CutBarSamples() const
{
    return CutBarPositions(&FCutBars);
}

std::optional<std::int32_t> TEditorDocument::CutBarAt(int index) const
{
    if (index < 0 || index >= FCutBars.Count())
        return std::nullopt;
    return CutBarSample(FCutBars.Strings(index));
}

int TEditorDocument::CutBarIndexOf(std::int32_t sample) const
{
    return FCutBars.IndexOf(CutBarEntryText(sample));
}

void TEditorDocument::AddCutBars(const std::vector<std::int32_t>& samples)
{
    for (std::int32_t sample : samples)
        FCutBars.Add(CutBarEntryText(sample));
    FCutBars.Sort();
    FModified = true;
}

void TEditorDocument::AddLoadedCutBars(const std::vector<AnsiString>& entries)
{
    for (const AnsiString& entry : entries)
        FCutBars.Add(entry);
}

bool TEditorDocument::RemoveCutBarNearest(std::int32_t sample)
{
    if (FCutBars.Count() == 0)
        return false;
    const int index = NearestCutBarIndex(CutBarSamples(), sample);
    if (!Verified(index >= 0, "a list of cut bars has one nearest to any sample"))
        return false;
    FCutBars.Delete(index);
    FModified = true;
    return true;
}

bool TEditorDocument::RemoveCutBarsWithin(std::int32_t from, std::int32_t to)
{
    const std::vector<int> within = CutBarsWithin(CutBarSamples(), from, to);
    if (within.empty())
        return false;
    for (auto index = within.rbegin(); index != within.rend(); ++index)
        FCutBars.Delete(*index);
    FModified = true;
    return true;
}

bool TEditorDocument::DeleteCutBar(int index)
{
    if (index < 0 || index >= FCutBars.Count())
        return false;
    FCutBars.Delete(index);
    return true;
}

bool TEditorDocument::MoveCutBar(int index, std::int32_t sample)
{
    if (!DeleteCutBar(index))
        return false;
    FCutBars.Add(CutBarEntryText(sample));
    FCutBars.Sort();
    FModified = true;
    return true;
}

std::optional<TCutBarNudge> TEditorDocument::NudgeCutBar(int index, bool forward)
{
    if (!FileLoaded())
        return std::nullopt;
    const auto nudge =
        NudgedCutBar(CutBarSamples(), index, forward, std::max(1, FView.SamplesPerPixel), Length());
    if (!nudge)
        return std::nullopt;
    FCutBars.Delete(index);
    FCutBars.Insert(nudge->Index, CutBarEntryText(nudge->Sample));
    FModified = true;
    return nudge;
}

void TEditorDocument::PlaceCutBar(int index, std::int32_t sample)
{
    if (index >= 0 && index < FCutBars.Count())
        FCutBars.SetStrings(index, CutBarEntryText(sample));
}

// --- View and selection --------------------------------------------------------------------

void TEditorDocument::ResetView()
{
    FView.Reset();
    FPlayStart = 0;
}

void TEditorDocument::ZoomIn()
{
    FView.Zoom = ZoomedIn(FView.Zoom);
}

void TEditorDocument::ZoomOut()
{
    FView.Zoom = ZoomedOut(FView.Zoom);
}

void TEditorDocument::ZoomAll(int width)
{
    FView.VZoom = 1;
    FitZoom(width);
}

void TEditorDocument::FitZoom(int width)
{
    FView.Zoom = ZoomAllFactor(DrawEntryCount(), width);
}

void TEditorDocument::ZoomToSelection(int width)
{
    FView.Zoom =
        ZoomToSelectionFactor(FView.SelStart, FView.SelEnd, width, ViewDocument().HalfBlock());
}

void TEditorDocument::VZoomIn()
{
    FView.VZoom = std::min(FView.VZoom + 1, kMaxVZoom);
}

void TEditorDocument::VZoomOut()
{
    FView.VZoom = std::max(FView.VZoom - 1, 1);
}

void TEditorDocument::Select(const TRegionRange& range)
{
    FView.SelStart = range.Start;
    FView.SelEnd = range.End;
    FView.HasSelection = true;
}

void TEditorDocument::SelectAt(std::int32_t sample, int x)
{
    FView.SelStart = FView.SelEnd = sample;
    FView.SelStartX = FView.SelEndX = x;
}

void TEditorDocument::SetRegionSelection(bool value)
{
    FView.RegionSelection = value;
}

void TEditorDocument::SetSelectionColumns(int x1, int x2)
{
    FView.SelStartX = x1;
    FView.SelEndX = x2;
}

void TEditorDocument::MoveCursor(std::int32_t sample)
{
    FView.PlayPos = sample;
}

void TEditorDocument::CursorDrawnAt(int x)
{
    FView.CursorX = x;
    FView.CursorDrawn = true;
    FView.BlinkPhase = TBlinkPhase::Drawn;
}

void TEditorDocument::CursorErased()
{
    FView.CursorX = -1;
    FView.CursorDrawn = false;
    FView.BlinkPhase = TBlinkPhase::Erased;
}

void TEditorDocument::CursorOutOfView()
{
    FView.CursorX = -1;
    FView.CursorDrawn = false;
}

void TEditorDocument::HoldBlink()
{
    FView.BlinkPhase = TBlinkPhase::Drawn;
}

void TEditorDocument::SetRuler(int markSize, int markHeight, int markHalf)
{
    FView.MarkSize = markSize;
    FView.MarkHeight = markHeight;
    FView.MarkHalf = markHalf;
}

// --- The whole document --------------------------------------------------------------------

bool TEditorDocument::CloseNeedsQuestion(bool noCaution) const
{
    return ::CloseNeedsQuestion({FModified, noCaution, RegionCount(), FCutBars.Count(),
                                 !FRglPath.empty() && FileExists(FRglPath)});
}

void TEditorDocument::Close()
{
    if (FEngine)
        FEngine->InitWavInfo();
    FRegions.Clear();
    FModified = false;
    FCutBars.Clear();
    ClearDrawData();
    ++FDrawGeneration;
    FRglPath.clear();
    FRegionClip = {};
    // No selection, cursor or zoom of the closed file stays to enable its
    // commands.
    ResetView();
}
