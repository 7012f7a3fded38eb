#include "NumThemesSupport.h"

#include "themes/SkinUxThemes.h"

namespace {

struct TNumThemeEntryPoints
{
    decltype(&::OpenThemeData) OpenThemeData = nullptr;
    decltype(&::CloseThemeData) CloseThemeData = nullptr;
    decltype(&::DrawThemeBackground) DrawThemeBackground = nullptr;
    decltype(&::DrawThemeEdge) DrawThemeEdge = nullptr;
    decltype(&::GetThemeSysSize) GetThemeSysSize = nullptr;
    decltype(&::IsThemeActive) IsThemeActive = nullptr;
    decltype(&::IsAppThemed) IsAppThemed = nullptr;
};

HMODULE gNumLibrary = nullptr; // owned: this unit's reference
bool gNumBindTried = false;    // binding happens once until UnbindNumThemes
bool gNumClassicForced = false;
TNumThemeEntryPoints gNum;

void NumBindOnce()
{
    if (gNumBindTried)
        return;
    gNumBindTried = true;
    gNumLibrary = LoadVisualStyleModule();
    if (!gNumLibrary)
        return;
    BindVisualStyleEntry(gNumLibrary, "OpenThemeData", gNum.OpenThemeData);
    BindVisualStyleEntry(gNumLibrary, "CloseThemeData", gNum.CloseThemeData);
    BindVisualStyleEntry(gNumLibrary, "DrawThemeBackground", gNum.DrawThemeBackground);
    BindVisualStyleEntry(gNumLibrary, "DrawThemeEdge", gNum.DrawThemeEdge);
    BindVisualStyleEntry(gNumLibrary, "GetThemeSysSize", gNum.GetThemeSysSize);
    BindVisualStyleEntry(gNumLibrary, "IsThemeActive", gNum.IsThemeActive);
    BindVisualStyleEntry(gNumLibrary, "IsAppThemed", gNum.IsAppThemed);
}

} // namespace

bool NumThemesInUse()
{
    if (gNumClassicForced)
        return false;
    NumBindOnce();
    return gNumLibrary && gNum.IsAppThemed && gNum.IsThemeActive && gNum.IsAppThemed() &&
           gNum.IsThemeActive();
}

bool DrawNumThemePart(HWND window, HDC dc, const wchar_t* className, int part, int state,
                      const RECT& rect)
{
    if (!NumThemesInUse() || !gNum.OpenThemeData || !gNum.CloseThemeData ||
        !gNum.DrawThemeBackground)
        return false;
    HTHEME theme = gNum.OpenThemeData(window, className);
    if (!theme)
        return false;
    HRESULT drawn = gNum.DrawThemeBackground(theme, dc, part, state, &rect, nullptr);
    gNum.CloseThemeData(theme);
    return SUCCEEDED(drawn);
}

void UnbindNumThemes()
{
    if (gNumLibrary)
        FreeLibrary(gNumLibrary);
    gNumLibrary = nullptr;
    gNumBindTried = false;
    gNum = TNumThemeEntryPoints();
}

bool SetClassicDrawingForced(bool value)
{
    bool previous = gNumClassicForced;
    gNumClassicForced = value;
    return previous;
}
