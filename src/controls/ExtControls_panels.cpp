// The extended panel and the group box built on it.
#include "ExtControls.h"

#include "classlib/ControlMessages.h"
#include "classlib/Graphics.h"
#include "classlib/ShortCut.h"
#include "classlib/WideText.h"
#include "controls/NumThemesSupport.h"
#include "themes/SkinUtils.h"
#include "unicode/UniClasses.h"
#include "unicode/UniControls.h"
#include "unicode/UniForms.h"

#include <vssym32.h>

// --- Frame ---------------------------------------------------------------------------

namespace {

UINT ClassicEdge(TExtPanelBorder borderType)
{
    switch (borderType) {
    case TExtPanelBorder::pbrRaised:
        return BDR_RAISEDINNER;
    case TExtPanelBorder::pbrDoubleRaised:
        return EDGE_RAISED;
    case TExtPanelBorder::pbrSunken:
        return BDR_SUNKENOUTER;
    case TExtPanelBorder::pbrDoubleSunken:
        return EDGE_SUNKEN;
    case TExtPanelBorder::pbrBumped:
        return EDGE_BUMP;
    case TExtPanelBorder::pbrEtched:
    case TExtPanelBorder::pbrFramed:
        break;
    }
    return EDGE_ETCHED;
}

// Every border but the flat frame is two pixels deep or looks it.
bool IsThreeD(TExtPanelBorder borderType)
{
    return borderType != TExtPanelBorder::pbrFramed;
}

} // namespace

void ExtPaintPanelFrame(TCanvas* canvas, const TRect& rect, bool enabled,
                        TExtPanelBorder borderType, TExtThemeType themeType)
{
    HDC dc = canvas->Handle();
    if (ExtResolveThemeKind(themeType) == TExtThemeType::thtWindows &&
        DrawNumThemePart(nullptr, dc, L"BUTTON", BP_GROUPBOX, enabled ? GBS_NORMAL : GBS_DISABLED,
                         rect))
        return;
    TRect r = rect;
    if (borderType == TExtPanelBorder::pbrFramed) {
        FrameRectColor(dc, r, clBtnFace, false);
        return;
    }
    DrawEdge(dc, &r, ClassicEdge(borderType), BF_RECT);
}

// --- Panel ---------------------------------------------------------------------------

const TClassInfo& TExtCustomPanel::StaticClassInfo()
{
    static const TClassInfo info{.Name = "TExtCustomPanel",
                                 .Props = ExtWideTextProps<TExtCustomPanel>()};
    return info;
}

TExtCustomPanel::TExtCustomPanel(TComponent* AOwner)
    : TCustomControl(AOwner), FMargins(new TSkinControlMargins)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    FMargins->OnChange = [this](TObject*) {
        Realign();
        Invalidate();
    };
    SetParentColor(false);
    SetColor(clNone);
    ListenThemeChanges(this);
}

TExtCustomPanel::~TExtCustomPanel()
{
    UnlistenThemeChanges(this);
    delete FMargins;
}

void TExtCustomPanel::SetWideCaption(const WideString& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    SetCaption(WideToAnsi(value));
    Invalidate();
}

WideString TExtCustomPanel::WideHint()
{
    return ControlWideHint(this);
}

void TExtCustomPanel::SetWideHint(const WideString& value)
{
    SetControlWideHint(this, value);
}

void TExtCustomPanel::SetBorders(bool value)
{
    if (value == FBorders)
        return;
    FBorders = value;
    Invalidate();
}

void TExtCustomPanel::SetBorderType(TExtPanelBorder value)
{
    if (value == FBorderType)
        return;
    FBorderType = value;
    Invalidate();
}

void TExtCustomPanel::SetThemeType(TExtThemeType value)
{
    FThemeType = value;
    Invalidate();
}

