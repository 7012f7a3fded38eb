// Themed edit items: what the theme is asked to paint in toolbars and
// menus, the drop-down and spin buttons' state, the spin halves and their
// repeat timer (driven by sending WM_TIMER), F4 on a drop-down box, and the
// editor taking the item's settings.
#include "RecordingTheme.h"
#include "SkinTestHost.h"

#include "themes/SkinExtItems.h"

#include "classlib/Graphics.h"
#include "support/FormFixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

using namespace theme_testing;
using namespace testing_support;

namespace {

// An edit item showing the box viewer V.
template <class V> class TTestBoxItem : public TSkinEditItem
{
public:
    explicit TTestBoxItem(bool opensPopup = false) : TSkinEditItem(nullptr)
    {
        SetEditWidth(80);
        if (opensPopup)
            SetItemTraits(ItemTraits() | OpensPopup);
    }

protected:
    TBarItemViewerClass BoxViewerClass() override { return NewBarViewer<V>; }
};

enum class Box
{
    Edit,
    DropDown,
    Spin
};

TSkinEditItem* MakeItem(Box kind)
{
    switch (kind) {
    case Box::DropDown:
        return new TTestBoxItem<TSkinDropDownItemViewer>;
    case Box::Spin:
        return new TTestBoxItem<TSkinSpinEditViewer>;
    default:
        return new TTestBoxItem<TSkinEditItemViewer>;
    }
}

class ThemedEditItems : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        RecordingThemeAnswers().Metrics[60] = 3;
        RecordingThemeAnswers().Metrics[61] = 1;
        RecordingThemeAnswers().Metrics[62] = 2;
        RecordingThemeAnswers().Metrics[65] = 15;
    }
    void TearDown() override
    {
        FreeAndNil(host);
        FormFixture::TearDown();
    }
    TSkinEditItemViewer* Show(TBarCustomItem* item, bool toolbar)
    {
        host = new ThemedViewHost(form, toolbar, toolbar ? vkToolbar : vkPopupMenu);
        host->Root()->Add(item);
        host->View()->EnsureLayout();
        return dynamic_cast<TSkinEditItemViewer*>(host->View()->Find(item));
    }
    // Paints viewer on a sheet of its size and answers the calls made.
    std::vector<ThemeCall> PaintCalls(TSkinEditItemViewer* viewer, bool selected, bool pushed)
    {
        TRecordingTheme* theme = UseRecordingTheme();
        theme->Calls.clear();
        const TRect b = viewer->BoundsRect();
        TBitmap sheet;
        sheet.SetSize(b.Width(), b.Height());
        viewer->Paint(sheet.Canvas(), TRect(0, 0, b.Width(), b.Height()), selected, pushed, false);
        return theme->Calls;
    }
    static int Y(TSkinEditItemViewer* viewer, bool upper)
    {
        return upper ? 2 : viewer->BoundsRect().Height() - 3;
    }
    static int ButtonX(TSkinEditItemViewer* viewer) { return viewer->BoundsRect().Width() - 4; }

    ThemedViewHost* host = nullptr; // owned
};

std::vector<std::string> SlotsOf(const std::vector<ThemeCall>& calls)
{
    std::vector<std::string> slots;
    for (const ThemeCall& c : calls)
        slots.push_back(c.Slot);
    return slots;
}

} // namespace

TEST_F(ThemedEditItems, PaintsItsPartsThroughTheTheme)
{
    const int menuButton = GetSystemMetrics(SM_CXMENUCHECK) + 2;
    struct Case
    {
        Box kind;
        bool toolbar;
        std::vector<std::string> slots;
        int buttonWidth;
    };
    const Case cases[] = {
        {Box::Edit, true, {"DrawEditField"}, 0},
        {Box::DropDown, true, {"DrawEditField", "DrawEditSpinParts"}, 15},
        {Box::Spin, true, {"DrawEditField", "DrawEditSpinParts"}, 15},
        {Box::Edit, false, {"DrawMenuEntryHot", "DrawItemText", "DrawEditField"}, 0},
        {Box::Spin,
         false,
         {"DrawMenuEntryHot", "DrawItemText", "DrawEditField", "DrawEditSpinParts"},
         menuButton},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.kind) << " toolbar " << c.toolbar);
        TSkinEditItem* item = MakeItem(c.kind);
        item->SetEditCaption("Find:");
        TSkinEditItemViewer* viewer = Show(item, c.toolbar);
        ASSERT_NE(viewer, nullptr);
        const std::vector<ThemeCall> calls = PaintCalls(viewer, true, false);
        EXPECT_EQ(SlotsOf(calls), c.slots);
        const TRect field = calls[c.slots.size() - (c.buttonWidth ? 2 : 1)].Rect;
        EXPECT_EQ(field.Width(), 80) << "the box is EditWidth wide";
        EXPECT_EQ(field.bottom, viewer->BoundsRect().Height());
        if (c.buttonWidth) {
            const TRect buttons = calls.back().Rect;
            EXPECT_EQ(buttons.Width(), c.buttonWidth);
            EXPECT_EQ(buttons.right, field.right - 2) << "inside the frame";
            EXPECT_EQ(buttons.top, field.top + 2);
            TRect editor;
            viewer->EditorBounds(editor);
            EXPECT_EQ(editor.right - viewer->BoundsRect().left, buttons.left)
                << "the editor ends at the buttons";
        }
        if (!c.toolbar) {
            EXPECT_EQ(calls[1].Text, L"Find:");
            EXPECT_EQ(calls[1].Color, clNone) << "the theme's item text colour";
            EXPECT_LT(calls[1].Rect.right, field.left);
        }
        FreeAndNil(host);
    }
}

