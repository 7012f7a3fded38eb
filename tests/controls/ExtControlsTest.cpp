// The progress bar: its percentage and clamping order, the caption it
// paints ("37%"), the choice of painting mode under the classic overrides,
// and its classic colours on a 32-bit bitmap.
#include "controls/ExtControls.h"
#include "controls/NumThemesSupport.h"
#include "controls/SkinDkPanels.h"

#include "classlib/Panel.h"
#include "classlib/Seams.h"
#include "classlib/StandardControls.h"
#include "support/FormFixture.h"
#include "support/ScreenCheck.h"
#include "support/WindowDriver.h"
#include "themes/SkinThemes.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(ExtProgressPercentage, ClampsAndDividesWithoutOverflow)
{
    struct Case
    {
        int position, max, min, expected;
    } cases[] = {
        {37, 100, 0, 37},
        {150, 100, 0, 100},
        {-3, 100, 0, 0},
        {1, 3, 0, 33},
        {50, 50, 50, 0},
        {5, 0, 10, 0},
        {10, 20, 10, 0},
        {15, 20, 10, 50},
        {INT_MAX, INT_MAX, INT_MIN, 100},
        {0, INT_MAX, INT_MIN, 50},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtProgressPercentage(c.position, c.max, c.min), c.expected)
            << c.position << " in " << c.min << ".." << c.max;
}

class ExtProgressBarTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        bar = new TExtProgressBar(form);
        bar->SetParent(form);
        bar->SetLeft(8);
        bar->OnDrawCaption = [this](TObject*, TCanvas*, const TRect&, WideString& caption, TRect&,
                                    UINT&, bool, int stage, bool&) {
            if (stage == 0)
                painted = caption;
        };
        ActivateForm(form);
    }
    void TearDown() override
    {
        SetClassicDrawingForced(false);
        FormFixture::TearDown();
    }
    WideString PaintedCaption()
    {
        bar->Repaint();
        return painted;
    }

    TExtProgressBar* bar = nullptr;
    WideString painted = L"(none)";
};

TEST_F(ExtProgressBarTest, PositionIsClampedToMaxThenMinAndChangesAreReported)
{
    std::vector<int> changes;
    bar->OnProgressChange = [&](TObject*, int position) { changes.push_back(position); };
    struct Step
    {
        int set, stored;
    } steps[] = {{150, 100}, {-3, 0}, {-3, 0}, {42, 42}, {42, 42}};
    for (const Step& s : steps) {
        bar->SetPosition(s.set);
        EXPECT_EQ(bar->Position(), s.stored) << s.set;
    }
    EXPECT_EQ(changes, (std::vector<int>{100, 0, 42}));
    bar->SetMin(50);
    bar->SetMax(40); // Min above Max: the next position is Min
    bar->SetPosition(45);
    EXPECT_EQ(bar->Position(), 50);
}

TEST_F(ExtProgressBarTest, CaptionShowsThePercentageOrThePosition)
{
    bar->SetPosition(37);
    EXPECT_EQ(PaintedCaption(), L"37%");
    bar->SetCaptionType(TExtProgressCaption::pctProgress);
    EXPECT_EQ(PaintedCaption(), L"37");
    bar->SetCaptionType(TExtProgressCaption::pctNone);
    EXPECT_EQ(PaintedCaption(), L"");
    bar->SetCaptionType(TExtProgressCaption::pctPercentage);
    bar->SetMax(20); // the position stays until it is set again
    EXPECT_EQ(bar->Position(), 37);
    EXPECT_EQ(PaintedCaption(), L"100%");
    bar->SetMin(20);
    EXPECT_EQ(PaintedCaption(), L"0%") << "Min equal to Max draws an empty bar";
}

TEST_F(ExtProgressBarTest, ThemeTypesResolveToClassicUnderEitherOverride)
{
    ASSERT_TRUE(ExtVisualStylesOn());
    EXPECT_EQ(ExtResolveThemeKind(TExtThemeType::thtSkin), TExtThemeType::thtWindows);
    EXPECT_EQ(ExtResolveThemeKind(TExtThemeType::thtNone), TExtThemeType::thtNone);
    SetClassicDrawingForced(true);
    EXPECT_EQ(ExtResolveThemeKind(TExtThemeType::thtSkin), TExtThemeType::thtNone);
    SetClassicDrawingForced(false);
    SetSkinSysParam(2, 2);
    SkinThemeManager()->Refresh();
    EXPECT_EQ(ExtResolveThemeKind(TExtThemeType::thtWindows), TExtThemeType::thtNone);
}

