// Keyboard shortcuts, shift states and key names.
//
//   TShortCut, TShiftState, ShortCut, ShortCutToKey
//                      the numbers (ShortCutCodes.h)
//   ShortCutToText, TextToShortCut
//   KeyName            our own name of a virtual key ("Num +", "Delete"); the
//                      system's key names follow the keyboard driver (under
//                      Wine, the X key map), so shortcut texts never use them
//   KeyDataToShiftState, KeyboardShiftState, MouseShiftState
//                      the state of the modifiers, read through the key-state
//                      seam so that tests can hold Ctrl or Shift
#pragma once

#include "ShortCutCodes.h"
#include "Types.h"

#include <windows.h>

// "Shift+", "Ctrl+", "Alt+" (in that order) and the key's name; "" for none
// or for a key without a name.
AnsiString ShortCutToText(TShortCut shortCut);
// The inverse of ShortCutToText (modifier names ignore case); 0 when the
// text names no key.
TShortCut TextToShortCut(const AnsiString& text);
// Our name of a virtual key: letters and digits as themselves, "Num 0" to
// "Num 9", "Num +", "F1" to "F24", "Enter", "Delete"...; "" for a key we do
// not name.
AnsiString KeyName(WORD key);

// The caption's "&" accelerator is this character (ASCII letters and digits
// ignoring case); "&&" is a literal ampersand, double-byte characters are
// stepped over.
bool IsAccelerator(char character, const AnsiString& caption);

// Shift and Ctrl from the key-state seam, Alt from the key data's context
// bit (or the seam).
TShiftState KeyDataToShiftState(LPARAM keyData);
// Modifiers and mouse buttons, all from the key-state seam.
TShiftState KeyboardShiftState();
// The MK_ flags of a mouse message, plus Alt from the key-state seam.
TShiftState MouseShiftState(WPARAM mouseKeys);