void TExtCustomPanel::RepaintBackdrop()
{
    if (HandleAllocated())
        RedrawWindow(WindowHandle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void TExtCustomPanel::DrawBackground(TCanvas* canvas, const TRect& rect)
{
    ExtPaintPanelFrame(canvas, rect, Enabled(), FBorderType, FThemeType);
}

void TExtCustomPanel::DoDrawBackground(TCanvas* canvas, const TRect& rect, int stage,
                                       bool& paintDefault)
{
    if (OnDrawBackground)
        OnDrawBackground(this, canvas, rect, stage, paintDefault);
}

void TExtCustomPanel::AdjustClientRect(TRect& rect)
{
    TCustomControl::AdjustClientRect(rect);
    InflateRect(&rect, -1, -1);
    rect = FMargins->Deflate(rect);
}

void TExtCustomPanel::PaintBackdrop(TCanvas* canvas, const TRect& client)
{
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(client);
    PaintParentUnder(this, canvas->Handle(), client);
    if (Color() != clNone) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(client);
    }
    canvas->Font()->Assign(Font());
    bool paintDefault = true;
    DoDrawBackground(canvas, client, 0, paintDefault);
    if (paintDefault) {
        TRect frame = client;
        if (!FBorders)
            InflateRect(&frame, 3, 3);
        DrawBackground(canvas, frame);
    }
    paintDefault = true;
    DoDrawBackground(canvas, client, 1, paintDefault);
}

void TExtCustomPanel::Paint()
{
    TRect client = ClientRect();
    if (client.IsEmpty())
        return;
    TBitmap buffer;
    buffer.SetPixelFormat(TPixelFormat::pf32bit);
    buffer.SetSize(client.Width(), client.Height());
    PaintBackdrop(buffer.Canvas(), client);
    BitBlt(Canvas()->Handle(), 0, 0, client.Width(), client.Height(), buffer.Canvas()->Handle(), 0,
           0, SRCCOPY);
}

void TExtCustomPanel::EraseBackground(TMessage& m)
{
    // The panel's own paint covers its window; a child asking for what lies
    // under it gets the backdrop in its DC, whether or not the panel has
    // painted yet.
    if (ErasesForAnother(this, m)) {
        auto dc = reinterpret_cast<HDC>(m.WParam);
        TSavedDCState saved(dc);
        TCanvas canvas;
        TCanvasDCScope scope(&canvas, dc);
        PaintBackdrop(&canvas, ClientRect());
    }
    m.Result = 1;
}

void TExtCustomPanel::DefineProperties(TFiler& Filer)
{
    TCustomControl::DefineProperties(Filer);
    DeclareWideStreamProps(Filer, this);
}

void TExtCustomPanel::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_ERASEBKGND:
        EraseBackground(m);
        return;
    case WM_SKIN_THEMECHANGE:
        RepaintBackdrop();
        return;
    case CM_TEXTCHANGED:
        ExtFollowAnsiCaption(FCaption, Caption());
        Invalidate();
        break;
    case CM_HINTSHOW:
        TCustomControl::WndProc(m);
        if (m.Result == 0)
            reinterpret_cast<THintInfo*>(m.LParam)->HintWindowClass = CreateUniHintWindow;
        return;
    }
    TCustomControl::WndProc(m);
}

// --- Group box -----------------------------------------------------------------------

const TClassInfo& TExtGroupBox::StaticClassInfo()
{
    static const TClassInfo info{.Name = "TExtGroupBox",
                                 .Parent = &TExtCustomPanel::StaticClassInfo()};
    return info;
}

TExtGroupBox::TExtGroupBox(TComponent* AOwner) : TExtCustomPanel(AOwner)
{
    SetControlStyle(ControlStyle() | csSetCaption);
    SetBounds(0, 0, 185, 105);
    SetTabStop(false);
}

int TExtGroupBox::TextHeight()
{
    TScreenDC dc;
    TCanvas canvas;
    TCanvasDCScope scope(&canvas, dc.Handle());
    canvas.Font()->Assign(Font());
    return canvas.TextExtent("0").cy;
}

void TExtGroupBox::AdjustClientRect(TRect& rect)
{
    TExtCustomPanel::AdjustClientRect(rect);
    rect.top += TextHeight();
    int frame = IsThreeD(BorderType()) ? 2 : 1;
    InflateRect(&rect, -frame, -frame);
}

TRect TExtGroupBox::CaptionRect(TCanvas* canvas)
{
    TRect r(0, 0, 1, 1);
    ExtPaintCaptionGlow(canvas, WideCaption(), r, DT_SINGLELINE | DT_CALCRECT,
                        TSpGlowDirection::gldNone, 0);
    OffsetRect(&r, 8, 0);
    return r;
}

void TExtGroupBox::DrawBackground(TCanvas* canvas, const TRect& rect)
{
    HDC dc = canvas->Handle();
    TRect caption = WideCaption().empty() ? TRect() : CaptionRect(canvas);
    TRect frame = rect;
    frame.top = caption.IsEmpty() ? TextHeight() / 2 : (caption.top + caption.bottom) / 2;
    {
        const TSavedDCState saved(dc);
        if (!caption.IsEmpty())
            ExcludeClipRect(dc, caption.left, caption.top, caption.right, caption.bottom);
        ExtPaintPanelFrame(canvas, frame, Enabled(), TExtPanelBorder::pbrEtched, ThemeType());
    }
    if (caption.IsEmpty())
        return;
    canvas->Font()->SetColor(Enabled() ? clBtnText : clGrayText);
    ExtPaintCaptionGlow(canvas, WideCaption(), caption, DT_SINGLELINE, TSpGlowDirection::gldNone,
                        0);
}

void TExtGroupBox::WndProc(TMessage& m)
{
    if (m.Msg == CM_DIALOGCHAR) {
        if (IsAccelerator(static_cast<char>(m.WParam), Caption()))
            for (int i = 0; i < ControlCount(); ++i)
                if (auto* child = dynamic_cast<TWinControl*>(Controls(i));
                    child && child->CanFocus()) {
                    child->FocusTarget()->SetFocus();
                    m.Result = 1;
                    return;
                }
        return;
    }
    TExtCustomPanel::WndProc(m);
}
