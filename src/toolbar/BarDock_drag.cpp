// The two mouse loops of a dockable window: dragging it between docks and
// floating, and resizing its floating frame. Both hold the mouse capture on
// the window (whose handle survives every move) and read the queue
// themselves. A lost capture ends either as a cancel; a window or a dock
// freed meanwhile is never touched again.
#include "BarDock.h"

#include "BarCommon.h"

#include "classlib/ScopeExit.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"

#include <algorithm>
#include <optional>

namespace {

HCURSOR SystemCursor(LPCSTR id)
{
    return LoadCursorA(nullptr, id);
}

bool IsMessageIn(UINT msg, UINT first, UINT last)
{
    return msg >= first && msg <= last;
}

// The desktop locked for drawing outlines over every window, for a loop.
class TDesktopOutline
{
public:
    explicit TDesktopOutline(bool active)
    {
        if (!active)
            return;
        HWND desktop = GetDesktopWindow();
        LockWindowUpdate(desktop);
        FDC.emplace(desktop,
                    GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE));
    }
    ~TDesktopOutline() { Finish(); }
    TDesktopOutline(const TDesktopOutline&) = delete;
    TDesktopOutline& operator=(const TDesktopOutline&) = delete;

    // Moves the outline to r (an empty r only erases) with frames of
    // thickness pixels.
    void Show(const TRect& r, SIZE thickness)
    {
        if (!FDC || !FDC->Handle())
            return;
        const TRect* next = r.IsEmpty() ? nullptr : &r;
        DrawDragOutline(FDC->Handle(), next, FShown ? &FRect : nullptr, thickness, FThickness,
                        nullptr, nullptr);
        FShown = next != nullptr;
        FRect = r;
        FThickness = thickness;
    }
    // Erases the outline and unlocks the desktop.
    void Finish()
    {
        if (!FDC)
            return;
        Show(TRect(), FThickness);
        FDC.reset();
        LockWindowUpdate(nullptr);
    }

private:
    std::optional<TScreenDC> FDC; // the desktop's, while locked
    bool FShown = false;
    TRect FRect; // screen
    SIZE FThickness = {1, 1};
};

} // namespace

// ---------------------------------------------------------------------------
// Dragging

// One drag: the candidate docks with where the window would go in each,
// and the target under the pointer.
class TBarCustomDockableWindow::TDragSession : public TComponent
{
public:
    explicit TDragSession(TBarCustomDockableWindow* window) : TComponent(nullptr), FWindow(window)
    {
        window->FreeNotification(this);
    }
    ~TDragSession() override
    {
        if (FWindow)
            FWindow->RemoveFreeNotification(this);
        for (const TPlace& place : FPlaces)
            place.Dock->RemoveFreeNotification(this);
    }

    // False when the window went during the loop.
    bool Run(int X, int Y);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // Where the window would go in one candidate dock.
    struct TPlace
    {
        TBarDock* Dock;        // not owned; free-notified
        TRect DockRect;        // screen
        TPoint Size;           // the window's size there
        std::vector<int> Rows; // PackRowSize of each row
    };

    void Begin(int X, int Y);
    void AddCandidate(TBarDock* dock);
    void CollectDocks(TWinControl* control);
    void CollectCandidates();
    void MeasurePlaces();
    // Handles one message of the loop; false ends it.
    bool Handle(MSG& msg);
    void MoveStep(const TPoint& pointer, bool firstStep);
    const TPlace* PlaceOf(TBarDock* dock) const;
    TBarDock* DockUnder(const TPoint& pointer);
    void ShowTarget();
    void ApplyTarget();
    void ApplyDockTarget(TBarDock* dock, const TRect& rect);
    HCURSOR SplitCursor() const;
    void Finish();

    TBarCustomDockableWindow* FWindow; // not owned; null once it went
    TBarDock* FStartDock = nullptr;    // not owned; null when not docked or gone
    int FStartRow = 0;
    int FStartPos = 0;
    int FSplitRow = 0;    // its row in the start arrangement
    TPoint FSplitOrigin;  // the pointer at the start, screen
    TPoint FGrab;         // the pointer inside the window at the start
    TPoint FStartSize;    // the window's (or frame's) size at the start
    TPoint FFloatingSize; // the frame's size when floating
    std::vector<TPlace> FPlaces;
    bool FPreventDocking = false; // Ctrl is held
    bool FCannotFloat = false;
    bool FCanSplit = false;
    bool FAccepted = false;
    bool FSmooth = false;
    TBarDock* FTargetDock = nullptr;     // not owned; null: floating
    TRect FTargetRect;                   // screen; empty: nowhere
    TPoint FPointer;                     // screen, of the last step
    TDesktopOutline* FOutline = nullptr; // while the loop runs
};

