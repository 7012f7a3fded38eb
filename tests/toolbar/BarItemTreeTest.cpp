// The item tree without windows: the child list, notifications and their
// relays, options, radio groups, clicks, the action link, shortcut dispatch,
// posted clicks and done actions.
#include "BarTestHost.h"

#include "toolbar/BarCommon.h"
#include "toolbar/BarConsts.h"
#include "toolbar/BarItem.h"

#include "classlib/Actions.h"
#include "classlib/Application.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace bar_testing;

namespace {

// Records every notification a handler hears as "sender:code:index:item",
// "r" marking relayed ones.
class Recorder
{
public:
    explicit Recorder(TBarCustomItem* item) : FItem(item) { item->AttachChangeHandler(Handler()); }
    ~Recorder()
    {
        if (FAttached)
            FItem->DropChangeHandler(Handler());
    }
    TBarItemChangeEvent Handler() { return TBarItemChangeEvent(this, &Recorder::Heard); }
    void Detach()
    {
        FItem->DropChangeHandler(Handler());
        FAttached = false;
    }
    std::vector<std::string> log;

private:
    void Heard(TBarCustomItem* sender, bool relayed, TBarItemChangeCode code, int index,
               TBarCustomItem* item)
    {
        log.push_back((relayed ? "r" : "") + sender->Caption() + ":" +
                      std::to_string(static_cast<int>(code)) + ":" + std::to_string(index) + ":" +
                      (item ? item->Caption() : std::string("-")));
    }
    TBarCustomItem* FItem; // not owned
    bool FAttached = true;
};

using Log = std::vector<std::string>;

class ItemTree : public testing::Test
{
protected:
    ItemTree() : root(new TBarRootItem(nullptr)) { root->SetCaption("R"); }
    std::unique_ptr<TBarRootItem> root;
};

std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EBarItemError& e) {
        return e.Message();
    }
    return "";
}

TEST_F(ItemTree, ChildListRefusesBadIndexesAndSecondParents)
{
    TBarCustomItem* a = AddItem(root.get(), "a");
    TBarCustomItem* inner = AddItem(a, "inner");
    auto loose = std::make_unique<TBarCustomItem>(nullptr);
    struct Case
    {
        const char* what;
        std::function<void()> action;
        const char* error;
    } cases[] = {
        {"insert at Count + 1", [&] { root->Insert(2, loose.get()); }, SBarItemIndexOutOfRange},
        {"insert at -1", [&] { root->Insert(-1, loose.get()); }, SBarItemIndexOutOfRange},
        {"item of another parent", [&] { root->Add(inner); }, SBarItemAlreadyInserted},
        {"item into itself", [&] { a->Add(a); }, SBarItemAlreadyInserted},
        {"ancestor below its child", [&] { inner->Add(root.get()); }, SBarItemAlreadyInserted},
        {"get past the end", [&] { root->Items(1); }, SBarItemIndexOutOfRange},
        {"delete past the end", [&] { root->Delete(1); }, SBarItemIndexOutOfRange},
        {"move to Count", [&] { root->Move(0, 1); }, SBarItemIndexOutOfRange},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ErrorOf(c.action), c.error) << c.what;
        EXPECT_EQ(root->Count(), 1) << c.what;
        EXPECT_EQ(a->Parent(), root.get()) << c.what;
        EXPECT_EQ(inner->Parent(), a) << c.what;
    }
    root->Insert(1, loose.release()); // Count itself is a valid place
    EXPECT_EQ(root->Count(), 2);
}

TEST_F(ItemTree, InsertDeleteAndMoveAnnounceThemselvesInOrder)
{
    Recorder recorder(root.get());
    TBarCustomItem* a = AddItem(root.get(), "a");
    AddItem(root.get(), "b");
    root->Move(1, 0);
    root->Remove(a);
    EXPECT_EQ(recorder.log, (Log{"R:3:-1:-", "R:0:0:a", "R:4:-1:-", // Add a
                                 "R:3:-1:-", "R:0:1:b", "R:4:-1:-", // Add b
                                 "R:3:-1:-", "R:1:1:b", "R:3:-1:-", // Move: out...
                                 "R:0:0:b", "R:4:-1:-", "R:4:-1:-", // ...and in
                                 "R:1:1:a"}));                      // Remove
    EXPECT_EQ(a->Parent(), nullptr);
    delete a;
}