TEST_F(ThemedEditItems, ButtonsShowTheItemsState)
{
    struct Case
    {
        Box kind;
        bool enabled, selected, pushed;
        int held; // spin half pressed first: 1 upper, -1 lower
        DWORD first, second;
    };
    const Case cases[] = {
        {Box::DropDown, true, false, false, 0, 0, 0},
        {Box::DropDown, true, true, false, 0, sebHot, 0},
        {Box::DropDown, true, true, true, 0, sebHot | sebPushed, 0},
        {Box::DropDown, false, false, false, 0, sebDisabled, 0},
        {Box::Spin, true, true, false, 1, sebHot | sebPushed, sebHot},
        {Box::Spin, true, true, false, -1, sebHot, sebHot | sebPushed},
        {Box::Spin, true, true, true, 0, sebHot, sebHot},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.kind) << " held " << c.held);
        TSkinEditItem* item = MakeItem(c.kind);
        item->SetEnabled(c.enabled);
        TSkinEditItemViewer* viewer = Show(item, true);
        ASSERT_NE(viewer, nullptr);
        if (c.held) {
            bool onMenu = false;
            viewer->MouseDown(0, ButtonX(viewer), Y(viewer, c.held > 0), onMenu);
        }
        const std::vector<ThemeCall> calls = PaintCalls(viewer, c.selected, c.pushed);
        ASSERT_EQ(calls.back().Slot, "DrawEditSpinParts");
        const TSkinEditButtonsInfo& b = calls.back().Buttons;
        EXPECT_EQ(b.Kind,
                  c.kind == Box::Spin ? TSkinEditButtonKind::Spin : TSkinEditButtonKind::DropDown);
        EXPECT_EQ(b.Flags[0], c.first);
        EXPECT_EQ(b.Flags[1], c.second);
        viewer->MouseUp(ButtonX(viewer), 2, false);
        FreeAndNil(host);
    }
}

TEST_F(ThemedEditItems, SpinHalvesStepAtOnceThenRepeatWhileHeld)
{
    TSkinEditItem* item = MakeItem(Box::Spin);
    item->SetText("5");
    auto* viewer = static_cast<TSkinSpinEditViewer*>(Show(item, true));
    ASSERT_NE(viewer, nullptr);
    auto tick = [&] { SendMessageA(viewer->TimerWindow(), WM_TIMER, 1, 0); };
    bool onMenu = false;

    viewer->MouseDown(0, ButtonX(viewer), Y(viewer, true), onMenu);
    EXPECT_EQ(item->Text(), "6");
    EXPECT_EQ(viewer->TimerInterval(), 400u);
    tick();
    EXPECT_EQ(item->Text(), "7");
    EXPECT_EQ(viewer->TimerInterval(), 100u);
    tick();
    EXPECT_EQ(item->Text(), "8");
    viewer->MouseUp(ButtonX(viewer), Y(viewer, true), false);
    EXPECT_EQ(viewer->TimerInterval(), 0u);
    EXPECT_EQ(viewer->HeldHalf(), 0);
    tick();
    EXPECT_EQ(item->Text(), "8") << "a late tick after release";

    viewer->MouseDown(0, ButtonX(viewer), Y(viewer, false), onMenu);
    EXPECT_EQ(item->Text(), "7");
    tick();
    EXPECT_EQ(item->Text(), "6");
    viewer->LosingCapture();
    EXPECT_EQ(viewer->TimerInterval(), 0u);
    EXPECT_EQ(viewer->HeldHalf(), 0);
}

