#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/Thread.h"
#include "support/TestSeams.h"
#include "support/TestWait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

using testing_support::ScriptedMessageBoxes;
using testing_support::TestSignal;

namespace {

// A thread whose Execute is a function given by the test.
class TTestThread : public TThread
{
public:
    explicit TTestThread(std::function<void(TTestThread&)> body, bool suspended = true)
        : TThread(true), FBody(std::move(body))
    {
        if (!suspended)
            Start();
    }
    ~TTestThread() override
    {
        StopAndWait();
        if (Destroyed)
            Destroyed->Set();
    }
    using TThread::ReturnValue;
    using TThread::SetReturnValue;
    TestSignal* Destroyed = nullptr; // not owned

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(TTestThread&)> FBody;
};

TEST(ThreadTest, FreeingAThreadThatSynchronisesDoesNotDeadlock)
{
    TestSignal go;
    std::atomic<int> calls{0};
    DWORD mainId = GetCurrentThreadId();
    std::atomic<bool> onMain{true};
    auto* thread = new TTestThread(
        [&](TTestThread& self) {
            go.WaitWithoutPumping();
            while (!self.Terminated())
                TThread::Synchronize([&] {
                    onMain = onMain && GetCurrentThreadId() == mainId;
                    ++calls;
                });
            TThread::Synchronize([&] { ++calls; }); // once more while being freed
        },
        false);
    go.Set();
    while (calls == 0)
        if (!CheckSynchronize())
            WaitForSingleObject(SyncEvent(), 1000);
    delete thread; // Terminate and WaitFor, which serves the calls
    EXPECT_GE(calls.load(), 2);
    EXPECT_TRUE(onMain);
}

TEST(ThreadTest, WaitForServesSynchronizeAndReturnsTheResult)
{
    TTestThread thread([](TTestThread& self) {
        int value = 0;
        TThread::Synchronize([&] { value = 41; });
        self.SetReturnValue(value + 1);
    });
    EXPECT_FALSE(thread.Finished());
    thread.Start();
    EXPECT_EQ(thread.WaitFor(), 42u);
    EXPECT_TRUE(thread.Finished());
}

TEST(ThreadTest, TerminateAsksAndTheThreadEnds)
{
    TestSignal running;
    TTestThread thread(
        [&](TTestThread& self) {
            running.Set();
            while (!self.Terminated())
                WaitForSingleObject(GetCurrentThread(), 1);
            self.SetReturnValue(7);
        },
        false);
    ASSERT_TRUE(running.WaitWithoutPumping());
    EXPECT_FALSE(thread.Terminated());
    thread.Terminate();
    EXPECT_EQ(thread.WaitFor(), 7u);
}

TEST(ThreadTest, ASuspendedThreadNeverStartedDoesNotRun)
{
    std::atomic<bool> ran{false};
    {
        TTestThread thread([&](TTestThread&) { ran = true; });
        EXPECT_TRUE(thread.Suspended());
    }
    EXPECT_FALSE(ran);
}

TEST(ThreadTest, AThreadSuspendsItselfUntilResumed)
{
    TestSignal parked;
    std::atomic<bool> resumed{false};
    TTestThread thread(
        [&](TTestThread& self) {
            parked.Set();
            self.Suspend();
            resumed = true;
        },
        false);
    ASSERT_TRUE(parked.WaitWithoutPumping());
    thread.Resume(); // before or after the thread waits: never lost
    thread.WaitFor();
    EXPECT_TRUE(resumed);
    EXPECT_THROW(thread.Suspend(), EThread); // only the thread itself may
}

TEST(ThreadTest, FreeOnTerminateFreesTheThreadAfterOnTerminateRanOnTheMainThread)
{
    TestSignal destroyed;
    std::atomic<DWORD> terminateThread{0};
    auto* thread = new TTestThread([](TTestThread&) {});
    thread->Destroyed = &destroyed;
    thread->SetFreeOnTerminate(true);
    thread->OnTerminate = [&](TObject*) { terminateThread = GetCurrentThreadId(); };
    thread->Start();
    ASSERT_TRUE(destroyed.Wait());
    EXPECT_EQ(terminateThread.load(), GetCurrentThreadId());
}

TEST(ThreadTest, AnExceptionInASynchronisedCallReachesTheCaller)
{
    AnsiString caught;
    TTestThread thread(
        [&](TTestThread&) {
            try {
                TThread::Synchronize([] { throw EConvertError("bad value"); });
            } catch (const EConvertError& e) {
                caught = e.Message();
            }
        },
        false);
    thread.WaitFor();
    EXPECT_EQ(caught, "bad value");
}

TEST(ThreadTest, AnExceptionInExecuteIsShownThroughTheApplication)
{
    ScriptedMessageBoxes boxes({IDOK});
    TTestThread thread([](TTestThread&) { throw EFOpenError("Cannot open file \"x.wav\""); },
                       false);
    thread.WaitFor();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text, "Cannot open file \"x.wav\"");
    EXPECT_EQ(boxes.Shown()[0].Caption, Application->Title());
    EXPECT_TRUE(thread.Finished());
}

TEST(ThreadTest, AnAbortInExecuteIsSilent)
{
    ScriptedMessageBoxes boxes; // any box fails the test
    TTestThread thread([](TTestThread&) { throw EAbort("quiet"); }, false);
    thread.WaitFor();
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(ThreadTest, WaitForServesMessagesSentByTheThread)
{
    HWND window =
        CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    TTestThread thread([&](TTestThread&) { SendMessageA(window, WM_SETTEXT, 0, LPARAM("sent")); },
                       false);
    thread.WaitFor();
    char text[16] = {};
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "sent");
    DestroyWindow(window);
}

} // namespace