TEST_F(ItemTree, PropertyChangesReachTheParentsHandlersWithTheirSizeRule)
{
    TBarCustomItem* a = AddItem(root.get(), "a");
    auto images = std::make_unique<TImageList>(nullptr);
    Recorder recorder(root.get());
    struct Case
    {
        const char* what;
        std::function<void()> change;
        Log heard;
    } cases[] = {
        {"caption", [&] { a->SetCaption("A"); }, {"R:6:-1:A"}},
        {"same caption", [&] { a->SetCaption("A"); }, {}},
        {"checked", [&] { a->SetChecked(true); }, {"R:5:-1:A"}},
        {"enabled", [&] { a->SetEnabled(false); }, {"R:5:-1:A"}},
        {"visible", [&] { a->SetVisible(false); }, {"R:6:-1:A"}},
        {"image from -1 to 5", [&] { a->SetImageIndex(5); }, {"R:6:-1:A"}},
        {"image from 5 to 3", [&] { a->SetImageIndex(3); }, {"R:5:-1:A"}},
        {"image back to -1", [&] { a->SetImageIndex(-1); }, {"R:6:-1:A"}},
        {"an image list comes", [&] { a->SetImages(images.get()); }, {"R:6:-1:A"}},
        {"its size changes", [&] { images->SetSize(24, 24); }, {"R:6:-1:A"}},
        {"its images change", [&] { images->Change(); }, {"R:5:-1:A"}},
        {"radio item", [&] { a->SetRadioItem(true); }, {"R:5:-1:A"}},
        {"name", [&] { a->SetName("first"); }, {"R:8:-1:A"}},
        {"submenu images", [&] { root->SetSubMenuImages(images.get()); }, {"R:9:-1:-"}},
        {"the list goes", [&] { images.reset(); }, {"R:6:-1:A", "R:9:-1:-"}},
    };
    for (Case& c : cases) {
        recorder.log.clear();
        c.change();
        // A list that goes tells its users in no fixed order.
        std::sort(recorder.log.begin(), recorder.log.end());
        std::sort(c.heard.begin(), c.heard.end());
        EXPECT_EQ(recorder.log, c.heard) << c.what;
    }
    EXPECT_EQ(a->Images(), nullptr);
    EXPECT_EQ(root->SubMenuImages(), nullptr);
}

TEST_F(ItemTree, AnInlineGroupsChangesReachItsParentsViewsRelayed)
{
    auto* group = new TBarGroupItem(nullptr);
    group->SetCaption("G");
    root->Add(group);
    Recorder onRoot(root.get());
    Recorder onGroup(group);
    TBarCustomItem* x = AddItem(group, "x");
    x->SetCaption("X");
    EXPECT_EQ(onGroup.log, (Log{"G:3:-1:-", "G:0:0:x", "G:4:-1:-", "G:6:-1:X"}));
    EXPECT_EQ(onRoot.log, (Log{"rG:3:-1:-", "rG:0:0:x", "rG:4:-1:-", "rG:6:-1:X"}));
}

TEST_F(ItemTree, AGroupLinkedToASubmenuRelaysItsChangesToTheGroupsParent)
{
    auto submenu = std::make_unique<TBarCustomItem>(nullptr);
    submenu->SetCaption("S");
    auto* group = new TBarGroupItem(nullptr);
    root->Add(group);
    group->SetLinkSubitems(submenu.get());
    Recorder onRoot(root.get());
    AddItem(submenu.get(), "y");
    EXPECT_EQ(onRoot.log, (Log{"rS:3:-1:-", "rS:0:0:y", "rS:4:-1:-"}));
    group->SetLinkSubitems(nullptr);
    EXPECT_TRUE(submenu->LinkingItems().empty());
}

TEST_F(ItemTree, ARelayLoopEndsAtTheDepthLimit)
{
    // A group that links to its own parent relays the parent's changes back
    // to the parent.
    auto* group = new TBarGroupItem(nullptr);
    root->Add(group);
    group->SetLinkSubitems(root.get());
    Recorder onRoot(root.get());
    root->Notify(TBarItemChangeCode::ItemChanged, -1, nullptr);
    EXPECT_EQ(onRoot.log, Log(kBarRelayDepthLimit + 1, "R:5:-1:-"));
    group->SetLinkSubitems(nullptr);
}

