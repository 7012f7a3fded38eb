// The main of the test executables whose layers need no start of their own.
#include "support/TestRunner.h"

int main(int argc, char** argv)
{
    return testing_support::RunTests(argc, argv);
}
