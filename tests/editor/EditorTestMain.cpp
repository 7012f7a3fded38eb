// The main of the suites that open the main window: the toolbar framework
// and the toolkit's layers start before the first test and stop after the
// last, in the order the program's entry keeps; every test sees the same
// quiet menu settings.
#include "support/QuietBarSeams.h"
#include "support/TestRunner.h"

#include "editor/ToolkitStartup.h"
#include "toolbar/BarItem.h"

namespace {

void StartLayers()
{
    StartBarFramework();
    ToolkitStartup();
}

void StopLayers()
{
    ToolkitShutdown();
    StopBarFramework();
}

} // namespace

int main(int argc, char** argv)
{
    return testing_support::RunTests(
        argc, argv, {StartLayers, StopLayers, testing_support::InstallQuietBarSeams});
}
