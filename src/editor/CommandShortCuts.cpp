#include "CommandShortCuts.h"

#include "classlib/AnsiText.h"

namespace {

constexpr int kNone = 0, kShift = 1, kCtrl = 2, kShiftCtrl = 4;

// The system's virtual-key codes of the keys named below.
enum TCommandKey : std::uint16_t
{
    kKeyReturn = 0x0D,
    kKeySpace = 0x20,
    kKeyLeft = 0x25,
    kKeyRight = 0x27,
    kKeyDown = 0x28,
    kKeyDelete = 0x2E,
    kKeyNumpad0 = 0x60,
    kKeyNumpad1 = 0x61,
    kKeyNumpad3 = 0x63,
    kKeyNumpad4 = 0x64,
    kKeyNumpad6 = 0x66,
    kKeyNumpad7 = 0x67,
    kKeyNumpad9 = 0x69,
    kKeyMultiply = 0x6A,
    kKeyAdd = 0x6B,
    kKeySubtract = 0x6D,
    kKeyDecimal = 0x6E,
    kKeyDivide = 0x6F,
    kKeyF1 = 0x70,
    kKeyF5 = 0x74,
    kKeyF6 = 0x75,
    kKeyF9 = 0x78,
    kKeyF10 = 0x79,
    kKeyF11 = 0x7A,
    kKeyF12 = 0x7B,
};

constexpr TCommandInfo kCommands[kCommandCount] = {
    {"actFileOpen", kCtrl, 'O'},
    {"actFileClose", kCtrl, 'W'},
    {"actFileAddFilelist", kNone, 0},
    {"actFileSave", kCtrl, 'S'},
    {"actFileSaveAs", kShiftCtrl, 'S'},
    {"actFileRip", kCtrl, 'R'},
    {"actFileLoadList", kShiftCtrl, 'O'},
    {"actFileLoadListFromClp", kShiftCtrl, 'V'},
    {"actFileBounce", kCtrl, 'B'},
    {"actFileBounceSelOnly", kNone, 0},
    {"actFilePreference", kCtrl, 'P'},
    {"actFileProperty", kCtrl, 'I'},
    {"actFileQuit", kCtrl, 'Q'},
    {"actEditCut", kCtrl, 'X'},
    {"actEditCopy", kCtrl, 'C'},
    {"actEditPaste", kCtrl, 'V'},
    {"actEditDouble", kCtrl, 'D'},
    {"actEditDelete", kNone, kKeyDelete},
    {"actEditSelAll", kCtrl, 'A'},
    {"actViewFilelist", kShiftCtrl, 'F'},
    {"actViewCutbarlist", kShiftCtrl, 'C'},
    {"actViewExp", kShiftCtrl, 'E'},
    {"actViewRen", kShiftCtrl, 'R'},
    {"actViewZoomIn", kNone, kKeyAdd},
    {"actViewZoomOut", kNone, kKeySubtract},
    {"actViewZoomAll", kNone, kKeyDivide},
    {"actViewZoomRegion", kNone, 0},
    {"actViewVZoomIn", kShift, kKeyAdd},
    {"actViewVZoomOut", kShift, kKeySubtract},
    {"actViewChase", kNone, 0},
    {"actRegionAdd", kNone, kKeyReturn},
    {"actRegionEdit", kNone, 0},
    {"actRegionMerge", kCtrl, 'M'},
    {"actRegionEndWide", kShift, kKeyRight},
    {"actRegionEndShort", kShift, kKeyLeft},
    {"actRegionStartShort", kCtrl, kKeyRight},
    {"actRegionStartWide", kCtrl, kKeyLeft},
    {"actRegionRew", kShiftCtrl, kKeyLeft},
    {"actRegionFwd", kShiftCtrl, kKeyRight},
    {"actRegionNoChange", kNone, 0},
    {"actRegionMonoMix", kShiftCtrl, 'M'},
    {"actRegionMonoLeft", kNone, 0},
    {"actRegionMonoRight", kNone, 0},
    {"actRegionSwap", kNone, 0},
    {"actRegionCut", kCtrl, 'G'},
    {"actRegionCut2", kShiftCtrl, 'G'},
    {"actRegionCutToList", kNone, 0},
    {"actRegionTrim", kCtrl, 'T'},
    {"actRegionExpand", kCtrl, 'E'},
    {"actRegionSet", kNone, 0},
    {"actToolRegion", kNone, kKeyF9},
    {"actToolCut", kNone, kKeyF10},
    {"actToolErase", kNone, kKeyF11},
    {"actToolSelect", kNone, kKeyF12},
    {"actRegionAuto", kNone, kKeyF5},
    {"actRegionAutoQuick", kNone, kKeyF6},
    {"actRegionClear", kNone, 0},
    {"actRegionCutClear", kNone, 0},
    {"actAudioPlay", kNone, kKeySpace},
    {"actAudioRenamePlay", kCtrl, kKeySpace},
    {"actAudioStop", kNone, kKeyNumpad0},
    {"actAudioRecord", kNone, kKeyMultiply},
    {"actAudioRew", kNone, kKeyNumpad1},
    {"actAudioFwd", kNone, kKeyNumpad3},
    {"actAudioNRew", kNone, kKeyNumpad7},
    {"actAudioNFwd", kNone, kKeyNumpad9},
    {"actAudioGotoZero", kNone, kKeyDecimal},
    {"actAudioBack", kNone, kKeyNumpad4},
    {"actAudioNext", kNone, kKeyNumpad6},
    {"actAudioLoop", kCtrl, 'L'},
    {"actHelp", kNone, kKeyF1},
    {"actAbout", kNone, 0},
};

// The modifier sets by index.
constexpr TShiftState kIndexShifts[] = {
    0,
    ssShift,
    ssCtrl,
    ssAlt,
    ssShift | ssCtrl,
    ssShift | ssAlt,
    ssCtrl | ssAlt,
    ssShift | ssCtrl | ssAlt,
};
constexpr int kIndexCount = 8;

} // namespace

