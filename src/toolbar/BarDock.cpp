// TBarDock: its lists, its arrangement of windows in rows, its bound lines
// and background, and the menu keys it passes to members floating away.
#include "BarDock.h"

#include "BarCommon.h"
#include "BarConsts.h"

#include "classlib/ScopeExit.h"

#include <algorithm>

namespace {

TAlign AlignOfPosition(TBarDockPosition position)
{
    switch (position) {
    case TBarDockPosition::dpBottom:
        return TAlign::alBottom;
    case TBarDockPosition::dpLeft:
        return TAlign::alLeft;
    case TBarDockPosition::dpRight:
        return TAlign::alRight;
    case TBarDockPosition::dpTop:
        break;
    }
    return TAlign::alTop;
}

// Redraws a window with its frame and without its children.
void RedrawWithFrame(TWinControl* window)
{
    if (window->HandleAllocated())
        RedrawWindow(window->WindowHandle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_NOCHILDREN);
}

} // namespace

TBarDock::TBarDock(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetColor(clBtnFace);
    SetAlign(AlignOfPosition(FPosition));
    SetControlStyle(ControlStyle() | csAcceptsControls | csMenuEvents);
}

TBarDock::~TBarDock()
{
    Destroying();
    if (FBackground)
        FBackground->DetachChangeHandler(TNotifyEvent(this, &TBarDock::BackgroundChanged));
    // The windows it holds go after this part of the dock: they must not
    // call back into it.
    std::vector<TBarCustomDockableWindow*> windows = FMemberWindows;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* window = dynamic_cast<TBarCustomDockableWindow*>(Controls(i)))
            windows.push_back(window);
    for (TBarCustomDockableWindow* window : windows)
        window->DockGoing(this);
    FMemberWindows.clear();
    FShownWindows.clear();
}

void TBarDock::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TBarDock::Loaded()
{
    TCustomControl::Loaded();
    LayOutRows();
}

void TBarDock::SetParent(TWinControl* value)
{
    if (dynamic_cast<TBarCustomDockableWindow*>(value) || dynamic_cast<TBarDock*>(value))
        throw EInvalidOperation(SBarDockBadParent);
    TCustomControl::SetParent(value);
}

void TBarDock::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FBackground)
        FBackground = nullptr;
    if (auto* window = dynamic_cast<TBarCustomDockableWindow*>(AComponent))
        RemoveWindow(window);
}

void TBarDock::RemoveWindow(TBarCustomDockableWindow* window)
{
    bool member = ListRemove(FMemberWindows, window);
    bool shown = ListRemove(FShownWindows, window);
    if ((member || shown) && !HasState(csDestroying))
        LayOutRows();
}

// ---------------------------------------------------------------------------
// Properties

void TBarDock::SetPosition(TBarDockPosition value)
{
    if (value == FPosition)
        return;
    if (ControlCount() > 0)
        throw EInvalidOperation(SBarDockPositionLocked);
    FPosition = value;
    SetAlign(AlignOfPosition(value));
}

void TBarDock::SetAllowDrag(bool value)
{
    if (value == FAllowDrag)
        return;
    FAllowDrag = value;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* window = dynamic_cast<TBarCustomDockableWindow*>(Controls(i)))
            window->FrameChanged();
    LayOutRows();
}

void TBarDock::SetBoundLines(TBarDockBoundLines value)
{
    if (value == FBoundLines)
        return;
    FBoundLines = value;
    FLineInsetX = ((value & blLeft) ? 1 : 0) + ((value & blRight) ? 1 : 0);
    FLineInsetY = ((value & blTop) ? 1 : 0) + ((value & blBottom) ? 1 : 0);
    if (HandleAllocated())
        SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutRows();
}

void TBarDock::SetBackground(TBarBasicBackground* value)
{
    if (value == FBackground)
        return;
    TNotifyEvent handler(this, &TBarDock::BackgroundChanged);
    if (FBackground) {
        FBackground->DetachChangeHandler(handler);
        FBackground->RemoveFreeNotification(this);
    }
    FBackground = value;
    if (value) {
        value->FreeNotification(this);
        value->RegisterChanges(handler);
    }
    InvalidateAll();
}

void TBarDock::BackgroundChanged(TObject*)
{
    InvalidateAll();
}

void TBarDock::SetBackgroundOnToolbars(bool value)
{
    if (value == FBackgroundOnToolbars)
        return;
    FBackgroundOnToolbars = value;
    InvalidateAll();
}

void TBarDock::SetFixAlign(bool value)
{
    FFixAlign = value;
    LayOutRows();
}

void TBarDock::SetLimitToOneRow(bool value)
{
    if (value == FLimitToOneRow)
        return;
    FLimitToOneRow = value;
    LayOutRows();
}

