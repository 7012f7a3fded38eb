// The rules of the preferences window, without windows.
//
//   TSwatchColors        the ten waveform colours in swatch order
//   ColorPreset          the six colour presets
//   ColorTakenByOther    the refusal of a colour another swatch has
//   KeyChoice            the 92 keys a shortcut can take, in list order
//   ShiftChoiceText      the eight modifier sets by modifier index
//   ShortCutListCaption  a command's caption as the shortcut list shows it
//   PlanShortCutChange,  the change of one command's shortcut: cleared,
//   ApplyShortCutChange  refused, asked about (another command has it) or
//                        assigned
//   DefaultShortCuts     every command's shortcut as first installed
//
// The other pages go back to the settings record's own defaults.
#pragma once

#include "editor/Settings.h"

#include "classlib/ShortCut.h"

#include <array>
#include <vector>

// WAVE, BACK, REGWAVE, REGBACK, PREBACK, CENTER, ZERO, POSBAR, CUTBAR, RANGE.
constexpr int kSwatchCount = 10;
using TSwatchColors = std::array<TColor, kSwatchCount>;
TSwatchColors SwatchColorsOf(const TOption& option);
void SetSwatchColors(TOption& option, const TSwatchColors& colors);

struct TColorPreset
{
    const char* Name;
    TSwatchColors Colors;
};
constexpr int kColorPresetCount = 6;
// Preset 0 is the colours the settings start with.
const TColorPreset& ColorPreset(int index);

// Another swatch than swatch already has color (two parts of the waveform
// drawn alike could not be told apart).
bool ColorTakenByOther(const TSwatchColors& colors, int swatch, TColor color);

struct TKeyChoice
{
    AnsiString Text;
    WORD Key; // virtual key; 0 for "なし"
};
constexpr int kKeyChoiceCount = 92;
const TKeyChoice& KeyChoice(int index);
// The choice of a virtual key, or -1 when it is none of the 92.
int KeyChoiceOf(WORD key);

constexpr int kShiftChoiceCount = 8;
// "なし", "Shift", "Ctrl", "Alt", "Shift + Ctrl", ... by modifier index.
const char* ShiftChoiceText(int index);

// The caption without its first "(" and the three bytes after it, so
// "開く(&O)" lists as "開く"; a caption without "(" is unchanged.
AnsiString ShortCutListCaption(const AnsiString& caption);

enum class TShortCutVerdict
{
    Cleared,                  // the key "なし": the command loses its shortcut
    RefusedArrowWithoutShift, // an arrow key needs a modifier
    RefusedWithoutShift,      // the command needs a modifier (playing while renaming)
    Duplicate,                // another command has it: ask before moving it
    Assigned
};

struct TShortCutChange
{
    TShortCutVerdict Verdict;
    TShortCut ShortCut = scNone; // what the command gets
    int Holder = -1;             // the command that has it now (Duplicate)
};

// What choosing shiftIndex and keyChoice for command (an index of table,
// which holds every command's shortcut in action-list order) does. The
// refusals come before the duplicate question, so that a refused change
// never takes another command's shortcut away.
TShortCutChange PlanShortCutChange(const std::vector<TShortCut>& table, int command, int shiftIndex,
                                   int keyChoice);
// Carries a planned change out: a Duplicate only when moveFromHolder (the
// person answered Yes), which clears the holder. True when the table
// changed.
bool ApplyShortCutChange(std::vector<TShortCut>& table, int command, const TShortCutChange& change,
                         bool moveFromHolder);

// Every command's default shortcut, in action-list order.
std::vector<TShortCut> DefaultShortCuts();

// The buffer sizes offered, bytes; the counts offered are 1 to 8.
constexpr std::array<int, 9> kBufSizeChoices = {256,  512,   1024,  2048, 4096,
                                                8192, 16384, 32768, 65536};
constexpr int kBufCountChoiceCount = 8;
