// The panel family on real windows: caption flags, the auto height against
// text measured on the same font, hover tracking from mouse moves and the
// shared timer's tick, the button's groups, Space, hit-test margins,
// auto-repeat (driven through its timer), the drop-down menu opened by real
// clicks, the alignment panel's margins and the page scroller (its arrows
// under the mouse, its timer driven directly, focus scrolling).
#include "controls/SkinDkPanels.h"

#include "classlib/Panel.h"
#include "classlib/Seams.h"
#include "classlib/StandardControls.h"
#include "support/BarDriver.h"
#include "support/FormFixture.h"
#include "support/ModalScript.h"
#include "support/PaintedPixels.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace testing_support;

class SkinDkPanelsTest : public FormFixture
{
protected:
    template <class T> T* Place(int left, int top, int width = 100)
    {
        T* control = new T(form);
        control->SetParent(form);
        control->SetBounds(left, top, width, 20);
        return control;
    }
    // The height of text in width pixels with the control's font.
    int MeasuredHeight(TControl* control, const AnsiString& text, int width, UINT flags)
    {
        TBitmap bitmap;
        bitmap.Canvas()->Font()->Assign(control->Font());
        RECT r = {0, 0, width, 0};
        DrawTextA(bitmap.Canvas()->Handle(), text.c_str(), -1, &r, flags | DT_CALCRECT);
        return r.bottom - r.top;
    }
};

TEST_F(SkinDkPanelsTest, TextObjectHeightFitsTheMeasuredCaption)
{
    const AnsiString longText = "one two three four five six seven eight nine ten eleven";
    struct Case
    {
        AnsiString caption;
        TTextWrapping wrapping;
        UINT measureFlags;
    } cases[] = {
        {"short", TTextWrapping::twNone, 0},
        {longText, TTextWrapping::twNone, 0},
        {"", TTextWrapping::twNone, 0},
        {longText, TTextWrapping::twWrap, DT_WORDBREAK},
    };
    auto* text = Place<TSkinTextObject>(8, 8);
    text->Margins()->SetTop(3);
    text->Margins()->SetBottom(4);
    text->Margins()->SetLeft(5);
    for (const Case& c : cases) {
        text->SetWrapping(c.wrapping);
        text->SetCaption(c.caption);
        AnsiString measured = c.caption.empty() ? AnsiString(" ") : c.caption;
        int expected = MeasuredHeight(text, measured, 95, c.measureFlags | DT_EXPANDTABS) + 7;
        EXPECT_EQ(text->Height(), expected) << c.caption << static_cast<int>(c.wrapping);
    }
    EXPECT_GT(text->Height(), MeasuredHeight(text, "x", 95, 0) * 2) << "wrapped lines";
}

// A caption stands where its alignment puts it, and shows its ampersand
// when accelerators are off.
TEST_F(SkinDkPanelsTest, ACaptionStandsByItsAlignmentAndShowsAmpersandsWithoutAccelerators)
{
    auto* text = Place<TSkinTextObject>(8, 8, 200);
    text->SetCaption("&Mix");
    // The first and the last column with ink.
    auto inked = [&](TAlignment alignment) {
        text->SetAlignment(alignment);
        PaintedPixels painted(text);
        std::pair<int, int> columns(-1, -1);
        for (int x = 0; x < painted.Width(); ++x)
            for (int y = 0; y < painted.Height(); ++y)
                if (painted(x, y) != painted(0, 0)) {
                    columns = {columns.first < 0 ? x : columns.first, x};
                    break;
                }
        return columns;
    };
    const auto [left, leftEnd] = inked(TAlignment::taLeftJustify);
    const auto [right, rightEnd] = inked(TAlignment::taRightJustify);
    const auto [centre, centreEnd] = inked(TAlignment::taCenter);
    EXPECT_LT(left, 10);
    EXPECT_GT(rightEnd, 190);
    EXPECT_NEAR(centre + centreEnd, 200, 3);
    EXPECT_EQ(rightEnd - right, leftEnd - left);
    text->SetShowAccelChar(false);
    const auto [plain, plainEnd] = inked(TAlignment::taLeftJustify);
    EXPECT_GT(plainEnd - plain, leftEnd - left) << "the ampersand shows";
}

