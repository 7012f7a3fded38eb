// The default theme's buttons, arrows, menu rows, separators, popup frames
// and edit parts.
#include "SkinDefaultTheme.h"

#include "SkinUtils.h"
#include "SkinUxThemes.h"

#include "classlib/Graphics.h"

namespace {

constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);

// Parts of the toolbar style.
constexpr int kToolbarButtonPart = 1;
constexpr int kToolbarSeparatorPart = 5;     // a line across a horizontal bar
constexpr int kToolbarLineSeparatorPart = 6; // a line along
// Parts of the other styles.
constexpr int kComboBoxPart = 0;
constexpr int kComboBoxDropDownPart = 1;
constexpr int kSpinUpPart = 1;
constexpr int kSpinDownPart = 2;
constexpr int kWindowMdiMinimizePart = 16;
constexpr int kWindowMdiClosePart = 20;
constexpr int kWindowMdiRestorePart = 22;

// Glyphs (rows of TBitPattern).
const TBitPattern kChevronAcross = {0xCC, 0x66, 0x33, 0x66, 0xCC};
const TBitPattern kChevronDown = {0x88, 0xD8, 0x70, 0x20, 0x88, 0xD8, 0x70, 0x20};
const TBitPattern kArrowDown = {0xF8, 0x70, 0x20};
const TBitPattern kArrowUp = {0x20, 0x70, 0xF8};
const TBitPattern kArrowLeft = {0x20, 0x60, 0xE0, 0x60, 0x20};
const TBitPattern kArrowRight = {0x80, 0xC0, 0xE0, 0xC0, 0x80};
const TBitPattern kSubmenuArrow = {0x80, 0xC0, 0xE0, 0xF0, 0xE0, 0xC0, 0x80};

// The state of a pushed, hot or disabled part in the common numbering
// (1 normal, 2 hot, 3 pushed, 4 disabled).
int PartState(DWORD flags)
{
    if (flags & sebDisabled)
        return 4;
    if (flags & sebPushed)
        return 3;
    return (flags & sebHot) ? 2 : 1;
}

UINT FrameControlFlags(DWORD flags)
{
    return ((flags & sebPushed) ? DFCS_PUSHED : 0) | ((flags & sebDisabled) ? DFCS_INACTIVE : 0);
}

} // namespace

// --- Button faces ----------------------------------------------------------------------------

void TSkinDefaultTheme::DrawButtonFace(TCanvas* Canvas, const TRect& ARect,
                                       const TSkinItemInfo& ItemInfo)
{
    HDC dc = Canvas->Handle();
    if ((ItemInfo.ItemOptions & sioToolbarStyle) && StyleOn(TSkinStyleClass::Toolbar)) {
        DrawStyledButtonFace(dc, ARect, ItemInfo);
        return;
    }
    if (IsMenuBarView(ItemInfo.ViewKindBits) && SkinCache().FlatMenusActive) {
        if (ItemInfo.Enabled && (ItemIsHot(ItemInfo) || ItemInfo.Pushed || ItemInfo.Selected))
            FillRectColor(dc, ARect, clHighlight);
        return;
    }
    DrawClassicButtonFace(Canvas, ARect, ItemInfo);
}

void TSkinDefaultTheme::DrawStyledButtonFace(HDC dc, const TRect& r, const TSkinItemInfo& info)
{
    static constexpr int kPartOfKind[4] = {1, 2, 3, 4};
    const int part = kPartOfKind[info.ButtonPartKind & 3];
    const bool hot = ItemIsHot(info);
    int state = 1;
    if (!info.Enabled)
        state = info.HotState == kSkinKeyboardHot ? 2 : 4;
    else if (info.Pushed)
        state = 3;
    else if (info.Selected)
        state = hot ? 6 : 5;
    else if (hot)
        state = 2;
    TRect face = r;
    if (info.ButtonPartKind == kSkinSplitArrow)
        --face.left;
    const bool designing = info.ItemOptions & sioDesigning;
    const TVisualStyleEntryPoints& ux = VisualStyleEntryPoints();
    HRGN region = nullptr;
    if (((info.ViewKindBits & vkOpaque) || designing) && ux.GetThemeBackgroundRegion &&
        ux.GetThemeBackgroundRegion(ActiveStyle(TSkinStyleClass::Toolbar), dc, part, state, &face,
                                    &region) == S_OK &&
        region) {
        const TOwnedGdiObject outline(region);
        if (!designing) {
            const TOwnedGdiObject fill(BrushForColor(ToolbarColor()));
            FillRgn(dc, region, static_cast<HBRUSH>(fill.Handle()));
        }
        const TOwnedGdiObject frame(BrushForColor(clBtnShadow));
        FrameRgn(dc, region, static_cast<HBRUSH>(frame.Handle()), 1, 1);
    }
    DrawStylePart(TSkinStyleClass::Toolbar, dc, part, state, face);
}

