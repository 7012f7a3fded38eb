#include "TreeView.h"

#include "Exceptions.h"
#include "ScopeExit.h"

#include <algorithm>
#include <cstring>

// ---------------------------------------------------------------------------
// TTreeNode

TTreeNode::~TTreeNode()
{
    for (TTreeNode* child : FChildren)
        delete child;
}

TTreeView* TTreeNode::TreeView() const
{
    return FOwner ? FOwner->Owner() : nullptr;
}

const std::vector<TTreeNode*>& TTreeNode::Siblings() const
{
    return FParent ? FParent->FChildren : FOwner->FRoots;
}

int TTreeNode::Index() const
{
    const auto& siblings = Siblings();
    auto it = std::find(siblings.begin(), siblings.end(), this);
    return it == siblings.end() ? -1 : static_cast<int>(it - siblings.begin());
}

int TTreeNode::Level() const
{
    int level = 0;
    for (TTreeNode* p = FParent; p; p = p->FParent)
        ++level;
    return level;
}

TTreeNode* TTreeNode::GetNextSibling() const
{
    const auto& siblings = Siblings();
    int index = Index();
    return index + 1 < static_cast<int>(siblings.size()) ? siblings[index + 1] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    int index = Index();
    return index > 0 ? Siblings()[index - 1] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
    if (!FChildren.empty())
        return FChildren.front();
    for (const TTreeNode* n = this; n; n = n->FParent)
        if (TTreeNode* next = n->GetNextSibling())
            return next;
    return nullptr;
}

namespace {

void UpdateItem(const TTreeNode* node, UINT mask)
{
    TTreeView* view = node->TreeView();
    if (!view || !view->HandleAllocated() || !node->ItemId())
        return;
    TVITEMA item = {};
    item.mask = mask | TVIF_HANDLE;
    item.hItem = node->ItemId();
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.iImage = I_IMAGECALLBACK;
    item.iSelectedImage = I_IMAGECALLBACK;
    item.cChildren = I_CHILDRENCALLBACK;
    SendMessageA(view->WindowHandle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

} // namespace

void TTreeNode::SetText(const AnsiString& value)
{
    FText = value;
    UpdateItem(this, TVIF_TEXT);
}

void TTreeNode::SetImageIndex(int value)
{
    FImageIndex = value;
    UpdateItem(this, TVIF_IMAGE);
}

void TTreeNode::SetSelectedIndex(int value)
{
    FSelectedIndex = value;
    UpdateItem(this, TVIF_SELECTEDIMAGE);
}

void TTreeNode::SetHasChildren(bool value)
{
    FHasChildren = value;
    UpdateItem(this, TVIF_CHILDREN);
}

bool TTreeNode::Expanded() const
{
    TTreeView* view = TreeView();
    if (!view || !view->HandleAllocated() || !FItemId)
        return FExpandedSaved;
    auto state = SendMessageA(view->WindowHandle(), TVM_GETITEMSTATE,
                              reinterpret_cast<WPARAM>(FItemId), TVIS_EXPANDED);
    return (state & TVIS_EXPANDED) != 0;
}

void TTreeNode::SetExpanded(bool value)
{
    if (value)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool recurse)
{
    FExpandedSaved = true;
    TTreeView* view = TreeView();
    if (view && view->HandleAllocated() && FItemId)
        SendMessageA(view->WindowHandle(), TVM_EXPAND, TVE_EXPAND,
                     reinterpret_cast<LPARAM>(FItemId));
    if (recurse)
        for (TTreeNode* child : std::vector<TTreeNode*>(FChildren))
            child->Expand(true);
}

void TTreeNode::Collapse(bool recurse)
{
    FExpandedSaved = false;
    TTreeView* view = TreeView();
    if (view && view->HandleAllocated() && FItemId)
        SendMessageA(view->WindowHandle(), TVM_EXPAND, TVE_COLLAPSE,
                     reinterpret_cast<LPARAM>(FItemId));
    if (recurse)
        for (TTreeNode* child : FChildren)
            child->Collapse(true);
}

bool TTreeNode::Selected() const
{
    TTreeView* view = TreeView();
    return view && view->Selected() == this;
}

void TTreeNode::SetSelected(bool value)
{
    TTreeView* view = TreeView();
    if (!view)
        return;
    if (value)
        view->SetSelected(this);
    else if (Selected())
        view->SetSelected(nullptr);
}

void TTreeNode::MakeVisible()
{
    TTreeView* view = TreeView();
    if (view && view->HandleAllocated() && FItemId)
        SendMessageA(view->WindowHandle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FItemId));
}

TRect TTreeNode::DisplayRect(bool textOnly) const
{
    RECT r = {0, 0, 0, 0};
    TTreeView* view = TreeView();
    if (!view || !view->HandleAllocated() || !FItemId)
        return TRect(r);
    // The message takes the item in the rectangle's first bytes.
    HTREEITEM item = FItemId;
    std::memcpy(&r, &item, sizeof(item));
    if (!SendMessageA(view->WindowHandle(), TVM_GETITEMRECT, textOnly,
                      reinterpret_cast<LPARAM>(&r)))
        return TRect(0, 0, 0, 0);
    return TRect(r);
}

void TTreeNode::Delete()
{
    FOwner->Delete(this);
}

void TTreeNode::DeleteChildren()
{
    while (!FChildren.empty())
        FOwner->Delete(FChildren.back());
}

// ---------------------------------------------------------------------------
// TTreeNodes

TTreeNodes::~TTreeNodes()
{
    for (TTreeNode* root : FRoots)
        delete root;
}

int TTreeNodes::Count() const
{
    int count = 0;
    for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext())
        ++count;
    return count;
}

