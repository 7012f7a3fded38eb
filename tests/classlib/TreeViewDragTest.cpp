// A tree view as a drag source, driven through the system's input queue as
// a hand drives it: the node dragged is selected and dropped as the tree's,
// a plain click leaves no drag waiting for a button already released, and a
// tree that does not drag by itself starts none.
#include "classlib/DragManager.h"
#include "classlib/Panel.h"
#include "classlib/TreeView.h"
#include "support/FormFixture.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class TreeViewDragTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetBounds(40, 40, 480, 300);
        tree = new TTreeView(form);
        tree->SetParent(form);
        tree->SetBounds(0, 0, 200, 240);
        for (const char* text : {"first", "second", "third"})
            tree->Items()->Add(nullptr, text);
        target = new TPanel(form);
        target->SetParent(form);
        target->SetBounds(240, 0, 200, 240);
        target->OnDragOver = [this](TObject*, TObject* source, int, int, TDragState, bool& accept) {
            accept = source == tree;
        };
        target->OnDragDrop = [this](TObject*, TObject*, int, int) {
            dropped.push_back(tree->Selected()->Text());
        };
        ASSERT_TRUE(ActivateForm(form));
        tree->SetSelected(tree->Items()->Root(0));
    }
    POINT CentreOf(const TTreeNode* node) const
    {
        const TRect r = node->DisplayRect(true);
        return ScreenPointOf(tree->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    TTreeNode* NodeNamed(const char* text) const
    {
        for (int i = 0; i < tree->Items()->RootCount(); ++i)
            if (tree->Items()->Root(i)->Text() == text)
                return tree->Items()->Root(i);
        return nullptr;
    }
    POINT TargetCentre() const { return ScreenPointOf(target->Handle(), 100, 120); }

    TTreeView* tree = nullptr;
    TPanel* target = nullptr;
    std::vector<AnsiString> dropped;
};

TEST_F(TreeViewDragTest, OnlyAnAutomaticTreeDragsAndItDragsTheNodeUnderTheMouse)
{
    struct Case
    {
        TDragMode Mode;
        bool Drag;        // else a click
        const char* Node; // pressed; each case its own, so no two presses make a double click
        std::vector<AnsiString> Dropped;
        const char* Selected;
    };
    const Case cases[] = {
        {TDragMode::dmAutomatic, true, "second", {"second"}, "second"},
        {TDragMode::dmAutomatic, false, "third", {}, "third"},
        {TDragMode::dmManual, true, "second", {}, "first"},
    };
    for (const Case& c : cases) {
        tree->SetSelected(tree->Items()->Root(0));
        tree->SetDragMode(c.Mode);
        dropped.clear();
        const POINT from = CentreOf(NodeNamed(c.Node));
        if (c.Drag)
            RealDrag(from, {{from.x + 30, from.y}, TargetCentre()});
        else
            RealClick(from);
        EXPECT_EQ(dropped, c.Dropped) << c.Drag;
        EXPECT_EQ(DragManagerWindow(), nullptr) << c.Drag; // nothing left waiting
        EXPECT_EQ(tree->Selected()->Text(), c.Selected) << c.Drag;
    }
}

} // namespace
