// Themed viewers through the recording theme: the sizes they ask for, what
// they tell the theme of each state, the order and parts of their drawing
// calls, their fonts; separators with a size and the chevron button.
#include "PixelSheet.h"
#include "RecordingTheme.h"
#include "SkinTestHost.h"

#include "classlib/Graphics.h"
#include "classlib/ImageList.h"
#include "classlib/ShortCut.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <functional>

using namespace theme_testing;
using namespace testing_support;

namespace {

class ThemedViewers : public FormFixture
{
protected:
    void TearDown() override
    {
        FreeAndNil(host);
        FormFixture::TearDown();
    }
    TBarView* Host(bool toolbar, DWORD viewKind = 0)
    {
        FreeAndNil(host);
        host = new ThemedViewHost(form, toolbar,
                                  viewKind  ? viewKind
                                  : toolbar ? vkToolbar
                                            : vkPopupMenu);
        return host->View();
    }
    // The viewer of the only item in a fresh view.
    TBarItemViewer* ViewerOf(TBarCustomItem* item, bool toolbar, DWORD viewKind = 0)
    {
        TBarView* view = Host(toolbar, viewKind);
        host->Root()->Add(item);
        view->EnsureLayout();
        return view->Find(item);
    }
    // The theme's calls while viewer paints itself at its own size.
    std::vector<ThemeCall> PaintCalls(TBarItemViewer* viewer, bool selected = false,
                                      bool pushed = false)
    {
        recording->Calls.clear();
        const SIZE size = Measure(viewer);
        TBitmap sheet;
        sheet.SetSize(size.cx, size.cy);
        sheet.Canvas()->Font()->Assign(viewer->View()->GetFont());
        viewer->Paint(sheet.Canvas(), TRect(0, 0, size.cx, size.cy), selected, pushed, true);
        return recording->Calls;
    }
    TEXTMETRICA ViewMetrics() { return TScreenTextMeasure(*host->View()->GetFont()).Metrics(); }

    ThemedViewHost* host = nullptr; // owned
    TRecordingTheme* recording = UseRecordingTheme();
    TCustomImageList images{nullptr, 16, 15};
};

TestSubmenuItem* Submenu(const AnsiString& caption, bool split, TBarItemOptions options = 0)
{
    auto* item = new TestSubmenuItem(caption, split);
    item->SetOptions(options);
    item->Add(new TSkinCustomItem(nullptr));
    return item;
}

} // namespace

// --- Sizes -----------------------------------------------------------------------------------

