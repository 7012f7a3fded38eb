// The main window's command shortcuts, without windows.
//
//   kCommandCount, CommandInfo   the 72 commands in action-list order, each
//                                with its default shortcut
//   IndexToShift, ShiftToIndex   the modifier index the settings file keeps
//                                (0 none, 1 Shift, 2 Ctrl, 3 Alt, 4 Shift+Ctrl,
//                                5 Shift+Alt, 6 Ctrl+Alt, 7 all three)
//   ReadCommandShortCut,         one command's two keys in the SHORTCUT
//   WriteCommandShortCut         section: "<name>_SHIFT" and "<name>_KEY"
//   IsWithdrawnWhileTyping       which shortcuts a text edit takes over
//   TShortCutbackup              the user's assignment, one per command
#pragma once

#include "classlib/IniContent.h"
#include "classlib/ShortCutCodes.h"

#include <cstdint>
#include <vector>

struct TCommandInfo
{
    const char* Name;      // the action's name, also the SHORTCUT key prefix
    int DefaultShiftIndex; // modifier index when "_SHIFT" is missing
    std::uint16_t DefaultKey; // virtual key when "_KEY" is missing; 0 none
};

constexpr int kCommandCount = 72;
// The command at index (0 .. kCommandCount - 1), in action-list order.
const TCommandInfo& CommandInfo(int index);
// The index of a command by name (ignoring case), or -1.
int CommandIndexOf(const AnsiString& name);
// The default shortcut of a command.
TShortCut DefaultShortCut(const TCommandInfo& command);

// 0..7 to its modifiers; anything else is no modifier.
TShiftState IndexToShift(int index);
// The inverse; a state that is not exactly one of the eight sets (mouse
// buttons held, for instance) is 0.
int ShiftToIndex(TShiftState shift);

// The shortcut stored for a command, its defaults for missing keys. A key
// outside 1..255 is no shortcut (even with modifiers).
TShortCut ReadCommandShortCut(const TIniContent& ini, const TCommandInfo& command);
// False when the file cannot hold the keys of that name (a line break or
// "=" in it); nothing is written then.
[[nodiscard]] bool WriteCommandShortCut(TIniContent& ini, const char* name, TShortCut shortCut);

// A shortcut that a focused text edit takes over: one without modifiers
// (none at all included) or on an arrow key.
bool IsWithdrawnWhileTyping(TShortCut shortCut);

// The user's shortcut assignment, one per action in list order; the live
// shortcuts of the actions may be withdrawn while this stays intact.
struct TShortCutbackup
{
    std::vector<TShortCut> ShortCuts;
    std::int32_t Count = 0; // the number of actions
};