TEST_F(SkinDkPanelsTest, HoverFollowsTheMouseAndTheTimerNoticesItLeft)
{
    auto* a = Place<TSkinAlignmentPanel>(8, 8);
    auto* b = Place<TSkinAlignmentPanel>(8, 40);
    ActivateForm(form);
    std::vector<std::string> events;
    a->OnMouseEnter = [&](TObject*) { events.push_back("enter a"); };
    a->OnMouseLeave = [&](TObject*) { events.push_back("leave a"); };
    b->OnMouseEnter = [&](TObject*) { events.push_back("enter b"); };
    ScopedCursorPos cursor(ScreenPointOf(a->Handle(), 5, 5));
    SendMessageA(a->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(a->MouseInside());
    cursor.Move(ScreenPointOf(b->Handle(), 5, 5));
    SendMessageA(b->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(a->MouseInside());
    EXPECT_TRUE(b->MouseInside());
    cursor.Move(ScreenPointOf(form->Handle(), 300, 150));
    TSkinPanelObject::CheckHover();
    EXPECT_FALSE(b->MouseInside());
    EXPECT_EQ(events, (std::vector<std::string>{"enter a", "leave a", "enter b"}));
}

TEST_F(SkinDkPanelsTest, AlignmentPanelAlignsInsideItsMarginsAndKnowsItsLeastSize)
{
    auto* panel = Place<TSkinAlignmentPanel>(0, 0, 200);
    panel->SetHeight(150);
    auto* top = new TPanel(form);
    top->SetParent(panel);
    top->SetHeight(30);
    top->SetAlign(TAlign::alTop);
    auto* rest = Place<TSkinTextObject>(0, 0);
    rest->SetParent(panel);
    rest->SetAlign(TAlign::alClient);
    panel->Margins()->SetLeft(4);
    panel->Margins()->SetTop(6);
    panel->Margins()->SetBottom(2);
    EXPECT_EQ(top->Left(), 4);
    EXPECT_EQ(top->Top(), 6);
    EXPECT_EQ(top->Width(), 196);
    EXPECT_EQ(rest->Top(), 36);
    EXPECT_EQ(rest->Height(), 150 - 36 - 2);
    EXPECT_EQ(panel->LeastHeight(), 6 + 30 + rest->LeastHeight() + 2);
}

class SkinButtonTest : public SkinDkPanelsTest
{
protected:
    TSkinButton* Button(int left, int group = 0)
    {
        auto* button = Place<TSkinButton>(left, 8, 70);
        button->SetCaption("Go");
        button->SetGroupIndex(group);
        return button;
    }
    POINT Centre(TSkinButton* b) { return ScreenPointOf(b->Handle(), 35, b->Height() / 2); }
};

TEST_F(SkinButtonTest, GroupsKeepOneButtonCheckedAndIndexZeroNeverChecks)
{
    TSkinButton* plain = Button(8);
    TSkinButton* a = Button(90, 1);
    TSkinButton* b = Button(170, 1);
    ActivateForm(form);
    RealClick(Centre(plain));
    EXPECT_FALSE(plain->Checked());
    RealClick(Centre(a));
    EXPECT_TRUE(a->Checked());
    RealClick(Centre(b));
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    RealClick(Centre(b));
    EXPECT_TRUE(b->Checked()) << "a checked button stays down";
    b->SetAllowAllUnchecked(true);
    RealClick(Centre(b));
    EXPECT_FALSE(b->Checked());
}

TEST_F(SkinButtonTest, SpaceClicksTheFocusedButtonOnRelease)
{
    TSkinButton* a = Button(8);
    int clicks = 0;
    a->OnClick = [&](TObject*) { ++clicks; };
    ActivateForm(form);
    a->SetFocus();
    PostMessageA(a->Handle(), WM_KEYDOWN, VK_SPACE, 1);
    PumpMessages();
    EXPECT_TRUE(a->Pushed());
    EXPECT_EQ(clicks, 0);
    PostMessageA(a->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
    PumpMessages();
    EXPECT_FALSE(a->Pushed());
    EXPECT_EQ(clicks, 1);
}

TEST_F(SkinButtonTest, HeightWithoutCaptionOrImagesAndTheMarginsLetClicksThrough)
{
    TSkinButton* a = Button(8);
    a->SetCaption("");
    EXPECT_EQ(a->Height(), 16);
    a->Margins()->SetLeft(10);
    a->HandleNeeded();
    auto hit = [&](int x) {
        POINT p = ScreenPointOf(a->Handle(), x, 5);
        return SendMessageA(a->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    };
    EXPECT_EQ(hit(3), HTTRANSPARENT);
    EXPECT_EQ(hit(20), HTCLIENT);
}

TEST_F(SkinButtonTest, AHeldRepeatingButtonClicksAtOnceThenOnEachTickWhileInside)
{
    TSkinButton* a = Button(8);
    a->SetRepeating(true);
    int clicks = 0;
    a->OnClick = [&](TObject*) { ++clicks; };
    ActivateForm(form);
    ScopedCursorPos cursor(Centre(a));
    RealButtonDown(Centre(a));
    ASSERT_NE(a->RepeatTimer(), nullptr);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(a->RepeatTimer()->Interval(), 400u);
    a->RepeatTimer()->OnTimer(a->RepeatTimer());
    a->RepeatTimer()->OnTimer(a->RepeatTimer());
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(a->RepeatTimer()->Interval(), 100u);
    cursor.Move(ScreenPointOf(form->Handle(), 300, 150));
    a->RepeatTimer()->OnTimer(a->RepeatTimer());
    EXPECT_EQ(clicks, 3) << "the cursor has left";
    EXPECT_FALSE(a->RepeatTimer()->Enabled());
    RealButtonUp(Centre(a));
    EXPECT_EQ(a->RepeatTimer(), nullptr);
    EXPECT_EQ(clicks, 3) << "the release does not click again";
}

class SkinDropDownTest : public SkinButtonTest
{
protected:
    struct Probe : TSkinButton
    {
        using TSkinButton::CaptionMargins;
        using TSkinButton::TSkinButton;
    };
    void SetUp() override
    {
        SkinButtonTest::SetUp();
        menu = new TSkinPopupMenu(form);
        chosen = new TSkinCustomItem(nullptr);
        chosen->SetCaption("Chosen");
        menu->Items()->Add(chosen);
        button = Place<Probe>(20, 20, 120);
        button->SetCaption("Go");
        button->SetDropDownMenu(menu);
        button->OnClick = [this](TObject*) { ++clicks; };
        button->OnDropDown = [this](TObject*, bool& allow) {
            ++asked;
            allow = asked <= allowedOpens;
        };
    }
    POINT ArrowPoint() { return ScreenPointOf(button->Handle(), button->Width() - 3, 10); }
    POINT FacePoint() { return ScreenPointOf(button->Handle(), 20, 10); }
    static HWND ShownMenu()
    {
        for (TBarPopupWindow* popup : ThreadPopupWindows())
            if (popup->HandleAllocated() && IsWindowVisible(popup->Handle()))
                return popup->Handle();
        return nullptr;
    }
    // Clicks at point with the menu expected to open: checks where it shows,
    // then ends it by close.
    void ClickOpeningTheMenu(POINT at, const std::function<void()>& close, const char* what)
    {
        RECT placed{};
        ModalScript script;
        script.WaitUntil([] { return ShownMenu() != nullptr; }, "the menu shows")
            .Then([&] { GetWindowRect(ShownMenu(), &placed); })
            .Then(close);
        script.Run([&] { RealClick(at); });
        POINT corner = ScreenPointOf(button->Handle(), 0, button->Height());
        EXPECT_EQ(placed.left, corner.x) << what;
        EXPECT_EQ(placed.top, corner.y) << what;
        EXPECT_EQ(menu->PopupComponent(), button) << what;
    }
    static void ChooseTheItem()
    {
        ModalScript::PressKey(VK_DOWN);
        ModalScript::PressKey(VK_RETURN);
    }
    TSkinPopupMenu* menu = nullptr;
    TSkinCustomItem* chosen = nullptr;
    Probe* button = nullptr;
    int clicks = 0, asked = 0, allowedOpens = 1;
};

TEST_F(SkinDropDownTest, AClickOnTheArrowOpensTheMenuBelowTheButtonAndTheFaceClicks)
{
    struct Case
    {
        const char* what;
        bool combo;
        bool onArrow;
        bool allow;
        bool opens;
        int clicks;
    } cases[] = {
        {"plain button, face", false, false, true, true, 0},
        {"combo, arrow", true, true, true, true, 0},
        {"combo, face", true, false, true, false, 1},
        {"refused by OnDropDown", false, true, false, false, 0},
    };
    ActivateForm(form);
    int chosenClicks = 0;
    chosen->OnClick = [&](TObject*) { ++chosenClicks; };
    for (const Case& c : cases) {
        button->SetDropDownCombo(c.combo);
        clicks = asked = chosenClicks = 0;
        allowedOpens = c.allow ? 1 : 0;
        POINT at = c.onArrow ? ArrowPoint() : FacePoint();
        if (c.opens)
            ClickOpeningTheMenu(at, ChooseTheItem, c.what);
        else
            RealClick(at);
        PumpMessages();
        EXPECT_EQ(chosenClicks, c.opens ? 1 : 0) << c.what;
        EXPECT_EQ(clicks, c.clicks) << c.what;
        EXPECT_EQ(asked, c.combo && !c.onArrow ? 0 : 1) << c.what;
        EXPECT_FALSE(button->Pushed()) << c.what;
        EXPECT_EQ(ShownMenu(), nullptr) << c.what;
    }
}

TEST_F(SkinDropDownTest, PressesQueuedForTheButtonWhileItsMenuClosesAreDroppedOthersKept)
{
    auto* other = Place<TSkinButton>(200, 20, 60);
    int otherPresses = 0;
    other->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++otherPresses; };
    allowedOpens = 2;
    ActivateForm(form);
    // A press on the button ends the menu and stays queued, as one beside
    // it does.
    ClickOpeningTheMenu(
        FacePoint(),
        [&] {
            for (HWND to : {button->Handle(), other->Handle()}) {
                PostMessageA(to, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
                PostMessageA(to, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            }
        },
        "closed by a press on the button");
    PumpMessages();
    EXPECT_EQ(asked, 1) << "the queued press would open the menu again";
    EXPECT_EQ(otherPresses, 1);
}

TEST_F(SkinDropDownTest, TheMenuTakesRoomOnTheRightOfTheCaption)
{
    TSkinTheme* theme = CurrentTheme();
    ASSERT_NE(theme, nullptr);
    const int arrow = theme->IntegerMetric(20), split = theme->IntegerMetric(10);
    TCustomImageList images(nullptr, 16, 16);
    struct Case
    {
        const char* what;
        bool menu, combo, glyphTop;
        AnsiString caption;
        int right;
    } cases[] = {
        {"no menu", false, false, false, "Go", 4},
        {"arrow", true, false, false, "Go", 4 + arrow},
        {"combo", true, true, false, "Go", 4 + split},
        {"glyph above a caption", true, false, true, "Go", 4},
        {"glyph above no caption", true, false, true, "", 4 + arrow},
        {"combo, glyph above", true, true, true, "Go", 4 + split},
    };
    for (const Case& c : cases) {
        button->SetDropDownMenu(c.menu ? menu : nullptr);
        button->SetDropDownCombo(c.combo);
        button->SetImages(c.glyphTop ? &images : nullptr);
        button->SetLayout(TSkinButtonLayout::blGlyphTop);
        button->SetCaption(c.caption);
        EXPECT_EQ(button->CaptionMargins().right, c.right) << c.what;
    }
    button->SetImages(nullptr);
    delete menu;
    EXPECT_EQ(button->DropDownMenu(), nullptr) << "a freed menu is forgotten";
}

class PageScrollerTest : public SkinDkPanelsTest
{
protected:
    void SetUp() override
    {
        SkinDkPanelsTest::SetUp();
        scroller = new TSkinCustomPageScroller(form);
        scroller->SetParent(form);
        scroller->SetBounds(10, 10, 200, 30);
        child = new TPanel(form);
        child->SetParent(scroller);
        child->SetBounds(0, 0, 500, 30);
        scroller->Realign();
    }
    POINT ArrowCentre(bool atEnd)
    {
        RECT w;
        GetWindowRect(scroller->Handle(), &w);
        TRect r = scroller->ArrowRect(atEnd);
        return POINT{w.left + (r.left + r.right) / 2, w.top + (r.top + r.bottom) / 2};
    }
    // Where the child lies on the screen, against the scroller's left edge.
    int ChildScreenOffset()
    {
        RECT c, s;
        GetWindowRect(child->Handle(), &c);
        GetWindowRect(scroller->Handle(), &s);
        return c.left - s.left;
    }
    void Tick() { scroller->ScrollTimer()->OnTimer(scroller->ScrollTimer()); }
    TSkinCustomPageScroller* scroller = nullptr;
    TPanel* child = nullptr;
};

TEST_F(PageScrollerTest, ThePositionStaysWithinTheRangeAndMovesTheChild)
{
    const int arrow = TSkinCustomPageScroller::kArrowSize;
    const int range = 500 - (200 - 2 * arrow);
    struct Case
    {
        TPageScrollerOrientation orientation;
        int set, expected;
    } cases[] = {
        {TPageScrollerOrientation::soHorizontal, 100, 100},
        {TPageScrollerOrientation::soHorizontal, -5, 0},
        {TPageScrollerOrientation::soHorizontal, 1000, range},
        {TPageScrollerOrientation::soVertical, 50, 30 - (30 - 2 * arrow)},
    };
    for (const Case& c : cases) {
        scroller->SetOrientation(c.orientation);
        scroller->SetPosition(c.set);
        EXPECT_EQ(scroller->Position(), c.expected) << c.set;
        if (c.orientation == TPageScrollerOrientation::soHorizontal) {
            EXPECT_EQ(scroller->Range(), range);
            EXPECT_EQ(child->Left(), -c.expected) << c.set;
            EXPECT_EQ(child->Height(), 30) << "the child fills the scroller across";
        } else {
            EXPECT_EQ(child->Top(), -c.expected);
            EXPECT_EQ(child->Width(), 200);
        }
    }
}

TEST_F(PageScrollerTest, TheMouseRestingOnAnArrowScrollsTheChildUntilItLeaves)
{
    ActivateForm(form);
    EXPECT_EQ(WindowFromPoint(ArrowCentre(true)), scroller->Handle())
        << "the child covers no arrow";
    ScopedCursorPos cursor(ArrowCentre(true));
    RealMouseMove(ArrowCentre(true));
    ASSERT_NE(scroller->ScrollTimer(), nullptr);
    EXPECT_EQ(scroller->ScrollTimer()->Interval(), TSkinCustomPageScroller::kFirstInterval);
    Tick();
    Tick();
    const int step = TSkinCustomPageScroller::kStep;
    EXPECT_EQ(scroller->Position(), 2 * step);
    EXPECT_EQ(scroller->ScrollTimer()->Interval(), TSkinCustomPageScroller::kNextInterval);
    PumpMessages();
    EXPECT_EQ(ChildScreenOffset(), TSkinCustomPageScroller::kArrowSize - 2 * step);
    cursor.Move(ScreenPointOf(form->Handle(), 300, 150));
    Tick();
    EXPECT_EQ(scroller->Position(), 2 * step) << "the mouse has left the arrow";
    EXPECT_FALSE(scroller->ScrollTimer()->Enabled());
    cursor.Move(ArrowCentre(false));
    RealMouseMove(ArrowCentre(false));
    ASSERT_TRUE(scroller->ScrollTimer()->Enabled());
    Tick();
    EXPECT_EQ(scroller->Position(), step);
}

TEST_F(PageScrollerTest, AControlInsideTheChildThatTakesTheFocusIsScrolledIntoView)
{
    const int view = 200 - 2 * TSkinCustomPageScroller::kArrowSize;
    struct Case
    {
        int left, width, expected;
    } cases[] = {
        {400, 60, 460 - view}, // past the end: its end meets the view's end
        {20, 60, 20},          // before the start: its start meets the view's start
        {150, 20, 20},         // seen whole as it is: stays
    };
    auto* edit = new TEdit(form);
    edit->SetParent(child);
    auto* other = new TEdit(form);
    other->SetParent(form);
    other->SetBounds(10, 100, 50, 20);
    ActivateForm(form);
    for (const Case& c : cases) {
        other->SetFocus();
        edit->SetBounds(c.left, 4, c.width, 20);
        edit->SetFocus();
        PumpMessages();
        EXPECT_EQ(scroller->Position(), c.expected) << c.left;
    }
}
