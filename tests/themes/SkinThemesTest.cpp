// The theme registry and its counted instances, switching, the manager's
// broadcasts with listeners that come and go, the flat-menu and visual-style
// switches, the questions any window may be asked, and the popup animation
// choice.
#include "themes/Skin.h"
#include "themes/SkinDefaultTheme.h"
#include "themes/SkinThemes.h"

#include "classlib/Application.h"
#include "classlib/Panel.h"
#include "support/FormFixture.h"
#include "toolbar/BarCommon.h"
#include "toolbar/BarItem.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <tuple>
#include <vector>

namespace {

using TLogged = std::tuple<UINT, WPARAM, LPARAM>;

// Logs what it is sent; may act on each message.
class Recorder : public TObject
{
public:
    void Dispatch(TMessage& m) override
    {
        log.emplace_back(m.Msg, m.WParam, m.LParam);
        if (onMessage)
            onMessage(m);
    }
    std::vector<TLogged> log;
    std::function<void(TMessage&)> onMessage;
};

std::vector<TLogged> ThreeSteps(UINT msg, LPARAM lParam)
{
    return {{msg, 1, lParam}, {msg, 2, lParam}, {msg, 3, lParam}};
}

// A theme that notes the system changes it hears.
class ProbeTheme : public TSkinDefaultTheme
{
public:
    using TSkinDefaultTheme::TSkinDefaultTheme;
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == WM_SKIN_SYSCHANGE)
            heard.push_back(m.WParam);
        TSkinDefaultTheme::Dispatch(m);
    }
    std::vector<WPARAM> heard;
};

// Registers a probe theme once per name (the registry lives as long as the
// suite).
void RegisterProbe(const AnsiString& name)
{
    if (!ThemeIsRegistered(name))
        AddThemeClass(name, NewSkinTheme<ProbeTheme>);
}

template <class F> std::string RaisedMessage(F f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "(nothing raised)";
}

} // namespace

TEST(ThemeRegistry, RefusesEmptyNamesMissingClassesAndNamesKnownInAnyCase)
{
    EXPECT_EQ(RaisedMessage([] { AddThemeClass("", NewSkinTheme<ProbeTheme>); }),
              "Cannot register theme");
    EXPECT_EQ(RaisedMessage([] { AddThemeClass("Nameless", nullptr); }), "Cannot register theme");
    EXPECT_EQ(RaisedMessage([] { AddThemeClass("default", NewSkinTheme<ProbeTheme>); }),
              "Theme default is already registered");
    EXPECT_GE(ThemeRegistryIndex("Default"), 0);
    EXPECT_EQ(ThemeRegistryIndex("DEFAULT"), ThemeRegistryIndex("Default"));
    EXPECT_EQ(ThemeRegistryIndex("Nameless"), -1);
    EXPECT_EQ(RaisedMessage([] { AcquireTheme("Nameless"); }), "Unknown theme Nameless");
}

TEST(ThemeRegistry, SharesOneCountedInstanceAndFreesItWithTheLastReference)
{
    RegisterProbe("Probe.Shared");
    TSkinTheme* first = AcquireTheme("probe.shared");
    TSkinTheme* second = AcquireTheme("Probe.Shared");
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->Name(), "Probe.Shared"); // the registered spelling
    EXPECT_EQ(ThemeReferenceCount("Probe.Shared"), 2);
    const WPARAM active = Application->Active() ? 1 : 0;
    EXPECT_EQ(static_cast<ProbeTheme*>(first)->heard, std::vector<WPARAM>{active});

    const int serial = first->CreationSerial();
    ReleaseThemeRef(first);
    EXPECT_NE(first, nullptr); // still held through second
    EXPECT_EQ(ThemeReferenceCount("Probe.Shared"), 1);
    ReleaseThemeRef(second);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(ThemeReferenceCount("Probe.Shared"), 0);

    TSkinTheme* again = AcquireTheme("Probe.Shared");
    EXPECT_NE(again->CreationSerial(), serial);
    ReleaseThemeRef(again);
}

