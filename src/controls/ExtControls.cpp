#include "ExtControls.h"

#include "classlib/WideText.h"
#include "controls/NumThemesSupport.h"

#include <algorithm>
#include <cstdint>
#include <vssym32.h>

// --- Text object ---------------------------------------------------------------------

TExtTextObject::TExtTextObject(TComponent* AOwner) : TSkinTextObject(AOwner)
{
    SetTabStop(true);
    SetSmartFocus(true);
    SetSpacePresses(true);
}

void TExtTextObject::SetWideCaption(const WideString& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    SetCaption(WideToAnsi(value));
}

void TExtTextObject::SetCaptionGlow(TSpGlowDirection value)
{
    FCaptionGlow = value;
    Invalidate();
}

void TExtTextObject::SetCaptionGlowColor(TColor value)
{
    FCaptionGlowColor = value;
    Invalidate();
}

void TExtTextObject::SetThemeType(TExtThemeType value)
{
    FThemeType = value;
    Invalidate();
}

void TExtTextObject::DoDrawItem(TCanvas* canvas, const TRect& rect, int stage, bool& paintDefault)
{
    if (OnDraw)
        OnDraw(this, canvas, rect, stage, paintDefault);
}

void TExtTextObject::DoDrawText(TCanvas* canvas, TRect& rect, UINT flags)
{
    canvas->Font()->Assign(Font());
    DoAdjustFont(canvas);
    if (flags & DT_CALCRECT) {
        WideString caption = FCaption.empty() || FCaption == L"&" ? WideString(L" ") : FCaption;
        ExtPaintCaptionGlow(canvas, caption, rect, flags, FCaptionGlow, FCaptionGlowColor);
        return;
    }
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    TRect client = ClientRect();
    WideString caption = FCaption;
    bool paintDefault = true;
    if (OnDrawCaption)
        OnDrawCaption(this, canvas, client, caption, rect, flags, false, 0, paintDefault);
    if (paintDefault) {
        if (Enabled()) {
            ExtDrawCaption(canvas, rect, caption, CaptionAlignment(), flags, FCaptionGlow,
                           FCaptionGlowColor);
        } else {
            if (ExtResolveThemeKind(FThemeType) == TExtThemeType::thtNone) {
                TRect moved = rect;
                OffsetRect(&moved, 1, 1);
                canvas->Font()->SetColor(clBtnHighlight);
                ExtDrawCaption(canvas, moved, caption, CaptionAlignment(), flags,
                               TSpGlowDirection::gldNone, 0);
            }
            canvas->Font()->SetColor(clBtnShadow);
            ExtDrawCaption(canvas, rect, caption, CaptionAlignment(), flags,
                           TSpGlowDirection::gldNone, 0);
        }
    }
    paintDefault = true;
    if (OnDrawCaption)
        OnDrawCaption(this, canvas, client, caption, rect, flags, false, 1, paintDefault);
}

void TExtTextObject::Paint()
{
    TCanvas* canvas = Canvas();
    TRect room = Margins()->Deflate(ClientRect());
    canvas->Font()->Assign(Font());
    DoAdjustFont(canvas);
    bool paintDefault = true;
    DoDrawItem(canvas, room, 0, paintDefault);
    TRect margins = CaptionMargins();
    TRect text(room.left + margins.left, room.top + margins.top, room.right - margins.right,
               room.bottom - margins.bottom);
    DoDrawText(canvas, text, SkinTextFlags(CaptionAlignment(), Wrapping(), ShowAccelChar(), false));
    paintDefault = true;
    DoDrawItem(canvas, room, 1, paintDefault);
    if (Focused()) {
        TRect focus = GetFocusRect();
        if (!IsRectEmpty(&focus))
            canvas->DrawFocusRect(focus);
    }
}

// --- Progress bar --------------------------------------------------------------------

int ExtProgressPercentage(int position, int max, int min)
{
    position = std::clamp(position, std::min(min, max), std::max(min, max));
    if (!(min < max && min < position))
        return 0;
    return static_cast<int>((std::int64_t(position) - min) * 100 / (std::int64_t(max) - min));
}

