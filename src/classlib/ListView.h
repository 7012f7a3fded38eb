// TListView over the common controls' list view, report style first.
//
//   TListItem     an item: caption, sub-items, data pointer, image indexes;
//                 selection, focus and check state live in the window
//   TListItems    the items in display order
//   TListColumn   a report column: caption, width, alignment
//   TListColumns  the columns in creation order
//   TListView     multi-select, item data, sub-items, sorting (stable, with
//                 a custom compare), column widths and display order,
//                 custom drawing of items (before and after) and sub-items
//                 through Canvas, images asked for as items are shown,
//                 and the item and sub-item under a point
//                 (LVM_SUBITEMHITTEST)
//
// The window shows our items through call-backs: it asks for texts and
// images when it paints, so it never holds a copy that could disagree.
// Sorting orders our list with a stable sort and then gives the window the
// same order.
#pragma once

#include "ImageList.h"
#include "StringList.h"
#include "WinControl.h"

#include <commctrl.h>
#include <functional>
#include <vector>

class TListView;
class TListItems;

enum class TDisplayCode
{
    drBounds,
    drIcon,
    drLabel,
    drSelectBounds
};
enum class TItemChange
{
    ctText,
    ctImage,
    ctState
};
enum class TViewStyle
{
    vsIcon,
    vsSmallIcon,
    vsList,
    vsReport
};
enum class TSortType
{
    stNone,
    stData,
    stText,
    stBoth
};

enum TCustomDrawStateFlag : unsigned
{
    cdsSelected = 0x01,
    cdsGrayed = 0x02,
    cdsDisabled = 0x04,
    cdsChecked = 0x08,
    cdsFocused = 0x10,
    cdsDefault = 0x20,
    cdsHot = 0x40,
};
using TCustomDrawState = unsigned;
enum class TCustomDrawStage
{
    cdPrePaint,
    cdPostPaint
};

class TListItem : public TPersistent
{
public:
    explicit TListItem(TListItems* owner);
    ~TListItem() override;

    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& value);
    // The texts of the columns after the first; changes repaint the item.
    TStrings* SubItems() const { return FSubItems; }
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    // The image of sub-item index (counted from 0); -1 for none.
    int SubItemImages(int index) const;
    void SetSubItemImages(int index, int value);

    // The position in display order.
    int Index() const;
    bool Selected() const;
    void SetSelected(bool value);
    bool Focused() const;
    void SetFocused(bool value);
    bool Checked() const;
    void SetChecked(bool value);
    void MakeVisible(bool partialOK);
    TRect DisplayRect(TDisplayCode code) const;
    // Repaints the item.
    void Update();
    void Delete();

    TListItems* Owner() const { return FOwner; }
    TListView* ListView() const;

private:
    friend class TListItems;
    friend class TListView;
    void SubItemsChanged(TObject* Sender);
    void SetState(UINT mask, UINT value);
    bool HasState(UINT mask) const;

    TListItems* FOwner; // not owned: the list that owns this item
    AnsiString FCaption;
    TStringList* FSubItems; // owned
    void* FData = nullptr;  // not owned
    int FImageIndex = -1;
    std::vector<int> FSubItemImages;
    UINT FSavedState = 0; // LVIS_ state while the list view has no window
    int FSortKey = 0;     // the new position during a sort
};

class TListItems : public TPersistent
{
public:
    explicit TListItems(TListView* owner) : FOwner(owner) {}
    ~TListItems() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;
    // Repainting is held while updating.
    void BeginUpdate();
    void EndUpdate();
    TListView* Owner() const { return FOwner; }

private:
    friend class TListView;
    friend class TListItem;
    std::vector<TListItem*> FItems; // owned, in display order
    TListView* FOwner;              // not owned: the view that owns this list
    int FUpdateCount = 0;
};

// Holds a list's repainting for a scope.
class TListItemsUpdate
{
public:
    explicit TListItemsUpdate(TListItems* items) : FItems(items) { FItems->BeginUpdate(); }
    ~TListItemsUpdate() { FItems->EndUpdate(); }
    TListItemsUpdate(const TListItemsUpdate&) = delete;
    TListItemsUpdate& operator=(const TListItemsUpdate&) = delete;

private:
    TListItems* FItems; // not owned
};

class TListColumn : public TPersistent
{
public:
    explicit TListColumn(TListView* owner) : FOwner(owner) {}

    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& value);
    // Pixels; LVSCW_AUTOSIZE (-1) or LVSCW_AUTOSIZE_USEHEADER (-2) size it
    // to its contents.
    int Width() const;
    void SetWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    int Index() const;
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }

