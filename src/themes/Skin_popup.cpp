// Themed popups: the popup view and window with the theme's frame,
// background, scroll arrows, animation and drop shadow; the root item and
// popup menu that open at a rectangle.
#include "Skin.h"

#include "SkinExtItems.h"
#include "SkinLists.h"
#include "SkinUtils.h"

#include "classlib/Graphics.h"
#include "toolbar/BarAnim.h"
#include "toolbar/BarCommon.h"

#include <algorithm>

namespace {

// A drop shadow of kinds 2 and 3: pixels and opacity (0 .. 255).
constexpr int kShadowSize = 4;
constexpr BYTE kShadowOpacity = 61;

// An unfolding popup opens along both axes: the roll's direction gains the
// one it lacks.
BYTE UnfoldDirection(BYTE direction)
{
    if (!(direction & (badLeftward | badRightward)))
        return direction | badRightward;
    if (!(direction & (badUpward | badDownward)))
        return direction | badDownward;
    return direction;
}

TRect ScreenRectOf(TBarView* view, TBarItemViewer* viewer)
{
    TRect r = viewer->BoundsRect();
    const TPoint origin = view->Window()->ClientToScreen(TPoint(0, 0));
    OffsetRect(&r, origin.x, origin.y);
    return r;
}

} // namespace

// --- Placement at a rectangle ---------------------------------------------------------

TPoint PopupPositionAtRect(const TRect& At, SIZE Size, const TRect& Monitor, bool RightAligned)
{
    int x = RightAligned ? At.right - Size.cx : At.left;
    int y = At.bottom;
    if (y + Size.cy > Monitor.bottom && At.top - Size.cy >= Monitor.top)
        y = At.top - Size.cy;
    y = std::max<int>(std::min<int>(y, Monitor.bottom - Size.cy), Monitor.top);
    x = std::max<int>(std::min<int>(x, Monitor.right - Size.cx), Monitor.left);
    return TPoint(x, y);
}

// --- TSkinPopupView -----------------------------------------------------------------------

TSkinPopupView::TSkinPopupView(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* ParentItem,
                               TWinControl* Window, bool Customizing)
    : TBarPopupView(AOwner ? AOwner : Window, ParentView, ParentItem, Window, Customizing)
{
}

// --- TSkinPopupWindow ---------------------------------------------------------------------

TSkinPopupWindow::TSkinPopupWindow(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* Item,
                                   bool Customizing)
    : TSkinPopupWindow(AOwner, ParentView, Item, Customizing, NewBarPopupView<TSkinPopupView>)
{
}

TSkinPopupWindow::TSkinPopupWindow(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* Item,
                                   bool Customizing, TBarPopupViewClass ViewClass)
    : TBarPopupWindow(AOwner, ParentView, Item, Customizing, ViewClass)
{
    ListenThemeChanges(this);
}

TSkinPopupWindow::~TSkinPopupWindow()
{
    RemoveDropShadow();
    UnlistenThemeChanges(this);
}

void TSkinPopupWindow::CreateParams(TCreateParams& params)
{
    TBarPopupWindow::CreateParams(params);
    params.WindowClass.style &= ~(CS_DROPSHADOW | CS_DBLCLKS);
    if (ShadowPossible() && CurrentTheme()->MenuDropShadowStyle() == 1 && OsIsXPOrNewer()) {
        params.WindowClass.style |= CS_DROPSHADOW;
        // A class of its own: a class's style is fixed once registered.
        params.WinClassName += "S";
    }
}

DWORD TSkinPopupWindow::ViewKind()
{
    TBarCustomItem* item = View()->ParentItem();
    if (item && item->Count() == 1 && dynamic_cast<TSkinCustomList*>(item->Items(0)))
        return vkListPopup;
    if (dynamic_cast<TSkinEditItem*>(item))
        return vkEditPopup;
    return vkPopupMenu;
}

void TSkinPopupWindow::CreateWnd()
{
    TakeThemeColor();
    TBarPopupWindow::CreateWnd();
}

void TSkinPopupWindow::TakeThemeColor()
{
    SetColor(CurrentTheme()->ViewFillColor(ViewKind()));
}

