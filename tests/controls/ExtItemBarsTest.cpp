// Extended items and the extended toolbar on real windows: wide captions
// measured and kept, fixed sizes, and items after a right-align spacer at
// the toolbar's right edge however the toolbar is resized.
#include "controls/ExtItem.h"

#include "classlib/Actions.h"
#include "classlib/StandardControls.h"
#include "classlib/WideText.h"
#include "controls/ExtToolbarFixture.h"
#include "support/ModalScript.h"
#include "support/ScreenCheck.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testing_support;

namespace {

class ExtBars : public ExtToolbarFixture
{
protected:
    void SetUp() override
    {
        ExtToolbarFixture::SetUp();
        bar->SetStretch(true);
        bar->SetFullSize(true);
        bar->SetCurrentDock(dock);
        form->Show();
    }
    using ExtToolbarFixture::AddItem;
    template <class T> T* AddItem(const wchar_t* caption)
    {
        return AddItem<T>(bar->Items(), caption);
    }
    TBarItemViewer* ViewerOf(TBarCustomItem* item)
    {
        PumpMessages();
        return bar->View()->Find(item);
    }
};

} // namespace

TEST_F(ExtBars, WideCaptionsKeepTheirTextAndMeasureAsShown)
{
    // U+2212 and Hangul are not in the code page: "?" in the ANSI caption.
    auto* wide = AddItem<TExtItem>(L"A\u2212\uAC00\uAC00\uAC00");
    auto* ansi = AddItem<TExtItem>(L"A???");
    EXPECT_EQ(wide->Caption(), L"A\u2212\uAC00\uAC00\uAC00");
    EXPECT_EQ(static_cast<TBarCustomItem*>(wide)->Caption(), "A????");
    auto* narrowText = AddItem<TExtItem>(L"A????");
    EXPECT_GT(ViewerOf(wide)->BoundsRect().Width(), ViewerOf(narrowText)->BoundsRect().Width());
    EXPECT_LT(ViewerOf(ansi)->BoundsRect().Width(), ViewerOf(narrowText)->BoundsRect().Width());

    // A caption marked "utf8=" is as wide as the text it carries
    // ("リージョン", whose UTF-8 bytes survive the code page).
    auto* marked = AddItem<TExtItem>(
        (L"utf8=" + AnsiToWide("\xE3\x83\xAA\xE3\x83\xBC\xE3\x82\xB8\xE3\x83\xA7\xE3\x83\xB3"))
            .c_str());
    auto* decoded = AddItem<TExtItem>(L"リージョン");
    EXPECT_EQ(ViewerOf(marked)->BoundsRect().Width(), ViewerOf(decoded)->BoundsRect().Width());

    // A caption set through the ANSI property is the one shown.
    static_cast<TBarCustomItem*>(wide)->SetCaption("Plain");
    EXPECT_EQ(wide->Caption(), L"Plain");
}

TEST_F(ExtBars, FixedSizesAndMarginsReplaceTheMeasuredOnes)
{
    auto* item = AddItem<TExtItem>(L"Item");
    const int measured = ViewerOf(item)->BoundsRect().Width();
    item->SetMargins(7);
    EXPECT_EQ(ViewerOf(item)->BoundsRect().Width(), measured + 7);
    item->SetCustomWidth(-5);
    EXPECT_EQ(item->CustomWidth(), -1);
    item->SetCustomWidth(60);
    EXPECT_EQ(ViewerOf(item)->BoundsRect().Width(), 60);
    item->SetMargins(-3);
    EXPECT_EQ(item->Margins(), 0);
}

TEST_F(ExtBars, ItemsAfterTheSpacerStayAtTheRightEdge)
{
    auto* left = AddItem<TExtItem>(L"Left");
    auto* spacer = AddItem<TExtRightAlignSpacerItem>(L"");
    auto* right = AddItem<TExtItem>(L"Right");
    for (int width : {500, 320, 640, 200}) {
        form->SetWidth(width);
        PumpMessages();
        EXPECT_EQ(ViewerOf(right)->BoundsRect().right, bar->ClientWidth()) << width;
        EXPECT_GE(spacer->CustomWidth(), 0) << width;
    }
    left->SetCustomWidth(400); // wider than the toolbar: the spacer shrinks to nothing
    PumpMessages();
    EXPECT_EQ(spacer->CustomWidth(), 0);
}