TEST_F(ThemedViewers, ToolbarButtonsMeasureCaptionImageAndArrows)
{
    const int split = 13, arrow = 9; // the recording theme's metrics 10 and 20
    struct Case
    {
        const char* what;
        std::function<TBarCustomItem*()> make;
        bool vertical;
        std::function<SIZE(SIZE text)> expected;
    };
    auto plain = [&](const char* caption, int image, TSkinItemLayout layout) {
        return [=, this]() -> TBarCustomItem* {
            auto* item = new TSkinCustomItem(nullptr);
            item->SetCaption(caption);
            item->SetImages(&images);
            item->SetImageIndex(image);
            item->SetLayout(layout);
            item->SetDisplayMode(TBarItemDisplayMode::nbdmImageAndText);
            return item;
        };
    };
    const auto kAuto = TSkinItemLayout::sklAuto;
    const Case cases[] = {
        {"caption", plain("Open", -1, kAuto), false,
         [](SIZE t) {
             return SIZE{6 + t.cx + 4, 6 + t.cy};
         }},
        {"image left of the caption", plain("Open", 0, kAuto), false,
         [](SIZE t) {
             return SIZE{6 + t.cx + 4 + 16 + 1, std::max<int>(6 + t.cy, 15 + 6)};
         }},
        {"image above the caption", plain("Open", 0, TSkinItemLayout::sklGlyphTop), false,
         [](SIZE t) {
             return SIZE{std::max<int>(6 + t.cx + 4, 16 + 7), 6 + t.cy + 15};
         }},
        {"image only", plain("", 0, kAuto), false,
         [](SIZE) {
             return SIZE{6 + 16 + 1, 15 + 6};
         }},
        {"caption down a vertical bar", plain("Open", -1, TSkinItemLayout::sklGlyphLeft), true,
         [](SIZE t) {
             return SIZE{6 + t.cy, 6 + t.cx + 4};
         }},
        {"caption across a vertical bar", plain("Open", -1, kAuto), true,
         [](SIZE t) {
             return SIZE{6 + t.cx + 4, 6 + t.cy};
         }},
        {"split button", [] { return Submenu("Open", true); }, false,
         [&](SIZE t) {
             return SIZE{6 + t.cx + 4 + split, 6 + t.cy};
         }},
        {"drop-down arrow", [] { return Submenu("Open", false, tboDropdownArrow); }, false,
         [&](SIZE t) {
             return SIZE{6 + t.cx + 4 + arrow, 6 + t.cy};
         }},
        {"drop-down arrow in a vertical bar",
         [] { return Submenu("Open", false, tboDropdownArrow); }, true,
         [&](SIZE t) {
             return SIZE{6 + t.cx + 4, 6 + t.cy + arrow};
         }},
        {"drop-down arrow beside an image above the caption",
         [&] {
             TestSubmenuItem* item = Submenu("Go", false, tboDropdownArrow | tboImageAboveCaption);
             item->SetImages(&images);
             item->SetImageIndex(0);
             return item;
         },
         false,
         [&](SIZE t) {
             return SIZE{std::max<int>(6 + t.cx + 4, arrow + 16 + 2 + 7), 6 + t.cy + 15};
         }},
    };
    for (const Case& c : cases) {
        TBarCustomItem* item = c.make();
        TBarItemViewer* viewer = ViewerOf(item, true);
        if (c.vertical) {
            host->View()->SetOrientation(TBarViewOrientation::Vertical);
            viewer = host->View()->Find(item);
        }
        const SIZE expected = c.expected(TextSize(host->View(), item->Caption()));
        const SIZE size = Measure(viewer);
        EXPECT_EQ(size.cx, expected.cx) << c.what;
        EXPECT_EQ(size.cy, expected.cy) << c.what;
    }
}

TEST_F(ThemedViewers, MenuRowsReserveAnImageColumnAndRoomForShortcutAndArrow)
{
    // The recording theme: metrics 32, 33, 34 are 1, 2, 3; menu margins
    // left 1, right 2, top 3, bottom 4.
    const int gaps = 1 + 2 + 3, across = 1 + 2, down = 3 + 4;
    struct Case
    {
        const char* what;
        TCustomImageList* images;
        bool shortcut;
        SIZE minimum;
    };
    TCustomImageList tall(nullptr, 20, 24);
    const Case cases[] = {
        {"no image list: 16 pixels", nullptr, false, {}},
        {"an image list's height", &tall, false, {}},
        {"shortcut text", nullptr, true, {}},
        {"at least the minimum size", nullptr, false, {400, 60}},
    };
    for (const Case& c : cases) {
        auto* item = new TSkinCustomItem(nullptr);
        item->SetCaption("&Open");
        item->SetImages(c.images);
        if (c.shortcut)
            item->SetShortCut(ShortCut('O', ssCtrl));
        item->SetMinWidth(c.minimum.cx);
        item->SetMinHeight(c.minimum.cy);
        TBarItemViewer* viewer = ViewerOf(item, false);
        const TEXTMETRICA metrics = ViewMetrics();
        const int line = metrics.tmHeight + metrics.tmExternalLeading;
        const SIZE image = c.images ? SIZE{20, 24} : SIZE{16, 16};
        const int column =
            (image.cx + down) * std::max<int>(line + down, image.cy + down) / (image.cy + down);
        EXPECT_EQ(MeasureThemedViewer(viewer), column) << c.what;
        const int height = std::max<int>(line, image.cy) + down;
        int width = TextSize(host->View(), "&Open").cx + across + gaps + column + height;
        if (c.shortcut)
            width += TextSize(host->View(), item->ShortcutCaption()).cx + height - 6;
        const SIZE size = Measure(viewer);
        EXPECT_EQ(size.cx, std::max<int>(width, c.minimum.cx)) << c.what;
        EXPECT_EQ(size.cy, std::max<int>(height, c.minimum.cy)) << c.what;
    }
}

