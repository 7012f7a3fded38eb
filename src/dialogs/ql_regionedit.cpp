#include "ql_regionedit.h"

#include "editor/ostrel.h"

#include "classlib/AnsiText.h"
#include "classlib/Application.h"
#include "classlib/Seams.h"

namespace {

constexpr const char* kDuplicateNameMessage = "すでに同じ名前のリージョンがあります";

// Design sizes, pixels.
constexpr int kClientWidth = 372;
constexpr int kClientHeight = 257;
constexpr int kMargin = 8;
constexpr int kGroupWidth = 116;
// A group holds two rows of a label (13 px high) over its edit.
constexpr int kGroupHeight = 97;
constexpr int kEditHeight = 21;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 25;
constexpr int kTimeMaxLength = 10;
constexpr int kSamplesMaxLength = 15;

TExtLabel* PlaceLabel(TComponent* owner, TWinControl* parent, const char* caption, int left,
                      int top)
{
    auto* label = MakeChildControl<TExtLabel>(owner, parent, "");
    label->SetAutoSize(true);
    label->SetCaption(caption);
    label->SetLeft(left);
    label->SetTop(top);
    return label;
}

TNumEdit* PlaceEdit(TComponent* owner, TWinControl* parent, const char* name, int left, int top,
                    int width, int maxLength)
{
    auto* edit = MakeChildControl<TNumEdit>(owner, parent, name);
    edit->SetBounds(left, top, width, kEditHeight);
    edit->SetMaxLength(maxLength);
    return edit;
}

TFlatButton* PlaceButton(TComponent* owner, TWinControl* parent, const char* name,
                         const char* caption, int left, int top)
{
    auto* button = MakeChildControl<TFlatButton>(owner, parent, name);
    button->SetCaption(caption);
    button->SetBounds(left, top, kButtonWidth, kButtonHeight);
    return button;
}

} // namespace

TForm2::TForm2(TComponent* AOwner, TFormVusk& main) : TForm(AOwner), FMain(main)
{
    SetName("Form2");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poOwnerFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
    CreateEdits();
    CreateButtons();
    CreateActions();
    OnCreate = TNotifyEvent(this, &TForm2::FormCreate);
    OnShow = TNotifyEvent(this, &TForm2::FormShow);
    FinishLoading();
}

void TForm2::CreateEdits()
{
    PlaceLabel(this, this, "リージョン名", kMargin, kMargin + 3);
    RenameEdit = PlaceEdit(this, this, "RenameEdit", 84, kMargin, kClientWidth - 84 - kMargin, 0);
    RenameEdit->PasteFilter = WithoutRefusedNameChars;
    RenameEdit->OnKeyPress = TKeyPressEvent(this, &TForm2::RenameEditKeyPress);
    RenameEdit->OnKeyDown = TKeyEvent(this, &TForm2::RenameEditKeyDown);
    RenameEdit->OnChange = TNotifyEvent(this, &TForm2::RenameEditChange);

    struct TGroupEntry
    {
        TExtGroupBox* TForm2::*Group;
        const char* Caption;
        TNumEdit* TForm2::*Time;
        const char* TimeName;
        TNumEdit* TForm2::*Samples;
        const char* SamplesName;
    };
    const TGroupEntry groups[] = {
        {&TForm2::LengthGroup, "長さ", &TForm2::LengthEd1, "LengthEd1", &TForm2::LengthEd2,
         "LengthEd2"},
        {&TForm2::StartGroup, "開始", &TForm2::StartEd1, "StartEd1", &TForm2::StartEd2, "StartEd2"},
        {&TForm2::EndGroup, "終了", &TForm2::EndEd1, "EndEd1", &TForm2::EndEd2, "EndEd2"},
    };
    const int groupTop = kMargin + kEditHeight + 10;
    int left = kMargin;
    for (const TGroupEntry& entry : groups) {
        auto* group = MakeChildControl<TExtGroupBox>(this, this, "");
        group->SetBounds(left, groupTop, kGroupWidth, kGroupHeight);
        group->SetCaption(entry.Caption);
        this->*entry.Group = group;
        PlaceLabel(this, group, "時間", 8, 20);
        TNumEdit* time =
            PlaceEdit(this, group, entry.TimeName, 8, 34, kGroupWidth - 16, kTimeMaxLength);
        time->OnKeyPress = TKeyPressEvent(this, &TForm2::CheckKeyPress);
        PlaceLabel(this, group, "サンプル", 8, 58);
        TNumEdit* samples =
            PlaceEdit(this, group, entry.SamplesName, 8, 72, kGroupWidth - 16, kSamplesMaxLength);
        samples->OnKeyPress = TKeyPressEvent(this, &TForm2::CheckKeyPress2);
        for (TNumEdit* edit : {time, samples})
            edit->OnChange = TNotifyEvent(this, &TForm2::EditValChangeChange);
        this->*entry.Time = time;
        this->*entry.Samples = samples;
        left += kGroupWidth + 4;
    }
    const int labelsTop = groupTop + kGroupHeight + 8;
    // The values start after the longer caption ("最大サンプル : ", 90 px).
    const int valueLeft = kMargin + 96;
    PlaceLabel(this, this, "最大時間 : ", kMargin, labelsTop);
    MaxLabel = PlaceLabel(this, this, "", valueLeft, labelsTop);
    PlaceLabel(this, this, "最大サンプル : ", kMargin, labelsTop + 18);
    MaxLabel2 = PlaceLabel(this, this, "", valueLeft, labelsTop + 18);
}

