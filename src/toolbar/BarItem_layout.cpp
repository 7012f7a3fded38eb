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

// One run of the layout: what each step decides, kept for the next. Until
// the turn to the view's coordinates, places are in along/across terms.
struct TBarView::TLayoutPass
{
    TLayoutPass(TBarView& view, bool validating);

    // 1. and 2. Which viewers show.
    void ChooseShown();
    // 3. Sizes.
    void Measure();
    // 4. and 5. The chevron clips from the end of the priority order.
    void ClipForChevron();
    void FindLineDepth();
    // 6. Placement.
    void Place();
    // 7. Line alignment.
    void AlignLines();
    // 10 (placed before the turn). The chevron ends the line.
    void PlaceChevron();
    // 8. Screen coordinates; a vertical view's columns run right to left.
    void Turn();
    // 9. Popup scrolling.
    void ScrollPopup();
    // 11. Controls follow their viewers; clipped ones hide; the chevron
    // opens while it hides a command.
    void MoveControls();
    void EnableChevron();
    // 12. Write back; true when a viewer changed.
    bool WriteBack();

    TBarView& View;
    const bool Validating;
    const size_t Count;
    TBarItemViewer* const Chevron;
    const bool Vertical;
    TRecords Records;
    std::vector<SIZE> Sizes;
    bool AnyClipped = false;
    int CrossSize = 0; // the deepest shown viewer, pixels

    // Placement: the margins, the lines and the cursor.
    int AlongStart = 0, AlongEndMargin = 0, AcrossStart = 0, AcrossEndMargin = 0;
    int WrapLimit = 0;
    std::vector<TAxisRect> Places;
    std::vector<size_t> LineStarts; // index of each toolbar line's first viewer
    int CursorAlong = 0, CursorAcross = 0;
    int RunAcross = 0; // the deepest viewer of the current line, pixels
    bool FirstInLine = true;
    bool LineFromOverflow = false;
    int ContentAlong = 0, ContentAcross = 0;
    int ContentWidth = 0, ContentHeight = 0;

private:
    int Along(size_t i) const { return Vertical ? Sizes[i].cy : Sizes[i].cx; }
    int Across(size_t i) const { return Vertical ? Sizes[i].cx : Sizes[i].cy; }
    int TotalAlong() const;
    int ShownItems() const;
    bool ShowsViewer(size_t i) const;
    TBarItemViewer* RebuiltViewer(size_t i, TBarItemViewer*& temporary);
    void MeasureViewer(size_t i, TCanvas* canvas, int& sharedWidth);
    void ClipOne();
    bool Flows(size_t i) const;
    int LineHeight() const;
    void NewLine(size_t first);
    void PlaceViewer(size_t i);
    void PlaceRow(size_t i);
    bool DividerBreaksLine(size_t i) const;
    void PlaceLineBreak(size_t i);
    void MeasureContent();
    void AlignLine(size_t from, size_t to, int lineEndLimit);
};

TBarView::TLayoutPass::TLayoutPass(TBarView& view, bool validating)
    : View(view), Validating(validating), Count(view.FViewers.size()),
      Chevron(view.ChevronViewer()), Vertical(view.FOrientation == TBarViewOrientation::Vertical),
      Records(Count)
{
}

bool TBarView::LayoutViewers(bool validating, bool writeBack)
{
    TLayoutPass pass(*this, validating);
    pass.ChooseShown();
    pass.Measure();
    pass.ClipForChevron();
    pass.FindLineDepth();
    pass.Place();
    pass.AlignLines();
    pass.PlaceChevron();
    pass.Turn();
    pass.ScrollPopup();
    FContentSize = TPoint(pass.ContentWidth, pass.ContentHeight);
    if (!writeBack)
        return false;
    pass.MoveControls();
    pass.EnableChevron();
    return pass.WriteBack();
}

int TBarView::TLayoutPass::TotalAlong() const
{
    int total = 0;
    for (size_t i = 0; i < Count; ++i)
        if (Records[i].Shown)
            total += Along(i);
    return total;
}

int TBarView::TLayoutPass::ShownItems() const
{
    int n = 0;
    for (size_t i = 0; i < Count; ++i)
        if (Records[i].Shown && !IsDivider(View.FViewers[i]))
            ++n;
    return n;
}

