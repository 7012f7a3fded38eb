#include "Splitter.h"

#include "Panel.h"
#include "WinControl.h"

#include <algorithm>

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetAlign(TAlign::alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
}

bool TSplitter::Horizontal() const
{
    return Align() == TAlign::alTop || Align() == TAlign::alBottom;
}

void TSplitter::SetBeveled(bool value)
{
    FBeveled = value;
    Invalidate();
}

TControl* TSplitter::FindResizedControl() const
{
    TWinControl* parent = Parent();
    if (!parent)
        return nullptr;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align())
            continue;
        bool adjacent = false;
        switch (Align()) {
        case TAlign::alLeft:
            adjacent = c->Left() + c->Width() == Left();
            break;
        case TAlign::alRight:
            adjacent = c->Left() == Left() + Width();
            break;
        case TAlign::alTop:
            adjacent = c->Top() + c->Height() == Top();
            break;
        case TAlign::alBottom:
            adjacent = c->Top() == Top() + Height();
            break;
        default:
            break;
        }
        if (adjacent)
            return c;
    }
    return nullptr;
}

int TSplitter::PaneSize(TControl* pane) const
{
    return Horizontal() ? pane->Height() : pane->Width();
}

void TSplitter::SetPaneSize(TControl* pane, int size)
{
    if (Horizontal())
        pane->SetHeight(size);
    else
        pane->SetWidth(size);
}

int TSplitter::MaxSize(TControl* pane) const
{
    TWinControl* parent = Parent();
    TRect client = parent->ClientRect();
    int extent = Horizontal() ? client.Height() : client.Width();
    int taken = 0;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible())
            continue;
        bool onAxis = Horizontal()
                          ? (c->Align() == TAlign::alTop || c->Align() == TAlign::alBottom)
                          : (c->Align() == TAlign::alLeft || c->Align() == TAlign::alRight);
        if (onAxis)
            taken += Horizontal() ? c->Height() : c->Width();
    }
    return std::max(extent - FMinSize - taken + PaneSize(pane), 0);
}

bool TSplitter::CanResize(int& newSize)
{
    bool accept = true;
    if (OnCanResize)
        OnCanResize(this, newSize, accept);
    return accept;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft || FDragging)
        return;
    FPane = FindResizedControl();
    if (!FPane)
        return;
    FDragging = true;
    FDownPos = ClientToScreen(TPoint(X, Y));
    FOldSize = PaneSize(FPane);
    FMaxSize = MaxSize(FPane);
}

void TSplitter::DragTo(const TPoint& screen)
{
    int delta = Horizontal() ? screen.y - FDownPos.y : screen.x - FDownPos.x;
    if (Align() == TAlign::alRight || Align() == TAlign::alBottom)
        delta = -delta;
    int size = std::min(FOldSize + delta, FMaxSize);
    if (size <= FMinSize)
        size = FAutoSnap ? 0 : FMinSize;
    if (!CanResize(size) || size == PaneSize(FPane))
        return;
    SetPaneSize(FPane, size);
    PaneSizeApplied(size);
    if (TWinControl* parent = Parent())
        parent->Update();
}

void TSplitter::PaneSizeApplied(int) {}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (FDragging)
        DragTo(ClientToScreen(TPoint(X, Y)));
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FDragging && Button == TMouseButton::mbLeft) {
        DragTo(ClientToScreen(TPoint(X, Y)));
        StopDrag(true);
    }
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TSplitter::StopDrag(bool keep)
{
    if (!FDragging)
        return;
    FDragging = false;
    TControl* pane = FPane;
    FPane = nullptr;
    if (MouseCapture())
        SetMouseCapture(false);
    if (!keep) {
        SetPaneSize(pane, FOldSize);
        return;
    }
    if (OnMoved)
        OnMoved(this);
}

void TSplitter::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_CAPTURECHANGED:
        // The one place an unexpected end of the drag is noticed.
        TGraphicControl::WndProc(m);
        StopDrag(false);
        return;
    case CM_CANCELMODE:
        StopDrag(false);
        return;
    case CM_MOUSEENTER:
        // The split cursor follows the orientation the splitter has now.
        if (Cursor() == crHSplit && Horizontal())
            SetCursor(crVSplit);
        else if (Cursor() == crVSplit && !Horizontal())
            SetCursor(crHSplit);
        break;
    }
    TGraphicControl::WndProc(m);
}

void TSplitter::Paint()
{
    TRect r = ClientRect();
    Canvas()->Brush()->SetColor(EffectiveColor());
    Canvas()->FillRect(r);
    if (FBeveled)
        Frame3D(Canvas(), r, clBtnHighlight, clBtnShadow, 1);
}