void TForm2::CreateButtons()
{
    const int top = kClientHeight - kMargin - kButtonHeight;
    BackBtn = PlaceButton(this, this, "BackBtn", "前へ(&B)", kMargin, top);
    NextBtn = PlaceButton(this, this, "NextBtn", "次へ(&N)", kMargin + kButtonWidth + 4, top);
    OKBtn = PlaceButton(this, this, "OKBtn", "&OK", kClientWidth - 2 * (kButtonWidth + 4), top);
    OKBtn->SetDefault(true);
    CancelBtn =
        PlaceButton(this, this, "CancelBtn", "&Cancel", kClientWidth - kButtonWidth - kMargin, top);
    CancelBtn->OnClick = TNotifyEvent(this, &TForm2::CancelBtnClick);
}

void TForm2::CreateActions()
{
    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    auto make = [this](const char* name, const char* caption, TShortCut key,
                       void (TForm2::*execute)(TObject*)) {
        auto* action = new TAction(this);
        action->SetName(name);
        action->SetCaption(caption);
        action->SetShortCut(key);
        action->SetActionList(ActionList1);
        action->OnExecute = TNotifyEvent(this, execute);
        return action;
    };
    actOk = make("actOk", "&OK", scCtrl | 'O', &TForm2::actOkExecute);
    actNext = make("actNext", "次へ(&N)", scCtrl | 'N', &TForm2::actNextExecute);
    actNext->OnUpdate = TNotifyEvent(this, &TForm2::actNextUpdate);
    actBack = make("actBack", "前へ(&B)", scCtrl | 'P', &TForm2::actBackExecute);
    actBack->OnUpdate = TNotifyEvent(this, &TForm2::actBackUpdate);
    actSetOrgVal = make("actSetOrgVal", "", 0, &TForm2::actSetOrgValExecute);
    actSelectAll = make("actSelectAll", "", scCtrl | 'A', &TForm2::actSelectAllExecute);
    EditCut1 = make("EditCut1", "切り取り(&T)", scCtrl | 'X', &TForm2::EditCut1Execute);
    EditCopy1 = make("EditCopy1", "コピー(&C)", scCtrl | 'C', &TForm2::EditCopy1Execute);
    EditPaste1 = make("EditPaste1", "貼り付け(&P)", scCtrl | 'V', &TForm2::EditPaste1Execute);
    actPreView = make("actPreView", "", 0, &TForm2::actPreViewExecute);
    OKBtn->SetAction(actOk);
    NextBtn->SetAction(actNext);
    BackBtn->SetAction(actBack);
}

// --- Lifecycle -------------------------------------------------------------------------------

void TForm2::FormCreate(TObject* Sender)
{
    FCreating = true;
    actSetOrgVal->SetShortCut(VK_ESCAPE);
}

void TForm2::FormShow(TObject* Sender)
{
    TNumEdit* const focus[] = {RenameEdit, LengthEd1, StartEd1, EndEd1};
    const int column = FMain.EditColumn();
    FocusControl(focus[column >= 0 && column < 4 ? column : 0]);
    FCreating = false;
    FUnchanged = true;
    actPreView->SetShortCut(FMain.actAudioRenamePlay->ShortCut());
}

