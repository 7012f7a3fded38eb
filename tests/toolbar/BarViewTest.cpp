// Views on a bare host window: the viewer list following the tree, sizes
// from measured text, separators, wrapping, the chevron, vertical views,
// popup scrolling and control items.
#include "BarTestHost.h"

#include "toolbar/BarCommon.h"
#include "toolbar/BarConsts.h"

#include "classlib/StandardControls.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace bar_testing;

namespace {

class BarViews : public ViewHostTest
{
protected:
    // The width a toolbar button with this caption measures.
    int ButtonWidth(const AnsiString& caption) { return 6 + metrics.Width(caption) + 6; }
    int ButtonHeight() { return 6 + metrics.TextHeight(); }

    TMenuFontMetrics metrics;
};

TEST_F(BarViews, ToolbarButtonsAreMeasuredFromTheirCaptions)
{
    TBarView* view = Host(TViewHost::Kind::Toolbar);
    TBarCustomItem* file = AddItem(host->Root(), "&File");
    TBarCustomItem* edit = AddItem(host->Root(), "Edit");
    TBarCustomItem* empty = AddItem(host->Root(), "");
    int h = ButtonHeight();
    EXPECT_EQ(At(file), Bounds(0, 0, ButtonWidth("File"), h));
    EXPECT_EQ(At(edit), Bounds(ButtonWidth("File"), 0, ButtonWidth("Edit"), h));
    // An empty caption still makes a 6 x 6 button, centred across the line.
    EXPECT_EQ(At(empty), Bounds(ButtonWidth("File") + ButtonWidth("Edit"), (h - 6) / 2, 6, 6));
    // A new caption relays the bar out at once.
    file->SetCaption("&Files");
    EXPECT_EQ(At(edit).left, ButtonWidth("Files"));
    EXPECT_TRUE(view->PositionsValid());
}

TEST_F(BarViews, MenuRowsTakeTheFullWidthAndSeparatorsTwoThirdsOfALine)
{
    Host(TViewHost::Kind::Menu);
    TBarCustomItem* open = AddItem(host->Root(), "Open");
    TBarSeparatorItem* line = AddSeparator(host->Root());
    TBarCustomItem* quit = AddItem(nullptr, "Quit the program");
    quit->SetShortCut(ShortCut('Q', ssCtrl));
    host->Root()->Add(quit);
    int rowHeight = metrics.TextHeight() + metrics.ExternalLeading() + 4;
    int separatorHeight = (metrics.TextHeight() * 2 + 2) / 3;
    int quitWidth = metrics.Width("Quit the program") + rowHeight + 6 +
                    metrics.Width(ShortCutToText(ShortCut('Q', ssCtrl))) + rowHeight - 6 +
                    rowHeight;
    EXPECT_EQ(At(open), Bounds(0, 0, quitWidth, rowHeight));
    EXPECT_EQ(At(line), Bounds(0, rowHeight, quitWidth, separatorHeight));
    EXPECT_EQ(At(quit), Bounds(0, rowHeight + separatorHeight, quitWidth, rowHeight));
}

TEST_F(BarViews, StraySeparatorsHide)
{
    Host(TViewHost::Kind::Toolbar);
    TBarSeparatorItem* leading = AddSeparator(host->Root());
    TBarCustomItem* a = AddItem(host->Root(), "A");
    TBarSeparatorItem* first = AddSeparator(host->Root());
    TBarSeparatorItem* doubled = AddSeparator(host->Root());
    TBarCustomItem* hidden = AddItem(host->Root(), "hidden");
    hidden->SetVisible(false);
    TBarSeparatorItem* afterHidden = AddSeparator(host->Root());
    TBarCustomItem* b = AddItem(host->Root(), "B");
    TBarSeparatorItem* trailing = AddSeparator(host->Root());
    struct Case
    {
        TBarCustomItem* item;
        bool shown;
    } cases[] = {{leading, false}, {a, true},        {first, true},
                 {doubled, false}, {hidden, false},  {afterHidden, false},
                 {b, true},        {trailing, false}};
    for (const Case& c : cases)
        EXPECT_EQ(Shown(c.item), c.shown) << host->Root()->IndexOf(c.item);
    EXPECT_EQ(At(b).left, ButtonWidth("A") + 6);
}

TEST_F(BarViews, LinesWrapAtTheWrapWidthAndSeparatorsBreakThem)
{
    TBarView* view = Host(TViewHost::Kind::Toolbar);
    TBarCustomItem* a = AddItem(host->Root(), "Alpha");
    TBarCustomItem* b = AddItem(host->Root(), "Beta");
    TBarCustomItem* c = AddItem(host->Root(), "Gamma");
    TBarSeparatorItem* line = AddSeparator(host->Root());
    TBarCustomItem* d = AddItem(host->Root(), "Delta");
    int h = ButtonHeight();
    int wa = ButtonWidth("Alpha"), wb = ButtonWidth("Beta"), wc = ButtonWidth("Gamma");
    // Gamma passes the width: it starts a line of its own, and a separator
    // on a line that overflow started ends that line.
    view->SetWrapWidth(wa + wb + wc - 1);
    EXPECT_EQ(At(c), Bounds(0, h, wc, h));
    EXPECT_TRUE(view->Find(line)->IsLineBreak());
    EXPECT_EQ(At(line).top, 2 * h);
    EXPECT_EQ(At(line).Height(), 6);
    EXPECT_EQ(At(line).Width(), wa + wb); // the bar's whole width
    EXPECT_EQ(At(d), Bounds(0, 2 * h + 6, ButtonWidth("Delta"), h));

    // A separator that breaks only when full stays on the line.
    host->Root()->Remove(line);
    delete line;
    auto* patient = new TTraitItem("", BreakOnlyWhenFull, true);
    host->Root()->Insert(3, patient);
    EXPECT_FALSE(view->Find(patient)->IsLineBreak());
    EXPECT_EQ(At(patient), Bounds(wc, h, 6, h));
    EXPECT_EQ(At(d).top, h);

    // A separator whose group would pass the width breaks the line.
    view->SetWrapWidth(wa + 6 + wb - 1);
    host->Root()->Move(3, 1); // Alpha | Beta Gamma Delta
    EXPECT_TRUE(view->Find(patient)->IsLineBreak());
    EXPECT_EQ(At(b), Bounds(0, h + 6, wb, h));
    EXPECT_EQ(At(a).top, 0);
}

TEST_F(BarViews, ViewersFromPushToLineEndOnGoToTheLinesEnd)
{
    TBarView* view = Host(TViewHost::Kind::Toolbar);
    AddItem(host->Root(), "Left");
    auto* right = new TTraitItem("R", PushToLineEnd);
    host->Root()->Add(right);
    TBarCustomItem* last = AddItem(host->Root(), "S");
    view->SetWrapWidth(400);
    EXPECT_EQ(At(last).right, 400);
    EXPECT_EQ(At(right).right, 400 - ButtonWidth("S"));
}

class ChevronViews : public BarViews
{
protected:
    TBarItemViewer* Chevron() { return host->View()->Viewers(host->View()->ViewerCount() - 1); }
};

TEST_F(ChevronViews, TheChevronClipsFromTheEndInOrderOrByPriority)
{
    struct Case
    {
        TViewHost::Kind kind;
        int roomFor; // whole buttons that fit beside the chevron
        std::vector<bool> shown;
    } cases[] = {
        {TViewHost::Kind::ChevronToolbar, 2, {true, true, false}},
        // Items added later go first in priority: the first is clipped first.
        {TViewHost::Kind::ChevronToolbarWithPriority, 2, {false, true, true}},
        // Nothing fits: one button stays, the first in order or in priority.
        {TViewHost::Kind::ChevronToolbar, 0, {true, false, false}},
        {TViewHost::Kind::ChevronToolbarWithPriority, 0, {false, false, true}},
    };
    for (const Case& c : cases) {
        TBarView* view = Host(c.kind);
        TBarCustomItem* items[3] = {AddItem(host->Root(), "Cmd"), AddItem(host->Root(), "Cmd"),
                                    AddItem(host->Root(), "Cmd")};
        int w = ButtonWidth("Cmd");
        view->SetMaximumSize(c.roomFor * w + view->ChevronSize());
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(Shown(items[i]), c.shown[i]) << i;
            EXPECT_EQ(view->Find(items[i])->Clipped(), !c.shown[i]) << i;
        }
        EXPECT_TRUE(Chevron()->Shown());
        EXPECT_TRUE(Chevron()->Item()->Enabled());
        int shownCount = static_cast<int>(std::count(c.shown.begin(), c.shown.end(), true));
        EXPECT_EQ(Chevron()->BoundsRect(), Bounds(shownCount * w, 0, 12, ButtonHeight()));
    }
    // Executing a clipped item with a priority move brings it back.
    TBarView* view = host->View();
    TBarItemViewer* two = view->Find(host->Root()->Items(1));
    view->GiveViewerHighestPriority(two);
    view->MarkLayoutStale();
    EXPECT_TRUE(Shown(host->Root()->Items(1)));
    // With room for everything the chevron goes.
    view->SetMaximumSize(0);
    view->EnsureLayout();
    EXPECT_FALSE(Chevron()->Shown());
}