namespace {

void FillClassicBar(TCanvas* canvas, const TRect& filled, bool vertical, bool smooth)
{
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(clHighlight);
    if (smooth) {
        canvas->FillRect(filled);
        return;
    }
    // Blocks as long as the bar is thick (two thirds of it), 2 pixels apart.
    int thickness = vertical ? filled.Width() : filled.Height();
    int block = std::max(thickness * 2 / 3, 2);
    if (vertical) {
        for (int bottom = filled.bottom; bottom > filled.top; bottom -= block + 2)
            canvas->FillRect(TRect(filled.left, std::max<int>(bottom - block, filled.top),
                                   filled.right, bottom));
    } else {
        for (int left = filled.left; left < filled.right; left += block + 2)
            canvas->FillRect(
                TRect(left, filled.top, std::min<int>(left + block, filled.right), filled.bottom));
    }
}

TRect FilledPart(const TRect& inner, bool vertical, int percentage)
{
    TRect filled = inner;
    if (vertical)
        filled.top =
            filled.bottom - static_cast<int>(std::int64_t(inner.Height()) * percentage / 100);
    else
        filled.right =
            filled.left + static_cast<int>(std::int64_t(inner.Width()) * percentage / 100);
    return filled;
}

} // namespace

int ExtPaintProgress(TCanvas* canvas, const TRect& rect, bool vertical, TExtThemeType themeType,
                     int position, int max, int min, bool smooth)
{
    int percentage = ExtProgressPercentage(position, max, min);
    HDC dc = canvas->Handle();
    if (ExtResolveThemeKind(themeType) == TExtThemeType::thtWindows &&
        DrawNumThemePart(nullptr, dc, L"PROGRESS", vertical ? PP_BARVERT : PP_BAR, 0, rect)) {
        TRect inner = rect;
        InflateRect(&inner, vertical ? -3 : -4, vertical ? -4 : -3);
        TRect filled = FilledPart(inner, vertical, percentage);
        if (!IsRectEmpty(&filled))
            DrawNumThemePart(nullptr, dc, L"PROGRESS", vertical ? PP_CHUNKVERT : PP_CHUNK, 0,
                             filled);
        return percentage;
    }
    TRect frame = rect;
    DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    TRect inner = rect;
    InflateRect(&inner, -2, -2);
    TRect filled = FilledPart(inner, vertical, percentage);
    if (!IsRectEmpty(&filled))
        FillClassicBar(canvas, filled, vertical, smooth);
    return percentage;
}

TExtProgressBar::TExtProgressBar(TComponent* AOwner) : TExtTextObject(AOwner)
{
    SetCaptionGlow(TSpGlowDirection::gldAll);
    SetAlignment(TAlignment::taCenter);
    SetThemeType(TExtThemeType::thtWindows);
    SetAutoSize(false);
    SetBounds(Left(), Top(), 150, 17);
    Font()->SetStyle(Font()->Style() | fsBold);
}

void TExtProgressBar::SetMin(int value)
{
    if (value == FMin)
        return;
    FMin = value;
    Invalidate();
}

void TExtProgressBar::SetMax(int value)
{
    if (value == FMax)
        return;
    FMax = value;
    Invalidate();
}

void TExtProgressBar::SetPosition(int value)
{
    value = std::max(std::min(value, FMax), FMin);
    if (value == FPosition)
        return;
    FPosition = value;
    Invalidate();
    FireProgressChange();
}

void TExtProgressBar::SetSmooth(bool value)
{
    FSmooth = value;
    Invalidate();
}

void TExtProgressBar::SetVertical(bool value)
{
    FVertical = value;
    Invalidate();
}

void TExtProgressBar::SetCaptionType(TExtProgressCaption value)
{
    FCaptionType = value;
    Invalidate();
}

void TExtProgressBar::FireProgressChange()
{
    if (OnProgressChange)
        OnProgressChange(this, FPosition);
}

void TExtProgressBar::DoDrawItem(TCanvas* canvas, const TRect& rect, int stage, bool& paintDefault)
{
    TExtTextObject::DoDrawItem(canvas, rect, stage, paintDefault);
    if (stage != 0 || !paintDefault)
        return;
    int percentage =
        ExtPaintProgress(canvas, rect, FVertical, ThemeType(), FPosition, FMax, FMin, FSmooth);
    switch (FCaptionType) {
    case TExtProgressCaption::pctNone:
        SetWideCaption(WideString());
        break;
    case TExtProgressCaption::pctPercentage:
        SetWideCaption(std::to_wstring(percentage) + L"%");
        break;
    case TExtProgressCaption::pctProgress:
        SetWideCaption(std::to_wstring(FPosition));
        break;
    case TExtProgressCaption::pctDefault:
        break;
    }
}