void TForm2::LoadRegion(int row)
{
    const TRegionData* region = FMain.RegionAt(row);
    if (!region)
        return;
    FRegionName = region->Name;
    FRegionStart = region->Start;
    FRegionEnd = region->End;
    auto column = [this, row](TRegionColumn c) { return FMain.RegionText(row, c); };
    WriteEdit(RenameEdit, region->Name);
    WriteEdit(LengthEd1, column(TRegionColumn::Length));
    WriteEdit(StartEd1, column(TRegionColumn::Start));
    WriteEdit(EndEd1, column(TRegionColumn::End));
    WriteEdit(LengthEd2, SampleCountText(std::int64_t(region->End) - region->Start));
    WriteEdit(StartEd2, SampleCountText(region->Start));
    WriteEdit(EndEd2, SampleCountText(region->End));
    actOk->SetEnabled(true);
}

TRegionEditFacts TForm2::Facts() const
{
    return {FBytesPerSec, FBlockAlign, FMaxSamples};
}

TNumEdit* TForm2::EditOf(TRegionEditField field) const
{
    switch (field) {
    case TRegionEditField::LengthTime:
        return LengthEd1;
    case TRegionEditField::StartTime:
        return StartEd1;
    case TRegionEditField::EndTime:
        return EndEd1;
    case TRegionEditField::LengthSamples:
        return LengthEd2;
    case TRegionEditField::StartSamples:
        return StartEd2;
    case TRegionEditField::EndSamples:
        break;
    }
    return EndEd2;
}

std::optional<TRegionEditField> TForm2::FieldOf(const TObject* edit) const
{
    for (int i = 0; i < kRegionEditFieldCount; ++i) {
        const auto field = static_cast<TRegionEditField>(i);
        if (EditOf(field) == edit)
            return field;
    }
    return std::nullopt;
}

TNumEdit* TForm2::FocusedEdit() const
{
    TWinControl* active = ActiveControl();
    if (active == RenameEdit || FieldOf(active))
        return static_cast<TNumEdit*>(active);
    return nullptr;
}

void TForm2::WriteEdit(TNumEdit* edit, const AnsiString& text)
{
    const bool writing = std::exchange(FWriting, true);
    edit->SetText(text);
    FWriting = writing;
}

// --- Keeping the edits in step ---------------------------------------------------------------

void TForm2::EditValChangeChange(TObject* Sender)
{
    const std::optional<TRegionEditField> field = FieldOf(Sender);
    if (FCreating || FWriting || !field || Sender != ActiveControl())
        return;
    TRegionEditTexts texts;
    for (int i = 0; i < kRegionEditFieldCount; ++i)
        texts[i] = EditOf(static_cast<TRegionEditField>(i))->Text();
    const TRegionEditSync sync = SyncRegionEdits(*field, texts, Facts());
    for (const auto& [target, text] : sync.Writes)
        WriteEdit(EditOf(target), text);
    actOk->SetEnabled(sync.Valid);
    FUnchanged = false;
}

void TForm2::CheckKeyPress(TObject* Sender, char& Key)
{
    if (!TimeKeyAccepted(Key))
        Key = 0;
}

void TForm2::CheckKeyPress2(TObject* Sender, char& Key)
{
    if (!SampleKeyAccepted(Key))
        Key = 0;
}

void TForm2::RenameEditKeyPress(TObject* Sender, char& Key)
{
    if (!FNameKeys.Accept(Key, Seams().KeyState(VK_RETURN) < 0))
        Key = 0;
}

void TForm2::RenameEditChange(TObject* Sender)
{
    if (!FCreating && !FWriting)
        FUnchanged = false;
}

void TForm2::RenameEditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift)
{
    if (Key != VK_UP && Key != VK_DOWN)
        return;
    TAction* step = Key == VK_UP ? actBack : actNext;
    step->Update();
    if (step->Enabled())
        step->Execute();
    RenameEdit->SelectAll();
    Key = 0;
}

// --- Applying and stepping -------------------------------------------------------------------