TEST(ThemeRegistry, ReleasingAThemeItDoesNotHoldRaises)
{
    ProbeTheme stray("Stray");
    TSkinTheme* strayRef = &stray;
    EXPECT_EQ(RaisedMessage([&] { ReleaseThemeRef(strayRef); }), "Cannot release theme");
    TSkinTheme* none = nullptr;
    EXPECT_EQ(RaisedMessage([&] { ReleaseThemeRef(none); }), "Cannot release theme");
    EXPECT_EQ(strayRef, &stray);
}

TEST(ThemeSwitch, AnUnknownNameChangesNothingAndTellsNoOne)
{
    Recorder listener;
    ListenThemeChanges(&listener);
    const int serial = CurrentTheme()->CreationSerial();
    SwitchTheme("No such theme");
    EXPECT_EQ(CurrentThemeName(), "Default");
    EXPECT_EQ(CurrentTheme()->CreationSerial(), serial);
    EXPECT_TRUE(listener.log.empty());
    UnlistenThemeChanges(&listener);
}

TEST(ThemeSwitch, SwitchingTellsEveryListenerThreeTimesAndRemakesAnUnsharedTheme)
{
    Recorder listener;
    ListenThemeChanges(&listener);
    ListenThemeChanges(&listener); // once only
    const int serial = CurrentTheme()->CreationSerial();
    SwitchTheme("Default");
    EXPECT_NE(CurrentTheme()->CreationSerial(), serial);
    EXPECT_EQ(listener.log, ThreeSteps(WM_SKIN_THEMECHANGE, 1));

    RegisterProbe("Probe.Switch");
    SwitchTheme("PROBE.SWITCH");
    EXPECT_EQ(CurrentThemeName(), "Probe.Switch");
    EXPECT_EQ(ThemeReferenceCount("Default"), 0);
    EXPECT_EQ(ThemeReferenceCount("Probe.Switch"), 1);
    SwitchTheme("Default");
    EXPECT_EQ(ThemeReferenceCount("Probe.Switch"), 0);
    UnlistenThemeChanges(&listener);
}

// The system's broadcasts reach the application's window, which hears them
// for the manager; the manager's own window answers the same.
TEST(ThemeManager, ASystemColourChangeReachesEverySystemAndThemeListenerThreeTimes)
{
    ASSERT_NE(Application, nullptr);
    for (HWND hearing : {Application->Handle(), SkinThemeManager()->Window()}) {
        SCOPED_TRACE(hearing == Application->Handle() ? "the application's window"
                                                      : "the manager's window");
        Recorder system, theme;
        ListenSystemChanges(&system);
        ListenThemeChanges(&theme);
        SendMessageA(hearing, WM_SYSCOLORCHANGE, 0, 0);
        EXPECT_EQ(system.log, ThreeSteps(WM_SKIN_SYSCHANGE, 0));
        EXPECT_EQ(theme.log, ThreeSteps(WM_SKIN_THEMECHANGE, 0));

        system.log.clear();
        theme.log.clear();
        SendMessageA(hearing, WM_ACTIVATEAPP, FALSE, 0);
        SendMessageA(hearing, WM_ACTIVATEAPP, TRUE, 0);
        EXPECT_EQ(system.log,
                  (std::vector<TLogged>{{WM_SKIN_SYSCHANGE, 5, 0}, {WM_SKIN_SYSCHANGE, 4, 0}}));
        EXPECT_EQ(theme.log,
                  (std::vector<TLogged>{{WM_SKIN_THEMECHANGE, 5, 0}, {WM_SKIN_THEMECHANGE, 4, 0}}));
        UnlistenSystemChanges(&system);
        UnlistenThemeChanges(&theme);
    }
}

