// Regions found by sound level, and trim and expand: the quick command runs
// the stored detector at once, the automatic-region command lets the user
// try the detectors in their window first; trim and expand fit the selection
// or the selected regions to their sound, with the settings of their own
// window. The rules themselves live in LevelDetect and TrimExpand.
#include "ostrel.h"

#include "TrimExpand.h"

#include "dialogs/AutoRegionPreview.h"
#include "dialogs/ql_autoregion.h"
#include "dialogs/ql_trimset.h"

#include "audio/DirectWavEngine.h"

#include "classlib/Screen.h"
#include "classlib/TextUtils.h"

void TFormVusk::WireAutoRegionCommands()
{
    Wire(actRegionAutoQuick->OnExecute, &TFormVusk::actRegionAutoQuickExecute);
    Wire(actRegionAuto->OnExecute, &TFormVusk::actRegionAutoExecute);
    Wire(actRegionTrim->OnExecute, &TFormVusk::actRegionTrimExecute);
    Wire(actRegionExpand->OnExecute, &TFormVusk::actRegionExpandExecute);
    Wire(actRegionSet->OnExecute, &TFormVusk::actRegionSetExecute);
}

// --- Detection -----------------------------------------------------------------------------

void TFormVusk::AddDetectedCutPoints(bool cutOnly)
{
    // A rise seen by two neighbouring chunks comes twice; one bar is enough.
    RemoveDuplicateCutPoints(FDocument.AutoCutPoints());
    const TStringList& found = FDocument.AutoCutPoints();
    std::vector<std::int32_t> points;
    for (int i = 0; i < found.Count(); ++i)
        points.push_back(static_cast<std::int32_t>(StrToInt64Def(found.Strings(i), 0)));
    AddCutBars(points);
    if (!cutOnly) {
        std::vector<TRegionRange> ranges;
        for (const auto& [start, end] : CutPointRegions(points, FEngine->SampleSize()))
            ranges.push_back({start, end});
        AddRegionRanges(ranges);
    }
    RedrawWaveFromViewStart();
}

void TFormVusk::FinishDetection()
{
    SetFileListRegionCount(RegionCount());
    if (EditList->CanFocus())
        EditList->SetFocus();
    if (SelectedRegionCount() > 0 || RegionCount() == 0)
        return;
    SelectRegionRow(0, false);
    FocusRegionRow(0);
}

void TFormVusk::actRegionAutoQuickExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy())
        return;
    FDocument.BuildEnvelope();
    TScreenCursorScope hourglass(crHourGlass);
    const TAutoMode mode = AutoModeOf(FOption.AutoMode);
    const TAutoSettings settings{FOption.AutoLevel, FOption.AutoPreTime, FOption.AutoPostTime,
                                 FOption.AutoMinLength, FOption.AutoMinInterval};
    KeepAutoDetection(DetectLevels(mode, FDocument.MaxData(), FDocument.CompData(),
                                   FDocument.LevelScale(), settings),
                      FDocument.AutoRegions(), FDocument.AutoCutPoints());
    if (FDocument.AutoRegions().Count() == 0 && FDocument.AutoCutPoints().Count() == 0)
        return;
    if (mode == TAutoMode::CutPoints)
        AddDetectedCutPoints(FOption.AutoCutOnly);
    else
        AddRegions(FDocument.AutoRegions());
    FinishDetection();
}

void TFormVusk::actRegionAutoExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy())
        return;
    FDocument.BuildEnvelope();
    const TAutoRegionSource source{&FDocument.MaxData(),
                                   &FDocument.CompData(),
                                   FDocument.LevelScale(),
                                   FEngine->SampleSize(),
                                   FOverview,
                                   FOption.BackColor,
                                   FOption.CutBarColor,
                                   &FDocument.AutoRegions(),
                                   &FDocument.AutoCutPoints()};
    TScopedFree<TForm5> window(new TForm5(this, source));
    window->SetMode(AutoModeOf(FOption.AutoMode));
    window->SetLevel(FOption.AutoLevel);
    window->PreEd->SetValue(FOption.AutoPreTime);
    window->PostEd->SetValue(FOption.AutoPostTime);
    window->MinLengthEd->SetValue(FOption.AutoMinLength);
    window->MinIntervalEd->SetValue(FOption.AutoMinInterval);
    window->DivCheck->SetChecked(FOption.AutoCutOnly);
    window->ShowModal();

    if (window->FResult == TAutoResult::Regions) {
        TScreenCursorScope hourglass(crHourGlass);
        AddRegions(FDocument.AutoRegions());
    } else if (window->FResult == TAutoResult::CutPoints) {
        AddDetectedCutPoints(window->DivCheck->Checked());
    }
    const TAutoSettings chosen = window->Settings();
    FOption.AutoMode = static_cast<int>(window->Mode());
    FOption.AutoLevel = chosen.Level;
    FOption.AutoPreTime = chosen.PreTime;
    FOption.AutoPostTime = chosen.PostTime;
    FOption.AutoMinLength = chosen.MinLength;
    FOption.AutoMinInterval = chosen.MinInterval;
    FOption.AutoCutOnly = window->DivCheck->Checked();
    FinishDetection();
}

// --- Trim and expand -----------------------------------------------------------------------

void TFormVusk::FitSelection(bool expand)
{
    if (!FileLoaded() || FDocument.Busy() || DragEditTimer->Enabled() || !View().HasSelection)
        return;
    const TDrawLevels levels = FDocument.DrawLevels();
    const TTrimParams params =
        TTrimParams::For({FOption.TrimLevel, FOption.TrimPreTime, FOption.TrimPostTime},
                         static_cast<double>(FEngine->BytesPerSecond()) / FEngine->BlockSize(),
                         FDocument.BlockSize(), FEngine->SampleSize());
    const auto fit = [&](TRegionRange& range) {
        return expand ? ExpandRange(levels, params, range.Start, range.End)
                      : TrimRange(levels, params, range.Start, range.End);
    };
    if (View().RegionSelection) {
        for (int row : SelectedRegionRows()) {
            TRegionData* region = RegionAt(row);
            TRegionRange range{region ? region->Start : 0, region ? region->End : 0};
            if (!region || !fit(range))
                continue;
            FDocument.MoveRegion(*region, range);
            ShowRegionTimes(row);
        }
        SelectSelectedRegions();
    } else {
        TRegionRange selection{View().SelStart, View().SelEnd};
        if (fit(selection))
            FDocument.Select(selection);
    }
    RedrawWaveFromViewStart();
    ShowSelectionLabel();
    if (FStopped) {
        SetPlayPosition(View().SelStart);
        if (!IsSampleVisible(View().SelStart))
            DrawWave(CentredStart(View(), View().SelStart));
    } else {
        FEngine->SetLoopRange(View().SelStart, View().SelEnd);
    }
}

void TFormVusk::actRegionTrimExecute(TObject* Sender)
{
    FitSelection(false);
}

void TFormVusk::actRegionExpandExecute(TObject* Sender)
{
    FitSelection(true);
}

void TFormVusk::actRegionSetExecute(TObject* Sender)
{
    if (FDocument.Busy())
        return;
    TScopedFree<TForm8> window(new TForm8(this));
    window->SetLevel(FOption.TrimLevel);
    window->PreEd->SetValue(FOption.TrimPreTime);
    window->PostEd->SetValue(FOption.TrimPostTime);
    window->ShowModal();
    if (!window->FOkResult)
        return;
    FOption.TrimLevel = window->Level();
    FOption.TrimPreTime = window->PreEd->AsInteger();
    FOption.TrimPostTime = window->PostEd->AsInteger();
}
