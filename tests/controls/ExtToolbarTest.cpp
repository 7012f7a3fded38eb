// The extended toolbar and dock on real windows: items dragged to another
// place while customizing, the display modes, the item height cap, controls
// anchored to the right, the dock's own background and its toolbars when it
// gets shorter, the items' draw events, and wide texts in descriptions.
#include "controls/ExtItem.h"

#include "classlib/Application.h"
#include "classlib/ImageList.h"
#include "classlib/StandardControls.h"
#include "support/DescriptionStream.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

constexpr TColor kLime = clLime;
constexpr TColor kRed = clRed;
constexpr TColor kMaskColor = 0xFF00FF;

// Pixels of a 32-bit DIB read as TColor (0x00BBGGRR).
TColor AsColor(DWORD pixel)
{
    return static_cast<TColor>(((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF));
}

// What control paints (with its children) into a bitmap of its size.
class Painted
{
public:
    explicit Painted(TWinControl* control)
    {
        FBitmap.SetPixelFormat(TPixelFormat::pf32bit);
        FBitmap.SetSize(control->Width(), control->Height());
        control->PaintTo(FBitmap.Canvas()->Handle(), 0, 0);
    }
    TColor At(int x, int y) { return AsColor(static_cast<const DWORD*>(FBitmap.ScanLine(y))[x]); }
    int Count(const TRect& r, TColor color)
    {
        return CountWhere(r, [color](TColor c) { return c == color; });
    }
    // Pixels as dark as text.
    int Ink(const TRect& r)
    {
        return CountWhere(
            r, [](TColor c) { return (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) < 200; });
    }

private:
    template <class F> int CountWhere(const TRect& r, F matches)
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += matches(At(x, y));
        return n;
    }

    TBitmap FBitmap;
};

class ExtToolbarFixture : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetBounds(100, 100, 500, 300);
        dock = new TExtDock(form);
        dock->SetParent(form);
        dock->SetPosition(TBarDockPosition::dpTop);
        bar = new TExtToolbar(form);
        bar->SetCurrentDock(dock);
        form->Show();
    }
    template <class T = TExtItem> T* AddItem(const wchar_t* caption, TExtToolbar* to = nullptr)
    {
        auto* item = new T(form);
        item->SetCaption(caption);
        (to ? to : bar)->Items()->Add(item);
        return item;
    }
    TRect BoundsOf(TBarCustomItem* item, TExtToolbar* on = nullptr)
    {
        PumpMessages();
        return (on ? on : bar)->View()->Find(item)->BoundsRect();
    }
    POINT ScreenCentreOf(TBarCustomItem* item)
    {
        const TRect r = BoundsOf(item);
        return ScreenPointOf(bar->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    std::vector<TBarCustomItem*> Order()
    {
        std::vector<TBarCustomItem*> order;
        for (int i = 0; i < bar->Items()->Count(); ++i)
            order.push_back(bar->Items()->Items(i));
        return order;
    }
    TExtDock* dock = nullptr;
    TExtToolbar* bar = nullptr;
};

using Items = std::vector<TBarCustomItem*>;

} // namespace

// --- Customizing --------------------------------------------------------------------------