TEST_F(ItemTree, HandlersMayDropThemselvesOrOthersWhileHearing)
{
    // The sole handler of an item drops itself.
    int loneCalls = 0;
    TBarItemChangeEvent selfDropping;
    selfDropping =
        TBarItemChangeEvent([&](TBarCustomItem*, bool, TBarItemChangeCode, int, TBarCustomItem*) {
            ++loneCalls;
            root->DropChangeHandler(selfDropping);
        });
    root->AttachChangeHandler(selfDropping);
    root->Notify(TBarItemChangeCode::ItemChanged, -1, nullptr);
    root->Notify(TBarItemChangeCode::ItemChanged, -1, nullptr);
    EXPECT_EQ(loneCalls, 1);

    // A handler drops one before it and one after it: the one after never
    // hears, the last one hears once.
    Recorder early(root.get());
    std::unique_ptr<Recorder> dropped;
    TBarItemChangeEvent dropper =
        TBarItemChangeEvent([&](TBarCustomItem*, bool, TBarItemChangeCode, int, TBarCustomItem*) {
            early.Detach();
            dropped->Detach();
        });
    root->AttachChangeHandler(dropper);
    dropped = std::make_unique<Recorder>(root.get());
    Recorder late(root.get());
    root->Notify(TBarItemChangeCode::ItemChanged, -1, nullptr);
    EXPECT_EQ(early.log.size(), 1u);
    EXPECT_TRUE(dropped->log.empty());
    EXPECT_EQ(late.log.size(), 1u);
    root->DropChangeHandler(dropper);
}

TEST_F(ItemTree, AHandlerAttachedTwiceStaysUntilDroppedTwice)
{
    Recorder recorder(root.get());
    root->AttachChangeHandler(recorder.Handler());
    root->Notify(TBarItemChangeCode::ItemChanged, -1, nullptr);
    recorder.Detach();
    root->Notify(TBarItemChangeCode::ItemChanged, -1, nullptr);
    EXPECT_EQ(recorder.log.size(), 2u); // once per delivery, never twice
}

TEST_F(ItemTree, EffectiveOptionsInheritAndResizeOnlyForTheSizingBits)
{
    TBarCustomItem* a = AddItem(root.get(), "a");
    TBarCustomItem* b = AddItem(a, "b");
    Recorder onA(a);
    struct Case
    {
        const char* what;
        std::function<void()> change;
        TBarItemOptions expectB;
        Log heardOnA;
    } cases[] = {
        {"parent shows hints", [&] { root->SetOptions(tboShowHint); }, tboShowHint, {}},
        {"the default bit is never inherited",
         [&] { root->SetOptions(tboShowHint | tboDefault); },
         tboShowHint,
         {}},
        {"size alone is dropped", [&] { b->SetOptions(tboToolbarSize); }, tboShowHint, {}},
        {"a sizing bit resizes",
         [&] { b->SetOptions(tboSameWidth); },
         tboShowHint | tboSameWidth,
         {"a:6:-1:b"}},
        {"another bit does not",
         [&] { b->SetOptions(tboSameWidth | tboNoAutoHint); },
         tboShowHint | tboSameWidth | tboNoAutoHint,
         {}},
        {"masked away", [&] { b->SetMaskOptions(tboShowHint); }, tboSameWidth | tboNoAutoHint, {}},
        {"inheritance off",
         [&] {
             b->SetMaskOptions(0);
             b->SetInheritOptions(false);
         },
         tboSameWidth | tboNoAutoHint,
         {}},
        {"style with size",
         [&] { b->SetOptions(tboToolbarStyle | tboToolbarSize); },
         tboToolbarStyle | tboToolbarSize,
         {"a:6:-1:b"}},
    };
    for (const Case& c : cases) {
        onA.log.clear();
        c.change();
        EXPECT_EQ(b->EffectiveOptions(), c.expectB) << c.what;
        EXPECT_EQ(onA.log, c.heardOnA) << c.what;
    }
    EXPECT_EQ(b->Options(), tboToolbarStyle | tboToolbarSize);
    b->SetOptions(tboToolbarSize);
    EXPECT_EQ(b->Options(), 0);
}

