// Every action of the main window run through each way a person has to it:
// its menu item and its toolbar button by real clicks, its shortcut by a
// typed key. The window holds a generated file and a few regions; every
// prompt is answered through the seams and counted, and after each way no
// window may be left open and the main window must take input again.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "audio/DirectWavEngine.h"
#include "dialogs/ql_filelist.h"

#include "classlib/ShortCut.h"

#include "support/TestSeams.h"
#include "support/WavFile.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kRate = 8000;
constexpr int kFrames = 80000;
constexpr int kSoundStart = 20000;

// What the prompts of one run asked; every one is answered "no" or cancelled.
struct TPrompts
{
    int Boxes = 0;
    int Modals = 0;
    int FileDialogs = 0;
    int FolderDialogs = 0;
    int ShellRuns = 0;

    bool operator==(const TPrompts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TPrompts& p)
{
    return out << "{boxes " << p.Boxes << ", modals " << p.Modals << ", file dialogs "
               << p.FileDialogs << ", folder dialogs " << p.FolderDialogs << ", shell "
               << p.ShellRuns << "}";
}

const TPrompts kNoPrompt{};
const TPrompts kOneBox{.Boxes = 1};
const TPrompts kOneModal{.Modals = 1};
const TPrompts kOneFileDialog{.FileDialogs = 1};

class ActionWaysTest;
using TSetup = std::function<void(ActionWaysTest&)>;

struct TActionRow
{
    TAction* TFormVusk::*Action;
    TSetup Setup;              // the state the action's rule asks for
    TSetup Effect;             // checks what a run left
    TPrompts Asks = kNoPrompt; // what each run asks a person
};

enum class TWay
{
    Menu,
    ToolButton,
    ShortCut
};

const char* WayName(TWay way)
{
    switch (way) {
    case TWay::Menu:
        return "menu item";
    case TWay::ToolButton:
        return "toolbar button";
    case TWay::ShortCut:
        return "shortcut";
    }
    return "?";
}

BOOL CALLBACK AddVisibleWindow(HWND window, LPARAM found)
{
    if (IsWindowVisible(window))
        reinterpret_cast<std::set<HWND>*>(found)->insert(window);
    return TRUE;
}

std::set<HWND> VisibleThreadWindows()
{
    std::set<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), AddVisibleWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

class ActionWaysTest : public MainWindowTest
{
public:
    using MainWindowTest::form;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        // Stereo, so that the output modes apply; silent up to kSoundStart,
        // so that a selection has an edge of sound to expand to.
        std::vector<std::int16_t> samples = ToneSamples(kFrames, 2, kRate, 440, 8000);
        std::fill(samples.begin(), samples.begin() + 2 * kSoundStart, 0);
        wavPath = WriteWav(folder, "take.wav", WavBuilder().Pcm16(2, kRate, samples));
        TClassLibSeams& s = Seams();
        s.MessageBox = [this](const TMessageBoxRequest&) {
            ++asked.Boxes;
            return IDNO;
        };
        s.ModalShown = [this](TObject* shown) {
            ++asked.Modals;
            if (auto* modal = dynamic_cast<TCustomForm*>(shown))
                modal->SetModalResult(mrCancel);
        };
        s.FileDialog = [this](TFileDialogRequest&) {
            ++asked.FileDialogs;
            return false;
        };
        s.FolderDialog = [this](TFolderDialogRequest&) {
            ++asked.FolderDialogs;
            return false;
        };
        s.ShellExecute = [this](const TShellExecuteRequest&) -> intptr_t {
            ++asked.ShellRuns;
            return 33;
        };
    }

    // A fresh window with the file open, counting every run of every action.
    void StartWindow()
    {
        FreeAndNil(form);
        PumpMessages();
        Start();
        runs.clear();
        for (TActionList* list : {form->ActionList, form->ActionList1})
            for (int i = 0; i < list->ActionCount(); ++i) {
                auto* action = static_cast<TAction*>(list->Actions(i));
                TNotifyEvent inner = action->OnExecute;
                if (!inner)
                    continue;
                action->OnExecute = [this, action, inner](TObject* sender) {
                    ++runs[action];
                    inner(sender);
                };
            }
        // An item linked to an action holds the handler the action had when
        // the item last took its properties: it takes the counting one too.
        for (int i = 0; i < form->ComponentCount(); ++i)
            if (auto* item = dynamic_cast<TBarCustomItem*>(form->Components(i)))
                if (TBasicAction* action = item->Action())
                    item->OnClick = action->OnExecute;
        Restore();
        ASSERT_TRUE(ActivateForm(form));
    }

