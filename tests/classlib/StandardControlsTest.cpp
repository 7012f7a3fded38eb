#include "classlib/Form.h"
#include "classlib/ProgressBar.h"
#include "classlib/ScrollBar.h"
#include "classlib/StandardControls.h"
#include "support/MessageRecorder.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

// An edit made multi-line, as number edits are: the system reports no
// change for programmatic writes there.
class TMultiLineEdit : public TEdit
{
public:
    using TEdit::TEdit;

protected:
    void CreateParams(TCreateParams& params) override
    {
        TEdit::CreateParams(params);
        params.Style |= ES_MULTILINE;
    }
};

// A scroll bar whose thumb is being dragged to a chosen position.
class TDraggedScrollBar : public TScrollBar
{
public:
    using TScrollBar::TScrollBar;
    int Track = 0;

protected:
    int TrackPosition() override { return Track; }
};

class StandardControlsTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetBounds(30, 30, 400, 300);
    }
    template <class T> T* Make(int top = 0)
    {
        auto* control = new T(form);
        control->SetParent(form);
        control->SetTop(top);
        return control;
    }
};

TEST_F(StandardControlsTest, EditReportsEveryWriteOnceSingleLineOrMultiLine)
{
    auto* single = Make<TEdit>(0);
    auto* multi = Make<TMultiLineEdit>(30);
    std::vector<std::string> changes;
    single->OnChange = [&](TObject*) { changes.push_back("single " + single->Text()); };
    multi->OnChange = [&](TObject*) { changes.push_back("multi " + multi->Text()); };
    single->SetText("before the window");
    form->HandleNeeded();
    single->SetText("one");
    multi->SetText("two");
    multi->SetText("two");
    std::vector<std::string> expected = {"single before the window", "single one", "multi two"};
    EXPECT_EQ(changes, expected);

    changes.clear();
    SendMessageA(single->WindowHandle(), EM_SETSEL, 3, 3);
    SendMessageA(single->WindowHandle(), WM_CHAR, 'x', 1);
    EXPECT_EQ(changes, (std::vector<std::string>{"single onex"}));
}

TEST_F(StandardControlsTest, EditTextKeepsItsWindowAndAProgrammaticWriteIsAMessageSequence)
{
    auto* edit = Make<TEdit>();
    form->HandleNeeded();
    MessageRecorder chain(edit, {WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH, CM_TEXTCHANGED});
    MessageRecorder window(form->WindowHandle(), {WM_COMMAND});
    edit->SetText("abc");
    EXPECT_TRUE(chain.Matches({{WM_GETTEXTLENGTH, MessageOrigin::Sent},
                               Optional(WM_GETTEXT),
                               {WM_SETTEXT, MessageOrigin::Sent},
                               {CM_TEXTCHANGED, MessageOrigin::Sent}}));
    // The edit tells its parent, which reflects it back as CN_COMMAND.
    ASSERT_GE(window.Count(WM_COMMAND), 1);
    EXPECT_EQ(HIWORD(window.Messages().back().WParam), EN_CHANGE);
    chain.Clear();
    edit->SetText("abc");
    EXPECT_EQ(chain.Count(WM_SETTEXT), 0);
    EXPECT_EQ(chain.Count(CM_TEXTCHANGED), 0);
    char buffer[16] = {};
    GetWindowTextA(edit->WindowHandle(), buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "abc");
}

TEST_F(StandardControlsTest, EditLimitsCaseReadOnlyAndSelection)
{
    auto* edit = Make<TEdit>();
    edit->SetMaxLength(4);
    form->HandleNeeded();
    for (char c : std::string("abcdef"))
        SendMessageA(edit->WindowHandle(), WM_CHAR, c, 1);
    EXPECT_EQ(edit->Text(), "abcd");

    edit->SetCharCase(TEditCharCase::ecUpperCase);
    EXPECT_EQ(edit->Text(), "ABCD");
    EXPECT_EQ(edit->MaxLength(), 4);
    SendMessageA(edit->WindowHandle(), EM_SETSEL, 4, 4);
    SendMessageA(edit->WindowHandle(), WM_CHAR, VK_BACK, 1);
    SendMessageA(edit->WindowHandle(), WM_CHAR, 'z', 1);
    EXPECT_EQ(edit->Text(), "ABCZ");

    edit->SelectAll();
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 4);
    edit->SetSelStart(1);
    edit->SetSelLength(2);
    EXPECT_EQ(edit->SelText(), "BC");

    edit->SetReadOnly(true);
    SendMessageA(edit->WindowHandle(), WM_CHAR, 'q', 1);
    EXPECT_EQ(edit->Text(), "ABCZ");
    EXPECT_TRUE(GetWindowLongPtrA(edit->WindowHandle(), GWL_STYLE) & ES_READONLY);
}

