// The mouse tools on the waveform: the select tool picks the segment
// between cut bars, the cut tool places cut bars, the region tool draws a
// selection, the erase tool removes cut bars; in every tool a cut-bar
// marker can be dragged to a new place. A drag that leaves the image
// scrolls the view on the drag-scroll timer. A drag ends in one place,
// EndWaveDrag, whether the button was released or the capture lost (a
// message box, another window taking the mouse); either way it ends as a
// release does. The rules are MouseTools'; this file applies them.
#include "ostrel.h"

#include "CutBarList.h"

#include "audio/DirectWavEngine.h"
#include "classlib/Screen.h"

#include <utility>

// --- Tools ---------------------------------------------------------------------------------

void TFormVusk::actToolExecute(TObject* Sender)
{
    const std::pair<TAction*, TTool> tools[] = {{actToolSelect, TTool::Select},
                                                {actToolCut, TTool::Cut},
                                                {actToolRegion, TTool::Region},
                                                {actToolErase, TTool::Erase}};
    for (const auto& [action, tool] : tools) {
        action->SetChecked(action == Sender);
        if (action == Sender)
            FTool = tool;
    }
    if (WaveImage->Inside() && FileLoaded())
        SetToolCursor();
}

void TFormVusk::SetToolCursor()
{
    Screen->SetCursor(ToolCursor(FTool));
}

bool TFormVusk::OverCutBarMarker(int x, int y)
{
    return y >= 0 && y < FMarkHeight && IsCutBarPixel(x, y);
}

// --- Press ---------------------------------------------------------------------------------

void TFormVusk::WaveImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                   int Y)
{
    if (!FileLoaded() || FDocument.Busy() || Button == TMouseButton::mbRight || (Shift & ssDouble))
        return;
    if (FocusBtn->CanFocus())
        FocusBtn->SetFocus();
    if (!IsSampleVisible(XToSample(X, false))) {
        ClearSelection();
        return;
    }
    FWaveDrag = TWaveDrag{};
    FWaveDrag.Kind = TWaveDragKind::Press;
    FWaveDrag.AnchorX = FWaveDrag.MouseX = X;
    if (OverCutBarMarker(X, Y)) {
        PressMarker(X, Y);
        return;
    }
    switch (FTool) {
    case TTool::Select:
        PressSelect(X, Shift);
        break;
    case TTool::Cut:
        PressCut(X);
        break;
    case TTool::Region:
        PressRegion(X, Shift);
        break;
    case TTool::Erase:
        PressErase(X);
        break;
    }
}

void TFormVusk::PressMarker(int x, int y)
{
    const int markerX = HitCutBarMark(x, y);
    FWaveDrag.Kind = TWaveDragKind::Marker;
    FWaveDrag.MarkerX = markerX >= 0 ? markerX : x;
    const std::vector<std::int32_t> bars = FDocument.CutBarSamples();
    const int nearest = NearestCutBarIndex(bars, XToSample(FWaveDrag.MarkerX, false));
    FWaveDrag.MarkerSample = nearest >= 0 ? bars[nearest] : XToSample(FWaveDrag.MarkerX, false);
}

void TFormVusk::PressErase(int x)
{
    if (IsCutBarPixel(x, FMarkHeight))
        EraseCutBarMark(x, true);
}

void TFormVusk::PressSelect(int x, TShiftState shift)
{
    const std::int32_t c = XToSample(x, false);
    const std::int32_t length = FEngine->SampleSize();
    const std::vector<std::int32_t> bars = FDocument.CutBarSamples();
    if (!(shift & ssShift) || !View().HasSelection) {
        ClearSelection();
        ResetRegionAudio();
        ShowNewSelection(CutSegmentAt(bars, c, length));
        SetPlayPosition(View().SelStart);
    } else {
        ShowNewSelection(ExtendedToSegment(bars, {View().SelStart, View().SelEnd}, c, length));
    }
    // The selection may be dropped on the region list (or the explorer).
    WaveImage->BeginDrag(false);
}

void TFormVusk::PressCut(int x)
{
    const std::int32_t c = XToSample(x, false);
    ResetRegionAudio();
    FWaveDrag = TWaveDrag{};
    ClearSelection();
    CutAt(c);
    if (FStopped) {
        SetPlayPosition(c);
    } else {
        FDocument.MoveCursor(c);
        FEngine->Seek(c);
    }
}

