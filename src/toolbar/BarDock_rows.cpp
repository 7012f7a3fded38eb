// The rules of docks that know no window: the row arrangement, the docked
// frame sizes, and the geometry of dragging, sizing and floating frames.
#include "BarDock.h"

#include <algorithm>

namespace {

// --- The row arrangement -------------------------------------------------------

// A window of the row being arranged, in row order.
struct TRowEntry
{
    int Slot;        // index into the slots
    int Gap = 0;     // pixels left free before it
    int Overlap = 0; // how far its wanted place lies inside the previous window
};

class TRowArranger
{
public:
    TRowArranger(std::vector<TBarRowSlot>& slots, int available, bool oneRow)
        : FSlots(slots), FAvailable(available), FOneRow(oneRow)
    {
    }

    std::vector<int> Run()
    {
        SortOrder();
        for (TBarRowSlot& s : FSlots) {
            s.Row = s.DockRow;
            s.Position = s.DockPos;
            s.Length = 0;
        }
        FHighestRow = -1;
        for (const TBarRowSlot& s : FSlots)
            FHighestRow = std::max(FHighestRow, s.DockRow);
        if (!FOneRow)
            GiveOwnRows([](const TBarRowSlot& s) { return s.NewRowAhead; });
        GiveOwnRows([](const TBarRowSlot& s) { return s.FullSize; });
        DropEmptyRows();
        for (int row = 0; row <= FHighestRow; ++row)
            ArrangeRow(row);
        return FOrder;
    }

private:
    // By row, then position; a window shifting along its row keeps its
    // place in the list, so that it pushes its row-mates instead of passing
    // them.
    void SortOrder()
    {
        FOrder.resize(FSlots.size());
        for (size_t i = 0; i < FSlots.size(); ++i)
            FOrder[i] = static_cast<int>(i);
        int dragged = -1;
        for (size_t i = 0; i < FSlots.size() && dragged < 0; ++i)
            if (FSlots[i].DragActive)
                dragged = static_cast<int>(i);
        std::stable_sort(FOrder.begin(), FOrder.end(), [this](int a, int b) {
            const TBarRowSlot& x = FSlots[a];
            const TBarRowSlot& y = FSlots[b];
            return x.DockRow != y.DockRow ? x.DockRow < y.DockRow : x.DockPos < y.DockPos;
        });
        if (dragged >= 0 && FSlots[dragged].RowShifting) {
            FOrder.erase(std::find(FOrder.begin(), FOrder.end(), dragged));
            FOrder.insert(FOrder.begin() + dragged, dragged);
        }
    }

    template <class Wants> void GiveOwnRows(Wants wants)
    {
        for (int row = 0; row <= FHighestRow; ++row)
            for (int i : FOrder) {
                if (FSlots[i].Row != row || !wants(FSlots[i]))
                    continue;
                bool shared = false;
                for (int j : FOrder)
                    shared = shared || (j != i && FSlots[j].Row == row);
                if (!shared)
                    break;
                for (int j : FOrder)
                    if (j != i && FSlots[j].Row >= row)
                        ++FSlots[j].Row;
                ++FHighestRow;
                break;
            }
    }

    void DropEmptyRows()
    {
        for (int row = 0; row <= FHighestRow;) {
            bool used = false;
            for (const TBarRowSlot& s : FSlots)
                used = used || s.Row == row;
            if (used) {
                ++row;
                continue;
            }
            for (TBarRowSlot& s : FSlots)
                if (s.Row > row)
                    --s.Row;
            --FHighestRow;
        }
    }

    // The visible windows of a row, in list order.
    std::vector<TRowEntry> RowEntries(int row) const
    {
        std::vector<TRowEntry> entries;
        for (int i : FOrder)
            if (FSlots[i].Visible && FSlots[i].Row == row)
                entries.push_back({i});
        return entries;
    }

