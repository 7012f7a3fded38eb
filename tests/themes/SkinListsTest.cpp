// The list item: its keys, its scroll bar's zones and steps, the repeat
// and drag-scroll timers (driven by sending WM_TIMER), an empty list, and
// the popup a list opens in.
#include "RecordingTheme.h"
#include "SkinTestHost.h"

#include "themes/SkinLists.h"

#include "classlib/Graphics.h"
#include "classlib/TextUtils.h"
#include "support/FormFixture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace theme_testing;
using namespace testing_support;

namespace {

// A list of count rows named "Row <n>" that notes any row asked for
// outside it.
class TTestList : public TSkinCustomList
{
public:
    TTestList(int count) : TSkinCustomList(nullptr), FCount(count) {}
    int Count() override { return FCount; }
    void GetRowText(int Index, AnsiString& Text) override
    {
        if (Index < 0 || Index >= FCount)
            ++outside;
        Text = "Row " + IntToStr(Index);
    }
    int outside = 0;

private:
    int FCount;
};

class ThemedLists : public FormFixture
{
protected:
    void TearDown() override
    {
        FreeAndNil(host);
        FormFixture::TearDown();
    }
    TSkinCustomListViewer* ViewerOf(TTestList* list)
    {
        host = new ThemedViewHost(form, false, vkListPopup);
        host->Root()->Add(list);
        host->View()->EnsureLayout();
        return static_cast<TSkinCustomListViewer*>(host->View()->Find(list));
    }
    void Tick(TSkinCustomListViewer* viewer)
    {
        SendMessageA(viewer->TimerWindow(), WM_TIMER, 1, 0);
    }

    ThemedViewHost* host = nullptr; // owned
};

} // namespace

TEST_F(ThemedLists, KeysMoveTheCurrentRowAndKeepItInView)
{
    TSkinCustomListViewer* viewer = ViewerOf(new TTestList(20));
    ASSERT_NE(viewer, nullptr);
    struct Case
    {
        WORD key;
        int hot, top;
    };
    const Case cases[] = {
        {VK_DOWN, 0, 0}, {VK_END, 19, 12}, {VK_PRIOR, 11, 11}, {VK_UP, 10, 10},   {VK_HOME, 0, 0},
        {VK_NEXT, 8, 1}, {VK_NEXT, 16, 9}, {VK_NEXT, 19, 12},  {VK_DOWN, 19, 12},
    };
    for (const Case& c : cases) {
        WORD key = c.key;
        viewer->KeyDown(key, 0);
        EXPECT_EQ(key, 0) << c.key << " taken";
        EXPECT_EQ(viewer->HotIndex(), c.hot) << c.key;
        EXPECT_EQ(viewer->TopIndex(), c.top) << c.key;
    }
    WORD other = 'A';
    viewer->KeyDown(other, 0);
    EXPECT_EQ(other, 'A') << "left to the menu";
}

TEST_F(ThemedLists, AnEmptyListDrawsAndAnswersKeysWithoutReadingOutsideIt)
{
    auto* list = new TTestList(0);
    TSkinCustomListViewer* viewer = ViewerOf(list);
    ASSERT_NE(viewer, nullptr);
    for (WORD key : {VK_DOWN, VK_UP, VK_END, VK_HOME, VK_NEXT, VK_PRIOR, VK_RETURN}) {
        viewer->KeyDown(key, 0);
        EXPECT_EQ(viewer->HotIndex(), -1);
    }
    TBitmap sheet;
    sheet.SetSize(100, 100);
    viewer->Paint(sheet.Canvas(), TRect(0, 0, 100, 40), true, false, false);
    EXPECT_EQ(viewer->ScrollBar(), nullptr);
    viewer->MouseUp(5, 5, true);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->outside, 0);
}

TEST_F(ThemedLists, SettingTheIndexScrollsTheViewersAndTells)
{
    auto* list = new TTestList(30);
    TSkinCustomListViewer* viewer = ViewerOf(list);
    int told = 0;
    list->OnChange = [&](TObject*) { ++told; };
    list->SetItemIndex(25);
    EXPECT_EQ(viewer->TopIndex(), 18);
    list->SetItemIndex(3);
    EXPECT_EQ(viewer->TopIndex(), 3);
    EXPECT_EQ(told, 2);
}

