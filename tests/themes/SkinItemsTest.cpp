// Themed items: font settings and what they change, the items' resizing
// properties, the visibility toggle, the state bits and image records, and
// where a menu opened at a rectangle goes.
#include "SkinTestHost.h"

#include "themes/Skin.h"

#include "classlib/Exceptions.h"
#include "classlib/Graphics.h"
#include "classlib/ImageList.h"
#include "classlib/Panel.h"
#include "support/FormFixture.h"

#include <gtest/gtest.h>

using namespace theme_testing;

namespace {

constexpr TTriState kSet = TTriState::tsTrue;
constexpr TTriState kClear = TTriState::tsFalse;
constexpr TTriState kLeave = TTriState::tsDefault;

} // namespace

// --- Font settings ---------------------------------------------------------------------

TEST(FontSettings, ApplyScalesTheSizeAndSetsOrClearsEachStyle)
{
    struct Case
    {
        int points;
        TFontSize percent;
        TTriState bold, italic;
        TFontStyles before;
        int expectedPoints;
        TFontStyles expectedStyle;
    };
    const Case cases[] = {
        {10, 150, kLeave, kLeave, 0, 15, 0},
        {10, 100, kLeave, kLeave, fsBold, 10, fsBold},
        {9, 150, kLeave, kLeave, 0, 14, 0}, // 13.5 rounds up
        {10, 33, kLeave, kLeave, 0, 3, 0},
        {10, 100, kSet, kClear, fsItalic, 10, fsBold},
        {12, 50, kClear, kSet, fsBold | fsUnderline, 6, fsItalic | fsUnderline},
    };
    for (const Case& c : cases) {
        TFont font;
        font.SetSize(c.points);
        font.SetStyle(c.before);
        TFontSettings settings;
        settings.SetSize(c.percent);
        settings.SetBold(c.bold);
        settings.SetItalic(c.italic);
        settings.Apply(&font);
        EXPECT_EQ(font.Size(), c.expectedPoints) << c.points << " at " << c.percent << "%";
        EXPECT_EQ(font.Style(), c.expectedStyle) << c.points << " at " << c.percent << "%";
    }

    TFont font;
    font.SetColor(clRed);
    const AnsiString face = font.Name();
    TFontSettings unchanged;
    unchanged.Apply(&font);
    EXPECT_EQ(font.Color(), clRed);
    EXPECT_EQ(font.Name(), face);
    TFontSettings coloured;
    coloured.SetColor(clBlue);
    coloured.SetName("Courier New");
    coloured.Apply(&font);
    EXPECT_EQ(font.Color(), clBlue);
    EXPECT_EQ(font.Name(), "Courier New");
}

TEST(FontSettings, AnAdjustedFontScalesHeightsOfEitherSignAndCutsLongFaceNames)
{
    struct Case
    {
        LONG height;
        TFontSize percent;
        LONG expected;
    };
    const Case cases[] = {{-13, 150, -20}, {13, 150, 20}, {-13, 100, -13}, {-12, 50, -6}};
    for (const Case& c : cases) {
        LOGFONTA source = {};
        source.lfHeight = c.height;
        source.lfWeight = 400;
        source.lfItalic = 1;
        std::strcpy(source.lfFaceName, "Arial");
        TOwnedGdiObject sourceFont(CreateFontIndirectA(&source));
        TFontSettings settings;
        settings.SetSize(c.percent);
        settings.SetBold(kSet);
        settings.SetItalic(kClear);
        settings.SetName(AnsiString(40, 'x'));
        TColor color = clRed;
        TOwnedGdiObject made(
            settings.MakeAdjustedFont(static_cast<HFONT>(sourceFont.Handle()), color));
        LOGFONTA result = {};
        ASSERT_TRUE(GetObjectA(made.Handle(), sizeof(result), &result));
        EXPECT_EQ(result.lfHeight, c.expected) << c.height << " at " << c.percent << "%";
        EXPECT_EQ(result.lfWeight, 700);
        EXPECT_EQ(result.lfItalic, 0);
        EXPECT_EQ(AnsiString(result.lfFaceName), AnsiString(31, 'x'));
        EXPECT_EQ(color, clRed) << "no colour set: the caller's stays";
    }
    TFontSettings coloured;
    coloured.SetColor(clGreen);
    TColor color = clRed;
    TOwnedGdiObject made(
        coloured.MakeAdjustedFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), color));
    EXPECT_EQ(color, clGreen);
}

