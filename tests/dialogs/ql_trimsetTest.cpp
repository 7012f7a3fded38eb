// The trim settings window: its threshold follows the automatic-region
// window's rules, OK and Cancel say which way it closed.
#include "dialogs/ql_trimset.h"

#include "support/WindowDriver.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class TrimSetWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        window = new TForm8(nullptr);
        window->HandleNeeded();
    }
    void TearDown() override
    {
        FreeAndNil(window);
        PumpMessages();
    }
    TForm8* window = nullptr;
};

} // namespace

TEST_F(TrimSetWindowTest, ThresholdTextAndBarFollowEachOther)
{
    window->SetLevel(125);
    EXPECT_EQ(window->dbEd->Text(), "-0.1");
    EXPECT_EQ(window->Level(), 125);
    window->dbEd->SetText("6"); // above 0 dB: the maximum
    EXPECT_EQ(window->Level(), 127);
    window->dbEd->SetText("-6");
    EXPECT_EQ(window->Level(), 64);
    window->dbEd->SetText("6-");
    EXPECT_EQ(window->Level(), 64);
}

TEST_F(TrimSetWindowTest, OkAndCancelCloseSayingWhichWay)
{
    ASSERT_TRUE(ActivateForm(window));
    ClickCentre(window->CancelBtn);
    EXPECT_FALSE(window->FOkResult);
    EXPECT_FALSE(window->Visible());
    ASSERT_TRUE(ActivateForm(window));
    ClickCentre(window->OKBtn);
    EXPECT_TRUE(window->FOkResult);
    EXPECT_FALSE(window->Visible());
}