void TBarCustomDockableWindow::TDragSession::Notification(TComponent* AComponent,
                                                          TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FWindow)
        FWindow = nullptr;
    if (AComponent == FStartDock)
        FStartDock = nullptr;
    if (AComponent == FTargetDock) {
        FTargetDock = nullptr;
        FTargetRect = TRect();
    }
    std::erase_if(FPlaces, [AComponent](const TPlace& p) { return p.Dock == AComponent; });
}

bool TBarCustomDockableWindow::TDragSession::Run(int X, int Y)
{
    Begin(X, Y);
    TDesktopOutline outline(!FSmooth);
    FOutline = &outline;
    HWND capture = FWindow->Handle();
    {
        // A failed drag ends at once; one that ran applies its target first.
        TScopeExit finishFailed([this] {
            if (FWindow)
                Finish();
        });
        TScopeExit released([&] {
            if (GetCapture() == capture)
                ReleaseCapture();
            outline.Finish();
            FOutline = nullptr;
        });
        SetCapture(capture);
        MoveStep(FPointer, true);
        MSG msg;
        while (FWindow && ReadCapturedLoopMessage(capture, msg))
            if (!Handle(msg))
                break;
        finishFailed.Dismiss();
    }
    if (!FWindow)
        return false;
    FWindow->FLiveDragActive = false;
    if (FAccepted && !FTargetRect.IsEmpty())
        ApplyTarget();
    if (!FWindow)
        return false;
    if (FWindow->FUseLastDock && FWindow->FInDock && FWindow->FCurrentDock)
        FWindow->SetLastDock(FWindow->FCurrentDock);
    Finish();
    return true;
}

// The end that every way out shares: a frame the drag left behind goes,
// and a window that ended up undocked keeps its dock place.
void TBarCustomDockableWindow::TDragSession::Finish()
{
    TBarCustomDockableWindow* w = FWindow;
    w->FLiveDragActive = false;
    if (w->FOwnFrame && w->Parent() != w->FOwnFrame) {
        TBarFloatingWindowParent* frame = w->FOwnFrame;
        w->FOwnFrame = nullptr;
        frame->Discard();
    }
    if (!w->FInDock) {
        w->FDockRow = FStartRow;
        w->FDockPos = FStartPos;
    }
    w->FDragActive = false;
    w->FRowShifting = false;
}

void TBarCustomDockableWindow::TDragSession::Begin(int X, int Y)
{
    TBarCustomDockableWindow* w = FWindow;
    FStartDock = w->FInDock ? w->FCurrentDock : nullptr;
    if (FStartDock)
        FStartDock->FreeNotification(this);
    FStartRow = w->FDockRow;
    FStartPos = w->FDockPos;
    w->FDragActive = true;
    w->FRowShifting = false;
    if (FStartDock) {
        w->FRowShiftAllowed = false;
        FStartDock->SetPersistNextArrange(true);
        FStartDock->LayOutRows();
        FCanSplit = w->FRowShiftAllowed;
    }
    FSplitRow = w->FDockRow;
    w->FLiveDragActive = w->FSmoothDrag;
    FSmooth = w->FSmoothDrag;

    FPointer = w->ClientToScreen(TPoint(X, Y));
    FSplitOrigin = FPointer;
    TWinControl* held = w->FloatingParent() ? static_cast<TWinControl*>(w->FloatingParent()) : w;
    RECT r;
    GetWindowRect(held->Handle(), &r);
    FGrab = TPoint(FPointer.x - r.left, FPointer.y - r.top);
    FStartSize = TPoint(r.right - r.left, r.bottom - r.top);
    FPreventDocking = SeamKeyHeld(VK_CONTROL);
    FCannotFloat = w->FDockMode != TBarDockMode::dmCanFloat;

    CollectCandidates();
    for (const TPlace& place : FPlaces)
        place.Dock->AdoptArrangedPlaces();
    MeasurePlaces();
    FlushPaintMessages();
}

void TBarCustomDockableWindow::TDragSession::AddCandidate(TBarDock* dock)
{
    if (PlaceOf(dock))
        return;
    dock->FreeNotification(this);
    FPlaces.push_back({dock, TRect(), TPoint(), {}});
}