TEST(ThemeManager, ListenersMayLeaveAndJoinDuringABroadcast)
{
    Recorder first, leaving, joining, selfRemoving;
    first.onMessage = [&](TMessage&) {
        UnlistenSystemChanges(&leaving);
        ListenSystemChanges(&joining);
    };
    selfRemoving.onMessage = [&](TMessage&) { UnlistenSystemChanges(&selfRemoving); };
    ListenSystemChanges(&first);
    ListenSystemChanges(&selfRemoving);
    ListenSystemChanges(&leaving);
    SendMessageA(SkinThemeManager()->Window(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(first.log.size(), 3u);
    EXPECT_EQ(selfRemoving.log.size(), 1u);
    EXPECT_TRUE(leaving.log.empty());
    // Joined during the first step: told from the second on.
    EXPECT_EQ(joining.log,
              (std::vector<TLogged>{{WM_SKIN_SYSCHANGE, 2, 0}, {WM_SKIN_SYSCHANGE, 3, 0}}));
    UnlistenSystemChanges(&first);
    UnlistenSystemChanges(&joining);
}

TEST(ThemeManager, FlatMenuStyleAndTheSystemDecideHowPopupMenusLook)
{
    const TColor bar = 0x123456, barText = 0x654321;
    struct Case
    {
        int style;
        bool systemFlat;
        TSkinPopupMenuLook expected;
    };
    const Case cases[] = {
        {kFlatMenusFollowSystem, true, {true, clMenu, clMenuText}},
        {kFlatMenusAlways, true, {true, clMenu, clMenuText}},
        {kFlatMenusNever, true, {false, bar, barText}},
        {kFlatMenusFollowSystem, false, {false, clMenu, clMenuText}},
        {kFlatMenusNever, false, {false, clMenu, clMenuText}},
        {kFlatMenusAlways, false, {true, clWindow, clWindowText}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " system " << c.systemFlat);
        const TSkinPopupMenuLook look = ResolvePopupMenuLook(c.style, c.systemFlat, bar, barText);
        EXPECT_EQ(look.FlatMenusActive, c.expected.FlatMenusActive);
        EXPECT_EQ(look.PopupMenuColor, c.expected.PopupMenuColor);
        EXPECT_EQ(look.PopupMenuTextColor, c.expected.PopupMenuTextColor);
    }

    // The manager asks the system's flag and applies a new style at once.
    BarSeams().FlatMenus = [] { return false; };
    Recorder listener;
    ListenSystemChanges(&listener);
    SetSkinSysParam(1, kFlatMenusAlways);
    EXPECT_EQ(ThemeSystemParam(1), kFlatMenusAlways);
    EXPECT_TRUE(SkinCache().FlatMenusActive);
    EXPECT_EQ(SkinCache().PopupMenuColor, clWindow);
    EXPECT_EQ(SkinCache().PopupMenuTextColor, clWindowText);
    EXPECT_EQ(listener.log, ThreeSteps(WM_SKIN_SYSCHANGE, 0));
    SetSkinSysParam(1, kFlatMenusAlways); // the same value: nothing to tell
    EXPECT_EQ(listener.log.size(), 3u);
    UnlistenSystemChanges(&listener);
}

TEST(ThemeManager, TheVisualStyleSwitchReadsBackAsZeroOrTwo)
{
    struct Case
    {
        int set;
        int readBack;
    };
    for (const Case& c : {Case{2, 2}, Case{0, 0}, Case{1, 2}, Case{0, 0}}) {
        SetSkinSysParam(2, c.set);
        EXPECT_EQ(ThemeSystemParam(2), c.readBack) << "set " << c.set;
        if (c.readBack == 2) {
            EXPECT_FALSE(SkinCache().VisualStylesActive);
            EXPECT_EQ(ActiveStyle(TSkinStyleClass::Toolbar), nullptr);
        }
    }
    SetSkinSysParam(7, 1);
    EXPECT_EQ(ThemeSystemParam(7), -1);
    EXPECT_EQ(ThemeSystemParam(0), -1);
}

TEST(ThemeManager, TheStylesFollowTheSystemWhenEnabled)
{
    EXPECT_EQ(SkinCache().VisualStylesActive, IsAppThemed() && IsThemeActive());
    if (!SkinCache().VisualStylesActive)
        GTEST_SKIP() << "no visual style on this system";
    EXPECT_NE(ActiveStyle(TSkinStyleClass::Toolbar), nullptr);
    EXPECT_NE(ActiveStyle(TSkinStyleClass::Button), nullptr);
}

TEST(ThemeGeometry, AFloatingCaptionEndsBeforeItsCloseButton)
{
    const TRect window(0, 0, 120, 60);
    const SIZE border = {3, 3};
    EXPECT_EQ(FloatingCaptionRect(window, border, 14, false), TRect(3, 3, 117, 17));
    EXPECT_EQ(FloatingCaptionRect(window, border, 14, true), TRect(3, 3, 103, 17));
    EXPECT_EQ(FloatingCloseButtonRect(window, border, 14), TRect(103, 3, 117, 17));
}

namespace {

// A panel that answers the theme layer's questions.
class AnsweringPanel : public TPanel
{
public:
    using TPanel::TPanel;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_SKIN_VIEWTYPE) {
            m.Result = vkToolbar | vkOpaque;
            return;
        }
        if (m.Msg == WM_SKIN_EFFECTIVECOLOR) {
            m.WParam = 0x00ABCDEF;
            m.Result = 1;
            return;
        }
        TPanel::WndProc(m);
    }
};

} // namespace

