#include "UniMenus.h"

#include "UniClasses.h"

#include "classlib/WideText.h"

namespace {

bool UniIsDigitLetterOrKeypadDigit(WORD key)
{
    return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') ||
           (key >= VK_NUMPAD0 && key <= VK_NUMPAD9);
}

WideString UniKeyName(WORD key)
{
    if (UniIsDigitLetterOrKeypadDigit(key)) {
        const auto c = static_cast<wchar_t>(MapVirtualKeyW(key, MAPVK_VK_TO_CHAR) & 0xFFFF);
        return c ? WideString(1, c) : WideString();
    }
    if (key >= VK_BACK && key <= VK_F24) {
        const AnsiString name = KeyName(key);
        if (!name.empty())
            return AnsiToWide(name);
    }
    wchar_t name[64] = {};
    const LONG scanCode = static_cast<LONG>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    const int length = GetKeyNameTextW(scanCode, name, 64);
    return WideString(name, static_cast<size_t>(length > 0 ? length : 0));
}

TUniMenuItem* UniMenuItem(TMenuItem* item)
{
    return dynamic_cast<TUniMenuItem*>(item);
}

bool UniMenuStoresOwn(TPersistent* o, bool (TMenuActionLink::*linked)())
{
    TMenuActionLink* link = static_cast<TUniMenuItem*>(o)->ActionLink();
    return !link || !(link->*linked)();
}

} // namespace

WideString WideShortCutToText(TShortCut ShortCut)
{
    WORD key;
    TShiftState shift;
    ShortCutToKey(ShortCut, key, shift);
    if (ShortCut == scNone)
        return WideString();
    const WideString name = UniKeyName(key);
    if (name.empty())
        return WideString();
    WideString text;
    if (shift & ssShift)
        text += L"Shift+";
    if (shift & ssCtrl)
        text += L"Ctrl+";
    if (shift & ssAlt)
        text += L"Alt+";
    return text + name;
}

// ---------------------------------------------------------------------------
// TUniMenuItem

const TClassInfo& TUniMenuItem::StaticClassInfo()
{
    using M = TUniMenuItem;
    static const TPropInfo props[] = {
        WideStringProperty<M, &M::GetCaption, &M::SetCaption>(
            "Caption",
            [](TPersistent* o) { return UniMenuStoresOwn(o, &TMenuActionLink::IsCaptionLinked); }),
        WideStringProperty<M, &M::GetHint, &M::SetHint>(
            "Hint",
            [](TPersistent* o) { return UniMenuStoresOwn(o, &TMenuActionLink::IsHintLinked); }),
    };
    static const TClassInfo info{.Name = "TUniMenuItem", .Props = props};
    return info;
}

WideString TUniMenuItem::GetCaption()
{
    TWideCaptionHelper* helper = FindWideCaptionHelper(this);
    return helper ? ShadowedWideValue(helper->Caption, Caption()) : AnsiToWide(Caption());
}

void TUniMenuItem::SetCaption(const WideString& value)
{
    StoreShadowedWide(WideCaptionHelper(this)->Caption, value, Caption(),
                      [this](const AnsiString& ansi) { TMenuItem::SetCaption(ansi); });
}

WideString TUniMenuItem::GetHint()
{
    TWideCaptionHelper* helper = FindWideCaptionHelper(this);
    return helper ? ShadowedWideValue(helper->Hint, Hint()) : AnsiToWide(Hint());
}

void TUniMenuItem::SetHint(const WideString& value)
{
    StoreShadowedWide(WideCaptionHelper(this)->Hint, value, Hint(),
                      [this](const AnsiString& ansi) { TMenuItem::SetHint(ansi); });
}

void TUniMenuItem::DefineProperties(TFiler& Filer)
{
    TMenuItem::DefineProperties(Filer);
    DeclareWideStreamProps(Filer, this);
}

void TUniMenuItem::ActionChange(TObject* Sender, bool CheckDefaults)
{
    TMenuItem::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action)
        return;
    if (!CheckDefaults || GetCaption().empty())
        SetCaption(ActionWideCaption(action));
    if (!CheckDefaults || GetHint().empty())
        SetHint(ActionWideHint(action));
}

TMenuActionLink* TUniMenuItem::CreateActionLink()
{
    return new TUniMenuActionLink(this);
}

WideString TUniMenuItem::MenuWideText()
{
    WideString text = GetCaption();
    const bool onMenuBar =
        Parent() && !Parent()->Parent() && dynamic_cast<TMainMenu*>(GetParentMenu());
    if (ShortCut() != scNone && !onMenuBar)
        text += L"\t" + WideShortCutToText(ShortCut());
    return text;
}

void TUniMenuItem::ItemInserted(HMENU menu, UINT position)
{
    if (IsLine())
        return;
    WideString text = MenuWideText();
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    SetMenuItemInfoW(menu, position, TRUE, &info);
}

// ---------------------------------------------------------------------------
// Menu items as clients

WideString UniClientCaption(TMenuItem* client)
{
    TUniMenuItem* item = UniMenuItem(client);
    return item ? item->GetCaption() : AnsiToWide(client->Caption());
}

void SetUniClientCaption(TMenuItem* client, const WideString& value)
{
    if (TUniMenuItem* item = UniMenuItem(client))
        item->SetCaption(value);
    else
        client->SetCaption(WideToAnsi(value));
}

WideString UniClientHint(TMenuItem* client)
{
    TUniMenuItem* item = UniMenuItem(client);
    return item ? item->GetHint() : AnsiToWide(client->Hint());
}

void SetUniClientHint(TMenuItem* client, const WideString& value)
{
    if (TUniMenuItem* item = UniMenuItem(client))
        item->SetHint(value);
    else
        client->SetHint(WideToAnsi(value));
}