SIZE TSkinPopupWindow::FrameSize()
{
    SIZE edge = {};
    CurrentTheme()->ViewEdgeWidth(ViewKind(), edge);
    return edge;
}

bool TSkinPopupWindow::ShadowPossible()
{
    return PopupKindOf(ViewKind()) != vkListPopup;
}

TRect TSkinPopupWindow::ToolbarOpenerScreenRect()
{
    TBarView* parent = View()->ParentView();
    if (!parent || parent->OpenChildView() != View() || !parent->OpenViewer())
        return TRect();
    if (parent->IsPopup() && !parent->LaysOutAsToolbar())
        return TRect();
    return ScreenRectOf(parent, parent->OpenViewer());
}

TRect TSkinPopupWindow::OpenerScreenRect()
{
    const TRect button = ToolbarOpenerScreenRect();
    if (!button.IsEmpty())
        return button;
    auto* root = dynamic_cast<TSkinRootItem*>(View()->ParentItem());
    if (root && root->HasPopupRect() && !View()->ParentView())
        return root->PopupRect();
    return TRect();
}

void TSkinPopupWindow::AddDropShadow()
{
    if (FShadow || !HandleAllocated() || !ShadowPossible())
        return;
    const int kind = CurrentTheme()->MenuDropShadowStyle();
    if (kind != 2 && !(kind == 3 && SystemIsNT5OrLater()))
        return;
    RECT window;
    GetWindowRect(WindowHandle(), &window);
    const TRect opener = kind == 2 ? ToolbarOpenerScreenRect() : TRect();
    FShadow = new TShadows(window, opener, kShadowSize, kShadowOpacity, SkinCache().LowColor);
    FShadow->Show(WindowHandle());
}

void TSkinPopupWindow::RemoveDropShadow()
{
    delete FShadow;
    FShadow = nullptr;
}

void TSkinPopupWindow::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SKIN_VIEWTYPE:
        message.Result = static_cast<LRESULT>(ViewKind());
        return;
    case WM_SKIN_THEMECHANGE:
        ThemeChanged(message.WParam);
        return;
    case WM_ERASEBKGND:
        EraseBackground(message);
        return;
    case CM_HINTSHOW:
        HintOfItemUnderMouse(message);
        return;
    case CM_SHOWINGCHANGED:
        if (Visible()) {
            ShowWindowAnimated();
            return;
        }
        RemoveDropShadow();
        break;
    case WM_BAR_POPUPSHOWN:
        if (message.WParam == 2 || message.WParam == 3)
            AddDropShadow();
        break;
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
        if (FShadow && !(pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) {
            RemoveDropShadow();
            AddDropShadow();
        }
        break;
    }
    default:
        break;
    }
    TBarPopupWindow::WndProc(message);
}

void TSkinPopupWindow::ShowWindowAnimated()
{
    HWND window = WindowHandle();
    if (!window)
        return;
    TSkinPopupAnimation animation = TSkinPopupAnimation::None;
    if (!IsWindowVisible(window) && SkinMenuAnimation())
        animation = SkinMenuAnimation()->AnimationForPopup();
    if (animation != TSkinPopupAnimation::None && Perform(WM_BAR_POPUPSHOWN, 1, 0) == 0) {
        const bool fade = animation == TSkinPopupAnimation::Fade;
        BYTE direction = AnimationDirection();
        if (animation == TSkinPopupAnimation::Unfold)
            direction = UnfoldDirection(direction);
        if (fade || direction != 0) {
            BarPopupRevealBegin(window, fade, direction);
            return;
        }
    }
    BarPopupRevealCancel(nullptr);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    SendNotifyMessageA(window, WM_BAR_POPUPSHOWN, 3, 0);
}

void TSkinPopupWindow::EraseBackground(TMessage& message)
{
    if (!Printing() && HandleAllocated())
        BarPopupRevealCancel(WindowHandle());
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    RECT clip;
    GetClipBox(dc, &clip);
    TCanvas canvas;
    canvas.SetHandle(dc);
    const DWORD kind = ViewKind();
    TSkinTheme* theme = CurrentTheme();
    theme->DrawViewBack(&canvas, ClientRect(), clip, theme->ViewFillColor(kind), false, kind);
    message.Result = 1;
}