// --- What the theme is told ----------------------------------------------------------------

TEST_F(ThemedViewers, EachStateReachesTheThemeAsItsRecord)
{
    struct Case
    {
        const char* what;
        std::function<void(TSkinCustomItem*, TBarView*)> prepare;
        bool selected, pushed;
        TSkinItemInfo expected; // ViewKindBits is the host's
    };
    auto info = [](BYTE enabled, BYTE pushed, BYTE hot, BYTE checked) {
        TSkinItemInfo i = {};
        i.ItemOptions = sioToolbarStyle;
        i.Enabled = enabled;
        i.Pushed = pushed;
        i.HotState = hot;
        i.Selected = checked;
        return i;
    };
    auto nothing = [](TSkinCustomItem*, TBarView*) {};
    auto disable = [](TSkinCustomItem* item, TBarView*) { item->SetEnabled(false); };
    const Case cases[] = {
        {"idle", nothing, false, false, info(1, 0, kSkinNotHot, 0)},
        {"selected", nothing, true, false, info(1, 0, kSkinMouseHot, 0)},
        {"pushed", nothing, true, true, info(1, 1, kSkinMouseHot, 0)},
        {"checked", [](TSkinCustomItem* item, TBarView*) { item->SetChecked(true); }, false, false,
         info(1, 0, kSkinNotHot, 1)},
        {"disabled", disable, false, false, info(0, 0, kSkinNotHot, 0)},
        {"disabled, selected by the keyboard", disable, true, false,
         info(0, 0, kSkinKeyboardHot, 0)},
        {"disabled while customizing",
         [](TSkinCustomItem* item, TBarView* view) {
             item->SetEnabled(false);
             view->SetCustomizing(true);
         },
         false, false, info(1, 0, kSkinNotHot, 0)},
    };
    for (const Case& c : cases) {
        auto* item = new TSkinCustomItem(nullptr);
        item->SetCaption("Go");
        TBarView* view = Host(true, vkToolbar | vkOpaque);
        host->Root()->Add(item);
        c.prepare(item, view);
        const std::vector<ThemeCall> calls = PaintCalls(view->Find(item), c.selected, c.pushed);
        ASSERT_FALSE(calls.empty()) << c.what;
        const TSkinItemInfo& got = calls.front().Info;
        EXPECT_EQ(calls.front().Slot, "DrawButtonFace") << c.what;
        EXPECT_EQ(got.ViewKindBits, static_cast<DWORD>(vkToolbar | vkOpaque)) << c.what;
        EXPECT_EQ(got.ItemOptions & ~sioAppActive, c.expected.ItemOptions) << c.what;
        EXPECT_EQ(got.Enabled, c.expected.Enabled) << c.what;
        EXPECT_EQ(got.Pushed, c.expected.Pushed) << c.what;
        EXPECT_EQ(got.HotState, c.expected.HotState) << c.what;
        EXPECT_EQ(got.Selected, c.expected.Selected) << c.what;
        EXPECT_EQ(got.PictureShown, 0) << c.what;
    }
}

