// The edits on a real form: line breaks never enter, dialog keys reach the
// form, typed and pasted text is filtered, values stay inside their limits,
// the spin edit steps with keys, wheel and buttons (the repeat driven by its
// timer messages), the left strip's cursor and click, and text placement.
#include "controls/NumEdit.h"
#include "controls/NumThemesSupport.h"

#include "classlib/Clipboard.h"
#include "classlib/Panel.h"
#include "classlib/Screen.h"
#include "classlib/TextUtils.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <uxtheme.h>
#include <vector>

using namespace testing_support;

namespace {

void PostChars(TWinControl* control, const AnsiString& chars)
{
    for (char c : chars)
        PostMessageA(control->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    PumpMessages();
}

void Paste(TCustomEdit* edit, const AnsiString& text)
{
    Clipboard()->SetAsText(text);
    edit->PasteFromClipboard();
}

void Wheel(TWinControl* control, int delta)
{
    SendMessageA(control->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
}

std::vector<DWORD> Snapshot(TBitmap* bitmap)
{
    std::vector<DWORD> pixels;
    for (int y = 0; y < bitmap->Height(); ++y) {
        auto* row = static_cast<DWORD*>(bitmap->ScanLine(y));
        pixels.insert(pixels.end(), row, row + bitmap->Width());
    }
    return pixels;
}

// The pixels of a control painted into a 32-bit bitmap.
std::vector<DWORD> Snapshot(TWinControl* control)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(control->Width(), control->Height());
    control->PaintTo(bitmap.Canvas()->Handle(), 0, 0);
    return Snapshot(&bitmap);
}

} // namespace

class NumEditTest : public FormFixture
{
protected:
    template <class T> T* Place(int top = 8, int height = 20)
    {
        T* edit = new T(form);
        edit->SetParent(form);
        edit->SetBounds(8, top, 120, height);
        edit->HandleNeeded();
        return edit;
    }
};

TEST_F(NumEditTest, EveryEditReportsProgrammaticWrites)
{
    auto* edit = Place<TNumEdit>(8);
    auto* number = Place<TNumNumberEdit>(32);
    auto* spin = Place<TNumSpinEdit>(56);
    int changes[3] = {0, 0, 0};
    edit->OnChange = [&](TObject*) { ++changes[0]; };
    number->OnChange = [&](TObject*) { ++changes[1]; };
    spin->OnChange = [&](TObject*) { ++changes[2]; };
    edit->SetText("name");
    number->SetValue(3);
    spin->SetValue(4);
    EXPECT_EQ(changes[0], 1);
    EXPECT_EQ(changes[1], 1);
    EXPECT_EQ(changes[2], 1);
    PressKey(spin->Handle(), VK_UP);
    EXPECT_EQ(spin->Text(), "5");
    EXPECT_EQ(changes[2], 2);
}

TEST_F(NumEditTest, LineBreaksNeverEnterAName)
{
    auto* edit = Place<TNumEdit>();
    edit->SetText("ab");
    edit->SetSelStart(1);
    PostChars(edit, "\r\n");
    EXPECT_EQ(edit->Text(), "ab");
    PressKey(edit->Handle(), VK_RETURN);
    EXPECT_EQ(edit->Text(), "ab");

    edit->SetText("");
    Paste(edit, "a\r\nb");
    EXPECT_EQ(edit->Text(), "a");
    Paste(edit, "名前\nz");
    EXPECT_EQ(edit->Text(), "a名前");
    // Shift+Insert, which the system pastes without asking WM_PASTE.
    PressKey(edit->Handle(), VK_INSERT, ssShift);
    EXPECT_EQ(edit->Text(), "a名前名前");
    // Nothing before the first break: the selection stays.
    edit->SelectAll();
    Paste(edit, "\r\nx");
    EXPECT_EQ(edit->Text(), "a名前名前");
    edit->SetReadOnly(true);
    edit->SetSelStart(0);
    Paste(edit, "q");
    EXPECT_EQ(edit->Text(), "a名前名前");
}

TEST_F(NumEditTest, LongNamesScrollInsteadOfWrapping)
{
    auto* edit = Place<TNumEdit>();
    EXPECT_TRUE(GetWindowLongA(edit->Handle(), GWL_STYLE) & ES_AUTOHSCROLL);
    AnsiString name(200, 'x');
    edit->SetText(name);
    EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(NumEditTest, EnterAndEscapeReachTheFormNotTheText)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 200, 100);
    auto* edit = new TNumEdit(form);
    edit->SetParent(panel);
    WORD seen = 0;
    edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { seen = key; };
    // Asked as a dialog asks (with the message), the edit still wants no
    // dialog keys, and it does not start acting as a dialog's edit.
    MSG escape = {edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    UINT code = static_cast<UINT>(
        SendMessageA(edit->Handle(), WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&escape)));
    EXPECT_FALSE(code & DLGC_WANTALLKEYS);
    EXPECT_TRUE(code & DLGC_WANTCHARS);
    PressKey(edit->Handle(), VK_ESCAPE);
    EXPECT_TRUE(IsWindow(panel->WindowHandle()));

