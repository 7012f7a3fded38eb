// The tab control: a compound control whose inner toolbar is a strip of
// tab items, one page (a tab sheet) per tab, the active tab's page shown
// and an empty page while no tab is active. Tabs switch on the button
// press; the change events ask before and tell after.
#pragma once

#include "controls/ExtItem.h"
#include "controls/ExtTabRules.h"

class TExtCustomTabSet;
class TExtTabControl;
class TExtTabToolbar;

// Sender, TabIndex.
using TExtTabChangeEvent = TEvent<TObject*, int>;
// Sender, TabIndex, NewTabIndex, Allow (also for a tab dragged to a new
// place).
using TExtTabChangingEvent = TEvent<TObject*, int, int, bool&>;

// Posted to a tab set after a deletion clicked the next tab: the active tab
// is applied again once the deletion is over.
constexpr UINT kTabReapplyMessage = 8801;

// The page under the tabs: a visual-style pane, or framed classic or flat
// and filled with the tabs' colour.
void ExtPaintTabStrip(TCanvas* canvas, const TRect& page, TExtTabThemeType kind, TColor color);

// One tab of the strip; its Control is its page. All tabs form one radio
// group.
class TExtTabItem : public TExtCustomItem
{
public:
    explicit TExtTabItem(TComponent* AOwner);
    // Leaves its strip while still a tab, so that the strip frees its page.
    ~TExtTabItem() override;
    // Checks (and so activates) an enabled tab that is not yet checked;
    // the active tab's click does nothing and no tab flips its page.
    void Click() override;
    void FlipBoundControl() override {}
    void SyncFromControl() override {}
    TBarItemViewerClass ViewerClassForItem(TBarView* View) override;
    // The colour of the active tab and its page (its strip's).
    TColor TabColor() const;
};

class TExtTabToolbar : public TExtToolbar
{
public:
    explicit TExtTabToolbar(TComponent* AOwner);

    TExtCustomTabSet* TabSet() const { return FTabSet; }
    void SetTabSet(TExtCustomTabSet* value) { FTabSet = value; }

    int ActiveTabIndex() const { return FActivation.Active(); }
    void SetActiveTabIndex(int value);
    TExtTabItem* ActiveTab() const;
    bool TabAutofit() const { return FTabAutofit; }
    void SetTabAutofit(bool value);
    int TabAutofitMaxSize() const { return FTabAutofitMaxSize; }
    void SetTabAutofitMaxSize(int value);
    TExtTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TExtTabPosition value) { FTabPosition = value; }
    // How the tabs are painted; a change repaints the strip.
    TExtTabThemeType ThemeType() const { return FThemeType; }
    void SetThemeType(TExtTabThemeType value);
    // The face of the active tab and of the pages; a change repaints them
    // (the toolbar theme's tabs do not show it).
    TColor TabColor() const { return FTabColor; }
    void SetTabColor(TColor value);
    // A press on the active tab drags it along the strip.
    bool TabDragReorder() const { return FTabDragReorder; }
    void SetTabDragReorder(bool value) { FTabDragReorder = value; }

    // The drag of a tab to a new place: pressed at a view point, the mouse
    // moved to a view point, released.
    void TabPressed(TExtTabItem* tab, const TPoint& at);
    void TabDraggedOver(const TPoint& at);
    void TabReleased() { FDragTab = nullptr; }

    // Hides the tabs that do not fit (into the hidden-items list) and shows
    // them again when there is room, unless the tabs are fitted; then lays
    // out the items after the right-align spacer.
    void PushItemsRight() override;
    // The tabs hidden because they did not fit, in strip order.
    std::vector<TBarCustomItem*> HiddenItems() const;
    // Activates the active tab anew (see kTabReapplyMessage).
    void ReapplyActiveTab();
    // Repaints the whole strip, frame included.
    void Redraw();

protected:
    void HandleItemChangeNote(TBarCustomItem* Sender, bool Relayed, TBarItemChangeCode Code,
                              int Index, TBarCustomItem* Item) override;

private:
    std::vector<TTabStripSlot> Slots() const;
    void TabChanging(int from, int to, bool& allow);
    void TabChanged(int to);
    void ItemRemoving(int index, TBarCustomItem* item);
    void FitTabs();
    // A tab hidden for want of room, with the width it had.
    struct THiddenTab
    {
        TBarCustomItem* Item; // not owned; leaves the list when it leaves the strip
        int Width;
    };
    std::vector<TTabOverflowSlot> OverflowSlots();
    void ApplyOverflowSlots(const std::vector<TTabOverflowSlot>& slots);
    void ApplyOverflow();
    void ScrollActiveTabIntoView();
    void ShowHiddenTabs();
    int MeasuredWidth(TBarCustomItem* item);

    TExtCustomTabSet* FTabSet = nullptr; // not owned: the owner
    TTabActivation FActivation;
    TExtTabItem* FShownTab = nullptr; // the tab checked with its page shown; not owned
    bool FTabAutofit = false;
    int FTabAutofitMaxSize = 200;
    TExtTabPosition FTabPosition = TExtTabPosition::ttpTop;
    TExtTabThemeType FThemeType = TExtTabThemeType::tttWindows;
    TColor FTabColor = clBtnFace;
    bool FTabDragReorder = false;
    TExtTabItem* FDragTab = nullptr; // pressed for a drag; not owned
    TPoint FDragFrom;                // view pixels
    bool FDragging = false;          // moved past the threshold
    int FReordering = 0;             // moving a dragged tab: notifications wait
    std::vector<THiddenTab> FHiddenTabs;
    int FOverflowing = 0; // showing or hiding tabs for room
};