bool TForm2::ApplyEdits()
{
    const int row = FMain.SelectedRegionRow();
    TRegionData* region = FMain.RegionAt(row);
    const std::optional<std::int32_t> start = SampleStrToInt(StartEd2->Text());
    const std::optional<std::int32_t> end = SampleStrToInt(EndEd2->Text());
    if (!region || !RegionEditRangeValid(StartEd2->Text(), EndEd2->Text(), Facts()))
        return false;
    const AnsiString name = RenameEdit->Text();
    if (name != FRegionName && !Trim(name).empty()) {
        for (int other = 0; other < FMain.RegionCount(); ++other)
            if (other != row && FMain.RegionText(other, TRegionColumn::Name) == name) {
                SeamMessageBox(Handle(), kDuplicateNameMessage, Application->Title(),
                               MB_OK | MB_ICONWARNING);
                return false;
            }
    }
    FMain.SetRegionText(row, TRegionColumn::Name, name);
    FMain.Document().RenameRegion(*region, name);
    FMain.Document().MoveRegion(*region, {*start, *end});
    FMain.ShowRegionTimes(row);
    return true;
}

void TForm2::actOkExecute(TObject* Sender)
{
    if (ApplyEdits())
        SetModalResult(mrOk);
}

int TForm2::Neighbour(int delta) const
{
    const int selected = FMain.SelectedRegionRow();
    if (selected < 0)
        return -1;
    const int target = selected + delta;
    return target >= 0 && target < FMain.RegionCount() ? target : -1;
}

void TForm2::StepTo(int delta)
{
    const int target = Neighbour(delta);
    if (target < 0)
        return;
    if (actOk->Enabled() && !ApplyEdits())
        return;
    FMain.SelectRegionRow(target, true);
    FMain.FocusRegionRow(target);
    LoadRegion(target);
    SetCaption(AnsiString("リージョンの編集 ： ") + FRegionName);
    if (TNumEdit* edit = FocusedEdit())
        edit->SelectAll();
    FUnchanged = true;
}

void TForm2::actNextExecute(TObject* Sender)
{
    StepTo(1);
}

void TForm2::actBackExecute(TObject* Sender)
{
    StepTo(-1);
}

void TForm2::actNextUpdate(TObject* Sender)
{
    actNext->SetEnabled(Neighbour(1) >= 0);
}

void TForm2::actBackUpdate(TObject* Sender)
{
    actBack->SetEnabled(Neighbour(-1) >= 0);
}

// --- Escape, the clipboard and closing -------------------------------------------------------

void TForm2::actSetOrgValExecute(TObject* Sender)
{
    if (FUnchanged) {
        CancelBtn->Click();
        return;
    }
    TNumEdit* focused = FocusedEdit();
    const int row = FMain.SelectedRegionRow();
    if (focused && row >= 0) {
        auto column = [this, row](TRegionColumn c) { return FMain.RegionText(row, c); };
        const AnsiString length = SampleCountText(std::int64_t(FRegionEnd) - FRegionStart);
        if (focused == RenameEdit) {
            WriteEdit(RenameEdit, FRegionName);
        } else if (focused == StartEd1 || focused == StartEd2) {
            WriteEdit(StartEd1, column(TRegionColumn::Start));
            WriteEdit(StartEd2, SampleCountText(FRegionStart));
            WriteEdit(LengthEd1, column(TRegionColumn::Length));
            WriteEdit(LengthEd2, length);
        } else {
            WriteEdit(LengthEd1, column(TRegionColumn::Length));
            WriteEdit(EndEd1, column(TRegionColumn::End));
            WriteEdit(LengthEd2, length);
            WriteEdit(EndEd2, SampleCountText(FRegionEnd));
        }
        focused->SelectAll();
        actOk->SetEnabled(RegionEditRangeValid(StartEd2->Text(), EndEd2->Text(), Facts()));
    }
    FUnchanged = true;
}

void TForm2::actSelectAllExecute(TObject* Sender)
{
    if (TNumEdit* edit = FocusedEdit())
        edit->SelectAll();
}

void TForm2::EditCut1Execute(TObject* Sender)
{
    if (TNumEdit* edit = FocusedEdit())
        edit->CutToClipboard();
}

void TForm2::EditCopy1Execute(TObject* Sender)
{
    if (TNumEdit* edit = FocusedEdit())
        edit->CopyToClipboard();
}

void TForm2::EditPaste1Execute(TObject* Sender)
{
    if (TNumEdit* edit = FocusedEdit())
        edit->PasteFromClipboard();
}

// Only holds the main window's rename-play key, so that it does nothing
// here.
void TForm2::actPreViewExecute(TObject* Sender) {}

void TForm2::CancelBtnClick(TObject* Sender)
{
    SetModalResult(mrCancel);
}
