#include "SkinStartup.h"

#include "Skin.h"
#include "SkinThemes.h"
#include "SkinUtils.h"

namespace {

int gThemeStarts = 0;

} // namespace

void ThemesStartup()
{
    if (gThemeStarts++ > 0)
        return;
    StartSkinUtils();
    StartSkinThemes();
    StartSkin();
}

void ThemesShutdown()
{
    if (gThemeStarts == 0 || --gThemeStarts > 0)
        return;
    StopSkin();
    StopSkinThemes();
    StopSkinUtils();
}