TEST_F(BarViews, APopupTallerThanItsLimitScrolls)
{
    TBarView* view = Host(TViewHost::Kind::Menu);
    std::vector<TBarCustomItem*> items;
    for (int i = 0; i < 30; ++i)
        items.push_back(AddItem(host->Root(), "Item " + std::to_string(i)));
    view->SetMaxHeight(200);
    view->EnsureLayout();
    EXPECT_FALSE(view->ShowsUpArrow());
    EXPECT_TRUE(view->ShowsDownArrow());
    EXPECT_TRUE(Shown(items[0]));
    EXPECT_TRUE(view->Find(items[29])->OffEdge());
    for (TBarCustomItem* item : items)
        if (Shown(item)) {
            EXPECT_GE(At(item).top, 0);
            EXPECT_LE(At(item).bottom, 200 - kBarScrollArrowHeight);
        }
    view->Scroll(true);
    EXPECT_TRUE(view->ShowsUpArrow());
    EXPECT_TRUE(view->ShowsDownArrow());
    EXPECT_TRUE(view->Find(items[0])->OffEdge());
    for (int i = 0; i < 40 && view->ShowsDownArrow(); ++i)
        view->Scroll(true);
    EXPECT_FALSE(view->ShowsDownArrow());
    EXPECT_TRUE(Shown(items[29]));
    EXPECT_LE(At(items[29]).bottom, 200);
}

