// The mouse tools on the waveform: the cursor of the chosen tool, the
// drag-scroll timer started and stopped as a tracked press leaves and
// re-enters the image, and the end of a press or drag. A drag ends in one
// place, EndWaveDrag, whether the button was released or the capture lost
// (a message box, another window taking the mouse); either way it ends as a
// release does. The presses and moves of each tool come with the tools.
#include "ostrel.h"

#include "classlib/Screen.h"

#include <utility>

void TFormVusk::SetToolCursor()
{
    Screen->SetCursor(ToolCursor(FTool));
}

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
    DragScrollTimer->SetEnabled(false);
    if (const auto bar = MarkerDragEndBar(drag, x, XToSample(x, false))) {
        AddCutBar(*bar);
        if (FStopped)
            SetPlayPosition(*bar);
    }
}

void TFormVusk::WireMouseToolEvents()
{
    Wire(WaveImage->OnMouseEnter, &TFormVusk::WaveImageMouseEnter);
    Wire(WaveImage->OnMouseLeave, &TFormVusk::WaveImageMouseLeave);
    Wire(WaveImage->OnMouseUp, &TFormVusk::WaveImageMouseUp);
    Wire(WaveImage->OnCaptureLost, &TFormVusk::WaveImageCaptureLost);
}