    TBarRowSlot& SlotOf(const TRowEntry& e) { return FSlots[e.Slot]; }

    void ArrangeRow(int row)
    {
        std::vector<TRowEntry> entries = RowEntries(row);
        if (entries.empty())
            return;
        for (TRowEntry& e : entries) {
            TBarRowSlot& s = SlotOf(e);
            s.MinLength = std::min(s.MinLength, s.FullLength);
            s.Length = s.FullLength;
        }
        Wrap(row, entries);
        int excess = -FAvailable;
        for (TRowEntry& e : entries)
            excess += SlotOf(e).FullLength;
        int dragged = -1;
        int draggedDesired = PlaceAtDesired(entries, excess, dragged);
        if (excess < 0 && dragged >= 0)
            PullTowardsDragged(entries, dragged, draggedDesired);
        FitGaps(entries);
        if (excess > 0)
            Shrink(entries, excess);
        PlaceFinally(entries);
    }

    // Moves the first window that no longer fits, and every later one, a
    // row down.
    void Wrap(int row, std::vector<TRowEntry>& entries)
    {
        if (FOneRow)
            return;
        int sum = 0;
        for (size_t k = 0; k < entries.size(); ++k) {
            const TBarRowSlot& s = SlotOf(entries[k]);
            sum += s.ShrinkMode == TBarShrinkMode::tbsmChevron ? s.MinLength : s.FullLength;
            if (sum <= FAvailable || k == 0)
                continue;
            auto from = std::find(FOrder.begin(), FOrder.end(), entries[k].Slot);
            for (auto it = from; it != FOrder.end(); ++it)
                if (FSlots[*it].Row >= row)
                    ++FSlots[*it].Row;
            ++FHighestRow;
            entries.resize(k);
            return;
        }
    }

    // Gives each window the gap before its wanted position while the row
    // fits, and notes how far a wanted position lies inside the window
    // before. Returns the dragged window's wanted position.
    int PlaceAtDesired(std::vector<TRowEntry>& entries, int excess, int& dragged)
    {
        int pen = 0, minimumBefore = 0, previousDesiredEnd = 0, draggedDesired = 0;
        for (size_t k = 0; k < entries.size(); ++k) {
            TBarRowSlot& s = SlotOf(entries[k]);
            int desired = s.DockPos;
            if ((s.FullSize || s.Stretch) && pen == 0)
                desired = 0;
            desired = std::max(desired, minimumBefore);
            if (pen >= desired) {
                entries[k].Overlap = std::max(previousDesiredEnd - desired, 0);
            } else if (excess < 1) {
                entries[k].Gap = desired - pen;
                pen = desired;
            }
            s.Position = pen;
            pen += s.Length;
            minimumBefore += s.MinLength;
            previousDesiredEnd = desired + s.Length;
            if (s.DragActive && dragged < 0) {
                dragged = static_cast<int>(k);
                draggedDesired = desired;
            }
        }
        return draggedDesired;
    }

    // The windows before a dragged one give up the gaps that keep it from
    // its wanted place; the window after it takes them, so the rest of the
    // row stays put.
    void PullTowardsDragged(std::vector<TRowEntry>& entries, int dragged, int desired)
    {
        int given = 0;
        for (int k = dragged - 1; k >= 0; --k) {
            const TBarRowSlot& s = SlotOf(entries[k]);
            int beyond = s.Position + s.Length - desired;
            if (beyond <= 0)
                continue;
            int take = std::min(entries[k].Gap, beyond);
            entries[k].Gap -= take;
            given += take;
        }
        if (dragged + 1 < static_cast<int>(entries.size()))
            entries[dragged + 1].Gap += given;
    }

    // Gaps shrink from the end of the row until the row fits.
    void FitGaps(std::vector<TRowEntry>& entries)
    {
        int end = 0;
        for (TRowEntry& e : entries)
            end += e.Gap + SlotOf(e).Length;
        for (int k = static_cast<int>(entries.size()) - 1; k >= 0 && end > FAvailable; --k) {
            int take = std::min(entries[k].Gap, end - FAvailable);
            entries[k].Gap -= take;
            end -= take;
        }
    }

