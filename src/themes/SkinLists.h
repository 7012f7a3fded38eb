// A themed item that shows a scrollable list inside its popup, with a
// scroll bar of its own drawing: rows measured and drawn by the list
// (overridable, with events), keys and the mouse moving the current row,
// timers that repeat scroll-bar presses and scroll while the mouse is
// dragged past the list's ends.
//
//   TSkinScrollBar         the five zones of a drawn scroll bar, its steps,
//                          its thumb drag and its painting
//   TSkinCustomList        the item: its rows, current index and images
//   TSkinCustomListViewer  shows the rows, the scroll bar when they do not
//                          all fit, and runs the timers
#pragma once

#include "Skin.h"

#include <vector>

class TSkinCustomListViewer;

enum class TSkinScrollBarKind : BYTE
{
    sbHorizontal,
    sbVertical,
};

// Zones of a scroll bar, first to last.
enum TSkinScrollZone : int
{
    szNone = 0,
    szFirstArrow = 1,
    szTrackBefore = 2,
    szThumb = 3,
    szTrackAfter = 4,
    szSecondArrow = 5,
};

class TSkinScrollBar : public TObject
{
public:
    // A press repeats after the first interval, then after every next one.
    static constexpr UINT kFirstRepeat = 500;
    static constexpr UINT kNextRepeat = 100;

    explicit TSkinScrollBar(TSkinScrollBarKind Kind) : FKind(Kind) {}

    TSkinScrollBarKind Kind() const { return FKind; }
    // Positions run from 0 to Range - PageSize.
    int Range() const { return FRange; }
    int PageSize() const { return FPageSize; }
    void SetRange(int range, int pageSize);
    int Position() const { return FPosition; }
    // Kept inside its limits; tells OnChange when it moved.
    void SetPosition(int value);
    int MaxPosition() const;
    int SmallStep() const { return FSmallStep; }
    void SetSmallStep(int value) { FSmallStep = value; }

    // The bar's rectangle (its owner's coordinates); the zones follow it.
    const TRect& Bounds() const { return FBounds; }
    void SetBounds(const TRect& value) { FBounds = value; }
    TRect ZoneRect(int Zone) const;
    int ZoneAt(const TPoint& P) const;

    // A press at P: a step at once (zones other than the thumb) or the
    // start of a thumb drag. Answers the zone pressed.
    int Press(const TPoint& P);
    // The repeat of a press: one more step while P stays in the zone.
    void Repeat(const TPoint& P);
    // The thumb follows P in proportion to the track while dragged.
    void Drag(const TPoint& P);
    void Release() { FPressedZone = szNone; }
    int PressedZone() const { return FPressedZone; }
    // The zone under the mouse (its arrow paints hot); true when it changed.
    int HotZone() const { return FHotZone; }
    bool SetHotZone(int zone);

    void Paint(TCanvas* Canvas, bool Enabled);

    TNotifyEvent OnChange;

private:
    bool Vertical() const { return FKind == TSkinScrollBarKind::sbVertical; }
    // Along the bar: the arrows' length and the track's ends.
    int ArrowLength() const;
    int Along(const TPoint& p) const { return Vertical() ? p.y : p.x; }
    int Start() const { return Vertical() ? FBounds.top : FBounds.left; }
    int End() const { return Vertical() ? FBounds.bottom : FBounds.right; }
    int ThumbLength() const;
    int ThumbStart() const;
    TRect Span(int from, int to) const;
    void Step(int zone);
    void PaintArrow(TCanvas* Canvas, int zone, bool Enabled);

    TSkinScrollBarKind FKind;
    int FRange = 0;
    int FPageSize = 0;
    int FPosition = 0;
    int FSmallStep = 1;
    TRect FBounds;
    int FPressedZone = szNone;
    int FDragOffset = 0; // the press point's distance from the thumb's start
    int FHotZone = szNone;
};

// Sender, Canvas, ARect, Index, Hot, PaintDefault.
using TSkinListDrawEvent = TEvent<TObject*, TCanvas*, const TRect&, int, bool, bool&>;

class TSkinCustomList : public TSkinCustomItem
{
public:
    explicit TSkinCustomList(TComponent* AOwner);
    ~TSkinCustomList() override;

