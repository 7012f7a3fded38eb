// The visual-style library, bound at run time: the library exists only on
// systems with visual styles, so nothing links to it. LoadVisualStyleLib
// loads it once and looks up every entry point below; each pointer stays
// nullptr while unbound or when the library lacks it. Painters ask
// VisualStyleInUse and fall back to classic drawing when it is false, and
// they call an entry point only while styles are in use.
//
// The library reference here is this unit's own: other binders of the same
// library (the edits' theme support) load it for themselves, so freeing and
// binding again here never leaves their pointers dangling.
//
// Also here, for every binder of the library: the loader that a test
// replaces to make the library missing, and the lookup of one entry point.
#pragma once

#include <windows.h>

#include <uxtheme.h>

// Every entry point that is bound, in binding order.
#define ZANDREL_VISUAL_STYLE_ENTRY_POINTS(X)                                                       \
    X(OpenThemeData)                                                                               \
    X(CloseThemeData)                                                                              \
    X(DrawThemeBackground)                                                                         \
    X(DrawThemeText)                                                                               \
    X(GetThemeBackgroundContentRect)                                                               \
    X(GetThemePartSize)                                                                            \
    X(GetThemeTextExtent)                                                                          \
    X(GetThemeTextMetrics)                                                                         \
    X(GetThemeBackgroundRegion)                                                                    \
    X(HitTestThemeBackground)                                                                      \
    X(DrawThemeEdge)                                                                               \
    X(DrawThemeIcon)                                                                               \
    X(IsThemePartDefined)                                                                          \
    X(IsThemeBackgroundPartiallyTransparent)                                                       \
    X(GetThemeColor)                                                                               \
    X(GetThemeMetric)                                                                              \
    X(GetThemeString)                                                                              \
    X(GetThemeBool)                                                                                \
    X(GetThemeInt)                                                                                 \
    X(GetThemeEnumValue)                                                                           \
    X(GetThemePosition)                                                                            \
    X(GetThemeFont)                                                                                \
    X(GetThemeRect)                                                                                \
    X(GetThemeMargins)                                                                             \
    X(GetThemeIntList)                                                                             \
    X(GetThemePropertyOrigin)                                                                      \
    X(SetWindowTheme)                                                                              \
    X(GetThemeFilename)                                                                            \
    X(GetThemeSysColor)                                                                            \
    X(GetThemeSysColorBrush)                                                                       \
    X(GetThemeSysBool)                                                                             \
    X(GetThemeSysSize)                                                                             \
    X(GetThemeSysFont)                                                                             \
    X(GetThemeSysString)                                                                           \
    X(GetThemeSysInt)                                                                              \
    X(IsThemeActive)                                                                               \
    X(IsAppThemed)                                                                                 \
    X(GetWindowTheme)                                                                              \
    X(EnableThemeDialogTexture)                                                                    \
    X(IsThemeDialogTextureEnabled)                                                                 \
    X(GetThemeAppProperties)                                                                       \
    X(SetThemeAppProperties)                                                                       \
    X(GetCurrentThemeName)                                                                         \
    X(GetThemeDocumentationProperty)                                                               \
    X(DrawThemeParentBackground)                                                                   \
    X(EnableTheming)

// One pointer per entry point, with the signature the library publishes.
struct TVisualStyleEntryPoints
{
#define ZANDREL_VISUAL_STYLE_FIELD(name) decltype(&::name) name = nullptr;
    ZANDREL_VISUAL_STYLE_ENTRY_POINTS(ZANDREL_VISUAL_STYLE_FIELD)
#undef ZANDREL_VISUAL_STYLE_FIELD
};

// The bound entry points (all nullptr while the library is not loaded).
const TVisualStyleEntryPoints& VisualStyleEntryPoints();

// Loads the library unless it is loaded, and binds every entry point;
// true when the library is loaded.
bool LoadVisualStyleLib();
// Frees the library (when loaded) and clears every pointer.
void FreeVisualStyleLib();
// The library is loaded and both IsAppThemed and IsThemeActive answer
// non-zero (an entry point the library lacks answers "no").
bool VisualStyleInUse();

// --- For every binder of the library

// Loads a library by name; returns nullptr when it is missing.
using TVisualStyleLibLoader = HMODULE (*)(const char* name);
// Replaces the loader (tests make the library missing, or count loads);
// nullptr restores LoadLibraryA. Returns the previous loader.
TVisualStyleLibLoader SetVisualStyleLibLoader(TVisualStyleLibLoader loader);
// One new reference to "uxtheme.dll" through the loader, or nullptr.
HMODULE LoadVisualStyleModule();

// Looks name up in library: the entry point, or nullptr when absent.
template <class Function>
void BindVisualStyleEntry(HMODULE library, const char* name, Function& slot)
{
    FARPROC found = GetProcAddress(library, name);
    slot = reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}
