#include "classlib/BackgroundWork.h"
#include "classlib/Exceptions.h"
#include "support/TestWait.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace testing_support;

TEST(BackgroundWorkTest, TheWorkRunsOnItsOwnThreadAndDoneOnceOnTheMainThreadAfter)
{
    TestSignal go;
    std::atomic<DWORD> workThread{0};
    int done = 0;
    DWORD doneThread = 0;
    TBackgroundWork work(
        [&] {
            go.WaitWithoutPumping();
            workThread = GetCurrentThreadId();
        },
        [&] {
            ++done;
            doneThread = GetCurrentThreadId();
        });
    PumpMessages();
    EXPECT_TRUE(work.Pending());
    go.Set();
    ASSERT_TRUE(PumpUntil([&] { return !work.Pending(); }));
    EXPECT_EQ(done, 1);
    EXPECT_NE(workThread, GetCurrentThreadId());
    EXPECT_EQ(doneThread, GetCurrentThreadId());
    work.Await();
    PumpMessages();
    EXPECT_EQ(done, 1);
}

TEST(BackgroundWorkTest, AwaitRunsDoneAtOnceOrRaisesWhatTheWorkRaised)
{
    int done = 0;
    TBackgroundWork work([] { Sleep(20); }, [&] { ++done; });
    work.Await();
    EXPECT_EQ(done, 1);
    PumpMessages();
    EXPECT_EQ(done, 1);

    TBackgroundWork failing([] { throw Exception("no device list"); }, [&] { ++done; });
    EXPECT_THROW(failing.Await(), Exception);
    EXPECT_FALSE(failing.Pending());
    EXPECT_EQ(done, 1);
}

// The end of the work comes to the main thread after the object was freed,
// or while it is freed (its thread is waited for): either way it finds
// nothing.
TEST(BackgroundWorkTest, FreedBeforeItsEndCameItsDoneNeverRuns)
{
    int done = 0;
    for (DWORD workMs : {0, 50}) {
        TestSignal started;
        auto* work = new TBackgroundWork(
            [&] {
                started.Set();
                Sleep(workMs);
            },
            [&] { ++done; });
        started.WaitWithoutPumping();
        Sleep(workMs ? 0 : 50);
        delete work;
        PumpMessages();
    }
    EXPECT_EQ(done, 0);
}