void TSkinDefaultTheme::DrawClassicButtonFace(TCanvas* canvas, const TRect& r,
                                              const TSkinItemInfo& info)
{
    HDC dc = canvas->Handle();
    const bool hot = ItemIsHot(info), pushed = info.Pushed, checked = info.Selected;
    const bool splitArrow = info.ButtonPartKind == kSkinSplitArrow;
    TRect face = r;
    if (splitArrow)
        face.left += 2;
    if (SkinCache().FlatMenusActive && (pushed || checked || hot))
        FillRectColor(dc, face, ToolbarColor());
    if (info.ViewKindBits & vkOpaque) {
        const bool plainHot = hot && !pushed && !checked;
        TRect inside = face;
        DrawEdge(dc, &inside, EDGE_RAISED,
                 BF_RECT | BF_MIDDLE | BF_ADJUST | (plainHot ? BF_FLAT : 0));
        if (checked && !hot)
            FillRectDithered(dc, inside, ToolbarColor(), clBtnHighlight);
    }
    if (pushed || checked) {
        DrawEdgeAt(dc, face, BDR_SUNKENOUTER, BF_RECT);
        if (checked && !pushed && !hot)
            FillRectDithered(dc, InsetRect(face, 1), ToolbarColor(), clBtnHighlight);
    } else if (hot || (info.ItemOptions & sioDesigning)) {
        DrawEdgeAt(dc, face, BDR_RAISEDINNER, BF_RECT);
    }
    if (splitArrow)
        DrawDropArrow(canvas, face, info);
}

// --- Arrows ------------------------------------------------------------------------------------

void TSkinDefaultTheme::DrawOverflowArrow(TCanvas* Canvas, const TRect& ARect,
                                          const TSkinItemInfo& ItemInfo)
{
    DrawButtonFace(Canvas, ARect, ItemInfo);
    TRect at;
    int width, height;
    const WORD(*pattern)[8];
    if (ItemInfo.InVerticalBar) {
        width = 5, height = 8, pattern = &kChevronDown;
        at = TRect(ARect.right - 4 - width, ARect.top, ARect.right - 4, ARect.bottom);
    } else {
        width = 8, height = 5, pattern = &kChevronAcross;
        at = TRect(ARect.left, ARect.top + 4, ARect.right, ARect.top + 4 + height);
    }
    if (ItemInfo.Pushed)
        OffsetRect(&at, 1, 1);
    PaintGlyph(Canvas->Handle(), at, width, height, *pattern, ItemInfo.Enabled, clBtnText);
}

void TSkinDefaultTheme::DrawDropArrow(TCanvas* Canvas, const TRect& ARect,
                                      const TSkinItemInfo& ItemInfo)
{
    TRect at = ARect;
    if ((ItemInfo.Pushed || ItemInfo.Selected) && ItemInfo.ButtonPartKind != kSkinSplitArrow)
        OffsetRect(&at, 1, 1);
    const TColor color =
        (ItemInfo.ItemOptions & sioHasSubmenu) ? SkinCache().PopupMenuTextColor : clBtnText;
    PaintGlyph(Canvas->Handle(), at, 5, 3, kArrowDown, ItemInfo.Enabled, color);
}

void TSkinDefaultTheme::DrawScrollArrowButton(TCanvas* Canvas, const TRect& ARect, int Direction,
                                              bool Pushed)
{
    HDC dc = Canvas->Handle();
    if (Direction < 0 || Direction > 3)
        return;
    if (DrawStylePart(TSkinStyleClass::Toolbar, dc, kToolbarButtonPart, Pushed ? 3 : 2, ARect)) {
        // The style's button face has no arrow of its own.
        static const WORD(*const kArrows[4])[8] = {&kArrowUp, &kArrowDown, &kArrowLeft,
                                                   &kArrowRight};
        const bool across = Direction < 2;
        TRect at = ARect;
        if (Pushed)
            OffsetRect(&at, 1, 1);
        PaintGlyph(dc, at, across ? 5 : 3, across ? 3 : 5, *kArrows[Direction], true, clBtnText);
        return;
    }
    static constexpr UINT kScroll[4] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT,
                                        DFCS_SCROLLRIGHT};
    TRect button = ARect;
    DrawFrameControl(dc, &button, DFC_SCROLL, kScroll[Direction] | (Pushed ? DFCS_PUSHED : 0));
}

