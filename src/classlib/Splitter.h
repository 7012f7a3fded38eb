// TSplitter: a bar between two aligned panes; dragging it resizes the pane
// it follows (the control aligned to the same side just before it).
//
// The drag is a small state machine: it starts at a left-button press,
// follows the mouse in screen coordinates, and ends at the release
// (OnMoved) or, cancelled, wherever the capture goes otherwise or Escape
// is pressed (the pane gets its size back). The pane's size stays within
// MinSize and the room the other aligned controls leave; with AutoSnap a
// size not above MinSize closes the pane (0).
#pragma once

#include "Control.h"

// Sender, NewSize (may be changed), Accept.
using TCanResizeSizeEvent = TEvent<TObject*, int&, bool&>;

class TSplitter : public TGraphicControl
{
public:
    explicit TSplitter(TComponent* AOwner);

    // Pixels the pane keeps (0 only through AutoSnap).
    int MinSize() const { return FMinSize; }
    void SetMinSize(int value) { FMinSize = value < 1 ? 1 : value; }
    bool AutoSnap() const { return FAutoSnap; }
    void SetAutoSnap(bool value) { FAutoSnap = value; }
    bool Beveled() const { return FBeveled; }
    void SetBeveled(bool value);
    bool Dragging() const { return FDragging; }
    // The pane the splitter resizes now (nullptr when none).
    TControl* FindResizedControl() const;
    // The largest size the pane can take beside the other aligned controls.
    int MaxSize(TControl* pane) const;
    // Ends a drag, keeping (true) or undoing the new size.
    void StopDrag(bool keep);

    TCanResizeSizeEvent OnCanResize;
    TNotifyEvent OnMoved;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual bool CanResize(int& newSize);
    // The drag has just given the pane a new size (nothing here).
    virtual void PaneSizeApplied(int size);

private:
    bool Horizontal() const; // the splitter moves up and down
    int PaneSize(TControl* pane) const;
    void SetPaneSize(TControl* pane, int size);
    void DragTo(const TPoint& screen);

    int FMinSize = 30;
    bool FAutoSnap = true;
    bool FBeveled = false;
    bool FDragging = false;
    TControl* FPane = nullptr; // not owned; the pane being resized during a drag
    TPoint FDownPos;           // screen, where the drag started
    int FOldSize = 0;          // the pane's size then
    int FMaxSize = 0;          // the pane's limit for this drag
};
