// The layout of a view: which viewers show, their sizes, the chevron's
// clipping, lines with wrapping and separators, popup scrolling. It runs
// lazily, before the next paint, hit test or navigation after a change.
//
// Viewers are placed along the view's orientation (across rows on a
// horizontal view, down columns on a vertical one); a vertical view's
// columns then read from right to left, as its turned captions do.
#include "BarItem.h"

#include "BarCommon.h"

#include "classlib/Graphics.h"
#include "classlib/ScopeExit.h"

#include <algorithm>

namespace {

// What the layout decides for one viewer before it is written back.
struct TLayoutRecord
{
    TRect Bounds;
    bool Shown = false;
    bool Clipped = false;
    bool LineBreak = false;
    bool OffEdge = false;
};

constexpr int kLineBreakSpan = 6; // a line-break separator's extent across lines, pixels

using TRecords = std::vector<TLayoutRecord>;

bool IsDivider(const TBarItemViewer* viewer)
{
    return viewer->Item()->HasTrait(ActsAsDivider);
}

// Hides separators with no shown item before them since the last shown
// separator (leading and doubled ones).
void HideStraySeparators(const std::vector<TBarItemViewer*>& viewers, TRecords& records)
{
    bool itemSinceSeparator = false;
    for (size_t i = 0; i < viewers.size(); ++i) {
        if (!records[i].Shown)
            continue;
        if (!IsDivider(viewers[i]))
            itemSinceSeparator = true;
        else if (!itemSinceSeparator)
            records[i].Shown = false;
        else
            itemSinceSeparator = false;
    }
}

void HideTrailingSeparators(const std::vector<TBarItemViewer*>& viewers, TRecords& records)
{
    for (size_t i = viewers.size(); i-- > 0;) {
        if (!records[i].Shown)
            continue;
        if (!IsDivider(viewers[i]))
            return;
        records[i].Shown = false;
    }
}

// A rectangle in the layout's own terms: along the orientation, and across.
struct TAxisRect
{
    int Along = 0, Across = 0, AlongSize = 0, AcrossSize = 0;
    int AlongEnd() const { return Along + AlongSize; }
    int AcrossEnd() const { return Across + AcrossSize; }
};

} // namespace

void TBarView::PerformLayout(TPoint& Size)
{
    bool changed = LayoutViewers(true);
    Size = FContentSize;
    FPositionsValid = true;
    AutoSize(Size.x, Size.y);
    if (!changed)
        return;
    if (HasState(csDesigning))
        FWindow->Invalidate();
    else
        PaintWindowAtOnce();
}

TPoint TBarView::MeasureLayout(TBarViewOrientation orientation, int wrapWidth, int maximumSize)
{
    const TBarViewOrientation oldOrientation = FOrientation;
    const int oldWrap = FWrapWidth, oldMaximum = FMaximumSize, oldScroll = FScrollOffset;
    const TPoint oldContent = FContentSize;
    const bool oldUp = FShowUpArrow, oldDown = FShowDownArrow;
    FOrientation = orientation;
    FWrapWidth = wrapWidth;
    FMaximumSize = maximumSize;
    TScopeExit restored([&] {
        FOrientation = oldOrientation;
        FWrapWidth = oldWrap;
        FMaximumSize = oldMaximum;
        FScrollOffset = oldScroll;
        FShowUpArrow = oldUp;
        FShowDownArrow = oldDown;
        FContentSize = oldContent;
    });
    LayoutViewers(false, false);
    const TPoint measured = FContentSize;
    return measured;
}