TEST_F(ThemedViewers, ADisabledButtonUnderTheMouseIsNotHot)
{
    form->SetBounds(100, 100, 300, 120);
    auto* bar = new TSkinToolbar(form);
    bar->SetParent(form);
    AddSkinItem(bar->Items(), "On");
    TSkinCustomItem* off = AddSkinItem(bar->Items(), "Off");
    off->SetEnabled(false);
    ASSERT_TRUE(ActivateForm(form));
    TBarItemViewer* viewer = bar->View()->Find(off);
    const TRect r = viewer->BoundsRect();
    recording->Calls.clear();
    RealMouseMove(ScreenPointOf(bar->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2));
    ASSERT_TRUE(PumpUntil([&] { return bar->View()->Selected() == viewer; }));
    // The disabled button's faces painted since it became the selection.
    auto selectedFaces = [&] {
        std::vector<TSkinItemInfo> faces;
        for (const ThemeCall& call : recording->Of("DrawButtonFace"))
            if (!call.Info.Enabled && call.Info.HotState != kSkinNotHot)
                faces.push_back(call.Info);
        return faces;
    };
    ASSERT_TRUE(PumpUntil([&] { return !selectedFaces().empty(); })) << "the button repaints";
    for (const TSkinItemInfo& face : selectedFaces()) {
        EXPECT_EQ(face.HotState, kSkinMouseHot);
        EXPECT_FALSE(ItemIsHot(face));
    }
}

