#include "ScrollBar.h"

#include "Exceptions.h"

#include <algorithm>

namespace {

// Holds a visible bar's painting while its values or its state change: the
// system's bar repaints itself there and then after each (slowly), so that a
// change of range, page, position and state painted it several times. It
// paints once, with the next paint of the window. A hidden bar stays hidden.
class TScrollBarPaintHold
{
public:
    explicit TScrollBarPaintHold(HWND window) : FWindow(IsWindowVisible(window) ? window : nullptr)
    {
        if (FWindow)
            SendMessageA(FWindow, WM_SETREDRAW, FALSE, 0);
    }
    ~TScrollBarPaintHold()
    {
        if (!FWindow)
            return;
        SendMessageA(FWindow, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(FWindow, nullptr, TRUE);
    }
    TScrollBarPaintHold(const TScrollBarPaintHold&) = delete;
    TScrollBarPaintHold& operator=(const TScrollBarPaintHold&) = delete;

private:
    HWND FWindow; // null when the bar is not on the screen
};

} // namespace

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetTabStop(true);
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, "SCROLLBAR");
    params.Style |= FKind == TScrollBarKind::sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyScrollInfo();
}

void TScrollBar::ApplyScrollInfo()
{
    if (!HandleAllocated())
        return;
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    info.nMin = FMin;
    info.nMax = FMax;
    info.nPage = static_cast<UINT>(FPageSize);
    info.nPos = FPosition;
    // Only a change is sent.
    SCROLLINFO shown = {};
    shown.cbSize = sizeof(shown);
    shown.fMask = SIF_ALL;
    if (GetScrollInfo(WindowHandle(), SB_CTL, &shown) && shown.nMin == info.nMin &&
        shown.nMax == info.nMax && shown.nPage == info.nPage && shown.nPos == info.nPos)
        return;
    TScrollBarPaintHold hold(WindowHandle());
    SetScrollInfo(WindowHandle(), SB_CTL, &info, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind value)
{
    if (value == FKind)
        return;
    FKind = value;
    SetBounds(Left(), Top(), Height(), Width());
    if (HandleAllocated())
        RecreateWnd();
}

int TScrollBar::MaxPosition() const
{
    return FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax;
}

void TScrollBar::SetParams(int position, int min, int max)
{
    if (max < min)
        throw EInvalidOperation("Scroll bar property out of range");
    bool moved = false;
    FMin = min;
    FMax = max;
    position = std::clamp(position, FMin, MaxPosition());
    if (position != FPosition) {
        FPosition = position;
        moved = true;
    }
    ApplyScrollInfo();
    if (moved)
        Change();
}

void TScrollBar::SetParams(int position, int min, int max, int pageSize)
{
    if (max < min)
        throw EInvalidOperation("Scroll bar property out of range");
    FPageSize = std::clamp(pageSize, 0, max - min + 1);
    SetParams(position, min, max);
}

void TScrollBar::SetPageSize(int value)
{
    SetParams(FPosition, FMin, FMax, value);
}

int TScrollBar::TrackPosition()
{
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    if (!HandleAllocated() || !GetScrollInfo(WindowHandle(), SB_CTL, &info))
        return FPosition;
    return info.nTrackPos;
}

void TScrollBar::DoScroll(WORD systemCode)
{
    int position = FPosition;
    TScrollCode code = TScrollCode::scEndScroll;
    switch (systemCode) {
    case SB_LINEUP:
        code = TScrollCode::scLineUp;
        position -= FSmallChange;
        break;
    case SB_LINEDOWN:
        code = TScrollCode::scLineDown;
        position += FSmallChange;
        break;
    case SB_PAGEUP:
        code = TScrollCode::scPageUp;
        position -= FLargeChange;
        break;
    case SB_PAGEDOWN:
        code = TScrollCode::scPageDown;
        position += FLargeChange;
        break;
    case SB_THUMBPOSITION:
        code = TScrollCode::scPosition;
        position = TrackPosition();
        break;
    case SB_THUMBTRACK:
        code = TScrollCode::scTrack;
        position = TrackPosition();
        break;
    case SB_TOP:
        code = TScrollCode::scTop;
        position = FMin;
        break;
    case SB_BOTTOM:
        code = TScrollCode::scBottom;
        position = MaxPosition();
        break;
    case SB_ENDSCROLL:
        code = TScrollCode::scEndScroll;
        break;
    default:
        return;
    }
    position = std::clamp(position, FMin, MaxPosition());
    Scroll(code, position);
    SetPosition(position);
}

void TScrollBar::Scroll(TScrollCode code, int& position)
{
    if (OnScroll)
        OnScroll(this, code, position);
}

void TScrollBar::Change()
{
    if (OnChange)
        OnChange(this);
}

void TScrollBar::WndProc(TMessage& m)
{
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        DoScroll(LOWORD(m.WParam));
        m.Result = 0;
        return;
    }
    if (m.Msg == CM_ENABLEDCHANGED && HandleAllocated()) {
        TScrollBarPaintHold hold(WindowHandle());
        TWinControl::WndProc(m);
        return;
    }
    TWinControl::WndProc(m);
}