// --- 1. and 2. Which viewers show

void TBarView::TLayoutPass::ChooseShown()
{
    for (size_t i = 0; i < Count; ++i)
        Records[i].Shown = ShowsViewer(i);
    HideStraySeparators(View.FViewers, Records);
    HideTrailingSeparators(View.FViewers, Records);
}

bool TBarView::TLayoutPass::ShowsViewer(size_t i) const
{
    TBarItemViewer* viewer = View.FViewers[i];
    if (viewer == Chevron)
        return false;
    TBarCustomItem* item = viewer->Item();
    auto* controlItem = dynamic_cast<TBarControlItem*>(item);
    if (const TBarView* bar = View.FChevronParentView) {
        // A chevron popup shows what the bar clipped (controls excepted).
        if (controlItem)
            return false;
        size_t twin = bar->FLeadingCount + i;
        bool clippedThere = twin < bar->FViewers.size() && bar->FViewers[twin]->Clipped();
        if (!clippedThere && !IsDivider(viewer))
            return false;
    }
    if (controlItem) {
        TControl* control = controlItem->Control();
        return control && control->Parent() == View.FWindow &&
               (control->Visible() || control->HasState(csDesigning));
    }
    return item->Visible() && (View.FCustomizing || !item->HasTrait(InlineChildren));
}

// --- 3. Sizes

void TBarView::TLayoutPass::Measure()
{
    Sizes.assign(Count, SIZE{0, 0});
    {
        if (!View.FMeasuring)
            View.FMeasuring = std::make_unique<TBarMeasuringCanvas>(nullptr);
        TCanvas* canvas = View.FMeasuring->Canvas();
        canvas->Font()->Assign(View.GetFont());
        int sharedWidth = 0;
        for (size_t i = 0; i < Count; ++i)
            if (Records[i].Shown)
                MeasureViewer(i, canvas, sharedWidth);
        if (sharedWidth > 0)
            for (size_t i = 0; i < Count; ++i)
                if (Records[i].Shown && View.FViewers[i]->SharesColumnWidth())
                    Sizes[i].cx = sharedWidth;
    }
    if (Chevron)
        Sizes[Count - 1] = Vertical ? SIZE{0, View.FChevronSize} : SIZE{View.FChevronSize, 0};
}

// The viewer to measure: one whose item needs a new viewer is rebuilt, in
// place when validating, otherwise as a temporary (freed by the caller).
TBarItemViewer* TBarView::TLayoutPass::RebuiltViewer(size_t i, TBarItemViewer*& temporary)
{
    TBarItemViewer* viewer = View.FViewers[i];
    TBarCustomItem* item = viewer->Item();
    if (!item->ViewerNeedsRebuild(viewer))
        return viewer;
    TBarItemViewer* fresh = item->ViewerClassForItem(&View)(&View, item, viewer->GroupLevel());
    if (!Validating) {
        temporary = fresh;
        return fresh;
    }
    View.FViewers[i] = fresh;
    std::replace(View.FPriorityList.begin(), View.FPriorityList.end(), viewer, fresh);
    if (View.FSelected == viewer)
        View.FSelected = fresh;
    if (View.FOpenViewer == viewer)
        View.FOpenViewer = fresh;
    delete viewer;
    return fresh;
}

void TBarView::TLayoutPass::MeasureViewer(size_t i, TCanvas* canvas, int& sharedWidth)
{
    TBarCustomItem* item = View.FViewers[i]->Item();
    TBarItemViewer* temporary = nullptr;
    TBarItemViewer* measured = RebuiltViewer(i, temporary);
    if (auto* controlItem = dynamic_cast<TBarControlItem*>(item)) {
        Sizes[i] = SIZE{controlItem->Control()->Width(), controlItem->Control()->Height()};
    } else {
        canvas->Font()->Assign(View.GetFont());
        if (item->EffectiveOptions() & tboDefault)
            canvas->Font()->SetStyle(canvas->Font()->Style() | fsBold);
        int w = 0, h = 0;
        measured->CalcSize(canvas, w, h);
        Sizes[i] = SIZE{w, h};
        if (measured->SharesColumnWidth())
            sharedWidth = std::max<int>(sharedWidth, w);
    }
    delete temporary;
}

