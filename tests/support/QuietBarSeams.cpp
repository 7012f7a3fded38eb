#include "QuietBarSeams.h"

#include "toolbar/BarCommon.h"

namespace testing_support {

void InstallQuietBarSeams()
{
    ResetBarSeams();
    TBarSystemSeams& seams = BarSeams();
    seams.MenuShowDelay = [](int& delay) {
        delay = 0;
        return true;
    };
    seams.FlatMenus = [] { return false; };
    seams.KeyboardCues = [](bool& shown) {
        shown = true;
        return true;
    };
    seams.WheelScrollLines = [] { return 3u; };
    seams.MenuAnimation = [] { return false; };
    seams.MenuFade = [] { return false; };
    seams.SoundEventAssigned = [](const AnsiString&) { return false; };
    seams.PlaySoundEvent = [](const AnsiString&) {};
}

} // namespace testing_support
