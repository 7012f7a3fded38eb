// The test drivers themselves: a stray system dialog is ended and reported,
// a modal form beyond the script is cancelled and reported, a scripted
// modal loop runs its steps inside the loop and cannot hang.
#include "classlib/Form.h"
#include "support/ModalDriver.h"
#include "support/ModalScript.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TestSupportTest, AStraySystemDialogIsEndedAndFailsTheTest)
{
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(answer = MessageBoxA(nullptr, "stray", "Stray", MB_YESNO),
                            "a system dialog box appeared");
    EXPECT_EQ(answer, IDCANCEL);
}

TEST(TestSupportTest, AModalFormBeyondTheScriptIsCancelledAndFailsTheTest)
{
    TForm form(nullptr);
    int result = 0;
    EXPECT_NONFATAL_FAILURE(result = form.ShowModal(), "unexpected modal form");
    EXPECT_EQ(result, mrCancel);
}

} // namespace

namespace {

using testing_support::ModalScript;

// A modal loop of the kind the script drives: it reads the queue itself,
// dispatches what it does not know, and ends when it loses the capture or
// meets Escape.
void RunCaptureLoop(HWND window, std::vector<std::string>* seen = nullptr)
{
    SetCapture(window);
    while (GetCapture() == window) {
        MSG msg;
        if (!GetMessageA(&msg, nullptr, 0, 0))
            break;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            if (seen)
                seen->push_back("escape");
            ReleaseCapture();
            continue;
        }
        DispatchMessageA(&msg);
    }
}

class ScriptedLoops : public testing::Test
{
protected:
    void SetUp() override
    {
        window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }
    HWND window = nullptr;
};

TEST_F(ScriptedLoops, EachTickRunsOneStepInsideTheLoopAndWaitsHoldTheScript)
{
    std::vector<std::string> seen;
    int polls = 0;
    ModalScript script;
    script.Then([&] { seen.push_back(GetCapture() == window ? "inside" : "outside"); })
        .WaitUntil([&] { return ++polls == 3; }, "three polls")
        .Then([&] { seen.push_back("after the wait"); })
        .Then([] { ModalScript::PressKey(VK_ESCAPE); });
    script.Run([&] { RunCaptureLoop(window, &seen); });
    EXPECT_EQ(seen, (std::vector<std::string>{"inside", "after the wait", "escape"}));
    EXPECT_EQ(polls, 3);
    EXPECT_EQ(script.StepsRun(), 4u);
    EXPECT_FALSE(script.WatchdogFired());
}

TEST_F(ScriptedLoops, ALoopThatDoesNotEndIsEndedByTheWatchdogWhichFailsTheTest)
{
    ModalScript script(200);
    script.WaitUntil([] { return false; }, "never");
    EXPECT_NONFATAL_FAILURE(script.Run([&] { RunCaptureLoop(window); }),
                            "watchdog: the modal loop still ran after 200 ms");
    EXPECT_TRUE(script.WatchdogFired());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScriptedLoops, WhatALoopLeavesBehindFailsTheTest)
{
    ModalScript early;
    early.Then([] {}).Then([] {});
    EXPECT_NONFATAL_FAILURE(early.Run([] {}), "the loop returned before step 1 of 2");
    ModalScript capture;
    EXPECT_NONFATAL_FAILURE(capture.Run([&] { SetCapture(window); }),
                            "still holds the mouse capture");
    EXPECT_EQ(GetCapture(), nullptr) << "the check frees it";
    ModalScript popup;
    EXPECT_NONFATAL_FAILURE(popup.Run([&] { ShowWindow(window, SW_SHOWNOACTIVATE); }),
                            "a window of class Static is left showing");
}

} // namespace