TEST_F(ExtToolbarFixture, ACustomizingDragMovesAnItemAndTheToolbarKeepsIt)
{
    auto* a = AddItem(L"Alpha");
    auto* b = AddItem(L"Beta");
    auto* c = AddItem(L"Gamma");
    int clicks = 0;
    a->OnClick = [&](TObject*) { ++clicks; };
    ASSERT_TRUE(ActivateForm(form));
    bar->BeginCustomizing();

    const POINT from = ScreenCentreOf(a);
    const TRect last = BoundsOf(c);
    const POINT beyondLast =
        ScreenPointOf(bar->Handle(), last.right - 2, (last.top + last.bottom) / 2);
    RealDrag(from, {{from.x + 10, from.y}, {beyondLast.x - 5, beyondLast.y}, beyondLast});
    ASSERT_TRUE(PumpUntil([&] { return Order() == Items{b, c, a}; })) << "dropped at the end";
    EXPECT_EQ(bar->DropMark(), -1);
    EXPECT_EQ(clicks, 0); // the press only dragged

    // Laid out again from scratch, the new order holds.
    form->SetWidth(420);
    bar->Arrange();
    PumpMessages();
    EXPECT_LT(BoundsOf(b).left, BoundsOf(c).left);
    EXPECT_LT(BoundsOf(c).left, BoundsOf(a).left);

    // Dragged onto its own place, nothing moves; then to the front.
    const POINT onItself = ScreenCentreOf(a);
    RealDrag(onItself, {{onItself.x - 6, onItself.y}, {onItself.x - 4, onItself.y}});
    PumpMessages();
    EXPECT_EQ(Order(), (Items{b, c, a}));
    const TRect first = BoundsOf(b);
    const POINT front =
        ScreenPointOf(bar->Handle(), first.left + 2, (first.top + first.bottom) / 2);
    RealDrag(ScreenCentreOf(a), {{front.x + 20, front.y}, front});
    ASSERT_TRUE(PumpUntil([&] { return Order() == Items{a, b, c}; })) << "dropped at the front";
    bar->EndCustomizing();
}

TEST_F(ExtToolbarFixture, PressesAreOrdinaryUnlessCustomizingAndInertOnAFixedToolbar)
{
    auto* a = AddItem(L"Alpha");
    auto* b = AddItem(L"Beta");
    int clicks = 0;
    a->OnClick = [&](TObject*) { ++clicks; };
    ASSERT_TRUE(ActivateForm(form));
    RealClick(ScreenCentreOf(a));
    ASSERT_TRUE(PumpUntil([&] { return clicks == 1; })) << "not customizing: a click";

    bar->SetCustomizable(false);
    bar->BeginCustomizing();
    const TRect target = BoundsOf(b);
    const POINT end = ScreenPointOf(bar->Handle(), target.right - 2, target.top + 3);
    RealDrag(ScreenCentreOf(a), {{end.x - 20, end.y}, end});
    PumpMessages();
    EXPECT_EQ(Order(), (Items{a, b}));
    EXPECT_EQ(clicks, 1);
    bar->EndCustomizing();
}

TEST_F(ExtToolbarFixture, AnItemDraggedToAnotherToolbarJoinsItAndShows)
{
    auto* other = new TExtToolbar(form);
    other->SetCurrentDock(dock);
    other->SetDockRow(1);
    auto* stay = AddItem(L"Stay", other);
    auto* a = AddItem(L"Alpha");
    AddItem(L"Beta");
    ASSERT_TRUE(ActivateForm(form));
    bar->BeginCustomizing();
    const TRect r = BoundsOf(stay, other);
    const POINT onStay = ScreenPointOf(other->Handle(), r.left + 2, (r.top + r.bottom) / 2);
    RealDrag(ScreenCentreOf(a), {{onStay.x + 30, onStay.y}, onStay});
    ASSERT_TRUE(PumpUntil([&] { return a->Parent() == other->Items(); }));
    EXPECT_EQ(other->Items()->IndexOf(a), 0);
    EXPECT_EQ(bar->Items()->Count(), 1);
    EXPECT_TRUE(a->Visible());
    bar->EndCustomizing();
}

// --- Display modes and heights ----------------------------------------------------------------