const TCommandInfo& CommandInfo(int index)
{
    return kCommands[index];
}

int CommandIndexOf(const AnsiString& name)
{
    for (int i = 0; i < kCommandCount; ++i)
        if (SameText(name, kCommands[i].Name))
            return i;
    return -1;
}

TShortCut DefaultShortCut(const TCommandInfo& command)
{
    if (command.DefaultKey == 0)
        return scNone;
    return ShortCut(command.DefaultKey, IndexToShift(command.DefaultShiftIndex));
}

TShiftState IndexToShift(int index)
{
    if (index < 0 || index >= kIndexCount)
        return 0;
    return kIndexShifts[index];
}

int ShiftToIndex(TShiftState shift)
{
    for (int i = 0; i < kIndexCount; ++i)
        if (kIndexShifts[i] == shift)
            return i;
    return 0;
}

TShortCut ReadCommandShortCut(const TIniContent& ini, const TCommandInfo& command)
{
    AnsiString name = command.Name;
    int index = ini.ReadInteger("SHORTCUT", name + "_SHIFT", command.DefaultShiftIndex);
    int key = ini.ReadInteger("SHORTCUT", name + "_KEY", command.DefaultKey);
    if (key <= 0 || key > 0xFF)
        return scNone;
    return ShortCut(static_cast<std::uint16_t>(key), IndexToShift(index));
}

bool WriteCommandShortCut(TIniContent& ini, const char* name, TShortCut shortCut)
{
    std::uint16_t key = 0;
    TShiftState shift = 0;
    ShortCutToKey(shortCut, key, shift);
    const AnsiString prefix = name;
    const AnsiString keyName = prefix + "_KEY", shiftName = prefix + "_SHIFT";
    if (!TIniContent::CanHold("SHORTCUT", keyName, "0") ||
        !TIniContent::CanHold("SHORTCUT", shiftName, "0"))
        return false;
    return ini.WriteInteger("SHORTCUT", keyName, key) &&
           ini.WriteInteger("SHORTCUT", shiftName, ShiftToIndex(shift));
}

bool IsWithdrawnWhileTyping(TShortCut shortCut)
{
    std::uint16_t key = 0;
    TShiftState shift = 0;
    ShortCutToKey(shortCut, key, shift);
    return shift == 0 || (key >= kKeyLeft && key <= kKeyDown);
}
