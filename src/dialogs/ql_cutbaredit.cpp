#include "ql_cutbaredit.h"

#include "editor/TimeText.h"

namespace {

// Design sizes, pixels.
constexpr int kClientWidth = 236;
constexpr int kClientHeight = 150;
constexpr int kMargin = 8;
constexpr int kEditLeft = 72;
constexpr int kEditHeight = 21;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 25;

} // namespace

TForm9::TForm9(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form9");
    SetCaption("カットバーの編集");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poOwnerFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);

    struct TRow
    {
        const char* Caption;
        TNumEdit* TForm9::*Edit;
        const char* Name;
        int MaxLength;
        void (TForm9::*KeyPress)(TObject*, char&);
    };
    const TRow rows[] = {
        {"時間", &TForm9::LengthEd1, "LengthEd1", 10, &TForm9::TimeKeyPress},
        {"サンプル", &TForm9::LengthEd2, "LengthEd2", 15, &TForm9::SampleKeyPress},
    };
    int top = kMargin;
    for (const TRow& row : rows) {
        auto* label = MakeChildControl<TExtLabel>(this, this, "");
        label->SetCaption(row.Caption);
        label->SetBounds(kMargin, top + 3, kEditLeft - kMargin, 16);
        auto* edit = MakeChildControl<TNumEdit>(this, this, row.Name);
        edit->SetBounds(kEditLeft, top, kClientWidth - kEditLeft - kMargin, kEditHeight);
        edit->SetMaxLength(row.MaxLength);
        edit->OnKeyPress = TKeyPressEvent(this, row.KeyPress);
        edit->OnChange = TNotifyEvent(this, &TForm9::LengthEd1Change);
        this->*row.Edit = edit;
        top += kEditHeight + 6;
    }
    for (TExtLabel* TForm9::*field : {&TForm9::MaxLabel, &TForm9::MaxLabel2}) {
        auto* caption = MakeChildControl<TExtLabel>(this, this, "");
        caption->SetCaption(field == &TForm9::MaxLabel ? "最大時間 : " : "最大サンプル : ");
        caption->SetBounds(kMargin, top, 96, 16);
        auto* value = MakeChildControl<TExtLabel>(this, this, "");
        value->SetBounds(kMargin + 96, top, kClientWidth - 96 - 2 * kMargin, 16);
        this->*field = value;
        top += 18;
    }
    const int buttonTop = kClientHeight - kMargin - kButtonHeight;
    OKBtn = MakeChildControl<TFlatButton>(this, this, "OKBtn");
    OKBtn->SetCaption("&OK");
    OKBtn->SetBounds(kClientWidth - 2 * (kButtonWidth + 4), buttonTop, kButtonWidth, kButtonHeight);
    OKBtn->SetDefault(true);
    OKBtn->OnClick = TNotifyEvent(this, &TForm9::OkBtnClick);
    CancelBtn = MakeChildControl<TFlatButton>(this, this, "CancelBtn");
    CancelBtn->SetCaption("&Cancel");
    CancelBtn->SetBounds(kClientWidth - kButtonWidth - kMargin, buttonTop, kButtonWidth,
                         kButtonHeight);
    CancelBtn->SetCancel(true);
    CancelBtn->OnClick = TNotifyEvent(this, &TForm9::CancelBtnClick);

    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    auto make = [this](const char* name, TShortCut key, void (TForm9::*execute)(TObject*)) {
        auto* action = new TAction(this);
        action->SetName(name);
        action->SetShortCut(key);
        action->SetActionList(ActionList1);
        action->OnExecute = TNotifyEvent(this, execute);
        return action;
    };
    actEscape = make("actEscape", 0, &TForm9::actEscapeExecute);
    actSelAll = make("actSelAll", scCtrl | 'A', &TForm9::actSelAllExecute);
    EditCut1 = make("EditCut1", scCtrl | 'X', &TForm9::EditCut1Execute);
    EditCopy1 = make("EditCopy1", scCtrl | 'C', &TForm9::EditCopy1Execute);
    EditPaste1 = make("EditPaste1", scCtrl | 'V', &TForm9::EditPaste1Execute);

    OnCreate = TNotifyEvent(this, &TForm9::FormCreate);
    OnShow = TNotifyEvent(this, &TForm9::FormShow);
    FinishLoading();
}

void TForm9::FormCreate(TObject* Sender)
{
    FCreating = true;
    FUnchanged = true;
    FOkResult = false;
    actEscape->SetShortCut(VK_ESCAPE);
}

void TForm9::FormShow(TObject* Sender)
{
    FCreating = false;
}

TRegionEditFacts TForm9::Facts() const
{
    return {FBytesPerSec, FBlockAlign, FMaxSamples};
}

TNumEdit* TForm9::FocusedEdit() const
{
    TWinControl* active = ActiveControl();
    return active == LengthEd1 || active == LengthEd2 ? static_cast<TNumEdit*>(active) : nullptr;
}

void TForm9::WriteEdit(TNumEdit* edit, const AnsiString& text)
{
    const bool writing = std::exchange(FWriting, true);
    edit->SetText(text);
    FWriting = writing;
}

void TForm9::LengthEd1Change(TObject* Sender)
{
    if (FCreating || FWriting || Sender != ActiveControl())
        return;
    const bool time = Sender == LengthEd1;
    const TCutBarEditSync sync =
        SyncCutBarEdits(time, static_cast<TNumEdit*>(Sender)->Text(), Facts());
    WriteEdit(time ? LengthEd2 : LengthEd1, sync.Other);
    OKBtn->SetEnabled(sync.Valid);
    FUnchanged = false;
}

void TForm9::TimeKeyPress(TObject* Sender, char& Key)
{
    if (!TimeKeyAccepted(Key))
        Key = 0;
}

void TForm9::SampleKeyPress(TObject* Sender, char& Key)
{
    if (!SampleKeyAccepted(Key))
        Key = 0;
}

void TForm9::OkBtnClick(TObject* Sender)
{
    if (!OKBtn->Enabled())
        return;
    FOkResult = !FUnchanged;
    SetModalResult(mrOk);
}

void TForm9::CancelBtnClick(TObject* Sender)
{
    SetModalResult(mrCancel);
}

void TForm9::actEscapeExecute(TObject* Sender)
{
    if (FUnchanged) {
        CancelBtn->Click();
        return;
    }
    TNumEdit* focused = FocusedEdit();
    if (!focused)
        return;
    WriteEdit(LengthEd1, SampleTimeText(FCutPosition, Facts()));
    WriteEdit(LengthEd2, SampleCountText(FCutPosition));
    focused->SelectAll();
    OKBtn->SetEnabled(false);
    FUnchanged = true;
}

void TForm9::actSelAllExecute(TObject* Sender)
{
    if (TNumEdit* edit = FocusedEdit())
        edit->SelectAll();
}

void TForm9::EditCut1Execute(TObject* Sender)
{
    if (TNumEdit* edit = FocusedEdit())
        edit->CutToClipboard();
}

void TForm9::EditCopy1Execute(TObject* Sender)
{
    if (TNumEdit* edit = FocusedEdit())
        edit->CopyToClipboard();
}

void TForm9::EditPaste1Execute(TObject* Sender)
{
    if (TNumEdit* edit = FocusedEdit())
        edit->PasteFromClipboard();
}
