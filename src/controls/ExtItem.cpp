#include "ExtItem.h"

#include "controls/NumThemesSupport.h"
#include "themes/Skin.h"

bool ExtVisualStylesOn()
{
    return SkinCache().VisualStylesActive && NumThemesInUse();
}

TExtThemeType ExtResolveThemeKind(TExtThemeType type)
{
    if (type == TExtThemeType::thtSkin && CurrentThemeName() == "Default")
        type = TExtThemeType::thtWindows;
    if (type == TExtThemeType::thtWindows && !ExtVisualStylesOn())
        type = TExtThemeType::thtNone;
    return type;
}

namespace {

struct TGlowOffsets
{
    int Count;
    POINT Offsets[4];
};

TGlowOffsets GlowOffsets(TSpGlowDirection glow)
{
    switch (glow) {
    case TSpGlowDirection::gldAll:
        return {4, {{0, -1}, {0, 1}, {-1, 0}, {1, 0}}};
    case TSpGlowDirection::gldTopLeft:
        return {1, {{-1, -1}}};
    case TSpGlowDirection::gldBottomRight:
        return {1, {{1, 1}}};
    case TSpGlowDirection::gldNone:
        break;
    }
    return {0, {}};
}

int PaintCaptionText(TCanvas* canvas, const WideString& caption, TRect& rect, UINT format)
{
    return DrawTextW(canvas->Handle(), caption.c_str(), -1, &rect, format);
}

} // namespace

int ExtPaintCaptionGlow(TCanvas* canvas, const WideString& caption, TRect& rect, UINT format,
                        TSpGlowDirection glow, TColor glowColor)
{
    TBrush* brush = canvas->Brush();
    TBrushStyle style = brush->Style();
    TColor color = brush->Color();
    brush->SetStyle(TBrushStyle::bsClear);
    int height = 0;
    try {
        if (!(format & DT_CALCRECT)) {
            TColor fontColor = canvas->Font()->Color();
            canvas->Font()->SetColor(glowColor);
            TGlowOffsets offsets = GlowOffsets(glow);
            for (int i = 0; i < offsets.Count; ++i) {
                TRect moved = rect;
                OffsetRect(&moved, offsets.Offsets[i].x, offsets.Offsets[i].y);
                PaintCaptionText(canvas, caption, moved, format);
            }
            canvas->Font()->SetColor(fontColor);
        }
        height = PaintCaptionText(canvas, caption, rect, format);
        if (IsRectEmpty(&rect))
            height = 0;
        else if ((format & DT_CALCRECT) && (canvas->Font()->Style() & fsItalic))
            rect.right += 1 + canvas->Font()->Size() / 8 * 2;
    } catch (...) {
        brush->SetColor(color);
        brush->SetStyle(style);
        throw;
    }
    brush->SetColor(color);
    brush->SetStyle(style);
    return height;
}

TRect ExtDrawCaption(TCanvas* canvas, const TRect& rect, const WideString& caption,
                     TAlignment alignment, UINT format, TSpGlowDirection glow, TColor glowColor)
{
    format &= ~(DT_CENTER | DT_VCENTER);
    if (alignment == TAlignment::taRightJustify)
        format |= DT_RIGHT;
    TRect text(0, 0, 1, 1);
    if (format & (DT_WORDBREAK | DT_END_ELLIPSIS | DT_PATH_ELLIPSIS))
        text = TRect(0, 0, rect.Width(), 1);
    int height = ExtPaintCaptionGlow(canvas, caption, text, format | DT_CALCRECT, glow, glowColor);
    if (height == 0)
        return TRect();
    int width = text.Width();
    int left = rect.left;
    if (alignment == TAlignment::taRightJustify)
        left = rect.right - width;
    else if (alignment == TAlignment::taCenter)
        left = (rect.left + rect.right - width) / 2;
    int top = (rect.top + rect.bottom - height) / 2;
    TRect placed(left, top, left + width, top + height);
    TRect painted = placed;
    ExtPaintCaptionGlow(canvas, caption, painted, format, glow, glowColor);
    return placed;
}
