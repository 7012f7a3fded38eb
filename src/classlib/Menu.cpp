#include "Menu.h"

#include "Application.h"
#include "Exceptions.h"
#include "HintWindow.h"
#include "Seams.h"

#include <algorithm>
#include <map>

namespace {

constexpr UINT kFirstCommand = 100;
constexpr UINT kLastCommand = 0x7FFF; // WM_COMMAND carries 16 bits; keep it positive

std::map<UINT, TMenuItem*>& CommandItems()
{
    static std::map<UINT, TMenuItem*> items;
    return items;
}

std::map<HMENU, TMenuItem*>& HandleItems()
{
    static std::map<HMENU, TMenuItem*> items;
    return items;
}

UINT AllocateCommand(TMenuItem* item)
{
    static UINT next = kFirstCommand;
    auto& items = CommandItems();
    for (UINT tries = 0; tries <= kLastCommand - kFirstCommand; ++tries) {
        UINT command = next;
        next = next >= kLastCommand ? kFirstCommand : next + 1;
        if (!items.count(command)) {
            items[command] = item;
            return command;
        }
    }
    throw EOutOfMemory("Too many menu items");
}

// Compares captions without "&" and without ASCII case.
AnsiString PlainCaption(const AnsiString& caption)
{
    AnsiString plain;
    for (size_t i = 0; i < caption.size(); ++i) {
        unsigned char c = caption[i];
        if (IsDBCSLeadByte(c) && i + 1 < caption.size()) {
            plain += caption[i];
            plain += caption[++i];
            continue;
        }
        if (c == '&')
            continue;
        plain += static_cast<char>((c >= 'a' && c <= 'z') ? c - 32 : c);
    }
    return plain;
}

} // namespace

bool DispatchMenuCommand(UINT command)
{
    auto& items = CommandItems();
    auto it = items.find(command);
    if (it == items.end())
        return false;
    it->second->Click();
    return true;
}

TMenuItem* FindMenuItemByHandle(HMENU menu)
{
    auto& items = HandleItems();
    auto it = items.find(menu);
    return it == items.end() ? nullptr : it->second;
}

void UpdateMenuPopup(HMENU menu)
{
    TMenuItem* parent = FindMenuItemByHandle(menu);
    if (!parent)
        return;
    for (int i = 0; i < parent->Count(); ++i)
        parent->Items(i)->InitiateAction();
}

// ---------------------------------------------------------------------------
// TMenuActionLink

bool TMenuActionLink::IsOnExecuteLinked()
{
    return FAction && (!FClient->OnClick || FClient->OnClick == FAction->OnExecute);
}

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner)
{
    FCommand = AllocateCommand(this);
}

TMenuItem::~TMenuItem()
{
    if (FParent)
        FParent->Remove(this);
    while (!FItems.empty()) {
        TMenuItem* child = FItems.back();
        FItems.pop_back();
        child->FParent = nullptr;
        delete child;
    }
    delete FActionLink;
    FActionLink = nullptr;
    CommandItems().erase(FCommand);
    if (FHandle) {
        HandleItems().erase(FHandle);
        DestroyMenu(FHandle);
    }
}

void TMenuItem::Loaded()
{
    TComponent::Loaded();
    if (FActionLink && FActionLink->Action())
        ActionChange(FActionLink->Action(), true);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && FActionLink && AComponent == FActionLink->Action())
        SetAction(nullptr);
}

void TMenuItem::SetCaption(const AnsiString& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    MenuChanged();
}

void TMenuItem::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    FChecked = value;
    if (value && FRadioItem)
        UncheckGroup();
    MenuChanged();
}

void TMenuItem::UncheckGroup()
{
    if (!FParent)
        return;
    for (TMenuItem* sibling : FParent->FItems)
        if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex &&
            sibling->FChecked) {
            sibling->FChecked = false;
            if (sibling->FActionLink)
                sibling->FActionLink->Update();
        }
}

void TMenuItem::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    MenuChanged();
}

void TMenuItem::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    MenuChanged();
}

void TMenuItem::SetDefault(bool value)
{
    if (value == FDefault)
        return;
    if (value && FParent)
        for (TMenuItem* sibling : FParent->FItems)
            sibling->FDefault = false;
    FDefault = value;
    MenuChanged();
}

void TMenuItem::SetRadioItem(bool value)
{
    if (value == FRadioItem)
        return;
    FRadioItem = value;
    if (value && FChecked)
        UncheckGroup();
    MenuChanged();
}

void TMenuItem::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    FGroupIndex = value;
    if (FRadioItem && FChecked)
        UncheckGroup();
    MenuChanged();
}