// --- 4. and 5. The chevron clips from the end of the priority order

void TBarView::TLayoutPass::ClipForChevron()
{
    if (Chevron && View.FMaximumSize > 0 && TotalAlong() > View.FMaximumSize) {
        const int available = View.FMaximumSize - View.FChevronSize;
        while (TotalAlong() > available && ShownItems() >= 2) {
            ClipOne();
            HideStraySeparators(View.FViewers, Records);
        }
    }
    HideTrailingSeparators(View.FViewers, Records);
}

// Hides a separator that ends the shown viewers, or else clips the last
// shown item of the priority order.
void TBarView::TLayoutPass::ClipOne()
{
    size_t lastShown = Count;
    for (size_t i = Count; i-- > 0;)
        if (Records[i].Shown) {
            lastShown = i;
            break;
        }
    if (lastShown < Count && IsDivider(View.FViewers[lastShown])) {
        Records[lastShown].Shown = false;
        return;
    }
    const std::vector<TBarItemViewer*>& order =
        View.FUsePriorityList ? View.FPriorityList : View.FViewers;
    for (size_t k = order.size(); k-- > 0;) {
        int i = View.IndexOf(order[k]);
        if (i < 0 || !Records[i].Shown || IsDivider(order[k]) || View.IsEdgeOrChevron(order[k]))
            continue;
        Records[i].Shown = false;
        Records[i].Clipped = true;
        AnyClipped = true;
        return;
    }
}

void TBarView::TLayoutPass::FindLineDepth()
{
    for (size_t i = 0; i < Count; ++i)
        if (Records[i].Shown)
            CrossSize = std::max<int>(CrossSize, Across(i));
}

// --- 6. Placement, in along/across terms

void TBarView::TLayoutPass::Place()
{
    TRect margins;
    View.GetMargins(View.FOrientation, margins);
    AlongStart = Vertical ? margins.top : margins.left;
    AlongEndMargin = Vertical ? margins.bottom : margins.right;
    AcrossStart = Vertical ? margins.left : margins.top;
    AcrossEndMargin = Vertical ? margins.right : margins.bottom;
    WrapLimit = View.FWrapWidth - AlongEndMargin;
    Places.assign(Count, TAxisRect{});
    CursorAlong = AlongStart;
    CursorAcross = AcrossStart;
    for (size_t i = 0; i < Count; ++i)
        if (Records[i].Shown && View.FViewers[i] != Chevron)
            PlaceViewer(i);
    MeasureContent();
}

bool TBarView::TLayoutPass::Flows(size_t i) const
{
    return View.LaysOutAsToolbar() || View.FViewers[i]->HasBarMetrics();
}

int TBarView::TLayoutPass::LineHeight() const
{
    return View.LaysOutAsToolbar() ? CrossSize : RunAcross;
}

void TBarView::TLayoutPass::NewLine(size_t first)
{
    CursorAcross += LineHeight();
    CursorAlong = AlongStart;
    RunAcross = 0;
    LineStarts.push_back(first);
}

void TBarView::TLayoutPass::PlaceViewer(size_t i)
{
    if (!Flows(i)) {
        PlaceRow(i);
        return;
    }
    if (FirstInLine && LineStarts.empty())
        LineStarts.push_back(i);
    if (!FirstInLine && View.FWrapWidth >= 1) {
        if (IsDivider(View.FViewers[i])) {
            if (DividerBreaksLine(i)) {
                PlaceLineBreak(i);
                return;
            }
        } else if (CursorAlong + Along(i) > WrapLimit) {
            NewLine(i);
            LineFromOverflow = true;
        }
    }
    Places[i] = TAxisRect{CursorAlong, CursorAcross, Along(i), Across(i)};
    CursorAlong += Along(i);
    RunAcross = std::max(RunAcross, Across(i));
    FirstInLine = false;
}

// A viewer that does not flow takes a row of its own.
void TBarView::TLayoutPass::PlaceRow(size_t i)
{
    if (!FirstInLine)
        NewLine(i);
    Places[i] = TAxisRect{AlongStart, CursorAcross, Along(i), Across(i)};
    CursorAcross += Across(i);
    FirstInLine = true;
}

