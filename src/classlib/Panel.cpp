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

void TPanel::WndProc(TMessage& m)
{
    if (m.Msg == CM_TEXTCHANGED) {
        Invalidate();
        return;
    }
    TCustomControl::WndProc(m);
}