void TMenuItem::SetShortCut(TShortCut value)
{
    if (value == FShortCut)
        return;
    FShortCut = value;
    MenuChanged();
}

TBasicAction* TMenuItem::Action() const
{
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TMenuItem::SetAction(TBasicAction* value)
{
    if (!value) {
        if (FActionLink && FActionLink->Action())
            FActionLink->Action()->RemoveFreeNotification(this);
        delete FActionLink;
        FActionLink = nullptr;
        return;
    }
    if (value == Action())
        return;
    if (!FActionLink)
        FActionLink = CreateActionLink();
    else if (FActionLink->Action())
        FActionLink->Action()->RemoveFreeNotification(this);
    FActionLink->SetAction(value);
    FActionLink->OnChange = TNotifyEvent(this, &TMenuItem::DoActionChange);
    ActionChange(value, HasState(csLoading));
    value->FreeNotification(this);
}

TMenuActionLink* TMenuItem::CreateActionLink()
{
    return new TMenuActionLink(this);
}

void TMenuItem::DoActionChange(TObject* Sender)
{
    if (FActionLink && Sender == FActionLink->Action())
        ActionChange(Sender, false);
}

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults)
{
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action)
        return;
    if (!CheckDefaults || !FAutoCheck)
        SetAutoCheck(action->AutoCheck());
    if (!CheckDefaults || FCaption.empty())
        SetCaption(action->Caption());
    if (!CheckDefaults || !FChecked)
        SetChecked(action->Checked());
    if (!CheckDefaults || FEnabled)
        SetEnabled(action->Enabled());
    if (!CheckDefaults || FHint.empty())
        SetHint(action->Hint());
    if (!CheckDefaults || FImageIndex == -1)
        SetImageIndex(action->ImageIndex());
    if (!CheckDefaults || FShortCut == scNone)
        SetShortCut(action->ShortCut());
    if (!CheckDefaults || FVisible)
        SetVisible(action->Visible());
    if (!CheckDefaults || FGroupIndex == 0)
        SetGroupIndex(action->GroupIndex());
}

void TMenuItem::Click()
{
    if (!FEnabled)
        return;
    TBasicAction* action = Action();
    bool actionRuns = FActionLink && action && (!OnClick || OnClick == action->OnExecute);
    if (FAutoCheck && !(actionRuns && FActionLink->IsAutoCheckLinked()))
        SetChecked(!(FChecked && !FRadioItem));
    if (actionRuns)
        FActionLink->Execute(this);
    else if (OnClick)
        OnClick(this);
}

void TMenuItem::InitiateAction()
{
    if (FActionLink)
        FActionLink->Update();
}

int TMenuItem::MenuIndex() const
{
    return FParent ? FParent->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(int value)
{
    if (!FParent)
        return;
    TMenuItem* parent = FParent;
    int current = MenuIndex();
    value = std::clamp(value, 0, parent->Count() - 1);
    if (value == current)
        return;
    parent->FItems.erase(parent->FItems.begin() + current);
    parent->FItems.insert(parent->FItems.begin() + value, this);
    parent->RebuildHandle();
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item)
{
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item)
        return;
    if (item->FParent)
        throw EInvalidOperation("Menu inserted twice");
    if (index < 0 || index > Count())
        throw EListError("Menu index out of range");
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    if (item->FChecked && item->FRadioItem)
        item->UncheckGroup();
    RebuildHandle();
}

void TMenuItem::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw EListError("Menu index out of range");
    TMenuItem* item = FItems[index];
    FItems.erase(FItems.begin() + index);
    item->FParent = nullptr;
    RebuildHandle();
}

void TMenuItem::Remove(TMenuItem* item)
{
    int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
}

void TMenuItem::Clear()
{
    while (!FItems.empty())
        delete FItems.back();
}

TMenuItem* TMenuItem::Find(const AnsiString& caption) const
{
    AnsiString wanted = PlainCaption(caption);
    for (TMenuItem* item : FItems)
        if (PlainCaption(item->FCaption) == wanted)
            return item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* root = this;
    while (root->FParent)
        root = root->FParent;
    return root->FMenu;
}

HMENU TMenuItem::Handle()
{
    if (!FHandle) {
        FHandle = FMenu ? FMenu->CreateMenuHandle() : CreatePopupMenu();
        if (!FHandle)
            RaiseLastOSError();
        HandleItems()[FHandle] = this;
        RebuildHandle();
    }
    return FHandle;
}

AnsiString TMenuItem::MenuText() const
{
    AnsiString text = FCaption;
    bool onMenuBar = FParent && dynamic_cast<TMainMenu*>(FParent->FMenu);
    if (FShortCut != scNone && !onMenuBar)
        text += "\t" + ShortCutToText(FShortCut);
    return text;
}

