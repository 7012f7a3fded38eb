#include "SkinUxThemes.h"

namespace {

HMODULE UxLoadByName(const char* name)
{
    return LoadLibraryA(name);
}

TVisualStyleLibLoader gUxLoader = UxLoadByName;
HMODULE gUxLibrary = nullptr; // owned: one reference, freed by FreeVisualStyleLib
TVisualStyleEntryPoints gUxEntryPoints;

} // namespace

TVisualStyleLibLoader SetVisualStyleLibLoader(TVisualStyleLibLoader loader)
{
    TVisualStyleLibLoader previous = gUxLoader;
    gUxLoader = loader ? loader : UxLoadByName;
    return previous;
}

HMODULE LoadVisualStyleModule()
{
    return gUxLoader("uxtheme.dll");
}

const TVisualStyleEntryPoints& VisualStyleEntryPoints()
{
    return gUxEntryPoints;
}

bool LoadVisualStyleLib()
{
    if (gUxLibrary)
        return true;
    gUxLibrary = LoadVisualStyleModule();
    if (!gUxLibrary)
        return false;
#define ZANDREL_BIND(name) BindVisualStyleEntry(gUxLibrary, #name, gUxEntryPoints.name);
    ZANDREL_VISUAL_STYLE_ENTRY_POINTS(ZANDREL_BIND)
#undef ZANDREL_BIND
    return true;
}

void FreeVisualStyleLib()
{
    if (!gUxLibrary)
        return;
    FreeLibrary(gUxLibrary);
    gUxLibrary = nullptr;
    gUxEntryPoints = TVisualStyleEntryPoints();
}

bool VisualStyleInUse()
{
    const TVisualStyleEntryPoints& ux = gUxEntryPoints;
    return gUxLibrary && ux.IsAppThemed && ux.IsThemeActive && ux.IsAppThemed() &&
           ux.IsThemeActive();
}