    // Shrinks what may shrink until the row fits: first the chevron windows
    // before a window that was dropped over them, then any window from the
    // end.
    void Shrink(std::vector<TRowEntry>& entries, int excess)
    {
        int remaining = excess;
        int overlapsMet = 0;
        const bool shared = entries.size() > 1;
        for (size_t k = 0; k < entries.size(); ++k) {
            TBarRowSlot& s = SlotOf(entries[k]);
            if (s.DragActive && shared)
                s.RowShiftAllowed = true;
            overlapsMet += entries[k].Overlap;
            for (int j = static_cast<int>(k) - 1; j >= 0 && overlapsMet > 0 && remaining > 0; --j) {
                TBarRowSlot& before = SlotOf(entries[j]);
                if (before.DragActive)
                    break;
                if (before.ShrinkMode != TBarShrinkMode::tbsmChevron)
                    continue;
                int take = std::min({overlapsMet, remaining, before.Length - before.MinLength});
                before.Length -= take;
                overlapsMet -= take;
                remaining -= take;
            }
        }
        for (int k = static_cast<int>(entries.size()) - 1; k >= 0 && remaining > 0; --k) {
            TBarRowSlot& s = SlotOf(entries[k]);
            if (s.ShrinkMode == TBarShrinkMode::tbsmNone ||
                (s.ShrinkMode == TBarShrinkMode::tbsmWrap && shared))
                continue;
            int take = std::min(remaining, s.Length - s.MinLength);
            s.Length -= take;
            remaining -= take;
        }
    }

    void PlaceFinally(std::vector<TRowEntry>& entries)
    {
        int pen = 0;
        for (size_t k = 0; k < entries.size(); ++k) {
            TBarRowSlot& s = SlotOf(entries[k]);
            if (s.FullSize || s.Stretch) {
                s.Length += entries[k].Gap;
                entries[k].Gap = 0;
            }
            bool last = k + 1 == entries.size();
            if (s.Stretch && !last) {
                s.Length += entries[k + 1].Gap;
                entries[k + 1].Gap = 0;
            }
            s.Position = pen + entries[k].Gap;
            if (s.Stretch && last)
                s.Length = std::max(s.Length, FAvailable - s.Position);
            if (s.FullSize)
                s.Length = std::max(s.Length, FAvailable);
            pen = s.Position + s.Length;
        }
    }

    std::vector<TBarRowSlot>& FSlots;
    int FAvailable; // pixels along a row
    bool FOneRow;
    std::vector<int> FOrder; // slot indices, sorted
    int FHighestRow = -1;
};

} // namespace

std::vector<int> ArrangeDockRows(std::vector<TBarRowSlot>& slots, int availableLength,
                                 bool limitToOneRow)
{
    return TRowArranger(slots, std::max(availableLength, 0), limitToOneRow).Run();
}

// --- Docked frames -------------------------------------------------------------------

int DragHandleWidth(TBarDragHandleStyle style, bool closeButtonWhenDocked)
{
    if (closeButtonWhenDocked)
        return 14;
    switch (style) {
    case TBarDragHandleStyle::dhDouble:
        return 9;
    case TBarDragHandleStyle::dhSingle:
        return 6;
    case TBarDragHandleStyle::dhNone:
        break;
    }
    return 0;
}

TBarDockedFrame DockedFrameFor(bool allowDrag, bool leftRight, TBarDragHandleStyle style,
                               bool closeButtonWhenDocked)
{
    TBarDockedFrame frame{TPoint(2, 2), TPoint(2, 2)};
    if (allowDrag) {
        int handle = DragHandleWidth(style, closeButtonWhenDocked);
        if (leftRight)
            frame.TopLeft.y += handle;
        else
            frame.TopLeft.x += handle;
    }
    return frame;
}