private:
    friend class TListView;
    void Apply() const;

    TListView* FOwner; // not owned
    AnsiString FCaption;
    int FWidth = 50; // pixels while the view has no window
    TAlignment FAlignment = TAlignment::taLeftJustify;
    int FTag = 0;
};

class TListColumns : public TPersistent
{
public:
    explicit TListColumns(TListView* owner) : FOwner(owner) {}
    ~TListColumns() override;
    int Count() const { return static_cast<int>(FColumns.size()); }
    TListColumn* Items(int index) const { return FColumns.at(index); }
    TListColumn* operator[](int index) const { return Items(index); }
    TListColumn* Add();
    void Delete(int index);
    void Clear();

private:
    friend class TListView;
    friend class TListColumn;
    std::vector<TListColumn*> FColumns; // owned
    TListView* FOwner;                  // not owned
};

// Negative, zero or positive as item1 sorts before, with or after item2.
using TListCompare = std::function<int(TListItem* item1, TListItem* item2)>;
// Sender, Item1, Item2, Data, Compare.
using TLVCompareEvent = TEvent<TObject*, TListItem*, TListItem*, int, int&>;
using TLVChangeEvent = TEvent<TObject*, TListItem*, TItemChange>;
using TLVSelectItemEvent = TEvent<TObject*, TListItem*, bool>;
using TLVColumnClickEvent = TEvent<TObject*, TListColumn*>;
using TLVDeletedEvent = TEvent<TObject*, TListItem*>;
using TLVItemCheckedEvent = TEvent<TObject*, TListItem*>;
using TLVNotifyEvent = TEvent<TObject*, TListItem*>;
using TLVEditingEvent = TEvent<TObject*, TListItem*, bool&>;
using TLVEditedEvent = TEvent<TObject*, TListItem*, AnsiString&>;
// Sender, ARect, DefaultDraw.
using TLVCustomDrawEvent = TEvent<TObject*, const TRect&, bool&>;
// Sender, Item, State, DefaultDraw.
using TLVCustomDrawItemEvent = TEvent<TObject*, TListItem*, TCustomDrawState, bool&>;
// Sender, Item, SubItem (column index, 0 the caption), State, DefaultDraw.
using TLVCustomDrawSubItemEvent = TEvent<TObject*, TListItem*, int, TCustomDrawState, bool&>;
// Sender, Item, State, Stage, DefaultDraw: before the item is drawn (as
// OnCustomDrawItem) and again after it, over what was drawn.
using TLVAdvancedCustomDrawItemEvent =
    TEvent<TObject*, TListItem*, TCustomDrawState, TCustomDrawStage, bool&>;

class TListView : public TWinControl
{
public:
    explicit TListView(TComponent* AOwner);
    ~TListView() override;

    TListItems* Items() const { return FItems; }
    TListColumns* Columns() const { return FColumns; }
    TCanvas* Canvas() const { return FCanvas; }

    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool value);
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool value);
    bool Checkboxes() const { return FCheckboxes; }
    void SetCheckboxes(bool value);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool value);
    bool ColumnClick() const { return FColumnClick; }
    void SetColumnClick(bool value);
    void SetDoubleBuffered(bool value) override;

    // The columns' display order by creation index (creation order when
    // none was set); deleting a column keeps the others' order.
    std::vector<int> ColumnOrder() const;
    void SetColumnOrder(const std::vector<int>& order);

    TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* value);
    TCustomImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* value);

    // The first selected item (nullptr when none); setting selects only it.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int SelCount() const;
    // The next selected item after start (nullptr: from the top).
    TListItem* GetNextSelected(TListItem* start) const;
    // The display positions of the selected items, in order; one pass over
    // the list, however many are selected.
    std::vector<int> SelectedIndexes() const;
    int ItemIndex() const;
    void SetItemIndex(int value);
    TListItem* ItemFocused() const;
    void SetItemFocused(TListItem* item);
    void ClearSelection();
    void SelectAll();
    TListItem* TopItem() const;
    int VisibleRowCount() const;
    void Scroll(int dx, int dy);
    // The item at a client point (nullptr over no item).
    TListItem* GetItemAt(int x, int y) const;
    // The client rectangle of an item's cell in the column of creation
    // index column; empty without a window.
    TRect SubItemRect(const TListItem* item, int column) const;
    // The item and the column index (0: the caption) at a client point;
    // false over no item.
    bool SubItemHitTest(int x, int y, TListItem*& item, int& subItem) const;

    TSortType SortType() const { return FSortType; }
    void SetSortType(TSortType value);
    // A stable sort by OnCompare, or by SortType (caption text, data).
    void AlphaSort();
    void CustomSort(const TListCompare& compare);

    TLVChangeEvent OnChange;
    TLVSelectItemEvent OnSelectItem;
    // A click or key of the user's may change the selection of many items
    // (a click deselects every other item, Shift+End selects the rest):
    // while the window handles it, UserSelecting holds and OnSelectItem
    // comes for each item before the change is whole; OnUserSelection then
    // comes once, when the window is done, if any item's selection changed.
    bool UserSelecting() const { return FUserSelection.Active; }
    TNotifyEvent OnUserSelection;
    // An item's tick box was ticked or cleared, by a click, a key or the
    // program; Checked already reads the new state. A click in the box
    // reaches OnClick before the window toggles it.
    TLVItemCheckedEvent OnItemChecked;
    TLVColumnClickEvent OnColumnClick;
    // The window is about to show an item's image: the handler may set the
    // item's ImageIndex, which is shown at once. Only items the window
    // shows are asked for, so costly images can wait until they are seen.
    TLVNotifyEvent OnGetImageIndex;
    TLVCompareEvent OnCompare;
    TLVDeletedEvent OnDeletion;
    TLVDeletedEvent OnInsert;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVCustomDrawEvent OnCustomDraw;
    TLVCustomDrawItemEvent OnCustomDrawItem;
    TLVCustomDrawSubItemEvent OnCustomDrawSubItem;
    TLVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // The window's index of an item (its display position).
    int IndexOfItem(const TListItem* item) const { return FItems->IndexOf(item); }

