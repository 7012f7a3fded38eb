// The default theme: its metrics, colours and margins with visual styles
// and without (forced through the system parameter), its classic painting
// against system colours, and its styled painting against the style's own
// parts.
#include "PixelSheet.h"

#include "themes/Skin.h"
#include "themes/SkinDefaultTheme.h"
#include "themes/SkinUtils.h"
#include "themes/SkinUxThemes.h"

#include "classlib/ImageList.h"
#include "support/LibraryLoaders.h"
#include "toolbar/BarCommon.h"

#include <gtest/gtest.h>

#include <functional>

using theme_testing::PixelSheet;

namespace {

constexpr COLORREF kPaper = RGB(0x60, 0x40, 0x20);

COLORREF Sys(int index)
{
    return GetSysColor(index);
}

TSkinItemInfo Item(DWORD viewKind, DWORD options = 0)
{
    TSkinItemInfo info = {};
    info.ViewKindBits = viewKind;
    info.ItemOptions = options;
    info.Enabled = 1;
    return info;
}

class DefaultTheme : public testing::Test
{
protected:
    TSkinDefaultTheme* Theme() { return static_cast<TSkinDefaultTheme*>(CurrentTheme()); }
    void Classic() { SetSkinSysParam(2, 2); }
    void FlatMenus(bool on)
    {
        BarSeams().FlatMenus = [on] { return on; };
        SkinThemeManager()->Refresh();
    }
    bool Styled() { return SkinCache().VisualStylesActive; }
};

// A visual-style handle of our own, to ask the style what the theme should
// have drawn.
class OwnStyle
{
public:
    explicit OwnStyle(const wchar_t* className)
        : FHandle(VisualStyleEntryPoints().OpenThemeData(SkinThemeManager()->Window(), className))
    {
    }
    ~OwnStyle()
    {
        if (FHandle)
            VisualStyleEntryPoints().CloseThemeData(FHandle);
    }
    HTHEME Get() const { return FHandle; }
    void Draw(HDC dc, int part, int state, const TRect& r) const
    {
        VisualStyleEntryPoints().DrawThemeBackground(FHandle, dc, part, state, &r, nullptr);
    }

private:
    HTHEME FHandle;
};

} // namespace

// --- Tables ------------------------------------------------------------------------------

TEST_F(DefaultTheme, MetricsAreTheTablesWithTheSplitArrowFromTheStyle)
{
    struct Case
    {
        int index, value;
    };
    const Case fixed[] = {{20, 8},  {21, 3}, {32, 1}, {62, 1},  {33, 2}, {34, 2},
                          {36, 2},  {60, 2}, {61, 2}, {35, -1}, {37, 4}, {50, 6},
                          {65, 13}, {66, 0}, {0, -1}, {11, -1}, {99, -1}};
    int styledArrow = 11;
    if (Styled()) {
        OwnStyle toolbar(L"TOOLBAR");
        SIZE size = {};
        if (VisualStyleEntryPoints().GetThemePartSize(toolbar.Get(), nullptr, 4, 1, nullptr,
                                                      TS_TRUE, &size) == S_OK)
            styledArrow = size.cx + 2;
    }
    for (bool classic : {false, true}) {
        SCOPED_TRACE(classic ? "classic" : "with visual styles");
        if (classic)
            Classic();
        for (const Case& c : fixed)
            EXPECT_EQ(Theme()->IntegerMetric(c.index), c.value) << c.index;
        EXPECT_EQ(Theme()->IntegerMetric(10), classic ? 11 : styledArrow);
        EXPECT_EQ(Theme()->FlagMetric(5), !classic && Styled());
        for (int index : {1, 3, 4, 6, 7, 0, 42})
            EXPECT_FALSE(Theme()->FlagMetric(index)) << index;
    }
}

