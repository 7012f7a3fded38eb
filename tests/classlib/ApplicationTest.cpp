#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/FilePaths.h"
#include "classlib/TextUtils.h"
#include "support/TestSeams.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using testing_support::ScriptedMessageBoxes;

namespace {

std::exception_ptr Raised(const std::function<void()>& raise)
{
    try {
        raise();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

TEST(ApplicationTest, HandleExceptionShowsTheMessageUnlessItIsAnAbort)
{
    ScriptedMessageBoxes boxes({IDOK, IDOK, IDOK});
    Application->HandleException(Raised([] { throw EReadError("Stream read error"); }));
    Application->HandleException(Raised([] { throw std::runtime_error("plain"); }));
    Application->HandleException(Raised([] { throw 5; }));
    Application->HandleException(Raised([] { throw EAbort("silent"); }));
    ASSERT_EQ(boxes.Shown().size(), 3u);
    EXPECT_EQ(boxes.Shown()[0].Text, "Stream read error");
    EXPECT_EQ(boxes.Shown()[0].Caption, Application->Title());
    EXPECT_EQ(boxes.Shown()[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(boxes.Shown()[1].Text, "plain");
    EXPECT_EQ(boxes.Shown()[2].Text, "Unknown exception");
}

TEST(ApplicationTest, OnExceptionReplacesTheMessageBox)
{
    ScriptedMessageBoxes boxes; // none expected
    AnsiString seen;
    Application->OnException = [&](TObject* sender, std::exception_ptr error) {
        EXPECT_EQ(sender, Application);
        seen = ExceptionMessage(error);
    };
    HandleCallbackException(Raised([] { throw EConvertError("from a callback"); }));
    Application->OnException.Clear();
    EXPECT_EQ(seen, "from a callback");
}

TEST(ApplicationTest, MessageBoxGoesThroughTheSeamWithTheTitle)
{
    ScriptedMessageBoxes boxes({IDNO});
    EXPECT_EQ(Application->MessageBox("本当に？", "", MB_YESNO), IDNO);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text, "本当に？");
    EXPECT_EQ(boxes.Shown()[0].Caption, "Zandrel");
    EXPECT_EQ(boxes.Shown()[0].Flags, static_cast<UINT>(MB_YESNO));
}

TEST(ApplicationTest, ProcessMessagesDispatchesAndOnMessageMayConsume)
{
    ScriptedMessageBoxes boxes({IDOK});
    HWND window =
        CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const UINT consumed = WM_APP + 1, failing = WM_APP + 2;
    int seenConsumed = 0;
    Application->OnMessage = [&](MSG& msg, bool& handled) {
        if (msg.message == consumed) {
            ++seenConsumed;
            handled = true;
        }
        if (msg.message == failing)
            throw EInvalidOperation("handler failed");
    };
    PostMessageA(window, consumed, 0, 0);
    PostMessageA(window, failing, 0, 0);
    PostMessageA(window, WM_CLOSE, 0, 0); // dispatched: the window closes
    Application->ProcessMessages();
    Application->OnMessage.Clear();
    EXPECT_EQ(seenConsumed, 1);
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(boxes.Shown().size(), 1u); // the failing handler was reported, the loop went on
    EXPECT_EQ(boxes.Shown()[0].Text, "handler failed");
}

TEST(ApplicationTest, RunEndsOnTerminateAfterIdling)
{
    TApplication app(nullptr); // a second one: the program's stays as it is
    EXPECT_NE(Application, &app);
    int idles = 0;
    app.OnIdle = [&](TObject*, bool& done) {
        done = true;
        if (++idles == 2)
            app.Terminate();
        else
            PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0); // wakes the wait
    };
    app.Run();
    EXPECT_TRUE(app.Terminated());
    EXPECT_EQ(idles, 2);
}

TEST(ApplicationTest, ExeNameAndTitle)
{
    EXPECT_EQ(LowerCase(ExtractFileName(Application->ExeName())), "classlib_test.exe");
    EXPECT_TRUE(FileExists(Application->ExeName()));
    EXPECT_EQ(Application->Title(), "Zandrel");
    TApplication app(nullptr);
    EXPECT_EQ(app.Title(), "classlib_test"); // the program's name until set
    app.SetTitle("別名");
    char caption[32] = {};
    GetWindowTextA(app.Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "別名");
}

} // namespace
