#include "CommandRules.h"

#include "ViewGeometry.h"

#include "classlib/TextUtils.h"

namespace {

using R = TEnablingRule;

struct TActionRule
{
    const char* Name;
    TEnablingRule Rule;
};

// Every action with an update; the others are always enabled.
constexpr TActionRule kRules[] = {
    {"actFileClose", R::FileOpen},
    {"actFileAddFilelist", R::FileOpen},
    {"actFileProperty", R::FileOpen},
    {"actViewZoomAll", R::FileOpen},
    {"actRegionAuto", R::FileOpen},
    {"actRegionAutoQuick", R::FileOpen},
    {"actFileSave", R::RegionsOrCutBars},
    {"actFileSaveAs", R::RegionsOrCutBars},
    {"actFileBounce", R::RegionsOrCutBars},
    {"actFileBounceSelOnly", R::RegionSelected},
    {"actAudioPlay", R::FileOpen},
    {"actAudioStop", R::FileOpen},
    {"actAudioRew", R::FileOpen},
    {"actAudioFwd", R::FileOpen},
    {"actAudioNRew", R::FileOpen},
    {"actAudioNFwd", R::FileOpen},
    {"actAudioGotoZero", R::FileOpen},
    {"actAudioBack", R::FileOpen},
    {"actAudioNext", R::FileOpen},
    {"actViewZoomRegion", R::WaveSelection},
    {"actRegionAdd", R::WaveSelection},
    {"actRegionStartWide", R::Adjust},
    {"actRegionStartShort", R::Adjust},
    {"actRegionEndWide", R::Adjust},
    {"actRegionEndShort", R::Adjust},
    {"actRegionRew", R::Adjust},
    {"actRegionFwd", R::Adjust},
    {"actRegionCut2", R::WaveSelection},
    {"actRegionTrim", R::WaveSelection},
    {"actRegionExpand", R::WaveSelection},
    {"actViewZoomIn", R::ZoomIn},
    {"actViewZoomOut", R::ZoomOut},
    {"actViewVZoomIn", R::VZoomIn},
    {"actViewVZoomOut", R::VZoomOut},
    {"actRegionEdit", R::RegionSelected},
    {"actRegionClear", R::HasRegions},
    {"actRegionCutToList", R::HasCutBars},
    {"actRegionCutClear", R::HasCutBars},
    {"actRegionCut", R::CutAtCursor},
    {"actRegionMerge", R::TwoRegionsSelected},
    {"actEditCopy", R::EditCopy},
    {"actEditCut", R::EditCut},
    {"actEditPaste", R::EditPaste},
    {"actEditDouble", R::EditDouble},
    {"actEditSelAll", R::EditSelAll},
    {"actEditDelete", R::EditDelete},
    {"actReturn", R::ExplorerReturn},
    {"actFileLoadList", R::OwnRule},
    {"actFileLoadListFromClp", R::OwnRule},
    {"actRegionNoChange", R::OwnRule},
    {"actRegionMonoMix", R::OwnRule},
    {"actRegionMonoLeft", R::OwnRule},
    {"actRegionMonoRight", R::OwnRule},
    {"actRegionSwap", R::OwnRule},
};

bool ActiveIs(const TCommandState& state, TActiveControl control)
{
    return state.Active == control;
}

bool RegionsSelectedInList(const TCommandState& state)
{
    return ActiveIs(state, TActiveControl::RegionList) && state.SelectedRegionCount > 0;
}

bool EditCopyAllowed(const TCommandState& s)
{
    if (IsTextEdit(s.Active))
        return s.TextSelected;
    return (ActiveIs(s, TActiveControl::Wave) && s.HasSelection) || RegionsSelectedInList(s);
}

bool EditCutAllowed(const TCommandState& s)
{
    if (IsTextEdit(s.Active))
        return s.TextSelected;
    return RegionsSelectedInList(s);
}

bool EditPasteAllowed(const TCommandState& s)
{
    if (IsTextEdit(s.Active))
        return s.ClipboardHasText;
    return ActiveIs(s, TActiveControl::RegionList) && !s.RegionClipboardEmpty;
}

bool EditSelAllAllowed(const TCommandState& s)
{
    if (IsTextEdit(s.Active))
        return s.TextPresent;
    if (!s.FileOpen || s.Busy)
        return false;
    return (ActiveIs(s, TActiveControl::RegionList) && s.RegionCount > 0) ||
           ActiveIs(s, TActiveControl::Wave);
}

bool EditDeleteAllowed(const TCommandState& s)
{
    return IsTextEdit(s.Active) || (ActiveIs(s, TActiveControl::CutBarList) && s.CutBarSelected) ||
           RegionsSelectedInList(s);
}

} // namespace

TEnablingRule EnablingRuleOf(const AnsiString& actionName)
{
    for (const TActionRule& entry : kRules)
        if (SameText(actionName, entry.Name))
            return entry.Rule;
    return R::Always;
}

bool RuleAllows(TEnablingRule rule, const TCommandState& s)
{
    switch (rule) {
    case R::Always:
    case R::OwnRule:
        return true;
    case R::FileOpen:
        return s.FileOpen;
    case R::RegionsOrCutBars:
        return s.RegionCount > 0 || s.CutBarCount > 0;
    case R::RegionSelected:
        return s.SelectedRegionCount > 0;
    case R::WaveSelection:
        return s.HasSelection;
    case R::Adjust:
        // The cut-bar list nudges its bar; selecting a bar drops the selection.
        return s.HasSelection || (ActiveIs(s, TActiveControl::CutBarList) && s.CutBarSelected);
    case R::ZoomIn:
        return s.FileOpen && s.Zoom > 1;
    case R::ZoomOut:
        return s.FileOpen && s.ScrollBarEnabled;
    case R::VZoomIn:
        return s.FileOpen && s.VZoom < kMaxVZoom;
    case R::VZoomOut:
        return s.FileOpen && s.VZoom > 1;
    case R::HasRegions:
        return s.RegionCount > 0;
    case R::HasCutBars:
        return s.CutBarCount > 0;
    case R::CutAtCursor:
        return s.FileOpen && s.PlayPos >= 1 && s.PlayPos < s.SampleSize;
    case R::TwoRegionsSelected:
        return s.SelectedRegionCount >= 2;
    case R::EditCopy:
        return EditCopyAllowed(s);
    case R::EditCut:
        return EditCutAllowed(s);
    case R::EditPaste:
        return EditPasteAllowed(s);
    case R::EditDouble:
        return RegionsSelectedInList(s);
    case R::EditSelAll:
        return EditSelAllAllowed(s);
    case R::EditDelete:
        return EditDeleteAllowed(s);
    case R::ExplorerReturn:
        return ActiveIs(s, TActiveControl::ExplorerTree);
    }
    return false;
}
