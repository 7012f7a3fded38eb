// Regions found by sound level, trim and expand on the running window: each
// command from its menu item, its toolbar button and its shortcut, with real
// clicks and keys; the two settings windows answered through the modal seam.
// The file is a generated recording of three square-wave bursts between
// silences.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "dialogs/ql_autoregion.h"
#include "dialogs/ql_trimset.h"

#include "audio/DirectWavEngine.h"
#include "classlib/Clipboard.h"
#include "classlib/ShortCut.h"
#include "classlib/TextUtils.h"

#include "support/ModalDriver.h"
#include "support/WavFile.h"

#include <cstdlib>
#include <functional>

using namespace testing_support;

namespace {

constexpr int kRate = 8000;
constexpr int kFrames = 76000;
// Where the bursts are, in frames: start and end (one past the last loud
// frame). Every place lies on a whole chunk of draw entries.
constexpr std::pair<int, int> kBursts[] = {{8000, 20000}, {32000, 44000}, {56000, 68000}};
constexpr int kBurstAmplitude = 20000;

// The three bursts; loudness shifted by shift frames (another recording of
// the same length).
std::vector<std::int16_t> BurstSamples(int shift = 0)
{
    std::vector<std::int16_t> samples(kFrames, 0);
    for (auto [start, end] : kBursts)
        for (int i = start + shift; i < end + shift; ++i)
            samples[i] = i % 2 ? kBurstAmplitude : -kBurstAmplitude;
    return samples;
}

class AutoRegionCommandTest : public MainWindowTest
{
protected:
    // What the settings file gives the window at its start: no draw
    // caches, and a detection that finds the bursts.
    struct Settings
    {
        TAutoMode AutoMode = TAutoMode::StripSilence;
        int AutoLevel = 20;
        bool AutoCutOnly = false;
        int TrimLevel = 0;
        int TrimPreTime = 0; // ms
    };
    Settings settings;

    // Opens a file of bursts; the window starts first with settings.
    void Open(int shift = 0, const std::string& name = "bursts.wav")
    {
        if (!form) {
            WriteSettings("[SAVE]\r\nDATA=0\r\n[AUTO]\r\nMODE=" +
                          IntToStr(static_cast<int>(settings.AutoMode)) +
                          "\r\nLEVEL=" + IntToStr(settings.AutoLevel) +
                          "\r\nMINLENGTH=500\r\nMININTERVAL=500\r\nCUTONLY=" +
                          IntToStr(settings.AutoCutOnly ? 1 : 0) +
                          "\r\n[TRIM]\r\nLEVEL=" + IntToStr(settings.TrimLevel) +
                          "\r\nPRETIME=" + IntToStr(settings.TrimPreTime) + "\r\n");
            Start();
        }
        const std::string path =
            WriteWav(folder, name, WavBuilder().Pcm16(1, kRate, BurstSamples(shift)));
        ASSERT_TRUE(form->OpenWavFile(path));
    }
    // The automatic-region window, changed by change and closed with
    // Cancel: it adds nothing and stores its settings.
    void ChangeInAutoWindow(const std::function<void(TForm5&)>& change)
    {
        ScriptedModalForms modal;
        modal.Add([&](TCustomForm* shown) {
            auto* window = dynamic_cast<TForm5*>(shown);
            if (!window)
                return mrCancel;
            change(*window);
            ClickCentre(window->CancelBtn);
            return mrNone;
        });
        form->actRegionAuto->Execute();
        ASSERT_EQ(modal.Shown().size(), 1u);
    }
    int FramesPerEntry() const { return form->Document().BlockSize() / 2; }
    // The three ways to run action: its menu item, its toolbar button (when
    // it has one) and its shortcut, pressed on the waveform.
    std::vector<std::function<void()>> WaysToRun(TAction* action, WORD key, TShiftState shift,
                                                 bool button = true)
    {
        std::vector<std::function<void()>> ways = {
            [=, this] {
                FocusWave();
                ClickMenuItem(form, action);
            },
            [=, this] {
                FocusWave();
                PressKey(form->FocusBtn->Handle(), key, shift);
            },
        };
        if (button)
            ways.push_back([=, this] {
                FocusWave();
                ClickToolButton(form->Toolbar, action);
            });
        return ways;
    }
    // A drag on the waveform across the columns of start and end.
    void Select(std::int32_t start, std::int32_t end)
    {
        DragOnWave(*form, form->SampleToX(start), form->SampleToX(end));
    }
    // Whether a and b lie within one draw entry of each other.
    bool Near(std::int64_t a, std::int64_t b) const
    {
        return std::llabs(a - b) <= FramesPerEntry();
    }
    // Answers the automatic-region window: picks the type, runs it and adds
    // with Ctrl+O; shownCount gets the count it showed.
    void AddFromAutoWindow(TExtRadioButton* TForm5::*type, ScriptedModalForms& modal)
    {
        modal.Add([this, type](TCustomForm* shown) {
            auto* window = dynamic_cast<TForm5*>(shown);
            if (!window)
                return mrCancel;
            ClickCentre(window->*type);
            ClickCentre(window->ExecBtn);
            shownCount = window->CountLb->Caption();
            window->ExecBtn->SetFocus();
            PressKey(FocusedWindow(), 'O', ssCtrl);
            return mrNone;
        });
    }
    AnsiString shownCount;
};

} // namespace