TEST_F(ItemTree, CheckingAGroupMemberUnchecksTheOthersOfItsGroupOnly)
{
    TBarCustomItem* items[5];
    int groups[5] = {1, 1, 1, 0, 0};
    for (int i = 0; i < 5; ++i) {
        items[i] = AddItem(root.get(), std::to_string(i));
        items[i]->SetGroupIndex(groups[i]);
        items[i]->SetChecked(true);
    }
    // Each check of group 1 unchecked the earlier members; group 0 stays.
    bool checked[5];
    for (int i = 0; i < 5; ++i)
        checked[i] = items[i]->Checked();
    EXPECT_EQ(std::vector<bool>(checked, checked + 5),
              (std::vector<bool>{false, false, true, true, true}));
    items[0]->SetChecked(true);
    EXPECT_FALSE(items[2]->Checked());
    EXPECT_TRUE(items[3]->Checked());
    // Joining a group while checked unchecks the group's checked member.
    items[3]->SetGroupIndex(1);
    EXPECT_FALSE(items[0]->Checked());
    EXPECT_TRUE(items[3]->Checked());
}

class ItemClicks : public ItemTree
{
protected:
    void SetUp() override
    {
        item = AddItem(root.get(), "i");
        action = std::make_unique<TAction>(nullptr);
        action->SetCaption("act");
        action->OnExecute = [this](TObject*) { log.push_back("action"); };
    }
    TBarCustomItem* item = nullptr;
    std::unique_ptr<TAction> action;
    Log log;
};

TEST_F(ItemClicks, ClickRunsOnClickOrTheActionByTheRules)
{
    TNotifyEvent own = [this](TObject*) { log.push_back("own"); };
    struct Case
    {
        const char* what;
        bool linkAction;
        bool ownOnClick;
        bool enabled;
        Log ran;
    } cases[] = {
        {"nothing but OnClick", false, true, true, {"own"}},
        {"action alone", true, false, true, {"action"}},
        {"OnClick differing from the action's", true, true, true, {"own"}},
        {"disabled", true, true, false, {}},
    };
    for (const Case& c : cases) {
        log.clear();
        item->SetAction(nullptr);
        item->OnClick.Clear();
        item->SetEnabled(true);
        if (c.linkAction)
            item->SetAction(action.get());
        if (c.ownOnClick)
            item->OnClick = own;
        item->SetEnabled(c.enabled);
        item->Click();
        EXPECT_EQ(log, c.ran) << c.what;
    }
}

TEST_F(ItemClicks, AutoCheckTogglesUnlessTheLinkedActionTogglesItself)
{
    item->SetAutoCheck(true);
    item->Click();
    EXPECT_TRUE(item->Checked());
    item->Click();
    EXPECT_FALSE(item->Checked());

    action->SetAutoCheck(true);
    item->SetAction(action.get());
    ASSERT_TRUE(item->AutoCheck());
    item->Click();
    // Toggled once, by the action, which the item follows.
    EXPECT_TRUE(action->Checked());
    EXPECT_TRUE(item->Checked());
}

TEST_F(ItemClicks, TheLinkedItemFollowsItsAction)
{
    item->SetCaption("");
    item->SetAction(action.get());
    EXPECT_EQ(item->Caption(), "act");
    EXPECT_TRUE(item->OnClick == action->OnExecute);
    struct Case
    {
        const char* what;
        std::function<void()> change;
        std::function<bool()> follows;
    } cases[] = {
        {"enabled", [&] { action->SetEnabled(false); }, [&] { return !item->Enabled(); }},
        {"checked", [&] { action->SetChecked(true); }, [&] { return item->Checked(); }},
        {"visible", [&] { action->SetVisible(false); }, [&] { return !item->Visible(); }},
        {"caption", [&] { action->SetCaption("&Open"); },
         [&] { return item->Caption() == "&Open"; }},
        {"shortcut", [&] { action->SetShortCut(ShortCut('O', ssCtrl)); },
         [&] { return item->ShortCut() == ShortCut('O', ssCtrl); }},
        {"hint", [&] { action->SetHint("Opens"); }, [&] { return item->Hint() == "Opens"; }},
        {"image", [&] { action->SetImageIndex(4); }, [&] { return item->ImageIndex() == 4; }},
        {"help", [&] { action->SetHelpContext(7); }, [&] { return item->HelpContext() == 7; }},
    };
    for (const Case& c : cases) {
        c.change();
        EXPECT_TRUE(c.follows()) << c.what;
    }
    // An update handler drives the item through the action.
    action->OnUpdate = [this](TObject*) { action->SetEnabled(true); };
    item->InitiateAction();
    EXPECT_TRUE(item->Enabled());
}