    // Without a default button the edit's own handler sees Enter.
    PressKey(edit->Handle(), VK_RETURN);
    EXPECT_EQ(seen, VK_RETURN);

    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetTop(120);
    button->SetDefault(true);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    PressKey(edit->Handle(), VK_RETURN);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(edit->Text(), "");
}

TEST_F(NumEditTest, TypedCharactersAreFiltered)
{
    auto* number = Place<TNumNumberEdit>();
    const AnsiString separator(1, DecimalSeparator()[0]);
    PostChars(number, "1a2" + separator + "5" + separator + "x-");
    EXPECT_EQ(number->Text(), "12" + separator + "5");
    number->SetSelStart(0);
    PostChars(number, "-");
    EXPECT_EQ(number->Text(), "-12" + separator + "5");
    number->SetText("");
    number->SetOptions(eoAllowAll);
    PostChars(number, "ab");
    EXPECT_EQ(number->Text(), "ab");
}

TEST_F(NumEditTest, PastedTextIsFilteredAndBroughtInsideTheLimits)
{
    const AnsiString dot(1, DecimalSeparator()[0]);
    auto* number = Place<TNumNumberEdit>();
    Paste(number, "12a" + dot + "3" + dot + "4");
    EXPECT_EQ(number->Text(), "12" + dot + "34");
    number->SetText("");
    number->SetOptions(eoAllowSigns);
    Paste(number, "12a" + dot + "3" + dot + "4");
    EXPECT_EQ(number->Text(), "1234");

    number->SetMax(10);
    number->SetText("1");
    number->SetSelStart(1);
    Paste(number, "5");
    EXPECT_EQ(number->Text(), "10");
    // Into the middle of the text, over a selection.
    number->SetMax(0);
    number->SetText("1999");
    number->SetSelStart(1);
    number->SetSelLength(2);
    Paste(number, "2\r\n3");
    EXPECT_EQ(number->Text(), "1239");
    EXPECT_EQ(number->SelStart(), 4);
}

TEST_F(NumEditTest, ValueReadsAndWritesWithinTheLimits)
{
    auto* number = Place<TNumNumberEdit>();
    number->SetMax(10);
    number->SetText("25");
    EXPECT_EQ(number->Value(), 10);
    number->SetValue(-3);
    EXPECT_EQ(number->Value(), 0);
    EXPECT_EQ(number->Text(), NumberText(0, 2));
    number->SetMax(0);
    number->SetText(AnsiString(25, '9'));
    EXPECT_EQ(number->Value(), 1e25);
    number->SetText("abc");
    EXPECT_EQ(number->Value(), 0);
    number->SetText("");
    EXPECT_EQ(number->Value(), 0);
}

TEST_F(NumEditTest, ZeroTextUnitTextAndPrecisionShapeTheText)
{
    auto* number = Place<TNumNumberEdit>();
    number->SetNullText("なし");
    number->SetValue(0);
    EXPECT_EQ(number->Text(), "なし");
    EXPECT_EQ(number->Value(), 0);
    number->SetTextAfter(" 2秒");
    number->SetValue(1.5);
    EXPECT_EQ(number->Text(), NumberText(1.5, 2) + " 2秒");
    EXPECT_EQ(number->Value(), 1.5); // the unit's digit is not part of the number
    number->SetPrecision(0);
    EXPECT_EQ(number->Text(), NumberText(1.5, -1) + " 2秒");
    number->SetOptions(eoAllowSigns);
    number->SetValue(2.5);
    EXPECT_EQ(number->Text(), "3 2秒"); // whole numbers only: no fraction to misread
}

TEST_F(NumEditTest, LeavingTheEditRewritesTheNumber)
{
    auto* number = Place<TNumNumberEdit>(8);
    auto* other = Place<TNumEdit>(40);
    if (!ActivateForm(form))
        GTEST_SKIP() << "the window manager refused the focus";
    number->SetFocus();
    PumpMessages();
    PostChars(number, "7");
    other->SetFocus();
    PumpMessages();
    EXPECT_EQ(number->Text(), NumberText(7, 2));
}