TEST_F(AutoRegionCommandTest, TheQuickCommandFindsOneRegionPerBurstEveryWayItIsRun)
{
    struct Mode
    {
        TAutoMode Mode;
        int EndShift; // where the mode ends a region: after the last loud entry or on it
    };
    const Mode modes[] = {{TAutoMode::StripSilence, -1}, {TAutoMode::SearchSilence, 0}};
    for (const Mode& mode : modes) {
        FreeAndNil(form);
        settings.AutoMode = mode.Mode;
        Open();
        for (const auto& run : WaysToRun(form->actRegionAutoQuick, VK_F6, 0)) {
            const int before = form->RegionCount();
            ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
            run();
            const std::vector<TRegionRange> added = RegionRanges(form, before);
            ASSERT_EQ(added.size(), 3u) << "mode " << static_cast<int>(mode.Mode);
            for (int i = 0; i < 3; ++i) {
                EXPECT_TRUE(Near(added[i].Start, kBursts[i].first)) << added[i].Start;
                EXPECT_TRUE(Near(added[i].End, kBursts[i].second + mode.EndShift)) << added[i].End;
            }
            EXPECT_TRUE(form->Document().Modified());
            EXPECT_EQ(FocusedWindow(), form->EditList->Handle());
            EXPECT_EQ(form->SelectedRegionCount(), 1);
        }
    }
}

TEST_F(AutoRegionCommandTest, QuickCutPointsPutBarsAtTheRisesAndRegionsBetweenUnlessCutOnly)
{
    settings.AutoMode = TAutoMode::CutPoints;
    Open();
    form->actRegionAutoQuick->Execute();
    ASSERT_EQ(form->Document().CutBarCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(
            Near(StrToInt64Def(form->Document().CutBars().Strings(i), -1), kBursts[i].first));
    EXPECT_EQ(form->CutManageList->Items()->Count(), 3);
    const std::vector<TRegionRange> pieces = RegionRanges(form);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces.front().Start, 0);
    EXPECT_EQ(pieces.back().End, kFrames);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(pieces[i].Start, pieces[i - 1].End + 1);

    ChangeInAutoWindow([](TForm5& window) { ClickCentre(window.DivCheck); });
    form->actRegionAutoQuick->Execute();
    EXPECT_EQ(form->Document().CutBarCount(), 6);
    EXPECT_EQ(form->RegionCount(), 4);
}

TEST_F(AutoRegionCommandTest, CutPointsOfANewFileAreFoundOnItsOwnDrawData)
{
    // The averages of the first file must not be reused for the second,
    // though both have the same length and chunk.
    settings.AutoMode = TAutoMode::CutPoints;
    settings.AutoCutOnly = true;
    Open();
    form->actRegionAutoQuick->Execute();
    ASSERT_EQ(form->Document().AutoCutPoints().Count(), 3);
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    Open(4000, "later.wav");
    form->actRegionAutoQuick->Execute();
    ASSERT_EQ(form->Document().AutoCutPoints().Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Near(StrToInt64Def(form->Document().AutoCutPoints().Strings(i), -1),
                         kBursts[i].first + 4000));
}

