// The enabling rules of the main window's actions, without windows.
#include "editor/CommandRules.h"

#include "editor/CommandShortCuts.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <string>

namespace {

using A = TActiveControl;
using TStateChange = std::function<void(TCommandState&)>;

// A file of 1000 frames open, the cursor at 500, zoomed out with the scroll
// bar enabled, vertical zoom 2, nothing else.
TCommandState OpenFile()
{
    TCommandState s;
    s.FileOpen = true;
    s.SampleSize = 1000;
    s.PlayPos = 500;
    s.Zoom = 4;
    s.VZoom = 2;
    s.ScrollBarEnabled = true;
    return s;
}

TCommandState With(const TStateChange& change)
{
    TCommandState s = OpenFile();
    change(s);
    return s;
}

bool Enabled(const char* action, const TCommandState& s)
{
    return RuleAllows(EnablingRuleOf(action), s);
}

const TStateChange kNoFile = [](TCommandState& s) { s.FileOpen = false; };
const TStateChange kOneRegion = [](TCommandState& s) { s.RegionCount = 1; };
const TStateChange kOneCutBar = [](TCommandState& s) { s.CutBarCount = 1; };
const TStateChange kRegionSelected = [](TCommandState& s) {
    s.RegionCount = 3;
    s.SelectedRegionCount = 1;
};
const TStateChange kTwoRegionsSelected = [](TCommandState& s) {
    s.RegionCount = 3;
    s.SelectedRegionCount = 2;
};
const TStateChange kListSelection = [](TCommandState& s) {
    kRegionSelected(s);
    s.Active = A::RegionList;
};
const TStateChange kWaveWithCopiedRegions = [](TCommandState& s) {
    s.Active = A::Wave;
    s.RegionClipboardEmpty = false;
};
const TStateChange kListWithCopiedRegions = [](TCommandState& s) {
    s.Active = A::RegionList;
    s.RegionClipboardEmpty = false;
};
const TStateChange kCutBarListNoneSelected = [](TCommandState& s) {
    s.Active = A::CutBarList;
    s.CutBarCount = 2;
};
const TStateChange kWaveSelection = [](TCommandState& s) { s.HasSelection = true; };
const TStateChange kNothing = [](TCommandState&) {};

const char* const kOwnRuleActions[] = {
    "actFileLoadList",   "actFileLoadListFromClp", "actRegionNoChange", "actRegionMonoMix",
    "actRegionMonoLeft", "actRegionMonoRight",     "actRegionSwap"};

struct TActionCase
{
    const char* Action;
    TStateChange On;                 // a state that enables it
    std::optional<TStateChange> Off; // one that disables it; none: always enabled
};

} // namespace