TEST_F(NumEditTest, NumbersRoundTripWithoutExponent)
{
    auto* spin = Place<TNumSpinEdit>();
    for (double value : {1e20, 1e-5, 0.5, 1.0 / 3, 123456789.125, 1e-300, 1.7e308}) {
        spin->SetValue(value);
        AnsiString text = spin->Text();
        EXPECT_EQ(text.find_first_of("eE"), AnsiString::npos) << text;
        EXPECT_NEAR(spin->Value(), value, value * 1e-14) << text;
        spin->SetValue(spin->Value());
        EXPECT_EQ(spin->Text(), text);
    }
}

TEST_F(NumEditTest, SpinKeysAndWheelStepWithinTheLimits)
{
    auto* spin = Place<TNumSpinEdit>();
    std::vector<TSpinButtonSet> spins;
    spin->OnSpin = [&](TObject*, TSpinButtonSet button) { spins.push_back(button); };
    spin->SetMax(3);
    spin->SetValue(1);
    PressKey(spin->Handle(), VK_UP);
    PressKey(spin->Handle(), VK_UP);
    PressKey(spin->Handle(), VK_UP); // refused at Max
    EXPECT_EQ(spin->Value(), 3);
    EXPECT_EQ(spin->Buttons()->Pressed(), TSpinHalf::shNone);
    EXPECT_EQ(spins.size(), 3u);
    PressKey(spin->Handle(), VK_DOWN);
    EXPECT_EQ(spin->Value(), 2);
    EXPECT_EQ(spins.back(), TSpinButtonSet::sbLower);

    Wheel(spin, -2 * WHEEL_DELTA);
    EXPECT_EQ(spin->Value(), 0);
    Wheel(spin, -WHEEL_DELTA); // below Min
    EXPECT_EQ(spin->Value(), 0);
    Wheel(spin, WHEEL_DELTA / 2);
    EXPECT_EQ(spin->Value(), 0);
    Wheel(spin, WHEEL_DELTA / 2); // two halves make a notch
    EXPECT_EQ(spin->Value(), 1);

    spin->SetReadOnly(true);
    PressKey(spin->Handle(), VK_UP);
    EXPECT_EQ(spin->Value(), 1);
}

TEST_F(NumEditTest, SpinButtonsStepOnClicksAndRepeatWhileHeld)
{
    auto* spin = Place<TNumSpinEdit>();
    spin->SetIncrement(0.5);
    spin->SetValue(5);
    TNumSpinButtons* buttons = spin->Buttons();
    HWND window = buttons->Handle();
    int h = buttons->ClientHeight();
    ClickAt(window, 2, 1);
    EXPECT_EQ(spin->Value(), 5.5);
    ClickAt(window, 2, h - 1);
    ClickAt(window, 2, h - 1);
    EXPECT_EQ(spin->Value(), 4.5);

    // Held: one step at once; the delay's end starts the repeat, each repeat
    // tick steps, and ticks after the release step no more.
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 1));
    PumpMessages();
    EXPECT_EQ(buttons->Pressed(), TSpinHalf::shUpper);
    EXPECT_EQ(spin->Value(), 5);
    SendMessageA(window, WM_TIMER, TNumSpinButtons::kDelayTimer, 0);
    EXPECT_EQ(spin->Value(), 5);
    for (int i = 0; i < 3; ++i)
        SendMessageA(window, WM_TIMER, TNumSpinButtons::kRepeatTimer, 0);
    EXPECT_EQ(spin->Value(), 6.5);
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(2, 1));
    PumpMessages();
    EXPECT_EQ(buttons->Pressed(), TSpinHalf::shNone);
    SendMessageA(window, WM_TIMER, TNumSpinButtons::kRepeatTimer, 0);
    EXPECT_EQ(spin->Value(), 6.5);
}

TEST_F(NumEditTest, HeldButtonRepeatsOnItsOwnTimer)
{
    auto* spin = Place<TNumSpinEdit>();
    HWND window = spin->Buttons()->Handle();
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 1));
    EXPECT_TRUE(PumpUntil([spin] { return spin->Value() >= 4; }));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(2, 1));
    double released = spin->Value();
    PumpMessages();
    EXPECT_EQ(spin->Value(), released);
}

