#include "classlib/Object.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::string>* gLog = nullptr;

class TLoggingComponent : public TComponent
{
public:
    TLoggingComponent(TComponent* owner, const AnsiString& name) : TComponent(owner)
    {
        SetName(name);
    }
    ~TLoggingComponent() override
    {
        if (gLog)
            gLog->push_back("free " + Name());
    }
    TComponent* Watched = nullptr;

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == Watched) {
            Watched = nullptr;
            if (gLog)
                gLog->push_back(Name() + " saw removal");
        }
    }
};

class ComponentTest : public testing::Test
{
protected:
    void SetUp() override { gLog = &log; }
    void TearDown() override { gLog = nullptr; }
    std::vector<std::string> log;
};

TEST_F(ComponentTest, OwnerFreesItsComponentsInReverseOrder)
{
    auto* owner = new TLoggingComponent(nullptr, "owner");
    new TLoggingComponent(owner, "a");
    new TLoggingComponent(owner, "b");
    new TLoggingComponent(owner, "c");
    EXPECT_EQ(owner->ComponentCount(), 3);
    delete owner;
    EXPECT_EQ(log, (std::vector<std::string>{"free owner", "free c", "free b", "free a"}));
}

TEST_F(ComponentTest, SiblingsAndFreeNotificationsHearOfRemoval)
{
    TLoggingComponent owner(nullptr, "owner");
    auto* a = new TLoggingComponent(&owner, "a");
    auto* b = new TLoggingComponent(&owner, "b");
    TLoggingComponent outsider(nullptr, "outsider");
    a->Watched = b;
    outsider.Watched = b;
    b->FreeNotification(&outsider);
    delete b;
    EXPECT_EQ(a->Watched, nullptr);
    EXPECT_EQ(outsider.Watched, nullptr);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), a);
}

TEST_F(ComponentTest, NamesAreFoundIgnoringCaseAndMustBeUnique)
{
    TComponent owner(nullptr);
    auto* a = new TLoggingComponent(&owner, "EditList");
    EXPECT_EQ(owner.FindComponent("editlist"), a);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    auto* b = new TLoggingComponent(&owner, "Other");
    EXPECT_ANY_THROW(b->SetName("EDITLIST"));
    EXPECT_EQ(b->Name(), "Other");
    EXPECT_EQ(a->ComponentIndex(), 0);
    EXPECT_EQ(b->ComponentIndex(), 1);
}

TEST_F(ComponentTest, DestroyingMarksOwnedComponents)
{
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    owner.Destroying();
    EXPECT_TRUE(a->HasState(csDestroying));
}

// Every sibling hears of an insert, the new one too; one freed by another's
// handler meanwhile is not told, and one made meanwhile is not either.
TEST_F(ComponentTest, SiblingsFreedOrMadeDuringANoticeAreLeftOutOfIt)
{
    class TInsertListener : public TLoggingComponent
    {
    public:
        using TLoggingComponent::TLoggingComponent;
        std::function<void()> OnInsert;

    protected:
        void Notification(TComponent* c, TOperation op) override
        {
            TLoggingComponent::Notification(c, op);
            if (op != TOperation::opInsert || !gLog)
                return;
            gLog->push_back(Name() + " heard " + c->Name());
            if (auto act = std::exchange(OnInsert, nullptr))
                act();
        }
    };
    TLoggingComponent owner(nullptr, "owner");
    auto* a = new TInsertListener(&owner, "a");
    auto* b = new TInsertListener(&owner, "b");
    auto* c = new TInsertListener(&owner, "c");
    new TInsertListener(&owner, "d");
    log.clear();
    a->OnInsert = [&] { owner.InsertComponent(new TInsertListener(nullptr, "late")); };
    b->OnInsert = [&] { delete c; };
    auto* e = new TInsertListener(nullptr, "e");
    owner.InsertComponent(e);
    EXPECT_EQ(log, (std::vector<std::string>{"a heard e", "a heard late", "b heard late", "free c",
                                             "d heard late", "e heard late", "late heard late",
                                             "b heard e", "d heard e", "e heard e"}));
}

} // namespace