void TFormVusk::PressRegion(int x, TShiftState shift)
{
    const std::int32_t first = XToSample(x, false);
    const std::int32_t last = XToSample(x, true);
    const std::int32_t length = FEngine->SampleSize();
    if (!(shift & ssShift)) {
        ResetRegionAudio();
        ClearSelection();
        FDocument.SelectAt(first, x);
        SetPlayPosition(first);
        InfoRegionLabel->SetCaption("");
        return;
    }
    if (View().RegionSelection && SelectedRegionCount() >= 2) {
        // The first selected region alone stays: its range is the selection
        // that the press then reshapes.
        const int first = SelectedRegionRow();
        SelectRegionRow(first, true);
        FocusRegionRow(first);
        EditListClick(this);
    }
    if (View().HasSelection) {
        const TShiftPress press =
            RegionShiftPress({View().SelStart, View().SelEnd}, first, last, length);
        if (press.Moved == TShiftPressEdge::None)
            return;
        ShowNewSelection(press.Range);
        FWaveDrag.AnchorX =
            SampleToX(press.Moved == TShiftPressEdge::End ? View().SelStart : View().SelEnd);
        UpdateRegionFromSelection();
    } else {
        ShowNewSelection(RegionShiftPressFromCursor(View().PlayPos, first, last, length));
        FWaveDrag.AnchorX = SampleToX(View().PlayPos);
    }
    FWaveDrag.SelectionShown = true;
}

void TFormVusk::ShowNewSelection(const TRegionRange& range)
{
    const TWaveViewState before = View();
    FDocument.Select(range);
    RedrawSelectionChange(before);
    ShowSelectionLabel();
    if (!FStopped) {
        FEngine->SetPlayRange(-1, View().SelEnd);
        FEngine->SetLoopRange(View().SelStart, View().SelEnd);
    }
}

// --- Move ----------------------------------------------------------------------------------

void TFormVusk::WaveImageMouseMove(TObject* Sender, TShiftState Shift, int X, int Y)
{
    if (!FileLoaded())
        return;
    if (FWaveDrag.Tracking())
        FWaveDrag.MouseX = X;
    if (FWaveDrag.DraggingMarker()) {
        MoveMarker(X);
        return;
    }
    Screen->SetCursor(OverCutBarMarker(X, Y) ? crHandPoint : ToolCursor(FTool));
    if (FWaveDrag.Kind != TWaveDragKind::Press)
        return;
    if (FTool == TTool::Region)
        DragRegionSelection(X);
    else if (FTool == TTool::Erase)
        SweepErase(X);
}

void TFormVusk::MoveMarker(int x)
{
    if (FChase)
        SetChase(false);
    const TDragColumn column = DragColumnFor(x, WaveImage->Width(), View(), FEngine->SampleSize());
    FWaveDrag.Overshoot = column.Overshoot;
    if (column.Held)
        return;
    if (FWaveDrag.MarkerX >= 0)
        EraseCutBarMark(FWaveDrag.MarkerX, false);
    TakeOutDraggedBar();
    DrawCutBarMark(XToSample(column.X, false));
    FWaveDrag.MarkerX = column.X;
    for (std::int32_t bar : FDocument.CutBarSamples())
        DrawCutBarMark(bar);
}

// The dragged marker's bar leaves the list once, by its own sample (the
// bar nearest another column could be a neighbour's); release puts it back.
void TFormVusk::TakeOutDraggedBar()
{
    if (FWaveDrag.MarkerRemoved)
        return;
    FWaveDrag.MarkerRemoved = true;
    FDocument.RemoveCutBarNearest(FWaveDrag.MarkerSample);
}

void TFormVusk::DragRegionSelection(int x)
{
    const std::int32_t length = FEngine->SampleSize();
    const TDragColumn column = DragColumnFor(x, WaveImage->Width(), View(), length);
    FWaveDrag.Overshoot = column.Overshoot;
    if (column.Held)
        return;
    BrinkTimer->SetEnabled(false);
    const TDragSelection drag = RegionDragSelection(
        XToSample(FWaveDrag.AnchorX, false), XToSample(FWaveDrag.AnchorX, true),
        XToSample(column.X, false), XToSample(column.X, true), View().PlayPos, length);
    ShowNewSelection(drag.Range);
    FWaveDrag.SelectionShown = !drag.OnAnchor;
    if (drag.OnAnchor)
        InfoRegionLabel->SetCaption("");
}

void TFormVusk::SweepErase(int x)
{
    const int last = WaveImage->Width() - 1;
    const int from = std::clamp(std::min(FWaveDrag.AnchorX, x), 0, std::max(0, last));
    const int to = std::clamp(std::max(FWaveDrag.AnchorX, x), 0, std::max(0, last));
    for (int column = from; column <= to; ++column)
        if (IsCutBarPixel(column, FMarkHeight))
            EraseCutBarMark(column, true);
    if (FDocument.RemoveCutBarsWithin(XToSample(from, false), XToSample(to, true)))
        RefreshCutBarList();
}

// --- Leaving and re-entering during a drag -------------------------------------------------

void TFormVusk::WaveImageMouseEnter(TObject* Sender)
{
    if (FileLoaded() && !FWaveDrag.DraggingMarker())
        SetToolCursor();
    if (FWaveDrag.Tracking() && DragScrollTimer->Enabled())
        FWaveDrag.Overshoot = 0;
    DragScrollTimer->SetEnabled(false);
}

