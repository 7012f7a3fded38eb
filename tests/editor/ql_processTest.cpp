// The processing window on its own: Cancel first asks the job to stop and
// closes the window only once the job stopped, a running job keeps the
// window open, closing gives the owner back, the wait returns when a posted
// click closes it, the remaining-time text, how often progress shows, and a
// bar without text on its face.
#include "editor/ql_process.h"

#include "classlib/Seams.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class ProcessWindowTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->Show();
        window = new TForm4(form);
        form->SetEnabled(false);
        window->Show();
        PumpMessages();
    }

    TForm4* window = nullptr; // owned by form
};

} // namespace

TEST_F(ProcessWindowTest, CancelStopsTheJobFirstAndClosesOnlyOnceItStopped)
{
    window->BeginJob();
    window->Close();
    EXPECT_TRUE(window->Visible()); // refused while the job runs
    EXPECT_FALSE(form->Enabled());

    window->CancelBtn->Click();
    EXPECT_TRUE(window->FCancelled);
    EXPECT_TRUE(window->Visible());

    window->MesLabel2->SetCaption("推定残り時間 : 0:09");
    window->StopJob("stopped");
    EXPECT_FALSE(window->FRunning);
    EXPECT_EQ(window->MesLabel1->Caption(), "stopped");
    EXPECT_EQ(window->MesLabel1->Font()->Color(), clRed);
    EXPECT_EQ(window->MesLabel2->Caption(), "");
    EXPECT_EQ(window->CancelBtn->Caption(), "閉じる");
    EXPECT_TRUE(window->Visible());

    window->CancelBtn->Click();
    EXPECT_FALSE(window->Visible());
    EXPECT_TRUE(form->Enabled());
}

TEST_F(ProcessWindowTest, TheWaitEndsWhenTheWindowIsClosed)
{
    window->BeginJob();
    window->StopJob("stopped");
    PostMessageA(window->CancelBtn->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(window->WaitUntilClosed());
    EXPECT_FALSE(window->Visible());
    EXPECT_TRUE(form->Enabled());
}

TEST_F(ProcessWindowTest, TheRemainingTimeFollowsTheShareDone)
{
    DWORD now = 1000;
    auto previous = Seams().TickCount;
    Seams().TickCount = [&] { return now; };
    window->BeginJob();
    EXPECT_EQ(window->RemainingTimeText(0), "----");
    now += 3000;
    EXPECT_EQ(window->RemainingTimeText(25), "0:09");
    EXPECT_EQ(window->RemainingTimeText(100), "0:00");
    Seams().TickCount = previous;
    window->EndJob();
}

TEST_F(ProcessWindowTest, ProgressShowsAtTheFirstReportThenAtMostEveryFiftyMs)
{
    DWORD now = 1000;
    auto previous = Seams().TickCount;
    Seams().TickCount = [&] { return now; };
    struct Step
    {
        DWORD Later; // ms after the step before
        bool Due;
    };
    const Step steps[] = {{0, true},   {0, false}, {49, false}, {1, true},
                          {30, false}, {30, true}, {200, true}};
    for (int job = 0; job < 2; ++job) {
        window->BeginJob(); // a new job shows its first report at once
        for (const Step& step : steps) {
            now += step.Later;
            EXPECT_EQ(window->ProgressDue(), step.Due) << "job " << job << ", at " << now;
        }
    }
    Seams().TickCount = previous;
    window->EndJob();
}

TEST_F(ProcessWindowTest, TheBarShowsNoPercentageOnItsFace)
{
    window->Bar->SetPosition(37);
    window->Bar->Repaint();
    EXPECT_EQ(window->Bar->WideCaption(), WideString());
}
