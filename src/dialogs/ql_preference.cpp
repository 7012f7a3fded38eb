#include "ql_preference.h"

#include "editor/CommandShortCuts.h"

#include "classlib/Graphics.h"
#include "classlib/Seams.h"
#include "classlib/TextUtils.h"

#include <algorithm>

TForm6* Form6 = nullptr;

namespace {

namespace PreferenceText {
constexpr const char* SameColor = "同じカラーを複数使用することはできません";
constexpr const char* SameColorCaption = "警告";
constexpr const char* ArrowWithoutShift = "このキーはシフト状態が『なし』では使用できません";
constexpr const char* NeedsShift = "このショートカットはシフト状態が『なし』では設定できません";
constexpr const char* PlainKeyCaption = "単独キーの禁止";
constexpr const char* DuplicateCaption = "ショートカットの重複";
constexpr const char* SystemDevice = "コントロールパネルの設定";
} // namespace PreferenceText

// The question before a shortcut moves from another command (two blanks,
// then a carriage return alone).
AnsiString DuplicateQuestion(const AnsiString& holderCaption)
{
    return "このキーは『 " + holderCaption + " 』で使われています  \r置き換えますか？";
}

// Design sizes, pixels.
constexpr int kClientWidth = 440;
constexpr int kClientHeight = 420;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 25;
constexpr int kRowHeight = 24;
constexpr int kSwatchSize = 22;

// A control of the window, placed on its parent.
template <class T>
T* PlaceControl(TComponent* owner, TWinControl* parent, const char* name, int left, int top,
                int width, int height)
{
    T* control = MakeChildControl<T>(owner, parent, name);
    control->SetBounds(left, top, width, height);
    return control;
}

TExtGroupBox* PlaceGroup(TComponent* owner, TWinControl* parent, const char* caption, int left,
                         int top, int width, int height)
{
    auto* group = PlaceControl<TExtGroupBox>(owner, parent, "", left, top, width, height);
    group->SetCaption(caption);
    return group;
}

TExtLabel* PlaceLabel(TComponent* owner, TWinControl* parent, const char* caption, int left,
                      int top)
{
    auto* label = MakeChildControl<TExtLabel>(owner, parent, "");
    label->SetAutoSize(true);
    label->SetCaption(caption);
    label->SetLeft(left);
    label->SetTop(top + 3);
    return label;
}

TExtCheckBox* PlaceCheck(TComponent* owner, TWinControl* parent, const char* name,
                         const char* caption, int top)
{
    auto* box = PlaceControl<TExtCheckBox>(owner, parent, name, 12, top, 260, kRowHeight - 4);
    box->SetCaption(caption);
    return box;
}

TComboBox* PlaceChoice(TComponent* owner, TWinControl* parent, const char* name, int left, int top,
                       int width)
{
    auto* box = PlaceControl<TComboBox>(owner, parent, name, left, top, width, kRowHeight);
    box->SetStyle(TComboBoxStyle::csDropDownList);
    return box;
}

void SelectItemText(TComboBox* box, const AnsiString& text)
{
    int index = box->Items()->IndexOf(text);
    if (index >= 0)
        box->SetItemIndex(index);
}

void SelectItemIfValid(TComboBox* box, int index)
{
    if (index >= 0 && index < box->Items()->Count())
        box->SetItemIndex(index);
}

int ChosenNumber(TComboBox* box, int fallback)
{
    int index = box->ItemIndex();
    if (index < 0)
        return fallback;
    return StrToIntDef(box->Items()->Strings(index), fallback);
}

} // namespace