    // Brings back what an earlier run took away: the file, three regions,
    // the waveform focused with nothing selected.
    void Restore()
    {
        if (!form->FileLoaded())
            LoadTestDocument(*form, wavPath);
        if (form->Engine()->IsPlaying())
            form->actAudioStopExecute(form);
        if (form->RegionCount() != 3) {
            form->actRegionClearExecute(form);
            form->AddRegionRanges({{1000, 2000}, {3000, 4000}, {5000, 6000}});
        }
        form->ClearSelection();
        Focus(form->FocusBtn);
        ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    }

    void Focus(TWinControl* control)
    {
        ActivateForm(form);
        control->SetFocus();
        PumpMessages();
    }
    // A drag on the waveform across the columns of start and end.
    void SelectWave(std::int32_t start = 2000, std::int32_t end = 3000)
    {
        DragOnWave(*form, form->SampleToX(start), form->SampleToX(end));
        ASSERT_TRUE(form->Document().View().HasSelection);
        selection = {form->Document().View().SelStart, form->Document().View().SelEnd};
        Focus(form->FocusBtn);
    }
    void SelectRegions(std::initializer_list<int> indexes)
    {
        Focus(form->EditList);
        form->ClearRegionSelection();
        for (int index : indexes)
            form->SelectRegionRow(index, false);
        PumpMessages();
    }

    // The one window a command may leave open: the file list, which the
    // file-list commands show.
    bool IsFileListWindow(HWND window) const
    {
        return form->FileListWindow() && window == form->FileListWindow()->Handle();
    }

    TExtToolbar* BarOf(TAction* action) const
    {
        for (TExtToolbar* bar : form->Toolbars())
            for (int i = 0; i < bar->Items()->Count(); ++i)
                if (bar->Items()->Items(i)->Action() == action)
                    return bar;
        return nullptr;
    }

    // The ways this action has, each a real click or key.
    std::vector<std::pair<TWay, std::function<void()>>> WaysOf(TAction* action)
    {
        std::vector<std::pair<TWay, std::function<void()>>> ways;
        if (TBarCustomItem* item = MenuItemOf(form->MenuBar->Items(), action))
            ways.emplace_back(TWay::Menu, [this, item] { ClickMenuItem(form, item); });
        if (TExtToolbar* bar = BarOf(action))
            ways.emplace_back(TWay::ToolButton,
                              [this, bar, action] { ClickToolButton(bar, action); });
        if (action->ShortCut() != 0) {
            ways.emplace_back(TWay::ShortCut, [action] {
                WORD key = 0;
                TShiftState shift = 0;
                ShortCutToKey(action->ShortCut(), key, shift);
                PressKey(FocusedWindow(), key, shift);
            });
        }
        return ways;
    }

    void RunEveryWay(const TActionRow& row)
    {
        TAction* action = form->*row.Action;
        SCOPED_TRACE(action->Name().c_str());
        ASSERT_TRUE(action->OnExecute) << "no command";
        const auto ways = WaysOf(action);
        EXPECT_FALSE(ways.empty()) << "no way to run it";
        for (const auto& [way, run] : ways) {
            SCOPED_TRACE(WayName(way));
            Restore();
            if (row.Setup)
                row.Setup(*this);
            const std::set<HWND> before = VisibleThreadWindows();
            action->Update();
            EXPECT_TRUE(action->Enabled()) << "disabled in the state its rule asks for";
            const int runsBefore = runs[action];
            asked = {};
            run();
            PumpMessages();
            EXPECT_EQ(runs[action], runsBefore + 1);
            if (row.Effect)
                row.Effect(*this);
            EXPECT_EQ(asked, row.Asks);
            ASSERT_TRUE(IsWindowEnabled(form->Handle())) << "a modal window left open";
            for (HWND window : VisibleThreadWindows())
                EXPECT_TRUE(before.count(window) || IsFileListWindow(window))
                    << "a window left open";
        }
    }

    std::string wavPath;
    std::map<TAction*, int> runs;
    std::int64_t mark = 0; // a value a setup notes for the check after the run
    std::pair<std::int32_t, std::int32_t> selection; // the waveform's selection before
    TPrompts asked;
};