// Depth first: a control's docks in edge order, then its other windowed
// children, then the control itself when it is a dock that takes the
// window.
void TBarCustomDockableWindow::TDragSession::CollectDocks(TWinControl* control)
{
    if (control == FWindow || !control->Showing())
        return;
    std::vector<TBarDock*> docks;
    std::vector<TWinControl*> others;
    for (int i = 0; i < control->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(control->Controls(i));
        if (!child)
            continue;
        if (auto* dock = dynamic_cast<TBarDock*>(child))
            docks.push_back(dock);
        else
            others.push_back(child);
    }
    std::stable_sort(docks.begin(), docks.end(), [](TBarDock* a, TBarDock* b) {
        return static_cast<int>(a->Position()) < static_cast<int>(b->Position());
    });
    for (TBarDock* dock : docks)
        CollectDocks(dock);
    for (TWinControl* other : others)
        CollectDocks(other);
    if (auto* dock = dynamic_cast<TBarDock*>(control))
        if (dock->DragAllowedHere() && FWindow->AcceptsDock(dock))
            AddCandidate(dock);
}

void TBarCustomDockableWindow::TDragSession::CollectCandidates()
{
    TBarCustomDockableWindow* w = FWindow;
    if (w->FDockMode == TBarDockMode::dmCannotFloatOrChangeDocks) {
        if (FStartDock)
            AddCandidate(FStartDock);
        return;
    }
    if (FStartDock && FStartDock->DragAllowedHere() && w->AcceptsDock(FStartDock))
        AddCandidate(FStartDock);
    TCustomForm* top = w->TopForm();
    if (top)
        CollectDocks(top);
    if (!Screen)
        return;
    const std::vector<TCustomForm*>& extra = w->FExtraDockForms;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form != top && std::find(extra.begin(), extra.end(), form) != extra.end())
            CollectDocks(form);
    }
}

void TBarCustomDockableWindow::TDragSession::MeasurePlaces()
{
    TBarCustomDockableWindow* w = FWindow;
    TPoint size;
    w->LayOutContent(false, TBarHostKind::hkFloat, true, nullptr, size);
    TPoint nonClient = w->FloatingNonClientSize();
    FFloatingSize = TPoint(size.x + nonClient.x, size.y + nonClient.y);
    for (TPlace& place : FPlaces) {
        TBarDock* dock = place.Dock;
        RECT r;
        GetWindowRect(dock->Handle(), &r);
        place.DockRect = r;
        if (dock == FStartDock) {
            place.Size = TPoint(w->Width(), w->Height());
        } else {
            TPoint content;
            w->LayOutContent(false, dock->HostKind(), false, dock, content);
            TBarDockedFrame frame = w->DockedFrameIn(dock);
            place.Size = TPoint(content.x + frame.TopLeft.x + frame.BottomRight.x,
                                content.y + frame.TopLeft.y + frame.BottomRight.y);
        }
        int last = dock->LastRowIndex(true);
        for (int row = 0; row <= last; ++row) {
            bool fullSizeRow = false;
            int thickness = dock->RowThickness(row, fullSizeRow);
            place.Rows.push_back(PackRowSize(thickness, fullSizeRow));
        }
    }
}

const TBarCustomDockableWindow::TDragSession::TPlace*
TBarCustomDockableWindow::TDragSession::PlaceOf(TBarDock* dock) const
{
    for (const TPlace& place : FPlaces)
        if (place.Dock == dock)
            return &place;
    return nullptr;
}

