#include "ToolkitStandIns.h"

namespace {

constexpr int kToolButtonHeight = 22;
constexpr int kToolButtonPadding = 12; // pixels beside a button's text
constexpr int kToolBarHeight = 26;

} // namespace

TToolDock::TToolDock(TComponent* AOwner) : TPanel(AOwner)
{
    SetBevelOuter(TBevelCut::bvNone);
    SetCaption("");
}

TToolBarPanel::TToolBarPanel(TComponent* AOwner) : TPanel(AOwner)
{
    SetBevelOuter(TBevelCut::bvNone);
    SetCaption("");
    SetHeight(kToolBarHeight);
}

TToolButton::TToolButton(TComponent* AOwner, const AnsiString& caption)
    : TGraphicControl(AOwner), FShortCaption(caption)
{
    SetCaption(caption);
}

void TToolButton::ActionChange(TObject* Sender, bool CheckDefaults)
{
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    SetCaption(FShortCaption);
}

void TToolButton::SetPressed(bool value)
{
    if (value == FPressed)
        return;
    FPressed = value;
    Invalidate();
}

void TToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::mbLeft && Enabled()) {
        FTracking = true;
        SetPressed(true);
    }
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TToolButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FTracking)
        SetPressed(ClientRect().Contains(TPoint(X, Y)));
    TGraphicControl::MouseMove(Shift, X, Y);
}

void TToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::mbLeft) {
        FTracking = false;
        SetPressed(false);
    }
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TToolButton::Paint()
{
    RECT frame = ClientRect();
    HDC dc = Canvas()->Handle();
    DrawFrameControl(dc, &frame, DFC_BUTTON,
                     DFCS_BUTTONPUSH | (FPressed ? DFCS_PUSHED : 0) |
                         (Enabled() ? 0 : DFCS_INACTIVE));
    Canvas()->Font()->Assign(Font());
    dc = Canvas()->Handle();
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, ColorToRGB(Enabled() ? clBtnText : clGrayText));
    if (FPressed)
        OffsetRect(&frame, 1, 1);
    DrawTextA(dc, Caption().c_str(), -1, &frame, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

TToolButton* TToolBarPanel::AddButton(TAction* action, const AnsiString& caption)
{
    auto* button = new TToolButton(this, caption);
    button->SetParent(this);
    button->SetAction(action);
    button->SetShowHint(true);
    button->SetHint(action->Caption());
    int width = kToolButtonPadding + 7 * static_cast<int>(caption.size());
    button->SetBounds(FNextLeft, 2, width, kToolButtonHeight);
    FNextLeft += width;
    SetWidth(FNextLeft + 2);
    return button;
}