// A separator breaks the line when the run of items after it does not fit,
// or when the line began by overflowing (unless it breaks only when full).
bool TBarView::TLayoutPass::DividerBreaksLine(size_t i) const
{
    int run = Along(i);
    for (size_t k = i + 1; k < Count; ++k) {
        if (!Records[k].Shown || View.FViewers[k] == Chevron)
            continue;
        if (IsDivider(View.FViewers[k]))
            break;
        run += Along(k);
    }
    return CursorAlong + run > WrapLimit ||
           (LineFromOverflow && !View.FViewers[i]->Item()->HasTrait(BreakOnlyWhenFull));
}

void TBarView::TLayoutPass::PlaceLineBreak(size_t i)
{
    NewLine(i);
    Records[i].LineBreak = true;
    Places[i] = TAxisRect{AlongStart, CursorAcross, 0, kLineBreakSpan};
    CursorAcross += kLineBreakSpan;
    FirstInLine = true;
    LineFromOverflow = false;
}

void TBarView::TLayoutPass::MeasureContent()
{
    ContentAlong = AlongStart;
    ContentAcross = AcrossStart;
    for (size_t i = 0; i < Count; ++i)
        if (Records[i].Shown && View.FViewers[i] != Chevron) {
            ContentAlong = std::max<int>(ContentAlong, Places[i].AlongEnd());
            ContentAcross = std::max<int>(ContentAcross, Places[i].AcrossEnd());
        }
    if (View.LaysOutAsToolbar() && !LineStarts.empty())
        ContentAcross = std::max(ContentAcross, CursorAcross + CrossSize);
}

// --- 7. Line alignment

void TBarView::TLayoutPass::AlignLines()
{
    if (!View.LaysOutAsToolbar()) {
        // Menu rows take the menu's whole width.
        for (size_t i = 0; i < Count; ++i)
            if (Records[i].Shown && !Flows(i)) {
                Places[i].Along = AlongStart;
                Places[i].AlongSize = ContentAlong - AlongStart;
            }
        return;
    }
    int viewAlong = 0;
    if (View.FWindow)
        viewAlong = Vertical ? View.FWindow->ClientHeight() : View.FWindow->ClientWidth();
    const int lineEndLimit = std::min(View.FWrapWidth, viewAlong);
    for (size_t line = 0; line < LineStarts.size(); ++line) {
        size_t to = line + 1 < LineStarts.size() ? LineStarts[line + 1] : Count;
        AlignLine(LineStarts[line], to, lineEndLimit);
    }
    // Line-break separators span the whole content.
    for (size_t i = 0; i < Count; ++i)
        if (Records[i].LineBreak) {
            Places[i].Along = 0;
            Places[i].AlongSize = ContentAlong + AlongEndMargin;
        }
}

// Centres the line's viewers across its depth (separators and full-span
// items take all of it) and pushes those from the first push-to-end item
// to the line's end.
void TBarView::TLayoutPass::AlignLine(size_t from, size_t to, int lineEndLimit)
{
    auto aligned = [&](size_t i) {
        return Records[i].Shown && View.FViewers[i] != Chevron && !Records[i].LineBreak;
    };
    int lineAcross = -1;
    size_t lastShown = Count;
    size_t pushFrom = Count;
    for (size_t i = from; i < to; ++i) {
        if (!aligned(i))
            continue;
        if (lineAcross < 0)
            lineAcross = Places[i].Across;
        lastShown = i;
        if (pushFrom == Count && View.FViewers[i]->Item()->HasTrait(PushToLineEnd))
            pushFrom = i;
    }
    if (lastShown == Count)
        return;
    for (size_t i = from; i < to; ++i) {
        if (!aligned(i))
            continue;
        TAxisRect& p = Places[i];
        if (IsDivider(View.FViewers[i]) || View.FViewers[i]->Item()->HasTrait(FullLineSpan)) {
            p.Across = lineAcross;
            p.AcrossSize = CrossSize;
        } else {
            p.Across = lineAcross + (CrossSize - p.AcrossSize) / 2;
        }
    }
    const int shift = lineEndLimit - Places[lastShown].AlongEnd();
    if (pushFrom != Count && shift > 0)
        for (size_t i = pushFrom; i <= lastShown; ++i)
            if (Records[i].Shown && View.FViewers[i] != Chevron)
                Places[i].Along += shift;
}