TForm6::TForm6(TComponent* AOwner, const TOption& option) : TForm(AOwner)
{
    SetName("Form6");
    SetCaption("設定");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poOwnerFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);

    PageControl1 = PlaceControl<TPageControl>(this, this, "PageControl1", kMargin, kMargin,
                                              kClientWidth - 2 * kMargin,
                                              kClientHeight - 3 * kMargin - kButtonHeight);
    auto makeSheet = [this](const char* name, const char* caption) {
        auto* sheet = new TTabSheet(this);
        sheet->SetName(name);
        sheet->SetPageControl(PageControl1);
        sheet->SetCaption(caption);
        return sheet;
    };
    GeneralSheet = makeSheet("GeneralSheet", "全般");
    DisplaySheet = makeSheet("DisplaySheet", "表示");
    ShortCutSheet = makeSheet("ShortCutSheet", "ショートカット");
    CreateGeneralPage();
    CreateDisplayPage();
    CreateShortCutPage();
    CreateButtons();
    SelectChoices(option);
    FinishLoading();
}

void TForm6::CreateGeneralPage()
{
    TWinControl* page = GeneralSheet;
    const int width = PageControl1->Width() - 4 * kMargin;
    TExtGroupBox* general =
        PlaceGroup(this, page, "全般", kMargin, kMargin, width, 5 * kRowHeight + 24);
    chk1 = PlaceCheck(this, general, "chk1", "波形描画データを保存する", 18);
    chk2 = PlaceCheck(this, general, "chk2", "ウィンドウ状態を記憶する", 18 + kRowHeight);
    chk3 = PlaceCheck(this, general, "chk3", "閉じる時にセーブ警告を出さない", 18 + 2 * kRowHeight);
    chk6 = PlaceCheck(this, general, "chk6", "ファイルリストを保存する", 18 + 3 * kRowHeight);
    chk5 = PlaceCheck(this, general, "chk5", "カット時にリージョンを追加する", 18 + 4 * kRowHeight);

    int top = general->Top() + general->Height() + kMargin;
    TExtGroupBox* audio =
        PlaceGroup(this, page, "オーディオ", kMargin, top, width, 3 * kRowHeight + 28);
    PlaceLabel(this, audio, "出力", 12, 20);
    DeviceCombo = PlaceChoice(this, audio, "DeviceCombo", 110, 20, width - 124);
    DeviceCombo->Items()->Add(PreferenceText::SystemDevice);
    for (const AnsiString& device : Seams().WaveOutDevices())
        DeviceCombo->Items()->Add(device);
    DeviceCombo->SetItemIndex(0);
    PlaceLabel(this, audio, "バッファサイズ", 12, 20 + kRowHeight + 2);
    BufSizeCombo = PlaceChoice(this, audio, "BufSizeCombo", 110, 20 + kRowHeight + 2, 100);
    for (int size : kBufSizeChoices)
        BufSizeCombo->Items()->Add(IntToStr(size));
    SelectItemText(BufSizeCombo, IntToStr(TOption{}.BufSize));
    PlaceLabel(this, audio, "バッファ数", 12, 20 + 2 * (kRowHeight + 2));
    BufCountCombo = PlaceChoice(this, audio, "BufCountCombo", 110, 20 + 2 * (kRowHeight + 2), 100);
    for (int count = 1; count <= kBufCountChoiceCount; ++count)
        BufCountCombo->Items()->Add(IntToStr(count));
    SelectItemText(BufCountCombo, IntToStr(TOption{}.BufCount));
    for (TComboBox* box : {DeviceCombo, BufSizeCombo, BufCountCombo})
        box->OnChange = TNotifyEvent(this, &TForm6::AudioChoiceChange);

    top = audio->Top() + audio->Height() + kMargin;
    TExtGroupBox* silence =
        PlaceGroup(this, page, "無音判定", kMargin, top, width, kRowHeight + 28);
    PlaceLabel(this, silence, "以下のPCMデータ振幅を無音として扱う", 12, 20);
    ZeroSpin =
        PlaceControl<TNumSpinEdit>(this, silence, "ZeroSpin", width - 90, 20, 76, kRowHeight);
    ZeroSpin->SetMin(0);
    ZeroSpin->SetMax(256);
    ZeroSpin->SetValue(TOption{}.ZeroLevel);
}

