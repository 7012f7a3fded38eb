#include "CommandShortCuts.h"

#include "classlib/TextUtils.h"

namespace {

constexpr int kNone = 0, kShift = 1, kCtrl = 2, kShiftCtrl = 4;

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
    {"actEditDelete", kNone, VK_DELETE},
    {"actEditSelAll", kCtrl, 'A'},
    {"actViewFilelist", kShiftCtrl, 'F'},
    {"actViewCutbarlist", kShiftCtrl, 'C'},
    {"actViewExp", kShiftCtrl, 'E'},
    {"actViewRen", kShiftCtrl, 'R'},
    {"actViewZoomIn", kNone, VK_ADD},
    {"actViewZoomOut", kNone, VK_SUBTRACT},
    {"actViewZoomAll", kNone, VK_DIVIDE},
    {"actViewZoomRegion", kNone, 0},
    {"actViewVZoomIn", kShift, VK_ADD},
    {"actViewVZoomOut", kShift, VK_SUBTRACT},
    {"actViewChase", kNone, 0},
    {"actRegionAdd", kNone, VK_RETURN},
    {"actRegionEdit", kNone, 0},
    {"actRegionMerge", kCtrl, 'M'},
    {"actRegionEndWide", kShift, VK_RIGHT},
    {"actRegionEndShort", kShift, VK_LEFT},
    {"actRegionStartShort", kCtrl, VK_RIGHT},
    {"actRegionStartWide", kCtrl, VK_LEFT},
    {"actRegionRew", kShiftCtrl, VK_LEFT},
    {"actRegionFwd", kShiftCtrl, VK_RIGHT},
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
    {"actToolRegion", kNone, VK_F9},
    {"actToolCut", kNone, VK_F10},
    {"actToolErase", kNone, VK_F11},
    {"actToolSelect", kNone, VK_F12},
    {"actRegionAuto", kNone, VK_F5},
    {"actRegionAutoQuick", kNone, VK_F6},
    {"actRegionClear", kNone, 0},
    {"actRegionCutClear", kNone, 0},
    {"actAudioPlay", kNone, VK_SPACE},
    {"actAudioRenamePlay", kCtrl, VK_SPACE},
    {"actAudioStop", kNone, VK_NUMPAD0},
    {"actAudioRecord", kNone, VK_MULTIPLY},
    {"actAudioRew", kNone, VK_NUMPAD1},
    {"actAudioFwd", kNone, VK_NUMPAD3},
    {"actAudioNRew", kNone, VK_NUMPAD7},
    {"actAudioNFwd", kNone, VK_NUMPAD9},
    {"actAudioGotoZero", kNone, VK_DECIMAL},
    {"actAudioBack", kNone, VK_NUMPAD4},
    {"actAudioNext", kNone, VK_NUMPAD6},
    {"actAudioLoop", kCtrl, 'L'},
    {"actHelp", kNone, VK_F1},
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

TShortCut ReadCommandShortCut(const TIniFile& ini, const TCommandInfo& command)
{
    AnsiString name = command.Name;
    int index = ini.ReadInteger("SHORTCUT", name + "_SHIFT", command.DefaultShiftIndex);
    int key = ini.ReadInteger("SHORTCUT", name + "_KEY", command.DefaultKey);
    if (key <= 0 || key > 0xFF)
        return scNone;
    return ShortCut(static_cast<WORD>(key), IndexToShift(index));
}

void WriteCommandShortCut(TIniFile& ini, const char* name, TShortCut shortCut)
{
    WORD key = 0;
    TShiftState shift = 0;
    ShortCutToKey(shortCut, key, shift);
    AnsiString prefix = name;
    ini.WriteInteger("SHORTCUT", prefix + "_KEY", key);
    ini.WriteInteger("SHORTCUT", prefix + "_SHIFT", ShiftToIndex(shift));
}

bool IsWithdrawnWhileTyping(TShortCut shortCut)
{
    WORD key = 0;
    TShiftState shift = 0;
    ShortCutToKey(shortCut, key, shift);
    return shift == 0 || (key >= VK_LEFT && key <= VK_DOWN);
}
