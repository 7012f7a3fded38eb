#include "ExtItem.h"

#include <algorithm>

#include "classlib/Graphics.h"
#include "classlib/ScopeExit.h"
#include "classlib/Utf8.h"
#include "classlib/WideText.h"
#include "controls/NumThemesSupport.h"
#include "toolbar/BarCommon.h"
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

int PaintCaptionText(TCanvas* canvas, const WideString& caption, TRect& rect, UINT format,
                     TExtTextRotation rotation)
{
    switch (rotation) {
    case TExtTextRotation::Up:
        return ExtPaintTurnedText(canvas->Handle(), caption, rect, format, 900);
    case TExtTextRotation::Down:
        return ExtPaintTurnedText(canvas->Handle(), caption, rect, format, 2700);
    case TExtTextRotation::None:
        break;
    }
    return DrawTextW(canvas->Handle(), caption.c_str(), -1, &rect, format);
}

// The caption without its accelerator marks ("&&" shows one "&"), and the
// place of the character after the last single mark (npos: none).
WideString WithoutAcceleratorMarks(const WideString& caption, size_t& underlined)
{
    WideString text;
    underlined = WideString::npos;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != L'&') {
            text += caption[i];
            continue;
        }
        if (i + 1 >= caption.size())
            break;
        if (caption[i + 1] != L'&')
            underlined = text.size();
        text += caption[++i];
    }
    return text;
}

} // namespace

HFONT ExtMakeTurnedFont(HDC dc, int angle)
{
    return MakeTurnedFont(dc, angle, WindowsVersionAtLeast(5, 0) ? "Tahoma" : "Arial");
}

int ExtPaintTurnedText(HDC dc, const WideString& caption, TRect& rect, UINT format, int angle)
{
    size_t underlined = WideString::npos;
    const WideString text =
        (format & DT_NOPREFIX) ? caption : WithoutAcceleratorMarks(caption, underlined);
    const TOwnedGdiObject font(ExtMakeTurnedFont(dc, angle));
    const TSelectedObject selected(dc, font.Handle());
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    if (format & DT_CALCRECT) {
        SIZE size = {};
        GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
        rect.right = rect.left + (text.empty() ? 0 : metrics.tmHeight);
        rect.bottom = rect.top + size.cx;
    } else {
        DrawTurnedText(dc, text, underlined, rect, format, angle);
    }
    return text.empty() ? 0 : metrics.tmHeight;
}

WideString ExtShownCaptionText(const WideString& caption)
{
    static const WideString kUtf8Mark = L"utf8=";
    if (caption.compare(0, kUtf8Mark.size(), kUtf8Mark) != 0)
        return caption;
    return WideFromUtf16(Utf8ToUtf16(WideToAnsi(caption.substr(kUtf8Mark.size()))));
}

int ExtPaintCaptionGlow(TCanvas* canvas, const WideString& caption, TRect& rect, UINT format,
                        TSpGlowDirection glow, TColor glowColor, TExtTextRotation rotation)
{
    return ExtPaintTextGlow(canvas, ExtShownCaptionText(caption), rect, format, glow, glowColor,
                            rotation);
}

int ExtPaintTextGlow(TCanvas* canvas, const WideString& text, TRect& rect, UINT format,
                     TSpGlowDirection glow, TColor glowColor, TExtTextRotation rotation)
{
    TBrush* brush = canvas->Brush();
    TBrushStyle style = brush->Style();
    TColor color = brush->Color();
    brush->SetStyle(TBrushStyle::bsClear);
    TScopeExit restored([brush, color, style] {
        brush->SetColor(color);
        brush->SetStyle(style);
    });
    if (!(format & DT_CALCRECT)) {
        TColor fontColor = canvas->Font()->Color();
        canvas->Font()->SetColor(glowColor);
        TGlowOffsets offsets = GlowOffsets(glow);
        for (int i = 0; i < offsets.Count; ++i) {
            TRect moved = rect;
            OffsetRect(&moved, offsets.Offsets[i].x, offsets.Offsets[i].y);
            PaintCaptionText(canvas, text, moved, format, rotation);
        }
        canvas->Font()->SetColor(fontColor);
    }
    int height = PaintCaptionText(canvas, text, rect, format, rotation);
    if (IsRectEmpty(&rect))
        height = 0;
    else if ((format & DT_CALCRECT) && (canvas->Font()->Style() & fsItalic))
        rect.right += 1 + canvas->Font()->Size() / 8 * 2;
    return height;
}

