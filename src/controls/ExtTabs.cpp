#include "controls/ExtTabs.h"

#include "classlib/Form.h"
#include "classlib/Panel.h"
#include "controls/NumThemesSupport.h"
#include "toolbar/BarCommon.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kTabGroup = 7777;

// Switches tabs on the button press, not on its release.
class TExtTabItemViewer : public TExtItemViewer
{
public:
    using TExtItemViewer::TExtItemViewer;
    void MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu) override
    {
        if (FItem->Enabled() && !FItem->Checked())
            FItem->Click();
        else if (TExtTabToolbar* strip = Strip())
            strip->TabPressed(static_cast<TExtTabItem*>(FItem), ViewPoint(X, Y));
        TExtItemViewer::MouseDown(Shift, X, Y, MouseDownOnMenu);
    }
    void MouseMove(int X, int Y) override
    {
        if (TExtTabToolbar* strip = Strip())
            strip->TabDraggedOver(ViewPoint(X, Y));
        TExtItemViewer::MouseMove(X, Y);
    }
    void MouseUp(int X, int Y, bool MouseWasDownOnMenu) override
    {
        if (TExtTabToolbar* strip = Strip())
            strip->TabReleased();
        TExtItemViewer::MouseUp(X, Y, MouseWasDownOnMenu);
    }
    void Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override
    {
        TExtTabToolbar* strip = Strip();
        if (!strip) {
            TExtItemViewer::Paint(Canvas, ClientRect, IsSelected, IsPushed, UseDisabledShadow);
            return;
        }
        const bool bottom = strip->TabPosition() == TExtTabPosition::ttpBottom;
        const TExtTabThemeType kind =
            ExtResolveTabThemeKind(strip->ThemeType(), ExtVisualStylesOn());
        const bool focused = strip->TabSet() && strip->TabSet()->TabsFocused();
        const TTabShape shape =
            TabShape(ClientRect, kind, FItem->Checked(), IsSelected, FollowingTab(), focused);
        const TSkinItemInfo info = MakeItemInfo(IsSelected, false);
        auto* item = static_cast<TExtCustomItem*>(FItem);
        bool paintDefault = true;
        item->DoDrawItem(Canvas, ClientRect, info, kExtPaintBefore, paintDefault);
        if (paintDefault) {
            PaintFace(Canvas, ClientRect, shape, kind, bottom, info, strip->TabColor());
            TRect content = ClientRect;
            OffsetRect(&content, 0, bottom ? -shape.CaptionShift : shape.CaptionShift);
            const TColor ink = shape.ThemeFace ? CurrentTheme()->ItemInkColor(info) : clBtnText;
            PaintContent(Canvas, content, info, ink);
            if (!shape.Focus.IsEmpty())
                DrawFocusRect(Canvas->Handle(), &shape.Focus);
        }
        bool after = true;
        item->DoDrawItem(Canvas, ClientRect, info, kExtPaintAfter, after);
    }

