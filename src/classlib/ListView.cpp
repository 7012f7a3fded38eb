#include "ListView.h"

#include "Exceptions.h"
#include "ScopeExit.h"
#include "TextUtils.h"

#include <algorithm>
#include <utility>

namespace {

// Up to this many items a change of every item's selection leaves each
// item's repaint to the window.
constexpr int kItemsRepaintedOneByOne = 200;

// The user's messages that may change the selection of many items at once:
// clicks (every other item deselected, a range selected with Shift), moves
// and range keys, and typed searches.
bool MaySelectMany(UINT msg)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_CHAR:
        return true;
    default:
        return false;
    }
}

int FormatOf(TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::taRightJustify:
        return LVCFMT_RIGHT;
    case TAlignment::taCenter:
        return LVCFMT_CENTER;
    default:
        return LVCFMT_LEFT;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TListItem

TListItem::TListItem(TListItems* owner) : FOwner(owner)
{
    FSubItems = new TStringList;
    FSubItems->OnChange = TNotifyEvent(this, &TListItem::SubItemsChanged);
}

TListItem::~TListItem()
{
    delete FSubItems;
}

TListView* TListItem::ListView() const
{
    return FOwner ? FOwner->Owner() : nullptr;
}

void TListItem::SubItemsChanged(TObject*)
{
    Update();
}

void TListItem::SetCaption(const AnsiString& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    Update();
    if (TListView* view = ListView())
        if (view->OnChange)
            view->OnChange(view, this, TItemChange::ctText);
}

void TListItem::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    Update();
}

int TListItem::SubItemImages(int index) const
{
    return index >= 0 && index < static_cast<int>(FSubItemImages.size()) ? FSubItemImages[index]
                                                                         : -1;
}

void TListItem::SetSubItemImages(int index, int value)
{
    if (index < 0)
        return;
    if (index >= static_cast<int>(FSubItemImages.size()))
        FSubItemImages.resize(index + 1, -1);
    FSubItemImages[index] = value;
    Update();
}

int TListItem::Index() const
{
    return FOwner ? FOwner->IndexOf(this) : -1;
}

bool TListItem::HasState(UINT mask) const
{
    TListView* view = ListView();
    if (!view || !view->HandleAllocated())
        return (FSavedState & mask) != 0;
    return (SendMessageA(view->WindowHandle(), LVM_GETITEMSTATE, Index(), mask) & mask) != 0;
}

