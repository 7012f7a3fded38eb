// The scope exit: its cleanup runs once, at the scope's end, in reverse order
// of making, on the normal path and when an exception leaves; dismissed, it
// does not run; failing while another exception leaves, it is reported.
#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/ScopeExit.h"
#include "support/TestSeams.h"

#include <gtest/gtest.h>

#include <string>

using testing_support::ScriptedMessageBoxes;

namespace {

// Runs one scope with two scope exits (the second possibly dismissed), then
// what ends the scope; returns the order of effects.
std::string RunScope(bool raise, bool dismissSecond)
{
    std::string log;
    try {
        TScopeExit first([&] { log += "1"; });
        TScopeExit second([&] { log += "2"; });
        log += "work ";
        if (dismissSecond)
            second.Dismiss();
        if (raise)
            throw EReadError("failed");
        log += "end ";
    } catch (const EReadError&) {
        log += " caught";
    }
    return log;
}

TEST(ScopeExitTest, CleanupsRunOnceInReverseOrderOfMakingUnlessDismissed)
{
    struct Case
    {
        bool Raise, DismissSecond;
        const char* Log;
    } cases[] = {
        {false, false, "work end 21"},
        {true, false, "work 21 caught"},
        {false, true, "work end 1"},
        {true, true, "work 1 caught"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunScope(c.Raise, c.DismissSecond), c.Log)
            << "raise " << c.Raise << ", dismiss " << c.DismissSecond;
}

TEST(ScopeExitTest, AFailingCleanupRaisesOnTheNormalPathAndIsReportedWhileUnwinding)
{
    auto failingCleanup = [] { throw EWriteError("cleanup failed"); };
    EXPECT_THROW({ TScopeExit cleanup(failingCleanup); }, EWriteError);

    ScriptedMessageBoxes boxes({IDOK});
    try {
        TScopeExit cleanup(failingCleanup);
        throw EReadError("work failed");
    } catch (const EReadError& first) {
        EXPECT_STREQ(first.what(), "work failed");
    }
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text, "cleanup failed");
}

} // namespace