private:
    TExtTabToolbar* Strip() const
    {
        return dynamic_cast<TExtTabToolbar*>(FItem->Parent() ? FItem->Parent()->ParentComponent()
                                                             : nullptr);
    }
    TPoint ViewPoint(int X, int Y) const
    {
        return TPoint(X + FBoundsRect.left, Y + FBoundsRect.top);
    }
    // The next shown item: a tab (active or not) or anything else.
    TTabNeighbour FollowingTab() const
    {
        bool past = false;
        for (int i = 0; i < FView->ViewerCount(); ++i) {
            TBarItemViewer* viewer = FView->Viewers(i);
            if (viewer == this) {
                past = true;
            } else if (past && viewer->Shown()) {
                if (!dynamic_cast<TExtTabItem*>(viewer->Item()))
                    return TTabNeighbour::None;
                return viewer->Item()->Checked() ? TTabNeighbour::Active : TTabNeighbour::Inactive;
            }
        }
        return TTabNeighbour::None;
    }
    // The face is drawn with the page below it, over the strip's background,
    // in a bitmap turned upside down for tabs at the bottom.
    void PaintFace(TCanvas* Canvas, const TRect& rect, const TTabShape& shape,
                   TExtTabThemeType kind, bool turned, const TSkinItemInfo& info, TColor color)
    {
        TBitmap face;
        face.SetSize(rect.Width(), rect.Height());
        HDC dc = face.Canvas()->Handle();
        CopyTurned(dc, Canvas->Handle(), rect, turned);
        if (kind == TExtTabThemeType::tttWindows) {
            constexpr int kTabItemPart = 1;
            const bool hot = info.HotState != 0;
            const int state = !FItem->Enabled() ? 4 : FItem->Checked() ? 3 : hot ? 2 : 1;
            DrawNumThemePart(nullptr, dc, L"TAB", kTabItemPart, state, shape.Body);
        } else if (shape.ThemeFace) {
            CurrentTheme()->DrawButtonFace(face.Canvas(), shape.Body, info);
        } else if (shape.DrawBody) {
            TRect body = shape.Body;
            face.Canvas()->Brush()->SetColor(color);
            face.Canvas()->FillRect(body);
            const UINT edge = kind == TExtTabThemeType::tttNone ? EDGE_RAISED : BDR_RAISEDINNER;
            DrawEdge(dc, &body, edge, BF_LEFT | BF_TOP | BF_RIGHT);
        }
        if (shape.Separator) {
            TCanvas* c = face.Canvas();
            const int top = rect.top + 3, bottom = rect.bottom - 3;
            c->Pen()->SetColor(clBtnShadow);
            c->MoveTo(rect.right - 2, top);
            c->LineTo(rect.right - 2, bottom);
            c->Pen()->SetColor(clBtnHighlight);
            c->MoveTo(rect.right - 1, top);
            c->LineTo(rect.right - 1, bottom);
        }
        CopyTurned(Canvas->Handle(), dc, rect, turned);
    }
    static void CopyTurned(HDC to, HDC from, const TRect& rect, bool turned)
    {
        const int w = rect.Width(), h = rect.Height();
        if (turned)
            StretchBlt(to, 0, h - 1, w, -h, from, 0, 0, w, h, SRCCOPY);
        else
            BitBlt(to, 0, 0, w, h, from, 0, 0, SRCCOPY);
    }
    // The image at the left and the wide caption.
    void PaintContent(TCanvas* Canvas, const TRect& content, const TSkinItemInfo& info, TColor ink)
    {
        auto* item = static_cast<TExtCustomItem*>(FItem);
        TRect rect = content;
        InflateRect(&rect, -item->Margins(), 0);
        const SIZE image = ShownImageSize();
        if (image.cx > 0) {
            const int top = rect.top + (rect.Height() - image.cy) / 2;
            DrawViewerImage(Canvas, TRect(rect.left, top, rect.left + image.cx, top + image.cy),
                            info);
            rect.left += image.cx + 2;
        }
        Canvas->Font()->SetColor(FItem->Enabled() ? ink : clGrayText);
        WideString caption = ShownWideCaption();
        UINT format = ExtItemCaptionFormat(item->Wrapping(), item->Alignment());
        bool paintCaption = true;
        item->PaintCaptionStage(Canvas, content, caption, rect, format, false, kExtPaintBefore,
                                paintCaption);
        if (paintCaption)
            ExtDrawCaption(Canvas, rect, caption, item->Alignment(), format, item->CaptionGlow(),
                           item->CaptionGlowColor());
        bool after = true;
        item->PaintCaptionStage(Canvas, content, caption, rect, format, false, kExtPaintAfter,
                                after);
    }
};

TExtToolbar* MakeTabToolbar(TComponent* owner)
{
    return new TExtTabToolbar(owner);
}

bool TabLoading(const TComponent* c)
{
    return c->HasState(csLoading) || c->HasState(csReading);
}

} // namespace

void ExtPaintTabStrip(TCanvas* canvas, const TRect& page, TExtTabThemeType kind, TColor color)
{
    constexpr int kTabPanePart = 9;
    if (kind == TExtTabThemeType::tttWindows &&
        DrawNumThemePart(nullptr, canvas->Handle(), L"TAB", kTabPanePart, 0, page))
        return;
    TRect inside = page;
    if (kind == TExtTabThemeType::tttFlat) {
        Frame3D(canvas, inside, clWindow, clBtnShadow, 1);
    } else {
        Frame3D(canvas, inside, clWindow, SystemColor(COLOR_WINDOWFRAME), 1);
        Frame3D(canvas, inside, color, clBtnShadow, 1);
    }
    canvas->Brush()->SetColor(color);
    canvas->FillRect(inside);
}

