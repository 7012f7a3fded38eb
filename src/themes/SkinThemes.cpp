#include "SkinThemes.h"

#include "SkinUtils.h"
#include "SkinUxThemes.h"

#include "classlib/Application.h"
#include "classlib/Checks.h"
#include "classlib/Control.h"
#include "classlib/Graphics.h"
#include "classlib/HiddenWindow.h"
#include "toolbar/BarCommon.h"

#include <algorithm>

namespace {

struct TThemeEntry
{
    AnsiString Name;
    TSkinThemeClass Class = nullptr;
    TSkinTheme* Instance = nullptr; // owned; made on first use
    int References = 0;
};

std::vector<TThemeEntry> gRegistry;
TSkinThemeManager* gManager = nullptr; // owned: StartSkinThemes .. StopSkinThemes
TSkinSystemCache gCache;
int gThemeSerial = 0;

const wchar_t* const kStyleClassNames[] = {L"BUTTON",      L"SCROLLBAR", L"REBAR",
                                           L"TOOLBAR",     L"WINDOW",    L"COMBOBOX",
                                           L"EXPLORERBAR", L"STATUS",    L"SPIN"};
static_assert(std::size(kStyleClassNames) == static_cast<size_t>(TSkinStyleClass::Count));

} // namespace

TMessage SendSkinMessage(TObject* target, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message;
    message.Msg = msg;
    message.WParam = wParam;
    message.LParam = lParam;
    if (!target)
        return message;
    if (auto* control = dynamic_cast<TControl*>(target))
        control->WindowProc()(message);
    else
        target->Dispatch(message);
    return message;
}

void SendSkinMessageToAll(const std::vector<TObject*>& listeners, UINT msg, WPARAM wParam,
                          LPARAM lParam)
{
    const std::vector<TObject*> snapshot = listeners;
    for (TObject* listener : snapshot)
        if (std::find(listeners.begin(), listeners.end(), listener) != listeners.end())
            SendSkinMessage(listener, msg, wParam, lParam);
}

bool ItemIsHot(const TSkinItemInfo& info)
{
    return info.Enabled ? info.HotState != kSkinNotHot : info.HotState == kSkinKeyboardHot;
}

TRect FloatingCaptionRect(const TRect& r, SIZE borderSize, int captionHeight, bool closeButtonShown)
{
    TRect caption(r.left + borderSize.cx, r.top + borderSize.cy, r.right - borderSize.cx,
                  r.top + borderSize.cy + captionHeight);
    if (closeButtonShown)
        caption.right -= captionHeight;
    return caption;
}

TRect FloatingCloseButtonRect(const TRect& r, SIZE borderSize, int captionHeight)
{
    const LONG right = r.right - borderSize.cx, top = r.top + borderSize.cy;
    return TRect(right - captionHeight, top, right, top + captionHeight);
}

// --- TSkinTheme ----------------------------------------------------------------------

TSkinTheme::TSkinTheme(const AnsiString& Name) : FName(Name), FCreationSerial(++gThemeSerial) {}

// --- Registry ------------------------------------------------------------------------

int ThemeRegistryIndex(const AnsiString& Name)
{
    for (size_t i = 0; i < gRegistry.size(); ++i)
        if (lstrcmpiA(gRegistry[i].Name.c_str(), Name.c_str()) == 0)
            return static_cast<int>(i);
    return -1;
}

bool ThemeIsRegistered(const AnsiString& Name)
{
    return ThemeRegistryIndex(Name) >= 0;
}

void AddThemeClass(const AnsiString& Name, TSkinThemeClass ThemeClass)
{
    if (Name.empty() || !ThemeClass)
        throw Exception("Cannot register theme");
    if (ThemeIsRegistered(Name))
        throw Exception("Theme " + Name + " is already registered");
    TThemeEntry entry;
    entry.Name = Name;
    entry.Class = ThemeClass;
    gRegistry.push_back(entry);
}

TSkinTheme* AcquireTheme(const AnsiString& Name)
{
    const int index = ThemeRegistryIndex(Name);
    if (index < 0)
        throw Exception("Unknown theme " + Name);
    Verified((gRegistry[index].References == 0) == !gRegistry[index].Instance,
             "a theme instance lives exactly while it is referenced");
    if (!gRegistry[index].Instance) {
        gRegistry[index].References = 0;
        TSkinTheme* theme = gRegistry[index].Class(gRegistry[index].Name);
        try {
            const bool active = Application && Application->Active();
            SendSkinMessage(theme, WM_SKIN_SYSCHANGE, active ? 1 : 0, 0);
        } catch (...) {
            delete theme;
            throw;
        }
        gRegistry[index].Instance = theme;
    }
    ++gRegistry[index].References;
    return gRegistry[index].Instance;
}

