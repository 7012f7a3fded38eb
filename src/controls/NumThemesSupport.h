// Visual styles for the edits: whether the border and the spin buttons are
// drawn through the visual style, and the drawing of one part.
//
// The unit holds a library reference of its own (bound at the first
// question, once) with the seven entry points it needs, so that the theme
// layer may free and bind its own again at any time. A missing library or
// entry point means "not themed"; nothing here raises.
#pragma once

#include <windows.h>

// Edits draw through the visual style: the library is bound, IsAppThemed
// and IsThemeActive both answer non-zero, and classic drawing is not forced.
bool NumThemesInUse();
// Opens the theme data of className ("edit", "spin") for window, draws the
// part in the state into rect and closes it. False (nothing drawn) when the
// edits do not draw themed or the style has no such class.
bool DrawNumThemePart(HWND window, HDC dc, const wchar_t* className, int part, int state,
                      const RECT& rect);
// Frees the library reference (the next question binds again).
void UnbindNumThemes();

// Forces classic drawing whatever the system says (tests of the classic
// look); returns the previous setting.
bool SetClassicDrawingForced(bool value);
