// TFlatSplitter: the splitter bar painted by the current theme as a toolbar
// item in its normal, hot or pressed state. The drag itself is the class
// library's splitter's, except that OnMoved also follows every new size
// the drag gives the pane (besides the end of the drag), and that Escape
// ends a drag keeping the size reached so far.
//
// The paint state and the item record it gives the theme are shared with
// the push button (FlatButton).
#pragma once

#include "classlib/Splitter.h"
#include "themes/SkinThemes.h"

enum class TFlatPaintState
{
    Normal = 0,
    Over = 1,
    Down = 2
};

// The theme's record of a flat control: a toolbar item of an active
// application; over is hot, down is pushed and hot, checked is selected.
TSkinItemInfo FlatItemInfo(TFlatPaintState state, bool enabled, bool checked);

class TFlatSplitter : public TSplitter
{
public:
    explicit TFlatSplitter(TComponent* AOwner);
    ~TFlatSplitter() override;

    TFlatPaintState PaintState() const { return FState; }
    // After the theme has painted the bar.
    TNotifyEvent OnPaint;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void PaneSizeApplied(int size) override;

private:
    void SetState(TFlatPaintState value);

    TFlatPaintState FState = TFlatPaintState::Normal;
    bool FMouseInside = false;
    bool FPressed = false;
    int FLastAppliedSize = -1; // pixels; the pane's size the last OnMoved of a drag followed
};
