#include "support/TestRunner.h"

#include "support/StrayDialogGuard.h"
#include "support/TestSeams.h"

#include "classlib/Application.h"
#include "classlib/OleStart.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <windows.h>

namespace {

constexpr DWORD kTestTimeLimitMs = 120000;

std::atomic<DWORD> gTestStartTick{0};
std::string gCurrentTest; // written before gTestStartTick is set

class StrictSeamsListener : public testing::EmptyTestEventListener
{
public:
    explicit StrictSeamsListener(std::function<void()> beforeEachTest)
        : FBeforeEachTest(std::move(beforeEachTest))
    {
    }

private:
    void OnTestStart(const testing::TestInfo& info) override
    {
        testing_support::InstallStrictSeams();
        if (FBeforeEachTest)
            FBeforeEachTest();
        gCurrentTest = std::string(info.test_suite_name()) + "." + info.name();
        gTestStartTick = GetTickCount() | 1;
    }
    void OnTestEnd(const testing::TestInfo&) override
    {
        gTestStartTick = 0;
        ResetSeams();
    }

    std::function<void()> FBeforeEachTest;
};

DWORD WINAPI Watchdog(void*)
{
    for (;;) {
        Sleep(1000);
        DWORD start = gTestStartTick.load();
        // The start is made odd (0 means none), so it may lie one tick ahead
        // of the clock: compare the difference as a signed count.
        if (start &&
            static_cast<LONG>(GetTickCount() - start) > static_cast<LONG>(kTestTimeLimitMs)) {
            std::fprintf(stderr, "\nWATCHDOG: %s blocked for more than %lu s; ending the run\n",
                         gCurrentTest.c_str(), kTestTimeLimitMs / 1000);
            std::fflush(stderr);
            ExitProcess(3);
        }
    }
}

} // namespace

int testing_support::RunTests(int argc, char** argv, const TSuiteHooks& hooks)
{
    if (GetACP() != 932) {
        std::fprintf(stderr,
                     "The ANSI code page is %u, not 932: run the tests through scripts/test "
                     "(Wine needs LANG=ja_JP.UTF-8 and the ja_JP.UTF-8 locale).\n",
                     GetACP());
        return 2;
    }
    StartOle();
    TApplication application(nullptr);
    application.SetTitle("Zandrel");
    testing::InitGoogleMock(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(
        new StrictSeamsListener(hooks.BeforeEachTest));
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    testing_support::InstallStrayDialogGuard();
    if (hooks.Start)
        hooks.Start();
    int result = RUN_ALL_TESTS();
    if (hooks.Stop)
        hooks.Stop();
    testing_support::RemoveStrayDialogGuard();
    StopOle();
    return result;
}