// --- Dragging ----------------------------------------------------------------------------

TRect DragTargetRect(const TPoint& pointer, const TPoint& size, const TPoint& grab,
                     const TPoint& startSize)
{
    int left = pointer.x - MulDiv(size.x - 1, grab.x, std::max<int>(startSize.x, 1));
    int top = pointer.y - MulDiv(size.y - 1, grab.y, std::max<int>(startSize.y, 1));
    return Bounds(left, top, size.x, size.y);
}

bool DragCanDock(const TRect& dockRect, bool leftRight, const TPoint& pointer, const TPoint& grab,
                 const TPoint& startSize, const TRect& target)
{
    TRect grown(dockRect.left - 3, dockRect.top - 3, dockRect.right + 3, dockRect.bottom + 3);
    int tH = MulDiv(25, grab.x, std::max<int>(startSize.x, 1));
    int tV = MulDiv(25, grab.y, std::max<int>(startSize.y, 1));
    if (pointer.x < grown.left - (25 - tH) || pointer.x >= grown.right + tH)
        return false;
    if (leftRight && (pointer.y < grown.top || pointer.y >= grown.bottom))
        return false;
    if (pointer.y < grown.top - (25 - tV) || pointer.y >= grown.bottom + tV)
        return false;
    RECT common;
    return IntersectRect(&common, &target, &grown) != FALSE;
}

int PackRowSize(int thickness, bool fullSizeRow)
{
    return (thickness & 0xFFFF) | (fullSizeRow ? 0x10000 : 0);
}

TBarDropRow DropRowAt(const std::vector<int>& rowSizes, int across, bool windowFullSize)
{
    int offset = 0;
    for (size_t row = 0; row < rowSizes.size(); ++row) {
        int size = static_cast<short>(rowSizes[row] & 0xFFFF);
        bool fullSizeRow = (rowSizes[row] & 0x10000) != 0;
        if (size <= 0)
            continue;
        int boundary = (fullSizeRow || windowFullSize) ? size / 2 : size / 4;
        if (offset + boundary > across)
            return {static_cast<int>(row), true};
        offset += size;
        if (!fullSizeRow && offset - size / 4 > across)
            return {static_cast<int>(row), false};
    }
    return {static_cast<int>(rowSizes.size()), false};
}

TPoint ClampPointToArea(const TPoint& p, const TRect& area)
{
    return TPoint(std::clamp<LONG>(p.x, area.left, std::max(area.left, area.right - 1)),
                  std::clamp<LONG>(p.y, area.top, std::max(area.top, area.bottom - 1)));
}

TRect KeepFrameReachable(const TRect& frame, const TRect& workArea, const TPoint& border,
                         int topNonClient)
{
    TRect inner(workArea.left + border.x + 4, workArea.top + border.y + 4,
                workArea.right - border.x - 4, workArea.bottom - border.y - 4);
    int dx = 0, dy = 0;
    if (frame.bottom < inner.top)
        dy = inner.top - frame.bottom;
    else if (frame.top > inner.bottom)
        dy = inner.bottom - frame.top;
    if (frame.right < inner.left)
        dx = inner.left - frame.right;
    else if (frame.left > inner.right)
        dx = inner.right - frame.left;
    int highestTop = workArea.top - (topNonClient - 4);
    if (frame.top + dy < highestTop)
        dy = highestTop - frame.top;
    return TRect(frame.left + dx, frame.top + dy, frame.right + dx, frame.bottom + dy);
}

TRect ShiftRectIntoArea(const TRect& r, const TRect& area)
{
    return RectOfPlain(ShiftIntoArea(PlainRectOf(r), PlainRectOf(area)));
}

// --- Sizing ---------------------------------------------------------------------------------