using ThemeQuestions = testing_support::FormFixture;

TEST_F(ThemeQuestions, AWindowAnswersItsViewTypeAndColourOrFallsBackToItsColor)
{
    EXPECT_EQ(ResolvedColor(nullptr), clBtnFace);
    EXPECT_EQ(AskViewType(nullptr), 0u);

    TPanel plain(nullptr);
    plain.SetParent(form);
    plain.SetColor(clRed);
    plain.HandleNeeded(); // a window that leaves the question to its default
    EXPECT_EQ(ResolvedColor(&plain), clRed);

    AnsweringPanel answering(nullptr);
    answering.SetParent(form);
    EXPECT_EQ(ResolvedColor(&answering), 0x00ABCDEF);

    TBarRootItem root(nullptr);
    TBarView ownerless(nullptr, nullptr, &root, &answering, true, false, false);
    EXPECT_EQ(AskViewType(&ownerless), 0u);
    TBarView owned(&answering, nullptr, &root, &answering, true, false, false);
    EXPECT_EQ(AskViewType(&owned), static_cast<DWORD>(vkToolbar | vkOpaque));
    TBarView plainOwned(&plain, nullptr, &root, &plain, true, false, false);
    EXPECT_EQ(AskViewType(&plainOwned), 0u);
}

// The mode a menu gets on each system for the mode asked: fade needs NT 5,
// the other animations NT 5 or 9x 4.10; older systems never animate.
TEST(PopupAnimation, AnAskedModeStepsDownToWhatTheSystemOffers)
{
    struct System
    {
        const char* name;
        bool nt;
        DWORD major, minor;
    };
    const System win7{"NT 6.1", true, 6, 1}, win2000{"NT 5.0", true, 5, 0},
        nt4{"NT 4.0", true, 4, 0}, win98{"9x 4.10", false, 4, 10}, win95{"9x 4.0", false, 4, 0};
    struct Case
    {
        System system;
        int asked;
        bool systemAnimation;
        int mode;
    };
    const Case cases[] = {
        {win7, 5, true, 5}, {win2000, 5, true, 5}, {win98, 5, true, 4},    {win98, 2, true, 2},
        {nt4, 5, true, 0},  {nt4, 2, true, 0},     {win95, 3, true, 0},    {win95, 1, true, 0},
        {win7, 1, true, 1}, {win7, 1, false, 0},   {win2000, 2, false, 2}, {win98, 1, true, 1},
    };
    for (const Case& c : cases) {
        const unsigned offered =
            AvailableMenuAnimationModes(c.system.nt, c.system.major, c.system.minor);
        EXPECT_EQ(ResolveMenuAnimationMode(c.asked, offered, c.systemAnimation), c.mode)
            << c.system.name << ", mode " << c.asked << ", animation " << c.systemAnimation;
    }
}

// The system's mode follows its animation and fade settings; the random
// mode varies among unfold, slide and, where offered, fade.
TEST(PopupAnimation, TheSystemsModeFollowsItsSettingsAndTheRandomOneVaries)
{
    using A = TSkinPopupAnimation;
    EXPECT_EQ(PopupAnimationFor(1, false, true, true, 0), A::None);
    EXPECT_EQ(PopupAnimationFor(1, true, true, true, 0), A::Fade);
    EXPECT_EQ(PopupAnimationFor(1, true, false, true, 0), A::Slide);
    std::set<A> varied, withoutFade;
    for (unsigned random = 0; random < 12; ++random) {
        varied.insert(PopupAnimationFor(2, true, true, true, random));
        withoutFade.insert(PopupAnimationFor(2, true, true, false, random));
    }
    EXPECT_EQ(varied, (std::set<A>{A::Unfold, A::Slide, A::Fade}));
    EXPECT_EQ(withoutFade, (std::set<A>{A::Unfold, A::Slide}));
}
