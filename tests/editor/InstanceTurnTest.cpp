// Whose turn it is: with the instance mutex held, a start waits for the
// holder's window to show or for its mutex to go.
#include "editor/InstanceTurn.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr const char* kMutex = "Zandrel instance turn test";
constexpr const char* kClass = "ZandrelInstanceTurnTestWindow";

class InstanceTurnTest : public testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClass;
        RegisterClassA(&windowClass);
    }
    void TearDown() override
    {
        if (window)
            DestroyWindow(window);
        if (mutex)
            CloseHandle(mutex);
    }
    void HoldMutex() { mutex = CreateMutexA(nullptr, FALSE, kMutex); }
    void MakeWindow(bool shown)
    {
        window = CreateWindowA(kClass, "",
                               shown ? WS_OVERLAPPEDWINDOW | WS_VISIBLE : WS_OVERLAPPEDWINDOW, 0, 0,
                               100, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    HANDLE mutex = nullptr;
    HWND window = nullptr;
};

TEST_F(InstanceTurnTest, TheTurnFollowsTheMutexAndAShownWindow)
{
    struct Case
    {
        bool held;
        int window; // 0 none, 1 hidden, 2 shown
        TInstanceTurn turn;
    };
    const Case cases[] = {
        {false, 0, TInstanceTurn::Run},      {false, 2, TInstanceTurn::Run},
        {true, 2, TInstanceTurn::Activated}, {true, 0, TInstanceTurn::GaveUp},
        {true, 1, TInstanceTurn::GaveUp}, // starting or ending: not yet someone to hand over to
    };
    for (const Case& c : cases) {
        if (c.held)
            HoldMutex();
        if (c.window)
            MakeWindow(c.window == 2);
        EXPECT_EQ(TakeInstanceTurn(kMutex, kClass, 0), c.turn)
            << "held " << c.held << " window " << c.window;
        TearDown();
        mutex = nullptr;
        window = nullptr;
    }
}

TEST_F(InstanceTurnTest, AStartDuringTheHoldersTeardownRunsOnceTheMutexGoes)
{
    HoldMutex();
    TInstanceTurn turn = TInstanceTurn::GaveUp;
    std::thread start([&] { turn = TakeInstanceTurn(kMutex, kClass, 600000); });
    CloseHandle(mutex);
    mutex = nullptr;
    start.join();
    EXPECT_EQ(turn, TInstanceTurn::Run);
}

} // namespace