TEST_F(ItemClicks, LoadingKeepsTheItemsOwnValuesAndTheActionGoesCleanly)
{
    action->SetHint("action hint");
    item->SetAction(action.get());
    struct LoadedItem : TBarCustomItem
    {
        using TBarCustomItem::Loaded;
        using TBarCustomItem::TBarCustomItem;
    };
    auto loaded = std::make_unique<LoadedItem>(nullptr);
    loaded->SetAction(action.get());
    loaded->SetCaption("own");
    loaded->SetEnabled(false);
    loaded->Loaded();
    EXPECT_EQ(loaded->Caption(), "own");
    EXPECT_FALSE(loaded->Enabled());
    EXPECT_EQ(loaded->Hint(), "action hint");
    action.reset();
    EXPECT_EQ(loaded->Action(), nullptr);
    EXPECT_EQ(item->Action(), nullptr);
}

TEST_F(ItemClicks, ShortcutsReachNestedItemsThroughTheirPopups)
{
    Log popups;
    TBarCustomItem* file = AddItem(root.get(), "file");
    TBarCustomItem* recent = AddItem(file, "recent");
    TBarCustomItem* open = AddItem(recent, "open");
    open->SetShortCut(ShortCut('O', ssCtrl));
    open->OnClick = [&](TObject*) { popups.push_back("open clicked"); };
    for (TBarCustomItem* level : {static_cast<TBarCustomItem*>(root.get()), file, recent})
        level->OnPopup = [&popups, level](TBarCustomItem*, bool fromLink) {
            popups.push_back(level->Caption() + (fromLink ? " linked" : ""));
        };
    EXPECT_TRUE(root->DispatchShortCut(ShortCut('O', ssCtrl)));
    EXPECT_EQ(popups, (Log{"R", "file", "recent", "open clicked"}));

    struct Case
    {
        const char* what;
        std::function<void()> setUp;
        bool dispatched;
    } cases[] = {
        {"unknown key", [] {}, false},
        {"disabled on the way", [&] { recent->SetEnabled(false); }, false},
        {"disabled item", [&] { recent->SetEnabled(true), open->SetEnabled(false); }, false},
    };
    TShortCut keys[] = {ShortCut('P', ssCtrl), ShortCut('O', ssCtrl), ShortCut('O', ssCtrl)};
    int k = 0;
    for (const Case& c : cases) {
        c.setUp();
        popups.clear();
        EXPECT_EQ(root->DispatchShortCut(keys[k++]), c.dispatched) << c.what;
        EXPECT_EQ(std::count(popups.begin(), popups.end(), "open clicked"), 0) << c.what;
    }
}

TEST_F(ItemClicks, ShortcutSearchGivesUpPastTheHopLimit)
{
    // Each level shows a target's children; one child of each target links
    // on to the next target. The shortcut's item is 25 hops away, then 26.
    for (int hops : {kBarLinkHopLimit, kBarLinkHopLimit + 1}) {
        auto start = std::make_unique<TBarCustomItem>(nullptr);
        std::vector<std::unique_ptr<TBarCustomItem>> targets;
        TBarCustomItem* level = start.get();
        for (int i = 1; i <= hops; ++i) {
            targets.push_back(std::make_unique<TBarCustomItem>(nullptr));
            level->SetLinkSubitems(targets.back().get());
            if (i < hops)
                level = AddItem(targets.back().get(), "via");
        }
        bool clicked = false;
        TBarCustomItem* target = AddItem(targets.back().get(), "t");
        target->SetShortCut(ShortCut(VK_F5, 0));
        target->OnClick = [&](TObject*) { clicked = true; };
        EXPECT_EQ(start->DispatchShortCut(ShortCut(VK_F5, 0)), hops <= kBarLinkHopLimit) << hops;
        EXPECT_EQ(clicked, hops <= kBarLinkHopLimit) << hops;
        while (!targets.empty())
            targets.pop_back();
    }
    // A cycle ends the same way: a child showing its own parent's children.
    auto a = std::make_unique<TBarCustomItem>(nullptr);
    auto b = std::make_unique<TBarCustomItem>(nullptr);
    TBarCustomItem* inB = AddItem(b.get(), "inB");
    a->SetLinkSubitems(b.get());
    inB->SetLinkSubitems(b.get());
    EXPECT_FALSE(a->DispatchShortCut(ShortCut(VK_F6, 0)));
    inB->SetLinkSubitems(nullptr);
}