// --- TExtTabItem ----------------------------------------------------------------------------

TExtTabItem::TExtTabItem(TComponent* AOwner) : TExtCustomItem(AOwner)
{
    SetDisplayMode(TBarItemDisplayMode::nbdmImageAndText);
    SetGroupIndex(kTabGroup);
    SetWrapping(TTextWrapping::twEndEllipsis);
    SetMargins(4);
}

TExtTabItem::~TExtTabItem()
{
    if (Parent())
        Parent()->Remove(this);
}

void TExtTabItem::Click()
{
    if (Enabled() && !Checked())
        SetChecked(true);
}

TBarItemViewerClass TExtTabItem::ViewerClassForItem(TBarView*)
{
    return NewBarViewer<TExtTabItemViewer>;
}

TColor TExtTabItem::TabColor() const
{
    auto* strip = dynamic_cast<TExtTabToolbar*>(Parent() ? Parent()->ParentComponent() : nullptr);
    return strip ? strip->TabColor() : clBtnFace;
}

// --- TExtTabToolbar ---------------------------------------------------------------------------

TExtTabToolbar::TExtTabToolbar(TComponent* AOwner) : TExtToolbar(AOwner)
{
    FActivation.OnChanging = TEvent<int, int, bool&>(this, &TExtTabToolbar::TabChanging);
    FActivation.OnChanged = TEvent<int>(this, &TExtTabToolbar::TabChanged);
}

std::vector<TTabStripSlot> TExtTabToolbar::Slots() const
{
    std::vector<TTabStripSlot> slots;
    for (int i = 0; i < Items()->Count(); ++i) {
        TBarCustomItem* item = Items()->Items(i);
        slots.push_back(
            {dynamic_cast<TExtTabItem*>(item) != nullptr, item->HasState(csDestroying)});
    }
    return slots;
}

TExtTabItem* TExtTabToolbar::ActiveTab() const
{
    const int index = ActiveTabIndex();
    if (index < 0 || index >= Items()->Count())
        return nullptr;
    return dynamic_cast<TExtTabItem*>(Items()->Items(index));
}

void TExtTabToolbar::SetActiveTabIndex(int value)
{
    if (FTabSet)
        FActivation.Request(value, Slots());
}

void TExtTabToolbar::TabChanging(int from, int to, bool& allow)
{
    allow = FTabSet->FireTabChanging(from, to);
}

void TExtTabToolbar::TabChanged(int to)
{
    if (FShownTab && !FShownTab->HasState(csDestroying)) {
        FShownTab->SetChecked(false);
        if (FShownTab->Control())
            FShownTab->Control()->SetVisible(false);
    }
    FShownTab = ActiveTab();
    if (FShownTab) {
        FShownTab->SetChecked(true);
        if (TControl* page = FShownTab->Control()) {
            page->SetVisible(true);
            page->BringToFront();
        }
        ScrollActiveTabIntoView();
    }
    FTabSet->FireTabChanged(to);
    PushItemsRight();
}

void TExtTabToolbar::ReapplyActiveTab()
{
    FActivation.Reapply(Slots());
}

void TExtTabToolbar::ItemRemoving(int index, TBarCustomItem* item)
{
    auto* tab = dynamic_cast<TExtTabItem*>(item);
    if (tab == FShownTab)
        FShownTab = nullptr;
    std::erase_if(FHiddenTabs, [item](const THiddenTab& hidden) { return hidden.Item == item; });
    std::vector<TTabStripSlot> after = Slots();
    // The item still stands in the list: the deletion is announced first.
    after.erase(after.begin() + index);
    using After = TTabActivation::TAfterDelete;
    const After what = FActivation.Deleted(index, after);
    if (what == After::ClickNext && HandleAllocated() && FTabSet->HandleAllocated())
        PostMessageA(FTabSet->Handle(), kTabReapplyMessage, 0, 0);
    if (tab)
        FTabSet->AfterTabRemoved(tab);
}

