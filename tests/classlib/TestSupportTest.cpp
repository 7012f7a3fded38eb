// The test drivers themselves: a stray system dialog is ended and reported,
// a modal form beyond the script is cancelled and reported.
#include "classlib/Form.h"
#include "support/ModalDriver.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

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