TEST_F(ItemClicks, APostedClickRunsLaterAndNotForAGoneItem)
{
    int clicks = 0;
    item->OnClick = [&](TObject*) { ++clicks; };
    TBarLoopResult chosen;
    chosen.Kind = TBarLoopResultKind::ItemClicked;
    chosen.Item = item;
    EXPECT_EQ(RunMenuOutcome(chosen, false), item);
    EXPECT_EQ(clicks, 0);
    testing_support::PumpMessages();
    EXPECT_EQ(clicks, 1);

    EXPECT_EQ(RunMenuOutcome(chosen, true), item); // the item only: no click
    TBarCustomItem* doomed = AddItem(root.get(), "doomed");
    doomed->OnClick = [&](TObject*) { ++clicks; };
    chosen.Item = doomed;
    RunMenuOutcome(chosen, false);
    delete doomed;
    testing_support::PumpMessages();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ItemClicks, DoneActionsSoundAndAskForHelpAndTheSystemMenu)
{
    Log heard;
    BarSeams().SoundEventAssigned = [](const AnsiString& name) { return name == "MenuCommand"; };
    BarSeams().PlaySoundEvent = [&](const AnsiString& name) { heard.push_back(name); };
    Application->OnHelp = [&](UINT command, ULONG_PTR data, bool& handled) {
        heard.push_back("help " + std::to_string(command) + " " + std::to_string(data));
        handled = true;
    };
    TBarLoopResult r;
    r.Kind = TBarLoopResultKind::ItemClicked;
    r.Item = item;
    r.PlaySound = true;
    RunMenuOutcome(r, true);
    r.PlaySound = false;
    RunMenuOutcome(r, true);
    r = TBarLoopResult();
    r.Kind = TBarLoopResultKind::Help;
    r.HelpContext = 42;
    EXPECT_EQ(RunMenuOutcome(r, false), nullptr);
    r = TBarLoopResult();
    r.Kind = TBarLoopResultKind::Cancelled;
    EXPECT_EQ(RunMenuOutcome(r, false), nullptr);
    Application->OnHelp.Clear();
    EXPECT_EQ(heard, (Log{"MenuCommand", "help " + std::to_string(HELP_CONTEXT) + " 42"}));
}

TEST_F(ItemTree, ShortcutCaptionPrefersTheTextAfterTheTab)
{
    TBarCustomItem* a = AddItem(root.get(), "Open\tCtrl+Alt+O");
    a->SetShortCut(ShortCut('O', ssCtrl));
    EXPECT_EQ(a->ShortcutCaption(), "Ctrl+Alt+O");
    a->SetCaption("Open\t");
    EXPECT_EQ(a->ShortcutCaption(), ShortCutToText(ShortCut('O', ssCtrl)));
    a->SetShortCut(0);
    EXPECT_EQ(a->ShortcutCaption(), "");
}

TEST_F(ItemTree, DestroyingAParentTakesItsChildrenAndLinksAlong)
{
    TBarCustomItem* a = AddItem(root.get(), "a");
    AddItem(a, "a1");
    auto linking = std::make_unique<TBarGroupItem>(nullptr);
    linking->SetLinkSubitems(a);
    Recorder onRoot(root.get());
    delete a;
    EXPECT_EQ(root->Count(), 0);
    EXPECT_EQ(linking->LinkSubitems(), nullptr);
    EXPECT_EQ(onRoot.log, (Log{"R:1:0:a"}));
}

} // namespace