void TSkinPopupWindow::DrawFrame(HDC dc)
{
    RECT window;
    GetWindowRect(WindowHandle(), &window);
    TRect opener = OpenerScreenRect();
    if (!opener.IsEmpty())
        OffsetRect(&opener, -window.left, -window.top);
    TCanvas canvas;
    canvas.SetHandle(dc);
    CurrentTheme()->DrawPopupEdge(
        &canvas, TRect(0, 0, window.right - window.left, window.bottom - window.top), opener,
        ViewKind());
}

void TSkinPopupWindow::DrawScrollArrows()
{
    TSkinTheme* theme = CurrentTheme();
    const TRect client = ClientRect();
    if (View()->ShowsUpArrow())
        theme->DrawScrollArrowButton(Canvas(), TRect(0, 0, client.right, kBarScrollArrowHeight), 0,
                                     false);
    if (View()->ShowsDownArrow())
        theme->DrawScrollArrowButton(
            Canvas(), TRect(0, client.bottom - kBarScrollArrowHeight, client.right, client.bottom),
            1, false);
}

void TSkinPopupWindow::HintOfItemUnderMouse(TMessage& message)
{
    auto* info = reinterpret_cast<THintInfo*>(message.LParam);
    TBarItemViewer* viewer = View()->ViewerAtPixel(info->CursorPos);
    if (!viewer) {
        message.Result = 1;
        return;
    }
    info->HintStr = viewer->ShownHint();
    info->CursorRect = viewer->BoundsRect();
    message.Result = info->HintStr.empty() ? 1 : 0;
}

void TSkinPopupWindow::ThemeChanged(WPARAM step)
{
    if (step != 3)
        return;
    RemoveDropShadow();
    TakeThemeColor();
    View()->MarkLayoutStale();
    View()->ValidateUnlessBusy();
    if (!HandleAllocated())
        return;
    HWND window = WindowHandle();
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (IsWindowVisible(window))
        AddDropShadow();
}

// --- Root item and popup menu ------------------------------------------------------------

void TSkinRootItem::SetPopupRect(const TRect& value)
{
    FPopupRect = value;
    FHasPopupRect = true;
}

TBarPopupWindowClass TSkinRootItem::PopupClassForItem()
{
    return NewBarPopupWindow<TSkinPopupWindow>;
}

void TSkinRootItem::PlacePopupWindow(TBarView* ParentView, TBarPopupWindow* Window,
                                     TBarPopupPositionRec& Rec)
{
    if (ParentView || !FHasPopupRect) {
        TBarRootItem::PlacePopupWindow(ParentView, Window, Rec);
        return;
    }
    const TPoint at = PopupPositionAtRect(FPopupRect, SIZE{Rec.W, Rec.H}, Rec.MonitorRect,
                                          Rec.Alignment == bpaRight);
    Rec.X = at.x;
    Rec.Y = at.y;
    Rec.AnimateDirection = Rec.Y >= FPopupRect.bottom ? badDownward : badUpward;
}

TSkinPopupMenu::TSkinPopupMenu(TComponent* AOwner)
    : TSkinPopupMenu(AOwner, new TSkinRootItem(nullptr))
{
}

TSkinPopupMenu::TSkinPopupMenu(TComponent* AOwner, TSkinRootItem* root)
    : TBarPopupMenu(AOwner, root)
{
}

TBarCustomItem* TSkinPopupMenu::ShowPopupAt(const TRect& ARect)
{
    TSkinRootItem* root = SkinItems();
    // Later menus open at a point again, however this one ends.
    struct TRectScope
    {
        TSkinRootItem* Root; // not owned
        ~TRectScope() { Root->ClearPopupRect(); }
    } scope{root};
    root->SetPopupRect(ARect);
    return root->Popup(ARect.left, ARect.bottom, TrackButton() == TTrackButton::tbRightButton,
                       Alignment(), false, false);
}