void TExtTabToolbar::TabPressed(TExtTabItem* tab, const TPoint& at)
{
    FDragTab = FTabDragReorder && tab == ActiveTab() ? tab : nullptr;
    FDragFrom = at;
    FDragging = false;
}

void TExtTabToolbar::TabDraggedOver(const TPoint& at)
{
    constexpr int kDragThreshold = 2;
    if (!FDragTab)
        return;
    if (!FDragging && std::abs(at.x - FDragFrom.x) < kDragThreshold &&
        std::abs(at.y - FDragFrom.y) < kDragThreshold)
        return;
    FDragging = true;
    TBarItemViewer* viewer = View()->ViewerAtPixel(at);
    TBarCustomItem* over = viewer ? viewer->Item() : nullptr;
    const int from = Items()->IndexOf(FDragTab);
    const int to = Items()->IndexOf(over);
    int spacer = Items()->Count();
    for (int i = 0; i < Items()->Count(); ++i)
        if (dynamic_cast<TExtRightAlignSpacerItem*>(Items()->Items(i))) {
            spacer = i;
            break;
        }
    if (!over || from < 0 || to < 0 || to == from || over == FDragTab || to >= spacer)
        return;
    if (!FTabSet->FireTabMoved(from, to))
        return;
    ++FReordering;
    FActivation.Move(to);
    Items()->Move(from, to);
    --FReordering;
    PushItemsRight();
    Redraw();
}

void TExtTabToolbar::HandleItemChangeNote(TBarCustomItem* Sender, bool Relayed,
                                          TBarItemChangeCode Code, int Index, TBarCustomItem* Item)
{
    if (!FTabSet || Relayed || FReordering > 0 || HasState(csDestroying) ||
        FTabSet->HasState(csDestroying))
        return;
    switch (Code) {
    case TBarItemChangeCode::ChildAdded:
        FActivation.Inserted(Index);
        if (auto* tab = dynamic_cast<TExtTabItem*>(Item))
            FTabSet->AfterTabAdded(tab);
        break;
    case TBarItemChangeCode::ChildRemoving:
        ItemRemoving(Index, Item);
        break;
    case TBarItemChangeCode::ItemChanged:
    case TBarItemChangeCode::ItemChangedSize: {
        auto* tab = dynamic_cast<TExtTabItem*>(Item);
        if (tab && tab->Checked() && tab->Enabled() && tab != ActiveTab())
            SetActiveTabIndex(Items()->IndexOf(tab));
        break;
    }
    default:
        break;
    }
    TExtToolbar::HandleItemChangeNote(Sender, Relayed, Code, Index, Item);
    if (Code == TBarItemChangeCode::ItemChangedSize)
        Redraw();
}

void TExtTabToolbar::SetThemeType(TExtTabThemeType value)
{
    if (value == FThemeType)
        return;
    FThemeType = value;
    Redraw();
}

