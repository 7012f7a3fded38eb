// The extended dock: a background painted through an event, and extended
// toolbars that follow the dock when it gets shorter.
#include "controls/ExtItem.h"

#include "themes/SkinUtils.h"

bool TExtDock::HasBackdrop()
{
    return PaintsOwnBackground() || TSkinDock::HasBackdrop();
}

void TExtDock::DoDrawBackground(TCanvas* ACanvas, const TRect& ARect, int PaintStage,
                                bool& PaintDefault)
{
    if (OnDrawBackground)
        OnDrawBackground(this, ACanvas, ARect, PaintStage, PaintDefault);
}

void TExtDock::DrawBackground(HDC DC, const TRect& DrawRect)
{
    if (!PaintsOwnBackground()) {
        TSkinDock::DrawBackground(DC, DrawRect);
        return;
    }
    // DC is in the dock parent's client coordinates: the event sees the
    // whole dock there, so that the windows on it share one picture.
    TCanvas canvas;
    canvas.SetHandle(DC);
    const TPoint origin = BackgroundOrigin(this);
    const TRect area(origin.x, origin.y, origin.x + ClientWidth(), origin.y + ClientHeight());
    bool paintDefault = true;
    DoDrawBackground(&canvas, area, kExtPaintBefore, paintDefault);
    if (paintDefault) {
        canvas.Refresh();
        if (TSkinDock::HasBackdrop())
            TSkinDock::DrawBackground(DC, DrawRect);
        else
            FillRectColor(DC, DrawRect, ResolvedColor(this));
    }
    bool after = true;
    DoDrawBackground(&canvas, area, kExtPaintAfter, after);
}

void TExtDock::FitToolbars()
{
    // A toolbar that does not shrink by itself (no chevron) keeps the
    // length its spacer and anchored items gave it: it is cut to the room
    // left, and they follow.
    for (TBarCustomDockableWindow* window : ShownWindows()) {
        auto* toolbar = dynamic_cast<TExtToolbar*>(window);
        if (!toolbar)
            continue;
        const int room =
            LeftRight() ? ClientHeight() - toolbar->Top() : ClientWidth() - toolbar->Left();
        const int length = LeftRight() ? toolbar->Height() : toolbar->Width();
        if (room <= 0 || length <= room)
            continue;
        if (LeftRight())
            toolbar->SetHeight(room);
        else
            toolbar->SetWidth(room);
    }
}

void TExtDock::WndProc(TMessage& message)
{
    if (message.Msg != WM_SIZE) {
        TSkinDock::WndProc(message);
        return;
    }
    const TPoint before = FLastSize;
    TSkinDock::WndProc(message);
    FLastSize = TPoint(Width(), Height());
    const bool shorter = LeftRight() ? FLastSize.y < before.y : FLastSize.x < before.x;
    if (before.x >= 0 && shorter)
        FitToolbars();
}