TEST_F(ExtToolbarFixture, DisplayModesShowImagesOnlyOrAboveTheirCaptions)
{
    TImageList images(nullptr);
    TBitmap picture;
    picture.SetSize(16, 16);
    images.AddMasked(&picture, kMaskColor);
    auto* item = AddItem(L"Caption");
    item->SetImages(&images);
    item->SetImageIndex(0);
    item->SetDisplayMode(TBarItemDisplayMode::nbdmImageAndText); // a caption beside the image
    const TRect selective = BoundsOf(item);

    bar->SetDisplayMode(TExtToolbarDisplayMode::tbdmImageOnly);
    const TRect imageOnly = BoundsOf(item);
    EXPECT_LT(imageOnly.Width(), selective.Width() - 20);

    bar->SetDisplayMode(TExtToolbarDisplayMode::tbdmImageAboveCaption);
    EXPECT_EQ(bar->Items()->Options() & (tboImageAboveCaption | tboSameWidth),
              tboImageAboveCaption | tboSameWidth);
    EXPECT_GT(BoundsOf(item).Height(), selective.Height());

    bar->SetDisplayMode(TExtToolbarDisplayMode::tbdmSelectiveCaption);
    EXPECT_EQ(bar->Items()->Options() & (tboImageAboveCaption | tboSameWidth), 0);
    EXPECT_EQ(BoundsOf(item), selective);
}

TEST_F(ExtToolbarFixture, TheViewCapsItsItemsHeight)
{
    auto* item = AddItem(L"Tall");
    item->SetCustomHeight(40);
    EXPECT_EQ(BoundsOf(item).Height(), 40);
    bar->ExtView()->SetMaxItemHeight(15);
    EXPECT_EQ(BoundsOf(item).Height(), 15);
    bar->ExtView()->SetMaxItemHeight(-7);
    EXPECT_EQ(bar->ExtView()->MaxItemHeight(), -1);
    EXPECT_EQ(BoundsOf(item).Height(), 40);
}

// --- Anchored controls ----------------------------------------------------------------------

TEST_F(ExtToolbarFixture, RightAnchoredControlsGrowAndShrinkWithTheToolbar)
{
    bar->SetStretch(true);
    bar->SetFullSize(true);
    AddItem(L"Left");
    auto* edit = new TEdit(form);
    edit->SetBounds(0, 0, 120, 20);
    edit->SetAnchors(akLeft | akTop | akRight);
    auto* holder = new TBarControlItem(form);
    holder->SetControl(edit);
    bar->Items()->Add(holder);
    PumpMessages();
    ASSERT_EQ(bar->ItemCache().size(), 1u);
    const int width = edit->Width();
    for (int grow : {60, -40, 0}) {
        form->SetWidth(500 + grow);
        PumpMessages();
        EXPECT_EQ(edit->Width(), width + grow) << grow;
    }

    // An item coming before the control takes its room from the control.
    auto* extra = new TExtItem(form);
    extra->SetCustomWidth(30);
    bar->Items()->Insert(0, extra);
    PumpMessages();
    EXPECT_EQ(edit->Width(), width - 30);
    delete extra;
    PumpMessages();
    EXPECT_EQ(edit->Width(), width);

    // A control no longer anchored leaves the cache; a deleted item too.
    edit->SetAnchors(akLeft | akTop);
    form->SetWidth(520);
    PumpMessages();
    EXPECT_TRUE(bar->ItemCache().empty());
    edit->SetAnchors(akLeft | akTop | akRight);
    form->SetWidth(500);
    PumpMessages();
    ASSERT_EQ(bar->ItemCache().size(), 1u);
    delete holder;
    EXPECT_TRUE(bar->ItemCache().empty());
}

// --- The dock --------------------------------------------------------------------------------

