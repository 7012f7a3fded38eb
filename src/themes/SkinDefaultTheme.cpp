#include "SkinDefaultTheme.h"

#include "SkinUtils.h"
#include "SkinUxThemes.h"

#include "classlib/Graphics.h"
#include "classlib/ImageList.h"
#include "classlib/WideText.h"
#include "toolbar/BarCommon.h"
#include "toolbar/BarItem.h"

#include <algorithm>

namespace {

// Visual-style parts and properties asked for outside painting.
constexpr int kToolbarSplitArrowPart = 4;
constexpr int kToolbarButtonPart = 1;
constexpr int kToolbarHotState = 2;
constexpr int kCaptionMarginsProperty = 3603;
constexpr int kStatusPanePart = 1;

// Below this luminance (0 .. 255) a background counts as dark.
constexpr int kDarkBackgroundLuminance = 128;

// The text in one colour at r (moved by offset), over a transparent
// background; r takes what DT_CALCRECT measures.
void DrawTextInColor(HDC dc, TRect& r, POINT offset, const WideString& text, UINT format,
                     bool rotated, TColor color)
{
    const TSavedDCState saved(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(color));
    OffsetRect(&r, offset.x, offset.y);
    if (rotated)
        DrawVerticalCaption(dc, WideToAnsi(text), r, format);
    else
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    OffsetRect(&r, -offset.x, -offset.y);
}

} // namespace

// --- Creation and palette -------------------------------------------------------------

TSkinDefaultTheme::TSkinDefaultTheme(const AnsiString& Name) : TSkinTheme(Name)
{
    ListenSystemChanges(this);
    RebuildPalette();
}

TSkinDefaultTheme::~TSkinDefaultTheme()
{
    UnlistenSystemChanges(this);
}

void TSkinDefaultTheme::Dispatch(TMessage& message)
{
    if (message.Msg == WM_SKIN_SYSCHANGE) {
        if (message.WParam == 2)
            RebuildPalette();
        return;
    }
    TSkinTheme::Dispatch(message);
}

void TSkinDefaultTheme::RebuildPalette()
{
    // A style that does not answer keeps the classic colour: a failed call
    // would leave black.
    FToolbarColor = clBtnFace;
    StyleColor(TSkinStyleClass::Toolbar, kSkinFillColorProperty, FToolbarColor);
    FToolbarTextColor = clBtnText;
    StyleColor(TSkinStyleClass::Toolbar, kSkinTextColorProperty, FToolbarTextColor);
    FPanelColor = WeightedColorMixNearest(FToolbarColor, clWindow, 64);
    FStatusBarColor = clBtnFace;
    StyleColor(TSkinStyleClass::Status, kSkinFillColorProperty, FStatusBarColor);
}

bool TSkinDefaultTheme::DrawStylePart(TSkinStyleClass style, HDC dc, int part, int state,
                                      const TRect& r)
{
    const HTHEME handle = ActiveStyle(style);
    const TVisualStyleEntryPoints& ux = VisualStyleEntryPoints();
    return handle && ux.DrawThemeBackground &&
           ux.DrawThemeBackground(handle, dc, part, state, &r, nullptr) == S_OK;
}

void TSkinDefaultTheme::PaintGlyph(HDC dc, const TRect& r, int width, int height,
                                   const WORD (&pattern)[8], bool enabled, TColor color)
{
    if (enabled) {
        PaintBitPattern(dc, r, width, height, color, pattern);
        return;
    }
    TRect shadow = r;
    OffsetRect(&shadow, 1, 1);
    PaintBitPattern(dc, shadow, width, height, clBtnHighlight, pattern);
    PaintBitPattern(dc, r, width, height, clBtnShadow, pattern);
}

// --- Metrics ----------------------------------------------------------------------------

int TSkinDefaultTheme::IntegerMetric(int Index)
{
    switch (Index) {
    case 10: {
        const HTHEME toolbar = ActiveStyle(TSkinStyleClass::Toolbar);
        const TVisualStyleEntryPoints& ux = VisualStyleEntryPoints();
        SIZE size = {};
        if (toolbar && ux.GetThemePartSize &&
            ux.GetThemePartSize(toolbar, nullptr, kToolbarSplitArrowPart, 1, nullptr, TS_TRUE,
                                &size) == S_OK)
            return size.cx + 2;
        return 11;
    }
    case 20:
        return 8;
    case 21:
        return 3;
    case 32:
    case 62:
        return 1;
    case 33:
    case 34:
    case 36:
    case 60:
    case 61:
        return 2;
    case 37:
        return 4;
    case 50:
        return 6;
    case 65:
        return 13;
    case 66:
        return 0;
    }
    return -1;
}

bool TSkinDefaultTheme::FlagMetric(int Index)
{
    return Index == 5 && VisualStyles();
}