TEST_F(AutoRegionCommandTest, QuickFindingNothingAddsNothing)
{
    settings.AutoLevel = 127; // louder than any burst
    Open();
    form->actRegionAutoQuick->Execute();
    EXPECT_EQ(form->RegionCount(), 0);
    EXPECT_FALSE(form->Document().Modified());
}

TEST_F(AutoRegionCommandTest, TheAutoWindowAddsWhatItsLastRunFoundEveryWayItIsOpened)
{
    Open();
    for (const auto& run : WaysToRun(form->actRegionAuto, VK_F5, 0)) {
        ChangeInAutoWindow([](TForm5& window) { ClickCentre(window.TypeRd3); });
        const int regions = form->RegionCount();
        const int bars = form->Document().CutBarCount();
        ScriptedModalForms modal;
        AddFromAutoWindow(&TForm5::TypeRd2, modal);
        run();
        ASSERT_EQ(modal.Shown().size(), 1u);
        EXPECT_EQ(shownCount, "4 個");
        EXPECT_EQ(form->Document().CutBarCount(), bars + 3);
        // The window's box, unticked as the settings say, adds the pieces too.
        EXPECT_EQ(form->RegionCount(), regions + 4);
        // What the window ended with is stored back.
        EXPECT_EQ(form->FOption.AutoMode, static_cast<int>(TAutoMode::CutPoints));
        EXPECT_EQ(form->FOption.AutoLevel, 20);
        EXPECT_EQ(form->FOption.AutoMinInterval, 500);
    }
}

TEST_F(AutoRegionCommandTest, TheAutoWindowStoresItsSettingsButAddsNothingOnCancel)
{
    settings.AutoMode = TAutoMode::SearchSilence;
    Open();
    ScriptedModalForms modal;
    modal.Add([](TCustomForm* shown) {
        auto* window = dynamic_cast<TForm5*>(shown);
        if (!window)
            return mrCancel;
        EXPECT_EQ(window->Level(), 20);
        // Pasted over the threshold with Ctrl+V: a number moves the bar,
        // anything else leaves it where it was.
        const std::pair<const char*, int> pasted[] = {
            {"-12.5", 30}, {"1-2", 30}, {"3", 127}, {"-6", 64}};
        for (auto [text, level] : pasted) {
            Clipboard()->SetAsText(text);
            window->dbEd->SetFocus();
            window->dbEd->SelectAll();
            // The character Ctrl+V types (the edit reads the real keyboard).
            PostMessageA(window->dbEd->Handle(), WM_CHAR, 'V' - '@', 1);
            PumpMessages();
            EXPECT_EQ(window->dbEd->Text(), text);
            EXPECT_EQ(window->Level(), level) << text;
        }
        window->PreEd->SetValue(120);
        ClickCentre(window->TypeRd1);
        ClickCentre(window->ExecBtn);
        EXPECT_EQ(window->CountLb->Caption(), "3 個");
        ClickCentre(window->CancelBtn);
        return mrNone;
    });
    form->actRegionAuto->Execute();
    ASSERT_EQ(modal.Shown().size(), 1u);
    EXPECT_EQ(form->RegionCount(), 0);
    EXPECT_FALSE(form->Document().Modified());
    EXPECT_EQ(form->FOption.AutoMode, static_cast<int>(TAutoMode::StripSilence));
    EXPECT_EQ(form->FOption.AutoLevel, 64);
    EXPECT_EQ(form->FOption.AutoPreTime, 120);
}

// Tab walks round the whole window, over every detection type, and Cancel:
// the type each Tab passes is not chosen, so the stored one stays.
TEST_F(AutoRegionCommandTest, ATabWalkAndCancelLeaveTheStoredTypeAlone)
{
    Open();
    for (TAutoMode mode :
         {TAutoMode::StripSilence, TAutoMode::CutPoints, TAutoMode::SearchSilence}) {
        SCOPED_TRACE(static_cast<int>(mode));
        form->FOption.AutoMode = static_cast<int>(mode);
        ChangeInAutoWindow([](TForm5& window) {
            ASSERT_TRUE(ActivateForm(&window));
            const auto checks = [&window] {
                return std::vector<bool>{window.TypeRd1->Checked(), window.TypeRd2->Checked(),
                                         window.TypeRd3->Checked()};
            };
            WalkWithTabKeeping(&window, window.ActiveControl(), 40, 0, checks);
        });
        EXPECT_EQ(form->FOption.AutoMode, static_cast<int>(mode));
    }
}

