#include "FlatSplitter.h"

#include "classlib/ControlMessages.h"
#include "themes/Skin.h"
#include "themes/SkinUtils.h"

TSkinItemInfo FlatItemInfo(TFlatPaintState state, bool enabled, bool checked)
{
    TSkinItemInfo info = {};
    info.ViewKindBits = vkToolbar;
    info.ItemOptions = sioToolbarStyle | sioAppActive;
    info.Enabled = enabled;
    info.Selected = checked;
    info.Pushed = state == TFlatPaintState::Down;
    if (state != TFlatPaintState::Normal)
        info.HotState = kSkinMouseHot;
    return info;
}

TFlatSplitter::TFlatSplitter(TComponent* AOwner) : TSplitter(AOwner)
{
    ListenThemeChanges(this);
}

TFlatSplitter::~TFlatSplitter()
{
    UnlistenThemeChanges(this);
}

void TFlatSplitter::SetState(TFlatPaintState value)
{
    if (value == FState)
        return;
    FState = value;
    Invalidate();
}

void TFlatSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::mbLeft) {
        FPressed = true;
        SetState(TFlatPaintState::Down);
    }
    TSplitter::MouseDown(Button, Shift, X, Y);
}

void TFlatSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSplitter::MouseUp(Button, Shift, X, Y);
    if (Button == TMouseButton::mbLeft) {
        FPressed = false;
        SetState(FMouseInside ? TFlatPaintState::Over : TFlatPaintState::Normal);
    }
}

void TFlatSplitter::MouseEnter()
{
    FMouseInside = true;
    if (!FPressed)
        SetState(TFlatPaintState::Over);
    TSplitter::MouseEnter();
}

void TFlatSplitter::MouseLeave()
{
    FMouseInside = false;
    if (!FPressed)
        SetState(TFlatPaintState::Normal);
    TSplitter::MouseLeave();
}

void TFlatSplitter::PaneSizeApplied(int size)
{
    if (size == FLastAppliedSize)
        return;
    FLastAppliedSize = size;
    if (OnMoved)
        OnMoved(this);
}

void TFlatSplitter::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CM_CANCELMODE:
        // Escape: the drag ends where it is, as a release would end it.
        StopDrag(true);
        FPressed = false;
        SetState(FMouseInside ? TFlatPaintState::Over : TFlatPaintState::Normal);
        return;
    case WM_SKIN_THEMECHANGE:
        if (m.WParam == 3)
            Invalidate();
        return;
    }
    TSplitter::WndProc(m);
}

void TFlatSplitter::Paint()
{
    TRect r = ClientRect();
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(EffectiveColor());
    canvas->FillRect(r);
    if (TSkinTheme* theme = CurrentTheme()) {
        TFlatPaintState state = (ComponentState() & csDesigning) ? TFlatPaintState::Normal : FState;
        TColor fill = theme->ItemFillColor(FlatItemInfo(state, Enabled(), false));
        canvas->Brush()->SetColor(fill);
        canvas->Pen()->SetColor(MixTwoColors(ColorToRGB(fill), ColorToRGB(clBtnShadow), 50));
        canvas->Rectangle(r);
    }
    if (OnPaint)
        OnPaint(this);
}