using T = ActionWaysTest&;

// --- The states the rules ask for --------------------------------------------------------------

void WaveSelected(T t)
{
    t.SelectWave();
}
void OneRegion(T t)
{
    t.SelectRegions({0});
}
void TwoRegions(T t)
{
    t.SelectRegions({0, 1});
}
void CutBars(T t)
{
    t.form->AddCutBars({2500, 7000});
}
void CursorInside(T t)
{
    t.form->SetPlayPosition(4500);
    t.mark = t.form->Document().CutBarCount();
}
void CursorMidway(T t)
{
    CutBars(t);
    t.form->SetPlayPosition(5000);
    t.mark = t.form->Document().View().PlayPos;
}
void ZoomMarked(T t)
{
    t.mark = t.form->Document().View().Zoom;
}
void ZoomedIn(T t)
{
    t.form->actViewZoomInExecute(t.form);
    ZoomMarked(t);
}
void StretchedUp(T t)
{
    t.form->actViewVZoomInExecute(t.form);
    t.mark = t.form->Document().View().VZoom;
}
void ClipboardHeld(T t)
{
    t.SelectRegions({0});
    t.form->actEditCopyExecute(t.form);
}
void PaneHidden(TAction* TFormVusk::*pane, T t)
{
    TAction* action = t.form->*pane;
    if (action->Checked())
        action->OnExecute(t.form);
    t.Focus(t.form->FocusBtn);
}
void FileListShown(T t)
{
    if (!t.form->actViewFilelist->Checked())
        t.form->actViewFilelist->OnExecute(t.form);
    t.Focus(t.form->FocusBtn);
}
void ExplorerFocused(T t)
{
    if (!t.form->actViewExp->Checked())
        t.form->actViewExp->OnExecute(t.form);
    t.Focus(t.form->ShellTreeView1);
}
void ToolOff(TAction* TFormVusk::*tool, T t)
{
    t.form->actToolSelect->OnExecute(t.form->actToolSelect);
    if (tool == &TFormVusk::actToolSelect)
        t.form->actToolRegion->OnExecute(t.form->actToolRegion);
}

// --- What each run leaves ------------------------------------------------------------------------

int Regions(T t)
{
    return t.form->RegionCount();
}
void RegionCountIs(T t, int count)
{
    EXPECT_EQ(Regions(t), count);
}
void SelectionMoved(T t)
{
    EXPECT_NE(std::make_pair(t.form->Document().View().SelStart, t.form->Document().View().SelEnd),
              t.selection);
}
void PlayCursorMoved(T t)
{
    EXPECT_NE(t.form->Document().View().PlayPos, t.mark);
}
void FocusLeftTheWaveform(T t)
{
    EXPECT_NE(FocusedWindow(), t.form->FocusBtn->Handle());
}
void OutModeIs(T t, TOutputMode mode)
{
    EXPECT_EQ(t.form->RegionAt(0)->OutMode, mode);
}

#define ROW(action) &TFormVusk::action
#define SET(body) [](T t) { body; }
#define CHECK(body) [](T t) { body; }

