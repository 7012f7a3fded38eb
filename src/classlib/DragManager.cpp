#include "DragManager.h"

#include "Application.h"
#include "HiddenWindow.h"
#include "ScopeExit.h"
#include "Screen.h"
#include "Seams.h"

#include <cstdlib>
#include <windowsx.h>

namespace {

struct DragState
{
    TControl* Source = nullptr;    // not owned
    TDragObject* Object = nullptr; // owned when OwnsObject
    bool OwnsObject = false;
    bool Active = false;        // past the threshold
    TPoint StartPos;            // screen
    int Threshold = 0;          // pixels
    TControl* Target = nullptr; // not owned; under the mouse
    bool Accepted = false;      // Target accepts the source
    TPoint LastPos;             // screen
    HWND Window = nullptr;      // owned: holds the capture
    bool Ending = false;
};

DragState& Drag()
{
    static DragState state;
    return state;
}

void DragWindowMessage(TMessage& m);

TPoint ScreenPoint(LPARAM lp)
{
    POINT p = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ClientToScreen(Drag().Window, &p);
    return TPoint(p);
}

void UpdateCursor()
{
    DragState& s = Drag();
    if (Screen && s.Object)
        ::SetCursor(Screen->Cursors(s.Object->DragCursor(s.Accepted)));
}

void DragTo(const TPoint& pos)
{
    DragState& s = Drag();
    s.LastPos = pos;
    TControl* target = FindDragTarget(pos, false);
    TObject* source = s.Object->Source();
    if (target != s.Target) {
        if (s.Target) {
            TPoint local = s.Target->ScreenToClient(pos);
            bool ignored = false;
            s.Target->DragOver(source, local.x, local.y, TDragState::dsDragLeave, ignored);
        }
        s.Target = target;
        s.Accepted = false;
        if (target) {
            TPoint local = target->ScreenToClient(pos);
            target->DragOver(source, local.x, local.y, TDragState::dsDragEnter, s.Accepted);
        }
    } else if (target) {
        TPoint local = target->ScreenToClient(pos);
        target->DragOver(source, local.x, local.y, TDragState::dsDragMove, s.Accepted);
    }
    UpdateCursor();
}

void StartDragging()
{
    DragState& s = Drag();
    s.Active = true;
    DragTo(Seams().CursorPos());
}

// Ends the drag without telling anyone (the source went away).
void Abandon()
{
    DragState& s = Drag();
    HWND window = s.Window;
    TDragObject* object = s.OwnsObject ? s.Object : nullptr;
    s = DragState();
    if (GetCapture() == window)
        ReleaseCapture();
    DeallocateHWnd(window);
    delete object;
}

void Finish(bool drop)
{
    DragState& s = Drag();
    if (!s.Source || s.Ending)
        return;
    s.Ending = true;
    TControl* source = s.Source;
    TControl* target = s.Active && s.Accepted ? s.Target : nullptr;
    TPoint pos = s.LastPos;
    TDragObject* object = s.Object;
    bool ownsObject = s.OwnsObject;
    HWND window = s.Window;
    s = DragState();
    s.Ending = true;
    if (GetCapture() == window)
        ReleaseCapture();
    DeallocateHWnd(window);
    TScopeExit ended([object, ownsObject] {
        if (ownsObject)
            delete object;
        Drag().Ending = false;
    });
    if (drop && target) {
        TPoint local = target->ScreenToClient(pos);
        target->DragDrop(object->Source(), local.x, local.y);
    }
    TPoint local = target ? target->ScreenToClient(pos) : TPoint(0, 0);
    source->DoEndDrag(drop ? target : nullptr, local.x, local.y);
}

void DragWindowMessage(TMessage& m)
{
    DragState& s = Drag();
    switch (m.Msg) {
    case WM_MOUSEMOVE: {
        TPoint pos = ScreenPoint(m.LParam);
        if (!s.Active) {
            if (std::abs(pos.x - s.StartPos.x) < s.Threshold &&
                std::abs(pos.y - s.StartPos.y) < s.Threshold)
                return;
            s.Active = true;
        }
        DragTo(pos);
        return;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (s.Active)
            DragTo(ScreenPoint(m.LParam));
        Finish(s.Active);
        return;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(m.LParam) != s.Window)
            Finish(false);
        return;
    case WM_SETCURSOR:
        UpdateCursor();
        m.Result = 1;
        return;
    }
    DefaultHiddenWindowHandling(s.Window, m);
}

} // namespace

TCursor TDragControlObject::DragCursor(bool accepted) const
{
    return accepted ? FControl->DragCursor() : crNoDrop;
}

void DragManagerBegin(TControl* source, bool immediate, int threshold)
{
    DragState& s = Drag();
    if (s.Source || s.Ending || !source)
        return;
    TDragObject* object = nullptr;
    source->DoStartDrag(object);
    s.Source = source;
    s.Object = object ? object : new TDragControlObject(source);
    s.OwnsObject = object == nullptr;
    s.StartPos = Seams().CursorPos();
    s.LastPos = s.StartPos;
    s.Threshold = threshold;
    s.Window = AllocateHWnd(TWndMethod(&DragWindowMessage));
    SetCapture(s.Window);
    if (immediate)
        StartDragging();
}

void DragManagerEnd(bool drop)
{
    Finish(drop);
}

TControl* DragManagerSource()
{
    return Drag().Source;
}

bool DragManagerActive()
{
    return Drag().Active;
}

HWND DragManagerWindow()
{
    return Drag().Window;
}

void DragManagerControlGone(TControl* control)
{
    DragState& s = Drag();
    if (s.Ending)
        return;
    if (s.Source == control) {
        Abandon();
        return;
    }
    if (s.Target == control) {
        s.Target = nullptr;
        s.Accepted = false;
    }
}
