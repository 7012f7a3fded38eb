// The threaded timer: ticks reach the main thread, start a full interval
// after switching on, stop when switched off from any thread or freed.
// "No tick" is checked against a second timer that ticks meanwhile, never
// against a fixed sleep.
#include "audio/ThdTimer.h"
#include "support/TestWait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

using namespace testing_support;

namespace {

double NowMs()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Counts a timer's ticks, with the thread and time of each.
struct TickLog
{
    explicit TickLog(TThreadedTimer& timer)
    {
        timer.OnTimer = [this](TObject*) {
            threads.push_back(GetCurrentThreadId());
            times.push_back(NowMs());
            ++count;
            SetEvent(changed);
        };
    }
    ~TickLog() { CloseHandle(changed); }
    bool WaitFor(int ticks)
    {
        return WaitUntil([&] { return count >= ticks; }, {changed});
    }

    std::atomic<int> count{0};
    std::vector<DWORD> threads; // main thread only
    std::vector<double> times;  // ms
    HANDLE changed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
};

// Lets a few ticks of another timer pass: time enough for a stray tick.
void LetTicksPass(int ticks)
{
    TThreadedTimer reference(nullptr);
    TickLog log(reference);
    reference.SetInterval(20);
    reference.SetEnabled(true);
    ASSERT_TRUE(log.WaitFor(ticks));
}

DWORD WINAPI SwitchOffTimer(void* timer)
{
    static_cast<TThreadedTimer*>(timer)->SetEnabled(false);
    return 0;
}

} // namespace

TEST(ThreadedTimer, TicksRunOnTheMainThread)
{
    TThreadedTimer timer(nullptr);
    TickLog log(timer);
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_FALSE(timer.Enabled());
    timer.SetInterval(20);
    timer.SetEnabled(true);
    ASSERT_TRUE(log.WaitFor(3));
    for (DWORD thread : log.threads)
        EXPECT_EQ(thread, GetCurrentThreadId());
}

TEST(ThreadedTimer, FirstTickComesAFullIntervalAfterSwitchingOn)
{
    TThreadedTimer timer(nullptr);
    TickLog log(timer);
    timer.SetInterval(200);
    double on = NowMs();
    timer.SetEnabled(true);
    ASSERT_TRUE(log.WaitFor(1));
    EXPECT_GE(log.times[0] - on, 190.0); // the system's waits may end a little early
}

TEST(ThreadedTimer, SettingTheIntervalRestartsIt)
{
    TThreadedTimer timer(nullptr);
    TickLog log(timer);
    timer.SetInterval(50);
    timer.SetEnabled(true);
    ASSERT_TRUE(log.WaitFor(1));
    double set = NowMs();
    timer.SetInterval(300);
    EXPECT_TRUE(timer.Enabled());
    ASSERT_TRUE(log.WaitFor(2));
    EXPECT_GE(log.times[1] - set, 290.0);
}

TEST(ThreadedTimer, ZeroIntervalTicksOnlyWhenAllowed)
{
    TThreadedTimer timer(nullptr);
    TickLog log(timer);
    timer.SetInterval(0);
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Enabled());
    LetTicksPass(5);
    EXPECT_EQ(log.count.load(), 0);

    timer.SetAllowZero(true);
    timer.SetInterval(0); // switches off and on again
    ASSERT_TRUE(log.WaitFor(20));
}

TEST(ThreadedTimer, SwitchedOffFromAnotherThreadTicksNoMore)
{
    TThreadedTimer timer(nullptr);
    TickLog log(timer);
    timer.SetInterval(10);
    timer.SetEnabled(true);
    ASSERT_TRUE(log.WaitFor(2));
    HANDLE worker = CreateThread(nullptr, 0, SwitchOffTimer, &timer, 0, nullptr);
    ASSERT_TRUE(WaitPumping(worker));
    CloseHandle(worker);
    EXPECT_FALSE(timer.Enabled());
    int ticks = log.count;
    LetTicksPass(5);
    EXPECT_EQ(log.count.load(), ticks);
}

TEST(ThreadedTimer, FreeingAnEnabledTimerGivesNoFurtherTick)
{
    // Interval 0 keeps a tick waiting for the main thread nearly always, so
    // freeing meets one on its way.
    auto timer = std::make_unique<TThreadedTimer>(nullptr);
    TickLog log(*timer);
    timer->SetAllowZero(true);
    timer->SetInterval(0);
    timer->SetEnabled(true);
    ASSERT_TRUE(log.WaitFor(5));
    timer.reset();
    int ticks = log.count;
    LetTicksPass(5);
    EXPECT_EQ(log.count.load(), ticks);
}

TEST(ThreadedTimer, ThreadPriorityIsTheThreadsOwn)
{
    TThreadedTimer timer(nullptr);
    EXPECT_EQ(timer.ThreadPriority(), TThreadPriority::tpNormal);
    timer.SetThreadPriority(TThreadPriority::tpHigher);
    EXPECT_EQ(timer.ThreadPriority(), TThreadPriority::tpHigher);
}