namespace {

// What a popup menu with one item of that caption looks like when it opens,
// and the item chosen with Enter.
struct OpenedMenu
{
    int width = 0;
    std::vector<std::uint32_t> pixels;
    bool itemChosen = false;
};

OpenedMenu OpenMenuWith(const wchar_t* caption)
{
    TExtPopupMenu menu(nullptr);
    auto* item = new TExtItem(nullptr);
    item->SetCaption(caption);
    menu.Items()->Add(item);
    OpenedMenu opened;
    HWND shown = nullptr;
    ModalScript script;
    script.WaitUntil(
        [&] {
            // With the theme's drop shadow the class has an "S" after its name.
            shown = FindWindowA("TExtPopupWindow", nullptr);
            if (!shown)
                shown = FindWindowA("TExtPopupWindowS", nullptr);
            return shown && IsWindowVisible(shown);
        },
        "the menu shows");
    script.Then([&] {
        RECT r;
        GetClientRect(shown, &r);
        opened.width = r.right;
        RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        opened.pixels = ScreenImage(shown).Pixels();
    });
    script.Then([] { ModalScript::PressKey(VK_DOWN); });
    script.Then([] { ModalScript::PressKey(VK_RETURN); });
    script.Run([&] { opened.itemChosen = menu.PopupInternally(200, 200) == item; });
    PumpMessages();
    return opened;
}

} // namespace

TEST(ExtPopupMenu, OpensWithWideCaptions)
{
    const OpenedMenu narrow = OpenMenuWith(L"A????");
    const OpenedMenu wide = OpenMenuWith(L"A\uAC00\uAC00\uAC00\uAC00"); // "A????" in the code page
    ASSERT_FALSE(wide.pixels.empty());
    EXPECT_GT(wide.width, narrow.width);
    EXPECT_NE(wide.pixels, narrow.pixels);
    EXPECT_TRUE(wide.itemChosen);
}

TEST_F(ExtBars, ALabelsAcceleratorFocusesItsControl)
{
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 100, 100, 20);
    auto* label = AddItem<TExtLabelItem>(L"&Name");
    ASSERT_TRUE(ActivateForm(form));
    EXPECT_FALSE(label->DialogChar('N')); // no control yet
    label->SetControl(edit);
    EXPECT_FALSE(label->DialogChar('X'));
    EXPECT_TRUE(label->DialogChar('n'));
    EXPECT_EQ(FocusedWindow(), edit->Handle());
    delete edit; // the label forgets it
    EXPECT_EQ(label->Control(), nullptr);
}

namespace {

// The pixels of a viewer as painted.
std::vector<DWORD> PaintedViewer(TExtToolbar* bar, TBarItemViewer* viewer)
{
    const TRect r = viewer->BoundsRect();
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(bar->ClientWidth(), bar->ClientHeight());
    bar->PaintTo(bitmap.Canvas()->Handle(), 0, 0);
    std::vector<DWORD> pixels;
    for (int y = r.top; y < r.bottom; ++y) {
        const auto* line = static_cast<const DWORD*>(bitmap.ScanLine(y));
        pixels.insert(pixels.end(), line + r.left, line + r.right);
    }
    return pixels;
}

} // namespace

TEST_F(ExtBars, TurnedCaptionsOfAnUprightBarShowAndMeasureTheWideText)
{
    auto* left = new TSkinDock(form);
    left->SetParent(form);
    left->SetPosition(TBarDockPosition::dpLeft);
    bar->SetCurrentDock(left);
    auto add = [&](const wchar_t* caption) {
        auto* item = AddItem<TExtItem>(caption);
        item->SetLayout(TSkinItemLayout::sklGlyphLeft);
        return item;
    };
    auto* wide = add(L"A\uAC00\uAC00\uAC00\uAC00"); // "A????" in the code page
    auto* narrow = add(L"A????");
    const TRect wideBox = ViewerOf(wide)->BoundsRect();
    const TRect narrowBox = ViewerOf(narrow)->BoundsRect();
    ASSERT_GT(wideBox.Height(), wideBox.Width()) << "the caption runs downwards";
    EXPECT_GT(wideBox.Height(), narrowBox.Height());
    EXPECT_EQ(wideBox.Width(), narrowBox.Width());
    // Same size, so that only the text tells them apart.
    wide->SetCustomHeight(narrowBox.Height());
    PumpMessages();
    EXPECT_NE(PaintedViewer(bar, ViewerOf(wide)), PaintedViewer(bar, ViewerOf(narrow)));
}

