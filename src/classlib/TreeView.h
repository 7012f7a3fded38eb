// TTreeView over the common controls' tree view, the basic part: nodes
// with text, data and images, added under a parent or beside a sibling,
// expanded and collapsed (OnExpanding may fill a node's children when it
// first opens: a node can say it has children before it has any), the
// selected node, and the node at a point. With DragMode dmAutomatic a node
// dragged with the mouse is selected and starts the library's drag.
//
// As the list view, the window asks for texts, images and whether a node
// has children through call-backs, so our nodes are the only copy.
#pragma once

#include "ImageList.h"
#include "WinControl.h"

#include <commctrl.h>
#include <vector>

class TTreeView;
class TTreeNodes;

class TTreeNode : public TPersistent
{
public:
    ~TTreeNode() override;

    const AnsiString& Text() const { return FText; }
    void SetText(const AnsiString& value);
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int value);
    // Shows an expand button even without children yet.
    bool HasChildren() const { return FHasChildren || !FChildren.empty(); }
    void SetHasChildren(bool value);

    TTreeNode* Parent() const { return FParent; }
    int Count() const { return static_cast<int>(FChildren.size()); }
    TTreeNode* Item(int index) const { return FChildren.at(index); }
    // The position among its siblings.
    int Index() const;
    // 0 for a root node.
    int Level() const;
    TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next node in display order of a fully expanded tree.
    TTreeNode* GetNext() const;

    bool Expanded() const;
    void SetExpanded(bool value);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Selected() const;
    void SetSelected(bool value);
    bool Focused() const { return Selected(); }
    void MakeVisible();
    TRect DisplayRect(bool textOnly) const;
    void Delete();
    void DeleteChildren();

    HTREEITEM ItemId() const { return FItemId; }
    TTreeNodes* Owner() const { return FOwner; }
    TTreeView* TreeView() const;

private:
    friend class TTreeNodes;
    friend class TTreeView;
    explicit TTreeNode(TTreeNodes* owner) : FOwner(owner) {}
    const std::vector<TTreeNode*>& Siblings() const;

    TTreeNodes* FOwner;                // not owned
    TTreeNode* FParent = nullptr;      // not owned; lists this node
    std::vector<TTreeNode*> FChildren; // owned
    HTREEITEM FItemId = nullptr;       // the window's item while there is a window
    AnsiString FText;
    void* FData = nullptr; // not owned
    int FImageIndex = -1;
    int FSelectedIndex = -1;
    bool FHasChildren = false;
    bool FExpandedSaved = false; // across a RecreateWnd
};

class TTreeNodes : public TPersistent
{
public:
    explicit TTreeNodes(TTreeView* owner) : FOwner(owner) {}
    ~TTreeNodes() override;

    // Every node, in display order of a fully expanded tree.
    int Count() const;
    TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
    int RootCount() const { return static_cast<int>(FRoots.size()); }
    TTreeNode* Root(int index) const { return FRoots.at(index); }
    // After the last sibling of sibling (a root when sibling is nullptr).
    TTreeNode* Add(TTreeNode* sibling, const AnsiString& text);
    TTreeNode* AddObject(TTreeNode* sibling, const AnsiString& text, void* data);
    // The last child of parent (a root when parent is nullptr).
    TTreeNode* AddChild(TTreeNode* parent, const AnsiString& text);
    TTreeNode* AddChildObject(TTreeNode* parent, const AnsiString& text, void* data);
    // Before sibling.
    TTreeNode* Insert(TTreeNode* sibling, const AnsiString& text);
    void Delete(TTreeNode* node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    TTreeView* Owner() const { return FOwner; }

private:
    friend class TTreeNode;
    friend class TTreeView;
    TTreeNode* InsertNode(TTreeNode* parent, int index, const AnsiString& text, void* data);
    std::vector<TTreeNode*>& ChildrenOf(TTreeNode* parent);

    std::vector<TTreeNode*> FRoots; // owned
    TTreeView* FOwner;              // not owned
    int FUpdateCount = 0;
};

using TTVChangedEvent = TEvent<TObject*, TTreeNode*>;
// Sender, Node, Allow.
using TTVChangingEvent = TEvent<TObject*, TTreeNode*, bool&>;

class TTreeView : public TWinControl
{
public:
    explicit TTreeView(TComponent* AOwner);
    ~TTreeView() override;

    TTreeNodes* Items() const { return FItems; }
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* node);
    TTreeNode* GetNodeAt(int x, int y) const;
    TTreeNode* TopItem() const;

    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool value);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool value);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVChangingEvent OnExpanding;
    TTVChangedEvent OnExpanded;
    TTVChangingEvent OnCollapsing;
    TTVChangedEvent OnCollapsed;
    TTVChangedEvent OnDeletion;

    void WndProc(TMessage& message) override;
    // The node of a window item.
    TTreeNode* NodeOf(HTREEITEM item) const;

protected:
    friend class TTreeNode;
    friend class TTreeNodes;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void InsertNodeWindow(TTreeNode* node);
    // Whether node may open; by default, what OnExpanding says.
    virtual bool CanExpand(TTreeNode* node);

private:
    void CNNotify(TMessage& m);
    void InsertNodesWindow(const std::vector<TTreeNode*>& nodes);
    void SaveNodeStates(const std::vector<TTreeNode*>& nodes);

    TTreeNodes* FItems;                   // owned
    TCustomImageList* FImages = nullptr;  // not owned; free-notified
    TTreeNode* FSavedSelection = nullptr; // not owned; across a RecreateWnd
    bool FShowLines = true;
    bool FShowRoot = true;
    bool FShowButtons = true;
    bool FHideSelection = true;
    bool FReadOnly = true;
    bool FDeleting = false; // nodes are being freed
};