void TFormVusk::WaveImageMouseLeave(TObject* Sender)
{
    if (!FWaveDrag.Tracking())
        Screen->SetCursor(crDefault);
    else
        DragScrollTimer->SetEnabled(true);
}

void TFormVusk::DragScrollTimerTimer(TObject* Sender)
{
    if (!FWaveDrag.Tracking() || !FileLoaded()) {
        DragScrollTimer->SetEnabled(false);
        return;
    }
    const std::int32_t length = FEngine->SampleSize();
    const std::optional<std::int32_t> start = AutoScrollStart(View(), FWaveDrag.Overshoot, length);
    if (!start)
        return;
    if (FWaveDrag.DraggingMarker()) {
        // Taken out before the view is drawn again, so that it is not drawn
        // at its old place; and the pressed column now shows other samples.
        TakeOutDraggedBar();
        FWaveDrag.AnchorX = -1;
        DrawWave(*start);
        // The marker stays at the edge it left by; the next move paints it
        // away from there.
        const int x = FWaveDrag.Overshoot < 0 ? 0 : WaveImage->Width() - 1;
        DrawCutBarMark(XToSample(x, false));
        FWaveDrag.MarkerX = x;
        return;
    }
    if (FTool != TTool::Region)
        return;
    const TRegionRange selection =
        AutoScrolledSelection(View(), FWaveDrag.Overshoot, View().PlayPos, length);
    FDocument.Select(selection);
    DrawWave(*start);
    FWaveDrag.AnchorX = SampleToX(View().PlayPos);
    FWaveDrag.SelectionShown = true;
    ShowSelectionLabel();
}

// --- Release -------------------------------------------------------------------------------

void TFormVusk::WaveImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                 int Y)
{
    if (Button == TMouseButton::mbRight || !FWaveDrag.Tracking())
        return;
    EndWaveDrag(X);
}

// The image lost the mouse while its button was held: no release will come.
void TFormVusk::WaveImageCaptureLost(TObject* Sender)
{
    if (FWaveDrag.Tracking())
        EndWaveDrag(FWaveDrag.MouseX);
}

void TFormVusk::EndWaveDrag(int x)
{
    const TWaveDrag drag = std::exchange(FWaveDrag, TWaveDrag{});
    // Every release stops the auto-scroll: left running, its ticks would
    // move a selection no press is making.
    DragScrollTimer->SetEnabled(false);
    if (!FileLoaded())
        return;
    // Released off the image, the marker goes where it was last drawn: at
    // the image's edge.
    const int endX = DragColumnFor(x, WaveImage->Width(), View(), FEngine->SampleSize()).X;
    if (drag.DraggingMarker()) {
        if (const auto bar = MarkerDragEndBar(drag, endX, XToSample(endX, false))) {
            AddCutBar(*bar);
            if (FStopped)
                SetPlayPosition(*bar);
        }
        return;
    }
    if (drag.Kind == TWaveDragKind::Press && FTool == TTool::Region)
        EndRegionPress(endX, drag);
}

void TFormVusk::EndRegionPress(int x, const TWaveDrag& drag)
{
    if (drag.SelectionShown && View().HasSelection) {
        PlaceCursorAfterPress(View().SelStart);
        UpdateRegionFromSelection();
    } else {
        ClearSelection();
        PlaceCursorAfterPress(XToSample(x, false));
    }
    BrinkTimer->SetEnabled(FStopped);
}

void TFormVusk::PlaceCursorAfterPress(std::int32_t sample)
{
    if (FStopped) {
        SetPlayPosition(sample);
        return;
    }
    FDocument.MoveCursor(sample);
    DrawOverviewPosition();
}

void TFormVusk::WaveImageDblClick(TObject* Sender)
{
    if (FStopped)
        actAudioPlayExecute(this);
}

void TFormVusk::WireMouseToolEvents()
{
    for (TAction* tool : {actToolSelect, actToolCut, actToolRegion, actToolErase})
        Wire(tool->OnExecute, &TFormVusk::actToolExecute);
    Wire(WaveImage->OnMouseDown, &TFormVusk::WaveImageMouseDown);
    Wire(WaveImage->OnMouseMove, &TFormVusk::WaveImageMouseMove);
    Wire(WaveImage->OnMouseUp, &TFormVusk::WaveImageMouseUp);
    Wire(WaveImage->OnDblClick, &TFormVusk::WaveImageDblClick);
    Wire(WaveImage->OnMouseEnter, &TFormVusk::WaveImageMouseEnter);
    Wire(WaveImage->OnMouseLeave, &TFormVusk::WaveImageMouseLeave);
    Wire(WaveImage->OnCaptureLost, &TFormVusk::WaveImageCaptureLost);
    Wire(DragScrollTimer->OnTimer, &TFormVusk::DragScrollTimerTimer);
}