TEST_F(ThemedEditItems, SpinStepsOnlyWhatItMay)
{
    struct Case
    {
        const char* text;
        bool enabled, readOnly;
        WORD key;
        const char* after;
    };
    const Case cases[] = {
        {"5", true, false, VK_UP, "6"},
        {"5", true, false, VK_DOWN, "4"},
        {"abc", true, false, VK_UP, "1"},
        {"2147483647", true, false, VK_UP, "2147483647"},
        {"-2147483648", true, false, VK_DOWN, "-2147483648"},
        {"5", true, true, VK_UP, "5"},
        {"5", false, false, VK_UP, "5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TSkinEditItem* item = MakeItem(Box::Spin);
        item->SetText(c.text);
        item->SetReadOnly(c.readOnly);
        item->SetEnabled(c.enabled);
        auto* viewer = static_cast<TSkinSpinEditViewer*>(Show(item, true));
        ASSERT_NE(viewer, nullptr);
        WORD key = c.key;
        viewer->KeyDown(key, 0);
        EXPECT_EQ(key, 0) << "taken";
        EXPECT_EQ(item->Text(), c.after) << "key";
        item->SetText(c.text);
        bool onMenu = false;
        viewer->MouseDown(0, ButtonX(viewer), Y(viewer, c.key == VK_UP), onMenu);
        EXPECT_EQ(item->Text(), c.after) << "mouse";
        if (!c.enabled) {
            EXPECT_EQ(viewer->TimerInterval(), 0u) << "no repeat on a disabled item";
        }
        viewer->MouseUp(ButtonX(viewer), 2, false);
        FreeAndNil(host);
    }
}

TEST_F(ThemedEditItems, F4OpensAndShutsTheDropDownsPopupAsAnEditPopup)
{
    auto* item = new TTestBoxItem<TSkinDropDownItemViewer>(true);
    AddSkinItem(item, "One");
    TSkinEditItemViewer* viewer = Show(item, true);
    ASSERT_NE(viewer, nullptr);
    form->Show();
    TBarView* view = host->View();
    WORD key = VK_F4;
    viewer->KeyDown(key, 0);
    EXPECT_EQ(key, 0);
    ASSERT_EQ(view->OpenViewer(), viewer);
    auto* popup = dynamic_cast<TSkinPopupWindow*>(view->OpenPopupWindow());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->ViewKind(), static_cast<DWORD>(vkEditPopup));
    key = VK_F4;
    viewer->KeyDown(key, 0);
    EXPECT_EQ(view->OpenPopupWindow(), nullptr);
    key = 'A';
    viewer->KeyDown(key, 0);
    EXPECT_EQ(key, 'A') << "other keys are left to the view";
    EXPECT_TRUE(static_cast<TSkinDropDownItemViewer*>(viewer)->OnButtonPart(ButtonX(viewer)));
    EXPECT_FALSE(static_cast<TSkinDropDownItemViewer*>(viewer)->OnButtonPart(10));
}

TEST_F(ThemedEditItems, TheEditorTakesTheItemsSettingsAndTellsItsChanges)
{
    TSkinEditItem* item = MakeItem(Box::Spin);
    item->SetText("old");
    item->SetPasswordChar('*');
    item->SetReadOnly(true);
    item->SetAlignment(TAlignment::taRightJustify);
    item->EditorFontSettings()->SetSize(200);
    TSkinEditItemViewer* viewer = Show(item, true);
    ASSERT_NE(viewer, nullptr);
    form->Show();
    std::vector<AnsiString> changes;
    item->OnChange = [&](TObject* sender, const AnsiString& text) {
        EXPECT_EQ(sender, item);
        changes.push_back(text);
    };
    int viewFontSize = host->View()->GetFont()->Size();
    item->OnBeginEdit = [&](TBarEditItem*, TBarEditItemViewer*, TEdit* edit) {
        EXPECT_NE(dynamic_cast<TSkinEdit*>(edit), nullptr);
        EXPECT_EQ(edit->PasswordChar(), '*');
        EXPECT_TRUE(edit->ReadOnly());
        EXPECT_EQ(edit->Alignment(), TAlignment::taRightJustify);
        EXPECT_EQ(edit->Font()->Size(), viewFontSize * 2);
        edit->SetText("typed");
        PostMessageA(edit->WindowHandle(), WM_CHAR, VK_ESCAPE, 0);
    };
    EXPECT_TRUE(viewer->RunInlineEditor());
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), "typed");
    EXPECT_EQ(item->Text(), "old") << "Escape keeps the old text";
}