void TListItem::SetState(UINT mask, UINT value)
{
    TListView* view = ListView();
    const bool windowed = view && view->WindowForItems();
    FSavedState = (FSavedState & ~mask) | (value & mask);
    if (!windowed)
        return;
    LVITEMA item = {};
    item.stateMask = mask;
    item.state = value;
    SendMessageA(view->WindowHandle(), LVM_SETITEMSTATE, Index(), reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Selected() const
{
    return HasState(LVIS_SELECTED);
}

void TListItem::SetSelected(bool value)
{
    SetState(LVIS_SELECTED, value ? LVIS_SELECTED : 0);
}

bool TListItem::Focused() const
{
    return HasState(LVIS_FOCUSED);
}

void TListItem::SetFocused(bool value)
{
    SetState(LVIS_FOCUSED, value ? LVIS_FOCUSED : 0);
}

bool TListItem::Checked() const
{
    TListView* view = ListView();
    if (!view || !view->HandleAllocated())
        return (FSavedState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    auto state = SendMessageA(view->WindowHandle(), LVM_GETITEMSTATE, Index(), LVIS_STATEIMAGEMASK);
    return (static_cast<UINT>(state) & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void TListItem::SetChecked(bool value)
{
    SetState(LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(value ? 2 : 1));
}

void TListItem::MakeVisible(bool partialOK)
{
    TListView* view = ListView();
    if (view && view->HandleAllocated())
        SendMessageA(view->WindowHandle(), LVM_ENSUREVISIBLE, Index(), partialOK);
}

TRect TListItem::DisplayRect(TDisplayCode code) const
{
    TListView* view = ListView();
    RECT r = {0, 0, 0, 0};
    if (!view || !view->WindowForItems())
        return TRect(r);
    switch (code) {
    case TDisplayCode::drBounds:
        r.left = LVIR_BOUNDS;
        break;
    case TDisplayCode::drIcon:
        r.left = LVIR_ICON;
        break;
    case TDisplayCode::drLabel:
        r.left = LVIR_LABEL;
        break;
    case TDisplayCode::drSelectBounds:
        r.left = LVIR_SELECTBOUNDS;
        break;
    }
    SendMessageA(view->WindowHandle(), LVM_GETITEMRECT, Index(), reinterpret_cast<LPARAM>(&r));
    return TRect(r);
}

void TListItem::Update()
{
    if (TListView* view = ListView())
        view->RedrawItem(this);
}

void TListItem::Delete()
{
    if (FOwner)
        FOwner->Delete(Index());
}

// ---------------------------------------------------------------------------
// TListItems

TListItems::~TListItems()
{
    for (TListItem* item : FItems)
        delete item;
}

TListItem* TListItems::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[index];
}

int TListItems::IndexOf(const TListItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TListItem* TListItems::Add()
{
    return Insert(Count());
}

TListItem* TListItems::Insert(int index)
{
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    auto* item = new TListItem(this);
    FItems.insert(FItems.begin() + index, item);
    FOwner->InsertItemWindow(item, index);
    if (FOwner->OnInsert)
        FOwner->OnInsert(FOwner, item);
    return item;
}

void TListItems::Delete(int index)
{
    TListItem* item = Item(index);
    if (FOwner->OnDeletion) {
        // The handler may have moved it.
        FOwner->OnDeletion(FOwner, item);
        index = IndexOf(item);
        if (index < 0)
            return;
    }
    if (FOwner->HandleAllocated())
        SendMessageA(FOwner->WindowHandle(), LVM_DELETEITEM, index, 0);
    FItems.erase(FItems.begin() + index);
    delete item;
}

void TListItems::Clear()
{
    // An empty list stays as it is: clearing it would only repaint it.
    if (FItems.empty())
        return;
    BeginUpdate();
    TScopeExit updated([this] { EndUpdate(); });
    if (FOwner->OnDeletion)
        for (TListItem* item : std::vector<TListItem*>(FItems))
            FOwner->OnDeletion(FOwner, item);
    if (FOwner->HandleAllocated())
        SendMessageA(FOwner->WindowHandle(), LVM_DELETEALLITEMS, 0, 0);
    std::vector<TListItem*> doomed;
    doomed.swap(FItems);
    for (TListItem* item : doomed)
        delete item;
}

void TListItems::BeginUpdate()
{
    if (FUpdateCount++ == 0 && FOwner->HandleAllocated())
        SendMessageA(FOwner->WindowHandle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FOwner->HandleAllocated()) {
        SendMessageA(FOwner->WindowHandle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(FOwner->WindowHandle(), nullptr, TRUE);
    }
}

// ---------------------------------------------------------------------------
// Columns

int TListColumn::Index() const
{
    auto& list = FOwner->FColumns->FColumns;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TListColumn::Apply() const
{
    if (!FOwner->HandleAllocated())
        return;
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = const_cast<char*>(FCaption.c_str());
    column.fmt = FormatOf(FAlignment);
    SendMessageA(FOwner->WindowHandle(), LVM_SETCOLUMNA, Index(),
                 reinterpret_cast<LPARAM>(&column));
}

void TListColumn::SetCaption(const AnsiString& value)
{
    FCaption = value;
    Apply();
}

void TListColumn::SetAlignment(TAlignment value)
{
    FAlignment = value;
    Apply();
}

int TListColumn::Width() const
{
    if (!FOwner->HandleAllocated())
        return FWidth;
    return static_cast<int>(SendMessageA(FOwner->WindowHandle(), LVM_GETCOLUMNWIDTH, Index(), 0));
}

void TListColumn::SetWidth(int value)
{
    FWidth = value;
    if (FOwner->HandleAllocated()) {
        SendMessageA(FOwner->WindowHandle(), LVM_SETCOLUMNWIDTH, Index(), MAKELPARAM(value, 0));
        FWidth = Width();
    }
}

TListColumns::~TListColumns()
{
    for (TListColumn* column : FColumns)
        delete column;
}

TListColumn* TListColumns::Add()
{
    auto* column = new TListColumn(FOwner);
    FColumns.push_back(column);
    FOwner->InsertColumnWindow(column, Count() - 1);
    return column;
}

void TListColumns::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    // The others keep their display order. A deletion moves the columns
    // created after the deleted one left, not those shown after it, so the
    // values of a column moved forward would draw off their headers: the
    // column is moved to the last place first, where both are the same, and
    // the order is set again afterwards, which has the window take every
    // place from the header.
    std::vector<int> order = FOwner->ColumnOrder();
    std::erase(order, index);
    if (FOwner->HandleAllocated()) {
        order.push_back(index);
        FOwner->SetColumnOrder(order);
        order.pop_back();
        SendMessageA(FOwner->WindowHandle(), LVM_DELETECOLUMN, index, 0);
    }
    delete FColumns[index];
    FColumns.erase(FColumns.begin() + index);
    for (int& column : order)
        if (column > index)
            --column;
    if (order.empty())
        FOwner->FColumnOrder.clear();
    else
        FOwner->SetColumnOrder(order);
}

void TListColumns::Clear()
{
    while (Count() > 0)
        Delete(Count() - 1);
}

// ---------------------------------------------------------------------------
// TListView: life

TListView::TListView(TComponent* AOwner) : TWinControl(AOwner)
{
    FItems = new TListItems(this);
    FColumns = new TListColumns(this);
    FCanvas = new TControlCanvas;
    FCanvas->SetControl(this);
    FImageChangeLink = new TChangeLink;
    FImageChangeLink->OnChange = TNotifyEvent(this, &TListView::ImageListChanged);
    SetTabStop(true);
    SetColor(clWindow);
    SetControlStyle(csCaptureMouse | csDoubleClicks);
    SetBounds(0, 0, 250, 150);
}

TListView::~TListView()
{
    // The window asks for item texts until it is gone.
    DestroyHandle();
    delete FImageChangeLink;
    delete FCanvas;
    delete FColumns;
    delete FItems;
}

void TListView::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_LISTVIEWA);
    params.ExStyle |= WS_EX_CLIENTEDGE;
    switch (FViewStyle) {
    case TViewStyle::vsIcon:
        params.Style |= LVS_ICON;
        break;
    case TViewStyle::vsSmallIcon:
        params.Style |= LVS_SMALLICON;
        break;
    case TViewStyle::vsList:
        params.Style |= LVS_LIST;
        break;
    case TViewStyle::vsReport:
        params.Style |= LVS_REPORT;
        break;
    }
    params.Style |= LVS_SHAREIMAGELISTS;
    if (!FMultiSelect)
        params.Style |= LVS_SINGLESEL;
    if (!FReadOnly)
        params.Style |= LVS_EDITLABELS;
    if (!FHideSelection)
        params.Style |= LVS_SHOWSELALWAYS;
    if (!FShowColumnHeaders)
        params.Style |= LVS_NOCOLUMNHEADER;
    if (!FColumnClick)
        params.Style |= LVS_NOSORTHEADER;
}

void TListView::CreateWnd()
{
    TWinControl::CreateWnd();
    // The columns and items go in with the window's drawing held, so that it
    // sizes its header and scroll bars once, not at every column (each a
    // trip to the window system); an update under way keeps it held.
    SendMessageA(WindowHandle(), WM_SETREDRAW, FALSE, 0);
    ApplyExtendedStyle();
    ApplyImageLists();
    for (int i = 0; i < FColumns->Count(); ++i)
        InsertColumnWindow(FColumns->Items(i), i);
    if (!FColumnOrder.empty())
        SetColumnOrder(FColumnOrder);
    FRecreatingItems = true;
    SendMessageA(WindowHandle(), LVM_SETITEMCOUNT, FItems->Count(), 0);
    for (int i = 0; i < FItems->Count(); ++i)
        InsertItemWindow(FItems->FItems[i], i);
    FRecreatingItems = false;
    if (FItems->FUpdateCount == 0)
        SendMessageA(WindowHandle(), WM_SETREDRAW, TRUE, 0);
    if (FSavedTopIndex > 0)
        SendMessageA(WindowHandle(), LVM_ENSUREVISIBLE, FSavedTopIndex, FALSE);
}

void TListView::DestroyWnd()
{
    HWND window = WindowHandle();
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->FItems[i]->FSavedState = static_cast<UINT>(SendMessageA(
            window, LVM_GETITEMSTATE, i, LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK));
    // A list-style window reports its list column's width instead.
    if ((GetWindowLongPtrA(window, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT)
        for (TListColumn* column : FColumns->FColumns)
            column->FWidth = column->Width();
    FSavedTopIndex = static_cast<int>(SendMessageA(window, LVM_GETTOPINDEX, 0, 0));
    if (!FColumnOrder.empty())
        FColumnOrder = ColumnOrder();
    TWinControl::DestroyWnd();
}

void TListView::InsertItemWindow(TListItem* item, int index)
{
    if (!HandleAllocated())
        return;
    LVITEMA row = {};
    row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    row.iItem = index;
    row.pszText = LPSTR_TEXTCALLBACKA;
    row.iImage = I_IMAGECALLBACK;
    row.lParam = reinterpret_cast<LPARAM>(item);
    row.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    row.state = FRecreatingItems ? item->FSavedState & (LVIS_SELECTED | LVIS_FOCUSED) : 0;
    if (FCheckboxes && FRecreatingItems && (item->FSavedState & LVIS_STATEIMAGEMASK)) {
        row.stateMask |= LVIS_STATEIMAGEMASK;
        row.state |= item->FSavedState & LVIS_STATEIMAGEMASK;
    }
    SendMessageA(WindowHandle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
}

void TListView::InsertColumnWindow(TListColumn* column, int index)
{
    if (!HandleAllocated())
        return;
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    info.pszText = const_cast<char*>(column->FCaption.c_str());
    info.fmt = FormatOf(column->FAlignment);
    info.cx = column->FWidth >= 0 ? column->FWidth : 50;
    info.iSubItem = index;
    SendMessageA(WindowHandle(), LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&info));
    if (column->FWidth < 0)
        column->SetWidth(column->FWidth);
}

void TListView::RedrawItem(const TListItem* item)
{
    // An image given while the item is drawn is drawn already.
    if (!HandleAllocated() || FItems->FUpdateCount > 0 || FGivingImage)
        return;
    int index = FItems->IndexOf(item);
    if (index >= 0)
        SendMessageA(WindowHandle(), LVM_REDRAWITEMS, index, index);
}

// ---------------------------------------------------------------------------
// TListView: properties

void TListView::ApplyExtendedStyle()
{
    if (!HandleAllocated())
        return;
    DWORD style = 0;
    if (FRowSelect)
        style |= LVS_EX_FULLROWSELECT;
    if (FGridLines)
        style |= LVS_EX_GRIDLINES;
    if (FCheckboxes)
        style |= LVS_EX_CHECKBOXES;
    if (DoubleBuffered())
        style |= LVS_EX_DOUBLEBUFFER;
    style |= LVS_EX_SUBITEMIMAGES;
    SendMessageA(WindowHandle(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style);
}

void TListView::SetViewStyle(TViewStyle value)
{
    SetWindowStyleProperty(FViewStyle, value);
}

void TListView::SetMultiSelect(bool value)
{
    SetWindowStyleProperty(FMultiSelect, value);
}

void TListView::SetReadOnly(bool value)
{
    SetWindowStyleProperty(FReadOnly, value);
}

void TListView::SetHideSelection(bool value)
{
    SetWindowStyleProperty(FHideSelection, value);
}

void TListView::SetShowColumnHeaders(bool value)
{
    SetWindowStyleProperty(FShowColumnHeaders, value);
}

void TListView::SetColumnClick(bool value)
{
    SetWindowStyleProperty(FColumnClick, value);
}

void TListView::SetRowSelect(bool value)
{
    FRowSelect = value;
    ApplyExtendedStyle();
}

void TListView::SetGridLines(bool value)
{
    FGridLines = value;
    ApplyExtendedStyle();
}

void TListView::SetCheckboxes(bool value)
{
    FCheckboxes = value;
    ApplyExtendedStyle();
}

void TListView::SetDoubleBuffered(bool value)
{
    TWinControl::SetDoubleBuffered(value);
    ApplyExtendedStyle();
}

std::vector<int> TListView::ColumnOrder() const
{
    std::vector<int> order(FColumns->Count());
    if (HandleAllocated() && !order.empty()) {
        SendMessageA(WindowHandle(), LVM_GETCOLUMNORDERARRAY, order.size(),
                     reinterpret_cast<LPARAM>(order.data()));
        return order;
    }
    if (FColumnOrder.size() == order.size())
        return FColumnOrder;
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    return order;
}

void TListView::SetColumnOrder(const std::vector<int>& order)
{
    if (order.size() != static_cast<size_t>(FColumns->Count()))
        return;
    FColumnOrder = order;
    if (HandleAllocated())
        SendMessageA(WindowHandle(), LVM_SETCOLUMNORDERARRAY, order.size(),
                     reinterpret_cast<LPARAM>(const_cast<int*>(order.data())));
}

void TListView::ApplyImageLists()
{
    if (!HandleAllocated())
        return;
    auto handleOf = [](TCustomImageList* list) { return list ? list->Handle() : nullptr; };
    SendMessageA(WindowHandle(), LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(handleOf(FSmallImages)));
    SendMessageA(WindowHandle(), LVM_SETIMAGELIST, LVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(handleOf(FLargeImages)));
}

void TListView::ImageListChanged(TObject*)
{
    ApplyImageLists();
    Invalidate();
}

void TListView::SetSmallImages(TCustomImageList* value)
{
    if (value == FSmallImages)
        return;
    ReplaceLinkedImages(this, FSmallImages, value, FImageChangeLink);
    ApplyImageLists();
}

void TListView::SetLargeImages(TCustomImageList* value)
{
    if (value == FLargeImages)
        return;
    ReplaceFreeNotified(this, FLargeImages, value);
    ApplyImageLists();
}

void TListView::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FSmallImages) {
        FSmallImages = nullptr;
        ApplyImageLists();
    }
    if (AComponent == FLargeImages) {
        FLargeImages = nullptr;
        ApplyImageLists();
    }
}

// ---------------------------------------------------------------------------
// TListView: selection and hit tests

TListItem* TListView::GetNextSelected(TListItem* start) const
{
    int from = start ? FItems->IndexOf(start) : -1;
    if (!HandleAllocated()) {
        for (int i = from + 1; i < FItems->Count(); ++i)
            if (FItems->FItems[i]->FSavedState & LVIS_SELECTED)
                return FItems->FItems[i];
        return nullptr;
    }
    auto index =
        static_cast<int>(SendMessageA(WindowHandle(), LVM_GETNEXTITEM, from, LVNI_SELECTED));
    return index >= 0 && index < FItems->Count() ? FItems->FItems[index] : nullptr;
}

std::vector<int> TListView::SelectedIndexes() const
{
    std::vector<int> indexes;
    if (!HandleAllocated()) {
        for (int i = 0; i < FItems->Count(); ++i)
            if (FItems->FItems[i]->FSavedState & LVIS_SELECTED)
                indexes.push_back(i);
        return indexes;
    }
    for (int i = -1;;) {
        i = static_cast<int>(SendMessageA(WindowHandle(), LVM_GETNEXTITEM, i, LVNI_SELECTED));
        if (i < 0 || i >= FItems->Count() || (!indexes.empty() && i <= indexes.back()))
            return indexes;
        indexes.push_back(i);
    }
}

TListItem* TListView::Selected() const
{
    return GetNextSelected(nullptr);
}

void TListView::SetSelected(TListItem* item)
{
    ClearSelection();
    if (item) {
        item->SetSelected(true);
        item->SetFocused(true);
    }
}

int TListView::SelCount() const
{
    if (!HandleAllocated()) {
        return static_cast<int>(
            std::count_if(FItems->FItems.begin(), FItems->FItems.end(),
                          [](TListItem* i) { return i->FSavedState & LVIS_SELECTED; }));
    }
    return static_cast<int>(SendMessageA(WindowHandle(), LVM_GETSELECTEDCOUNT, 0, 0));
}

int TListView::ItemIndex() const
{
    TListItem* item = Selected();
    return item ? FItems->IndexOf(item) : -1;
}

void TListView::SetItemIndex(int value)
{
    SetSelected(value >= 0 && value < FItems->Count() ? FItems->FItems[value] : nullptr);
}

TListItem* TListView::ItemFocused() const
{
    if (!HandleAllocated()) {
        for (TListItem* item : FItems->FItems)
            if (item->FSavedState & LVIS_FOCUSED)
                return item;
        return nullptr;
    }
    auto index = static_cast<int>(SendMessageA(WindowHandle(), LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
    return index >= 0 && index < FItems->Count() ? FItems->FItems[index] : nullptr;
}

void TListView::SetItemFocused(TListItem* item)
{
    if (item)
        item->SetFocused(true);
    else if (TListItem* focused = ItemFocused())
        focused->SetFocused(false);
}

void TListView::SetEverySelected(bool selected)
{
    const bool windowed = WindowForItems();
    for (TListItem* item : FItems->FItems)
        item->FSavedState =
            selected ? item->FSavedState | LVIS_SELECTED : item->FSavedState & ~LVIS_SELECTED;
    if (!windowed)
        return;
    // The window repaints each item it changes, a trip to the window system
    // each; a long list is held and repainted once at the end, which costs
    // more than a short list's own repaints.
    const bool hold = FItems->Count() > kItemsRepaintedOneByOne;
    if (hold)
        FItems->BeginUpdate();
    TScopeExit held([this, hold] {
        if (hold)
            FItems->EndUpdate();
    });
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = selected ? LVIS_SELECTED : 0;
    SendMessageA(WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&state));
}

void TListView::ClearSelection()
{
    SetEverySelected(false);
}

void TListView::SelectAll()
{
    if (FMultiSelect)
        SetEverySelected(true);
}

TListItem* TListView::TopItem() const
{
    if (!HandleAllocated() || FItems->Count() == 0)
        return nullptr;
    auto index = static_cast<int>(SendMessageA(WindowHandle(), LVM_GETTOPINDEX, 0, 0));
    return index >= 0 && index < FItems->Count() ? FItems->FItems[index] : nullptr;
}

int TListView::VisibleRowCount() const
{
    return HandleAllocated()
               ? static_cast<int>(SendMessageA(WindowHandle(), LVM_GETCOUNTPERPAGE, 0, 0))
               : 0;
}

void TListView::Scroll(int dx, int dy)
{
    if (HandleAllocated())
        SendMessageA(WindowHandle(), LVM_SCROLL, dx, dy);
}

TListItem* TListView::GetItemAt(int x, int y) const
{
    if (!WindowForItems())
        return nullptr;
    LVHITTESTINFO info = {};
    info.pt = {x, y};
    auto index = static_cast<int>(
        SendMessageA(WindowHandle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (index < 0 || index >= FItems->Count() || !(info.flags & LVHT_ONITEM))
        return nullptr;
    return FItems->FItems[index];
}

TRect TListView::SubItemRect(const TListItem* item, int column) const
{
    RECT r = {LVIR_BOUNDS, column, 0, 0};
    const int index = FItems->IndexOf(item);
    if (!WindowForItems() || index < 0 ||
        !SendMessageA(WindowHandle(), LVM_GETSUBITEMRECT, index, reinterpret_cast<LPARAM>(&r)))
        return TRect();
    return TRect(r);
}

bool TListView::SubItemHitTest(int x, int y, TListItem*& item, int& subItem) const
{
    item = nullptr;
    subItem = -1;
    if (!WindowForItems())
        return false;
    LVHITTESTINFO info = {};
    info.pt = {x, y};
    auto index = static_cast<int>(
        SendMessageA(WindowHandle(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (index < 0 || index >= FItems->Count() || !(info.flags & LVHT_ONITEM))
        return false;
    item = FItems->FItems[index];
    subItem = info.iSubItem;
    return true;
}

// ---------------------------------------------------------------------------
// TListView: sorting

void TListView::SetSortType(TSortType value)
{
    if (value == FSortType)
        return;
    FSortType = value;
    if (value != TSortType::stNone)
        AlphaSort();
}

int TListView::CompareItems(TListItem* a, TListItem* b)
{
    if (OnCompare) {
        int result = 0;
        OnCompare(this, a, b, 0, result);
        return result;
    }
    int result = 0;
    if (FSortType == TSortType::stText || FSortType == TSortType::stBoth)
        result = AnsiCompareText(a->Caption(), b->Caption());
    if (result == 0 && (FSortType == TSortType::stData || FSortType == TSortType::stBoth))
        result = a->Data() < b->Data() ? -1 : (a->Data() > b->Data() ? 1 : 0);
    return result;
}

void TListView::AlphaSort()
{
    CustomSort([this](TListItem* a, TListItem* b) { return CompareItems(a, b); });
}

void TListView::CustomSort(const TListCompare& compare)
{
    std::stable_sort(FItems->FItems.begin(), FItems->FItems.end(),
                     [&](TListItem* a, TListItem* b) { return compare(a, b) < 0; });
    ApplyOrder();
}

void TListView::ApplyOrder()
{
    for (size_t i = 0; i < FItems->FItems.size(); ++i)
        FItems->FItems[i]->FSortKey = static_cast<int>(i);
    if (!HandleAllocated())
        return;
    SendMessageA(WindowHandle(), LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&CompareSortKeys));
}

bool TListView::WindowForItems() const
{
    if (!HandleAllocated() && CanMakeWindow())
        const_cast<TListView*>(this)->HandleNeeded();
    return HandleAllocated();
}

int CALLBACK TListView::CompareSortKeys(LPARAM a, LPARAM b, LPARAM)
{
    // Every item has its own key, so the window ends in exactly our order.
    return reinterpret_cast<TListItem*>(a)->FSortKey - reinterpret_cast<TListItem*>(b)->FSortKey;
}

// ---------------------------------------------------------------------------
// TListView: notifications

void TListView::WndProc(TMessage& m)
{
    if (m.Msg == CN_NOTIFY) {
        CNNotify(m);
        return;
    }
    TWinControl::WndProc(m);
}

void TListView::DefaultHandler(TMessage& m)
{
    // Nested (a handler of the click sending keys): part of the outer one.
    if (!MaySelectMany(m.Msg) || FUserSelection.Active || !HandleAllocated()) {
        TWinControl::DefaultHandler(m);
        return;
    }
    HandleUserSelection(m);
}

void TListView::HandleUserSelection(TMessage& m)
{
    FUserSelection = TUserSelection{true};
    {
        TScopeExit done([this] {
            FUserSelection.Active = false;
            if (std::exchange(FUserSelection.DrawingHeld, false))
                FItems->EndUpdate();
        });
        TWinControl::DefaultHandler(m);
    }
    if (FUserSelection.Changes > 0 && OnUserSelection)
        OnUserSelection(this);
}

// The window repaints each item it changes, a trip to the window system
// each: past a short list's worth its drawing is held until the message is
// handled, and the list repainted once.
void TListView::NoteUserSelectionChange()
{
    if (++FUserSelection.Changes == kItemsRepaintedOneByOne + 1) {
        FItems->BeginUpdate();
        FUserSelection.DrawingHeld = true;
    }
}

void TListView::CNNotify(TMessage& m)
{
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    m.Result = 0;
    switch (header->code) {
    case LVN_GETDISPINFOA:
        GetDisplayInfo(reinterpret_cast<NMLVDISPINFOA*>(m.LParam));
        return;
    case LVN_GETDISPINFOW:
        GetDisplayInfoW(reinterpret_cast<NMLVDISPINFOW*>(m.LParam));
        return;
    case LVN_ITEMCHANGED:
        ItemChanged(reinterpret_cast<NMLISTVIEW*>(m.LParam));
        return;
    case LVN_DELETEALLITEMS:
        // OnDeletion comes from the items themselves: the window need not
        // tell of each item that goes.
        m.Result = TRUE;
        return;
    case LVN_COLUMNCLICK: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(m.LParam);
        if (OnColumnClick && change->iSubItem >= 0 && change->iSubItem < FColumns->Count())
            OnColumnClick(this, FColumns->Items(change->iSubItem));
        return;
    }
    case LVN_BEGINLABELEDITA: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(m.LParam);
        bool allow = true;
        if (OnEditing && info->item.iItem >= 0 && info->item.iItem < FItems->Count())
            OnEditing(this, FItems->FItems[info->item.iItem], allow);
        m.Result = allow ? 0 : 1;
        return;
    }
    case LVN_ENDLABELEDITA: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(m.LParam);
        if (!info->item.pszText || info->item.iItem < 0 || info->item.iItem >= FItems->Count())
            return;
        AnsiString text = info->item.pszText;
        TListItem* item = FItems->FItems[info->item.iItem];
        if (OnEdited)
            OnEdited(this, item, text);
        item->SetCaption(text);
        return;
    }
    case NM_CUSTOMDRAW:
        m.Result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(m.LParam));
        return;
    case NM_CLICK:
        Click();
        return;
    }
}

void TListView::GetDisplayInfo(NMLVDISPINFOA* info)
{
    auto* item = reinterpret_cast<TListItem*>(info->item.lParam);
    if (info->item.iItem >= 0 && info->item.iItem < FItems->Count())
        item = FItems->FItems[info->item.iItem];
    if (!item)
        return;
    int sub = info->item.iSubItem;
    if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
        AnsiString text = sub == 0                              ? item->Caption()
                          : sub - 1 < item->SubItems()->Count() ? item->SubItems()->Strings(sub - 1)
                                                                : AnsiString();
        lstrcpynA(info->item.pszText, text.c_str(), info->item.cchTextMax);
    }
    if (info->item.mask & LVIF_IMAGE)
        info->item.iImage = DisplayedImage(item, sub);
}

void TListView::GetDisplayInfoW(NMLVDISPINFOW* info)
{
    if (info->item.iItem < 0 || info->item.iItem >= FItems->Count())
        return;
    TListItem* item = FItems->FItems[info->item.iItem];
    int sub = info->item.iSubItem;
    if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
        AnsiString text = sub == 0                              ? item->Caption()
                          : sub - 1 < item->SubItems()->Count() ? item->SubItems()->Strings(sub - 1)
                                                                : AnsiString();
        int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, info->item.pszText,
                                    info->item.cchTextMax);
        if (n == 0)
            info->item.pszText[info->item.cchTextMax - 1] = L'\0';
    }
    if (info->item.mask & LVIF_IMAGE)
        info->item.iImage = DisplayedImage(item, sub);
}

int TListView::DisplayedImage(TListItem* item, int sub)
{
    if (sub != 0)
        return item->SubItemImages(sub - 1);
    if (OnGetImageIndex) {
        FGivingImage = true;
        TScopeExit given([this] { FGivingImage = false; });
        OnGetImageIndex(this, item);
    }
    return item->ImageIndex();
}

void TListView::ItemChanged(NMLISTVIEW* change)
{
    if (!(change->uChanged & LVIF_STATE) || FRecreatingItems)
        return;
    TListItem* item = change->iItem >= 0 && change->iItem < FItems->Count()
                          ? FItems->FItems[change->iItem]
                          : nullptr;
    if (OnChange)
        OnChange(this, item, TItemChange::ctState);
    if ((change->uNewState ^ change->uOldState) & LVIS_SELECTED) {
        if (FUserSelection.Active)
            NoteUserSelectionChange();
        if (OnSelectItem)
            OnSelectItem(this, item, (change->uNewState & LVIS_SELECTED) != 0);
    }
    // A new item's first image (unticked) is no change of its tick.
    auto ticked = [](UINT state) {
        return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    };
    if (ticked(change->uNewState) != ticked(change->uOldState) && OnItemChecked)
        OnItemChecked(this, item);
}

TCustomDrawState TListView::DrawState(const NMLVCUSTOMDRAW* draw, TListItem* item) const
{
    TCustomDrawState state = 0;
    UINT flags = draw->nmcd.uItemState;
    if ((flags & CDIS_SELECTED) || (item && item->Selected()))
        state |= cdsSelected;
    if (flags & CDIS_GRAYED)
        state |= cdsGrayed;
    if (flags & CDIS_DISABLED)
        state |= cdsDisabled;
    if (flags & CDIS_CHECKED)
        state |= cdsChecked;
    if (flags & CDIS_FOCUS)
        state |= cdsFocused;
    if (flags & CDIS_DEFAULT)
        state |= cdsDefault;
    if (flags & CDIS_HOT)
        state |= cdsHot;
    return state;
}

LRESULT TListView::ApplyCanvasColours(NMLVCUSTOMDRAW* draw, COLORREF textBefore,
                                      COLORREF backBefore, HFONT fontBefore)
{
    // The window keeps the colours of one sub-item for the next ones: give
    // every stage the item's own colours unless the handler chose others.
    LRESULT result = CDRF_DODEFAULT;
    COLORREF text = ColorToRGB(FCanvas->Font()->Color());
    COLORREF back = ColorToRGB(FCanvas->Brush()->Color());
    draw->clrText = text != textBefore ? text : FItemTextColor;
    draw->clrTextBk = back != backBefore ? back : FItemBackColor;
    if (FCanvas->Font()->Handle() != fontBefore)
        result |= CDRF_NEWFONT;
    return result;
}

LRESULT TListView::CustomDraw(NMLVCUSTOMDRAW* draw)
{
    DWORD stage = draw->nmcd.dwDrawStage;
    bool wantItems = OnCustomDrawItem || OnCustomDrawSubItem || OnAdvancedCustomDrawItem;
    if (stage == CDDS_PREPAINT) {
        LRESULT result = CDRF_DODEFAULT;
        if (OnCustomDraw) {
            bool defaultDraw = true;
            TCanvasDCScope scope(FCanvas, draw->nmcd.hdc);
            OnCustomDraw(this, TRect(draw->nmcd.rc), defaultDraw);
            if (!defaultDraw)
                return CDRF_SKIPDEFAULT;
        }
        return wantItems ? result | CDRF_NOTIFYITEMDRAW : result;
    }
    if (!(stage & CDDS_ITEM) || !wantItems)
        return CDRF_DODEFAULT;
    auto index = static_cast<int>(draw->nmcd.dwItemSpec);
    if (index < 0 || index >= FItems->Count())
        return CDRF_DODEFAULT;
    TListItem* item = FItems->FItems[index];
    if (stage == CDDS_ITEMPOSTPAINT) {
        if (OnAdvancedCustomDrawItem) {
            bool ignored = true;
            TCanvasDCScope scope(FCanvas, draw->nmcd.hdc);
            OnAdvancedCustomDrawItem(this, item, DrawState(draw, item),
                                     TCustomDrawStage::cdPostPaint, ignored);
        }
        return CDRF_DODEFAULT;
    }
    if (!(stage & CDDS_PREPAINT))
        return CDRF_DODEFAULT;
    bool subItemStage = (stage & CDDS_SUBITEM) != 0;
    if (!subItemStage) {
        FItemTextColor = draw->clrText;
        FItemBackColor = draw->clrTextBk;
    }
    if (!subItemStage && !OnCustomDrawItem && !OnAdvancedCustomDrawItem)
        return CDRF_NOTIFYSUBITEMDRAW;
    bool defaultDraw = true;
    LRESULT result = CDRF_SKIPDEFAULT;
    {
        TCanvasDCScope scope(FCanvas, draw->nmcd.hdc);
        FCanvas->Font()->Assign(Font());
        FCanvas->Brush()->SetColor(EffectiveColor());
        COLORREF textBefore = ColorToRGB(FCanvas->Font()->Color());
        COLORREF backBefore = ColorToRGB(FCanvas->Brush()->Color());
        HFONT fontBefore = FCanvas->Font()->Handle();
        TCustomDrawState state = DrawState(draw, item);
        if (subItemStage) {
            if (OnCustomDrawSubItem)
                OnCustomDrawSubItem(this, item, draw->iSubItem, state, defaultDraw);
        } else {
            if (OnCustomDrawItem)
                OnCustomDrawItem(this, item, state, defaultDraw);
            if (OnAdvancedCustomDrawItem)
                OnAdvancedCustomDrawItem(this, item, state, TCustomDrawStage::cdPrePaint,
                                         defaultDraw);
        }
        if (defaultDraw)
            result = ApplyCanvasColours(draw, textBefore, backBefore, fontBefore);
    }
    // The canvas gives its objects back when it lets the context go: select
    // a new font for the window's drawing only after that.
    if (result & CDRF_NEWFONT)
        SelectObject(draw->nmcd.hdc, FCanvas->Font()->Handle());
    if (!subItemStage && OnCustomDrawSubItem && defaultDraw)
        result |= CDRF_NOTIFYSUBITEMDRAW;
    if (!subItemStage && OnAdvancedCustomDrawItem && defaultDraw)
        result |= CDRF_NOTIFYPOSTPAINT;
    return result;
}