namespace {

// A toolbar item linked to an action, beside an edit that holds the focus.
class ActionItemOnBar : public ExtBars
{
protected:
    void SetUp() override
    {
        ExtBars::SetUp();
        action = new TAction(form);
        action->SetCaption("Go");
        action->OnExecute = [this](TObject*) { ++runs; };
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetTop(100);
        item = new TExtItem(form);
        item->SetAction(action);
        bar->Items()->Add(item);
        ASSERT_TRUE(ActivateForm(form));
        edit->SetFocus();
        PumpMessages();
    }
    POINT ItemPoint(int dx = 0)
    {
        const TRect r = ViewerOf(item)->BoundsRect();
        return ScreenPointOf(bar->Handle(), (r.left + r.right) / 2 + dx, (r.top + r.bottom) / 2);
    }
    TAction* action = nullptr;
    TEdit* edit = nullptr;
    TExtItem* item = nullptr;
    int runs = 0;
};

} // namespace

TEST_F(ActionItemOnBar, AClickRunsTheActionOnlyWhenReleasedOverAnEnabledItem)
{
    struct Case
    {
        const char* name;
        bool enabled;
        bool releasedOutside;
        int runs;
    };
    const Case cases[] = {
        {"a click", true, false, 1},
        {"released away from the item", true, true, 0},
        {"a disabled action", false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        runs = 0;
        action->SetEnabled(c.enabled);
        EXPECT_EQ(item->Enabled(), c.enabled);
        if (c.releasedOutside)
            RealDrag(ItemPoint(), {ItemPoint(5), ScreenPointOf(form->Handle(), 300, 250)});
        else
            RealClick(ItemPoint());
        PumpMessages();
        EXPECT_EQ(runs, c.runs);
        EXPECT_EQ(FocusedWindow(), edit->Handle()) << "the item took the focus";
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

TEST_F(ActionItemOnBar, TheActionChecksTheItem)
{
    action->SetChecked(true);
    EXPECT_TRUE(item->Checked());
    action->SetChecked(false);
    EXPECT_FALSE(item->Checked());
}

namespace {

// The columns of a painted viewer holding dark (text) pixels: the first and
// one past the last; {0, 0} without any.
std::pair<int, int> InkColumns(const std::vector<DWORD>& pixels, int width)
{
    int first = width, end = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const DWORD p = pixels[i];
        const int light = ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) / 3;
        if (light >= 0x50)
            continue;
        const int x = static_cast<int>(i) % width;
        first = std::min(first, x);
        end = std::max(end, x + 1);
    }
    return end ? std::pair{first, end} : std::pair{0, 0};
}

} // namespace

TEST_F(ExtBars, CaptionsSitInTheirItemsAsTheirAlignmentSays)
{
    struct Case
    {
        const wchar_t* Caption;
        TAlignment Alignment;
        int CustomWidth; // -1: measured
    };
    const Case cases[] = {
        {L"Go", TAlignment::taCenter, -1},
        {L"\u958B\u304F", TAlignment::taCenter, -1}, // a glyph's ink is not its whole cell
        {L"Open file", TAlignment::taCenter, 120},
        {L"Open", TAlignment::taLeftJustify, 90},
        {L"Open", TAlignment::taRightJustify, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        auto* item = AddItem<TExtItem>(c.Caption);
        item->SetAlignment(c.Alignment);
        item->SetCustomWidth(c.CustomWidth);
        TBarItemViewer* viewer = ViewerOf(item);
        const int width = viewer->BoundsRect().Width();
        const auto [first, end] = InkColumns(PaintedViewer(bar, viewer), width);
        ASSERT_LT(first, end) << "no caption painted";
        const int before = first, after = width - end;
        switch (c.Alignment) {
        case TAlignment::taCenter:
            EXPECT_LE(std::abs(before - after), 4) << before << " | " << after;
            break;
        case TAlignment::taLeftJustify:
            EXPECT_LT(before, after);
            break;
        case TAlignment::taRightJustify:
            EXPECT_GT(before, after);
            break;
        }
        bar->Items()->Remove(item);
        delete item;
    }
}

TEST_F(ExtBars, AnImageIndexWithoutAnImageKeepsTheCaptionShown)
{
    auto* plain = AddItem<TExtItem>(L"Loop");
    auto* indexed = AddItem<TExtItem>(L"Loop");
    indexed->SetImageIndex(3); // the toolbar has no image list
    TBarItemViewer* viewer = ViewerOf(indexed);
    EXPECT_EQ(viewer->BoundsRect().Width(), ViewerOf(plain)->BoundsRect().Width());
    const auto [first, end] = InkColumns(PaintedViewer(bar, viewer), viewer->BoundsRect().Width());
    EXPECT_LT(first, end) << "no caption painted";
}