void ReleaseThemeRef(TSkinTheme*& Theme)
{
    auto entry = std::find_if(gRegistry.begin(), gRegistry.end(),
                              [&](const TThemeEntry& e) { return Theme && e.Instance == Theme; });
    if (entry == gRegistry.end())
        throw Exception("Cannot release theme");
    if (entry->References < 1)
        throw Exception("Cannot release theme " + entry->Name);
    if (--entry->References > 0)
        return;
    TSkinTheme* doomed = entry->Instance;
    entry->Instance = nullptr;
    Theme = nullptr;
    FreeAndNil(doomed);
}

int ThemeReferenceCount(const AnsiString& Name)
{
    const int index = ThemeRegistryIndex(Name);
    return index < 0 ? 0 : gRegistry[index].References;
}

// --- System state ----------------------------------------------------------------------

const TSkinSystemCache& SkinCache()
{
    return gCache;
}

HTHEME ActiveStyle(TSkinStyleClass c)
{
    return gCache.VisualStylesActive ? gCache.Style(c) : nullptr;
}

bool StyleColor(TSkinStyleClass c, int property, TColor& color)
{
    const TVisualStyleEntryPoints& ux = VisualStyleEntryPoints();
    const HTHEME style = ActiveStyle(c);
    COLORREF value = 0;
    if (!style || !ux.GetThemeColor || ux.GetThemeColor(style, 0, 0, property, &value) != S_OK)
        return false;
    color = static_cast<TColor>(value & 0xFFFFFF);
    return true;
}

TSkinPopupMenuLook ResolvePopupMenuLook(int flatMenuStyle, bool systemFlatMenus,
                                        TColor menuBarColor, TColor menuBarTextColor)
{
    if (systemFlatMenus) {
        if (flatMenuStyle == kFlatMenusNever)
            return {false, menuBarColor, menuBarTextColor};
        return {true, clMenu, clMenuText};
    }
    if (flatMenuStyle == kFlatMenusAlways)
        return {true, clWindow, clWindowText};
    return {false, clMenu, clMenuText};
}

// --- TSkinThemeManager -------------------------------------------------------------------

TSkinThemeManager::TSkinThemeManager()
{
    // The system's broadcasts reach top-level windows only. The application's
    // window, when there is one, hears them for the manager: a top-level
    // window of the manager's own would cost every start its making.
    if (Application && Application->Handle()) {
        FWindow = AllocateMessageHWnd(TWndMethod(this, &TSkinThemeManager::WindowMethod));
        FHearingApplication = Application;
        Application->HookMainWindow(TWindowHook(this, &TSkinThemeManager::ApplicationMessage));
    } else {
        FWindow = AllocateHWnd(TWndMethod(this, &TSkinThemeManager::WindowMethod));
    }
    Refresh();
}

TSkinThemeManager::~TSkinThemeManager()
{
    if (FHearingApplication && FHearingApplication == Application)
        Application->UnhookMainWindow(TWindowHook(this, &TSkinThemeManager::ApplicationMessage));
    CloseStyles();
    FreeVisualStyleLib();
    gCache.VisualStylesActive = false;
    DeallocateHWnd(FWindow);
}

void TSkinThemeManager::WindowMethod(TMessage& message)
{
    SystemMessage(message);
    DefaultHiddenWindowHandling(FWindow, message);
}

void TSkinThemeManager::ApplicationMessage(TMessage& message, bool&)
{
    SystemMessage(message);
}

void TSkinThemeManager::SystemMessage(const TMessage& message)
{
    switch (message.Msg) {
    case WM_SYSCOLORCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_THEMECHANGED:
        RefreshAndTell();
        break;
    case WM_ACTIVATEAPP:
        Broadcast(message.WParam ? 4 : 5);
        break;
    }
}

void TSkinThemeManager::CloseStyles()
{
    const TVisualStyleEntryPoints& ux = VisualStyleEntryPoints();
    for (HTHEME& style : gCache.Styles) {
        if (style && ux.CloseThemeData)
            ux.CloseThemeData(style);
        style = nullptr;
    }
}

