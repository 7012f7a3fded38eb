#include "controls/ExtTabRules.h"

#include <algorithm>
#include <set>

int TTabActivation::Normalized(int requested, const std::vector<TTabStripSlot>& items) const
{
    if (requested < 0 || requested >= static_cast<int>(items.size()))
        return -1;
    const TTabStripSlot& item = items[requested];
    if (item.Destroying)
        return -1;
    return item.IsTab ? requested : FActive;
}

bool TTabActivation::Request(int requested, const std::vector<TTabStripSlot>& items)
{
    const int next = Normalized(requested, items);
    if (next == FActive)
        return false;
    bool allow = true;
    OnChanging(FActive, next, allow);
    if (!allow)
        return false;
    FActive = next;
    OnChanged(next);
    return true;
}

void TTabActivation::Inserted(int index)
{
    if (FActive >= 0 && index <= FActive)
        ++FActive;
}

TTabActivation::TAfterDelete TTabActivation::Deleted(int index,
                                                     const std::vector<TTabStripSlot>& items)
{
    if (FActive < 0 || index > FActive)
        return TAfterDelete::Nothing;
    if (index < FActive) {
        --FActive;
        return TAfterDelete::Nothing;
    }
    if (index > 0) {
        // The tab before takes over; the one that went cannot stay active,
        // so a refusal (or an item there that is no tab) still moves on.
        if (!Request(index - 1, items))
            ForceActive(index - 1);
        return TAfterDelete::RequestPrior;
    }
    if (!items.empty() && items.front().IsTab && !items.front().Destroying)
        return TAfterDelete::ClickNext;
    // The tab that was active is gone: no Changing can keep it.
    ForceActive(-1);
    return TAfterDelete::ClearActive;
}

void TTabActivation::Reapply(const std::vector<TTabStripSlot>& items)
{
    const int tab = FActive;
    FActive = -1;
    Request(tab, items);
}

void TTabActivation::ForceActive(int index)
{
    FActive = index;
    OnChanged(index);
}

TTabAutofit FitTabs(int dockClientWidth, int tabCount, int fixedWidth, int spacerCount,
                    int maxTabWidth, int rightPushMargin)
{
    if (tabCount <= 0)
        return {};
    const int reservedPerSpacer = 20;
    const int room = dockClientWidth - 4 - fixedWidth - reservedPerSpacer * spacerCount;
    TTabAutofit fit;
    fit.TabWidth = std::clamp(room / tabCount, 0, std::max(maxTabWidth, 0));
    const int left = dockClientWidth - 4 - fixedWidth - fit.TabWidth * tabCount;
    fit.SpacerWidth = std::max(left - rightPushMargin, 0);
    return fit;
}

namespace {

int TabOverflowFirstSelectable(const std::vector<TTabOverflowSlot>& slots)
{
    for (size_t i = 0; i < slots.size(); ++i)
        if (slots[i].IsTab && slots[i].Selectable)
            return static_cast<int>(i);
    return -1;
}

int TabOverflowShownWidth(const std::vector<TTabOverflowSlot>& slots)
{
    int width = 0;
    for (const TTabOverflowSlot& slot : slots)
        if (slot.Visible && !slot.IsSpacer)
            width += slot.Width;
    return width;
}

bool TabOverflowHide(std::vector<TTabOverflowSlot>& slots, int usableWidth)
{
    const int keep = TabOverflowFirstSelectable(slots);
    bool changed = false;
    int width = TabOverflowShownWidth(slots);
    for (int i = static_cast<int>(slots.size()) - 1; i >= 0 && width > usableWidth; --i) {
        TTabOverflowSlot& slot = slots[i];
        if (!slot.Visible || slot.IsSpacer || !slot.IsTab || slot.Active || i == keep)
            continue;
        slot.Visible = false;
        slot.Remembered = true;
        width -= slot.Width;
        changed = true;
    }
    return changed;
}

bool TabOverflowShow(std::vector<TTabOverflowSlot>& slots, int usableWidth)
{
    bool changed = false;
    int width = TabOverflowShownWidth(slots);
    for (TTabOverflowSlot& slot : slots) {
        if (!slot.Remembered)
            continue;
        if (width + slot.Width >= usableWidth)
            break;
        slot.Visible = true;
        slot.Remembered = false;
        width += slot.Width;
        changed = true;
    }
    return changed;
}

} // namespace