TEST_F(AutoRegionCommandTest, TrimAndExpandFitTheSelectionEveryWayTheyAreRun)
{
    settings.TrimLevel = 20;
    Open();
    const auto& [start, end] = kBursts[1];
    const struct
    {
        TAction* Action;
        WORD Key;
        std::int32_t From, To;
    } cases[] = {
        // Trim pulls a selection around the second burst in to its sound.
        {form->actRegionTrim, 'T', start - 6000, end + 6000},
        // Expand pushes a selection inside it out to the silences beside it.
        {form->actRegionExpand, 'E', start + 3000, end - 3000},
    };
    for (const auto& c : cases)
        for (const auto& run : WaysToRun(c.Action, c.Key, ssCtrl)) {
            Select(c.From, c.To);
            run();
            EXPECT_TRUE(Near(form->Document().View().SelStart, start))
                << form->Document().View().SelStart;
            EXPECT_TRUE(Near(form->Document().View().SelEnd, end - 1))
                << form->Document().View().SelEnd;
            EXPECT_EQ(form->Document().View().PlayPos, form->Document().View().SelStart);
            EXPECT_FALSE(form->InfoRegionLabel->Caption().empty());
        }
}

TEST_F(AutoRegionCommandTest, TrimOfThreeSelectedRegionsFitsEachAndSelectsTheirSpan)
{
    settings.TrimLevel = 20;
    settings.TrimPreTime = 100; // 800 frames
    Open();
    for (auto [start, end] : kBursts)
        form->AddRegion(start - 2000, end + 2000);
    form->AddRegion(70000, 76000); // silent: stays as it is
    for (int i = 0; i < 4; ++i)
        form->SelectRegionRow(i, false);
    form->EditListClick(form->EditList);
    ASSERT_TRUE(form->Document().View().RegionSelection);
    ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    form->actRegionTrim->Execute();
    const std::vector<TRegionRange> ranges = RegionRanges(form);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Near(ranges[i].Start, kBursts[i].first - 800)) << ranges[i].Start;
        EXPECT_TRUE(Near(ranges[i].End, kBursts[i].second - 1)) << ranges[i].End;
    }
    EXPECT_EQ(ranges[3], (TRegionRange{70000, 76000}));
    EXPECT_EQ(form->Document().View().SelStart, ranges[0].Start);
    EXPECT_EQ(form->Document().View().SelEnd, 76000);
    EXPECT_TRUE(form->Document().Modified());
    EXPECT_EQ(form->RegionText(0, TRegionColumn::Start), RegionTimeText(ranges[0].Start, kRate));
}

TEST_F(AutoRegionCommandTest, TheTrimSettingsWindowStoresOnlyOnOk)
{
    settings.TrimLevel = 125;
    settings.TrimPreTime = 10;
    Open();
    struct Case
    {
        bool Ok;
        int Level, PreTime, PostTime;
    };
    const Case cases[] = {
        {false, 125, 10, 0}, // the bar moved, then Cancel: nothing stored
        {true, 64, 10, 31},  // the bar moved, a margin typed with a fraction, OK
    };
    for (const Case& c : cases) {
        ScriptedModalForms modal;
        modal.Add([&](TCustomForm* shown) {
            auto* window = dynamic_cast<TForm8*>(shown);
            if (!window)
                return mrCancel;
            EXPECT_EQ(window->dbEd->Text(), "-0.1");
            window->dbEd->SetText("-6");
            window->PostEd->SetText("30.6");
            ClickCentre(c.Ok ? window->OKBtn : window->CancelBtn);
            return mrNone;
        });
        ClickMenuItem(form, form->actRegionSet);
        ASSERT_EQ(modal.Shown().size(), 1u);
        EXPECT_EQ(form->FOption.TrimLevel, c.Level);
        EXPECT_EQ(form->FOption.TrimPreTime, c.PreTime);
        EXPECT_EQ(form->FOption.TrimPostTime, c.PostTime);
    }
}
