#include "RecordingTheme.h"

#include "classlib/Graphics.h"

namespace theme_testing {

namespace {

constexpr char kRecordingThemeName[] = "Recording";

} // namespace

RecordingAnswers& RecordingThemeAnswers()
{
    static RecordingAnswers answers;
    return answers;
}

void ResetRecordingThemeAnswers()
{
    RecordingThemeAnswers() = RecordingAnswers();
}

TRecordingTheme* UseRecordingTheme()
{
    if (!ThemeIsRegistered(kRecordingThemeName))
        AddThemeClass(kRecordingThemeName, NewSkinTheme<TRecordingTheme>);
    SwitchTheme(kRecordingThemeName);
    return static_cast<TRecordingTheme*>(CurrentTheme());
}

std::vector<ThemeCall> TRecordingTheme::Of(const std::string& slot) const
{
    std::vector<ThemeCall> found;
    for (const ThemeCall& call : Calls)
        if (call.Slot == slot)
            found.push_back(call);
    return found;
}

std::vector<std::string> TRecordingTheme::Slots() const
{
    std::vector<std::string> slots;
    for (const ThemeCall& call : Calls)
        slots.push_back(call.Slot);
    return slots;
}

ThemeCall& TRecordingTheme::Record(const char* slot, const TRect& r, const TSkinItemInfo* info)
{
    ThemeCall call;
    call.Slot = slot;
    call.Rect = r;
    if (info)
        call.Info = *info;
    Calls.push_back(call);
    return Calls.back();
}

void TRecordingTheme::PaddingForPart(int Kind, TSkinMargins& Margins)
{
    Margins = Kind == 2 ? RecordingThemeAnswers().MenuMargins : TSkinMargins{};
}

void TRecordingTheme::ViewEdgeWidth(DWORD ViewKindBits, SIZE& Size)
{
    Size = (ViewKindBits & vkPopupGroup) ? RecordingThemeAnswers().PopupEdge : SIZE{0, 0};
}

int TRecordingTheme::IntegerMetric(int Index)
{
    const auto& metrics = RecordingThemeAnswers().Metrics;
    auto it = metrics.find(Index);
    return it == metrics.end() ? -1 : it->second;
}

void TRecordingTheme::DrawViewBack(TCanvas*, const TRect& ARect, const TRect&, TColor Color, bool,
                                   DWORD ViewKindBits)
{
    ThemeCall& call = Record("DrawViewBack", ARect);
    call.Color = Color;
    call.Number = static_cast<int>(ViewKindBits);
}

void TRecordingTheme::DrawButtonFace(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo)
{
    Record("DrawButtonFace", ARect, &ItemInfo);
}

void TRecordingTheme::DrawItemText(TCanvas* Canvas, TRect& ARect, const TSkinItemInfo& ItemInfo,
                                   const WideString& Text, UINT Format, bool Rotated)
{
    ThemeCall& call = Record("DrawItemText", ARect, &ItemInfo);
    call.Text = Text;
    call.Format = Format;
    call.Flag = Rotated;
    call.Color = Canvas->Font()->Color();
    call.FontSize = Canvas->Font()->Size();
    call.FontStyle = Canvas->Font()->Style();
}

void TRecordingTheme::DrawTickGlyph(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo)
{
    Record("DrawTickGlyph", ARect, &ItemInfo);
}

void TRecordingTheme::DrawOverflowArrow(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo)
{
    Record("DrawOverflowArrow", ARect, &ItemInfo);
}

void TRecordingTheme::DrawEditField(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo)
{
    Record("DrawEditField", ARect, &ItemInfo);
}

void TRecordingTheme::DrawEditSpinParts(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo,
                                        const TSkinEditButtonsInfo& Buttons)
{
    Record("DrawEditSpinParts", ARect, &ItemInfo).Buttons = Buttons;
}

void TRecordingTheme::DrawDockArea(TCanvas*, const TRect& ARect, int DockPosition)
{
    Record("DrawDockArea", ARect).Number = DockPosition;
}

void TRecordingTheme::DrawDockPanelEdge(TCanvas*, const TRect& ARect, const TSkinFloatFrameInfo&)
{
    Record("DrawDockPanelEdge", ARect);
}

void TRecordingTheme::DrawDropArrow(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo)
{
    Record("DrawDropArrow", ARect, &ItemInfo);
}

void TRecordingTheme::DrawFloatFrame(TCanvas*, const TRect& ARect, const TSkinFloatFrameInfo& Info)
{
    ThemeCall& call = Record("DrawFloatFrame", ARect);
    call.CloseButtonState = Info.CloseButtonState;
    call.RedrawParts = Info.RedrawParts;
}

void TRecordingTheme::DrawItemEdge(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo)
{
    Record("DrawItemEdge", ARect, &ItemInfo);
}

void TRecordingTheme::DrawItemPicture(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo,
                                      TCustomImageList*, int ImageIndex)
{
    Record("DrawItemPicture", ARect, &ItemInfo).Number = ImageIndex;
}

void TRecordingTheme::DrawChildWindowButton(TCanvas*, const TRect& ARect, TSkinChildButton, bool,
                                            bool)
{
    Record("DrawChildWindowButton", ARect);
}

void TRecordingTheme::DrawMenuEntry(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo)
{
    Record("DrawMenuEntry", ARect, &ItemInfo);
}

void TRecordingTheme::DrawMenuEntryHot(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo)
{
    Record("DrawMenuEntryHot", ARect, &ItemInfo);
}

void TRecordingTheme::DrawScrollArrowButton(TCanvas*, const TRect& ARect, int Direction,
                                            bool Pushed)
{
    ThemeCall& call = Record("DrawScrollArrowButton", ARect);
    call.Number = Direction;
    call.Flag = Pushed;
}

void TRecordingTheme::DrawPopupEdge(TCanvas*, const TRect& ARect, const TRect& OpenerRect,
                                    DWORD ViewKindBits)
{
    ThemeCall& call = Record("DrawPopupEdge", ARect);
    call.OpenerRect = OpenerRect;
    call.Number = static_cast<int>(ViewKindBits);
}

void TRecordingTheme::DrawDivider(TCanvas*, const TRect& ARect, const TSkinItemInfo& ItemInfo,
                                  bool Horizontal, bool LineSeparator)
{
    ThemeCall& call = Record("DrawDivider", ARect, &ItemInfo);
    call.Flag = Horizontal;
    call.LineSeparator = LineSeparator;
}

void TRecordingTheme::DrawBarEdge(TCanvas*, const TRect& ARect, const TSkinBarInfo& Info)
{
    Record("DrawBarEdge", ARect).Bar = Info;
}

bool TRecordingTheme::FlagMetric(int Index)
{
    const auto& flags = RecordingThemeAnswers().Flags;
    const auto found = flags.find(Index);
    return found != flags.end() && found->second;
}

void TRecordingTheme::DrawCheckGlyph(TCanvas*, const TRect& ARect, DWORD, int)
{
    Record("DrawCheckGlyph", ARect);
}

void TRecordingTheme::DrawStatusPane(TCanvas*, const TRect& ARect, TSkinStatusPart)
{
    Record("DrawStatusPane", ARect);
}

} // namespace theme_testing