TEST_F(ExtToolbarFixture, TheDockPaintsItsBackgroundThroughItsEvent)
{
    AddItem(L"One");
    dock->SetHeight(60);
    std::vector<int> stages;
    bool replace = true;
    TRect seen;
    dock->OnDrawBackground = [&](TObject*, TCanvas* canvas, const TRect& r, int stage,
                                 bool& paintDefault) {
        stages.push_back(stage);
        seen = r;
        if (stage == kExtPaintBefore && replace) {
            canvas->Brush()->SetColor(kLime);
            canvas->FillRect(r);
            paintDefault = false;
        }
        if (stage == kExtPaintAfter && !replace) {
            canvas->Brush()->SetColor(kRed);
            canvas->FillRect(TRect(r.left, r.bottom - 5, r.left + 5, r.bottom));
        }
    };
    EXPECT_TRUE(dock->HasBackdrop());
    PumpMessages();
    Painted replaced(dock);
    ASSERT_FALSE(stages.empty());
    EXPECT_EQ(stages.front(), kExtPaintBefore);
    EXPECT_EQ(stages.back(), kExtPaintAfter);
    EXPECT_EQ(seen.Width(), dock->ClientWidth());
    // Below the toolbar and on the toolbar beside its item.
    EXPECT_EQ(replaced.At(dock->ClientWidth() / 2, dock->ClientHeight() - 3), kLime);
    EXPECT_EQ(replaced.At(bar->Left() + bar->Width() - 3, bar->Top() + bar->Height() / 2), kLime)
        << "the toolbar shows the dock's background";

    replace = false; // the default painting, with a mark over it
    Painted marked(dock);
    EXPECT_EQ(marked.At(1, dock->ClientHeight() - 2), kRed);
    EXPECT_NE(marked.At(dock->ClientWidth() / 2, dock->ClientHeight() - 3), kLime);

    dock->OnDrawBackground = nullptr;
    EXPECT_FALSE(dock->HasBackdrop() && dock->PaintsOwnBackground());
}

TEST_F(ExtToolbarFixture, AShrinkingDockKeepsItsToolbarsInside)
{
    // As in a compound bar: the toolbar never hides items behind a chevron.
    bar->SetStretch(true);
    bar->SetFullSize(true);
    bar->SetShrinkMode(TBarShrinkMode::tbsmNone);
    AddItem(L"Left");
    AddItem<TExtRightAlignSpacerItem>(L"");
    auto* right = AddItem(L"Right");
    auto* grower = AddItem(L"Grows");
    grower->SetAnchored(true);
    auto* second = new TExtToolbar(form);
    second->SetCurrentDock(dock);
    second->SetDockRow(1);
    auto* other = AddItem(L"Other", second);
    for (int width : {700, 400, 250, 600, 300}) {
        form->SetWidth(width);
        PumpMessages();
        const int length = dock->ClientWidth();
        for (TExtToolbar* t : {bar, second}) {
            EXPECT_TRUE(t->Visible()) << width;
            EXPECT_GE(t->Left(), 0) << width;
            EXPECT_LE(t->Left() + t->Width(), length) << width;
        }
        EXPECT_TRUE(second->View()->Find(other)->Shown()) << width;
        EXPECT_LE(BoundsOf(right).right, bar->ClientWidth()) << width;
        EXPECT_LE(BoundsOf(grower).right, bar->ClientWidth()) << width;
    }
}

TEST_F(ExtToolbarFixture, AToolbarTheDockMovesRepaintsWholly)
{
    // What shows through a toolbar depends on where it sits, and the pixels
    // it leaves behind are not its own: a moved toolbar must paint again.
    AddItem(L"First");
    auto* second = new TExtToolbar(form);
    second->SetCurrentDock(dock);
    AddItem(L"Second", second);
    PumpMessages();
    ASSERT_EQ(second->PlacedRow(), bar->PlacedRow());
    const int left = second->Left();
    ValidateRect(second->Handle(), nullptr);
    AddItem(L"Wider");
    dock->LayOutRows();
    ASSERT_GT(second->Left(), left);
    RECT pending;
    ASSERT_TRUE(GetUpdateRect(second->Handle(), &pending, FALSE));
    EXPECT_EQ(TRect(pending), second->ClientRect());
}

// --- Draw events -------------------------------------------------------------------------------