TEST(FontSettings, OnlyARealChangeIsToldAndAnAssignmentIsToldOnce)
{
    TFontSettings settings;
    int changes = 0;
    settings.OnChange = [&](TObject*) { ++changes; };
    settings.SetSize(100);
    settings.SetColor(clNone);
    settings.SetBold(kLeave);
    settings.SetName("");
    EXPECT_EQ(changes, 0);
    settings.SetSize(120);
    settings.SetUnderline(kSet);
    settings.SetStrikeOut(kClear);
    EXPECT_EQ(changes, 3);

    TFontSettings other;
    other.SetSize(120);
    other.SetUnderline(kSet);
    other.SetStrikeOut(kClear);
    settings.Assign(&other);
    EXPECT_EQ(changes, 3) << "equal already";
    other.SetItalic(kSet);
    other.SetColor(clRed);
    other.SetName("Arial");
    settings.Assign(&other);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(settings.Italic(), kSet);
    EXPECT_EQ(settings.Color(), clRed);
    EXPECT_EQ(settings.Name(), "Arial");

    TFont font;
    EXPECT_THROW(settings.Assign(&font), EConvertError);
}

// --- Items ---------------------------------------------------------------------------------

TEST(SkinItems, ResizingPropertiesTellTheParentOnlyWhenTheyChange)
{
    // Outlives the root, which tells of its items' removal as it dies.
    std::vector<TBarItemChangeCode> told;
    TBarRootItem root(nullptr);
    auto* item = new TSkinCustomItem(nullptr);
    root.Add(item);
    root.AttachChangeHandler([&](TBarCustomItem*, bool, TBarItemChangeCode code, int,
                                 TBarCustomItem*) { told.push_back(code); });
    struct Case
    {
        const char* what;
        std::function<void()> change;
        std::vector<TBarItemChangeCode> expected;
    };
    const auto resize = TBarItemChangeCode::ItemChangedSize;
    const Case cases[] = {
        {"layout", [&] { item->SetLayout(TSkinItemLayout::sklGlyphTop); }, {resize}},
        {"same layout", [&] { item->SetLayout(TSkinItemLayout::sklGlyphTop); }, {}},
        {"minimum width", [&] { item->SetMinWidth(40); }, {resize}},
        {"minimum height", [&] { item->SetMinHeight(30); }, {resize}},
        {"same minimum height", [&] { item->SetMinHeight(30); }, {}},
        {"stretch", [&] { item->SetStretch(true); }, {resize}},
        {"same stretch", [&] { item->SetStretch(true); }, {}},
        {"font size", [&] { item->FontSettings()->SetSize(150); }, {resize}},
        {"same font size", [&] { item->FontSettings()->SetSize(150); }, {}},
        {"invalidate", [&] { item->Invalidate(); }, {TBarItemChangeCode::ItemChanged}},
    };
    for (const Case& c : cases) {
        told.clear();
        c.change();
        EXPECT_EQ(told, c.expected) << c.what;
    }
    EXPECT_TRUE(item->HasTrait(FullLineSpan));
    item->SetStretch(false);
    EXPECT_FALSE(item->Stretch());
}

using VisibilityToggle = testing_support::FormFixture;

TEST_F(VisibilityToggle, TheItemShowsAndHidesItsControlAndFollowsIt)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetCaption("Levels");
    TSkinVisibilityToggleItem item(nullptr);
    int clicks = 0;
    item.OnClick = [&](TObject*) { ++clicks; };
    item.SetControl(panel);
    EXPECT_EQ(item.Caption(), "Levels") << "an empty caption takes the control's text";

    item.Click();
    EXPECT_FALSE(panel->Visible());
    EXPECT_EQ(clicks, 1);
    panel->SetVisible(true);
    item.InitiateAction();
    EXPECT_TRUE(item.Checked());
    panel->SetVisible(false);
    item.InitiateAction();
    EXPECT_FALSE(item.Checked());

    item.SetEnabled(false);
    item.Click();
    EXPECT_FALSE(panel->Visible()) << "a disabled item changes nothing";
    EXPECT_EQ(clicks, 1);

    TSkinVisibilityToggleItem named(nullptr);
    named.SetCaption("&Panel");
    named.SetControl(panel);
    EXPECT_EQ(named.Caption(), "&Panel");
    delete panel;
    EXPECT_EQ(item.Control(), nullptr);
    EXPECT_EQ(named.Control(), nullptr);
    item.SetEnabled(true);
    item.Click();
    EXPECT_EQ(clicks, 2);
}

