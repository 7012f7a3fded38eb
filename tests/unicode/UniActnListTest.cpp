#include "WideTestControls.h"

#include "unicode/UniGraphics.h"
#include "unicode/UniMenus.h"

#include "classlib/Menu.h"
#include "classlib/WideText.h"

#include <gtest/gtest.h>

namespace {

using unicode_testing::TWideEdit;

const WideString kHangul = L"\uAC00\uAC01";
const WideString kOther = L"\uB098\u20AC";

using UniActnListTest = unicode_testing::WideEditFixture;

TEST_F(UniActnListTest, OrdinaryActionsGiveTheirCaptionsConverted)
{
    TAction action(nullptr);
    action.SetCaption("表示");
    action.SetHint("ヒント");
    EXPECT_FALSE(IsWideAction(&action));
    EXPECT_EQ(ActionWideCaption(&action), L"\u8868\u793A");
    EXPECT_EQ(ActionWideHint(&action), L"\u30D2\u30F3\u30C8");
    SetActionWideCaption(&action, kHangul);
    EXPECT_EQ(action.Caption(), WideToAnsi(kHangul));
}

TEST_F(UniActnListTest, AnsiOnlyChangesOfAWideActionWin)
{
    TUniAction action(nullptr);
    action.SetCaption(kHangul);
    EXPECT_EQ(action.GetCaption(), kHangul);
    EXPECT_EQ(action.Caption(), WideToAnsi(kHangul));
    action.TCustomAction::SetCaption("plain");
    EXPECT_EQ(ActionWideCaption(&action), L"plain");
}

TEST_F(UniActnListTest, LinkedControlsShowTheWideCaptionThroughEveryChange)
{
    TUniAction action(nullptr);
    action.SetCaption(kHangul);
    action.SetHint(kOther);
    TWideEdit* edit = NewEdit();
    edit->SetAction(&action);
    EXPECT_EQ(ControlWideText(edit), kHangul);
    EXPECT_EQ(ControlWideHint(edit), kOther);
    EXPECT_FALSE(ControlWideCaptionSaved(edit));

    // Sequences of (how the caption is set, what the control shows).
    struct Step
    {
        WideString wide; // set through the wide setter, unless ansi is set
        AnsiString ansi;
        WideString shown;
    };
    const Step steps[] = {
        {kOther, "", kOther}, // the same ANSI form ("??") as before
        {L"\u8868", "", L"\u8868"},
        {L"", "plain", L"plain"}, // ANSI-only code
        {kHangul, "", kHangul},
    };
    for (const Step& step : steps) {
        if (step.ansi.empty())
            action.SetCaption(step.wide);
        else
            action.TCustomAction::SetCaption(step.ansi);
        EXPECT_EQ(ControlWideText(edit), step.shown);
        EXPECT_TRUE(edit->ActionLink()->IsCaptionLinked());
    }

    // A control that shows its own text is no longer linked: it streams it.
    SetControlWideText(edit, L"\uAC00\uAC02"); // the same ANSI form as the action's
    EXPECT_FALSE(edit->ActionLink()->IsCaptionLinked());
    EXPECT_TRUE(ControlWideCaptionSaved(edit));
}

TEST_F(UniActnListTest, AssignTakesTheWideValues)
{
    TUniAction source(nullptr), copy(nullptr);
    source.SetCaption(kHangul);
    source.SetHint(kOther);
    copy.Assign(&source);
    EXPECT_EQ(copy.GetCaption(), kHangul);
    EXPECT_EQ(copy.GetHint(), kOther);
}

WideString MenuText(HMENU menu, UINT position)
{
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

TEST_F(UniActnListTest, MenusShowWideCaptionsAndShortcuts)
{
    TPopupMenu popup(nullptr);
    auto* item = new TUniMenuItem(&popup);
    item->SetCaption(kHangul);
    item->SetShortCut(ShortCut('A', ssCtrl));
    popup.Items()->Add(item);
    auto* linked = new TUniMenuItem(&popup);
    popup.Items()->Add(linked);
    TUniAction action(nullptr);
    action.SetCaption(kOther);
    linked->SetAction(&action);

    const HMENU menu = popup.Handle();
    EXPECT_EQ(MenuText(menu, 0), kHangul + L"\tCtrl+A");
    EXPECT_EQ(MenuText(menu, 1), kOther);
    item->SetCaption(kOther);
    action.SetCaption(kHangul);
    EXPECT_EQ(MenuText(menu, 0), kOther + L"\tCtrl+A");
    EXPECT_EQ(MenuText(menu, 1), kHangul);
}

TEST_F(UniActnListTest, WideShortcutTexts)
{
    struct Case
    {
        TShortCut shortCut;
        WideString text;
    };
    const Case cases[] = {
        {scNone, L""},
        {ShortCut('A', ssCtrl), L"Ctrl+A"},
        {ShortCut('1', ssShift | ssCtrl | ssAlt), L"Shift+Ctrl+Alt+1"},
        {ShortCut(VK_F5, 0), L"F5"},
        {ShortCut(VK_DELETE, ssShift), L"Shift+" + AnsiToWide(KeyName(VK_DELETE))},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WideShortCutToText(c.shortCut), c.text) << c.shortCut;
}

TEST_F(UniActnListTest, WideTextMeasuresAsTheSystemDoes)
{
    TBitmap bitmap;
    bitmap.SetSize(8, 8);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Font()->SetSize(14);
    for (const WideString& text : {kHangul, kOther, WideString(L"\u8868 abc")}) {
        SIZE expected = {};
        GetTextExtentPoint32W(canvas->Handle(), text.c_str(), int(text.size()), &expected);
        const SIZE got = CanvasWideExtent(canvas, text);
        EXPECT_EQ(got.cx, expected.cx);
        EXPECT_EQ(got.cy, expected.cy);
        EXPECT_GT(CanvasWideWidth(canvas, text), 0);
    }
    EXPECT_EQ(CanvasWideWidth(canvas, L""), 0);
    EXPECT_EQ(CanvasWideHeight(canvas, L""), 0);
}

} // namespace
