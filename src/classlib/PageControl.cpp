#include "PageControl.h"

#include "Form.h"

#include <algorithm>
#include <commctrl.h>

// ---------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks);
    SetAlign(TAlign::alClient);
    SetVisible(false);
}

TTabSheet::~TTabSheet()
{
    if (FPageControl)
        FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value)
{
    if (value == FPageControl)
        return;
    if (FPageControl)
        FPageControl->RemovePage(this);
    SetParent(value);
    if (value)
        value->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl)
        return -1;
    auto& pages = FPageControl->FPages;
    auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetPageIndex(int value)
{
    if (FPageControl)
        FPageControl->MovePage(this, value);
}

int TTabSheet::TabIndex() const
{
    if (!FPageControl || !FTabVisible)
        return -1;
    int index = 0;
    for (TTabSheet* page : FPageControl->FPages) {
        if (page == this)
            return index;
        if (page->FTabVisible)
            ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value)
{
    if (value == FTabVisible)
        return;
    FTabVisible = value;
    if (!FPageControl)
        return;
    if (!value && FPageControl->FActivePage == this)
        FPageControl->SetActivePage(FPageControl->FindNextPage(this, true));
    FPageControl->UpdateTabs();
}

void TTabSheet::SetImageIndex(int value)
{
    FImageIndex = value;
    if (FPageControl)
        FPageControl->UpdateTab(this);
}

void TTabSheet::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CM_TEXTCHANGED:
        TWinControl::WndProc(m);
        if (FPageControl)
            FPageControl->UpdateTab(this);
        return;
    case CM_SHOWINGCHANGED:
        TWinControl::WndProc(m);
        if (Visible() && OnShow)
            OnShow(this);
        else if (!Visible() && OnHide)
            OnHide(this);
        return;
    }
    TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner)
{
    SetControlStyle(csAcceptsControls | csDoubleClicks);
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl()
{
    for (TTabSheet* page : FPages)
        page->FPageControl = nullptr;
    FPages.clear();
}

void TPageControl::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_TABCONTROLA);
    params.Style |= WS_CLIPCHILDREN | TCS_TABS;
}

void TPageControl::CreateWnd()
{
    TWinControl::CreateWnd();
    if (FImages)
        SendMessageA(WindowHandle(), TCM_SETIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(FImages->Handle()));
    UpdateTabs();
}

void TPageControl::AdjustClientRect(TRect& rect)
{
    if (!HandleAllocated()) {
        rect = TRect(rect.left + 4, rect.top + 24, std::max(rect.left + 4, rect.right - 4),
                     std::max(rect.top + 24, rect.bottom - 4));
        return;
    }
    RECT r = rect;
    SendMessageA(WindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    rect = TRect(r.left, r.top, std::max(r.left, r.right), std::max(r.top, r.bottom));
}

void TPageControl::InsertPage(TTabSheet* page)
{
    if (std::find(FPages.begin(), FPages.end(), page) != FPages.end())
        return;
    FPages.push_back(page);
    page->FPageControl = this;
    UpdateTabs();
    if (!FActivePage && page->FTabVisible)
        SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page)
{
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end())
        return;
    TTabSheet* next = FActivePage == page ? FindNextPage(page, true) : FActivePage;
    FPages.erase(it);
    page->FPageControl = nullptr;
    if (next == page)
        next = nullptr;
    if (FActivePage == page)
        FActivePage = nullptr;
    if (!HasState(csDestroying)) {
        UpdateTabs();
        SetActivePage(next);
    }
}

void TPageControl::MovePage(TTabSheet* page, int index)
{
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end())
        return;
    FPages.erase(it);
    index = std::clamp(index, 0, PageCount());
    FPages.insert(FPages.begin() + index, page);
    UpdateTabs();
}

void TPageControl::SendTabItem(UINT message, int tab, TTabSheet* page)
{
    AnsiString caption = page->Caption();
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.pszText = caption.data();
    item.iImage = page->FImageIndex;
    item.lParam = reinterpret_cast<LPARAM>(page);
    SendMessageA(WindowHandle(), message, tab, reinterpret_cast<LPARAM>(&item));
}

