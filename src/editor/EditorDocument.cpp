#include "EditorDocument.h"

#include "MouseTools.h"

#include "audio/DirectWavEngine.h"
#include "classlib/Checks.h"
#include "classlib/FilePaths.h"

int WaveBlockSize = kInitialWaveBlockSize;

namespace {

constexpr std::uint32_t kMaxDataSize = 0x40000000; // 1 GiB of sample data

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
    doc.BlockSize = WaveBlockSize;
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

// --- Draw data -----------------------------------------------------------------------------

std::int32_t TEditorDocument::DrawEntryCount() const
{
    return FEngine && FEngine->Channel() == 2 ? FDrawStereo.Count() : FDrawMono.Count();
}

void TEditorDocument::CalcDrawBlockSize()
{
    WaveBlockSize = WaveBlockSizeFor(FEngine ? FEngine->SampleSize() : 0);
}

void TEditorDocument::BeginDrawData()
{
    FLoadCancelled = false;
    CalcDrawBlockSize();
    ++FDrawGeneration;
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
    return TLevelScale::For(FEngine ? FEngine->Rate() : 0, WaveBlockSize);
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

void TEditorDocument::Select(const TRegionRange& range)
{
    FView.SelStart = range.Start;
    FView.SelEnd = range.End;
    FView.HasSelection = true;
}

// --- The whole document --------------------------------------------------------------------

bool TEditorDocument::CloseNeedsQuestion(bool noCaution) const
{
    return ::CloseNeedsQuestion({FModified, noCaution, RegionCount(), FCutBars.Count(),
                                 !FRglPath.empty() && FileExists(FRglPath)});
}

void TEditorDocument::Clear()
{
    FRegions.Clear();
    FModified = false;
}

void TEditorDocument::ResetView()
{
    FView.Reset();
    FPlayStart = 0;
}

void TEditorDocument::Close()
{
    if (FEngine)
        FEngine->InitWavInfo();
    FLoadCancelled = false;
    FCutBars.Clear();
    ClearDrawData();
    ++FDrawGeneration;
    FRglPath.clear();
    FRegionClip = {};
}
