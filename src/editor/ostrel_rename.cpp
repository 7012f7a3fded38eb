// Renaming regions: the rename page's rules, the preview column of the
// region list, applying it, the manual input, and names loaded from a text
// file or the clipboard. The rules themselves are RenameRules'.
#include "ostrel.h"

#include "dialogs/ql_loadlist.h"

#include "classlib/Clipboard.h"
#include "classlib/Seams.h"

namespace {

constexpr const char* kPreviewCaption = "変更後名";
constexpr int kPreviewColumn = static_cast<int>(TRegionColumn::RenamePreview);

TRenamePlace PlaceOf(TComboBox* choice)
{
    return choice->ItemIndex() == 0 ? TRenamePlace::Before : TRenamePlace::After;
}

TRenameDeleteFrom DeleteFromOf(TComboBox* choice)
{
    switch (choice->ItemIndex()) {
    case 1:
        return TRenameDeleteFrom::Last;
    case 2:
        return TRenameDeleteFrom::Position;
    default:
        return TRenameDeleteFrom::First;
    }
}

void SetEnabledWithLabel(TControl* control, TLabel* label, bool enabled)
{
    control->SetEnabled(enabled);
    if (label)
        label->SetEnabled(enabled);
}

} // namespace

void TFormVusk::WireRenameEvents()
{
    for (TExtRadioButton* rule :
         {rnAdd1, rnAdd2, rnAdd3, rnDel1, rnDel2, rnChange1, rnChange2, rnChange3})
        Wire(rule->OnClick, &TFormVusk::RenameControlChange);
    Wire(rCk1->OnClick, &TFormVusk::RenameControlChange);
    for (TComboBox* choice : {rCb1, rCb2, rCb3})
        Wire(choice->OnChange, &TFormVusk::RenameControlChange);
    for (TNumSpinEdit* number : {rSp1, rSp2, rSp3, rSp4})
        Wire(number->OnChange, &TFormVusk::RenameControlChange);
    for (TNumEdit* edit : {rEd1, rEd2, rEd3, rEd4, rEd5, rEd6}) {
        Wire(edit->OnChange, &TFormVusk::RenameControlChange);
        Wire(edit->OnKeyDown, &TFormVusk::RenameEditKeyDown);
        Wire(edit->OnKeyPress, &TFormVusk::RenameEditKeyPress);
        edit->PasteFilter = WithoutRefusedNameChars;
    }
    Wire(rEd5->OnEnter, &TFormVusk::rEd5Enter);
    Wire(rEd5->OnKeyDown, &TFormVusk::rEd5KeyDown);
    for (TSkinButton* go : {GoRnBtn1, GoRnBtn2, GoRnBtn3})
        Wire(go->OnClick, &TFormVusk::GoRnBtnClick);
    Wire(actFileLoadList->OnExecute, &TFormVusk::actFileLoadListExecute);
    Wire(actFileLoadListFromClp->OnExecute, &TFormVusk::actFileLoadListFromClpExecute);
    for (TAction* load : {actFileLoadList, actFileLoadListFromClp})
        load->OnUpdate = [this, load](TObject*) { load->SetEnabled(RegionCount() > 0); };
    ApplyRenameControlsEnabled();
}

// --- The pane's settings ---------------------------------------------------------------------

TRenameSettings TFormVusk::RenameSettings() const
{
    TRenameSettings s;
    s.Tab = static_cast<TRenameTab>(RenamePage->ActiveTabIndex());
    s.AddRule = rnAdd1->Checked()   ? TRenameAddRule::SerialToName
                : rnAdd3->Checked() ? TRenameAddRule::TextToName
                                    : TRenameAddRule::SerialToText;
    s.SerialStart = rSp1->Value();
    s.SerialDigits = rSp2->Value();
    s.AddText = rEd1->Text();
    s.AddPlace = PlaceOf(rCb1);
    s.DeleteRule = rnDel2->Checked() ? TRenameDeleteRule::Bytes : TRenameDeleteRule::Text;
    s.DeleteText = rEd2->Text();
    s.DeleteFrom = DeleteFromOf(rCb2);
    s.DeletePosition = rSp3->Value();
    s.DeleteCount = rSp4->Value();
    s.ChangeRule = rnChange2->Checked()   ? TRenameChangeRule::Upper
                   : rnChange3->Checked() ? TRenameChangeRule::Lower
                                          : TRenameChangeRule::Replace;
    s.ChangeFrom = rEd3->Text();
    s.ChangeTo = rEd4->Text();
    s.InputText = rEd5->Text();
    s.InputAddText = rCk1->Checked();
    s.InputAddedText = rEd6->Text();
    s.InputPlace = PlaceOf(rCb3);
    return s;
}