TEST_F(ExtProgressBarTest, ClassicBarIsFramedAndFilledInTheHighlightColour)
{
    SetClassicDrawingForced(true);
    bar->SetCaptionType(TExtProgressCaption::pctNone);
    bar->SetSmooth(true);
    bar->SetPosition(50);
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(bar->Width(), bar->Height());
    bar->PaintTo(bitmap.Canvas()->Handle(), 0, 0);
    auto pixel = [&](int x, int y) {
        return static_cast<DWORD*>(bitmap.ScanLine(y))[x] & 0xFFFFFF;
    };
    auto rgb = [](int index) {
        COLORREF c = GetSysColor(index);
        return DWORD(GetRValue(c)) << 16 | DWORD(GetGValue(c)) << 8 | GetBValue(c);
    };
    EXPECT_EQ(pixel(0, 0), rgb(COLOR_BTNSHADOW));
    EXPECT_EQ(pixel(bar->Width() - 1, bar->Height() - 1), rgb(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(pixel(4, 8), rgb(COLOR_HIGHLIGHT));
    EXPECT_EQ(pixel(2 + (bar->Width() - 4) / 2 - 1, 8), rgb(COLOR_HIGHLIGHT));
    EXPECT_NE(pixel(2 + (bar->Width() - 4) / 2 + 1, 8), rgb(COLOR_HIGHLIGHT));
}

class ExtButtonsTest : public FormFixture
{
protected:
    template <class T> T* Place(int top, TWinControl* parent = nullptr)
    {
        T* control = new T(form);
        control->SetParent(parent ? parent : form);
        control->SetBounds(8, top, 150, 20);
        control->SetWideCaption(L"選択");
        return control;
    }
    // Clicks in a row go to different points, so that none makes a double
    // click.
    POINT Centre(TControl* c, int x = 30)
    {
        return ScreenPointOf(c->Parent()->Handle(), c->Left() + x, c->Top() + c->Height() / 2);
    }
};

TEST_F(ExtButtonsTest, ClicksCycleACheckBoxThroughGrayedWhenAllowed)
{
    auto* box = Place<TExtCheckBox>(8);
    box->SetAllowGrayed(true);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    ActivateForm(form);
    std::vector<TCheckBoxState> states;
    for (int i = 0; i < 3; ++i) {
        RealClick(Centre(box, 30 + 10 * i));
        states.push_back(box->State());
    }
    EXPECT_EQ(states,
              (std::vector<TCheckBoxState>{TCheckBoxState::cbGrayed, TCheckBoxState::cbChecked,
                                           TCheckBoxState::cbUnchecked}));
    EXPECT_EQ(clicks, 3);
    box->SetFocus();
    PressKey(box->Handle(), VK_SPACE);
    EXPECT_EQ(box->State(), TCheckBoxState::cbGrayed) << "Space presses a focused box";
}

TEST_F(ExtButtonsTest, RadioButtonsOfOneGroupAndParentAreExclusive)
{
    auto* a = Place<TExtRadioButton>(8);
    auto* b = Place<TExtRadioButton>(32);
    auto* otherGroup = Place<TExtRadioButton>(56);
    otherGroup->SetGroupIndex(1);
    auto* box = Place<TExtCheckBox>(80);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(200, 8, 180, 40);
    auto* elsewhere = Place<TExtRadioButton>(8, panel);
    ActivateForm(form); // the focus checks the radio button it lands on
    otherGroup->SetChecked(true);
    box->SetChecked(true);
    elsewhere->SetChecked(true);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };

    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(otherGroup->Checked());
    EXPECT_TRUE(box->Checked()) << "a radio button never unchecks a check box";
    EXPECT_TRUE(elsewhere->Checked()) << "another parent";
    EXPECT_EQ(clicks, 1);

    RealClick(Centre(b));
    EXPECT_TRUE(b->Checked()) << "clicking a checked radio button does nothing";
    EXPECT_EQ(clicks, 1);
    b->SetFocus();
    a->SetFocus();
    EXPECT_TRUE(a->Checked()) << "a focused radio button is checked";
    EXPECT_FALSE(b->Checked());
}

// Where the program places the focus (the first activation, its return) the
// group's checked radio button takes it, so the choice stands; the arrow
// keys still check the button they reach.
TEST_F(ExtButtonsTest, TheProgramsFocusGoesToTheGroupsCheckedRadioButton)
{
    auto* a = Place<TExtRadioButton>(8);
    auto* b = Place<TExtRadioButton>(32);
    b->SetChecked(true);
    ASSERT_TRUE(ActivateForm(form));
    EXPECT_EQ(GetFocus(), b->Handle());
    EXPECT_FALSE(a->Checked());

    TForm other(nullptr);
    ASSERT_TRUE(ActivateForm(&other));
    a->SetChecked(true); // the choice changes while b holds the form's focus
    ASSERT_TRUE(ActivateForm(form));
    EXPECT_EQ(GetFocus(), a->Handle());
    EXPECT_FALSE(b->Checked());

    PressKey(a->Handle(), VK_DOWN);
    EXPECT_EQ(GetFocus(), b->Handle());
    EXPECT_TRUE(b->Checked());
}

namespace {

// The pixels that differ between two captures of one control all lie on one
// rectangle's outline, and some do: a focus rectangle and nothing else.
bool OnlyAFocusRectangleDiffers(const ScreenImage& plain, const ScreenImage& focused)
{
    TRect box(plain.Width(), plain.Height(), -1, -1);
    for (int y = 0; y < plain.Height(); ++y)
        for (int x = 0; x < plain.Width(); ++x)
            if (plain.At(x, y) != focused.At(x, y))
                box = TRect(std::min<int>(box.left, x), std::min<int>(box.top, y),
                            std::max<int>(box.right, x), std::max<int>(box.bottom, y));
    if (box.right < 0)
        return false;
    for (int y = box.top; y <= box.bottom; ++y)
        for (int x = box.left; x <= box.right; ++x) {
            const bool outline = x == box.left || x == box.right || y == box.top || y == box.bottom;
            if (!outline && plain.At(x, y) != focused.At(x, y))
                return false;
        }
    return true;
}

} // namespace

// Tab onto each kind of control shows its focus rectangle on the screen, and
// Tab on leaves no trace of it.
TEST_F(ExtButtonsTest, TabShowsTheFocusRectangleAndTakesItAway)
{
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(8, 8, 150, 20);
    std::vector<TWinControl*> controls = {Place<TExtRadioButton>(40), Place<TExtCheckBox>(64),
                                          Place<TExtProgressBar>(88)};
    auto* button = new TSkinButton(form);
    button->SetParent(form);
    button->SetBounds(8, 112, 80, 24);
    button->SetCaption("Go");
    controls.push_back(button);
    ASSERT_TRUE(ActivateForm(form));
    edit->SetFocus();
    PumpMessages();
    for (TWinControl* control : controls) {
        const ScreenImage before(control->Handle());
        RealKeyPress(VK_TAB);
        ASSERT_TRUE(control->Focused()) << control->ClassName();
        const ScreenImage focused(control->Handle());
        RealKeyPress(VK_TAB);
        const ScreenImage after(control->Handle());
        EXPECT_TRUE(OnlyAFocusRectangleDiffers(before, focused)) << control->ClassName();
        EXPECT_TRUE(before.Pixels() == after.Pixels()) << control->ClassName() << " keeps a mark";
        RealKeyPress(VK_TAB, ssShift); // the next one is reached from this one
    }
}

TEST_F(ExtButtonsTest, ALinkOpensItsDocumentThroughTheShellAndShowsTheHand)
{
    auto* link = Place<TExtLabel>(8);
    auto* plain = Place<TExtLabel>(40);
    // Both labels fit the caption's width: point inside it.
    link->SetLinkText(L"https://example.org/help");
    link->SetLinkTextParams(L"-x");
    std::vector<TShellExecuteRequest> opened;
    Seams().ShellExecute = [&](const TShellExecuteRequest& r) -> intptr_t {
        opened.push_back(r);
        return 33;
    };
    ActivateForm(form);
    ScopedCursorPos cursor(Centre(link, 10));
    SendMessageA(link->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 5));
    EXPECT_EQ(link->Cursor(), crHandPoint);
    RealClick(Centre(link, 10));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].Operation, "open");
    EXPECT_EQ(opened[0].File, "https://example.org/help");
    EXPECT_EQ(opened[0].Parameters, "-x");
    cursor.Move(Centre(plain, 10));
    SendMessageA(plain->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 5));
    EXPECT_EQ(link->Cursor(), crDefault);
    RealClick(Centre(plain, 10));
    EXPECT_EQ(opened.size(), 1u) << "a label without a link opens nothing";
}

