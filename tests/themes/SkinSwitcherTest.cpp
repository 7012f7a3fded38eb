// The theme switcher: its properties over the theme and the two system
// parameters, its events, and the default theme a designed form leaves.
#include "RecordingTheme.h"

#include "themes/SkinSwitcher.h"

#include <gtest/gtest.h>

#include <vector>

using namespace theme_testing;

namespace {

// A switcher on a form being designed.
class TDesignedSwitcher : public TSkinSwitcher
{
public:
    TDesignedSwitcher() : TSkinSwitcher(nullptr) { IncludeState(csDesigning); }
};

} // namespace

TEST(SkinSwitcher, PropertiesMapOntoTheSystemParameters)
{
    TSkinSwitcher switcher(nullptr);
    struct Case
    {
        TFlatMenuStyle style;
        int param;
    };
    for (const Case c : {Case{TFlatMenuStyle::fmsDisable, 1}, Case{TFlatMenuStyle::fmsEnable, 2},
                         Case{TFlatMenuStyle::fmsAuto, 0}}) {
        switcher.SetFlatMenuStyle(c.style);
        EXPECT_EQ(ThemeSystemParam(1), c.param);
        EXPECT_EQ(switcher.FlatMenuStyle(), c.style);
    }
    for (const auto& [enabled, param] : {std::pair{false, 2}, std::pair{true, 0}}) {
        switcher.SetEnableXPStyles(enabled);
        EXPECT_EQ(ThemeSystemParam(2), param);
        EXPECT_EQ(switcher.EnableXPStyles(), enabled);
    }
}

TEST(SkinSwitcher, EachSwitchTellsThreeStepsAndAnUnknownNameChangesNothing)
{
    UseRecordingTheme(); // registered
    SwitchTheme("Default");
    TSkinSwitcher switcher(nullptr);
    std::vector<AnsiString> seen; // the theme current at each event
    switcher.OnThemeChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &switcher);
        seen.push_back(CurrentThemeName());
    };
    switcher.SetTheme("Recording");
    EXPECT_EQ(switcher.Theme(), "Recording");
    switcher.SetTheme("Default");
    EXPECT_EQ(seen, std::vector<AnsiString>(
                        {"Recording", "Recording", "Recording", "Default", "Default", "Default"}));
    switcher.SetTheme("No such theme");
    EXPECT_EQ(switcher.Theme(), "Default");
    EXPECT_EQ(seen.size(), 6u);
}

TEST(SkinSwitcher, TheLastSwitcherOfADesignedFormLeavesTheDefaultTheme)
{
    UseRecordingTheme(); // registered
    SwitchTheme("Default");
    const int before = SkinSwitcherCount();
    {
        TSkinSwitcher running(nullptr);
        auto* designed = new TDesignedSwitcher;
        auto* other = new TDesignedSwitcher;
        EXPECT_EQ(SkinSwitcherCount(), before + 3);
        designed->SetTheme("Recording");
        delete designed;
        EXPECT_EQ(CurrentThemeName(), "Recording") << "another switcher lives";
        delete other;
        EXPECT_EQ(CurrentThemeName(), "Recording") << "a running switcher lives";
        running.SetTheme("Recording");
    }
    EXPECT_EQ(CurrentThemeName(), "Recording") << "a running form keeps its theme";
    delete new TDesignedSwitcher;
    EXPECT_EQ(CurrentThemeName(), "Default");
    EXPECT_EQ(SkinSwitcherCount(), before);
}
