// The control suite's main: the toolbar framework and the theme layer start
// before the first test and end after the last; every test starts with the
// system's settings and the default theme current.
#include "support/TestRunner.h"

#include "themes/Skin.h"
#include "themes/SkinStartup.h"
#include "toolbar/BarCommon.h"

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
    SetSkinSysParam(2, 0);
    SkinThemeManager()->Refresh();
}

} // namespace

int main(int argc, char** argv)
{
    return testing_support::RunTests(argc, argv, {StartLayers, StopLayers, RestoreThemeSettings});
}