BYTE SizingSidesOfEdge(int edge)
{
    static const BYTE sides[8] = {bssLeft,
                                  bssRight,
                                  bssTop,
                                  bssTop | bssLeft,
                                  bssTop | bssRight,
                                  bssBottom,
                                  bssBottom | bssLeft,
                                  bssBottom | bssRight};
    return edge >= 0 && edge < 8 ? sides[edge] : 0;
}

namespace {

// Keeps one axis of a sized rectangle between the limits, moving the side
// that follows the pointer.
void LimitSpan(LONG& low, LONG& high, bool lowMoves, int minimum, int maximum)
{
    int span = high - low;
    int wanted = span;
    if (span < minimum)
        wanted = minimum;
    else if (maximum > 0 && span > maximum)
        wanted = maximum;
    if (wanted == span)
        return;
    if (lowMoves)
        low = high - wanted;
    else
        high = low + wanted;
}

} // namespace

TRect SizedFrameRect(const TRect& start, BYTE sides, const TPoint& travel, const TPoint& minSize,
                     const TPoint& maxSize)
{
    TRect r = start;
    if (sides & bssLeft)
        r.left += travel.x;
    if (sides & bssRight)
        r.right += travel.x;
    if (sides & bssTop)
        r.top += travel.y;
    if (sides & bssBottom)
        r.bottom += travel.y;
    LimitSpan(r.left, r.right, (sides & bssLeft) != 0, minSize.x, maxSize.x);
    LimitSpan(r.top, r.bottom, (sides & bssTop) != 0, minSize.y, maxSize.y);
    return r;
}

// --- Floating frames ---------------------------------------------------------------------

TRect FloatingCaptionRect(const TBarFrameHitInfo& frame)
{
    int clientWidth = frame.WindowSize.x - 2 * frame.Border.x;
    return Bounds(frame.Border.x, frame.Border.y, clientWidth, frame.SmallCaption - 1);
}

TRect FloatingCloseRect(const TBarFrameHitInfo& frame)
{
    TRect caption = FloatingCaptionRect(frame);
    int side = frame.SmallCaption - 1;
    return TRect(caption.right - side, caption.top, caption.right, caption.bottom);
}

LRESULT FloatingFrameHitTest(const TBarFrameHitInfo& frame, const TPoint& p)
{
    if (frame.ShowCaption && FloatingCaptionRect(frame).Contains(p)) {
        if (frame.CloseButton && FloatingCloseRect(frame).Contains(p))
            return kBarHitCloseButton;
        return kBarHitFloatingCaption;
    }
    if (!frame.Resizable)
        return 0;
    const int width = frame.WindowSize.x, height = frame.WindowSize.y;
    const int bx = frame.Border.x, by = frame.Border.y;
    const bool left = p.x < bx, right = p.x >= width - (bx + 1);
    const bool top = p.y < by, bottom = p.y >= height - (by + 1);
    if (!frame.SizingCorners) {
        if (top)
            return HTTOP;
        if (bottom)
            return HTBOTTOM;
        if (left)
            return HTLEFT;
        if (right)
            return HTRIGHT;
        return 0;
    }
    const int cornerY = by + frame.SmallCaption - 1, cornerX = bx + frame.SmallCaption - 1;
    const bool nearTop = p.y < cornerY, nearBottom = p.y >= height - cornerY;
    const bool nearLeft = p.x < cornerX, nearRight = p.x >= width - cornerX;
    if (left)
        return nearTop ? HTTOPLEFT : nearBottom ? HTBOTTOMLEFT : HTLEFT;
    if (right)
        return nearTop ? HTTOPRIGHT : nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
    if (top)
        return nearLeft ? HTTOPLEFT : nearRight ? HTTOPRIGHT : HTTOP;
    if (bottom)
        return nearLeft ? HTBOTTOMLEFT : nearRight ? HTBOTTOMRIGHT : HTBOTTOM;
    return 0;
}