// Groups share a window; each starts a fresh one.
const std::vector<std::vector<TActionRow>> kGroups = {
    {
        {ROW(actFileOpen), nullptr, nullptr, kOneFileDialog},
        {ROW(actFileClose), nullptr, CHECK(EXPECT_FALSE(t.form->FileLoaded()))},
        {ROW(actFileAddFilelist), SET(PaneHidden(&TFormVusk::actViewFilelist, t)),
         CHECK(EXPECT_TRUE(t.form->actViewFilelist->Checked()))},
        {ROW(actFileSave), nullptr, nullptr, kOneFileDialog},
        {ROW(actFileSaveAs), nullptr, nullptr, kOneFileDialog},
        {ROW(actFileRip), nullptr, nullptr, kOneModal},
        {ROW(actFileLoadList), nullptr, nullptr, kOneFileDialog},
        {ROW(actFileLoadListFromClp)},
        {ROW(actFileBounce), nullptr, nullptr, kOneFileDialog},
        {ROW(actFileBounceSelOnly), OneRegion, nullptr, kOneFileDialog},
        {ROW(actFilePreference), nullptr, nullptr, kOneModal},
        {ROW(actFileProperty), nullptr, nullptr, kOneModal},
        {ROW(actFileQuit), SET(t.form->AddRegion(7000, 8000)),
         CHECK(EXPECT_TRUE(t.form->Visible())), kOneBox},
    },
    {
        {ROW(actEditCut), OneRegion, CHECK(RegionCountIs(t, 2))},
        {ROW(actEditCopy), OneRegion, CHECK(EXPECT_EQ(t.form->Document().RegionClip().Count(), 1))},
        {ROW(actEditPaste), ClipboardHeld, CHECK(RegionCountIs(t, 4))},
        {ROW(actEditDouble), OneRegion, CHECK(RegionCountIs(t, 4))},
        {ROW(actEditDelete), OneRegion, CHECK(RegionCountIs(t, 2))},
        {ROW(actEditSelAll), OneRegion, CHECK(EXPECT_EQ(t.form->SelectedRegionCount(), 3))},
    },
    {
        {ROW(actViewFilelist), SET(PaneHidden(&TFormVusk::actViewFilelist, t)),
         CHECK(EXPECT_TRUE(t.form->actViewFilelist->Checked()))},
        {ROW(actViewCutbarlist), SET(PaneHidden(&TFormVusk::actViewCutbarlist, t)),
         CHECK(EXPECT_TRUE(t.form->actViewCutbarlist->Checked()))},
        {ROW(actViewExp), SET(PaneHidden(&TFormVusk::actViewExp, t)),
         CHECK(EXPECT_TRUE(t.form->actViewExp->Checked()))},
        {ROW(actViewRen), SET(PaneHidden(&TFormVusk::actViewRen, t)),
         CHECK(EXPECT_TRUE(t.form->actViewRen->Checked()))},
        {ROW(actViewZoomIn), ZoomMarked, CHECK(EXPECT_LT(t.form->Document().View().Zoom, t.mark))},
        {ROW(actViewZoomOut), ZoomedIn, CHECK(EXPECT_GT(t.form->Document().View().Zoom, t.mark))},
        {ROW(actViewZoomAll), ZoomedIn, CHECK(EXPECT_GT(t.form->Document().View().Zoom, t.mark))},
        {ROW(actViewZoomRegion), SET(WaveSelected(t); ZoomMarked(t)),
         CHECK(EXPECT_LT(t.form->Document().View().Zoom, t.mark))},
        {ROW(actViewVZoomIn), SET(t.mark = t.form->Document().View().VZoom),
         CHECK(EXPECT_GT(t.form->Document().View().VZoom, t.mark))},
        {ROW(actViewVZoomOut), StretchedUp,
         CHECK(EXPECT_LT(t.form->Document().View().VZoom, t.mark))},
        {ROW(actViewChase), SET(t.mark = t.form->actViewChase->Checked()),
         CHECK(EXPECT_NE(t.form->actViewChase->Checked(), t.mark))},
    },
    {
        {ROW(actRegionAdd), WaveSelected, CHECK(RegionCountIs(t, 4))},
        {ROW(actRegionEdit), OneRegion, nullptr, kOneModal},
        {ROW(actRegionMerge), TwoRegions, CHECK(RegionCountIs(t, 2))},
        {ROW(actRegionEndWide), WaveSelected, SelectionMoved},
        {ROW(actRegionEndShort), WaveSelected, SelectionMoved},
        {ROW(actRegionStartShort), WaveSelected, SelectionMoved},
        {ROW(actRegionStartWide), WaveSelected, SelectionMoved},
        {ROW(actRegionRew), WaveSelected, SelectionMoved},
        {ROW(actRegionFwd), WaveSelected, SelectionMoved},
        {ROW(actRegionMonoMix), OneRegion, CHECK(OutModeIs(t, TOutputMode::MonoMix))},
        {ROW(actRegionMonoLeft), OneRegion, CHECK(OutModeIs(t, TOutputMode::MonoLeft))},
        {ROW(actRegionMonoRight), OneRegion, CHECK(OutModeIs(t, TOutputMode::MonoRight))},
        {ROW(actRegionSwap), OneRegion, CHECK(OutModeIs(t, TOutputMode::Swap))},
        {ROW(actRegionNoChange), SET(OneRegion(t); t.form->actRegionSwap->Execute()),
         CHECK(OutModeIs(t, TOutputMode::NoTouch))},
        {ROW(actRegionCut), CursorInside,
         CHECK(EXPECT_EQ(t.form->Document().CutBarCount(), t.mark + 1))},
        {ROW(actRegionCut2), SET(WaveSelected(t); t.mark = t.form->Document().CutBarCount()),
         CHECK(EXPECT_EQ(t.form->Document().CutBarCount(), t.mark + 2))},
        {ROW(actRegionCutToList), CutBars, CHECK(EXPECT_NE(Regions(t), 3))},
        {ROW(actRegionTrim), SET(t.SelectWave(kSoundStart - 1000, kSoundStart + 1000)),
         SelectionMoved},
        {ROW(actRegionExpand), SET(t.SelectWave(kSoundStart + 1000, kSoundStart + 2000)),
         SelectionMoved},
        {ROW(actRegionSet), nullptr, nullptr, kOneModal},
        {ROW(actToolRegion), SET(ToolOff(&TFormVusk::actToolRegion, t)),
         CHECK(EXPECT_TRUE(t.form->actToolRegion->Checked()))},
        {ROW(actToolCut), SET(ToolOff(&TFormVusk::actToolCut, t)),
         CHECK(EXPECT_TRUE(t.form->actToolCut->Checked()))},
        {ROW(actToolErase), SET(ToolOff(&TFormVusk::actToolErase, t)),
         CHECK(EXPECT_TRUE(t.form->actToolErase->Checked()))},
        {ROW(actToolSelect), SET(ToolOff(&TFormVusk::actToolSelect, t)),
         CHECK(EXPECT_TRUE(t.form->actToolSelect->Checked()))},
        {ROW(actRegionAuto), nullptr, nullptr, kOneModal},
        {ROW(actRegionAutoQuick)},
        {ROW(actRegionClear), nullptr, CHECK(RegionCountIs(t, 0))},
        {ROW(actRegionCutClear), CutBars, CHECK(EXPECT_EQ(t.form->Document().CutBarCount(), 0))},
    },
    {
        {ROW(actAudioPlay), nullptr, CHECK(EXPECT_TRUE(t.form->Engine()->IsPlaying()))},
        {ROW(actAudioRenamePlay)},
        {ROW(actAudioStop), SET(t.form->actAudioPlay->Execute()),
         CHECK(EXPECT_FALSE(t.form->Engine()->IsPlaying()))},
        {ROW(actAudioRecord), nullptr, nullptr, kOneModal},
        {ROW(actAudioRew), CursorMidway, PlayCursorMoved},
        {ROW(actAudioFwd), CursorMidway, PlayCursorMoved},
        {ROW(actAudioNRew), CursorMidway, PlayCursorMoved},
        {ROW(actAudioNFwd), CursorMidway, PlayCursorMoved},
        {ROW(actAudioGotoZero), CursorMidway,
         CHECK(EXPECT_EQ(t.form->Document().View().PlayPos, 0))},
        {ROW(actAudioBack), CursorMidway,
         CHECK(EXPECT_EQ(t.form->Document().View().PlayPos, 2500))},
        {ROW(actAudioNext), CursorMidway,
         CHECK(EXPECT_EQ(t.form->Document().View().PlayPos, 7000))},
        {ROW(actAudioLoop), SET(t.mark = t.form->actAudioLoop->ImageIndex()),
         CHECK(EXPECT_NE(t.form->actAudioLoop->ImageIndex(), t.mark))},
        {ROW(actHelp)},
        {ROW(actAbout), nullptr, nullptr, kOneModal},
    },
    {
        {ROW(actTab), nullptr, FocusLeftTheWaveform},
        {ROW(actTab2), FileListShown, FocusLeftTheWaveform},
        {ROW(actTab3), nullptr, FocusLeftTheWaveform},
        {ROW(actTab4), nullptr, FocusLeftTheWaveform},
        {ROW(actReturn), ExplorerFocused},
    },
};

#undef ROW
#undef SET
#undef CHECK

TEST_F(ActionWaysTest, EveryActionRunsFromEachOfItsWaysWithoutLeavingAWindowOpen)
{
    std::set<std::string> covered;
    for (const auto& group : kGroups) {
        StartWindow();
        for (const TActionRow& row : group) {
            covered.insert((form->*row.Action)->Name().c_str());
            RunEveryWay(row);
        }
    }
    for (TActionList* list : {form->ActionList, form->ActionList1})
        for (int i = 0; i < list->ActionCount(); ++i)
            EXPECT_TRUE(covered.count(list->Actions(i)->Name().c_str()))
                << list->Actions(i)->Name() << " is in no row";
}

} // namespace