void TPageControl::UpdateTab(TTabSheet* page)
{
    int tab = page->TabIndex();
    if (HandleAllocated() && tab >= 0)
        SendTabItem(TCM_SETITEMA, tab, page);
}

void TPageControl::UpdateTabs()
{
    if (!HandleAllocated())
        return;
    FUpdatingTabs = true;
    HWND window = WindowHandle();
    SendMessageA(window, TCM_DELETEALLITEMS, 0, 0);
    int tab = 0;
    for (TTabSheet* page : FPages)
        if (page->FTabVisible)
            SendTabItem(TCM_INSERTITEMA, tab++, page);
    int active = FActivePage ? FActivePage->TabIndex() : -1;
    SendMessageA(window, TCM_SETCURSEL, active, 0);
    FUpdatingTabs = false;
    Realign();
}

void TPageControl::ShowPage(TTabSheet* page)
{
    for (TTabSheet* other : FPages)
        if (other != page)
            other->SetVisible(false);
    if (page) {
        page->SetVisible(true);
        page->BringToFront();
    }
}

void TPageControl::SetActivePage(TTabSheet* value)
{
    if (value && value->FPageControl != this)
        return;
    TCustomForm* form = GetParentForm(this);
    bool focusInside = form && FActivePage && FActivePage->ContainsControl(form->ActiveControl());
    FActivePage = value;
    ShowPage(value);
    if (HandleAllocated())
        SendMessageA(WindowHandle(), TCM_SETCURSEL, value ? value->TabIndex() : -1, 0);
    if (focusInside && CanFocus())
        SetFocus();
}

int TPageControl::ActivePageIndex() const
{
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int value)
{
    if (value >= 0 && value < PageCount())
        SetActivePage(FPages[value]);
    else if (value == -1)
        SetActivePage(nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward) const
{
    int n = PageCount();
    if (n == 0)
        return nullptr;
    auto it = std::find(FPages.begin(), FPages.end(), current);
    int start =
        it == FPages.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - FPages.begin());
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = goForward ? (i + 1) % n : (i - 1 + n) % n;
        if (FPages[i]->FTabVisible && FPages[i] != current)
            return FPages[i];
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward)
{
    TTabSheet* next = FindNextPage(FActivePage, goForward);
    if (next && next != FActivePage && CanChange()) {
        SetActivePage(next);
        Change();
    }
}

void TPageControl::SetImages(TCustomImageList* value)
{
    if (value == FImages)
        return;
    ReplaceFreeNotified(this, FImages, value);
    if (HandleAllocated())
        SendMessageA(WindowHandle(), TCM_SETIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages)
        SetImages(nullptr);
}

bool TPageControl::CanChange()
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TPageControl::Change()
{
    if (OnChange)
        OnChange(this);
}

void TPageControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(m.LParam);
        if (header->code == TCN_SELCHANGING) {
            m.Result = FUpdatingTabs || CanChange() ? 0 : 1;
            return;
        }
        if (header->code == TCN_SELCHANGE && !FUpdatingTabs) {
            int tab = static_cast<int>(SendMessageA(WindowHandle(), TCM_GETCURSEL, 0, 0));
            TCITEMA item = {};
            item.mask = TCIF_PARAM;
            if (tab >= 0 &&
                SendMessageA(WindowHandle(), TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item)))
                SetActivePage(reinterpret_cast<TTabSheet*>(item.lParam));
            Change();
            return;
        }
        m.Result = 0;
        return;
    }
    case CM_DIALOGKEY: {
        TShiftState shift = KeyDataToShiftState(m.LParam);
        TCustomForm* form = GetParentForm(this);
        bool inside = form && ContainsControl(form->ActiveControl());
        if (m.WParam == VK_TAB && (shift & ssCtrl) && inside) {
            SelectNextPage(!(shift & ssShift));
            m.Result = 1;
            return;
        }
        break;
    }
    }
    TWinControl::WndProc(m);
}
