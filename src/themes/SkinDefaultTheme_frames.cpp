// The default theme's docks, toolbar frames with their drag handles,
// floating frames, check controls and status bars.
#include "SkinDefaultTheme.h"

#include "SkinUtils.h"
#include "SkinUxThemes.h"

#include "toolbar/BarDock.h"

#include "classlib/Graphics.h"

#include <algorithm>

namespace {

// Parts of the styles.
constexpr int kRebarBackgroundPart = 0;
constexpr int kRebarGripperPart = 1;         // a bar along a horizontal dock's handle
constexpr int kRebarGripperVerticalPart = 2; // along a vertical dock's handle
constexpr int kToolbarButtonPart = 1;
constexpr int kWindowSmallCaptionPart = 2;
constexpr int kWindowSmallFrameLeftPart = 10;
constexpr int kWindowSmallFrameRightPart = 11;
constexpr int kWindowSmallFrameBottomPart = 12;
constexpr int kWindowSmallCloseButtonPart = 19;
constexpr int kButtonRadioPart = 2;
constexpr int kButtonCheckBoxPart = 3;

// The close button's cross.
const TBitPattern kCloseCross = {0x00, 0xCC, 0x78, 0x30, 0x78, 0xCC, 0x00};

bool GradientCaptions()
{
    BOOL on = FALSE;
    return SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &on, 0) && on;
}

// The check mark of a flat check box, centred at (cx, cy).
void PaintFlatTick(HDC dc, LONG cx, LONG cy, TColor color)
{
    const POINT tick[6] = {{cx - 3, cy - 1}, {cx - 1, cy + 1}, {cx + 3, cy - 3},
                           {cx + 3, cy - 1}, {cx - 1, cy + 3}, {cx - 3, cy + 1}};
    PolygonColor(dc, tick, 6, color, color);
}

} // namespace

// --- Docks and toolbar frames ----------------------------------------------------------------

void TSkinDefaultTheme::DrawDockArea(TCanvas* Canvas, const TRect& ARect, int DockPosition)
{
    TRect area = ARect;
    if (DockPosition == 3 || DockPosition == 4)
        ++area.bottom;
    DrawStylePart(TSkinStyleClass::Rebar, Canvas->Handle(), kRebarBackgroundPart, 0, area);
}

