// Compound bars and the status bar with its size grip and divider lines.
#include "controls/ExtBarRules.h"
#include "controls/ExtItem.h"

#include "classlib/Form.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"
#include "themes/SkinThemes.h"
#include "themes/SkinUtils.h"
#include "themes/SkinUxThemes.h"

#include <windowsx.h>

namespace {

TExtToolbar* MakeExtToolbar(TComponent* owner)
{
    return new TExtToolbar(owner);
}

TExtToolbar* MakeStatusToolbar(TComponent* owner)
{
    return new TExtStatusToolbar(owner);
}

// The inner dock of a compound control: a compound bar's draw event paints
// its background.
class TExtCompoundDock : public TExtDock
{
public:
    using TExtDock::TExtDock;

    bool PaintsOwnBackground() override
    {
        TExtCompoundBar* bar = Bar();
        return bar && bar->OnDrawDockBackground;
    }

protected:
    void DoDrawBackground(TCanvas* ACanvas, const TRect& ARect, int PaintStage,
                          bool& PaintDefault) override
    {
        if (TExtCompoundBar* bar = Bar())
            bar->PaintDockBackdrop(ACanvas, ARect, PaintStage, PaintDefault);
    }

private:
    TExtCompoundBar* Bar() const { return dynamic_cast<TExtCompoundBar*>(Owner()); }
};

constexpr WPARAM kSizeFromBottomRight = SC_SIZE + 8;
constexpr int kStatusGripperPart = 3;

} // namespace

// --- TExtCompoundItemsControl ---------------------------------------------------------------

TExtCompoundItemsControl::TExtCompoundItemsControl(TComponent* AOwner)
    : TExtCompoundItemsControl(AOwner, MakeExtToolbar)
{
}

TExtCompoundItemsControl::TExtCompoundItemsControl(TComponent* AOwner,
                                                   TExtToolbar* (*makeBar)(TComponent*))
    : TCustomControl(AOwner), FDock(new TExtCompoundDock(this)), FToolbar(makeBar(this))
{
    FDock->SetParent(this);
    FDock->SetPosition(TBarDockPosition::dpTop);
    FToolbar->SetBorderStyle(TBorderStyle::bsNone);
    FToolbar->SetDockMode(TBarDockMode::dmCannotFloatOrChangeDocks);
    FToolbar->SetDragHandleStyle(TBarDragHandleStyle::dhNone);
    FToolbar->SetStretch(true);
    FToolbar->SetFullSize(true);
    FToolbar->SetShrinkMode(TBarShrinkMode::tbsmNone);
    FToolbar->SetCurrentDock(FDock);
}

TExtCompoundItemsControl::~TExtCompoundItemsControl() = default;

void TExtCompoundItemsControl::SetImages(TCustomImageList* value)
{
    if (FToolbar)
        FToolbar->Items()->SetImages(value);
}

void TExtCompoundItemsControl::SetThemeType(TExtThemeType value)
{
    if (value == FThemeType)
        return;
    FThemeType = value;
    RepaintBackdrop();
}

