#include "WideTestControls.h"

#include "support/WindowDriver.h"
#include "unicode/UniForms.h"
#include "unicode/UniStartup.h"

#include "classlib/Application.h"
#include "classlib/WideText.h"

#include <gtest/gtest.h>

namespace {

using testing_support::PumpMessages;
using unicode_testing::TWideEdit;
using unicode_testing::WindowText;

const WideString kOutside = L"\uAC00\u20AC\u301C";

// Shown without taking the activation (the focus) from other suites' windows.
void ShowQuietly(TCustomForm& form)
{
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    PumpMessages();
}

// A Unicode form that notes the wide hints that reach it.
class THintListeningForm : public TUniForm
{
public:
    using TUniForm::TUniForm;
    std::vector<WideString> Hints;

    void WndProc(TMessage& m) override
    {
        if (m.Msg == CM_ACTIONEXECUTE) {
            if (auto* action =
                    dynamic_cast<TUniHintAction*>(reinterpret_cast<TBasicAction*>(m.LParam))) {
                Hints.push_back(action->GetHint());
                m.Result = 1;
                return;
            }
        }
        TUniForm::WndProc(m);
    }
};

TEST(UniFormsTest, AUnicodeFormShowsAndReturnsItsCaption)
{
    TUniForm form(nullptr);
    form.SetCaption(kOutside);
    ShowQuietly(form);
    ASSERT_TRUE(IsWindowUnicode(form.WindowHandle()));
    EXPECT_EQ(WindowText(form.WindowHandle()), kOutside);
    EXPECT_EQ(form.GetCaption(), kOutside);
    EXPECT_EQ(form.Caption(), WideToAnsi(kOutside));
}

TEST(UniFormsTest, TheApplicationsWideHintReachesTheForms)
{
    THintListeningForm form(nullptr);
    ShowQuietly(form);
    UniApplication->SetHint(kOutside);
    EXPECT_EQ(Application->Hint(), WideToAnsi(kOutside));
    EXPECT_EQ(UniApplication->Hint(), kOutside);
    ASSERT_FALSE(form.Hints.empty());
    EXPECT_EQ(form.Hints.back(), kOutside);
    // ANSI-only code wins over a stale wide hint.
    Application->SetHint("plain");
    EXPECT_EQ(UniApplication->Hint(), L"plain");
    EXPECT_EQ(form.Hints.back(), L"plain");
    UniApplication->SetHint(L"");
}

TEST(UniFormsTest, TheApplicationTitleIsWide)
{
    const AnsiString before = Application->Title();
    UniApplication->SetTitle(kOutside);
    EXPECT_EQ(WindowText(Application->Handle()), kOutside);
    EXPECT_EQ(Application->Title(), WideToAnsi(kOutside));
    Application->SetTitle(before);
    EXPECT_EQ(UniApplication->Title(), AnsiToWide(before));
}

TEST(UniFormsTest, HintTextIsChosenFromTheAnsiCaption)
{
    const WideString hint = L"\uAC00 \u8868|long text";
    const AnsiString ansiShort = WideToAnsi(L"\uAC00 \u8868");
    const TShortCut ctrlA = ShortCut('A', ssCtrl);
    struct Case
    {
        const char* what;
        AnsiString caption;
        bool hintShortCuts;
        TShortCut shortCut;
        WideString shown;
    };
    const Case cases[] = {
        {"short hint", ansiShort, true, scNone, L"\uAC00 \u8868"},
        {"with shortcut", ansiShort + " (Ctrl+A)", true, ctrlA, L"\uAC00 \u8868 (Ctrl+A)"},
        {"shortcuts off", ansiShort + " (Ctrl+A)", false, ctrlA,
         AnsiToWide(ansiShort + " (Ctrl+A)")},
        {"another text", "other", true, ctrlA, L"other"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WideHintText(c.caption, hint, ansiShort, c.hintShortCuts, c.shortCut), c.shown)
            << c.what;
}

TEST(UniFormsTest, AWideControlsHintShowsInAUnicodeHintWindow)
{
    TUniForm form(nullptr);
    auto* edit = new TWideEdit(&form);
    edit->SetParent(&form);
    edit->SetShowHint(true);
    SetControlWideHint(edit, L"\uAC00\u301C|long");
    ShowQuietly(form);
    SetMouseControl(edit);
    Application->ActivateHint(edit->ClientToScreen(TPoint(2, 2)));
    auto* window = dynamic_cast<TUniCustomHintWindow*>(Application->HintWindow());
    ASSERT_TRUE(window);
    EXPECT_TRUE(IsWindowUnicode(window->WindowHandle()));
    EXPECT_EQ(ControlWideText(window), L"\uAC00\u301C");
    Application->CancelHint();
    SetMouseControl(nullptr);
}

TEST(UniFormsTest, StartsAndStopsAreCounted)
{
    TUniApplication* running = UniApplication;
    ASSERT_TRUE(running);
    UnicodeStartup();
    EXPECT_EQ(UniApplication, running);
    UnicodeShutdown();
    EXPECT_EQ(UniApplication, running);
}

} // namespace
