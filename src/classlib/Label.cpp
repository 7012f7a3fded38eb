#include "Label.h"

#include "WinControl.h"

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetBounds(0, 0, 65, 17);
    SetAutoSize(true);
    SetParentColor(true);
}

void TLabel::SetAlignment(TAlignment value)
{
    FAlignment = value;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout value)
{
    FLayout = value;
    Invalidate();
}

void TLabel::SetWordWrap(bool value)
{
    FWordWrap = value;
    AdjustSize();
    Invalidate();
}

void TLabel::SetTransparent(bool value)
{
    FTransparent = value;
    SetControlStyle(value ? ControlStyle() & ~csOpaque : ControlStyle() | csOpaque);
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value)
{
    FShowAccelChar = value;
    AdjustSize();
    Invalidate();
}

void TLabel::SetFocusControl(TWinControl* value)
{
    ReplaceFreeNotified(this, FFocusControl, value);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

UINT TLabel::DrawTextFlags() const
{
    UINT flags = DT_EXPANDTABS;
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    return flags;
}

bool TLabel::CanAutoSize(int& NewWidth, int& NewHeight)
{
    // An empty caption still measures one line.
    AnsiString caption = Caption();
    bool blank = caption.empty() || (FShowAccelChar && caption == "&");
    const char* text = blank ? " " : caption.c_str();
    const TRect r =
        TScreenTextMeasure(*Font()).TextRect(text, DrawTextFlags(), FWordWrap ? Width() : 0);
    if (!FWordWrap)
        NewWidth = r.right;
    NewHeight = r.bottom;
    return true;
}

void TLabel::Paint()
{
    TRect client = ClientRect();
    if (!FTransparent && EffectiveColor() != clNone) {
        Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas()->Brush()->SetColor(EffectiveColor());
        Canvas()->FillRect(client);
    }
    AnsiString text = Caption();
    if (text.empty())
        return;
    Canvas()->Font()->Assign(Font());
    HDC dc = Canvas()->Handle();
    RECT r = client;
    UINT flags = DrawTextFlags();
    if (FLayout != TTextLayout::tlTop) {
        RECT measured = r;
        DrawTextA(dc, text.c_str(), -1, &measured, flags | DT_CALCRECT);
        int height = measured.bottom - measured.top;
        r.top = FLayout == TTextLayout::tlCenter ? (client.Height() - height) / 2
                                                 : client.Height() - height;
    }
    if (FAlignment == TAlignment::taRightJustify)
        flags |= DT_RIGHT;
    else if (FAlignment == TAlignment::taCenter)
        flags |= DT_CENTER;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    DrawTextA(dc, text.c_str(), -1, &r, flags);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

void TLabel::WndProc(TMessage& m)
{
    if (m.Msg == CM_DIALOGCHAR && FFocusControl && FShowAccelChar) {
        if (IsAccelerator(static_cast<char>(m.WParam), Caption()) && FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            m.Result = 1;
        }
        return;
    }
    if (m.Msg == CM_FONTCHANGED || m.Msg == CM_TEXTCHANGED) {
        TGraphicControl::WndProc(m);
        AdjustSize();
        return;
    }
    TGraphicControl::WndProc(m);
}