protected:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual int CompareItems(TListItem* a, TListItem* b);
    void InsertItemWindow(TListItem* item, int index);
    void InsertColumnWindow(TListColumn* column, int index);
    void RedrawItem(const TListItem* item);
    // Whether the list has its window, making it when the list can have
    // one: the items' states and places live there, and the window tells of
    // every change of a state (OnSelectItem, OnChange), so a hidden list
    // gets it as a shown one has it.
    bool WindowForItems() const;

private:
    void CNNotify(TMessage& m);
    LRESULT CustomDraw(NMLVCUSTOMDRAW* draw);
    void GetDisplayInfo(NMLVDISPINFOA* info);
    void GetDisplayInfoW(NMLVDISPINFOW* info);
    // The image the window shows for the item in column sub (0: the caption).
    int DisplayedImage(TListItem* item, int sub);
    void ItemChanged(NMLISTVIEW* change);
    void HandleUserSelection(TMessage& m);
    void NoteUserSelectionChange();
    void ApplyExtendedStyle();
    void ApplyImageLists();
    void ImageListChanged(TObject* Sender);
    void ApplyOrder();
    void SetEverySelected(bool selected);
    static int CALLBACK CompareSortKeys(LPARAM a, LPARAM b, LPARAM);
    TCustomDrawState DrawState(const NMLVCUSTOMDRAW* draw, TListItem* item) const;
    LRESULT ApplyCanvasColours(NMLVCUSTOMDRAW* draw, COLORREF textBefore, COLORREF backBefore,
                               HFONT fontBefore);

    TListItems* FItems;                       // owned
    TListColumns* FColumns;                   // owned
    TControlCanvas* FCanvas;                  // owned; the custom-draw canvas
    TChangeLink* FImageChangeLink;            // owned
    TCustomImageList* FSmallImages = nullptr; // not owned; free-notified
    TCustomImageList* FLargeImages = nullptr; // not owned; free-notified
    TViewStyle FViewStyle = TViewStyle::vsReport;
    TSortType FSortType = TSortType::stNone;
    bool FMultiSelect = false;
    bool FReadOnly = true;
    bool FHideSelection = true;
    bool FRowSelect = false;
    bool FGridLines = false;
    bool FCheckboxes = false;
    bool FShowColumnHeaders = true;
    bool FColumnClick = true;
    int FSavedTopIndex = 0;                // across a RecreateWnd
    std::vector<int> FColumnOrder;         // display order by creation index; empty: creation order
    COLORREF FItemTextColor = CLR_DEFAULT; // the window's colours for the item being drawn
    COLORREF FItemBackColor = CLR_DEFAULT;
    bool FRecreatingItems = false; // CreateWnd re-inserts the items
    bool FGivingImage = false;     // OnGetImageIndex runs: the item is being drawn
    // A click or key of the user's being handled by the window: the items
    // whose selection it changed so far, and whether the drawing is held.
    struct TUserSelection
    {
        bool Active = false;
        int Changes = 0;
        bool DrawingHeld = false;
    } FUserSelection;
};