// A strip of tabs with the change events.
class TExtCustomTabSet : public TExtCompoundItemsControl
{
public:
    explicit TExtCustomTabSet(TComponent* AOwner);

    TExtTabToolbar* TabToolbar() const;
    // -1 while no tab is active; set while loading, it applies once loaded.
    int ActiveTabIndex() const;
    void SetActiveTabIndex(int value);
    TExtTabPosition TabPosition() const { return TabToolbar()->TabPosition(); }
    void SetTabPosition(TExtTabPosition value);
    bool TabVisible() const;
    void SetTabVisible(bool value);
    bool TabAutofit() const { return TabToolbar()->TabAutofit(); }
    void SetTabAutofit(bool value) { TabToolbar()->SetTabAutofit(value); }
    bool TabDragReorder() const { return TabToolbar()->TabDragReorder(); }
    void SetTabDragReorder(bool value) { TabToolbar()->SetTabDragReorder(value); }
    // How the tabs are painted (the compound control's own theme type is
    // that of its background).
    TExtTabThemeType ThemeType() const { return TabToolbar()->ThemeType(); }
    void SetThemeType(TExtTabThemeType value) { TabToolbar()->SetThemeType(value); }
    // The strip's background behind the tabs; clNone: as the theme paints it.
    TColor TabBackgroundColor() const { return FTabBackgroundColor; }
    void SetTabBackgroundColor(TColor value);
    // The keyboard focus is on the tab set or its strip.
    bool TabsFocused();

    virtual bool FireTabChanging(int TabIndex, int NewTabIndex);
    virtual void FireTabChanged(int TabIndex);
    virtual bool FireTabMoved(int TabIndex, int NewTabIndex);
    virtual void AfterTabAdded(TExtTabItem* Tab);
    virtual void AfterTabRemoved(TExtTabItem* Tab);
    virtual void MakeTabActive(TExtTabItem* Tab);
    // Whether the tab set paints the page area when its background is erased.
    virtual bool PaintsBackdrop();
    // Paints a page (the tab set's page area, or a sheet) in the tabs' kind
    // and colour, between the two stages of OnDrawBackground.
    void PaintPage(TCanvas* canvas, const TRect& page);
    virtual void DoDrawBackground(TCanvas* canvas, const TRect& rect, int stage,
                                  bool& paintDefault);

    TExtTabChangeEvent OnActiveTabChange;
    TExtTabChangingEvent OnActiveTabChanging;
    TExtTabChangingEvent OnActiveTabReorder;
    // Around the painting of a page; clearing paint default at stage 0
    // leaves the page to the handler.
    TExtDrawEvent OnDrawBackground;

    void WndProc(TMessage& message) override;

protected:
    void Loaded() override;

private:
    static constexpr int kNoStoredIndex = -2;
    int FLoadedIndex = kNoStoredIndex; // given while loading
    TColor FTabBackgroundColor = clNone;
};

// A page of a tab control.
class TExtTabSheet : public TCustomControl
{
public:
    explicit TExtTabSheet(TComponent* AOwner);
    ~TExtTabSheet() override;

    TExtTabControl* TabControl() const { return FTabControl; }
    TExtTabItem* TabItem() const { return FTabItem; }
    // Link to the tab (both ways) and the tab control.
    void Link(TExtTabControl* control, TExtTabItem* tab);
    // The tab's caption, image and visibility; without a tab: empty, -1,
    // false, and writes are dropped.
    WideString Caption() const;
    void SetCaption(const WideString& value);
    int ImageIndex() const;
    void SetImageIndex(int value);
    bool TabVisible() const;
    void SetTabVisible(bool value);
    void WndProc(TMessage& message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;

private:
    // The tab control's page, its edge toward the tabs under the strip.
    void PaintPage(TCanvas* canvas);

    TExtTabControl* FTabControl = nullptr; // not owned
    TExtTabItem* FTabItem = nullptr;       // not owned; free-notified
};

class TExtTabControl : public TExtCustomTabSet
{
public:
    explicit TExtTabControl(TComponent* AOwner);
    ~TExtTabControl() override;

    int SheetCount() const { return static_cast<int>(FSheets.size()); }
    TExtTabSheet* Sheets(int index) const { return FSheets.at(index); }
    // The page shown while no tab is active.
    TExtTabSheet* EmptyPage() const { return FEmptyPage; }
    // Margins inside the page area (left, top, right, bottom), pixels.
    TRect Margins() const { return FMargins; }
    void SetMargins(const TRect& value);

    void FireTabChanged(int TabIndex) override;
    bool PaintsBackdrop() override;
    void AfterTabAdded(TExtTabItem* Tab) override;
    void AfterTabRemoved(TExtTabItem* Tab) override;

protected:
    void AlignControls(TControl* control, TRect& rect) override;

private:
    TExtTabSheet* SheetOf(TExtTabItem* tab) const;
    // After a switch that hid the focused control: the focus moves into the
    // shown page, where the program would place it first, or else onto the
    // tab control.
    void KeepFocusOnShownPage();

    std::vector<TExtTabSheet*> FSheets; // owned by the form; freed with their tab
    TExtTabSheet* FEmptyPage;           // owned
    TRect FMargins;
};