TEST_F(ExtButtonsTest, ClassicCheckGlyphIsTheSystemsFrameInTheWindowColour)
{
    SetClassicDrawingForced(true);
    auto* box = Place<TExtCheckBox>(8);
    box->HandleNeeded();
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(box->Width(), box->Height());
    box->PaintTo(bitmap.Canvas()->Handle(), 0, 0);
    SetClassicDrawingForced(false);
    auto pixel = [&](int x, int y) {
        return static_cast<DWORD*>(bitmap.ScanLine(y))[x] & 0xFFFFFF;
    };
    auto rgb = [](int index) {
        COLORREF c = GetSysColor(index);
        return DWORD(GetRValue(c)) << 16 | DWORD(GetGValue(c)) << 8 | GetBValue(c);
    };
    int top = (box->Height() - 13) / 2;
    EXPECT_EQ(pixel(0, top), rgb(COLOR_BTNSHADOW));
    EXPECT_EQ(pixel(6, top + 6), rgb(COLOR_WINDOW));
}

TEST_F(ExtButtonsTest, GroupBoxPlacesItsChildrenBelowTheCaptionInsideTheFrame)
{
    auto* group = new TExtGroupBox(form);
    group->SetParent(form);
    group->SetWideCaption(L"設定");
    group->Margins()->SetLeft(4);
    auto* child = new TPanel(form);
    child->SetParent(group);
    child->SetAlign(TAlign::alClient);
    TBitmap measure;
    measure.Canvas()->Font()->Assign(group->Font());
    int textHeight = measure.Canvas()->TextExtent("0").cy;
    EXPECT_EQ(child->Left(), 1 + 4 + 2);
    EXPECT_EQ(child->Top(), 1 + textHeight + 2);
    EXPECT_EQ(child->Width(), 185 - 7 - 3);
    EXPECT_EQ(child->Height(), 105 - (1 + textHeight + 2) - 3);
}