void TBarView::PaintWindowAtOnce()
{
    if (!FWindow || !FWindow->HandleAllocated())
        return;
    HWND window = FWindow->WindowHandle();
    RECT client;
    GetClientRect(window, &client);
    if (!IsWindowVisible(window) || client.right < 1 || client.bottom < 1)
        return;
    // Erased and painted aside, then copied: the window never shows a half.
    TBitmap buffer;
    buffer.SetSize(client.right, client.bottom);
    HDC memory = buffer.Canvas()->Handle();
    FWindow->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory),
                     reinterpret_cast<LPARAM>(memory));
    FWindow->Perform(WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
    {
        TScreenDC dc(window);
        BitBlt(dc.Handle(), 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    }
    ValidateRect(window, nullptr);
}

bool TBarView::LayoutViewers(bool validating, bool writeBack)
{
    const size_t count = FViewers.size();
    TRecords records(count);
    TBarItemViewer* chevron = ChevronViewer();
    const bool vertical = FOrientation == TBarViewOrientation::Vertical;

    // 1. Which viewers show.
    for (size_t i = 0; i < count; ++i) {
        TBarItemViewer* viewer = FViewers[i];
        if (viewer == chevron)
            continue;
        TBarCustomItem* item = viewer->Item();
        auto* controlItem = dynamic_cast<TBarControlItem*>(item);
        if (FChevronParentView) {
            // A chevron popup shows what the bar clipped (controls excepted).
            if (controlItem)
                continue;
            size_t twin = FChevronParentView->FLeadingCount + i;
            bool clippedThere = twin < FChevronParentView->FViewers.size() &&
                                FChevronParentView->FViewers[twin]->Clipped();
            if (!clippedThere && !IsDivider(viewer))
                continue;
        }
        if (controlItem) {
            TControl* control = controlItem->Control();
            records[i].Shown = control && control->Parent() == FWindow &&
                               (control->Visible() || control->HasState(csDesigning));
        } else {
            records[i].Shown = item->Visible() && (FCustomizing || !item->HasTrait(InlineChildren));
        }
    }
    HideStraySeparators(FViewers, records);
    // 2.
    HideTrailingSeparators(FViewers, records);

    // 3. Sizes.
    std::vector<SIZE> sizes(count, SIZE{0, 0});
    {
        TBarMeasuringCanvas measuring(GetFont());
        TCanvas* canvas = measuring.Canvas();
        int sharedWidth = 0;
        for (size_t i = 0; i < count; ++i) {
            if (!records[i].Shown)
                continue;
            TBarItemViewer* viewer = FViewers[i];
            TBarCustomItem* item = viewer->Item();
            TBarItemViewer* temporary = nullptr;
            if (item->ViewerNeedsRebuild(viewer)) {
                TBarItemViewer* fresh =
                    item->ViewerClassForItem(this)(this, item, viewer->GroupLevel());
                if (validating) {
                    FViewers[i] = fresh;
                    std::replace(FPriorityList.begin(), FPriorityList.end(), viewer, fresh);
                    if (FSelected == viewer)
                        FSelected = fresh;
                    if (FOpenViewer == viewer)
                        FOpenViewer = fresh;
                    delete viewer;
                    viewer = fresh;
                } else {
                    temporary = fresh;
                }
            }
            TBarItemViewer* measured = temporary ? temporary : viewer;
            if (auto* controlItem = dynamic_cast<TBarControlItem*>(item)) {
                sizes[i] = SIZE{controlItem->Control()->Width(), controlItem->Control()->Height()};
            } else {
                canvas->Font()->Assign(GetFont());
                if (item->EffectiveOptions() & tboDefault)
                    canvas->Font()->SetStyle(canvas->Font()->Style() | fsBold);
                int w = 0, h = 0;
                measured->CalcSize(canvas, w, h);
                sizes[i] = SIZE{w, h};
                if (measured->SharesColumnWidth())
                    sharedWidth = std::max<int>(sharedWidth, w);
            }
            delete temporary;
        }
        if (sharedWidth > 0)
            for (size_t i = 0; i < count; ++i)
                if (records[i].Shown && FViewers[i]->SharesColumnWidth())
                    sizes[i].cx = sharedWidth;
    }
    if (chevron) {
        size_t c = count - 1;
        sizes[c] = vertical ? SIZE{0, FChevronSize} : SIZE{FChevronSize, 0};
    }
    auto along = [&](size_t i) -> int { return vertical ? sizes[i].cy : sizes[i].cx; };
    auto across = [&](size_t i) -> int { return vertical ? sizes[i].cx : sizes[i].cy; };
    auto totalAlong = [&] {
        int total = 0;
        for (size_t i = 0; i < count; ++i)
            if (records[i].Shown)
                total += along(i);
        return total;
    };
    auto shownItems = [&] {
        int n = 0;
        for (size_t i = 0; i < count; ++i)
            if (records[i].Shown && !IsDivider(FViewers[i]))
                ++n;
        return n;
    };

    // 4. The chevron clips from the end of the priority order.
    bool anyClipped = false;
    if (chevron && FMaximumSize > 0 && totalAlong() > FMaximumSize) {
        int available = FMaximumSize - FChevronSize;
        const std::vector<TBarItemViewer*>& order = FUsePriorityList ? FPriorityList : FViewers;
        while (totalAlong() > available && shownItems() >= 2) {
            size_t lastShown = count;
            for (size_t i = count; i-- > 0;)
                if (records[i].Shown) {
                    lastShown = i;
                    break;
                }
            if (lastShown < count && IsDivider(FViewers[lastShown])) {
                records[lastShown].Shown = false;
            } else {
                for (size_t k = order.size(); k-- > 0;) {
                    int i = IndexOf(order[k]);
                    if (i < 0 || !records[i].Shown || IsDivider(order[k]) ||
                        IsEdgeOrChevron(order[k]))
                        continue;
                    records[i].Shown = false;
                    records[i].Clipped = true;
                    anyClipped = true;
                    break;
                }
            }
            HideStraySeparators(FViewers, records);
        }
    }
    // 5.
    HideTrailingSeparators(FViewers, records);
    int crossSize = 0;
    for (size_t i = 0; i < count; ++i)
        if (records[i].Shown)
            crossSize = std::max<int>(crossSize, across(i));

    // 6. Placement, in along/across terms.
    TRect margins;
    GetMargins(FOrientation, margins);
    const int alongStart = vertical ? margins.top : margins.left;
    const int alongEndMargin = vertical ? margins.bottom : margins.right;
    const int acrossStart = vertical ? margins.left : margins.top;
    const int acrossEndMargin = vertical ? margins.right : margins.bottom;
    const int wrapLimit = FWrapWidth - alongEndMargin;

    std::vector<TAxisRect> places(count);
    std::vector<size_t> lineStarts; // index of each toolbar line's first viewer
    int a = alongStart;
    int c = acrossStart;
    int runAcross = 0; // the deepest viewer of the current line, pixels
    bool firstInLine = true;
    bool lineFromOverflow = false;
    auto flows = [&](size_t i) { return LaysOutAsToolbar() || FViewers[i]->HasBarMetrics(); };
    auto lineHeight = [&] { return LaysOutAsToolbar() ? crossSize : runAcross; };
    auto newLine = [&](size_t first) {
        c += lineHeight();
        a = alongStart;
        runAcross = 0;
        lineStarts.push_back(first);
    };
    for (size_t i = 0; i < count; ++i) {
        if (!records[i].Shown || FViewers[i] == chevron)
            continue;
        if (!flows(i)) {
            if (!firstInLine)
                newLine(i);
            places[i] = TAxisRect{alongStart, c, along(i), across(i)};
            c += across(i);
            firstInLine = true;
            continue;
        }
        if (firstInLine && lineStarts.empty())
            lineStarts.push_back(i);
        if (!firstInLine && FWrapWidth >= 1) {
            if (IsDivider(FViewers[i])) {
                int run = along(i);
                for (size_t k = i + 1; k < count; ++k) {
                    if (!records[k].Shown || FViewers[k] == chevron)
                        continue;
                    if (IsDivider(FViewers[k]))
                        break;
                    run += along(k);
                }
                bool breaks =
                    a + run > wrapLimit ||
                    (lineFromOverflow && !FViewers[i]->Item()->HasTrait(BreakOnlyWhenFull));
                if (breaks) {
                    newLine(i);
                    records[i].LineBreak = true;
                    places[i] = TAxisRect{alongStart, c, 0, kLineBreakSpan};
                    c += kLineBreakSpan;
                    firstInLine = true;
                    lineFromOverflow = false;
                    continue;
                }
            } else if (a + along(i) > wrapLimit) {
                newLine(i);
                lineFromOverflow = true;
            }
        }
        places[i] = TAxisRect{a, c, along(i), across(i)};
        a += along(i);
        runAcross = std::max(runAcross, across(i));
        firstInLine = false;
    }
    int contentAlong = alongStart;
    int contentAcross = acrossStart;
    for (size_t i = 0; i < count; ++i)
        if (records[i].Shown && FViewers[i] != chevron) {
            contentAlong = std::max<int>(contentAlong, places[i].AlongEnd());
            contentAcross = std::max<int>(contentAcross, places[i].AcrossEnd());
        }
    if (LaysOutAsToolbar() && !lineStarts.empty())
        contentAcross = std::max(contentAcross, c + crossSize);

    // 7. Line alignment.
    if (LaysOutAsToolbar()) {
        int viewAlong = 0;
        if (FWindow)
            viewAlong = vertical ? FWindow->ClientHeight() : FWindow->ClientWidth();
        int lineEndLimit = std::min(FWrapWidth, viewAlong);
        for (size_t line = 0; line < lineStarts.size(); ++line) {
            size_t from = lineStarts[line];
            size_t to = line + 1 < lineStarts.size() ? lineStarts[line + 1] : count;
            int lineAcross = -1;
            size_t lastShown = count;
            size_t pushFrom = count;
            for (size_t i = from; i < to; ++i) {
                if (!records[i].Shown || FViewers[i] == chevron || records[i].LineBreak)
                    continue;
                if (lineAcross < 0)
                    lineAcross = places[i].Across;
                lastShown = i;
                if (pushFrom == count && FViewers[i]->Item()->HasTrait(PushToLineEnd))
                    pushFrom = i;
            }
            if (lastShown == count)
                continue;
            for (size_t i = from; i < to; ++i) {
                if (!records[i].Shown || FViewers[i] == chevron || records[i].LineBreak)
                    continue;
                TAxisRect& p = places[i];
                if (IsDivider(FViewers[i]) || FViewers[i]->Item()->HasTrait(FullLineSpan)) {
                    p.Across = lineAcross;
                    p.AcrossSize = crossSize;
                } else {
                    p.Across = lineAcross + (crossSize - p.AcrossSize) / 2;
                }
            }
            int shift = lineEndLimit - places[lastShown].AlongEnd();
            if (pushFrom != count && shift > 0)
                for (size_t i = pushFrom; i <= lastShown; ++i)
                    if (records[i].Shown && FViewers[i] != chevron)
                        places[i].Along += shift;
        }
        for (size_t i = 0; i < count; ++i)
            if (records[i].LineBreak) {
                places[i].Along = 0;
                places[i].AlongSize = contentAlong + alongEndMargin;
            }
    } else {
        // Menu rows take the menu's whole width.
        for (size_t i = 0; i < count; ++i)
            if (records[i].Shown && !flows(i)) {
                places[i].Along = alongStart;
                places[i].AlongSize = contentAlong - alongStart;
            }
    }

    // 10 (placed before the turn). The chevron ends the line, across its
    // whole depth.
    if (chevron) {
        size_t i = count - 1;
        records[i].Shown = anyClipped;
        if (anyClipped) {
            places[i] = TAxisRect{contentAlong, acrossStart, FChevronSize, crossSize};
            contentAlong += FChevronSize;
        }
        bool clippedCommand = false;
        for (size_t k = 0; k < count; ++k)
            if (records[k].Clipped && !dynamic_cast<TBarControlItem*>(FViewers[k]->Item()))
                clippedCommand = true;
        chevron->Item()->SetEnabled(clippedCommand);
    }

    int contentWidth = (vertical ? contentAcross + acrossEndMargin : contentAlong + alongEndMargin);
    int contentHeight =
        (vertical ? contentAlong + alongEndMargin : contentAcross + acrossEndMargin);

    // 8. Screen coordinates; a vertical view's columns run right to left.
    for (size_t i = 0; i < count; ++i) {
        if (!records[i].Shown)
            continue;
        const TAxisRect& p = places[i];
        if (vertical)
            records[i].Bounds =
                Bounds(contentWidth - p.AcrossEnd(), p.Along, p.AcrossSize, p.AlongSize);
        else
            records[i].Bounds = Bounds(p.Along, p.Across, p.AlongSize, p.AcrossSize);
    }

    // 9. Popup scrolling.
    FShowUpArrow = false;
    FShowDownArrow = false;
    if (FMaxHeight > 0 && contentHeight > FMaxHeight) {
        FScrollOffset = std::clamp(FScrollOffset, 0, contentHeight - FMaxHeight);
        FShowUpArrow = FScrollOffset > 0;
        FShowDownArrow = FScrollOffset < contentHeight - FMaxHeight;
        int top = FShowUpArrow ? kBarScrollArrowHeight : 0;
        int bottom = FShowDownArrow ? FMaxHeight - kBarScrollArrowHeight : FMaxHeight;
        for (size_t i = 0; i < count; ++i) {
            if (!records[i].Shown)
                continue;
            OffsetRect(&records[i].Bounds, 0, -FScrollOffset);
            if (records[i].Bounds.top < top || records[i].Bounds.bottom > bottom) {
                records[i].Shown = false;
                records[i].OffEdge = true;
            }
        }
        contentHeight = FMaxHeight;
    } else {
        FScrollOffset = 0;
    }
    FContentSize = TPoint(contentWidth, contentHeight);
    if (!writeBack)
        return false;

    // 11. Controls follow their viewers; clipped ones hide.
    for (size_t i = 0; i < count; ++i) {
        auto* controlItem = dynamic_cast<TBarControlItem*>(FViewers[i]->Item());
        if (!controlItem || !controlItem->Control())
            continue;
        TControl* control = controlItem->Control();
        auto* windowed = dynamic_cast<TWinControl*>(control);
        if (records[i].Shown) {
            if (!(control->BoundsRect() == records[i].Bounds))
                control->SetBoundsRect(records[i].Bounds);
            if (windowed && windowed->HandleAllocated() && control->Visible())
                ShowWindow(windowed->WindowHandle(), SW_SHOWNOACTIVATE);
        } else if (windowed && windowed->HandleAllocated()) {
            // Hidden as a window only: the control keeps its own Visible.
            ShowWindow(windowed->WindowHandle(), SW_HIDE);
        }
    }

    // 12. Write back.
    bool changed = false;
    for (size_t i = 0; i < count; ++i) {
        TBarItemViewer* viewer = FViewers[i];
        const TLayoutRecord& r = records[i];
        if (!(viewer->FBoundsRect == r.Bounds) || viewer->FShown != r.Shown ||
            viewer->FClipped != r.Clipped || viewer->FLineBreak != r.LineBreak ||
            viewer->FOffEdge != r.OffEdge)
            changed = true;
        viewer->FBoundsRect = r.Bounds;
        viewer->FShown = r.Shown;
        viewer->FClipped = r.Clipped;
        viewer->FLineBreak = r.LineBreak;
        viewer->FOffEdge = r.OffEdge;
    }
    return changed;
}
