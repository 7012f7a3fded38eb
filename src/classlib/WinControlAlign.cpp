// The children of a windowed control and their alignment: insertion,
// removal and z-order, hit testing, broadcasts, and the align and anchor
// rules.
#include "WinControl.h"

#include "WinControlDetail.h"

#include "Form.h"
#include "ScopeExit.h"

#include <algorithm>

using namespace wincontrol_detail;

// ---------------------------------------------------------------------------
// TWinControl: children

void TWinControl::InsertControl(TControl* control)
{
    if (!control || control->FParent == this)
        return;
    FControls.push_back(control);
    control->FParent = this;
    if (auto* windowed = dynamic_cast<TWinControl*>(control))
        FTabList.push_back(windowed);
    if (control->ParentFont())
        control->Perform(CM_PARENTFONTCHANGED, 0, 0);
    if (control->ParentColor() || control->Color() == clNone)
        control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (control->ParentShowHint())
        control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
    if (control->Align() != TAlign::alNone && control->Visible())
        Realign();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control)
{
    auto it = std::find(FControls.begin(), FControls.end(), control);
    if (it == FControls.end())
        return;
    if (!HasState(csDestroying)) {
        if (TCustomForm* form = GetParentForm(this))
            form->ControlRemoving(control);
        control->InvalidateControl(control->Visible(), false);
    }
    if (MouseControl() == control)
        SetMouseControl(nullptr);
    FControls.erase(it);
    auto tab = std::find(FTabList.begin(), FTabList.end(), control);
    if (tab != FTabList.end())
        FTabList.erase(tab);
    control->FParent = nullptr;
    if (!HasState(csDestroying)) {
        Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
        if (control->Align() != TAlign::alNone)
            Realign();
    }
}

void TWinControl::MoveControlInZOrder(TControl* control, bool topMost)
{
    auto it = std::find(FControls.begin(), FControls.end(), control);
    if (it == FControls.end())
        return;
    FControls.erase(it);
    if (topMost)
        FControls.push_back(control);
    else
        FControls.insert(FControls.begin(), control);
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed && windowed->FHandle)
        SetWindowPos(windowed->FHandle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (control->Align() != TAlign::alNone)
        Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const
{
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls)
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!c->Visible() || (!allowDisabled && !c->Enabled()))
            continue;
        if (!allowWinControls && IsWindowed(c))
            continue;
        if (c->BoundsRect().Contains(pos))
            return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message)
{
    for (TControl* c : std::vector<TControl*>(FControls)) {
        if (std::find(FControls.begin(), FControls.end(), c) == FControls.end())
            continue;
        c->WindowProc()(message);
        if (message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT msg)
{
    TMessage message{msg, 0, 0, 0};
    for (TControl* c : std::vector<TControl*>(FControls))
        if (std::find(FControls.begin(), FControls.end(), c) != FControls.end())
            c->WindowProc()(message);
}

// ---------------------------------------------------------------------------
// TWinControl: alignment

void TWinControl::DisableAlign()
{
    ++FAlignLevel;
}

void TWinControl::EnableAlign()
{
    if (FAlignLevel > 0 && --FAlignLevel == 0 && (ControlState() & csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign()
{
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* control)
{
    if (FAligning || HasState(csDestroying))
        return;
    if (FAlignLevel > 0) {
        SetControlState(ControlState() | csAlignmentNeeded);
        return;
    }
    {
        FAligning = true;
        TScopeExit aligned([this] { FAligning = false; });
        TRect rect = ClientRect();
        AlignControls(control, rect);
    }
    SetControlState(ControlState() & ~csAlignmentNeeded);
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::AlignControls(TControl*, TRect& rect)
{
    TRect client = ClientRect();
    AdjustClientRect(rect);
    const TAlign order[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                            TAlign::alClient};
    for (TAlign align : order) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->Align() == align && c->Visible())
                list.push_back(c);
        auto key = [align](TControl* c) {
            switch (align) {
            case TAlign::alTop:
                return c->Top();
            case TAlign::alBottom:
                return -(c->Top() + c->Height());
            case TAlign::alLeft:
                return c->Left();
            case TAlign::alRight:
                return -(c->Left() + c->Width());
            default:
                return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(),
                         [&](TControl* a, TControl* b) { return key(a) < key(b); });
        for (TControl* c : list) {
            TStateScope scope(c->FControlState, csAligning);
            int l = rect.left, t = rect.top;
            int w = std::max<LONG>(rect.Width(), 0), h = std::max<LONG>(rect.Height(), 0);
            switch (align) {
            case TAlign::alTop:
                h = c->Height();
                break;
            case TAlign::alBottom:
                h = c->Height();
                t = rect.bottom - h;
                break;
            case TAlign::alLeft:
                w = c->Width();
                break;
            case TAlign::alRight:
                w = c->Width();
                l = rect.right - w;
                break;
            default:
                break;
            }
            c->SetBounds(l, t, w, h);
            switch (align) {
            case TAlign::alTop:
                rect.top += c->Height();
                break;
            case TAlign::alBottom:
                rect.bottom -= c->Height();
                break;
            case TAlign::alLeft:
                rect.left += c->Width();
                break;
            case TAlign::alRight:
                rect.right -= c->Width();
                break;
            default:
                break;
            }
        }
    }
    for (TControl* c : FControls)
        if (c->Align() == TAlign::alNone && c->Anchors() != (akLeft | akTop))
            ApplyAnchors(c, client);
}

void TWinControl::ApplyAnchors(TControl* c, const TRect& clientRect)
{
    if (!c->FAnchorRulesValid)
        return;
    int dx = clientRect.Width() - c->FAnchorParentSize.x;
    int dy = clientRect.Height() - c->FAnchorParentSize.y;
    const TRect& b = c->FAnchorBounds;
    int l = b.left, t = b.top, w = b.Width(), h = b.Height();
    TAnchors anchors = c->Anchors();
    if (anchors & akRight) {
        if (anchors & akLeft)
            w += dx;
        else
            l += dx;
    } else if (!(anchors & akLeft)) {
        l += dx / 2;
    }
    if (anchors & akBottom) {
        if (anchors & akTop)
            h += dy;
        else
            t += dy;
    } else if (!(anchors & akTop)) {
        t += dy / 2;
    }
    TStateScope scope(c->FControlState, csAligning);
    c->SetBounds(l, t, std::max(w, 0), std::max(h, 0));
}