void TSkinDefaultTheme::PaddingForPart(int Kind, TSkinMargins& Margins)
{
    const TVisualStyleEntryPoints& ux = VisualStyleEntryPoints();
    switch (Kind) {
    case 1: {
        Margins = {2, 2, 2, 2};
        const HTHEME toolbar = ActiveStyle(TSkinStyleClass::Toolbar);
        MARGINS caption = {};
        if (toolbar && ux.GetThemeMargins &&
            ux.GetThemeMargins(toolbar, nullptr, kToolbarButtonPart, kToolbarHotState,
                               kCaptionMarginsProperty, nullptr, &caption) == S_OK)
            Margins = {caption.cxLeftWidth, caption.cxRightWidth, caption.cyTopHeight,
                       caption.cyBottomHeight};
        return;
    }
    case 2:
        Margins = {0, 0, 2, 2};
        return;
    case 3: {
        Margins = {1, 3, 1, 1};
        const HTHEME status = ActiveStyle(TSkinStyleClass::Status);
        const RECT whole = {0, 0, 100, 100};
        RECT content = {};
        if (status && ux.GetThemeBackgroundContentRect &&
            ux.GetThemeBackgroundContentRect(status, nullptr, kStatusPanePart, 0, &whole,
                                             &content) == S_OK)
            Margins = {content.left, 100 - content.right, content.top, 100 - content.bottom};
        return;
    }
    }
    Margins = {};
}

int TSkinDefaultTheme::MenuDropShadowStyle()
{
    return 1;
}

TPoint TSkinDefaultTheme::PushedImageShift(const TSkinItemInfo& ItemInfo)
{
    return (ItemInfo.Pushed || ItemInfo.Selected) ? TPoint(1, 1) : TPoint(0, 0);
}

// --- Views ----------------------------------------------------------------------------------

void TSkinDefaultTheme::ViewEdgeWidth(DWORD ViewKindBits, SIZE& Size)
{
    if (ViewKindBits & vkPopupGroup) {
        const int edge = PopupKindOf(ViewKindBits) == vkListPopup ? 1 : 3;
        Size = {edge, edge};
    } else if (ViewKindBits & (vkToolbarGroup | vkPanel)) {
        if (!(ViewKindBits & vkFloating))
            Size = {2, 2};
        else if (ViewKindBits & vkResizable)
            Size = {GetSystemMetrics(SM_CXSIZEFRAME), GetSystemMetrics(SM_CYSIZEFRAME)};
        else
            Size = {GetSystemMetrics(SM_CXFIXEDFRAME), GetSystemMetrics(SM_CYFIXEDFRAME)};
    } else {
        Size = {0, 0};
    }
}

TColor TSkinDefaultTheme::ViewFillColor(DWORD ViewKindBits)
{
    if (ViewKindBits & vkToolbarGroup)
        return FToolbarColor;
    if (ViewKindBits & vkPopupGroup) {
        switch (PopupKindOf(ViewKindBits)) {
        case vkPopupMenu:
        case vkChevronPopup:
            return SkinCache().PopupMenuColor;
        case vkListPopup:
            return clWindow;
        }
        return FToolbarColor;
    }
    if (ViewKindBits & vkPanel)
        return FPanelColor;
    if (ViewKindBits & vkStatusBar)
        return FStatusBarColor;
    return clBtnFace;
}

void TSkinDefaultTheme::ViewPadding(DWORD ViewKindBits, TSkinMargins& Margins)
{
    if ((ViewKindBits & vkToolbarGroup) && (ViewKindBits & vkFloating))
        Margins = {4, 4, 2, 1};
    else
        Margins = {};
}

void TSkinDefaultTheme::DrawViewBack(TCanvas* Canvas, const TRect& ARect, const TRect& AClipRect,
                                     TColor Color, bool Transparent, DWORD ViewKindBits)
{
    RECT visible;
    if (Transparent || !IntersectRect(&visible, &ARect, &AClipRect))
        return;
    FillRectColor(Canvas->Handle(), visible, Color);
}

// --- Item colours -------------------------------------------------------------------------

TColor TSkinDefaultTheme::ItemFillColor(const TSkinItemInfo& ItemInfo)
{
    if (!VisualStyles() && ItemIsHot(ItemInfo) &&
        PopupKindOf(ItemInfo.ViewKindBits) == vkPopupMenu &&
        !(ItemInfo.ItemOptions & sioToolbarStyle))
        return clHighlight;
    return ViewFillColor(ItemInfo.ViewKindBits);
}

TColor TSkinDefaultTheme::ItemInkColor(const TSkinItemInfo& ItemInfo)
{
    const bool toolbarStyle = ItemInfo.ItemOptions & sioToolbarStyle;
    const bool menuBar = IsMenuBarView(ItemInfo.ViewKindBits);
    const bool inactive = !(ItemInfo.ItemOptions & sioAppActive);
    if (!ItemInfo.Enabled)
        return clGrayText;
    if (toolbarStyle && !menuBar)
        return clBtnText;
    if (toolbarStyle && !SkinCache().FlatMenusActive)
        return inactive ? clGrayText : clBtnText;
    if (ItemIsHot(ItemInfo))
        return clHighlightText;
    if (menuBar && inactive)
        return clGrayText;
    return SkinCache().PopupMenuTextColor;
}

