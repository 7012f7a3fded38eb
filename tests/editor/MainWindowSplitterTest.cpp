// The splitter under the waveform, dragged by real input.
#include "MainWindowFixture.h"

using namespace testing_support;

// Escape during a drag ends it where it is, wherever the focus stands.
TEST_F(MainWindowTest, EscapeDuringASplitterDragKeepsTheSizeReached)
{
    StartWithSettings("[FORM]\r\nSUBWINDOW_NUM=2\r\n");
    ASSERT_TRUE(ActivateForm(form));
    TSplitter* splitter = form->MasterSplitter;
    TControl* pane = form->UpperPanel;
    const struct
    {
        const char* name;
        TWinControl* focused;
    } cases[] = {
        {"the region list", form->EditList},
        {"a rename edit", form->rEd1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.focused->SetFocus();
        PumpMessages();
        ASSERT_EQ(FocusedWindow(), c.focused->Handle());
        int moved = 0;
        splitter->OnMoved = [&](TObject*) { ++moved; };
        const int before = pane->Height();
        const POINT grab = ScreenPointOf(form->Handle(), splitter->Left() + 40,
                                         splitter->Top() + splitter->Height() / 2);
        RealButtonDown(grab);
        RealMouseMove({grab.x, grab.y + 25});
        RealMouseMove({grab.x, grab.y + 50});
        ASSERT_EQ(pane->Height(), before + 50);
        const int movedByTheDrag = moved;
        RealKeyPress(VK_ESCAPE);
        EXPECT_FALSE(splitter->Dragging());
        EXPECT_EQ(pane->Height(), before + 50);
        EXPECT_EQ(moved, movedByTheDrag + 1) << "the end of the drag";
        RealButtonUp({grab.x, grab.y + 50});
        EXPECT_EQ(pane->Height(), before + 50);
        EXPECT_EQ(moved, movedByTheDrag + 1) << "a release after the end";
        splitter->OnMoved = nullptr;
    }
}