void TBarDock::InvalidateAll()
{
    Invalidate();
    for (TBarCustomDockableWindow* window : FShownWindows)
        RedrawWithFrame(window);
}

bool TBarDock::IsShownOnDock(const TBarCustomDockableWindow* window) const
{
    return window->Parent() == this && window->Visible();
}

// ---------------------------------------------------------------------------
// Lists

void TBarDock::UpdateMembership(bool Inserting, TBarCustomDockableWindow* Window)
{
    if (Inserting) {
        if (ListAddUnique(FMemberWindows, Window))
            Window->FreeNotification(this);
    } else {
        ListRemove(FMemberWindows, Window);
    }
    RefreshShownList(Window, false);
}

void TBarDock::RefreshShownList(TBarCustomDockableWindow* Window, bool ForceRemove)
{
    bool belongs = !ForceRemove && IsShownOnDock(Window);
    bool changed =
        belongs ? ListAddUnique(FShownWindows, Window) : ListRemove(FShownWindows, Window);
    if (!changed)
        return;
    LayOutRows();
    if (OnInsertRemoveBar)
        OnInsertRemoveBar(this, belongs, Window);
}

int TBarDock::LastRowIndex(bool Effective) const
{
    int last = -1;
    for (TBarCustomDockableWindow* w : FMemberWindows)
        last = std::max(last, Effective ? w->FPlacedRow : w->FDockRow);
    return last;
}

int TBarDock::RowThickness(int Row, bool& FullSizeRow) const
{
    int thickness = 0;
    FullSizeRow = false;
    for (TBarCustomDockableWindow* w : FMemberWindows) {
        if (!IsShownOnDock(w) || w->FPlacedRow != Row)
            continue;
        thickness = std::max(thickness, LeftRight() ? w->Width() : w->Height());
        FullSizeRow = w->FFullSize;
    }
    return thickness;
}

int TBarDock::RowAtOffset(int Pixel) const
{
    int last = LastRowIndex(true);
    int total = 0;
    for (int row = 0; row <= last + 1; ++row) {
        bool fullSize = false;
        int size = RowThickness(row, fullSize);
        if (size == 0)
            continue;
        total += size;
        if (total > Pixel)
            return row;
    }
    return last + 1;
}

void TBarDock::AdoptArrangedPlaces()
{
    for (TBarCustomDockableWindow* w : FShownWindows) {
        w->FDockRow = w->FPlacedRow;
        w->FDockPos = w->FPlacedPos;
    }
}

// ---------------------------------------------------------------------------
// Arrangement

void TBarDock::EndUpdate()
{
    if (FArrangeLockCount > 0 && --FArrangeLockCount == 0 && FArrangePending)
        LayOutRows();
}

void TBarDock::ResizeDockTo(int NewWidth, int NewHeight)
{
    switch (Align()) {
    case TAlign::alBottom:
        SetBounds(Left(), Top() + Height() - NewHeight, NewWidth, NewHeight);
        break;
    case TAlign::alRight:
        SetBounds(Left() + Width() - NewWidth, Top(), NewWidth, NewHeight);
        break;
    case TAlign::alClient:
    case TAlign::alCustom:
        break;
    default:
        SetBounds(Left(), Top(), NewWidth, NewHeight);
        break;
    }
}

void TBarDock::AlignControls(TControl*, TRect&)
{
    LayOutRows();
}

void TBarDock::LayOutRows()
{
    if (FArrangeLockCount > 0 || HasState(csLoading) || HasState(csDestroying)) {
        FArrangePending = true;
        return;
    }
    {
        ++FArrangeLockCount;
        TScopeExit arranged([this] { --FArrangeLockCount; });
        ArrangeRows();
    }
    FArrangePending = false;
    FPersistNextArrange = false;
}

