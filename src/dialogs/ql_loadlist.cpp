#include "ql_loadlist.h"

#include "editor/RenameRules.h"

namespace {

// Design sizes, pixels.
constexpr int kClientWidth = 330;
constexpr int kClientHeight = 160;
constexpr int kMargin = 12;
constexpr int kOptionHeight = 22;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 25;

TFlatButton* PlaceButton(TComponent* owner, TWinControl* parent, const char* name,
                         const char* caption, int left, int top)
{
    TFlatButton* button = MakeChildControl<TFlatButton>(owner, parent, name);
    button->SetCaption(caption);
    button->SetBounds(left, top, kButtonWidth, kButtonHeight);
    return button;
}

TAction* MakeAction(TComponent* owner, TActionList* list, const char* name, TShortCut key)
{
    auto* action = new TAction(owner);
    action->SetName(name);
    action->SetShortCut(key);
    action->SetActionList(list);
    return action;
}

} // namespace

TFormSelType::TFormSelType(TComponent* AOwner, std::int32_t& loadListType)
    : TForm(AOwner), FLoadListType(loadListType)
{
    SetName("FormSelType");
    SetCaption("リネーム文字列の読み込み");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poOwnerFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
    CreateOptions();
    CreateButtons();
    CreateActions();

    // The stored option is the choice. Tab reaches the options at the
    // choice alone, as in any dialog box, so it is the first control to
    // take the focus; the options keep their order, so arrow keys walk
    // them as they stand.
    OptionOf(FLoadListType)->SetChecked(true);
    KeepTabStopAtChoice();
    FinishLoading();
}

TFormSelType::~TFormSelType()
{
    for (int type = 1; type <= 3; ++type)
        if (OptionOf(type)->Checked())
            FLoadListType = type;
}

void TFormSelType::CreateOptions()
{
    Label1 = MakeChildControl<TExtLabel>(this, this, "Label1");
    Label1->SetCaption("読み込みの方法を選択して下さい");
    Label1->SetBounds(kMargin, kMargin, kClientWidth - 2 * kMargin, 16);
    ChoicePanel = MakeChildControl<TSkinAlignmentPanel>(this, this, "ChoicePanel");
    ChoicePanel->SetBounds(kMargin, kMargin + 22, kClientWidth - 2 * kMargin, 3 * kOptionHeight);
    struct TOptionEntry
    {
        TExtRadioButton* TFormSelType::*Field;
        const char* Name;
        const char* Caption;
    };
    const TOptionEntry options[] = {
        {&TFormSelType::ck1, "ck1", "リージョンリストの先頭から順番に適用する"},
        {&TFormSelType::ck2, "ck2", "最初の選択項目から順番に適用する"},
        {&TFormSelType::ck3, "ck3", "選択項目にのみ適用する"},
    };
    int top = 0;
    for (const TOptionEntry& option : options) {
        TExtRadioButton* button = MakeChildControl<TExtRadioButton>(this, ChoicePanel, option.Name);
        button->SetCaption(option.Caption);
        button->SetBounds(8, top, ChoicePanel->Width() - 8, kOptionHeight - 2);
        button->OnEnter = TNotifyEvent(this, &TFormSelType::OptionEnter);
        button->OnClick = TNotifyEvent(this, &TFormSelType::OptionClick);
        this->*option.Field = button;
        top += kOptionHeight;
    }
}

void TFormSelType::CreateButtons()
{
    const int top = kClientHeight - kMargin - kButtonHeight;
    OkBtn =
        PlaceButton(this, this, "OkBtn", "&OK", kClientWidth - 2 * (kButtonWidth + kMargin), top);
    OkBtn->OnClick = TNotifyEvent(this, &TFormSelType::OkBtnClick);
    CancelBtn =
        PlaceButton(this, this, "CancelBtn", "&Cancel", kClientWidth - kButtonWidth - kMargin, top);
    CancelBtn->OnClick = TNotifyEvent(this, &TFormSelType::CancelBtnClick);
}

void TFormSelType::CreateActions()
{
    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    actOk = MakeAction(this, ActionList1, "actOk", VK_RETURN);
    actOk->OnExecute = TNotifyEvent(this, &TFormSelType::actOkExecute);
    actCancel = MakeAction(this, ActionList1, "actCancel", VK_ESCAPE);
    actCancel->OnExecute = TNotifyEvent(this, &TFormSelType::actCancelExecute);
}

TExtRadioButton* TFormSelType::OptionOf(std::int32_t stored) const
{
    switch (LoadListTypeOf(stored)) {
    case TLoadListType::FromFirstSelected:
        return ck2;
    case TLoadListType::SelectedOnly:
        return ck3;
    case TLoadListType::FromTop:
        break;
    }
    return ck1;
}

void TFormSelType::OptionEnter(TObject* Sender)
{
    // An option reached with an arrow key becomes the choice, as options
    // in a dialog box do.
    static_cast<TExtRadioButton*>(Sender)->SetChecked(true);
}

void TFormSelType::OptionClick(TObject* Sender)
{
    KeepTabStopAtChoice();
}

// A Tab walk round the window comes back to the choice as it stands, not
// to the option that was checked when the window opened (which entering
// would check again).
void TFormSelType::KeepTabStopAtChoice()
{
    for (TExtRadioButton* option : {ck1, ck2, ck3})
        option->SetTabStop(option->Checked());
}

void TFormSelType::OkBtnClick(TObject* Sender)
{
    FOkResult = true;
    Close();
}

void TFormSelType::CancelBtnClick(TObject* Sender)
{
    Close();
}

void TFormSelType::actOkExecute(TObject* Sender)
{
    OkBtn->Click();
}

void TFormSelType::actCancelExecute(TObject* Sender)
{
    CancelBtn->Click();
}

bool ChooseLoadListType(TComponent* owner, std::int32_t& loadListType)
{
    // Freeing the window at the end stores the choice.
    TScopedFree<TFormSelType> window(new TFormSelType(owner, loadListType));
    window->ShowModal();
    return window->FOkResult;
}
