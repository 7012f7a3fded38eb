// The theme suite's main: the toolbar framework and the theme layer start
// before the first test and end after the last; every test starts with the
// system's settings, visual styles on, the default theme current and the
// recording theme's answers at their defaults.
#include "RecordingTheme.h"

#include "support/TestRunner.h"

#include "themes/Skin.h"
#include "themes/SkinStartup.h"
#include "themes/SkinThemes.h"
#include "toolbar/BarCommon.h"
#include "toolbar/BarItem.h"

namespace {

void StartLayers()
{
    StartBarFramework();
    ThemesStartup();
}

void StopLayers()
{
    ThemesShutdown();
    StopBarFramework();
}

void RestoreThemeSettings()
{
    ResetBarSeams();
    SetSkinSysParam(1, kFlatMenusFollowSystem);
    SetSkinSysParam(2, 0);
    SkinThemeManager()->Refresh();
    if (CurrentThemeName() != "Default")
        SwitchTheme("Default");
    theme_testing::ResetRecordingThemeAnswers();
}

} // namespace

int main(int argc, char** argv)
{
    return testing_support::RunTests(argc, argv, {StartLayers, StopLayers, RestoreThemeSettings});
}
