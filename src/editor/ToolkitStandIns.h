// Thin stand-ins for controls the main window uses before their own units
// exist. Each keeps the name and the few properties the window relies on,
// so that the real control replaces it here without touching behaviour:
//
//   TToolDock        a dock of toolbars; AllowDrag is what the toolbar lock
//                    sets (toolbar framework)
//   TToolBarPanel    a toolbar: a row of buttons bound to actions
#pragma once

#include "CursolImage.h"
#include "CursolListView.h"

#include "classlib/Actions.h"
#include "classlib/Label.h"
#include "classlib/ListView.h"
#include "classlib/Panel.h"
#include "classlib/ShellTreeView.h"
#include "classlib/StandardControls.h"

#include <vector>

class TToolDock : public TPanel
{
public:
    explicit TToolDock(TComponent* AOwner);
    // Whether the toolbars of this dock may be dragged.
    bool AllowDrag() const { return FAllowDrag; }
    void SetAllowDrag(bool value) { FAllowDrag = value; }

private:
    bool FAllowDrag = true;
};

// A toolbar button: the action's state and command under a short caption of
// its own. It has no window, so that, like the items of a toolbar, a click
// on it leaves the keyboard focus where it was (the commands that test the
// focused control then still see the waveform or the list). It shows
// pressed while the left button is held over it and clicks when the button
// is released there.
class TToolButton : public TGraphicControl
{
public:
    TToolButton(TComponent* AOwner, const AnsiString& caption);
    // Pressed: held down with the mouse over it.
    bool Pressed() const { return FPressed; }

protected:
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void SetPressed(bool value);

    AnsiString FShortCaption;
    bool FTracking = false; // the left button went down on this button and is held
    bool FPressed = false;
};

class TToolBarPanel : public TPanel
{
public:
    explicit TToolBarPanel(TComponent* AOwner);
    // Adds a button for action with a short caption of its own; the action
    // still gives it its enabled state and hint.
    TToolButton* AddButton(TAction* action, const AnsiString& caption);
    // Width of the buttons laid side by side.
    int ContentWidth() const { return FNextLeft; }

private:
    int FNextLeft = 2; // left of the next button, pixels
};
