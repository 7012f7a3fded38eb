// Keyboard shortcuts, shift states and key names.
//
//   TShortCut          a 16-bit shortcut: the low byte a virtual key, plus
//                      scShift 0x2000, scCtrl 0x4000, scAlt 0x8000; 0 is none
//   TShiftState        the modifier keys and mouse buttons held (ss* flags)
//   ShortCut, ShortCutToKey, ShortCutToText, TextToShortCut
//   KeyName            our own name of a virtual key ("Num +", "Delete"); the
//                      system's key names follow the keyboard driver (under
//                      Wine, the X key map), so shortcut texts never use them
//   KeyDataToShiftState, KeyboardShiftState, MouseShiftState
//                      the state of the modifiers, read through the key-state
//                      seam so that tests can hold Ctrl or Shift
#pragma once

#include "Types.h"

#include <windows.h>

using TShortCut = unsigned short;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

enum TShiftStateFlag : unsigned
{
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};
using TShiftState = unsigned;

// The modifier part of a shift state (mouse buttons and ssDouble dropped).
constexpr TShiftState ModifierKeys(TShiftState shift)
{
    return shift & (ssShift | ssAlt | ssCtrl);
}

TShortCut ShortCut(WORD key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift);
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