void TForm6::CreateDisplayPage()
{
    TWinControl* page = DisplaySheet;
    const int width = PageControl1->Width() - 4 * kMargin;
    TExtGroupBox* colors = PlaceGroup(this, page, "カラー設定", kMargin, kMargin, width, 196);
    PlaceLabel(this, colors, "プリセット", 12, 20);
    PresetCombo = PlaceChoice(this, colors, "PresetCombo", 90, 20, 150);
    for (int i = 0; i < kColorPresetCount; ++i)
        PresetCombo->Items()->Add(ColorPreset(i).Name);
    PresetCombo->SetItemIndex(0);
    PresetCombo->OnChange = TNotifyEvent(this, &TForm6::PresetComboChange);

    struct TSwatchEntry
    {
        TShape* TForm6::*Field;
        const char* Name;
        const char* Caption;
    };
    struct TSwatchGroup
    {
        const char* Caption;
        int Left, Top, Width;
        std::vector<TSwatchEntry> Swatches;
    };
    const TSwatchGroup groups[] = {
        {"通常", 8, 52, 124, {{&TForm6::sp1, "sp1", "波形"}, {&TForm6::sp2, "sp2", "背景"}}},
        {"リージョン選択時",
         140,
         52,
         124,
         {{&TForm6::sp3, "sp3", "波形"}, {&TForm6::sp4, "sp4", "背景"}}},
        {"プレビュー時", 272, 52, 116, {{&TForm6::sp6, "sp6", "背景"}}},
        {"その他",
         8,
         118,
         width - 16,
         {{&TForm6::sp7, "sp7", "中央線"},
          {&TForm6::sp8, "sp8", "ゼロ"},
          {&TForm6::sp9, "sp9", "再生位置"},
          {&TForm6::sp10, "sp10", "カットバー"},
          {&TForm6::sp11, "sp11", "表示範囲"}}},
    };
    for (const TSwatchGroup& entry : groups) {
        TExtGroupBox* group =
            PlaceGroup(this, colors, entry.Caption, entry.Left, entry.Top, entry.Width, 62);
        int left = 8;
        for (const TSwatchEntry& swatch : entry.Swatches) {
            PlaceLabel(this, group, swatch.Caption, left, 16);
            TShape* shape =
                PlaceControl<TShape>(this, group, swatch.Name, left + 8, 34, kSwatchSize, 18);
            shape->OnMouseDown = TMouseEvent(this, &TForm6::SwatchMouseDown);
            this->*swatch.Field = shape;
            left += 74;
        }
    }
    SetSwatchColors(ColorPreset(0).Colors);

    int top = colors->Top() + colors->Height() + kMargin;
    StripeChk = PlaceCheck(this, page, "StripeChk", "リストのストライプ表示", top);
    top += kRowHeight + 4;
    TExtGroupBox* sizes =
        PlaceGroup(this, page, "文字サイズ設定", kMargin, top, width, 2 * kRowHeight + 28);
    PlaceLabel(this, sizes, "波形目盛り", 12, 20);
    MarkSizeCombo = PlaceChoice(this, sizes, "MarkSizeCombo", 160, 20, 60);
    PlaceLabel(this, sizes, "時間表示ディスプレイ", 12, 20 + kRowHeight + 2);
    DispSizeCombo = PlaceChoice(this, sizes, "DispSizeCombo", 160, 20 + kRowHeight + 2, 60);
    for (TComboBox* box : {MarkSizeCombo, DispSizeCombo}) {
        for (int size = 1; size <= 5; ++size)
            box->Items()->Add(IntToStr(size));
        box->SetItemIndex(0);
    }

    ColorDialog1 = new TColorDialog(this);
    ColorDialog1->SetName("ColorDialog1");
}