void TExtTabToolbar::Redraw()
{
    if (HandleAllocated() && !HasState(csDestroying))
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TExtTabToolbar::SetTabColor(TColor value)
{
    if (value == FTabColor)
        return;
    FTabColor = value;
    if (FThemeType != TExtTabThemeType::tttSkin && FTabSet)
        FTabSet->RepaintBackdrop();
}

void TExtTabToolbar::SetTabAutofit(bool value)
{
    if (value == FTabAutofit)
        return;
    FTabAutofit = value;
    PushItemsRight();
}

void TExtTabToolbar::SetTabAutofitMaxSize(int value)
{
    if (value == FTabAutofitMaxSize)
        return;
    FTabAutofitMaxSize = value;
    PushItemsRight();
}

void TExtTabToolbar::FitTabs()
{
    std::vector<TExtTabItem*> tabs;
    int fixed = 0;
    int spacers = 0;
    for (int i = 0; i < View()->ViewerCount(); ++i) {
        TBarItemViewer* viewer = View()->Viewers(i);
        TBarCustomItem* item = viewer->Item();
        if (!item->Visible() || item == OverflowItem())
            continue;
        if (auto* tab = dynamic_cast<TExtTabItem*>(item))
            tabs.push_back(tab);
        else if (dynamic_cast<TExtRightAlignSpacerItem*>(item))
            ++spacers;
        else
            fixed += viewer->BoundsRect().Width();
    }
    if (tabs.empty() || !CurrentDock())
        return;
    const TTabAutofit fit = ::FitTabs(CurrentDock()->ClientWidth(), static_cast<int>(tabs.size()),
                                      fixed, spacers, FTabAutofitMaxSize, RightPushMargin());
    for (TExtTabItem* tab : tabs)
        tab->SetCustomWidth(fit.TabWidth);
}

int TExtTabToolbar::MeasuredWidth(TBarCustomItem* item)
{
    // A new item may have no viewer yet: it is measured at the next layout.
    TBarItemViewer* viewer = nullptr;
    for (int i = 0; i < View()->ViewerCount() && !viewer; ++i)
        if (View()->Viewers(i)->Item() == item)
            viewer = View()->Viewers(i);
    if (!viewer)
        return 0;
    TBarMeasuringCanvas measuring(View()->GetFont());
    int width = 0, height = 0;
    viewer->CalcSize(measuring.Canvas(), width, height);
    return width;
}

std::vector<TTabOverflowSlot> TExtTabToolbar::OverflowSlots()
{
    std::vector<TTabOverflowSlot> slots;
    for (int i = 0; i < Items()->Count(); ++i) {
        TBarCustomItem* item = Items()->Items(i);
        auto hidden = std::find_if(FHiddenTabs.begin(), FHiddenTabs.end(),
                                   [item](const THiddenTab& h) { return h.Item == item; });
        TTabOverflowSlot slot;
        slot.IsTab = dynamic_cast<TExtTabItem*>(item) != nullptr;
        slot.IsSpacer = dynamic_cast<TExtRightAlignSpacerItem*>(item) != nullptr;
        slot.Visible = item->Visible();
        // A tab shown again from elsewhere is no longer hidden for room.
        slot.Remembered = hidden != FHiddenTabs.end() && !slot.Visible;
        slot.Selectable = item->Enabled() && (slot.Visible || slot.Remembered);
        slot.Active = i == ActiveTabIndex();
        if (slot.Remembered)
            slot.Width = hidden->Width;
        else if (slot.Visible && !slot.IsSpacer)
            slot.Width = MeasuredWidth(item);
        slots.push_back(slot);
    }
    return slots;
}

void TExtTabToolbar::ApplyOverflowSlots(const std::vector<TTabOverflowSlot>& slots)
{
    ++FOverflowing;
    std::vector<THiddenTab> hidden;
    for (size_t i = 0; i < slots.size(); ++i) {
        TBarCustomItem* item = Items()->Items(static_cast<int>(i));
        if (slots[i].Remembered)
            hidden.push_back({item, slots[i].Width});
        if (item->Visible() != slots[i].Visible)
            item->SetVisible(slots[i].Visible);
    }
    FHiddenTabs = std::move(hidden);
    --FOverflowing;
}

void TExtTabToolbar::ApplyOverflow()
{
    if (LayoutBlocked() || Width() <= 0 || Height() <= 0 || Items()->Count() == 0)
        return;
    std::vector<TTabOverflowSlot> slots = OverflowSlots();
    if (ApplyTabOverflow(slots, Width() - 8))
        ApplyOverflowSlots(slots);
}

void TExtTabToolbar::ScrollActiveTabIntoView()
{
    if (FOverflowing > 0 || LayoutBlocked())
        return;
    std::vector<TTabOverflowSlot> slots = OverflowSlots();
    if (ScrollTabIntoView(slots, ActiveTabIndex()))
        ApplyOverflowSlots(slots);
}

void TExtTabToolbar::ShowHiddenTabs()
{
    ++FOverflowing;
    const std::vector<THiddenTab> hidden = std::move(FHiddenTabs);
    FHiddenTabs.clear();
    for (const THiddenTab& tab : hidden)
        tab.Item->SetVisible(true);
    --FOverflowing;
}

std::vector<TBarCustomItem*> TExtTabToolbar::HiddenItems() const
{
    std::vector<TBarCustomItem*> items;
    for (const THiddenTab& tab : FHiddenTabs)
        items.push_back(tab.Item);
    return items;
}

void TExtTabToolbar::PushItemsRight()
{
    if (FOverflowing > 0)
        return;
    if (FTabAutofit) {
        ShowHiddenTabs();
        if (!LayoutBlocked())
            FitTabs();
    } else {
        ApplyOverflow();
    }
    TExtToolbar::PushItemsRight();
}

// --- TExtCustomTabSet -------------------------------------------------------------------------

TExtCustomTabSet::TExtCustomTabSet(TComponent* AOwner)
    : TExtCompoundItemsControl(AOwner, MakeTabToolbar)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetBounds(Left(), Top(), 289, Dock()->Height() + 2);
    TabToolbar()->SetTabSet(this);
}