void TSkinDefaultTheme::DrawChildWindowButton(TCanvas* Canvas, const TRect& ARect,
                                              TSkinChildButton Button, bool Pushed, bool Hot)
{
    HDC dc = Canvas->Handle();
    const int index = static_cast<int>(Button);
    static constexpr int kParts[3] = {kWindowMdiMinimizePart, kWindowMdiRestorePart,
                                      kWindowMdiClosePart};
    const int state = Pushed ? 3 : Hot ? 2 : 1;
    if (DrawStylePart(TSkinStyleClass::Window, dc, kParts[index], state, ARect))
        return;
    static constexpr UINT kCaption[3] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
    TRect button = ARect;
    DrawFrameControl(dc, &button, DFC_CAPTION, kCaption[index] | (Pushed ? DFCS_PUSHED : 0));
}

// --- Menus
// ----------------------------------------------------------------------------------------

void TSkinDefaultTheme::DrawMenuEntry(TCanvas* Canvas, const TRect& ARect,
                                      const TSkinItemInfo& ItemInfo)
{
    HDC dc = Canvas->Handle();
    const bool hot = ItemIsHot(ItemInfo);
    const bool imageColumn = ItemInfo.PictureWidth >= 1 || ItemInfo.Selected;
    const bool split = ItemInfo.ItemOptions & sioSplitButton;
    const int checkWidth = GetSystemMetrics(SM_CXMENUCHECK);
    const TRect splitPart(ARect.right - checkWidth, ARect.top, ARect.right, ARect.bottom);

    TRect highlight = ARect;
    if (imageColumn)
        highlight.left = ARect.left + ItemInfo.ImageColumnWidth;
    if (split && ItemInfo.Enabled)
        highlight.right = splitPart.left;
    DrawMenuEntryHot(Canvas, highlight, ItemInfo);

    if (split) {
        if (hot && ItemInfo.Enabled)
            DrawEdgeAt(dc, splitPart, BDR_SUNKENOUTER, BF_RECT);
        else
            DrawEdgeAt(dc, splitPart, hot ? BDR_SUNKENOUTER : EDGE_ETCHED, BF_LEFT);
    }
    if (ItemInfo.ItemOptions & sioHasSubmenu) {
        const LONG cx = ARect.right - checkWidth * 2 / 3;
        const bool embossed = !ItemInfo.Enabled && ItemInfo.HotState != kSkinKeyboardHot;
        PaintGlyph(dc, TRect(cx - 2, ARect.top, cx + 2, ARect.bottom), 4, 7, kSubmenuArrow,
                   !embossed, ItemInkColor(ItemInfo));
    }
    if (imageColumn && ItemInfo.Enabled && (hot || ItemInfo.Selected)) {
        const TRect column(ARect.left, ARect.top, ARect.left + ItemInfo.ImageColumnWidth,
                           ARect.bottom);
        if (SkinCache().FlatMenusActive)
            FillRectColor(dc, column, ImageUnderColor(ItemInfo));
        DrawButtonFace(Canvas, column, ItemInfo);
    }
}

void TSkinDefaultTheme::DrawMenuEntryHot(TCanvas* Canvas, const TRect& ARect,
                                         const TSkinItemInfo& ItemInfo)
{
    if (ItemIsHot(ItemInfo))
        FillRectColor(Canvas->Handle(), ARect, clHighlight);
}

void TSkinDefaultTheme::DrawDivider(TCanvas* Canvas, const TRect& ARect,
                                    const TSkinItemInfo& ItemInfo, bool Horizontal,
                                    bool LineSeparator)
{
    if (!ItemInfo.Enabled)
        return;
    HDC dc = Canvas->Handle();
    if (PopupKindOf(ItemInfo.ViewKindBits) != vkPopupMenu &&
        DrawStylePart(TSkinStyleClass::Toolbar, dc,
                      LineSeparator ? kToolbarLineSeparatorPart : kToolbarSeparatorPart, 1, ARect))
        return;
    int indent = 0;
    if (LineSeparator && !(ItemInfo.ItemOptions & sioToolbarStyle))
        indent = 12;
    else if (Horizontal)
        indent = (ItemInfo.ViewKindBits & vkFloating) ? 1 : 4;
    TRect line = ARect;
    if (LineSeparator) {
        line.top = (ARect.top + ARect.bottom) / 2;
        line.left += indent;
        line.right -= indent;
        DrawEdgeAt(dc, line, EDGE_ETCHED, BF_TOP);
    } else {
        line.left = (ARect.left + ARect.right) / 2;
        line.top += indent;
        line.bottom -= indent;
        DrawEdgeAt(dc, line, EDGE_ETCHED, BF_LEFT);
    }
}