std::vector<TTreeNode*>& TTreeNodes::ChildrenOf(TTreeNode* parent)
{
    return parent ? parent->FChildren : FRoots;
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* parent, int index, const AnsiString& text, void* data)
{
    auto* node = new TTreeNode(this);
    node->FParent = parent;
    node->FText = text;
    node->FData = data;
    auto& siblings = ChildrenOf(parent);
    siblings.insert(siblings.begin() + index, node);
    FOwner->InsertNodeWindow(node);
    if (parent)
        UpdateItem(parent, TVIF_CHILDREN);
    return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const AnsiString& text)
{
    return AddObject(sibling, text, nullptr);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const AnsiString& text, void* data)
{
    TTreeNode* parent = sibling ? sibling->FParent : nullptr;
    return InsertNode(parent, static_cast<int>(ChildrenOf(parent).size()), text, data);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const AnsiString& text)
{
    return AddChildObject(parent, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const AnsiString& text, void* data)
{
    return InsertNode(parent, static_cast<int>(ChildrenOf(parent).size()), text, data);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const AnsiString& text)
{
    if (!sibling)
        return Add(nullptr, text);
    return InsertNode(sibling->FParent, sibling->Index(), text, nullptr);
}

void TTreeNodes::Delete(TTreeNode* node)
{
    if (!node)
        return;
    while (!node->FChildren.empty())
        Delete(node->FChildren.back());
    if (FOwner->OnDeletion)
        FOwner->OnDeletion(FOwner, node);
    if (FOwner->FSavedSelection == node)
        FOwner->FSavedSelection = nullptr;
    if (FOwner->HandleAllocated() && node->FItemId) {
        FOwner->FDeleting = true;
        SendMessageA(FOwner->WindowHandle(), TVM_DELETEITEM, 0,
                     reinterpret_cast<LPARAM>(node->FItemId));
        FOwner->FDeleting = false;
    }
    auto& siblings = ChildrenOf(node->FParent);
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
    TTreeNode* parent = node->FParent;
    delete node;
    if (parent)
        UpdateItem(parent, TVIF_CHILDREN);
}

void TTreeNodes::Clear()
{
    BeginUpdate();
    TScopeExit updated([this] { EndUpdate(); });
    while (!FRoots.empty())
        Delete(FRoots.back());
}

void TTreeNodes::BeginUpdate()
{
    if (FUpdateCount++ == 0 && FOwner->HandleAllocated())
        SendMessageA(FOwner->WindowHandle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FOwner->HandleAllocated()) {
        SendMessageA(FOwner->WindowHandle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(FOwner->WindowHandle(), nullptr, TRUE);
    }
}

// ---------------------------------------------------------------------------
// TTreeView

TTreeView::TTreeView(TComponent* AOwner) : TWinControl(AOwner)
{
    FItems = new TTreeNodes(this);
    SetTabStop(true);
    SetColor(clWindow);
    SetControlStyle(csCaptureMouse | csDoubleClicks);
    SetBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView()
{
    // The window asks for node texts until it is gone.
    DestroyHandle();
    delete FItems;
}

void TTreeView::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_TREEVIEWA);
    params.ExStyle |= WS_EX_CLIENTEDGE;
    if (FShowLines)
        params.Style |= TVS_HASLINES;
    if (FShowRoot)
        params.Style |= TVS_LINESATROOT;
    if (FShowButtons)
        params.Style |= TVS_HASBUTTONS;
    if (!FHideSelection)
        params.Style |= TVS_SHOWSELALWAYS;
    if (!FReadOnly)
        params.Style |= TVS_EDITLABELS;
}

void TTreeView::CreateWnd()
{
    TWinControl::CreateWnd();
    if (FImages)
        SendMessageA(WindowHandle(), TVM_SETIMAGELIST, TVSIL_NORMAL,
                     reinterpret_cast<LPARAM>(FImages->Handle()));
    InsertNodesWindow(FItems->FRoots);
    if (FSavedSelection)
        SetSelected(FSavedSelection);
    FSavedSelection = nullptr;
}

void TTreeView::SaveNodeStates(const std::vector<TTreeNode*>& nodes)
{
    for (TTreeNode* node : nodes) {
        node->FExpandedSaved = node->Expanded();
        SaveNodeStates(node->FChildren);
        node->FItemId = nullptr;
    }
}

void TTreeView::DestroyWnd()
{
    FSavedSelection = Selected();
    SaveNodeStates(FItems->FRoots);
    TWinControl::DestroyWnd();
}

void TTreeView::InsertNodesWindow(const std::vector<TTreeNode*>& nodes)
{
    for (TTreeNode* node : nodes) {
        InsertNodeWindow(node);
        InsertNodesWindow(node->FChildren);
        if (node->FExpandedSaved)
            node->Expand(false);
    }
}

void TTreeView::InsertNodeWindow(TTreeNode* node)
{
    if (!HandleAllocated())
        return;
    TVINSERTSTRUCTA insert = {};
    insert.hParent = node->FParent ? node->FParent->FItemId : TVI_ROOT;
    TTreeNode* previous = node->GetPrevSibling();
    insert.hInsertAfter = previous && previous->FItemId ? previous->FItemId : TVI_FIRST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
    insert.item.pszText = LPSTR_TEXTCALLBACKA;
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.cChildren = I_CHILDRENCALLBACK;
    insert.item.lParam = reinterpret_cast<LPARAM>(node);
    if (node->FParent && !node->FParent->FItemId)
        return;
    node->FItemId = reinterpret_cast<HTREEITEM>(
        SendMessageA(WindowHandle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

TTreeNode* TTreeView::NodeOf(HTREEITEM item) const
{
    if (!item || !HandleAllocated())
        return nullptr;
    TVITEMA info = {};
    info.mask = TVIF_PARAM | TVIF_HANDLE;
    info.hItem = item;
    if (!SendMessageA(WindowHandle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info)))
        return nullptr;
    return reinterpret_cast<TTreeNode*>(info.lParam);
}

TTreeNode* TTreeView::Selected() const
{
    if (!HandleAllocated())
        return FSavedSelection;
    auto item =
        reinterpret_cast<HTREEITEM>(SendMessageA(WindowHandle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    return NodeOf(item);
}

void TTreeView::SetSelected(TTreeNode* node)
{
    if (!HandleAllocated()) {
        FSavedSelection = node;
        return;
    }
    SendMessageA(WindowHandle(), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(node ? node->FItemId : nullptr));
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) const
{
    if (!HandleAllocated())
        return nullptr;
    TVHITTESTINFO info = {};
    info.pt = {x, y};
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageA(WindowHandle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (!(info.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON)))
        return nullptr;
    return NodeOf(item);
}

TTreeNode* TTreeView::TopItem() const
{
    if (!HandleAllocated())
        return nullptr;
    return NodeOf(reinterpret_cast<HTREEITEM>(
        SendMessageA(WindowHandle(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TTreeView::SetImages(TCustomImageList* value)
{
    if (value == FImages)
        return;
    ReplaceFreeNotified(this, FImages, value);
    if (HandleAllocated())
        SendMessageA(WindowHandle(), TVM_SETIMAGELIST, TVSIL_NORMAL,
                     reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
}

void TTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages)
        SetImages(nullptr);
}

void TTreeView::SetShowLines(bool value)
{
    SetWindowStyleProperty(FShowLines, value);
}

void TTreeView::SetShowRoot(bool value)
{
    SetWindowStyleProperty(FShowRoot, value);
}

void TTreeView::SetShowButtons(bool value)
{
    SetWindowStyleProperty(FShowButtons, value);
}

void TTreeView::SetHideSelection(bool value)
{
    SetWindowStyleProperty(FHideSelection, value);
}

void TTreeView::SetReadOnly(bool value)
{
    SetWindowStyleProperty(FReadOnly, value);
}

void TTreeView::WndProc(TMessage& m)
{
    if (m.Msg == CN_NOTIFY) {
        CNNotify(m);
        return;
    }
    TWinControl::WndProc(m);
}

bool TTreeView::CanExpand(TTreeNode* node)
{
    bool allow = true;
    if (OnExpanding)
        OnExpanding(this, node, allow);
    return allow;
}

void TTreeView::CNNotify(TMessage& m)
{
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    m.Result = 0;
    switch (header->code) {
    case TVN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMTVDISPINFOA*>(m.LParam);
        auto* node = reinterpret_cast<TTreeNode*>(info->item.lParam);
        if (!node)
            return;
        if ((info->item.mask & TVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0)
            lstrcpynA(info->item.pszText, node->FText.c_str(), info->item.cchTextMax);
        if (info->item.mask & TVIF_IMAGE)
            info->item.iImage = node->FImageIndex;
        if (info->item.mask & TVIF_SELECTEDIMAGE)
            info->item.iSelectedImage = node->FSelectedIndex;
        if (info->item.mask & TVIF_CHILDREN)
            info->item.cChildren = node->HasChildren() ? 1 : 0;
        return;
    }
    case TVN_SELCHANGINGA: {
        auto* info = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
        bool allow = true;
        if (OnChanging && !FDeleting)
            OnChanging(this, reinterpret_cast<TTreeNode*>(info->itemNew.lParam), allow);
        m.Result = allow ? 0 : 1;
        return;
    }
    case TVN_SELCHANGEDA: {
        auto* info = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
        if (OnChange && !FDeleting)
            OnChange(this, reinterpret_cast<TTreeNode*>(info->itemNew.lParam));
        return;
    }
    case TVN_ITEMEXPANDINGA: {
        auto* info = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
        auto* node = reinterpret_cast<TTreeNode*>(info->itemNew.lParam);
        bool allow = true;
        if (info->action & TVE_EXPAND) {
            allow = CanExpand(node);
        } else if (OnCollapsing) {
            OnCollapsing(this, node, allow);
        }
        m.Result = allow ? 0 : 1;
        return;
    }
    case TVN_ITEMEXPANDEDA: {
        auto* info = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
        auto* node = reinterpret_cast<TTreeNode*>(info->itemNew.lParam);
        if (info->action & TVE_EXPAND) {
            if (OnExpanded)
                OnExpanded(this, node);
        } else if (OnCollapsed) {
            OnCollapsed(this, node);
        }
        return;
    }
    case TVN_BEGINDRAGA: {
        // The window saw the mouse move far enough with the button held. The
        // node dragged is the one the drag stands for.
        auto* info = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
        if (DragMode() != TDragMode::dmAutomatic)
            return;
        SetSelected(reinterpret_cast<TTreeNode*>(info->itemNew.lParam));
        BeginDrag(true);
        return;
    }
    case NM_CLICK:
        Click();
        return;
    }
}
