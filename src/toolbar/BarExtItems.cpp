#include "BarExtItems.h"

#include "BarCommon.h"

#include "classlib/AnsiText.h"
#include "classlib/ScopeExit.h"
#include "classlib/Seams.h"

#include <algorithm>
#include <cstdio>
#include <oleacc.h>

namespace {

// A key of the numeric keypad, told by its scan code (lParam bits 16 to
// 23) with the extended bit (24) clear: the arrow block shares the codes.
bool IsNumericKeypadKey(LPARAM keyData)
{
    if (keyData & (1 << 24))
        return false;
    const UINT scan = (static_cast<UINT>(keyData) >> 16) & 0xFF;
    for (UINT key = VK_NUMPAD0; key <= VK_NUMPAD9; ++key)
        if (MapVirtualKeyA(key, MAPVK_VK_TO_VSC) == scan)
            return true;
    return false;
}

bool IsButtonPress(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

TEdit* NewEdit()
{
    return new TEdit(nullptr);
}

} // namespace

// ---------------------------------------------------------------------------
// TBarEditItem

TBarEditItem::TBarEditItem(TComponent* AOwner) : TBarCustomItem(AOwner) {}

void TBarEditItem::SetCharCase(TEditCharCase value)
{
    FCharCase = value;
    SetText(FText);
}

void TBarEditItem::SetEditCaption(const AnsiString& value)
{
    if (value == FEditCaption)
        return;
    FEditCaption = value;
    Change(true);
}

void TBarEditItem::SetEditOptions(TBarEditItemOptions value)
{
    if (value == FEditOptions)
        return;
    FEditOptions = value;
    Change(true);
}

void TBarEditItem::SetEditWidth(int value)
{
    if (value == FEditWidth)
        return;
    FEditWidth = value;
    Change(true);
}

void TBarEditItem::SetMaxLength(int value)
{
    if (value == FMaxLength)
        return;
    FMaxLength = value;
    Change(false);
}

void TBarEditItem::AssignTextWithReason(AnsiString NewText, TBarTextChangeReason Reason)
{
    FilterNewText(FText, NewText, Reason);
    if (NewText == FText)
        return;
    FText = NewText;
    Change(false);
    TextWasChanged(Reason);
}

bool TBarEditItem::AcceptEnteredText(AnsiString& NewText)
{
    bool accept = true;
    if (OnAcceptText)
        OnAcceptText(this, NewText, accept);
    return accept;
}

void TBarEditItem::PrepareEditor(TBarEditItemViewer* Viewer)
{
    if (OnBeginEdit)
        OnBeginEdit(this, Viewer, Viewer->EditControl());
}

void TBarEditItem::FilterNewText(const AnsiString&, AnsiString& NewText, TBarTextChangeReason)
{
    if (FCharCase == TEditCharCase::ecUpperCase)
        NewText = AnsiUpperCase(NewText);
    else if (FCharCase == TEditCharCase::ecLowerCase)
        NewText = AnsiLowerCase(NewText);
}

TBarItemViewerClass TBarEditItem::ViewerClassForItem(TBarView* View)
{
    if (View->Orientation() == TBarViewOrientation::Vertical &&
        !(FEditOptions & tboUseEditWhenVertical))
        return TBarCustomItem::ViewerClassForItem(View);
    return NewBarViewer<TBarEditItemViewer>;
}

bool TBarEditItem::ViewerNeedsRebuild(TBarItemViewer* Viewer)
{
    const bool wantsEditViewer =
        ViewerClassForItem(Viewer->View()) == NewBarViewer<TBarEditItemViewer>;
    return wantsEditViewer != (dynamic_cast<TBarEditItemViewer*>(Viewer) != nullptr);
}

TBarCustomItemActionLink* TBarEditItem::CreateActionLink()
{
    return new TBarEditItemActionLink(this);
}

void TBarEditItem::ActionChange(TObject* Sender, bool CheckDefaults)
{
    TBarCustomItem::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TBarEditAction*>(Sender);
    if (!action)
        return;
    if (!CheckDefaults || FEditCaption.empty())
        SetEditCaption(action->EditCaption());
    if (!CheckDefaults || FEditOptions == 0)
        SetEditOptions(action->EditOptions());
    if (!CheckDefaults || FText.empty())
        AssignTextWithReason(action->Text(), TBarTextChangeReason::ActionLink);
    if (!CheckDefaults || !OnAcceptText)
        OnAcceptText = action->OnAcceptText();
}

// ---------------------------------------------------------------------------
// TBarEditAction

TBarEditAction::TBarEditAction(TComponent* AOwner) : TAction(AOwner)
{
    SetDisableIfNoHandler(false);
}

template <class Apply> void TBarEditAction::TellLinks(Apply apply)
{
    const std::vector<TBasicActionLink*> links = FClients;
    for (TBasicActionLink* link : links)
        if (auto* editLink = dynamic_cast<TBarEditItemActionLink*>(link))
            apply(editLink);
}

void TBarEditAction::SetEditOptions(TBarEditItemOptions value)
{
    if (value == FEditOptions)
        return;
    TellLinks([value](TBarEditItemActionLink* link) { link->ApplyEditOptions(value); });
    FEditOptions = value;
    Change();
}

void TBarEditAction::SetEditCaption(const AnsiString& value)
{
    if (value == FEditCaption)
        return;
    TellLinks([&value](TBarEditItemActionLink* link) { link->ApplyEditCaption(value); });
    FEditCaption = value;
    Change();
}

void TBarEditAction::SetEditWidth(int value)
{
    if (value == FEditWidth)
        return;
    TellLinks([value](TBarEditItemActionLink* link) { link->ApplyEditWidth(value); });
    FEditWidth = value;
    Change();
}

void TBarEditAction::SetOnAcceptText(const TBarAcceptTextEvent& value)
{
    if (value == FOnAcceptText)
        return;
    TellLinks([&value](TBarEditItemActionLink* link) { link->ApplyAcceptHandler(value); });
    FOnAcceptText = value;
    Change();
}

void TBarEditAction::SetText(const AnsiString& value)
{
    if (value == FText)
        return;
    TellLinks([&value](TBarEditItemActionLink* link) { link->SetText(value); });
    FText = value;
    Change();
}

// ---------------------------------------------------------------------------
// TBarEditItemActionLink

TBarEditItemActionLink::TBarEditItemActionLink(TBarEditItem* client)
    : TBarCustomItemActionLink(client)
{
}

TBarEditItem* TBarEditItemActionLink::EditItem() const
{
    return static_cast<TBarEditItem*>(FClient);
}

TBarEditAction* TBarEditItemActionLink::EditAction() const
{
    return dynamic_cast<TBarEditAction*>(Action());
}

bool TBarEditItemActionLink::EditCaptionFollowsAction()
{
    return EditAction() && EditAction()->EditCaption() == EditItem()->EditCaption();
}

bool TBarEditItemActionLink::EditOptionsFollowAction()
{
    return EditAction() && EditAction()->EditOptions() == EditItem()->EditOptions();
}

bool TBarEditItemActionLink::EditWidthFollowsAction()
{
    return EditAction() && EditAction()->EditWidth() == EditItem()->EditWidth();
}

bool TBarEditItemActionLink::AcceptHandlerFollowsAction()
{
    return EditAction() && EditAction()->OnAcceptText() == EditItem()->OnAcceptText;
}

bool TBarEditItemActionLink::TextFollowsAction()
{
    return EditAction() && EditAction()->Text() == EditItem()->Text();
}

void TBarEditItemActionLink::ApplyEditCaption(const AnsiString& value)
{
    if (EditCaptionFollowsAction())
        EditItem()->SetEditCaption(value);
}

void TBarEditItemActionLink::ApplyEditOptions(TBarEditItemOptions value)
{
    if (EditOptionsFollowAction())
        EditItem()->SetEditOptions(value);
}

void TBarEditItemActionLink::ApplyEditWidth(int value)
{
    if (EditWidthFollowsAction())
        EditItem()->SetEditWidth(value);
}

void TBarEditItemActionLink::ApplyAcceptHandler(const TBarAcceptTextEvent& value)
{
    if (AcceptHandlerFollowsAction())
        EditItem()->OnAcceptText = value;
}

void TBarEditItemActionLink::SetText(const AnsiString& value)
{
    if (TextFollowsAction())
        EditItem()->AssignTextWithReason(value, TBarTextChangeReason::ActionLink);
}

// ---------------------------------------------------------------------------
// TBarEditItemViewer: measuring and painting

TBarEditItemViewer::~TBarEditItemViewer()
{
    if (FAlive)
        *FAlive = false;
    if (FEdit) {
        FEdit->SetWindowProc(FEditProc);
        delete FEdit;
    }
}

TBarEditItem* TBarEditItemViewer::EditItem() const
{
    return static_cast<TBarEditItem*>(Item());
}

bool TBarEditItemViewer::OutsideToolbarStyle()
{
    return !HasBarLook();
}

// The caption's width without accelerator marks, 0 without a caption.
int TBarEditItemViewer::CaptionCellWidth(TCanvas* Canvas)
{
    const AnsiString& caption = EditItem()->EditCaption();
    if (caption.empty() || !OutsideToolbarStyle())
        return 0;
    return Canvas->TextWidth(RemoveAccelMarks(caption));
}

void TBarEditItemViewer::CalcSize(TCanvas* Canvas, int& Width, int& Height)
{
    const int textHeight = Canvas->TextHeight("Wg");
    Width = EditItem()->EditWidth();
    Height = textHeight;
    if (OutsideToolbarStyle() && !EditItem()->EditCaption().empty()) {
        Width += CaptionCellWidth(Canvas) + 10;
        Height += (textHeight + 3) / 4;
    }
    Height = std::max(Height, textHeight + 7);
}

void TBarEditItemViewer::EditorBounds(TRect& R)
{
    R = BoundsRect();
    if (!OutsideToolbarStyle() || EditItem()->EditCaption().empty())
        return;
    TBarMeasuringCanvas measuring(View()->GetFont());
    R.left += CaptionCellWidth(measuring.Canvas()) + 10;
}

void TBarEditItemViewer::Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool,
                               bool)
{
    TBarEditItem* item = EditItem();
    const bool enabled = item->Enabled();
    HDC dc = Canvas->Handle();
    TRect box = ClientRect;
    if (OutsideToolbarStyle() && !item->EditCaption().empty()) {
        const int cell = CaptionCellWidth(Canvas) + 6;
        TRect captionRect(ClientRect.left + 3, ClientRect.top, ClientRect.left + 3 + cell,
                          ClientRect.bottom);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(!enabled     ? COLOR_GRAYTEXT
                                     : IsSelected ? COLOR_HIGHLIGHTTEXT
                                                  : COLOR_MENUTEXT));
        if (IsSelected) {
            HBRUSH highlight = GetSysColorBrush(COLOR_HIGHLIGHT);
            FillRect(dc, &captionRect, highlight);
        }
        DrawViewerCaption(Canvas, captionRect, item->EditCaption(),
                          DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        box.left = captionRect.right + 4;
    }
    if (IsSelected && enabled)
        DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    else
        InflateRect(&box, -2, -2);
    FrameRect(dc, &box, GetSysColorBrush(enabled ? COLOR_BTNFACE : COLOR_WINDOW));
    InflateRect(&box, -1, -1);
    FillRect(dc, &box, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    InflateRect(&box, -1, 0);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    DrawTextA(dc, item->Text().c_str(), static_cast<int>(item->Text().size()), &box,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TBarEditItemViewer::GetCursor(const TPoint& Pt, HCURSOR& Cursor)
{
    if (!Item()->Enabled())
        return;
    TRect box;
    EditorBounds(box);
    OffsetRect(&box, -BoundsRect().left, -BoundsRect().top);
    InflateRect(&box, -2, -2);
    if (box.Contains(Pt))
        Cursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_IBEAM));
}

int TBarEditItemViewer::AccessibleRole()
{
    return ROLE_SYSTEM_TEXT;
}

bool TBarEditItemViewer::AccessibleValue(AnsiString& Value)
{
    Value = EditItem()->Text();
    return true;
}

// ---------------------------------------------------------------------------
// TBarEditItemViewer: the mouse and executing

void TBarEditItemViewer::MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu)
{
    if (!HitsButtonSection(X, Y)) {
        TBarItemViewer::MouseDown(Shift, X, Y, MouseDownOnMenu);
        return;
    }
    if (!Item()->Enabled()) {
        if (!View()->OpenChildView())
            View()->EndModal();
        return;
    }
    View()->ExecuteViewer(this, false);
}