bool ApplyTabOverflow(std::vector<TTabOverflowSlot>& slots, int usableWidth)
{
    if (TabOverflowShownWidth(slots) > usableWidth)
        return TabOverflowHide(slots, usableWidth);
    return TabOverflowShow(slots, usableWidth);
}

namespace {

void TabOverflowSetShown(TTabOverflowSlot& slot, bool shown)
{
    slot.Visible = shown;
    slot.Remembered = !shown;
}

} // namespace

bool ScrollTabIntoView(std::vector<TTabOverflowSlot>& slots, int index)
{
    const int count = static_cast<int>(slots.size());
    if (index < 0 || index >= count)
        return false;
    const int keep = TabOverflowFirstSelectable(slots);
    bool changed = false;
    // Each step shows one remembered tab: at most one step per item.
    for (int step = 0; step < count && slots[index].Remembered; ++step) {
        int first = -1, last = -1;
        for (int i = 0; i < count; ++i)
            if (slots[i].Visible && slots[i].IsTab && i != keep) {
                if (first < 0)
                    first = i;
                last = i;
            }
        // The index itself is remembered: both searches end there at the latest.
        int shown = index, hidden = -1;
        if (first >= 0 && index < first) {
            for (shown = first - 1; !slots[shown].Remembered; --shown) {
            }
            hidden = last;
        } else if (first >= 0 && index > last) {
            for (shown = last + 1; !slots[shown].Remembered; ++shown) {
            }
            hidden = first;
        } else if (first >= 0) {
            hidden = last;
        }
        TabOverflowSetShown(slots[shown], true);
        if (hidden >= 0 && hidden != shown)
            TabOverflowSetShown(slots[hidden], false);
        changed = true;
    }
    return changed;
}

std::string FreeTabSheetName(const std::vector<std::string>& used)
{
    const std::set<std::string> taken(used.begin(), used.end());
    for (int n = 1;; ++n) {
        std::string name = "ExtTabSheet" + std::to_string(n);
        if (!taken.count(name))
            return name;
    }
}

TRect TabSheetBounds(const TRect& client, TExtTabPosition position, bool visualStyles,
                     const TRect& margins)
{
    const int inset = visualStyles ? 4 : 2;
    TRect r = client;
    r.left += 2;
    r.right -= inset;
    if (position == TExtTabPosition::ttpTop)
        r.bottom -= inset;
    else
        r.top += inset;
    r.left += margins.left;
    r.top += margins.top;
    r.right -= margins.right;
    r.bottom -= margins.bottom;
    return r;
}

TRect TabPageArea(const TRect& client, TExtTabPosition position, int stripHeight)
{
    TRect r = client;
    if (position == TExtTabPosition::ttpTop)
        r.top += stripHeight - 2;
    else
        r.bottom -= stripHeight - 2;
    return r;
}

TExtTabThemeType ExtResolveTabThemeKind(TExtTabThemeType type, bool visualStylesOn)
{
    if (type == TExtTabThemeType::tttSkin)
        type = TExtTabThemeType::tttWindows;
    if (type == TExtTabThemeType::tttWindows && !visualStylesOn)
        type = TExtTabThemeType::tttNone;
    return type;
}

TTabShape TabShape(const TRect& rect, TExtTabThemeType kind, bool active, bool hot,
                   TTabNeighbour after, bool focused)
{
    TTabShape shape;
    if (active && focused) {
        constexpr int kFocusInset = 3;
        shape.Focus = rect;
        InflateRect(&shape.Focus, -kFocusInset, -kFocusInset);
        if (shape.Focus.IsEmpty())
            shape.Focus = TRect();
    }
    shape.Body = rect;
    shape.Body.bottom += 1; // reaches into the page's frame
    shape.CaptionShift = active ? 0 : 2;
    if (kind == TExtTabThemeType::tttWindows) {
        shape.DrawBody = true;
        if (active) {
            shape.Body.left -= 2;
            if (after != TTabNeighbour::None)
                shape.Body.right += 2;
        } else {
            shape.Body.top += 2;
        }
        return shape;
    }
    if (active || (hot && kind == TExtTabThemeType::tttFlat)) {
        shape.DrawBody = true;
        shape.ThemeFace = !active;
        shape.Body.bottom += 5;
        return shape;
    }
    shape.Separator = after == TTabNeighbour::Inactive;
    return shape;
}