TExtTabToolbar* TExtCustomTabSet::TabToolbar() const
{
    return static_cast<TExtTabToolbar*>(Toolbar());
}

int TExtCustomTabSet::ActiveTabIndex() const
{
    return TabToolbar() ? TabToolbar()->ActiveTabIndex() : -1;
}

void TExtCustomTabSet::SetActiveTabIndex(int value)
{
    if (TabLoading(this))
        FLoadedIndex = value;
    else if (TabToolbar())
        TabToolbar()->SetActiveTabIndex(value);
}

void TExtCustomTabSet::Loaded()
{
    if (FLoadedIndex != kNoStoredIndex) {
        TabToolbar()->SetActiveTabIndex(FLoadedIndex);
        FLoadedIndex = kNoStoredIndex;
    }
    TExtCompoundItemsControl::Loaded();
    if (TabAutofit())
        TabToolbar()->PushItemsRight();
}

void TExtCustomTabSet::SetTabPosition(TExtTabPosition value)
{
    if (value == TabPosition())
        return;
    // A dock keeps its place while it holds a toolbar: the strip leaves it
    // (hidden) while it moves.
    TExtTabToolbar* strip = TabToolbar();
    strip->SetVisible(false);
    strip->SetParent(this);
    strip->SetTabPosition(value);
    Dock()->SetPosition(value == TExtTabPosition::ttpTop ? TBarDockPosition::dpTop
                                                         : TBarDockPosition::dpBottom);
    strip->SetCurrentDock(Dock());
    strip->SetVisible(true);
    Realign();
    RepaintBackdrop();
}

bool TExtCustomTabSet::TabVisible() const
{
    return Dock()->Visible();
}

void TExtCustomTabSet::SetTabVisible(bool value)
{
    Dock()->SetVisible(value);
}

bool TExtCustomTabSet::FireTabChanging(int TabIndex, int NewTabIndex)
{
    bool allow = true;
    if (!TabLoading(this) && OnActiveTabChanging)
        OnActiveTabChanging(this, TabIndex, NewTabIndex, allow);
    return allow;
}

void TExtCustomTabSet::FireTabChanged(int TabIndex)
{
    if (!TabLoading(this) && OnActiveTabChange)
        OnActiveTabChange(this, TabIndex);
}

bool TExtCustomTabSet::FireTabMoved(int TabIndex, int NewTabIndex)
{
    bool allow = true;
    if (OnActiveTabReorder)
        OnActiveTabReorder(this, TabIndex, NewTabIndex, allow);
    return allow;
}

void TExtCustomTabSet::AfterTabAdded(TExtTabItem* Tab)
{
    if (!TabLoading(this) && ActiveTabIndex() < 0)
        MakeTabActive(Tab);
}

void TExtCustomTabSet::AfterTabRemoved(TExtTabItem*)
{
    if (!HasState(csDestroying))
        TabToolbar()->PushItemsRight();
}

void TExtCustomTabSet::MakeTabActive(TExtTabItem* Tab)
{
    Tab->Click();
}

bool TExtCustomTabSet::PaintsBackdrop()
{
    return true;
}

void TExtCustomTabSet::PaintPage(TCanvas* canvas, const TRect& page)
{
    bool paintDefault = true;
    DoDrawBackground(canvas, page, 0, paintDefault);
    if (paintDefault)
        ExtPaintTabStrip(canvas, page, ExtResolveTabThemeKind(ThemeType(), ExtVisualStylesOn()),
                         TabToolbar()->TabColor());
    DoDrawBackground(canvas, page, 1, paintDefault);
}