void TMenuItem::MenuChanged()
{
    if (FParent)
        FParent->RebuildHandle();
}

void TMenuItem::RebuildHandle()
{
    if (!FHandle)
        return;
    while (GetMenuItemCount(FHandle) > 0)
        RemoveMenu(FHandle, 0, MF_BYPOSITION);
    UINT position = 0;
    for (TMenuItem* item : FItems) {
        if (!item->FVisible)
            continue;
        AnsiString text = item->MenuText();
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        info.wID = item->FCommand;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        if (item->IsLine()) {
            info.fType = MFT_SEPARATOR;
        } else {
            info.fMask |= MIIM_STRING;
            info.fType = item->FRadioItem ? MFT_RADIOCHECK : 0;
            info.dwTypeData = text.data();
            info.cch = static_cast<UINT>(text.size());
            info.fState = (item->FChecked ? MFS_CHECKED : 0) | (item->FEnabled ? 0 : MFS_GRAYED) |
                          (item->FDefault ? MFS_DEFAULT : 0);
            if (!item->FItems.empty())
                info.hSubMenu = item->Handle();
        }
        InsertMenuItemA(FHandle, position, TRUE, &info);
        item->ItemInserted(FHandle, position++);
    }
    if (TMenu* menu = GetParentMenu())
        menu->MenuChanged();
}

// ---------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner)
{
    FItems = new TMenuItem(nullptr);
    FItems->FMenu = this;
}

TMenu::~TMenu()
{
    delete FItems;
}

TMenuItem* TMenu::FindItemByShortCut(TShortCut shortCut) const
{
    std::vector<TMenuItem*> pending = {FItems};
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        for (int i = item->Count() - 1; i >= 0; --i) {
            TMenuItem* child = item->Items(i);
            if (child->ShortCut() == shortCut && child->Visible())
                return child;
            pending.push_back(child);
        }
    }
    return nullptr;
}

bool TMenu::IsShortCut(WORD key, TShiftState shift)
{
    TShortCut wanted = ShortCut(key, ModifierKeys(shift));
    if (wanted == scNone)
        return false;
    TMenuItem* item = FindItemByShortCut(wanted);
    if (!item)
        return false;
    item->InitiateAction();
    if (!item->Enabled())
        return false;
    item->Click();
    return true;
}

void TMenu::UpdateItems()
{
    std::vector<TMenuItem*> pending = {FItems};
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        item->InitiateAction();
        for (int i = 0; i < item->Count(); ++i)
            pending.push_back(item->Items(i));
    }
}

void TMainMenu::MenuChanged()
{
    if (WindowHandle())
        DrawMenuBar(WindowHandle());
}

// ---------------------------------------------------------------------------
// Popup menus

void TPopupMenuBase::SetPopupComponent(TComponent* value)
{
    ReplaceFreeNotified(this, FPopupComponent, value);
}

void TPopupMenuBase::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TPopupMenuBase(AOwner)
{
    FMenu = new TMenu(nullptr);
}

TPopupMenu::~TPopupMenu()
{
    delete FMenu;
    if (FWindow)
        DeallocateHWnd(FWindow);
}

bool TPopupMenu::IsShortCut(WORD key, TShiftState shift)
{
    return FMenu->IsShortCut(key, shift);
}

void TPopupMenu::WindowMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_INITMENUPOPUP:
        UpdateMenuPopup(reinterpret_cast<HMENU>(m.WParam));
        break;
    case WM_MENUSELECT: {
        auto menu = reinterpret_cast<HMENU>(m.LParam);
        TMenuItem* item = nullptr;
        if (HIWORD(m.WParam) & MF_POPUP) {
            HMENU sub = GetSubMenu(menu, LOWORD(m.WParam));
            item = sub ? FindMenuItemByHandle(sub) : nullptr;
        } else {
            auto found = CommandItems().find(LOWORD(m.WParam));
            item = found == CommandItems().end() ? nullptr : found->second;
        }
        if (Application)
            Application->SetHint(item ? GetLongHint(item->Hint()) : AnsiString());
        break;
    }
    }
    DefaultHiddenWindowHandling(FWindow, m);
}

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup)
        OnPopup(this);
    FMenu->UpdateItems();
    if (!FWindow)
        FWindow = AllocateHWnd(TWndMethod(this, &TPopupMenu::WindowMessage));
    UINT command = Seams().TrackPopupMenu(Handle(), FWindow, POINT{X, Y});
    PostMessageA(FWindow, WM_NULL, 0, 0);
    if (command)
        DispatchMenuCommand(command);
}
