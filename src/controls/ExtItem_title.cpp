// The title bar: a compound bar in place of a form's caption, and the
// system menu shown as an extended popup menu. No window of the program
// uses it yet.
#include "controls/ExtItem.h"

#include "classlib/Form.h"

#include <windowsx.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Symbols of the system's symbol font.
constexpr const wchar_t* kSymbolMinimize = L"0";
constexpr const wchar_t* kSymbolMaximize = L"1";
constexpr const wchar_t* kSymbolRestore = L"2";
constexpr const wchar_t* kSymbolClose = L"r";
constexpr const wchar_t* kSymbolMenu = L"u";
constexpr WPARAM kMoveByCaption = SC_MOVE | HTCAPTION;

} // namespace

WideString ExtReadMenuText(HMENU menu, UINT position)
{
    wchar_t text[261] = {};
    const int length = GetMenuStringW(menu, position, text, 261, MF_BYPOSITION);
    return WideString(text, length > 0 ? length : 0);
}

UINT ExtPopupSystemMenu(HWND window, const TPoint& at)
{
    HMENU system = GetSystemMenu(window, FALSE);
    if (!system)
        return 0;
    // The window sets the entries' states as it does for its own menu.
    SendMessageW(window, WM_INITMENU, reinterpret_cast<WPARAM>(system), 0);
    SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system), MAKELPARAM(0, TRUE));
    TExtPopupMenu popup(nullptr);
    std::vector<std::pair<TBarCustomItem*, UINT>> commands;
    const int count = GetMenuItemCount(system);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
        if (!GetMenuItemInfoW(system, i, TRUE, &info))
            continue;
        if (info.fType & MFT_SEPARATOR) {
            popup.Items()->Add(new TExtSeparatorItem(nullptr));
            continue;
        }
        auto* item = new TExtItem(nullptr);
        item->SetCaption(ExtReadMenuText(system, i));
        item->SetEnabled(!(info.fState & MFS_DISABLED));
        item->SetChecked((info.fState & MFS_CHECKED) != 0);
        popup.Items()->Add(item);
        commands.emplace_back(item, info.wID);
    }
    TBarCustomItem* chosen = popup.PopupInternally(at.x, at.y);
    for (const auto& [item, command] : commands)
        if (item == chosen) {
            PostMessageW(window, WM_SYSCOMMAND, command, 0);
            return command;
        }
    return 0;
}

// --- TExtTitleToolbar ---------------------------------------------------------------------------

TExtTitleToolbar::TExtTitleToolbar(TComponent* AOwner) : TExtToolbar(AOwner) {}

bool TExtTitleToolbar::OverButton(const TPoint& client)
{
    TBarItemViewer* viewer = View()->ViewerAtPixel(client);
    return viewer && viewer->Item()->HasTrait(HotTrackable);
}

void TExtTitleToolbar::WndProc(TMessage& message)
{
    if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) {
        const TPoint client(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
        TCustomForm* form = GetParentForm(this);
        if (form && !HasState(csDesigning) && !OverButton(client)) {
            HWND window = form->Handle();
            if (message.Msg == WM_LBUTTONDBLCLK) {
                PostMessageW(window, WM_SYSCOMMAND, IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE, 0);
            } else {
                ReleaseCapture();
                SendMessageW(window, WM_SYSCOMMAND, kMoveByCaption, 0);
            }
            message.Result = 0;
            return;
        }
    }
    TExtToolbar::WndProc(message);
    if (message.Msg == WM_SIZE)
        if (auto* bar = dynamic_cast<TExtCustomTitleBar*>(Owner()))
            bar->SyncFromForm();
}

// --- TExtCustomTitleBar -------------------------------------------------------------------------

