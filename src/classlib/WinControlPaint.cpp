// Painting of a windowed control: its own WM_PAINT with the graphic children
// drawn over it, the double-buffered paint, the frame, background erasing and
// PaintTo.
#include "WinControl.h"

#include "WinControlDetail.h"

#include <algorithm>
#include <optional>

using namespace wincontrol_detail;

// ---------------------------------------------------------------------------
// TWinControl: painting

bool TWinControl::PaintsItself() const
{
    return (ControlState() & csCustomPaint) != 0 || !FSystemClass;
}

bool TWinControl::HasVisibleGraphicChildren() const
{
    for (TControl* c : FControls)
        if (c->Visible() && !IsWindowed(c))
            return true;
    return false;
}

void TWinControl::WMPaint(TMessage& m)
{
    if (m.WParam == 0 && FDoubleBuffered && PaintsItself()) {
        DoubleBufferedPaint(m);
        return;
    }
    if (m.WParam == 0 && FSystemClass && !(ControlState() & csCustomPaint) &&
        !HasVisibleGraphicChildren()) {
        DefaultHandler(m);
        return;
    }
    PaintHandler(m);
}

void TWinControl::WMNCPaint(TMessage& m)
{
    // A window that is all client area has no frame to draw: the system's
    // frame painting would only make it a window display context (several
    // requests to the window server under Wine) to draw nothing. Every
    // child gets this message at its first paint.
    RECT window, client;
    if (GetWindowRect(FHandle, &window) && GetClientRect(FHandle, &client) &&
        window.right - window.left == client.right && window.bottom - window.top == client.bottom) {
        m.Result = 0;
        return;
    }
    DefaultHandler(m);
}

void TWinControl::DoubleBufferedPaint(TMessage& m)
{
    TPaintDC paint(FHandle);
    RECT client;
    GetClientRect(FHandle, &client);
    TMemoryDC memory(paint.Handle());
    TOwnedGdiObject bitmap(CreateCompatibleBitmap(paint.Handle(), std::max<LONG>(client.right, 1),
                                                  std::max<LONG>(client.bottom, 1)));
    TSelectedObject buffer(memory.Handle(), bitmap.Handle());
    const auto memoryDC = reinterpret_cast<WPARAM>(memory.Handle());
    Perform(WM_ERASEBKGND, memoryDC, static_cast<LPARAM>(memoryDC));
    Perform(WM_PAINT, memoryDC, 0);
    BitBlt(paint.Handle(), 0, 0, client.right, client.bottom, memory.Handle(), 0, 0, SRCCOPY);
    m.Result = 0;
}

void TWinControl::PaintHandler(TMessage& m)
{
    std::optional<TPaintDC> paint;
    auto dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc) {
        paint.emplace(FHandle);
        dc = paint->Handle();
    }
    {
        TSavedDCState state(dc);
        PaintWindow(dc);
    }
    PaintControls(dc, nullptr);
    m.Result = 0;
}

void TWinControl::PaintWindow(HDC dc)
{
    TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    if (FSystemClass)
        DefaultHandler(paint);
}

void TWinControl::PaintControls(HDC dc, TControl* first)
{
    auto start = FControls.begin();
    if (first) {
        start = std::find(FControls.begin(), FControls.end(), first);
        if (start == FControls.end())
            start = FControls.begin();
    }
    for (auto it = start; it != FControls.end(); ++it) {
        TControl* c = *it;
        if (IsWindowed(c) || !c->Visible())
            continue;
        RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r))
            continue;
        TSavedDCState state(dc);
        OffsetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void TWinControl::WMEraseBkgnd(TMessage& m)
{
    if (FSystemClass && !(ControlState() & csCustomPaint)) {
        DefaultHandler(m);
        return;
    }
    if (FDoubleBuffered && m.WParam != static_cast<WPARAM>(m.LParam)) {
        m.Result = 1; // erased in the buffer instead
        return;
    }
    RECT client;
    GetClientRect(FHandle, &client);
    FillRect(reinterpret_cast<HDC>(m.WParam), &client, FBrush->Handle());
    m.Result = 1;
}

void TWinControl::PaintTo(HDC dc, int x, int y)
{
    if (!FHandle)
        return;
    {
        TSavedDCState state(dc);
        OffsetViewportOrgEx(dc, x, y, nullptr);
        IntersectClipRect(dc, 0, 0, Width(), Height());
        if (PaintsItself()) {
            Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
            Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        } else {
            Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
        }
    }
    for (TControl* c : FControls) {
        auto* windowed = dynamic_cast<TWinControl*>(c);
        if (windowed && windowed->Visible())
            windowed->PaintTo(dc, x + windowed->Left(), y + windowed->Top());
    }
}

// A window off the screen (its own or a parent's hidden) is painted whole
// when it is shown: marking or painting it before would only wait on the
// window system.
void TWinControl::Invalidate()
{
    if (FHandle && IsWindowVisible(FHandle))
        InvalidateRect(FHandle, nullptr, !(ControlStyle() & csOpaque));
}

void TWinControl::Update()
{
    if (FHandle && IsWindowVisible(FHandle))
        UpdateWindow(FHandle);
}

void TWinControl::UpdateWithChildren()
{
    if (FHandle)
        RedrawWindow(FHandle, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

HDC TWinControl::GetDeviceContext(HWND& window)
{
    window = Handle();
    return GetDC(window);
}

void TWinControl::SetDoubleBuffered(bool value)
{
    if (value == FDoubleBuffered)
        return;
    FDoubleBuffered = value;
    Invalidate();
}