void TSkinThemeManager::OpenStyles()
{
    const TVisualStyleEntryPoints& ux = VisualStyleEntryPoints();
    if (!ux.OpenThemeData)
        return;
    // Opened for no window: the styles are drawn on any window, and opening
    // one for a window stores it among the window's properties, a trip to
    // the window system each.
    for (size_t i = 0; i < std::size(kStyleClassNames); ++i)
        gCache.Styles[i] = ux.OpenThemeData(nullptr, kStyleClassNames[i]);
}

void TSkinThemeManager::Refresh()
{
    RefreshSkinUtilsObjects();

    const TScreenDC screen;
    const int bits =
        GetDeviceCaps(screen.Handle(), BITSPIXEL) * GetDeviceCaps(screen.Handle(), PLANES);
    gCache.LowColor = bits < 12;
    gCache.ButtonFaceIsWhite = GetSysColor(COLOR_BTNFACE) == 0xFFFFFF;
    gCache.LowColorOrWhiteFace = gCache.LowColor || gCache.ButtonFaceIsWhite;

    CloseStyles();
    FreeVisualStyleLib();
    gCache.VisualStylesActive = false;
    if (OsIsXPOrNewer() && FUseVisualStyles && LoadVisualStyleLib()) {
        const TVisualStyleEntryPoints& ux = VisualStyleEntryPoints();
        // Without the entry points every painter needs, paint classic.
        gCache.VisualStylesActive =
            VisualStyleInUse() && ux.OpenThemeData && ux.CloseThemeData && ux.DrawThemeBackground;
        OpenStyles();
    }

    gCache.MenuBarColor = clBtnFace;
    gCache.MenuBarTextColor = clBtnText;
    StyleColor(TSkinStyleClass::Toolbar, kSkinFillColorProperty, gCache.MenuBarColor);
    StyleColor(TSkinStyleClass::Toolbar, kSkinTextColorProperty, gCache.MenuBarTextColor);

    const TSkinPopupMenuLook look = ResolvePopupMenuLook(
        FFlatMenuStyle, FlatMenuStyleOn(), gCache.MenuBarColor, gCache.MenuBarTextColor);
    gCache.FlatMenusActive = look.FlatMenusActive;
    gCache.PopupMenuColor = look.PopupMenuColor;
    gCache.PopupMenuTextColor = look.PopupMenuTextColor;
}

void TSkinThemeManager::RefreshAndTell()
{
    Refresh();
    if (FListeners.empty())
        return;
    for (WPARAM step = 1; step <= 3; ++step)
        Broadcast(step);
}

void TSkinThemeManager::Listen(TObject* listener)
{
    ListAddUnique(FListeners, listener);
}

void TSkinThemeManager::Unlisten(TObject* listener)
{
    ListRemove(FListeners, listener);
}

void TSkinThemeManager::Broadcast(WPARAM wParam)
{
    SendSkinMessageToAll(FListeners, WM_SKIN_SYSCHANGE, wParam, 0);
}

TSkinThemeManager* SkinThemeManager()
{
    return gManager;
}

void StartSkinThemes()
{
    gRegistry.clear();
    if (!gManager)
        gManager = new TSkinThemeManager();
}

void StopSkinThemes()
{
    // Instances still held elsewhere go with the registry.
    for (TThemeEntry& entry : gRegistry) {
        TSkinTheme* doomed = entry.Instance;
        entry.Instance = nullptr;
        FreeAndNil(doomed);
    }
    gRegistry.clear();
    delete gManager;
    gManager = nullptr;
}

void ListenSystemChanges(TObject* Obj)
{
    if (gManager)
        gManager->Listen(Obj);
}

void UnlistenSystemChanges(TObject* Obj)
{
    if (gManager)
        gManager->Unlisten(Obj);
}

void SetSkinSysParam(int Param, int Value)
{
    if (!gManager)
        return;
    switch (Param) {
    case 1:
        if (Value == gManager->FlatMenuStyle())
            return;
        gManager->SetFlatMenuStyle(Value);
        break;
    case 2:
        if ((Value == 0) == gManager->UseVisualStyles())
            return;
        gManager->SetUseVisualStyles(Value == 0);
        break;
    default:
        return;
    }
    gManager->RefreshAndTell();
}

int ThemeSystemParam(int Param)
{
    if (!Verified(gManager != nullptr, "the theme manager runs"))
        return -1;
    switch (Param) {
    case 1:
        return gManager->FlatMenuStyle();
    case 2:
        return gManager->UseVisualStyles() ? 0 : 2;
    }
    return -1;
}