TEST(SkinScrollBar, ZonesStepByTheirKindAndTheThumbFollowsTheMouse)
{
    // 16 x 160: arrows of 16, a track of 128, a thumb of 128 * 8 / 20.
    TSkinScrollBar bar(TSkinScrollBarKind::sbVertical);
    bar.SetBounds(TRect(0, 0, 16, 160));
    bar.SetRange(20, 8);
    bar.SetPosition(5);
    EXPECT_EQ(bar.ZoneRect(szFirstArrow), TRect(0, 0, 16, 16));
    EXPECT_EQ(bar.ZoneRect(szSecondArrow), TRect(0, 144, 16, 160));
    EXPECT_EQ(bar.ZoneRect(szThumb).Height(), 51);
    struct Case
    {
        int zone;
        int from, to;
    };
    const Case cases[] = {
        {szFirstArrow, 5, 4}, {szSecondArrow, 5, 6},   {szTrackBefore, 9, 1},
        {szTrackAfter, 1, 9}, {szTrackBefore, 3, 0},   {szTrackAfter, 9, 12},
        {szThumb, 5, 5},      {szSecondArrow, 12, 12},
    };
    for (const Case& c : cases) {
        bar.SetPosition(c.from);
        const TRect zone = bar.ZoneRect(c.zone);
        const TPoint inside(zone.left + 8, (zone.top + zone.bottom) / 2);
        EXPECT_EQ(bar.Press(inside), c.zone);
        EXPECT_EQ(bar.Position(), c.to) << "zone " << c.zone << " from " << c.from;
        bar.Release();
    }

    bar.SetPosition(0);
    const TRect thumb = bar.ZoneRect(szThumb);
    bar.Press(TPoint(8, thumb.top + 4));
    bar.Drag(TPoint(8, 144 - 51 + 4)); // the thumb against the second arrow
    EXPECT_EQ(bar.Position(), 12);
    bar.Drag(TPoint(8, 16 + (144 - 51 - 16) / 2 + 4)); // halfway
    EXPECT_EQ(bar.Position(), 6);
    bar.Release();
}

TEST_F(ThemedLists, AHeldArrowStepsAtOnceThenEvery500ThenEvery100Milliseconds)
{
    TSkinCustomListViewer* viewer = ViewerOf(new TTestList(20));
    TBitmap sheet;
    sheet.SetSize(300, 300);
    const TRect bounds = viewer->BoundsRect();
    viewer->Paint(sheet.Canvas(), TRect(0, 0, bounds.Width(), bounds.Height()), false, false,
                  false);
    TSkinScrollBar* bar = viewer->ScrollBar();
    ASSERT_NE(bar, nullptr);
    const TRect arrow = bar->ZoneRect(szSecondArrow);
    const TPoint on(arrow.left + 2, arrow.top + 2);
    viewer->MouseMove(on.x, on.y);
    EXPECT_EQ(bar->HotZone(), szSecondArrow) << "the arrow under the mouse";
    EXPECT_EQ(viewer->TimerInterval(), 0u) << "no press, no repeat";
    bool onMenu = false;
    viewer->MouseDown(0, on.x, on.y, onMenu);
    EXPECT_EQ(viewer->TopIndex(), 1) << "at once";
    EXPECT_EQ(viewer->TimerInterval(), 500u);
    Tick(viewer);
    EXPECT_EQ(viewer->TopIndex(), 2);
    EXPECT_EQ(viewer->TimerInterval(), 100u);
    Tick(viewer);
    EXPECT_EQ(viewer->TopIndex(), 3);
    viewer->MouseMove(on.x, bar->ZoneRect(szFirstArrow).top + 2);
    Tick(viewer);
    EXPECT_EQ(viewer->TopIndex(), 3) << "not while the mouse is off the arrow";
    viewer->MouseUp(on.x, on.y, true);
    EXPECT_EQ(viewer->TimerInterval(), 0u);
}

TEST_F(ThemedLists, DraggingPastAnEndScrollsFasterFartherAway)
{
    auto* list = new TTestList(20);
    TSkinCustomListViewer* viewer = ViewerOf(list);
    const int height = viewer->BoundsRect().Height();
    bool onMenu = false;
    viewer->MouseDown(0, 10, 5, onMenu);
    EXPECT_EQ(viewer->HotIndex(), 0);
    struct Case
    {
        int y;
        UINT interval;
    };
    for (const Case& c : {Case{height + 3, 150u}, Case{height + 40, 100u}}) {
        viewer->MouseMove(10, c.y);
        EXPECT_EQ(viewer->TimerInterval(), c.interval) << c.y;
    }
    Tick(viewer);
    Tick(viewer);
    EXPECT_EQ(viewer->HotIndex(), 2);
    EXPECT_EQ(viewer->TimerInterval(), 100u);
    viewer->MouseMove(10, 5);
    EXPECT_EQ(viewer->TimerInterval(), 0u) << "back over the rows";
    viewer->LosingCapture();
    EXPECT_EQ(list->ItemIndex(), -1) << "nothing chosen";
}

TEST_F(ThemedLists, AListOpensInAListPopupWithoutADropShadow)
{
    RecordingThemeAnswers().ShadowStyle = 2;
    UseRecordingTheme();
    auto* item = new TestSubmenuItem("Pick", false);
    item->Add(new TTestList(3));
    std::unique_ptr<TBarPopupWindow> popup(
        item->CreatePopup(nullptr, nullptr, false, false, TPoint(100, 100), bpaLeft));
    auto* window = static_cast<TSkinPopupWindow*>(popup.get());
    EXPECT_EQ(window->ViewKind(), static_cast<DWORD>(vkListPopup));
    EXPECT_EQ(window->Shadow(), nullptr);
    popup.reset();
    delete item;
}