void TExtCustomTabSet::DoDrawBackground(TCanvas* canvas, const TRect& rect, int stage,
                                        bool& paintDefault)
{
    if (OnDrawBackground)
        OnDrawBackground(this, canvas, rect, stage, paintDefault);
}

void TExtCustomTabSet::WndProc(TMessage& message)
{
    if (message.Msg == WM_ERASEBKGND && PaintsBackdrop()) {
        TCanvas canvas;
        canvas.SetHandle(reinterpret_cast<HDC>(message.WParam));
        canvas.Brush()->SetColor(Color());
        canvas.FillRect(ClientRect());
        const int strip = TabVisible() ? Dock()->Height() : 0;
        PaintPage(&canvas, TabPageArea(ClientRect(), TabPosition(), strip));
        canvas.SetHandle(nullptr);
        message.Result = 1;
        return;
    }
    if (message.Msg == kTabReapplyMessage) {
        TabToolbar()->ReapplyActiveTab();
        RepaintBackdrop();
        return;
    }
    TExtCompoundItemsControl::WndProc(message);
    switch (message.Msg) {
    case WM_SIZE:
        // The strip's background follows the page under it: all of it changes.
        RepaintBackdrop();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TabToolbar()->Redraw();
        break;
    default:
        break;
    }
}

void TExtCustomTabSet::SetTabBackgroundColor(TColor value)
{
    if (value == FTabBackgroundColor)
        return;
    FTabBackgroundColor = value;
    Dock()->SetColor(value);
    TabToolbar()->SetColor(value);
    RepaintBackdrop();
}

bool TExtCustomTabSet::TabsFocused()
{
    return HandleAllocated() && GetFocus() == Handle();
}

// --- TExtTabSheet ---------------------------------------------------------------------------

TExtTabSheet::TExtTabSheet(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csSetCaption | csOpaque);
    SetVisible(false);
}

TExtTabSheet::~TExtTabSheet()
{
    if (FTabItem) {
        FTabItem->RemoveFreeNotification(this);
        if (FTabItem->Control() == this)
            FTabItem->SetControl(nullptr);
    }
}

void TExtTabSheet::Link(TExtTabControl* control, TExtTabItem* tab)
{
    FTabControl = control;
    if (FTabItem)
        FTabItem->RemoveFreeNotification(this);
    FTabItem = tab;
    if (FTabItem) {
        FTabItem->FreeNotification(this);
        FTabItem->SetControl(this);
    }
}

void TExtTabSheet::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FTabItem)
        FTabItem = nullptr;
}

WideString TExtTabSheet::Caption() const
{
    return FTabItem ? FTabItem->Caption() : WideString();
}

void TExtTabSheet::SetCaption(const WideString& value)
{
    if (FTabItem)
        FTabItem->SetCaption(value);
}

int TExtTabSheet::ImageIndex() const
{
    return FTabItem ? FTabItem->ImageIndex() : -1;
}

void TExtTabSheet::SetImageIndex(int value)
{
    if (FTabItem)
        FTabItem->SetImageIndex(value);
}

bool TExtTabSheet::TabVisible() const
{
    return FTabItem && FTabItem->Visible();
}

void TExtTabSheet::SetTabVisible(bool value)
{
    if (FTabItem)
        FTabItem->SetVisible(value);
}

void TExtTabSheet::PaintPage(TCanvas* canvas)
{
    if (!FTabControl) {
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(ClientRect());
        return;
    }
    // The page's edge toward the tabs lies under the strip, so that the
    // active tab runs into the page.
    TRect page = ClientRect();
    if (FTabControl->TabVisible()) {
        if (FTabControl->TabPosition() == TExtTabPosition::ttpTop)
            page.top -= 4;
        else
            page.bottom += 4;
    }
    FTabControl->PaintPage(canvas, page);
}

void TExtTabSheet::Paint()
{
    PaintPage(Canvas());
}

void TExtTabSheet::WndProc(TMessage& message)
{
    if (message.Msg != WM_ERASEBKGND) {
        TCustomControl::WndProc(message);
        return;
    }
    // The sheet's own paint covers its window; a control on the page asking
    // for what lies under it stands on the page.
    if (ErasesForAnother(this, message)) {
        auto dc = reinterpret_cast<HDC>(message.WParam);
        TSavedDCState saved(dc);
        TCanvas canvas;
        TCanvasDCScope scope(&canvas, dc);
        PaintPage(&canvas);
    }
    message.Result = 1;
}