void TExtCompoundItemsControl::RepaintBackdrop()
{
    if (HasState(csDestroying) || !HandleAllocated())
        return;
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// --- TExtCompoundBar --------------------------------------------------------------------------

TExtCompoundBar::TExtCompoundBar(TComponent* AOwner) : TExtCompoundBar(AOwner, MakeExtToolbar) {}

TExtCompoundBar::TExtCompoundBar(TComponent* AOwner, TExtToolbar* (*makeBar)(TComponent*))
    : TExtCompoundItemsControl(AOwner, makeBar)
{
    Dock()->OnResize = [this](TObject*) { FollowDock(); };
    FollowDock();
}

void TExtCompoundBar::PaintDockBackdrop(TCanvas* ACanvas, const TRect& ARect, int PaintStage,
                                        bool& PaintDefault)
{
    if (OnDrawDockBackground)
        OnDrawDockBackground(this, ACanvas, ARect, PaintStage, PaintDefault);
}

void TExtCompoundBar::FollowDock()
{
    if (Height() != Dock()->Height())
        SetHeight(Dock()->Height());
}

// --- TExtStatusToolbar ------------------------------------------------------------------------

TExtStatusToolbar::TExtStatusToolbar(TComponent* AOwner) : TExtToolbar(AOwner) {}

void TExtStatusToolbar::SetSizeGrip(bool value)
{
    if (value == FSizeGrip)
        return;
    FSizeGrip = value;
    PushItemsRight();
    if (HandleAllocated())
        InvalidateRect(Handle(), nullptr, TRUE);
}

void TExtStatusToolbar::SetPaintThemeType(TExtThemeType value)
{
    if (value == FPaintThemeType)
        return;
    FPaintThemeType = value;
    if (HandleAllocated())
        InvalidateRect(Handle(), nullptr, TRUE);
}

TRect TExtStatusToolbar::GripRect()
{
    TStatusGripState state;
    state.Destroying = HasState(csDestroying);
    state.SizeGrip = FSizeGrip;
    state.Docked = CurrentDock() != nullptr;
    TCustomForm* form = GetParentForm(this);
    if (form) {
        state.FormMaximized = form->WindowState() == TWindowState::wsMaximized;
        state.FormSizable = form->HandleAllocated() &&
                            (GetWindowLongA(form->Handle(), GWL_STYLE) & WS_THICKFRAME) != 0;
    } else {
        state.FormSizable = false;
    }
    const TRect dockClient = state.Docked ? CurrentDock()->ClientRect() : TRect();
    return StatusGripRect(state, dockClient, GetSystemMetrics(SM_CXVSCROLL));
}

TRect TExtStatusToolbar::ClientGripRect()
{
    TRect grip = GripRect();
    if (grip.IsEmpty() || !HandleAllocated() || !CurrentDock()->HandleAllocated())
        return TRect();
    MapWindowPoints(CurrentDock()->Handle(), Handle(), reinterpret_cast<POINT*>(&grip), 2);
    return grip;
}

int TExtStatusToolbar::RightPushMargin()
{
    return StatusRightPushMargin(GripRect());
}

bool TExtStatusToolbar::OverGrip(const TPoint& client)
{
    const TRect grip = ClientGripRect();
    return !grip.IsEmpty() && PtInRect(&grip, client);
}

bool TExtStatusToolbar::StartSizing(const TPoint& client)
{
    TCustomForm* form = GetParentForm(this);
    if (!form || HasState(csDesigning) || !OverGrip(client))
        return false;
    ReleaseCapture();
    SendMessageA(form->Handle(), WM_SYSCOMMAND, kSizeFromBottomRight, 0);
    return true;
}

void TExtStatusToolbar::PaintGripAndDividers()
{
    const TScreenDC screen(Handle());
    HDC dc = screen.Handle();
    const TExtThemeType kind = ExtResolveThemeKind(FPaintThemeType);
    const int height = ClientHeight();
    std::vector<int> centres;
    for (int i = 0; i < View()->ViewerCount(); ++i) {
        TBarItemViewer* viewer = View()->Viewers(i);
        if (viewer->Shown() && dynamic_cast<TBarSeparatorItem*>(viewer->Item()))
            centres.push_back((viewer->BoundsRect().left + viewer->BoundsRect().right) / 2);
    }
    for (const TDividerLine& line : StatusDividerLines(centres, kind == TExtThemeType::thtNone))
        LineInColor(dc, line.X, 0, line.X, height, line.Color);
    TRect grip = ClientGripRect();
    if (!grip.IsEmpty()) {
        HTHEME style = SkinCache().Style(TSkinStyleClass::Status);
        const auto& ux = VisualStyleEntryPoints();
        if (kind != TExtThemeType::thtNone && style && ux.DrawThemeBackground)
            ux.DrawThemeBackground(style, dc, kStatusGripperPart, 0, &grip, nullptr);
        else
            DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
}

void TExtStatusToolbar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
        if (StartSizing(TPoint(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam))))
            return;
        break;
    case WM_NCLBUTTONDOWN: {
        POINT p = {GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        ::ScreenToClient(Handle(), &p);
        if (StartSizing(TPoint(p.x, p.y)))
            return;
        break;
    }
    case WM_SETCURSOR: {
        POINT p = Seams().CursorPos();
        ::ScreenToClient(Handle(), &p);
        if (LOWORD(message.LParam) == HTCLIENT && Screen->Cursor() == crDefault &&
            OverGrip(TPoint(p.x, p.y))) {
            ::SetCursor(Screen->Cursors(crSizeNWSE));
            message.Result = TRUE;
            return;
        }
        break;
    }
    case WM_SIZE:
        // The grip moves with the right edge: nothing of its old image stays.
        InvalidateRect(Handle(), nullptr, TRUE);
        break;
    }
    TExtToolbar::WndProc(message);
    if (message.Msg == WM_PAINT)
        PaintGripAndDividers();
}

// --- TExtCustomStatusBar ------------------------------------------------------------------------

TExtCustomStatusBar::TExtCustomStatusBar(TComponent* AOwner)
    : TExtCompoundBar(AOwner, MakeStatusToolbar)
{
    SetAlign(TAlign::alBottom);
}

TExtStatusToolbar* TExtCustomStatusBar::StatusToolbar() const
{
    return static_cast<TExtStatusToolbar*>(Toolbar());
}

bool TExtCustomStatusBar::CanResize(int& NewWidth, int& NewHeight)
{
    if (NewHeight != Dock()->Height())
        return false;
    return TExtCompoundBar::CanResize(NewWidth, NewHeight);
}

void TExtCustomStatusBar::WndProc(TMessage& message)
{
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;
        return;
    }
    TExtCompoundBar::WndProc(message);
}
