// The default theme: the look of the running Windows. While visual styles
// are active it paints through the theme manager's open styles; otherwise,
// or when a style is not open, it paints classic with system colours,
// DrawEdge and DrawFrameControl.
//
//   SkinDefaultTheme.cpp          palette, colours, margins, metrics, text,
//                                 check marks and images
//   SkinDefaultTheme_buttons.cpp  button faces, arrows, menu rows,
//                                 separators, popup frames, edit parts
//   SkinDefaultTheme_frames.cpp   docks, toolbar frames with their drag
//                                 handles, floating frames, check controls
//                                 and status bars
//
// Registered as "Default" and current from the start (Skin.h).
#pragma once

#include "SkinThemes.h"

class TSkinDefaultTheme : public TSkinTheme
{
public:
    // Listens to the system and reads its colours.
    explicit TSkinDefaultTheme(const AnsiString& Name);
    ~TSkinDefaultTheme() override;

    // A settings change (WM_SKIN_SYSCHANGE, WParam 2) reads the colours
    // again.
    void Dispatch(TMessage& message) override;
    // Reads the toolbar, toolbar text, panel and status-bar colours.
    virtual void RebuildPalette();

    TColor ToolbarColor() const { return FToolbarColor; }
    TColor ToolbarTextColor() const { return FToolbarTextColor; }
    TColor PanelColor() const { return FPanelColor; }
    TColor StatusBarColor() const { return FStatusBarColor; }

    TPoint PushedImageShift(const TSkinItemInfo& ItemInfo) override;
    TColor ItemFillColor(const TSkinItemInfo& ItemInfo) override;
    TColor ItemInkColor(const TSkinItemInfo& ItemInfo) override;
    TColor ImageUnderColor(const TSkinItemInfo& ItemInfo) override;
    void PaddingForPart(int Kind, TSkinMargins& Margins) override;
    int MenuDropShadowStyle() override;
    void ViewEdgeWidth(DWORD ViewKindBits, SIZE& Size) override;
    TColor ViewFillColor(DWORD ViewKindBits) override;
    void ViewPadding(DWORD ViewKindBits, TSkinMargins& Margins) override;
    void DrawViewBack(TCanvas* Canvas, const TRect& ARect, const TRect& AClipRect, TColor Color,
                      bool Transparent, DWORD ViewKindBits) override;
    void DrawButtonFace(TCanvas* Canvas, const TRect& ARect,
                        const TSkinItemInfo& ItemInfo) override;
    void DrawItemText(TCanvas* Canvas, TRect& ARect, const TSkinItemInfo& ItemInfo,
                      const WideString& Text, UINT Format, bool Rotated) override;
    void DrawTickGlyph(TCanvas* Canvas, const TRect& ARect, const TSkinItemInfo& ItemInfo) override;
    void DrawOverflowArrow(TCanvas* Canvas, const TRect& ARect,
                           const TSkinItemInfo& ItemInfo) override;
    void DrawEditField(TCanvas* Canvas, const TRect& ARect, const TSkinItemInfo& ItemInfo) override;
    void DrawEditSpinParts(TCanvas* Canvas, const TRect& ARect, const TSkinItemInfo& ItemInfo,
                           const TSkinEditButtonsInfo& Buttons) override;
    void DrawDockArea(TCanvas* Canvas, const TRect& ARect, int DockPosition) override;
    void DrawDockPanelEdge(TCanvas* Canvas, const TRect& ARect,
                           const TSkinFloatFrameInfo& FrameInfo) override;
    void DrawDropArrow(TCanvas* Canvas, const TRect& ARect, const TSkinItemInfo& ItemInfo) override;
    void DrawFloatFrame(TCanvas* Canvas, const TRect& ARect,
                        const TSkinFloatFrameInfo& FrameInfo) override;
    void DrawItemEdge(TCanvas* Canvas, const TRect& ARect, const TSkinItemInfo& ItemInfo) override;
    void DrawItemPicture(TCanvas* Canvas, const TRect& ARect, const TSkinItemInfo& ItemInfo,
                         TCustomImageList* Images, int ImageIndex) override;
    void DrawChildWindowButton(TCanvas* Canvas, const TRect& ARect, TSkinChildButton Button,
                               bool Pushed, bool Hot) override;
    void DrawMenuEntry(TCanvas* Canvas, const TRect& ARect, const TSkinItemInfo& ItemInfo) override;
    void DrawMenuEntryHot(TCanvas* Canvas, const TRect& ARect,
                          const TSkinItemInfo& ItemInfo) override;
    void DrawScrollArrowButton(TCanvas* Canvas, const TRect& ARect, int Direction,
                               bool Pushed) override;
    void DrawPopupEdge(TCanvas* Canvas, const TRect& ARect, const TRect& OpenerRect,
                       DWORD ViewKindBits) override;
    void DrawDivider(TCanvas* Canvas, const TRect& ARect, const TSkinItemInfo& ItemInfo,
                     bool Horizontal, bool LineSeparator) override;
    void DrawBarEdge(TCanvas* Canvas, const TRect& ARect, const TSkinBarInfo& ToolbarInfo) override;
    void DrawCheckGlyph(TCanvas* Canvas, const TRect& ARect, DWORD State, int Kind) override;
    void DrawStatusPane(TCanvas* Canvas, const TRect& ARect, TSkinStatusPart Part) override;
    int IntegerMetric(int Index) override;
    bool FlagMetric(int Index) override;

private:
    // Draws a part of an active style; false (nothing drawn) when the style
    // is not active or the call fails.
    static bool DrawStylePart(TSkinStyleClass style, HDC dc, int part, int state, const TRect& r);
    static bool StyleOn(TSkinStyleClass style) { return ActiveStyle(style) != nullptr; }
    static bool VisualStyles() { return SkinCache().VisualStylesActive; }
    // A one-bit glyph (SkinUtils' TBitPattern) in color, or embossed
    // (clBtnHighlight one pixel right and down, then clBtnShadow) when not
    // enabled.
    static void PaintGlyph(HDC dc, const TRect& r, int width, int height, const WORD (&pattern)[8],
                           bool enabled, TColor color);

    void DrawStyledButtonFace(HDC dc, const TRect& r, const TSkinItemInfo& info);
    void DrawClassicButtonFace(TCanvas* canvas, const TRect& r, const TSkinItemInfo& info);
    void DrawGrip(HDC dc, const TRect& handle, const TSkinBarInfo& info, int closeLength);
    void DrawBarCloseButton(HDC dc, const TRect& square, DWORD state);
    void DrawClassicFloatFrame(HDC dc, const TRect& r, const TSkinFloatFrameInfo& info);
    void DrawStyledFloatFrame(HDC dc, const TRect& r, const TSkinFloatFrameInfo& info);

    TColor FToolbarColor = clBtnFace;
    TColor FToolbarTextColor = clBtnText;
    TColor FPanelColor = clBtnFace;
    TColor FStatusBarColor = clBtnFace;
};
