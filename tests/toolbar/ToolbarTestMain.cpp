// The toolbar suite's main: the framework starts before the first test and
// ends after the last, and every test sees the same quiet host settings.
#include "support/QuietBarSeams.h"
#include "support/TestRunner.h"

#include "toolbar/BarItem.h"

int main(int argc, char** argv)
{
    return testing_support::RunTests(
        argc, argv, {StartBarFramework, StopBarFramework, testing_support::InstallQuietBarSeams});
}
