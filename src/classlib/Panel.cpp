#include "Panel.h"

#include <algorithm>

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(TPenStyle::psSolid);
    for (int i = 0; i < width && rect.Width() > 0 && rect.Height() > 0; ++i) {
        canvas->Pen()->SetColor(topColor);
        canvas->MoveTo(rect.left, rect.bottom - 1);
        canvas->LineTo(rect.left, rect.top);
        canvas->LineTo(rect.right - 1, rect.top);
        canvas->Pen()->SetColor(bottomColor);
        canvas->LineTo(rect.right - 1, rect.bottom - 1);
        canvas->LineTo(rect.left - 1, rect.bottom - 1);
        rect = TRect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
    }
}

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque |
                    csDoubleClicks);
    SetBounds(0, 0, 185, 41);
}

void TPanel::BordersChanged()
{
    Realign();
    Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut value)
{
    FBevelOuter = value;
    BordersChanged();
}

void TPanel::SetBevelInner(TBevelCut value)
{
    FBevelInner = value;
    BordersChanged();
}

void TPanel::SetBevelWidth(int value)
{
    FBevelWidth = std::max(value, 1);
    BordersChanged();
}

void TPanel::SetBorderWidth(int value)
{
    FBorderWidth = std::max(value, 0);
    BordersChanged();
}

void TPanel::SetAlignment(TAlignment value)
{
    FAlignment = value;
    Invalidate();
}

void TPanel::AdjustClientRect(TRect& rect)
{
    TCustomControl::AdjustClientRect(rect);
    int inset = FBorderWidth;
    if (FBevelOuter != TBevelCut::bvNone)
        inset += FBevelWidth;
    if (FBevelInner != TBevelCut::bvNone)
        inset += FBevelWidth;
    rect =
        TRect(rect.left + inset, rect.top + inset, std::max(rect.left + inset, rect.right - inset),
              std::max(rect.top + inset, rect.bottom - inset));
}

void TPanel::Paint()
{
    TRect rect = ClientRect();
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(EffectiveColor());
    canvas->FillRect(rect);
    auto bevel = [&](TBevelCut cut) {
        if (cut == TBevelCut::bvNone)
            return;
        bool raised = cut == TBevelCut::bvRaised;
        Frame3D(canvas, rect, raised ? clBtnHighlight : clBtnShadow,
                raised ? clBtnShadow : clBtnHighlight, FBevelWidth);
    };
    bevel(FBevelOuter);
    rect = TRect(rect.left + FBorderWidth, rect.top + FBorderWidth, rect.right - FBorderWidth,
                 rect.bottom - FBorderWidth);
    bevel(FBevelInner);
    AnsiString caption = Caption();
    if (caption.empty())
        return;
    canvas->Font()->Assign(Font());
    HDC dc = canvas->Handle();
    RECT r = rect;
    UINT flags = DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;
    if (FAlignment == TAlignment::taCenter)
        flags |= DT_CENTER;
    else if (FAlignment == TAlignment::taRightJustify)
        flags |= DT_RIGHT;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    DrawTextA(dc, caption.c_str(), -1, &r, flags);
}

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque |
                    csDoubleClicks);
    SetBounds(0, 0, 185, 105);
}

// Measured on the screen: alignment asks before the box has a window.
int TGroupBox::CaptionHeight()
{
    return TScreenTextMeasure(*Font()).Metrics().tmHeight;
}

void TGroupBox::AdjustClientRect(TRect& rect)
{
    TCustomControl::AdjustClientRect(rect);
    const LONG top = std::min<LONG>(rect.top + CaptionHeight(), rect.bottom);
    rect = TRect(rect.left + 2, top, std::max<LONG>(rect.left + 2, rect.right - 2),
                 std::max<LONG>(top, rect.bottom - 2));
}

void TGroupBox::Paint()
{
    TCanvas* canvas = Canvas();
    TRect client = ClientRect();
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(EffectiveColor());
    canvas->FillRect(client);
    canvas->Font()->Assign(Font());
    const int textHeight = CaptionHeight();
    RECT frame = TRect(client.left, client.top + textHeight / 2, client.right, client.bottom);
    HDC dc = canvas->Handle();
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const AnsiString caption = Caption();
    if (caption.empty())
        return;
    const TRect textRect(8, 0, std::min<LONG>(8 + canvas->TextWidth(caption) + 4, client.right),
                         textHeight);
    canvas->FillRect(textRect);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    RECT r = textRect;
    DrawTextA(dc, caption.c_str(), -1, &r, DT_SINGLELINE | DT_CENTER | DT_NOPREFIX);
}

void TGroupBox::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CM_TEXTCHANGED:
        Invalidate();
        return;
    case CM_FONTCHANGED:
        // The caption's height decides where the children start.
        TCustomControl::WndProc(m);
        Realign();
        return;
    }
    TCustomControl::WndProc(m);
}

void TPanel::WndProc(TMessage& m)
{
    if (m.Msg == CM_TEXTCHANGED) {
        Invalidate();
        return;
    }
    TCustomControl::WndProc(m);
}
