// The wide-text suite's main: the layer starts once the application object
// exists, as in the program, and stops after the last test.
#include "support/TestRunner.h"
#include "unicode/UniStartup.h"

int main(int argc, char** argv)
{
    return testing_support::RunTests(argc, argv, {UnicodeStartup, UnicodeShutdown});
}