void TFormVusk::ApplyRenameControlsEnabled()
{
    const TRenameControlsEnabled e = RenameControlsEnabled(RenameSettings());
    SetEnabledWithLabel(rSp1, rLb1, e.SerialStart);
    SetEnabledWithLabel(rSp2, rLb2, e.SerialDigits);
    SetEnabledWithLabel(rEd1, rLb3, e.AddText);
    SetEnabledWithLabel(rCb1, rLb4, e.AddPlace);
    SetEnabledWithLabel(rEd2, rLb5, e.DeleteText);
    SetEnabledWithLabel(rCb2, rLb6, e.DeleteFrom);
    SetEnabledWithLabel(rSp3, rLb7, e.DeletePosition);
    SetEnabledWithLabel(rSp4, rLb8, e.DeleteCount);
    SetEnabledWithLabel(rEd3, rLb9, e.ChangeFrom);
    SetEnabledWithLabel(rEd4, rLb10, e.ChangeTo);
    SetEnabledWithLabel(rEd6, rLb12, e.InputAddedText);
    SetEnabledWithLabel(rCb3, rLb13, e.InputPlace);
}

void TFormVusk::RenameControlChange(TObject* Sender)
{
    ApplyRenameControlsEnabled();
    UpdateRenamePreview();
}

// --- The preview column ----------------------------------------------------------------------

void TFormVusk::AddRenameColumn()
{
    TListColumns* columns = EditList->Columns();
    if (columns->Count() > kPreviewColumn)
        return;
    TListColumn* preview = columns->Add();
    preview->SetCaption(kPreviewCaption);
    preview->SetWidth(columns->Items(0)->Width());
    FitRegionRowsToColumns();
    std::vector<int> order = EditList->ColumnOrder();
    order.erase(std::find(order.begin(), order.end(), kPreviewColumn));
    order.insert(order.begin() + 1, kPreviewColumn);
    EditList->SetColumnOrder(order);
}

void TFormVusk::RemoveRenameColumn()
{
    TListColumns* columns = EditList->Columns();
    if (columns->Count() <= kPreviewColumn)
        return;
    columns->Delete(kPreviewColumn);
    FitRegionRowsToColumns();
}

std::vector<TRenameItem> TFormVusk::RenameItems() const
{
    std::vector<TRenameItem> rows(RegionCount());
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        rows[row].Name = RegionText(row, TRegionColumn::Name);
    for (int row : SelectedRegionRows())
        rows[row].Selected = true;
    return rows;
}

std::vector<AnsiString> TFormVusk::RenamePreviewTexts() const
{
    std::vector<AnsiString> previews(RegionCount());
    for (int row = 0; row < static_cast<int>(previews.size()); ++row)
        previews[row] = RegionText(row, TRegionColumn::RenamePreview);
    return previews;
}

void TFormVusk::UpdateRenamePreview()
{
    if (!FRenameMode || !RenamePage->Visible())
        return;
    const std::vector<AnsiString> previews =
        RenamePreviews(RenameSettings(), RenameItems(), FocusedRegionRow());
    for (int row = 0; row < static_cast<int>(previews.size()); ++row)
        SetRegionText(row, TRegionColumn::RenamePreview, previews[row]);
}

// --- Applying --------------------------------------------------------------------------------

void TFormVusk::RenameRegionItem(int row, const AnsiString& name)
{
    SetRegionText(row, TRegionColumn::Name, name);
    if (TRegionData* region = RegionAt(row))
        FDocument.RenameRegion(*region, name);
    if (!RegionText(row, TRegionColumn::RenamePreview).empty())
        SetRegionText(row, TRegionColumn::RenamePreview, "");
}