void TForm6::CreateShortCutPage()
{
    TWinControl* page = ShortCutSheet;
    const int width = PageControl1->Width() - 4 * kMargin;
    const int listHeight = PageControl1->Height() - 5 * kRowHeight - 24;
    ShortCutList =
        PlaceControl<TListView>(this, page, "ShortCutList", kMargin, kMargin, width, listHeight);
    ShortCutList->SetViewStyle(TViewStyle::vsReport);
    ShortCutList->SetReadOnly(true);
    ShortCutList->SetRowSelect(true);
    ShortCutList->SetHideSelection(false);
    TListColumn* command = ShortCutList->Columns()->Add();
    command->SetCaption("内容");
    command->SetWidth(220);
    TListColumn* keys = ShortCutList->Columns()->Add();
    keys->SetCaption("ショートカット");
    keys->SetWidth(width - 244);
    ShortCutList->OnSelectItem = TLVSelectItemEvent(this, &TForm6::ShortCutListSelectItem);
    ShortCutList->OnCustomDrawSubItem =
        TLVCustomDrawSubItemEvent(this, &TForm6::ShortCutListCustomDrawSubItem);

    int top = kMargin + listHeight + kMargin;
    PlaceLabel(this, page, "シフト状態", kMargin, top);
    ShiftCombo = PlaceChoice(this, page, "ShiftCombo", 90, top, 140);
    for (int i = 0; i < kShiftChoiceCount; ++i)
        ShiftCombo->Items()->Add(ShiftChoiceText(i));
    ShiftCombo->SetItemIndex(0);
    top += kRowHeight + 4;
    PlaceLabel(this, page, "キー入力", kMargin, top);
    KeyCombo = PlaceChoice(this, page, "KeyCombo", 90, top, 140);
    for (int i = 0; i < kKeyChoiceCount; ++i)
        KeyCombo->Items()->Add(KeyChoice(i).Text);
    KeyCombo->SetItemIndex(0);
    KeyCombo->SetDropDownCount(16);

    const int changeLeft = kMargin + width - 76;
    DeleteBtn =
        PlaceControl<TFlatButton>(this, page, "DeleteBtn", changeLeft - 82, top, 76, kButtonHeight);
    DeleteBtn->SetCaption("削除");
    DeleteBtn->OnClick = TNotifyEvent(this, &TForm6::DeleteBtnClick);
    ChangeBtn =
        PlaceControl<TFlatButton>(this, page, "ChangeBtn", changeLeft, top, 76, kButtonHeight);
    ChangeBtn->SetCaption("変更");
    ChangeBtn->OnClick = TNotifyEvent(this, &TForm6::ChangeBtnClick);
}

void TForm6::CreateButtons()
{
    const int top = kClientHeight - kMargin - kButtonHeight;
    InitializeBtn =
        PlaceControl<TFlatButton>(this, this, "InitializeBtn", kMargin, top, 140, kButtonHeight);
    InitializeBtn->SetCaption("初期状態に戻す(&D)");
    InitializeBtn->OnClick = TNotifyEvent(this, &TForm6::InitializeBtnClick);
    OkBtn =
        PlaceControl<TFlatButton>(this, this, "OkBtn", kClientWidth - 2 * (kButtonWidth + kMargin),
                                  top, kButtonWidth, kButtonHeight);
    OkBtn->SetCaption("&OK");
    OkBtn->SetDefault(true);
    OkBtn->OnClick = TNotifyEvent(this, &TForm6::OkBtnClick);
    CancelBtn =
        PlaceControl<TFlatButton>(this, this, "CancelBtn", kClientWidth - kButtonWidth - kMargin,
                                  top, kButtonWidth, kButtonHeight);
    CancelBtn->SetCaption("&Cancel");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);
}

void TForm6::SelectChoices(const TOption& option)
{
    SelectItemText(DeviceCombo, option.OutDevice);
    SelectItemText(BufSizeCombo, IntToStr(option.BufSize));
    SelectItemText(BufCountCombo, IntToStr(option.BufCount));
}

// --- For the opener ---------------------------------------------------------------------------

std::array<TShape*, kSwatchCount> TForm6::Swatches() const
{
    return {sp1, sp2, sp3, sp4, sp6, sp7, sp8, sp9, sp10, sp11};
}

TSwatchColors TForm6::SwatchColors() const
{
    TSwatchColors colors{};
    std::array<TShape*, kSwatchCount> swatches = Swatches();
    for (int i = 0; i < kSwatchCount; ++i)
        colors[i] = swatches[i]->Brush()->Color();
    return colors;
}

