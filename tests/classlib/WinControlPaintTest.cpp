// Painting of a windowed control: a paint that fails still ends (the window
// is not left asking to be painted for ever), whether it paints straight on
// the screen or through its buffer, and the next paint draws as before; the
// frame is drawn where a window has one.
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

// Red inside, with or without the system's thin frame round it.
class TFramedControl : public TCustomControl
{
public:
    TFramedControl(TComponent* owner, bool framed) : TCustomControl(owner), FFramed(framed) {}

protected:
    void CreateParams(TCreateParams& params) override
    {
        TCustomControl::CreateParams(params);
        if (FFramed)
            params.Style |= WS_BORDER;
    }
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(ClientRect());
    }

private:
    bool FFramed;
};

// The pixel at the window's top left corner, frame included.
COLORREF CornerPixel(TWinControl* control)
{
    HDC dc = GetWindowDC(control->WindowHandle());
    const COLORREF pixel = GetPixel(dc, 0, 0);
    ReleaseDC(control->WindowHandle(), dc);
    return pixel;
}

using WinControlFrameTest = FormFixture;

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

// A window that is all client area skips the system's frame painting; one
// with a frame still has it drawn, at its first paint and at a repaint.
TEST_F(WinControlFrameTest, AFrameIsDrawnWhereTheWindowHasOne)
{
    auto* framed = new TFramedControl(form, true);
    auto* plain = new TFramedControl(form, false);
    framed->SetParent(form);
    plain->SetParent(form);
    framed->SetBounds(0, 0, 40, 40);
    plain->SetBounds(50, 0, 40, 40);
    form->Show();
    PumpMessages();
    const COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    EXPECT_EQ(CornerPixel(framed), frame);
    EXPECT_EQ(CornerPixel(plain), RGB(255, 0, 0));
    RedrawWindow(form->WindowHandle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(CornerPixel(framed), frame);
    EXPECT_EQ(CornerPixel(plain), RGB(255, 0, 0));
}
