// Pages behind tabs.
//
//   TTabSheet     one page: a container whose caption is its tab's text
//   TPageControl  the common controls' tab control with one tab for each
//                 visible sheet; the active sheet fills the display area,
//                 the others are hidden. OnChanging may refuse a change the
//                 person makes; OnChange follows every change of the person.
//                 Ctrl+Tab and Ctrl+Shift+Tab turn the pages when no
//                 shortcut took those keys.
#pragma once

#include "ImageList.h"
#include "WinControl.h"

#include <vector>

class TPageControl;

class TTabSheet : public TWinControl
{
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* value);
    // The position among the page control's sheets.
    int PageIndex() const;
    void SetPageIndex(int value);
    // The position among the visible tabs; -1 while the tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    void WndProc(TMessage& message) override;

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr; // not owned; the page control lists this sheet
    bool FTabVisible = true;
    int FImageIndex = -1;
};

class TPageControl : public TWinControl
{
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const { return FPages.at(index); }
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* value);
    // The active page's position among the pages; -1 when none. An index
    // out of range is ignored.
    int ActivePageIndex() const;
    void SetActivePageIndex(int value);
    // The next (or previous) page with a visible tab, wrapping around.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward) const;
    void SelectNextPage(bool goForward);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);

    // Sender, AllowChange.
    TEvent<TObject*, bool&> OnChanging;
    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    friend class TTabSheet;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void AdjustClientRect(TRect& rect) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    // Rebuilds the tabs from the sheets.
    void UpdateTabs();
    void UpdateTab(TTabSheet* page);
    bool CanChange();
    virtual void Change();

private:
    void ShowPage(TTabSheet* page);
    void SendTabItem(UINT message, int tab, TTabSheet* page);

    std::vector<TTabSheet*> FPages;      // not owned: the sheets are children
    TTabSheet* FActivePage = nullptr;    // not owned
    TCustomImageList* FImages = nullptr; // not owned; free-notified
    bool FUpdatingTabs = false;
};