TEST_F(DefaultTheme, MarginsComeFromTheStyleOnlyWhenItAnswers)
{
    TSkinMargins button = {2, 2, 2, 2}, pane = {1, 3, 1, 1};
    if (Styled()) {
        OwnStyle toolbar(L"TOOLBAR"), status(L"STATUS");
        MARGINS m = {};
        if (VisualStyleEntryPoints().GetThemeMargins(toolbar.Get(), nullptr, 1, 2, 3603, nullptr,
                                                     &m) == S_OK)
            button = {m.cxLeftWidth, m.cxRightWidth, m.cyTopHeight, m.cyBottomHeight};
        RECT whole = {0, 0, 100, 100}, content = {};
        if (VisualStyleEntryPoints().GetThemeBackgroundContentRect(status.Get(), nullptr, 1, 0,
                                                                   &whole, &content) == S_OK)
            pane = {content.left, 100 - content.right, content.top, 100 - content.bottom};
    }
    for (bool classic : {false, true}) {
        SCOPED_TRACE(classic ? "classic" : "with visual styles");
        if (classic) {
            Classic();
            button = {2, 2, 2, 2};
            pane = {1, 3, 1, 1};
        }
        struct Case
        {
            int kind;
            TSkinMargins expected;
        };
        for (const Case& c :
             {Case{1, button}, Case{2, {0, 0, 2, 2}}, Case{3, pane}, Case{0, {}}, Case{4, {}}}) {
            TSkinMargins got = {9, 9, 9, 9};
            Theme()->PaddingForPart(c.kind, got);
            EXPECT_EQ(got, c.expected) << "kind " << c.kind;
        }
    }
}

TEST_F(DefaultTheme, ViewsHaveTheirBordersMarginsAndColours)
{
    for (bool classic : {false, true}) {
        SCOPED_TRACE(classic ? "classic" : "with visual styles");
        if (classic)
            Classic();
        TColor toolbar = clBtnFace, status = clBtnFace;
        if (!classic) {
            StyleColor(TSkinStyleClass::Toolbar, kSkinFillColorProperty, toolbar);
            StyleColor(TSkinStyleClass::Status, kSkinFillColorProperty, status);
        }
        EXPECT_EQ(Theme()->ToolbarColor(), toolbar);
        EXPECT_EQ(Theme()->StatusBarColor(), status);
        EXPECT_EQ(Theme()->PanelColor(), WeightedColorMixNearest(toolbar, clWindow, 64));

        struct Case
        {
            DWORD kind;
            SIZE edge;
            TColor fill;
            TSkinMargins padding;
        };
        const SIZE fixedFrame = {GetSystemMetrics(SM_CXFIXEDFRAME),
                                 GetSystemMetrics(SM_CYFIXEDFRAME)};
        const SIZE sizingFrame = {GetSystemMetrics(SM_CXSIZEFRAME),
                                  GetSystemMetrics(SM_CYSIZEFRAME)};
        const TColor menu = SkinCache().PopupMenuColor;
        const Case cases[] = {
            {vkToolbar, {2, 2}, toolbar, {}},
            {vkMenuBar | vkOpaque, {2, 2}, toolbar, {}},
            {vkToolWindow | vkFloating, fixedFrame, toolbar, {4, 4, 2, 1}},
            {vkToolbar | vkFloating | vkResizable, sizingFrame, toolbar, {4, 4, 2, 1}},
            {vkPopupMenu, {3, 3}, menu, {}},
            {vkChevronPopup, {3, 3}, menu, {}},
            {vkListPopup, {1, 1}, clWindow, {}},
            {vkEditPopup, {3, 3}, toolbar, {}},
            {vkPanel, {2, 2}, Theme()->PanelColor(), {}},
            {vkPanel | vkFloating, fixedFrame, Theme()->PanelColor(), {}},
            {vkStatusBar, {0, 0}, status, {}},
            {0, {0, 0}, clBtnFace, {}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << std::hex << c.kind);
            SIZE edge = {-1, -1};
            Theme()->ViewEdgeWidth(c.kind, edge);
            EXPECT_EQ(edge.cx, c.edge.cx);
            EXPECT_EQ(edge.cy, c.edge.cy);
            EXPECT_EQ(Theme()->ViewFillColor(c.kind), c.fill);
            TSkinMargins padding = {9, 9, 9, 9};
            Theme()->ViewPadding(c.kind, padding);
            EXPECT_EQ(padding, c.padding);
        }
        EXPECT_EQ(Theme()->MenuDropShadowStyle(), 1);
    }
}