TEST_F(ExtButtonsTest, AnAnsiCaptionBecomesTheWideOneAndAWideOneSurvivesItsAnsiForm)
{
    auto* radio = Place<TExtRadioButton>(8);
    auto* group = new TExtGroupBox(form);
    group->SetParent(form);
    struct Case
    {
        AnsiString ansi;
        WideString wide;
    } cases[] = {{"現在名に連番を追加", L"現在名に連番を追加"}, {"", L""}, {"A&b", L"A&b"}};
    for (const Case& c : cases) {
        radio->SetCaption(c.ansi);
        group->SetCaption(c.ansi);
        EXPECT_EQ(radio->WideCaption(), c.wide) << c.ansi;
        EXPECT_EQ(group->WideCaption(), c.wide) << c.ansi;
    }
    radio->SetWideCaption(L"\u00E9\u97F3");
    EXPECT_EQ(radio->WideCaption(), L"\u00E9\u97F3") << "a character the code page lacks stays";
}

TEST_F(ExtButtonsTest, ALabelFitsItsWidthToTheWideCaptionUnlessItWraps)
{
    auto* label = Place<TExtLabel>(8);
    label->Margins()->SetLeft(3);
    label->Margins()->SetRight(2);
    TBitmap measure;
    measure.Canvas()->Font()->Assign(label->Font());
    auto textWidth = [&](const wchar_t* text) {
        RECT r{0, 0, 0, 0};
        DrawTextW(measure.Canvas()->Handle(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
        return static_cast<int>(r.right) + 3 + 2;
    };
    struct Case
    {
        const wchar_t* caption;
        const wchar_t* shown;
    } cases[] = {
        {L"読み込みの方法を選択して下さい", L"読み込みの方法を選択して下さい"},
        {L"dB", L"dB"},
        {L"&Name", L"Name"},
        {L"\uAC00\uAC01\u2212", L"\uAC00\uAC01\u2212"}, // the code page holds none of them
        {L"", L" "},
    };
    for (const Case& c : cases) {
        label->SetWideCaption(c.caption);
        EXPECT_EQ(label->Width(), textWidth(c.shown)) << label->Caption();
        EXPECT_EQ(label->Left(), 8) << "the left edge stays";
    }
    int oneLine = label->Height();
    label->SetUnderline(true);
    EXPECT_EQ(label->Height(), oneLine + 1);

    label->SetWrapping(TTextWrapping::twWrap);
    label->SetWidth(60);
    label->SetWideCaption(L"読み込みの方法を選択して下さい");
    EXPECT_EQ(label->Width(), 60) << "a wrapping label keeps its width";
    EXPECT_GT(label->Height(), oneLine + 1) << "and grows in height";
    label->SetWrapping(TTextWrapping::twNone);
    label->SetAutoSize(false);
    label->SetWidth(60);
    label->SetWideCaption(L"dB");
    EXPECT_EQ(label->Width(), 60) << "without auto size nothing changes";
}
