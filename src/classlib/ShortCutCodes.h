// Keyboard shortcuts as numbers, apart from ShortCut.h (key names, the key
// state) so that rules which read stored shortcuts need nothing of the
// platform.
//
//   TShortCut      a 16-bit shortcut: the low byte a virtual key, plus
//                  scShift 0x2000, scCtrl 0x4000, scAlt 0x8000; 0 is none
//   TShiftState    the modifier keys and mouse buttons held (ss* flags)
//   ShortCut, ShortCutToKey
#pragma once

#include <cstdint>

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

// The key with the modifiers of shift; none for a key beyond the low byte.
constexpr TShortCut ShortCut(std::uint16_t key, TShiftState shift)
{
    if (key & 0xFF00)
        return scNone;
    TShortCut result = key;
    if (shift & ssShift)
        result |= scShift;
    if (shift & ssCtrl)
        result |= scCtrl;
    if (shift & ssAlt)
        result |= scAlt;
    return result;
}

constexpr void ShortCutToKey(TShortCut shortCut, std::uint16_t& key, TShiftState& shift)
{
    key = shortCut & 0xFF;
    shift = 0;
    if (shortCut & scShift)
        shift |= ssShift;
    if (shortCut & scCtrl)
        shift |= ssCtrl;
    if (shortCut & scAlt)
        shift |= ssAlt;
}