    // The rows; none here.
    virtual int Count() { return 0; }
    // -1: none.
    int ItemIndex() const { return FItemIndex; }
    // Scrolls every viewer of the list to show the row, then tells.
    void SetItemIndex(int value);
    // Pixels; 0: no limit.
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value) { FMaxWidth = value; }
    int MaxVisibleItems() const { return FMaxVisibleItems; }
    void SetMaxVisibleItems(int value) { FMaxVisibleItems = value; }
    bool ShowImages() const { return FShowImages; }
    void SetShowImages(bool value) { FShowImages = value; }

    // Each answers whether the default drawing follows.
    virtual bool DoDrawItem(TCanvas* Canvas, const TRect& ARect, int Index, bool Hot);
    virtual bool DoFillItemBackground(TCanvas* Canvas, const TRect& ARect, int Index, bool Hot);
    virtual void DoGetRowHeight(int& Height) {}
    virtual void DoGetRowWidth(int Index, int& Width) {}
    virtual void DrawItem(TCanvas* Canvas, TSkinCustomListViewer* Viewer, const TRect& ARect,
                          int Index, bool Hot);
    virtual int GetImageIndex(int Index) { return -1; }
    virtual void GetRowText(int Index, AnsiString& Text) {}
    virtual void DoIndexChanged();
    virtual void IndexChangeHook() {}

    TBarItemViewerClass ViewerClassForItem(TBarView* View) override;

    TSkinListDrawEvent OnDrawItem;
    TSkinListDrawEvent OnFillItemBackground;
    TNotifyEvent OnChange;

private:
    friend class TSkinCustomListViewer;

    int FItemIndex = -1;
    int FMaxWidth = 0;
    int FMaxVisibleItems = 8;
    bool FShowImages = true;
    std::vector<TSkinCustomListViewer*> FViewers; // not owned; each leaves when freed
};

class TSkinCustomListViewer : public TSkinItemViewer
{
    friend class TSkinCustomList;

public:
    TSkinCustomListViewer(TBarView* View, TBarCustomItem* Item, int GroupLevel);
    ~TSkinCustomListViewer() override;

    TSkinCustomList* List() const { return static_cast<TSkinCustomList*>(FItem); }
    // The first row shown.
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int value);
    // Scrolls as little as shows Index.
    void MakeVisible(int Index);
    // The current row: hot, and chosen by Enter; -1: none.
    int HotIndex() const { return FHotIndex; }
    int RowHeight();
    int VisibleRows();
    // Null while every row fits.
    TSkinScrollBar* ScrollBar() const { return FScrollBar; }
    // The row at a point (viewer coordinates), -1 for none.
    int RowAt(const TPoint& P);

    // The hidden window the timers run on, and the interval last asked
    // for (0: no timer).
    HWND TimerWindow() const { return FTimerWindow; }
    UINT TimerInterval() const { return FTimerInterval; }

    void CalcSize(TCanvas* Canvas, int& Width, int& Height) override;
    void Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu) override;
    void MouseMove(int X, int Y) override;
    void MouseUp(int X, int Y, bool MouseWasDownOnMenu) override;
    void MouseWheel(int WheelDelta, bool& Handled, const TPoint& MousePos) override;
    void LosingCapture() override;

private:
    enum class TTimerUse
    {
        None,
        ScrollBar,
        DragScroll,
    };
    void ArrangeScrollBar();
    void ScrollBarChanged(TObject* Sender);
    void SetHotIndex(int value);
    void StartTimer(TTimerUse use, UINT interval);
    void StopTimer();
    void TimerWndProc(TMessage& message);
    void TimerTick();
    // The drag-scroll direction and interval for the mouse at y: 0 inside.
    int DragScrollDirection(int y, UINT& interval);

    TSkinScrollBar* FScrollBar = nullptr; // owned
    HWND FTimerWindow = nullptr;          // owned
    TTimerUse FTimerUse = TTimerUse::None;
    UINT FTimerInterval = 0;
    int FTopIndex = 0;
    int FHotIndex = -1;
    bool FPressedOnRows = false;
    bool FListed = true; // in the list's viewers (false once the list is gone)
    TPoint FMouse;       // the last mouse point, viewer coordinates
};