TEST(CommandRules, EveryActionIsEnabledAndDisabledAsItsRuleSays)
{
    const TActionCase cases[] = {
        {"actFileOpen", kNoFile, std::nullopt},
        {"actFileClose", kNothing, kNoFile},
        {"actFileAddFilelist", kNothing, kNoFile},
        {"actFileSave", kOneCutBar, kNothing},
        {"actFileSaveAs", kOneRegion, kNothing},
        {"actFileRip", kNoFile, std::nullopt},
        {"actFileBounce", kOneRegion, kNothing},
        {"actFileBounceSelOnly", kRegionSelected, kOneRegion},
        {"actFilePreference", kNoFile, std::nullopt},
        {"actFileProperty", kNothing, kNoFile},
        {"actFileQuit", kNoFile, std::nullopt},
        {"actEditCut", kListSelection, kRegionSelected},
        {"actEditCopy", kListSelection, kRegionSelected},
        {"actEditPaste", kListWithCopiedRegions, kWaveWithCopiedRegions},
        {"actEditDouble", kListSelection, kRegionSelected},
        {"actEditDelete", kListSelection, kRegionSelected},
        {"actEditSelAll", kWaveWithCopiedRegions, kRegionSelected},
        {"actViewFilelist", kNoFile, std::nullopt},
        {"actViewCutbarlist", kNoFile, std::nullopt},
        {"actViewExp", kNoFile, std::nullopt},
        {"actViewRen", kNoFile, std::nullopt},
        {"actViewChase", kNoFile, std::nullopt},
        {"actViewZoomAll", kNothing, kNoFile},
        {"actViewZoomRegion", kWaveSelection, kNothing},
        {"actViewZoomIn", kNothing, [](TCommandState& s) { s.Zoom = 1; }},
        {"actViewZoomOut", kNothing, [](TCommandState& s) { s.ScrollBarEnabled = false; }},
        {"actViewVZoomIn", kNothing, [](TCommandState& s) { s.VZoom = 10; }},
        {"actViewVZoomOut", kNothing, [](TCommandState& s) { s.VZoom = 1; }},
        {"actRegionAdd", kWaveSelection, kNothing},
        {"actRegionEdit", kRegionSelected, kOneRegion},
        {"actRegionMerge", kTwoRegionsSelected, kRegionSelected},
        {"actRegionStartWide", kWaveSelection, kCutBarListNoneSelected},
        {"actRegionStartShort", kWaveSelection, kCutBarListNoneSelected},
        {"actRegionEndWide", kWaveSelection, kCutBarListNoneSelected},
        {"actRegionEndShort", kWaveSelection, kCutBarListNoneSelected},
        {"actRegionRew", kWaveSelection, kCutBarListNoneSelected},
        {"actRegionFwd", kWaveSelection, kCutBarListNoneSelected},
        {"actRegionCut", kNothing, [](TCommandState& s) { s.PlayPos = 0; }},
        {"actRegionCut2", kWaveSelection, kNothing},
        {"actRegionCutToList", kOneCutBar, kOneRegion},
        {"actRegionCutClear", kOneCutBar, kOneRegion},
        {"actRegionTrim", kWaveSelection, kNothing},
        {"actRegionExpand", kWaveSelection, kNothing},
        {"actRegionSet", kNoFile, std::nullopt},
        {"actRegionAuto", kNothing, kNoFile},
        {"actRegionAutoQuick", kNothing, kNoFile},
        {"actRegionClear", kOneRegion, kOneCutBar},
        {"actToolRegion", kNoFile, std::nullopt},
        {"actToolCut", kNoFile, std::nullopt},
        {"actToolErase", kNoFile, std::nullopt},
        {"actToolSelect", kNoFile, std::nullopt},
        {"actAudioPlay", kNothing, kNoFile},
        {"actAudioStop", kNothing, kNoFile},
        {"actAudioRew", kNothing, kNoFile},
        {"actAudioFwd", kNothing, kNoFile},
        {"actAudioNRew", kNothing, kNoFile},
        {"actAudioNFwd", kNothing, kNoFile},
        {"actAudioGotoZero", kNothing, kNoFile},
        {"actAudioBack", kNothing, kNoFile},
        {"actAudioNext", kNothing, kNoFile},
        {"actAudioRenamePlay", kNoFile, std::nullopt},
        {"actAudioRecord", kNoFile, std::nullopt},
        {"actAudioLoop", kNoFile, std::nullopt},
        {"actHelp", kNoFile, std::nullopt},
        {"actAbout", kNoFile, std::nullopt},
        {"actTab", kNoFile, std::nullopt},
        {"actTab2", kNoFile, std::nullopt},
        {"actTab3", kNoFile, std::nullopt},
        {"actTab4", kNoFile, std::nullopt},
        {"actReturn", [](TCommandState& s) { s.Active = A::ExplorerTree; },
         [](TCommandState& s) { s.Active = A::ManualRenameEdit; }},
    };
    std::set<std::string> covered(std::begin(kOwnRuleActions), std::end(kOwnRuleActions));
    for (const TActionCase& c : cases) {
        covered.insert(c.Action);
        SCOPED_TRACE(c.Action);
        EXPECT_TRUE(Enabled(c.Action, With(c.On)));
        if (c.Off)
            EXPECT_FALSE(Enabled(c.Action, With(*c.Off)));
        else
            EXPECT_EQ(EnablingRuleOf(c.Action), TEnablingRule::Always);
    }
    // Every action of both lists, so a misspelt name in the rules (which
    // would leave its action always enabled) shows above.
    std::set<std::string> actions{"actTab", "actTab2", "actTab3", "actTab4", "actReturn"};
    for (int i = 0; i < kCommandCount; ++i)
        actions.insert(CommandInfo(i).Name);
    EXPECT_EQ(covered, actions);
}

TEST(CommandRules, TheAdjustCommandsNudgeASelectedCutBarWithoutASelection)
{
    const TCommandState s = With([](TCommandState& s) {
        s.Active = A::CutBarList;
        s.CutBarCount = 2;
        s.CutBarSelected = true;
    });
    for (const char* action : {"actRegionStartWide", "actRegionFwd"})
        EXPECT_TRUE(Enabled(action, s)) << action;
    EXPECT_FALSE(Enabled("actRegionAdd", s));
}

TEST(CommandRules, TheRenameStringAndOutputModeActionsKeepRulesOfTheirOwn)
{
    for (const char* action : kOwnRuleActions)
        EXPECT_EQ(EnablingRuleOf(action), TEnablingRule::OwnRule) << action;
}

TEST(CommandRules, ZoomLimits)
{
    struct
    {
        int Zoom, VZoom;
        bool ZoomIn, VZoomIn, VZoomOut;
    } const cases[] = {
        {1, 1, false, true, false},
        {2, 2, true, true, true},
        {1, 9, false, true, true},
        {8, 10, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.Zoom << ", vertical " << c.VZoom);
        TCommandState s = With([&](TCommandState& s) {
            s.Zoom = c.Zoom;
            s.VZoom = c.VZoom;
        });
        EXPECT_EQ(Enabled("actViewZoomIn", s), c.ZoomIn);
        EXPECT_EQ(Enabled("actViewVZoomIn", s), c.VZoomIn);
        EXPECT_EQ(Enabled("actViewVZoomOut", s), c.VZoomOut);
        s.FileOpen = false;
        EXPECT_FALSE(Enabled("actViewZoomIn", s));
        EXPECT_FALSE(Enabled("actViewVZoomIn", s));
        EXPECT_FALSE(Enabled("actViewVZoomOut", s));
        EXPECT_FALSE(Enabled("actViewZoomOut", s));
    }
}