TEST_F(BarViews, AVerticalBarRunsDownAndItsColumnsReadFromTheRight)
{
    TBarView* view = Host(TViewHost::Kind::Toolbar);
    view->SetOrientation(TBarViewOrientation::Vertical);
    TBarCustomItem* a = AddItem(host->Root(), "Up");
    TBarCustomItem* b = AddItem(host->Root(), "Down");
    TBarCustomItem* upright = AddItem(host->Root(), "Flat");
    upright->SetOptions(tboNoRotation);
    TRect ra = At(a), rb = At(b);
    EXPECT_GT(ra.Height(), ra.Width()); // turned captions make tall buttons
    EXPECT_EQ(rb.top, ra.bottom);
    EXPECT_EQ(At(upright).top, rb.bottom);
    EXPECT_EQ(At(upright).Height(), ButtonHeight());
    // Wrapped into two columns, the first is on the right.
    view->SetWrapWidth(ra.Height() + rb.Height());
    EXPECT_EQ(At(upright).top, 0);
    EXPECT_LT(At(upright).left, At(a).left);
}

TEST_F(BarViews, TheViewerListFollowsTheTreeIncludingInlineGroups)
{
    TBarView* view = Host(TViewHost::Kind::Toolbar);
    TBarCustomItem* a = AddItem(host->Root(), "a");
    auto* group = new TBarGroupItem(nullptr);
    host->Root()->Add(group);
    TBarCustomItem* c = AddItem(host->Root(), "c");
    TBarCustomItem* g1 = AddItem(group, "g1");
    TBarCustomItem* g0 = new TBarCustomItem(nullptr);
    g0->SetCaption("g0");
    group->Insert(0, g0);
    auto order = [&] {
        std::string s;
        for (int i = 0; i < view->ViewerCount(); ++i) {
            TBarItemViewer* v = view->Viewers(i);
            s += std::to_string(v->GroupLevel()) +
                 (v->Item() == group ? AnsiString("G") : v->Item()->Caption()) + " ";
        }
        return s;
    };
    EXPECT_EQ(order(), "0a 0G 1g0 1g1 0c ");
    EXPECT_FALSE(Shown(group));
    EXPECT_EQ(At(g0).left, ButtonWidth("a"));
    host->Root()->Remove(group);
    EXPECT_EQ(order(), "0a 0c ");
    delete group;
    std::string error;
    try {
        view->Find(g1);
    } catch (const EBarItemError& e) {
        error = e.Message();
    }
    EXPECT_EQ(error, SBarViewerNotFound);
    (void)a;
    (void)c;
}