TEST_F(StandardControlsTest, EditKeepsTextAndModifiedAcrossARecreate)
{
    auto* edit = Make<TEdit>();
    form->HandleNeeded();
    SendMessageA(edit->WindowHandle(), WM_CHAR, 'k', 1);
    EXPECT_TRUE(edit->Modified());
    edit->SetAlignment(TAlignment::taRightJustify);
    EXPECT_EQ(edit->Text(), "k");
    EXPECT_TRUE(edit->Modified());
    EXPECT_TRUE(GetWindowLongPtrA(edit->WindowHandle(), GWL_STYLE) & ES_RIGHT);
}

TEST_F(StandardControlsTest, EditCutAndPasteGoThroughTheClipboard)
{
    auto* source = Make<TEdit>(0);
    auto* target = Make<TEdit>(30);
    form->HandleNeeded();
    source->SetText("copy me");
    source->SetSelStart(5);
    source->SetSelLength(2);
    source->CutToClipboard();
    EXPECT_EQ(source->Text(), "copy ");
    target->PasteFromClipboard();
    EXPECT_EQ(target->Text(), "me");
    EXPECT_TRUE(target->CanUndo());
    target->Undo();
    EXPECT_EQ(target->Text(), "");
}

TEST_F(StandardControlsTest, ComboBoxKeepsItsClosedHeightAndDropsAList)
{
    auto* combo = Make<TComboBox>();
    for (int i = 0; i < 20; ++i)
        combo->Items()->Add("item " + std::to_string(i));
    form->Show();
    PumpMessages();
    int closed = combo->Height();
    combo->SetBounds(10, 10, 200, closed);
    EXPECT_EQ(combo->Height(), closed);
    EXPECT_EQ(combo->Width(), 200);
    int drops = 0;
    combo->OnDropDown = [&](TObject*) { ++drops; };
    combo->SetDroppedDown(true);
    EXPECT_TRUE(combo->DroppedDown());
    RECT dropped;
    SendMessageA(combo->WindowHandle(), CB_GETDROPPEDCONTROLRECT, 0,
                 reinterpret_cast<LPARAM>(&dropped));
    EXPECT_GT(dropped.bottom - dropped.top, closed * 3);
    combo->SetDroppedDown(false);
    EXPECT_EQ(drops, 1);
}