TEST_F(ThemedViewers, KindsOfItemsAndViewsReachTheThemeAsOptions)
{
    struct Case
    {
        const char* what;
        std::function<TBarCustomItem*()> make;
        bool toolbar, vertical;
        DWORD options;
        BYTE verticalBar, partKind, pictureShown;
    };
    const Case cases[] = {
        {"menu row", [] { return new TSkinCustomItem(nullptr); }, false, false, 0, 0, 0, 0},
        {"submenu row", [] { return Submenu("Sub", false); }, false, false, sioHasSubmenu, 0, 0, 0},
        {"split button in a vertical bar", [] { return Submenu("Sub", true); }, true, true,
         sioToolbarStyle | sioHasSubmenu | sioSplitButton, 0, kSkinSplitMain, 0},
        {"drop-down button in a vertical bar",
         [] { return Submenu("Sub", false, tboDropdownArrow); }, true, true,
         sioToolbarStyle | sioHasSubmenu, 1, kSkinArrowButton, 0},
        {"button with an image",
         [&] {
             auto* item = new TSkinCustomItem(nullptr);
             item->SetImages(&images);
             item->SetImageIndex(2);
             return item;
         },
         true, false, sioToolbarStyle, 0, 0, 1},
        {"text only",
         [&] {
             auto* item = new TSkinCustomItem(nullptr);
             item->SetImages(&images);
             item->SetImageIndex(2);
             item->SetDisplayMode(TBarItemDisplayMode::nbdmTextOnly);
             return item;
         },
         true, false, sioToolbarStyle, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TBarCustomItem* item = c.make();
        item->SetCaption("Sub");
        TBarItemViewer* viewer = ViewerOf(item, c.toolbar);
        if (c.vertical) {
            host->View()->SetOrientation(TBarViewOrientation::Vertical);
            viewer = host->View()->Find(item);
        }
        const std::vector<ThemeCall> calls = PaintCalls(viewer);
        const std::string first = c.toolbar ? "DrawButtonFace" : "DrawMenuEntry";
        ASSERT_EQ(recording->Of(first).size(), c.toolbar && (c.options & sioSplitButton) ? 2u : 1u)
            << c.what;
        const TSkinItemInfo got = recording->Of(first).back().Info;
        EXPECT_EQ(got.ItemOptions & ~sioAppActive, c.options) << c.what;
        EXPECT_EQ(got.InVerticalBar, c.verticalBar) << c.what;
        EXPECT_EQ(got.ButtonPartKind, c.partKind) << c.what;
        EXPECT_EQ(got.PictureShown, c.pictureShown) << c.what;
        if (c.pictureShown) {
            EXPECT_EQ(got.PictureWidth, 16);
            EXPECT_EQ(got.PictureHeight, 15);
            ASSERT_EQ(recording->Of("DrawItemPicture").size(), 1u);
            EXPECT_EQ(recording->Of("DrawItemPicture")[0].Number, 2);
        }
        EXPECT_EQ(got.ImageColumnWidth, c.toolbar ? 0 : MeasureThemedViewer(viewer)) << c.what;
    }
}

TEST_F(ThemedViewers, ASplitButtonPaintsItsArrowPartThenItsMainPart)
{
    struct Case
    {
        const char* what;
        bool open, checked, pushed;
        BYTE arrowPushed, mainPushed, mainChecked;
    };
    const Case cases[] = {
        {"pressed on its button part", false, false, true, 0, 1, 0},
        {"its submenu open", true, false, true, 1, 0, 0},
        {"checked", false, true, false, 0, 0, 1},
    };
    for (const Case& c : cases) {
        TestSubmenuItem* item = Submenu("Split", true);
        item->SetChecked(c.checked);
        TBarItemViewer* viewer = ViewerOf(item, true);
        if (c.open) {
            host->View()->ChangeSelection(viewer, false);
            ASSERT_TRUE(host->View()->ShowChildPopup(false));
        }
        const SIZE size = Measure(viewer);
        PaintCalls(viewer, c.open || c.pushed, c.pushed);
        const std::vector<ThemeCall> faces = recording->Of("DrawButtonFace");
        ASSERT_EQ(faces.size(), 2u) << c.what;
        EXPECT_EQ(faces[0].Info.ButtonPartKind, kSkinSplitArrow) << c.what;
        EXPECT_EQ(faces[0].Rect, TRect(size.cx - 13, 0, size.cx, size.cy)) << c.what;
        EXPECT_EQ(faces[0].Info.Pushed, c.arrowPushed) << c.what;
        EXPECT_EQ(faces[0].Info.Selected, 0) << c.what;
        EXPECT_EQ(faces[1].Info.ButtonPartKind, kSkinSplitMain) << c.what;
        EXPECT_EQ(faces[1].Rect, TRect(0, 0, size.cx - 13, size.cy)) << c.what;
        EXPECT_EQ(faces[1].Info.Pushed, c.mainPushed) << c.what;
        EXPECT_EQ(faces[1].Info.Selected, c.mainChecked) << c.what;
        EXPECT_EQ(faces[1].Info.PopupOpen, c.open ? 1 : 0) << c.what;
        EXPECT_TRUE(recording->Of("DrawDropArrow").empty()) << "the theme draws a split arrow";
        host->View()->ShutChildPopups();
    }
}

TEST_F(ThemedViewers, ADropDownArrowTakesTheEndOfTheButtonOrSitsBesideTheImage)
{
    struct Case
    {
        const char* what;
        TBarItemOptions options;
        bool vertical;
    };
    const Case cases[] = {
        {"across", tboDropdownArrow, false},
        {"down a vertical bar", tboDropdownArrow, true},
        {"beside an image above the caption", tboDropdownArrow | tboImageAboveCaption, false},
    };
    for (const Case& c : cases) {
        TestSubmenuItem* item = Submenu("Go", false, c.options);
        // Vertical bars put the image above the caption unless told.
        if (c.vertical)
            item->SetLayout(TSkinItemLayout::sklGlyphLeft);
        item->SetImages(&images);
        item->SetImageIndex(0);
        TBarItemViewer* viewer = ViewerOf(item, true);
        if (c.vertical) {
            host->View()->SetOrientation(TBarViewOrientation::Vertical);
            viewer = host->View()->Find(item);
        }
        const SIZE size = Measure(viewer);
        PaintCalls(viewer);
        ASSERT_EQ(recording->Of("DrawDropArrow").size(), 1u) << c.what;
        ASSERT_EQ(recording->Of("DrawItemPicture").size(), 1u) << c.what;
        const TRect arrow = recording->Of("DrawDropArrow")[0].Rect;
        const TRect picture = recording->Of("DrawItemPicture")[0].Rect;
        EXPECT_EQ(picture.Width(), 16) << c.what;
        EXPECT_EQ(picture.Height(), 15) << c.what;
        if (c.options & tboImageAboveCaption) {
            EXPECT_EQ(arrow.left, picture.right + 2) << c.what;
            EXPECT_EQ(arrow.Width(), 9) << c.what;
        } else if (c.vertical) {
            EXPECT_EQ(arrow, TRect(0, size.cy - 9, size.cx, size.cy)) << c.what;
            EXPECT_LE(picture.bottom, arrow.top) << c.what;
        } else {
            EXPECT_EQ(arrow, TRect(size.cx - 9, 0, size.cx, size.cy)) << c.what;
            EXPECT_LE(picture.right, arrow.left) << c.what;
        }
    }
}

TEST_F(ThemedViewers, AMenuRowDrawsItsEntryCaptionShortcutAndCheckMark)
{
    auto* item = new TSkinCustomItem(nullptr);
    item->SetCaption("&Open");
    item->SetShortCut(ShortCut('O', ssCtrl));
    item->SetRadioItem(true);
    item->SetChecked(true);
    TBarItemViewer* viewer = ViewerOf(item, false);
    const SIZE size = Measure(viewer);
    const int column = MeasureThemedViewer(viewer);
    PaintCalls(viewer);
    EXPECT_EQ(recording->Slots(), (std::vector<std::string>{"DrawMenuEntry", "DrawItemText",
                                                            "DrawItemText", "DrawTickGlyph"}));
    const std::vector<ThemeCall> texts = recording->Of("DrawItemText");
    EXPECT_EQ(texts[0].Text, L"&Open");
    EXPECT_FALSE(texts[0].Format & DT_CENTER);
    EXPECT_FALSE(texts[0].Flag) << "never rotated";
    EXPECT_GE(texts[0].Rect.left, column);
    EXPECT_EQ(texts[1].Text, L"Ctrl+O");
    EXPECT_TRUE(texts[1].Format & DT_RIGHT);
    EXPECT_TRUE(texts[1].Format & DT_NOPREFIX);
    EXPECT_EQ(texts[1].Rect.right, size.cx - size.cy) << "the submenu arrow's room";
    const ThemeCall tick = recording->Of("DrawTickGlyph")[0];
    EXPECT_EQ(tick.Rect, TRect(0, 0, column, size.cy));
    EXPECT_TRUE(tick.Info.ItemOptions & sioRadioItem);
    EXPECT_FALSE(recording->Of("DrawMenuEntry")[0].Info.ItemOptions & sioRadioItem);

    // With an image the image shows in the column instead of the mark.
    item->SetImages(&images);
    item->SetImageIndex(1);
    viewer = host->View()->Find(item);
    PaintCalls(viewer);
    EXPECT_TRUE(recording->Of("DrawTickGlyph").empty());
    ASSERT_EQ(recording->Of("DrawItemPicture").size(), 1u);
    const TRect picture = recording->Of("DrawItemPicture")[0].Rect;
    EXPECT_EQ(picture.left, (column - 16) / 2);
    EXPECT_EQ(picture.Width(), 16);
}

TEST_F(ThemedViewers, TheCaptionFontTakesTheThemeColourThenTheItemsSettings)
{
    struct Case
    {
        const char* what;
        std::function<void(TSkinCustomItem*)> prepare;
        TColor color;
        int percent;
        TFontStyles style;
    };
    const TColor ink = RecordingThemeAnswers().Ink;
    const Case cases[] = {
        {"the theme's ink", [](TSkinCustomItem*) {}, ink, 100, 0},
        {"a colour of its own", [](TSkinCustomItem* i) { i->FontSettings()->SetColor(clRed); },
         clRed, 100, 0},
        {"twice the size, bold",
         [](TSkinCustomItem* i) {
             i->FontSettings()->SetSize(200);
             i->FontSettings()->SetBold(TTriState::tsTrue);
         },
         ink, 200, fsBold},
        {"the default item", [](TSkinCustomItem* i) { i->SetOptions(tboDefault); }, ink, 100,
         fsBold},
        {"the event has the last word",
         [](TSkinCustomItem* i) {
             i->FontSettings()->SetColor(clRed);
             i->OnAdjustFont = [](TBarCustomItem*, TBarItemViewer*, TFont* font, int flags) {
                 if (flags == (svsMouseHot | svsPushed))
                     font->SetColor(clLime);
             };
         },
         clLime, 100, 0},
    };
    for (const Case& c : cases) {
        auto* item = new TSkinCustomItem(nullptr);
        item->SetCaption("Go");
        c.prepare(item);
        TBarItemViewer* viewer = ViewerOf(item, true);
        const int points = host->View()->GetFont()->Size();
        PaintCalls(viewer, true, true);
        ASSERT_EQ(recording->Of("DrawItemText").size(), 1u) << c.what;
        const ThemeCall text = recording->Of("DrawItemText")[0];
        EXPECT_EQ(text.Color, c.color) << c.what;
        EXPECT_EQ(text.FontSize, ScaledFontSize(points, c.percent)) << c.what;
        EXPECT_EQ(text.FontStyle, c.style) << c.what;
    }
}

TEST_F(ThemedViewers, ASplitButtonsArrowPartIsNotItsButtonPart)
{
    for (bool toolbar : {true, false}) {
        TestSubmenuItem* item = Submenu("Split", true);
        TBarItemViewer* viewer = ViewerOf(item, toolbar);
        const int width = viewer->BoundsRect().Width();
        const int arrow = toolbar ? 13 : GetSystemMetrics(SM_CXMENUCHECK);
        EXPECT_TRUE(viewer->HitsButtonSection(width - arrow - 1, 2)) << toolbar;
        EXPECT_FALSE(viewer->HitsButtonSection(width - arrow, 2)) << toolbar;
    }
}

TEST_F(ThemedViewers, AButtonReleasedUnderTheMouseRunsAlsoWithoutAPressOnIt)
{
    auto* item = new TSkinCustomItem(nullptr);
    item->SetCaption("Go");
    TBarItemViewer* viewer = ViewerOf(item, true);
    ASSERT_TRUE(ActivateForm(form));
    auto pointAt = [&](TPoint client) {
        const TPoint p = host->ClientToScreen(client);
        SetCursorPos(p.x, p.y);
        PostMessageA(host->Handle(), WM_MOUSEMOVE, 0, 0);
        PumpMessages();
        host->View()->ChangeSelection(nullptr, true);
        host->View()->ChangeSelection(viewer, true);
    };
    pointAt(TPoint(viewer->BoundsRect().left + 2, viewer->BoundsRect().top + 2));
    ASSERT_TRUE(host->View()->MouseInButtonPart());
    viewer->MouseUp(2, 2, false);
    EXPECT_EQ(host->View()->DoneAction().Kind, TBarLoopResultKind::ItemClicked);
    EXPECT_EQ(host->View()->DoneAction().Item, item);

    host->View()->ClearDoneAction();
    item->SetEnabled(false);
    viewer->MouseUp(2, 2, false);
    EXPECT_NE(host->View()->DoneAction().Kind, TBarLoopResultKind::ItemClicked);

    host->View()->ClearDoneAction();
    item->SetEnabled(true);
    pointAt(TPoint(590, 290)); // away from the button
    viewer->MouseUp(2, 2, false);
    EXPECT_EQ(host->View()->DoneAction().Kind, TBarLoopResultKind::Cancelled);
}

// --- Separators and the chevron ---------------------------------------------------------------

TEST_F(ThemedViewers, ASeparatorIsItsOwnSizeOrTheThemesAndSizeZeroDrawsNothing)
{
    struct Case
    {
        const char* what;
        int size;
        bool toolbar;
        SIZE expected; // {-1, -1}: the plain separator's measure
    };
    const Case cases[] = {
        {"theme's size on a toolbar", -1, true, {5, 5}},
        {"no theme size in a menu", -1, false, {-1, -1}},
        {"own size on a toolbar", 7, true, {7, 7}},
        {"own size in a menu", 7, false, {0, 7}},
        {"size zero", 0, true, {0, 0}},
    };
    for (const Case& c : cases) {
        auto* separator = new TSkinSeparatorItem(nullptr);
        separator->SetSize(c.size);
        TBarItemViewer* viewer = ViewerOf(separator, c.toolbar);
        SIZE expected = c.expected;
        if (expected.cx < 0) {
            TBarSeparatorItemViewer plain(host->View(), separator, 0);
            expected = Measure(&plain);
        }
        const SIZE size = Measure(viewer);
        EXPECT_EQ(size.cx, expected.cx) << c.what;
        EXPECT_EQ(size.cy, expected.cy) << c.what;
        recording->Calls.clear();
        TBitmap sheet;
        sheet.SetSize(20, 20);
        viewer->Paint(sheet.Canvas(), TRect(0, 0, 20, 10), false, false, false);
        EXPECT_EQ(recording->Of("DrawDivider").size(), c.size == 0 ? 0u : 1u) << c.what;
    }

    // The default theme leaves every pixel of a size-zero separator alone.
    SwitchTheme("Default");
    for (int size : {0, -1}) {
        auto* separator = new TSkinSeparatorItem(nullptr);
        separator->SetSize(size);
        TBarItemViewer* viewer = ViewerOf(separator, true);
        PixelSheet sheet(20, 20, RGB(0x60, 0x40, 0x20));
        viewer->Paint(sheet.Canvas(), TRect(0, 0, 10, 20), false, false, false);
        EXPECT_EQ(sheet.Changed() == 0, size == 0) << size;
    }
}

TEST_F(ThemedViewers, ADividerRunsAcrossMenusAndVerticalBarsAndKnowsABlankOne)
{
    struct Case
    {
        const char* what;
        bool toolbar, vertical, blank;
        bool horizontal, lineAcross;
        BYTE enabled;
    };
    const Case cases[] = {
        {"horizontal bar", true, false, false, true, false, 1},
        {"vertical bar", true, true, false, false, true, 1},
        {"menu", false, false, false, true, true, 1},
        {"blank", true, false, true, true, false, 0},
    };
    for (const Case& c : cases) {
        auto* separator = new TSkinSeparatorItem(nullptr);
        separator->SetBlank(c.blank);
        TBarView* view = Host(c.toolbar);
        host->Root()->Add(new TSkinCustomItem(nullptr));
        host->Root()->Add(separator);
        host->Root()->Add(new TSkinCustomItem(nullptr));
        if (c.vertical)
            view->SetOrientation(TBarViewOrientation::Vertical);
        view->EnsureLayout();
        PaintCalls(view->Find(separator));
        ASSERT_EQ(recording->Of("DrawDivider").size(), 1u) << c.what;
        const ThemeCall divider = recording->Of("DrawDivider")[0];
        EXPECT_EQ(divider.Flag, c.horizontal) << c.what;
        EXPECT_EQ(divider.LineSeparator, c.lineAcross) << c.what;
        EXPECT_EQ(divider.Info.Enabled, c.enabled) << c.what;
        EXPECT_EQ(divider.Info.InVerticalBar, c.vertical ? 1 : 0) << c.what;
        EXPECT_EQ(divider.Info.ItemOptions, c.toolbar ? DWORD(sioToolbarStyle) : 0u) << c.what;
        EXPECT_EQ(divider.Info.ImageColumnWidth > 0, !c.toolbar) << c.what;
    }
}

TEST_F(ThemedViewers, TheChevronIsTheThemesOverflowArrow)
{
    for (bool vertical : {false, true}) {
        auto* item = new TSkinCustomItem(nullptr);
        TBarView* view = Host(true);
        host->Root()->Add(item);
        if (vertical)
            view->SetOrientation(TBarViewOrientation::Vertical);
        TSkinChevronItemViewer chevron(view, item, 0);
        recording->Calls.clear();
        TBitmap sheet;
        sheet.SetSize(12, 22);
        chevron.Paint(sheet.Canvas(), TRect(0, 0, 12, 22), true, true, false);
        ASSERT_EQ(recording->Slots(), std::vector<std::string>{"DrawOverflowArrow"});
        const TSkinItemInfo& info = recording->Calls[0].Info;
        EXPECT_EQ(info.ItemOptions, static_cast<DWORD>(sioToolbarStyle));
        EXPECT_EQ(info.InVerticalBar, vertical ? 1 : 0);
        EXPECT_EQ(info.Pushed, 1);
        EXPECT_EQ(info.HotState, kSkinMouseHot);
    }
}