void TForm6::SetSwatchColors(const TSwatchColors& colors)
{
    std::array<TShape*, kSwatchCount> swatches = Swatches();
    for (int i = 0; i < kSwatchCount; ++i)
        swatches[i]->Brush()->SetColor(colors[i]);
}

void TForm6::SetShortCutTable(std::vector<TShortCutRecord> table, TCustomImageList* images)
{
    FShortCutTable = std::move(table);
    ShortCutList->SetSmallImages(images);
    TListItems* items = ShortCutList->Items();
    TListItemsUpdate update(items);
    items->Clear();
    for (const TShortCutRecord& record : FShortCutTable) {
        TListItem* item = items->Add();
        item->SetCaption(ShortCutListCaption(record.Caption));
        item->SubItems()->Add(ShortCutToText(record.ShortCut));
        item->SetImageIndex(record.ImageIndex);
    }
}

TPreferencePage TForm6::VisiblePage() const
{
    return static_cast<TPreferencePage>(std::max(0, PageControl1->ActivePageIndex()));
}

int TForm6::ChosenBufSize()
{
    return ChosenNumber(BufSizeCombo, TOption{}.BufSize);
}

int TForm6::ChosenBufCount()
{
    return ChosenNumber(BufCountCombo, TOption{}.BufCount);
}

// --- Colours ------------------------------------------------------------------------------------

