// Edit items: their text rules and actions, and the inline editor driven
// from inside its loop on a real toolbar.
#include "BarTestHost.h"
#include "DockTestHost.h"

#include "toolbar/BarExtItems.h"
#include "toolbar/BarToolbar.h"

#include "support/ModalScript.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

using namespace bar_testing;
using namespace testing_support;

namespace {

TEST(BarEditItemText, TheCaseRuleAndTheAcceptEventShapeWhatIsStored)
{
    TBarEditItem item(nullptr);
    struct TRecording : TBarEditItem
    {
        using TBarEditItem::TBarEditItem;
        std::vector<TBarTextChangeReason> Reasons;
        void TextWasChanged(TBarTextChangeReason Reason) override { Reasons.push_back(Reason); }
    } recording(nullptr);
    recording.SetCharCase(TEditCharCase::ecUpperCase);
    recording.SetText("abc");
    EXPECT_EQ(recording.Text(), "ABC");
    recording.SetText("ABC");
    EXPECT_EQ(recording.Reasons.size(), 1u) << "the same text is no change";
    recording.SetCharCase(TEditCharCase::ecLowerCase);
    EXPECT_EQ(recording.Text(), "abc") << "a new case converts the text";

    struct
    {
        const char* what;
        bool accept;
        const char* replacement; // null: keep what was typed
        bool accepted;
        const char* stored;
    } const cases[] = {
        {"accepted", true, nullptr, true, "typed"},
        {"refused", false, nullptr, false, "old"},
        {"changed by the handler", true, "changed", true, "changed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        item.SetText("old");
        item.OnAcceptText = TBarAcceptTextEvent([&c](TObject*, AnsiString& text, bool& accept) {
            accept = c.accept;
            if (c.replacement)
                text = c.replacement;
        });
        AnsiString text = "typed";
        const bool accepted = item.AcceptEnteredText(text);
        EXPECT_EQ(accepted, c.accepted);
        if (accepted)
            item.AssignTextWithReason(text, TBarTextChangeReason::EditControl);
        EXPECT_EQ(item.Text(), c.stored);
    }
}

TEST(BarEditItemText, ItemsTakeTheEditPropertiesOfTheirAction)
{
    TBarEditAction action(nullptr);
    action.SetText("shared");
    action.SetEditCaption("Find:");
    int accepted = 0;
    action.SetOnAcceptText(
        TBarAcceptTextEvent([&accepted](TObject*, AnsiString&, bool&) { ++accepted; }));
    TBarEditItem item(nullptr);
    item.SetAction(&action);
    EXPECT_EQ(item.Text(), "shared");
    EXPECT_EQ(item.EditCaption(), "Find:");
    AnsiString text = "x";
    item.AcceptEnteredText(text);
    EXPECT_EQ(accepted, 1) << "the action's accept handler";

    action.SetText("next");
    action.SetEditWidth(90);
    action.SetEditOptions(tboUseEditWhenVertical);
    EXPECT_EQ(item.Text(), "next");
    EXPECT_EQ(item.EditWidth(), 90);
    EXPECT_EQ(item.EditOptions(), tboUseEditWhenVertical);
    item.SetAction(nullptr);
}

class BarEditItemTest : public DockFormTest
{
protected:
    void SetUp() override
    {
        DockFormTest::SetUp();
        SetCursorPos(1270, 1010);
        PostMessageA(nullptr, WM_NULL, 0, 0);
        PumpMessages();
        bar = new TBarCustomToolbar(form);
        bar->SetName("Tools");
        before = Watched("&Before");
        edit = new TBarEditItem(nullptr);
        edit->SetText("old");
        edit->OnAcceptText = TBarAcceptTextEvent(
            [this](TObject*, AnsiString& text, bool&) { events.push_back("accept " + text); });
        edit->OnClick = TNotifyEvent([this](TObject*) { events.push_back("click edit"); });
        bar->Items()->Add(edit);
        after = Watched("&After");
        bar->SetCurrentDock(top);
        PumpMessages();
    }
    TBarCustomItem* Watched(const char* caption)
    {
        TBarCustomItem* item = AddItem(bar->Items(), caption);
        item->OnSelect =
            TBarSelectEvent([this, caption](TBarCustomItem*, TBarItemViewer*, bool selecting) {
                if (selecting)
                    events.push_back(std::string("select ") + caption);
            });
        return item;
    }
    TBarEditItemViewer* Viewer() const
    {
        return dynamic_cast<TBarEditItemViewer*>(bar->View()->Find(edit));
    }
    // Starts editing with a press on the box, inside the script's loop.
    void PressOnTheBox(ModalScript& script)
    {
        const TRect r = Viewer()->BoundsRect();
        script.Run([&] {
            bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON,
                         MAKELPARAM(r.left + r.Width() / 2, r.top + r.Height() / 2));
        });
    }
    std::function<bool()> Editing()
    {
        return [this] { return Viewer()->EditControl() != nullptr; };
    }
    // Types into the editor, as the keyboard would.
    void Type(const char* text)
    {
        HWND editor = Viewer()->EditControl()->WindowHandle();
        for (const char* p = text; *p; ++p)
            PostMessageA(editor, WM_CHAR, static_cast<BYTE>(*p), 1);
    }

    TBarCustomToolbar* bar = nullptr;
    TBarCustomItem* before = nullptr;
    TBarEditItem* edit = nullptr;
    TBarCustomItem* after = nullptr;
    std::vector<std::string> events;
};

TEST_F(BarEditItemTest, EnterAcceptsTheTextAndClicksTheItem)
{
    ModalScript script;
    script.WaitUntil(Editing(), "the editor opens").Then([&] {
        EXPECT_EQ(GetFocus(), Viewer()->EditControl()->WindowHandle());
        Type("new\r");
    });
    PressOnTheBox(script);
    PumpMessages();
    EXPECT_EQ(edit->Text(), "new");
    EXPECT_EQ(events, (std::vector<std::string>{"accept new", "click edit"}));
    EXPECT_EQ(Viewer()->EditControl(), nullptr);
}

TEST_F(BarEditItemTest, EscapeKeepsTheTextAndFiresNothing)
{
    ModalScript script;
    script.WaitUntil(Editing(), "the editor opens").Then([&] { Type("xyz\x1b"); });
    PressOnTheBox(script);
    PumpMessages();
    EXPECT_EQ(edit->Text(), "old");
    EXPECT_TRUE(events.empty());
}

TEST_F(BarEditItemTest, TabAcceptsAndSelectsTheNextItemShiftTabThePrevious)
{
    struct
    {
        bool shift;
        const char* selected;
    } const cases[] = {{false, "select &After"}, {true, "select &Before"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        events.clear();
        ScopedKeyState keys(c.shift ? std::initializer_list<int>{VK_SHIFT}
                                    : std::initializer_list<int>{});
        ModalScript script;
        script.WaitUntil(Editing(), "the editor opens")
            .Then([&] { Type("tab\t"); })
            .WaitUntil([&] { return !Viewer()->EditControl(); }, "the editor closes")
            .Then([] { ModalScript::PressKey(VK_ESCAPE); });
        PressOnTheBox(script);
        EXPECT_EQ(edit->Text(), "tab");
        EXPECT_EQ(events, (std::vector<std::string>{"accept tab", c.selected}));
    }
}

TEST_F(BarEditItemTest, AClickElsewhereAcceptsAModifiedText)
{
    const POINT elsewhere = ScreenPointOf(form->Handle(), 300, 300);
    ModalScript script;
    script.WaitUntil(Editing(), "the editor opens").Then([&] { Type("clicked"); }).Then([&] {
        ModalScript::Click(elsewhere);
    });
    PressOnTheBox(script);
    PumpMessages();
    EXPECT_EQ(edit->Text(), "clicked");
    EXPECT_EQ(events, std::vector<std::string>{"accept clicked"});
}

TEST_F(BarEditItemTest, AQuitEndsEditingAndIsPostedAgain)
{
    ModalScript script;
    script.WaitUntil(Editing(), "the editor opens").Then([] { PostQuitMessage(7); });
    PressOnTheBox(script);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(Viewer()->EditControl(), nullptr);
    EXPECT_EQ(edit->Text(), "old");
}

TEST_F(BarEditItemTest, AToolbarFreedWhileEditingEndsTheEditorSafely)
{
    TBarEditItemViewer* viewer = Viewer();
    bool alive = true;
    ModalScript script;
    script.WaitUntil(Editing(), "the editor opens").Then([&] {
        Type("gone");
        delete bar;
        bar = nullptr;
    });
    script.Run([&] { alive = viewer->RunInlineEditor(); });
    EXPECT_FALSE(alive);
    PumpMessages();
}

TEST_F(BarEditItemTest, AVerticalToolbarShowsTheItemAsAButtonUnlessAsked)
{
    bar->SetCurrentDock(left);
    PumpMessages();
    EXPECT_EQ(Viewer(), nullptr);
    edit->SetEditOptions(tboUseEditWhenVertical);
    bar->View()->EnsureLayout();
    EXPECT_NE(Viewer(), nullptr);
}

} // namespace
