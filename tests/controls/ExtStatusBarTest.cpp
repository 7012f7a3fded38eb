// The status bar on real windows: as high as its dock, wide captions in its
// labels, the size grip at the right that starts the form's sizing and
// leaves no stale image when the form is resized.
#include "controls/ExtItem.h"

#include "classlib/Form.h"
#include "support/SysCommandForm.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testing_support;

namespace {

class ExtStatus : public SysCommandFormFixture
{
protected:
    void SetUp() override
    {
        SysCommandFormFixture::SetUp();
        status = new TExtStatusBar(form);
        status->SetParent(form);
        message = AddLabel(L"");
        form->Show();
        PumpMessages();
    }
    TExtLabelItem* AddLabel(const wchar_t* caption)
    {
        auto* label = new TExtLabelItem(form);
        label->SetCaption(caption);
        status->Items()->Add(label);
        return label;
    }
    TExtStatusToolbar* Bar() const { return status->StatusToolbar(); }
    TPoint GripCentre()
    {
        TRect grip = Bar()->GripRect();
        MapWindowPoints(status->Dock()->Handle(), Bar()->Handle(), reinterpret_cast<POINT*>(&grip),
                        2);
        return TPoint((grip.left + grip.right) / 2, (grip.top + grip.bottom) / 2);
    }
    // The toolbar as painted, one colour per pixel.
    std::vector<DWORD> Painted()
    {
        TBitmap bitmap;
        bitmap.SetPixelFormat(TPixelFormat::pf32bit);
        bitmap.SetSize(Bar()->Width(), Bar()->Height());
        Bar()->PaintTo(bitmap.Canvas()->Handle(), 0, 0);
        std::vector<DWORD> pixels;
        for (int y = 0; y < Bar()->Height(); ++y) {
            const auto* line = static_cast<const DWORD*>(bitmap.ScanLine(y));
            pixels.insert(pixels.end(), line, line + Bar()->Width());
        }
        return pixels;
    }
    TExtStatusBar* status = nullptr;
    TExtLabelItem* message = nullptr;
};

} // namespace

TEST_F(ExtStatus, SitsAtTheBottomAsHighAsItsDock)
{
    EXPECT_EQ(status->Align(), TAlign::alBottom);
    EXPECT_GT(status->Height(), 0);
    EXPECT_EQ(status->Height(), status->Dock()->Height());
    EXPECT_EQ(status->Top() + status->Height(), form->ClientHeight());
    status->SetHeight(status->Height() + 30);
    EXPECT_EQ(status->Height(), status->Dock()->Height());
}

TEST_F(ExtStatus, KeepsOneHeightWhetherAMessageShowsOrNot)
{
    const int atRest = status->Height();
    message->SetCaption(L"メッセージ");
    PumpMessages();
    EXPECT_EQ(status->Height(), atRest);
    EXPECT_GE(atRest, GetSystemMetrics(SM_CYHSCROLL)) << "room for the size grip";
    message->SetCaption(L"");
    PumpMessages();
    EXPECT_EQ(status->Height(), atRest);
}

TEST_F(ExtStatus, LabelsShowWideCaptions)
{
    message->SetCaption(L"??");
    PumpMessages();
    const std::vector<DWORD> questionMarks = Painted();
    message->SetCaption(L"\uAC00\uAC00"); // Hangul: "??" in the code page
    PumpMessages();
    EXPECT_EQ(message->Caption(), L"\uAC00\uAC00");
    EXPECT_NE(Painted(), questionMarks);
}

TEST_F(ExtStatus, TheGripStartsSizingFromTheBottomRightCorner)
{
    AddLabel(L"");
    auto* spacer = new TExtRightAlignSpacerItem(form);
    status->Items()->Insert(1, spacer);
    PumpMessages();
    const TRect grip = Bar()->GripRect();
    ASSERT_FALSE(grip.IsEmpty());
    EXPECT_EQ(grip.Width(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(Bar()->RightPushMargin(), grip.Width());

    const TPoint centre = GripCentre();
    ClickAt(Bar()->Handle(), centre.x, centre.y);
    PumpMessages();
    EXPECT_EQ(form->commands, std::vector<WPARAM>{SC_SIZE + 8});

    form->commands.clear();
    ClickAt(Bar()->Handle(), 2, centre.y);
    PumpMessages();
    EXPECT_TRUE(form->commands.empty());

    status->SetSizeGrip(false);
    EXPECT_TRUE(Bar()->GripRect().IsEmpty());
    EXPECT_EQ(Bar()->RightPushMargin(), 4);
}

TEST_F(ExtStatus, ResizingRepaintsWhereTheGripWas)
{
    const TPoint old = GripCentre();
    PumpMessages();
    form->SetWidth(form->Width() + 80);
    RECT update = {};
    ASSERT_TRUE(GetUpdateRect(Bar()->Handle(), &update, FALSE));
    EXPECT_TRUE(PtInRect(&update, old));
    PumpMessages();
    form->SetWidth(form->Width() - 120);
    const TPoint shrunk = GripCentre();
    ASSERT_TRUE(GetUpdateRect(Bar()->Handle(), &update, FALSE));
    EXPECT_TRUE(PtInRect(&update, TPoint(shrunk.x - 10, shrunk.y)));
}