TEST_F(StandardControlsTest, CheckBoxClicksOnEveryStateChange)
{
    auto* box = Make<TCheckBox>();
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    form->HandleNeeded();
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(SendMessageA(box->WindowHandle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    SendMessageA(box->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 2);

    box->SetAllowGrayed(true);
    SendMessageA(box->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(box->State(), TCheckBoxState::cbGrayed);
    SendMessageA(box->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(box->State(), TCheckBoxState::cbChecked);
}

TEST_F(StandardControlsTest, RadioButtonsOfOneParentUncheckEachOther)
{
    auto* a = Make<TRadioButton>(0);
    auto* b = Make<TRadioButton>(20);
    auto* other = new TForm(nullptr);
    auto* elsewhere = new TRadioButton(other);
    elsewhere->SetParent(other);
    elsewhere->SetChecked(true);
    std::vector<std::string> clicks;
    a->OnClick = [&](TObject*) { clicks.push_back("a"); };
    b->OnClick = [&](TObject*) { clicks.push_back("b"); };
    form->HandleNeeded();
    a->SetChecked(true);
    SendMessageA(b->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(elsewhere->Checked());
    EXPECT_EQ(clicks, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SendMessageA(a->WindowHandle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(a->TabStop());
    EXPECT_TRUE(b->TabStop());
    delete other;
}

TEST_F(StandardControlsTest, ComboBoxItemsLiveInTheWindowAndSurviveARecreate)
{
    auto* combo = Make<TComboBox>();
    combo->SetStyle(TComboBoxStyle::csDropDownList);
    combo->Items()->Add("zero");
    combo->Items()->AddObject("one", reinterpret_cast<TObject*>(combo));
    combo->SetItemIndex(1);
    form->HandleNeeded();
    EXPECT_EQ(SendMessageA(combo->WindowHandle(), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "one");
    EXPECT_EQ(combo->Items()->Objects(1), combo);
    combo->Items()->Insert(0, "first");
    EXPECT_EQ(combo->Items()->Strings(0), "first");
    EXPECT_EQ(combo->Items()->IndexOf("ONE"), 2);

    int selects = 0;
    combo->OnChange = [&](TObject*) { ++selects; };
    SendMessageA(combo->WindowHandle(), CB_SETCURSEL, 2, 0);
    SendMessageA(form->WindowHandle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo->WindowHandle()));
    EXPECT_EQ(selects, 1);

    combo->SetSorted(true);
    EXPECT_EQ(combo->Items()->Count(), 3);
    EXPECT_EQ(combo->Items()->Strings(0), "first");
    EXPECT_EQ(combo->Items()->Strings(1), "one");
    EXPECT_EQ(combo->Items()->Objects(1), combo);
    EXPECT_EQ(combo->Text(), "one");
    EXPECT_THROW(combo->Items()->Strings(5), EStringListError);
    combo->Items()->Clear();
    EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(StandardControlsTest, ButtonClickSetsTheFormsModalResultAndRunsItsAction)
{
    auto* button = Make<TButton>();
    button->SetModalResult(mrYes);
    auto* action = new TAction(form);
    action->SetCaption("Do it");
    int executed = 0;
    action->OnExecute = [&](TObject*) { ++executed; };
    button->SetAction(action);
    EXPECT_EQ(button->Caption(), "Do it");
    form->HandleNeeded();
    SendMessageA(button->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->ModalResult(), mrYes);
    EXPECT_EQ(executed, 1);
    action->SetEnabled(false);
    EXPECT_FALSE(button->Enabled());
    EXPECT_FALSE(IsWindowEnabled(button->WindowHandle()));
    action->SetCaption("Changed");
    EXPECT_EQ(button->Caption(), "Changed");
    // Every change of the action copies all its properties again.
    button->SetCaption("Own");
    action->SetHint("hint");
    EXPECT_EQ(button->Caption(), "Changed");
    EXPECT_EQ(button->Hint(), "hint");
    delete action;
    EXPECT_EQ(button->Action(), nullptr);
}

TEST_F(StandardControlsTest, ScrollBarUsesThirtyTwoBitPositionsAndMovesItsThumb)
{
    auto* bar = Make<TDraggedScrollBar>();
    bar->SetParams(0, 0, 1000000);
    bar->SetPageSize(1000);
    bar->SetLargeChange(5000);
    std::vector<int> changes;
    bar->OnChange = [&](TObject*) { changes.push_back(bar->Position()); };
    form->HandleNeeded();
    auto scroll = [&](WORD code, WORD sixteenBits = 0) {
        SendMessageA(form->WindowHandle(), WM_HSCROLL, MAKEWPARAM(code, sixteenBits),
                     reinterpret_cast<LPARAM>(bar->WindowHandle()));
    };
    bar->Track = 700000;
    scroll(SB_THUMBTRACK, 700000 & 0xFFFF);
    EXPECT_EQ(bar->Position(), 700000);
    EXPECT_EQ(GetScrollPos(bar->WindowHandle(), SB_CTL), 700000);
    scroll(SB_PAGEDOWN);
    EXPECT_EQ(bar->Position(), 705000);
    scroll(SB_BOTTOM);
    EXPECT_EQ(bar->Position(), 999001);
    EXPECT_EQ(bar->MaxPosition(), 999001);
    bar->OnScroll = [](TObject*, TScrollCode code, int& position) {
        if (code == TScrollCode::scLineUp)
            position = 42;
    };
    scroll(SB_LINEUP);
    EXPECT_EQ(bar->Position(), 42);
    scroll(SB_ENDSCROLL);
    EXPECT_EQ(changes, (std::vector<int>{700000, 705000, 999001, 42}));
    bar->SetPosition(-5);
    EXPECT_EQ(bar->Position(), 0);
}

TEST_F(StandardControlsTest, ScrollBarSetsTheWindowWheneverItDiffersFromTheBar)
{
    auto* bar = Make<TScrollBar>();
    form->HandleNeeded();
    bar->SetParams(10, 0, 100);
    bar->SetPageSize(20);
    auto shown = [&] {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        GetScrollInfo(bar->WindowHandle(), SB_CTL, &info);
        return std::vector<int>{info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
    };
    EXPECT_EQ(shown(), (std::vector<int>{0, 100, 20, 10}));
    bar->SetParams(10, 0, 100); // nothing new
    EXPECT_EQ(shown(), (std::vector<int>{0, 100, 20, 10}));
    // Moved behind the bar's back, the window is set again by the same values.
    SetScrollPos(bar->WindowHandle(), SB_CTL, 50, TRUE);
    bar->SetPosition(10);
    EXPECT_EQ(shown(), (std::vector<int>{0, 100, 20, 10}));
    bar->SetPageSize(30);
    bar->SetParams(60, 0, 200);
    EXPECT_EQ(shown(), (std::vector<int>{0, 200, 30, 60}));
    // Range, page and position at once: one set, the position clamped
    // against the new page, the page against the new range.
    MessageRecorder sets(bar->WindowHandle(), {SBM_SETSCROLLINFO});
    bar->SetParams(999, 0, 400, 100);
    EXPECT_EQ(shown(), (std::vector<int>{0, 400, 100, 301}));
    EXPECT_EQ(sets.Count(SBM_SETSCROLLINFO), 1);
    bar->SetParams(5, 0, 10, 50);
    EXPECT_EQ(shown(), (std::vector<int>{0, 10, 11, 0}));
    EXPECT_EQ(bar->PageSize(), 11);
    EXPECT_EQ(bar->Position(), 0);
}

TEST_F(StandardControlsTest, ScrollBarChangesAreDueToPaintAndLeaveTheBarShownOrHidden)
{
    auto* bar = Make<TScrollBar>();
    form->Show();
    struct Case
    {
        const char* name;
        bool hidden;
        std::function<void()> change;
        std::vector<int> shown; // min, max, page, position afterwards
        bool enabled;
    };
    const Case cases[] = {
        {"range and position", false, [&] { bar->SetParams(40, 0, 300); }, {0, 300, 0, 40}, true},
        {"page", false, [&] { bar->SetPageSize(50); }, {0, 300, 50, 40}, true},
        {"disabled", false, [&] { bar->SetEnabled(false); }, {0, 300, 50, 40}, false},
        {"enabled", false, [&] { bar->SetEnabled(true); }, {0, 300, 50, 40}, true},
        {"hidden, range", true, [&] { bar->SetParams(5, 0, 90); }, {0, 90, 50, 5}, true},
        {"hidden, page", true, [&] { bar->SetPageSize(10); }, {0, 90, 10, 5}, true},
        {"hidden, disabled", true, [&] { bar->SetEnabled(false); }, {0, 90, 10, 5}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bar->SetVisible(!c.hidden);
        UpdateWindow(form->WindowHandle());
        UpdateWindow(bar->WindowHandle());
        c.change();
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        GetScrollInfo(bar->WindowHandle(), SB_CTL, &info);
        EXPECT_EQ((std::vector<int>{info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos}),
                  c.shown);
        EXPECT_EQ(IsWindowEnabled(bar->WindowHandle()) != FALSE, c.enabled);
        EXPECT_EQ(IsWindowVisible(bar->WindowHandle()) != FALSE, !c.hidden);
        // A bar on the screen shows the change with the next paint.
        if (!c.hidden) {
            EXPECT_TRUE(GetUpdateRect(bar->WindowHandle(), nullptr, FALSE));
        }
    }
}

TEST_F(StandardControlsTest, ProgressBarClampsAndReachesTheWindow)
{
    auto* bar = Make<TProgressBar>();
    bar->SetMax(100000);
    bar->SetPosition(70000);
    form->HandleNeeded();
    EXPECT_EQ(SendMessageA(bar->WindowHandle(), PBM_GETPOS, 0, 0), 70000);
    bar->SetPosition(200000);
    EXPECT_EQ(bar->Position(), 100000);
    bar->SetMin(10);
    bar->SetPosition(0);
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_EQ(SendMessageA(bar->WindowHandle(), PBM_GETRANGE, TRUE, 0), 10);
}

} // namespace

namespace {

// A button that paints itself, as the themed buttons do.
class TDrawnButton : public TButton
{
public:
    using TButton::TButton;
    int Drawn = 0;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == CN_DRAWITEM) {
            ++Drawn;
            m.Result = 1;
            return;
        }
        TButton::WndProc(m);
    }

protected:
    void CreateParams(TCreateParams& params) override
    {
        TButton::CreateParams(params);
        params.Style = (params.Style & ~BS_TYPEMASK) | BS_OWNERDRAW;
    }
};

TEST_F(StandardControlsTest, AnOwnerDrawnButtonPaintsThroughTheReflectedDrawItem)
{
    auto* button = Make<TDrawnButton>();
    button->SetDefault(true);
    form->Show();
    PumpMessages();
    InvalidateRect(button->WindowHandle(), nullptr, TRUE);
    UpdateWindow(button->WindowHandle());
    EXPECT_GE(button->Drawn, 1);
    EXPECT_EQ(GetWindowLongPtrA(button->WindowHandle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

} // namespace