TEST_F(ExtToolbarFixture, DrawEventsRunAroundTheDefaultPaintingAndCanReplaceIt)
{
    auto* item = AddItem(L"Face");
    std::vector<int> itemStages, captionStages;
    bool fill = false;
    item->OnDrawItem = [&](TObject* sender, TCanvas* canvas, const TRect& r, const TSkinItemInfo&,
                           int stage, bool& paintDefault) {
        EXPECT_EQ(sender, item);
        itemStages.push_back(stage);
        if (fill && stage == kExtPaintBefore) {
            canvas->Brush()->SetColor(kRed);
            canvas->FillRect(r);
            paintDefault = false;
        }
    };
    item->OnDrawCaption = [&](TObject*, TCanvas*, const TRect&, WideString& caption, TRect&, UINT&,
                              bool, int stage, bool&) {
        captionStages.push_back(stage);
        if (stage == kExtPaintBefore && !fill)
            caption = L"WWWWWW"; // shown instead of "Face"
    };
    const TRect r = BoundsOf(item);
    itemStages.clear();
    captionStages.clear();
    Painted changed(bar);
    EXPECT_EQ(itemStages, (std::vector<int>{kExtPaintBefore, kExtPaintAfter}));
    EXPECT_EQ(captionStages, (std::vector<int>{kExtPaintBefore, kExtPaintAfter}));

    item->OnDrawCaption = nullptr;
    Painted plain(bar);
    EXPECT_GT(changed.Ink(r), plain.Ink(r)) << "six W are more ink";

    fill = true;
    itemStages.clear();
    Painted replaced(bar);
    EXPECT_EQ(replaced.Count(r, kRed), r.Width() * r.Height());
    EXPECT_EQ(itemStages, (std::vector<int>{kExtPaintBefore, kExtPaintAfter}));
}

TEST_F(ExtToolbarFixture, TheImageEventCanSwapTheImage)
{
    TImageList images(nullptr);
    for (TColor color : {kLime, kRed}) {
        TBitmap picture;
        picture.SetSize(16, 16);
        picture.Canvas()->Brush()->SetColor(color);
        picture.Canvas()->FillRect(TRect(0, 0, 16, 16));
        images.AddMasked(&picture, kMaskColor);
    }
    auto* item = AddItem(L"");
    item->SetImages(&images);
    item->SetImageIndex(0);
    const TRect r = BoundsOf(item);
    Painted lime(bar);
    EXPECT_GT(lime.Count(r, kLime), 100);

    item->OnDrawImage = [&](TObject*, TCanvas*, const TSkinItemInfo&, int stage, TCustomImageList*&,
                            int& index, TRect&, bool&) {
        if (stage == kExtPaintBefore)
            index = 1;
    };
    Painted red(bar);
    EXPECT_GT(red.Count(r, kRed), 100);
    EXPECT_EQ(red.Count(r, kLime), 0);

    item->OnDrawImage = [&](TObject*, TCanvas*, const TSkinItemInfo&, int, TCustomImageList*&, int&,
                            TRect&, bool& paintDefault) { paintDefault = false; };
    Painted none(bar);
    EXPECT_EQ(none.Count(r, kLime), 0);
}

// --- Descriptions -----------------------------------------------------------------------------

TEST(ExtItemDescription, WideCaptionAndHintTravelAsWideProperties)
{
    struct Case
    {
        const wchar_t* caption;
        const wchar_t* hint;
    };
    const Case cases[] = {
        {L"Open \u4E00\uAC00", L"Hint \u2212"},
        {L"Plain", L""},
        {L"", L""},
    };
    for (const Case& c : cases) {
        TExtItem source(nullptr), copy(nullptr);
        source.SetCaption(c.caption);
        source.SetHint(c.hint);
        const AnsiString bytes = WrittenDescription(&source);
        EXPECT_EQ(bytes.find("CaptionW") != AnsiString::npos, *c.caption != 0) << bytes;
        EXPECT_EQ(bytes.find("HintW") != AnsiString::npos, *c.hint != 0) << bytes;
        ReadDescription(&copy, bytes);
        EXPECT_EQ(copy.Caption(), c.caption);
        EXPECT_EQ(copy.Hint(), c.hint);
    }
}