TEST_F(DefaultTheme, ItemColoursFollowStateViewAndFlatMenus)
{
    Classic();
    FlatMenus(false);
    const TColor toolbar = Theme()->ToolbarColor();
    auto item = [](DWORD view, DWORD options, BYTE enabled, BYTE hot) {
        TSkinItemInfo info = Item(view, options);
        info.Enabled = enabled;
        info.HotState = hot;
        return info;
    };
    const DWORD active = sioAppActive, tool = sioToolbarStyle;
    struct Case
    {
        const char* what;
        bool flat;
        TSkinItemInfo info;
        TColor ink, fill, under;
    };
    const Case cases[] = {
        {"disabled", false, item(vkPopupMenu, active, 0, 0), clGrayText, clMenu, clMenu},
        {"toolbar button", false, item(vkToolbar, tool, 1, 2), clBtnText, toolbar, toolbar},
        {"toolbar-style on an inactive menu bar", false, item(vkMenuBar, tool, 1, 0), clGrayText,
         toolbar, toolbar},
        {"toolbar-style on an active menu bar", false, item(vkMenuBar, tool | active, 1, 0),
         clBtnText, toolbar, toolbar},
        {"hot toolbar-style on a flat menu bar", true, item(vkMenuBar, tool | active, 1, 2),
         clHighlightText, toolbar, clHighlight},
        {"hot menu item", false, item(vkPopupMenu, active, 1, 2), clHighlightText, clHighlight,
         clMenu},
        {"hot menu item, flat", true, item(vkPopupMenu, active, 1, 2), clHighlightText, clHighlight,
         toolbar},
        {"keyboard-hot disabled item", false, item(vkPopupMenu, active, 0, 1), clGrayText,
         clHighlight, clMenu},
        {"menu-bar item while inactive", false, item(vkMenuBar, 0, 1, 0), clGrayText, toolbar,
         toolbar},
        {"plain menu item", false, item(vkPopupMenu, active, 1, 0), clMenuText, clMenu, clMenu},
        {"chevron popup, flat", true, item(vkChevronPopup, active, 1, 0), clMenuText, clMenu,
         toolbar},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FlatMenus(c.flat);
        EXPECT_EQ(Theme()->ItemInkColor(c.info), c.ink);
        EXPECT_EQ(Theme()->ItemFillColor(c.info), c.fill);
        EXPECT_EQ(Theme()->ImageUnderColor(c.info), c.under);
    }

    // With visual styles a hot menu item keeps its view's colour.
    SetSkinSysParam(2, 0);
    EXPECT_EQ(Theme()->ItemFillColor(item(vkPopupMenu, active, 1, 2)),
              Styled() ? SkinCache().PopupMenuColor : clHighlight);

    TSkinItemInfo pushed = Item(vkToolbar, tool);
    EXPECT_EQ(Theme()->PushedImageShift(pushed), TPoint(0, 0));
    pushed.Selected = 1;
    EXPECT_EQ(Theme()->PushedImageShift(pushed), TPoint(1, 1));
}

// --- Classic painting -----------------------------------------------------------------------