TEST(CommandRules, CutAtTheCursorNeedsACursorInsideTheFileAndNotAtItsStart)
{
    struct
    {
        std::int32_t PlayPos;
        bool Enabled;
    } const cases[] = {{-1, false}, {0, false}, {1, true}, {999, true}, {1000, false}};
    for (const auto& c : cases) {
        TCommandState s = With([&](TCommandState& s) { s.PlayPos = c.PlayPos; });
        EXPECT_EQ(Enabled("actRegionCut", s), c.Enabled) << "cursor at " << c.PlayPos;
    }
    EXPECT_FALSE(Enabled("actRegionCut", With(kNoFile)));
}

TEST(CommandRules, TheEditCommandsFollowTheActiveControl)
{
    enum : unsigned
    {
        Cut = 1,
        Copy = 2,
        Paste = 4,
        Double = 8,
        SelAll = 16,
        Delete = 32
    };
    struct
    {
        const char* What;
        TStateChange State;
        unsigned Enabled;
    } const cases[] = {
        {"no active control, a selection", [](TCommandState& s) { s.HasSelection = true; }, 0},
        {"an empty edit", [](TCommandState& s) { s.Active = A::TextEdit; }, Delete},
        {"an edit with text",
         [](TCommandState& s) {
             s.Active = A::TextEdit;
             s.TextPresent = true;
         },
         SelAll | Delete},
        {"an edit with selected text",
         [](TCommandState& s) {
             s.Active = A::ManualRenameEdit;
             s.TextPresent = s.TextSelected = true;
         },
         Cut | Copy | SelAll | Delete},
        {"an edit, text on the clipboard",
         [](TCommandState& s) {
             s.Active = A::TextEdit;
             s.ClipboardHasText = true;
             s.RegionClipboardEmpty = false;
             s.RegionCount = s.SelectedRegionCount = 2;
         },
         Paste | Delete},
        {"the waveform", [](TCommandState& s) { s.Active = A::Wave; }, SelAll},
        {"the waveform with a selection and copied regions",
         [](TCommandState& s) {
             s.Active = A::Wave;
             s.HasSelection = true;
             s.RegionClipboardEmpty = false;
             s.ClipboardHasText = true;
         },
         Copy | SelAll}, // regions paste into the list only
        {"the waveform while busy",
         [](TCommandState& s) {
             s.Active = A::Wave;
             s.Busy = true;
         },
         0},
        {"the region list, none selected",
         [](TCommandState& s) {
             s.Active = A::RegionList;
             s.RegionCount = 2;
         },
         SelAll},
        {"the region list, one selected",
         [](TCommandState& s) {
             s.Active = A::RegionList;
             s.RegionCount = 2;
             s.SelectedRegionCount = 1;
             s.RegionClipboardEmpty = false;
         },
         Cut | Copy | Paste | Double | SelAll | Delete},
        {"an empty region list", [](TCommandState& s) { s.Active = A::RegionList; }, 0},
        {"the region list without a file",
         [](TCommandState& s) {
             s.FileOpen = false;
             s.Active = A::RegionList;
             s.RegionCount = s.SelectedRegionCount = 1;
         },
         Cut | Copy | Double | Delete},
        {"the cut-bar list, one selected",
         [](TCommandState& s) {
             s.Active = A::CutBarList;
             s.CutBarCount = 1;
             s.CutBarSelected = true;
             s.SelectedRegionCount = 1;
         },
         Delete},
        {"the cut-bar list, none selected",
         [](TCommandState& s) {
             s.Active = A::CutBarList;
             s.CutBarCount = 1;
         },
         0},
        {"another control",
         [](TCommandState& s) {
             s.Active = A::Other;
             s.HasSelection = true;
             s.SelectedRegionCount = 1;
         },
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TCommandState s = With(c.State);
        EXPECT_EQ(Enabled("actEditCut", s), (c.Enabled & Cut) != 0);
        EXPECT_EQ(Enabled("actEditCopy", s), (c.Enabled & Copy) != 0);
        EXPECT_EQ(Enabled("actEditPaste", s), (c.Enabled & Paste) != 0);
        EXPECT_EQ(Enabled("actEditDouble", s), (c.Enabled & Double) != 0);
        EXPECT_EQ(Enabled("actEditSelAll", s), (c.Enabled & SelAll) != 0);
        EXPECT_EQ(Enabled("actEditDelete", s), (c.Enabled & Delete) != 0);
    }
}