TEST_F(BarViews, NestedGroupsShowTenLevelsDeep)
{
    TBarView* view = Host(TViewHost::Kind::Toolbar);
    TBarCustomItem* parent = host->Root();
    for (int level = 0; level < 12; ++level) {
        auto* group = new TBarGroupItem(nullptr);
        parent->Add(group);
        AddItem(group, "at " + std::to_string(level + 1));
        parent = group;
    }
    auto deepest = [view] {
        int level = 0;
        for (int i = 0; i < view->ViewerCount(); ++i)
            level = std::max(level, view->Viewers(i)->GroupLevel());
        return level;
    };
    EXPECT_EQ(deepest(), kBarGroupLevelLimit);
    view->RebuildAllViewers();
    EXPECT_EQ(deepest(), kBarGroupLevelLimit);
    EXPECT_EQ(view->ViewerCount(), 2 * (kBarGroupLevelLimit + 1) - 1);
}

TEST_F(BarViews, AControlItemsControlFollowsItsViewerAndHidesWhenClipped)
{
    TBarView* view = Host(TViewHost::Kind::ChevronToolbar);
    AddItem(host->Root(), "One");
    auto* edit = new TEdit(form);
    edit->SetParent(host);
    edit->SetBounds(0, 0, 80, 21);
    auto* item = new TBarControlItem(nullptr);
    item->SetControl(edit);
    host->Root()->Add(item);
    form->Show();
    int w = ButtonWidth("One");
    EXPECT_EQ(At(item), Bounds(w, (std::max(ButtonHeight(), 21) - 21) / 2, 80, 21));
    EXPECT_EQ(edit->Left(), w);
    view->SetMaximumSize(w + view->ChevronSize());
    view->EnsureLayout();
    EXPECT_TRUE(view->Find(item)->Clipped());
    EXPECT_FALSE(IsWindowVisible(edit->Handle()));
    EXPECT_TRUE(edit->Visible());
    EXPECT_EQ(view->ClippedControls(), std::vector<TControl*>{edit});
    // A clipped control is no command: the chevron has nothing to offer.
    EXPECT_FALSE(view->Viewers(view->ViewerCount() - 1)->Item()->Enabled());
    view->SetMaximumSize(0);
    view->EnsureLayout();
    EXPECT_TRUE(IsWindowVisible(edit->Handle()));
}

TEST_F(BarViews, HintsComeFromTheHintOrTheCaption)
{
    Host(TViewHost::Kind::Toolbar);
    TBarCustomItem* item = AddItem(host->Root(), "&Save as...");
    TBarItemViewer* viewer = host->View()->Find(item);
    struct Case
    {
        const char* hint;
        TShortCut shortcut;
        TBarItemOptions options;
        const char* shown;
    } cases[] = {
        {"", 0, 0, "Save as"},
        {"Writes|Writes the file", 0, 0, "Writes"},
        {"", ShortCut('S', ssCtrl), 0, "Save as (Ctrl+S)"},
        {"", 0, tboNoAutoHint, ""},
    };
    for (const Case& c : cases) {
        item->SetHint(c.hint);
        item->SetShortCut(c.shortcut);
        item->SetOptions(c.options);
        EXPECT_EQ(viewer->ShownHint(), c.shown) << c.hint;
    }
    TAction action(nullptr);
    action.SetCaption("&Save as...");
    action.OnHint = [](AnsiString&, bool& canShow) { canShow = false; };
    item->SetAction(&action);
    EXPECT_EQ(viewer->ShownHint(), "");
    item->SetAction(nullptr);
}

} // namespace
