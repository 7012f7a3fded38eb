// Wide menu items and wide shortcut texts.
//
//   TUniMenuItem        a menu item with a wide caption and hint beside the
//                       ANSI ones; the system menu shows the wide caption
//   TUniMenuActionLink  its action link (the four wide slots of UniActnList)
//   WideShortCutToText  a shortcut's text with wide key names
#pragma once

#include "UniActnList.h"

#include "classlib/Menu.h"
#include "classlib/PropertyInfo.h"

// "Shift+", "Ctrl+", "Alt+" and the key's name: the library's name for the
// keys it names (not letters and digits), the keyboard's character for
// letters, digits and keypad digits, else the system's key name. Empty for
// no shortcut or a key without a name.
WideString WideShortCutToText(TShortCut ShortCut);

class TUniMenuItem : public TMenuItem
{
    ZANDREL_PUBLISHED(TUniMenuItem)
public:
    using TMenuItem::TMenuItem;

    WideString GetCaption();
    void SetCaption(const WideString& value);
    using TMenuItem::SetCaption;
    WideString GetHint();
    void SetHint(const WideString& value);
    using TMenuItem::SetHint;

    void DefineProperties(TFiler& Filer) override;

protected:
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    TMenuActionLink* CreateActionLink() override;
    void ItemInserted(HMENU menu, UINT position) override;

private:
    // The caption and, after a tab, the shortcut (not on a menu bar).
    WideString MenuWideText();
};

// What the wide links need of menu items (TUniActionLinkSlots).
WideString UniClientCaption(TMenuItem* client);
void SetUniClientCaption(TMenuItem* client, const WideString& value);
WideString UniClientHint(TMenuItem* client);
void SetUniClientHint(TMenuItem* client, const WideString& value);

class TUniMenuActionLink : public TUniActionLinkSlots<TMenuActionLink>
{
public:
    using TUniActionLinkSlots::TUniActionLinkSlots;
};