TEST(ExtItemDescription, AnOlderDescriptionMayGiveTheCaptionUnderItsOwnName)
{
    TExtItem source(nullptr), copy(nullptr);
    source.SetCaption(L"\u4E00\u4E8C");
    AnsiString bytes = WrittenDescription(&source);
    const AnsiString wideName = AnsiString("\x08") + "CaptionW";
    const auto at = bytes.find(wideName);
    ASSERT_NE(at, AnsiString::npos);
    bytes.replace(at, wideName.size(), AnsiString("\x07") + "Caption");
    ReadDescription(&copy, bytes);
    EXPECT_EQ(copy.Caption(), L"\u4E00\u4E8C");
}

// --- Backgrounds of the toolbar and the compound bar --------------------------------------------

TEST_F(ExtToolbarFixture, TheToolbarAndACompoundBarPaintTheirBackgroundThroughTheirEvents)
{
    bar->SetStretch(true);
    bar->SetFullSize(true);
    AddItem(L"One");
    bar->OnDrawBackground = [&](TObject* sender, TCanvas* canvas, const TRect& r, int stage,
                                bool& paintDefault) {
        EXPECT_EQ(sender, bar);
        if (stage == kExtPaintBefore) {
            canvas->Brush()->SetColor(kLime);
            canvas->FillRect(r);
            paintDefault = false;
        }
    };
    PumpMessages();
    Painted toolbar(bar);
    EXPECT_EQ(toolbar.At(bar->ClientWidth() - 3, bar->ClientHeight() / 2), kLime);

    auto* status = new TExtStatusBar(form);
    status->SetParent(form);
    auto* label = new TExtLabelItem(form);
    label->SetCustomWidth(20);
    status->Items()->Add(label);
    PumpMessages();
    ASSERT_GT(status->Height(), 0);
    const TPoint middle(status->Width() / 2, status->Height() / 2);
    EXPECT_NE(Painted(status).At(middle.x, middle.y), kLime);
    int calls = 0;
    status->OnDrawDockBackground = [&](TObject* sender, TCanvas* canvas, const TRect& r, int stage,
                                       bool&) {
        EXPECT_EQ(sender, status);
        ++calls;
        if (stage == kExtPaintAfter) {
            canvas->Brush()->SetColor(kLime);
            canvas->FillRect(r);
        }
    };
    EXPECT_EQ(Painted(status).At(middle.x, middle.y), kLime);
    EXPECT_GT(calls, 0);
}

// --- The drop mark and item notifications
// ---------------------------------------------------------

TEST_F(ExtToolbarFixture, DraggingOverTheToolbarMarksWhereTheItemWouldGo)
{
    auto* a = AddItem(L"Alpha");
    auto* b = AddItem(L"Beta");
    const TRect rb = BoundsOf(b);
    TExtItemDragObject dragged(bar, a);
    struct Case
    {
        bool customizable;
        int x;
        TDragState state;
        bool accepted;
        int mark;
    };
    const Case cases[] = {
        {true, rb.left + 2, TDragState::dsDragEnter, true, 1},
        {true, rb.right - 2, TDragState::dsDragMove, true, 2},
        {true, rb.right - 2, TDragState::dsDragLeave, true, -1},
        {false, rb.left + 2, TDragState::dsDragMove, false, -1},
    };
    for (const Case& c : cases) {
        bar->SetCustomizable(c.customizable);
        bool accepted = !c.accepted;
        bar->DragOver(&dragged, c.x, rb.top + 3, c.state, accepted);
        EXPECT_EQ(accepted, c.accepted) << c.x;
        EXPECT_EQ(bar->DropMark(), c.mark) << c.x;
    }

    // The mark shows between the items.
    bar->SetCustomizable(true);
    bool accepted = false;
    bar->DragOver(&dragged, rb.left + 2, rb.top + 3, TDragState::dsDragMove, accepted);
    RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(bar->Handle());
    const COLORREF mark = GetPixel(dc, rb.left, rb.top + 3);
    ReleaseDC(bar->Handle(), dc);
    EXPECT_EQ(mark, GetSysColor(COLOR_WINDOWTEXT));
    bar->DragOver(&dragged, 0, 0, TDragState::dsDragLeave, accepted);
}