void TBarEditItemViewer::MouseUp(int X, int Y, bool MouseWasDownOnMenu)
{
    // The press opened the editor already.
    if (!HitsButtonSection(X, Y))
        TBarItemViewer::MouseUp(X, Y, MouseWasDownOnMenu);
}

TBarEditorClass TBarEditItemViewer::EditorClass()
{
    return NewEdit;
}

bool TBarEditItemViewer::DoExecute()
{
    TBarView* view = View();
    view->ShutChildPopups();
    if (!RunInlineEditor())
        return false;
    switch (FState) {
    case TBarEditState::Enter:
        view->EndModalWithChoice(this);
        return true;
    case TBarEditState::Tab:
        // The next viewer is selected and the loop goes on with it.
        if (TBarView* root = view->RootView(); root->ModalHandler() &&
                                               root->Window()->HandleAllocated() &&
                                               GetCapture() != root->Window()->WindowHandle())
            SetCapture(root->Window()->WindowHandle());
        return true;
    case TBarEditState::Editing:
        // Something outside ended editing: it is left to what comes next.
        return false;
    default:
        view->EndModal();
        return false;
    }
}

// ---------------------------------------------------------------------------
// TBarEditItemViewer: the inline editor

void TBarEditItemViewer::AcceptEditorText()
{
    AnsiString text = FEdit->Text();
    if (EditItem()->AcceptEnteredText(text))
        EditItem()->AssignTextWithReason(text, TBarTextChangeReason::EditControl);
}

