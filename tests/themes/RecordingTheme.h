// A theme for tests that paints nothing and writes down every drawing call
// with its item record, rectangle and arguments; its metrics, margins,
// border, colours and shadow kind are what the test sets beforehand.
#pragma once

#include "themes/Skin.h"

#include <map>
#include <string>
#include <vector>

namespace theme_testing {

struct ThemeCall
{
    std::string Slot; // the operation's name ("DrawButtonFace")
    TRect Rect;
    TSkinItemInfo Info = {};
    std::wstring Text; // DrawItemText
    UINT Format = 0;   // DrawItemText
    // DrawItemText: rotated; DrawDivider: horizontal; DrawScrollArrowButton:
    // pushed.
    bool Flag = false;
    bool LineSeparator = false; // DrawDivider
    // DrawScrollArrowButton: the direction; DrawItemPicture: the image
    // index; DrawPopupEdge, DrawViewBack: the view type.
    int Number = 0;
    TRect OpenerRect; // DrawPopupEdge
    TColor Color = 0; // DrawItemText: the font's colour; DrawViewBack: the fill
    int FontSize = 0; // DrawItemText: points
    TFontStyles FontStyle = 0;
    TSkinBarInfo Bar = {};                       // DrawBarEdge
    DWORD CloseButtonState = 0, RedrawParts = 0; // DrawFloatFrame
    TSkinEditButtonsInfo Buttons;                // DrawEditSpinParts
};

// What the recording theme answers; a test changes it before it makes the
// theme current, and every test starts from these values.
struct RecordingAnswers
{
    std::map<int, int> Metrics = {{10, 13}, {20, 9}, {32, 1}, {33, 2}, {34, 3}, {50, 5}};
    TSkinMargins MenuMargins = {1, 2, 3, 4};
    SIZE PopupEdge = {5, 5};
    int ShadowStyle = 0;
    TColor Ink = 0x00123456;
    TColor ViewColor = 0x00654321;
    std::map<int, bool> Flags; // FlagMetric; false when absent
};
RecordingAnswers& RecordingThemeAnswers();

class TRecordingTheme : public TSkinTheme
{
public:
    using TSkinTheme::TSkinTheme;

    std::vector<ThemeCall> Calls;
    // The calls of one operation, in order.
    std::vector<ThemeCall> Of(const std::string& slot) const;
    // The operations called, in order.
    std::vector<std::string> Slots() const;

    TPoint PushedImageShift(const TSkinItemInfo&) override { return TPoint(0, 0); }
    TColor ItemFillColor(const TSkinItemInfo&) override
    {
        return RecordingThemeAnswers().ViewColor;
    }
    TColor ItemInkColor(const TSkinItemInfo&) override { return RecordingThemeAnswers().Ink; }
    TColor ImageUnderColor(const TSkinItemInfo&) override
    {
        return RecordingThemeAnswers().ViewColor;
    }
    void PaddingForPart(int Kind, TSkinMargins& Margins) override;
    int MenuDropShadowStyle() override { return RecordingThemeAnswers().ShadowStyle; }
    void ViewEdgeWidth(DWORD ViewKindBits, SIZE& Size) override;
    TColor ViewFillColor(DWORD) override { return RecordingThemeAnswers().ViewColor; }
    void ViewPadding(DWORD, TSkinMargins& Margins) override { Margins = {}; }
    void DrawViewBack(TCanvas* Canvas, const TRect& ARect, const TRect& AClipRect, TColor Color,
                      bool Transparent, DWORD ViewKindBits) override;
    void DrawButtonFace(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo) override;
    void DrawItemText(TCanvas* Canvas, TRect& ARect, const TSkinItemInfo& ItemInfo,
                      const WideString& Text, UINT Format, bool Rotated) override;
    void DrawTickGlyph(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo) override;
    void DrawOverflowArrow(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo) override;
    void DrawEditField(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo) override;
    void DrawEditSpinParts(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo,
                           const TSkinEditButtonsInfo&) override;
    void DrawDockArea(TCanvas*, const TRect& ARect, int DockPosition) override;
    void DrawDockPanelEdge(TCanvas*, const TRect& ARect, const TSkinFloatFrameInfo&) override;
    void DrawDropArrow(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo) override;
    void DrawFloatFrame(TCanvas*, const TRect& ARect, const TSkinFloatFrameInfo&) override;
    void DrawItemEdge(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo) override;
    void DrawItemPicture(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo,
                         TCustomImageList*, int ImageIndex) override;
    void DrawChildWindowButton(TCanvas*, const TRect& ARect, TSkinChildButton, bool, bool) override;
    void DrawMenuEntry(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo) override;
    void DrawMenuEntryHot(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo) override;
    void DrawScrollArrowButton(TCanvas*, const TRect& ARect, int Direction, bool Pushed) override;
    void DrawPopupEdge(TCanvas*, const TRect& ARect, const TRect& OpenerRect,
                       DWORD ViewKindBits) override;
    void DrawDivider(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo, bool Horizontal,
                     bool LineSeparator) override;
    void DrawBarEdge(TCanvas*, const TRect& ARect, const TSkinBarInfo&) override;
    void DrawCheckGlyph(TCanvas*, const TRect& ARect, DWORD, int) override;
    void DrawStatusPane(TCanvas*, const TRect& ARect, TSkinStatusPart) override;
    int IntegerMetric(int Index) override;
    bool FlagMetric(int Index) override;

private:
    ThemeCall& Record(const char* slot, const TRect& r, const TSkinItemInfo* info = nullptr);
};

// Registers the recording theme (once) and makes it current; the suite's
// main makes "Default" current again before the next test.
TRecordingTheme* UseRecordingTheme();
// The answers back to their defaults.
void ResetRecordingThemeAnswers();

} // namespace theme_testing