TEST_F(ExtToolbarFixture, ItemNotificationsAreRelayedUnlessItemUpdatesAreUnderWay)
{
    std::vector<TBarItemChangeCode> codes;
    bar->OnItemNotification = [&](TObject*, TBarCustomItem*, bool relayed, TBarItemChangeCode code,
                                  int, TBarCustomItem*) {
        if (!relayed)
            codes.push_back(code);
    };
    auto* a = AddItem(L"Alpha");
    EXPECT_EQ(std::count(codes.begin(), codes.end(), TBarItemChangeCode::ChildAdded), 1);
    codes.clear();
    bar->BeginItemUpdate();
    AddItem(L"Beta");
    bar->Items()->Remove(a);
    bar->EndItemUpdate();
    EXPECT_TRUE(codes.empty());
    delete a;
}

TEST_F(ExtToolbarFixture, AnItemWithADrawHintHandlerShowsItsHintAsABitmap)
{
    auto* plain = AddItem(L"Plain");
    auto* drawn = AddItem(L"Drawn");
    drawn->SetHint(L"\uAC00 wide|long part");
    bar->SetShowHint(true);
    WideString seen;
    drawn->OnDrawHint = [&](TObject* sender, TBitmap* bitmap, WideString& hint,
                            bool& paintDefault) {
        EXPECT_EQ(sender, drawn);
        seen = hint;
        bitmap->SetSize(20, 10);
        bitmap->Canvas()->Brush()->SetColor(kLime);
        bitmap->Canvas()->FillRect(TRect(0, 0, 20, 10));
        paintDefault = false;
    };
    form->Show();
    PumpMessages();
    SetMouseControl(bar);
    const TRect r = BoundsOf(drawn);
    Application->ActivateHint(bar->ClientToScreen(TPoint(r.left + 2, r.top + 2)));
    EXPECT_EQ(seen, L"\uAC00 wide");
    THintWindow* window = Application->HintWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->HintShowing());
    EXPECT_EQ(window->ClientRect().Width(), 20);
    EXPECT_EQ(window->ClientRect().Height(), 10);
    Application->CancelHint();

    // An item without a handler keeps the ordinary hint window.
    const TRect p = BoundsOf(plain);
    Application->ActivateHint(bar->ClientToScreen(TPoint(p.left + 2, p.top + 2)));
    window = Application->HintWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(window->ClientRect().Height(), 10);
    Application->CancelHint();
    SetMouseControl(nullptr);
}

TEST_F(ExtToolbarFixture, AWideHintWithoutAHandlerShowsWhole)
{
    struct TCase
    {
        const wchar_t* Hint;
        bool AsBitmap; // the code page lacks some of its characters
    } cases[] = {{L"\uAC00\uAC01 wide|long part", true}, {L"開く|long part", false}};
    bar->SetShowHint(true);
    form->Show();
    PumpMessages();
    SetMouseControl(bar);
    for (const TCase& c : cases) {
        auto* item = AddItem(L"Item");
        item->SetHint(c.Hint);
        PumpMessages();
        const TRect r = BoundsOf(item);
        Application->ActivateHint(bar->ClientToScreen(TPoint(r.left + 2, r.top + 2)));
        THintWindow* window = Application->HintWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->HintShowing());
        TBitmap* bitmap = bar->HintBitmap();
        EXPECT_EQ(bitmap != nullptr, c.AsBitmap) << (c.AsBitmap ? "wide" : "code page");
        if (bitmap) {
            EXPECT_EQ(window->ClientRect().Width(), bitmap->Width());
        }
        Application->CancelHint();
        delete item;
    }
    SetMouseControl(nullptr);
}