// --- State bits and image records --------------------------------------------------------

TEST(SkinViewerRecords, StateBitsAndImageRecordsFollowTheirFlags)
{
    struct StateCase
    {
        BYTE enabled, hot, pushed, checked;
        int bits;
    };
    const StateCase states[] = {
        {1, kSkinNotHot, 0, 0, 0},
        {0, kSkinNotHot, 0, 0, svsDisabled},
        {1, kSkinMouseHot, 0, 0, svsMouseHot},
        {1, kSkinKeyboardHot, 0, 0, 0},
        {1, kSkinMouseHot, 1, 1, svsMouseHot | svsPushed | svsChecked},
        {0, kSkinKeyboardHot, 0, 1, svsDisabled | svsChecked},
    };
    for (const StateCase& c : states) {
        TSkinItemInfo info = {};
        info.Enabled = c.enabled;
        info.HotState = c.hot;
        info.Pushed = c.pushed;
        info.Selected = c.checked;
        EXPECT_EQ(ViewerStateBits(info), c.bits);
    }

    TCustomImageList images(nullptr, 20, 18);
    struct ImageCase
    {
        DWORD flags;
        DWORD view, options;
        BYTE enabled, hot, pushed, checked;
    };
    const ImageCase cases[] = {
        {0, vkToolbarGroup, sioToolbarStyle, 1, kSkinNotHot, 0, 0},
        {sipPanel | svsDisabled, vkPanel, 0, 0, kSkinNotHot, 0, 0},
        {sipStatusBar | svsMouseHot | svsPushed, vkStatusBar, 0, 1, kSkinMouseHot, 1, 0},
        {svsChecked | svsMouseHot, vkToolbarGroup, sioToolbarStyle, 1, kSkinMouseHot, 0, 1},
    };
    for (const ImageCase& c : cases) {
        const TSkinItemInfo info = ImageInfoForFlags(c.flags, &images);
        EXPECT_EQ(info.ViewKindBits, c.view) << c.flags;
        EXPECT_EQ(info.ItemOptions, c.options) << c.flags;
        EXPECT_EQ(info.Enabled, c.enabled) << c.flags;
        EXPECT_EQ(info.HotState, c.hot) << c.flags;
        EXPECT_EQ(info.Pushed, c.pushed) << c.flags;
        EXPECT_EQ(info.Selected, c.checked) << c.flags;
        EXPECT_EQ(info.PictureWidth, 20);
        EXPECT_EQ(info.PictureHeight, 18);
    }
    EXPECT_EQ(ImageInfoForFlags(0, nullptr).PictureShown, 0);
}

// --- A menu opened at a rectangle ---------------------------------------------------------

TEST(PopupAtRect, TheMenuOpensBelowOrAboveAndStaysOnTheMonitor)
{
    const TRect monitor(0, 0, 800, 600);
    struct Case
    {
        const char* what;
        TRect at;
        SIZE size;
        bool right;
        TPoint expected;
    };
    const Case cases[] = {
        {"below, left edges lined up", {100, 100, 180, 120}, {150, 200}, false, {100, 120}},
        {"right edges lined up", {100, 100, 180, 120}, {150, 200}, true, {30, 120}},
        {"above when below passes the bottom", {100, 500, 180, 520}, {150, 200}, false, {100, 300}},
        {"kept inside when it fits neither way",
         {100, 150, 180, 170},
         {150, 500},
         false,
         {100, 100}},
        {"pushed back from the right edge", {700, 100, 780, 120}, {150, 200}, false, {650, 120}},
        {"pushed back from the left edge", {10, 100, 60, 120}, {150, 200}, true, {0, 120}},
        {"taller than the monitor: its top", {100, 100, 180, 120}, {150, 700}, false, {100, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PopupPositionAtRect(c.at, c.size, monitor, c.right), c.expected) << c.what;
}