TColor TSkinDefaultTheme::ImageUnderColor(const TSkinItemInfo& ItemInfo)
{
    if (SkinCache().FlatMenusActive) {
        const bool hot = ItemIsHot(ItemInfo);
        const DWORD popupKind = PopupKindOf(ItemInfo.ViewKindBits);
        if (IsMenuBarView(ItemInfo.ViewKindBits) && hot)
            return clHighlight;
        if (popupKind == vkChevronPopup)
            return FToolbarColor;
        if (popupKind == vkPopupMenu && hot && !(ItemInfo.ItemOptions & sioToolbarStyle))
            return FToolbarColor;
    }
    return ViewFillColor(ItemInfo.ViewKindBits);
}

// --- Text, marks and images -----------------------------------------------------------------

void TSkinDefaultTheme::DrawItemText(TCanvas* Canvas, TRect& ARect, const TSkinItemInfo& ItemInfo,
                                     const WideString& Text, UINT Format, bool Rotated)
{
    TFont* font = Canvas->Font();
    if (font->Color() == clNone)
        font->SetColor(ItemInkColor(ItemInfo));
    const TColor ink = font->Color();
    HDC dc = Canvas->Handle();
    const bool toolbarStyle = ItemInfo.ItemOptions & sioToolbarStyle;
    const POINT inPlace = {0, 0}, shifted = {1, 1};
    if (!ItemInfo.Enabled) {
        const bool keyboardHovered = !toolbarStyle && ItemInfo.HotState == kSkinKeyboardHot;
        if (!keyboardHovered && !VisualStyles()) {
            DrawTextInColor(dc, ARect, shifted, Text, Format, Rotated, clBtnHighlight);
            DrawTextInColor(dc, ARect, inPlace, Text, Format, Rotated, clBtnShadow);
            return;
        }
        DrawTextInColor(dc, ARect, inPlace, Text, Format, Rotated, ink);
        return;
    }
    const bool flatMenuBar = IsMenuBarView(ItemInfo.ViewKindBits) && SkinCache().FlatMenusActive;
    const bool moved = toolbarStyle && (ItemInfo.Pushed || ItemInfo.Selected) && !flatMenuBar;
    DrawTextInColor(dc, ARect, moved ? shifted : inPlace, Text, Format, Rotated, ink);
}

void TSkinDefaultTheme::DrawTickGlyph(TCanvas* Canvas, const TRect& ARect,
                                      const TSkinItemInfo& ItemInfo)
{
    HDC dc = Canvas->Handle();
    const LONG cx = (ARect.left + ARect.right) / 2, cy = (ARect.top + ARect.bottom) / 2;
    const TColor mark = ItemInfo.Enabled ? clBtnText : clGrayText;
    if (!(ItemInfo.ItemOptions & sioRadioItem)) {
        const POINT check[7] = {{cx - 3, cy - 1}, {cx - 1, cy + 1}, {cx + 3, cy - 3},
                                {cx + 3, cy - 2}, {cx - 1, cy + 2}, {cx - 3, cy},
                                {cx - 3, cy - 1}};
        PolylineInColor(dc, check, 7, mark);
        if (ItemInfo.Enabled) {
            const POINT light[5] = {{cx - 4, cy - 1},
                                    {cx - 4, cy},
                                    {cx - 1, cy + 3},
                                    {cx + 4, cy - 2},
                                    {cx + 4, cy - 4}};
            PolylineInColor(dc, light, 5, clBtnHighlight);
        }
        return;
    }
    const TRect disc(cx - 3, cy - 3, cx + 3, cy + 3);
    RoundRectColor(dc, disc, MixTwoColors(mark, clBtnHighlight, 50), clNone, 2, 2);
    RoundRectColor(dc, disc, mark, mark, 6, 6);
    if (ItemInfo.Enabled)
        RoundRectColor(dc, TRect(cx - 4, cy - 4, cx + 4, cy + 4), clBtnHighlight, clNone, 6, 6);
}

void TSkinDefaultTheme::DrawItemPicture(TCanvas* Canvas, const TRect& ARect,
                                        const TSkinItemInfo& ItemInfo, TCustomImageList* Images,
                                        int ImageIndex)
{
    if (!Images || ImageIndex < 0 || ImageIndex >= Images->Count())
        return;
    TRect at = ARect;
    const TPoint shift = PushedImageShift(ItemInfo);
    OffsetRect(&at, shift.x, shift.y);
    HDC dc = Canvas->Handle();
    if (!ItemInfo.Enabled) {
        auto* barImages = dynamic_cast<TBarCustomImageList*>(Images);
        if (barImages && barImages->DisabledImages())
            barImages->DisabledImages()->Draw(Canvas, at.left, at.top, ImageIndex, true);
        else
            PaintImageGray(dc, at, Images, ImageIndex, 1);
        return;
    }
    const bool onHighlight = SkinCache().FlatMenusActive &&
                             (ItemIsHot(ItemInfo) || ItemInfo.Selected) &&
                             ColorIsDark(ImageUnderColor(ItemInfo), kDarkBackgroundLuminance);
    if (onHighlight)
        PaintImageContrast(dc, at, Images, ImageIndex, true);
    else
        Images->Draw(Canvas, at.left, at.top, ImageIndex, true);
}