TExtCustomTitleBar::TExtCustomTitleBar(TComponent* AOwner)
    : TExtCompoundBar(
          AOwner, [](TComponent* owner) -> TExtToolbar* { return new TExtTitleToolbar(owner); }),
      FOptions(new TExtTitleBarButtonOptions)
{
    SetAlign(TAlign::alTop);
    FSystemMenuItem = AddButton(kSymbolMenu);
    FCaptionItem = new TExtLabelItem(nullptr);
    FCaptionItem->SetWrapping(TTextWrapping::twEndEllipsis);
    Items()->Add(FCaptionItem);
    Items()->Add(new TExtRightAlignSpacerItem(nullptr));
    FMinimizeItem = AddButton(kSymbolMinimize);
    FMaximizeItem = AddButton(kSymbolMaximize);
    FCloseItem = AddButton(kSymbolClose);
    FOptions->OnChange = TNotifyEvent(this, &TExtCustomTitleBar::OptionsChanged);
    OptionsChanged(FOptions);
}

TExtCustomTitleBar::~TExtCustomTitleBar()
{
    delete FOptions;
}

TExtItem* TExtCustomTitleBar::AddButton(const wchar_t* symbol)
{
    auto* item = new TExtItem(nullptr);
    item->SetCaption(symbol);
    item->FontSettings()->SetName("Marlett");
    item->SetCustomWidth(TExtTitleBarButtonOptions::kButtonWidth);
    item->OnClick = TNotifyEvent(this, &TExtCustomTitleBar::ButtonClicked);
    Items()->Add(item);
    return item;
}

void TExtCustomTitleBar::OptionsChanged(TObject*)
{
    FSystemMenuItem->SetVisible(FOptions->SystemMenu());
    FMinimizeItem->SetVisible(FOptions->Minimize());
    FMaximizeItem->SetVisible(FOptions->Maximize());
    FCloseItem->SetVisible(FOptions->Close());
    for (TExtItem* button : {FSystemMenuItem, FMinimizeItem, FMaximizeItem, FCloseItem})
        button->SetCustomHeight(FOptions->TitleBarSize());
}

HWND TExtCustomTitleBar::FormHandle()
{
    TCustomForm* form = GetParentForm(this);
    return form ? form->Handle() : nullptr;
}

void TExtCustomTitleBar::ButtonClicked(TObject* Sender)
{
    HWND window = FormHandle();
    if (!window)
        return;
    if (Sender == FSystemMenuItem) {
        const TRect r = ClientRect();
        ExtPopupSystemMenu(window, ClientToScreen(TPoint(r.left, r.bottom)));
        return;
    }
    WPARAM command = SC_CLOSE;
    if (Sender == FMinimizeItem)
        command = SC_MINIMIZE;
    else if (Sender == FMaximizeItem)
        command = IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE;
    PostMessageW(window, WM_SYSCOMMAND, command, 0);
}

void TExtCustomTitleBar::SetActive(bool value)
{
    if (value == FActive)
        return;
    FActive = value;
    ApplyFormCaptionStyle();
    SyncFromForm();
}

void TExtCustomTitleBar::ApplyFormCaptionStyle()
{
    TCustomForm* form = GetParentForm(this);
    if (!form || !form->HandleAllocated())
        return;
    HWND window = form->Handle();
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG wanted = FActive ? style & ~WS_CAPTION : style | WS_CAPTION;
    if (wanted == style)
        return;
    SetWindowLongW(window, GWL_STYLE, wanted);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TExtCustomTitleBar::SyncFromForm()
{
    TCustomForm* form = GetParentForm(this);
    if (!form || !form->HandleAllocated() || HasState(csDestroying))
        return;
    HWND window = form->Handle();
    const int length = GetWindowTextLengthW(window);
    std::wstring caption(length + 1, L'\0');
    caption.resize(GetWindowTextW(window, caption.data(), length + 1));
    FCaptionItem->SetCaption(WideString(caption.c_str()));
    FMaximizeItem->SetCaption(IsZoomed(window) ? kSymbolRestore : kSymbolMaximize);
}

void TExtCustomTitleBar::WndProc(TMessage& message)
{
    TExtCompoundBar::WndProc(message);
    if (message.Msg == CM_SHOWINGCHANGED && FActive) {
        ApplyFormCaptionStyle();
        SyncFromForm();
    }
}
