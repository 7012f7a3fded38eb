// The body of every test executable's main: checks that it runs where the
// program runs (ANSI code page 932), makes the application object, answers
// prompts strictly, and ends a test that blocks instead of waiting for ever.
//
// Most suites use the shared main (TestMain.cpp). A suite whose layer needs
// a start and an end of its own (the toolbar framework's) has a main of its
// own that passes them here.
#pragma once

#include <functional>

namespace testing_support {

struct TSuiteHooks
{
    std::function<void()> Start;          // once the application object exists
    std::function<void()> Stop;           // after the last test
    std::function<void()> BeforeEachTest; // after the strict seams are set
};

int RunTests(int argc, char** argv, const TSuiteHooks& hooks = {});

} // namespace testing_support