namespace {

UINT CaptionLayoutFormat(UINT format, TAlignment alignment)
{
    format &= ~(DT_CENTER | DT_VCENTER);
    if (alignment == TAlignment::taRightJustify)
        format |= DT_RIGHT;
    return format;
}

} // namespace

TExtCaptionLayout ExtLayoutCaption(TCanvas* canvas, const TRect& rect, const WideString& caption,
                                   TAlignment alignment, UINT format, SIZE glyphSize,
                                   bool glyphOnTop, bool pushed)
{
    const bool glyph = glyphSize.cx >= 1 && glyphSize.cy >= 1;
    const bool gaps = glyph && !ExtShownCaptionText(caption).empty();
    const int across = gaps ? 4 : 0, along = gaps ? 1 : 0;
    const int beside = glyph && !glyphOnTop ? glyphSize.cx + across : 0;
    format = CaptionLayoutFormat(format, alignment);
    TRect text(0, 0, 1, 1);
    if (format & (DT_WORDBREAK | DT_END_ELLIPSIS | DT_PATH_ELLIPSIS))
        text = TRect(0, 0, std::max<int>(rect.Width() - beside, 1), 1);
    TExtCaptionLayout layout;
    layout.TextHeight = ExtPaintCaptionGlow(canvas, caption, text, format | DT_CALCRECT,
                                            TSpGlowDirection::gldNone, 0);
    const int width = layout.TextHeight ? text.Width() : 0, height = layout.TextHeight;
    int left = rect.left;
    if (alignment == TAlignment::taRightJustify)
        left = rect.right - width;
    else if (alignment == TAlignment::taCenter)
        left = (rect.left + rect.right - width) / 2;
    int top = (rect.top + rect.bottom - height) / 2;
    layout.TextRect = TRect(left, top, left + width, top + height);
    if (glyph && glyphOnTop) {
        layout.GlyphPos = TPoint(left + (width - glyphSize.cx) / 2,
                                 (rect.top + rect.bottom - (glyphSize.cy + along + height)) / 2);
        OffsetRect(&layout.TextRect, 0, (glyphSize.cy + along) / 2);
    } else if (glyph) {
        int glyphTop = (rect.top + rect.bottom - glyphSize.cy) / 2;
        if (alignment == TAlignment::taLeftJustify) {
            layout.GlyphPos = TPoint(left, glyphTop);
            OffsetRect(&layout.TextRect, beside, 0);
        } else if (alignment == TAlignment::taRightJustify) {
            layout.GlyphPos = TPoint(left + width - glyphSize.cx, glyphTop);
            OffsetRect(&layout.TextRect, -beside, 0);
        } else {
            layout.GlyphPos = TPoint((rect.left + rect.right - (beside + width)) / 2, glyphTop);
            OffsetRect(&layout.TextRect, beside / 2, 0);
        }
    }
    if (pushed) {
        OffsetRect(&layout.TextRect, 1, 1);
        layout.GlyphPos = TPoint(layout.GlyphPos.x + 1, layout.GlyphPos.y + 1);
    }
    return layout;
}

TRect ExtDrawCaption(TCanvas* canvas, const TRect& rect, const WideString& caption,
                     TAlignment alignment, UINT format, TSpGlowDirection glow, TColor glowColor)
{
    TExtCaptionLayout layout =
        ExtLayoutCaption(canvas, rect, caption, alignment, format, SIZE{0, 0}, false, false);
    if (layout.TextHeight == 0)
        return TRect();
    TRect painted = layout.TextRect;
    ExtPaintCaptionGlow(canvas, caption, painted, CaptionLayoutFormat(format, alignment), glow,
                        glowColor);
    return layout.TextRect;
}
