// The about window while it runs modally: any key, or a mouse press on the
// window or on anything it shows, ends it.
#include "dialogs/ql_about.h"

#include "support/ModalDriver.h"
#include "support/TestSeams.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A press at the middle of a control, sent to the window that holds it.
void PressOn(TControl* control)
{
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed) {
        ClickCentre(windowed);
        return;
    }
    ClickAt(control->Parent()->Handle(), control->Left() + control->Width() / 2,
            control->Top() + control->Height() / 2);
}

// Shows the window modally and runs act inside its loop; true when that
// ended the loop.
bool EndsTheWindow(const std::function<void(TForm7&)>& act)
{
    TScopedFree<TForm7> window(new TForm7(nullptr));
    bool ended = false;
    ScriptedModalForms modal;
    modal.Add([&](TCustomForm*) {
        act(*window.Get());
        ended = window->ModalResult() != mrNone;
        return ended ? mrNone : mrCancel;
    });
    window->ShowModal();
    EXPECT_EQ(modal.Shown().size(), 1u);
    return ended;
}

} // namespace

TEST(AboutWindow, AnyKeyEndsIt)
{
    struct Case
    {
        WORD Key;
        TShiftState Shift;
    };
    for (const Case& c : {Case{'A', 0}, Case{VK_SPACE, 0}, Case{VK_ESCAPE, 0}, Case{VK_RETURN, 0},
                          Case{VK_F1, 0}, Case{VK_TAB, 0}, Case{VK_TAB, ssShift},
                          Case{VK_DOWN, 0}, Case{VK_LEFT, 0}}) {
        SCOPED_TRACE(testing::Message() << c.Key << (c.Shift ? " with Shift" : ""));
        EXPECT_TRUE(EndsTheWindow([&c](TForm7& window) {
            ASSERT_TRUE(ActivateForm(&window));
            RealKeyPress(c.Key, c.Shift);
        }));
    }
}

TEST(AboutWindow, APressOnTheWindowOrAnythingOnItEndsIt)
{
    using TPick = TControl* (*)(TForm7&);
    const TPick picks[] = {
        [](TForm7& w) -> TControl* { return w.Image1; },
        [](TForm7& w) -> TControl* { return w.ProductLabel; },
        [](TForm7& w) -> TControl* { return w.VersionLabel; },
        [](TForm7& w) -> TControl* { return w.NoticeLabel1; },
        [](TForm7& w) -> TControl* { return w.NoticeLabel2; },
        [](TForm7& w) -> TControl* { return w.Panel1; },
    };
    for (TPick pick : picks)
        EXPECT_TRUE(EndsTheWindow([pick](TForm7& window) {
            SCOPED_TRACE(pick(window)->Name());
            PressOn(pick(window));
        }));
    // The window's own edge, outside the panel.
    EXPECT_TRUE(EndsTheWindow([](TForm7& window) { ClickAt(window.Handle(), 1, 1); }));
}
