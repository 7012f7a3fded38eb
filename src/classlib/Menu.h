// Menus.
//
//   TMenuItem        a command or a submenu: caption ("-" is a separator;
//                    "&&" shows a literal "&"), checked (radio items uncheck
//                    their group), enabled, visible, shortcut, image index,
//                    hint, an action link; children added, inserted or
//                    removed at an index
//   TMenu            a tree of items behind one system menu handle
//   TMainMenu        the menu bar of a form
//   TPopupMenuBase   what a control's PopupMenu needs: Popup(X, Y) and
//                    shortcuts; other menu frameworks derive from it
//   TPopupMenu       a context menu of items
//   TMenuActionLink  copies an action's properties to a menu item
//
// Each item with children keeps its system menu handle in step with them:
// a change rebuilds that submenu. Commands reach the item through the
// owner window's WM_COMMAND (DispatchMenuCommand); submenus update their
// items' actions when they open (UpdateMenuPopup).
#pragma once

#include "Actions.h"
#include "HiddenWindow.h"

#include <vector>
#include <windows.h>

class TMenu;
class TMenuItem;

class TMenuActionLink
    : public TClientActionLink<TMenuItem, lpAutoCheck | lpCaption | lpChecked | lpEnabled |
                                              lpGroupIndex | lpHint | lpImageIndex | lpShortCut |
                                              lpVisible>
{
public:
    using TClientActionLink::TClientActionLink;

    bool IsOnExecuteLinked() override;
};

class TMenuItem : public TComponent
{
public:
    explicit TMenuItem(TComponent* AOwner);
    // Leaves its parent and frees its children.
    ~TMenuItem() override;

    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& value);
    bool IsLine() const { return FCaption == "-"; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    // A radio item checks with a round mark and unchecks the items of its
    // group (same parent, same GroupIndex) when checked.
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& value) { FHint = value; }
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    TMenuActionLink* ActionLink() const { return FActionLink; }

    // --- The tree
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(index); }
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    void SetMenuIndex(int value);
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item at index out of this menu (not freed).
    void Delete(int index);
    void Remove(TMenuItem* item);
    // Frees every child.
    void Clear();
    // The child with this caption, ignoring "&" and case; nullptr if none.
    TMenuItem* Find(const AnsiString& caption) const;
    TMenu* GetParentMenu() const;

    // OnClick, or the linked action when OnClick is not set (or is the
    // action's own handler); AutoCheck toggles Checked first.
    virtual void Click();
    // Updates the linked action.
    void InitiateAction();

    // The system menu of this item's children (made on first use).
    HMENU Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    // The command number WM_COMMAND carries for this item.
    UINT Command() const { return FCommand; }

    TNotifyEvent OnClick;

protected:
    friend class TMenu;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    virtual TMenuActionLink* CreateActionLink();
    void DoActionChange(TObject* Sender);
    // Called once the parent's system menu holds this item at position (a
    // wide-text item sets its wide text there).
    virtual void ItemInserted(HMENU menu, UINT position) {}
    // The text the system shows: the caption and, after a tab, the shortcut.
    AnsiString MenuText() const;
    // Rebuilds the system menu this item appears in.
    void MenuChanged();
    void RebuildHandle();
    void UncheckGroup();

private:
    TMenuItem* FParent = nullptr;   // not owned; the parent lists this item
    TMenu* FMenu = nullptr;         // not owned; set on a menu's root item only
    std::vector<TMenuItem*> FItems; // owned (freed with this item)
    HMENU FHandle = nullptr;        // owned
    UINT FCommand = 0;
    AnsiString FCaption;
    AnsiString FHint;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FDefault = false;
    bool FRadioItem = false;
    bool FAutoCheck = false;
    int FGroupIndex = 0;
    int FImageIndex = -1;
    TShortCut FShortCut = scNone;
    TMenuActionLink* FActionLink = nullptr; // owned
};

class TMenu : public TComponent
{
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    // The root item; its children are the menu.
    TMenuItem* Items() const { return FItems; }
    HMENU Handle() { return FItems->Handle(); }
    // The window showing the menu (a menu bar redraws there).
    HWND WindowHandle() const { return FWindowHandle; }
    void SetWindowHandle(HWND value) { FWindowHandle = value; }
    // The first visible item with this shortcut clicks when enabled (its
    // action updated first); true when it did.
    bool IsShortCut(WORD key, TShiftState shift);
    TMenuItem* FindItemByShortCut(TShortCut shortCut) const;
    // Updates the actions of every item (the idle loop).
    void UpdateItems();

protected:
    friend class TMenuItem;
    virtual HMENU CreateMenuHandle() { return CreatePopupMenu(); }
    virtual void MenuChanged() {}

private:
    TMenuItem* FItems;            // owned
    HWND FWindowHandle = nullptr; // not owned
};

class TMainMenu : public TMenu
{
public:
    using TMenu::TMenu;

protected:
    HMENU CreateMenuHandle() override { return CreateMenu(); }
    void MenuChanged() override;
};

class TPopupMenuBase : public TComponent
{
public:
    using TComponent::TComponent;

    // Shows the menu at a screen point.
    virtual void Popup(int X, int Y) = 0;
    virtual bool IsShortCut(WORD key, TShiftState shift) { return false; }
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    // The control the menu was shown for.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value);

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr; // not owned; free-notified
};

class TPopupMenu : public TPopupMenuBase
{
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    TMenuItem* Items() const { return FMenu->Items(); }
    HMENU Handle() { return FMenu->Handle(); }
    // Runs the system's menu loop and clicks the chosen item.
    void Popup(int X, int Y) override;
    bool IsShortCut(WORD key, TShiftState shift) override;

private:
    void WindowMessage(TMessage& message);

    TMenu* FMenu;           // owned
    HWND FWindow = nullptr; // owned: receives the menu's messages while it shows
};

// Clicks the item with this command number; false when none has it.
bool DispatchMenuCommand(UINT command);
// Updates the items of a submenu that is about to open.
void UpdateMenuPopup(HMENU menu);
// The item whose children a system menu shows, or nullptr.
TMenuItem* FindMenuItemByHandle(HMENU menu);