void TSkinDefaultTheme::DrawPopupEdge(TCanvas* Canvas, const TRect& ARect, const TRect& OpenerRect,
                                      DWORD ViewKindBits)
{
    HDC dc = Canvas->Handle();
    TRect frame = ARect;
    const DWORD kind = PopupKindOf(ViewKindBits);
    if (kind == vkListPopup) {
        FrameRectColor(dc, frame, clWindowFrame, true);
        FrameRectColor(dc, frame, clWindow, true);
        FrameRectColor(dc, frame, clWindow, true);
    } else if (kind == vkPopupMenu && SkinCache().FlatMenusActive) {
        FrameRectColor(dc, frame, clBtnShadow, true);
        FrameRectColor(dc, frame, SkinCache().PopupMenuColor, true);
        FrameRectColor(dc, frame, SkinCache().PopupMenuColor, true);
    } else {
        DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT | BF_ADJUST);
        FrameRectColor(dc, frame, kind == vkEditPopup ? ToolbarColor() : SkinCache().PopupMenuColor,
                       true);
    }
}

// --- Frames of controls and edit parts -----------------------------------------------------------

void TSkinDefaultTheme::DrawItemEdge(TCanvas* Canvas, const TRect& ARect,
                                     const TSkinItemInfo& ItemInfo)
{
    HDC dc = Canvas->Handle();
    const bool active = ItemInfo.Pushed || ItemInfo.Selected || ItemIsHot(ItemInfo) ||
                        (ItemInfo.ItemOptions & sioDesigning);
    if (StyleOn(TSkinStyleClass::ComboBox)) {
        TRect frame = InsetRect(ARect, 1);
        FrameRectColor(dc, frame, clBtnShadow, false);
        if (active)
            DrawStylePart(TSkinStyleClass::ComboBox, dc, kComboBoxPart, 0, frame);
        TRect inner = InsetRect(ARect, 2);
        FrameRectColor(dc, inner, clWindow, false);
        return;
    }
    if (!(ItemInfo.ViewKindBits & vkOpaque)) {
        if (active)
            DrawEdgeAt(dc, ARect, BDR_SUNKENOUTER, BF_RECT);
        TRect frame = InsetRect(ARect, 1);
        FrameRectColor(dc, frame, ToolbarColor(), true);
        FrameRectColor(dc, frame, clWindow, false);
    } else if (active) {
        DrawEdgeAt(dc, ARect, EDGE_SUNKEN, BF_RECT);
    } else {
        DrawEdgeAt(dc, InsetRect(ARect, 1), BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
    }
}

void TSkinDefaultTheme::DrawEditField(TCanvas* Canvas, const TRect& ARect,
                                      const TSkinItemInfo& ItemInfo)
{
    HDC dc = Canvas->Handle();
    const int state = !ItemInfo.Enabled ? 4 : ItemIsHot(ItemInfo) ? 2 : 1;
    if (DrawStylePart(TSkinStyleClass::ComboBox, dc, kComboBoxPart, state, ARect))
        return;
    TRect inside = ARect;
    const bool active = ItemInfo.Enabled && (ItemIsHot(ItemInfo) || ItemInfo.Pushed);
    if (active) {
        DrawEdge(dc, &inside, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    } else {
        FrameRectColor(dc, inside, clBtnShadow, true);
        FrameRectColor(dc, inside, clBtnFace, true);
    }
    FillRectColor(dc, inside, ItemInfo.Enabled ? clWindow : clBtnFace);
}

void TSkinDefaultTheme::DrawEditSpinParts(TCanvas* Canvas, const TRect& ARect,
                                          const TSkinItemInfo& ItemInfo,
                                          const TSkinEditButtonsInfo& Buttons)
{
    HDC dc = Canvas->Handle();
    auto flagsOf = [&](int index) {
        return Buttons.Flags[index] | (ItemInfo.Enabled ? 0u : DWORD{sebDisabled});
    };
    if (Buttons.Kind == TSkinEditButtonKind::DropDown) {
        const DWORD flags = flagsOf(0);
        if (DrawStylePart(TSkinStyleClass::ComboBox, dc, kComboBoxDropDownPart, PartState(flags),
                          ARect))
            return;
        TRect button = ARect;
        DrawFrameControl(dc, &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | FrameControlFlags(flags));
        return;
    }
    const LONG middle = (ARect.top + ARect.bottom) / 2;
    const TRect halves[2] = {TRect(ARect.left, ARect.top, ARect.right, middle),
                             TRect(ARect.left, middle, ARect.right, ARect.bottom)};
    static constexpr int kParts[2] = {kSpinUpPart, kSpinDownPart};
    static constexpr UINT kScroll[2] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN};
    for (int i = 0; i < 2; ++i) {
        const DWORD flags = flagsOf(i);
        if (DrawStylePart(TSkinStyleClass::Spin, dc, kParts[i], PartState(flags), halves[i]))
            continue;
        TRect half = halves[i];
        DrawFrameControl(dc, &half, DFC_SCROLL, kScroll[i] | FrameControlFlags(flags));
    }
}