void TBarEditItemViewer::EditWndProc(TMessage& message)
{
    if (message.Msg == WM_CHAR) {
        switch (message.WParam) {
        case VK_TAB:
            FState = TBarEditState::Tab;
            AcceptEditorText();
            return;
        case VK_RETURN:
            FState = TBarEditState::Enter;
            AcceptEditorText();
            return;
        case VK_ESCAPE:
            FState = TBarEditState::Cancelled;
            return;
        default:
            break;
        }
    }
    FEditProc(message);
    // Only a focus loss while editing ends it: the focus goes back while
    // the editor still exists after Tab or Enter too.
    if (message.Msg == WM_KILLFOCUS && FState == TBarEditState::Editing) {
        FState = TBarEditState::Ended;
        View()->RootView()->EndModal();
    }
}

bool TBarEditItemViewer::LoopMayGoOn()
{
    TBarView* view = View();
    TWinControl* window = view->Window();
    return FState == TBarEditState::Editing &&
           view->RootView()->DoneAction().Kind == TBarLoopResultKind::None &&
           window->HandleAllocated() && IsWindowVisible(window->WindowHandle()) &&
           IsWindowEnabled(window->WindowHandle()) && Item()->Enabled();
}

void TBarEditItemViewer::EditLoop(const bool& alive)
{
    HWND viewWindow = View()->Window()->WindowHandle();
    HWND editWindow = FEdit->WindowHandle();
    while (alive && LoopMayGoOn()) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_SYSKEYUP && msg.wParam == VK_MENU) {
            FState = TBarEditState::Ended;
            break;
        }
        if (msg.message == WM_SYSKEYDOWN && msg.wParam != VK_MENU && msg.wParam != VK_SHIFT &&
            msg.wParam != VK_KANJI && !IsNumericKeypadKey(msg.lParam)) {
            FState = TBarEditState::Ended;
            break;
        }
        // A press elsewhere ends editing and stays queued for its window.
        if (IsButtonPress(msg.message) && msg.hwnd != editWindow)
            break;
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
            POINT p = msg.pt;
            const bool overEditor = WindowFromPoint(p) == editWindow;
            if (!overEditor && GetCapture() != viewWindow) {
                SetCapture(viewWindow);
                SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
            } else if (overEditor && GetCapture() == viewWindow) {
                ReleaseCapture();
            }
        }
        if (!PeekMessageA(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE))
            continue;
        if (msg.message == WM_QUIT) {
            FState = TBarEditState::Ended;
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        const bool heldMouse = msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST &&
                               msg.hwnd == viewWindow && GetCapture() == viewWindow;
        if (heldMouse)
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (!alive)
            break;
    }
    RemoveMessages(WM_CHAR, WM_DEADCHAR);
    RemoveMessages(WM_SYSCHAR, WM_SYSDEADCHAR);
}

