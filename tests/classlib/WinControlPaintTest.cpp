// Painting of a windowed control: a paint that fails still ends (the window
// is not left asking to be painted for ever), whether it paints straight on
// the screen or through its buffer, and the next paint draws as before.
#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Paints red in its top left corner; throws instead while Fail is set.
class TFailingControl : public TCustomControl
{
public:
    using TCustomControl::TCustomControl;
    bool Fail = false;

protected:
    void Paint() override
    {
        if (Fail)
            throw EInvalidOperation("paint failed");
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(TRect(0, 0, 10, 10));
    }
};

class WinControlPaintTest : public FormFixture, public testing::WithParamInterface<bool>
{
};

TEST_P(WinControlPaintTest, AFailedPaintEndsAndTheNextOneDraws)
{
    auto* control = new TFailingControl(form);
    control->SetParent(form);
    control->SetBounds(0, 0, 40, 40);
    control->SetDoubleBuffered(GetParam());
    form->Show();
    PumpMessages();
    int reported = 0;
    Application->OnException = [&](TObject*, std::exception_ptr) { ++reported; };
    control->Fail = true;
    InvalidateRect(control->WindowHandle(), nullptr, TRUE);
    UpdateWindow(control->WindowHandle());
    Application->OnException = nullptr;
    EXPECT_EQ(reported, 1);
    EXPECT_FALSE(GetUpdateRect(control->WindowHandle(), nullptr, FALSE));

    control->Fail = false;
    InvalidateRect(control->WindowHandle(), nullptr, TRUE);
    UpdateWindow(control->WindowHandle());
    HDC dc = GetDC(control->WindowHandle());
    const COLORREF painted = GetPixel(dc, 5, 5);
    ReleaseDC(control->WindowHandle(), dc);
    EXPECT_EQ(painted, RGB(255, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Buffered, WinControlPaintTest, testing::Bool());

} // namespace
