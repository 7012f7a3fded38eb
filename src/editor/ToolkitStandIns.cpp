#include "ToolkitStandIns.h"

#include <shellapi.h>

namespace {

constexpr int kToolButtonHeight = 22;
constexpr int kToolButtonPadding = 12; // pixels beside a button's text
constexpr int kToolBarHeight = 26;

} // namespace

TToolDock::TToolDock(TComponent* AOwner) : TPanel(AOwner)
{
    SetBevelOuter(TBevelCut::bvNone);
    SetCaption("");
}

TToolBarPanel::TToolBarPanel(TComponent* AOwner) : TPanel(AOwner)
{
    SetBevelOuter(TBevelCut::bvNone);
    SetCaption("");
    SetHeight(kToolBarHeight);
}

TToolButton::TToolButton(TComponent* AOwner, const AnsiString& caption)
    : TButton(AOwner), FShortCaption(caption)
{
    SetCaption(caption);
}

void TToolButton::ActionChange(TObject* Sender, bool CheckDefaults)
{
    TButton::ActionChange(Sender, CheckDefaults);
    SetCaption(FShortCaption);
}

TToolButton* TToolBarPanel::AddButton(TAction* action, const AnsiString& caption)
{
    auto* button = new TToolButton(this, caption);
    button->SetParent(this);
    button->SetAction(action);
    button->SetTabStop(false);
    button->SetShowHint(true);
    button->SetHint(action->Caption());
    int width = kToolButtonPadding + 7 * static_cast<int>(caption.size());
    button->SetBounds(FNextLeft, 2, width, kToolButtonHeight);
    FNextLeft += width;
    SetWidth(FNextLeft + 2);
    return button;
}

TDropFileTarget::TDropFileTarget(TComponent* AOwner) : TComponent(AOwner) {}

TDropFileTarget::~TDropFileTarget()
{
    Unregister();
}

void TDropFileTarget::Register(TWinControl* target)
{
    Unregister();
    if (!target)
        return;
    FTarget = target;
    FTarget->FreeNotification(this);
    FPreviousWindowProc = FTarget->WindowProc();
    FTarget->SetWindowProc(TWndMethod(this, &TDropFileTarget::TargetWindowProc));
    DragAcceptFiles(FTarget->Handle(), TRUE);
}

void TDropFileTarget::Unregister()
{
    if (!FTarget)
        return;
    if (FTarget->HandleAllocated())
        DragAcceptFiles(FTarget->Handle(), FALSE);
    FTarget->SetWindowProc(FPreviousWindowProc);
    FTarget->RemoveFreeNotification(this);
    FTarget = nullptr;
    FPreviousWindowProc.Clear();
}

void TDropFileTarget::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FTarget) {
        FTarget = nullptr;
        FPreviousWindowProc.Clear();
    }
}

void TDropFileTarget::TargetWindowProc(TMessage& message)
{
    if (message.Msg != WM_DROPFILES) {
        FPreviousWindowProc(message);
        return;
    }
    HDROP drop = reinterpret_cast<HDROP>(message.WParam);
    std::vector<AnsiString> paths;
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        AnsiString path(length, '\0');
        DragQueryFileA(drop, i, path.data(), length + 1);
        paths.push_back(path);
    }
    DragFinish(drop);
    message.Result = 0;
    if (!paths.empty())
        OnDrop(this, paths);
}