TEST_F(ExtToolbarFixture, CentredCaptionsInAMenuAllStartAfterTheImageColumn)
{
    auto* menu = AddItem<TExtSubmenuItem>(L"Menu");
    std::vector<TExtItem*> entries;
    for (const wchar_t* caption : {L"A", L"WWWWWWWWWWWWWWWWWWWW"}) {
        auto* entry = new TExtItem(form);
        entry->SetCaption(caption);
        entry->SetShortCut(ShortCut('X', ssCtrl));
        ASSERT_EQ(entry->Alignment(), TAlignment::taCenter);
        menu->Add(entry);
        entries.push_back(entry);
    }
    TBarView* view = bar->View();
    view->EnsureLayout();
    TBarPopupWindow* popup =
        menu->CreatePopup(view, view->Find(menu), false, false, TPoint(), bpaLeft);
    PumpMessages();
    Painted shown(popup);
    auto firstInkColumn = [&](TExtItem* entry) {
        const TRect r = popup->View()->Find(entry)->BoundsRect();
        for (int x = r.left; x < r.right; ++x)
            if (shown.Ink(TRect(x, r.top, x + 1, r.bottom)) > 0)
                return x;
        return -1;
    };
    const int shortStart = firstInkColumn(entries[0]);
    ASSERT_GE(shortStart, 0);
    EXPECT_NEAR(shortStart, firstInkColumn(entries[1]), 2)
        << "a short caption is not centred into the shortcut column";
    view->ShutChildPopups();
    PumpMessages();
}

TEST_F(ExtToolbarFixture, TheChevronPopupListsOneItemALineWhenVertical)
{
    for (const wchar_t* caption : {L"One", L"Two", L"Three", L"Four", L"Five", L"Six"})
        AddItem(caption);
    form->SetClientWidth(bar->Width() / 3);
    PumpMessages();
    TBarView* view = bar->View();
    view->EnsureLayout();
    TBarItemViewer* chevron = view->Find(bar->OverflowItem());
    ASSERT_TRUE(chevron->Shown());
    for (bool vertical : {true, false}) {
        bar->SetChevronVertical(vertical);
        TBarPopupWindow* popup =
            bar->OverflowItem()->CreatePopup(view, chevron, false, false, TPoint(), bpaLeft);
        std::vector<TRect> shown;
        for (int i = 0; i < popup->View()->ViewerCount(); ++i)
            if (TBarItemViewer* v = popup->View()->Viewers(i); v->Shown())
                shown.push_back(v->BoundsRect());
        ASSERT_GE(shown.size(), 3u) << vertical;
        for (size_t i = 1; i < shown.size(); ++i)
            EXPECT_EQ(shown[i].top >= shown[i - 1].bottom, vertical) << vertical << " " << i;
        view->ShutChildPopups();
        PumpMessages();
    }
}

TEST_F(ExtToolbarFixture, AnItemFreedWhileDraggedEndsTheDrag)
{
    auto* a = AddItem(L"Alpha");
    auto* b = AddItem(L"Beta");
    ASSERT_TRUE(ActivateForm(form));
    bar->BeginCustomizing();
    RealButtonDown(ScreenCentreOf(a));
    ASSERT_TRUE(PumpUntil([] { return DragManagerWindow() != nullptr; }));
    delete a;
    EXPECT_EQ(DragManagerWindow(), nullptr);
    RealButtonUp(ScreenCentreOf(b));
    PumpMessages();
    EXPECT_EQ(Order(), (Items{b}));
    bar->EndCustomizing();
}