bool TBarEditItemViewer::RunInlineEditor()
{
    TRect r;
    EditorBounds(r);
    if (r.IsEmpty() || FEdit)
        return true;
    TBarView* view = View();
    TBarEditItem* item = EditItem();
    HWND viewWindow = view->Window()->Handle();
    HWND activeBefore = GetActiveWindow();
    HWND focusBefore = GetFocus();
    InflateRect(&r, -3, -3);

    FEdit = EditorClass()();
    char name[96];
    std::snprintf(name, sizeof name, "%s_edit_control_%08X", ClassName().c_str(),
                  static_cast<unsigned>(reinterpret_cast<UINT_PTR>(this)));
    FEdit->SetName(name);
    FEdit->SetVisible(false);
    FEdit->SetBorderStyle(TBorderStyle::bsNone);
    FEdit->Font()->Assign(view->GetFont());
    FEdit->SetCharCase(item->CharCase());
    FEdit->SetMaxLength(item->MaxLength());
    FEdit->SetText(item->Text());
    FEdit->SetBoundsRect(r);
    FEdit->SetParentWindow(viewWindow);
    FEditProc = FEdit->WindowProc();
    FEdit->SetWindowProc(TWndMethod(this, &TBarEditItemViewer::EditWndProc));
    FEdit->HandleNeeded();
    FEdit->SelectAll();
    item->PrepareEditor(this);
    ShowWindow(FEdit->WindowHandle(), SW_SHOWNOACTIVATE);
    ::SetFocus(FEdit->WindowHandle());
    if (activeBefore && GetActiveWindow() != activeBefore)
        SendMessageA(activeBefore, WM_NCACTIVATE, TRUE, 0);

    FState = TBarEditState::Editing;
    bool alive = true;
    FAlive = &alive;
    TScopeExit closed([this, &alive] {
        // Its view was rebuilt or freed under the loop: the editor went with it.
        if (!alive)
            return;
        FAlive = nullptr;
        FEdit->SetWindowProc(FEditProc);
        delete FEdit;
        FEdit = nullptr;
    });
    EditLoop(alive);
    if (alive && FState == TBarEditState::Editing && FEdit->Modified())
        AcceptEditorText();
    if (!alive)
        return false;
    FAlive = nullptr;

    RedrawWindow(viewWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    if (focusBefore && IsWindow(focusBefore))
        ::SetFocus(focusBefore);
    if (!GetActiveWindow() && activeBefore && IsWindow(activeBefore))
        SetActiveWindow(activeBefore);
    if (activeBefore && IsWindow(activeBefore))
        SendMessageA(activeBefore, WM_NCACTIVATE, GetActiveWindow() == activeBefore, 0);
    if (view->IsPopup())
        SetWindowPos(viewWindow, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (FState == TBarEditState::Tab && GetActiveWindow() == activeBefore)
        view->StepSelection(!SeamKeyHeld(VK_SHIFT));
    return true;
}