// --- TExtTabControl ----------------------------------------------------------------------------

TExtTabControl::TExtTabControl(TComponent* AOwner)
    : TExtCustomTabSet(AOwner), FEmptyPage(new TExtTabSheet(this))
{
    SetControlStyle(ControlStyle() & ~csAcceptsControls);
    SetBounds(Left(), Top(), 289, 193);
    FEmptyPage->SetParent(this);
    FEmptyPage->Link(this, nullptr);
}

TExtTabControl::~TExtTabControl() = default;

TExtTabSheet* TExtTabControl::SheetOf(TExtTabItem* tab) const
{
    for (TExtTabSheet* sheet : FSheets)
        if (sheet->TabItem() == tab)
            return sheet;
    return nullptr;
}

void TExtTabControl::SetMargins(const TRect& value)
{
    if (value == FMargins)
        return;
    FMargins = value;
    Realign();
}

bool TExtTabControl::PaintsBackdrop()
{
    // A page always covers the area: the active tab's sheet or the empty page.
    return false;
}

void TExtTabControl::FireTabChanged(int TabIndex)
{
    if (TabIndex == -1) {
        FEmptyPage->SetVisible(true);
        FEmptyPage->BringToFront();
    } else {
        FEmptyPage->SetVisible(false);
    }
    TExtCustomTabSet::FireTabChanged(TabIndex);
    KeepFocusOnShownPage();
}

void TExtTabControl::KeepFocusOnShownPage()
{
    // Hiding a page leaves the focus on its hidden control, where keys would
    // go unseen.
    const HWND focus = GetFocus();
    if (!HandleAllocated() || !focus || !IsChild(Handle(), focus) || IsWindowVisible(focus) ||
        !CanFocus())
        return;
    TExtTabSheet* page = ActiveTabIndex() >= 0 ? SheetOf(TabToolbar()->ActiveTab()) : FEmptyPage;
    TWinControl* target = page ? page->FirstFocusTarget() : nullptr;
    (target ? target : this)->SetFocus();
}

void TExtTabControl::AfterTabAdded(TExtTabItem* Tab)
{
    if (!SheetOf(Tab) && !dynamic_cast<TExtTabSheet*>(Tab->Control())) {
        TComponent* form = GetParentForm(this);
        TComponent* owner = form ? form : Owner();
        std::vector<std::string> used;
        if (owner)
            for (int i = 0; i < owner->ComponentCount(); ++i)
                used.push_back(owner->Components(i)->Name());
        auto* sheet = new TExtTabSheet(owner);
        sheet->SetName(FreeTabSheetName(used));
        sheet->SetParent(this);
        sheet->Link(this, Tab);
        sheet->SendToBack();
        FSheets.push_back(sheet);
        Realign();
        if (FSheets.size() == 1) {
            MakeTabActive(Tab);
            return;
        }
    }
    TExtCustomTabSet::AfterTabAdded(Tab);
}

void TExtTabControl::AfterTabRemoved(TExtTabItem* Tab)
{
    TExtTabSheet* sheet = SheetOf(Tab);
    if (sheet) {
        FSheets.erase(std::find(FSheets.begin(), FSheets.end(), sheet));
        delete sheet;
    }
    TExtCustomTabSet::AfterTabRemoved(Tab);
}

void TExtTabControl::AlignControls(TControl* control, TRect& rect)
{
    TExtCustomTabSet::AlignControls(control, rect);
    TRect page = ClientRect();
    if (Dock()->Visible()) {
        if (TabPosition() == TExtTabPosition::ttpTop)
            page.top = Dock()->Top() + Dock()->Height();
        else
            page.bottom = Dock()->Top();
    }
    const TRect bounds = TabSheetBounds(page, TabPosition(), ExtVisualStylesOn(), FMargins);
    auto place = [&](TExtTabSheet* sheet) {
        sheet->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    };
    place(FEmptyPage);
    for (TExtTabSheet* sheet : FSheets)
        place(sheet);
}