void TFormVusk::GoRnBtnClick(TObject* Sender)
{
    if (SelectedRegionCount() == 0)
        return;
    const TRenameApply apply = PlanRenameApply(RenameItems(), RenamePreviewTexts());
    for (const TRename& rename : apply.Renames)
        RenameRegionItem(rename.Index, rename.Name);
    if (apply.Collided)
        ShowStatusMessage(RenameText::ApplyCollision, clRed, kStatusMessageMs);
}

// --- Name edits ------------------------------------------------------------------------------

void TFormVusk::RenameEditKeyPress(TObject* Sender, char& Key)
{
    if (!FNameKeyFilter.Accept(Key, GetKeyState(VK_RETURN) < 0))
        Key = 0;
}

void TFormVusk::RenameEditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift)
{
    auto* edit = static_cast<TNumEdit*>(Sender);
    if (Key == VK_ESCAPE && edit->SelLength() > 0)
        edit->SetSelLength(0);
}

// --- Manual input ----------------------------------------------------------------------------

void TFormVusk::LoadManualInputName(int row)
{
    rEd5->SetText(RegionText(row, TRegionColumn::Name));
    rEd5->SelectAll();
}

void TFormVusk::FocusManualItem(int row, bool selectOnly)
{
    if (selectOnly)
        SelectRegionRow(row, true);
    FocusRegionRow(row);
}

void TFormVusk::rEd5Enter(TObject* Sender)
{
    rEd1Enter(Sender);
    int named = SelectedRegionRow();
    if (named < 0 && RegionCount() > 0) {
        FocusManualItem(0, false);
        named = FocusedRegionRow();
    }
    LoadManualInputName(named);
    EditList->Invalidate();
}

void TFormVusk::rEd5KeyDown(TObject* Sender, WORD& Key, TShiftState Shift)
{
    RenameEditKeyDown(Sender, Key, Shift);
    const int focused = FocusedRegionRow();
    if (Key == VK_UP || Key == VK_DOWN) {
        FocusManualItem(ManualMoveFocus(RegionCount(), focused, Key == VK_UP ? -1 : 1), true);
        LoadManualInputName(FocusedRegionRow());
        Key = 0;
        return;
    }
    if (Key != VK_RETURN)
        return;
    std::vector<AnsiString> names;
    for (const TRenameItem& item : RenameItems())
        names.push_back(item.Name);
    const AnsiString preview = focused >= 0 ? RenamePreviewTexts()[focused] : AnsiString();
    const TManualEnterStep step = ManualEnterStep(names, focused, preview);
    if (step.Refused) {
        ShowStatusMessage(RenameText::ManualCollision, clRed, kStatusMessageMs);
        return;
    }
    if (step.Rename)
        RenameRegionItem(focused, preview);
    FocusManualItem(step.Focus, false);
    LoadManualInputName(FocusedRegionRow());
    Key = 0;
}

// --- Loading names ---------------------------------------------------------------------------

void TFormVusk::actFileLoadListExecute(TObject* Sender)
{
    if (!OpenDialog1->Execute(Handle()))
        return;
    TStringList lines;
    lines.LoadFromFile(OpenDialog1->FileName());
    LoadRenameLines(lines);
}

void TFormVusk::actFileLoadListFromClpExecute(TObject* Sender)
{
    TStringList lines;
    lines.SetText(Clipboard()->AsText());
    LoadRenameLines(lines);
}

void TFormVusk::LoadRenameLines(const TStrings& lines)
{
    std::vector<AnsiString> strings = RenameStringsFrom(lines);
    if (strings.empty() || RegionCount() == 0)
        return;
    const bool chosen = ChooseLoadListType(this, FOption.LoadListType);
    if (!chosen)
        return;
    auto askNumbering = [this] {
        return SeamMessageBox(Handle(), RenameText::NumberingQuestion,
                              RenameText::NumberingQuestionCaption,
                              MB_YESNO | MB_ICONQUESTION) == IDYES;
    };
    const TRenameLoad load = LoadRenameStrings(LoadListTypeOf(FOption.LoadListType), RenameItems(),
                                               std::move(strings), askNumbering);
    if (load.Refused) {
        ShowStatusMessage(RenameText::LoadAbandoned, clRed, kStatusMessageMs);
        return;
    }
    for (const TRename& rename : load.Renames)
        RenameRegionItem(rename.Index, rename.Name);
    UpdateRenamePreview();
}