bool TBarCustomDockableWindow::TDragSession::Handle(MSG& msg)
{
    switch (msg.message) {
    case WM_MOUSEMOVE:
        if (!(TPoint(msg.pt) == FPointer))
            MoveStep(msg.pt, false);
        return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (msg.wParam == VK_CONTROL) {
            bool held = msg.message == WM_KEYDOWN;
            if (held != FPreventDocking) {
                FPreventDocking = held;
                MoveStep(FPointer, false);
            }
            return true;
        }
        return msg.wParam != VK_ESCAPE;
    case WM_LBUTTONUP:
        FAccepted = true;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return false;
    default:
        break;
    }
    if (IsMessageIn(msg.message, WM_KEYFIRST, WM_KEYLAST) ||
        IsMessageIn(msg.message, WM_RBUTTONDOWN, WM_MBUTTONDBLCLK))
        return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

// The last candidate that takes the window under the pointer and whose
// OnRequestDock accepts it.
TBarDock* TBarCustomDockableWindow::TDragSession::DockUnder(const TPoint& pointer)
{
    for (size_t i = FPlaces.size(); i-- > 0 && FWindow;) {
        if (i >= FPlaces.size())
            continue;
        TPlace place = FPlaces[i];
        TRect rect = DragTargetRect(pointer, place.Size, FGrab, FStartSize);
        if (!DragCanDock(place.DockRect, place.Dock->LeftRight(), pointer, FGrab, FStartSize, rect))
            continue;
        bool accept = true;
        if (place.Dock->OnRequestDock)
            place.Dock->OnRequestDock(place.Dock, FWindow, accept);
        if (accept && FWindow && PlaceOf(place.Dock))
            return place.Dock;
    }
    return nullptr;
}

void TBarCustomDockableWindow::TDragSession::MoveStep(const TPoint& pointer, bool firstStep)
{
    TBarCustomDockableWindow* w = FWindow;
    FPointer = pointer;
    TBarDock* target = nullptr;
    if (w->FRowShifting) {
        target = w->FInDock ? w->FCurrentDock : nullptr;
    } else if (!FPreventDocking && !(firstStep && w->FFloating)) {
        target = DockUnder(pointer);
        if (!FWindow)
            return;
    }
    TPoint p = pointer;
    TPoint size = FFloatingSize;
    if (const TPlace* place = target ? PlaceOf(target) : nullptr)
        size = place->Size;
    else
        p = ClampPointToArea(pointer, MonitorRectAtPoint(pointer, true));
    TRect rect = DragTargetRect(p, size, FGrab, FStartSize);
    if (!target) {
        TPoint border = w->FloatFrameBorder();
        int topNonClient = border.y + (w->FShowCaption ? GetSystemMetrics(SM_CYSMCAPTION) : 0);
        rect = KeepFrameReachable(rect, MonitorRectAtPoint(p, true), border, topNonClient);
    }
    if (!FCannotFloat || target) {
        ::SetCursor(w->FRowShifting ? SplitCursor() : SystemCursor(IDC_ARROW));
    } else {
        rect = TRect();
        ::SetCursor(SystemCursor(IDC_NO));
    }
    FTargetDock = target;
    FTargetRect = rect;
    ShowTarget();
}

void TBarCustomDockableWindow::TDragSession::ShowTarget()
{
    if (!FSmooth) {
        SIZE thickness = {1, 1};
        if (!FTargetDock) {
            TPoint border = FWindow->FloatFrameBorder();
            thickness = SIZE{border.x, border.y};
        }
        if (FOutline)
            FOutline->Show(FTargetRect, thickness);
    } else if (!FTargetRect.IsEmpty()) {
        ApplyTarget();
    }
}

HCURSOR TBarCustomDockableWindow::TDragSession::SplitCursor() const
{
    bool leftRight = FWindow->FCurrentDock && FWindow->FCurrentDock->LeftRight();
    return SystemCursor(leftRight ? IDC_SIZENS : IDC_SIZEWE);
}

void TBarCustomDockableWindow::TDragSession::ApplyTarget()
{
    TBarCustomDockableWindow* w = FWindow;
    if (FTargetDock) {
        ApplyDockTarget(FTargetDock, FTargetRect);
    } else {
        FCanSplit = false;
        w->SetFloatOrigin(TPoint(FTargetRect.left, FTargetRect.top));
        w->SetFloating(true);
        w->KeepOnMonitor(true);
    }
    if (FWindow)
        FWindow->Update();
}

void TBarCustomDockableWindow::TDragSession::ApplyDockTarget(TBarDock* dock, const TRect& rect)
{
    TBarCustomDockableWindow* w = FWindow;
    const TPlace* place = PlaceOf(dock);
    if (!place)
        return;
    TPoint origin = dock->ClientOrigin();
    TRect inDock(rect.left - origin.x, rect.top - origin.y, rect.right - origin.x,
                 rect.bottom - origin.y);
    const bool leftRight = dock->LeftRight();
    int row = w->FDockRow;
    bool newRow = false;
    if (!w->FRowShifting) {
        int across =
            leftRight ? (inDock.left + inDock.right) / 2 : (inDock.top + inDock.bottom) / 2;
        TBarDropRow drop = DropRowAt(place->Rows, across, w->FFullSize);
        row = drop.Row;
        newRow = drop.NewRow;
        if (newRow)
            FCanSplit = false;
        if (FCanSplit) {
            if (dock == FStartDock && row == FSplitRow) {
                int along = leftRight ? FPointer.y - FSplitOrigin.y : FPointer.x - FSplitOrigin.x;
                if (std::abs(along) >= 10) {
                    FCanSplit = false;
                    w->FRowShifting = true;
                    ::SetCursor(SplitCursor());
                }
            } else {
                FCanSplit = false;
            }
        }
    }
    w->FDockRow = row;
    w->FDockPos = leftRight ? inDock.top : inDock.left;
    if (w->Parent() != dock) {
        w->SetCurrentDock(dock);
        if (!FWindow || !PlaceOf(dock))
            return;
    }
    if (!w->FLiveDragActive)
        dock->SetPersistNextArrange(true);
    w->FNewRowAhead = newRow;
    dock->LayOutRows();
    w->FNewRowAhead = false;
}

bool TBarCustomDockableWindow::StartDragLoop(int X, int Y)
{
    TDragSession session(this);
    return session.Run(X, Y);
}

// ---------------------------------------------------------------------------
// Resizing a floating frame

void TBarCustomDockableWindow::StartSizeLoop(int Edge)
{
    TBarFloatingWindowParent* frame = FloatingParent();
    if (!frame || !frame->HandleAllocated())
        return;
    TBarFreeWatch watch(this);
    const bool smooth = FSmoothDrag;
    int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
    SizeLimits(minWidth, minHeight, maxWidth, maxHeight);
    RECT r;
    GetWindowRect(frame->WindowHandle(), &r);
    const TRect start(r);
    TRect client = frame->ClientRect();
    TPoint nonClient(start.Width() - client.Width(), start.Height() - client.Height());
    TPoint minSize(minWidth + nonClient.x, minHeight + nonClient.y);
    TPoint maxSize(maxWidth > 0 ? maxWidth + nonClient.x : 0,
                   maxHeight > 0 ? maxHeight + nonClient.y : 0);
    const BYTE sides = SizingSidesOfEdge(Edge);
    SizingStarted(Edge);
    if (watch.Gone())
        return;
    FlushPaintMessages();
    TDesktopOutline outline(!smooth);
    HWND capture = Handle();
    SetCapture(capture);
    const bool confined = (FFrameSizingOptions & bfsConfineCursor) && !SeveralMonitors();
    if (confined) {
        RECT area = MonitorRectForRect(start, true);
        ClipCursor(&area);
    }
    TPoint border = FloatFrameBorder();
    const SIZE thickness = {border.x, border.y};
    TRect rect = start;
    outline.Show(rect, thickness);
    POINT origin;
    GetCursorPos(&origin);
    TPoint last = origin;
    bool accepted = false;
    {
        TScopeExit released([&] {
            if (GetCapture() == capture)
                ReleaseCapture();
            ClipCursor(nullptr);
            outline.Finish();
        });
        MSG msg;
        while (!watch.Gone() && ReadCapturedLoopMessage(capture, msg)) {
            const UINT m = msg.message;
            if (m == WM_MOUSEMOVE) {
                if (TPoint(msg.pt) == last)
                    continue;
                last = msg.pt;
                rect = SizedFrameRect(start, sides, TPoint(last.x - origin.x, last.y - origin.y),
                                      minSize, maxSize);
                SizingStep(rect, sides);
                if (watch.Gone())
                    break;
                if (smooth)
                    ApplyFrameRect(rect);
                else
                    outline.Show(rect, thickness);
                continue;
            }
            if (m == WM_LBUTTONUP) {
                accepted = true;
                break;
            }
            if ((m == WM_KEYDOWN || m == WM_KEYUP) && msg.wParam == VK_ESCAPE)
                break;
            if (m == WM_LBUTTONDOWN || m == WM_LBUTTONDBLCLK)
                break;
            if (IsMessageIn(m, WM_KEYFIRST, WM_KEYLAST) ||
                IsMessageIn(m, WM_RBUTTONDOWN, WM_MBUTTONDBLCLK))
                continue;
            DispatchMessageA(&msg);
        }
    }
    if (watch.Gone())
        return;
    if (accepted && !smooth)
        ApplyFrameRect(rect);
    SizingFinished();
}

void TBarCustomDockableWindow::ApplyFrameRect(const TRect& rect)
{
    TBarFloatingWindowParent* frame = FloatingParent();
    if (!frame)
        return;
    {
        BeginUpdate();
        TScopeExit updated([this] { EndUpdate(); });
        SizingApplied();
        frame->SetBounds(rect.left, rect.top, rect.Width(), rect.Height());
        FFloatOrigin = TPoint(rect.left, rect.top);
        TRect client = frame->ClientRect();
        SetBounds(0, 0, client.Width(), client.Height());
    }
    KeepOnMonitor(true);
}