void TBarDock::ArrangeRows()
{
    auto going = [](TBarCustomDockableWindow* w) { return w->HasState(csDestroying); };
    std::erase_if(FMemberWindows, going);
    std::erase_if(FShownWindows, going);
    if (FShownWindows.empty()) {
        int empty = FFixAlign ? 1 : 0;
        if (LeftRight())
            ResizeDockTo(empty, Height());
        else
            ResizeDockTo(Width(), empty);
        return;
    }
    TRect client = ClientRect();
    int available = std::max<int>(LeftRight() ? client.Height() : client.Width(), 0);
    if (FLimitToOneRow)
        for (TBarCustomDockableWindow* w : FMemberWindows)
            w->FDockRow = 0;

    std::vector<TBarCustomDockableWindow*> windows = FMemberWindows;
    std::vector<TBarRowSlot> slots(windows.size());
    for (size_t i = 0; i < windows.size(); ++i) {
        TBarCustomDockableWindow* w = windows[i];
        TBarRowSlot& s = slots[i];
        s.DockRow = w->FDockRow;
        s.DockPos = w->FDockPos;
        s.Visible = IsShownOnDock(w);
        s.FullSize = w->FFullSize;
        s.Stretch = w->FStretch;
        s.NewRowAhead = w->FNewRowAhead;
        s.DragActive = w->FDragActive;
        s.RowShifting = w->FRowShifting;
        if (!s.Visible)
            continue;
        TPoint natural;
        w->NaturalSize(natural);
        int nonClient = LeftRight() ? w->GetNonClientHeight() : w->DockedBorderWidth();
        s.FullLength = nonClient + (LeftRight() ? natural.y : natural.x);
        TPoint smallest(s.FullLength, s.FullLength);
        w->SmallestShrunkSize(smallest);
        s.MinLength = std::min<int>(LeftRight() ? smallest.y : smallest.x, s.FullLength);
        s.ShrinkMode = w->ShrinkBehaviour();
    }
    std::vector<int> order = ArrangeDockRows(slots, available, FLimitToOneRow);

    std::stable_sort(FShownWindows.begin(), FShownWindows.end(),
                     [](TBarCustomDockableWindow* a, TBarCustomDockableWindow* b) {
                         return a->FDockRow != b->FDockRow ? a->FDockRow < b->FDockRow
                                                           : a->FDockPos < b->FDockPos;
                     });
    for (size_t i = 0; i < windows.size(); ++i) {
        TBarCustomDockableWindow* w = windows[i];
        w->FPlacedRow = slots[i].Row;
        w->FPlacedPos = slots[i].Position;
        if (slots[i].RowShiftAllowed)
            w->FRowShiftAllowed = true;
        if (FPersistNextArrange) {
            w->FDockRow = slots[i].Row;
            w->FDockPos = slots[i].Position;
        }
    }
    if (FPersistNextArrange) {
        FMemberWindows.clear();
        for (int i : order)
            FMemberWindows.push_back(windows[i]);
    }
    int thickness = PlaceRowsAcross(slots, windows);
    if (LeftRight())
        ResizeDockTo(FLineInsetX + thickness, Height());
    else
        ResizeDockTo(Width(), FLineInsetY + thickness);
}

int TBarDock::PlaceRowsAcross(const std::vector<TBarRowSlot>& slots,
                              const std::vector<TBarCustomDockableWindow*>& windows)
{
    int highest = -1;
    for (const TBarRowSlot& s : slots)
        if (s.Visible)
            highest = std::max(highest, s.Row);
    const bool leftRight = LeftRight();
    int offset = 0;
    for (int row = 0; row <= highest; ++row) {
        int rowThickness = 0;
        for (size_t i = 0; i < windows.size(); ++i) {
            const TBarRowSlot& s = slots[i];
            if (!s.Visible || s.Row != row)
                continue;
            TBarCustomDockableWindow* w = windows[i];
            int given = s.Length == s.FullLength ? 0 : s.Length;
            TPoint size;
            if (s.ShrinkMode != TBarShrinkMode::tbsmNone && given != w->FGivenLength) {
                w->FGivenLength = given;
                w->LayOutContent(false, HostKind(), false, this, size);
                w->FRelayoutPending = true;
            } else if (s.ShrinkMode == TBarShrinkMode::tbsmWrap && s.Length < s.FullLength) {
                TRect client = w->ClientRect();
                size = TPoint(client.Width(), client.Height());
            } else {
                w->FGivenLength = given;
                w->NaturalSize(size);
            }
            w->FGivenThickness = leftRight ? size.x : size.y;
            rowThickness = std::max(rowThickness, w->FGivenThickness);
        }
        if (rowThickness != 0)
            rowThickness += 4;
        for (size_t i = 0; i < windows.size(); ++i) {
            const TBarRowSlot& s = slots[i];
            if (!s.Visible || s.Row != row)
                continue;
            TBarCustomDockableWindow* w = windows[i];
            ++w->FSelfSizingDepth;
            TScopeExit sized([w] { --w->FSelfSizingDepth; });
            const TRect before = w->BoundsRect();
            if (leftRight)
                w->SetBounds(offset, s.Position, rowThickness, s.Length);
            else
                w->SetBounds(s.Position, offset, s.Length, rowThickness);
            if (w->FRelayoutPending)
                w->Arrange();
            // Moving keeps the old pixels, which may belong to what was
            // there before, and the dock shows through at the new place.
            if (w->BoundsRect() != before)
                RedrawWithFrame(w);
        }
        offset += rowThickness;
    }
    return offset;
}

// ---------------------------------------------------------------------------
// Painting

void TBarDock::DrawBackground(HDC DC, const TRect& DrawRect)
{
    if (FBackground)
        FBackground->Draw(DC, DrawRect);
}

bool TBarDock::HasBackdrop()
{
    return FBackground && FBackground->HasBackdrop();
}