void TForm6::SwatchMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    std::array<TShape*, kSwatchCount> swatches = Swatches();
    auto found = std::find(swatches.begin(), swatches.end(), Sender);
    if (found == swatches.end())
        return;
    TShape* swatch = *found;
    ColorDialog1->SetColor(swatch->Brush()->Color());
    if (!ColorDialog1->Execute(Handle()))
        return;
    TColor chosen = ColorDialog1->Color();
    if (ColorTakenByOther(SwatchColors(), static_cast<int>(found - swatches.begin()), chosen)) {
        SeamMessageBox(Handle(), PreferenceText::SameColor, PreferenceText::SameColorCaption,
                       MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    swatch->Brush()->SetColor(chosen);
    FColorsChanged = true;
}

void TForm6::PresetComboChange(TObject* Sender)
{
    int preset = PresetCombo->ItemIndex();
    if (preset < 0 || preset >= kColorPresetCount)
        return;
    SetSwatchColors(ColorPreset(preset).Colors);
    FColorsChanged = true;
}

void TForm6::AudioChoiceChange(TObject* Sender)
{
    FGeneralChanged = true;
}

// --- Shortcuts ----------------------------------------------------------------------------------

int TForm6::SelectedCommand() const
{
    TListItem* item = ShortCutList->Selected();
    if (!item || item->Index() >= static_cast<int>(FShortCutTable.size()))
        return -1;
    return item->Index();
}

void TForm6::ShowShortCut(int command, TShortCut shortCut)
{
    FShortCutTable.at(command).ShortCut = shortCut;
    ShortCutList->Items()->Item(command)->SubItems()->SetStrings(0, ShortCutToText(shortCut));
}

void TForm6::ShortCutListSelectItem(TObject* Sender, TListItem* Item, bool Selected)
{
    int command = SelectedCommand();
    if (!Selected || command < 0)
        return;
    WORD key = 0;
    TShiftState shift = 0;
    ShortCutToKey(FShortCutTable[command].ShortCut, key, shift);
    ShiftCombo->SetItemIndex(ShiftToIndex(shift));
    int keyChoice = KeyChoiceOf(key);
    if (keyChoice >= 0)
        KeyCombo->SetItemIndex(keyChoice);
}

void TForm6::ClearSelectedShortCut()
{
    int command = SelectedCommand();
    if (command < 0)
        return;
    ShowShortCut(command, scNone);
    ShiftCombo->SetItemIndex(0);
    KeyCombo->SetItemIndex(0);
    FShortCutsChanged = true;
}

void TForm6::DeleteBtnClick(TObject* Sender)
{
    ClearSelectedShortCut();
}

void TForm6::ChangeBtnClick(TObject* Sender)
{
    int command = SelectedCommand();
    if (command < 0 || KeyCombo->ItemIndex() < 0)
        return;
    std::vector<TShortCut> table;
    for (const TShortCutRecord& record : FShortCutTable)
        table.push_back(record.ShortCut);
    TShortCutChange change = PlanShortCutChange(
        table, command, std::max(0, ShiftCombo->ItemIndex()), KeyCombo->ItemIndex());
    bool moveFromHolder = false;
    switch (change.Verdict) {
    case TShortCutVerdict::Cleared:
        ClearSelectedShortCut();
        return;
    case TShortCutVerdict::RefusedArrowWithoutShift:
        SeamMessageBox(Handle(), PreferenceText::ArrowWithoutShift, PreferenceText::PlainKeyCaption,
                       MB_OK | MB_ICONWARNING);
        return;
    case TShortCutVerdict::RefusedWithoutShift:
        SeamMessageBox(Handle(), PreferenceText::NeedsShift, PreferenceText::PlainKeyCaption,
                       MB_OK | MB_ICONWARNING);
        return;
    case TShortCutVerdict::Duplicate:
        moveFromHolder =
            SeamMessageBox(Handle(), DuplicateQuestion(FShortCutTable[change.Holder].Caption),
                           PreferenceText::DuplicateCaption, MB_YESNO | MB_ICONWARNING) == IDYES;
        break;
    case TShortCutVerdict::Assigned:
        break;
    }
    if (!ApplyShortCutChange(table, command, change, moveFromHolder))
        return;
    if (change.Verdict == TShortCutVerdict::Duplicate)
        ShowShortCut(change.Holder, scNone);
    ShowShortCut(command, change.ShortCut);
    FShortCutsChanged = true;
}

void TForm6::ShortCutListCustomDrawSubItem(TObject* Sender, TListItem* Item, int SubItem,
                                           TCustomDrawState State, bool& DefaultDraw)
{
    if (Item->Index() % 2 == 1)
        ShortCutList->Canvas()->Brush()->SetColor(clInfoBk);
}

// --- Reset and OK -------------------------------------------------------------------------------

void TForm6::ResetGeneralPage()
{
    const TOption defaults;
    chk1->SetChecked(defaults.SaveData);
    chk2->SetChecked(defaults.SaveForm);
    chk6->SetChecked(defaults.SaveFileList);
    chk5->SetChecked(defaults.CutToAdd);
    chk3->SetChecked(defaults.NoCaution);
    ZeroSpin->SetValue(defaults.ZeroLevel);
    DeviceCombo->SetItemIndex(0);
    SelectItemText(BufSizeCombo, IntToStr(defaults.BufSize));
    SelectItemText(BufCountCombo, IntToStr(defaults.BufCount));
    FGeneralChanged = true;
}

void TForm6::ResetDisplayPage()
{
    const TOption defaults;
    PresetCombo->SetItemIndex(0);
    SetSwatchColors(ColorPreset(0).Colors);
    FColorsChanged = true;
    SelectItemIfValid(MarkSizeCombo, defaults.MarkSize - 1);
    SelectItemIfValid(DispSizeCombo, defaults.DispSize - 1);
    StripeChk->SetChecked(defaults.Stripe);
}

void TForm6::ResetShortCutPage()
{
    std::vector<TShortCut> defaults = DefaultShortCuts();
    for (int i = 0; i < static_cast<int>(FShortCutTable.size()); ++i)
        ShowShortCut(i, i < static_cast<int>(defaults.size()) ? defaults[i] : scNone);
    FShortCutsChanged = true;
}

void TForm6::InitializeBtnClick(TObject* Sender)
{
    switch (VisiblePage()) {
    case TPreferencePage::General:
        ResetGeneralPage();
        break;
    case TPreferencePage::Display:
        ResetDisplayPage();
        break;
    case TPreferencePage::ShortCuts:
        ResetShortCutPage();
        break;
    }
}

void TForm6::OkBtnClick(TObject* Sender)
{
    FOkResult = true;
    SetModalResult(mrOk);
}
