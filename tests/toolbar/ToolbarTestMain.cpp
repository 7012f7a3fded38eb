// The toolbar suite's main: the framework starts before the first test and
// ends after the last, and every test sees the same quiet host settings.
#include "support/TestRunner.h"

#include "toolbar/BarCommon.h"
#include "toolbar/BarItem.h"

namespace {

// Submenus open at once, nothing animates or sounds, keyboard cues show and
// the wheel scrolls three lines a notch, whatever the host says.
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

} // namespace

int main(int argc, char** argv)
{
    return testing_support::RunTests(argc, argv,
                                     {StartBarFramework, StopBarFramework, InstallQuietBarSeams});
}