void TSkinDefaultTheme::DrawBarEdge(TCanvas* Canvas, const TRect& ARect,
                                    const TSkinBarInfo& ToolbarInfo)
{
    Canvas->FillRect(ARect);
    HDC dc = Canvas->Handle();
    TRect inside = ARect;
    if (ToolbarInfo.BorderStyle == 1) {
        if (VisualStyles())
            Frame3DColors(dc, inside, AdjustColor(ToolbarInfo.EffectiveColor, 24), true,
                          AdjustColor(ToolbarInfo.EffectiveColor, -32));
        else
            DrawEdge(dc, &inside, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    }
    if (!ToolbarInfo.AllowDrag)
        return;
    const bool closeShown = ToolbarInfo.CloseButtonState & scbShown;
    const int grip =
        DragHandleWidth(static_cast<TBarDragHandleStyle>(ToolbarInfo.DragHandleStyle), closeShown);
    if (grip <= 0)
        return;
    // The handle runs along the leading edge; the close button sits at its
    // start in a horizontal dock and at its end in a vertical one, where the
    // dockable window's hit test finds it.
    const bool vertical = ToolbarInfo.DockedVertically;
    const TRect handle = vertical
                             ? TRect(inside.left, inside.top, inside.right, inside.top + grip)
                             : TRect(inside.left, inside.top, inside.left + grip, inside.bottom);
    DrawGrip(dc, handle, ToolbarInfo, closeShown ? grip : 0);
    if (closeShown) {
        const TRect square =
            vertical ? TRect(handle.right - grip, handle.top, handle.right, handle.bottom)
                     : TRect(handle.left, handle.top, handle.right, handle.top + grip);
        DrawBarCloseButton(dc, square, ToolbarInfo.CloseButtonState);
    }
}

void TSkinDefaultTheme::DrawGrip(HDC dc, const TRect& handle, const TSkinBarInfo& info,
                                 int closeLength)
{
    const int style = info.DragHandleStyle;
    if (style == kDragHandleNone)
        return;
    const bool vertical = info.DockedVertically;
    // The handle less the close button.
    TRect free = handle;
    if (vertical)
        free.right -= closeLength;
    else
        free.top += closeLength;
    if (StyleOn(TSkinStyleClass::Rebar)) {
        const int across = 6;
        const int length = (vertical ? free.Width() : free.Height()) / 4 * 4;
        TRect gripper;
        if (vertical) {
            const LONG left = free.left + (free.Width() - length) / 2;
            const LONG top = free.top + (free.Height() - across) / 2;
            gripper = TRect(left, top, left + length, top + across);
        } else {
            const LONG left = free.left + (free.Width() - across) / 2;
            const LONG top = free.top + (free.Height() - length) / 2;
            gripper = TRect(left, top, left + across, top + length);
        }
        DrawStylePart(TSkinStyleClass::Rebar, dc,
                      vertical ? kRebarGripperVerticalPart : kRebarGripperPart, 1, gripper);
        return;
    }
    static constexpr int kOffset[2][3] = {{2, 0, 2}, {3, 0, 5}};
    const int offset = kOffset[closeLength > 0 ? 1 : 0][std::clamp(style, 0, 2)];
    const int bars = style == kDragHandleDouble ? 2 : 1;
    for (int i = 0; i < bars; ++i) {
        const int at = offset + 3 * i;
        const TRect bar = vertical
                              ? TRect(free.left, free.top + at, free.right, free.top + at + 3)
                              : TRect(free.left + at, free.top, free.left + at + 3, free.bottom);
        DrawEdgeAt(dc, bar, BDR_RAISEDINNER, BF_RECT);
    }
}

void TSkinDefaultTheme::DrawBarCloseButton(HDC dc, const TRect& square, DWORD state)
{
    const bool pushed = state & scbPushed, hot = state & scbHot;
    const bool styled = StyleOn(TSkinStyleClass::Toolbar);
    const TRect button = InsetRect(square, styled ? 1 : 2);
    if (styled)
        DrawStylePart(TSkinStyleClass::Toolbar, dc, kToolbarButtonPart,
                      pushed ? 3
                      : hot  ? 2
                             : 1,
                      button);
    else if (pushed)
        DrawEdgeAt(dc, button, BDR_SUNKENOUTER, BF_RECT);
    else if (hot)
        DrawEdgeAt(dc, button, BDR_RAISEDINNER, BF_RECT);
    TRect glyph = button;
    if (pushed)
        OffsetRect(&glyph, 1, 1);
    PaintBitPattern(dc, glyph, 7, 7, clBtnText, kCloseCross);
}

// --- Floating frames ---------------------------------------------------------------------------

void TSkinDefaultTheme::DrawFloatFrame(TCanvas* Canvas, const TRect& ARect,
                                       const TSkinFloatFrameInfo& FrameInfo)
{
    HDC dc = Canvas->Handle();
    if (StyleOn(TSkinStyleClass::Window))
        DrawStyledFloatFrame(dc, ARect, FrameInfo);
    else
        DrawClassicFloatFrame(dc, ARect, FrameInfo);
}

void TSkinDefaultTheme::DrawDockPanelEdge(TCanvas* Canvas, const TRect& ARect,
                                          const TSkinFloatFrameInfo& FrameInfo)
{
    DrawFloatFrame(Canvas, ARect, FrameInfo);
}

void TSkinDefaultTheme::DrawClassicFloatFrame(HDC dc, const TRect& r,
                                              const TSkinFloatFrameInfo& info)
{
    if (info.RedrawParts & sfpFrame) {
        const TSavedDCState saved(dc);
        const TRect inner(r.left + info.BorderSize.cx, r.top + info.BorderSize.cy,
                          r.right - info.BorderSize.cx, r.bottom - info.BorderSize.cy);
        ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
        DrawEdgeAt(dc, r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
    if (!info.CaptionShown)
        return;
    const bool closeShown = info.CloseButtonState & scbShown;
    const bool gradient = GradientCaptions();
    if (info.RedrawParts & sfpCaption) {
        const TRect caption =
            FloatingCaptionRect(r, info.BorderSize, info.CaptionHeight, closeShown);
        {
            const TSavedDCState saved(dc);
            IntersectClipRect(dc, caption.left, caption.top, caption.right, caption.bottom);
            DrawCaption(info.FrameWindow, dc, &caption,
                        DC_SMALLCAP | DC_TEXT | (info.Active ? DC_ACTIVE : 0) |
                            (gradient ? DC_GRADIENT : 0));
        }
        LineInColor(dc, caption.left, caption.bottom, r.right - info.BorderSize.cx, caption.bottom,
                    clBtnFace);
    }
    if (closeShown && (info.RedrawParts & sfpCloseButton)) {
        const TRect square = FloatingCloseButtonRect(r, info.BorderSize, info.CaptionHeight);
        int background = info.Active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION;
        if (gradient)
            background = info.Active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION;
        FillRectColor(dc, square, SystemColor(background));
        TRect button = InsetRect(square, 2);
        DrawFrameControl(dc, &button, DFC_CAPTION,
                         DFCS_CAPTIONCLOSE |
                             ((info.CloseButtonState & scbPushed) ? DFCS_PUSHED : 0));
    }
}

void TSkinDefaultTheme::DrawStyledFloatFrame(HDC dc, const TRect& r,
                                             const TSkinFloatFrameInfo& info)
{
    const int state = info.Active ? 1 : 2;
    const SIZE border = info.BorderSize;
    const LONG captionBottom =
        r.top + border.cy + (info.CaptionShown ? GetSystemMetrics(SM_CYSMCAPTION) : 0);
    const bool closeShown = info.CaptionShown && (info.CloseButtonState & scbShown);
    if (info.RedrawParts & sfpFrame) {
        DrawStylePart(TSkinStyleClass::Window, dc, kWindowSmallFrameBottomPart, state,
                      TRect(r.left, r.bottom - border.cy, r.right, r.bottom));
        DrawStylePart(TSkinStyleClass::Window, dc, kWindowSmallFrameLeftPart, state,
                      TRect(r.left, captionBottom, r.left + border.cx, r.bottom - border.cy));
        DrawStylePart(TSkinStyleClass::Window, dc, kWindowSmallFrameRightPart, state,
                      TRect(r.right - border.cx, captionBottom, r.right, r.bottom - border.cy));
    }
    if (info.RedrawParts & (sfpFrame | sfpCaption)) {
        DrawStylePart(TSkinStyleClass::Window, dc, kWindowSmallCaptionPart, state,
                      TRect(r.left, r.top, r.right, captionBottom));
        if (info.CaptionShown && !info.Caption.empty()) {
            TRect text = FloatingCaptionRect(r, border, info.CaptionHeight, closeShown);
            text.left += 2;
            const TSavedDCState saved(dc);
            if (HFONT font = SkinSmallCaptionFont())
                SelectObject(dc, font);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc,
                         GetSysColor(info.Active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
            DrawTextW(dc, info.Caption.c_str(), static_cast<int>(info.Caption.size()), &text,
                      DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        }
    }
    if (closeShown && (info.RedrawParts & (sfpCaption | sfpCloseButton))) {
        const DWORD close = info.CloseButtonState;
        DrawStylePart(TSkinStyleClass::Window, dc, kWindowSmallCloseButtonPart,
                      (close & scbPushed) ? 3
                      : (close & scbHot)  ? 2
                                          : 1,
                      InsetRect(FloatingCloseButtonRect(r, border, info.CaptionHeight), 1));
    }
}

// --- Check controls ----------------------------------------------------------------------------

void TSkinDefaultTheme::DrawCheckGlyph(TCanvas* Canvas, const TRect& ARect, DWORD State, int Kind)
{
    HDC dc = Canvas->Handle();
    const bool checkBox = Kind == kSkinCheckBox;
    const bool checked = State & scsChecked, mixed = checkBox && (State & scsMixed);
    const bool disabled = State & scsDisabled, hot = State & scsHot, pushed = State & scsPushed;

    int state = mixed ? 9 : checked ? 5 : 1;
    state += disabled ? 3 : pushed ? 2 : hot ? 1 : 0;
    if (DrawStylePart(TSkinStyleClass::Button, dc,
                      checkBox ? kButtonCheckBoxPart : kButtonRadioPart, state, ARect))
        return;

    if (!disabled && (hot || pushed)) {
        UINT flags = checkBox ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO;
        if (mixed)
            flags |= DFCS_BUTTON3STATE | DFCS_CHECKED;
        else if (checked)
            flags |= DFCS_CHECKED;
        if (pushed)
            flags |= DFCS_PUSHED;
        TRect box = ARect;
        DrawFrameControl(dc, &box, DFC_BUTTON, flags);
        return;
    }
    const TColor fill = (disabled || pushed) ? clBtnFace : clWindow;
    const TColor mark = disabled ? clGrayText : mixed ? clBtnShadow : clBtnText;
    const LONG cx = (ARect.left + ARect.right) / 2, cy = (ARect.top + ARect.bottom) / 2;
    if (checkBox) {
        TRect box = ARect;
        FrameRectColor(dc, box, clBtnShadow, true);
        if (mixed && fill == clWindow)
            FillRectDithered(dc, box, clWindow, clBtnFace);
        else
            FillRectColor(dc, box, fill);
        if (checked || mixed)
            PaintFlatTick(dc, cx, cy, mark);
        return;
    }
    // A round rectangle with corners of its whole size is the circle.
    RoundRectColor(dc, ARect, clBtnShadow, fill, ARect.Width(), ARect.Height());
    if (checked) {
        const TRect dot = InsetRect(ARect, 3);
        RoundRectColor(dc, dot, mark, mark, dot.Width(), dot.Height());
    }
}

// --- Status bars --------------------------------------------------------------------------------

void TSkinDefaultTheme::DrawStatusPane(TCanvas* Canvas, const TRect& ARect, TSkinStatusPart Part)
{
    HDC dc = Canvas->Handle();
    if (DrawStylePart(TSkinStyleClass::Status, dc, static_cast<int>(Part), 0, ARect))
        return;
    switch (Part) {
    case TSkinStatusPart::Background:
        FillRectColor(dc, ARect, StatusBarColor());
        return;
    case TSkinStatusPart::Pane:
    case TSkinStatusPart::LastPane: {
        TRect pane = ARect;
        if (Part == TSkinStatusPart::Pane)
            pane.right -= 2;
        DrawEdgeAt(dc, pane, BDR_SUNKENOUTER, BF_RECT);
        return;
    }
    case TSkinStatusPart::SizeGrip: {
        // Diagonal ridges from the bottom-right corner: one light line and
        // two shadow lines each.
        const int ridges = std::min(ARect.Width(), ARect.Height()) / 4;
        for (int ridge = 0; ridge < ridges; ++ridge)
            for (int line = 0; line < 3; ++line) {
                const int d = 4 * ridge + line + 1;
                LineInColor(dc, ARect.right - d, ARect.bottom - 1, ARect.right,
                            ARect.bottom - 1 - d, line == 0 ? clBtnHighlight : clBtnShadow);
            }
        return;
    }
    }
}