void TBarDock::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        WMNCCalcSize(message);
        return;
    case WM_NCPAINT:
        WMNCPaint(message);
        return;
    case WM_PRINT:
        WMPrint(message);
        return;
    case WM_PRINTCLIENT:
        PaintWindowTree(WindowHandle(), reinterpret_cast<HDC>(message.WParam),
                        message.LParam & ~PRF_NONCLIENT, nullptr, nullptr);
        return;
    case WM_ERASEBKGND:
        WMEraseBkgnd(message);
        return;
    case WM_MOVE:
        TCustomControl::WndProc(message);
        if (HasBackdrop())
            InvalidateAll();
        return;
    case CM_SYSCOLORCHANGE:
        if (FBackground)
            FBackground->ColorsChangedNotify();
        TCustomControl::WndProc(message);
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
        if (ForwardToFloatingMembers(message))
            return;
        TCustomControl::WndProc(message);
        return;
    case WM_SYSCOMMAND:
        ForwardToFloatingMembers(message);
        return;
    default:
        TCustomControl::WndProc(message);
        return;
    }
}

void TBarDock::WMNCCalcSize(TMessage& m)
{
    auto line = [this](TBarDockBoundLine which) { return (FBoundLines & which) ? 1 : 0; };
    TakeNonClientFrame(*reinterpret_cast<RECT*>(m.LParam), line(blLeft), line(blTop), line(blRight),
                       line(blBottom));
    m.Result = 0;
}

void TBarDock::PaintBoundLines(HWND window, HDC dc, void* self)
{
    auto* dock = static_cast<TBarDock*>(self);
    const TRect r = WindowRectAtOrigin(window);
    const TRect client = ClientAreaInWindow(window);
    TSavedDCState saved(dc);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    {
        TOwnedGdiObject fill(CreateSolidBrush(ColorToRGB(dock->Color())));
        FillRect(dc, &r, static_cast<HBRUSH>(fill.Handle()));
    }
    if (dock->FBoundLines == 0 || dock->FShownWindows.empty())
        return;
    auto line = [dc](int x1, int y1, int x2, int y2) {
        MoveToEx(dc, x1, y1, nullptr);
        LineTo(dc, x2, y2);
    };
    {
        TOwnedGdiObject shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
        TSelectedObject selected(dc, shadow.Handle());
        if (dock->FBoundLines & blTop)
            line(0, 0, r.right, 0);
        if (dock->FBoundLines & blLeft)
            line(0, 0, 0, r.bottom);
    }
    TOwnedGdiObject highlight(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
    TSelectedObject selected(dc, highlight.Handle());
    if (dock->FBoundLines & blBottom)
        line(0, r.bottom - 1, r.right, r.bottom - 1);
    if (dock->FBoundLines & blRight)
        line(r.right - 1, 0, r.right - 1, r.bottom);
}

void TBarDock::WMNCPaint(TMessage& m)
{
    HWND window = WindowHandle();
    TScreenDC dc(window, GetWindowDC(window));
    if (!dc.Handle())
        return;
    SelectNCUpdateRgn(window, dc.Handle(), reinterpret_cast<HRGN>(m.WParam));
    PaintBoundLines(window, dc.Handle(), this);
    m.Result = 0;
}

void TBarDock::WMPrint(TMessage& m)
{
    PaintWindowTree(WindowHandle(), reinterpret_cast<HDC>(m.WParam), m.LParam, PaintBoundLines,
                    this);
}

TPoint TBarDock::BackgroundOrigin(TWinControl* window)
{
    TPoint origin = ClientOrigin();
    if (window != this) {
        RECT r;
        GetWindowRect(window->Handle(), &r);
        origin = TPoint(r.left, r.top);
    }
    return Parent() ? Parent()->ScreenToClient(origin) : origin;
}

void TBarDock::DrawBackgroundAt(HDC dc, const TPoint& origin, int width, int height)
{
    TSavedDCState saved(dc);
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    DrawBackground(dc, Bounds(origin.x, origin.y, width, height));
}

void TBarDock::WMEraseBkgnd(TMessage& m)
{
    if (!HasBackdrop()) {
        TCustomControl::WndProc(m);
        return;
    }
    TRect client = ClientRect();
    DrawBackgroundAt(reinterpret_cast<HDC>(m.WParam), BackgroundOrigin(this), client.Width(),
                     client.Height());
    m.Result = 1;
}

bool TBarDock::ForwardToFloatingMembers(TMessage& m)
{
    for (TBarCustomDockableWindow* w : std::vector<TBarCustomDockableWindow*>(FMemberWindows)) {
        if (!(w->ControlStyle() & csMenuEvents) || !w->Floating() || !w->Showing() || !w->Enabled())
            continue;
        m.Result = w->Perform(m.Msg, m.WParam, m.LParam);
        if (m.Result != 0)
            return true;
    }
    m.Result = 0;
    return false;
}
