// TScrollBar: a scroll-bar control with 32-bit positions. The thumb's
// track position is read through the scroll-info calls (the message's 16
// bits are not enough past 65535), and since the system does not move a
// scroll bar's thumb itself, every scroll sets it: OnScroll may change the
// position first, then the bar takes it and OnChange fires when it moved.
#pragma once

#include "WinControl.h"

enum class TScrollBarKind
{
    sbHorizontal,
    sbVertical
};
// Sender, ScrollCode, ScrollPos (may be changed).
using TScrollEvent = TEvent<TObject*, TScrollCode, int&>;

class TScrollBar : public TWinControl
{
public:
    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind value);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    void SetMin(int value) { SetParams(FPosition, value, FMax); }
    void SetMax(int value) { SetParams(FPosition, FMin, value); }
    // Clamped to Min .. MaxPosition; OnChange when it moved.
    void SetPosition(int value) { SetParams(value, FMin, FMax); }
    void SetParams(int position, int min, int max);
    // The thumb's size in units; 0 for the plain square thumb.
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    // Range, page and position at once, the position clamped against the
    // new page: the window is set once.
    void SetParams(int position, int min, int max, int pageSize);
    // The highest position the thumb reaches: Max, or Max - PageSize + 1.
    int MaxPosition() const;
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value) { FSmallChange = value; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value) { FLargeChange = value; }

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    virtual void Change();
    virtual void Scroll(TScrollCode code, int& position);
    // Where the thumb is while it is dragged (32 bits).
    virtual int TrackPosition();

private:
    void ApplyScrollInfo();
    void DoScroll(WORD systemCode);

    TScrollBarKind FKind = TScrollBarKind::sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
};