TEST_F(DefaultTheme, ClassicButtonFacesShowTheirState)
{
    Classic();
    FlatMenus(false);
    const TRect r(2, 2, 22, 22);
    struct Case
    {
        const char* what;
        BYTE pushed, selected, hot;
        DWORD view;
        COLORREF topLeft, bottomRight, inside;
    };
    const COLORREF shadow = Sys(COLOR_BTNSHADOW), light = Sys(COLOR_BTNHIGHLIGHT);
    const Case cases[] = {
        {"normal", 0, 0, 0, vkToolbar, kPaper, kPaper, kPaper},
        {"hot", 0, 0, 2, vkToolbar, light, shadow, kPaper},
        {"pushed", 1, 0, 2, vkToolbar, shadow, light, kPaper},
        {"opaque normal", 0, 0, 0, vkToolbar | vkOpaque, Sys(COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW),
         Sys(COLOR_BTNFACE)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PixelSheet sheet(30, 30, kPaper);
        TSkinItemInfo info = Item(c.view, sioToolbarStyle);
        info.Pushed = c.pushed;
        info.Selected = c.selected;
        info.HotState = c.hot;
        Theme()->DrawButtonFace(sheet.Canvas(), r, info);
        EXPECT_EQ(sheet.At(2, 2), c.topLeft);
        EXPECT_EQ(sheet.At(21, 21), c.bottomRight);
        EXPECT_EQ(sheet.At(12, 12), c.inside);
        EXPECT_EQ(sheet.Count(TRect(0, 0, 30, 2), kPaper), 60);
    }

    // Checked but neither pushed nor hot: a sunken edge round a dither of
    // the toolbar colour and the highlight.
    PixelSheet sheet(30, 30, kPaper);
    TSkinItemInfo checked = Item(vkToolbar, sioToolbarStyle);
    checked.Selected = 1;
    Theme()->DrawButtonFace(sheet.Canvas(), r, checked);
    EXPECT_EQ(sheet.At(2, 2), shadow);
    EXPECT_NE(sheet.At(12, 12), sheet.At(13, 12));
    EXPECT_EQ(sheet.At(12, 12), sheet.At(13, 13));
}

TEST_F(DefaultTheme, ClassicMarksSitAroundTheCentre)
{
    Classic();
    const TRect r(0, 0, 16, 16); // centre (8, 8)
    PixelSheet check(16, 16, kPaper);
    Theme()->DrawTickGlyph(check.Canvas(), r, Item(vkPopupMenu));
    EXPECT_EQ(check.At(5, 7), Sys(COLOR_BTNTEXT));      // (cx - 3, cy - 1)
    EXPECT_EQ(check.At(11, 5), Sys(COLOR_BTNTEXT));     // (cx + 3, cy - 3)
    EXPECT_EQ(check.At(4, 7), Sys(COLOR_BTNHIGHLIGHT)); // the light line
    EXPECT_EQ(check.ChangedBox(), TRect(4, 5, 13, 12));

    PixelSheet disabled(16, 16, kPaper);
    TSkinItemInfo off = Item(vkPopupMenu);
    off.Enabled = 0;
    Theme()->DrawTickGlyph(disabled.Canvas(), r, off);
    EXPECT_EQ(disabled.At(5, 7), Sys(COLOR_GRAYTEXT));
    EXPECT_EQ(disabled.Count(TRect(0, 0, 16, 16), Sys(COLOR_BTNHIGHLIGHT)), 0);

    PixelSheet radio(16, 16, kPaper);
    Theme()->DrawTickGlyph(radio.Canvas(), r, Item(vkPopupMenu, sioRadioItem));
    EXPECT_EQ(radio.At(8, 8), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(radio.BoxOf(Sys(COLOR_BTNTEXT)).Width(), 6);
    EXPECT_EQ(radio.ChangedBox(), TRect(4, 4, 12, 12)); // the light ring
}

TEST_F(DefaultTheme, TheChevronGlyphSitsBelowTheTopAndEmbossesWhenDisabled)
{
    Classic();
    FlatMenus(false);
    const COLORREF ink = Sys(COLOR_BTNTEXT);
    PixelSheet across(14, 20, kPaper);
    Theme()->DrawOverflowArrow(across.Canvas(), TRect(0, 0, 14, 20),
                               Item(vkToolbar, sioToolbarStyle));
    EXPECT_EQ(across.ChangedBox(), TRect(3, 4, 11, 9)); // 8 x 5, four below the top
    EXPECT_EQ(across.At(3, 4), ink);                    // row 0xCC starts at once

    PixelSheet down(20, 14, kPaper);
    TSkinItemInfo vertical = Item(vkToolbar, sioToolbarStyle);
    vertical.InVerticalBar = 1;
    Theme()->DrawOverflowArrow(down.Canvas(), TRect(0, 0, 20, 14), vertical);
    EXPECT_EQ(down.ChangedBox(), TRect(11, 3, 16, 11)); // 5 x 8, ending four from the right

    PixelSheet pushed(14, 20, kPaper);
    TSkinItemInfo pushedInfo = Item(vkToolbar, sioToolbarStyle);
    pushedInfo.Pushed = 1;
    Theme()->DrawOverflowArrow(pushed.Canvas(), TRect(0, 0, 14, 20), pushedInfo);
    EXPECT_EQ(pushed.BoxOf(ink), TRect(4, 5, 12, 10));

    PixelSheet disabled(14, 20, kPaper);
    TSkinItemInfo off = Item(vkToolbar, sioToolbarStyle);
    off.Enabled = 0;
    Theme()->DrawOverflowArrow(disabled.Canvas(), TRect(0, 0, 14, 20), off);
    EXPECT_EQ(disabled.BoxOf(Sys(COLOR_BTNSHADOW)), TRect(3, 4, 11, 9));
    EXPECT_EQ(disabled.BoxOf(Sys(COLOR_BTNHIGHLIGHT)).right, 12);
    EXPECT_EQ(disabled.Count(TRect(0, 0, 14, 20), ink), 0);
}

TEST_F(DefaultTheme, ADisabledMenuEntryIsEmbossedWithoutVisualStylesAndPushedTextMoves)
{
    Classic();
    FlatMenus(false);
    auto draw = [&](PixelSheet& sheet, const TSkinItemInfo& info) {
        sheet.Canvas()->Font()->SetColor(clNone);
        TRect r(0, 0, 60, 24);
        Theme()->DrawItemText(sheet.Canvas(), r, info, L"WM", DT_SINGLELINE | DT_VCENTER, false);
    };
    TSkinItemInfo off = Item(vkPopupMenu);
    off.Enabled = 0;
    PixelSheet embossed(60, 24, kPaper);
    draw(embossed, off);
    const TRect shade = embossed.BoxOf(Sys(COLOR_BTNSHADOW));
    const TRect light = embossed.BoxOf(Sys(COLOR_BTNHIGHLIGHT));
    ASSERT_FALSE(shade.IsEmpty());
    EXPECT_EQ(light.right, shade.right + 1);
    EXPECT_EQ(light.bottom, shade.bottom + 1);

    off.HotState = kSkinKeyboardHot; // hovered by the keyboard: once, in grey
    PixelSheet once(60, 24, kPaper);
    draw(once, off);
    EXPECT_TRUE(once.BoxOf(Sys(COLOR_BTNHIGHLIGHT)).IsEmpty());
    EXPECT_FALSE(once.BoxOf(Sys(COLOR_GRAYTEXT)).IsEmpty());

    PixelSheet still(60, 24, kPaper), moved(60, 24, kPaper);
    TSkinItemInfo button = Item(vkToolbar, sioToolbarStyle);
    draw(still, button);
    button.Pushed = 1;
    draw(moved, button);
    TRect expected = still.BoxOf(Sys(COLOR_BTNTEXT));
    OffsetRect(&expected, 1, 1);
    EXPECT_EQ(moved.BoxOf(Sys(COLOR_BTNTEXT)), expected);
}

TEST_F(DefaultTheme, APushedImageMovesByOnePixel)
{
    TCustomImageList images(nullptr, 4, 4);
    TBitmap image;
    image.SetPixelFormat(TPixelFormat::pf24bit);
    image.SetSize(4, 4);
    image.Canvas()->Brush()->SetColor(0xFF00FF);
    image.Canvas()->FillRect(TRect(0, 0, 4, 4));
    SetPixel(image.Canvas()->Handle(), 1, 1, RGB(0, 0, 0));
    images.AddMasked(&image, 0xFF00FF);
    PixelSheet still(10, 10, kPaper), moved(10, 10, kPaper);
    TSkinItemInfo info = Item(vkToolbar, sioToolbarStyle);
    Theme()->DrawItemPicture(still.Canvas(), TRect(2, 2, 6, 6), info, &images, 0);
    info.Pushed = 1;
    Theme()->DrawItemPicture(moved.Canvas(), TRect(2, 2, 6, 6), info, &images, 0);
    EXPECT_EQ(still.ChangedBox(), TRect(3, 3, 4, 4));
    EXPECT_EQ(moved.ChangedBox(), TRect(4, 4, 5, 5));
}

TEST_F(DefaultTheme, ClassicSeparatorsAreIndentedByWhereTheyStand)
{
    Classic();
    struct Case
    {
        const char* what;
        DWORD view, options;
        bool horizontal, line;
        TRect box;
    };
    const TRect r(0, 0, 40, 20);
    const Case cases[] = {
        {"toolbar line", vkToolbar, sioToolbarStyle, true, true, TRect(4, 10, 36, 12)},
        {"floating toolbar line", vkToolbar | vkFloating, sioToolbarStyle, true, true,
         TRect(1, 10, 39, 12)},
        {"menu line", vkPopupMenu, 0, true, true, TRect(12, 10, 28, 12)},
        {"upright bar", vkToolbar, sioToolbarStyle, true, false, TRect(20, 4, 22, 16)},
        {"upright, not across", vkToolbar, sioToolbarStyle, false, false, TRect(20, 0, 22, 20)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PixelSheet sheet(40, 20, kPaper);
        Theme()->DrawDivider(sheet.Canvas(), r, Item(c.view, c.options), c.horizontal, c.line);
        EXPECT_EQ(sheet.ChangedBox(), c.box);
    }
    PixelSheet none(40, 20, kPaper);
    TSkinItemInfo blank = Item(vkToolbar, sioToolbarStyle);
    blank.Enabled = 0;
    Theme()->DrawDivider(none.Canvas(), r, blank, true, true);
    EXPECT_EQ(none.Changed(), 0);
}

TEST_F(DefaultTheme, PopupFramesAreRingsOfTheirViewsColours)
{
    Classic();
    struct Case
    {
        const char* what;
        DWORD view;
        bool flat;
        COLORREF rings[3];
    };
    const Case cases[] = {
        {"list",
         vkListPopup,
         false,
         {Sys(COLOR_WINDOWFRAME), Sys(COLOR_WINDOW), Sys(COLOR_WINDOW)}},
        {"flat menu", vkPopupMenu, true, {Sys(COLOR_BTNSHADOW), Sys(COLOR_MENU), Sys(COLOR_MENU)}},
        {"raised menu",
         vkPopupMenu,
         false,
         {Sys(COLOR_3DLIGHT), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_MENU)}},
        {"edit popup",
         vkEditPopup,
         false,
         {Sys(COLOR_3DLIGHT), Sys(COLOR_BTNHIGHLIGHT), ColorToRGB(Theme()->ToolbarColor())}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FlatMenus(c.flat);
        PixelSheet sheet(20, 20, kPaper);
        Theme()->DrawPopupEdge(sheet.Canvas(), TRect(0, 0, 20, 20), TRect(), c.view);
        for (int ring = 0; ring < 3; ++ring)
            EXPECT_EQ(sheet.At(ring, 10), c.rings[ring]) << ring;
        EXPECT_EQ(sheet.At(3, 10), kPaper);
    }
}

TEST_F(DefaultTheme, ClassicDragHandlesHaveTheirBarsAndCloseCross)
{
    Classic();
    const COLORREF light = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);
    auto draw = [&](PixelSheet& sheet, int style, DWORD close) {
        TSkinBarInfo info = {};
        info.ViewKindBits = vkToolbar;
        info.AllowDrag = 1;
        info.DragHandleStyle = style;
        info.CloseButtonState = close;
        sheet.Canvas()->Brush()->SetColor(static_cast<TColor>(kPaper));
        Theme()->DrawBarEdge(sheet.Canvas(), TRect(0, 0, 40, 30), info);
    };
    struct Case
    {
        int style;
        int lightColumns[2]; // -1: none
    };
    for (const Case& c : {Case{kDragHandleSingle, {2, -1}}, Case{kDragHandleDouble, {2, 5}},
                          Case{kDragHandleNone, {-1, -1}}}) {
        SCOPED_TRACE(c.style);
        PixelSheet sheet(40, 30, kPaper);
        draw(sheet, c.style, 0);
        int bars = 0;
        for (int column : c.lightColumns)
            if (column >= 0) {
                ++bars;
                EXPECT_EQ(sheet.At(column, 15), light);
                EXPECT_EQ(sheet.At(column + 2, 15), shadow);
            }
        // Each bar: two full columns and its middle column's two ends.
        EXPECT_EQ(sheet.Changed(), bars * (2 * 30 + 2));
    }

    // With the close button: the single bar five in, below a 14-pixel box
    // holding the cross.
    PixelSheet closing(40, 30, kPaper);
    draw(closing, kDragHandleSingle, scbShown);
    EXPECT_EQ(closing.At(5, 20), light);
    EXPECT_EQ(closing.At(5, 10), kPaper);
    const COLORREF ink = Sys(COLOR_BTNTEXT);
    EXPECT_EQ(closing.BoxOf(ink), TRect(4, 5, 10, 10));
    EXPECT_EQ(closing.At(4, 5), ink);
    EXPECT_EQ(closing.At(6, 5), kPaper);
    EXPECT_EQ(closing.At(6, 7), ink);

    PixelSheet pushed(40, 30, kPaper);
    draw(pushed, kDragHandleSingle, scbShown | scbPushed);
    EXPECT_EQ(pushed.BoxOf(ink), TRect(5, 6, 11, 11));
    EXPECT_EQ(pushed.At(2, 2), shadow); // the sunken edge
}

TEST_F(DefaultTheme, ClassicStatusPanesAndGrip)
{
    Classic();
    const COLORREF light = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);
    PixelSheet pane(30, 10, kPaper);
    Theme()->DrawStatusPane(pane.Canvas(), TRect(0, 0, 30, 10), TSkinStatusPart::Pane);
    EXPECT_EQ(pane.At(0, 5), shadow);
    EXPECT_EQ(pane.At(27, 5), light); // the right edge moved in by two
    EXPECT_EQ(pane.At(28, 5), kPaper);

    PixelSheet last(30, 10, kPaper);
    Theme()->DrawStatusPane(last.Canvas(), TRect(0, 0, 30, 10), TSkinStatusPart::LastPane);
    EXPECT_EQ(last.At(29, 5), light);

    PixelSheet grip(12, 12, kPaper);
    Theme()->DrawStatusPane(grip.Canvas(), TRect(0, 0, 12, 12), TSkinStatusPart::SizeGrip);
    EXPECT_EQ(grip.At(11, 11), light);
    EXPECT_EQ(grip.At(11, 10), shadow);
    EXPECT_EQ(grip.At(10, 11), shadow);
    EXPECT_EQ(grip.At(1, 11), shadow); // the third ridge's last line
    EXPECT_EQ(grip.At(0, 11), kPaper);
    EXPECT_EQ(grip.At(8, 11), kPaper); // between ridges

    PixelSheet back(10, 10, kPaper);
    Theme()->DrawStatusPane(back.Canvas(), TRect(0, 0, 10, 10), TSkinStatusPart::Background);
    EXPECT_EQ(back.At(5, 5), ColorToRGB(Theme()->StatusBarColor()));
}

TEST_F(DefaultTheme, ClassicCheckControlsAreFlatUntilHotOrPushed)
{
    Classic();
    struct Case
    {
        const char* what;
        int kind;
        DWORD state;
        COLORREF frame, inside, mark;
    };
    const COLORREF window = Sys(COLOR_WINDOW), face = Sys(COLOR_BTNFACE);
    const Case cases[] = {
        {"checked box", kSkinCheckBox, scsChecked, Sys(COLOR_BTNSHADOW), window,
         Sys(COLOR_BTNTEXT)},
        {"disabled box", kSkinCheckBox, scsChecked | scsDisabled, Sys(COLOR_BTNSHADOW), face,
         Sys(COLOR_GRAYTEXT)},
        {"empty box", kSkinCheckBox, 0, Sys(COLOR_BTNSHADOW), window, window},
        {"checked radio", kSkinRadioButton, scsChecked, Sys(COLOR_BTNSHADOW), window,
         Sys(COLOR_BTNTEXT)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PixelSheet sheet(13, 13, kPaper);
        Theme()->DrawCheckGlyph(sheet.Canvas(), TRect(0, 0, 13, 13), c.state, c.kind);
        EXPECT_EQ(sheet.At(0, 6), c.frame);
        EXPECT_EQ(sheet.At(2, 6), c.inside);
        EXPECT_EQ(sheet.At(6, 6), c.mark);
    }
    PixelSheet mixed(13, 13, kPaper);
    Theme()->DrawCheckGlyph(mixed.Canvas(), TRect(0, 0, 13, 13), scsMixed, kSkinCheckBox);
    EXPECT_EQ(mixed.At(6, 6), Sys(COLOR_BTNSHADOW));
    EXPECT_NE(mixed.At(1, 2), mixed.At(2, 2)); // dithered
}

TEST_F(DefaultTheme, AClassicMenuRowHighlightsBesideItsImageColumnAndSplitPart)
{
    Classic();
    FlatMenus(false);
    const int check = GetSystemMetrics(SM_CXMENUCHECK);
    const COLORREF highlight = Sys(COLOR_HIGHLIGHT), highlightText = Sys(COLOR_HIGHLIGHTTEXT);
    const TRect row(0, 0, 100, 20);
    TSkinItemInfo info = Item(vkPopupMenu, sioAppActive | sioHasSubmenu);
    info.HotState = kSkinMouseHot;
    info.PictureWidth = 16;
    info.ImageColumnWidth = 20;

    PixelSheet sheet(100, 20, kPaper);
    Theme()->DrawMenuEntry(sheet.Canvas(), row, info);
    EXPECT_EQ(sheet.At(20, 0), highlight);
    EXPECT_EQ(sheet.At(50, 19), highlight);
    // The image column: a raised button face, not highlighted.
    EXPECT_EQ(sheet.At(0, 0), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(sheet.At(19, 19), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(sheet.At(10, 10), kPaper);
    // The submenu arrow, 4 x 7, two thirds of a check mark from the right.
    const int cx = 100 - check * 2 / 3;
    EXPECT_EQ(sheet.Count(TRect(cx - 2, 7, cx + 2, 14), highlightText), 16);
    EXPECT_EQ(sheet.Count(TRect(20, 0, 100, 20), highlightText), 16);

    info.ItemOptions = sioAppActive | sioSplitButton;
    PixelSheet split(100, 20, kPaper);
    Theme()->DrawMenuEntry(split.Canvas(), row, info);
    EXPECT_EQ(split.At(100 - check - 1, 10), highlight);
    EXPECT_EQ(split.At(100 - check, 0), Sys(COLOR_BTNSHADOW)); // framed sunken
    EXPECT_EQ(split.At(99, 19), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(split.At(100 - check + 3, 10), kPaper);
}

TEST_F(DefaultTheme, AClassicFloatingFrameHasARaisedEdgeAndACloseButtonOnTheCaptionColour)
{
    Classic();
    HWND frame = CreateWindowA("STATIC", "Tools", WS_POPUP, 0, 0, 80, 50, nullptr, nullptr, nullptr,
                               nullptr);
    TSkinFloatFrameInfo info = {};
    info.FrameWindow = frame;
    info.BorderSize = {3, 3};
    info.CaptionHeight = 14;
    info.CaptionShown = 1;
    info.Active = 1;
    info.CloseButtonState = scbShown;
    info.RedrawParts = sfpFrame | sfpCaption | sfpCloseButton;
    PixelSheet sheet(80, 50, kPaper);
    Theme()->DrawFloatFrame(sheet.Canvas(), TRect(0, 0, 80, 50), info);
    DestroyWindow(frame);

    EXPECT_EQ(sheet.At(0, 30), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(sheet.At(1, 30), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(sheet.At(2, 30), Sys(COLOR_BTNFACE));
    EXPECT_EQ(sheet.At(79, 30), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(sheet.At(40, 30), kPaper);             // the client area is left alone
    EXPECT_EQ(sheet.At(10, 17), Sys(COLOR_BTNFACE)); // the line under the caption
    BOOL gradient = FALSE;
    SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
    const COLORREF caption = Sys(gradient ? COLOR_GRADIENTACTIVECAPTION : COLOR_ACTIVECAPTION);
    EXPECT_EQ(sheet.At(63, 3), caption); // the close button's square, outside the button
    EXPECT_EQ(sheet.At(76, 16), caption);
    EXPECT_NE(sheet.At(70, 10), caption);

    info.RedrawParts = sfpCloseButton;
    PixelSheet buttonOnly(80, 50, kPaper);
    Theme()->DrawFloatFrame(buttonOnly.Canvas(), TRect(0, 0, 80, 50), info);
    EXPECT_EQ(buttonOnly.ChangedBox(), TRect(63, 3, 77, 17));
}

// --- Painting with visual styles ---------------------------------------------------------------

TEST_F(DefaultTheme, StyledPartsAreTheStylesOwn)
{
    if (!Styled())
        GTEST_SKIP() << "no visual style on this system";
    struct Case
    {
        const char* what;
        const wchar_t* className;
        int part, state;
        std::function<void(TCanvas*, const TRect&)> paint;
    };
    TSkinDefaultTheme* theme = Theme();
    auto face = [theme](BYTE hot, BYTE pushed, BYTE kind) {
        return [=](TCanvas* canvas, const TRect& r) {
            TSkinItemInfo info = Item(vkToolbar, sioToolbarStyle);
            info.HotState = hot;
            info.Pushed = pushed;
            info.ButtonPartKind = kind;
            theme->DrawButtonFace(canvas, r, info);
        };
    };
    const Case cases[] = {
        {"hot button", L"TOOLBAR", 1, 2, face(2, 0, kSkinPlainButton)},
        {"pushed drop-down button", L"TOOLBAR", 2, 3, face(2, 1, kSkinArrowButton)},
        {"normal split main part", L"TOOLBAR", 3, 1, face(0, 0, kSkinSplitMain)},
        {"checked box", L"BUTTON", 3, 5,
         [theme](TCanvas* c, const TRect& r) {
             theme->DrawCheckGlyph(c, r, scsChecked, kSkinCheckBox);
         }},
        {"hot disabled radio", L"BUTTON", 2, 4,
         [theme](TCanvas* c, const TRect& r) {
             theme->DrawCheckGlyph(c, r, scsHot | scsDisabled, kSkinRadioButton);
         }},
        {"status pane", L"STATUS", 1, 0,
         [theme](TCanvas* c, const TRect& r) {
             theme->DrawStatusPane(c, r, TSkinStatusPart::Pane);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TRect r(2, 2, 26, 24);
        PixelSheet drawn(30, 28, kPaper), expected(30, 28, kPaper);
        c.paint(drawn.Canvas(), r);
        OwnStyle(c.className).Draw(expected.DC(), c.part, c.state, r);
        EXPECT_TRUE(drawn.SameAs(expected));
    }
}

TEST_F(DefaultTheme, WithoutTheStyleLibraryItPaintsClassic)
{
    SetVisualStyleLibLoader(testing_support::MissingLibraryLoader);
    SkinThemeManager()->Refresh();
    EXPECT_FALSE(SkinCache().VisualStylesActive);
    EXPECT_EQ(Theme()->IntegerMetric(10), 11);
    PixelSheet sheet(30, 30, kPaper);
    TSkinItemInfo hot = Item(vkToolbar, sioToolbarStyle);
    hot.HotState = kSkinMouseHot;
    Theme()->DrawButtonFace(sheet.Canvas(), TRect(2, 2, 22, 22), hot);
    EXPECT_EQ(sheet.At(2, 2), Sys(COLOR_BTNHIGHLIGHT));
    SetVisualStyleLibLoader(nullptr);
    SkinThemeManager()->Refresh();
}
