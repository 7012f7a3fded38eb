// The library's own drag and drop of controls inside the program.
//
//   TDragObject         what is being dragged; the events see its Source
//   TDragControlObject  a dragged control (the default)
//
// BeginDrag starts it: at once, or once the mouse has moved the threshold
// from where it was. A hidden window holds the mouse capture while the
// drag lasts; each move asks the control under the mouse (OnDragOver, with
// enter, move and leave states) whether it accepts the source, and the
// release drops on it (OnDragDrop) when it did. The source hears the end
// (OnEndDrag, target nullptr when nothing took it). Escape or a lost
// capture cancels.
#pragma once

#include "Control.h"

class TDragObject : public TObject
{
public:
    // The object the drag events pass as Source.
    virtual TObject* Source() { return this; }
    virtual TCursor DragCursor(bool accepted) const { return accepted ? crDrag : crNoDrop; }
};

class TDragControlObject : public TDragObject
{
public:
    explicit TDragControlObject(TControl* control) : FControl(control) {}
    TObject* Source() override { return FControl; }
    TCursor DragCursor(bool accepted) const override;
    TControl* Control() const { return FControl; }

private:
    TControl* FControl; // not owned
};

// TControl::BeginDrag and EndDrag call these.
void DragManagerBegin(TControl* source, bool immediate, int threshold);
void DragManagerEnd(bool drop);
// The control being dragged (also before the threshold is reached), or
// nullptr.
TControl* DragManagerSource();
// The drag has passed its threshold.
bool DragManagerActive();
// Forgets a control that goes away (a gone source ends the drag silently).
void DragManagerControlGone(TControl* control);
// The window that holds the capture during a drag (tests send it mouse
// messages in screen coordinates).
HWND DragManagerWindow();