// --- 10. The chevron ends the line, across its whole depth

void TBarView::TLayoutPass::PlaceChevron()
{
    if (!Chevron)
        return;
    const size_t i = Count - 1;
    Records[i].Shown = AnyClipped;
    if (AnyClipped) {
        Places[i] = TAxisRect{ContentAlong, AcrossStart, View.FChevronSize, CrossSize};
        ContentAlong += View.FChevronSize;
    }
}

// --- 8. Screen coordinates

void TBarView::TLayoutPass::Turn()
{
    ContentWidth = Vertical ? ContentAcross + AcrossEndMargin : ContentAlong + AlongEndMargin;
    ContentHeight = Vertical ? ContentAlong + AlongEndMargin : ContentAcross + AcrossEndMargin;
    for (size_t i = 0; i < Count; ++i) {
        if (!Records[i].Shown)
            continue;
        const TAxisRect& p = Places[i];
        if (Vertical)
            Records[i].Bounds =
                Bounds(ContentWidth - p.AcrossEnd(), p.Along, p.AcrossSize, p.AlongSize);
        else
            Records[i].Bounds = Bounds(p.Along, p.Across, p.AlongSize, p.AcrossSize);
    }
}

// --- 9. Popup scrolling

void TBarView::TLayoutPass::ScrollPopup()
{
    View.FShowUpArrow = false;
    View.FShowDownArrow = false;
    const int maxHeight = View.FMaxHeight;
    if (maxHeight <= 0 || ContentHeight <= maxHeight) {
        View.FScrollOffset = 0;
        return;
    }
    int& offset = View.FScrollOffset;
    offset = std::clamp(offset, 0, ContentHeight - maxHeight);
    View.FShowUpArrow = offset > 0;
    View.FShowDownArrow = offset < ContentHeight - maxHeight;
    const int top = View.FShowUpArrow ? kBarScrollArrowHeight : 0;
    const int bottom = View.FShowDownArrow ? maxHeight - kBarScrollArrowHeight : maxHeight;
    for (size_t i = 0; i < Count; ++i) {
        if (!Records[i].Shown)
            continue;
        OffsetRect(&Records[i].Bounds, 0, -offset);
        if (Records[i].Bounds.top < top || Records[i].Bounds.bottom > bottom) {
            Records[i].Shown = false;
            Records[i].OffEdge = true;
        }
    }
    ContentHeight = maxHeight;
}

// --- 11. and 12. Controls and viewers take the layout

// The chevron opens while it hides a command (a clipped control has no
// place in its popup). Only the layout the view takes decides it: a size
// measured for a dock, with no limit, clips nothing.
void TBarView::TLayoutPass::EnableChevron()
{
    if (!Chevron)
        return;
    bool clippedCommand = false;
    for (size_t k = 0; k < Count; ++k)
        if (Records[k].Clipped && !dynamic_cast<TBarControlItem*>(View.FViewers[k]->Item()))
            clippedCommand = true;
    Chevron->Item()->SetEnabled(clippedCommand);
}

void TBarView::TLayoutPass::MoveControls()
{
    for (size_t i = 0; i < Count; ++i) {
        auto* controlItem = dynamic_cast<TBarControlItem*>(View.FViewers[i]->Item());
        if (!controlItem || !controlItem->Control())
            continue;
        TControl* control = controlItem->Control();
        auto* windowed = dynamic_cast<TWinControl*>(control);
        if (Records[i].Shown) {
            if (!(control->BoundsRect() == Records[i].Bounds))
                control->SetBoundsRect(Records[i].Bounds);
            if (windowed && windowed->HandleAllocated() && control->Visible())
                ShowWindow(windowed->WindowHandle(), SW_SHOWNOACTIVATE);
        } else if (windowed && windowed->HandleAllocated()) {
            // Hidden as a window only: the control keeps its own Visible.
            ShowWindow(windowed->WindowHandle(), SW_HIDE);
        }
    }
}

bool TBarView::TLayoutPass::WriteBack()
{
    bool changed = false;
    for (size_t i = 0; i < Count; ++i) {
        TBarItemViewer* viewer = View.FViewers[i];
        const TLayoutRecord& r = Records[i];
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
