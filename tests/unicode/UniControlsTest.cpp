#include "WideTestControls.h"

#include "support/WindowDriver.h"
#include "unicode/UniForms.h"
#include "unicode/UniSysUtils.h"

#include "classlib/Application.h"
#include "classlib/WideText.h"

#include <gtest/gtest.h>

namespace {

using testing_support::PumpMessages;
using unicode_testing::TWideEdit;
using unicode_testing::TWideLabel;
using unicode_testing::WindowText;

// Hangul, the euro sign and the wave dash: none has a form in code page 932.
const WideString kOutside = L"\uAC00\u20AC\u301C";

using UniControlsTest = unicode_testing::WideEditFixture;

TEST_F(UniControlsTest, ControlsOfOneClassShareOneUnicodeClass)
{
    TWideEdit* first = NewEdit();
    TWideEdit* second = NewEdit();
    for (TWideEdit* edit : {first, second}) {
        ASSERT_TRUE(IsWindowUnicode(edit->WindowHandle()));
        wchar_t name[64] = {};
        GetClassNameW(edit->WindowHandle(), name, 64);
        EXPECT_STREQ(name, L"TWideEdit.UnicodeClass");
        EXPECT_EQ(FindControl(edit->WindowHandle()), edit);
    }
    EXPECT_EQ(GetClassLongW(first->WindowHandle(), GCW_ATOM),
              GetClassLongW(second->WindowHandle(), GCW_ATOM));
}

TEST_F(UniControlsTest, CaptionsBeyondTheCodePageSurvive)
{
    TWideEdit* edit = NewEdit();
    SetControlWideText(edit, kOutside);
    EXPECT_EQ(WindowText(edit->WindowHandle()), kOutside);
    EXPECT_EQ(ControlWideText(edit), kOutside);
    EXPECT_EQ(edit->Caption(), WideToAnsi(kOutside));

    // ANSI text sent the library's way is converted on its way in and out.
    edit->SetCaption("表示");
    EXPECT_EQ(WindowText(edit->WindowHandle()), L"\u8868\u793A");
    EXPECT_EQ(edit->Caption(), "表示");
}

TEST_F(UniControlsTest, TheSameTextTwiceIsOneChange)
{
    TWideEdit* edit = NewEdit();
    const int before = edit->TextChanges;
    SetControlWideText(edit, kOutside);
    SetControlWideText(edit, kOutside);
    EXPECT_EQ(edit->TextChanges, before + 1);
}

TEST_F(UniControlsTest, TextWaitsBesideTheAnsiCaptionUntilThereIsAWindow)
{
    auto* edit = new TWideEdit(form);
    SetControlWideText(edit, kOutside);
    EXPECT_EQ(edit->Caption(), WideToAnsi(kOutside));
    EXPECT_EQ(ControlWideText(edit), kOutside);
    edit->SetParent(form);
    edit->HandleNeeded();
    EXPECT_EQ(WindowText(edit->WindowHandle()), kOutside);

    // A control without a window keeps it beside its ANSI caption, which
    // wins once ANSI-only code changes it.
    auto* label = new TWideLabel(form);
    SetControlWideText(label, kOutside);
    EXPECT_EQ(ControlWideText(label), kOutside);
    label->SetCaption("plain");
    EXPECT_EQ(ControlWideText(label), L"plain");
    SetControlWideHint(label, L"\uAC00|long");
    EXPECT_EQ(ControlWideHint(label), L"\uAC00|long");
    EXPECT_EQ(label->Hint(), WideToAnsi(L"\uAC00|long"));
}

TEST_F(UniControlsTest, ARecreatedWindowReusesTheTrapAndKeepsTheText)
{
    TWideEdit* edit = NewEdit();
    SetControlWideText(edit, kOutside);
    TWinControlTrap* trap = TWinControlTrap::Find(edit);
    ASSERT_TRUE(trap);
    edit->RecreateWnd();
    EXPECT_EQ(TWinControlTrap::Find(edit), trap);
    EXPECT_EQ(trap->Window(), edit->WindowHandle());
    EXPECT_TRUE(IsWindowUnicode(edit->WindowHandle()));
    EXPECT_EQ(WindowText(edit->WindowHandle()), kOutside);
    delete edit;
    EXPECT_FALSE(TWinControlTrap::Find(edit));
}

TEST_F(UniControlsTest, NotifyFormatAnswersUnicode)
{
    TWideEdit* edit = NewEdit();
    EXPECT_EQ(SendMessageW(edit->WindowHandle(), WM_NOTIFYFORMAT,
                           reinterpret_cast<WPARAM>(form->Handle()), NF_QUERY),
              NFR_UNICODE);
}

TEST_F(UniControlsTest, TypedCharactersArriveWholeThroughTheAnsiLoop)
{
    TWideEdit* edit = NewEdit();
    const HWND window = edit->WindowHandle();
    for (wchar_t c : {L'a', L'\u00E9', L'\uAC00', L'\u8868'})
        PostMessageW(window, WM_CHAR, c, 1);
    PumpMessages();
    EXPECT_EQ(WindowText(window), L"a\u00E9\uAC00\u8868");
    // The ANSI key-press handling saw each in the code page (é as its best fit).
    EXPECT_EQ(edit->KeysPressed, "ae?\x95");

    // A key the handling replaces arrives replaced.
    SetWindowTextW(window, L"");
    edit->ReplaceKeyWith = 'x';
    PostMessageW(window, WM_CHAR, 0xAC00, 1);
    PumpMessages();
    EXPECT_EQ(WindowText(window), L"x");

    // Without the hook the ANSI loop garbles what the code page lacks.
    edit->ReplaceKeyWith = 0;
    SetWindowTextW(window, L"");
    UniUnhookMessages();
    PostMessageW(window, WM_CHAR, 0xAC00, 1);
    PumpMessages();
    UniHookMessages();
    EXPECT_EQ(WindowText(window), L"?");
}

TEST_F(UniControlsTest, ImeCharactersBecomeCharactersBeforeXP)
{
    TWideEdit* edit = NewEdit();
    PlatformIsXPOrLater = false;
    SendMessageW(edit->WindowHandle(), WM_IME_CHAR, 0xAC00, 1);
    PlatformIsXPOrLater = true;
    EXPECT_EQ(WindowText(edit->WindowHandle()), L"\uAC00");
}

TEST_F(UniControlsTest, TheHookTakesOnlyWideCharactersForUnicodeWindows)
{
    TWideEdit* edit = NewEdit();
    const HWND wide = edit->WindowHandle();
    WNDCLASSA ansiClass = {};
    ansiClass.lpfnWndProc = DefWindowProcA;
    ansiClass.hInstance = GetModuleHandleA(nullptr);
    ansiClass.lpszClassName = "UniControlsTestAnsi";
    RegisterClassA(&ansiClass);
    const HWND ansi = CreateWindowExA(0, "UniControlsTestAnsi", "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_FALSE(IsWindowUnicode(ansi));
    struct Case
    {
        UINT message;
        WPARAM character;
        HWND window;
        bool taken;
    };
    const Case cases[] = {
        {WM_CHAR, 0xAC00, wide, true},
        {WM_CHAR, 0xE9, wide, true}, // beyond ASCII: the loop would give its best fit
        {WM_CHAR, 0x7F, wide, false},
        {WM_CHAR, 'a', wide, false},
        {WM_CHAR, 0xAC00, ansi, false},
        {WM_KEYDOWN, 0xAC00, wide, false},
        {WM_SYSCHAR, 0xAC00, wide, false},
    };
    int seen = 0;
    bool handle = false;
    Application->OnMessage = [&](MSG& msg, bool& handled) {
        ++seen;
        handled = handle;
    };
    for (const Case& c : cases) {
        MSG msg = {c.window, c.message, c.character, 1, 0, {0, 0}};
        EXPECT_EQ(UniApplication->ProcessMessage(msg), c.taken) << c.message << " " << c.character;
    }
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(WindowText(wide), L"\uAC00\u00E9");

    // OnMessage may keep it from the window.
    handle = true;
    MSG msg = {wide, WM_CHAR, 0xAC01, 1, 0, {0, 0}};
    EXPECT_TRUE(UniApplication->ProcessMessage(msg));
    Application->OnMessage = nullptr;
    EXPECT_EQ(WindowText(wide), L"\uAC00\u00E9");
    DestroyWindow(ansi);
}

} // namespace
