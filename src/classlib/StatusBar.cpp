#include "StatusBar.h"

#include "Actions.h"
#include "Exceptions.h"

#include <algorithm>
#include <commctrl.h>

namespace {

// The system aligns a panel's text after one tab (centre) or two (right).
AnsiString AlignedText(const AnsiString& text, TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::taCenter:
        return "\t" + text;
    case TAlignment::taRightJustify:
        return "\t\t" + text;
    default:
        return text;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Panels

int TStatusPanel::Index() const
{
    auto& panels = FOwner->FPanels->FPanels;
    auto it = std::find(panels.begin(), panels.end(), this);
    return it == panels.end() ? -1 : static_cast<int>(it - panels.begin());
}

void TStatusPanel::SetText(const AnsiString& value)
{
    if (value == FText)
        return;
    FText = value;
    FOwner->UpdatePanelText(Index());
}

void TStatusPanel::SetWidth(int value)
{
    FWidth = std::max(value, 0);
    FOwner->UpdatePanels();
}

void TStatusPanel::SetAlignment(TAlignment value)
{
    FAlignment = value;
    FOwner->UpdatePanelText(Index());
}

void TStatusPanel::SetStyle(TStatusPanelStyle value)
{
    FStyle = value;
    FOwner->UpdatePanelText(Index());
}

void TStatusPanel::SetBevel(TStatusPanelBevel value)
{
    FBevel = value;
    FOwner->UpdatePanelText(Index());
}

TStatusPanels::~TStatusPanels()
{
    for (TStatusPanel* panel : FPanels)
        delete panel;
}

TStatusPanel* TStatusPanels::Add()
{
    auto* panel = new TStatusPanel(FOwner);
    FPanels.push_back(panel);
    FOwner->UpdatePanels();
    return panel;
}

void TStatusPanels::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    delete FPanels[index];
    FPanels.erase(FPanels.begin() + index);
    FOwner->UpdatePanels();
}

void TStatusPanels::Clear()
{
    for (TStatusPanel* panel : FPanels)
        delete panel;
    FPanels.clear();
    FOwner->UpdatePanels();
}

// ---------------------------------------------------------------------------
// TStatusBar

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner)
{
    FPanels = new TStatusPanels(this);
    FCanvas = new TControlCanvas;
    FCanvas->SetControl(this);
    SetBounds(0, 0, 200, 19);
    SetAlign(TAlign::alBottom);
}

TStatusBar::~TStatusBar()
{
    delete FCanvas;
    FCanvas = nullptr;
    delete FPanels;
    FPanels = nullptr;
}

void TStatusBar::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, STATUSCLASSNAMEA);
    // Our alignment places the bar; the system must not move it.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (FSizeGrip)
        params.Style |= SBARS_SIZEGRIP;
    // The system's bar repaints only what a change of width uncovers, so the
    // grip drawn at its old right end would stay on the bar.
    params.WindowClass.style |= CS_HREDRAW;
}

void TStatusBar::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdatePanels();
}

void TStatusBar::UpdatePanels()
{
    if (!HandleAllocated() || !FPanels)
        return;
    HWND window = WindowHandle();
    SendMessageA(window, SB_SIMPLE, FSimplePanel, 0);
    if (FSimplePanel) {
        SendMessageA(window, SB_SETTEXTA, SB_SIMPLEID,
                     reinterpret_cast<LPARAM>(FSimpleText.c_str()));
        return;
    }
    std::vector<int> edges;
    int right = 0;
    for (int i = 0; i < FPanels->Count(); ++i) {
        right += FPanels->Items(i)->Width();
        edges.push_back(i + 1 == FPanels->Count() ? -1 : right);
    }
    if (edges.empty())
        edges.push_back(-1);
    SendMessageA(window, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < FPanels->Count(); ++i)
        UpdatePanelText(i);
}

void TStatusBar::UpdatePanelText(int index)
{
    if (!HandleAllocated() || FSimplePanel || index < 0 || index >= FPanels->Count())
        return;
    TStatusPanel* panel = FPanels->Items(index);
    WPARAM flags = index;
    if (panel->FStyle == TStatusPanelStyle::psOwnerDraw)
        flags |= SBT_OWNERDRAW;
    if (panel->FBevel == TStatusPanelBevel::pbNone)
        flags |= SBT_NOBORDERS;
    else if (panel->FBevel == TStatusPanelBevel::pbRaised)
        flags |= SBT_POPOUT;
    AnsiString text = AlignedText(panel->FText, panel->FAlignment);
    LPARAM data = panel->FStyle == TStatusPanelStyle::psOwnerDraw
                      ? reinterpret_cast<LPARAM>(panel)
                      : reinterpret_cast<LPARAM>(text.c_str());
    SendMessageA(WindowHandle(), SB_SETTEXTA, flags, data);
}

void TStatusBar::SetSimplePanel(bool value)
{
    if (value == FSimplePanel)
        return;
    FSimplePanel = value;
    UpdatePanels();
}

void TStatusBar::SetSimpleText(const AnsiString& value)
{
    FSimpleText = value;
    if (HandleAllocated() && FSimplePanel)
        SendMessageA(WindowHandle(), SB_SETTEXTA, SB_SIMPLEID,
                     reinterpret_cast<LPARAM>(value.c_str()));
}

void TStatusBar::SetSizeGrip(bool value)
{
    SetWindowStyleProperty(FSizeGrip, value);
}

void TStatusBar::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        int index = static_cast<int>(item->itemID);
        if (OnDrawPanel && index >= 0 && index < FPanels->Count()) {
            TCanvasDCScope draw(FCanvas, item->hDC);
            OnDrawPanel(this, FPanels->Items(index), TRect(item->rcItem));
        }
        m.Result = 1;
        return;
    }
    case CM_ACTIONEXECUTE: {
        auto* hint = dynamic_cast<THintAction*>(reinterpret_cast<TBasicAction*>(m.LParam));
        if (FAutoHint && hint) {
            if (OnHint) {
                OnHint(this);
            } else if (FSimplePanel || FPanels->Count() == 0) {
                SetSimpleText(hint->Hint());
            } else {
                FPanels->Items(0)->SetText(hint->Hint());
            }
            m.Result = 1;
            return;
        }
        break;
    }
    }
    TWinControl::WndProc(m);
}