TEST_F(NumEditTest, ButtonsSitAtTheRightAndTheTextEndsBeforeThem)
{
    auto* spin = Place<TNumSpinEdit>();
    TNumSpinButtons* buttons = spin->Buttons();
    TRect client = spin->ClientRect();
    EXPECT_EQ(buttons->Width(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(buttons->Left() + buttons->Width(), client.right - 1);
    EXPECT_EQ(buttons->Height(), client.Height() - 2);
    RECT text;
    SendMessageA(spin->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_LE(text.right, buttons->Left());

    spin->SetSpinButtons(false);
    EXPECT_FALSE(IsWindowVisible(buttons->Handle()));
    RECT wider;
    SendMessageA(spin->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&wider));
    EXPECT_GT(wider.right, text.right);
}

TEST_F(NumEditTest, VerticalAlignmentMovesTheTextLine)
{
    auto* edit = Place<TNumEdit>(8, 60);
    edit->SetText("x");
    auto lineTop = [edit](TVerticalAlignment align) {
        edit->SetVerticalAlignment(align);
        LRESULT pos = SendMessageA(edit->Handle(), EM_POSFROMCHAR, 0, 0);
        return static_cast<int>(static_cast<short>(HIWORD(pos)));
    };
    int top = lineTop(TVerticalAlignment::vaTop);
    int middle = lineTop(TVerticalAlignment::vaMiddle);
    int bottom = lineTop(TVerticalAlignment::vaBottom);
    EXPECT_LT(top, middle);
    EXPECT_LT(middle, bottom);
    // A new font puts the system's rectangle back; ours is applied again.
    TFont font;
    font.SetSize(14);
    edit->SetFont(&font);
    LRESULT pos = SendMessageA(edit->Handle(), EM_POSFROMCHAR, 0, 0);
    EXPECT_GT(static_cast<short>(HIWORD(pos)), middle);
}

TEST_F(NumEditTest, TheLeftStripShowsTheReversedArrowAndSelectsAll)
{
    auto* edit = Place<TNumEdit>();
    edit->SetText("region");
    HWND window = edit->Handle();
    auto cursorAt = [&](int x) {
        ScopedCursorPos pos(edit->ClientToScreen(TPoint(x, 5)));
        SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(cursorAt(1), Screen->Cursors(crReversedArrow));
    EXPECT_NE(cursorAt(40), Screen->Cursors(crReversedArrow));

    edit->SetSelStart(2);
    ClickAt(window, 1, 5);
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 6);
}

TEST_F(NumEditTest, TheReversedArrowHasItsHotSpotTopRight)
{
    Place<TNumEdit>();
    ICONINFO arrow{}, reversed{};
    ASSERT_TRUE(GetIconInfo(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)), &arrow));
    ASSERT_TRUE(GetIconInfo(Screen->Cursors(crReversedArrow), &reversed));
    BITMAP mask{};
    GetObjectA(arrow.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(reversed.xHotspot, static_cast<DWORD>(mask.bmWidth - 1) - arrow.xHotspot);
    EXPECT_EQ(reversed.yHotspot, arrow.yHotspot);
    for (HBITMAP bitmap : {arrow.hbmMask, arrow.hbmColor, reversed.hbmMask, reversed.hbmColor})
        if (bitmap)
            DeleteObject(bitmap);
}

TEST_F(NumEditTest, PressedHalfIsPaintedAsTheStylesPressedPart)
{
    auto* spin = Place<TNumSpinEdit>();
    form->Show();
    TNumSpinButtons* buttons = spin->Buttons();
    std::vector<DWORD> normal = Snapshot(buttons);
    buttons->Press(TSpinButtonSet::sbUpper);
    std::vector<DWORD> pressed = Snapshot(buttons);
    buttons->Release();
    EXPECT_NE(pressed, normal);
    if (NumThemesInUse()) {
        // The same parts and states drawn by the style itself.
        TBitmap expected;
        expected.SetPixelFormat(TPixelFormat::pf32bit);
        expected.SetSize(buttons->Width(), buttons->Height());
        HDC dc = expected.Canvas()->Handle();
        RECT whole = {0, 0, buttons->Width(), buttons->Height()};
        FillRect(dc, &whole, GetSysColorBrush(COLOR_WINDOW));
        RECT upper = whole, lower = whole;
        upper.bottom = lower.top = buttons->Height() / 2;
        HTHEME theme = OpenThemeData(buttons->Handle(), L"spin");
        DrawThemeBackground(theme, dc, 1, 3, &upper, nullptr);
        DrawThemeBackground(theme, dc, 2, 1, &lower, nullptr);
        CloseThemeData(theme);
        EXPECT_EQ(pressed, Snapshot(&expected));
    }
    // Classic: the system's scroll arrows, pushed when pressed.
    bool previous = SetClassicDrawingForced(true);
    std::vector<DWORD> classic = Snapshot(buttons);
    buttons->Press(TSpinButtonSet::sbLower);
    EXPECT_NE(Snapshot(buttons), classic);
    buttons->Release();
    SetClassicDrawingForced(previous);
}
