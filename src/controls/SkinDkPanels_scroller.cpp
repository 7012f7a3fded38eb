// The page scroller of the panel family. Its arrows lie in the non-client
// area at both ends, so the child, moved within the client area, is clipped
// between them and never covers them.
#include "SkinDkPanels.h"

#include "classlib/ControlMessages.h"
#include "classlib/Graphics.h"
#include "classlib/Seams.h"

#include <algorithm>
#include <windowsx.h>

TSkinCustomPageScroller::TSkinCustomPageScroller(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetBounds(Left(), Top(), 150, 30);
}

TSkinCustomPageScroller::~TSkinCustomPageScroller()
{
    StopScrolling();
}

void TSkinCustomPageScroller::SetOrientation(TPageScrollerOrientation value)
{
    if (value == FOrientation)
        return;
    FOrientation = value;
    FPosition = 0;
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceChild();
}

TRect TSkinCustomPageScroller::ClientRect()
{
    if (Horizontal())
        return TRect(0, 0, std::max(0, Width() - 2 * kArrowSize), Height());
    return TRect(0, 0, Width(), std::max(0, Height() - 2 * kArrowSize));
}

TControl* TSkinCustomPageScroller::Child()
{
    return ControlCount() > 0 ? Controls(0) : nullptr;
}

int TSkinCustomPageScroller::ViewLength()
{
    const TRect client = ClientRect();
    return Horizontal() ? client.Width() : client.Height();
}

int TSkinCustomPageScroller::Range()
{
    TControl* child = Child();
    if (!child)
        return 0;
    const int length = Horizontal() ? child->Width() : child->Height();
    return std::max(0, length - ViewLength());
}

void TSkinCustomPageScroller::SetPosition(int value)
{
    value = std::clamp(value, 0, Range());
    if (value == FPosition)
        return;
    FPosition = value;
    PlaceChild();
}

// The child keeps its length, fills the scroller across and is moved back
// by the position.
void TSkinCustomPageScroller::PlaceChild()
{
    TControl* child = Child();
    if (!child)
        return;
    FPosition = std::clamp(FPosition, 0, Range());
    const TRect client = ClientRect();
    if (Horizontal())
        child->SetBounds(-FPosition, 0, child->Width(), client.Height());
    else
        child->SetBounds(0, -FPosition, client.Width(), child->Height());
}

void TSkinCustomPageScroller::AlignControls(TControl*, TRect&)
{
    PlaceChild();
}

TRect TSkinCustomPageScroller::ArrowRect(bool atEnd)
{
    const int w = Width(), h = Height();
    if (Horizontal())
        return atEnd ? TRect(w - kArrowSize, 0, w, h) : TRect(0, 0, kArrowSize, h);
    return atEnd ? TRect(0, h - kArrowSize, w, h) : TRect(0, 0, w, kArrowSize);
}

TPoint TSkinCustomPageScroller::WindowPointOf(POINT screen)
{
    RECT r;
    GetWindowRect(Handle(), &r);
    return TPoint(screen.x - r.left, screen.y - r.top);
}

void TSkinCustomPageScroller::ScrollInView(TControl* control)
{
    TControl* child = Child();
    if (!child || !control)
        return;
    int start = 0;
    TControl* c = control;
    for (; c && c != child; c = c->Parent())
        start += Horizontal() ? c->Left() : c->Top();
    if (!c)
        return;
    const int end = start + (Horizontal() ? control->Width() : control->Height());
    if (start < FPosition || end - start > ViewLength())
        SetPosition(start);
    else if (end > FPosition + ViewLength())
        SetPosition(end - ViewLength());
}

void TSkinCustomPageScroller::ArrowHovered(TPoint windowPoint)
{
    for (bool atEnd : {false, true})
        if (ArrowRect(atEnd).Contains(windowPoint) &&
            !(FTimer && FTimer->Enabled() && FScrollingToEnd == atEnd))
            StartScrolling(atEnd);
}

void TSkinCustomPageScroller::StartScrolling(bool atEnd)
{
    StopScrolling();
    FScrollingToEnd = atEnd;
    FTimer = new TTimer(nullptr);
    FTimer->SetInterval(kFirstInterval);
    FTimer->OnTimer = [this](TObject* sender) { ScrollTick(sender); };
}

void TSkinCustomPageScroller::ScrollTick(TObject*)
{
    if (!ArrowRect(FScrollingToEnd).Contains(WindowPointOf(Seams().CursorPos()))) {
        // The timer is freed on the next hover or with the scroller.
        FTimer->SetEnabled(false);
        return;
    }
    FTimer->SetInterval(kNextInterval);
    SetPosition(FPosition + (FScrollingToEnd ? kStep : -kStep));
}

void TSkinCustomPageScroller::StopScrolling()
{
    FreeAndNil(FTimer);
}

void TSkinCustomPageScroller::PaintArrows()
{
    TSkinTheme* theme = CurrentTheme();
    TScreenDC dc(Handle(), GetWindowDC(Handle()));
    if (!dc.Handle())
        return;
    TCanvas canvas;
    TCanvasDCScope lent(&canvas, dc.Handle());
    canvas.Brush()->SetColor(Color());
    // Direction: up 0, down 1, left 2, right 3.
    const int first = Horizontal() ? 2 : 0;
    for (bool atEnd : {false, true}) {
        canvas.FillRect(ArrowRect(atEnd));
        if (theme)
            theme->DrawScrollArrowButton(&canvas, ArrowRect(atEnd), first + (atEnd ? 1 : 0), false);
    }
}

void TSkinCustomPageScroller::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

void TSkinCustomPageScroller::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCCALCSIZE: {
        auto* r = reinterpret_cast<RECT*>(m.LParam); // the first rectangle either way
        if (Horizontal())
            InflateRect(r, -kArrowSize, 0);
        else
            InflateRect(r, 0, -kArrowSize);
        m.Result = 0;
        return;
    }
    case WM_NCPAINT:
        PaintArrows();
        m.Result = 0;
        return;
    case WM_NCHITTEST: {
        const TPoint p = WindowPointOf(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
        if (ArrowRect(false).Contains(p) || ArrowRect(true).Contains(p)) {
            m.Result = HTBORDER;
            return;
        }
        break;
    }
    case WM_NCMOUSEMOVE:
        ArrowHovered(WindowPointOf(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}));
        break;
    case CM_FOCUSCHANGED: {
        auto* focused = reinterpret_cast<TControl*>(m.LParam);
        if (focused && focused != Child() && ContainsControl(focused))
            ScrollInView(focused);
        break;
    }
    }
    TCustomControl::WndProc(m);
}
